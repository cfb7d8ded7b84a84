#pragma once
// Drawings with analysis groups: buildings, host solids and windows made in-process and put
// into groups through the module's own writer. The dialogs remember their lists as long as
// the module is loaded: every test starts from a freshly loaded module's.
#include <string>
#include <vector>

#include "DrawingTestSupport.h"
#include "BuildGroup.h"
#include "HostSolids.h"
#include "ModuleGlobals.h"
#include "Window.h"

class GroupTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        for (std::list<CString>& remembered : g_analysisGroupLists)
            remembered.clear();
    }
    // A building of side 10000 at x, 30 m high, in the group (none for an empty group name).
    decObjectId AddGroupedBuilding(double x, const char* group)
    {
        return Grouped(AddBuilding("", 30000, Square(x, 0, 10000)), group);
    }
    // A host box at x in the group.
    decObjectId AddGroupedBox(double x, const char* group)
    {
        GeMatrix3d tm;
        tm.SetToTranslation(GeVector3d(x, 0, 0));
        return Grouped(AddSolid(new decDbBox(8000, 8000, 9000), tm), group);
    }
    // A window at x on the south facade, in the group.
    decObjectId AddGroupedWindow(double x, const char* group)
    {
        auto* window = new CWindow();
        window->SetSize(1500, 1800);
        GeMatrix3d tm;
        tm.SetCoordSystem(GePoint3d(x, 0, 900), GeVector3d(-1, 0, 0), GeVector3d(0, -1, 0), GeVector3d(0, 0, 1));
        return Grouped(AddSolid(window, tm), group);
    }
    static std::vector<std::string> Handles(const EntityArray& entities)
    {
        std::vector<std::string> handles;
        for (const decDbEntity* entity : entities)
            handles.push_back(Handle(entity));
        return handles;
    }
    static std::vector<std::string> Names(const std::vector<BuildGroup::CGroupInfo>& groups)
    {
        std::vector<std::string> names;
        for (const BuildGroup::CGroupInfo& group : groups)
            names.push_back(group.name.str());
        return names;
    }

private:
    static decObjectId Grouped(const decObjectId& id, const char* group)
    {
        if (*group)
            BuildGroup::SetGroupName(id, group);
        return id;
    }
};
