#include <gtest/gtest.h>

#include <cmath>

#include "GeTestSupport.h"

namespace {
constexpr double kEps = 1e-12;

TEST(GeVector3dTest, AxesAndCrossProductAreRightHanded) {
  ExpectVector(GeVector3d::kXAxis, 1, 0, 0);
  ExpectVector(GeVector3d::kYAxis, 0, 1, 0);
  ExpectVector(GeVector3d::kZAxis, 0, 0, 1);
  ExpectVector(GeVector3d::kXAxis.CrossProduct(GeVector3d::kYAxis), 0, 0, 1);
  ExpectVector(GeVector3d::kZAxis.CrossProduct(GeVector3d::kXAxis), 0, 1, 0);
  ExpectVector(GeVector3d::kYAxis.CrossProduct(GeVector3d::kXAxis), 0, 0, -1);
}

TEST(GeVector3dTest, NormalizeLeavesShortVectorsUnchanged) {
  GeVector3d v(3, 0, 4);
  EXPECT_EQ(&v.Normalize(0.001), &v);
  ExpectVector(v, 0.6, 0, 0.8);

  GeVector3d zero;
  zero.Normalize(0.001);
  EXPECT_EQ(zero.Length(), 0.0);

  GeVector3d tiny(0.0005, 0, 0);
  tiny.Normalize(0.001);
  ExpectVector(tiny, 0.0005, 0, 0);

  const GeVector3d w(0, -2, 0);
  ExpectVector(w.Normal(0.001), 0, -1, 0);
  ExpectVector(w, 0, -2, 0);  // Normal leaves the original alone
}

TEST(GeVector3dTest, UnsignedAngleIsInZeroToPi) {
  const struct { GeVector3d from, to; double angle, eps; } kCases[] = {
      {GeVector3d::kXAxis, GeVector3d::kYAxis, kPi / 2, kEps},     {GeVector3d::kYAxis, GeVector3d::kXAxis, kPi / 2, kEps},
      {{1, 0, 0}, {-1, 0, 0}, kPi, kEps},                          {{1, 1, 0}, {1, -1, 0}, kPi / 2, kEps},
      {{2, 0, 0}, {5, 0, 0}, 0.0, kEps},                           {{1, 0, 0}, {-1, 1e-9, 0}, kPi - 1e-9, 1e-15},
      {{1, 0, 0}, {1, -1, 0}, kPi / 4, kEps},
  };
  for (const auto& c : kCases) EXPECT_NEAR(c.from.AngleTo(c.to), c.angle, c.eps);
}

TEST(GeVector3dTest, AngleAboutAxisTurnsCounterClockwise) {
  const GeVector3d& x = GeVector3d::kXAxis;
  const GeVector3d& y = GeVector3d::kYAxis;
  const GeVector3d& z = GeVector3d::kZAxis;
  const struct { GeVector3d from, to, about; double angle; } kCases[] = {
      {x, y, z, kPi / 2}, {y, x, z, 3 * kPi / 2}, {y, x, -z, kPi / 2}, {x, -x, z, kPi},
      {x, {0, -1, 0}, z, 3 * kPi / 2},  // a window facing south: its y axis is -Y
      {x, y, z * 7.0, kPi / 2},         // the reference axis need not be a unit vector
      {{1, 0, 5}, {0, 1, -3}, z, kPi / 2},  // components along the axis do not count
      // Inclination of a face: from +Z to the face normal about the face's x axis; +Z turned
      // about +X goes towards -Y.
      {z, {0, -1, 1}, x, kPi / 4}, {z, {0, 1, 1}, x, 2 * kPi - kPi / 4},
  };
  for (const auto& c : kCases) EXPECT_NEAR(c.from.AngleTo(c.to, c.about, 1e-6), c.angle, kEps);
}

TEST(GeVector3dTest, AngleAboutAxisIsZeroNeverTwoPiForEqualDirections) {
  const GeVector3d& z = GeVector3d::kZAxis;
  EXPECT_EQ(GeVector3d::kXAxis.AngleTo(GeVector3d(3, 0, 0), z, 1e-6), 0.0);
  EXPECT_EQ(GeVector3d::kXAxis.AngleTo(GeVector3d(1, -1e-12, 0), z, 1e-6), 0.0);
  EXPECT_EQ(GeVector3d::kXAxis.AngleTo(GeVector3d(1, 1e-12, 0), z, 1e-6), 0.0);
  const double justBelow = GeVector3d::kXAxis.AngleTo(GeVector3d(1, -1e-3, 0), z, 1e-6);
  EXPECT_LT(justBelow, 2 * kPi);
  EXPECT_GT(justBelow, 2 * kPi - 2e-3);
}

TEST(GeVector3dTest, AngleOfARealTurnAboutItsCrossProductIsBelowPi) {
  const GeVector3d in(1, 0, 0);
  for (const GeVector3d& out : {GeVector3d(1, 1, 0), GeVector3d(0, -1, 0), GeVector3d(-1, 0.1, 0),
                                GeVector3d(0.2, 0.3, 0.9)}) {
    const GeVector3d axis = in.CrossProduct(out).Normal(1e-6);
    const double a = in.AngleTo(out, axis, 1e-6);
    EXPECT_GT(a, 0.0);
    EXPECT_LT(a, kPi);
    EXPECT_NEAR(a, in.AngleTo(out), 1e-12);
  }
}

TEST(GeVector3dTest, RotatingByTheAngleAboutTheAxisReachesTheTarget) {
  // +Y to +X about +Z is three quarter turns; turning +Y by it gives +X.
  const GeVector3d y = GeVector3d::kYAxis;
  const double a = y.AngleTo(GeVector3d::kXAxis, GeVector3d::kZAxis, 1e-6);
  EXPECT_NEAR(a, 3 * kPi / 2, kEps);
  GeVector3d v = y;
  v.RotateBy(a, GeVector3d::kZAxis);
  ExpectVector(v, 1, 0, 0);

  const GeVector3d axis = GeVector3d(1, 2, 3).Normal();
  const GeVector3d from = GeVector3d(3, 0, -1);  // perpendicular to axis
  for (double turn : {0.3, 1.7, 3.5, 5.9}) {
    GeVector3d to = from;
    to.RotateBy(turn, axis);
    EXPECT_NEAR(from.AngleTo(to, axis, 1e-6), turn, 1e-12);
  }
}

TEST(GeVector3dTest, RotateByIsRightHanded) {
  GeVector3d v = GeVector3d::kXAxis;
  EXPECT_EQ(&v.RotateBy(kPi / 2, GeVector3d::kZAxis), &v);
  ExpectVector(v, 0, 1, 0);
  const struct { GeVector3d from, axis, to; } kQuarterTurns[] = {
      {GeVector3d::kYAxis, GeVector3d::kXAxis, {0, 0, 1}},
      {GeVector3d::kZAxis, GeVector3d::kYAxis, {1, 0, 0}},
      {GeVector3d::kXAxis, {0, 0, -5}, {0, -1, 0}},  // reversed, non-unit axis turns the other way
      {{1, 2, 3}, GeVector3d(), {1, 2, 3}},          // no axis, no turn
  };
  for (const auto& c : kQuarterTurns) {
    v = c.from;
    v.RotateBy(kPi / 2, c.axis);
    ExpectVector(v, c.to.x, c.to.y, c.to.z);
  }
}

TEST(GePoint3dTest, RotateByTurnsAboutTheAxisThroughTheCentre) {
  GePoint3d p(2, 1, 7);
  p.RotateBy(kPi / 2, GeVector3d::kZAxis, GePoint3d(1, 1, 0));
  EXPECT_NEAR(p.x, 1, kEps);
  EXPECT_NEAR(p.y, 2, kEps);
  EXPECT_NEAR(p.z, 7, kEps);
  GePoint3d q(1, 0, 0);
  q.RotateBy(kPi, GeVector3d::kZAxis);
  EXPECT_NEAR(q.x, -1, kEps);
  EXPECT_NEAR(q.y, 0, kEps);
}

TEST(GePoint3dTest, ArithmeticAndTolerance) {
  const GePoint3d p(1, 2, 3);
  const GePoint3d q(4, 6, 3);
  ExpectVector(q - p, 3, 4, 0);  // from p to q
  EXPECT_DOUBLE_EQ(p.DistanceTo(q), 5.0);
  const GePoint3d mid = (p + q) / 2.0;
  EXPECT_DOUBLE_EQ(mid.x, 2.5);
  const GePoint3d lerp = p * 0.75 + q * 0.25;
  EXPECT_DOUBLE_EQ(lerp.y, 3.0);
  GePoint3d r = p;
  r += GeVector3d(1, 1, 1);
  EXPECT_TRUE(r == GePoint3d(2, 3, 4));
  r -= GeVector3d(1, 1, 1);
  EXPECT_TRUE(r == p);
  EXPECT_TRUE(p == GePoint3d(1, 2, 3 + 1e-12));
  EXPECT_TRUE(p != GePoint3d(1, 2, 3 + 1e-6));
  EXPECT_TRUE(p.IsEqual(GePoint3d(1, 2, 3.0005), 0.001));
  EXPECT_FALSE(p.IsEqual(GePoint3d(1, 2, 3.002), 0.001));
  const GePoint3d origin;
  EXPECT_EQ(origin.x, 0.0);
  EXPECT_EQ(origin.z, 0.0);
}

TEST(GeVector3dTest, EqualityUsesTheLibraryTolerance) {
  EXPECT_TRUE(GeVector3d(0, 0, 1) == GeVector3d::kZAxis);
  EXPECT_TRUE(GeVector3d(1e-14, 0, 1) == GeVector3d::kZAxis);
  EXPECT_TRUE(GeVector3d(0, 0, -1) != GeVector3d::kZAxis);
  EXPECT_TRUE(-GeVector3d::kZAxis == GeVector3d(0, 0, -1));
  EXPECT_TRUE(GeVector3d(0, 1e-6, 1) != GeVector3d::kZAxis);
}

TEST(GeVector2dTest, AngleIsCounterClockwiseFromXInZeroToTwoPi) {
  EXPECT_NEAR(GeVector2d(1, 0).Angle(), 0.0, kEps);
  EXPECT_NEAR(GeVector2d(0, 1).Angle(), kPi / 2, kEps);
  EXPECT_NEAR(GeVector2d(-1, 0).Angle(), kPi, kEps);
  EXPECT_NEAR(GeVector2d(0, -1).Angle(), 3 * kPi / 2, kEps);
  EXPECT_NEAR(GeVector2d(1, -1).Angle(), 7 * kPi / 4, kEps);
  EXPECT_LT(GeVector2d(1, -1e-300).Angle(), 2 * kPi);
}

TEST(GePoint2dTest, DistanceEqualityAndSegmentEnds) {
  const GePoint2d a(0, 0);
  const GePoint2d b(3, 4);
  EXPECT_DOUBLE_EQ(a.DistanceTo(b), 5.0);
  EXPECT_TRUE(a == GePoint2d(1e-12, 0));
  EXPECT_TRUE(a != GePoint2d(1e-6, 0));
  const GeLineSeg2d seg(a, b);
  EXPECT_TRUE(seg.startPoint() == a);
  EXPECT_TRUE(seg.endPoint() == b);
  EXPECT_DOUBLE_EQ(seg.GetLength(), 5.0);
}
}  // namespace
