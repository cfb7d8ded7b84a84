#pragma once
// The segment graph of the face and outline operations.
//
// An unordered set of segments becomes a planar graph: every crossing, touch and overlap of
// two segments becomes a shared vertex, segments with a free end and dangling chains are
// removed, and the half-edges at each vertex can be ordered by direction. Four operations
// walk it, told apart by a small policy (which angles are stored, which vertices the
// lowest-vertex search skips, which way the first half-edge points).
//
// The crossing pass (segmentnoder) notes every place where segments meet: a crossing at any
// angle, an end within 0.1 of another segment (a touch, or either end of a stretch two
// segments share); meetings closer than 0.2 are one place. Ends within 0.1 of such a place
// move onto it, and every segment is cut at each place within 0.1 of it; a place is one
// vertex, however many segments meet there, so ends that meet within the tolerance without
// touching are one vertex too.
//
// After the three build steps (SplitAtCrossings, BuildVertices, PruneDanglingChains) the
// graph holds its invariants (CheckInvariants): every vertex has at least two half-edges, no
// two vertices lie closer than 0.1, and edges meet only at the vertices they share (no two
// cross, and no end of one lies on another but at its ends).
//
// Out direction of a half-edge: its edge's angle (start to end, [0, 2*pi)), plus pi when the
// vertex is the edge's end, reduced below 2*pi; pi and 2*pi are the single-precision values.
// Walks that turn left keep the face on their left, so bounded faces come out
// counter-clockwise and the outer boundary of each connected part clockwise; walks that turn
// right follow the outer boundary counter-clockwise. Every walk is bounded by the number of
// half-edges and ends there as where no half-edge leads on.
//
// One graph serves one call and frees its records when destroyed, on every path. Input with
// coordinates that are not finite or beyond kLargestCoordinate (4e14) in magnitude, where the
// 0.1 tolerance is within a few units of the last place, leaves the graph unusable: it then
// has no vertices, and every walk finds nothing.

#include "qrxGeEdge2d.h"
#include "qrxGeGraphSupport.h"
#include "qrxGeRing.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qrxGe {

struct graphvertex2d;

struct graphedge2d {
    // -1000 times the single-precision pi: no angle stored.
    static constexpr double kNoAngle = -3141.5927734375;

    edge2d segment;
    // Vertex ids from the crossing pass (0: an end that meets nothing), then the vertices
    // (null: detached by pruning). Ids and pointers are kept apart.
    int startId = 0;
    int endId = 0;
    graphvertex2d* startVertex = nullptr;
    graphvertex2d* endVertex = nullptr;
    double angle = kNoAngle;
};

struct halfedge2d {
    graphedge2d* edge = nullptr;
    std::uint8_t visited = 0;
    std::uint8_t atStart = 0;  // 1: the vertex is the edge's start
};

struct graphvertex2d {
    point2d point;  // the end point of the first edge end that made the vertex, not averaged
    int id = 0;
    std::vector<halfedge2d> halfEdges;  // one per incident edge end, in creation order
    // Removed by pruning; afterwards "used" by the outline walks (on a traced outline or
    // joined to one).
    std::uint8_t flag = 0;
};

// What tells the four operations apart.
struct segpolicy {
    bool storeAngles = false;         // angles kept in the edges after pruning
    bool lowestSkipsFlagged = false;  // the lowest-vertex search passes over used vertices
    bool firstIsGreatest = false;     // first half-edge: greatest out direction, else least
};

using vertexseq = std::vector<graphvertex2d*>;

class seggraph2d {
public:
    explicit seggraph2d(segpolicy policy) : policy_(policy) {}
    seggraph2d(const seggraph2d&) = delete;
    seggraph2d& operator=(const seggraph2d&) = delete;

    // Ignores a segment whose ends are equal within 0.1; one with a coordinate out of reach
    // (not finite, or beyond kLargestCoordinate) leaves the graph unusable.
    void AddSegment(const edge2d& s);
    // The ring's sides, the last point joining the first; equal neighbours add nothing.
    void AddRing(const std::vector<point2d>& ring);

    // Cuts segments where they meet and gives every meeting place an id. Each segment's
    // pieces take its place in the edge list, in order along it; a piece that repeats an
    // earlier one (segments overlapping) is left out.
    void SplitAtCrossings();
    // Drops edges with a free end, then makes one vertex per place with its half-edges.
    void BuildVertices();
    // Removes dangling chains and the vertices they leave without half-edges.
    void PruneDanglingChains();
    // Stores every edge's direction angle.
    void StoreAngles();
    bool IsUsable() const { return usable_; }

    // The vertex of least y, the first in list order on ties; null when there is none.
    graphvertex2d* LowestVertex() const;
    // At v: the half-edge of greatest or least out direction (per policy); null for none.
    halfedge2d* FirstHalfEdge(graphvertex2d* v) const;
    // The sharpest left turn at w after arriving along `arriving` (a half-edge at the
    // previous vertex). With the visited test, visited half-edges other than `start` are
    // passed over. Null when none qualifies.
    halfedge2d* NextLeftHalfEdge(graphvertex2d* w, const halfedge2d& arriving, const halfedge2d* start,
                                 bool visitedTest) const;
    // The sharpest right turn at w; with the visited test visited half-edges are passed over.
    halfedge2d* NextRightHalfEdge(graphvertex2d* w, const halfedge2d& arriving, bool visitedTest) const;

    // Every loop of more than 2 points of the half-edges not yet visited, turning left, in
    // tracing order. A walk that finds no way on is dropped; its marks stay.
    ringlist TraceAllLoops();
    // The outer outline of the lowest part not yet used, turning left without the visited
    // test; its half-edges are marked visited and its vertices used. False when there is
    // none to trace.
    bool TraceOuterOutline();
    // Flags every vertex joined by an edge to a flagged one, until nothing changes.
    void MarkComponent();
    // The outer outline of the part holding the lowest vertex, counter-clockwise from it,
    // turning right with the visited test; null below 3 points or when it does not close.
    std::unique_ptr<ring2d> TraceOutline();
    // The vertices of the outer outline of the lowest part not yet used, turning right
    // without marks; nullopt when there is none or it does not close.
    std::optional<vertexseq> TraceOutlineVertices();
    // Outline after outline, each cut into simple loops of more than 2 vertices.
    ringlist PeelOutlines();

    double HalfEdgeOutAngle(const halfedge2d& h) const;
    static graphvertex2d* OtherVertex(const halfedge2d& h);
    static point2d PointOf(const halfedge2d& h);

    const std::list<std::unique_ptr<graphvertex2d>>& Vertices() const { return vertices_; }
    const std::list<graphedge2d>& Edges() const { return edges_; }
    std::size_t HalfEdgeCount() const;
    // The invariants after pruning, and every half-edge pointing back to its vertex through
    // its edge. On failure `fault` names what broke.
    bool CheckInvariants(std::string& fault) const;

private:
    using vertexit = std::list<std::unique_ptr<graphvertex2d>>::const_iterator;
    // One step of an outline walk: the vertex and the half-edge it leaves by.
    struct step {
        graphvertex2d* vertex;
        halfedge2d* leaving;
    };

    void DropOpenEdges();
    void DeleteRemovedVertices();
    graphvertex2d* VertexFor(int id, const point2d& p);
    // The first half-edge not yet visited at `from` or after it in the vertex list (`from`
    // left at its vertex); null when all are.
    halfedge2d* FirstUnvisitedHalfEdge(vertexit& from) const;
    halfedge2d* Turn(graphvertex2d* w, const halfedge2d& arriving, bool left, bool visitedTest) const;
    std::optional<std::vector<step>> WalkOuterBoundary(bool left, bool visitedTest, bool mark);

    segpolicy policy_;
    std::list<std::unique_ptr<graphvertex2d>> vertices_;
    std::list<graphedge2d> edges_;
    bool built_ = false;
    bool usable_ = true;
    std::size_t places_ = 0;  // ids run from 1 to places_
    std::vector<graphvertex2d*> vertexOfId_;
};

// Cuts s at its first repeated vertex (the least index that occurs again, at its first
// repeat): the loop up to the repeat and the rest followed by the start go to `work`, each
// holding the repeated vertex once, at its start. False when no vertex repeats.
bool SplitAtRepeatedVertex(const vertexseq& s, std::list<vertexseq>& work);
// The simple loops of a vertex sequence, cut at repeated vertices until none repeats.
std::vector<vertexseq> SplitIntoSimpleLoops(vertexseq seq);

} // namespace qrxGe
