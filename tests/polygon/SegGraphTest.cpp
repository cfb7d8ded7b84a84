// The segment graph after its three build steps, on the shapes that decide the crossing pass
// and the pruning: how many vertices and edges remain, and how many half-edges meet at each
// vertex, in vertex-list order.
#include <gtest/gtest.h>

#include "SegmentOperationsProperty.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qrxGe::test {
namespace {

struct GraphCase {
    const char* name;
    Segments segments;
    std::size_t edges;
    std::vector<std::size_t> halfEdges;  // per vertex, in list order
};

TEST(SegGraph, WhatTheBuildStepsLeave)
{
    const Segments square{{{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}, {{10, 10}, {0, 10}}, {{0, 10}, {0, 0}}};
    const auto with = [&](Segments more) {
        Segments s = square;
        s.insert(s.end(), more.begin(), more.end());
        return s;
    };
    const GraphCase cases[] = {
        {"two crossing segments: the four pieces each keep a free end", {{{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}}, 0, {}},
        {"closed square", square, 4, {2, 2, 2, 2}},
        {"a segment from inside a side to outside: the side is split, the segment dropped",
         with({{{5, 0}, {5, -5}}}), 5, {2, 2, 2, 2, 2}},
        {"a later segment covered by a side is removed", with({{{2, 0}, {8, 0}}}), 4, {2, 2, 2, 2}},
        {"an earlier segment inside a later side cuts it into its outer pieces",
         {{{2, 0}, {8, 0}}, {{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}, {{10, 10}, {0, 10}}, {{0, 10}, {0, 0}}}, 6,
         {2, 2, 2, 2, 2, 2}},
        {"a two-segment tail at a corner is pruned", with({{{10, 10}, {15, 15}}, {{15, 15}, {20, 15}}}), 4, {2, 2, 2, 2}},
        {"three segments with one common end meet at one vertex",
         {{{0, 0}, {5, 5}}, {{10, 0}, {5, 5}}, {{5, 10}, {5, 5}}, {{0, 0}, {10, 0}}, {{10, 0}, {10, 10}},
          {{10, 10}, {5, 10}}},
         6, {2, 3, 3, 2, 2}},
        {"a chain open at both ends leaves no bare vertex", with({{{2, -5}, {4, -6}}, {{4, -6}, {6, -5}}, {{6, -5}, {8, -7}}}),
         4, {2, 2, 2, 2}},
    };
    for (const GraphCase& c : cases) {
        SCOPED_TRACE(c.name);
        seggraph2d g({});
        BuildSegmentGraph(g, c.segments);
        EXPECT_EQ(g.Edges().size(), c.edges);
        std::vector<std::size_t> halfEdges;
        for (const auto& v : g.Vertices())
            halfEdges.push_back(v->halfEdges.size());
        EXPECT_EQ(halfEdges, c.halfEdges);
        std::string fault;
        EXPECT_TRUE(g.CheckInvariants(fault)) << fault;
    }
}

TEST(SegGraph, AnglesAreStoredOnlyWhereThePolicyKeepsThem)
{
    const Segments square{{{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}, {{10, 10}, {0, 10}}, {{0, 10}, {0, 0}}};
    for (const bool store : {false, true}) {
        seggraph2d g({store, false, false});
        BuildSegmentGraph(g, square);
        ASSERT_EQ(g.Edges().size(), 4u);
        const graphedge2d& right = *std::next(g.Edges().begin());
        EXPECT_EQ(right.angle, store ? right.segment.Angle() : graphedge2d::kNoAngle);
        // The half-edge at the upper end of the right side points back along it: south.
        const graphvertex2d& corner = *right.endVertex;
        const auto h = std::find_if(corner.halfEdges.begin(), corner.halfEdges.end(),
                                    [&](const halfedge2d& x) { return x.edge == &right; });
        ASSERT_NE(h, corner.halfEdges.end());
        EXPECT_NEAR(g.HalfEdgeOutAngle(*h), 1.5 * M_PI, 1e-6);
    }
}

// A ring's sides, the last point joining the first; a point repeated within 0.1 adds no side.
TEST(SegGraph, RingsGiveTheirSides)
{
    seggraph2d g({});
    g.AddRing({{0, 0}, {10, 0}, {10.05, 0.05}, {10, 10}, {0, 10}, {0, 0.08}});
    g.AddRing({});
    g.SplitAtCrossings();
    g.BuildVertices();
    g.PruneDanglingChains();
    EXPECT_EQ(g.Edges().size(), 4u);
    EXPECT_EQ(g.Vertices().size(), 4u);
}

} // namespace
} // namespace qrxGe::test
