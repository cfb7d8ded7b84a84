#include "qrxGeRingGraph2d.h"

#include "qrxGeSegmentNoder.h"


#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <utility>

namespace qrxGe {

namespace {

std::string Describe(const char* what, const ringedge2d& r)
{
    std::ostringstream s;
    s.precision(17);
    s << what << " (" << r.edge.StartPoint().x << ',' << r.edge.StartPoint().y << ")-("
      << r.edge.EndPoint().x << ',' << r.edge.EndPoint().y << ')';
    return s.str();
}

bool HasEntry(const crossing2d* c, const ringedge2d* r, std::uint8_t atStart)
{
    return std::any_of(c->entries.begin(), c->entries.end(), [&](const crossingentry2d& e) {
        return e.edge == r && e.atStart == atStart;
    });
}

bool SamePoint(const point2d& p, const point2d& q)
{
    return p.x == q.x && p.y == q.y;
}

// Takes out of a cycle of places a place repeated in a row and every stretch the cycle runs
// out and straight back along (X, Y, X becomes X), however deep, also across the cycle's
// seam; a cycle left with fewer than 3 places encloses nothing and is emptied.
void DropBackTracks(std::vector<nodedstop>& cycle)
{
    const auto same = [](const nodedstop& p, const nodedstop& q) { return SamePoint(p.point, q.point); };
    const auto backTrack = [&](const nodedstop& x, const nodedstop&, const nodedstop& y) { return same(x, y); };
    for (bool changed = true; changed && cycle.size() >= 3;) {
        changed = false;
        std::vector<nodedstop> kept;
        for (const nodedstop& s : cycle) {
            if (!kept.empty() && same(kept.back(), s)) {
                changed = true;
                continue;
            }
            kept.push_back(s);
            while (kept.size() >= 3 && backTrack(kept[kept.size() - 3], kept[kept.size() - 2], kept.back())) {
                kept.pop_back();
                kept.pop_back();
                changed = true;
            }
        }
        // Across the seam: the last place and the first, or the last two and the first, or
        // the last and the first two.
        const std::size_t n = kept.size();
        if (n >= 2 && same(kept[n - 1], kept[0])) {
            kept.pop_back();
            changed = true;
        } else if (n >= 3 && backTrack(kept[n - 2], kept[n - 1], kept[0])) {
            kept.resize(n - 2);
            changed = true;
        } else if (n >= 3 && backTrack(kept[n - 1], kept[0], kept[1])) {
            kept.erase(kept.begin(), kept.begin() + 2);
            changed = true;
        }
        cycle = std::move(kept);
    }
    if (cycle.size() < 3)
        cycle.clear();
}

// Whether a cycle of places, drawn from a counter-clockwise ring, still runs that way. Where
// the pass drew a ring made mostly of parts narrower than the tolerance (blades round a hub
// whose corners became one or two places) what is left can be a sliver running the other
// way: it encloses nothing of the ring.
bool RunsCounterClockwise(const std::vector<nodedstop>& cycle)
{
    std::vector<point2d> points;
    points.reserve(cycle.size());
    for (const nodedstop& s : cycle)
        points.push_back(s.point);
    return !IsClockwise(points);
}

// The places each cycle runs out to and straight back from, as (where it turns back from, tip).
std::set<std::pair<int, int>> BackTracks(const std::vector<nodedstop>& cycle)
{
    std::set<std::pair<int, int>> tips;
    for (std::size_t i = 0, n = cycle.size(); i < n; ++i) {
        const nodedstop &before = cycle[(i + n - 1) % n], &after = cycle[(i + 1) % n];
        if (cycle[i].node >= 0 && before.node >= 0 && before.node == after.node && before.node != cycle[i].node)
            tips.insert({before.node, cycle[i].node});
    }
    return tips;
}

// The sides of a cycle with the place `from` moved onto `onto`: only those that move, or all.
// Sides without length are left out; they are taken out of the cycle anyway.
std::vector<edge2d> SidesWithPlaceMoved(const std::vector<nodedstop>& cycle, int from, const nodedstop& onto,
                                        bool movedOnly)
{
    std::vector<edge2d> sides;
    for (std::size_t i = 0, n = cycle.size(); i < n; ++i) {
        nodedstop s = cycle[i], t = cycle[(i + 1) % n];
        const bool moves = s.node == from || t.node == from;
        if (s.node == from)
            s = onto;
        if (t.node == from)
            t = onto;
        if ((moves || !movedOnly) && !SamePoint(s.point, t.point))
            sides.emplace_back(s.point, t.point);
    }
    return sides;
}

// Whether moving the place `from` onto `onto` in both cycles leaves every side of one ring
// meeting the other's only at shared ends. The places may lie far apart (two rings running
// out and back along one stretch a few tenths long, as round a hub narrower than the
// tolerance), and then the sides through `from` swing across the other ring's.
bool MoveKeepsRingsApart(const std::vector<nodedstop>& a, const std::vector<nodedstop>& b, int from,
                         const nodedstop& onto)
{
    for (const auto& [one, other] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
        const std::vector<edge2d> moved = SidesWithPlaceMoved(*one, from, onto, true);
        const std::vector<edge2d> all = SidesWithPlaceMoved(*other, from, onto, false);
        for (const edge2d& m : moved)
            for (const edge2d& e : all)
                if (MeetAwayFromSharedEnds(m, e))
                    return false;
    }
    return true;
}

// Where A runs out to a tip Y and back to X, and B runs out to X and back to Y, Y is X in
// both, unless moving Y onto X would make the rings' sides meet away from their ends; then
// each ring's spike is dropped on its own. Joins chain (a place joined into one that is
// joined later), so each goes to the place its chain ends at.
void JoinFacingTips(std::vector<nodedstop>& a, std::vector<nodedstop>& b)
{
    const std::set<std::pair<int, int>> tipsB = BackTracks(b);
    std::map<int, int> joinedInto;
    const auto finalNode = [&](int node) {
        for (auto j = joinedInto.find(node); j != joinedInto.end(); j = joinedInto.find(node))
            node = j->second;
        return node;
    };
    for (const auto& [x, y] : BackTracks(a)) {
        const int into = finalNode(x), from = finalNode(y);
        if (!tipsB.count({y, x}) || into == from)
            continue;
        const auto stop = std::find_if(a.begin(), a.end(), [&](const nodedstop& s) { return s.node == into; });
        if (stop == a.end() || !MoveKeepsRingsApart(a, b, from, *stop))
            continue;
        const nodedstop onto = *stop;
        for (std::vector<nodedstop>* cycle : {&a, &b})
            for (nodedstop& s : *cycle)
                if (s.node == from)
                    s = onto;
        joinedInto[from] = into;
    }
}

} // namespace

bool ringedge2d::RunsWithTwin() const
{
    return twin && startId == twin->startId;
}

ringedge2d* ringedgelist::Append(const edge2d& e)
{
    ringedge2d& r = store.emplace_back();
    r.edge = e;
    r.owner = this;
    if (!head) {
        r.prev = r.next = head = &r;
    } else {
        r.prev = head->prev;
        r.next = head;
        head->prev->next = &r;
        head->prev = &r;
    }
    ++size;
    return &r;
}

void ringedgelist::Clear()
{
    head = nullptr;
    size = 0;
    store.clear();
}

ringgraph2d::ringgraph2d(const std::vector<point2d>& a, const std::vector<point2d>& b)
    : ringA_(a), ringB_(b)
{
    usable_ = std::all_of(a.begin(), a.end(), IsWithinReach) && std::all_of(b.begin(), b.end(), IsWithinReach);
}

ringgraph2d::~ringgraph2d()
{
    FreeCrossings();
}

void ringgraph2d::FreeCrossings()
{
    while (!crossings_.empty())
        crossings_.pop_back();
}

void ringgraph2d::BuildList(const std::vector<point2d>& ring, ringedgelist& list, bool dropDegenerate)
{
    const std::size_t n = ring.size();
    const auto add = [&](const point2d& from, const point2d& to) {
        const edge2d e(from, to);
        if (!dropDegenerate || !e.IsDegenerate())
            list.Append(e);
    };
    if (IsClockwise(ring)) {
        for (std::size_t i = n; i-- > 0;)
            add(ring[i], ring[i == 0 ? n - 1 : i - 1]);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            add(ring[i], ring[(i + 1) % n]);
    }
}

void ringgraph2d::BuildEdges(bool dropDegenerate)
{
    BuildList(ringA_, edgesA_, dropDegenerate);
    BuildList(ringB_, edgesB_, dropDegenerate);
}

void ringgraph2d::CollectCrossings()
{
    if (!usable_)
        return;
    std::vector<edge2d> sides;
    std::vector<int> ring;
    for (ringedgelist* list : {&edgesA_, &edgesB_}) {
        for (ringedge2d* r = list->head; r; r = list->Following(r)) {
            sides.push_back(r->edge);
            ring.push_back(list == &edgesB_);
        }
    }
    segmentnoder noder(sides, ring);
    if (!noder.Run()) {
        usable_ = false;
        return;
    }
    // Each ring as the cycle of places it now passes, its edges' pieces in order.
    std::vector<nodedstop> cycles[2];
    for (std::size_t i = 0; i < sides.size(); ++i) {
        const std::vector<nodedstop>& stops = noder.Stops(i);
        cycles[ring[i]].insert(cycles[ring[i]].end(), stops.begin(), stops.end() - 1);
    }
    // Two tips that reach past each other within the tolerance leave each ring running out
    // to the other's tip and back: that is one place, where the rings touch.
    JoinFacingTips(cycles[0], cycles[1]);
    // A place is a crossing where both rings pass; elsewhere the list runs on through it.
    std::vector<std::uint8_t> passing(noder.Nodes().size(), 0);
    for (int k = 0; k < 2; ++k) {
        DropBackTracks(cycles[k]);
        if (!RunsCounterClockwise(cycles[k]))
            cycles[k].clear();
        for (const nodedstop& s : cycles[k])
            if (s.node >= 0)
                passing[static_cast<std::size_t>(s.node)] |= static_cast<std::uint8_t>(1 << k);
    }
    const auto idOf = [&](const nodedstop& s) {
        return s.node >= 0 && passing[static_cast<std::size_t>(s.node)] == 3 ? s.node + 1 : 0;
    };
    for (int k = 0; k < 2; ++k) {
        ringedgelist& list = k == 0 ? edgesA_ : edgesB_;
        const std::vector<nodedstop>& cycle = cycles[k];
        list.Clear();
        for (std::size_t i = 0; i < cycle.size(); ++i) {
            const nodedstop& to = cycle[(i + 1) % cycle.size()];
            ringedge2d* r = list.Append(edge2d(cycle[i].point, to.point));
            r->startId = idOf(cycle[i]);
            r->endId = idOf(to);
        }
    }
    crossingOfId_.assign(noder.Nodes().size() + 1, nullptr);
}

crossing2d* ringgraph2d::CrossingById(int id, const crossingentry2d& entry)
{
    crossing2d*& known = crossingOfId_[static_cast<std::size_t>(id)];
    if (!known) {
        auto made = std::make_unique<crossing2d>();
        made->id = id;
        crossings_.push_back(std::move(made));
        known = crossings_.back().get();
    }
    known->entries.push_back(entry);
    return known;
}

void ringgraph2d::LinkCrossings()
{
    if (!usable_)
        return;
    for (ringedgelist* list : {&edgesA_, &edgesB_}) {
        for (ringedge2d* r = list->head; r; r = list->Following(r)) {
            if (r->startId != 0)
                r->startCrossing = CrossingById(r->startId, {r, 0, 1});
            if (r->endId != 0)
                r->endCrossing = CrossingById(r->endId, {r, 0, 0});
        }
    }
    PairTwins();
}

// An edge of A and an edge of B between the same two crossings lie along each other: both run
// straight between the same two points. Where a ring runs a stretch out and back (the rings
// touching along it), each of its edges there takes one of the other's, the same way round
// where there is one.
void ringgraph2d::PairTwins()
{
    std::map<std::pair<int, int>, std::vector<ringedge2d*>> ofB;
    for (ringedge2d* r = edgesB_.head; r; r = edgesB_.Following(r))
        if (r->startId != 0 && r->endId != 0)
            ofB[std::minmax(r->startId, r->endId)].push_back(r);
    for (ringedge2d* r = edgesA_.head; r; r = edgesA_.Following(r)) {
        if (r->startId == 0 || r->endId == 0 || r->startId == r->endId)
            continue;
        const auto found = ofB.find(std::minmax(r->startId, r->endId));
        if (found == ofB.end())
            continue;
        ringedge2d* twin = nullptr;
        for (ringedge2d* b : found->second)
            if (!b->twin && (!twin || (b->startId == r->startId && twin->startId != r->startId)))
                twin = b;
        if (!twin)
            continue;
        r->twin = twin;
        twin->twin = r;
        r->overlap = twin->overlap = 1;
    }
}

bool ringgraph2d::CheckInvariants(std::string& fault) const
{
    for (const ringedgelist* list : {&edgesA_, &edgesB_}) {
        std::size_t count = 0;
        for (const ringedge2d* r = list->head; r; r = list->Following(r), ++count) {
            if (r->owner != list || r->next->prev != r || !SamePoint(r->edge.EndPoint(), r->next->edge.StartPoint())) {
                fault = Describe("chain broken after", *r);
                return false;
            }
            if ((r->startCrossing && !HasEntry(r->startCrossing, r, 1)) ||
                (r->endCrossing && !HasEntry(r->endCrossing, r, 0))) {
                fault = Describe("crossing field without its entry at", *r);
                return false;
            }
        }
        if (count != list->size) {
            fault = "list size differs from its records";
            return false;
        }
    }
    for (const auto& c : crossings_) {
        for (const crossingentry2d& e : c->entries) {
            if ((e.atStart ? e.edge->startCrossing : e.edge->endCrossing) != c.get()) {
                fault = Describe("entry not pointed back to by", *e.edge);
                return false;
            }
        }
    }
    for (const ringedge2d* a = edgesA_.head; a; a = edgesA_.Following(a)) {
        for (const ringedge2d* b = edgesB_.head; b; b = edgesB_.Following(b)) {
            if (MeetAwayFromSharedEnds(a->edge, b->edge)) {
                fault = Describe("meets B away from shared ends:", *a) + Describe(" and", *b);
                return false;
            }
        }
    }
    return true;
}

} // namespace qrxGe
