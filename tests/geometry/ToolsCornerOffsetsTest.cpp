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

// The directions are float azimuths: a moved end of an open run is off by up to d times
// 1e-7, hence the looser tolerance there.
TEST(ToolsCornerOffsets, TableOfLists)
{
    Ring closedByHand = kSquareCw;
    closedByHand.push_back(kSquareCw.front());
    // A clockwise ring with a zero-width fin (10,5)-(15,5)-(10,5) on its right side.
    const Ring finned = {{0, 0, 1}, {0, 10, 2}, {10, 10, 3}, {10, 5, 4}, {15, 5, 5}, {10, 5, 6}, {10, 0, 7}};
    struct Case {
        Ring input;
        double d;
        int side, closed;
        Ring expected;
        double tol;
        const char* what;
    };
    const Case cases[] = {
        {kSquareCw, 1, 1, 1, {{-1, -1, 1}, {-1, 11, 2}, {11, 11, 3}, {11, -1, 4}}, 1e-9, "clockwise, left: grows"},
        {kSquareCw, 1, 0, 1, {{1, 1, 1}, {1, 9, 2}, {9, 9, 3}, {9, 1, 4}}, 1e-9, "clockwise, right: shrinks"},
        {Reversed(kSquareCw), 1, 1, 1, {{9, 1, 4}, {9, 9, 3}, {1, 9, 2}, {1, 1, 1}}, 1e-9, "counter-clockwise, left"},
        {closedByHand, 1, 1, 0, {{-1, -1, 1}, {-1, 11, 2}, {11, 11, 3}, {11, -1, 4}, {-1, -1, 1}}, 1e-9,
         "an open list with coincident ends is a ring"},
        {{{0, 0, 5}, {10, 0, 6}, {20, 0, 7}}, 2, 1, 0, {{0, 2, 5}, {10, 2, 6}, {20, 2, 7}}, 1e-6,
         "collinear run: square to the line, own heights"},
        {{{0, 0, 5}, {0, 10, 6}}, 2, 0, 0, {{2, 0, 5}, {2, 10, 6}}, 1e-6, "two points: one moved segment"},
        {{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 1, 1, 0, {{0, 1, 0}, {9, 1, 0}, {9, 10, 0}}, 1e-6,
         "open corner: ends square, corner where the lines meet"},
        {{}, 1, 1, 1, {}, 0, "no points (ring)"},
        {{}, 1, 1, 0, {}, 0, "no points (run)"},
        {{{3, 4, 5}}, 1, 1, 1, {{3, 4, 5}}, 0, "one point is returned as it is (ring)"},
        {{{3, 4, 5}}, 1, 1, 0, {{3, 4, 5}}, 0, "one point is returned as it is (run)"},
        // The fin's tip gets the end of its moved incoming edge, not the origin.
        {finned, 1, 1, 1, {{-1, -1, 1}, {-1, 11, 2}, {11, 11, 3}, {11, 6, 4}, {15, 6, 5}, {11, 4, 6}, {11, -1, 7}},
         1e-6, "zero-width spike on a ring"},
        {{{0, 0, 0}, {10, 0, 0}, {3, 0, 0}}, 1, 0, 0, {{0, -1, 0}, {10, -1, 0}, {3, 1, 0}}, 1e-6,
         "a run turning back on itself"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectPointsNear(Offset(c.input, c.d, c.side, c.closed), c.expected, c.tol);
    }
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
    ExpectPointsNear(Moved(Offset(Moved(ring, o, o), 240, 1, 1), -o, -o), Offset(ring, 240, 1, 1), 1e-4);
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
