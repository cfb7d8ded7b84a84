// The faces and outlines of loose segments against GEOS's noder and polygonizer on random
// integer segment soups whose ends, crossings and directions keep far enough apart that the
// 0.1 tolerance plays no part, and where no part lies inside a face of another: the inner
// faces are GEOS's polygons, the faces are those plus the clockwise outer rings of all parts
// but one, the outline encloses the part holding the lowest point, the peeled outlines enclose
// every part, and the graph keeps the noded edges that are not dangles. The same soups moved
// to a national grid's coordinates (1e6 to 1e12) give the same areas, and grids of cells
// crossed by a line at a shallow angle are cut where GEOS cuts them. Dense clusters (many
// segments through a small disc, near-parallel bundles crossing, stars whose crossings lie
// 0.05 to 0.2 apart), where the noder has to gather nodes that routes pass in different
// orders, keep the graph's invariants and GEOS's areas within what the tolerance moves.
#include <gtest/gtest.h>

#include "GeosSupport.h"
#include "SegmentOperationsProperty.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <numeric>
#include <random>

namespace {

using namespace geosoracle;
using qrxGe::test::Moved;
using qrxGe::test::Segments;
using qrxGe::test::SignedArea;
using qrxGe::test::Take;

double Cross(const point2d& o, const point2d& a, const point2d& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Exact on integer coordinates: the point lies on the closed segment.
bool LiesOn(const point2d& p, const edge2d& e)
{
    const point2d a = e.StartPoint(), b = e.EndPoint();
    return Cross(a, b, p) == 0.0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
           std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

// Exact on integer coordinates: the closed segments share a point.
bool Meet(const edge2d& e, const edge2d& f)
{
    const point2d a = e.StartPoint(), b = e.EndPoint(), c = f.StartPoint(), d = f.EndPoint();
    const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    return LiesOn(a, f) || LiesOn(b, f) || LiesOn(c, e) || LiesOn(d, e);
}

// Ends off the other segments by 0.5 unless on them; crossings 0.5 from each other and from
// every end unless they coincide; meeting segments at least 0.03 rad apart in direction.
bool KeepsApart(const Segments& s)
{
    std::vector<point2d> points;
    for (const edge2d& e : s)
        points.insert(points.end(), {e.StartPoint(), e.EndPoint()});
    for (std::size_t i = 0; i < s.size(); ++i) {
        for (std::size_t j = 0; j < s.size(); ++j) {
            if (i == j)
                continue;
            for (const point2d& p : {s[i].StartPoint(), s[i].EndPoint()})
                if (!LiesOn(p, s[j]) && PointToSegment(p, s[j].StartPoint(), s[j].EndPoint()) < 0.5)
                    return false;
            if (j < i)
                continue;
            const double turn = std::fabs(std::remainder(s[i].Angle() - s[j].Angle(), M_PI));
            if (Meet(s[i], s[j]) && turn > 0.0 && turn < 0.03)
                return false;
            if (const auto x = Crossing(s[i].StartPoint(), s[i].EndPoint(), s[j].StartPoint(), s[j].EndPoint()))
                points.push_back(*x);
        }
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            const double d = points[i].DistanceTo(points[j]);
            if (d > 1e-9 && d < 0.5)
                return false;
        }
    return true;
}

// Random segments on an integer grid, each a few steps of a short integer vector from a grid
// point, so that directions stay few and far apart.
class Soups {
public:
    explicit Soups(unsigned seed) : random_(seed) {}

    Segments Next()
    {
        Segments s;
        const int n = Int(5, 14);
        while (static_cast<int>(s.size()) < n) {
            const point2d a{double(Int(0, 30)), double(Int(0, 30))};
            const int step = Int(3, 8);
            const point2d b{a.x + Int(-4, 4) * step, a.y + Int(-4, 4) * step};
            if (a != b)
                s.push_back({a, b});
        }
        return s;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    std::mt19937 random_;
};

// The parts of a soup: segments joined by shared points.
std::vector<Segments> Parts(const Segments& s)
{
    std::vector<std::size_t> root(s.size());
    std::iota(root.begin(), root.end(), 0);
    const auto find = [&](std::size_t i) {
        while (root[i] != i)
            i = root[i] = root[root[i]];
        return i;
    };
    for (std::size_t i = 0; i < s.size(); ++i)
        for (std::size_t j = i + 1; j < s.size(); ++j)
            if (Meet(s[i], s[j]))
                root[find(j)] = find(i);
    std::vector<Segments> parts;
    std::vector<std::size_t> partOf(s.size(), SIZE_MAX);
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::size_t& p = partOf[find(i)];
        if (p == SIZE_MAX) {
            p = parts.size();
            parts.emplace_back();
        }
        parts[p].push_back(s[i]);
    }
    return parts;
}

std::size_t SegmentCount(const Context& c, const GEOSGeometry* lines)
{
    std::size_t n = 0;
    for (int i = 0, k = GEOSGetNumGeometries_r(c.get(), lines); i < k; ++i)
        n += static_cast<std::size_t>(GEOSGeomGetNumPoints_r(c.get(), GEOSGetGeometryN_r(c.get(), lines, i))) - 1;
    return n;
}

// What GEOS makes of one set of segments: its faces' areas, the noded edges less the dangles,
// and the lowest y of what is left (the faces and the cut edges between them).
struct Polygonized {
    std::vector<double> areas;
    std::size_t keptEdges = 0;
    double lowest = HUGE_VAL;
    Geom faces;
};

Polygonized Polygonize(const Context& c, const Segments& s)
{
    const Geom noded = Node(c, Lines(c, s));
    GEOSGeometry *cuts = nullptr, *dangles = nullptr, *invalid = nullptr;
    Polygonized out{{}, 0, HUGE_VAL, Geom(c.get(), GEOSPolygonize_full_r(c.get(), noded.get(), &cuts, &dangles, &invalid))};
    const Geom ownedCuts(c.get(), cuts), ownedDangles(c.get(), dangles), ownedInvalid(c.get(), invalid);
    for (const PolygonPart& p : Polygons(c, out.faces.get()))
        out.areas.push_back(p.area);
    std::sort(out.areas.begin(), out.areas.end());
    out.keptEdges = SegmentCount(c, noded.get()) - SegmentCount(c, dangles);
    for (const GEOSGeometry* g : {out.faces.get(), cuts}) {
        double y = 0.0;
        if (!GEOSisEmpty_r(c.get(), g) && GEOSGeom_getYMin_r(c.get(), g, &y))
            out.lowest = std::min(out.lowest, y);
    }
    return out;
}

double Sum(const std::vector<double>& v)
{
    return std::accumulate(v.begin(), v.end(), 0.0);
}

std::vector<double> SortedAreas(const std::vector<qrxGe::test::Ring>& rings, bool clockwise)
{
    std::vector<double> areas;
    for (const auto& r : rings)
        if ((SignedArea(r) < 0) == clockwise)
            areas.push_back(std::fabs(SignedArea(r)));
    std::sort(areas.begin(), areas.end());
    return areas;
}

void ExpectSameAreas(const std::vector<double>& got, const std::vector<double>& expected, const char* what,
                     double relative)
{
    ASSERT_EQ(got.size(), expected.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], expected[i], relative * std::max(1.0, expected[i])) << what << " #" << i;
}

// The areas of what the four operations give, by kind of ring.
struct Traced {
    std::vector<double> inner, faces, outer;
    double outline = 0.0, peeled = 0.0;
    bool someNull = false;
};

Traced Trace(const Segments& s)
{
    Traced t;
    const auto inner = Take(qrxGe::InnerFacesFromSegments(s));
    const auto faces = Take(qrxGe::FacesFromSegments(s));
    const auto outline = Take(qrxGe::OutlineFromSegments(s));
    const auto peeled = Take(qrxGe::PeelOutlinesFromSegments(s));
    t.someNull = !inner || !faces || !outline || !peeled;
    if (t.someNull)
        return t;
    t.inner = SortedAreas(*inner, false);
    t.faces = SortedAreas(*faces, false);
    t.outer = SortedAreas(*faces, true);
    EXPECT_TRUE(SortedAreas(*inner, true).empty()) << "a clockwise inner face";
    t.outline = SignedArea(*outline);
    for (const auto& r : *peeled)
        t.peeled += std::fabs(SignedArea(r));
    return t;
}

TEST(SegmentOperationsGeos, FacesAndOutlinesMatchThePolygonizer)
{
    Context geos;
    Soups soups(4141);
    int compared = 0, withFaces = 0;
    for (int i = 0; i < 2500; ++i) {
        const Segments s = soups.Next();
        if (!KeepsApart(s))
            continue;
        // Each part's faces and lowest point; no part may lie inside a face of another, and
        // the lowest point must belong to one part alone.
        std::vector<Polygonized> parts;
        std::vector<Segments> partSegments;
        bool nested = false;
        for (const Segments& p : Parts(s)) {
            Polygonized made = Polygonize(geos, p);
            if (made.areas.empty())
                continue;
            parts.push_back(std::move(made));
            partSegments.push_back(p);
        }
        for (std::size_t a = 0; a < parts.size() && !nested; ++a)
            for (std::size_t b = 0; b < parts.size() && !nested; ++b)
                nested = a != b && GEOSIntersects_r(geos.get(), parts[a].faces.get(), Lines(geos, partSegments[b]).get());
        std::vector<double> lows;
        for (const Polygonized& p : parts)
            lows.push_back(p.lowest);
        std::sort(lows.begin(), lows.end());
        if (nested || (lows.size() > 1 && lows[1] - lows[0] < 0.5))
            continue;
        SCOPED_TRACE(::testing::PrintToString(s));
        ++compared;

        const Polygonized whole = Polygonize(geos, s);
        {
            qrxGe::seggraph2d g({});
            qrxGe::test::BuildSegmentGraph(g, s);
            EXPECT_EQ(g.Edges().size(), whole.keptEdges) << "noded edges less dangles";
        }
        const double shift = std::array{0.0, 1e6, 1e9, 1e10, 1e12}[static_cast<std::size_t>(compared % 5)];
        SCOPED_TRACE("shifted by " + std::to_string(shift));
        const Traced t = Trace(Moved(s, shift, -0.75 * shift));
        if (whole.areas.empty()) {
            EXPECT_TRUE(t.someNull);
            EXPECT_TRUE(t.inner.empty() && t.faces.empty() && t.peeled == 0.0);
            continue;
        }
        ++withFaces;
        ASSERT_FALSE(t.someNull);
        // Far from the origin the areas keep the rounding of the coordinates there.
        const double rounding = 1e-9 + 1e-15 * shift;
        ExpectSameAreas(t.inner, whole.areas, "inner faces", rounding);
        ExpectSameAreas(t.faces, whole.areas, "faces", rounding);

        // The faces: the same counter-clockwise rings, and one clockwise outer ring for every
        // part but the one traced first.
        std::vector<double> partAreas;
        for (const Polygonized& p : parts)
            partAreas.push_back(Sum(p.areas));
        ASSERT_EQ(t.outer.size(), parts.size() - 1);
        for (double a : t.outer) {
            const auto match = std::find_if(partAreas.begin(), partAreas.end(),
                                             [&](double p) { return std::fabs(p - a) <= rounding * std::max(1.0, p); });
            ASSERT_NE(match, partAreas.end()) << "a clockwise ring that is no part's outline: " << a;
            partAreas.erase(match);
        }

        const auto lowest = std::min_element(parts.begin(), parts.end(),
                                             [](const Polygonized& a, const Polygonized& b) { return a.lowest < b.lowest; });
        EXPECT_NEAR(t.outline, Sum(lowest->areas), rounding * Sum(lowest->areas)) << "outline";
        EXPECT_NEAR(t.peeled, Sum(whole.areas), rounding * Sum(whole.areas)) << "peeled outlines";
    }
    EXPECT_GT(compared, 300);
    EXPECT_GT(withFaces, 150);
}

// Grids of 1 m cells crossed by a line at 0.002 to 0.01 rad from a cell side, far enough
// from the corners that it keeps 0.3 off them: the faces the line cuts are GEOS's, at the
// origin and at a national grid's coordinates.
TEST(SegmentOperationsGeos, ShallowCrossingsCutFacesAsThePolygonizerDoes)
{
    Context geos;
    std::mt19937 random(4242);
    for (int i = 0; i < 60; ++i) {
        const int k = std::uniform_int_distribution<int>(2, 6)(random);
        Segments s;
        for (int a = 0; a <= k; ++a)
            for (int b = 0; b < k; ++b) {
                s.push_back({{b * 1000.0, a * 1000.0}, {(b + 1) * 1000.0, a * 1000.0}});
                s.push_back({{a * 1000.0, b * 1000.0}, {a * 1000.0, (b + 1) * 1000.0}});
            }
        const double angle = std::uniform_real_distribution<double>(0.002, 0.01)(random);
        const int row = std::uniform_int_distribution<int>(1, k - 1)(random);
        const double room = 500.0 - 0.3 / angle;
        const double at = std::uniform_int_distribution<int>(0, k - 1)(random) * 1000.0 + 500.0 +
                          std::uniform_real_distribution<double>(-room, room)(random);
        const double reach = k * 1000.0 + 500.0;
        const point2d through{at, row * 1000.0};
        s.push_back({{through.x - reach * std::cos(angle), through.y - reach * std::sin(angle)},
                     {through.x + reach * std::cos(angle), through.y + reach * std::sin(angle)}});
        SCOPED_TRACE(::testing::PrintToString(s));
        const Polygonized whole = Polygonize(geos, s);
        for (const double shift : {0.0, 1e9}) {
            SCOPED_TRACE("shifted by " + std::to_string(shift));
            const Traced t = Trace(Moved(s, shift, shift));
            ASSERT_FALSE(t.someNull);
            ExpectSameAreas(t.inner, whole.areas, "inner faces", 1e-9 + 1e-15 * shift);
        }
    }
}

// Clusters of crossings and ends within 0.2 of one another, at the origin.
class Clusters {
public:
    explicit Clusters(unsigned seed) : random_(seed) {}

    // A cluster inside a square whose sides its longer segments cross, so that faces much
    // larger than the tolerance hang on the cluster's nodes.
    Segments Next()
    {
        Segments s;
        switch (Int(0, 3)) {
        case 0: s = Bundles(); break;
        case 1: s = Star(); break;
        default: s = Disc(); break;
        }
        const double h = Real(1.5, 4);
        return qrxGe::test::Joined(s, qrxGe::test::Sides({{-h, -h}, {h, -h}, {h, h}, {-h, h}}));
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random_); }

    // The segment through p at angle t, reaching `back` behind p and `ahead` beyond it.
    static edge2d Through(const point2d& p, double t, double back, double ahead)
    {
        return {{p.x - back * std::cos(t), p.y - back * std::sin(t)}, {p.x + ahead * std::cos(t), p.y + ahead * std::sin(t)}};
    }

    // 4 to 16 segments through a disc of radius 0.05 to 0.3, a third of their ends inside it.
    Segments Disc()
    {
        Segments s;
        const double radius = Real(0.05, 0.3);
        for (int i = 0, n = Int(4, 16); i < n; ++i) {
            const double a = Real(0, 2 * M_PI), d = radius * std::sqrt(Real(0, 1));
            const auto reach = [&] { return Int(0, 2) ? Real(1, 5) : Real(0.02, 0.3); };
            const double back = reach();
            s.push_back(Through({d * std::cos(a), d * std::sin(a)}, Real(0, 2 * M_PI), back, reach()));
        }
        return s;
    }

    // Two or three bundles of 2 to 6 segments each, within 0.03 rad of the bundle's direction
    // and 0.02 to 0.15 apart, crossing near the origin.
    Segments Bundles()
    {
        Segments s;
        for (int b = 0, bundles = Int(2, 3); b < bundles; ++b) {
            const double a = Real(0, M_PI), spacing = Real(0.02, 0.15), spread = Real(0, 0.03);
            for (int i = 0, k = Int(2, 6); i < k; ++i) {
                const double off = (i - k / 2.0) * spacing + Real(-0.01, 0.01), along = Real(-0.3, 0.3);
                const point2d p{-off * std::sin(a) + along * std::cos(a), off * std::cos(a) + along * std::sin(a)};
                s.push_back(Through(p, a + Real(-spread, spread), Real(0.5, 5), Real(0.5, 5)));
            }
        }
        return s;
    }

    // 3 to 10 lines passing within 0.02 to 0.12 of the origin, some ending near it.
    Segments Star()
    {
        Segments s;
        const double within = Real(0.02, 0.12);
        for (int i = 0, n = Int(3, 10); i < n; ++i) {
            const double t = Real(0, M_PI), d = Real(-within, within);
            s.push_back(Through({-d * std::sin(t), d * std::cos(t)}, t, Real(0.05, 4), Real(0.05, 4)));
        }
        return s;
    }

    std::mt19937 random_;
};

double Perimeter(const std::vector<qrxGe::test::Ring>& rings)
{
    double length = 0.0;
    for (const auto& r : rings)
        for (std::size_t i = 0; i < r.size(); ++i)
            length += r[i].DistanceTo(r[(i + 1) % r.size()]);
    return length;
}

// Where the tolerance gathers places, a face's sides move by up to 0.2: areas may differ by
// half that along both boundaries.
void ExpectAreaWithinTheTolerance(const std::vector<qrxGe::test::Ring>& got, double expected, double expectedPerimeter,
                                  const char* what)
{
    const double area = qrxGe::test::TotalArea(got);
    EXPECT_NEAR(area, expected, 1e-6 * expected + 0.1 * (Perimeter(got) + expectedPerimeter)) << what;
}

TEST(SegmentOperationsGeos, DenseClustersKeepTheInvariantsAndThePolygonizersAreas)
{
    Context geos;
    Clusters clusters(5353);
    for (int i = 0; i < 800; ++i) {
        const Segments s = clusters.Next();
        const double shift = std::array{0.0, 1e6, 1e9, 1e12}[static_cast<std::size_t>(i % 4)];
        const Segments moved = Moved(s, shift, -0.75 * shift);
        SCOPED_TRACE("cluster " + std::to_string(i) + ", shifted by " + std::to_string(shift) + ": " +
                     ::testing::PrintToString(moved));
        ASSERT_EQ(qrxGe::test::CheckSegmentOperations(moved), "");

        const Geom faces = Polygonize(geos, Node(geos, Lines(geos, s)));
        const Geom whole(geos.get(), GEOSUnaryUnion_r(geos.get(), faces.get()));
        const double area = Area(geos, faces), outlineArea = Area(geos, whole);
        const auto inner = Take(qrxGe::InnerFacesFromSegments(moved));
        const auto all = Take(qrxGe::FacesFromSegments(moved));
        const auto peeled = Take(qrxGe::PeelOutlinesFromSegments(moved));
        const auto outline = Take(qrxGe::OutlineFromSegments(moved));
        // Null (or empty) only where no face is left beyond what the tolerance may close.
        const std::vector<qrxGe::test::Ring> none;
        ExpectAreaWithinTheTolerance(inner ? *inner : none, area, Length(geos, faces), "inner faces");
        ExpectAreaWithinTheTolerance(peeled ? *peeled : none, outlineArea, Length(geos, whole), "peeled outlines");
        if (inner) {
            EXPECT_EQ(qrxGe::test::ClockwiseTraced(*inner, {}, {}), 0u) << "a clockwise inner face";
            ASSERT_TRUE(all);
            std::vector<qrxGe::test::Ring> counterClockwise;
            std::copy_if(all->begin(), all->end(), std::back_inserter(counterClockwise),
                         [](const auto& r) { return SignedArea(r) > 0.0; });
            ExpectAreaWithinTheTolerance(counterClockwise, area, Length(geos, faces), "faces");
        }
        if (outline) {
            EXPECT_GT(SignedArea(*outline), 0.0) << "a clockwise outline";
            EXPECT_LE(std::fabs(SignedArea(*outline)),
                      outlineArea + 1e-6 * outlineArea + 0.1 * (Perimeter({*outline}) + Length(geos, whole)))
                << "an outline beyond every part";
        }
        if (HasFailure())
            break;
    }
}

} // namespace
