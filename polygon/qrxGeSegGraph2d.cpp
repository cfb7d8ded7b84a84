#include "qrxGeSegGraph2d.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qrxGe {

namespace {

double Reduced(double angle)
{
    while (angle >= kTwoPi)
        angle -= kTwoPi;
    return angle;
}

} // namespace

void seggraph2d::AddSegment(const edge2d& s)
{
    if (s.IsDegenerate())
        return;
    graphedge2d& e = edges_.emplace_back();
    e.segment = s;
}

void seggraph2d::AddRing(const std::vector<point2d>& ring)
{
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const point2d& p = ring[i];
        const point2d& q = ring[(i + 1) % ring.size()];
        if (!p.IsEqualTo(q))
            AddSegment(edge2d(p, q));
    }
}

void seggraph2d::SplitAtCrossings()
{
    // Pieces inserted or appended during the pass are met later, as outer and as inner edge.
    for (edgeit a = edges_.begin(); a != edges_.end(); ++a)
        for (edgeit b = std::next(a); b != edges_.end();)
            MeetPair(a, b);
}

seggraph2d::edgeit seggraph2d::SplitAfter(edgeit e, const point2d& p)
{
    graphedge2d piece;
    piece.segment = edge2d(p, e->segment.EndPoint());
    piece.endId = e->endId;
    e->segment.SetEndPoint(p);
    e->endId = 0;
    return edges_.insert(std::next(e), piece);
}

// One pair of the crossing pass, told along b; leaves b on the next edge to compare.
void seggraph2d::MeetPair(edgeit a, edgeit& b)
{
    point2d p1, p2;
    int c1 = 0, c2 = 0;
    slots s;
    const int r = b->segment.IntersectWith(a->segment, p1, c1, p2, c2);
    const auto endSlot = [](graphedge2d& e, bool atStart) { return atStart ? &e.startId : &e.endId; };
    if (r == 1) {
        for (edgeit e : {a, b}) {
            const int k = e->segment.EndIndexOf(p1);
            if (k == 0) {
                const edgeit piece = SplitAfter(e, p1);
                s.push_back(&e->endId);
                s.push_back(&piece->startId);
            } else {
                s.push_back(endSlot(*e, k == 1));
            }
        }
        AssignVertexId(s);
    } else if (r == -1) {
        s.push_back(endSlot(*a, a->segment.IsStartPoint(p1)));
        s.push_back(endSlot(*b, b->segment.IsStartPoint(p1)));
        AssignVertexId(s);
    } else if (r == -2) {
        if (c1 == 0 && c2 == 0) {
            b = edges_.erase(b);  // b lies on a
            return;
        }
        if (c1 == 0 && c2 == -1) {
            s.push_back(endSlot(*a, p2 == a->segment.StartPoint()));
            b->segment.SetStartPoint(p2);
            b->startId = 0;
            s.push_back(&b->startId);
            AssignVertexId(s);
        } else if (c1 == 1 && c2 == 0) {
            b->segment.SetEndPoint(p1);
            b->endId = 0;
            s.push_back(&b->endId);
            s.push_back(endSlot(*a, p1 == a->segment.StartPoint()));
            AssignVertexId(s);
        } else if (c1 == 1 && c2 == -1) {
            graphedge2d piece;
            piece.segment = edge2d(p2, b->segment.EndPoint());
            piece.endId = b->endId;
            graphedge2d& appended = edges_.emplace_back(piece);
            b->segment.SetEndPoint(p1);
            b->endId = 0;
            const bool aStartsAtP1 = a->segment.IsStartPoint(p1);
            s.push_back(endSlot(*a, aStartsAtP1));
            s.push_back(&b->endId);
            AssignVertexId(s);
            s.push_back(endSlot(*a, !aStartsAtP1));
            s.push_back(&appended.startId);
            AssignVertexId(s);
        }
    }
    ++b;
}

int seggraph2d::ResolveId(int id)
{
    while (idParent_[id] != id) {
        idParent_[id] = idParent_[idParent_[id]];
        id = idParent_[id];
    }
    return id;
}

void seggraph2d::AssignVertexId(slots& s)
{
    int id = 0;
    for (const int* slot : s) {
        if (*slot != 0) {
            id = *slot;
            break;
        }
    }
    if (id == 0) {
        id = nextId_++;
        idParent_.push_back(id);
    } else {
        const int root = ResolveId(id);
        for (const int* slot : s)
            if (*slot != 0 && ResolveId(*slot) != root)
                idParent_[ResolveId(*slot)] = root;
    }
    for (int* slot : s)
        *slot = id;
    s.clear();
}

void seggraph2d::DropOpenEdges()
{
    edges_.remove_if([&](const graphedge2d& e) {
        return built_ ? (!e.startVertex || !e.endVertex) : (e.startId == 0 || e.endId == 0);
    });
}

graphvertex2d* seggraph2d::VertexFor(int id, const point2d& p)
{
    graphvertex2d*& known = vertexOfId_[id];
    if (!known) {
        auto v = std::make_unique<graphvertex2d>();
        v->point = p;
        v->id = id;
        known = v.get();
        vertices_.push_back(std::move(v));
    }
    return known;
}

void seggraph2d::BuildVertices()
{
    DropOpenEdges();
    // An edge whose two ends resolve to one place (a piece shorter than the tolerance) would
    // be a loop at one vertex: it has no direction to walk, so it goes.
    edges_.remove_if([&](const graphedge2d& e) { return ResolveId(e.startId) == ResolveId(e.endId); });
    vertexOfId_.assign(static_cast<std::size_t>(nextId_), nullptr);
    for (graphedge2d& e : edges_) {
        e.startVertex = VertexFor(ResolveId(e.startId), e.segment.StartPoint());
        e.startVertex->halfEdges.push_back({&e, 0, 1});
        e.endVertex = VertexFor(ResolveId(e.endId), e.segment.EndPoint());
        e.endVertex->halfEdges.push_back({&e, 0, 0});
    }
    built_ = true;
}

void seggraph2d::Detach(graphedge2d* e)
{
    e->startVertex = nullptr;
    e->endVertex = nullptr;
}

void seggraph2d::PruneDanglingChains()
{
    const std::size_t bound = edges_.size();
    for (;;) {
        const auto end = std::find_if(vertices_.begin(), vertices_.end(), [](const auto& v) {
            return v->flag == 0 && v->halfEdges.size() == 1;
        });
        if (end == vertices_.end())
            break;
        graphvertex2d* v = end->get();
        v->flag = 1;
        graphedge2d* e = v->halfEdges[0].edge;
        graphvertex2d* w = OtherVertex(v->halfEdges[0]);
        Detach(e);
        // Walk the chain through vertices of two half-edges; the other vertex is read before
        // the edge is detached.
        for (std::size_t step = 0; w && w->halfEdges.size() == 2 && step < bound; ++step) {
            w->flag = 1;
            const halfedge2d& next = w->halfEdges[0].edge != e ? w->halfEdges[0] : w->halfEdges[1];
            graphvertex2d* following = OtherVertex(next);
            e = next.edge;
            Detach(e);
            w = following;
        }
        if (w) {
            auto& hs = w->halfEdges;
            const auto it = std::find_if(hs.begin(), hs.end(), [&](const halfedge2d& h) { return h.edge == e; });
            if (it != hs.end())
                hs.erase(it);
        }
    }
    DropOpenEdges();
    DeleteRemovedVertices();
    if (policy_.storeAngles)
        StoreAngles();
}

void seggraph2d::DeleteRemovedVertices()
{
    // A vertex left without half-edges (the far end of a chain open at both ends) would
    // offer a walk nothing to leave by.
    vertices_.remove_if([](const auto& v) { return v->flag != 0 || v->halfEdges.empty(); });
}

void seggraph2d::StoreAngles()
{
    for (graphedge2d& e : edges_)
        e.angle = e.segment.Angle();
}

graphvertex2d* seggraph2d::OtherVertex(const halfedge2d& h)
{
    return h.atStart ? h.edge->endVertex : h.edge->startVertex;
}

point2d seggraph2d::PointOf(const halfedge2d& h)
{
    return h.atStart ? h.edge->segment.StartPoint() : h.edge->segment.EndPoint();
}

double seggraph2d::OutAngle(const halfedge2d& h) const
{
    const double angle = policy_.storeAngles ? h.edge->angle : h.edge->segment.Angle();
    return Reduced(h.atStart ? angle : angle + kPi);
}

graphvertex2d* seggraph2d::LowestVertex() const
{
    graphvertex2d* lowest = nullptr;
    for (const auto& v : vertices_) {
        if (policy_.lowestSkipsFlagged && v->flag)
            continue;
        if (!lowest || v->point.y < lowest->point.y)
            lowest = v.get();
    }
    return lowest;
}

halfedge2d* seggraph2d::FirstHalfEdge(graphvertex2d* v) const
{
    halfedge2d* first = nullptr;
    double best = 0.0;
    for (halfedge2d& h : v->halfEdges) {
        const double a = OutAngle(h);
        if (!first || (policy_.firstIsGreatest ? a > best : a < best)) {
            first = &h;
            best = a;
        }
    }
    return first;
}

halfedge2d* seggraph2d::NextLeftHalfEdge(graphvertex2d* w, const halfedge2d& arriving, const halfedge2d* start,
                                         bool visitedTest) const
{
    auto& hs = w->halfEdges;
    if (hs.size() == 2)
        return hs[0].edge != arriving.edge ? &hs[0] : &hs[1];
    const double back = Reduced(OutAngle(arriving) + kPi);
    halfedge2d* best = nullptr;
    double bestRel = 0.0;
    for (halfedge2d& h : hs) {
        if (h.edge == arriving.edge || (visitedTest && h.visited && &h != start))
            continue;
        double rel = OutAngle(h) - back;
        while (rel < 0.0)
            rel += kTwoPi;
        while (rel >= kTwoPi)
            rel -= kTwoPi;
        if (rel >= bestRel) {
            best = &h;
            bestRel = rel;
        }
    }
    return best;
}

halfedge2d* seggraph2d::NextRightHalfEdge(graphvertex2d* w, const halfedge2d& arriving, bool visitedTest) const
{
    auto& hs = w->halfEdges;
    if (hs.size() == 2)
        return hs[0].edge != arriving.edge ? &hs[0] : &hs[1];
    const double back = Reduced(OutAngle(arriving) + kPi);
    halfedge2d* best = nullptr;
    double bestRel = kTwoPi;
    for (halfedge2d& h : hs) {
        if (h.edge == arriving.edge || (visitedTest && h.visited))
            continue;
        double rel = OutAngle(h) - back;
        while (rel <= 0.0)
            rel += kTwoPi;
        while (rel > kTwoPi)
            rel -= kTwoPi;
        if (rel <= bestRel) {
            best = &h;
            bestRel = rel;
        }
    }
    return best;
}

void seggraph2d::MarkComponent()
{
    for (bool changed = true; changed;) {
        changed = false;
        for (const auto& v : vertices_) {
            if (v->flag)
                continue;
            for (const halfedge2d& h : v->halfEdges) {
                const graphvertex2d* other = OtherVertex(h);
                if (other && other->flag) {
                    v->flag = 1;
                    changed = true;
                    break;
                }
            }
        }
    }
}

std::size_t seggraph2d::HalfEdgeCount() const
{
    std::size_t n = 0;
    for (const auto& v : vertices_)
        n += v->halfEdges.size();
    return n;
}

bool seggraph2d::CheckInvariants(std::string& fault) const
{
    for (const auto& v : vertices_) {
        if (v->halfEdges.size() < 2) {
            fault = "a vertex with fewer than 2 half-edges";
            return false;
        }
        for (const halfedge2d& h : v->halfEdges) {
            if ((h.atStart ? h.edge->startVertex : h.edge->endVertex) != v.get()) {
                fault = "a half-edge whose edge does not point back to its vertex";
                return false;
            }
        }
    }
    for (auto a = edges_.begin(); a != edges_.end(); ++a) {
        for (auto b = std::next(a); b != edges_.end(); ++b) {
            point2d p, q;
            int c1 = 0, c2 = 0;
            const int r = b->segment.IntersectWith(a->segment, p, c1, q, c2);
            if (r == 0)
                continue;
            const bool shared = a->startVertex == b->startVertex || a->startVertex == b->endVertex ||
                                a->endVertex == b->startVertex || a->endVertex == b->endVertex;
            if (r == -2 || !shared) {
                fault = "two edges meet away from a shared vertex";
                return false;
            }
        }
    }
    return true;
}

} // namespace qrxGe
