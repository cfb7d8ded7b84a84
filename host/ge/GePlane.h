#pragma once
#include "GeLine3d.h"
#include "GePoint3d.h"
#include "GeRay3d.h"
#include "GeVector3d.h"

// An unbounded plane: a point on it and a unit normal. The default is the XY plane.
class GePlane {
 public:
  GePlane() = default;
  GePlane(const GePoint3d& point, const GeVector3d& normal) { Set(point, normal); }
  GePlane(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3) { Set(p1, p2, p3); }

  // Plane through three points, normal (p2 − p1) × (p3 − p1) normalised. Collinear
  // points define no plane: false, the plane stays as it was.
  bool Set(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3);
  // Plane through point with the given normal (normalised); a zero normal is refused
  // (false, the plane stays as it was).
  bool Set(const GePoint3d& point, const GeVector3d& normal);

  const GePoint3d& pointOnPlane() const { return point_; }
  const GeVector3d& normal() const { return normal_; }

  // Distance along the normal: positive on the side the normal points to.
  double SignedDistanceTo(const GePoint3d& p) const { return (p - point_).DotProduct(normal_); }
  bool IsOn(const GePoint3d& p, double tol) const;
  GePoint3d ClosestPointTo(const GePoint3d& p) const { return p - normal_ * SignedDistanceTo(p); }

  // Meeting point with the line; false when the line is parallel to the plane (within
  // the library's vector tolerance), out untouched then.
  bool IntersectWith(const GeLine3d& line, GePoint3d& out, double tol) const;
  // Meeting point with the ray; false when parallel or when the plane lies behind the
  // ray's start (more than tol behind), out untouched then.
  bool IntersectWith(const GeRay3d& ray, GePoint3d& out, double tol) const;

 private:
  GePoint3d point_;
  GeVector3d normal_ = GeVector3d::kZAxis;
};
