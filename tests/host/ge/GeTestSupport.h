#pragma once
// Shared by the geometry library's tests: π and coordinate-wise comparisons.
#include <gtest/gtest.h>

#include <numbers>

#include "Ge.h"

inline constexpr double kPi = std::numbers::pi;

// Each coordinate within eps; points are compared more loosely than unit vectors by default.
template <class Xyz>
void ExpectXyz(const Xyz& v, double x, double y, double z, double eps)
{
  EXPECT_NEAR(v.x, x, eps);
  EXPECT_NEAR(v.y, y, eps);
  EXPECT_NEAR(v.z, z, eps);
}

inline void ExpectPoint(const GePoint3d& p, double x, double y, double z, double eps = 1e-9) {
  ExpectXyz(p, x, y, z, eps);
}

inline void ExpectVector(const GeVector3d& v, double x, double y, double z, double eps = 1e-12) {
  ExpectXyz(v, x, y, z, eps);
}
