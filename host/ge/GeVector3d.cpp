#include "GeVector3d.h"

#include <numbers>

#include "GeMatrix3d.h"

const GeVector3d GeVector3d::kXAxis(1.0, 0.0, 0.0);
const GeVector3d GeVector3d::kYAxis(0.0, 1.0, 0.0);
const GeVector3d GeVector3d::kZAxis(0.0, 0.0, 1.0);

GeVector3d& GeVector3d::Normalize(double tol) {
  const double len = Length();
  if (len > 0.0 && len >= tol) *this /= len;
  return *this;
}

GeVector3d GeVector3d::Normal(double tol) const {
  GeVector3d v = *this;
  return v.Normalize(tol);
}

double GeVector3d::AngleTo(const GeVector3d& v) const {
  // atan2 of |a × b| and a · b stays accurate near 0 and π, where acos does not.
  return std::atan2(CrossProduct(v).Length(), DotProduct(v));
}

double GeVector3d::AngleTo(const GeVector3d& v, const GeVector3d& ref, double tol) const {
  const double refLen = ref.Length();
  if (refLen == 0.0) return 0.0;
  const GeVector3d axis = ref / refLen;
  const GeVector3d a = *this - axis * DotProduct(axis);
  const GeVector3d b = v - axis * v.DotProduct(axis);
  if (a.Length() <= tol || b.Length() <= tol) return 0.0;
  constexpr double kTwoPi = 2.0 * std::numbers::pi;
  double angle = std::atan2(a.CrossProduct(b).DotProduct(axis), a.DotProduct(b));
  if (angle < 0.0) angle += kTwoPi;
  // Equal directions give 0 whichever side of it rounding lands.
  if (angle <= tol || kTwoPi - angle <= tol) return 0.0;
  return angle;
}

GeVector3d& GeVector3d::RotateBy(double angle, const GeVector3d& axis) {
  const double len = axis.Length();
  if (len == 0.0) return *this;
  const GeVector3d k = axis / len;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  // Rodrigues' formula.
  *this = *this * c + k.CrossProduct(*this) * s + k * (k.DotProduct(*this) * (1.0 - c));
  return *this;
}

GeVector3d& GeVector3d::TransformBy(const GeMatrix3d& m) { return *this = m * *this; }

bool GeVector3d::IsParallelTo(const GeVector3d& v, double tol) const {
  const double la = Length();
  const double lb = v.Length();
  if (la == 0.0 || lb == 0.0) return false;
  return CrossProduct(v).Length() <= tol * la * lb;
}

bool GeVector3d::IsPerpendicularTo(const GeVector3d& v, double tol) const {
  const double la = Length();
  const double lb = v.Length();
  if (la == 0.0 || lb == 0.0) return false;
  return std::abs(DotProduct(v)) <= tol * la * lb;
}
