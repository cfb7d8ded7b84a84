#pragma once
#include <cmath>

#include "GeTol.h"

class GeMatrix3d;

// A direction or displacement in space.
class GeVector3d {
 public:
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  static const GeVector3d kXAxis;  // (1, 0, 0)
  static const GeVector3d kYAxis;  // (0, 1, 0)
  static const GeVector3d kZAxis;  // (0, 0, 1)

  constexpr GeVector3d() = default;
  constexpr GeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  GeVector3d& Set(double xx, double yy, double zz) {
    x = xx;
    y = yy;
    z = zz;
    return *this;
  }

  double Length() const { return std::sqrt(LengthSqrd()); }
  constexpr double LengthSqrd() const { return x * x + y * y + z * z; }
  bool IsZeroLength(double tol = GeTol::kVector) const { return Length() <= tol; }

  // Unit length in place. A vector shorter than tol stays unchanged (the zero vector
  // stays zero), so callers can still test its length afterwards.
  GeVector3d& Normalize(double tol = GeTol::kVector);
  // Normalised copy, with the same rule for short vectors.
  GeVector3d Normal(double tol = GeTol::kVector) const;

  constexpr double DotProduct(const GeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  // this × v (right-handed: kXAxis × kYAxis = kZAxis).
  constexpr GeVector3d CrossProduct(const GeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }

  // Unsigned angle between the two vectors, in [0, π]; 0 when either is zero.
  double AngleTo(const GeVector3d& v) const;
  // Angle that turns this vector counter-clockwise (right-hand rule) about ref onto v,
  // in [0, 2π). Both vectors are first projected onto the plane normal to ref. Equal
  // directions (within the angle tol) give 0, never 2π; a vector whose projection is
  // shorter than tol, or a zero ref, gives 0.
  double AngleTo(const GeVector3d& v, const GeVector3d& ref, double tol = GeTol::kVector) const;

  // Turns this vector counter-clockwise (right-hand rule) about axis by angle radians.
  // A zero axis leaves it unchanged.
  GeVector3d& RotateBy(double angle, const GeVector3d& axis);
  // Applies the linear part of the matrix (a translation does not move a vector).
  GeVector3d& TransformBy(const GeMatrix3d& m);

  bool IsEqual(const GeVector3d& v, double tol) const {
    return std::abs(x - v.x) <= tol && std::abs(y - v.y) <= tol && std::abs(z - v.z) <= tol;
  }
  // Componentwise equal within the library's vector tolerance.
  bool operator==(const GeVector3d& v) const { return IsEqual(v, GeTol::kVector); }
  bool IsParallelTo(const GeVector3d& v, double tol = GeTol::kVector) const;
  bool IsPerpendicularTo(const GeVector3d& v, double tol = GeTol::kVector) const;

  constexpr GeVector3d operator-() const { return {-x, -y, -z}; }
  constexpr GeVector3d operator+(const GeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  constexpr GeVector3d operator-(const GeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  constexpr GeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  constexpr GeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
  GeVector3d& operator+=(const GeVector3d& v) { return Set(x + v.x, y + v.y, z + v.z); }
  GeVector3d& operator-=(const GeVector3d& v) { return Set(x - v.x, y - v.y, z - v.z); }
  GeVector3d& operator*=(double s) { return Set(x * s, y * s, z * s); }
  GeVector3d& operator/=(double s) { return Set(x / s, y / s, z / s); }
};

constexpr GeVector3d operator*(double s, const GeVector3d& v) { return v * s; }
