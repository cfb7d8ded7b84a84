#pragma once
// Ownership and measures shared by the polygon operation tests: the operations hand out raw
// heap results, which the tests take over at once so that nothing leaks when a check fails.

#include "qrxGeEdge2d.h"
#include "qrxGeRing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace qrxGe {

// Readable failures, to the last digit so that a failing shape can be drawn again (also at a
// national grid's coordinates): GoogleTest finds this beside the type.
inline void PrintTo(const point2d& p, std::ostream* os)
{
    const std::streamsize precision = os->precision(17);
    *os << '(' << p.x << ',' << p.y << ')';
    os->precision(precision);
}

inline void PrintTo(const edge2d& e, std::ostream* os)
{
    PrintTo(e.StartPoint(), os);
    *os << '-';
    PrintTo(e.EndPoint(), os);
}

} // namespace qrxGe

namespace qrxGe::test {

using Ring = std::vector<point2d>;

// A ring list taken over from an operation; nullopt stands for a null result.
using OwnedRings = std::optional<std::vector<Ring>>;

inline OwnedRings Take(std::vector<ring2d*>* list)
{
    if (!list)
        return std::nullopt;
    std::vector<std::unique_ptr<ring2d>> owned(list->begin(), list->end());
    delete list;
    std::vector<Ring> rings;
    for (auto& r : owned)
        rings.push_back(*r);
    return rings;
}

inline std::optional<Ring> Take(ring2d* ring)
{
    std::unique_ptr<ring2d> owned(ring);
    if (!owned)
        return std::nullopt;
    return *owned;
}

// Half the shoelace sum, taken about the first point so that rings far from the origin
// measure as well: positive for a counter-clockwise ring.
inline double SignedArea(const Ring& ring)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const point2d& a = ring[i];
        const point2d& b = ring[(i + 1) % ring.size()];
        sum += (a.x - ring[0].x) * (b.y - ring[0].y) - (b.x - ring[0].x) * (a.y - ring[0].y);
    }
    return 0.5 * sum;
}

inline double TotalArea(const std::vector<Ring>& rings)
{
    double sum = 0.0;
    for (const Ring& r : rings)
        sum += std::fabs(SignedArea(r));
    return sum;
}

inline Ring Reversed(Ring ring)
{
    return Ring(ring.rbegin(), ring.rend());
}

// How many of the rings an operation gave on a and b run clockwise; a copy of an input ring is
// the caller's ring as given and is not counted.
inline std::size_t ClockwiseTraced(const std::vector<Ring>& rings, const Ring& a, const Ring& b)
{
    return static_cast<std::size_t>(
        std::count_if(rings.begin(), rings.end(), [&](const Ring& r) { return r != a && r != b && SignedArea(r) <= 0.0; }));
}

// A coordinate from one byte, for the fuzz targets and their seeded runs: a coarse grid (steps
// of 5 over 0..40), moved off it by 0 to 0.12, so that places meet exactly, within the
// tolerance and just beyond it.
inline double CoordinateFromByte(std::uint8_t b)
{
    return (b % 9) * 5.0 + (b / 9 % 5) * 0.03;
}

using Segments = std::vector<edge2d>;

// The ring's sides, the last point joining the first.
inline Segments Sides(const Ring& ring)
{
    Segments s;
    for (std::size_t i = 0; i < ring.size(); ++i)
        s.push_back({ring[i], ring[(i + 1) % ring.size()]});
    return s;
}

inline Segments Joined(Segments a, const Segments& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Rings and segments moved by (dx, dy), as to a national grid's coordinates.
inline Ring Moved(Ring ring, double dx, double dy)
{
    for (point2d& p : ring)
        p = {p.x + dx, p.y + dy};
    return ring;
}

inline OwnedRings Moved(OwnedRings rings, double dx, double dy)
{
    if (rings)
        for (Ring& r : *rings)
            r = Moved(r, dx, dy);
    return rings;
}

inline Segments Moved(Segments segments, double dx, double dy)
{
    for (edge2d& e : segments)
        e = {{e.StartPoint().x + dx, e.StartPoint().y + dy}, {e.EndPoint().x + dx, e.EndPoint().y + dy}};
    return segments;
}

} // namespace qrxGe::test
