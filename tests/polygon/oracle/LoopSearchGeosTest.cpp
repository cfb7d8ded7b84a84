// The loops through a segment against GEOS's noding and polygonizing of the same segments.
// Random arrangements of up to 60 segments on an integer grid, each level, upright or at 45
// degrees (so every meeting lies on a half-integer point, far apart beside the 0.1
// tolerance), with no two overlapping. S is one segment that noding leaves whole; the faces on its two sides
// are GEOS's polygons holding a point just right and just left of its middle, S walked
// upwards. Where such a face is simply bounded and no dangle or bridge touches it, the right-
// turning loop must enclose the area of the face on the right and the left-turning loop that
// of the face on the left; where one side is outside the arrangement and the arrangement's
// faces unite into one simply bounded polygon, the loop on that side encloses their union.
// The pool is given two ways: the noded pieces, and the raw segments the search cuts itself.
#include "GeosSupport.h"
#include "PlanarTestSupport.h"
#include "qrxGePolygonOperations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

using geosoracle::Context;
using geosoracle::Geom;
using qrxGe::edge2d;
using qrxGe::point2d;
using qrxGe::test::Ring;
using qrxGe::test::Segments;

// Same line and sharing more than a point; exact, the ends being integers.
bool Overlap(const edge2d& a, const edge2d& b)
{
    const point2d p = a.StartPoint(), q = a.EndPoint(), r = b.StartPoint(), s = b.EndPoint();
    const auto cross = [](point2d o, point2d u, point2d v) { return (u.x - o.x) * (v.y - o.y) - (u.y - o.y) * (v.x - o.x); };
    if (cross(p, q, r) != 0 || cross(p, q, s) != 0)
        return false;
    const auto along = [&](point2d v) { return (v.x - p.x) * (q.x - p.x) + (v.y - p.y) * (q.y - p.y); };
    const double len = along(q), lo = std::min(along(r), along(s)), hi = std::max(along(r), along(s));
    return std::min(len, hi) - std::max(0.0, lo) > 0;
}

// The sides of random closed shapes (rectangles, diamonds, right triangles) and loose
// segments, up to 60 in all; a shape or segment that would overlap one already placed is left
// out. The shapes give faces without dangles; the loose segments cut them and dangle.
Segments RandomArrangement(std::mt19937& random)
{
    std::uniform_int_distribution<int> coord(0, 12), size(1, 6), kind(0, 3), shapes(1, 18);
    const auto placed = [](const Segments& pool, const Segments& more) {
        for (const edge2d& e : more)
            for (const edge2d& f : pool)
                if (Overlap(e, f))
                    return false;
        return true;
    };
    Segments segments;
    for (int n = shapes(random), i = 0; i < n; ++i) {
        const double x = coord(random), y = coord(random), w = size(random), h = size(random);
        Segments more;
        switch (kind(random)) {
        case 0: more = qrxGe::test::Sides({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}); break;
        case 1: more = qrxGe::test::Sides({{x, y}, {x + w, y + w}, {x, y + 2 * w}, {x - w, y + w}}); break;
        case 2: more = qrxGe::test::Sides({{x, y}, {x + w, y}, {x, y + w}}); break;
        default: {
            const point2d steps[] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
            more = {{{x, y}, point2d(x, y) + (steps[random() % 4] - point2d()) * (2 * w)}};
        }
        }
        if (placed(segments, more) && segments.size() + more.size() <= 60)
            segments.insert(segments.end(), more.begin(), more.end());
    }
    return segments;
}

Segments Pieces(const Context& c, const Geom& noded)
{
    Segments pieces;
    for (int i = 0, n = GEOSGetNumGeometries_r(c.get(), noded.get()); i < n; ++i) {
        const GEOSCoordSequence* s = GEOSGeom_getCoordSeq_r(c.get(), GEOSGetGeometryN_r(c.get(), noded.get(), i));
        unsigned size = 0;
        GEOSCoordSeq_getSize_r(c.get(), s, &size);
        for (unsigned k = 0; k + 1 < size; ++k) {
            double x0, y0, x1, y1;
            GEOSCoordSeq_getXY_r(c.get(), s, k, &x0, &y0);
            GEOSCoordSeq_getXY_r(c.get(), s, k + 1, &x1, &y1);
            pieces.push_back({{x0, y0}, {x1, y1}});
        }
    }
    return pieces;
}

// The arrangement as GEOS sees it: its faces and the lines that bound none.
struct Faces {
    Geom polygons, cuts, dangles, invalid;
};

Faces PolygonizeFull(const Context& c, const Geom& noded)
{
    GEOSGeometry *cuts = nullptr, *dangles = nullptr, *invalid = nullptr;
    GEOSGeometry* polygons = GEOSPolygonize_full_r(c.get(), noded.get(), &cuts, &dangles, &invalid);
    return {{c.get(), polygons}, {c.get(), cuts}, {c.get(), dangles}, {c.get(), invalid}};
}

// A face, or the union of all faces, that a loop may be compared with: one polygon without
// holes whose boundary never touches itself, and no dangle or bridge touching what the walk
// sees (the face and its boundary; only the boundary for a walk outside the union).
bool SimplyBounded(const Context& c, const GEOSGeometry* polygon, const Faces& faces, bool outside)
{
    if (GEOSGeomTypeId_r(c.get(), polygon) != GEOS_POLYGON || GEOSGetNumInteriorRings_r(c.get(), polygon) != 0)
        return false;
    const GEOSGeometry* shell = GEOSGetExteriorRing_r(c.get(), polygon);
    if (GEOSisSimple_r(c.get(), shell) != 1)
        return false;
    const GEOSGeometry* seen = outside ? shell : polygon;
    return GEOSIntersects_r(c.get(), faces.cuts.get(), seen) == 0 &&
           GEOSIntersects_r(c.get(), faces.dangles.get(), seen) == 0;
}

const GEOSGeometry* FaceHolding(const Context& c, const Faces& faces, point2d p)
{
    const Geom point(c.get(), GEOSGeom_createPointFromXY_r(c.get(), p.x, p.y));
    for (int i = 0, n = GEOSGetNumGeometries_r(c.get(), faces.polygons.get()); i < n; ++i) {
        const GEOSGeometry* face = GEOSGetGeometryN_r(c.get(), faces.polygons.get(), i);
        if (GEOSContains_r(c.get(), face, point.get()))
            return face;
    }
    return nullptr;
}

struct Tally {
    int faces = 0;
    int outsides = 0;
};

// Both loops through s (a segment of pool) against the faces on its sides.
void CompareLoops(const Context& c, const Faces& faces, const GEOSGeometry* all, const Segments& pool, const edge2d& given,
                  const std::string& name, Tally& tally)
{
    // Walked upwards; a level S from its given end.
    edge2d s = given;
    if (!(s.EndPoint().y > s.StartPoint().y))
        s.Reverse();
    const qrxGe::vector2d d = s.UnitDirection();
    const point2d mid = s.MidPoint();
    const point2d right = mid + qrxGe::vector2d(d.y, -d.x) * 1e-3, left = mid - qrxGe::vector2d(d.y, -d.x) * 1e-3;
    for (const bool onRight : {true, false}) {
        const GEOSGeometry* face = FaceHolding(c, faces, onRight ? right : left);
        const GEOSGeometry* expected = face ? face : all;
        if (!expected || GEOSisEmpty_r(c.get(), expected) || !SimplyBounded(c, expected, faces, !face))
            continue;
        if (!face && FaceHolding(c, faces, onRight ? left : right) == nullptr)
            continue;  // S outside every face: a lone edge, not on the outer boundary
        double area = 0.0;
        GEOSArea_r(c.get(), expected, &area);
        const auto loop = qrxGe::test::Take(onRight ? qrxGe::RightLoopThroughSegment(pool, given)
                                                    : qrxGe::LeftLoopThroughSegment(pool, given));
        SCOPED_TRACE(name + (onRight ? ", right" : ", left") + (face ? " face" : " outside"));
        ASSERT_TRUE(loop);
        EXPECT_EQ(loop->front().x, s.StartPoint().x);
        EXPECT_EQ(loop->front().y, s.StartPoint().y);
        EXPECT_NEAR(std::fabs(qrxGe::test::SignedArea(*loop)), area, 1e-9 * area);
        ++(face ? tally.faces : tally.outsides);
    }
}

bool SameSegment(const edge2d& a, const edge2d& b)
{
    return (a.StartPoint() == b.StartPoint() && a.EndPoint() == b.EndPoint()) ||
           (a.StartPoint() == b.EndPoint() && a.EndPoint() == b.StartPoint());
}

TEST(LoopSearchGeos, LoopsEncloseTheFacesBesideS)
{
    Context c;
    std::mt19937 random(42);
    Tally noded, raw;
    for (int round = 0; round < 300; ++round) {
        const Segments segments = RandomArrangement(random);
        const Geom nodedLines = geosoracle::Node(c, geosoracle::Lines(c, segments));
        const Segments pieces = Pieces(c, nodedLines);
        const Faces faces = PolygonizeFull(c, nodedLines);
        if (!GEOSisEmpty_r(c.get(), faces.invalid.get()))
            continue;
        const Geom all(c.get(), GEOSUnaryUnion_r(c.get(), faces.polygons.get()));
        const std::string name = "arrangement " + std::to_string(round);
        // A few pieces as S in the noded pool, and in the raw pool the raw segments that
        // noding left whole, which the search must cut round itself.
        for (int k = 0; k < 4; ++k)
            CompareLoops(c, faces, all.get(), pieces, pieces[random() % pieces.size()], name + " noded", noded);
        for (int k = 0; k < 4; ++k) {
            const edge2d& e = segments[random() % segments.size()];
            if (std::any_of(pieces.begin(), pieces.end(), [&](const edge2d& p) { return SameSegment(p, e); }))
                CompareLoops(c, faces, all.get(), segments, e, name + " raw", raw);
        }
    }
    // Enough of each kind was compared for the run to mean something.
    EXPECT_GT(noded.faces, 500);
    EXPECT_GT(noded.outsides, 50);
    EXPECT_GT(raw.faces, 300);
    EXPECT_GT(raw.outsides, 50);
}

} // namespace
