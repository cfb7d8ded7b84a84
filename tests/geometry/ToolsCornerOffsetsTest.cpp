// The corner offsets of CTools: vertex-by-vertex parallel offsets of polylines and rings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Tools.h"
#include "ToolsTestSupport.h"

namespace {

using namespace tools_test;

Ring Offset(const Ring& pts, double d, int side, int closed)
{
    Ring out = {{99, 99, 99}};
    CTools().GetLROffSetPtList(d, pts, out, side, closed);
    return out;
}

// A clockwise square of side 10 with a different height at every corner.
const Ring kSquareCw = {{0, 0, 1}, {0, 10, 2}, {10, 10, 3}, {10, 0, 4}};

TEST(ToolsCornerOffsets, ClockwiseSquareGrowsToTheLeft)
{
    ExpectRing(Offset(kSquareCw, 1, 1, 1), {{-1, -1, 1}, {-1, 11, 2}, {11, 11, 3}, {11, -1, 4}}, 1e-9);
    // Offsetting to the right shrinks it.
    ExpectRing(Offset(kSquareCw, 1, 0, 1), {{1, 1, 1}, {1, 9, 2}, {9, 9, 3}, {9, 1, 4}}, 1e-9);
}

TEST(ToolsCornerOffsets, CounterClockwiseSquareShrinksToTheLeft)
{
    Ring ccw = kSquareCw;
    std::reverse(ccw.begin(), ccw.end());
    ExpectRing(Offset(ccw, 1, 1, 1), {{9, 1, 4}, {9, 9, 3}, {1, 9, 2}, {1, 1, 1}}, 1e-9);
}

TEST(ToolsCornerOffsets, OpenPolylines)
{
    // The directions are float azimuths: a moved end is off by up to d times 1e-7.
    // Three collinear points: every point moves square to the line, at its own height.
    ExpectRing(Offset({{0, 0, 5}, {10, 0, 6}, {20, 0, 7}}, 2, 1, 0), {{0, 2, 5}, {10, 2, 6}, {20, 2, 7}}, 1e-6);
    // Two points: the segment moved square to itself, to the right.
    ExpectRing(Offset({{0, 0, 5}, {0, 10, 6}}, 2, 0, 0), {{2, 0, 5}, {2, 10, 6}}, 1e-6);
    // An open corner: the ends square to their edges, the corner where the lines meet.
    ExpectRing(Offset({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 1, 1, 0), {{0, 1, 0}, {9, 1, 0}, {9, 10, 0}}, 1e-6);
}

TEST(ToolsCornerOffsets, OpenListWithCoincidentEndsIsARing)
{
    Ring closedByHand = kSquareCw;
    closedByHand.push_back(kSquareCw.front());
    const Ring out = Offset(closedByHand, 1, 1, 0);
    ExpectRing(out, {{-1, -1, 1}, {-1, 11, 2}, {11, 11, 3}, {11, -1, 4}, {-1, -1, 1}}, 1e-9);
}

TEST(ToolsCornerOffsets, TooFewPoints)
{
    EXPECT_TRUE(Offset({}, 1, 1, 1).empty());
    EXPECT_TRUE(Offset({}, 1, 1, 0).empty());
    // A single point has no edge: it comes back as it is.
    ExpectRing(Offset({{3, 4, 5}}, 1, 1, 1), {{3, 4, 5}}, 0);
    ExpectRing(Offset({{3, 4, 5}}, 1, 1, 0), {{3, 4, 5}}, 0);
}

TEST(ToolsCornerOffsets, NearlyAxisParallelEdgesCountAsAxisParallel)
{
    // The bottom edge rises by 0.05 over 10: within baaf's snap, so its direction is taken as
    // level and the edge is moved straight down by d (not square to itself).
    const Ring ring = {{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0.05, 0}};
    const Ring out = Offset(ring, 1, 1, 1);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_NEAR(out[0].x, -1.0, 1e-9);
    EXPECT_NEAR(out[0].y, -1.005, 1e-9);
    EXPECT_NEAR(out[3].x, 11.0, 1e-9);
    EXPECT_NEAR(out[3].y, -0.945, 1e-9);
}

TEST(ToolsCornerOffsets, ASpikeCornerStaysAtItsEdgeNotAtTheOrigin)
{
    // A clockwise ring with a zero-width fin (10,5)-(15,5)-(10,5) on its right side. The fin's
    // tip gets the end of its moved incoming edge; every point keeps its own height and there
    // is one point per input point.
    const Ring ring = {{0, 0, 1}, {0, 10, 2}, {10, 10, 3}, {10, 5, 4}, {15, 5, 5}, {10, 5, 6}, {10, 0, 7}};
    ExpectRing(Offset(ring, 1, 1, 1),
                 {{-1, -1, 1}, {-1, 11, 2}, {11, 11, 3}, {11, 6, 4}, {15, 6, 5}, {11, 4, 6}, {11, -1, 7}}, 1e-6);
    // An open line that turns back on itself.
    ExpectRing(Offset({{0, 0, 0}, {10, 0, 0}, {3, 0, 0}}, 1, 0, 0), {{0, -1, 0}, {10, -1, 0}, {3, 1, 0}}, 1e-6);
}

TEST(ToolsCornerOffsets, RegularPolygonEdgesStayParallelAtTheDistance)
{
    for (const int n : {3, 5, 6, 9}) {
        Ring ring;
        for (int i = 0; i < n; ++i) {
            const double a = -2 * M_PI * i / n + 0.3;  // clockwise
            ring.emplace_back(1000 * std::cos(a), 1000 * std::sin(a), 0);
        }
        const double d = 50.0;
        const Ring out = Offset(ring, d, 1, 1);
        ASSERT_EQ(out.size(), ring.size());
        for (int i = 0; i < n; ++i) {
            const GePoint3d& a = ring[i];
            const GePoint3d& b = ring[(i + 1) % n];
            const GeVector3d dir = (b - a).Normal();
            const GeVector3d outward(-dir.y, dir.x, 0);  // left of travel
            for (const GePoint3d& p : {out[i], out[(i + 1) % n]}) {
                EXPECT_NEAR((p - a).DotProduct(outward), d, 1e-3) << "n " << n << " edge " << i;
            }
        }
    }
}

TEST(ToolsCornerOffsets, FarFromTheOriginTheOffsetIsTheSameTranslated)
{
    const double o = 5000000.0;
    const Ring ring = {{0, 0, 0}, {300, 7000, 0}, {12000, 9000, 0}, {11000, -400, 0}};
    Ring far = ring;
    for (GePoint3d& p : far)
        p += GeVector3d(o, o, 0);
    const Ring a = Offset(ring, 240, 1, 1);
    const Ring b = Offset(far, 240, 1, 1);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_NEAR(b[i].x - o, a[i].x, 1e-4);
        EXPECT_NEAR(b[i].y - o, a[i].y, 1e-4);
    }
}

TEST(ToolsCornerOffsets, SingleCorner)
{
    CTools tools;
    GePoint3d out;
    // A real corner lies at z 0.
    tools.GetLROffSetPt(1, {10, 0, 5}, {0, 0, 5}, {10, 10, 5}, out, {}, 0);
    EXPECT_NEAR(out.x, 11, 1e-9);
    EXPECT_NEAR(out.y, -1, 1e-9);
    EXPECT_EQ(out.z, 0.0);
    // Straight on: the moved corner at its own height.
    tools.GetLROffSetPt(1, {10, 0, 5}, {0, 0, 5}, {20, 0, 5}, out, {}, 1);
    EXPECT_NEAR(out.x, 10, 1e-9);
    EXPECT_NEAR(out.y, 1, 1e-9);
    EXPECT_EQ(out.z, 5.0);
    // Straight on across the +x direction (just below a full turn, then just above zero).
    tools.GetLROffSetPt(1, {0, 0, 7}, {-1000, 0.2, 7}, {1000, 0.2, 7}, out, {}, 1);
    EXPECT_EQ(out.z, 7.0);
    EXPECT_NEAR(out.y, 1.0, 1e-3);
    // Turning back: the end of the moved incoming edge, not the origin.
    tools.GetLROffSetPt(1, {10, 0, 5}, {0, 0, 5}, {3, 0, 5}, out, {}, 1);
    EXPECT_NEAR(out.x, 10, 1e-9);
    EXPECT_NEAR(out.y, 1, 1e-9);
}

TEST(ToolsCornerOffsets, HelpersOfTheCorners)
{
    CTools tools;
    const GePoint3d meet = tools.interSect2d({0, 0, 4}, {1, 1, 4}, {10, 0, 9}, {9, 1, 9});
    EXPECT_NEAR(meet.x, 5, 1e-9);
    EXPECT_NEAR(meet.y, 5, 1e-9);
    EXPECT_EQ(meet.z, 0.0);
    // Parallel lines have no meeting point: the origin.
    const GePoint3d none = tools.interSect2d({0, 0, 4}, {1, 1, 4}, {0, 5, 0}, {1, 6, 0});
    EXPECT_EQ(none.x, 0.0);
    EXPECT_EQ(none.y, 0.0);
    GePoint3d p;
    CTools::CfgPolar({1, 2, 3}, M_PI / 2, 5, p);
    EXPECT_NEAR(p.x, 1, 1e-12);
    EXPECT_NEAR(p.y, 7, 1e-12);
    EXPECT_EQ(p.z, 3.0);
    EXPECT_NEAR(CTools::angle({0, 0, 0}, {-5, 0, 9}), 3.1415925f, 0);
    EXPECT_NEAR(CTools::angle({0, 0, 0}, {5, 5, 0}), M_PI / 4, 1e-6);
}

}  // namespace
