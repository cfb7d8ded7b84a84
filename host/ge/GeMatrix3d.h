#pragma once
#include "GePoint3d.h"
#include "GeVector3d.h"

// An affine transform of space acting on column vectors: p' = M·p. The product A * B
// therefore maps a point p to A(B(p)): B acts first. "Turn, then move" is written
// translation * rotation.
class GeMatrix3d {
 public:
  static const GeMatrix3d kIdentity;

  GeMatrix3d() = default;  // identity

  // Entry at row r, column c (0..3); row 3 is always (0, 0, 0, 1).
  double operator()(int r, int c) const { return m_[r][c]; }
  double& operator()(int r, int c) { return m_[r][c]; }

  GeMatrix3d& SetToIdentity();
  // Local-to-world frame: world = origin + lx·x + ly·y + lz·z. The axes are stored as
  // given (not normalised), as the matrix's first three columns; origin is the fourth.
  GeMatrix3d& SetCoordSystem(const GePoint3d& origin, const GeVector3d& x, const GeVector3d& y,
                             const GeVector3d& z);
  // Reads back the four columns SetCoordSystem stores.
  void GetCoordSystem(GePoint3d& origin, GeVector3d& x, GeVector3d& y, GeVector3d& z) const;
  // Counter-clockwise (right-hand rule) rotation by angle radians about the axis through
  // centre. A zero axis gives the identity.
  GeMatrix3d& SetToRotation(double angle, const GeVector3d& axis,
                            const GePoint3d& centre = GePoint3d());
  GeMatrix3d& SetToTranslation(const GeVector3d& v);
  // Uniform scaling by s about centre.
  GeMatrix3d& SetToScaling(double s, const GePoint3d& centre = GePoint3d());

  // Inverse transform; a singular matrix (zero determinant of its linear part) has none
  // and gives the identity.
  GeMatrix3d Inverse() const;
  GeMatrix3d& Invert() { return *this = Inverse(); }
  bool IsSingular() const { return Determinant() == 0.0; }

  // this = this * r (r acts first) / this = l * this (l acts after this).
  GeMatrix3d& PostMultBy(const GeMatrix3d& r) { return *this = *this * r; }
  GeMatrix3d& PreMultBy(const GeMatrix3d& l) { return *this = l * *this; }
  GeMatrix3d operator*(const GeMatrix3d& b) const;
  GeMatrix3d& operator*=(const GeMatrix3d& b) { return PostMultBy(b); }
  GePoint3d operator*(const GePoint3d& p) const;
  GeVector3d operator*(const GeVector3d& v) const;  // linear part only

  // Determinant of the linear (3×3) part.
  double Determinant() const;
  // Length of the image of the x unit vector.
  double GetScaleX() const;
  // True when the transform reverses orientation (negative determinant).
  bool IsMirrorMatrix() const { return Determinant() < 0.0; }
  GeVector3d GetTranslation() const { return {m_[0][3], m_[1][3], m_[2][3]}; }

  bool IsEqual(const GeMatrix3d& b, double tol) const;

 private:
  double m_[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};
