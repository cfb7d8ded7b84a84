#pragma once
// The drawing database: entities in creation order under stable ids, layers, materials,
// drawing variables, groups, reactors, the selection and the temporary graphics.
//
// Write bracket: OpenForWrite/Close nest (Close closes one level). Entities are created
// only inside a bracket; CheckBracketsBalanced, called at the end of a command, reports a
// bracket left open.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "DbDatabaseReactor.h"
#include "EntityArray.h"
#include "ExtentsIndex.h"
#include "GeMatrix3d.h"
#include "TempGraphics.h"
#include "decDbEntity.h"
#include "decLayerTable.h"
#include "decObjectId.h"
#include "decSelectSet.h"
#include "dexMaterialTable.h"

class decBuilder;
class decSSGet_filter;
struct decObjectClassInfo;

// Visits the live entities of a drawing in creation order.
class EnumDatabaseEntityTableCallback {
public:
    virtual void OnEntity(decDbEntity* entity) = 0;
    virtual ~EnumDatabaseEntityTableCallback() = default;
};

// A host group: objects that belong together, with the flag word it was made with.
struct DrawingGroup {
    int flags = 0;
    std::vector<decObjectId> members;
};

class DbDatabase {
public:
    DbDatabase();
    DbDatabase(const DbDatabase&) = delete;
    DbDatabase& operator=(const DbDatabase&) = delete;
    virtual ~DbDatabase();

    // ---- write bracket ----
    int OpenForWrite();
    // Closes one level; a Close without an open is a fault (0).
    int Close();
    int IsOpenForWrite() const { return m_openDepth > 0 ? 1 : 0; }
    int GetOpenDepth() const { return m_openDepth; }
    // At the end of a command: true when every bracket was closed; otherwise the depth is
    // reset and the fault reported (naming the command).
    bool CheckBracketsBalanced(const char* commandName);

    // ---- creating ----
    // A 3-D entity for the builder (owned from now on), placed by tm, on the layer (an
    // unknown layer: the current one) with the material (0: none). -2; 0 for a null builder
    // or one that already has an entity (a fault; that builder is not taken).
    int CreateNewEntity(long layerId, decBuilder* builder, const GeMatrix3d& tm, decObjectId& outId,
                        long materialId = 0);
    // A ready entity (owned from now on). -2, or 0 for a null entity or one already stored.
    int CreateNewEntity(long layerId, decDbEntity* entity, decObjectId& outId);
    int CreateNewEntity(long layerId, decDbEntity* entity);
    // A 3-D entity that is only a mesh (owned from now on). -2, or 0 for a null mesh.
    int CreateProxyEntity(long layerId, const GeMatrix3d& tm, decMesh3* mesh, decObjectId& outId,
                          long materialId = 0);
    // One group of the objects; unset ids, null entities, unknown ids and erased objects are
    // left out (and logged). -2, or 0 when nothing is left to group.
    int MakeGroup(const decObjectIdArray& ids, int flags);
    int MakeGroup(const EntityArray& entities, int flags);
    // The groups hold live objects only: an object erased is taken out of its groups at once
    // (DropFromGroups) and a group left empty is dropped, so they are what a save keeps.
    const std::vector<DrawingGroup>& Groups() const;
    void DropFromGroups(const decObjectId& id);

    // ---- finding ----
    // The object of an id (erased ones too, until the drawing is saved); null when unknown.
    decDbEntity* GetObjectById(const decObjectId& id) const;

    // ---- enumerating ----
    // Visits every live entity in creation order; entities added during the walk are not
    // visited, entities erased during it are skipped. The mode is recorded. Returns the
    // number visited.
    int EnumEntityTable(EnumDatabaseEntityTableCallback& cb, int mode);
    // All live entities in creation order; returns their number (0 when none).
    int GetAllEnts(EntityArray& out, int mode);
    // Every stored entity, erased ones included, in creation order.
    std::vector<decDbEntity*> AllObjects() const;
    // The live entity made last (found from the end, past the erased ones); null when none.
    decDbEntity* LastLiveEntity() const;

    // ---- tables and variables ----
    decLayerTable* GetTableLayer() { return &m_layers; }
    dexMaterialTable* GetTableMaterial() { return &m_materials; }
    const decLayerTable& Layers() const { return m_layers; }
    const dexMaterialTable& Materials() const { return m_materials; }
    // Non-zero when the variable exists.
    int GetGlobalVar(const char* name, double& value) const;
    // Stores the variable (saved with the drawing). -2; 0 for a null or empty name.
    int SetGlobalVar(const char* name, double value);
    const std::map<std::string, double>& GlobalVars() const { return m_vars; }

    // ---- reactors (not owned) ----
    void AddReactor(DbDatabaseReactor* reactor);
    // Removes every registration of the reactor.
    void RemoveReactor(DbDatabaseReactor* reactor);
    const std::vector<DbDatabaseReactor*>& Reactors() const { return m_reactors; }
    void FireDocumentOpened();
    void FireNewDocument();
    void NotifyObjectModified(decObject* object);

    // ---- selection ----
    // Unmarks the marked entities and empties the visible selection.
    void ClearSelectSet(int flag);
    // Entities marked with SetSelected(1) become the visible selection, in creation order.
    void RebuildSysSelectSet(int flag);
    // Empties every entity's picked sub-objects.
    void ClearSubSelectSet();
    const decSelectSet& GetSysSelectSet() const { return m_selection; }
    // An entity of this drawing was marked or unmarked, or its picked sub-objects changed:
    // the drawing keeps the marked ones at hand, so clearing costs what was marked.
    void NoteSelection(const decDbEntity& entity);

    // ---- where entities lie ----
    // The live entities whose extents, seen along the two directions (a view's right and up),
    // may come within reach of the point (in drawing units): every one that does and perhaps a
    // few more, the most recently made first. The caller makes its exact test on each.
    std::vector<decDbEntity*> EntitiesNear(const GeVector3d& right, const GeVector3d& up, const GePoint3d& point,
                                           double reach);
    // The live entities whose extents in plan may meet the area (x and y): every one that does
    // and perhaps a few more, in creation order. The caller makes its exact test on each.
    std::vector<decDbEntity*> EntitiesMeeting(const host::PlanBox& area);
    // An entity of this drawing may have new extents (it changed, or its mesh will be made again).
    void NoteExtentsChanged(const decDbEntity& entity);

    // ---- temporary graphics ----
    virtual void ClearTempGraphics();
    virtual void DrawTempPolyline(const GePoint3d* pts, int count, std::uint32_t colour, int a, int b);
    TempGraphics& GetTempGraphics() { return m_temp; }

    // ---- interactive picks (defined by the command line) ----
    int decPickSingleEntity(decObjectId& outId, GePoint3d& outPickPoint, const char* prompt, const char* keywords,
                            decSSGet_filter* filter, const char* extraText);
    int decPickSubObjects(int mode, decSelectSet& out, decSSGet_filter* filter, const decObjectClassInfo* classInfo);

    // ---- drawing files ----
    std::uint64_t NextHandle() const { return m_nextHandle; }
    // Adds an entity read from a file under its stored id (false when the id is 0 or taken).
    bool RestoreEntity(std::unique_ptr<decDbEntity> entity, std::uint64_t handle);
    void RestoreNextHandle(std::uint64_t next) { if (next > m_nextHandle) m_nextHandle = next; }
    void RestoreGroup(DrawingGroup group);
    // Drops erased entities for good (after a save).
    void PurgeErased();
    // Replaces this drawing's content by other's (reactors, the open bracket and the
    // temporary graphics stay with this database); other receives the old content.
    void SwapContent(DbDatabase& other);

private:
    long ResolveLayer(long layerId) const;
    decObjectId Append(std::unique_ptr<decDbEntity> entity, long layerId);
    // Takes a newly stored entity into the marked sets and the extents indexes.
    void Admit(const decDbEntity& entity);
    // The index that sees along the two directions, made when there is none.
    ExtentsIndex& IndexAlong(const GeVector3d& right, const GeVector3d& up);
    // The entities changed places (opened, new, purged): the indexes start again.
    void ForgetPlaces();
    void Reattach();

    std::vector<std::unique_ptr<decDbEntity>> m_entities;
    std::unordered_map<std::uint64_t, std::size_t> m_index;
    std::uint64_t m_nextHandle = 1;
    decLayerTable m_layers;
    dexMaterialTable m_materials;
    std::map<std::string, double> m_vars;
    // An object dropped from its groups is counted out of m_grouped at once, so erasing
    // objects in no group costs nothing, and struck from the member lists the next time the
    // groups are looked at, once for all dropped since (a group of many members erased one by
    // one stays linear).
    mutable std::vector<DrawingGroup> m_groups;
    // The handles of the objects in some group.
    std::unordered_set<std::uint64_t> m_grouped;
    mutable std::unordered_set<std::uint64_t> m_dropped;
    std::vector<DbDatabaseReactor*> m_reactors;
    decSelectSet m_selection;
    // Handles of the entities marked selected, and of those with picked sub-objects.
    std::unordered_set<std::uint64_t> m_marked;
    std::unordered_set<std::uint64_t> m_subSelected;
    // One index per pair of directions clicks were asked along (the plan, the active view).
    std::vector<ExtentsIndex> m_extents;
    TempGraphics m_temp;
    int m_openDepth = 0;
};

// Opens the working database for write for a scope.
class DbAutoOpen {
public:
    explicit DbAutoOpen(int write = 1);
    ~DbAutoOpen();
    DbAutoOpen(const DbAutoOpen&) = delete;
    DbAutoOpen& operator=(const DbAutoOpen&) = delete;

    DbDatabase* db;

private:
    bool m_opened = false;
};
