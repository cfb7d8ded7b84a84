#pragma once
// Segment lists for the toolkit's splitting, chaining and face tests: the 1-based parallel
// arrays the raw routines take, shapes taken apart into segments, and random segment sets in
// generic position with their crossings worked out exactly, for the splitters' oracles.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "Ge.h"

namespace segment_test {

struct Seg {
    GePoint3d s;
    GePoint3d e;
};

using Segs = std::vector<Seg>;

inline Segs operator+(Segs a, const Segs& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Six 1-based coordinate arrays with room for `capacity` segments.
struct SegmentArrays {
    std::vector<double> x1, y1, z1, x2, y2, z2;

    explicit SegmentArrays(const Segs& segs, std::size_t capacity = 0)
    {
        const std::size_t size = std::max(segs.size(), capacity) + 1;
        for (auto* v : {&x1, &y1, &z1, &x2, &y2, &z2})
            v->assign(size, 0.0);
        for (std::size_t k = 0; k < segs.size(); ++k) {
            x1[k + 1] = segs[k].s.x, y1[k + 1] = segs[k].s.y, z1[k + 1] = segs[k].s.z;
            x2[k + 1] = segs[k].e.x, y2[k + 1] = segs[k].e.y, z2[k + 1] = segs[k].e.z;
        }
    }

    Segs Read(std::size_t n) const
    {
        Segs segs;
        for (std::size_t k = 1; k <= n; ++k)
            segs.push_back({{x1[k], y1[k], z1[k]}, {x2[k], y2[k], z2[k]}});
        return segs;
    }
};

// The sides of the ring, each from a vertex to the next.
inline Segs Sides(const GePoint3dArray& ring)
{
    Segs sides;
    for (std::size_t k = 0; k < ring.size(); ++k)
        sides.push_back({ring[k], ring[(k + 1) % ring.size()]});
    return sides;
}

// The segments of an open polyline.
inline Segs Open(const GePoint3dArray& polyline)
{
    Segs segs;
    for (std::size_t k = 0; k + 1 < polyline.size(); ++k)
        segs.push_back({polyline[k], polyline[k + 1]});
    return segs;
}

inline GePoint3dArray Square(double x, double y, double side)
{
    return {{x, y, 0}, {x + side, y, 0}, {x + side, y + side, 0}, {x, y + side, 0}};
}

// k horizontal and k vertical lines of length (k + 1) * step, crossing in a grid.
inline Segs GridLines(int k, double step)
{
    Segs segs;
    const double length = (k + 1) * step;
    for (int i = 1; i <= k; ++i) {
        segs.push_back({{0.0, i * step, 0.0}, {length, i * step, 0.0}});
        segs.push_back({{i * step, 0.0, 0.0}, {i * step, length, 0.0}});
    }
    return segs;
}

// The sign of the turn a -> b -> c (1 left, -1 right, 0 on one line), of any points with x, y.
template <typename P>
int Turn(const P& a, const P& b, const P& c)
{
    const double v = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return (v > 0) - (v < 0);
}

// Whether the closed segments ab and cd share a point: crossing, touching, overlapping or
// sharing an end.
template <typename P>
bool SegmentsMeet(const P& a, const P& b, const P& c, const P& d)
{
    const auto on = [](const P& p, const P& q, const P& r) {
        return Turn(p, q, r) == 0 && std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) &&
               std::min(p.y, q.y) <= r.y && r.y <= std::max(p.y, q.y);
    };
    return (Turn(a, b, c) * Turn(a, b, d) < 0 && Turn(c, d, a) * Turn(c, d, b) < 0) || on(a, b, c) || on(a, b, d) ||
           on(c, d, a) || on(c, d, b);
}

// ---- Random segments in generic position, crossings by Cramer's rule in long double ----

using Real = long double;

// A segment in its plane, from (p1, q1) to (p2, q2).
struct PlanSeg {
    Real p1, q1, p2, q2;

    Real Length() const { return std::hypot(p2 - p1, q2 - q1); }
};

// The parameters along a and b where their lines cross; false within 1 degree of parallel.
inline bool LineCrossing(const PlanSeg& a, const PlanSeg& b, Real& ta, Real& tb)
{
    const Real dpa = a.p2 - a.p1, dqa = a.q2 - a.q1, dpb = b.p2 - b.p1, dqb = b.q2 - b.q1;
    const Real det = dpb * dqa - dpa * dqb, rp = b.p1 - a.p1, rq = b.q1 - a.q1;
    if (std::fabs(det) <= std::sin(Real(0.0175)) * a.Length() * b.Length())
        return false;
    ta = (dpb * rq - dqb * rp) / det;
    tb = (dpa * rq - dqa * rp) / det;
    return true;
}

inline Real Distance(Real p, Real q, const PlanSeg& s)
{
    const Real dp = s.p2 - s.p1, dq = s.q2 - s.q1;
    const Real t = std::clamp(((p - s.p1) * dp + (q - s.q1) * dq) / (dp * dp + dq * dq), Real(0), Real(1));
    return std::hypot(p - (s.p1 + t * dp), q - (s.q1 + t * dq));
}

struct GenericSegments {
    std::vector<PlanSeg> segments;
    std::vector<std::vector<Real>> cuts;  // per segment, the crossing parameters ascending
    std::size_t crossings = 0;
};

// Up to `count` segments with integer ends in [0, range], each at least minLength long: no pair
// within 1 degree of parallel, every crossing more than `clear` from every end and from the
// other crossings on its segments, and ends more than `clear` from segments they do not cross.
inline GenericSegments DrawGenericSegments(std::mt19937& gen, std::size_t count, int range, Real minLength, Real clear)
{
    std::uniform_int_distribution<int> coord(0, range);
    const auto generic = [clear](const PlanSeg& a, const PlanSeg& b) {
        Real ta = 0, tb = 0;
        if (!LineCrossing(a, b, ta, tb))
            return false;
        if (ta > 0 && ta < 1 && tb > 0 && tb < 1)
            return std::min(ta, 1 - ta) * a.Length() > clear && std::min(tb, 1 - tb) * b.Length() > clear;
        return std::min({Distance(a.p1, a.q1, b), Distance(a.p2, a.q2, b), Distance(b.p1, b.q1, a),
                         Distance(b.p2, b.q2, a)}) > clear;
    };
    for (;;) {
        GenericSegments set;
        for (int attempt = 0; attempt < 4000 && set.segments.size() < count; ++attempt) {
            const PlanSeg s{Real(coord(gen)), Real(coord(gen)), Real(coord(gen)), Real(coord(gen))};
            if (s.Length() >= minLength &&
                std::all_of(set.segments.begin(), set.segments.end(), [&](const PlanSeg& o) { return generic(s, o); }))
                set.segments.push_back(s);
        }
        const std::size_t n = set.segments.size();
        set.cuts.assign(n, {});
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i + 1; j < n; ++j) {
                Real ti = 0, tj = 0;
                if (LineCrossing(set.segments[i], set.segments[j], ti, tj) && ti > 0 && ti < 1 && tj > 0 && tj < 1)
                    set.cuts[i].push_back(ti), set.cuts[j].push_back(tj), ++set.crossings;
            }
        bool crowded = false;
        for (std::size_t i = 0; i < n; ++i) {
            std::sort(set.cuts[i].begin(), set.cuts[i].end());
            for (std::size_t k = 1; k < set.cuts[i].size(); ++k)
                crowded = crowded || (set.cuts[i][k] - set.cuts[i][k - 1]) * set.segments[i].Length() <= clear;
        }
        if (!crowded)
            return set;
    }
}

}  // namespace segment_test
