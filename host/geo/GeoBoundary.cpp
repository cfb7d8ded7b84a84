#include "GeoBoundary.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr int kMinRing = 3;

struct Point {
    double x, y, z;
};

double Distance(const Point& a, const Point& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

bool Usable(const double* x, const double* y, const double* z, const int* n)
{
    return x && y && z && n && *n >= 0;
}

std::vector<Point> ReadRing(const double* x, const double* y, const double* z, int n)
{
    std::vector<Point> ring;
    ring.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) ring.push_back({x[i], y[i], z[i]});
    return ring;
}

void WriteRing(const std::vector<Point>& ring, double* x, double* y, double* z, int* n)
{
    for (std::size_t i = 0; i < ring.size(); ++i) {
        x[i + 1] = ring[i].x;
        y[i + 1] = ring[i].y;
        z[i + 1] = ring[i].z;
    }
    *n = static_cast<int>(ring.size());
}

// Whether p lies within tol of the segment a-b, strictly between its ends.
bool LiesInsideEdge(const Point& p, const Point& a, const Point& b, double tol)
{
    const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    const double len2 = dx * dx + dy * dy + dz * dz;
    if (len2 <= 0.0) return false;
    const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy + (p.z - a.z) * dz) / len2;
    if (t <= 0.0 || t >= 1.0) return false;
    const Point foot{a.x + t * dx, a.y + t * dy, a.z + t * dz};
    return Distance(p, foot) <= tol && Distance(p, a) > tol && Distance(p, b) > tol;
}

}  // namespace

extern "C" int geozhenglimianbianjiezcx(double tol, double* x, double* y, double* z, int* n)
{
    if (!Usable(x, y, z, n)) return 0;
    if (*n <= kMinRing) return 1;
    const std::vector<Point> ring = ReadRing(x, y, z, *n);
    const std::size_t total = ring.size();
    std::vector<Point> kept{ring.front()};
    for (std::size_t i = 1; i < total; ++i)
        if (Distance(ring[i], kept.back()) > tol) kept.push_back(ring[i]);
    if (kept.size() > 1 && Distance(kept.back(), kept.front()) <= tol) kept.pop_back();
    // A ring that collapses below a triangle is not a boundary to clean: leave it alone.
    if (kept.size() < kMinRing) return 1;
    WriteRing(kept, x, y, z, n);
    return 1;
}

extern "C" int geojiandianzhenglimianbianjiezcx(double tol, double* x, double* y, double* z, int* n)
{
    if (!Usable(x, y, z, n)) return 0;
    if (*n <= kMinRing) return 1;
    std::vector<Point> ring = ReadRing(x, y, z, *n);
    bool dropped = true;
    while (dropped && ring.size() >= kMinRing) {
        dropped = false;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Point& prev = ring[(i + ring.size() - 1) % ring.size()];
            const Point& next = ring[(i + 1) % ring.size()];
            if (LiesInsideEdge(ring[i], prev, next, tol)) {
                ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(i));
                dropped = true;
                break;
            }
        }
    }
    // All points on one line: nothing of a boundary would remain, so leave it alone.
    if (ring.size() < kMinRing) return 1;
    WriteRing(ring, x, y, z, n);
    return 1;
}
