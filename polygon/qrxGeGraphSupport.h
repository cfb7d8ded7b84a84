#pragma once
// What the polygon operations share: the finiteness test of their input, the box test that
// spares the loop search most calls of edge2d::IntersectWith (a pair it rejects is one that
// IntersectWith never reports as meeting, so skipping it changes no result), and the
// hand-over of traced rings to the caller.

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

// An edge's box with the margin it needs as the edge IntersectWith is called on: kept beside
// an edge that is met many times, so that the box test reads four numbers a side.
struct meetbox {
    double xlo = 0.0, ylo = 0.0, xhi = 0.0, yhi = 0.0;
    double margin = 0.0;

    // A crossing lies within 0.1 of both edges on their dominant axes, so within both boxes
    // widened by 0.1. A collinear pair is judged on the called edge's dominant axis after a
    // midpoint test and a 0.01 rad parallel test, so the other may stray from its line by 0.1
    // plus 0.01 rad over its half length; the margin covers it.
    static meetbox Of(const edge2d& e)
    {
        const point2d s = e.StartPoint(), t = e.EndPoint();
        const double extent = std::max(std::fabs(t.x - s.x), std::fabs(t.y - s.y));
        const double scale = std::max({std::fabs(s.x), std::fabs(s.y), std::fabs(t.x), std::fabs(t.y)});
        return {std::min(s.x, t.x), std::min(s.y, t.y), std::max(s.x, t.x), std::max(s.y, t.y),
                0.25 + 0.02 * extent + 1e-9 * scale};
    }
};

// False only for pairs whose edges a.IntersectWith(b) cannot report as meeting.
inline bool MayMeet(const meetbox& a, const meetbox& b)
{
    return b.xlo <= a.xhi + a.margin && b.xhi >= a.xlo - a.margin && b.ylo <= a.yhi + a.margin &&
           b.yhi >= a.ylo - a.margin;
}

inline bool MayMeet(const edge2d& a, const edge2d& b)
{
    return MayMeet(meetbox::Of(a), meetbox::Of(b));
}

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
