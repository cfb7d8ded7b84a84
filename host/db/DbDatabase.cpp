#include "DbDatabase.h"

#include <algorithm>
#include <string>
#include <utility>

#include "EventLog.h"
#include "HostFault.h"
#include "WorkingDrawing.h"
#include "decBuilder.h"

namespace {
void LogCall(const std::string& text) { host::EventLog::Instance().Call(text); }
}  // namespace

DbDatabase::DbDatabase() = default;

DbDatabase::~DbDatabase() = default;

// ---- write bracket ----

int DbDatabase::OpenForWrite()
{
    ++m_openDepth;
    LogCall("db open " + std::to_string(m_openDepth));
    return dex::eOk;
}

int DbDatabase::Close()
{
    if (m_openDepth == 0) {
        host::ReportFault("DbDatabase::Close without an open");
        return 0;
    }
    LogCall("db close " + std::to_string(m_openDepth));
    --m_openDepth;
    return dex::eOk;
}

bool DbDatabase::CheckBracketsBalanced(const char* commandName)
{
    if (m_openDepth == 0) return true;
    const int depth = m_openDepth;
    m_openDepth = 0;
    host::ReportFault(std::string("command ") + (commandName ? commandName : "?") + " left the drawing open for write (" +
                      std::to_string(depth) + " unclosed)");
    return false;
}

// ---- creating ----

long DbDatabase::ResolveLayer(long layerId) const
{
    if (m_layers.GetLayer(layerId)) return layerId;
    LogCall("unknown layer " + std::to_string(layerId) + ", current layer used");
    return m_layers.GetCurrentLayerID();
}

decObjectId DbDatabase::Append(std::unique_ptr<decDbEntity> entity, long layerId)
{
    if (!IsOpenForWrite()) host::ReportFault("entity created while the drawing is not open for write");
    const decObjectId id(m_nextHandle++);
    entity->SetLayerId(ResolveLayer(layerId));
    entity->AttachToDatabase(this, id);
    entity->ClearModified();
    m_index[id.Handle()] = m_entities.size();
    decDbEntity* raw = entity.get();
    m_entities.push_back(std::move(entity));
    Admit(*raw);
    LogCall("create " + std::to_string(id.Handle()) + " " + raw->IsA()->className);
    for (DbDatabaseReactor* reactor : m_reactors) reactor->OnObjectAppended(this, raw);
    return id;
}

int DbDatabase::CreateNewEntity(long layerId, decBuilder* builder, const GeMatrix3d& tm, decObjectId& outId,
                                long materialId)
{
    outId.SetNull();
    if (!builder) return 0;
    if (builder->GetEntity()) {
        host::ReportFault("a builder that already has an entity was handed to CreateNewEntity");
        return 0;
    }
    auto entity = std::make_unique<decDbEntity3d>(builder, tm);
    if (materialId != 0 && !m_materials.GetById(materialId)) LogCall("unknown material " + std::to_string(materialId));
    entity->SetMaterialId(materialId);
    outId = Append(std::move(entity), layerId);
    return dex::eOk;
}

int DbDatabase::CreateNewEntity(long layerId, decDbEntity* entity, decObjectId& outId)
{
    outId.SetNull();
    if (!entity || entity->GetDatabase()) return 0;
    outId = Append(std::unique_ptr<decDbEntity>(entity), layerId);
    return dex::eOk;
}

int DbDatabase::CreateNewEntity(long layerId, decDbEntity* entity)
{
    decObjectId ignored;
    return CreateNewEntity(layerId, entity, ignored);
}

int DbDatabase::CreateProxyEntity(long layerId, const GeMatrix3d& tm, decMesh3* mesh, decObjectId& outId,
                                  long materialId)
{
    outId.SetNull();
    if (!mesh) return 0;
    auto entity = std::make_unique<decDbEntity3d>(mesh, tm);
    entity->SetMaterialId(materialId);
    outId = Append(std::move(entity), layerId);
    return dex::eOk;
}

int DbDatabase::MakeGroup(const decObjectIdArray& ids, int flags)
{
    LogCall("MakeGroup " + std::to_string(ids.size()) + " flags " + std::to_string(flags));
    DrawingGroup group;
    group.flags = flags;
    std::unordered_set<std::uint64_t> taken;
    for (const decObjectId& id : ids) {
        const decDbEntity* member = id.IsNull() ? nullptr : GetObjectById(id);
        if (!member || member->IsErased()) {
            LogCall("MakeGroup skips id " + std::to_string(id.Handle()));
            continue;
        }
        if (taken.insert(id.Handle()).second) group.members.push_back(id);
    }
    if (group.members.empty()) return 0;
    RestoreGroup(std::move(group));
    return dex::eOk;
}

void DbDatabase::RestoreGroup(DrawingGroup group)
{
    Groups();
    for (const decObjectId& id : group.members) m_grouped.insert(id.Handle());
    m_groups.push_back(std::move(group));
}

void DbDatabase::DropFromGroups(const decObjectId& id)
{
    if (m_grouped.erase(id.Handle()) != 0) m_dropped.insert(id.Handle());
}

const std::vector<DrawingGroup>& DbDatabase::Groups() const
{
    if (m_dropped.empty()) return m_groups;
    for (DrawingGroup& group : m_groups)
        std::erase_if(group.members, [&](const decObjectId& id) { return m_dropped.contains(id.Handle()); });
    std::erase_if(m_groups, [](const DrawingGroup& group) { return group.members.empty(); });
    m_dropped.clear();
    return m_groups;
}

int DbDatabase::MakeGroup(const EntityArray& entities, int flags)
{
    decObjectIdArray ids;
    for (decDbEntity* entity : entities) ids.push_back(entity ? entity->GetObjectId() : decObjectId());
    return MakeGroup(ids, flags);
}

// ---- finding and enumerating ----

decDbEntity* DbDatabase::GetObjectById(const decObjectId& id) const
{
    const auto it = m_index.find(id.Handle());
    return it == m_index.end() ? nullptr : m_entities[it->second].get();
}

int DbDatabase::EnumEntityTable(EnumDatabaseEntityTableCallback& cb, int mode)
{
    LogCall("EnumEntityTable mode " + std::to_string(mode));
    // Index walk over the count at the start: the callback may add entities (not visited)
    // or erase them (skipped when reached); the table never drops entries during a walk.
    const std::size_t count = m_entities.size();
    int visited = 0;
    for (std::size_t i = 0; i < count && i < m_entities.size(); ++i) {
        decDbEntity* entity = m_entities[i].get();
        if (entity->IsErased()) continue;
        cb.OnEntity(entity);
        ++visited;
    }
    return visited;
}

int DbDatabase::GetAllEnts(EntityArray& out, int mode)
{
    LogCall("GetAllEnts mode " + std::to_string(mode));
    out.clear();
    for (const auto& entity : m_entities)
        if (!entity->IsErased()) out.push_back(entity.get());
    return out.GetSize();
}

std::vector<decDbEntity*> DbDatabase::AllObjects() const
{
    std::vector<decDbEntity*> all;
    for (const auto& entity : m_entities) all.push_back(entity.get());
    return all;
}

decDbEntity* DbDatabase::LastLiveEntity() const
{
    for (auto it = m_entities.rbegin(); it != m_entities.rend(); ++it)
        if (!(*it)->IsErased()) return it->get();
    return nullptr;
}

// ---- variables ----

int DbDatabase::GetGlobalVar(const char* name, double& value) const
{
    if (!name) return 0;
    const auto it = m_vars.find(name);
    if (it == m_vars.end()) return 0;
    value = it->second;
    return 1;
}

int DbDatabase::SetGlobalVar(const char* name, double value)
{
    if (!name || !*name) return 0;
    m_vars[name] = value;
    return dex::eOk;
}

// ---- reactors ----

void DbDatabase::AddReactor(DbDatabaseReactor* reactor)
{
    if (!reactor) return;
    LogCall("AddReactor");
    m_reactors.push_back(reactor);
}

void DbDatabase::RemoveReactor(DbDatabaseReactor* reactor)
{
    std::erase(m_reactors, reactor);
}

void DbDatabase::FireDocumentOpened()
{
    // A reactor may add or remove reactors while it runs: walk a copy.
    const auto reactors = m_reactors;
    for (DbDatabaseReactor* reactor : reactors)
        if (std::find(m_reactors.begin(), m_reactors.end(), reactor) != m_reactors.end()) reactor->OnDocumentOpened(this);
}

void DbDatabase::FireNewDocument()
{
    const auto reactors = m_reactors;
    for (DbDatabaseReactor* reactor : reactors)
        if (std::find(m_reactors.begin(), m_reactors.end(), reactor) != m_reactors.end()) reactor->OnNewDocument(this);
}

void DbDatabase::NotifyObjectModified(decObject* object)
{
    // Extents found while the object was still being changed are not kept.
    if (const decDbEntity* entity = object ? GetObjectById(object->GetObjectId()) : nullptr;
        entity && (entity == object || entity->GetBaseObject() == object))
        entity->ForgetBoundBox();
    const auto reactors = m_reactors;
    for (DbDatabaseReactor* reactor : reactors)
        if (std::find(m_reactors.begin(), m_reactors.end(), reactor) != m_reactors.end())
            reactor->OnObjectModified(this, object);
}

// ---- selection ----

void DbDatabase::ClearSelectSet(int flag)
{
    LogCall("ClearSelectSet " + std::to_string(flag));
    for (const std::uint64_t handle : std::exchange(m_marked, {}))
        if (decDbEntity* entity = GetObjectById(decObjectId(handle))) entity->SetSelected(0);
    m_selection.Clear();
}

void DbDatabase::RebuildSysSelectSet(int flag)
{
    LogCall("RebuildSysSelectSet " + std::to_string(flag));
    std::vector<std::size_t> places;
    for (const std::uint64_t handle : m_marked)
        if (const auto it = m_index.find(handle); it != m_index.end() && !m_entities[it->second]->IsErased())
            places.push_back(it->second);
    std::sort(places.begin(), places.end());
    m_selection.Clear();
    for (const std::size_t place : places) m_selection.Add(m_entities[place]->GetObjectId());
}

void DbDatabase::ClearSubSelectSet()
{
    LogCall("ClearSubSelectSet");
    for (const std::uint64_t handle : std::exchange(m_subSelected, {}))
        if (decDbEntity* entity = GetObjectById(decObjectId(handle))) entity->SetSubObjectSelectSet(BitArray());
}

void DbDatabase::NoteSelection(const decDbEntity& entity)
{
    const std::uint64_t handle = entity.GetObjectId().Handle();
    if (GetObjectById(entity.GetObjectId()) != &entity) return;
    BitArray picked;
    if (entity.IsSelected())
        m_marked.insert(handle);
    else
        m_marked.erase(handle);
    if (entity.GetSubObjectSelectSet(picked))
        m_subSelected.insert(handle);
    else
        m_subSelected.erase(handle);
}

// ---- where entities lie ----

namespace {
const GeVector3d kPlanRight(1.0, 0.0, 0.0), kPlanUp(0.0, 1.0, 0.0);
}  // namespace

ExtentsIndex& DbDatabase::IndexAlong(const GeVector3d& right, const GeVector3d& up)
{
    const auto along = [&](const GeVector3d& r, const GeVector3d& u) {
        return std::find_if(m_extents.begin(), m_extents.end(),
                            [&](const ExtentsIndex& known) { return known.SeesAlong(r, u); });
    };
    auto index = along(right, up);
    if (index == m_extents.end()) {
        // The plan's index (asked by window selections and clicks from above) is kept beside
        // the one of the view last asked along, so that asking both in turn builds neither again.
        constexpr std::size_t kKept = 2;
        if (m_extents.size() == kKept) {
            const bool planFirst = along(kPlanRight, kPlanUp) == m_extents.begin();
            m_extents.erase(planFirst ? m_extents.begin() + 1 : m_extents.begin());
        }
        index = m_extents.emplace(m_extents.end(), right, up);
    }
    return *index;
}

std::vector<decDbEntity*> DbDatabase::EntitiesNear(const GeVector3d& right, const GeVector3d& up,
                                                   const GePoint3d& point, double reach)
{
    std::vector<decDbEntity*> near;
    for (const std::size_t place : IndexAlong(right, up).Near(m_entities, point, reach))
        near.push_back(m_entities[place].get());
    return near;
}

std::vector<decDbEntity*> DbDatabase::EntitiesMeeting(const host::PlanBox& area)
{
    std::vector<decDbEntity*> meeting;
    for (const std::size_t place : IndexAlong(kPlanRight, kPlanUp).Meeting(m_entities, area))
        meeting.push_back(m_entities[place].get());
    return meeting;
}

void DbDatabase::NoteExtentsChanged(const decDbEntity& entity)
{
    const auto it = m_index.find(entity.GetObjectId().Handle());
    if (it == m_index.end() || m_entities[it->second].get() != &entity) return;
    for (ExtentsIndex& index : m_extents) index.Note(it->second);
}

void DbDatabase::Admit(const decDbEntity& entity)
{
    for (ExtentsIndex& index : m_extents) index.Note(m_entities.size() - 1);
    NoteSelection(entity);
}

void DbDatabase::ForgetPlaces()
{
    for (ExtentsIndex& index : m_extents) index.Reset();
}

// ---- temporary graphics ----

void DbDatabase::ClearTempGraphics()
{
    m_temp.Clear();
}

void DbDatabase::DrawTempPolyline(const GePoint3d* pts, int count, std::uint32_t colour, int a, int b)
{
    m_temp.AddPolyline(pts, count, colour, a, b);
}

// ---- drawing files ----

bool DbDatabase::RestoreEntity(std::unique_ptr<decDbEntity> entity, std::uint64_t handle)
{
    if (handle == 0 || m_index.count(handle)) return false;
    entity->AttachToDatabase(this, decObjectId(handle));
    entity->ClearModified();
    m_index[handle] = m_entities.size();
    m_entities.push_back(std::move(entity));
    Admit(*m_entities.back());
    if (handle >= m_nextHandle) m_nextHandle = handle + 1;
    return true;
}

void DbDatabase::PurgeErased()
{
    std::erase_if(m_entities, [](const auto& entity) { return entity->IsErased(); });
    m_index.clear();
    for (std::size_t i = 0; i < m_entities.size(); ++i) m_index[m_entities[i]->GetObjectId().Handle()] = i;
    m_selection.RemoveIf([this](const decObjectId& id) { return !GetObjectById(id); });
    std::erase_if(m_marked, [this](std::uint64_t handle) { return !GetObjectById(decObjectId(handle)); });
    std::erase_if(m_subSelected, [this](std::uint64_t handle) { return !GetObjectById(decObjectId(handle)); });
    ForgetPlaces();
}

void DbDatabase::Reattach()
{
    for (const auto& entity : m_entities) entity->AttachToDatabase(this, entity->GetObjectId());
}

void DbDatabase::SwapContent(DbDatabase& other)
{
    std::swap(m_entities, other.m_entities);
    std::swap(m_index, other.m_index);
    std::swap(m_nextHandle, other.m_nextHandle);
    m_layers.Swap(other.m_layers);
    m_materials.Swap(other.m_materials);
    std::swap(m_vars, other.m_vars);
    std::swap(m_groups, other.m_groups);
    std::swap(m_grouped, other.m_grouped);
    std::swap(m_dropped, other.m_dropped);
    std::swap(m_selection, other.m_selection);
    std::swap(m_marked, other.m_marked);
    std::swap(m_subSelected, other.m_subSelected);
    ForgetPlaces();
    other.ForgetPlaces();
    Reattach();
    other.Reattach();
}

// ---- DbAutoOpen ----

DbAutoOpen::DbAutoOpen(int write) : db(dec::GetWorkingDatabase())
{
    if (write && db) {
        db->OpenForWrite();
        m_opened = true;
    }
}

DbAutoOpen::~DbAutoOpen()
{
    if (m_opened && db && db->GetOpenDepth() > 0) db->Close();
}
