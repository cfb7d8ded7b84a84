// The four two-ring operations on the shapes that decide them: crossing, nesting, disjoint,
// identical and side-sharing rings, ring starts, the split's faces; the shapes that meet the
// tolerance (sides a hair apart, touches, shallow crossings) at the origin and at a national
// grid's coordinates; coordinates beyond reach; and a seeded run of the property the fuzz
// target checks.
#include <gtest/gtest.h>

#include "PlanarTestSupport.h"
#include "RingOperationsProperty.h"
#include "qrxGePolygonOperations.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace qrxGe::test {
namespace {

const Ring kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const Ring kOffsetSquare{{5, 5}, {15, 5}, {15, 15}, {5, 15}};
const Ring kInner{{2, 2}, {4, 2}, {4, 4}, {2, 4}};
const Ring kFar{{20, 20}, {30, 20}, {30, 30}, {20, 30}};
// Rings sharing a stretch of side with kSquare from outside.
const Ring kRightSquare{{10, 0}, {20, 0}, {20, 10}, {10, 10}};
const Ring kRightHalf{{10, 0}, {20, 0}, {20, 5}, {10, 5}};
const Ring kCornerSquare{{10, 10}, {20, 10}, {20, 20}, {10, 20}};

TEST(RingOperations, UnionSubtractionAndIntersectionOfTheDecidingShapes)
{
    using Rings = std::vector<Ring>;
    const Rings none;
    const Ring joint{{0, 0}, {10, 0}, {10, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 10}, {0, 10}};
    const Ring ell{{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}};
    const Ring overlap{{5, 5}, {10, 5}, {10, 10}, {5, 10}};
    const Ring lowerLeft{{0, 0}, {5, 0}, {5, 5}, {0, 5}};
    const struct {
        const char* name;
        Ring a, b;
        std::optional<Ring> united;
        std::optional<std::vector<Ring>> subtraction, intersection;
    } cases[] = {
        {"squares offset by (5,5)", kSquare, kOffsetSquare, joint, Rings{ell}, Rings{overlap}},
        {"clockwise A", Reversed(kSquare), kOffsetSquare, joint, Rings{ell}, Rings{overlap}},
        {"A inside B", kInner, kSquare, kSquare, none, Rings{kInner}},
        {"B inside A", kSquare, kInner, kSquare, std::nullopt, Rings{kInner}},
        {"disjoint", kSquare, kFar, std::nullopt, std::nullopt, std::nullopt},
        {"identical", kSquare, kSquare, kSquare, none, Rings{kSquare}},
        {"too few points", {{0, 0}, {10, 0}}, kSquare, std::nullopt, std::nullopt, std::nullopt},
        {"not finite", {{0, 0}, {INFINITY, 0}, {5, NAN}}, kSquare, std::nullopt, std::nullopt, std::nullopt},
        // Interiors on the two sides of the shared stretch: the union is the joint outline,
        // the intersection empty, and A stays whole in the difference.
        {"side shared from outside", kSquare, kRightSquare, Ring{{0, 0}, {10, 0}, {20, 0}, {20, 10}, {10, 10}, {0, 10}},
         Rings{kSquare}, none},
        {"half side shared from outside", kSquare, kRightHalf,
         Ring{{0, 0}, {10, 0}, {20, 0}, {20, 5}, {10, 5}, {10, 10}, {0, 10}},
         Rings{{{0, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}}}, none},
        // Interiors on one side: the stretch bounds the common part only; the union keeps
        // the ends of the stretch.
        {"side shared from inside", kSquare, lowerLeft, Ring{{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 5}},
         Rings{{{5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 5}, {5, 5}}}, Rings{lowerLeft}},
        // One ring that passes the shared corner twice.
        {"corners touching", kSquare, kCornerSquare,
         Ring{{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}, {0, 10}}, Rings{kSquare}, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Take(UnionPolygons(c.a, c.b)), c.united);
        EXPECT_EQ(Take(SubtractPolygons(c.a, c.b)), c.subtraction);
        EXPECT_EQ(Take(IntersectPolygons(c.a, c.b)), c.intersection);
    }
    // B's bottom starts 0.005 above A's lowest point at a smaller angle: B's leads the union.
    EXPECT_EQ(Take(UnionPolygons({{0, 0}, {10, 5}, {10, 10}, {0, 10}}, {{5, 0.005}, {20, 0.005}, {20, 3}, {5, 3}})),
              (Ring{{5, 0.005}, {20, 0.005}, {20, 3}, {6, 3}, {10, 5}, {10, 10}, {0, 10}, {0, 0}, {5, 2.5}}));
}

// Results that meet the tolerance: the areas each operation must give (the union's ring, the
// rings of the difference and of the intersection together), within `tol`; every ring traced
// runs counter-clockwise, and no operation answers null. Each case is tried with either ring
// either way round and moved to the coordinates of a national grid.
TEST(RingOperations, ShapesThatMeetTheToleranceAtSiteCoordinates)
{
    const Ring wedge{{0, 97.5}, {1000, 102.5}, {1000, 1100}};
    const double sliver = 0.5 * (500 - 2.5 / 1.0025) * 2.5;  // the wedge's tip inside the rectangle
    const struct {
        const char* name;
        Ring a, b;
        double united, difference, common;
        double tol;
        std::size_t differenceRings;
    } cases[] = {
        // B's side 0.02 inside A's: drawn onto A's, B loses the sliver.
        {"squares overlapping by 0.02", kSquare, {{9.98, 0}, {19.98, 0}, {19.98, 10}, {9.98, 10}}, 199.8, 100, 0, 1e-9, 1},
        {"squares stacked 0.05 apart", kSquare, {{0, 10.05}, {10, 10.05}, {10, 20.05}, {0, 20.05}}, 200.5, 100, 0, 1e-9, 1},
        // A ring that passes its first point twice: the walk goes on round the hole.
        {"B inside A touching its lowest corner", kSquare, {{0, 0}, {6, 2}, {2, 6}}, 100, 84, 16, 1e-9, 1},
        {"B inside A touching its other low corner", kSquare, {{10, 0}, {8, 6}, {4, 2}}, 100, 84, 16, 1e-9, 1},
        {"B inside A touching a top corner", kSquare, {{10, 10}, {4, 8}, {8, 4}}, 100, 84, 16, 1e-9, 1},
        {"triangles touching at their common lowest point", {{0, 0}, {10, 5}, {5, 10}}, {{0, 0}, {-5, 10}, {-10, 5}},
         75, 37.5, 0, 1e-9, 1},
        // The wedge's tip also cuts off A's corner beside it.
        {"a side crossing another at 0.005 rad", {{0, 0}, {1000, 0}, {1000, 100}, {0, 100}}, wedge,
         100000 + 498750 - sliver, 100000 - sliver, sliver, 1e-6, 2},
        // B's side 0.05 off A's, upright: cut at A's corners in B's own order, so that B runs
        // along A's side between them (and gains 0.6).
        {"upright sides 0.05 apart", {{-10, 0}, {0, 0}, {0, 10}, {-10, 10}}, {{0.05, -2}, {10, -2}, {10, 12}, {0.05, 12}},
         239.9, 100, 0, 1e-9, 1},
        // A crossing 0.07 beside a corner is the corner: the rings meet along the 7 units where
        // they come within 0.07 of each other, and lose as much as 0.07 along them.
        {"a crossing 0.07 from a corner", kSquare, {{8, 9.93}, {15, 9.93}, {15, 15}, {8, 15}}, 135.35, 99.86, 0.14, 0.07 * 7,
         1},
        {"an 8 x 5 and a 9 x 4 rectangle", {{0, 0}, {8, 0}, {8, 5}, {0, 5}}, {{1, 1}, {10, 1}, {10, 5}, {1, 5}}, 48, 12, 28,
         1e-9, 1},
    };
    for (const auto& c : cases) {
        for (const double shift : {0.0, 1e6, 1e9, 1e12}) {
            for (int turn = 0; turn < 4; ++turn) {
                SCOPED_TRACE(::testing::Message() << c.name << ", shifted by " << shift << ", turn " << turn);
                Ring a = turn & 1 ? Reversed(c.a) : c.a, b = turn & 2 ? Reversed(c.b) : c.b;
                for (Ring* r : {&a, &b})
                    for (point2d& p : *r)
                        p = {p.x + shift, p.y + 0.75 * shift};
                const double tol = c.tol + 1e-15 * shift * 1000;
                const auto united = Take(UnionPolygons(a, b));
                ASSERT_TRUE(united);
                EXPECT_NEAR(std::fabs(SignedArea(*united)), c.united, tol);
                const auto difference = Take(SubtractPolygons(a, b));
                ASSERT_TRUE(difference);
                EXPECT_NEAR(TotalArea(*difference), c.difference, tol);
                EXPECT_EQ(difference->size(), c.differenceRings);
                const auto common = Take(IntersectPolygons(a, b));
                ASSERT_TRUE(common);
                EXPECT_NEAR(TotalArea(*common), c.common, tol);
                for (const auto* rings : {&*difference, &*common}) {
                    for (const Ring& r : *rings) {
                        if (r != a && r != b) {
                            EXPECT_GT(SignedArea(r), 0.0) << "a clockwise ring";
                        }
                    }
                }
                if (*united != a && *united != b) {
                    EXPECT_GT(SignedArea(*united), 0.0) << "a clockwise union";
                }
            }
        }
    }
}

// Coordinates beyond 4e14, where the 0.1 tolerance is within a few units of the last place:
// nothing to trace, answered at once; below it the operations still work.
TEST(RingOperations, CoordinatesBeyondReachGiveNothingToTrace)
{
    const auto moved = [](Ring r, double x) {
        for (point2d& p : r)
            p.x += x;
        return r;
    };
    for (const double x : {1e15, 4.1e14, -1e15}) {
        SCOPED_TRACE(x);
        const Ring a = moved(kSquare, x), b = moved(kOffsetSquare, x);
        EXPECT_FALSE(Take(UnionPolygons(a, b)));
        EXPECT_FALSE(Take(SubtractPolygons(a, b)));
        EXPECT_FALSE(Take(IntersectPolygons(a, b)));
        EXPECT_EQ(Take(SplitPolygonByPolygon(a, b)), OwnedRings(std::vector<Ring>{b}));
    }
    const Ring a = moved(kSquare, 3.9e14), b = moved(kOffsetSquare, 3.9e14);
    const auto united = Take(UnionPolygons(a, b));
    ASSERT_TRUE(united);
    EXPECT_EQ(SignedArea(*united), 175.0);
}

// The split keeps to the ring it splits where the cutter's side runs 0.15 beside the ring's.
TEST(RingOperations, SplitBesideTheTolerance)
{
    const auto faces = Take(SplitPolygonByPolygon({{0, 0}, {20, 0}, {20, 10}, {0, 10}}, {{5, -5}, {15, -5}, {15, 9.85}, {5, 9.85}}));
    ASSERT_TRUE(faces);
    std::vector<double> areas;
    for (const Ring& f : *faces)
        areas.push_back(SignedArea(f));
    std::sort(areas.begin(), areas.end());
    EXPECT_EQ(areas.size(), 2u);
    EXPECT_NEAR(areas.front(), 50, 1e-9);
    EXPECT_NEAR(areas.back(), 98.5, 1e-9);
}

TEST(RingOperations, SplitOfASquare)
{
    // By a band across it: the middle strip, the bottom and the top piece, counter-clockwise.
    const auto faces = Take(SplitPolygonByPolygon({{-5, 4}, {15, 4}, {15, 6}, {-5, 6}}, kSquare));
    ASSERT_TRUE(faces);
    std::vector<double> areas;
    for (const Ring& f : *faces)
        areas.push_back(SignedArea(f));
    std::sort(areas.begin(), areas.end());
    EXPECT_EQ(areas, (std::vector<double>{20, 40, 40}));
    const Ring strip{{0, 4}, {10, 4}, {10, 6}, {0, 6}};
    EXPECT_TRUE(std::any_of(faces->begin(), faces->end(),
                            [&](const Ring& f) { return std::is_permutation(f.begin(), f.end(), strip.begin(), strip.end()); }));
    // By a cutter that misses it, touches it at one point, is empty or is not finite: [B].
    for (const Ring& cutter : {Ring{}, kFar, Ring{{10, 10}, {20, 10}, {20, 20}}, Ring{{0, 0}, {INFINITY, 0}, {5, NAN}}})
        EXPECT_EQ(Take(SplitPolygonByPolygon(cutter, kSquare)), OwnedRings(std::vector<Ring>{kSquare}));
}

TEST(RingOperations, FirstSideMidpointInside)
{
    EXPECT_TRUE(FirstSideMidpointInside(kInner, kSquare));
    EXPECT_TRUE(FirstSideMidpointInside({{0, 10}, {10, 10}}, kSquare)) << "the boundary counts";
    EXPECT_FALSE(FirstSideMidpointInside(kFar, kSquare));
    EXPECT_FALSE(FirstSideMidpointInside({{5, 5}}, kSquare));
}

// Random ring pairs on a coarse grid, as the fuzz target makes them.
TEST(RingOperations, SeededPairsKeepTheGraphAndTheirRingsWellFormed)
{
    std::mt19937 random(40);
    std::vector<std::uint8_t> bytes(64);
    for (int i = 0; i < 3000; ++i) {
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        const RingPair pair = RingsFromBytes(bytes.data(), bytes.size());
        const std::string fault = CheckRingOperations(pair.a, pair.b);
        ASSERT_EQ(fault, "") << "pair " << i;
    }
}

} // namespace
} // namespace qrxGe::test
