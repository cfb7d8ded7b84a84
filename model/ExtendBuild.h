#pragma once
// The building tag: any 3-D host object that carries an extended-data record
// "XBUILD_NAME" belongs to the building named by the record's first string item. The
// presence of the record, not its text, makes a tagged building: an empty name still counts.
// Writers remove an existing record first and append one holding exactly one string item.
#include <vector>

#include "CString.h"
#include "GePoint3d.h"
#include "decObjectId.h"

class decDbEntity;

namespace ExtendBuild {

// 1 when the entity is a 3-D entity carrying the record; 0 for null or other entities.
int HasBuildTag(decDbEntity* entity);

// The first string item of the record of the 3-D entity behind the id; "" when the id
// names no 3-D entity, it has no record, or the record holds no string item.
CString GetBuildTag(const decObjectId& id);

// Appends the entity's mesh vertices in world coordinates (mesh order) to vertices. 1 when
// any were appended; 0 for anything that is not a 3-D entity with a non-empty mesh.
int GetAllVertices(decDbEntity* entity, std::vector<GePoint3d>& vertices);

}  // namespace ExtendBuild
