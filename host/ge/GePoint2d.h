#pragma once
#include <cmath>

#include "GeTol.h"
#include "GeVector2d.h"

// A point in plan (x, y), default the origin.
struct GePoint2d {
  double x = 0.0;
  double y = 0.0;

  constexpr GePoint2d() = default;
  constexpr GePoint2d(double xx, double yy) : x(xx), y(yy) {}

  void Set(double xx, double yy) {
    x = xx;
    y = yy;
  }
  double DistanceTo(const GePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }
  bool IsEqual(const GePoint2d& p, double tol) const { return DistanceTo(p) <= tol; }
  // Equal within the library's point tolerance.
  bool operator==(const GePoint2d& p) const { return IsEqual(p, GeTol::kPoint); }

  // The vector from p to this point.
  constexpr GeVector2d operator-(const GePoint2d& p) const { return {x - p.x, y - p.y}; }
  constexpr GePoint2d operator+(const GeVector2d& v) const { return {x + v.x, y + v.y}; }
  constexpr GePoint2d operator-(const GeVector2d& v) const { return {x - v.x, y - v.y}; }
  GePoint2d& operator+=(const GeVector2d& v) {
    x += v.x;
    y += v.y;
    return *this;
  }
  GePoint2d& operator-=(const GeVector2d& v) {
    x -= v.x;
    y -= v.y;
    return *this;
  }
  // Point sums and scaling exist for midpoints (p + q) / 2 and interpolations.
  constexpr GePoint2d operator+(const GePoint2d& p) const { return {x + p.x, y + p.y}; }
  constexpr GePoint2d operator*(double s) const { return {x * s, y * s}; }
  constexpr GePoint2d operator/(double s) const { return {x / s, y / s}; }
};

constexpr GePoint2d operator*(double s, const GePoint2d& p) { return p * s; }
