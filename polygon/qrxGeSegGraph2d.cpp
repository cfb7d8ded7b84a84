#include "qrxGeSegGraph2d.h"

#include "qrxGeSegmentNoder.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <utility>

namespace qrxGe {

namespace {

// A direction in [0, 2*pi), turned back by whole single-precision turns. Edge angles hold the
// double pi of atan2 while the half-turn added at an edge's end is the single-precision one,
// 8.7e-8 larger, so east seen from the end of a west-pointing edge would come out just short of
// a full turn: the greatest direction instead of the least, which turned the outline walks the
// wrong way round from a lowest vertex with a level edge. Within 1e-6 of a full turn is east.
double Reduced(double angle)
{
    while (angle >= kTwoPi)
        angle -= kTwoPi;
    return angle > kTwoPi - 1e-6 ? 0.0 : angle;
}

bool SamePoint(const point2d& p, const point2d& q)
{
    return p.x == q.x && p.y == q.y;
}

} // namespace

void seggraph2d::AddSegment(const edge2d& s)
{
    if (!IsWithinReach(s.StartPoint()) || !IsWithinReach(s.EndPoint())) {
        usable_ = false;
        return;
    }
    if (s.IsDegenerate())
        return;
    edges_.push_back({s});
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
    if (!usable_) {
        edges_.clear();
        return;
    }
    // A segment lying along an earlier one adds nothing to it.
    const std::vector<edge2d> segments = [&] {
        std::vector<edge2d> all;
        for (const graphedge2d& e : edges_)
            all.push_back(e.segment);
        const std::vector<std::uint8_t> along = LieAlongEarlier(all);
        std::vector<edge2d> kept;
        for (std::size_t i = 0; i < all.size(); ++i)
            if (!along[i])
                kept.push_back(all[i]);
        return kept;
    }();
    std::vector<int> own(segments.size());
    for (std::size_t i = 0; i < own.size(); ++i)
        own[i] = static_cast<int>(i);
    segmentnoder noder(segments, own);
    edges_.clear();
    if (!noder.Run()) {
        usable_ = false;
        return;
    }
    places_ = noder.Nodes().size();
    // Pieces joining the same two places lie along each other: the first one stands for all.
    std::set<std::pair<int, int>> joined;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const std::vector<nodedstop>& stops = noder.Stops(i);
        for (std::size_t k = 1; k < stops.size(); ++k) {
            const nodedstop &from = stops[k - 1], &to = stops[k];
            if (from.node >= 0 && to.node >= 0 && !joined.insert(std::minmax(from.node, to.node)).second)
                continue;
            edges_.push_back({edge2d(from.point, to.point), from.node + 1, to.node + 1});
        }
    }
}

void seggraph2d::DropOpenEdges()
{
    edges_.remove_if([&](const graphedge2d& e) {
        return built_ ? (!e.startVertex || !e.endVertex) : (e.startId == 0 || e.endId == 0);
    });
}

graphvertex2d* seggraph2d::VertexFor(int id, const point2d& p)
{
    graphvertex2d*& known = vertexOfId_[static_cast<std::size_t>(id)];
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
    vertexOfId_.assign(places_ + 1, nullptr);
    for (graphedge2d& e : edges_) {
        e.startVertex = VertexFor(e.startId, e.segment.StartPoint());
        e.startVertex->halfEdges.push_back({&e, 0, 1});
        e.endVertex = VertexFor(e.endId, e.segment.EndPoint());
        e.endVertex->halfEdges.push_back({&e, 0, 0});
    }
    built_ = true;
}

void seggraph2d::PruneDanglingChains()
{
    // The free ends of dangling chains, found once. A chain stops at a vertex of three or
    // more half-edges, which it leaves with two or more; when a later chain reaches it with
    // two, the walk goes on through it, so no root becomes a free end of its own and the pass
    // grows with what it removes.
    std::vector<graphvertex2d*> ends;
    for (const auto& v : vertices_)
        if (v->halfEdges.size() == 1)
            ends.push_back(v.get());
    const std::size_t bound = edges_.size();
    for (graphvertex2d* v : ends) {
        // A chain open at both ends was taken out from its other end.
        if (v->flag != 0 || v->halfEdges.size() != 1)
            continue;
        v->flag = 1;
        graphedge2d* e = v->halfEdges[0].edge;
        graphvertex2d* w = OtherVertex(v->halfEdges[0]);
        e->startVertex = e->endVertex = nullptr;
        // Down the chain through vertices of two half-edges, each next vertex read before
        // its edge is detached.
        for (std::size_t steps = 0; w && w->halfEdges.size() == 2 && steps < bound; ++steps) {
            w->flag = 1;
            const halfedge2d& next = w->halfEdges[0].edge != e ? w->halfEdges[0] : w->halfEdges[1];
            graphvertex2d* following = OtherVertex(next);
            e = next.edge;
            e->startVertex = e->endVertex = nullptr;
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

double seggraph2d::HalfEdgeOutAngle(const halfedge2d& h) const
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
        const double a = HalfEdgeOutAngle(h);
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
    const double back = Reduced(HalfEdgeOutAngle(arriving) + kPi);
    halfedge2d* best = nullptr;
    double bestRel = 0.0;
    for (halfedge2d& h : hs) {
        if (h.edge == arriving.edge || (visitedTest && h.visited && &h != start))
            continue;
        double rel = HalfEdgeOutAngle(h) - back;
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
    const double back = Reduced(HalfEdgeOutAngle(arriving) + kPi);
    halfedge2d* best = nullptr;
    double bestRel = kTwoPi;
    for (halfedge2d& h : hs) {
        if (h.edge == arriving.edge || (visitedTest && h.visited))
            continue;
        double rel = HalfEdgeOutAngle(h) - back;
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

halfedge2d* seggraph2d::Turn(graphvertex2d* w, const halfedge2d& arriving, bool left, bool visitedTest) const
{
    return left ? NextLeftHalfEdge(w, arriving, nullptr, visitedTest) : NextRightHalfEdge(w, arriving, visitedTest);
}

halfedge2d* seggraph2d::FirstUnvisitedHalfEdge(vertexit& from) const
{
    for (; from != vertices_.end(); ++from)
        for (halfedge2d& h : (*from)->halfEdges)
            if (!h.visited)
                return &h;
    return nullptr;
}

ringlist seggraph2d::TraceAllLoops()
{
    ringlist rings;
    const std::size_t bound = HalfEdgeCount();
    // Marks are only ever set, so each search goes on from the vertex where the last one ended.
    vertexit from = vertices_.begin();
    while (halfedge2d* h0 = FirstUnvisitedHalfEdge(from)) {
        auto ring = std::make_unique<ring2d>();
        halfedge2d* h = h0;
        for (std::size_t steps = 0; h && steps < bound; ++steps) {
            h->visited = 1;
            ring->push_back(PointOf(*h));
            h = NextLeftHalfEdge(OtherVertex(*h), *h, h0, true);
            if (h == h0) {
                // Two edges joining the same two vertices (segments that meet within the
                // tolerance of each other's crossings) close a loop of two points: no face.
                if (ring->size() > 2)
                    rings.push_back(std::move(ring));
                break;
            }
        }
    }
    return rings;
}

// The outer boundary of the lowest part not yet used: from the lowest vertex along its first
// half-edge, turning one way at every vertex, until the walk is back at the lowest vertex with
// the first half-edge next. A part pinched at its lowest vertex passes it more than once, so
// every lobe of the outline is walked. Nullopt when there is nothing to walk or no way on.
std::optional<std::vector<seggraph2d::step>> seggraph2d::WalkOuterBoundary(bool left, bool visitedTest, bool mark)
{
    if (vertices_.size() < 3)
        return std::nullopt;
    graphvertex2d* v0 = LowestVertex();
    halfedge2d* first = v0 ? FirstHalfEdge(v0) : nullptr;
    if (!first)
        return std::nullopt;
    std::vector<step> walk{{v0, first}};
    for (std::size_t steps = 0, bound = HalfEdgeCount(); steps < bound; ++steps) {
        halfedge2d* h = walk.back().leaving;
        if (mark)
            h->visited = 1;
        graphvertex2d* w = OtherVertex(*h);
        if (w == v0 && Turn(w, *h, left, false) == first)
            return walk;
        halfedge2d* next = Turn(w, *h, left, visitedTest);
        if (!next)
            return std::nullopt;
        walk.push_back({w, next});
    }
    return std::nullopt;
}

bool seggraph2d::TraceOuterOutline()
{
    const auto walk = WalkOuterBoundary(true, false, true);
    if (!walk)
        return false;
    for (const step& s : *walk)
        s.vertex->flag = 1;
    return true;
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

std::unique_ptr<ring2d> seggraph2d::TraceOutline()
{
    const auto walk = WalkOuterBoundary(false, true, true);
    if (!walk || walk->size() <= 2)
        return nullptr;
    auto ring = std::make_unique<ring2d>();
    for (const step& s : *walk)
        ring->push_back(PointOf(*s.leaving));
    return ring;
}

std::optional<vertexseq> seggraph2d::TraceOutlineVertices()
{
    const auto walk = WalkOuterBoundary(false, false, false);
    if (!walk)
        return std::nullopt;
    vertexseq seq;
    for (const step& s : *walk)
        seq.push_back(s.vertex);
    return seq;
}

ringlist seggraph2d::PeelOutlines()
{
    ringlist rings;
    while (const auto seq = TraceOutlineVertices()) {
        for (graphvertex2d* v : *seq)
            v->flag = 1;
        for (const vertexseq& loop : SplitIntoSimpleLoops(*seq)) {
            if (loop.size() <= 2)
                continue;
            auto& ring = rings.emplace_back(std::make_unique<ring2d>());
            for (const graphvertex2d* v : loop)
                ring->push_back(v->point);
        }
        MarkComponent();
    }
    return rings;
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
            if ((h.atStart ? h.edge->startVertex : h.edge->endVertex) != v.get() ||
                !SamePoint(PointOf(h), v->point)) {
                fault = "a half-edge whose edge does not point back to its vertex";
                return false;
            }
        }
        for (const auto& w : vertices_) {
            if (w != v && w->point.DistanceTo(v->point) < kPlaceTolerance) {
                fault = "two vertices at one place";
                return false;
            }
        }
    }
    for (auto a = edges_.begin(); a != edges_.end(); ++a) {
        for (auto b = std::next(a); b != edges_.end(); ++b) {
            if (MeetAwayFromSharedEnds(a->segment, b->segment)) {
                fault = "two edges meet away from their shared ends";
                return false;
            }
        }
    }
    return true;
}

bool SplitAtRepeatedVertex(const vertexseq& s, std::list<vertexseq>& work)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto repeat = std::find(s.begin() + static_cast<std::ptrdiff_t>(i) + 1, s.end(), s[i]);
        if (repeat == s.end())
            continue;
        work.emplace_back(s.begin() + static_cast<std::ptrdiff_t>(i), repeat);
        vertexseq rest(repeat, s.end());
        rest.insert(rest.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(i));
        work.push_back(std::move(rest));
        return true;
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

} // namespace qrxGe
