#include "qrxGeSegGraph2d.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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

void SetSegment(graphedge2d& e, const edge2d& s)
{
    e.segment = s;
    e.box = meetbox::Of(s);
}

int* EndSlot(graphedge2d& e, bool atStart)
{
    return atStart ? &e.startId : &e.endId;
}

} // namespace

void seggraph2d::AddSegment(const edge2d& s)
{
    if (!IsFinite(s.StartPoint()) || !IsFinite(s.EndPoint())) {
        usable_ = false;
        return;
    }
    if (s.IsDegenerate())
        return;
    SetSegment(edges_.emplace_back(), s);
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
    // With exact arithmetic every segment is cut at most twice by each other segment; far
    // more pieces mean coordinates too large for the tolerance to tell places apart.
    const std::size_t n = edges_.size();
    piecesLeft_ = 4 * n * n + 16;
    // Pieces inserted or appended during the pass are met later, as outer and as inner edge.
    for (edgeit a = edges_.begin(); usable_ && a != edges_.end(); ++a)
        for (edgeit b = std::next(a); usable_ && b != edges_.end();)
            MeetPair(a, b);
}

bool seggraph2d::CountPiece()
{
    if (piecesLeft_ == 0)
        usable_ = false;
    else
        --piecesLeft_;
    return usable_;
}

seggraph2d::edgeit seggraph2d::SplitAfter(edgeit e, const point2d& p)
{
    graphedge2d piece;
    SetSegment(piece, edge2d(p, e->segment.EndPoint()));
    piece.endId = e->endId;
    SetSegment(*e, edge2d(e->segment.StartPoint(), p));
    e->endId = 0;
    return edges_.insert(std::next(e), piece);
}

// One pair of the crossing pass, told along b; leaves b on the next edge to compare.
void seggraph2d::MeetPair(edgeit a, edgeit& b)
{
    if (!MayMeet(b->box, a->box)) {
        ++b;
        return;
    }
    point2d p1, p2;
    int c1 = 0, c2 = 0;
    slots s;
    const int r = b->segment.IntersectWith(a->segment, p1, c1, p2, c2);
    if (r == 1) {
        for (edgeit e : {a, b}) {
            const int k = e->segment.EndIndexOf(p1);
            if (k == 0 && CountPiece()) {
                const edgeit piece = SplitAfter(e, p1);
                s.push_back(&e->endId);
                s.push_back(&piece->startId);
            } else if (k != 0) {
                s.push_back(EndSlot(*e, k == 1));
            }
        }
        ids_.Assign(s);
    } else if (r == -1) {
        s.push_back(EndSlot(*a, a->segment.IsStartPoint(p1)));
        s.push_back(EndSlot(*b, b->segment.IsStartPoint(p1)));
        ids_.Assign(s);
    } else if (r == -2) {
        if (c1 == 0 && c2 == 0) {
            b = edges_.erase(b);  // b lies on a
            return;
        }
        if (c1 == 0 && c2 == -1) {
            s.push_back(EndSlot(*a, p2 == a->segment.StartPoint()));
            SetSegment(*b, edge2d(p2, b->segment.EndPoint()));
            b->startId = 0;
            s.push_back(&b->startId);
            ids_.Assign(s);
        } else if (c1 == 1 && c2 == 0) {
            SetSegment(*b, edge2d(b->segment.StartPoint(), p1));
            b->endId = 0;
            s.push_back(&b->endId);
            s.push_back(EndSlot(*a, p1 == a->segment.StartPoint()));
            ids_.Assign(s);
        } else if (c1 == 1 && c2 == -1 && CountPiece()) {
            // a lies inside b: b keeps the piece before a, the piece after a goes last.
            graphedge2d& after = edges_.emplace_back();
            SetSegment(after, edge2d(p2, b->segment.EndPoint()));
            after.endId = b->endId;
            SetSegment(*b, edge2d(b->segment.StartPoint(), p1));
            b->endId = 0;
            const bool aStartsAtP1 = a->segment.IsStartPoint(p1);
            s.push_back(EndSlot(*a, aStartsAtP1));
            s.push_back(&b->endId);
            ids_.Assign(s);
            s.push_back(EndSlot(*a, !aStartsAtP1));
            s.push_back(&after.startId);
            ids_.Assign(s);
        }
    }
    ++b;
}

void seggraph2d::DropOpenEdges()
{
    edges_.remove_if([&](const graphedge2d& e) {
        return built_ ? (!e.startVertex || !e.endVertex) : (e.startId == 0 || e.endId == 0);
    });
}

// Ends that are one place (equal within 0.1) are one vertex, also where the crossing pass never
// collected them together: near crossings spread wider than the tolerance give each pair of
// lines its own meeting point, and the pass compares each pair once, at that moment's ends.
void seggraph2d::JoinCoincidentEnds()
{
    struct end {
        double column;  // x in steps of the tolerance
        point2d p;
        int id;
    };
    std::vector<end> ends;
    ends.reserve(2 * edges_.size());
    for (const graphedge2d& e : edges_)
        for (const auto& [p, id] : {std::pair{e.segment.StartPoint(), e.startId}, std::pair{e.segment.EndPoint(), e.endId}})
            ends.push_back({std::floor(p.x / 0.1), p, id});
    const auto before = [](const end& a, const end& b) { return a.column < b.column || (a.column == b.column && a.p.y < b.p.y); };
    std::sort(ends.begin(), ends.end(), before);
    // Points within 0.1 lie in the same column or the next (two next on a rounded boundary);
    // each pair is met from its left end.
    for (const end& a : ends) {
        for (double column = a.column; column <= a.column + 2.0; column += 1.0) {
            auto b = std::lower_bound(ends.begin(), ends.end(), end{column, {0.0, a.p.y - 0.1}, 0}, before);
            for (; b != ends.end() && b->column == column && b->p.y <= a.p.y + 0.1; ++b)
                if (b->id != a.id && b->p == a.p)
                    ids_.Join(a.id, b->id);
        }
    }
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
    if (!usable_)
        edges_.clear();
    DropOpenEdges();
    JoinCoincidentEnds();
    // An edge whose two ends resolve to one place (a piece shorter than about twice the
    // tolerance) would be a loop at one vertex, with no direction to walk: it goes.
    edges_.remove_if([&](const graphedge2d& e) { return ids_.Resolve(e.startId) == ids_.Resolve(e.endId); });
    vertexOfId_.assign(ids_.Bound(), nullptr);
    for (graphedge2d& e : edges_) {
        e.startVertex = VertexFor(ids_.Resolve(e.startId), e.segment.StartPoint());
        e.startVertex->halfEdges.push_back({&e, 0, 1});
        e.endVertex = VertexFor(ids_.Resolve(e.endId), e.segment.EndPoint());
        e.endVertex->halfEdges.push_back({&e, 0, 0});
    }
    built_ = true;
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
            if ((h.atStart ? h.edge->startVertex : h.edge->endVertex) != v.get()) {
                fault = "a half-edge whose edge does not point back to its vertex";
                return false;
            }
        }
        for (const auto& w : vertices_) {
            if (w != v && w->point == v->point) {
                fault = "two vertices at one place";
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
            // Where near crossings spread wider than the tolerance, an end of each edge can lie
            // within 0.1 of a point that is not within 0.1 of both ends together.
            const bool endsTouch = a->segment.EndIndexOf(p) != 0 && b->segment.EndIndexOf(p) != 0;
            if (r == -2 || !(shared || endsTouch)) {
                fault = "two edges meet away from their ends";
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
