#pragma once
// Export of a drawing's 3-D meshes as Wavefront OBJ with an MTL file beside it: every 3-D
// entity's mesh placed by its transform, one object ("o") per entity named by class,
// identifier and, when it carries one, its building name; one "usemtl" per material with
// Kd from the material colour (0x00BBGGRR: red in the low byte).
#include <string>

class DbDatabase;

namespace host {

// Writes objPath and the MTL file (objPath with the extension ".mtl"). false with a
// message naming the file when it cannot be written.
bool ExportObj(const DbDatabase& db, const std::string& objPath, std::string& error);

}  // namespace host
