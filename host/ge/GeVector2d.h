#pragma once
#include <cmath>
#include <numbers>

#include "GeTol.h"

// A plan direction or displacement.
struct GeVector2d {
  double x = 0.0;
  double y = 0.0;

  constexpr GeVector2d() = default;
  constexpr GeVector2d(double xx, double yy) : x(xx), y(yy) {}

  double Length() const { return std::hypot(x, y); }
  constexpr double DotProduct(const GeVector2d& v) const { return x * v.x + y * v.y; }
  // z of the 3-D cross product: positive when v lies counter-clockwise of this vector.
  constexpr double CrossProduct(const GeVector2d& v) const { return x * v.y - y * v.x; }

  // Direction angle measured counter-clockwise from +X, in [0, 2π); 0 for the zero vector.
  double Angle() const {
    double a = std::atan2(y, x);
    if (a < 0.0) a += 2.0 * std::numbers::pi;
    return a >= 2.0 * std::numbers::pi ? 0.0 : a;
  }

  // Unit length in place; a vector shorter than tol stays as it is.
  GeVector2d& Normalize(double tol = GeTol::kVector) {
    const double len = Length();
    if (len >= tol && len > 0.0) {
      x /= len;
      y /= len;
    }
    return *this;
  }

  constexpr GeVector2d operator-() const { return {-x, -y}; }
  constexpr GeVector2d operator+(const GeVector2d& v) const { return {x + v.x, y + v.y}; }
  constexpr GeVector2d operator-(const GeVector2d& v) const { return {x - v.x, y - v.y}; }
  constexpr GeVector2d operator*(double s) const { return {x * s, y * s}; }
  constexpr GeVector2d operator/(double s) const { return {x / s, y / s}; }
  bool operator==(const GeVector2d& v) const {
    return std::abs(x - v.x) <= GeTol::kVector && std::abs(y - v.y) <= GeTol::kVector;
  }
};

constexpr GeVector2d operator*(double s, const GeVector2d& v) { return v * s; }
