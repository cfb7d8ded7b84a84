#include "GrownEdgeSlopes.h"

#include <cmath>

#include "OutlineCleanup.h"

namespace {

// How far apart in direction (the sine of the angle) and in line (millimetres) two edges may
// lie and still be one: the kernel's offset runs in single precision.
constexpr double kDirectionTol = 1e-4;
constexpr double kLineTol = 0.5;

// An edge seen counter-clockwise: a point on it and its unit direction.
struct Edge {
    GePoint3d at;
    GeVector3d along;
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
        edges.push_back({a, reversed ? -d : d});
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
        std::optional<float> slope;
        for (std::size_t i = 0; i < old.size(); ++i) {
            if (!ComesFrom(edge, old[i], grownBy))
                continue;
            if (slope && *slope != slopes[i])
                return std::nullopt;
            slope = slopes[i];
        }
        if (!slope)
            return std::nullopt;
        carried.push_back(*slope);
    }
    return carried;
}
