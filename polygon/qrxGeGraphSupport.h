#pragma once
// What the polygon graphs share: the finiteness test of their input, and the box test that
// spares their crossing passes most calls of edge2d::IntersectWith (a pair it rejects is one
// that IntersectWith never reports as meeting, so skipping it changes no result).

#include "qrxGeEdge2d.h"

#include <algorithm>
#include <cmath>

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

} // namespace qrxGe
