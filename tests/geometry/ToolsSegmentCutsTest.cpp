// Cuts of polygons by planes (CTools::GetIntersectLineSegs): documented cases as a table,
// and the dormer's use, sloped roof faces cut by level planes, against a level-line count
// worked out independently in plan.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
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

// ---- The dormer's use: sloped faces cut by level planes ---------------------------------

// A plan outline lifted onto the plane z = 1000 + 0.4 x - 0.25 y.
Ring Sloped(const std::vector<std::pair<double, double>>& plan)
{
    Ring face;
    for (const auto& [x, y] : plan)
        face.push_back({x, y, 1000 + 0.4 * x - 0.25 * y});
    return face;
}

// The level line of the face at height h, worked in plan: the edges that pass h (no
// vertex at h), their crossing points sorted along the line and paired.
std::vector<double> LevelPieceLengths(const Ring& face, double h)
{
    std::vector<GePoint3d> hits;
    for (std::size_t k = 0; k < face.size(); ++k) {
        const GePoint3d& a = face[k];
        const GePoint3d& b = face[(k + 1) % face.size()];
        if ((a.z - h) * (b.z - h) < 0) {
            const double t = (h - a.z) / (b.z - a.z);
            hits.push_back(a + (b - a) * t);
        }
    }
    // The level line runs along (0.25, 0.4) in plan.
    std::sort(hits.begin(), hits.end(), [](const GePoint3d& p, const GePoint3d& q) {
        return 0.25 * p.x + 0.4 * p.y < 0.25 * q.x + 0.4 * q.y;
    });
    std::vector<double> lengths;
    for (std::size_t k = 0; k + 1 < hits.size(); k += 2)
        lengths.push_back(hits[k].DistanceTo(hits[k + 1]));
    return lengths;
}

TEST(ToolsPlaneCut, SlopedFacesCutLevelAgreeWithThePlanCountAndNeverGiveZeroLengthPieces)
{
    const std::vector<std::pair<const char*, Ring>> faces = {
        {"convex", Sloped({{0, 0}, {6000, 500}, {7000, 4000}, {3000, 6000}, {-500, 3500}})},
        // The tips and notch bottoms of its teeth lie at heights shared by several vertices.
        {"comb", Sloped({{0, 0}, {9000, 0}, {9000, 6000}, {7000, 6000}, {7000, 2000}, {5000, 2000}, {5000, 6000},
                         {3000, 6000}, {3000, 2000}, {1000, 2000}, {1000, 6000}, {0, 6000}})},
        {"clockwise notch", tools_test::Reversed(Sloped({{0, 0}, {8000, 0}, {8000, 8000}, {4000, 3000}, {0, 8000}}))},
    };
    for (const auto& [name, face] : faces) {
        double low = 1e300, high = -1e300;
        for (const GePoint3d& p : face)
            low = std::min(low, p.z), high = std::max(high, p.z);
        for (int step = 1; step < 40; ++step) {
            const double h = low + (high - low) * (step + 0.37) / 40.0;
            const std::string what = std::string(name) + " at " + std::to_string(h);
            Ring pieces;
            const int result = CTools::GetIntersectLineSegs(face, kUp, {0, 0, h}, pieces, 1e-6, 0);
            const std::vector<double> expected = LevelPieceLengths(face, h);
            EXPECT_EQ(result, expected.empty() ? 0 : 1) << what;
            ASSERT_EQ(pieces.size(), 2 * expected.size()) << what;
            double total = 0.0, expectedTotal = 0.0;
            for (std::size_t k = 0; k < pieces.size(); k += 2) {
                EXPECT_NEAR(pieces[k].z, h, 1e-6) << what;
                EXPECT_NEAR(pieces[k + 1].z, h, 1e-6) << what;
                const GePoint3d middle = pieces[k] + (pieces[k + 1] - pieces[k]) * 0.5;
                EXPECT_EQ(CTools::PtRegionRelation(middle, face, 1e-6), 1) << what;
                total += pieces[k].DistanceTo(pieces[k + 1]);
                expectedTotal += expected[k / 2];
            }
            EXPECT_NEAR(total, expectedTotal, 1e-6) << what;
        }
        // Through one vertex or several at one height: never a zero-length piece.
        for (const GePoint3d& vertex : face) {
            Ring pieces;
            CTools::GetIntersectLineSegs(face, kUp, vertex, pieces, 1e-6, 0);
            for (std::size_t k = 0; k < pieces.size(); k += 2)
                EXPECT_GT(pieces[k].DistanceTo(pieces[k + 1]), 1.0) << name << " through " << vertex.x << "," << vertex.y;
        }
    }
}

}  // namespace
