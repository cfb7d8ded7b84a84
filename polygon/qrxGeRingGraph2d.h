#pragma once
// The work graph of the two-ring operations (union, subtraction, intersection, split).
//
// Two closed rings A and B become two cyclic lists of directed edges, both running
// counter-clockwise whatever the input orientation, so that every ring's interior lies on the
// left of its edges. The crossing pass notes every place where the rings meet (segmentnoder:
// a crossing at any angle, a vertex within 0.1 of the other ring's side, the ends of a stretch
// the two share), moves the edge ends within 0.1 of such a place onto it and cuts every edge
// at the places within 0.1 of it. The rings' edges then meet only at shared ends, and a
// stretch they share is one edge in each list with the same two ends (the two are twins). A
// part of a ring narrower than 0.1 that the pass drew onto one place or one stretch (a thin
// spike, out and straight back) encloses nothing and is left out of its list, and so is an
// edge without length (a point repeated in a row; the split drops those shorter than 0.1).
// Two such spikes that reach past each other's tips (two sharp corners overlapping within the
// tolerance) meet at one place, where the rings then touch, unless moving the one tip onto the
// other would swing the sides through it across the other ring's (the two run out and back
// along a stretch a few tenths long); then each spike is left out on its own. A ring the pass
// drew into a cycle running clockwise (blades round a hub whose corners became one or two
// places, leaving a sliver turned over) encloses nothing and its list is left empty.
// Linking turns each place both rings pass into a crossing record that lists the edge ends
// meeting there. The operations classify the edges (keep), walk the graph from crossing to
// crossing and trace their result rings.
//
// Once linked, the graph holds three invariants (CheckInvariants): each list is a closed
// chain, an edge of A meets an edge of B only at ends of both (no crossing, and no end of one
// on the other but at its ends), and every crossing field points to the crossing that lists
// the edge with the matching end.
//
// One graph serves one call: it keeps references to the caller's rings, owns its records,
// and frees them all when it is destroyed, on every path.

#include "qrxGeEdge2d.h"
#include "qrxGeGraphSupport.h"
#include "qrxGeRing.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace qrxGe {

struct crossing2d;
struct ringedgelist;

// One directed edge of ring A or ring B.
struct ringedge2d {
    // -1000 times the single-precision pi: no angle cached yet.
    static constexpr double kNoAngle = -3141.5927734375;

    edge2d edge;
    // Crossing ids from the crossing pass (0: none), then the linked records.
    int startId = 0;
    int endId = 0;
    crossing2d* startCrossing = nullptr;
    crossing2d* endCrossing = nullptr;
    ringedgelist* owner = nullptr;
    // Cyclic neighbours in the owner's list.
    ringedge2d* prev = nullptr;
    ringedge2d* next = nullptr;
    // The split caches direction angles here for its next-edge rule.
    double angle = kNoAngle;
    std::uint8_t keep = 255;   // 255 unclassified, 1 in the result, 0 not
    std::uint8_t visited = 0;
    std::uint8_t overlap = 0;  // a piece lying along an edge of the other ring: its twin
    ringedge2d* twin = nullptr;

    // With overlap: whether the twin runs the same way, so that both interiors lie on one
    // side of the shared stretch.
    bool RunsWithTwin() const;
};

// One ring's edges as a cyclic list. Records live in the store, whose addresses never move,
// so crossing fields and entries may point at them for the life of the graph.
struct ringedgelist {
    ringedge2d* head = nullptr;
    std::size_t size = 0;
    std::deque<ringedge2d> store;

    ringedge2d* Append(const edge2d& e);
    void Clear();
    // The record after r in list order, or null after the last one. Records inserted behind
    // r before the call are visited.
    ringedge2d* Following(const ringedge2d* r) const { return r->next == head ? nullptr : r->next; }
};

struct crossingentry2d {
    ringedge2d* edge = nullptr;
    std::uint8_t used = 0;     // the split: a walk has left the crossing through this entry
    std::uint8_t atStart = 0;  // 1: the edge starts here, so leaving along it runs forward
};

// One place where edges of the two rings meet.
struct crossing2d {
    int id = 0;
    std::vector<crossingentry2d> entries;
};

class ringgraph2d {
public:
    ringgraph2d(const std::vector<point2d>& a, const std::vector<point2d>& b);
    ~ringgraph2d();
    ringgraph2d(const ringgraph2d&) = delete;
    ringgraph2d& operator=(const ringgraph2d&) = delete;

    // Both rings to counter-clockwise edge lists; the split drops degenerate edges.
    void BuildEdges(bool dropDegenerate = false);
    // Cuts the edges where the rings meet and gives each place both rings pass an id.
    void CollectCrossings();
    // Replaces the ids by crossing records, created in linking order, and pairs twins.
    void LinkCrossings();
    // False when the crossing pass gave up: a coordinate that is not finite or beyond
    // kLargestCoordinate, or pieces that would not settle. The operations then answer as
    // when a walk finds no way on.
    bool IsUsable() const { return usable_; }

    // The three invariants after linking; on failure `fault` says which record broke one.
    bool CheckInvariants(std::string& fault) const;

    const std::vector<point2d>& RingA() const { return ringA_; }
    const std::vector<point2d>& RingB() const { return ringB_; }
    ringedgelist& EdgesA() { return edgesA_; }
    ringedgelist& EdgesB() { return edgesB_; }
    const ringedgelist& EdgesA() const { return edgesA_; }
    const ringedgelist& EdgesB() const { return edgesB_; }
    const std::vector<std::unique_ptr<crossing2d>>& Crossings() const { return crossings_; }

private:
    void BuildList(const std::vector<point2d>& ring, ringedgelist& list, bool dropDegenerate);
    crossing2d* CrossingById(int id, const crossingentry2d& entry);
    void PairTwins();
    void FreeCrossings();

    const std::vector<point2d>& ringA_;
    const std::vector<point2d>& ringB_;
    ringedgelist edgesA_;
    ringedgelist edgesB_;
    std::vector<std::unique_ptr<crossing2d>> crossings_;

    // The crossing of each id: finds the one record a newest-first search of the crossing
    // vector would find, without the search.
    std::vector<crossing2d*> crossingOfId_;
    bool usable_ = true;
};

} // namespace qrxGe
