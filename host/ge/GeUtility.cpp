#include "GeUtility.h"

#include <algorithm>
#include <cmath>

int GeUtility::GetPolygonNormal(int count, const GePoint3d* pts, GeVector3d& normal) {
  normal = GeVector3d();
  if (pts == nullptr || count < 3) return 0;
  // Newell's method: twice the vector area, right-handed with the vertex order.
  GeVector3d sum;
  double extent = 0.0;
  // Coordinates are taken relative to the first vertex: smaller products, and a level
  // polygon gets exactly zero x and y components.
  for (int i = 0; i < count; ++i) {
    const GeVector3d p = pts[i] - pts[0];
    const GeVector3d q = pts[(i + 1) % count] - pts[0];
    sum.x += (p.y - q.y) * (p.z + q.z);
    sum.y += (p.z - q.z) * (p.x + q.x);
    sum.z += (p.x - q.x) * (p.y + q.y);
    extent = std::max(extent, p.Length());
  }
  // An area negligible against the polygon's size means collinear or coincident points.
  const double len = sum.Length();
  if (len == 0.0 || len <= 1e-12 * extent * extent) return 0;
  normal = sum / len;
  return 1;
}

namespace {
double DistanceToSegment(const GePoint2d& p, const GePoint2d& a, const GePoint2d& b) {
  const GeVector2d d = b - a;
  const double dd = d.DotProduct(d);
  if (dd == 0.0) return p.DistanceTo(a);
  const double t = std::clamp((p - a).DotProduct(d) / dd, 0.0, 1.0);
  return p.DistanceTo(a + d * t);
}
}  // namespace

int GeUtility::PointInsidePolygon(int count, const GePoint2d* pts, const GePoint2d& pt,
                                  double tol) {
  if (pts == nullptr || count < 3) return 0;
  bool inside = false;
  for (int i = 0, j = count - 1; i < count; j = i++) {
    const GePoint2d& a = pts[i];
    const GePoint2d& b = pts[j];
    if (DistanceToSegment(pt, a, b) <= tol) return 1;
    // Even-odd crossing of the ray from pt towards +X.
    if ((a.y > pt.y) != (b.y > pt.y)) {
      const double xCross = a.x + (pt.y - a.y) * (b.x - a.x) / (b.y - a.y);
      if (pt.x < xCross) inside = !inside;
    }
  }
  return inside ? 1 : 0;
}
