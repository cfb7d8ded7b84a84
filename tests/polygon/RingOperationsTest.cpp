// The four two-ring operations on the shapes that decide them: crossing, nesting, disjoint,
// identical and side-sharing rings, ring starts, the split's faces, and a seeded run of the
// property the fuzz target checks.
#include <gtest/gtest.h>

#include "PlanarTestSupport.h"
#include "RingOperationsProperty.h"
#include "qrxGePolygonOperations.h"

#include <algorithm>
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
