#pragma once
#include <vector>

#include "UnionFaces.h"

// Where a line runs inside a plan polygon, clear of its outline.

namespace kernel {

// A stretch of a line, by its parameters along it.
struct Stretch {
  double from, to;
};

// The stretches of the line at + s * along (along a unit vector), s from lo to hi, that lie
// inside the polygon (even-odd) and farther than `clearance` from every edge i for which
// outline[i] holds (edge i runs from vertex i to the next), in order. A line that runs
// along such an edge, or within the clearance of it, lies clear of the polygon's inside
// there, whatever its direction.
std::vector<Stretch> StretchesInside(const std::vector<PlanPoint>& polygon,
                                     const std::vector<char>& outline, PlanPoint at,
                                     PlanPoint along, double lo, double hi, double clearance);

}  // namespace kernel
