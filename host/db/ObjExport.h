#pragma once
// Export of a drawing as Wavefront OBJ with an MTL file beside it, in drawing order: every 3-D
// entity's mesh placed by its transform, as faces ("f"), one object ("o") per entity named by
// class, identifier and, when it carries one, its building name; and every curve (polyline,
// arc, circle) as line elements ("l") over its vertex loop at its own coordinates, a closed
// loop ending on its first vertex again, one object per curve named by class and identifier.
// A "g" line names the layer whenever it changes. One "usemtl" per material with Kd from the
// material colour (0x00BBGGRR: red in the low byte); an object without a material takes its
// layer's colour.
#include <string>

class DbDatabase;

namespace host {

// Writes objPath and the MTL file (objPath with the extension ".mtl"), each replaced whole and
// neither before both are written. false with a message naming the file when one cannot be
// written, is a drawing of this program (NoDrawingAmong), or when the two are one file (a
// target named "r.mtl", or linked to its material file); both are then left as they were.
// An entity holding a number that is not finite, or whose points are not, is left out and
// named on the transcript ("export obj: object 3 (QCOrvRoof) left out: it holds a number that
// is not finite"); the rest is written.
bool ExportObj(const DbDatabase& db, const std::string& objPath, std::string& error);

}  // namespace host
