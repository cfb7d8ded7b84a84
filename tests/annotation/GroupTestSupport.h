#pragma once
// Drawings with analysis groups: buildings, host solids, meshes and windows made in-process
// and put into groups through the module's own writer.
#include <string>
#include <vector>

#include "AnnotationTestSupport.h"
#include "BuildGroup.h"

class GroupTest : public AnnotationTest {
protected:
    void SetUp() override;

    // A building of side 10000 at x, 30 m high, in the group (none for an empty group).
    decObjectId AddGroupedBuilding(double x, const char* group);
    // A host box at x in the group.
    decObjectId AddGroupedBox(double x, const char* group);
    // A window at x on the south facade, in the group.
    decObjectId AddGroupedWindow(double x, const char* group);
    // "#N" of each entity, in order.
    static std::vector<std::string> Handles(const EntityArray& entities);
    static std::vector<std::string> Names(const std::vector<BuildGroup::CGroupInfo>& groups);
};
