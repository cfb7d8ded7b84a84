#pragma once
// GEOS as the independent oracle of the polygon operation tests and benchmarks: rings and
// segment sets to GEOS geometries, and the measures read back (areas, polygons and their
// holes), with every GEOS object owned so that a failing check leaks nothing.

#include "qrxGeEdge2d.h"
#include "qrxGeRing.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace geosoracle {

using qrxGe::edge2d;
using qrxGe::point2d;
using Ring = std::vector<point2d>;

class Context {
public:
    Context() : handle_(GEOS_init_r()) {}
    ~Context() { GEOS_finish_r(handle_); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    GEOSContextHandle_t get() const { return handle_; }

private:
    GEOSContextHandle_t handle_;
};

class Geom {
public:
    Geom(GEOSContextHandle_t h, GEOSGeometry* g) : h_(h), g_(g) {}
    Geom(Geom&& o) noexcept : h_(o.h_), g_(std::exchange(o.g_, nullptr)) {}
    Geom& operator=(Geom&& o) noexcept
    {
        std::swap(h_, o.h_);
        std::swap(g_, o.g_);
        return *this;
    }
    ~Geom()
    {
        if (g_)
            GEOSGeom_destroy_r(h_, g_);
    }
    GEOSGeometry* get() const { return g_; }
    explicit operator bool() const { return g_ != nullptr; }
    // Hands the geometry to a GEOS call that takes ownership.
    GEOSGeometry* release() { return std::exchange(g_, nullptr); }

private:
    GEOSContextHandle_t h_;
    GEOSGeometry* g_;
};

inline GEOSCoordSequence* Sequence(const Context& c, const std::vector<point2d>& points, bool close)
{
    const unsigned n = static_cast<unsigned>(points.size()) + (close ? 1u : 0u);
    GEOSCoordSequence* s = GEOSCoordSeq_create_r(c.get(), n, 2);
    for (unsigned i = 0; i < n; ++i) {
        const point2d& p = points[i % points.size()];
        GEOSCoordSeq_setXY_r(c.get(), s, i, p.x, p.y);
    }
    return s;
}

// A polygon of the ring (its first point repeated to close it), without holes.
inline Geom Polygon(const Context& c, const Ring& ring)
{
    GEOSGeometry* shell = GEOSGeom_createLinearRing_r(c.get(), Sequence(c, ring, true));
    return {c.get(), GEOSGeom_createPolygon_r(c.get(), shell, nullptr, 0)};
}

// The segments as one multi-line-string.
inline Geom Lines(const Context& c, const std::vector<edge2d>& segments)
{
    std::vector<GEOSGeometry*> lines;
    for (const edge2d& e : segments)
        lines.push_back(GEOSGeom_createLineString_r(c.get(), Sequence(c, {e.StartPoint(), e.EndPoint()}, false)));
    return {c.get(), GEOSGeom_createCollection_r(c.get(), GEOS_MULTILINESTRING, lines.data(),
                                                 static_cast<unsigned>(lines.size()))};
}

inline double Area(const Context& c, const Geom& g)
{
    double a = 0.0;
    GEOSArea_r(c.get(), g.get(), &a);
    return a;
}

inline double Area(const Context& c, const Ring& ring)
{
    return Area(c, Polygon(c, ring));
}

// The length of the lines, or of the polygons' outlines and holes.
inline double Length(const Context& c, const Geom& g)
{
    double l = 0.0;
    GEOSLength_r(c.get(), g.get(), &l);
    return l;
}

// One polygon of a result: its area, the area its shell encloses, and its hole count.
struct PolygonPart {
    double area = 0.0;
    double shellArea = 0.0;
    int holes = 0;
};

// The polygons of a (multi-)polygon or collection; other members are ignored.
inline std::vector<PolygonPart> Polygons(const Context& c, const GEOSGeometry* g)
{
    std::vector<PolygonPart> parts;
    const int type = GEOSGeomTypeId_r(c.get(), g);
    if (type == GEOS_POLYGON) {
        if (GEOSisEmpty_r(c.get(), g))
            return parts;
        PolygonPart p;
        GEOSArea_r(c.get(), g, &p.area);
        p.holes = GEOSGetNumInteriorRings_r(c.get(), g);
        const GEOSGeometry* ring = GEOSGetExteriorRing_r(c.get(), g);
        Geom shell(c.get(), GEOSGeom_createPolygon_r(c.get(), GEOSGeom_clone_r(c.get(), ring), nullptr, 0));
        GEOSArea_r(c.get(), shell.get(), &p.shellArea);
        parts.push_back(p);
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        for (int i = 0, n = GEOSGetNumGeometries_r(c.get(), g); i < n; ++i)
            for (const PolygonPart& p : Polygons(c, GEOSGetGeometryN_r(c.get(), g, i)))
                parts.push_back(p);
    }
    return parts;
}

inline bool HasHoles(const std::vector<PolygonPart>& parts)
{
    for (const PolygonPart& p : parts)
        if (p.holes > 0)
            return true;
    return false;
}

inline Geom Union(const Context& c, const Geom& a, const Geom& b) { return {c.get(), GEOSUnion_r(c.get(), a.get(), b.get())}; }
inline Geom Difference(const Context& c, const Geom& a, const Geom& b) { return {c.get(), GEOSDifference_r(c.get(), a.get(), b.get())}; }
inline Geom Intersection(const Context& c, const Geom& a, const Geom& b) { return {c.get(), GEOSIntersection_r(c.get(), a.get(), b.get())}; }

// The segments noded into pieces that meet only at their ends.
inline Geom Node(const Context& c, const Geom& lines) { return {c.get(), GEOSNode_r(c.get(), lines.get())}; }

// The faces that noded lines enclose, as a geometry collection of polygons.
inline Geom Polygonize(const Context& c, const Geom& noded)
{
    const GEOSGeometry* in[] = {noded.get()};
    return {c.get(), GEOSPolygonize_r(c.get(), in, 1)};
}

// A mitred offset: positive grows, negative shrinks.
inline Geom MitredBuffer(const Context& c, const Geom& g, double distance, double mitreLimit)
{
    return {c.get(), GEOSBufferWithStyle_r(c.get(), g.get(), distance, 8, GEOSBUF_CAP_FLAT, GEOSBUF_JOIN_MITRE, mitreLimit)};
}

// ---- Plain geometry the oracles' input filters need ------------------------------------

inline double PointToSegment(const point2d& p, const point2d& a, const point2d& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Where a-b and c-d cross at one point inside both (plain parametric test, no tolerance).
inline std::optional<point2d> Crossing(const point2d& a, const point2d& b, const point2d& c, const point2d& d)
{
    const double rx = b.x - a.x, ry = b.y - a.y, sx = d.x - c.x, sy = d.y - c.y;
    const double den = rx * sy - ry * sx;
    if (den == 0.0)
        return std::nullopt;
    const double t = ((c.x - a.x) * sy - (c.y - a.y) * sx) / den;
    const double u = ((c.x - a.x) * ry - (c.y - a.y) * rx) / den;
    if (t < 0 || t > 1 || u < 0 || u > 1)
        return std::nullopt;
    return point2d{a.x + t * rx, a.y + t * ry};
}

} // namespace geosoracle
