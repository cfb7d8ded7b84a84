// Faces that lean outward from an outline: every edge moves outward by its own run as it
// rises, the grown edges meet at the grown corners, and the grown ring is the top.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

#include "GePoint2dArray.h"
#include "GeVector2d.h"
#include "GeoRoofShapes.h"

namespace geo_roof {

namespace {

// Which side of the line a-b the point c lies on: 1 left, -1 right, 0 on it.
int Side(const GeVector2d& a, const GeVector2d& b, const GeVector2d& c)
{
    const double s = (b - a).CrossProduct(c - a);
    return s > 0.0 ? 1 : (s < 0.0 ? -1 : 0);
}

// The closed segments a-b and c-d share a point.
bool Meet(const GeVector2d& a, const GeVector2d& b, const GeVector2d& c, const GeVector2d& d)
{
    const int s1 = Side(a, b, c), s2 = Side(a, b, d), s3 = Side(c, d, a), s4 = Side(c, d, b);
    if (s1 * s2 < 0 && s3 * s4 < 0)
        return true;
    const auto within = [](const GeVector2d& p, const GeVector2d& q, const GeVector2d& r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
               r.y <= std::max(p.y, q.y);
    };
    return (s1 == 0 && within(a, b, c)) || (s2 == 0 && within(a, b, d)) || (s3 == 0 && within(c, d, a)) ||
           (s4 == 0 && within(c, d, b));
}

// No two edges of the ring meet but neighbours at their common corner. Edges are taken in
// order of their lowest x, so each is tested only against those it overlaps in x.
bool IsSimple(const std::vector<GeVector2d>& ring)
{
    const std::size_t n = ring.size();
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    const auto lowX = [&](std::size_t i) { return std::min(ring[i].x, ring[(i + 1) % n].x); };
    const auto highX = [&](std::size_t i) { return std::max(ring[i].x, ring[(i + 1) % n].x); };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return lowX(a) < lowX(b); });
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = order[k];
        for (std::size_t m = k + 1; m < n && lowX(order[m]) <= highX(i); ++m) {
            const std::size_t j = order[m];
            const bool neighbours = (i + 1) % n == j || (j + 1) % n == i;
            if (!neighbours && Meet(ring[i], ring[(i + 1) % n], ring[j], ring[(j + 1) % n]))
                return false;
        }
    }
    return true;
}

}  // namespace

bool IsSimpleRing(const std::vector<double>& x, const std::vector<double>& y)
{
    // Relative to the first point, so that site coordinates keep their precision.
    std::vector<GeVector2d> ring;
    for (std::size_t i = 0; i < x.size(); ++i)
        ring.push_back({x[i] - x[0], y[i] - y[0]});
    return ring.size() >= 3 && IsSimple(ring);
}

bool OutwardFaces(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& run,
                  double h, std::vector<Face>& faces)
{
    faces.clear();
    const std::size_t n = x.size();
    GePoint2dArray outline;
    for (std::size_t i = 0; i < n; ++i)
        outline.emplace_back(x[i], y[i]);
    const double area = outline.SignedArea();
    if (area == 0.0 || !std::isfinite(area))
        return false;
    // Relative to the first point, so that site coordinates keep their precision.
    std::vector<GeVector2d> p(n);
    for (std::size_t i = 0; i < n; ++i)
        p[i] = outline[i] - outline[0];
    const double outwardSign = area > 0.0 ? 1.0 : -1.0;  // outward is right of a counter-clockwise edge
    std::vector<GeVector2d> along(n), outward(n);
    for (std::size_t i = 0; i < n; ++i) {
        const GeVector2d e = p[(i + 1) % n] - p[i];
        const double length = std::hypot(e.x, e.y);
        if (!(length > 0.0))
            return false;
        along[i] = {e.x / length, e.y / length};
        outward[i] = {outwardSign * along[i].y, -outwardSign * along[i].x};
    }
    // Corner i is where the grown lines of edges i - 1 and i meet.
    std::vector<GeVector2d> grown(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t before = (i + n - 1) % n;
        const GeVector2d a{p[i].x + outward[before].x * run[before], p[i].y + outward[before].y * run[before]};
        const GeVector2d b{p[i].x + outward[i].x * run[i], p[i].y + outward[i].y * run[i]};
        const double turn = along[before].CrossProduct(along[i]);
        if (std::fabs(turn) < 1e-12) {
            // Running straight on, the corner moves with both edges only when they move alike.
            if (along[before].DotProduct(along[i]) < 0.0 || std::fabs(run[before] - run[i]) > 1e-9 * (1.0 + run[i]))
                return false;
            grown[i] = b;
            continue;
        }
        const double t = (b - a).CrossProduct(along[i]) / turn;
        grown[i] = {a.x + t * along[before].x, a.y + t * along[before].y};
    }
    // Every grown edge keeps its direction, and the grown ring does not cross itself.
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        if (!((grown[j] - grown[i]).DotProduct(along[i]) > 0.0))
            return false;
    }
    if (!IsSimple(grown))
        return false;

    const auto world = [&](const GeVector2d& v, double z) { return Point{v.x + x[0], v.y + y[0], z}; };
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        Face face{world(p[i], 0.0), world(p[j], 0.0), world(grown[j], h), world(grown[i], h)};
        // Clockwise in plan for a counter-clockwise outline; the other way round it runs the
        // same way when reversed (an upright wall then still faces outward).
        if (outwardSign < 0.0)
            std::reverse(face.begin(), face.end());
        faces.push_back(std::move(face));
    }
    Face top;
    for (const GeVector2d& v : grown)
        top.push_back(world(v, h));
    if (outwardSign > 0.0)
        std::reverse(top.begin(), top.end());
    faces.push_back(std::move(top));
    return true;
}

}  // namespace geo_roof
