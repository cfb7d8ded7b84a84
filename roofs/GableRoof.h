#pragma once
// The inputs of the gable roof command that the other roof commands share: the roof outline,
// picked as a building (its outline at its top), a solid (its top face) or a level curve,
// and the ridge line; and the notice every roof command gives when its roof covers a
// courtyard.
#include "Ge.h"

namespace GableRoof {

// Lets the user pick the building or outline to put a roof on and appends its outline (open,
// at the roof's height) to outline, which is expected empty. A run of points repeating the one
// before it (within 0.001, however many, across the closing point too) keeps its first, so no
// edge has no length; a slip or a retrace (roof_rings::WithoutSlips) is dropped, and a curve
// loses the points on its edges. 1 with a usable outline; 0 when the pick fails
// ("未选中目标!退出命令!"), the outline has fewer than 3 points (before or after the repeats
// and slips went) or a curve is not level (each with its message), or the object gives no outline, or
// one with a point that is not finite or a height beyond whole millimetres in an int.
int SelectBaseOutline(GePoint3dArray& outline);

// Tells the user, once for the roof just made over the outline grown by the overhang, when
// that roof covers a courtyard the outline leaves open ("提示：屋顶覆盖了建筑的内院。"): the
// roofs keep the outer ring of the grown outline, so the courtyard's windows stand under the
// roof.
void NoteCoveredCourtyard(const GePoint3dArray& outline, double overhang);

// Asks for the two ends of the ridge line and orders them: by x when they differ by more
// than 0.001 in x, else by y. 1 when both were given, 0 when either question was cancelled.
int InputRidgeLine(GePoint3d& start, GePoint3d& end);

}  // namespace GableRoof
