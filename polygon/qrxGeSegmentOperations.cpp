// Faces and outlines traced from loose segments on the segment graph: every loop with the
// face on its left (all faces, without the outer outline or without every outer outline),
// the outer outline of the part holding the lowest point turning right, and the outlines of
// all parts cut into simple loops.

#include "qrxGePolygonOperations.h"
#include "qrxGeSegGraph2d.h"

#include <list>
#include <memory>

namespace qrxGe {

namespace {

using ringlist = std::vector<std::unique_ptr<ring2d>>;

std::vector<ring2d*>* Release(ringlist& rings)
{
    auto out = std::make_unique<std::vector<ring2d*>>();
    out->reserve(rings.size());
    for (auto& r : rings)
        out->push_back(r.release());
    return out.release();
}

// Segments added and the three build steps run.
void Build(seggraph2d& g, const std::vector<edge2d>& segments)
{
    for (const edge2d& s : segments)
        g.AddSegment(s);
    g.SplitAtCrossings();
    g.BuildVertices();
    g.PruneDanglingChains();
}

// The first vertex with an unvisited half-edge, and that half-edge.
halfedge2d* FirstUnvisited(seggraph2d& g)
{
    for (const auto& v : g.Vertices())
        for (halfedge2d& h : v->halfEdges)
            if (!h.visited)
                return &h;
    return nullptr;
}

// Every loop of the unvisited half-edges, turning left. A walk that finds no way on, or that
// outlasts the graph's half-edges, is dropped; its marks stay, so the search still ends.
void TraceAllLoops(seggraph2d& g, ringlist& rings)
{
    const std::size_t bound = g.HalfEdgeCount();
    while (halfedge2d* h0 = FirstUnvisited(g)) {
        auto ring = std::make_unique<ring2d>();
        halfedge2d* h = h0;
        for (std::size_t step = 0; h && step < bound; ++step) {
            h->visited = 1;
            ring->push_back(seggraph2d::PointOf(*h));
            h = g.NextLeftHalfEdge(seggraph2d::OtherVertex(*h), *h, h0, true);
            if (h == h0) {
                rings.push_back(std::move(ring));
                break;
            }
        }
    }
}

// The outer outline of the lowest unflagged part, turning left from the greatest out
// direction; its vertices are flagged. False when there is none to trace.
bool TraceOuterOutline(seggraph2d& g)
{
    if (g.Vertices().size() < 3)
        return false;
    graphvertex2d* v0 = g.LowestVertex();
    halfedge2d* h = v0 ? g.FirstHalfEdge(v0) : nullptr;
    if (!h)
        return false;
    std::vector<graphvertex2d*> outline{v0};
    for (std::size_t step = 0, bound = g.HalfEdgeCount();; ++step) {
        if (!h || step >= bound)
            return false;
        h->visited = 1;
        graphvertex2d* w = seggraph2d::OtherVertex(*h);
        if (w == v0)
            break;
        outline.push_back(w);
        h = g.NextLeftHalfEdge(w, *h, nullptr, false);
    }
    for (graphvertex2d* v : outline)
        v->flag = 1;
    return true;
}

// The vertices of the outline of the lowest unflagged part, turning right from the least out
// direction, without marks; empty when there is none.
std::vector<graphvertex2d*> TraceOutlineVertices(seggraph2d& g)
{
    if (g.Vertices().size() < 3)
        return {};
    graphvertex2d* v0 = g.LowestVertex();
    halfedge2d* h = v0 ? g.FirstHalfEdge(v0) : nullptr;
    std::vector<graphvertex2d*> seq{v0};
    for (std::size_t step = 0, bound = g.HalfEdgeCount(); h && step < bound; ++step) {
        graphvertex2d* w = seggraph2d::OtherVertex(*h);
        if (w == v0)
            return seq;
        seq.push_back(w);
        h = g.NextRightHalfEdge(w, *h, false);
    }
    return {};
}

using vertexseq = std::vector<graphvertex2d*>;

// Cuts s at its first repeated vertex into the loop up to the repeat and the rest.
bool SplitAtRepeatedVertex(const vertexseq& s, std::list<vertexseq>& work)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        for (std::size_t k = i + 1; k < s.size(); ++k) {
            if (s[k] != s[i])
                continue;
            work.emplace_back(s.begin() + i, s.begin() + k);
            vertexseq rest(s.begin() + k, s.end());
            rest.insert(rest.end(), s.begin(), s.begin() + i);
            work.push_back(std::move(rest));
            return true;
        }
    }
    return false;
}

std::vector<vertexseq> SplitIntoSimpleLoops(vertexseq seq)
{
    std::vector<vertexseq> simple;
    std::list<vertexseq> work;
    work.push_back(std::move(seq));
    while (!work.empty()) {
        vertexseq s = std::move(work.front());
        work.pop_front();
        if (!SplitAtRepeatedVertex(s, work))
            simple.push_back(std::move(s));
    }
    return simple;
}

constexpr segpolicy kFaces{true, false, false};
constexpr segpolicy kInnerFaces{true, true, true};
constexpr segpolicy kOutline{false, false, false};
constexpr segpolicy kPeel{false, true, false};

} // namespace

std::vector<ring2d*>* FacesFromSegments(const std::vector<edge2d>& segments)
{
    if (segments.size() < 3)
        return nullptr;
    seggraph2d g(kFaces);
    Build(g, segments);
    ringlist rings;
    TraceAllLoops(g, rings);
    for (auto it = rings.begin(); it != rings.end(); ++it) {
        if (IsClockwise(**it)) {
            rings.erase(it);
            break;
        }
    }
    return rings.empty() ? nullptr : Release(rings);
}

std::vector<ring2d*>* InnerFacesFromSegments(const std::vector<edge2d>& segments)
{
    if (segments.size() < 3)
        return nullptr;
    seggraph2d g(kInnerFaces);
    Build(g, segments);
    while (TraceOuterOutline(g))
        g.MarkComponent();
    ringlist rings;
    TraceAllLoops(g, rings);
    return rings.empty() ? nullptr : Release(rings);
}

ring2d* OutlineFromSegments(const std::vector<edge2d>& segments)
{
    if (segments.size() < 3)
        return nullptr;
    seggraph2d g(kOutline);
    Build(g, segments);
    if (g.Vertices().size() < 3)
        return nullptr;
    graphvertex2d* v0 = g.LowestVertex();
    halfedge2d* h = v0 ? g.FirstHalfEdge(v0) : nullptr;
    auto ring = std::make_unique<ring2d>();
    for (std::size_t step = 0, bound = g.HalfEdgeCount(); h && step < bound; ++step) {
        h->visited = 1;
        ring->push_back(seggraph2d::PointOf(*h));
        graphvertex2d* w = seggraph2d::OtherVertex(*h);
        if (w == v0)
            return ring->size() > 2 ? ring.release() : nullptr;
        h = g.NextRightHalfEdge(w, *h, true);
    }
    return nullptr;
}

std::vector<ring2d*>* PeelOutlinesFromSegments(const std::vector<edge2d>& segments)
{
    if (segments.size() < 3)
        return nullptr;
    seggraph2d g(kPeel);
    Build(g, segments);
    ringlist rings;
    for (vertexseq seq = TraceOutlineVertices(g); !seq.empty(); seq = TraceOutlineVertices(g)) {
        for (graphvertex2d* v : seq)
            v->flag = 1;
        for (const vertexseq& loop : SplitIntoSimpleLoops(seq)) {
            if (loop.size() <= 2)
                continue;
            auto ring = std::make_unique<ring2d>();
            for (const graphvertex2d* v : loop)
                ring->push_back(v->point);
            rings.push_back(std::move(ring));
        }
        g.MarkComponent();
    }
    return Release(rings);
}

} // namespace qrxGe
