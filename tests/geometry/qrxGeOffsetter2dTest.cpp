#include "qrxGeOffsetter2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace qrxGe {
namespace {

using Points = std::vector<point2d>;

const Points kSquareCcw = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

void ExpectPoints(const Points& actual, const Points& expected, double tol = 1e-6)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, tol) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, tol) << "point " << i;
    }
}

// Runs one offset; the points on success, and the run's answer.
struct Outcome {
    bool ok;
    Points points;
};

Outcome Offset(const Points& points, bool closed, double distance)
{
    offsetter2d offsetter(points, closed, distance);
    const bool ok = offsetter.Run();
    EXPECT_EQ(ok, offsetter.Succeeded());
    return {ok, offsetter.Result()};
}

TEST(QrxGeOffsetter2d, ZeroDistanceKeepsTheFigure)
{
    Outcome ring = Offset(kSquareCcw, true, 0.0);
    ASSERT_TRUE(ring.ok);
    ExpectPoints(ring.points, kSquareCcw, 0.0);

    const Points path = {{0, 0}, {10, 0}, {10, 10}};
    Outcome open = Offset(path, false, 0.0);
    ASSERT_TRUE(open.ok);
    ExpectPoints(open.points, path, 0.0);
}

TEST(QrxGeOffsetter2d, ZeroDistanceDropsAVertexThatCoincidesWithItsNext)
{
    Outcome r = Offset({{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}, true, 0.0);
    ASSERT_TRUE(r.ok);
    ExpectPoints(r.points, kSquareCcw, 0.0);
}

TEST(QrxGeOffsetter2d, PositiveDistanceMovesACounterClockwiseSquareOutward)
{
    Outcome r = Offset(kSquareCcw, true, 2.0);
    ASSERT_TRUE(r.ok);
    ExpectPoints(r.points, {{-2, -2}, {12, -2}, {12, 12}, {-2, 12}});
}

TEST(QrxGeOffsetter2d, NegativeDistanceMovesItInward)
{
    Outcome r = Offset(kSquareCcw, true, -2.0);
    ASSERT_TRUE(r.ok);
    ExpectPoints(r.points, {{2, 2}, {8, 2}, {8, 8}, {2, 8}});
}

TEST(QrxGeOffsetter2d, PositiveDistanceMovesAClockwiseSquareInward)
{
    Outcome r = Offset({{0, 0}, {0, 10}, {10, 10}, {10, 0}}, true, 2.0);
    ASSERT_TRUE(r.ok);
    ExpectPoints(r.points, {{2, 2}, {2, 8}, {8, 8}, {8, 2}});
}

TEST(QrxGeOffsetter2d, SquareVanishesAtItsCentre)
{
    // Every corner reaches the centre at offset 5: past it nothing remains.
    EXPECT_FALSE(Offset(kSquareCcw, true, -6.0).ok);
    // Events within 0.01 of the final offset fall: 4.995 is as good as 5.
    EXPECT_FALSE(Offset(kSquareCcw, true, -4.995).ok);
    Outcome justShort = Offset(kSquareCcw, true, -4.98);
    ASSERT_TRUE(justShort.ok);
    ExpectPoints(justShort.points, {{4.98, 4.98}, {5.02, 4.98}, {5.02, 5.02}, {4.98, 5.02}});
}

TEST(QrxGeOffsetter2d, OpenPolylineMovesToTheRightOfTravel)
{
    Outcome right = Offset({{0, 0}, {10, 0}}, false, 3.0);
    ASSERT_TRUE(right.ok);
    ExpectPoints(right.points, {{0, -3}, {10, -3}});

    Outcome left = Offset({{0, 0}, {10, 0}}, false, -3.0);
    ASSERT_TRUE(left.ok);
    ExpectPoints(left.points, {{0, 3}, {10, 3}});
}

TEST(QrxGeOffsetter2d, OpenPolylineCornerMovesAlongItsBisector)
{
    // East, then north: the right side is the outside of the turn.
    Outcome outside = Offset({{0, 0}, {10, 0}, {10, 10}}, false, 2.0);
    ASSERT_TRUE(outside.ok);
    ExpectPoints(outside.points, {{0, -2}, {12, -2}, {12, 10}});

    Outcome inside = Offset({{0, 0}, {10, 0}, {10, 10}}, false, -2.0);
    ASSERT_TRUE(inside.ok);
    ExpectPoints(inside.points, {{0, 2}, {8, 2}, {8, 10}});
}

TEST(QrxGeOffsetter2d, ShortEdgeVanishesAndTheOffsetGoesOn)
{
    // The chamfer (1,10)-(0,9) shrinks to nothing at offset about 1.707; its start vertex is
    // dropped and the remaining corner turns square, so at offset 3 the figure is the
    // rectangle of the other four sides moved in by 3.
    const Points chamfered = {{0, 0}, {20, 0}, {20, 10}, {1, 10}, {0, 9}};
    Outcome r = Offset(chamfered, true, -3.0);
    ASSERT_TRUE(r.ok);
    ExpectPoints(r.points, {{3, 3}, {17, 3}, {17, 7}, {3, 7}});
    // Before the chamfer goes, all five corners remain.
    Outcome early = Offset(chamfered, true, -1.0);
    ASSERT_TRUE(early.ok);
    EXPECT_EQ(early.points.size(), 5u);
}

TEST(QrxGeOffsetter2d, RectangleCollapsesToItsSpineThenVanishes)
{
    const Points rectangle = {{0, 0}, {20, 0}, {20, 10}, {0, 10}};
    // Within 0.01 of half its width the two short sides are gone and the spine is left.
    Outcome spine = Offset(rectangle, true, -4.995);
    ASSERT_TRUE(spine.ok);
    ExpectPoints(spine.points, {{4.995, 4.995}, {15.005, 5.005}});
    // Past it the two-point "ring" turns straight back on itself: no offset, and no points
    // sent off to infinity reported as a result.
    Outcome past = Offset(rectangle, true, -6.0);
    EXPECT_FALSE(past.ok);
}

TEST(QrxGeOffsetter2d, DegenerateInputFailsWithoutHanging)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(Offset({}, true, 1.0).ok);
    EXPECT_FALSE(Offset({{1, 1}}, true, 0.0).ok);
    EXPECT_FALSE(Offset({{1, 1}}, false, 1.0).ok);
    EXPECT_FALSE(Offset({{0, 0}, {nan, 0}, {10, 10}}, true, 1.0).ok);
    EXPECT_FALSE(Offset({{0, 0}, {inf, 0}, {10, 10}}, true, 1.0).ok);
    EXPECT_FALSE(Offset(kSquareCcw, true, nan).ok);
    EXPECT_FALSE(Offset(kSquareCcw, true, inf).ok);
    EXPECT_FALSE(Offset(kSquareCcw, true, -inf).ok);
    // Two points as a ring have no inside: a non-zero offset fails, a zero one keeps them.
    EXPECT_FALSE(Offset({{0, 0}, {10, 0}}, true, 1.0).ok);
    Outcome still = Offset({{0, 0}, {10, 0}}, true, 0.0);
    ASSERT_TRUE(still.ok);
    ExpectPoints(still.points, {{0, 0}, {10, 0}}, 0.0);
    // A polyline whose two points coincide has no direction to move in.
    EXPECT_FALSE(Offset({{3, 3}, {3, 3}}, false, 1.0).ok);
}

TEST(QrxGeOffsetter2d, NewVertexRecordHasNoEvent)
{
    const offsetvertex2d v;
    EXPECT_FALSE(v.hasEvent);
    EXPECT_TRUE(v.dirty);
    EXPECT_EQ(v.eventDistance, 3.4028234663852886e38);
    EXPECT_EQ(v.eventDistance, static_cast<double>(std::numeric_limits<float>::max()));
}

} // namespace
} // namespace qrxGe
