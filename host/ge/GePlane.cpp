#include "GePlane.h"

#include <cmath>

bool GePlane::Set(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3) {
  return Set(p1, (p2 - p1).CrossProduct(p3 - p1));
}

bool GePlane::Set(const GePoint3d& point, const GeVector3d& normal) {
  const double len = normal.Length();
  if (len == 0.0) return false;
  point_ = point;
  normal_ = normal / len;
  return true;
}

bool GePlane::IsOn(const GePoint3d& p, double tol) const {
  return std::abs(SignedDistanceTo(p)) <= tol;
}

namespace {
// Parameter t of the point base + t·dir on the plane; false when dir is (nearly)
// parallel to the plane.
bool MeetingParameter(const GePlane& plane, const GePoint3d& base, const GeVector3d& dir,
                      double& t) {
  const double len = dir.Length();
  const double along = dir.DotProduct(plane.normal());
  if (len == 0.0 || std::abs(along) <= GeTol::kVector * len) return false;
  t = -plane.SignedDistanceTo(base) / along;
  return true;
}
}  // namespace

bool GePlane::IntersectWith(const GeLine3d& line, GePoint3d& out, double) const {
  double t = 0.0;
  if (!MeetingParameter(*this, line.pointOnLine(), line.direction(), t)) return false;
  out = line.pointOnLine() + line.direction() * t;
  return true;
}

bool GePlane::IntersectWith(const GeRay3d& ray, GePoint3d& out, double tol) const {
  double t = 0.0;
  if (!MeetingParameter(*this, ray.startPoint(), ray.direction(), t)) return false;
  if (t * ray.direction().Length() < -tol) return false;
  out = ray.startPoint() + ray.direction() * t;
  return true;
}
