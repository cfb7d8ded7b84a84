#include "qrxGeLine2d.h"
#include "qrxGeMatrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qrxGe {
namespace {

const double kQuarter = std::acos(-1.0) / 2;

TEST(QrxGeLineEq2d, ConstructorsDifferInNormalSide)
{
    // Two points: normal to the left of p->q, so +1 is left.
    const lineeq2d twoPoint(point2d(0, 0), point2d(10, 0));
    EXPECT_EQ(twoPoint.SideOf(point2d(5, 1)), 1);
    EXPECT_EQ(twoPoint.SideOf(point2d(5, -1)), -1);
    EXPECT_EQ(twoPoint.SideOf(point2d(5, 0.009)), 0);
    EXPECT_EQ(twoPoint.SideOf(point2d(5, 0.01)), 1);
    // Point and vector, point and angle: normal to the right of the direction.
    EXPECT_EQ(lineeq2d(point2d(0, 0), vector2d(1, 0)).SideOf(point2d(5, 1)), -1);
    EXPECT_EQ(lineeq2d(point2d(0, 0), 0.0).SideOf(point2d(5, -1)), 1);
    // The three describe the same line.
    EXPECT_TRUE(twoPoint.IsSameLine(lineeq2d(point2d(3, 0), vector2d(1, 0))));
    EXPECT_TRUE(twoPoint.IsSameLine(lineeq2d(point2d(3, 0), kPi)));
}

TEST(QrxGeLineEq2d, ValuesAlongTheLine)
{
    const lineeq2d l(point2d(0, 1), point2d(2, 5)); // y = 2x + 1
    EXPECT_DOUBLE_EQ(l.YAt(3), 7);
    EXPECT_DOUBLE_EQ(l.XAt(5), 2);
    EXPECT_EQ(lineeq2d(point2d(0, 0), point2d(0, 5)).YAt(3), 0.0); // vertical: no y
    EXPECT_EQ(lineeq2d(point2d(0, 0), point2d(5, 0)).XAt(3), 0.0); // horizontal: no x
    EXPECT_DOUBLE_EQ(lineeq2d(point2d(0, 0), point2d(0, 5)).Angle(), kQuarter);
    EXPECT_NEAR(l.DistanceTo(point2d(0, 0)), 1 / std::sqrt(5.0), 1e-12);
    EXPECT_LT(l.SignedDistanceTo(point2d(0, 0)), 0); // the origin is right of (0,1)->(2,5)
    EXPECT_TRUE(l.IsPointOn(point2d(1, 3.05)));
    EXPECT_TRUE(l.IsValid());
    EXPECT_FALSE(lineeq2d(0.001, 0.009, 1).IsValid());
}

TEST(QrxGeLineEq2d, FootOfPerpendicularBothWays)
{
    const lineeq2d l(point2d(0, 1), point2d(2, 5));
    const point2d p(4, 0);
    const point2d f1 = l.ProjectPoint(p), f2 = l.ClosestPointTo(p);
    EXPECT_NEAR(f1.x, f2.x, 1e-12);
    EXPECT_NEAR(f1.y, f2.y, 1e-12);
    EXPECT_NEAR(l.DistanceTo(f1), 0, 1e-12);
    EXPECT_NEAR(vector2d(f1, p).DotProduct(vector2d(1, 2)), 0, 1e-12);
    const lineeq2d perp = l.PerpendicularThrough(p);
    EXPECT_NEAR(perp.DistanceTo(p), 0, 1e-12);
    EXPECT_NEAR(l.AngleTo(perp), kQuarter, 1e-12);
}

TEST(QrxGeLineEq2d, IntersectionAndParallelLines)
{
    point2d x(-99, -99);
    EXPECT_EQ(lineeq2d(point2d(0, 0), point2d(4, 4)).IntersectWith(lineeq2d(point2d(0, 4), point2d(4, 0)), x), 1);
    EXPECT_EQ(x, point2d(2, 2));

    // y = 1 and y = -1 lie equally far from the origin but are different lines.
    const lineeq2d y1(point2d(0, 1), point2d(1, 1)), yMinus1(point2d(0, -1), point2d(1, -1));
    x = point2d(-99, -99);
    EXPECT_EQ(y1.IntersectWith(yMinus1, x), -1);
    EXPECT_EQ(x, point2d(-99, -99));
    EXPECT_EQ(y1.IntersectWith(lineeq2d(point2d(0, 3), point2d(1, 3)), x), -1);
    // The same line, given the other way round and within 0.1 rad.
    EXPECT_EQ(y1.IntersectWith(lineeq2d(point2d(5, 1.05), point2d(-5, 1.0)), x), 0);
    EXPECT_EQ(x, point2d(-99, -99));
    // 0.2 rad apart is a crossing.
    EXPECT_EQ(y1.IntersectWith(lineeq2d(point2d(0, 1), 0.2), x), 1);
    EXPECT_EQ(x, point2d(0, 1));
}

TEST(QrxGeLineEq2d, Relation)
{
    const lineeq2d a(point2d(0, 1), point2d(1, 1));
    EXPECT_EQ(a.Relation(lineeq2d(point2d(0, 0), point2d(1, 1))), -1);
    EXPECT_EQ(a.Relation(lineeq2d(point2d(9, 1.05), point2d(3, 1.05))), 0);
    EXPECT_EQ(a.Relation(lineeq2d(point2d(0, -1), point2d(1, -1))), 1);
    // Vertical lines use the x offset.
    const lineeq2d v(point2d(2, 0), point2d(2, 1));
    EXPECT_TRUE(v == lineeq2d(point2d(2.05, 7), point2d(2.05, -3)));
    EXPECT_EQ(v.Relation(lineeq2d(point2d(-2, 0), point2d(-2, 1))), 1);
}

TEST(QrxGeLineEq2d, NormalsOfParallelLinesGiveNoNaN)
{
    const lineeq2d l(0.1, 0.6, 2.0);
    EXPECT_EQ(l.AngleTo(l), 0.0);
}

TEST(QrxGeLineEq2d, TransformKeepsTheNormalSideAndWorksThroughTheOrigin)
{
    const lineeq2d l(point2d(0, 0), point2d(10, 10)); // through the origin
    lineeq2d moved = l;
    moved.TransformBy(kIdentity3x3);
    EXPECT_TRUE(moved.IsSameLine(l));
    EXPECT_EQ(moved.SideOf(point2d(0, 5)), 1);
    matrix3x3 shift;
    shift.SetToTranslation(vector2d(0, 5));
    moved = l;
    moved.TransformBy(shift);
    EXPECT_NEAR(moved.DistanceTo(point2d(0, 5)), 0, 1e-12);
    EXPECT_NEAR(moved.DistanceTo(point2d(10, 15)), 0, 1e-12);
    EXPECT_EQ(moved.SideOf(point2d(0, 10)), 1);
}

TEST(QrxGeLine2d, SideOfIsPositiveOnTheRight)
{
    const line2d l(point2d(0, 0), vector2d(1, 0));
    EXPECT_EQ(l.SideOf(point2d(5, 1)), -1);
    EXPECT_EQ(l.SideOf(point2d(5, -1)), 1);
    EXPECT_EQ(l.SideOf(point2d(5, 0.01)), 0);   // angle 0.002 rad
    EXPECT_EQ(l.SideOf(point2d(-5, 0.01)), 0);  // behind the origin, still on the line
    EXPECT_EQ(l.SideOf(point2d(5, -0.01)), 0);  // folded angle just below 2*pi
}

TEST(QrxGeLine2d, OffsetIntersectTransform)
{
    line2d l(point2d(0, 0), point2d(10, 0));
    EXPECT_TRUE(l.IsValid());
    l.OffsetBy(2);
    EXPECT_EQ(l.Origin(), point2d(0, -2)); // to the right
    point2d x;
    EXPECT_EQ(l.IntersectWith(line2d(point2d(3, 5), kHalfPi), x), 1);
    EXPECT_EQ(x, point2d(3, -2));
    EXPECT_EQ(l.IntersectWith(line2d(point2d(0, -2), vector2d(-4, 0)), x), 0);
    EXPECT_EQ(l.IntersectWith(line2d(point2d(0, 2), vector2d(4, 0)), x), -1);
    matrix3x3 m;
    m.SetToRotation(kQuarter);
    l.TransformBy(m);
    EXPECT_EQ(l.Origin(), point2d(2, 0)); // a quarter turn
    EXPECT_NEAR(l.Angle(), kQuarter, 1e-12);
    l.ResetDirection();
    EXPECT_FALSE(l.IsValid());
}

TEST(QrxGeSegment2d, EndsOffsetAndEquation)
{
    segment2d s(point2d(0, 0), point2d(0, 10));
    EXPECT_EQ(s.EndPoint(), point2d(0, 10));
    EXPECT_TRUE(s.LineEquation().IsSameLine(s.ToLine().LineEquation()));
    s.OffsetBy(3);
    EXPECT_EQ(s.StartPoint(), point2d(3, 0)); // right of an upward segment is +x
    EXPECT_EQ(s.EndPoint(), point2d(3, 10));
    EXPECT_DOUBLE_EQ(s.Direction().Length(), 10);
    EXPECT_FALSE(segment2d(point2d(1, 1), vector2d(0.009, -0.009)).IsValid());
    const segment2d byAngle(point2d(1, 1), kPi);
    EXPECT_EQ(byAngle.EndPoint(), point2d(0, 1));
}

} // namespace
} // namespace qrxGe
