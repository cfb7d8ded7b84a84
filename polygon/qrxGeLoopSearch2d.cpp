#include "qrxGeLoopSearch2d.h"

#include "qrxGeGraphSupport.h"
#include "qrxGePolygonOperations.h"

namespace qrxGe {

void loopsearch2d::Add(const edge2d& segment)
{
    NewRecord(segment);
}

void loopsearch2d::AddRing(std::span<const point2d> ring)
{
    for (std::size_t i = 0; i < ring.size(); ++i)
        NewRecord(edge2d(ring[i], ring[(i + 1) % ring.size()]));
}

searchedge2d* loopsearch2d::NewRecord(const edge2d& segment)
{
    records_.push_back(std::make_unique<searchedge2d>(searchedge2d{segment}));
    pool_.push_back(records_.back().get());
    return pool_.back();
}

std::unique_ptr<ring2d> loopsearch2d::Find(const std::vector<edge2d>& segments, const edge2d& s)
{
    if (segments.size() < 3)
        return nullptr;
    for (const edge2d& e : segments)
        if (!e.IsDegenerate())
            Add(e);
    edge2d oriented = s;
    if (!(s.EndPoint().y > s.StartPoint().y))
        oriented.Reverse();
    if (oriented.IsDegenerate())
        return nullptr;
    auto ring = std::make_unique<ring2d>();
    if (!Run(oriented, *ring) || ring->empty())
        return nullptr;
    return ring;
}

bool loopsearch2d::Run(const edge2d& s, ring2d& ring)
{
    s_ = NewRecord(s);
    return Search(s_, ring);
}

bool loopsearch2d::Search(searchedge2d* c, ring2d& ring)
{
    if (steps_ == kStepLimit) {
        exhausted_ = true;
        return false;
    }
    ++steps_;
    c->visited = 1;
    candidates set = CollectJunctions(c);
    if (set.ways.empty())
        return false;
    KeepNearestJunctions(set);
    if (!AllWaysOpen(set))
        return false;
    SplitAtJunction(c, set);
    ring.push_back(c->edge.StartPoint());
    const std::size_t n = ring.size();
    for (;;) {
        searchedge2d* next = NextSegment(c, set);
        if (!next)
            return false;
        if (next == s_)
            return true;
        if (Search(next, ring))
            return true;
        // Past the limit every step fails at once without marking its segment, so asking
        // the rule again would offer the same segment for ever.
        if (exhausted_)
            return false;
        ring.resize(n);
    }
}

loopsearch2d::candidates loopsearch2d::CollectJunctions(searchedge2d* c)
{
    candidates set{c->edge, {}};
    const point2d start = c->edge.StartPoint();
    // Records this call appends are ways on already; they are not met again.
    const std::size_t present = pool_.size();
    for (std::size_t i = 0; i < present; ++i) {
        searchedge2d* e = pool_[i];
        if (!e || e == c || !MayMeet(c->edge, e->edge))
            continue;
        point2d p1, p2;
        int f1 = 0, f2 = 0;
        const int r = c->edge.IntersectWith(e->edge, p1, f1, p2, f2);
        if (r == 0 || p1 == start)
            continue;
        if (e->visited) {
            set.ways.push_back({e, p1});
            continue;
        }
        if (r == 1) {
            if (e->edge.IsStartPoint(p1)) {
                set.ways.push_back({e, p1});
            } else if (e->edge.IsEndPoint(p1)) {
                e->edge.Reverse();
                set.ways.push_back({e, p1});
            } else {
                searchedge2d* back = NewRecord(edge2d(p1, e->edge.StartPoint()));
                e->edge.SetStartPoint(p1);
                set.ways.push_back({e, p1});
                set.ways.push_back({back, p1});
            }
        } else if (r == -1) {
            if (!e->edge.IsStartPoint(p1))
                e->edge.Reverse();
            set.ways.push_back({e, p1});
        } else if (r == -2) {
            pool_[i] = nullptr;
        }
    }
    return set;
}

void loopsearch2d::KeepNearestJunctions(candidates& set) const
{
    if (set.ways.size() <= 1)
        return;
    const double tolerance = rule_ == turn::right ? 0.1 : 0.01;
    const point2d start = set.current.StartPoint();
    std::vector<junction2d> kept{set.ways.front()};
    double least = start.DistanceTo(kept.front().point);
    for (std::size_t i = 1; i < set.ways.size(); ++i) {
        const double d = start.DistanceTo(set.ways[i].point);
        if (d - least > -tolerance && d - least < tolerance) {
            kept.push_back(set.ways[i]);
        } else if (d < least) {
            kept.assign(1, set.ways[i]);
            least = d;
        }
    }
    set.ways = std::move(kept);
}

void loopsearch2d::SplitAtJunction(searchedge2d* c, candidates& set)
{
    const point2d p = set.ways.front().point;
    if (p.IsEqualTo(c->edge.StartPoint()) || p.IsEqualTo(c->edge.EndPoint()))
        return;
    searchedge2d* on = NewRecord(edge2d(p, c->edge.EndPoint()));
    c->edge.SetEndPoint(p);
    set.ways.push_back({on, p});
}

bool loopsearch2d::AllWaysOpen(const candidates& set) const
{
    for (const junction2d& j : set.ways)
        if (!Qualifies(j))
            return false;
    return true;
}

searchedge2d* loopsearch2d::NextSegment(const searchedge2d* c, const candidates& set) const
{
    if (set.ways.size() == 1)
        return Qualifies(set.ways.front()) ? set.ways.front().segment : nullptr;
    double back = set.current.Angle() + kPi;
    while (back >= kTwoPi)
        back -= kTwoPi;
    const bool right = rule_ == turn::right;
    // The sharpest right turn has the least counter-clockwise angle from the way back, the
    // sharpest left turn the greatest; the later candidate wins a tie.
    double best = right ? 62.83185577392578 : 0.0;
    searchedge2d* chosen = nullptr;
    for (const junction2d& j : set.ways) {
        if (j.segment == c || !Qualifies(j))
            continue;
        double relative = j.segment->edge.Angle() - back;
        if (right) {
            while (relative <= 0.0)
                relative += kTwoPi;
            while (relative > kTwoPi)
                relative -= kTwoPi;
            // Just counter-clockwise of the way back is almost a U-turn: it comes last.
            if (relative < 0.1)
                relative += kTwoPi;
            if (relative <= best) {
                best = relative;
                chosen = j.segment;
            }
        } else {
            while (relative < 0.0)
                relative += kTwoPi;
            while (relative >= kTwoPi)
                relative -= kTwoPi;
            if (relative >= best) {
                best = relative;
                chosen = j.segment;
            }
        }
    }
    return chosen;
}

ring2d* RightLoopThroughSegment(const std::vector<edge2d>& segments, const edge2d& s)
{
    return loopsearch2d(loopsearch2d::turn::right).Find(segments, s).release();
}

ring2d* LeftLoopThroughSegment(const std::vector<edge2d>& segments, const edge2d& s)
{
    return loopsearch2d(loopsearch2d::turn::left).Find(segments, s).release();
}

} // namespace qrxGe
