// Outline clean-up: crowded and collinear points, regularising, signed area, corner offsets,
// perpendicular feet and sampling along an outline.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "EventLog.h"
#include "ModuleTest.h"
#include "OutlineCleanup.h"

using ::testing::HasSubstr;

namespace {

using Ring = std::vector<GePoint3d>;

// When set, the boundary routine below hands back this count instead of the library's.
int g_forcedBoundaryCount = -1;

bool AllFinite(const Ring& ring)
{
    for (const GePoint3d& p : ring)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return false;
    return true;
}

const Ring kSquareCcw = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
const Ring kSquareCw = {{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0}};

}  // namespace

// The closed library's second boundary routine as the module calls it: the library's own,
// unless a test makes it report a count larger than the ring it was given.
extern "C" int geojiandianzhenglimianbianjiezcx(double tol, double* x, double* y, double* z, int* n)
{
    using Routine = int (*)(double, double*, double*, double*, int*);
    static const auto library = reinterpret_cast<Routine>(dlsym(RTLD_NEXT, "geojiandianzhenglimianbianjiezcx"));
    const int result = library(tol, x, y, z, n);
    if (g_forcedBoundaryCount >= 0)
        *n = g_forcedBoundaryCount;
    return result;
}

namespace {

TEST(OutlineCleanupTest, CrowdedPointsAreMeasuredAgainstTheLastPointKept)
{
    Ring pts = {{0, 0, 0}, {6, 0, 0}, {12, 0, 0}, {30, 0, 0}};
    EXPECT_NE(RemoveOverlapPts(pts), 0);
    ExpectPointsNear(pts, {{0, 0, 0}, {12, 0, 0}, {30, 0, 0}});

    // The bound is strict on each axis, and z plays no part.
    Ring apart = {{0, 0, 0}, {10, 0, 0}, {10, 9.9, 500}};
    RemoveOverlapPts(apart);
    ExpectPointsNear(apart, {{0, 0, 0}, {10, 0, 0}});
    EXPECT_TRUE(IsOverlapPt({0, 0, 0}, {9.99, -9.99, 1000}));
    EXPECT_FALSE(IsOverlapPt({0, 0, 0}, {0, 10, 0}));

    // The last point is not compared with the first.
    Ring ring = {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {5, 5, 0}};
    RemoveOverlapPts(ring);
    EXPECT_EQ(ring.size(), 4u);

    Ring empty;
    EXPECT_NE(RemoveOverlapPts(empty), 0);
    EXPECT_TRUE(empty.empty());
}

TEST(OutlineCleanupTest, SignedAreaIsTwiceTheAreaPositiveCounterClockwise)
{
    const Ring unit = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    EXPECT_DOUBLE_EQ(GetPtsSignedArea(unit), 2.0);
    const Ring clockwise(unit.rbegin(), unit.rend());
    EXPECT_DOUBLE_EQ(GetPtsSignedArea(clockwise), -2.0);
    Ring closed = unit;
    closed.push_back(unit.front());
    EXPECT_DOUBLE_EQ(GetPtsSignedArea(closed), 2.0);
    Ring closedCw = clockwise;
    closedCw.push_back(clockwise.front());
    EXPECT_DOUBLE_EQ(GetPtsSignedArea(closedCw), -2.0);

    // z plays no part; a single point, a point closing on itself and nothing give 0.
    EXPECT_DOUBLE_EQ(GetPtsSignedArea({{0, 0, 5}, {1, 0, -3}, {1, 1, 9}, {0, 1, 0}}), 2.0);
    EXPECT_DOUBLE_EQ(GetPtsSignedArea({{3, 4, 0}}), 0.0);
    EXPECT_DOUBLE_EQ(GetPtsSignedArea({{3, 4, 0}, {3, 4, 0}}), 0.0);
    EXPECT_DOUBLE_EQ(GetPtsSignedArea({}), 0.0);
}

TEST(OutlineCleanupTest, PositiveOffsetMovesEveryEdgeInwardsWhateverTheOrientation)
{
    Ring ccw = kSquareCcw;
    OffsetBorderPts(ccw, 1.0);
    ExpectPointsNear(ccw, {{1, 1, 0}, {9, 1, 0}, {9, 9, 0}, {1, 9, 0}});

    Ring cw = kSquareCw;
    OffsetBorderPts(cw, 1.0);
    ExpectPointsNear(cw, {{1, 1, 0}, {1, 9, 0}, {9, 9, 0}, {9, 1, 0}});

    Ring grown = kSquareCcw;
    OffsetBorderPts(grown, -2.0);
    ExpectPointsNear(grown, {{-2, -2, 0}, {12, -2, 0}, {12, 12, 0}, {-2, 12, 0}});

    // An L: the reflex corner (10,10) goes to the corner of the moved edges, (9,9).
    Ring l = {{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, 0}, {10, 20, 0}, {0, 20, 0}};
    OffsetBorderPts(l, 1.0);
    ExpectPointsNear(l, {{1, 1, 0}, {19, 1, 0}, {19, 9, 0}, {9, 9, 0}, {9, 19, 0}, {1, 19, 0}});
}

TEST(OutlineCleanupTest, OffsetMovesAStraightVertexAcrossItsEdgeAndLeavesASpike)
{
    // (5,0) lies on the bottom edge: it moves with the edge, by d across it.
    Ring straight = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    OffsetBorderPts(straight, 1.0);
    ExpectPointsNear(straight, {{1, 1, 0}, {5, 1, 0}, {9, 1, 0}, {9, 9, 0}, {1, 9, 0}});

    // The ring runs out to (-5,10) and turns back on itself: that vertex has no corner and
    // stays; (0,10), where the ring goes straight on, moves down with its edge.
    Ring spike = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {-5, 10, 0}, {-2, 10, 0}};
    OffsetBorderPts(spike, 1.0);
    EXPECT_TRUE(AllFinite(spike));
    ExpectPointsNear({spike[3], spike[4]}, {{0, 9, 0}, {-5, 10, 0}});

    // A repeated vertex has no corner either.
    Ring repeated = {{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    OffsetBorderPts(repeated, 1.0);
    EXPECT_TRUE(AllFinite(repeated));
    ExpectPointsNear({repeated[0], repeated[3], repeated[4]}, {{1, 1, 0}, {9, 9, 0}, {1, 9, 0}});
}

TEST(OutlineCleanupTest, OffsetLeavesRingsWithoutANormalAlone)
{
    Ring two = {{0, 0, 0}, {10, 0, 0}};
    OffsetBorderPts(two, 1.0);
    ExpectPointsNear(two, {{0, 0, 0}, {10, 0, 0}});
    Ring line = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}};
    OffsetBorderPts(line, 1.0);
    ExpectPointsNear(line, {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}});
}

TEST(OutlineCleanupTest, CollinearVerticesGoAndTheRingStartsOneLater)
{
    Ring ring = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    RemoveCollinearPts(ring);
    ExpectPointsNear(ring, {{10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}});

    Ring square = kSquareCcw;
    RemoveCollinearPts(square);
    ExpectPointsNear(square, {{10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}});

    // Within 0.001 of the neighbours' segment counts as on it.
    Ring nearly = {{0, 0, 0}, {5, 0.0009, 0}, {10, 0, 0}, {10, 10, 0}};
    RemoveCollinearPts(nearly);
    EXPECT_EQ(nearly.size(), 3u);

    Ring two = {{0, 0, 0}, {1, 0, 0}};
    RemoveCollinearPts(two);
    EXPECT_EQ(two.size(), 2u);
}

TEST(OutlineCleanupTest, RegularisingDropsPointsAndKeepsSmallRings)
{
    // Three points stay, even a repeated one.
    Ring three = {{0, 0, 1}, {0, 0, 2}, {10, 0, 3}};
    ValidateBorderPts(three);
    ExpectPointsNear(three, {{0, 0, 1}, {0, 0, 2}, {10, 0, 3}});

    // A point in the middle of an edge and a repeated point go; the z of each remaining
    // place stays as it was.
    Ring ring = {{0, 0, 7}, {5, 0, 7}, {10, 0, 7}, {10, 0, 7}, {10, 10, 7}, {0, 10, 7}};
    ValidateBorderPts(ring);
    ExpectPointsNear(ring, {{0, 0, 7}, {10, 0, 7}, {10, 10, 7}, {0, 10, 7}});

    // A corner 0.9 off a wall of 20 m goes; a corner rounded at R 20 in chords of 5, which the
    // library would wear down to three chords turning 26° and more, stays whole.
    Ring kinked = {{0, 0, 0}, {8000, 0.9, 0}, {20000, 0, 0}, {20000, 10000, 0}, {0, 10000, 0}};
    ValidateBorderPts(kinked);
    ExpectPointsNear(kinked, {{0, 0, 0}, {20000, 0, 0}, {20000, 10000, 0}, {0, 10000, 0}});
    Ring rounded = {{0, 0, 0}, {19980, 0, 0}};
    for (const double a : {1, 2, 3, 4, 5, 6, 7}) {
        const double turned = a * std::numbers::pi / 14;
        rounded.emplace_back(19980 + 20 * std::sin(turned), 20 - 20 * std::cos(turned), 0);
    }
    rounded.insert(rounded.end(), {{20000, 10000, 0}, {0, 10000, 0}});
    const Ring drawn = rounded;
    ValidateBorderPts(rounded);
    ExpectPointsNear(rounded, drawn);
}

TEST(OutlineCleanupTest, RegularisingNeverReadsPastTheRingWhateverCountComesBack)
{
    Ring ring = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {-5, 5, 0}};
    g_forcedBoundaryCount = 1000;
    ValidateBorderPts(ring);
    g_forcedBoundaryCount = -1;
    EXPECT_EQ(ring.size(), 5u);
    EXPECT_TRUE(AllFinite(ring));
}

TEST(OutlineCleanupTest, RangeTestTakesEitherAxisAndExactEnds)
{
    // Strictly between the ends in x, though far away in y: in range.
    EXPECT_EQ(IsPointInSegmentRange(0, 0, 10, 0, {5, 100}), 1);
    EXPECT_EQ(IsPointInSegmentRange(0, 0, 0, 10, {100, 5}), 1);
    EXPECT_EQ(IsPointInSegmentRange(0, 0, 10, 10, {10, 10}), 1);
    EXPECT_EQ(IsPointInSegmentRange(0, 0, 10, 10, {0, 10}), 1);
    // An end's x but outside in y, or outside in both: out of range.
    EXPECT_EQ(IsPointInSegmentRange(0, 0, 10, 0, {10, 5}), 0);
    EXPECT_EQ(IsPointInSegmentRange(0, 0, 10, 10, {11, 12}), 0);
}

TEST(OutlineCleanupTest, PerpendicularFeetOnVerticalHorizontalPointLikeAndSlopedSegments)
{
    double fx = -1, fy = -1, dist = -1;
    int flag = -1;
    ProjectPointToSegment2d(3, 0, 3.0005, 10, 7, 4, 0.001, fx, fy, dist, flag);
    EXPECT_DOUBLE_EQ(fx, 3);
    EXPECT_DOUBLE_EQ(fy, 4);
    EXPECT_DOUBLE_EQ(dist, 4);
    EXPECT_EQ(flag, 1);

    ProjectPointToSegment2d(0, 2, 10, 2, 15, -1, 0.001, fx, fy, dist, flag);
    EXPECT_DOUBLE_EQ(fx, 15);
    EXPECT_DOUBLE_EQ(fy, 2);
    EXPECT_DOUBLE_EQ(dist, 3);
    EXPECT_EQ(flag, 0);

    ProjectPointToSegment2d(1, 1, 1.0001, 1.0001, 4, 5, 0.001, fx, fy, dist, flag);
    EXPECT_DOUBLE_EQ(fx, 1);
    EXPECT_DOUBLE_EQ(fy, 1);
    EXPECT_DOUBLE_EQ(dist, 5);

    ProjectPointToSegment2d(0, 0, 10, 10, 0, 10, 0.001, fx, fy, dist, flag);
    EXPECT_NEAR(fx, 5, 1e-12);
    EXPECT_NEAR(fy, 5, 1e-12);
    EXPECT_NEAR(dist, std::sqrt(50.0), 1e-12);
    EXPECT_EQ(flag, 1);

    GePoint2d foot;
    EXPECT_EQ(ProjectPointToLineSeg2d(GeLineSeg2d({0, 0}, {4, 2}), {-5, 0}, foot), 0);
    EXPECT_NEAR(foot.x, -4, 1e-12);
    EXPECT_NEAR(foot.y, -2, 1e-12);
}

TEST(OutlineCleanupTest, SamplesRunAlongTheOpenPolylineOnly)
{
    Ring out = {{99, 99, 99}};
    SamplePointsAlongOutline(kSquareCcw, 5.0, out);
    // Appended after what was there; the closing edge back to (0,0) is not sampled.
    ExpectPointsNear(out, {{99, 99, 99}, {0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 5, 0}, {10, 10, 0}, {5, 10, 0}, {0, 10, 0}});

    // Up to 0.001 past a vertex still counts on the edge before it; the next sample lies
    // on the closing edge and ends the walk.
    Ring past;
    SamplePointsAlongOutline({{0, 0, 0}, {10.0005, 0, 0}, {10.0005, 10, 0}}, 10.001, past);
    ASSERT_EQ(past.size(), 2u);
    EXPECT_NEAR(past[1].x, 10.001, 1e-12);
    EXPECT_NEAR(past[1].y, 0, 1e-12);
}

TEST(OutlineCleanupTest, SamplingWithoutASpacingOrPointsEndsAtOnce)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double s : {0.0, -5.0, nan}) {
        Ring out;
        SamplePointsAlongOutline(kSquareCcw, s, out);
        EXPECT_TRUE(out.empty()) << s;
    }

    host::EventLog::Instance().Clear();
    Ring out;
    SamplePointsAlongOutline({}, 5.0, out);
    EXPECT_TRUE(out.empty());
    SamplePointsAlongOutline({{3, 4, 5}}, 5.0, out);
    ExpectPointsNear(out, {{3, 4, 5}});
    const std::string transcript = host::EventLog::Instance().Transcript();
    EXPECT_THAT(transcript, HasSubstr("表达式失败< nPt>1 >\n文件：ModelGeHelper"));
    host::EventLog::Instance().Clear();
}

}  // namespace
