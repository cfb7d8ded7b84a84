#include "qrxGeEdge2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <random>
#include <vector>

namespace qrxGe {

// Failures name the edges: GoogleTest finds this beside the type.
static void PrintTo(const edge2d& e, std::ostream* os)
{
    *os << '(' << e.StartPoint().x << ',' << e.StartPoint().y << ")-(" << e.EndPoint().x << ',' << e.EndPoint().y << ')';
}

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(QrxGeEdgeRelations, TableOfPairs)
{
    const edge2d x10({0, 0}, {10, 0});
    // Every relation of one pair, asked of the first edge.
    const struct {
        const char* what;
        edge2d a, b;
        bool parallel, collinear, perpendicular, contains, within, overlaps;
    } cases[] = {
        {"overlapping on the x axis", x10, {{5, 0}, {20, 0}}, true, true, false, false, false, true},
        {"touching end to end", x10, {{10, 0}, {20, 0}}, true, true, false, false, false, true},
        {"reversed and inside", x10, {{8, 0}, {2, 0}}, true, true, false, true, false, true},
        {"covering this edge", x10, {{-5, 0}, {15, 0}}, true, true, false, false, true, true},
        {"the same edge reversed", x10, {{10, 0}, {0, 0}}, true, true, false, true, true, true},
        {"parallel 0.05 apart, starts equal", x10, {{0, 0.05}, {10, 0.05}}, true, true, false, true, true, true},
        {"parallel 5 apart", x10, {{0, 5}, {10, 5}}, true, false, false, false, false, false},
        {"collinear apart", x10, {{12, 0}, {20, 0}}, true, true, false, false, false, false},
        {"5.7 degrees off is still parallel", x10, {{0, 3}, {10, 4}}, true, false, false, false, false, false},
        {"8 degrees off is not", x10, {{0, 3}, {10, 4.4}}, false, false, false, false, false, false},
        {"perpendicular crossing", x10, {{5, -5}, {5, 5}}, false, false, true, false, false, false},
        {"dot product 0.0995 counts as perpendicular", x10, {{0, 0}, {1, 9.95}}, false, false, true, false, false, false},
        {"dot product 0.11 does not", x10, {{0, 0}, {1.1, 9.94}}, false, false, false, false, false, false},
        {"degenerate other edge", x10, {{5, 0}, {5, 0}}, false, false, false, true, false, false},
        {"degenerate this edge", {{5, 0}, {5, 0}}, x10, false, false, false, false, true, false},
        // Seen from the second edge the pair is not collinear; Overlaps must not depend on
        // which edge is asked (the property test below asks the other way).
        {"diagonals sharing an end, collinear from one side", {{-3, -3}, {-12, -12}}, {{-7, -8}, {-12, -12}},
         true, true, false, false, false, true},
        {"not finite", x10, {{kNaN, 0}, {5, 0}}, false, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.a.IsParallelTo(c.b), c.parallel);
        EXPECT_EQ(c.a.IsCollinearWith(c.b), c.collinear);
        EXPECT_EQ(c.a.IsPerpendicularTo(c.b), c.perpendicular);
        EXPECT_EQ(c.a.ContainsEdge(c.b), c.contains);
        EXPECT_EQ(c.a.IsWithinEdge(c.b), c.within);
        EXPECT_EQ(c.a.Overlaps(c.b), c.overlaps);
        EXPECT_EQ(c.b.Overlaps(c.a), c.overlaps);
    }
}

TEST(QrxGeEdgeRelations, DistanceIsToTheLineAndRangeLooksAtOneAxis)
{
    const edge2d x10({0, 0}, {10, 0});
    const edge2d up({3, 0}, {3.0005, 10});  // vertical: x differs by less than 0.001
    const struct {
        const char* what;
        edge2d e;
        point2d p;
        double distance;
        bool inRange;
    } cases[] = {
        {"above the middle", x10, {5, 3}, 3.0, true},
        {"on the line beyond the end", x10, {20, 0}, 0.0, false},
        {"beside the start", x10, {-4, 3}, 3.0, false},
        {"far above, x in range", x10, {5, 100}, 100.0, true},
        {"x within 0.001 of the end", x10, {10.0009, 7}, 7.0, true},
        {"x 0.002 past the end", x10, {10.002, 0}, 0.0, false},
        {"vertical edge uses y", up, {50, 5}, 47.0, true},
        {"vertical edge, y beyond", up, {3, 10.5}, 0.0, false},
        {"degenerate edge: distance to its point", {{1, 1}, {1, 1}}, {4, 5}, 5.0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(c.e.DistanceTo(c.p), c.distance, 1e-3);
        EXPECT_EQ(c.e.IsPointInRange(c.p), c.inRange);
    }
    EXPECT_FALSE(x10.IsPointInRange({kNaN, 0}));
}

// The cases interval arithmetic does not settle (the interval oracle below has the rest):
// touches, the mended ends, tolerance bands and the order of p and q along the axis.
TEST(QrxGeEdgeRelations, CollinearOverlapTable)
{
    const edge2d x10({0, 0}, {10, 0});
    const point2d none(-1, -1);
    const struct {
        const char* what;
        edge2d a, b;
        bool result;
        int count;
        point2d p, q;
    } cases[] = {
        {"overlap from inside", x10, {{5, 0}, {20, 0}}, true, 2, {5, 0}, {10, 0}},
        {"touch at the high end", x10, {{10, 0}, {20, 0}}, true, 1, {10, 0}, none},
        {"touch at the low end", x10, {{-10, 0}, {0, 0}}, true, 1, {0, 0}, none},
        {"other covering this edge", x10, {{15, 0}, {-5, 0}}, true, 2, {0, 0}, {10, 0}},
        {"within the band but not exactly touching", x10, {{10.05, 0}, {20, 0}}, false, 0, none, none},
        {"not collinear", x10, {{0, 1}, {10, 1}}, false, 0, none, none},
        {"vertical, ordered on y", {{0, 10}, {0, 0}}, {{0, 4}, {0, 30}}, true, 2, {0, 4}, {0, 10}},
        {"steep edges use y", {{0, 0}, {2, 10}}, {{1, 5}, {3, 15}}, true, 2, {1, 5}, {2, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int count = -1;
        point2d p = none, q = none;
        EXPECT_EQ(c.a.CollinearOverlap(c.b, count, p, q), c.result);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(p, c.p);
        EXPECT_EQ(q, c.q);
    }
}

// Random pairs on a small grid (overlaps, touches and near-parallels common), checked
// against properties that hold whatever the tolerances: the relations agree with each other
// and with plain interval arithmetic along exactly collinear edges.
TEST(QrxGeEdgeRelations, PropertiesOnRandomPairs)
{
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> coord(-12, 12);
    const auto point = [&] { return point2d(coord(rng), coord(rng)); };
    for (int i = 0; i < 20000; ++i) {
        const edge2d a(point(), point()), b(point(), point());
        SCOPED_TRACE(::testing::PrintToString(a) + " and " + ::testing::PrintToString(b));
        ASSERT_EQ(a.Overlaps(b), b.Overlaps(a));
        ASSERT_TRUE(!a.IsCollinearWith(b) || a.IsParallelTo(b));
        ASSERT_EQ(a.IsParallelTo(b), b.IsParallelTo(a));
        ASSERT_EQ(a.ContainsEdge(b), b.IsWithinEdge(a));
    }
}

TEST(QrxGeEdgeRelations, CollinearOverlapAgreesWithIntervalsInBothOrders)
{
    std::mt19937 rng(7);
    const std::vector<point2d> steps = {{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, -3}};
    std::uniform_int_distribution<int> t(-6, 6);
    for (int i = 0; i < 5000; ++i) {
        const point2d d = steps[static_cast<std::size_t>(i) % steps.size()];
        const point2d o(t(rng), t(rng));
        int a0 = t(rng), a1 = t(rng), b0 = t(rng), b1 = t(rng);
        if (a0 == a1 || b0 == b1)
            continue;
        const auto at = [&](int k) { return o + d * k; };
        const edge2d a(at(a0), at(a1)), b(at(b0), at(b1));
        // Along the line: the common stretch of the two parameter intervals.
        const int lo = std::max(std::min(a0, a1), std::min(b0, b1));
        const int hi = std::min(std::max(a0, a1), std::max(b0, b1));
        const int expected = lo > hi ? 0 : (lo == hi ? 1 : 2);
        SCOPED_TRACE(::testing::PrintToString(a) + " and " + ::testing::PrintToString(b));
        for (const auto& [first, second] : {std::pair(a, b), std::pair(b, a)}) {
            int count = -1;
            point2d p, q;
            ASSERT_EQ(first.CollinearOverlap(second, count, p, q), expected > 0);
            ASSERT_EQ(count, expected);
            // p and q come in the order of the first edge's dominant axis.
            if (count == 1) {
                EXPECT_EQ(p, at(lo));
            } else if (count == 2) {
                EXPECT_TRUE((p == at(lo) && q == at(hi)) || (p == at(hi) && q == at(lo)));
            }
            for (int k = 0; k < count; ++k)
                EXPECT_TRUE(first.IsPointOn(k == 0 ? p : q) && second.IsPointOn(k == 0 ? p : q));
        }
    }
}

} // namespace
} // namespace qrxGe
