#pragma once
// The property every pair of rings keeps under the four two-ring operations, shared by the
// fuzz target and the seeded run of the ordinary suite: the graph's invariants hold, nothing
// crashes or leaks, and every ring handed out has at least 3 points and no repeated closing
// point (copies of the input rings excepted: they are the caller's rings as given).

#include "PlanarTestSupport.h"
#include "qrxGePolygonOperations.h"
#include "qrxGeRingGraph2d.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qrxGe::test {

struct RingPair {
    Ring a;
    Ring b;
};

// Two rings of up to 12 vertices on a coarse grid (steps of 5 over 0..40), moved off it by 0 to
// 0.12, so that shared vertices, touches and collinear overlaps are common, exact and within
// the tolerance.
inline RingPair RingsFromBytes(const std::uint8_t* data, std::size_t size)
{
    RingPair pair;
    if (size < 2)
        return pair;
    const std::size_t na = data[0] % 13, nb = data[1] % 13;
    std::size_t at = 2;
    const auto fill = [&](Ring& ring, std::size_t n) {
        for (std::size_t i = 0; i < n && at + 1 < size; ++i, at += 2)
            ring.push_back({CoordinateFromByte(data[at]), CoordinateFromByte(data[at + 1])});
    };
    fill(pair.a, na);
    fill(pair.b, nb);
    return pair;
}

// No repeated point, no two sides meeting but neighbours at their shared vertex.
inline bool IsSimpleRing(const Ring& ring)
{
    const std::size_t n = ring.size();
    if (n < 3)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        const edge2d e(ring[i], ring[(i + 1) % n]);
        if (e.IsDegenerate())
            return false;
        for (std::size_t j = i + 1; j < n; ++j) {
            const edge2d f(ring[j], ring[(j + 1) % n]);
            point2d p, q;
            int f1 = 0, f2 = 0;
            const int r = e.IntersectWith(f, p, f1, q, f2);
            const bool neighbours = j == i + 1 || (i == 0 && j == n - 1);
            const point2d shared = j == i + 1 ? ring[j] : ring[0];
            if (r == 0 || (neighbours && r == 1 && p == shared))
                continue;
            return false;
        }
    }
    return true;
}

inline std::string RingFault(const char* op, const Ring& ring)
{
    if (ring.size() < 3)
        return std::string(op) + ": a ring of fewer than 3 points";
    if (ring.back().x == ring.front().x && ring.back().y == ring.front().y)
        return std::string(op) + ": a repeated closing point";
    return {};
}

// Rings traced by an operation; a copy of an input ring is the caller's ring as given.
inline std::string ListFault(const char* op, const OwnedRings& rings, const Ring& a, const Ring& b)
{
    if (rings)
        for (const Ring& r : *rings)
            if (r != a && r != b)
                if (std::string f = RingFault(op, r); !f.empty())
                    return f;
    return {};
}

inline std::string CheckRingOperations(const Ring& a, const Ring& b)
{
    {
        ringgraph2d g(a, b);
        g.BuildEdges();
        g.CollectCrossings();
        g.LinkCrossings();
        std::string fault;
        // The crossing pass assumes simple rings: a ring that meets itself can leave a cut
        // of one ring's edge unseen by an edge of the other that was passed before it.
        if (g.IsUsable() && IsSimpleRing(a) && IsSimpleRing(b) && !g.CheckInvariants(fault))
            return "graph: " + fault;
    }
    if (auto u = Take(UnionPolygons(a, b)))
        if (std::string f = ListFault("union", std::vector<Ring>{*u}, a, b); !f.empty())
            return f;
    if (std::string f = ListFault("subtraction", Take(SubtractPolygons(a, b)), a, b); !f.empty())
        return f;
    if (std::string f = ListFault("intersection", Take(IntersectPolygons(a, b)), a, b); !f.empty())
        return f;
    const OwnedRings split = Take(SplitPolygonByPolygon(a, b));
    if (!split)
        return "split: null";
    return ListFault("split", split, a, b);
}

} // namespace qrxGe::test
