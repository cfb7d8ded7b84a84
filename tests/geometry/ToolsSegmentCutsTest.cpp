// Cuts of polygons by planes (CTools::GetIntersectLineSegs): documented cases as a table, and
// level cuts of a sloped face through its vertices. The cuts are compared with clips in the
// oracle target, the dormer's level cuts of sloped faces among them.
#include <gtest/gtest.h>

#include <vector>

#include "Tools.h"
#include "ToolsTestSupport.h"

using tools_test::Ring;

namespace {

const GeVector3d kUp{0, 0, 1};

struct PlaneCutCase {
    const char* name;
    Ring polygon;
    GeVector3d normal;
    GePoint3d point;
    int mode;
    Ring pieces;  // expected start/end pairs
};

const Ring kDiamond{{1, 0, 0}, {2, 1, 0}, {1, 2, 0}, {0, 1, 0}};
const Ring kSquare{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};

TEST(ToolsPlaneCut, TableOfCases)
{
    const std::vector<PlaneCutCase> cases = {
        {"diamond at x = 1.25, mode 0", kDiamond, {1, 0, 0}, {1.25, 0, 0}, 0, {{1.25, 1.75, 0}, {1.25, 0.25, 0}}},
        {"diamond at x = 1.25, mode 1", kDiamond, {1, 0, 0}, {1.25, 0, 0}, 1, {{1.25, 1.75, 0}, {1.25, 0.25, 0}}},
        {"through two vertices", kDiamond, {1, 0, 0}, {1, 0, 0}, 0, {{1, 2, 0}, {1, 0, 0}}},
        {"touching one vertex only", kDiamond, {1, 0, 0}, {2, 0, 0}, 0, {}},
        {"along an edge, on the boundary", kSquare, {0, 1, 0}, {0, 0, 0}, 0, {{10, 0, 0}, {0, 0, 0}}},
        {"along an edge, strictly inside only", kSquare, {0, 1, 0}, {0, 0, 0}, 1, {}},
        {"a plane parallel to the polygon", kSquare, {0, 0, 2}, {0, 0, 5}, 0, {}},
        {"a polygon of two points", {{0, 0, 0}, {10, 10, 0}}, {1, 0, 0}, {5, 0, 0}, 0, {}},
        {"a zero plane normal", kSquare, {0, 0, 0}, {5, 5, 0}, 0, {}},
        {"a polygon without a normal", {{0, 0, 0}, {5, 5, 0}, {10, 10, 0}}, {1, 0, 0}, {5, 0, 0}, 0, {}},
    };
    for (const PlaneCutCase& c : cases) {
        Ring out{{9, 9, 9}};
        const int result = CTools::GetIntersectLineSegs(c.polygon, c.normal, c.point, out, 1e-6, c.mode);
        EXPECT_EQ(result, c.pieces.empty() ? 0 : 1) << c.name;
        ExpectPointsNear(out, c.pieces, 1e-5);
        if (::testing::Test::HasFailure())
            FAIL() << c.name;
    }
}

// The two-polygon form's own cases; its cuts are compared with clips in the oracle target.
TEST(ToolsPlaneCut, TwoPolygonsParallelOrOfTwoPointsGiveNothing)
{
    Ring out{{9, 9, 9}};
    EXPECT_EQ(CTools::GetIntersectLineSegs(kSquare, tools_test::Moved(kSquare, 3, 3), out, 1e-6, 0), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(CTools::GetIntersectLineSegs(kSquare, {{0, 0, 0}, {1, 1, 1}}, out, -1.0, 0), 0);
}

// Level cuts through the vertices of a sloped comb, where several vertices share one height:
// a chord through a vertex meets its two edges at one parameter, which must give no piece.
TEST(ToolsPlaneCut, LevelCutsThroughVerticesGiveNoZeroLengthPiece)
{
    Ring comb;
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{
             {0, 0}, {9000, 0}, {9000, 6000}, {7000, 6000}, {7000, 2000}, {5000, 2000}, {5000, 6000}, {3000, 6000},
             {3000, 2000}, {1000, 2000}, {1000, 6000}, {0, 6000}})
        comb.push_back({x, y, 1000 + 0.4 * x - 0.25 * y});
    for (const GePoint3d& vertex : comb) {
        Ring pieces;
        CTools::GetIntersectLineSegs(comb, kUp, vertex, pieces, 1e-6, 0);
        for (std::size_t k = 0; k < pieces.size(); k += 2)
            EXPECT_GT(pieces[k].DistanceTo(pieces[k + 1]), 1.0) << "through " << vertex.x << "," << vertex.y;
    }
}

}  // namespace
