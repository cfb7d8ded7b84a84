#pragma once
#include <vector>

#include "UnionFaces.h"

// Plan polygons cut by a line (Sutherland and Hodgman's clip against one side), in double.

namespace kernel {

// The part of the polygon on the positive side of a line, given the signed value of the
// line's function at each vertex (side[i] for polygon[i]). A vertex whose value is 0 lies on
// the line and stays where it is; where an edge runs from one side to the other, the clip
// adds the point where the function's value passes 0. Empty when no vertex lies strictly on
// the positive side. The result may run along the line between the pieces of a polygon the
// line cuts in several, each such stretch gone over once each way.
std::vector<PlanPoint> KeepPositiveSide(const std::vector<PlanPoint>& polygon,
                                        const std::vector<double>& side);

// The part of the polygon within the box (minX, minY) to (maxX, maxY).
std::vector<PlanPoint> KeepWithinBox(std::vector<PlanPoint> polygon, double minX, double minY,
                                     double maxX, double maxY);

}  // namespace kernel
