#pragma once
// The work graph of the two-ring operations (union, subtraction, intersection, split).
//
// Two closed rings A and B become two cyclic lists of directed edges, both running
// counter-clockwise whatever the input orientation, so that every ring's interior lies on the
// left of its edges. The crossing pass cuts every edge wherever it meets an edge of the other
// ring and gives the edge ends that meet at one place one crossing id; linking then turns the
// ids into crossing records that list those edge ends. The operations classify the edges
// (keep), walk the graph from crossing to crossing and trace their result rings.
//
// Once linked, the graph holds three invariants (CheckInvariants): each list is a closed
// chain, an edge of A meets an edge of B only at ends of both, and every crossing field
// points to the crossing that lists the edge with the matching end.
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
    // Crossing ids while the crossing pass runs (0: none), then the linked records.
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
    std::uint8_t overlap = 0;  // a piece lying along an edge of the other ring
    // With overlap: the other ring's piece runs the other way, so the two interiors lie on
    // opposite sides of the shared stretch.
    std::uint8_t opposed = 0;
};

// One ring's edges as a cyclic list. Records live in the store, whose addresses never move,
// so crossing fields and entries may point at them for the life of the graph.
struct ringedgelist {
    ringedge2d* head = nullptr;
    std::size_t size = 0;
    std::deque<ringedge2d> store;

    ringedge2d* Append(const edge2d& e);
    // A new record directly behind `at`.
    ringedge2d* InsertAfter(ringedge2d* at, const edge2d& e);
    void Unlink(ringedge2d* r);
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
    // Cuts edges where they meet the other ring and gives each meeting place an id.
    void CollectCrossings();
    // Replaces the ids by crossing records, created in linking order.
    void LinkCrossings();
    // Where tolerance gathered edge ends at different points into one crossing (two
    // crossings closer than 0.1 on one edge, a crossing beside a vertex), cuts every edge of
    // the crossing that runs through another of its points, there. The piece between the two
    // points starts and ends at the crossing, so that a walk can follow each ring through
    // the points where the rings truly meet. Union, subtraction and intersection call it
    // after linking.
    void CutAtGatheredPoints();
    // False when the crossing pass gave up: an input that is not finite, or cuts beyond
    // what two rings of these sizes can produce (coordinates too large for the 0.1
    // tolerance). The operations then answer as when a walk finds no way on.
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
    using group = std::vector<int*>;
    struct overlap {
        point2d p, q;   // along the record being cut
        int fp = 0;     // 0 when the stretch begins at the record's start, 1 inside
        int fq = 0;     // 0 when it ends at the record's end, -1 inside
        bool opposed = false;
    };

    void BuildList(const std::vector<point2d>& ring, ringedgelist& list, bool dropDegenerate);
    // One pair of the crossing pass; a may be shortened.
    void MeetPair(ringedge2d* a, ringedge2d* b);
    // The ends of r meeting the point p, cut when p lies inside r.
    void AddPointFields(ringedgelist& list, ringedge2d* r, const point2d& p, group& g);
    void AddTouchFields(ringedge2d* r, const point2d& p, group& g);
    void AddOverlapFields(ringedgelist& list, ringedge2d* r, const overlap& o, group& gp, group& gq);
    // Cuts r at p: the new record behind r runs from p to r's old end and takes its end id.
    ringedge2d* Cut(ringedgelist& list, ringedge2d* r, const point2d& p);
    crossing2d* CrossingById(int id, const crossingentry2d& entry);
    void CutAtGatheredPoints(crossing2d& c);
    void FreeCrossings();

    const std::vector<point2d>& ringA_;
    const std::vector<point2d>& ringB_;
    ringedgelist edgesA_;
    ringedgelist edgesB_;
    std::vector<std::unique_ptr<crossing2d>> crossings_;

    // Crossing ids; one place ends as one crossing even when tolerance let it collect two.
    placeids ids_;
    // The crossing of each resolved id: finds the one record a newest-first search of the
    // crossing vector would find, without the search.
    std::vector<crossing2d*> crossingOfId_;
    std::size_t cutsLeft_ = 0;
    bool usable_ = true;
};

} // namespace qrxGe
