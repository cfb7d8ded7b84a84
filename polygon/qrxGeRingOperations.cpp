// Union, subtraction, intersection and split of two rings: one procedure over the ring-edge
// graph. The edges are classified (keep), dangling runs pruned, and result rings traced edge by
// edge, turning at every crossing by the operation's angle rule: the sharpest right turn for
// the union (the outer outline), the sharpest left turn for the others.

#include "qrxGePolygonOperations.h"
#include "qrxGeRingGraph2d.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace qrxGe {

namespace {

enum class ringop { unite, subtract, intersect, split };

std::vector<ring2d*>* ListOf(const std::vector<point2d>& ring)
{
    ringlist rings;
    rings.push_back(std::make_unique<ring2d>(ring));
    return Release(rings);
}

std::vector<ring2d*>* EmptyList()
{
    return new std::vector<ring2d*>();
}

// The split's walk may step onto a crossing's other entry just beside the first point, or run
// along degenerate edges back to it; such last points are the first one again, so the face
// ends before them.
void DropRepeatedClosingPoint(ring2d& ring)
{
    while (ring.size() > 1 && ring.back() == ring.front())
        ring.pop_back();
}

bool IsOfA(const ringgraph2d& g, const ringedge2d& e)
{
    return e.owner == &g.EdgesA();
}

// Whether a ring lies just left and just right of a point of an edge, seen along the edge's
// direction.
struct sides {
    bool left = false;
    bool right = false;
};

// Counts the ring's sides that one ray from `at`, along the edge's left normal, crosses. Sides
// crossing it beyond `at` count for both points; a side through `at` itself (one laid along
// the edge) counts only for the point on the right, whose ray passes it. `at` is the midpoint
// of an edge of the graph, which the other ring meets only at its ends, so the answer needs
// no tolerance.
sides InsideBeside(const std::vector<point2d>& ring, const point2d& at, const vector2d& along)
{
    const vector2d n = along.Perpendicular().UnitVector();
    const double through = 1e-9 * std::max({1.0, std::fabs(at.x), std::fabs(at.y)});
    int left = 0, right = 0;
    for (std::size_t i = 0, size = ring.size(); i < size; ++i) {
        const vector2d p = ring[i] - at, q = ring[i + 1 == size ? 0 : i + 1] - at;
        const double sp = n.CrossProduct(p), sq = n.CrossProduct(q);
        if ((sp > 0.0) == (sq > 0.0))
            continue;
        const double t = n.DotProduct(p) + sp / (sp - sq) * n.DotProduct(q - p);
        left += t > through;
        right += t > -through;
    }
    return {left % 2 == 1, right % 2 == 1};
}

// The longest edge of the run that leaves a crossing along e: where its sides are read most
// safely.
const ringedge2d* LongestOfRun(const ringedge2d* e, bool forward)
{
    const ringedge2d* longest = e;
    for (std::size_t i = 0, n = e->owner->size; i < n; ++i) {
        if (e->edge.Length() > longest->edge.Length())
            longest = e;
        if (forward ? e->endCrossing : e->startCrossing)
            break;
        e = forward ? e->next : e->prev;
    }
    return longest;
}

// The value of keep for the run that leaves a crossing along e. The run's own ring lies on
// its left. An edge of A bounds the difference where B is not on that side, the intersection
// where it is; an edge of B bounds the difference where A lies on its right, the
// intersection where A lies on its left. A shared stretch thus bounds the difference when the
// interiors lie on its two sides, the intersection when on one side. The other ring's sides
// are read rather than the midpoint tested against it, whose 0.1 boundary band takes in the
// short pieces between crossings that tolerance gathered.
std::uint8_t KeepValue(ringop op, const ringgraph2d& g, const ringedge2d& entry, bool forward)
{
    const bool ofA = IsOfA(g, entry);
    if (op == ringop::split)
        return ofA ? IsPointInPolygon(g.RingB(), entry.edge.MidPoint()) : 1;
    const edge2d& e = LongestOfRun(&entry, forward)->edge;
    const vector2d along = e.EndPoint() - e.StartPoint();
    if (along.LengthSquared() == 0.0)
        return 0;
    const sides other = InsideBeside(ofA ? g.RingB() : g.RingA(), e.MidPoint(), along);
    if (op == ringop::intersect)
        return other.left;
    return ofA ? !other.left : other.right;
}

// keep = v along the run leaving a crossing along e, up to the next crossing.
void MarkRun(ringedge2d* e, bool forward, std::uint8_t v)
{
    for (std::size_t i = 0, n = e->owner->size; i < n; ++i) {
        e->keep = v;
        if (forward ? e->endCrossing : e->startCrossing)
            return;
        e = forward ? e->next : e->prev;
    }
}

void Classify(ringgraph2d& g, ringop op)
{
    for (const auto& c : g.Crossings())
        for (const crossingentry2d& entry : c->entries)
            if (entry.edge->keep == 255)
                MarkRun(entry.edge, entry.atStart != 0, KeepValue(op, g, *entry.edge, entry.atStart != 0));
}

void UnkeepOverlapEdges(ringedgelist& list)
{
    for (ringedge2d* r = list.head; r; r = list.Following(r))
        if (r->overlap)
            r->keep = 0;
}

// A crossing with a single kept entry ends a dangling run: drop it and look again.
void PruneCrossings(ringgraph2d& g)
{
    const auto& crossings = g.Crossings();
    for (std::size_t i = 0; i < crossings.size(); ++i) {
        ringedge2d* only = nullptr;
        int kept = 0;
        for (const crossingentry2d& entry : crossings[i]->entries) {
            if (entry.edge->keep != 0) {
                ++kept;
                only = entry.edge;
            }
        }
        if (kept == 1) {
            only->keep = 0;
            i = static_cast<std::size_t>(-1);
        }
    }
}

bool IsWalkCandidate(ringop op, const ringedge2d& e)
{
    return op == ringop::unite || (e.keep == 1 && !e.visited);
}

// The lowest start; within 0.01 in y the smaller direction angle; ties to the earlier.
ringedge2d* FindStartEdge(ringgraph2d& g, ringop op)
{
    ringedge2d* best = nullptr;
    for (ringedgelist* list : {&g.EdgesA(), &g.EdgesB()}) {
        for (ringedge2d* e = list->head; e; e = list->Following(e)) {
            if (!IsWalkCandidate(op, *e))
                continue;
            if (!best) {
                best = e;
                continue;
            }
            const double dy = e->edge.StartPoint().y - best->edge.StartPoint().y;
            if (std::fabs(dy) >= 0.01 ? dy < 0.0 : e->edge.Angle() < best->edge.Angle())
                best = e;
        }
    }
    return best;
}

// The direction from a crossing back along the edge that arrived there.
double BackAngle(double angle, bool forward)
{
    double ref = forward ? angle + kPi : angle;
    while (ref >= kTwoPi)
        ref -= kTwoPi;
    return ref;
}

// rel in (0, 2*pi] for the union and the subtraction, [0, 2*pi) for the intersection.
double RelativeAngle(ringop op, double rel)
{
    if (op == ringop::intersect) {
        while (rel < 0.0)
            rel += kTwoPi;
        while (rel >= kTwoPi)
            rel -= kTwoPi;
    } else {
        while (rel <= 0.0)
            rel += kTwoPi;
        while (rel > kTwoPi)
            rel -= kTwoPi;
    }
    return rel;
}

point2d WalkStart(const ringedge2d& e, bool forward)
{
    return forward ? e.edge.StartPoint() : e.edge.EndPoint();
}

point2d WalkEnd(const ringedge2d& e, bool forward)
{
    return forward ? e.edge.EndPoint() : e.edge.StartPoint();
}

// The way on from crossing c: least rel (sharpest right turn) for the union, greatest
// (sharpest left) for the others; the later entry wins a tie. Where tolerance gathered edge
// ends at different points into the crossing, the way goes on from the very point where the
// incoming edge ends whenever an entry leaves from there, so that it follows the rings as
// they truly run; only where none does is it chosen among the others.
const crossingentry2d* NextEdge(ringop op, const crossing2d& c, const ringedge2d* incoming, bool forward)
{
    const double ref = BackAngle(incoming->edge.Angle(), forward);
    const point2d end = WalkEnd(*incoming, forward);
    const auto choose = [&](bool fromEnd) {
        const crossingentry2d* best = nullptr;
        double bestRel = op == ringop::unite ? kTwoPi : 0.0;
        for (const crossingentry2d& entry : c.entries) {
            if (entry.edge == incoming || !IsWalkCandidate(op, *entry.edge) ||
                IsOnePoint(WalkStart(*entry.edge, entry.atStart), end) != fromEnd)
                continue;
            const double a = entry.edge->edge.Angle() + (entry.atStart ? 0.0 : kPi);
            const double rel = RelativeAngle(op, a - ref);
            if (!std::isfinite(rel))
                continue;
            if (op == ringop::unite ? rel <= bestRel : rel >= bestRel) {
                best = &entry;
                bestRel = rel;
            }
        }
        return best;
    };
    const crossingentry2d* onward = choose(true);
    return onward ? onward : choose(false);
}

// Traces one ring from `start`, forward, until it is back at the first point itself: points
// that tolerance gathered into its crossing are passed, they lie elsewhere. False when a
// crossing offers no way on, or when the walk outlasts the graph's edge records without
// closing.
bool Walk(ringgraph2d& g, ringop op, ringedge2d* start, ring2d& ring)
{
    const std::size_t bound = g.EdgesA().size + g.EdgesB().size;
    const point2d first = start->edge.StartPoint();
    ringedge2d* e = start;
    bool forward = true;
    for (std::size_t step = 0; step < bound; ++step) {
        ring.push_back(WalkStart(*e, forward));
        if (op != ringop::unite)
            e->visited = 1;
        if (IsOnePoint(WalkEnd(*e, forward), first)) {
            // Degenerate edges back to the first point left it at the end again.
            while (ring.size() > 1 && IsOnePoint(ring.back(), first))
                ring.pop_back();
            return true;
        }
        const crossing2d* c = forward ? e->endCrossing : e->startCrossing;
        if (!c) {
            e = forward ? e->next : e->prev;
            continue;
        }
        const crossingentry2d* entry = NextEdge(op, *c, e, forward);
        if (!entry)
            return false;
        e = entry->edge;
        forward = entry->atStart != 0;
    }
    return false;
}

bool Build(ringgraph2d& g, bool dropDegenerate)
{
    g.BuildEdges(dropDegenerate);
    g.CollectCrossings();
    g.LinkCrossings();
    return g.IsUsable();
}

// The linked graph of two rings of at least 3 points each; null when there is none to walk.
std::unique_ptr<ringgraph2d> LinkedGraph(const std::vector<point2d>& a, const std::vector<point2d>& b)
{
    if (a.size() < 3 || b.size() < 3)
        return nullptr;
    auto g = std::make_unique<ringgraph2d>(a, b);
    if (!Build(*g, false))
        return nullptr;
    g->CutAtGatheredPoints();
    if (!g->IsUsable())
        return nullptr;
    return g;
}

// A's whole outline lies on B's.
bool SharesWholeOutline(ringgraph2d& g)
{
    const std::size_t crossings = g.Crossings().size();
    if (crossings < g.EdgesA().size || crossings < g.EdgesB().size)
        return false;
    for (const ringedge2d* r = g.EdgesA().head; r; r = g.EdgesA().Following(r))
        if (!r->overlap)
            return false;
    return true;
}

std::vector<ring2d*>* TraceRings(const std::vector<point2d>& a, const std::vector<point2d>& b, ringop op)
{
    const std::unique_ptr<ringgraph2d> graph = LinkedGraph(a, b);
    if (!graph)
        return nullptr;
    ringgraph2d& g = *graph;
    if (g.Crossings().empty()) {
        if (FirstSideMidpointInside(a, b))
            return op == ringop::subtract ? EmptyList() : ListOf(a);
        if (op == ringop::intersect && FirstSideMidpointInside(b, a))
            return ListOf(b);
        return nullptr;
    }
    if (SharesWholeOutline(g))
        return op == ringop::subtract ? EmptyList() : ListOf(a);

    Classify(g, op);
    UnkeepOverlapEdges(g.EdgesB());
    PruneCrossings(g);
    ringlist rings;
    while (ringedge2d* start = FindStartEdge(g, op)) {
        auto ring = std::make_unique<ring2d>();
        if (!Walk(g, op, start, *ring))
            return nullptr;
        // A walk over a degenerate edge can close before it has an area.
        if (ring->size() >= 3)
            rings.push_back(std::move(ring));
    }
    return Release(rings);
}

// Split: the first entry, in crossing and entry order, along a kept edge and not yet used.
// Marks are never cleared, so the search goes on from where the last one stopped.
struct entrycursor {
    std::size_t crossing = 0;
    std::size_t entry = 0;
};

crossingentry2d* FindStartEntry(ringgraph2d& g, entrycursor& at, crossing2d*& c0)
{
    const auto& crossings = g.Crossings();
    for (; at.crossing < crossings.size(); ++at.crossing, at.entry = 0) {
        auto& entries = crossings[at.crossing]->entries;
        for (; at.entry < entries.size(); ++at.entry) {
            if (entries[at.entry].edge->keep == 1 && !entries[at.entry].used) {
                c0 = crossings[at.crossing].get();
                return &entries[at.entry];
            }
        }
    }
    return nullptr;
}

void CacheEdgeAngles(ringgraph2d& g)
{
    for (const auto& c : g.Crossings()) {
        if (c->entries.size() <= 2)
            continue;
        for (crossingentry2d& entry : c->entries)
            if (entry.edge->keep == 1 && entry.edge->angle == ringedge2d::kNoAngle)
                entry.edge->angle = entry.edge->edge.Angle();
    }
}

// Split's way on: through a crossing of two entries, the other one; else the sharpest left
// turn among kept entries not yet used, with 0.01 of margin beyond a full turn.
crossingentry2d* NextSplitEntry(crossing2d& c, const ringedge2d* incoming, bool forward)
{
    auto& entries = c.entries;
    if (entries.size() == 2)
        return entries[0].edge == incoming ? &entries[1] : &entries[0];
    const double ref = BackAngle(incoming->angle, forward);
    crossingentry2d* best = nullptr;
    double bestRel = 0.0;
    for (crossingentry2d& entry : entries) {
        if (entry.edge == incoming || entry.edge->keep != 1 || entry.used)
            continue;
        double rel = entry.edge->angle + (entry.atStart ? 0.0 : kPi) - ref;
        if (!std::isfinite(rel))
            continue;
        while (rel < 0.0)
            rel += kTwoPi;
        while (rel - kTwoPi > 0.01)
            rel -= kTwoPi;
        if (rel >= bestRel) {
            best = &entry;
            bestRel = rel;
        }
    }
    return best;
}

// Follows the run that leaves along `entry` to the next crossing, appending its points.
// Null when the run never reaches one.
crossing2d* FollowRun(const crossingentry2d& entry, ringedge2d*& e, ring2d& face)
{
    e = entry.edge;
    const bool forward = entry.atStart != 0;
    for (std::size_t i = 0, n = e->owner->size; i < n; ++i) {
        face.push_back(forward ? e->edge.StartPoint() : e->edge.EndPoint());
        if (crossing2d* reached = forward ? e->endCrossing : e->startCrossing)
            return reached;
        e = forward ? e->next : e->prev;
    }
    return nullptr;
}

// Every face walked from the kept entries; false when a walk finds no way on or outlasts
// the graph's entries.
bool TraceFaces(ringgraph2d& g, ringlist& faces)
{
    std::size_t entries = 0;
    for (const auto& c : g.Crossings())
        entries += c->entries.size();
    entrycursor cursor;
    crossing2d* c0 = nullptr;
    while (crossingentry2d* entry = FindStartEntry(g, cursor, c0)) {
        auto face = std::make_unique<ring2d>();
        bool closed = false;
        for (std::size_t step = 0; step < entries && !closed; ++step) {
            entry->used = 1;
            ringedge2d* last = nullptr;
            crossing2d* reached = FollowRun(*entry, last, *face);
            if (!reached)
                return false;
            if (reached == c0) {
                closed = true;
                break;
            }
            entry = NextSplitEntry(*reached, last, entry->atStart != 0);
            if (!entry)
                return false;
        }
        if (!closed)
            return false;
        DropRepeatedClosingPoint(*face);
        if (face->size() > 2)
            faces.push_back(std::move(face));
    }
    return true;
}

// Drops the ring's own outline traced from outside: the first clockwise face at least as
// long as the ring's edge list.
void RemoveOuterFace(const ringgraph2d& g, ringlist& faces)
{
    for (auto it = faces.begin(); it != faces.end(); ++it) {
        if (IsClockwise(**it) && (*it)->size() >= g.EdgesB().size) {
            faces.erase(it);
            return;
        }
    }
}

} // namespace

bool FirstSideMidpointInside(const std::vector<point2d>& ring, const std::vector<point2d>& other)
{
    if (ring.size() < 2)
        return false;
    return IsPointInPolygon(other, (ring[0] + ring[1]) / 2.0);
}

ring2d* UnionPolygons(const std::vector<point2d>& a, const std::vector<point2d>& b)
{
    const std::unique_ptr<ringgraph2d> graph = LinkedGraph(a, b);
    if (!graph)
        return nullptr;
    ringgraph2d& g = *graph;
    if (g.Crossings().empty()) {
        if (FirstSideMidpointInside(a, b))
            return new ring2d(b);
        if (FirstSideMidpointInside(b, a))
            return new ring2d(a);
        return nullptr;
    }
    auto ring = std::make_unique<ring2d>();
    if (!Walk(g, ringop::unite, FindStartEdge(g, ringop::unite), *ring) || ring->size() < 3)
        return nullptr;
    return ring.release();
}

std::vector<ring2d*>* SubtractPolygons(const std::vector<point2d>& a, const std::vector<point2d>& b)
{
    return TraceRings(a, b, ringop::subtract);
}

std::vector<ring2d*>* IntersectPolygons(const std::vector<point2d>& a, const std::vector<point2d>& b)
{
    return TraceRings(a, b, ringop::intersect);
}

std::vector<ring2d*>* SplitPolygonByPolygon(const std::vector<point2d>& cutter, const std::vector<point2d>& ring)
{
    if (cutter.empty())
        return ListOf(ring);
    ringgraph2d g(cutter, ring);
    ringlist faces;
    if (Build(g, true) && g.Crossings().size() >= 2) {
        UnkeepOverlapEdges(g.EdgesA());
        Classify(g, ringop::split);
        CacheEdgeAngles(g);
        if (TraceFaces(g, faces))
            RemoveOuterFace(g, faces);
        else
            faces.clear();
    }
    return faces.empty() ? ListOf(ring) : Release(faces);
}

} // namespace qrxGe
