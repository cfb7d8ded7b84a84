#pragma once
// Offset of a plane polyline or ring by a signed distance: a positive distance moves it to
// the right of its direction of travel (outward for a counter-clockwise ring).

#include "qrxGePoint2d.h"

#include <span>
#include <vector>

namespace qrxGe {

// Runs the offset over the points (closed: they form a ring). On success the offset points
// are swapped into out and the result is true; on failure (fewer than two points left, an
// input that is not finite) out is left as it was and the result is false.
bool OffsetPoints(std::span<const point2d> points, bool closed, double distance,
                  std::vector<point2d>& out);

} // namespace qrxGe
