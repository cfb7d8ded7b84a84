#pragma once
// The building side of the model-helper API: recognising buildings, asking for and reading
// their names, collecting and selecting them. A building is either an entity whose base
// object is a CExtrudeBuild or any 3-D entity that carries the building tag (ExtendBuild);
// every function here treats both alike. The plain functions are exported with C linkage
// for the host's analysis side.
#include <vector>

#include "CString.h"
#include "EntityArray.h"
#include "GePoint3d.h"
#include "Selection.h"
#include "decObjectId.h"

class CExtrudeBuild;
class decDbEntity;

#ifndef MODEL_HELPER_EXPORT
#define MODEL_HELPER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// 1 when the entity's base object is a CExtrudeBuild.
MODEL_HELPER_EXPORT int IsExtrudeBuild(decDbEntity* entity);
// 1 when the entity is a 3-D entity carrying the building tag.
MODEL_HELPER_EXPORT int IsExtendBuild(decDbEntity* entity);
// 1 when the entity's base object is a host extrusion, cylinder or box.
MODEL_HELPER_EXPORT int IsExtrude3DEntity(decDbEntity* entity);

// The building's name into name. A CExtrudeBuild gives its name and 1 when it is not empty;
// a tagged object gives its tag and 1 even when the tag is empty; anything else gives 0 and
// leaves name as it was.
MODEL_HELPER_EXPORT int BuildName(decDbEntity* entity, CString& name);
// Asks the user to pick a building and gives its name; an unnamed CExtrudeBuild is offered
// to be named on the spot. 1 with a name, 0 otherwise.
MODEL_HELPER_EXPORT int GetBuildName(CString& name);

// Replaces entities by every building of the working drawing, in drawing order. 1 when any.
MODEL_HELPER_EXPORT int GetAllBuild(EntityArray& entities);
// Appends the world mesh vertices of a 3-D entity (see ExtendBuild::GetAllVertices).
MODEL_HELPER_EXPORT int GetExtendBuildAllVts(decDbEntity* entity, std::vector<GePoint3d>& vertices);
// Lets the user select buildings and appends them (the array is not cleared first). A
// cancelled selection prints "选择取消，退出命令" and gives 0; otherwise 1 when the array is
// not empty.
MODEL_HELPER_EXPORT int SelectBuild(EntityArray& entities, CString prompt);

// Offers to name an unnamed extruded building (yes/no box, then the name). 1 when a name was
// given and stored.
int AskExtrudeBuildName(CExtrudeBuild* building, CString& name);
// Asks for one building. 1 when one was picked (its id in id), 0 otherwise.
int PickExtrudeBuild(decObjectId& id);

namespace ModelHelper {

// Takes buildings of both kinds.
class FT_ALL_BUILD : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};

// Takes what a window can be put on: extruded buildings and the host's extrusion solids.
class FT_EXTRUDE_ENTITY : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};

// Takes what can stand for a contour line: buildings, the host's solids of the extrusion
// family, arcs and circles, and other curves whose first edge is at least 1000 long.
class CONTOUR_FT : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};

}  // namespace ModelHelper
