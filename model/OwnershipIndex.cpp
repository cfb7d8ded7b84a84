#include "OwnershipIndex.h"

#include <algorithm>

#include "DbDatabase.h"
#include "ModelEntityCollect.h"
#include "WinBelongBuild.h"
#include "Window.h"
#include "WorkingDrawing.h"
#include "decDbEntity.h"

namespace WinBelongBuild {

namespace {

std::uint64_t HandleOf(const decDbEntity* entity)
{
    return entity->GetObjectId().Handle();
}

void InMadeOrder(EntityArray& entities)
{
    std::sort(entities.begin(), entities.end(),
              [](const decDbEntity* a, const decDbEntity* b) { return HandleOf(a) < HandleOf(b); });
}

const CWindow* WindowOf(const decDbEntity* entity)
{
    return CWindow::Cast(entity->GetBaseObject());
}

std::string IdentifierOf(const CWindow& window)
{
    return WindowId(window.BuildName(), window.Floor(), window.Index()).str();
}

bool HoldsAny(const std::vector<std::string>& held, const std::vector<std::string>& sortedKeys)
{
    return std::any_of(held.begin(), held.end(), [&](const std::string& key) {
        return std::binary_search(sortedKeys.begin(), sortedKeys.end(), key);
    });
}

std::vector<std::string> Sorted(std::vector<std::string> keys)
{
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

void Unfile(std::unordered_map<std::string, std::set<std::uint64_t>>& files, const std::string& key,
            std::uint64_t handle)
{
    const auto found = files.find(key);
    if (found == files.end())
        return;
    found->second.erase(handle);
    if (found->second.empty())
        files.erase(found);
}

}  // namespace

std::optional<std::vector<std::string>> RecordKeys(decDbEntity* entity)
{
    if (!HasWindowIds(entity))
        return std::nullopt;
    std::vector<std::string> keys;
    entity->OpenForRead();
    for (const auto& held : entity->XDataApps()) {
        if (!IsOwnershipRecord(*held))
            continue;
        for (const CString& id : ReadIds(*held))
            keys.push_back(id.str());
        if (StandsForColumn(*held)) {
            const Column column = *ReadColumn(CString(held->GetAt(1)->GetString()));
            keys.push_back(WindowId(column.name, 0, column.position).str());
        }
    }
    entity->Close();
    return Sorted(std::move(keys));
}

// ---- walks -------------------------------------------------------------------------------

EntityArray WalkCarriers()
{
    // An entity with no extended data at all is passed over unopened.
    EntityArray found;
    CollectEntities(found, [](decDbEntity* entity) { return !entity->XDataApps().empty() && HasWindowIds(entity); });
    InMadeOrder(found);
    return found;
}

EntityArray WalkCarriersHolding(const std::vector<std::string>& keys)
{
    const std::vector<std::string> wanted = Sorted(keys);
    EntityArray found = WalkCarriers();
    std::erase_if(found, [&wanted](decDbEntity* entity) { return !HoldsAny(*RecordKeys(entity), wanted); });
    return found;
}

Windows WalkWindowsBearing(const std::string& id)
{
    EntityArray found;
    CollectEntities(found, [&id](decDbEntity* entity) {
        const CWindow* window = WindowOf(entity);
        return window && IdentifierOf(*window) == id;
    });
    InMadeOrder(found);
    Windows windows;
    for (const decDbEntity* entity : found)
        windows.push_back(WindowOf(entity));
    return windows;
}

// ---- the index -----------------------------------------------------------------------------

OwnershipIndex::~OwnershipIndex()
{
    Detach();
}

void OwnershipIndex::Attach(DbDatabase* db)
{
    if (!db || m_database)
        return;
    db->AddReactor(this);
    m_database = db;
    m_current = false;
}

void OwnershipIndex::Detach()
{
    if (!m_database)
        return;
    m_database->RemoveReactor(this);
    m_database = nullptr;
    Clear();
}

EntityArray OwnershipIndex::Carriers()
{
    if (!Serves())
        return WalkCarriers();
    std::vector<std::uint64_t> handles;
    for (const auto& carrier : m_carriers)
        handles.push_back(carrier.first);
    return Entities(handles);
}

EntityArray OwnershipIndex::CarriersHolding(const std::vector<std::string>& keys)
{
    if (!Serves())
        return WalkCarriersHolding(keys);
    std::set<std::uint64_t> handles;
    for (const std::string& key : keys)
        if (const auto found = m_carriersByKey.find(key); found != m_carriersByKey.end())
            handles.insert(found->second.begin(), found->second.end());
    return Entities(handles);
}

Windows OwnershipIndex::WindowsBearing(const std::string& id)
{
    if (!Serves())
        return WalkWindowsBearing(id);
    const auto found = m_windowsByHash.find(std::hash<std::string>{}(id));
    if (found == m_windowsByHash.end())
        return {};
    std::vector<std::uint64_t> handles = found->second;
    std::sort(handles.begin(), handles.end());
    Windows windows;
    for (const decDbEntity* entity : Entities(handles))
        if (const CWindow* window = WindowOf(entity); IdentifierOf(*window) == id)
            windows.push_back(window);
    return windows;
}

void OwnershipIndex::OnNewDocument(DbDatabase* db)
{
    if (db == m_database)
        Clear();
}

void OwnershipIndex::OnDocumentOpened(DbDatabase* db)
{
    if (db == m_database)
        Clear();
}

void OwnershipIndex::OnObjectAppended(DbDatabase* db, decObject* object)
{
    OnObjectModified(db, object);
}

void OwnershipIndex::OnObjectModified(DbDatabase* db, decObject* object)
{
    if (db != m_database || !m_current || !object)
        return;
    // The object told of is an entity or the builder of one.
    if (decDbEntity* entity = db->GetObjectById(object->GetObjectId());
        entity && (entity == object || entity->GetBaseObject() == object))
        Refresh(entity);
}

bool OwnershipIndex::Serves()
{
    if (!m_database || m_database != dec::GetWorkingDatabase())
        return false;
    if (!m_current) {
        Clear();
        class Filer : public EnumDatabaseEntityTableCallback {
        public:
            explicit Filer(OwnershipIndex& index) : m_index(index) {}
            void OnEntity(decDbEntity* entity) override { m_index.Refresh(entity); }

        private:
            OwnershipIndex& m_index;
        };
        Filer filer(*this);
        m_database->EnumEntityTable(filer, 1);
        m_current = true;
    }
    return true;
}

void OwnershipIndex::Refresh(decDbEntity* entity)
{
    const std::uint64_t handle = HandleOf(entity);
    const bool live = !entity->IsErased();
    // Most entities carry no extended data at all: nothing to open.
    FileCarrier(handle, live && !entity->XDataApps().empty() ? RecordKeys(entity) : std::nullopt);
    const CWindow* window = live ? WindowOf(entity) : nullptr;
    FileWindow(handle, window ? std::optional<std::string>(IdentifierOf(*window)) : std::nullopt);
}

void OwnershipIndex::FileCarrier(std::uint64_t handle, std::optional<std::vector<std::string>> keys)
{
    const auto filed = m_carriers.find(handle);
    if (filed != m_carriers.end()) {
        if (keys && *keys == filed->second)
            return;
        for (const std::string& key : filed->second)
            Unfile(m_carriersByKey, key, handle);
        m_carriers.erase(filed);
    }
    if (!keys)
        return;
    for (const std::string& key : *keys)
        m_carriersByKey[key].insert(handle);
    m_carriers.emplace(handle, std::move(*keys));
}

void OwnershipIndex::FileWindow(std::uint64_t handle, const std::optional<std::string>& id)
{
    const std::optional<std::size_t> hash = id ? std::optional(std::hash<std::string>{}(*id)) : std::nullopt;
    if (const auto filed = m_windows.find(handle); filed != m_windows.end()) {
        if (hash == filed->second.hash)
            return;
        UnfileWindow(filed->second);
        m_windows.erase(filed);
    }
    if (!hash)
        return;
    std::vector<std::uint64_t>& bearers = m_windowsByHash[*hash];
    m_windows.emplace(handle, FiledWindow{*hash, bearers.size()});
    bearers.push_back(handle);
}

void OwnershipIndex::UnfileWindow(const FiledWindow& filed)
{
    const auto found = m_windowsByHash.find(filed.hash);
    std::vector<std::uint64_t>& bearers = found->second;
    // The last window filed under the hash takes the place.
    if (filed.at + 1 != bearers.size()) {
        bearers[filed.at] = bearers.back();
        m_windows.at(bearers[filed.at]).at = filed.at;
    }
    bearers.pop_back();
    if (bearers.empty())
        m_windowsByHash.erase(found);
}

void OwnershipIndex::Clear()
{
    m_current = false;
    m_carriers.clear();
    m_carriersByKey.clear();
    m_windows.clear();
    m_windowsByHash.clear();
}

template <class Handles>
EntityArray OwnershipIndex::Entities(const Handles& handles) const
{
    EntityArray entities;
    entities.reserve(handles.size());
    // Every filed handle names a live entity; one that did not would be left out, not read.
    for (const std::uint64_t handle : handles)
        if (decDbEntity* entity = m_database->GetObjectById(decObjectId(handle)))
            entities.push_back(entity);
    return entities;
}

}  // namespace WinBelongBuild
