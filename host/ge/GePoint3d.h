#pragma once
#include <cmath>

#include "GeTol.h"
#include "GeVector3d.h"

class GeMatrix3d;

// A point in space; a default-constructed point is the origin.
class GePoint3d {
 public:
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  static const GePoint3d kOrigin;

  constexpr GePoint3d() = default;
  constexpr GePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  GePoint3d& Set(double xx, double yy, double zz) {
    x = xx;
    y = yy;
    z = zz;
    return *this;
  }

  double DistanceTo(const GePoint3d& p) const { return (*this - p).Length(); }
  bool IsEqual(const GePoint3d& p, double tol) const { return DistanceTo(p) <= tol; }
  // Equal within the library's point tolerance.
  bool operator==(const GePoint3d& p) const { return IsEqual(p, GeTol::kPoint); }

  // Full affine transform in place.
  GePoint3d& TransformBy(const GeMatrix3d& m);
  // Turns the point counter-clockwise (right-hand rule) about the axis through centre.
  GePoint3d& RotateBy(double angle, const GeVector3d& axis, const GePoint3d& centre);
  // The same about the axis through the origin.
  GePoint3d& RotateBy(double angle, const GeVector3d& axis) { return RotateBy(angle, axis, kOrigin); }

  // The vector from p to this point.
  constexpr GeVector3d operator-(const GePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
  constexpr GePoint3d operator+(const GeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  constexpr GePoint3d operator-(const GeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  GePoint3d& operator+=(const GeVector3d& v) { return Set(x + v.x, y + v.y, z + v.z); }
  GePoint3d& operator-=(const GeVector3d& v) { return Set(x - v.x, y - v.y, z - v.z); }
  // Point sums and scaling exist for midpoints (p + q) / 2 and interpolations p·(1−t) + q·t.
  constexpr GePoint3d operator+(const GePoint3d& p) const { return {x + p.x, y + p.y, z + p.z}; }
  constexpr GePoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
  constexpr GePoint3d operator/(double s) const { return {x / s, y / s, z / s}; }

  // The position vector (from the origin).
  constexpr GeVector3d AsVector() const { return {x, y, z}; }
};

constexpr GePoint3d operator*(double s, const GePoint3d& p) { return p * s; }
