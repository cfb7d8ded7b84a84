#pragma once
// The segment graph of the face and outline operations.
//
// An unordered set of segments becomes a planar graph: every crossing, touch and overlap of
// two segments becomes a shared vertex, segments with a free end and dangling chains are
// removed, and the half-edges at each vertex can be ordered by direction. Four operations
// walk it; each differs only in a small policy (which angles are stored, which vertices the
// lowest-vertex search skips, which way the first half-edge points).
//
// One graph serves one call and frees its records when destroyed.

#include "qrxGeEdge2d.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace qrxGe {

struct graphvertex2d;

struct graphedge2d {
    static constexpr double kNoAngle = -3141.5927734375;

    edge2d segment;
    // Vertex ids while the crossing pass runs (0: none yet), then the vertices (null:
    // detached by pruning).
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
    point2d point;  // the end point of the first edge end that made the vertex
    int id = 0;
    std::vector<halfedge2d> halfEdges;
    // Removed by pruning; afterwards "used" by the outline walks.
    std::uint8_t flag = 0;
};

// What tells the four operations apart.
struct segpolicy {
    bool storeAngles = false;       // angles kept in the edges after pruning
    bool lowestSkipsFlagged = false;
    bool firstIsGreatest = false;   // first half-edge: greatest out direction, else least
};

class seggraph2d {
public:
    explicit seggraph2d(segpolicy policy) : policy_(policy) {}
    seggraph2d(const seggraph2d&) = delete;
    seggraph2d& operator=(const seggraph2d&) = delete;

    // Ignores a segment whose ends are equal within 0.1.
    void AddSegment(const edge2d& s);
    // The ring's sides, the last point joining the first; equal neighbours add nothing.
    void AddRing(const std::vector<point2d>& ring);

    // Splits segments where they meet and gives every meeting place an id.
    void SplitAtCrossings();
    // Drops edges with a free end, then makes one vertex per place with its half-edges.
    void BuildVertices();
    // Removes dangling chains; vertices left without half-edges go too.
    void PruneDanglingChains();
    // Stores every edge's direction angle.
    void StoreAngles();

    // The vertex of least y, the first on ties; null when there is none.
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
    // Flags every vertex joined by an edge to a flagged one, until nothing changes.
    void MarkComponent();

    double OutAngle(const halfedge2d& h) const;
    static graphvertex2d* OtherVertex(const halfedge2d& h);
    static point2d PointOf(const halfedge2d& h);

    const std::list<std::unique_ptr<graphvertex2d>>& Vertices() const { return vertices_; }
    const std::list<graphedge2d>& Edges() const { return edges_; }
    std::size_t HalfEdgeCount() const;
    // Every vertex has at least 2 half-edges, each pointing back to it through its edge, and
    // edges meet only at shared vertices. On failure `fault` names what broke.
    bool CheckInvariants(std::string& fault) const;

private:
    using slots = std::vector<int*>;
    using edgeit = std::list<graphedge2d>::iterator;

    void MeetPair(edgeit a, edgeit& b);
    edgeit SplitAfter(edgeit e, const point2d& p);
    void AssignVertexId(slots& s);
    int ResolveId(int id);
    void DropOpenEdges();
    void DeleteRemovedVertices();
    graphvertex2d* VertexFor(int id, const point2d& p);
    void Detach(graphedge2d* e);

    segpolicy policy_;
    std::list<std::unique_ptr<graphvertex2d>> vertices_;
    std::list<graphedge2d> edges_;
    bool built_ = false;
    int nextId_ = 1;
    // Union-find over ids: a place that got two ids in the crossing pass is one vertex.
    std::vector<int> idParent_{0};
    std::vector<graphvertex2d*> vertexOfId_;
};

} // namespace qrxGe
