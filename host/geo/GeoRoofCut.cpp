// A roof cut flat at a height: each face keeps its part at or below the cut, and the cut
// lines of all faces, joined end to end, are the loops of the flat top.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

#include "GePoint2dArray.h"
#include "GeoRoofShapes.h"

namespace geo_roof {

namespace {

// How near the end of one cut line the start of the next must lie (millimetres).
constexpr double kJoinReach = 1.0;

// A piece of a cut line, in the direction of the face it bounds.
struct CutLine {
    Point from, to;
};

// Where the edge a-b crosses z = h, computed from its lower end whichever way the edge runs,
// so that the two faces sharing the edge find the same point.
Point Crossing(const Point& a, const Point& b, double h)
{
    const Point& low = a.z <= b.z ? a : b;
    const Point& high = a.z <= b.z ? b : a;
    const double t = (h - low.z) / (high.z - low.z);
    return {low.x + t * (high.x - low.x), low.y + t * (high.y - low.y), h};
}

bool Same(const Point& a, const Point& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

void PushDistinct(Face& face, const Point& p)
{
    if (face.empty() || !Same(face.back(), p))
        face.push_back(p);
}

// The face's part at or below h; each run of the boundary above h becomes one straight cut
// line from where it left to where it came back. A face of a roof is monotone along its eave
// edge, so its part under the cut is one piece and the cut lines all bound it.
Face Clip(const Face& face, double h, std::vector<CutLine>& cuts)
{
    const std::size_t n = face.size();
    // Start at a vertex that is kept, so that every excursion above h is closed in one pass.
    std::size_t start = n;
    for (std::size_t i = 0; i < n && start == n; ++i)
        if (face[i].z <= h)
            start = i;
    if (start == n)
        return {};
    Face kept;
    Point left;
    for (std::size_t k = 0; k < n; ++k) {
        const Point& a = face[(start + k) % n];
        const Point& b = face[(start + k + 1) % n];
        const bool aBelow = a.z <= h, bBelow = b.z <= h;
        if (aBelow)
            PushDistinct(kept, a);
        if (aBelow && !bBelow) {
            left = Crossing(a, b, h);
            PushDistinct(kept, left);
        } else if (!aBelow && bBelow) {
            const Point back = Crossing(a, b, h);
            if (!Same(left, back))
                cuts.push_back({left, back});
            PushDistinct(kept, back);
        }
    }
    if (kept.size() > 1 && Same(kept.front(), kept.back()))
        kept.pop_back();
    return kept;
}

double PlanArea(const Face& loop)
{
    GePoint2dArray plan;
    plan.reserve(loop.size());
    for (const Point& p : loop)
        plan.emplace_back(p.x, p.y);
    return plan.SignedArea();
}

// Joins the cut lines into closed loops, each line's end meeting the nearest start of another
// within tol. The faces run clockwise, so the region they leave open above the cut lies left of
// every cut line: the loops run counter-clockwise around the top and come back reversed.
bool JoinCuts(const std::vector<CutLine>& cuts, double tol, std::vector<Face>& loops)
{
    std::vector<std::size_t> byX(cuts.size());
    std::iota(byX.begin(), byX.end(), 0);
    std::sort(byX.begin(), byX.end(), [&](std::size_t a, std::size_t b) { return cuts[a].from.x < cuts[b].from.x; });
    std::vector<bool> used(cuts.size(), false);
    // The unused line that starts nearest to p (or the loop's own first line, which closes
    // it), within tol; cuts.size() when there is none.
    const auto next = [&](const Point& p, std::size_t first) {
        auto it = std::lower_bound(byX.begin(), byX.end(), p.x - tol,
                                   [&](std::size_t i, double x) { return cuts[i].from.x < x; });
        std::size_t best = cuts.size();
        double bestDistance = tol;
        for (; it != byX.end() && cuts[*it].from.x <= p.x + tol; ++it) {
            const double d = std::hypot(cuts[*it].from.x - p.x, cuts[*it].from.y - p.y);
            if ((!used[*it] || *it == first) && d <= bestDistance) {
                best = *it;
                bestDistance = d;
            }
        }
        return best;
    };
    for (std::size_t first = 0; first < cuts.size(); ++first) {
        if (used[first])
            continue;
        used[first] = true;
        Face loop{cuts[first].from};
        Point end = cuts[first].to;
        // The loop closes where its first line is the nearest start, not merely a near one: a
        // narrow top (a cut just under a ridge) has the lines of its other side nearby.
        for (std::size_t k = next(end, first); k != first; k = next(end, first)) {
            if (k == cuts.size())
                return false;
            used[k] = true;
            loop.push_back(cuts[k].from);
            end = cuts[k].to;
        }
        // A roof that only touches the cut somewhere leaves a loop of no area there.
        if (loop.size() >= 3 && PlanArea(loop) > tol * tol) {
            std::reverse(loop.begin(), loop.end());
            loops.push_back(std::move(loop));
        }
    }
    return true;
}

}  // namespace

bool CutAtHeight(std::vector<Face>& faces, double h)
{
    bool reachesCut = false;
    for (const Face& face : faces)
        for (const Point& p : face)
            reachesCut = reachesCut || p.z > h;
    if (!reachesCut)
        return true;
    std::vector<CutLine> cuts;
    std::vector<Face> kept;
    for (const Face& face : faces) {
        Face piece = Clip(face, h, cuts);
        if (piece.size() >= 3)
            kept.push_back(std::move(piece));
    }
    // Neighbouring faces find their common crossings from the same two points, so the cut
    // lines meet end to end within the solver's single precision. The reach is absolute: one
    // that grew with the roof's size took the cut lines either side of a ridge for one loop.
    if (!JoinCuts(cuts, kJoinReach, kept))
        return false;
    faces = std::move(kept);
    return true;
}

}  // namespace geo_roof
