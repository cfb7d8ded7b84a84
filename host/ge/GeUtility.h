#pragma once
#include "GePoint2d.h"
#include "GePoint3d.h"
#include "GeVector3d.h"

// Polygon helpers of the geometry library.
class GeUtility {
 public:
  // Unit normal of the polygon by Newell's method, following the vertex order by the
  // right-hand rule (counter-clockwise in plan gives +Z). Non-zero on success; 0 with a
  // zero normal for fewer than 3 points, a null array or collinear/degenerate points.
  static int GetPolygonNormal(int count, const GePoint3d* pts, GeVector3d& normal);
  // Non-zero when pt lies inside the plan polygon (even-odd rule) or within tol of its
  // boundary; 0 for fewer than 3 points or a null array.
  static int PointInsidePolygon(int count, const GePoint2d* pts, const GePoint2d& pt, double tol);
};
