#include "BuildGroup.h"

#include <algorithm>

#include "AssertReport.h"
#include "DbDatabase.h"
#include "ModelHelperWindows.h"
#include "ModuleGlobals.h"
#include "WorkingDrawing.h"

namespace BuildGroup {

namespace {

bool Is3DObject(const decDbEntity* entity)
{
    return entity && entity->IsKindOf(decDbEntity3d::Desc());
}

// Adds the entity to the group of its name, making the group when the name is new.
void AddMember(std::vector<CGroupInfo>& groups, const CString& name, decDbEntity* entity)
{
    auto group = std::find(groups.begin(), groups.end(), name);
    if (group == groups.end()) {
        groups.push_back(CGroupInfo{name, {}, {}});
        group = std::prev(groups.end());
    }
    (IsWindow(entity) ? group->windows : group->objects).push_back(entity);
}

// One walk over the drawing: the groups, and the ungrouped 3-D objects when asked for.
class CB : public EnumDatabaseEntityTableCallback {
public:
    explicit CB(EntityArray* ungrouped) : m_ungrouped(ungrouped) {}

    void OnEntity(decDbEntity* entity) override
    {
        CString name;
        if (GetGroupName(entity, name))
            AddMember(m_groups, name, entity);
        else if (m_ungrouped && entity->Is3DEntity())
            m_ungrouped->push_back(entity);
    }

    std::vector<CGroupInfo> m_groups;

private:
    EntityArray* m_ungrouped;
};

int Collect(std::vector<CGroupInfo>& groups, EntityArray* ungrouped)
{
    CB cb(ungrouped);
    dec::GetWorkingDatabase()->EnumEntityTable(cb, 1);
    if (cb.m_groups.empty())
        return 0;
    groups = std::move(cb.m_groups);
    return 1;
}

}  // namespace

int FT_VALID_GROUP_OBJECT::Accept(decDbEntity* entity, int& accept)
{
    accept = entity && entity->Is3DEntity() ? 1 : 0;
    return 1;
}

int FT_GROUP_OBJECT::Accept(decDbEntity* entity, int& accept)
{
    CString name;
    accept = GetGroupName(entity, name) ? 1 : 0;
    return 1;
}

int GetGroupName(decDbEntity* entity, CString& name)
{
    if (!Is3DObject(entity))
        return 0;
    entity->OpenForRead();
    const decObjectXDataApp* record = entity->FindAppXDataByName(g_buildGroupAppName);
    entity->Close();
    if (!record)
        return 0;
    for (const decObjectXData& item : record->Items()) {
        if (item.IsTypeString()) {
            name = item.GetString();
            break;
        }
    }
    return 1;
}

long SetGroupName(const decObjectId& id, const CString& groupName)
{
    ORV_ASSERT(!groupName.IsEmpty() && "分组信息为空！", "BuildGroup");
    decDbEntity* entity = dec::GetWorkingDatabase()->GetObjectById(id);
    if (!ORV_ASSERT(Is3DObject(entity) && "对象不是三维实体！", "BuildGroup"))
        return 0;
    entity->OpenForWrite();
    auto* record = new decObjectXDataApp(g_buildGroupAppName);
    record->AppendDataString(groupName);
    entity->AppendAppXData(record);
    return entity->Close();
}

int GetAllGroupInfo(std::vector<CGroupInfo>& groups)
{
    return Collect(groups, nullptr);
}

int GetAllGroupInfo(std::vector<CGroupInfo>& groups, EntityArray& ungrouped)
{
    EntityArray found;
    const int result = Collect(groups, &found);
    ungrouped = std::move(found);
    return result;
}

void GetGroupFaces(const CGroupInfo& group, FaceList& faces)
{
    for (decDbEntity* entity : group.objects) {
        entity->OpenForRead();
        GePolygonIterator loops;
        entity->NewPolygonIterator(loops);
        for (loops.start(); !loops.done(); loops.next()) {
            int count = 0, closed = 0, flag2 = 0;
            const GePoint3d* points = nullptr;
            loops.getCurLoop(count, points, closed, flag2);
            faces.emplace_back(points, points + count);
        }
        entity->Close();
    }
}

}  // namespace BuildGroup
