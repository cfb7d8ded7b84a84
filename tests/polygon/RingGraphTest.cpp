// The ring-edge graph after linking: how edges are cut, which edge ends each crossing
// gathers, where overlaps lie, and the graph's invariants.
#include <gtest/gtest.h>

#include "PlanarTestSupport.h"
#include "qrxGeRingGraph2d.h"

#include <string>

namespace qrxGe::test {
namespace {

const Ring kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};

std::vector<edge2d> Edges(const ringedgelist& list)
{
    std::vector<edge2d> edges;
    for (const ringedge2d* r = list.head; r; r = list.Following(r))
        edges.push_back(r->edge);
    return edges;
}

int Overlaps(const ringedgelist& list)
{
    int n = 0;
    for (const ringedge2d* r = list.head; r; r = list.Following(r))
        n += r->overlap;
    return n;
}

point2d PlaceOf(const crossingentry2d& e)
{
    return e.atStart ? e.edge->edge.StartPoint() : e.edge->edge.EndPoint();
}

// The graph refers to its rings, so the fixture holds them.
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

struct GraphCase {
    const char* name;
    Ring a, b;
    std::size_t edgesA, edgesB, crossings;
    int overlapsA, overlapsB;
};

TEST(RingGraph, CutsEdgesAndGathersEveryEdgeEndAtItsCrossing)
{
    const GraphCase cases[] = {
        {"squares crossing each other's sides", kSquare, {{5, 5}, {15, 5}, {15, 15}, {5, 15}}, 6, 6, 2, 0, 0},
        // B's slanted side passes within 0.1 of A's corner (10,0): the corner is the crossing.
        {"crossing beside a vertex", kSquare, {{5.08, 5}, {15, -4.92}, {15, 5}}, 5, 5, 2, 0, 0},
        {"shared vertex", kSquare, {{10, 10}, {20, 10}, {20, 20}, {10, 20}}, 4, 4, 1, 0, 0},
        {"shared stretch of side", kSquare, {{10, 2}, {20, 2}, {20, 8}, {10, 8}}, 6, 4, 2, 1, 1},
        {"identical rings", kSquare, kSquare, 4, 4, 4, 4, 4},
    };
    for (const GraphCase& c : cases) {
        SCOPED_TRACE(c.name);
        Linked l(c.a, c.b);
        const ringgraph2d& g = l.graph;
        EXPECT_EQ(g.EdgesA().size, c.edgesA);
        EXPECT_EQ(g.EdgesB().size, c.edgesB);
        ASSERT_EQ(g.Crossings().size(), c.crossings);
        EXPECT_EQ(Overlaps(g.EdgesA()), c.overlapsA);
        EXPECT_EQ(Overlaps(g.EdgesB()), c.overlapsB);
        for (const auto& x : g.Crossings()) {
            // Two ends of A and two of B at one place.
            ASSERT_EQ(x->entries.size(), 4u);
            int ofA = 0;
            for (const crossingentry2d& e : x->entries) {
                ofA += e.edge->owner == &g.EdgesA();
                EXPECT_TRUE(PlaceOf(e) == PlaceOf(x->entries[0]));
            }
            EXPECT_EQ(ofA, 2);
        }
    }
}

TEST(RingGraph, CrossingBesideAVertexKeepsTheVertex)
{
    Linked l(kSquare, {{5.08, 5}, {15, -4.92}, {15, 5}});
    Ring starts;
    for (const edge2d& e : Edges(l.graph.EdgesA()))
        starts.push_back(e.StartPoint());
    // Cut only where B's top side enters; the corner stays where it was, exactly.
    ASSERT_EQ(starts, (Ring{{0, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}}));
    EXPECT_EQ(starts[1].x, 10.0);
    EXPECT_EQ(starts[1].y, 0.0);
}

TEST(RingGraph, PieceBeyondASharedStretchStartsAtItsFarEnd)
{
    Linked l(kSquare, {{10, 2}, {20, 2}, {20, 8}, {10, 8}});
    const auto edges = Edges(l.graph.EdgesA());
    const std::vector<edge2d> right(edges.begin() + 1, edges.begin() + 4);
    const Ring ends{right[0].StartPoint(), right[1].StartPoint(), right[2].StartPoint(), right[2].EndPoint()};
    EXPECT_EQ(ends, (Ring{{10, 0}, {10, 2}, {10, 8}, {10, 10}}));
}

TEST(RingGraph, ClockwiseRingGivesTheEdgesOfItsCounterClockwiseCopy)
{
    const Ring b{{5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const Ring clockwise{{0, 10}, {10, 10}, {10, 0}, {0, 0}};
    Linked given(clockwise, b), reversed(Reversed(clockwise), b);
    const auto e1 = Edges(given.graph.EdgesA()), e2 = Edges(reversed.graph.EdgesA());
    ASSERT_EQ(e1.size(), e2.size());
    for (std::size_t i = 0; i < e1.size(); ++i) {
        EXPECT_EQ(e1[i].StartPoint(), e2[i].StartPoint());
        EXPECT_EQ(e1[i].EndPoint(), e2[i].EndPoint());
    }
}

TEST(RingGraph, RepeatedPointKeepsADegenerateEdgeUnlessDropped)
{
    const Ring a{{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Ring b{{20, 20}, {30, 20}, {30, 30}};
    EXPECT_EQ(Linked(a, b).graph.EdgesA().size, 5u);
    EXPECT_EQ(Linked(a, b, true).graph.EdgesA().size, 4u);
}

// B's vertex (3.92,-0.04) lies beside A's corner (4,0), and A's left side is cut 0.1024 above
// it: the crossing pass gives the corner two ids, which must end as one crossing.
TEST(RingGraph, NearTolerancePlaceWithTwoIdsIsOneCrossing)
{
    Linked l({{4, 0}, {9, 0}, {9, 3}, {4, 3}}, {{7.92, 7.08}, {3.92, -0.04}, {6.96, 4.96}});
    int nearCorner = 0;
    for (const auto& x : l.graph.Crossings())
        nearCorner += PlaceOf(x->entries[0]).DistanceTo({4, 0}) < 0.2;
    EXPECT_EQ(nearCorner, 1);
}

TEST(RingGraph, InputThatIsNotFiniteIsRefused)
{
    const Ring bad{{5, 5}, {NAN, 5}, {15, 15}};
    ringgraph2d g(kSquare, bad);
    g.BuildEdges();
    g.CollectCrossings();
    g.LinkCrossings();
    EXPECT_FALSE(g.IsUsable());
}

} // namespace
} // namespace qrxGe::test
