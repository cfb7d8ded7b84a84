#pragma once
// The property every segment soup keeps under the four face and outline operations, shared by
// the fuzz target and the seeded run of the ordinary suite: the built graph keeps its
// invariants, nothing crashes or leaks, and every ring handed out has at least 3 points.

#include "PlanarTestSupport.h"
#include "qrxGePolygonOperations.h"
#include "qrxGeSegGraph2d.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qrxGe::test {

// Up to 24 segments with ends on a coarse grid, so that touches, collinear overlaps and
// T-junctions are common, exact and within the tolerance.
inline Segments SegmentsFromBytes(const std::uint8_t* data, std::size_t size)
{
    Segments segments;
    if (size < 1)
        return segments;
    const std::size_t n = data[0] % 25;
    const auto at = [&](std::size_t i) { return CoordinateFromByte(data[1 + i]); };
    for (std::size_t i = 0; i < n && 4 * i + 4 < size; ++i)
        segments.push_back({{at(4 * i), at(4 * i + 1)}, {at(4 * i + 2), at(4 * i + 3)}});
    return segments;
}

// The graph as every operation builds it.
inline void BuildSegmentGraph(seggraph2d& g, const Segments& segments)
{
    for (const edge2d& s : segments)
        g.AddSegment(s);
    g.SplitAtCrossings();
    g.BuildVertices();
    g.PruneDanglingChains();
}

inline std::string ShortRing(const char* op, const OwnedRings& rings)
{
    if (rings)
        for (const Ring& r : *rings)
            if (r.size() < 3)
                return std::string(op) + ": a ring of fewer than 3 points";
    return {};
}

inline std::string CheckSegmentOperations(const Segments& segments)
{
    {
        seggraph2d g({});
        BuildSegmentGraph(g, segments);
        if (std::string fault; !g.CheckInvariants(fault))
            return "graph: " + fault;
    }
    if (std::string f = ShortRing("faces", Take(FacesFromSegments(segments))); !f.empty())
        return f;
    if (std::string f = ShortRing("inner faces", Take(InnerFacesFromSegments(segments))); !f.empty())
        return f;
    if (const auto outline = Take(OutlineFromSegments(segments)); outline && outline->size() < 3)
        return "outline: fewer than 3 points";
    const OwnedRings peeled = Take(PeelOutlinesFromSegments(segments));
    if (segments.size() >= 3 && !peeled)
        return "peeling: null for 3 segments or more";
    return ShortRing("peeling", peeled);
}

} // namespace qrxGe::test
