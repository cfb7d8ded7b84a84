// Union, subtraction, intersection and split of two rings: one procedure over the ring-edge
// graph. The edges are classified (keep), dangling runs pruned, and result rings traced edge by
// edge, turning at every crossing by the operation's angle rule: the sharpest right turn for
// the union (the outer outline), the sharpest left turn for the others.

#include "qrxGePolygonOperations.h"
#include "qrxGeRingGraph2d.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

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

// Whether the midpoint of ring's first side lies inside `other`, for rings that do not meet:
// it then lies farther than 0.1 from other's outline, so the plain crossing count decides
// (the test with the 0.1 band also takes in points beyond 0.1 off a side near its end).
bool FirstSideLiesInside(const std::vector<point2d>& ring, const std::vector<point2d>& other)
{
    const point2d p = (ring[0] + ring[1]) / 2.0;
    bool inside = false;
    for (std::size_t i = 0, n = other.size(); i < n; ++i) {
        const vector2d a = other[i] - p, b = other[(i + 1) % n] - p;
        if ((a.y > 0.0) != (b.y > 0.0) && (a.x * b.y - b.x * a.y > 0.0) == (b.y > 0.0))
            inside = !inside;
    }
    return inside;
}

bool IsOfA(const ringgraph2d& g, const ringedge2d& e)
{
    return e.owner == &g.EdgesA();
}

bool SamePoint(const point2d& p, const point2d& q)
{
    return p.x == q.x && p.y == q.y;
}

point2d WalkStart(const ringedge2d& e, bool forward)
{
    return forward ? e.edge.StartPoint() : e.edge.EndPoint();
}

point2d WalkEnd(const ringedge2d& e, bool forward)
{
    return forward ? e.edge.EndPoint() : e.edge.StartPoint();
}

// The direction in which a walk leaves a crossing along the entry.
double LeavingAngle(const crossingentry2d& e)
{
    const edge2d& g = e.edge->edge;
    const vector2d d = e.atStart ? g.EndPoint() - g.StartPoint() : g.StartPoint() - g.EndPoint();
    return std::atan2(d.y, d.x);
}

// Whether the run that leaves crossing c along `entry` lies inside the other ring. The other
// ring's edge ends at c divide the turn about c into wedges: its interior lies
// counter-clockwise of an edge that leaves c and clockwise of one that arrives, so the run is
// inside when the first of those ends clockwise from it leaves c. A stretch the other ring
// runs out and back along (a narrow part the crossing pass drew onto it) divides nothing and
// is passed over. The graph's edges meet only at crossings, so the side at c is the side of
// the whole run.
bool RunsInsideOther(const crossing2d& c, const crossingentry2d& entry)
{
    constexpr double turn = 2.0 * std::numbers::pi;
    const auto farEnd = [](const crossingentry2d& e) { return WalkEnd(*e.edge, e.atStart != 0); };
    const auto runsBack = [&](const crossingentry2d& e) {
        return std::any_of(c.entries.begin(), c.entries.end(), [&](const crossingentry2d& f) {
            return f.edge->owner == e.edge->owner && f.atStart != e.atStart && SamePoint(farEnd(f), farEnd(e));
        });
    };
    const double leaving = LeavingAngle(entry);
    double least = HUGE_VAL;
    bool inside = false;
    for (const crossingentry2d& other : c.entries) {
        if (other.edge->owner == entry.edge->owner || runsBack(other))
            continue;
        double from = std::fmod(leaving - LeavingAngle(other) + 2.0 * turn, turn);
        if (from <= 0.0)
            from += turn;
        if (from < least) {
            least = from;
            inside = other.atStart != 0;
        }
    }
    return inside;
}

// The value of keep for the run that leaves crossing c along `entry`. An edge of A bounds
// the difference outside B and the intersection inside it; an edge of B bounds the
// difference inside A (walked backward) and the intersection inside A. A stretch both rings
// share is kept once, as A's edge: for the difference where the interiors lie on its two
// sides, for the intersection where they lie on one side. The split keeps A's edges inside B
// (never one along B) and all of B's.
std::uint8_t KeepValue(ringop op, const ringgraph2d& g, const crossing2d& c, const crossingentry2d& entry)
{
    const ringedge2d& e = *entry.edge;
    const bool ofA = IsOfA(g, e);
    if (op == ringop::split)
        return ofA ? !e.overlap && RunsInsideOther(c, entry) : 1;
    if (e.overlap)
        return ofA && (op == ringop::intersect) == e.RunsWithTwin();
    const bool inside = RunsInsideOther(c, entry);
    return ofA && op == ringop::subtract ? !inside : inside;
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
                MarkRun(entry.edge, entry.atStart != 0, KeepValue(op, g, *c, entry));
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

// The way a result runs along a kept edge: the difference takes B's edges backward, so that
// its interior, outside B, lies on the left.
bool WalksForward(ringop op, const ringgraph2d& g, const ringedge2d& e)
{
    return op != ringop::subtract || IsOfA(g, e);
}

// One step of a walk: an edge and the way along it.
struct walkstep {
    ringedge2d* edge = nullptr;
    bool forward = true;

    bool operator==(const walkstep&) const = default;
};

// The kept edges, each taken the way its result runs, lowest start first: where the walks of
// the difference and the intersection begin. A walk marks the edges it takes, so each search
// goes on from the lowest edge not yet walked.
class startedges {
public:
    startedges(ringgraph2d& g, ringop op)
    {
        for (ringedgelist* list : {&g.EdgesA(), &g.EdgesB()}) {
            for (ringedge2d* e = list->head; e; e = list->Following(e)) {
                if (e->keep != 1)
                    continue;
                const bool forward = WalksForward(op, g, *e);
                const point2d s = WalkStart(*e, forward);
                edges_.push_back({{e, forward}, s.y, s.AngleTo(WalkEnd(*e, forward))});
            }
        }
        std::stable_sort(edges_.begin(), edges_.end(), [](const start& a, const start& b) { return a.y < b.y; });
    }

    // The lowest start not yet walked; within 0.01 above it the smaller direction angle, the
    // earlier in the lists on ties. None when every kept edge is walked.
    walkstep Next()
    {
        while (first_ < edges_.size() && edges_[first_].step.edge->visited)
            ++first_;
        if (first_ == edges_.size())
            return {};
        const start* best = &edges_[first_];
        for (std::size_t i = first_ + 1; i < edges_.size() && edges_[i].y - edges_[first_].y < 0.01; ++i)
            if (!edges_[i].step.edge->visited && edges_[i].angle < best->angle)
                best = &edges_[i];
        return best->step;
    }

private:
    struct start {
        walkstep step;
        double y;
        double angle;
    };
    std::vector<start> edges_;
    std::size_t first_ = 0;
};

// A twin of B that runs with its twin of A is the same side walked twice; the union leaves it.
bool IsRepeatedSide(const ringgraph2d& g, const ringedge2d& e)
{
    return !IsOfA(g, e) && e.overlap && e.RunsWithTwin();
}

// The union's first edge: from the lowest point (the leftmost of equally low ones), which lies
// on the outline, the edge of least direction angle, which runs along it.
walkstep LowestEdge(ringgraph2d& g)
{
    ringedge2d* best = nullptr;
    for (ringedgelist* list : {&g.EdgesA(), &g.EdgesB()}) {
        for (ringedge2d* e = list->head; e; e = list->Following(e)) {
            if (IsRepeatedSide(g, *e))
                continue;
            if (!best) {
                best = e;
                continue;
            }
            const point2d s = e->edge.StartPoint(), t = best->edge.StartPoint();
            if (s.y != t.y ? s.y < t.y : s.x != t.x ? s.x < t.x : e->edge.Angle() < best->edge.Angle())
                best = e;
        }
    }
    return {best, true};
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

bool IsWalkCandidate(ringop op, const ringgraph2d& g, const walkstep& s, const walkstep& start)
{
    if (op == ringop::unite)
        return !IsRepeatedSide(g, *s.edge);
    return s.edge->keep == 1 && (!s.edge->visited || s == start);
}

// Whether the step runs along its edge the way the operation's result does.
bool OnItsWay(ringop op, const ringgraph2d& g, const walkstep& s)
{
    return s.forward == WalksForward(op, g, *s.edge);
}

// The way on from crossing c: least rel (sharpest right turn) for the union, greatest
// (sharpest left) for the others; the later entry wins a tie. The walk's first edge, taken
// its own way, is a candidate again, so that the walk can close. Only edges taken the way
// their result runs are ways on: where a ring the pass drew passes a place twice with a
// stretch out and back between (a hub drawn onto a few places), the sharpest turn can be an
// edge that arrives there, and walking it backward traced a lobe clockwise. Ways along one
// stretch (a stretch both rings share, or a ring's narrow part drawn onto it and walked there
// and back) differ in rel only by the rounding of the single-precision half turn: straight
// back is the last way taken.
walkstep NextEdge(ringop op, const ringgraph2d& g, const crossing2d& c, const walkstep& in, const walkstep& start)
{
    const double ref = BackAngle(in.edge->edge.Angle(), in.forward);
    const point2d from = WalkStart(*in.edge, in.forward);
    const double last = op == ringop::unite ? kTwoPi : 0.0;
    walkstep best{nullptr, true};
    double bestRel = last;
    for (const crossingentry2d& entry : c.entries) {
        const walkstep s{entry.edge, entry.atStart != 0};
        if (entry.edge == in.edge || !IsWalkCandidate(op, g, s, start) || !OnItsWay(op, g, s))
            continue;
        const double a = entry.edge->edge.Angle() + (entry.atStart ? 0.0 : kPi);
        const double rel = SamePoint(WalkEnd(*s.edge, s.forward), from) ? last : RelativeAngle(op, a - ref);
        if (op == ringop::unite ? rel <= bestRel : rel >= bestRel) {
            best = s;
            bestRel = rel;
        }
    }
    return best;
}

// Traces one ring from `start` until the walk is about to leave along its first edge again;
// a ring that passes its first point twice (a touch there) is thus walked whole. False when a
// crossing offers no way on, or when the walk outlasts the graph's edge records without
// closing.
bool Walk(ringgraph2d& g, ringop op, const walkstep& start, ring2d& ring)
{
    const std::size_t bound = g.EdgesA().size + g.EdgesB().size + 1;
    walkstep at = start;
    for (std::size_t step = 0; step < bound; ++step) {
        ring.push_back(WalkStart(*at.edge, at.forward));
        if (op != ringop::unite)
            at.edge->visited = 1;
        const crossing2d* c = at.forward ? at.edge->endCrossing : at.edge->startCrossing;
        const walkstep next = c ? NextEdge(op, g, *c, at, start)
                                : walkstep{at.forward ? at.edge->next : at.edge->prev, at.forward};
        if (!next.edge)
            return false;
        if (next == start)
            return true;
        at = next;
    }
    return false;
}

// Begins the union's ring where its lowest edge starts (within 0.01 in y the one of smaller
// direction angle, the earlier on ties), as a walk from that edge would.
void StartAtLowestEdge(ring2d& ring)
{
    const std::size_t n = ring.size();
    const auto angle = [&](std::size_t i) { return ring[i].AngleTo(ring[(i + 1) % n]); };
    std::size_t first = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const double dy = ring[i].y - ring[first].y;
        if (std::fabs(dy) >= 0.01 ? dy < 0.0 : angle(i) < angle(first))
            first = i;
    }
    std::rotate(ring.begin(), ring.begin() + static_cast<std::ptrdiff_t>(first), ring.end());
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
    return g;
}

// A's outline as the crossing pass left it: where it lies along B's, within 0.1, the
// outline both share.
std::vector<ring2d*>* ListOfOutlineA(const ringgraph2d& g)
{
    ring2d ring;
    for (const ringedge2d* r = g.EdgesA().head; r; r = g.EdgesA().Following(r))
        ring.push_back(r->edge.StartPoint());
    return ListOf(ring);
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
        if (FirstSideLiesInside(a, b))
            return op == ringop::subtract ? EmptyList() : ListOf(a);
        if (op == ringop::intersect && FirstSideLiesInside(b, a))
            return ListOf(b);
        return nullptr;
    }
    if (SharesWholeOutline(g))
        return op == ringop::subtract ? EmptyList() : ListOfOutlineA(g);

    Classify(g, op);
    PruneCrossings(g);
    ringlist rings;
    startedges starts(g, op);
    for (walkstep start = starts.Next(); start.edge; start = starts.Next()) {
        auto ring = std::make_unique<ring2d>();
        if (!Walk(g, op, start, *ring))
            return nullptr;
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
// turn among kept entries not yet used, rel in [0, 2*pi), straight back along the same
// stretch last. (A way within 0.01 of a full turn is a sharp right turn, not the sharpest
// left: taking it walked a face back along a side that leaves the crossing at a shallow
// angle.)
crossingentry2d* NextSplitEntry(crossing2d& c, const ringedge2d* incoming, bool forward)
{
    auto& entries = c.entries;
    if (entries.size() == 2)
        return entries[0].edge == incoming ? &entries[1] : &entries[0];
    const double ref = BackAngle(incoming->angle, forward);
    const point2d from = WalkStart(*incoming, forward);
    crossingentry2d* best = nullptr;
    double bestRel = 0.0;
    for (crossingentry2d& entry : entries) {
        if (entry.edge == incoming || entry.edge->keep != 1 || entry.used)
            continue;
        double rel = entry.edge->angle + (entry.atStart ? 0.0 : kPi) - ref;
        while (rel < 0.0)
            rel += kTwoPi;
        while (rel >= kTwoPi)
            rel -= kTwoPi;
        if (SamePoint(WalkEnd(*entry.edge, entry.atStart != 0), from))
            rel = 0.0;
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
        face.push_back(WalkStart(*e, forward));
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
        if (FirstSideLiesInside(a, b))
            return new ring2d(b);
        if (FirstSideLiesInside(b, a))
            return new ring2d(a);
        return nullptr;
    }
    auto ring = std::make_unique<ring2d>();
    if (!Walk(g, ringop::unite, LowestEdge(g), *ring) || ring->size() < 3)
        return nullptr;
    StartAtLowestEdge(*ring);
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
