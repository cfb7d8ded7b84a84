// The loops through a segment: hand-traced shapes (a square, divided rectangles, a grid of
// crossing lines, an L, an S crossing the pool), the refusals, the step limit, and a pool whose
// overlapping records are taken out while outer steps still hold them.
#include "LoopSearchProperty.h"
#include "qrxGeLoopSearch2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qrxGe::test {
namespace {

const Segments kSquare = Sides({{0, 0}, {10, 0}, {10, 10}, {0, 10}});

TEST(LoopThroughSegment, HandTracedShapes)
{
    // Lines x = 0..30 and y = 0..30 every 10, each one whole segment crossing the others.
    Segments grid;
    for (double v = 0; v <= 30; v += 10) {
        grid.push_back({{0, v}, {30, v}});
        grid.push_back({{v, 0}, {v, 30}});
    }
    const Segments ell = {{{0, 0}, {20, 0}},   {{20, 0}, {20, 10}}, {{20, 10}, {10, 10}},
                          {{10, 10}, {10, 20}}, {{10, 20}, {0, 20}}, {{0, 20}, {0, 0}},
                          {{10, 0}, {10, 10}}};
    const Ring square{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    const struct {
        const char* what;
        Segments pool;
        edge2d s;
        std::optional<Ring> right, left;
    } cases[] = {
        {"square, S a side", kSquare, {{0, 0}, {0, 10}}, square, square},
        {"square, S given downwards is walked upwards", kSquare, {{0, 10}, {0, 0}}, square, square},
        {"square, S a level side walked from its given end", kSquare, {{0, 0}, {10, 0}},
         Ring{{10, 0}, {0, 0}, {0, 10}, {10, 10}}, Ring{{10, 0}, {0, 0}, {0, 10}, {10, 10}}},
        {"square divided by S", Joined(kSquare, {{{5, 0}, {5, 10}}}), {{5, 0}, {5, 10}},
         Ring{{5, 0}, {5, 10}, {10, 10}, {10, 0}}, Ring{{5, 0}, {5, 10}, {0, 10}, {0, 0}}},
        {"quartered square, S crossing the middle line", Joined(kSquare, {{{0, 5}, {10, 5}}}), {{5, 0}, {5, 10}},
         Ring{{5, 0}, {5, 5}, {10, 5}, {10, 0}}, Ring{{5, 0}, {5, 5}, {0, 5}, {0, 0}}},
        {"grid of crossing lines, S inside", grid, {{10, 10}, {10, 20}},
         Ring{{10, 10}, {10, 20}, {20, 20}, {20, 10}}, Ring{{10, 10}, {10, 20}, {0, 20}, {0, 10}}},
        {"L divided at its corner", ell, {{10, 0}, {10, 10}}, Ring{{10, 0}, {10, 10}, {20, 10}, {20, 0}},
         Ring{{10, 0}, {10, 10}, {10, 20}, {0, 20}, {0, 0}}},
        {"free-standing S", kSquare, {{20, 0}, {20, 10}}, std::nullopt, std::nullopt},
        {"S touching the pool at one end only", kSquare, {{10, 10}, {15, 20}}, std::nullopt, std::nullopt},
        {"degenerate S", kSquare, {{0, 0}, {0.05, 0.05}}, std::nullopt, std::nullopt},
        {"fewer than 3 segments", Segments(kSquare.begin(), kSquare.begin() + 2), {{0, 0}, {0, 10}},
         std::nullopt, std::nullopt},
        {"S not finite", kSquare, {{0, 0}, {std::numeric_limits<double>::quiet_NaN(), 10}}, std::nullopt,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Take(RightLoopThroughSegment(c.pool, c.s)), c.right);
        EXPECT_EQ(Take(LeftLoopThroughSegment(c.pool, c.s)), c.left);
    }
}

// A ring of 2k + topPieces segments and S up the left side, the top in equal pieces, and a
// staircase of unit steps from (k,k) down to the origin. The loop walks every segment once.
Segments Staircase(int k, int topPieces)
{
    Segments pool;
    for (int i = 0; i < k; ++i) {
        pool.push_back({{double(i), double(i)}, {i + 1.0, double(i)}});
        pool.push_back({{i + 1.0, double(i)}, {i + 1.0, i + 1.0}});
    }
    for (int i = 0; i < topPieces; ++i)
        pool.push_back({{double(k) * i / topPieces, double(k)}, {double(k) * (i + 1) / topPieces, double(k)}});
    return pool;
}

TEST(LoopThroughSegment, StepLimitAllows1587StepsAndNoMore)
{
    const int k = 792;
    const edge2d s({0, 0}, {0, double(k)});
    const auto ring = Take(RightLoopThroughSegment(Staircase(k, 2), s));
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->size(), std::size_t{loopsearch2d::kStepLimit});
    EXPECT_NEAR(std::fabs(SignedArea(*ring)), k * k / 2.0 + k / 2.0, 1e-6);
    EXPECT_FALSE(Take(RightLoopThroughSegment(Staircase(k, 3), s)));
}

// The way on to the right of S leads round to D, whose walk overlaps B, S's other way on, and
// takes it out of the pool; the search backs up to S and walks B, which it still holds.
TEST(LoopThroughSegment, RecordTakenOutOfThePoolStaysReadableToOuterSteps)
{
    const Segments pool = {
        {{-10, 10}, {10, 10}},  // T: cut at S's end into A (east) and B (west)
        {{10, 10}, {10, 20}},   {{10, 20}, {-15, 20}}, {{-15, 20}, {-15, 10}},
        {{-15, 10}, {-5, 10}},  // D: overlaps B
        {{-2, 10}, {-2, 0}},    {{-2, 0}, {0, 0}},
    };
    loopsearch2d search(loopsearch2d::turn::right);
    for (const edge2d& e : pool)
        search.Add(e);
    Ring ring;
    ASSERT_TRUE(search.Run({{0, 0}, {0, 10}}, ring));
    EXPECT_EQ(ring, (Ring{{0, 0}, {0, 10}, {-2, 10}, {-2, 0}}));
    EXPECT_NE(std::find(search.Pool().begin(), search.Pool().end(), nullptr), search.Pool().end());

    // A ring goes into the pool as its sides.
    loopsearch2d left(loopsearch2d::turn::left);
    left.AddRing(std::vector<point2d>{{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    Ring square;
    ASSERT_TRUE(left.Run({{10, 0}, {10, 10}}, square));
    EXPECT_EQ(square, (Ring{{10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    EXPECT_EQ(left.Steps(), 4);
}

TEST(LoopThroughSegment, SeededPoolsOnACoarseGridKeepTheSearchProperty)
{
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        const LoopInput input = LoopInputFromSeed(seed);
        const std::string fault = CheckLoopSearch(input);
        ASSERT_TRUE(fault.empty()) << "seed " << seed << ": " << fault;
    }
}

} // namespace
} // namespace qrxGe::test
