// Faces and outlines traced from loose segments on the segment graph: every loop with the
// face on its left (all faces, without the first outer outline or without every outer
// outline), the outer outline of the part holding the lowest point turning right, and the
// outlines of all parts cut into simple loops.

#include "qrxGePolygonOperations.h"
#include "qrxGeSegGraph2d.h"

#include <algorithm>

namespace qrxGe {

namespace {

constexpr segpolicy kFaces{true, false, false};
constexpr segpolicy kInnerFaces{true, true, true};
constexpr segpolicy kOutline{false, false, false};
constexpr segpolicy kPeel{false, true, false};

std::vector<ring2d*>* ReleaseOrNull(ringlist& rings)
{
    return rings.empty() ? nullptr : Release(rings);
}

// Segments added and the three build steps run.
void Build(seggraph2d& g, const std::vector<edge2d>& segments)
{
    for (const edge2d& s : segments)
        g.AddSegment(s);
    g.SplitAtCrossings();
    g.BuildVertices();
    g.PruneDanglingChains();
}

// Only the first clockwise ring goes: the outer boundary of the part traced first.
void RemoveFirstClockwiseRing(ringlist& rings)
{
    const auto it = std::find_if(rings.begin(), rings.end(), [](const auto& r) { return IsClockwise(*r); });
    if (it != rings.end())
        rings.erase(it);
}

} // namespace

std::vector<ring2d*>* FacesFromSegments(const std::vector<edge2d>& segments)
{
    if (segments.size() < 3)
        return nullptr;
    seggraph2d g(kFaces);
    Build(g, segments);
    ringlist rings = g.TraceAllLoops();
    RemoveFirstClockwiseRing(rings);
    return ReleaseOrNull(rings);
}

std::vector<ring2d*>* InnerFacesFromSegments(const std::vector<edge2d>& segments)
{
    if (segments.size() < 3)
        return nullptr;
    seggraph2d g(kInnerFaces);
    Build(g, segments);
    while (g.TraceOuterOutline())
        g.MarkComponent();
    ringlist rings = g.TraceAllLoops();
    return ReleaseOrNull(rings);
}

ring2d* OutlineFromSegments(const std::vector<edge2d>& segments)
{
    if (segments.size() < 3)
        return nullptr;
    seggraph2d g(kOutline);
    Build(g, segments);
    return g.TraceOutline().release();
}

std::vector<ring2d*>* PeelOutlinesFromSegments(const std::vector<edge2d>& segments)
{
    if (segments.size() < 3)
        return nullptr;
    seggraph2d g(kPeel);
    Build(g, segments);
    ringlist rings = g.PeelOutlines();
    return Release(rings);
}

} // namespace qrxGe
