#include "qrxGeOffsetter2d.h"
#include "qrxGeLine2d.h"
#include "qrxGeRing.h"
#include "qrxGeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace qrxGe {
namespace {

using test::Points;

const Points kSquareCcw = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

void ExpectPoints(const Points& actual, const Points& expected, double tol = 1e-6)
{
    test::ExpectPoints(actual, expected, tol);
}

// The answer of one run and the points it left.
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

// A positive distance moves a counter-clockwise ring outward and an open run to the right
// of travel; every corner, reflex or not, moves along its bisector.
TEST(QrxGeOffsetter2d, TableOfSucceedingOffsets)
{
    const Points ell = {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}};
    const Points corner = {{0, 0}, {10, 0}, {10, 10}};  // east, then north
    struct Case {
        Points input;
        bool closed;
        double distance;
        Points expected;
        double tol;
        const char* what;
    };
    const Case cases[] = {
        {kSquareCcw, true, 0.0, kSquareCcw, 0.0, "zero distance keeps a ring"},
        {corner, false, 0.0, corner, 0.0, "zero distance keeps a run"},
        {{{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}, true, 0.0, kSquareCcw, 0.0,
         "zero distance drops a vertex that coincides with its next"},
        {{{0, 0}, {10, 0}}, true, 0.0, {{0, 0}, {10, 0}}, 0.0, "two points as a ring at zero distance"},
        {kSquareCcw, true, 2.0, {{-2, -2}, {12, -2}, {12, 12}, {-2, 12}}, 1e-6, "counter-clockwise, outward"},
        {kSquareCcw, true, -2.0, {{2, 2}, {8, 2}, {8, 8}, {2, 8}}, 1e-6, "counter-clockwise, inward"},
        {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, true, 2.0, {{2, 2}, {2, 8}, {8, 8}, {8, 2}}, 1e-6, "clockwise, inward"},
        {kSquareCcw, true, -4.98, {{4.98, 4.98}, {5.02, 4.98}, {5.02, 5.02}, {4.98, 5.02}}, 1e-6,
         "just short of vanishing"},
        {ell, true, 2.0, {{-2, -2}, {22, -2}, {22, 12}, {12, 12}, {12, 22}, {-2, 22}}, 1e-6, "reflex corner outward"},
        {ell, true, -2.0, {{2, 2}, {18, 2}, {18, 8}, {8, 8}, {8, 18}, {2, 18}}, 1e-6, "reflex corner inward"},
        {{{0, 0}, {10, 0}}, false, 3.0, {{0, -3}, {10, -3}}, 1e-6, "segment to the right"},
        {{{0, 0}, {10, 0}}, false, -3.0, {{0, 3}, {10, 3}}, 1e-6, "segment to the left"},
        {corner, false, 2.0, {{0, -2}, {12, -2}, {12, 10}}, 1e-6, "open corner, outside of the turn"},
        {corner, false, -2.0, {{0, 2}, {8, 2}, {8, 10}}, 1e-6, "open corner, inside of the turn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = Offset(c.input, c.closed, c.distance);
        ASSERT_TRUE(r.ok);
        ExpectPoints(r.points, c.expected, c.tol);
    }
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

TEST(QrxGeOffsetter2d, ShortEdgeBetweenGentleCornersVanishesInsteadOfTurningInsideOut)
{
    // The top side turns by 0.09 rad at each end of the short edge (49.5..50.5): the two
    // corners' bisectors are within 0.1 rad of parallel, yet they meet at offset about 11.
    // At 15 the short edge must be gone and the two slopes meet at one apex on x = 50.
    const double top = 50.0 + 49.5 * std::tan(0.09);
    const point2d a(100, 50), b(50.5, top);
    Outcome r = Offset({{0, 0}, {100, 0}, a, b, {49.5, top}, {0, 50}}, true, -15.0);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.points.size(), 5u);
    ExpectPoints({r.points[0], r.points[1]}, {{15, 15}, {85, 15}}, 1e-5);
    EXPECT_NEAR(r.points[3].x, 50.0, 1e-5);
    EXPECT_NEAR(lineeq2d(a, b).DistanceTo(r.points[3]), 15.0, 1e-5);
    EXPECT_NEAR(lineeq2d(a, b).DistanceTo(r.points[2]), 15.0, 1e-5);
}

TEST(QrxGeOffsetter2d, SliverMovesOutWhole)
{
    // A corner of 0.002 rad: the motion lines of the sharp corner and the corner after it
    // cross behind the sharp one, close enough to their edge (0.01 rad) to pass the side
    // test. That is no event: the sliver keeps its three corners, each edge at the distance
    // outside its old line (the sharp corner travels about 5000, hence the band).
    const Points sliver = {{0, 0}, {100, 0}, {99.8, 0.2}};
    Outcome r = Offset(sliver, true, 5.0);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.points.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t j = (i + 1) % 3;
        const lineeq2d old(sliver[i], sliver[j]);
        EXPECT_NEAR(old.SignedDistanceTo(r.points[i]), -5.0, 1e-2) << "edge " << i;
        EXPECT_NEAR(old.SignedDistanceTo(r.points[j]), -5.0, 1e-2) << "edge " << i;
    }
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
    // Two points as a ring have no inside: a non-zero offset fails.
    EXPECT_FALSE(Offset({{0, 0}, {10, 0}}, true, 1.0).ok);
    // A square's corners all reach its centre at 5; events within 0.01 of the offset fall.
    EXPECT_FALSE(Offset(kSquareCcw, true, -6.0).ok);
    EXPECT_FALSE(Offset(kSquareCcw, true, -4.995).ok);
    // A polyline whose two points coincide has no direction to move in.
    EXPECT_FALSE(Offset({{3, 3}, {3, 3}}, false, 1.0).ok);
}

// A random convex counter-clockwise polygon around the origin (radius 100).
Points RandomConvexPolygon(std::mt19937& rng)
{
    std::uniform_real_distribution<double> turn(0.0, 2.0 * std::acos(-1.0));
    std::vector<double> angles(3 + rng() % 8);
    for (double& a : angles)
        a = turn(rng);
    std::sort(angles.begin(), angles.end());
    Points ring;
    for (double a : angles)
        ring.emplace_back(100.0 * std::cos(a), 100.0 * std::sin(a));
    return ring;
}

// Distance from p to the segment a-b.
double DistanceToSegment(const point2d& p, const point2d& a, const point2d& b)
{
    const vector2d ab(a, b), ap(a, p);
    const double t = std::clamp(ap.DotProduct(ab) / ab.LengthSquared(), 0.0, 1.0);
    return p.DistanceTo(a + ab * t);
}

TEST(QrxGeOffsetter2d, OutwardOffsetOfAConvexRingKeepsEveryEdgeAtTheDistance)
{
    std::mt19937 rng(20261207);
    std::uniform_real_distribution<double> distance(0.5, 20.0);
    for (int run = 0; run < 200; ++run) {
        const Points ring = RandomConvexPolygon(rng);
        if (Area(ring) < 1.0)
            continue;
        const double d = distance(rng);
        Outcome r = Offset(ring, true, d);
        ASSERT_TRUE(r.ok);
        // No edge of a convex ring shrinks on the way out: one point per corner, and each
        // new edge runs parallel to its old one at the distance, on its outer (right) side.
        // Corners are bisected with the single-precision 2*pi, which turns a bisector by
        // about 1e-7 rad: the band grows with how far a (sharp) corner travels.
        ASSERT_EQ(r.points.size(), ring.size());
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const std::size_t j = (i + 1) % ring.size();
            const lineeq2d old(ring[i], ring[j]); // normal to the left: inside
            const double band = 1e-6 * (1.0 + std::max(ring[i].DistanceTo(r.points[i]),
                                                       ring[j].DistanceTo(r.points[j])));
            EXPECT_NEAR(old.SignedDistanceTo(r.points[i]), -d, band) << "run " << run;
            EXPECT_NEAR(old.SignedDistanceTo(r.points[j]), -d, band) << "run " << run;
        }
    }
}

TEST(QrxGeOffsetter2d, InwardOffsetOfAConvexRingStaysAtTheDistanceFromEverySide)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> distance(0.5, 30.0);
    int kept = 0;
    int dropped = 0;
    for (int run = 0; run < 200; ++run) {
        const Points ring = RandomConvexPolygon(rng);
        if (Area(ring) < 1.0)
            continue;
        const double d = distance(rng);
        Outcome r = Offset(ring, true, -d);
        if (!r.ok)
            continue; // the ring vanished on the way in
        ++kept;
        dropped += r.points.size() < ring.size() ? 1 : 0;
        // Every corner of the inner figure lies inside, no nearer than d to any old side
        // and at d from at least one (events fall within 0.01 of the offset, hence the band).
        for (const point2d& p : r.points) {
            double nearest = std::numeric_limits<double>::max();
            for (std::size_t i = 0; i < ring.size(); ++i)
                nearest = std::min(nearest, DistanceToSegment(p, ring[i], ring[(i + 1) % ring.size()]));
            EXPECT_NEAR(nearest, d, 0.05) << "run " << run;
            EXPECT_TRUE(IsPointInPolygon(ring, p)) << "run " << run;
        }
    }
    // The sample must reach the events that drop short sides, and not only vanish.
    EXPECT_GT(dropped, 10);
    EXPECT_GT(kept, 100);
}

} // namespace
} // namespace qrxGe
