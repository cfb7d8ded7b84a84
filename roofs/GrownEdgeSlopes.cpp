#include "GrownEdgeSlopes.h"

#include <algorithm>
#include <cmath>

#include "OutlineCleanup.h"

namespace {

// How far apart in direction (the sine of the angle) and in line (millimetres) two edges may
// lie and still be one: the kernel's offset runs in single precision.
constexpr double kDirectionTol = 1e-4;
constexpr double kLineTol = 0.5;

// An edge seen counter-clockwise: its start, its unit direction and its length.
struct Edge {
    GePoint3d at;
    GeVector3d along;
    double length = 0.0;
};

std::vector<Edge> CounterClockwiseEdges(const GePoint3dArray& ring)
{
    const bool reversed = GetPtsSignedArea(ring) < 0.0;
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const GePoint3d& a = ring[i];
        const GePoint3d& b = ring[(i + 1) % ring.size()];
        GeVector3d d(b.x - a.x, b.y - a.y, 0.0);
        const double length = d.Length();
        if (length > 0.0)
            d = d / length;
        edges.push_back(reversed ? Edge{b, -d, length} : Edge{a, d, length});
    }
    return edges;
}

// `to` runs the way `from` does, on its line moved out (to the right, counter-clockwise) by
// `grownBy`.
bool ComesFrom(const Edge& to, const Edge& from, double grownBy)
{
    const GeVector3d& u = from.along;
    if (u.Length() == 0.0 || to.along.Length() == 0.0)
        return false;
    if (std::fabs(u.x * to.along.y - u.y * to.along.x) > kDirectionTol || u.x * to.along.x + u.y * to.along.y <= 0.0)
        return false;
    const double out = (to.at.x - from.at.x) * u.y - (to.at.y - from.at.y) * u.x;
    return std::fabs(out - grownBy) <= kLineTol;
}

// How far `to` and `from`, moved onto its line, run side by side: the length of their common
// stretch along `from` (negative when a gap lies between them).
double Overlap(const Edge& to, const Edge& from)
{
    const GeVector3d& u = from.along;
    const double start = (to.at.x - from.at.x) * u.x + (to.at.y - from.at.y) * u.y;
    return std::min(start + to.length, from.length) - std::max(start, 0.0);
}

}  // namespace

std::optional<std::vector<float>> CarriedSlopes(const GePoint3dArray& from, const std::vector<float>& slopes,
                                                const GePoint3dArray& to, double grownBy)
{
    if (slopes.size() != from.size() || to.empty())
        return std::nullopt;
    const std::vector<Edge> old = CounterClockwiseEdges(from);
    const std::vector<Edge> grown = CounterClockwiseEdges(to);
    std::vector<float> carried;
    for (const Edge& edge : grown) {
        // The edges on its line; of several (edges of one line on either side of a notch),
        // those it runs beside.
        std::vector<std::size_t> online, beside;
        for (std::size_t i = 0; i < old.size(); ++i)
            if (ComesFrom(edge, old[i], grownBy)) {
                online.push_back(i);
                if (Overlap(edge, old[i]) > kLineTol)
                    beside.push_back(i);
            }
        const std::vector<std::size_t>& sources = beside.empty() ? online : beside;
        if (sources.empty())
            return std::nullopt;
        for (std::size_t i : sources)
            if (slopes[i] != slopes[sources.front()])
                return std::nullopt;
        carried.push_back(slopes[sources.front()]);
    }
    return carried;
}
