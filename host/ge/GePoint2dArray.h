#pragma once
#include <vector>

#include "GePoint2d.h"

// A growable array of plan points, usually a closed ring (first point not repeated).
class GePoint2dArray : public std::vector<GePoint2d> {
 public:
  using std::vector<GePoint2d>::vector;

  // Enclosed area of the ring, never negative (whatever its orientation).
  double Area() const;
  // Shoelace area: positive for a counter-clockwise ring, negative for a clockwise one; 0 for
  // fewer than 3 points. Taken about the first point, so that a ring at site coordinates
  // (1e6 to 1e12) keeps the area and orientation that products of its coordinates would lose.
  double SignedArea() const;
};
