// The segment graph after its three build steps, on the shapes that decide the crossing pass
// and the pruning: how many edges remain, and how many half-edges meet at each vertex, in
// vertex-list order.
#include <gtest/gtest.h>

#include "SegmentOperationsProperty.h"

namespace qrxGe::test {
namespace {

TEST(SegGraph, WhatTheBuildStepsLeave)
{
    const Segments square = Sides({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const struct {
        const char* name;
        Segments segments;
        std::size_t edges;
        std::vector<std::size_t> halfEdges;  // per vertex, in list order
    } cases[] = {
        {"two crossing segments: the four pieces each keep a free end", {{{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}}, 0, {}},
        {"closed square", square, 4, {2, 2, 2, 2}},
        {"a segment from inside a side to outside: the side is split, the segment dropped",
         Joined(square, {{{5, 0}, {5, -5}}}), 5, {2, 2, 2, 2, 2}},
        {"a later segment covered by a side is removed", Joined(square, {{{2, 0}, {8, 0}}}), 4, {2, 2, 2, 2}},
        {"an earlier segment inside a later side cuts it into its outer pieces",
         Joined({{{2, 0}, {8, 0}}}, square), 6, {2, 2, 2, 2, 2, 2}},
        {"a two-segment tail at a corner is pruned", Joined(square, {{{10, 10}, {15, 15}}, {{15, 15}, {20, 15}}}), 4,
         {2, 2, 2, 2}},
        {"a branching tree at a corner goes down to its root, which is left with one half-edge only when both branches are gone",
         Joined(square, {{{10, 10}, {15, 15}}, {{15, 15}, {20, 15}}, {{15, 15}, {15, 20}}, {{20, 15}, {25, 15}}}), 4,
         {2, 2, 2, 2}},
        {"a polyline apart from the square goes whole", Joined(square, {{{20, 0}, {25, 0}}, {{25, 0}, {25, 5}}}), 4,
         {2, 2, 2, 2}},
        {"a bridge between two squares stays", Joined(Joined(square, Sides({{20, 0}, {30, 0}, {30, 10}, {20, 10}})), {{{10, 5}, {20, 5}}}),
         11, {2, 2, 3, 2, 2, 2, 2, 2, 2, 3}},
        {"three segments with one common end meet at one vertex",
         {{{0, 0}, {5, 5}}, {{10, 0}, {5, 5}}, {{5, 10}, {5, 5}}, {{0, 0}, {10, 0}}, {{10, 0}, {10, 10}},
          {{10, 10}, {5, 10}}},
         6, {2, 3, 3, 2, 2}},
    };
    for (const auto& c : cases) {
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
    // A ring gives its sides; a point repeated within 0.1 adds no side.
    seggraph2d g({});
    g.AddRing({{0, 0}, {10, 0}, {10.05, 0.05}, {10, 10}, {0, 10}, {0, 0.08}});
    g.AddRing({});
    g.SplitAtCrossings();
    g.BuildVertices();
    EXPECT_EQ(g.Edges().size(), 4u);
    EXPECT_EQ(g.Vertices().size(), 4u);
}

} // namespace
} // namespace qrxGe::test
