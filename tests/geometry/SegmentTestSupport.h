#pragma once
// Segment lists for the toolkit's splitting, chaining and face tests: the 1-based parallel
// arrays the raw routines take, and generated segment sets.
#include <cstddef>
#include <vector>

#include "Ge.h"

namespace segment_test {

struct Seg {
    GePoint3d s;
    GePoint3d e;
};

// Six 1-based coordinate arrays with room for `capacity` segments.
struct SegmentArrays {
    std::vector<double> x1, y1, z1, x2, y2, z2;

    explicit SegmentArrays(const std::vector<Seg>& segs, std::size_t capacity = 0)
    {
        const std::size_t size = std::max(segs.size(), capacity) + 1;
        for (auto* v : {&x1, &y1, &z1, &x2, &y2, &z2})
            v->assign(size, 0.0);
        for (std::size_t k = 0; k < segs.size(); ++k) {
            x1[k + 1] = segs[k].s.x;
            y1[k + 1] = segs[k].s.y;
            z1[k + 1] = segs[k].s.z;
            x2[k + 1] = segs[k].e.x;
            y2[k + 1] = segs[k].e.y;
            z2[k + 1] = segs[k].e.z;
        }
    }

    std::vector<Seg> Read(std::size_t n) const
    {
        std::vector<Seg> segs;
        for (std::size_t k = 1; k <= n; ++k)
            segs.push_back({{x1[k], y1[k], z1[k]}, {x2[k], y2[k], z2[k]}});
        return segs;
    }
};

// The sides of the ring, each from a vertex to the next.
inline std::vector<Seg> Sides(const GePoint3dArray& ring)
{
    std::vector<Seg> sides;
    for (std::size_t k = 0; k < ring.size(); ++k)
        sides.push_back({ring[k], ring[(k + 1) % ring.size()]});
    return sides;
}

// k horizontal and k vertical lines of length (k + 1) * step, crossing in a grid.
inline std::vector<Seg> GridLines(int k, double step)
{
    std::vector<Seg> segs;
    const double length = (k + 1) * step;
    for (int i = 1; i <= k; ++i) {
        segs.push_back({{0.0, i * step, 0.0}, {length, i * step, 0.0}});
        segs.push_back({{i * step, 0.0, 0.0}, {i * step, length, 0.0}});
    }
    return segs;
}

}  // namespace segment_test
