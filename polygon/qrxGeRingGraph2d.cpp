#include "qrxGeRingGraph2d.h"

#include "qrxGeGraphSupport.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <utility>

namespace qrxGe {

namespace {

std::string Describe(const char* what, const ringedge2d& r)
{
    std::ostringstream s;
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

bool IsEndOf(const edge2d& e, const point2d& p)
{
    return e.EndIndexOf(p) != 0;
}

// p lies on the edge between its ends, rounding aside, and is neither.
bool LiesInside(const edge2d& e, const point2d& p)
{
    const point2d s = e.StartPoint(), t = e.EndPoint();
    const vector2d d = t - s, v = p - s;
    const double length2 = d.LengthSquared();
    const double along = v.DotProduct(d);
    const double noise = 1e-9 * std::max({1.0, std::fabs(p.x), std::fabs(p.y)});
    return along > 0.0 && along < length2 && std::fabs(d.CrossProduct(v)) <= noise * std::sqrt(length2) &&
           !IsOnePoint(p, s) && !IsOnePoint(p, t);
}

} // namespace

ringedge2d* ringedgelist::Append(const edge2d& e)
{
    if (!head) {
        ringedge2d& r = store.emplace_back();
        r.edge = e;
        r.owner = this;
        r.prev = r.next = head = &r;
        size = 1;
        return &r;
    }
    return InsertAfter(head->prev, e);
}

ringedge2d* ringedgelist::InsertAfter(ringedge2d* at, const edge2d& e)
{
    ringedge2d& r = store.emplace_back();
    r.edge = e;
    r.owner = this;
    r.prev = at;
    r.next = at->next;
    at->next->prev = &r;
    at->next = &r;
    ++size;
    return &r;
}

void ringedgelist::Unlink(ringedge2d* r)
{
    if (size == 1) {
        head = nullptr;
    } else {
        r->prev->next = r->next;
        r->next->prev = r->prev;
        if (head == r)
            head = r->next;
    }
    r->prev = r->next = nullptr;
    --size;
}

ringgraph2d::ringgraph2d(const std::vector<point2d>& a, const std::vector<point2d>& b)
    : ringA_(a), ringB_(b)
{
    usable_ = std::all_of(a.begin(), a.end(), IsFinite) && std::all_of(b.begin(), b.end(), IsFinite);
    // Exactly, every original edge is cut at most twice per edge of the other ring.
    const std::size_t na = a.size(), nb = b.size();
    cutsLeft_ = 8 * na * nb + 2 * (na + nb) + 16;
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
    // Pieces cut off behind the current record are met later by the same loops, so every
    // piece is tested against every edge of the other ring; a shortened a goes on inside.
    for (ringedge2d* a = edgesA_.head; a && usable_; a = edgesA_.Following(a))
        for (ringedge2d* b = edgesB_.head; b && usable_; b = edgesB_.Following(b))
            MeetPair(a, b);
}

void ringgraph2d::MeetPair(ringedge2d* a, ringedge2d* b)
{
    if (!MayMeet(a->edge, b->edge))
        return;
    point2d p, q;
    int f1 = 0, f2 = 0;
    group g1, g2;
    switch (a->edge.IntersectWith(b->edge, p, f1, q, f2)) {
    case 1:
        AddPointFields(edgesA_, a, p, g1);
        AddPointFields(edgesB_, b, p, g1);
        ids_.Assign(g1);
        break;
    case -1:
        AddTouchFields(a, p, g1);
        AddTouchFields(b, p, g1);
        ids_.Assign(g1);
        break;
    case -2: {
        const point2d bs = b->edge.StartPoint(), be = b->edge.EndPoint();
        const bool opposed = (a->edge.EndPoint() - a->edge.StartPoint()).DotProduct(be - bs) < 0.0;
        AddOverlapFields(edgesA_, a, {p, q, f1, f2, opposed}, g1, g2);
        // p and q run along a; put them in b's direction, with their groups.
        group* gp = &g1;
        group* gq = &g2;
        const bool onX = std::fabs(p.x - q.x) >= 0.01;
        const double along = onX ? p.x - q.x : p.y - q.y;
        const double bAlong = onX ? bs.x - be.x : bs.y - be.y;
        if (along * bAlong < 0.0) {
            std::swap(p, q);
            std::swap(gp, gq);
        }
        AddOverlapFields(edgesB_, b, {p, q, p != bs ? 1 : 0, q != be ? -1 : 0, opposed}, *gp, *gq);
        ids_.Assign(g1);
        ids_.Assign(g2);
        break;
    }
    default:
        break;
    }
}

ringedge2d* ringgraph2d::Cut(ringedgelist& list, ringedge2d* r, const point2d& p)
{
    if (cutsLeft_ == 0)
        usable_ = false;
    else
        --cutsLeft_;
    ringedge2d* n = list.InsertAfter(r, edge2d(p, r->edge.EndPoint()));
    n->endId = r->endId;
    r->edge.SetEndPoint(p);
    r->endId = 0;
    return n;
}

void ringgraph2d::AddPointFields(ringedgelist& list, ringedge2d* r, const point2d& p, group& g)
{
    switch (r->edge.EndIndexOf(p)) {
    case 0: {
        ringedge2d* n = Cut(list, r, p);
        g.push_back(&r->endId);
        g.push_back(&n->startId);
        break;
    }
    case 1:
        g.push_back(&r->startId);
        g.push_back(&r->prev->endId);
        break;
    default:
        g.push_back(&r->endId);
        g.push_back(&r->next->startId);
        break;
    }
}

void ringgraph2d::AddTouchFields(ringedge2d* r, const point2d& p, group& g)
{
    if (r->edge.IsStartPoint(p)) {
        g.push_back(&r->startId);
        g.push_back(&r->prev->endId);
    } else {
        g.push_back(&r->endId);
        g.push_back(&r->next->startId);
    }
}

void ringgraph2d::AddOverlapFields(ringedgelist& list, ringedge2d* r, const overlap& o, group& gp, group& gq)
{
    const auto mark = [&](ringedge2d* piece) {
        piece->overlap = 1;
        piece->opposed = o.opposed ? 1 : 0;
    };
    if (o.fp == 0 && o.fq == 0) {
        mark(r);
        gp.insert(gp.end(), {&r->startId, &r->prev->endId});
        gq.insert(gq.end(), {&r->endId, &r->next->startId});
    } else if (o.fp == 0) {
        ringedge2d* n = Cut(list, r, o.q);
        mark(r);
        gp.insert(gp.end(), {&r->startId, &r->prev->endId});
        gq.insert(gq.end(), {&r->endId, &n->startId});
    } else if (o.fq == 0) {
        ringedge2d* n = Cut(list, r, o.p);
        mark(n);
        gp.insert(gp.end(), {&r->endId, &n->startId});
        gq.insert(gq.end(), {&n->endId, &n->next->startId});
    } else {
        ringedge2d* m = Cut(list, r, o.p);
        ringedge2d* n = Cut(list, m, o.q);
        mark(m);
        gp.insert(gp.end(), {&r->endId, &m->startId});
        gq.insert(gq.end(), {&m->endId, &n->startId});
    }
}

crossing2d* ringgraph2d::CrossingById(int id, const crossingentry2d& entry)
{
    crossing2d*& known = crossingOfId_[id];
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
    crossingOfId_.assign(ids_.Bound(), nullptr);
    for (ringedgelist* list : {&edgesA_, &edgesB_}) {
        for (ringedge2d* r = list->head; r; r = list->Following(r)) {
            if (r->startId != 0)
                r->startCrossing = CrossingById(ids_.Resolve(r->startId), {r, 0, 1});
            if (r->endId != 0)
                r->endCrossing = CrossingById(ids_.Resolve(r->endId), {r, 0, 0});
        }
    }
}

void ringgraph2d::CutAtGatheredPoints()
{
    for (const auto& c : crossings_)
        CutAtGatheredPoints(*c);
}

void ringgraph2d::CutAtGatheredPoints(crossing2d& c)
{
    const auto pointOf = [](const crossingentry2d& e) {
        return e.atStart ? e.edge->edge.StartPoint() : e.edge->edge.EndPoint();
    };
    const point2d place = pointOf(c.entries.front());
    if (std::all_of(c.entries.begin(), c.entries.end(),
                    [&](const crossingentry2d& e) { return IsOnePoint(pointOf(e), place); }))
        return;
    // A cut leaves every entry's point where it was (an edge that ended here hands its entry
    // to the piece behind the cut, which ends where the edge did), and the entries it adds
    // lie at points already gathered. Those entries are visited too, and an entry's edge is
    // read again after each cut: a piece may hold a further point.
    const std::size_t gathered = c.entries.size();
    for (std::size_t i = 0; i < c.entries.size() && usable_; ++i) {
        for (std::size_t j = 0; j < gathered; ++j) {
            const point2d p = pointOf(c.entries[j]);
            ringedge2d* r = c.entries[i].edge;
            if (!LiesInside(r->edge, p))
                continue;
            ringedge2d* n = Cut(*r->owner, r, p);
            n->overlap = r->overlap;
            n->opposed = r->opposed;
            if ((n->endCrossing = r->endCrossing))
                for (crossingentry2d& e : n->endCrossing->entries)
                    if (e.edge == r && !e.atStart)
                        e.edge = n;
            r->endCrossing = n->startCrossing = &c;
            c.entries.push_back({r, 0, 0});
            c.entries.push_back({n, 0, 1});
        }
    }
}

bool ringgraph2d::CheckInvariants(std::string& fault) const
{
    for (const ringedgelist* list : {&edgesA_, &edgesB_}) {
        std::size_t count = 0;
        for (const ringedge2d* r = list->head; r; r = list->Following(r), ++count) {
            if (r->owner != list || r->next->prev != r || r->edge.EndPoint() != r->next->edge.StartPoint()) {
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
            point2d p, q;
            int f1 = 0, f2 = 0;
            const int r = a->edge.IntersectWith(b->edge, p, f1, q, f2);
            const bool atEnds = (r == 1 || r == -1) ? IsEndOf(a->edge, p) && IsEndOf(b->edge, p)
                              : r == -2 ? f1 == 0 && f2 == 0 && IsEndOf(b->edge, p) && IsEndOf(b->edge, q)
                                        : true;
            if (!atEnds) {
                fault = Describe("meets B away from shared ends:", *a) + Describe(" and", *b);
                return false;
            }
        }
    }
    return true;
}

} // namespace qrxGe
