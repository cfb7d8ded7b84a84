#include "qrxGeMatrix.h"
#include "qrxGePoint2d.h"
#include "qrxGePoint3d.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qrxGe {
namespace {

TEST(QrxGePoint2d, EqualityIsPerCoordinateAndStrict)
{
    EXPECT_EQ(point2d(0, 0), point2d(0.09, -0.09));
    EXPECT_NE(point2d(0, 0), point2d(0.1, 0));
    EXPECT_NE(point2d(0, 0), point2d(0, -0.1));
    EXPECT_TRUE(point2d(5, 5).IsEqualTo(point2d(5.05, 4.95)));
    EXPECT_EQ(point3d(1, 2, 3), point3d(1.05, 2, 2.95));
    EXPECT_NE(point3d(1, 2, 3), point3d(1, 2, 3.1));
    EXPECT_EQ(vector2d(1, 0), vector2d(1.09, 0.09));
    EXPECT_NE(vector2d(1, 0), vector2d(1.1, 0));
}

TEST(QrxGePoint2d, AnglesFoldIntoOneTurn)
{
    const double below = point2d(1, -1e-12).Angle();
    EXPECT_LT(below, kTwoPi);
    EXPECT_GT(below, kTwoPi - 1e-9);
    EXPECT_EQ(point2d(0, 0).Angle(), 0.0);
    EXPECT_DOUBLE_EQ(point2d(1, 1).AngleTo(point2d(1, 0)), kTwoPi - std::acos(-1.0) / 2);
    EXPECT_DOUBLE_EQ(vector2d(-1, 0).Angle(), std::acos(-1.0));
}

TEST(QrxGePoint2d, ArithmeticMixesPointsAndVectors)
{
    const point2d p(1, 2), q(4, 6);
    EXPECT_EQ(q - p, vector2d(3, 4));
    EXPECT_DOUBLE_EQ(p.DistanceTo(q), 5.0);
    EXPECT_EQ((p + q) / 2, point2d(2.5, 4));
    EXPECT_EQ(p + vector2d(1, 1), point2d(2, 3));
    EXPECT_EQ(2.0 * p, point2d(2, 4));
    EXPECT_EQ(-p, point2d(-1, -2));
    const point3d r = p.To3d(7);
    EXPECT_DOUBLE_EQ(r.z, 7);
    EXPECT_DOUBLE_EQ(point3d(0, 0, 0).DistanceTo(point3d(2, 3, 6)), 7.0);
}

TEST(QrxGeVector2d, AngleToTurnsCounterClockwise)
{
    const double quarter = std::acos(-1.0) / 2;
    EXPECT_DOUBLE_EQ(vector2d(1, 0).AngleTo(vector2d(0, -1)), kTwoPi - quarter);
    EXPECT_DOUBLE_EQ(vector2d(0, -1).AngleTo(vector2d(1, 0)), quarter);
    EXPECT_EQ(vector2d(2, 0).AngleTo(vector2d(5, 0)), 0.0);
    EXPECT_DOUBLE_EQ(vector2d(1, 0).AngleBetween(vector2d(0, -1)), quarter);
}

TEST(QrxGeVector2d, ParallelVectorsGiveNoNaN)
{
    // For this vector dot / (|u| |v|) rounds to 1.0000000000000002.
    const vector2d u(0.1, 0.6);
    EXPECT_EQ(u.AngleBetween(u), 0.0);
    EXPECT_EQ(u.AngleTo(u), 0.0);
    EXPECT_DOUBLE_EQ(u.AngleBetween(-u), std::acos(-1.0));
}

TEST(QrxGeVector2d, LengthsUnitsAndTurns)
{
    vector2d v(3, 4);
    EXPECT_DOUBLE_EQ(v.Length(), 5);
    EXPECT_DOUBLE_EQ(v.LengthSquared(), 25);
    EXPECT_FALSE(v.IsNormalized());
    EXPECT_TRUE(v.Normalize().IsNormalized());
    EXPECT_EQ(v.Perpendicular(), vector2d(-0.8, 0.6));
    EXPECT_FALSE(vector2d(1e-11, -1e-11).IsNonZero());
    EXPECT_TRUE(vector2d(0, 1e-10).IsNonZero());
    vector2d r(1, 0);
    r.RotateBy(std::acos(-1.0) / 2);
    EXPECT_NEAR(r.x, 0, 1e-12);
    EXPECT_NEAR(r.y, 1, 1e-12);
    EXPECT_EQ(vector2d(point2d(1, 1), point2d(3, 0)), vector2d(2, -1));
    EXPECT_NEAR(vector2d(kHalfPi).x, 0, 1e-7);
    EXPECT_EQ(vector2d(1, 2).Negate(), vector2d(-1, -2));
}

} // namespace
} // namespace qrxGe
