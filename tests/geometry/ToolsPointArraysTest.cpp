// The point-array routines of CTools: clean-up, orientation, normals and ring comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "EventLog.h"
#include "Tools.h"
#include "ToolsTestSupport.h"

namespace {

using namespace tools_test;

void ExpectPoints(const Ring& actual, const Ring& expected) { ExpectPointsNear(actual, expected, 1e-12); }

Ring Cleaned(Ring pts, int closed, double tol)
{
    CTools::ManageGePoint3dArray(pts, closed, tol);
    return pts;
}

const Ring kSquare = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};

// ---- ManageGePoint3dArray ----------------------------------------------------------

// Pass 1 drops near duplicates (for a ring the last point also against the first, at tol
// inclusive); pass 2 drops straight and turning-back vertices, an open run keeping its ends.
TEST(ToolsManagePoints, TableOfCleanUps)
{
    const Ring withMid = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    const Ring midFirst = {{5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};
    const Ring spiked = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {5, 10, 0}, {5, 20, 0}, {5, 10, 0}, {0, 10, 0}};
    Ring closedTwice = kSquare;
    closedTwice.push_back({0, 0.5, 0});
    struct Case {
        Ring input;
        int closed;
        double tol;
        Ring expected;
        const char* what;
    };
    const Case cases[] = {
        {{}, 1, 1e-6, {}, "empty ring"},
        {{}, 0, 1e-6, {}, "empty run"},
        {{{3, 4, 5}}, 1, 1e-6, {{3, 4, 5}}, "one point"},
        {{{0, 0, 0}, {5, 0, 0}}, 0, 1e-6, {{0, 0, 0}, {5, 0, 0}}, "a two-point run keeps its ends"},
        {{{0, 0, 0}, {5, 0, 0}}, 1, 1e-6, {}, "a ring of two points has no corner"},
        {{{1, 1, 0}, {1, 1, 0}}, 1, 1e-6, {{1, 1, 0}}, "two coincident points leave one"},
        {kSquare, 1, 1e-6, kSquare, "corners stay (ring)"},
        {kSquare, 0, 1e-6, kSquare, "corners stay (run)"},
        {withMid, 1, 1e-6, kSquare, "midpoint of a side goes (ring)"},
        {withMid, 0, 1e-6, kSquare, "midpoint of a side goes (run)"},
        {midFirst, 1, 1e-6, {{10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}}, "a straight first vertex goes"},
        // (4,0) is tested with the spike's way back as its incoming edge: a corner.
        {{{0, 0, 0}, {10, 0, 0}, {4, 0, 0}, {4, 5, 0}}, 0, 1e-6, {{0, 0, 0}, {4, 0, 0}, {4, 5, 0}}, "spike on a run"},
        // Both feet of a ring's spike are corners in their own right: the foot stays twice.
        {spiked, 1, 1e-6, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {5, 10, 0}, {5, 10, 0}, {0, 10, 0}}, "spike on a ring"},
        {closedTwice, 1, 0.6, kSquare, "closing point near the first goes"},
        {closedTwice, 1, 0.5, kSquare, "exactly at tol is a duplicate"},
        {closedTwice, 0, 0.6, closedTwice, "a run keeps its last point"},
        // Pass 1 leaves one copy of the closing corner given three times; pass 2 then drops the
        // first point, whose incoming edge has no length.
        {{kSquare[0], kSquare[1], kSquare[2], kSquare[3], kSquare[0], kSquare[0]}, 1, 1e-6,
         {kSquare[1], kSquare[2], kSquare[3], kSquare[0]}, "closing corner three times"},
        {kSquare, 0, 1.5, {{0, 0, 0}, {0, 10, 0}}, "tol above one drops every tested vertex (run)"},
        {kSquare, 1, 1.5, {}, "tol above one drops every tested vertex (ring)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectPoints(Cleaned(c.input, c.closed, c.tol), c.expected);
    }
}

TEST(ToolsManagePoints, SlightBendGoesBelowTheAngleLimitAndStaysAbove)
{
    // The vertex (5, -d) turns by 2·atan(d/5); the limit is min(tol, 0.0175).
    auto bent = [](double turn) {
        const double d = 5.0 * std::tan(turn / 2.0);
        return Ring{{0, 0, 0}, {5, -d, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    };
    EXPECT_EQ(Cleaned(bent(0.008), 1, 0.01).size(), 4u);
    EXPECT_EQ(Cleaned(bent(0.012), 1, 0.01).size(), 5u);
    // Above 0.0175 the cap holds whatever the tolerance.
    EXPECT_EQ(Cleaned(bent(0.017), 1, 0.5).size(), 4u);
    EXPECT_EQ(Cleaned(bent(0.018), 1, 0.5).size(), 5u);
}

TEST(ToolsManagePoints, NearDuplicatesAreMeasuredFromTheLastKeptPoint)
{
    // 0, 0.4, ..., 4.0 with tol 1: pass 1 keeps 0, 1.2, 2.4, 3.6 (4.0 is within tol of 3.6);
    // pass 2 keeps the ends of the open run.
    Ring run;
    for (int i = 0; i <= 10; ++i)
        run.push_back({0.4 * i, 0, 0});
    const Ring cleaned = Cleaned(run, 0, 1.0);
    ASSERT_EQ(cleaned.size(), 2u);
    EXPECT_DOUBLE_EQ(cleaned[0].x, 0.0);
    EXPECT_NEAR(cleaned[1].x, 3.6, 1e-12);

    // On a zigzag whose kept points pass 2 leaves alone, the thinning of pass 1 shows
    // directly: every second point survives.
    Ring zigzag;
    for (int i = 0; i <= 6; ++i)
        zigzag.push_back({0.4 * i, (i / 2 % 2) * 0.3, 0});
    ExpectPoints(Cleaned(zigzag, 0, 0.45), {zigzag[0], zigzag[2], zigzag[4], zigzag[6]});
}

TEST(ToolsManagePoints, OutputIsASubsequenceOfTheInput)
{
    std::mt19937 rng(8);
    std::uniform_real_distribution<double> coord(0.0, 100.0);
    for (int trial = 0; trial < 200; ++trial) {
        Ring pts(3 + trial % 17);
        for (GePoint3d& p : pts)
            p = {coord(rng), coord(rng), (trial % 3 == 0) ? coord(rng) : 0.0};
        const int closed = trial % 2;
        const double tol = 0.5;
        const Ring out = Cleaned(pts, closed, tol);
        // Every output point is an input point, in input order.
        auto from = pts.begin();
        for (const GePoint3d& q : out) {
            from = std::find_if(from, pts.end(), [&](const GePoint3d& p) { return p.DistanceTo(q) == 0.0; });
            ASSERT_NE(from, pts.end()) << "trial " << trial;
            ++from;
        }
    }
}

// ---- DropRepeatedPoints ------------------------------------------------------------

// A run of copies keeps its first point however long it is and wherever it stands; a ring also
// loses every copy of its first point at the end. A point that comes back later in the ring
// (a keyhole's slit, walked in and out) is no copy, at home and on a national grid.
TEST(ToolsDropRepeatedPoints, RunsOfCopiesLeaveTheirFirst)
{
    const Ring slit = {{0, 0, 0}, {5, 0, 0}, {5, 3, 0}, {4, 3, 0}, {4, 6, 0}, {6, 6, 0}, {6, 3, 0},
                       {5, 3, 0}, {5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    const Ring beyondTol = {{0, 0, 0}, {10, 0, 0}, {10, 0.0011, 0}, {10, 10, 0}, {0, 10, 0}, {0.0011, 0, 0}};
    struct Case {
        std::string what;
        Ring input;
        int closed;
        Ring expected;
    };
    std::vector<Case> cases = {
        {"a run's closing copies stay", Repeated(kSquare, 4, 3), 0, Repeated(kSquare, 4, 2)},
        {"a keyhole's slit stays", slit, 1, slit},
        {"points just beyond tol stay", beyondTol, 1, beyondTol},
    };
    for (const int copies : {2, 3, 4})
        for (const std::size_t at : {0, 2, 4})
            cases.push_back({std::to_string(copies) + " copies of point " + std::to_string(at),
                             Repeated(kSquare, at, copies), 1, kSquare});
    for (const Case& c : cases)
        for (const double far : {0.0, 3e6, 1e12}) {
            SCOPED_TRACE(testing::Message() << c.what << " at " << far);
            Ring pts = Moved(c.input, far, far);
            CTools::DropRepeatedPoints(pts, c.closed, 0.001);
            ExpectPointsNear(pts, Moved(c.expected, far, far), 0.0);
        }
}

// ---- IsPtArrayClockWise ------------------------------------------------------------

// Rings without area; the shoelace oracle below has the rest (z plays no part).
TEST(ToolsClockwise, RingsWithoutArea)
{
    EXPECT_EQ(CTools::IsPtArrayClockWise({{0, 0, 0}, {1, 1, 0}}), 1);
    EXPECT_EQ(CTools::IsPtArrayClockWise({}), 1);
    EXPECT_EQ(CTools::IsPtArrayClockWise({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}), 0);
    EXPECT_EQ(CTools::IsPtArrayClockWise({{0, 0, 0}, {NAN, 1, 0}, {1, 0, 0}}), 0);
}

TEST(ToolsClockwise, AgreesWithTheShoelaceArea)
{
    std::mt19937 rng(18);
    std::uniform_real_distribution<double> coord(-50.0, 50.0);
    for (int trial = 0; trial < 300; ++trial) {
        Ring pts(3 + trial % 9);
        for (GePoint3d& p : pts)
            p = {coord(rng), coord(rng), coord(rng)};
        EXPECT_EQ(CTools::IsPtArrayClockWise(pts), SignedPlanArea(pts) < 0.0 ? 1 : 0) << "trial " << trial;
    }
}

// ---- GetNormal ---------------------------------------------------------------------

TEST(ToolsNormal, DegenerateRingsGiveTheZeroVector)
{
    EXPECT_EQ(CTools::GetNormal({{0, 0, 0}, {1, 0, 0}}, 1e-6), GeVector3d());
    EXPECT_EQ(CTools::GetNormal({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, 1e-6), GeVector3d());
    // A tolerance wider than the ring picks the z axis, along which every vertex shares the
    // smallest value: the corner search must still end.
    EXPECT_EQ(CTools::GetNormal(kSquare, 100.0), GeVector3d());
}

// Trial 0 keeps the rings as they are: level ones, and a wall in the plane x = 3.
TEST(ToolsNormal, AgreesWithNewellOnRotatedRings)
{
    const Ring convex = {{0, 0, 0}, {4, 0, 0}, {6, 3, 0}, {3, 6, 0}, {-1, 4, 0}};
    const Ring concave = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {5, 3, 0}, {0, 10, 0}};
    const Ring wall = {{3, 0, 0}, {3, 4, 0}, {3, 4, 3}, {3, 0, 3}};
    std::mt19937 rng(28);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> angle(0.0, 6.283);
    for (int trial = 0; trial < 100; ++trial) {
        GeVector3d axis(unit(rng), unit(rng), unit(rng));
        if (axis.Length() < 0.1)
            axis = GeVector3d::kXAxis;
        GeMatrix3d tm;
        tm.SetToRotation(angle(rng), axis);
        tm.PreMultBy(GeMatrix3d().SetToTranslation({unit(rng) * 50, unit(rng) * 50, unit(rng) * 50}));
        if (trial == 0)
            tm = GeMatrix3d();
        for (Ring ring : {convex, concave, wall}) {
            if (trial % 2)
                CTools::ReverseP3dArray(ring);
            for (GePoint3d& p : ring)
                p.TransformBy(tm);
            GeVector3d newell;
            for (std::size_t i = 0; i < ring.size(); ++i) {
                const GePoint3d& a = ring[i];
                const GePoint3d& b = ring[(i + 1) % ring.size()];
                newell += GeVector3d((a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y));
            }
            newell.Normalize();
            const GeVector3d n = CTools::GetNormal(ring, 1e-6);
            EXPECT_NEAR(n.Length(), 1.0, 1e-9) << "trial " << trial;
            EXPECT_GT(n.DotProduct(newell), 1.0 - 1e-12) << "trial " << trial;
        }
    }
}

// ---- ReverseP3dArray and IsPtArraySame ---------------------------------------------

TEST(ToolsSameRing, RotationsAndReversals)
{
    const Ring startsAtThird = {kSquare[2], kSquare[3], kSquare[0], kSquare[1]};
    Ring reversed = kSquare;
    CTools::ReverseP3dArray(reversed);
    ExpectPoints(reversed, {kSquare[3], kSquare[2], kSquare[1], kSquare[0]});

    EXPECT_EQ(CTools::IsPtArraySame(kSquare, kSquare, 1, 1e-6), 1);
    EXPECT_EQ(CTools::IsPtArraySame(kSquare, startsAtThird, 1, 1e-6), 0);
    EXPECT_EQ(CTools::IsPtArraySame(kSquare, reversed, 1, 1e-6), 0);

    Ring withDuplicate = kSquare;
    withDuplicate.push_back(kSquare[0]);
    EXPECT_EQ(CTools::IsPtArraySame(kSquare, withDuplicate, 0, 1e-6), 0);
    EXPECT_EQ(CTools::IsPtArraySame({}, {}, 0, 1e-6), 1);
}

TEST(ToolsSameRing, MatchesAreStrictlyWithinTol)
{
    Ring moved = kSquare;
    moved[1].x += 0.5;
    EXPECT_EQ(CTools::IsPtArraySame(kSquare, moved, 1, 0.5), 0);
    EXPECT_EQ(CTools::IsPtArraySame(kSquare, moved, 1, 0.5001), 1);
}

TEST(ToolsSameRing, RandomRotationsAndReversalsMatch)
{
    std::mt19937 rng(38);
    std::uniform_real_distribution<double> coord(-100.0, 100.0);
    for (int trial = 0; trial < 100; ++trial) {
        Ring a(3 + trial % 8);
        for (GePoint3d& p : a)
            p = {coord(rng), coord(rng), coord(rng)};
        Ring b = a;
        std::rotate(b.begin(), b.begin() + static_cast<long>(rng() % b.size()), b.end());
        if (trial % 2)
            CTools::ReverseP3dArray(b);
        EXPECT_EQ(CTools::IsPtArraySame(a, b, 0, 1e-9), 1) << "trial " << trial;
        b[rng() % b.size()].z += 1.0;
        EXPECT_EQ(CTools::IsPtArraySame(a, b, 0, 1e-9), 0) << "trial " << trial;
    }
}

}  // namespace
