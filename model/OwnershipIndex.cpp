#include "OwnershipIndex.h"

#include <algorithm>

#include "DbDatabase.h"
#include "ModelEntityCollect.h"
#include "ModelHelperBuildings.h"
#include "ModelHelperWindows.h"
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

bool BearsOneOf(decDbEntity* entity, const std::vector<CString>& names)
{
    const std::optional<CString> name = NameBorne(entity);
    return name && std::find(names.begin(), names.end(), *name) != names.end();
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

std::optional<CString> NameBorne(decDbEntity* entity)
{
    CString name;
    // An entity with no extended data at all carries no tag: it is not opened.
    if (IsExtrudeBuild(entity) || (!entity->XDataApps().empty() && IsExtendBuild(entity)))
        BuildName(entity, name);
    else if (IsWindow(entity))
        WindowBelongBuildName(entity, name);
    else
        return std::nullopt;
    return name;
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

EntityArray WalkNameBearers(const std::vector<CString>& names)
{
    EntityArray found;
    CollectEntities(found, [&names](decDbEntity* entity) { return BearsOneOf(entity, names); });
    return found;
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
    const std::span<const std::uint64_t> filed = m_windows.Under(id);
    std::vector<std::uint64_t> handles(filed.begin(), filed.end());
    std::sort(handles.begin(), handles.end());
    Windows windows;
    for (const decDbEntity* entity : Entities(handles))
        if (const CWindow* window = WindowOf(entity); IdentifierOf(*window) == id)
            windows.push_back(window);
    return windows;
}

EntityArray OwnershipIndex::NameBearers(const std::vector<CString>& names)
{
    if (!Serves())
        return WalkNameBearers(names);
    std::vector<std::pair<Place, std::uint64_t>> placed;
    for (const CString& name : names)
        for (const std::uint64_t handle : m_names.Under(name.str()))
            placed.emplace_back(PlaceOf(handle), handle);
    // A name given twice, or two names of one hash, file the same handles twice.
    std::sort(placed.begin(), placed.end());
    placed.erase(std::unique(placed.begin(), placed.end()), placed.end());
    std::vector<std::uint64_t> handles;
    handles.reserve(placed.size());
    for (const auto& entry : placed)
        handles.push_back(entry.second);
    EntityArray bearers = Entities(handles);
    std::erase_if(bearers, [&names](decDbEntity* entity) { return !BearsOneOf(entity, names); });
    return bearers;
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
            void OnEntity(decDbEntity* entity) override
            {
                m_index.Refresh(entity);
                met.push_back(HandleOf(entity));
            }
            std::vector<std::uint64_t> met;

        private:
            OwnershipIndex& m_index;
        };
        Filer filer(*this);
        m_database->EnumEntityTable(filer, 1);
        KeepWalkOrder(filer.met);
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
    m_windows.File(handle, window ? std::optional(IdentifierOf(*window)) : std::nullopt);
    const std::optional<CString> name = live ? NameBorne(entity) : std::nullopt;
    m_names.File(handle, name ? std::optional(name->str()) : std::nullopt);
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

void OwnershipIndex::KeepWalkOrder(const std::vector<std::uint64_t>& met)
{
    if (std::is_sorted(met.begin(), met.end()))
        return;
    m_walkOrder.reserve(met.size());
    for (std::size_t i = 0; i < met.size(); ++i)
        m_walkOrder.emplace_back(met[i], i);
    std::sort(m_walkOrder.begin(), m_walkOrder.end());
}

OwnershipIndex::Place OwnershipIndex::PlaceOf(std::uint64_t handle) const
{
    if (m_walkOrder.empty())
        return {0, handle};
    const auto found = std::lower_bound(m_walkOrder.begin(), m_walkOrder.end(), std::pair(handle, std::uint64_t{0}));
    if (found != m_walkOrder.end() && found->first == handle)
        return {0, found->second};
    // Made after the walk: after everything it met.
    return {1, handle};
}

void OwnershipIndex::Clear()
{
    m_current = false;
    m_carriers.clear();
    m_carriersByKey.clear();
    m_windows.Clear();
    m_names.Clear();
    m_walkOrder.clear();
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

// ---- handles filed under texts ----------------------------------------------------------

void OwnershipIndex::TextFiles::File(std::uint64_t handle, const std::optional<std::string>& text)
{
    const std::size_t hash = text ? std::hash<std::string>{}(*text) : 0;
    if (const auto filed = m_filed.find(handle); filed != m_filed.end()) {
        if (text && hash == filed->second.hash)
            return;
        Unfile(filed->second);
        m_filed.erase(filed);
    }
    if (!text)
        return;
    std::vector<std::uint64_t>& handles = m_byHash[hash];
    m_filed.emplace(handle, Filed{hash, handles.size()});
    handles.push_back(handle);
}

std::span<const std::uint64_t> OwnershipIndex::TextFiles::Under(const std::string& text) const
{
    const auto found = m_byHash.find(std::hash<std::string>{}(text));
    if (found == m_byHash.end())
        return {};
    return found->second;
}

void OwnershipIndex::TextFiles::Clear()
{
    m_filed.clear();
    m_byHash.clear();
}

void OwnershipIndex::TextFiles::Unfile(const Filed& filed)
{
    const auto found = m_byHash.find(filed.hash);
    std::vector<std::uint64_t>& handles = found->second;
    // The last handle filed under the hash takes the place.
    if (filed.at + 1 != handles.size()) {
        handles[filed.at] = handles.back();
        m_filed.at(handles[filed.at]).at = filed.at;
    }
    handles.pop_back();
    if (handles.empty())
        m_byHash.erase(found);
}

}  // namespace WinBelongBuild
