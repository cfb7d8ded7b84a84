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

// nullopt: a null result. Rings compare point by point from their first point.
struct ListCase {
    const char* name;
    Ring a, b;
    std::optional<std::vector<Ring>> subtraction, intersection;
};

void ExpectRings(const OwnedRings& actual, const std::optional<std::vector<Ring>>& expected)
{
    ASSERT_EQ(actual.has_value(), expected.has_value());
    if (!expected)
        return;
    ASSERT_EQ(actual->size(), expected->size());
    for (std::size_t i = 0; i < expected->size(); ++i)
        EXPECT_EQ((*actual)[i], (*expected)[i]) << "ring " << i;
}

TEST(RingOperations, SubtractionAndIntersectionOfTheDecidingShapes)
{
    const std::vector<Ring> none;
    const ListCase cases[] = {
        {"squares offset by (5,5)", kSquare, kOffsetSquare,
         std::vector<Ring>{{{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}}},
         std::vector<Ring>{{{5, 5}, {10, 5}, {10, 10}, {5, 10}}}},
        {"clockwise A", Reversed(kSquare), kOffsetSquare,
         std::vector<Ring>{{{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}}},
         std::vector<Ring>{{{5, 5}, {10, 5}, {10, 10}, {5, 10}}}},
        {"A inside B", kInner, kSquare, none, std::vector<Ring>{kInner}},
        {"B inside A", kSquare, kInner, std::nullopt, std::vector<Ring>{kInner}},
        {"disjoint", kSquare, kFar, std::nullopt, std::nullopt},
        {"identical", kSquare, kSquare, none, std::vector<Ring>{kSquare}},
        {"too few points", {{0, 0}, {10, 0}}, kSquare, std::nullopt, std::nullopt},
        // Interiors on the two sides of the shared stretch: A stays whole.
        {"side shared from outside", kSquare, kRightSquare, std::vector<Ring>{kSquare}, none},
        {"half side shared from outside", kSquare, kRightHalf,
         std::vector<Ring>{{{0, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}}}, none},
        // Interiors on one side: the stretch bounds the common part only.
        {"side shared from inside", kSquare, {{0, 0}, {5, 0}, {5, 5}, {0, 5}},
         std::vector<Ring>{{{5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 5}, {5, 5}}},
         std::vector<Ring>{{{0, 0}, {5, 0}, {5, 5}, {0, 5}}}},
        {"corners touching", kSquare, kCornerSquare, std::vector<Ring>{kSquare}, none},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        {
            SCOPED_TRACE("subtraction");
            ExpectRings(Take(SubtractPolygons(c.a, c.b)), c.subtraction);
        }
        {
            SCOPED_TRACE("intersection");
            ExpectRings(Take(IntersectPolygons(c.a, c.b)), c.intersection);
        }
    }
}

struct UnionCase {
    const char* name;
    Ring a, b;
    std::optional<Ring> ring;
};

TEST(RingOperations, UnionOfTheDecidingShapes)
{
    const Ring joint{{0, 0}, {10, 0}, {10, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 10}, {0, 10}};
    const UnionCase cases[] = {
        {"squares offset by (5,5)", kSquare, kOffsetSquare, joint},
        {"clockwise A", Reversed(kSquare), kOffsetSquare, joint},
        {"A inside B", kInner, kSquare, kSquare},
        {"B inside A", kSquare, kInner, kSquare},
        {"disjoint", kSquare, kFar, std::nullopt},
        {"too few points", kSquare, {{0, 0}, {1, 1}}, std::nullopt},
        {"side shared from outside", kSquare, kRightSquare,
         Ring{{0, 0}, {10, 0}, {20, 0}, {20, 10}, {10, 10}, {0, 10}}},
        {"half side shared from outside", kSquare, kRightHalf,
         Ring{{0, 0}, {10, 0}, {20, 0}, {20, 5}, {10, 5}, {10, 10}, {0, 10}}},
        // One ring that passes the shared corner twice.
        {"corners touching", kSquare, kCornerSquare,
         Ring{{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}, {0, 10}}},
        // B's bottom starts 0.005 above A's lowest point at a smaller angle: B's leads.
        {"start tie", {{0, 0}, {10, 5}, {10, 10}, {0, 10}}, {{5, 0.005}, {20, 0.005}, {20, 3}, {5, 3}},
         Ring{{5, 0.005}, {20, 0.005}, {20, 3}, {6, 3}, {10, 5}, {10, 10}, {0, 10}, {0, 0}, {5, 2.5}}},
    };
    for (const UnionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto u = Take(UnionPolygons(c.a, c.b));
        ASSERT_EQ(u.has_value(), c.ring.has_value());
        if (c.ring) {
            EXPECT_EQ(*u, *c.ring);
        }
    }
}

TEST(RingOperations, SplitOfASquareByABandGivesThreeFaces)
{
    const Ring band{{-5, 4}, {15, 4}, {15, 6}, {-5, 6}};
    const auto faces = Take(SplitPolygonByPolygon(band, kSquare));
    ASSERT_TRUE(faces);
    ASSERT_EQ(faces->size(), 3u);
    std::vector<double> areas;
    for (const Ring& f : *faces) {
        EXPECT_GT(SignedArea(f), 0.0) << "faces run counter-clockwise";
        areas.push_back(SignedArea(f));
    }
    std::sort(areas.begin(), areas.end());
    EXPECT_EQ(areas, (std::vector<double>{20, 40, 40}));
    const Ring strip{{0, 4}, {10, 4}, {10, 6}, {0, 6}};
    EXPECT_TRUE(std::any_of(faces->begin(), faces->end(), [&](Ring f) {
        for (std::size_t i = 0; i < f.size(); ++i, std::rotate(f.begin(), f.begin() + 1, f.end()))
            if (f == strip)
                return true;
        return false;
    }));
}

TEST(RingOperations, SplitWithoutACutGivesTheRingItself)
{
    const Ring touching{{10, 10}, {20, 10}, {20, 20}};
    for (const Ring& cutter : {Ring{}, kFar, touching}) {
        const auto faces = Take(SplitPolygonByPolygon(cutter, kSquare));
        ASSERT_TRUE(faces);
        EXPECT_EQ(*faces, std::vector<Ring>{kSquare});
    }
}

TEST(RingOperations, FirstSideMidpointInside)
{
    EXPECT_TRUE(FirstSideMidpointInside(kInner, kSquare));
    EXPECT_TRUE(FirstSideMidpointInside({{0, 10}, {10, 10}}, kSquare)) << "the boundary counts";
    EXPECT_FALSE(FirstSideMidpointInside(kFar, kSquare));
    EXPECT_FALSE(FirstSideMidpointInside({{5, 5}}, kSquare));
}

TEST(RingOperations, CoordinatesThatAreNotFiniteGiveNoResult)
{
    const Ring bad{{0, 0}, {INFINITY, 0}, {5, NAN}};
    EXPECT_FALSE(Take(UnionPolygons(kSquare, bad)));
    EXPECT_FALSE(Take(SubtractPolygons(bad, kSquare)));
    EXPECT_FALSE(Take(IntersectPolygons(kSquare, bad)));
    EXPECT_EQ(*Take(SplitPolygonByPolygon(bad, kSquare)), std::vector<Ring>{kSquare});
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
