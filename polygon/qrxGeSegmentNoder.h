#pragma once
// The meeting places of a set of segments, for the ring graph and the segment graph.
//
// Two segments meet where one crosses the other, at any angle, and where an end of one lies
// within 0.1 of the other (a touch, or either end of a stretch the two share). Each meeting
// place becomes a node: an end of a segment where one is involved, else the crossing point;
// a place closer than 0.1 to an earlier node is that node. Every segment is then routed
// through the nodes of its own meetings and every other node within 0.1 of it, in order
// along it, and an end within 0.1 of a node is moved onto it; ends given as one point (two
// sides of a ring at their vertex) go to one node together.
//
// Routing bends a segment, and a bent piece can cross another; the noder meets the pieces
// again and repeats, routing the segments anew, until no two pieces cross and no end meets a
// piece of another group away from a node. Pieces then meet only at shared ends, and a
// stretch that two segments share becomes one piece in each, with the same two ends.
// Segments of one group (the sides of one ring) are not noded against each other where they
// only come near; they are still cut where they cross or pass by a node.
//
// Computations run on differences of coordinates, so a place is found as well at a national
// grid's coordinates (1e6 to 1e12) as at the origin. Coordinates must be finite and at most
// kLargestCoordinate in magnitude (beyond it the tolerance is within a few units of the last
// place): Run refuses others, and refuses a set whose pieces still cross after a dozen
// rounds.
//
// Candidates are found through the kernel's uniform grid and end-point hash, so the time
// grows about with the number of pieces, not with its square.

#include "qrxGeEdge2d.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qrxGe {

// Points closer than this are one place; a point this near a segment lies on it.
inline constexpr double kPlaceTolerance = 0.1;
// The largest coordinate magnitude the graphs take.
inline constexpr double kLargestCoordinate = 4e14;

// Finite and no larger than kLargestCoordinate.
bool IsWithinReach(const point2d& p);

class segmentgrid;

// One point of a routed segment: a node, or an end of the segment that meets nothing
// (node -1).
struct nodedstop {
    point2d point;
    int node = -1;
};

class segmentnoder {
public:
    // group[i] is segment i's group; segments of one group meet only where they cross.
    segmentnoder(std::span<const edge2d> segments, std::span<const int> group);

    // Finds the nodes and routes every segment; false when a coordinate is out of reach or
    // the pieces do not settle.
    bool Run();

    const std::vector<point2d>& Nodes() const { return nodes_; }
    // Segment i's stops from its start to its end. Consecutive stops are different nodes or
    // free ends; a segment whose ends both went to one node has a single stop.
    const std::vector<nodedstop>& Stops(std::size_t i) const { return stops_[i]; }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // A meeting: its point, the segment end it is (if any), the segments that are to pass
    // through its node, and for a crossing of pieces the nodes at their ends (-1 for none);
    // for a node that meets a piece not routed through it, that node and the piece's ends.
    struct place {
        point2d point;
        nodedstop* end = nullptr;
        std::size_t through = kNone;
        std::size_t alsoThrough = kNone;
        std::array<int, 4> pieceEnds{-1, -1, -1, -1};
        int node = -1;
    };
    struct piece {
        std::size_t segment;
        std::size_t at;  // stops_[segment][at] to stops_[segment][at + 1]
    };

    std::vector<place> FirstMeetings(const segmentgrid& grid);
    // Gives every place a node; false when that changes no route.
    bool AddNodes(const std::vector<place>& places);
    // Where pieces still cross beside the node their crossing went to, though both already
    // pass it (a cluster of nodes the routes run through in different orders, as where a
    // dozen segments pass through a disc a few tenths across), the nodes at the crossing
    // pieces' ends near it become that node; where a node lies beside a piece of a segment
    // that ends at a node short of it, that end becomes the node. False when none does.
    bool GatherAround(const std::vector<place>& places);
    int Resolved(int node) const;
    // Moves free ends onto nodes and routes every segment through its nodes.
    void Route(const segmentgrid& grid);
    // Ends given as one point (two sides of a ring at their vertex) stay one: where routing
    // took one of them to a node (up to the gathering distance away, beyond the reach of the
    // other), a free one goes there too. True when one did; the segments are then routed anew.
    bool JoinEndsGivenAsOne();
    // Meetings of the pieces away from shared ends.
    std::vector<place> FurtherMeetings();
    const nodedstop& From(const piece& p) const { return stops_[p.segment][p.at]; }
    const nodedstop& To(const piece& p) const { return stops_[p.segment][p.at + 1]; }

    std::span<const edge2d> segments_;
    std::span<const int> group_;
    std::vector<point2d> nodes_;
    // Each node, or the node it was gathered into.
    std::vector<int> alias_;
    std::vector<std::vector<nodedstop>> stops_;
    // The nodes of each segment's own meetings.
    std::vector<std::vector<int>> through_;
};

// For each segment, whether it lies along an earlier one that is not itself so marked: both
// its ends within 0.1 of it.
std::vector<std::uint8_t> LieAlongEarlier(std::span<const edge2d> segments);

// Whether two segments meet anywhere but at an end they share exactly: they cross, or an end
// of one lies on the other (within rounding) without being an end of it. Noded pieces never
// do.
bool MeetAwayFromSharedEnds(const edge2d& p, const edge2d& q);

} // namespace qrxGe
