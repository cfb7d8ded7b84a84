// The polygon offsets of CTools over the kernel's offset engine, and the plan-only path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "EventLog.h"
#include "Tools.h"
#include "ToolsTestSupport.h"

namespace {

using namespace tools_test;

double PlanArea(const Ring& ring) { return std::fabs(SignedPlanArea(ring)); }

GeBoundBox3d Box(const Ring& ring)
{
    GeBoundBox3d box;
    CTools::GetBoundBox3d(ring, box);
    return box;
}

void ExpectBox(const Ring& ring, GePoint3d lo, GePoint3d hi, double tol)
{
    const GeBoundBox3d box = Box(ring);
    EXPECT_NEAR(box.MinPoint().x, lo.x, tol);
    EXPECT_NEAR(box.MinPoint().y, lo.y, tol);
    EXPECT_NEAR(box.MaxPoint().x, hi.x, tol);
    EXPECT_NEAR(box.MaxPoint().y, hi.y, tol);
}

// Counter-clockwise rings (y up).
const Ring kSquare = {{0, 0, 3}, {10, 0, 3}, {10, 10, 3}, {0, 10, 3}};
// An L-shaped building outline, 30 m by 20 m with a 12 m by 8 m notch.
const Ring kBuilding = {{0, 0, 0}, {30000, 0, 0}, {30000, 12000, 0}, {18000, 12000, 0}, {18000, 20000, 0},
                        {0, 20000, 0}};

struct Single {
    Ring out;
    int closed = -1;
};

Single OffsetRing(const Ring& pts, double d, int minVertices = 3)
{
    Single r;
    CTools::offset(pts, 1, d, r.out, r.closed, minVertices);
    return r;
}

Single OffsetLoops(const Ring& pts, double d, int minVertices = 3)
{
    Single r;
    CTools::offset0(pts, 1, d, r.out, r.closed, minVertices);
    return r;
}

TEST(ToolsOffset, ZeroDistanceHandsTheInputBack)
{
    Single r;
    r.out = {{7, 7, 7}};
    CTools::offset(kSquare, 0, 0.0, r.out, r.closed, 3);
    ASSERT_EQ(r.out.size(), 5u);  // appended
    EXPECT_EQ(r.out[1].x, 0.0);
    EXPECT_EQ(r.out[4].y, 10.0);
    EXPECT_EQ(r.closed, 0);
    r = {};
    CTools::offset0(kSquare, 1, -0.0, r.out, r.closed, 3);
    EXPECT_EQ(r.out.size(), 4u);
    EXPECT_EQ(r.closed, 1);

    std::vector<Ring> loops{{}, {}};
    std::vector<int> flags{5, 5};
    CTools::offset(kSquare, 1, 0.0, loops, flags);
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_EQ(loops[0].size(), 4u);
    EXPECT_EQ(flags, std::vector<int>{1});
}

// No result: the single-loop entries leave their outputs; the all-loops entry empties its
// outputs first, unless the input is empty.
TEST(ToolsOffset, NoResultCases)
{
    Ring circle;  // more points than the engine's record holds
    for (int i = 0; i < 5000; ++i) {
        const double a = -2 * M_PI * i / 5000;
        circle.emplace_back(1000 * std::cos(a), 1000 * std::sin(a), 0);
    }
    struct Case {
        Ring input;
        double distance;
        bool loopsCleared;
        const char* what;
    };
    const Case cases[] = {
        {{}, 5.0, false, "empty input"},
        {kSquare, -6.0, true, "shrunk away"},
        {circle, 10.0, true, "5000 points"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Single r;
        r.out = {{1, 2, 3}};
        r.closed = 9;
        CTools::offset(c.input, 1, c.distance, r.out, r.closed, 3);
        CTools::offset0(c.input, 1, c.distance, r.out, r.closed, 3);
        ExpectPointsNear(r.out, {{1, 2, 3}}, 0.0);
        EXPECT_EQ(r.closed, 9);
        std::vector<Ring> loops{{{1, 1, 1}}};
        std::vector<int> flags{4};
        CTools::offset(c.input, 1, c.distance, loops, flags);
        EXPECT_EQ(loops.empty(), c.loopsCleared);
        EXPECT_EQ(flags.empty(), c.loopsCleared);
    }
}

TEST(ToolsOffset, PositiveDistanceGrowsWhicheverWayTheRingRuns)
{
    for (const Ring& ring : {kSquare, Reversed(kSquare)}) {
        const Single grown = OffsetRing(ring, 1.0);
        ASSERT_EQ(grown.out.size(), 4u);
        EXPECT_EQ(grown.closed, 1);
        EXPECT_NEAR(PlanArea(grown.out), 144.0, 1e-3);
        ExpectBox(grown.out, {-1, -1, 0}, {11, 11, 0}, 1e-4);
        for (const GePoint3d& p : grown.out)
            EXPECT_NEAR(p.z, 3.0, 1e-6);
        const Single shrunk = OffsetRing(ring, -1.0);
        EXPECT_NEAR(PlanArea(shrunk.out), 64.0, 1e-3);
        ExpectBox(shrunk.out, {1, 1, 0}, {9, 9, 0}, 1e-4);
        // The all-loops entry agrees.
        const Single grown0 = OffsetLoops(ring, 1.0);
        EXPECT_NEAR(PlanArea(grown0.out), 144.0, 1e-3);
    }
}

TEST(ToolsOffset, BuildingOutlineGrowsByTheMiterFormula)
{
    // A rectilinear ring offset outward with mitred corners: A + P d + 4 d^2.
    const double d = 600.0;
    const double area = 30000.0 * 20000.0 - 12000.0 * 8000.0;
    const double perimeter = 2 * (30000.0 + 20000.0);
    for (const Ring& ring : {kBuilding, Reversed(kBuilding)}) {
        const Single grown = OffsetRing(ring, d);
        ASSERT_EQ(grown.out.size(), 6u);
        EXPECT_NEAR(PlanArea(grown.out), area + perimeter * d + 4 * d * d, 100.0);  // float coordinates
        ExpectBox(grown.out, {-d, -d, 0}, {30000 + d, 20000 + d, 0}, 1e-2);
        const Single shrunk = OffsetRing(ring, -d);
        EXPECT_NEAR(PlanArea(shrunk.out), area - perimeter * d + 4 * d * d, 100.0);
    }
}

TEST(ToolsOffset, FarFromTheOriginTheOffsetIsTheSameTranslated)
{
    const double ox = 5000000.0, oy = 5000000.0;
    for (const Ring& ring : {kBuilding, Reversed(kBuilding)}) {
        const Single near = OffsetRing(ring, 600.0);
        const Single far = OffsetRing(Moved(ring, ox, oy, 12000.0), 600.0);
        ExpectPointsNear(Moved(far.out, -ox, -oy, -12000.0), near.out, 1e-6);
        ExpectBox(far.out, {ox - 600, oy - 600, 0}, {ox + 30600, oy + 20600, 0}, 1e-2);
    }
}

// Two rooms joined by a corridor 2 wide: shrinking by 1.5 parts them. The large room is a
// square, the small one a U (more vertices).
const Ring kTwoRooms = {{0, 0, 0},  {20, 0, 0}, {20, 9, 0},  {30, 9, 0},  {30, 0, 0},   {40, 0, 0},
                        {40, 12, 0}, {36, 12, 0}, {36, 5, 0}, {34, 5, 0}, {34, 12, 0}, {30, 12, 0},
                        {30, 11, 0}, {20, 11, 0}, {20, 20, 0}, {0, 20, 0}};

TEST(ToolsOffset, LargestLoopIsKeptAndShortLoopsSkipped)
{
    std::vector<Ring> loops;
    std::vector<int> flags;
    CTools::offset(kTwoRooms, 1, -1.5, loops, flags);
    ASSERT_EQ(loops.size(), 2u);
    EXPECT_EQ(flags, (std::vector<int>{1, 1}));
    const auto square = std::find_if(loops.begin(), loops.end(), [](const Ring& l) { return l.size() == 4; });
    const auto u = std::find_if(loops.begin(), loops.end(), [](const Ring& l) { return l.size() == 8; });
    ASSERT_NE(square, loops.end());
    ASSERT_NE(u, loops.end());
    EXPECT_NEAR(PlanArea(*square), 17.0 * 17.0, 1e-3);
    EXPECT_NEAR(PlanArea(*u), 7.0 * 9.0 - 5.0 * 7.0, 1e-3);

    // The larger room wins.
    const Single largest = OffsetLoops(kTwoRooms, -1.5);
    ASSERT_EQ(largest.out.size(), 4u);
    EXPECT_EQ(largest.closed, 1);
    EXPECT_TRUE(CTools::IsPtArraySame(largest.out, *square, 1, 1e-9));
    // With seven engine vertices asked for, the square (six before clean-up) is skipped and
    // the U comes back whole, read from its own first vertex.
    const Single uOnly = OffsetLoops(kTwoRooms, -1.5, 7);
    ASSERT_EQ(uOnly.out.size(), 8u);
    EXPECT_TRUE(CTools::IsPtArraySame(uOnly.out, *u, 1, 1e-9));
    ExpectBox(uOnly.out, {31.5, 1.5, 0}, {38.5, 10.5, 0}, 1e-4);
    // Nothing that large: the outputs stay as they were.
    const Single none = OffsetLoops(kTwoRooms, -1.5, 40);
    EXPECT_TRUE(none.out.empty());
    EXPECT_EQ(none.closed, -1);
}

TEST(ToolsOffset, RingLevelWithinTheHeightToleranceGrowsLikeALevelOne)
{
    // Heights that differ by a hair, near the ground and at a roof's height.
    for (const double h : {0.0, 2900.0}) {
        Ring ring = Moved(kBuilding, 0, 0, h);
        ring[2].z += 1e-9;
        ring[4].z -= 0.0005;
        for (const Ring& r : {ring, Reversed(ring)}) {
            const Single grown = OffsetRing(r, 600.0);
            ASSERT_EQ(grown.out.size(), 6u);
            ExpectBox(grown.out, {-600, -600, 0}, {30600, 20600, 0}, 1e-2);
            for (const GePoint3d& p : grown.out)
                EXPECT_NEAR(p.z, r[0].z, 1e-9);
        }
    }
}

TEST(ToolsOffset, TiltedRingStaysInItsPlane)
{
    // The square turned 30 degrees about the x axis: z rises with y.
    Ring tilted;
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    for (const GePoint3d& p : kSquare)
        tilted.emplace_back(p.x, p.y * c, p.y * s + 100.0);
    const Single r = OffsetRing(tilted, 1.0);
    ASSERT_EQ(r.out.size(), 4u);
    for (const GePoint3d& p : r.out)
        EXPECT_NEAR(p.z - 100.0, p.y / c * s, 1e-3);
    // The offset square measured in its plane: side 8 or 12.
    const double side = r.out[0].DistanceTo(r.out[1]);
    EXPECT_TRUE(std::fabs(side - 8.0) < 1e-3 || std::fabs(side - 12.0) < 1e-3) << side;
}

TEST(ToolsOffset, OpenPolylineThroughTheRingEntry)
{
    const Ring line = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    Single r;
    CTools::offset(line, 0, 1.0, r.out, r.closed, 2);
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.closed, 0);
}

// ---- Plan path ------------------------------------------------------------------------------

class ToolsOffset2d : public ::testing::Test {
protected:
    void SetUp() override { host::EventLog::Instance().Clear(); }
    static std::size_t Reports() { return host::EventLog::Instance().Calls("msg_box").size(); }
};

TEST_F(ToolsOffset2d, NoRunIsOffset)
{
    std::vector<qrxGe::point2d> out{{9, 9}};
    EXPECT_EQ(CTools::Offset2d({{0, 0}, {10, 0}, {10, 10}}, 1, 5.0, out), 0);
    EXPECT_EQ(Reports(), 0u);
    // A segment is refused after the report, the output untouched.
    EXPECT_EQ(CTools::Offset2d({{0, 0}, {10, 0}}, 0, 5.0, out), 0);
    EXPECT_EQ(Reports(), 1u);
    EXPECT_TRUE(host::EventLog::Instance().Shown("0 && \"VC8\""));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].x, 9.0);
}

TEST_F(ToolsOffset2d, HorizontalPathGivesOnlyTheCleanedCopyAtDistanceZero)
{
    const Ring withMid = {{0, 0, 1}, {5, 0, 1}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}};
    Ring out = {{4, 4, 4}};
    CTools::OffsetHorizontal3d(withMid, 1, 0.0, out);
    ASSERT_EQ(out.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(out[i].x, kSquare[i].x);
        EXPECT_EQ(out[i].y, kSquare[i].y);
        EXPECT_EQ(out[i].z, 1.0);
    }
    CTools::OffsetHorizontal3d(withMid, 1, 2.0, out);
    EXPECT_TRUE(out.empty());
    out = {{4, 4, 4}};
    CTools::OffsetHorizontal3d({{0, 0, 0}, {10, 0, 0}}, 0, 2.0, out);
    EXPECT_TRUE(out.empty());
    // Nothing left after clean-up: the output is not touched.
    out = {{4, 4, 4}};
    CTools::OffsetHorizontal3d({}, 1, 2.0, out);
    EXPECT_EQ(out.size(), 1u);
}

}  // namespace
