#pragma once
// The multi-slope roof builder: a level outline with one slope per edge becomes one mesh
// entity on layer "坡屋顶" with material "屋面板", its faces from the closed library's roof
// routine, standing on an eave band as high as the slab when there is one (no bottom face).
#include <vector>

#include "Ge.h"
#include "RoofRoutineMesh.h"
#include "decObjectId.h"

// The roof over the outline (n points, open, level) with slopes[i] in degrees for the edge
// from point i to point i + 1. An edge of no length (within 0.001: a corner given twice, the
// first point again at the end) goes with its slope, and the roof is that of the outline
// without it. With a thickness above 0.001 the faces start that much above the outline and a
// band of one quad per edge closes the gap. The outline is read only. Returns the new
// entity's id, unset when no roof was made ("提示：创建坡屋顶失败。" on the command line):
// fewer than 3 points left, fewer slopes than points, a thickness that is no number or beyond
// the reach within which the roof-face union keeps a band apart from its eave
// (kernel::kUnionBandReach, about 839 m), or no roof face (a band alone is no roof).
__attribute__((visibility("default"))) decObjectId CreateMultiSlopeRoof(const GePoint3dArray& outline,
                                                                        double thickness,
                                                                        const std::vector<float>& slopes);

// The same with another roof routine in its place (a routine under test).
decObjectId CreateMultiSlopeRoofWith(RoofFaceRoutine routine, const GePoint3dArray& outline, double thickness,
                                     const std::vector<float>& slopes);
