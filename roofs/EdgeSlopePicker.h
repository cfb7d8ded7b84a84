#pragma once
// Finding the eave edge a click means, for the roof dialog's edge slope picker (button
// "调整屋面坡度>>"): the user clicks near an edge of the eave outline and types its slope,
// edge after edge.
#include "Ge.h"

namespace EdgeSlopePicker {

// A click farther than this from every edge, as a detour, finds none (mm).
inline constexpr double kAcceptance = 10000.0;

// The edge of the closed outline (edge i from vertex i to vertex i + 1, the last one back to
// vertex 0) nearest to the point, taken at the height of vertex 0: the one of the smallest
// detour |pA| + |pB| - |AB| in space, the lowest index on ties (so a click on vertex i + 1
// chooses edge i, one on vertex 0 edge 0). -1 when that detour is above kAcceptance or the
// outline is empty.
int NearestEdge(const GePoint3dArray& outline, GePoint3d point);

}  // namespace EdgeSlopePicker
