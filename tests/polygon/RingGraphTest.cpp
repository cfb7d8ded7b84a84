// The ring-edge graph after linking, on the shapes that decide the crossing pass: how edges
// are cut, which edge ends each crossing gathers, where overlaps lie, and the invariants.
#include <gtest/gtest.h>

#include "PlanarTestSupport.h"
#include "qrxGeRingGraph2d.h"

#include <string>

namespace qrxGe::test {
namespace {

const Ring kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const Ring kOffsetSquare{{5, 5}, {15, 5}, {15, 15}, {5, 15}};

// The graph refers to its rings, so this holds them.
struct Linked {
    Linked(Ring a, Ring b, bool dropDegenerate = false) : ringA(std::move(a)), ringB(std::move(b)), graph(ringA, ringB)
    {
        graph.BuildEdges(dropDegenerate);
        graph.CollectCrossings();
        graph.LinkCrossings();
        std::string fault;
        EXPECT_TRUE(graph.CheckInvariants(fault)) << fault;
    }
    Ring ringA, ringB;
    ringgraph2d graph;
};

point2d PlaceOf(const crossingentry2d& e)
{
    return e.atStart ? e.edge->edge.StartPoint() : e.edge->edge.EndPoint();
}

TEST(RingGraph, CutsEdgesAndGathersEveryEdgeEndAtItsCrossing)
{
    const struct {
        const char* name;
        Ring a, b;
        std::size_t edgesA, edgesB, crossings;
        int overlapsA, overlapsB;
        Ring startsA;  // A's edge starts in list order, where the case decides them
    } cases[] = {
        {"squares crossing each other's sides", kSquare, kOffsetSquare, 6, 6, 2, 0, 0,
         {{0, 0}, {10, 0}, {10, 5}, {10, 10}, {5, 10}, {0, 10}}},
        {"clockwise A: the edges of its counter-clockwise copy", Reversed(kSquare), kOffsetSquare, 6, 6, 2, 0, 0,
         {{0, 0}, {10, 0}, {10, 5}, {10, 10}, {5, 10}, {0, 10}}},
        // B's slanted side passes within 0.1 of A's corner (10,0): the corner is the crossing,
        // exactly where it was, and A is cut only where B's top side enters.
        {"crossing beside a vertex", kSquare, {{5.08, 5}, {15, -4.92}, {15, 5}}, 5, 5, 2, 0, 0,
         {{0, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}}},
        {"shared vertex", kSquare, {{10, 10}, {20, 10}, {20, 20}, {10, 20}}, 4, 4, 1, 0, 0, {}},
        {"shared stretch of side: the piece beyond starts at its far end", kSquare, {{10, 2}, {20, 2}, {20, 8}, {10, 8}},
         6, 4, 2, 1, 1, {{0, 0}, {10, 0}, {10, 2}, {10, 8}, {10, 10}, {0, 10}}},
        {"identical rings", kSquare, kSquare, 4, 4, 4, 4, 4, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Linked l(c.a, c.b);
        const ringgraph2d& g = l.graph;
        EXPECT_EQ(g.EdgesA().size, c.edgesA);
        EXPECT_EQ(g.EdgesB().size, c.edgesB);
        ASSERT_EQ(g.Crossings().size(), c.crossings);
        int overlaps[2] = {0, 0};
        Ring starts;
        for (const ringedgelist* list : {&g.EdgesA(), &g.EdgesB()})
            for (const ringedge2d* r = list->head; r; r = list->Following(r)) {
                overlaps[list == &g.EdgesB()] += r->overlap;
                if (list == &g.EdgesA())
                    starts.push_back(r->edge.StartPoint());
            }
        EXPECT_EQ(overlaps[0], c.overlapsA);
        EXPECT_EQ(overlaps[1], c.overlapsB);
        if (!c.startsA.empty()) {
            EXPECT_EQ(starts, c.startsA);
        }
        for (const auto& x : g.Crossings()) {
            // Two ends of A and two of B at one place, and no other crossing near it.
            ASSERT_EQ(x->entries.size(), 4u);
            int ofA = 0;
            for (const crossingentry2d& e : x->entries) {
                ofA += e.edge->owner == &g.EdgesA();
                EXPECT_TRUE(PlaceOf(e) == PlaceOf(x->entries[0]));
            }
            EXPECT_EQ(ofA, 2);
            for (const auto& y : g.Crossings())
                EXPECT_TRUE(x == y || PlaceOf(x->entries[0]).DistanceTo(PlaceOf(y->entries[0])) > 0.2);
        }
    }
    // B's corner lies 0.092 beside A's: one crossing, at A's corner, where both rings pass.
    const Linked corners(kSquare, {{10.06, 10.07}, {20, 10.07}, {20, 20}, {10.06, 20}});
    ASSERT_EQ(corners.graph.Crossings().size(), 1u);
    EXPECT_EQ(corners.graph.Crossings()[0]->entries.size(), 4u);
    EXPECT_EQ(PlaceOf(corners.graph.Crossings()[0]->entries[0]), (point2d{10, 10}));
    // A point repeated in a row adds no edge; the split also drops edges shorter than 0.1.
    const Ring repeated{{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}, nearly{{0, 0}, {10, 0}, {10.05, 0}, {10, 10}, {0, 10}};
    const Ring far{{20, 20}, {30, 20}, {30, 30}};
    EXPECT_EQ(Linked(repeated, far).graph.EdgesA().size, 4u);
    EXPECT_EQ(Linked(nearly, far).graph.EdgesA().size, 5u);
    EXPECT_EQ(Linked(nearly, far, true).graph.EdgesA().size, 4u);
}

} // namespace
} // namespace qrxGe::test
