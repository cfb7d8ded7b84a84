#pragma once
// Functions over rings and polylines: points in order, the closing point not repeated.

#include "qrxGePoint2d.h"

#include <span>
#include <vector>

namespace qrxGe {

// A closed ring: its points in order, the closing point not repeated.
using ring2d = std::vector<point2d>;

// Sum of the distances of consecutive points; closed adds the edge back to the first.
double PolylineLength(std::span<const point2d> points, bool closed);
// Half the shoelace sum: positive for a counter-clockwise ring with the y axis up, negative
// for a clockwise one, 0 for fewer than 3 points or a ring that encloses nothing.
double SignedArea(std::span<const point2d> ring);
// The absolute enclosed area; 0 for fewer than 3 points.
double Area(std::span<const point2d> ring);
// Clockwise with the y axis up: half the shoelace sum below 0. True for fewer than 3 points.
bool IsClockwise(std::span<const point2d> ring);
// 1 all turns one way, -1 turns both ways, 0 every turn straight (or fewer than 3 points).
int IsConvex(std::span<const point2d> ring);
// Ray crossing towards +x; points on the boundary (within 0.1) count as inside.
bool IsPointInPolygon(std::span<const point2d> ring, const point2d& p);
// Area centroid; (0,0) for fewer than 3 points. A ring of zero area gives inf/NaN.
point2d Centroid(std::span<const point2d> ring);

} // namespace qrxGe
