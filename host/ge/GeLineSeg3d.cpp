#include "GeLineSeg3d.h"

#include <algorithm>
#include <cmath>

bool GeLineSeg3d::IsPointOn(const GePoint3d& p, double tol) const {
  GePoint3d closest = start_;
  const GeVector3d d = direction();
  const double dd = d.LengthSqrd();
  if (dd > 0.0) closest = start_ + d * std::clamp((p - start_).DotProduct(d) / dd, 0.0, 1.0);
  return closest.DistanceTo(p) <= tol;
}

bool GeLineSeg3d::GetClosestPointTo(const GePoint3d& p, GePoint3d& out, int, double tol) const {
  const double len = GetLength();
  if (len <= tol || len == 0.0) return false;
  const GeVector3d d = direction();
  out = start_ + d * std::clamp((p - start_).DotProduct(d) / d.LengthSqrd(), 0.0, 1.0);
  return true;
}

bool GeLineSeg3d::IntersectWith(const GeLineSeg3d& other, GePoint3d& out, int extend,
                                double tol) const {
  const GeVector3d d1 = direction();
  const GeVector3d d2 = other.direction();
  const double a = d1.LengthSqrd();
  const double c = d2.LengthSqrd();
  if (std::sqrt(a) <= tol || std::sqrt(c) <= tol) return false;
  const double b = d1.DotProduct(d2);
  const double denom = a * c - b * b;  // |d1 × d2|²
  if (denom <= GeTol::kVector * GeTol::kVector * a * c) return false;  // parallel
  // Parameters of the closest points of the two lines.
  const GeVector3d r = start_ - other.start_;
  const double d = d1.DotProduct(r);
  const double e = d2.DotProduct(r);
  const double s = (b * e - c * d) / denom;
  const double t = (a * e - b * d) / denom;
  const GePoint3d onThis = start_ + d1 * s;
  const GePoint3d onOther = other.start_ + d2 * t;
  if (onThis.DistanceTo(onOther) > tol) return false;  // the lines pass each other
  if (extend == 0) {
    const double sTol = tol / std::sqrt(a);
    const double tTol = tol / std::sqrt(c);
    if (s < -sTol || s > 1.0 + sTol || t < -tTol || t > 1.0 + tTol) return false;
  }
  out = onThis;
  return true;
}

bool GeLineSeg3d::IntersectWith(const GeCircle3d& circle, int& count, GePoint3d& p1,
                                GePoint3d& p2, int, double tol) const {
  count = 0;
  const GeVector3d d = direction();
  const double len = d.Length();
  if (len == 0.0 || circle.radius() <= 0.0) return false;
  const GeVector3d& n = circle.normal();
  const GePoint3d& c = circle.center();
  const double h0 = (start_ - c).DotProduct(n);
  const double h1 = (end_ - c).DotProduct(n);
  const double paramTol = tol / len;
  double hits[2];
  if (std::abs(h0) <= tol && std::abs(h1) <= tol) {
    // In the circle's plane: |start + s·d − c| = r, a quadratic in s.
    const GeVector3d w = start_ - c;
    const double qa = d.LengthSqrd();
    const double qb = 2.0 * d.DotProduct(w);
    const double qc = w.LengthSqrd() - circle.radius() * circle.radius();
    const double sMid = -qb / (2.0 * qa);
    const double gap = (start_ + d * sMid).DistanceTo(c) - circle.radius();
    const double disc = qb * qb - 4.0 * qa * qc;
    int found = 0;
    if (std::abs(gap) <= tol || disc <= 0.0) {
      // Tangent (within tol): one touching point.
      if (std::abs(gap) <= tol) hits[found++] = sMid;
    } else {
      const double root = std::sqrt(disc);
      hits[found++] = (-qb - root) / (2.0 * qa);
      hits[found++] = (-qb + root) / (2.0 * qa);
    }
    for (int i = 0; i < found; ++i) {
      if (hits[i] < -paramTol || hits[i] > 1.0 + paramTol) continue;
      (count == 0 ? p1 : p2) = start_ + d * hits[i];
      ++count;
    }
  } else if ((h0 <= tol && h1 >= -tol) || (h0 >= -tol && h1 <= tol)) {
    // Crossing the circle's plane at one point, which must lie on the circumference.
    const double s = h0 / (h0 - h1);
    const GePoint3d x = start_ + d * s;
    if (std::abs(x.DistanceTo(c) - circle.radius()) <= tol) {
      p1 = x;
      count = 1;
    }
  }
  return count > 0;
}

bool GeLineSeg3d::IntersectWith(const GePlane& plane, GePoint3d& out, double tol) const {
  const double h0 = plane.SignedDistanceTo(start_);
  const double h1 = plane.SignedDistanceTo(end_);
  const double len = GetLength();
  if (len == 0.0 || std::abs(h0 - h1) <= GeTol::kVector * len) return false;  // parallel
  const double s = h0 / (h0 - h1);
  const double paramTol = tol / len;
  if (s < -paramTol || s > 1.0 + paramTol) return false;
  out = start_ + direction() * s;
  return true;
}
