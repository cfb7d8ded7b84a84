#pragma once
// What the polygon graphs share: the finiteness test of their input, the box test that spares
// their crossing passes most calls of edge2d::IntersectWith (a pair it rejects is one that
// IntersectWith never reports as meeting, so skipping it changes no result), the ids their
// crossing passes give to meeting places, and the hand-over of traced rings to the caller.

#include "qrxGeEdge2d.h"
#include "qrxGeRing.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace qrxGe {

inline bool IsFinite(const point2d& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// False only for pairs that a.IntersectWith(b) cannot report as meeting. A crossing lies
// within 0.1 of both edges on their dominant axes, so within both boxes widened by 0.1. A
// collinear pair is judged on a's dominant axis after a midpoint test and a 0.01 rad parallel
// test, so b may stray from a's line by 0.1 plus 0.01 rad over a's half length; the margin
// covers it.
inline bool MayMeet(const edge2d& a, const edge2d& b)
{
    const point2d as = a.StartPoint(), ae = a.EndPoint(), bs = b.StartPoint(), be = b.EndPoint();
    const double extent = std::max(std::fabs(ae.x - as.x), std::fabs(ae.y - as.y));
    const double scale = std::max({std::fabs(as.x), std::fabs(as.y), std::fabs(ae.x), std::fabs(ae.y)});
    const double margin = 0.25 + 0.02 * extent + 1e-9 * scale;
    return std::min(bs.x, be.x) <= std::max(as.x, ae.x) + margin &&
           std::max(bs.x, be.x) >= std::min(as.x, ae.x) - margin &&
           std::min(bs.y, be.y) <= std::max(as.y, ae.y) + margin &&
           std::max(bs.y, be.y) >= std::min(as.y, ae.y) - margin;
}

// Ids of meeting places, handed out by a crossing pass to the edge-end slots (int fields, 0
// for none) that meet at one place. A group takes the id of its first slot that holds one, or
// a new id; the other slots are overwritten. A slot that held another id named the same place,
// so that id is joined to the group's (union-find): Resolve gives one id per place even where
// tolerance let a place collect two.
class placeids {
public:
    void Assign(std::vector<int*>& slots)
    {
        const auto held = std::find_if(slots.begin(), slots.end(), [](const int* s) { return *s != 0; });
        int id = 0;
        if (held == slots.end()) {
            id = next_++;
            parent_.push_back(id);
        } else {
            id = **held;
            const int root = Resolve(id);
            for (const int* s : slots)
                if (*s != 0 && Resolve(*s) != root)
                    parent_[static_cast<std::size_t>(Resolve(*s))] = root;
        }
        for (int* s : slots)
            *s = id;
        slots.clear();
    }

    // Two ids found to name one place.
    void Join(int a, int b)
    {
        const int ra = Resolve(a), rb = Resolve(b);
        if (ra != rb)
            parent_[static_cast<std::size_t>(rb)] = ra;
    }

    int Resolve(int id)
    {
        while (parent_[static_cast<std::size_t>(id)] != id) {
            const int up = parent_[static_cast<std::size_t>(parent_[static_cast<std::size_t>(id)])];
            parent_[static_cast<std::size_t>(id)] = up;
            id = up;
        }
        return id;
    }

    // One more than the greatest id handed out.
    std::size_t Bound() const { return static_cast<std::size_t>(next_); }

private:
    int next_ = 1;
    std::vector<int> parent_{0};
};

// Rings traced by a call, owned until they are handed to the caller.
using ringlist = std::vector<std::unique_ptr<ring2d>>;

// The caller's list: a new vector of the rings, which it now owns.
inline std::vector<ring2d*>* Release(ringlist& rings)
{
    auto out = std::make_unique<std::vector<ring2d*>>();
    out->reserve(rings.size());
    for (auto& r : rings)
        out->push_back(r.release());
    return out.release();
}

} // namespace qrxGe
