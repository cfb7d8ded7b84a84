#include "GeArc3d.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

void GeArc3d::MakeInvalid() { *this = GeArc3d(); }

bool GeArc3d::Set(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3) {
  const GeVector3d a = p2 - p1;
  const GeVector3d b = p3 - p2;
  const GeVector3d n = a.CrossProduct(b);
  const double nn = n.LengthSqrd();
  if (nn == 0.0 || nn <= GeTol::kVector * GeTol::kVector * a.LengthSqrd() * b.LengthSqrd()) {
    MakeInvalid();
    return false;
  }
  // Circumcentre of the triangle p1, p2, p3, measured from p1.
  const GeVector3d u = p2 - p1;
  const GeVector3d v = p3 - p1;
  const GeVector3d uxv = u.CrossProduct(v);
  const GeVector3d toCentre =
      (uxv.CrossProduct(u) * v.LengthSqrd() + v.CrossProduct(uxv) * u.LengthSqrd()) /
      (2.0 * uxv.LengthSqrd());
  const GePoint3d centre = p1 + toCentre;
  if (!Set(p1, p3, centre, n)) return false;
  endPoint_ = p3;  // exact, not the projection
  return true;
}

bool GeArc3d::Set(const GePoint3d& start, const GePoint3d& end, const GePoint3d& centre,
                  const GeVector3d& normal) {
  const double nLen = normal.Length();
  if (nLen == 0.0) {
    MakeInvalid();
    return false;
  }
  const GeVector3d n = normal / nLen;
  GeVector3d radial = start - centre;
  radial -= n * radial.DotProduct(n);
  const double radius = radial.Length();
  if (radius == 0.0) {
    MakeInvalid();
    return false;
  }
  double sweep = radial.AngleTo(end - centre, n, GeTol::kVector);
  if (sweep == 0.0) sweep = kTwoPi;
  Set(centre, n, radial, radius, 0.0, sweep);
  startPoint_ = start;
  endPoint_ = sweep == kTwoPi ? start : end;
  return true;
}

bool GeArc3d::Set(const GePoint3d& centre, const GeVector3d& normal, const GeVector3d& refAxis,
                  double radius, double startAngle, double endAngle) {
  const double nLen = normal.Length();
  if (nLen == 0.0 || !(radius > 0.0) || !(endAngle > startAngle)) {
    MakeInvalid();
    return false;
  }
  const GeVector3d n = normal / nLen;
  GeVector3d ref = refAxis - n * refAxis.DotProduct(n);
  const double refLen = ref.Length();
  if (refLen <= GeTol::kVector * refAxis.Length() || refLen == 0.0) {
    MakeInvalid();
    return false;
  }
  valid_ = true;
  centre_ = centre;
  normal_ = n;
  ref_ = ref / refLen;
  radius_ = radius;
  startAngle_ = startAngle;
  endAngle_ = endAngle;
  startPoint_ = EvalPoint(startAngle);
  endPoint_ = EvalPoint(endAngle);
  return true;
}

GePoint3d GeArc3d::EvalPoint(double angle) const {
  const GeVector3d side = normal_.CrossProduct(ref_);
  return centre_ + (ref_ * std::cos(angle) + side * std::sin(angle)) * radius_;
}

int GeArc3d::GetSamplePoints(int n, GePoint3d* out) const {
  if (!valid_ || n <= 0 || out == nullptr) return 0;
  out[0] = startPoint_;
  if (n == 1) return 1;
  const double step = (endAngle_ - startAngle_) / (n - 1);
  for (int i = 1; i < n - 1; ++i) out[i] = EvalPoint(startAngle_ + step * i);
  out[n - 1] = endPoint_;
  return n;
}

int GeArc3d::GetSamplePoints(int n, std::vector<GePoint3d>& out) const {
  out.assign(n > 0 && valid_ ? n : 0, GePoint3d());
  return GetSamplePoints(n, out.data());
}
