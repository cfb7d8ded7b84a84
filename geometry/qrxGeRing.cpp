#include "qrxGeRing.h"

#include <algorithm>
#include <cmath>

namespace qrxGe {

namespace {

const point2d& Next(std::span<const point2d> ring, std::size_t i)
{
    return ring[(i + 1) % ring.size()];
}

double ShoelaceTerm(const point2d& a, const point2d& b)
{
    return a.x * b.y - b.x * a.y;
}

} // namespace

// Taken about the first point: the same shoelace sum, but its terms are products of the
// ring's own extents, so a ring at a national grid's coordinates (1e9 and more) keeps its
// orientation and area instead of losing them to the rounding of products of coordinates.
double SignedArea(std::span<const point2d> ring)
{
    if (ring.empty())
        return 0.0;
    const point2d o = ring[0];
    double sum = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const point2d& a = ring[i];
        const point2d& b = Next(ring, i);
        sum += ShoelaceTerm({a.x - o.x, a.y - o.y}, {b.x - o.x, b.y - o.y});
    }
    return 0.5 * sum;
}

double PolylineLength(std::span<const point2d> points, bool closed)
{
    double length = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i)
        length += points[i - 1].DistanceTo(points[i]);
    if (closed && points.size() > 1)
        length += points.back().DistanceTo(points.front());
    return length;
}

double Area(std::span<const point2d> ring)
{
    return ring.size() < 3 ? 0.0 : std::fabs(SignedArea(ring));
}

bool IsClockwise(std::span<const point2d> ring)
{
    return ring.size() < 3 || SignedArea(ring) < 0.0;
}

int IsConvex(std::span<const point2d> ring)
{
    const std::size_t n = ring.size();
    if (n < 3)
        return 0;
    bool right = false, left = false;
    for (std::size_t i = 0; i < n; ++i) {
        const point2d& a = ring[i];
        const point2d& b = ring[(i + 1) % n];
        const point2d& c = ring[(i + 2) % n];
        const double z = (c.y - b.y) * (b.x - a.x) - (b.y - a.y) * (c.x - b.x);
        if (z < 0)
            right = true;
        else if (z > 0)
            left = true;
        if (right && left)
            return -1;
    }
    return (right || left) ? 1 : 0;
}

bool IsPointInPolygon(std::span<const point2d> ring, const point2d& p)
{
    int crossings = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const point2d& p1 = ring[i];
        const point2d& p2 = Next(ring, i);
        const double minY = std::min(p1.y, p2.y), maxY = std::max(p1.y, p2.y);
        if (!(p.y - minY > -0.1 && p.y - maxY < 0.1 && p.x - std::max(p1.x, p2.x) < 0.1))
            continue;
        if (p == p1)
            return true;
        if (std::fabs(p1.y - p2.y) >= 0.1) {
            const double xi = p1.x + (p.y - p1.y) * (p2.x - p1.x) / (p2.y - p1.y);
            if (std::fabs(p.x - xi) < 0.1)
                return true;
            // A crossing at the lower end is left out, so a ray through a vertex counts once.
            if (p.x < xi && !IsEqual(p.y, minY))
                ++crossings;
        } else if (std::fabs(p1.y - p.y) < 0.1 && p.x - std::min(p1.x, p2.x) > -0.1) {
            return true;
        }
    }
    return crossings % 2 == 1;
}

point2d Centroid(std::span<const point2d> ring)
{
    if (ring.size() < 3)
        return kOrigin2d;
    double sum = 0.0, sx = 0.0, sy = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const point2d& a = ring[i];
        const point2d& b = Next(ring, i);
        const double c = ShoelaceTerm(a, b);
        sum += c;
        sx += (a.x + b.x) * c;
        sy += (a.y + b.y) * c;
    }
    const double sixA = 6.0 * (0.5 * sum);
    return {sx / sixA, sy / sixA};
}

} // namespace qrxGe
