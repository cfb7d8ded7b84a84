#include "GroupTestSupport.h"

#include "HostSolids.h"
#include "ModuleGlobals.h"
#include "Selection.h"
#include "Window.h"

void GroupTest::SetUp()
{
    AnnotationTest::SetUp();
    // The dialogs remember their lists as long as the module is loaded: every test starts
    // from a freshly loaded module's.
    for (std::list<CString>& remembered : g_analysisGroupLists)
        remembered.clear();
}

namespace {

decObjectId Grouped(const decObjectId& id, const char* group)
{
    if (*group)
        BuildGroup::SetGroupName(id, group);
    return id;
}

}  // namespace

decObjectId GroupTest::AddGroupedBuilding(double x, const char* group)
{
    return Grouped(AddBuilding("", 30000, Square(x, 0, 10000)), group);
}

decObjectId GroupTest::AddGroupedBox(double x, const char* group)
{
    GeMatrix3d tm;
    tm.SetToTranslation(GeVector3d(x, 0, 0));
    return Grouped(AddSolid(new decDbBox(8000, 8000, 9000), tm), group);
}

decObjectId GroupTest::AddGroupedWindow(double x, const char* group)
{
    auto* window = new CWindow();
    window->SetSize(1500, 1800);
    GeMatrix3d tm;
    tm.SetCoordSystem(GePoint3d(x, 0, 900), GeVector3d(-1, 0, 0), GeVector3d(0, -1, 0), GeVector3d(0, 0, 1));
    return Grouped(AddSolid(window, tm), group);
}

std::vector<std::string> GroupTest::Handles(const EntityArray& entities)
{
    std::vector<std::string> handles;
    for (const decDbEntity* entity : entities)
        handles.push_back(host::DescribeEntity(entity).substr(0, host::DescribeEntity(entity).find(' ')));
    return handles;
}

std::vector<std::string> GroupTest::Names(const std::vector<BuildGroup::CGroupInfo>& groups)
{
    std::vector<std::string> names;
    for (const BuildGroup::CGroupInfo& group : groups)
        names.push_back(group.name.str());
    return names;
}
