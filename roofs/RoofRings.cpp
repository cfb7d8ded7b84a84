#include "RoofRings.h"

#include "OutlineCleanup.h"
#include "Tools.h"

namespace roof_rings {

namespace {

constexpr int kMinRingPoints = 3;

// Which side of the line a-b the point c lies on in plan: 1 left, -1 right, 0 on it.
int Side(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
{
    const double s = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return s > 0.0 ? 1 : (s < 0.0 ? -1 : 0);
}

// c lies within the plan box of a-b.
bool Within(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
{
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

// The closed segments a-b and c-d share a point in plan.
bool Meet(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c, const GePoint3d& d)
{
    const int s1 = Side(a, b, c), s2 = Side(a, b, d), s3 = Side(c, d, a), s4 = Side(c, d, b);
    if (s1 * s2 < 0 && s3 * s4 < 0)
        return true;
    return (s1 == 0 && Within(a, b, c)) || (s2 == 0 && Within(a, b, d)) || (s3 == 0 && Within(c, d, a)) ||
           (s4 == 0 && Within(c, d, b));
}

// Every edge of the moved ring runs the way its edge of the ring does.
bool KeepsDirections(const GePoint3dArray& ring, const GePoint3dArray& moved)
{
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const GeVector3d a = ring[j] - ring[i], b = moved[j] - moved[i];
        if (!(a.x * b.x + a.y * b.y > 0.0))
            return false;
    }
    return true;
}

}  // namespace

GePoint3dArray Grown(const GePoint3dArray& ring, double overhang)
{
    GePoint3dArray grown = ring;
    if (overhang == 0.0)
        return grown;
    OffsetBorderPts(grown, -overhang);
    if (GetPtsSignedArea(ring) != 0.0 && grown.size() >= static_cast<std::size_t>(kMinRingPoints) && KeepsDirections(ring, grown) &&
        IsSimpleInPlan(grown))
        return grown;
    grown.clear();
    int closed = 0;
    CTools::offset(ring, 1, overhang, grown, closed, kMinRingPoints);
    if (grown.size() < static_cast<std::size_t>(kMinRingPoints))
        grown.clear();
    return grown;
}

bool IsSimpleInPlan(const GePoint3dArray& ring)
{
    const std::size_t n = ring.size();
    if (n < static_cast<std::size_t>(kMinRingPoints))
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        const GePoint3d& a = ring[i];
        const GePoint3d& b = ring[(i + 1) % n];
        // The next edge may only share b: it must not turn straight back along this one.
        const GePoint3d& c = ring[(i + 2) % n];
        if (Side(a, b, c) == 0 && (c.x - b.x) * (a.x - b.x) + (c.y - b.y) * (a.y - b.y) > 0.0)
            return false;
        for (std::size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;  // the closing edge neighbours the first
            if (Meet(a, b, ring[j], ring[(j + 1) % n]))
                return false;
        }
    }
    return true;
}

}  // namespace roof_rings
