#pragma once
// Building groups: named sets of 3-D objects (buildings, windows, any other bodies) that the
// insolation analysis uses to say which objects shade and which windows are analysed. A
// group exists only as its name on each member, the extended data "build_group" with one
// string item; there is no list of groups anywhere, so every use rebuilds them from the
// drawing. The commands bldgroup and inqgroup write and show that record.
#include <vector>

#include "CString.h"
#include "EntityArray.h"
#include "GePoint3dArray.h"
#include "Selection.h"
#include "decObjectId.h"

class decDbEntity;

namespace BuildGroup {

// One group as the drawing holds it now. The arrays point at entities the drawing owns;
// they are valid only while the drawing is not changed (one command or one dialog).
struct CGroupInfo {
    CString name;
    EntityArray windows;  // members that are windows
    EntityArray objects;  // every other member

    // Names compare exactly: "a" and "A" are two groups.
    bool operator==(const CString& other) const { return name.Compare(other) == 0; }
};

// A vertex loop per element, the closing point not repeated.
using FaceList = std::vector<GePoint3dArray>;

// Takes 3-D entities (what bldgroup may group).
class FT_VALID_GROUP_OBJECT : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};

// Takes entities that belong to a group (what inqgroup lets the user pick).
class FT_GROUP_OBJECT : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};

// 0 for null, a non-3-D entity or one without a group record; otherwise 1, with name set
// from the record's first string item. A record without a string item leaves name as the
// caller passed it (the object still counts as a member).
int GetGroupName(decDbEntity* entity, CString& name);

// Attaches a new group record holding groupName to the object (an existing one is not
// removed) and gives the result of closing it. An empty name is reported and written all
// the same; an object that is missing or not 3-D is reported and left alone (0).
long SetGroupName(const decObjectId& id, const CString& groupName);

// The groups of the working drawing in the order their names are first met, members in
// drawing order. 1 with groups (the vector replaced); 0 when there is none, the vector left
// as it was.
int GetAllGroupInfo(std::vector<CGroupInfo>& groups);
// The same; ungrouped always receives every 3-D object that belongs to no group.
int GetAllGroupInfo(std::vector<CGroupInfo>& groups, EntityArray& ungrouped);

// Appends one face per mesh loop of the group's objects (never its windows); outer loops
// and holes are not told apart. What faces held stays.
void GetGroupFaces(const CGroupInfo& group, FaceList& faces);

// Asks for a group name: non-zero to go on, with a non-empty name or clear set to 1 (Enter
// alone); 0 when the question was cancelled.
int AskGroupName(CString& name, int& clear);

// The bodies of bldgroup and inqgroup.
void GroupObjects();
void QueryGroups();

}  // namespace BuildGroup
