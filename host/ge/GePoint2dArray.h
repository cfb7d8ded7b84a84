#pragma once
#include <vector>

#include "GePoint2d.h"

// A growable array of plan points, usually a closed ring (first point not repeated).
class GePoint2dArray : public std::vector<GePoint2d> {
 public:
  using std::vector<GePoint2d>::vector;

  // Enclosed area of the ring, never negative (whatever its orientation).
  double Area() const;
  // Shoelace area: positive for a counter-clockwise ring, negative for a clockwise one.
  double SignedArea() const;
};
