// The four two-ring operations on the shapes that decide them: crossing, nesting, disjoint,
// identical and side-sharing rings, ring starts, coordinates beyond reach, the split's faces;
// the shapes that meet the tolerance (touches, shallow crossings, sides a hair apart) at the
// origin and at a national grid's coordinates; and a seeded run of the property the fuzz
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
        // Beyond 4e14 the 0.1 tolerance is within a few units of the last place: nothing to
        // trace, answered at once; just within reach the operations still work.
        {"beyond reach", Moved(kSquare, -4.1e14, 0), Moved(kOffsetSquare, -4.1e14, 0), std::nullopt, std::nullopt,
         std::nullopt},
        {"just within reach", Moved(kSquare, 3.9e14, 0), Moved(kOffsetSquare, 3.9e14, 0), Moved(joint, 3.9e14, 0),
         Rings{Moved(ell, 3.9e14, 0)}, Rings{Moved(overlap, 3.9e14, 0)}},
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

// Results that meet the tolerance, beside those the GEOS oracle draws at random: the areas
// each operation must give (the union's ring, the rings of the difference and of the
// intersection together), within `tol`; every ring traced runs counter-clockwise, and no
// operation answers null. Each case is tried with either ring either way round and moved to
// the coordinates of a national grid.
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
    };
    for (const auto& c : cases) {
        for (const double shift : {0.0, 1e6, 1e9, 1e12}) {
            for (int turn = 0; turn < 4; ++turn) {
                SCOPED_TRACE(::testing::Message() << c.name << ", shifted by " << shift << ", turn " << turn);
                const Ring a = Moved(turn & 1 ? Reversed(c.a) : c.a, shift, 0.75 * shift);
                const Ring b = Moved(turn & 2 ? Reversed(c.b) : c.b, shift, 0.75 * shift);
                const double tol = c.tol + 1e-15 * shift * 1000;
                const auto united = Take(UnionPolygons(a, b));
                const auto difference = Take(SubtractPolygons(a, b));
                const auto common = Take(IntersectPolygons(a, b));
                ASSERT_TRUE(united && difference && common);
                EXPECT_NEAR(std::fabs(SignedArea(*united)), c.united, tol);
                EXPECT_NEAR(TotalArea(*difference), c.difference, tol);
                EXPECT_EQ(difference->size(), c.differenceRings);
                EXPECT_NEAR(TotalArea(*common), c.common, tol);
                for (const auto& rings : {*difference, *common, std::vector<Ring>{*united}})
                    EXPECT_EQ(ClockwiseTraced(rings, a, b), 0u);
            }
        }
    }
}

// The signed areas of the split's faces, to a millionth, sorted.
std::vector<double> SplitAreas(const Ring& cutter, const Ring& ring)
{
    std::vector<double> areas;
    for (const Ring& f : Take(SplitPolygonByPolygon(cutter, ring)).value_or(std::vector<Ring>{}))
        areas.push_back(std::round(1e6 * SignedArea(f)) / 1e6);
    std::sort(areas.begin(), areas.end());
    return areas;
}

TEST(RingOperations, SplitOfASquare)
{
    // By a band across it: the middle strip, the bottom and the top piece, counter-clockwise.
    const Ring band{{-5, 4}, {15, 4}, {15, 6}, {-5, 6}};
    EXPECT_EQ(SplitAreas(band, kSquare), (std::vector<double>{20, 40, 40}));
    const auto faces = Take(SplitPolygonByPolygon(band, kSquare));
    ASSERT_TRUE(faces);
    const Ring strip{{0, 4}, {10, 4}, {10, 6}, {0, 6}};
    EXPECT_TRUE(std::any_of(faces->begin(), faces->end(),
                            [&](const Ring& f) { return std::is_permutation(f.begin(), f.end(), strip.begin(), strip.end()); }));
    // By a cutter whose side runs 0.15 beside the ring's: the faces keep to the ring split.
    EXPECT_EQ(SplitAreas({{0, 0}, {20, 0}, {20, 10}, {0, 10}}, {{5, -5}, {15, -5}, {15, 9.85}, {5, 9.85}}),
              (std::vector<double>{50, 98.5}));
    // By a cutter that misses it, touches it at one point, is empty or is not finite: [B].
    for (const Ring& cutter : {Ring{}, kFar, Ring{{10, 10}, {20, 10}, {20, 20}}, Ring{{0, 0}, {INFINITY, 0}, {5, NAN}}})
        EXPECT_EQ(Take(SplitPolygonByPolygon(cutter, kSquare)), OwnedRings(std::vector<Ring>{kSquare}));
    // Beyond reach there is nothing to trace: [B] as given.
    const Ring far = Moved(kOffsetSquare, 1e15, 0);
    EXPECT_EQ(Take(SplitPolygonByPolygon(Moved(kSquare, 1e15, 0), far)), OwnedRings(std::vector<Ring>{far}));
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
