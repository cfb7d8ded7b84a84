// The two-ring operations against GEOS's overlay on random pairs of simple integer polygons
// (convex, star-shaped and orthogonal, either orientation), whose vertices and crossings keep
// at least 0.5 apart so that tolerance plays no part: equal areas and ring counts where GEOS's
// answer has no hole, the dropped hole of a union, the documented nulls, and split faces that
// tile the split ring.
#include <gtest/gtest.h>

#include "GeosSupport.h"
#include "PlanarTestSupport.h"
#include "RingOperationsProperty.h"
#include "qrxGePolygonOperations.h"

#include <cmath>
#include <random>
#include <sstream>

namespace {

using namespace geosoracle;
using qrxGe::test::Take;

double SegmentDistance(const point2d& p, const point2d& a, const point2d& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::fmax(0.0, std::fmin(1.0, t));
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool VerticesKeepApart(const Ring& a, const Ring& b)
{
    for (const point2d& p : a)
        for (std::size_t i = 0; i < b.size(); ++i)
            if (SegmentDistance(p, b[i], b[(i + 1) % b.size()]) < 0.5)
                return false;
    return true;
}

// Where the sides of a and b cross (plain parametric test, no tolerance).
std::vector<point2d> Crossings(const Ring& a, const Ring& b)
{
    std::vector<point2d> points;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const point2d p = a[i];
        const qrxGe::vector2d r = a[(i + 1) % a.size()] - p;
        for (std::size_t j = 0; j < b.size(); ++j) {
            const point2d q = b[j], s = b[(j + 1) % b.size()];
            const double rx = r.x, ry = r.y, sx = s.x - q.x, sy = s.y - q.y;
            const double den = rx * sy - ry * sx;
            if (den == 0.0)
                continue;
            const double t = ((q.x - p.x) * sy - (q.y - p.y) * sx) / den;
            const double u = ((q.x - p.x) * ry - (q.y - p.y) * rx) / den;
            if (t >= 0 && t <= 1 && u >= 0 && u <= 1)
                points.push_back({p.x + t * rx, p.y + t * ry});
        }
    }
    return points;
}

// No vertex within 0.5 of the other ring, and no two crossings within 0.5 of each other (a
// thin spike through a side): the 0.1 tolerance then plays no part.
bool KeepsApart(const Ring& a, const Ring& b)
{
    if (!VerticesKeepApart(a, b) || !VerticesKeepApart(b, a))
        return false;
    const std::vector<point2d> points = Crossings(a, b);
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = i + 1; j < points.size(); ++j)
            if (points[i].DistanceTo(points[j]) < 0.5)
                return false;
    return true;
}

class Shapes {
public:
    explicit Shapes(unsigned seed) : random_(seed) {}

    Ring Next()
    {
        Ring ring;
        do {
            switch (Int(0, 2)) {
            case 0: ring = Radial(Int(3, 12), false); break;
            case 1: ring = Radial(Int(5, 16), true); break;
            default: ring = Orthogonal(Int(1, 6)); break;
            }
        } while (!qrxGe::test::IsSimpleRing(ring));
        if (Int(0, 1))
            ring = qrxGe::test::Reversed(ring);
        return ring;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random_); }

    // Vertices at sorted angles around a centre: convex on a circle, star-shaped otherwise.
    Ring Radial(int n, bool star)
    {
        std::vector<double> angles;
        for (int i = 0; i < n; ++i)
            angles.push_back(Real(0, 2 * M_PI));
        std::sort(angles.begin(), angles.end());
        const double cx = Int(0, 40), cy = Int(0, 40), r = Int(8, 30);
        Ring ring;
        for (double t : angles) {
            const double radius = star ? r * Real(0.3, 1.0) : r;
            ring.push_back({std::round(cx + radius * std::cos(t)), std::round(cy + radius * std::sin(t))});
        }
        return ring;
    }

    // A histogram: columns of random widths and heights over one base line.
    Ring Orthogonal(int columns)
    {
        const double x0 = Int(0, 30), y0 = Int(0, 30);
        std::vector<double> xs{x0}, hs;
        for (int i = 0; i < columns; ++i) {
            xs.push_back(xs.back() + Int(2, 10));
            hs.push_back(y0 + Int(2, 25));
        }
        Ring ring{{x0, y0}, {xs.back(), y0}};
        for (int i = columns - 1; i >= 0; --i) {
            ring.push_back({xs[i + 1], hs[i]});
            ring.push_back({xs[i], hs[i]});
        }
        return ring;
    }

    std::mt19937 random_;
};

std::string Name(const Ring& a, const Ring& b)
{
    std::ostringstream s;
    for (const Ring* r : {&a, &b}) {
        s << (r == &a ? "A:" : " B:");
        for (const point2d& p : *r)
            s << " (" << p.x << ',' << p.y << ')';
    }
    return s.str();
}

double Relative(double a, double b)
{
    return std::fabs(a - b) / std::fmax(1.0, std::fabs(b));
}

class RingOperationsGeos : public ::testing::Test {
protected:
    Context geos;
};

TEST_F(RingOperationsGeos, BooleanOperationsMatchTheOverlay)
{
    Shapes shapes(4040);
    int compared = 0;
    for (int i = 0; i < 1500; ++i) {
        const Ring a = shapes.Next(), b = shapes.Next();
        if (!KeepsApart(a, b))
            continue;
        SCOPED_TRACE(Name(a, b));
        const Geom ga = Polygon(geos, a), gb = Polygon(geos, b);
        const double areaA = Area(geos, ga), areaB = Area(geos, gb);
        const bool disjoint = !GEOSIntersects_r(geos.get(), ga.get(), gb.get());
        const bool bInsideA = GEOSWithin_r(geos.get(), gb.get(), ga.get());

        const auto u = Take(qrxGe::UnionPolygons(a, b));
        const auto uParts = Polygons(geos, Union(geos, ga, gb).get());
        const auto iParts = Polygons(geos, Intersection(geos, ga, gb).get());
        if (disjoint) {
            EXPECT_FALSE(u);
        } else {
            ASSERT_TRUE(u);
            ASSERT_EQ(uParts.size(), 1u);
            // A hole the two enclose is dropped: the ring is the shell.
            EXPECT_LT(Relative(std::fabs(qrxGe::test::SignedArea(*u)), uParts[0].shellArea), 1e-9);
            if (uParts[0].holes == 0) {
                double common = 0.0;
                for (const PolygonPart& p : iParts)
                    common += p.area;
                EXPECT_LT(Relative(uParts[0].area + common, areaA + areaB), 1e-9);
            }
        }

        const auto diff = Take(qrxGe::SubtractPolygons(a, b));
        const auto dParts = Polygons(geos, Difference(geos, ga, gb).get());
        if (disjoint || bInsideA) {
            EXPECT_FALSE(diff) << "documented null";
        } else if (!HasHoles(dParts)) {
            ASSERT_TRUE(diff);
            EXPECT_EQ(diff->size(), dParts.size());
            double expected = 0.0;
            for (const PolygonPart& p : dParts)
                expected += p.area;
            EXPECT_LT(Relative(qrxGe::test::TotalArea(*diff), expected), 1e-9);
        }

        const auto common = Take(qrxGe::IntersectPolygons(a, b));
        if (disjoint) {
            EXPECT_FALSE(common) << "documented null";
        } else if (!HasHoles(iParts)) {
            ASSERT_TRUE(common);
            EXPECT_EQ(common->size(), iParts.size());
            double expected = 0.0;
            for (const PolygonPart& p : iParts)
                expected += p.area;
            EXPECT_LT(Relative(qrxGe::test::TotalArea(*common), expected), 1e-9);
        }
        ++compared;
    }
    EXPECT_GT(compared, 300);
}

TEST_F(RingOperationsGeos, SplitFacesTileTheSplitRing)
{
    Shapes shapes(4141);
    for (int i = 0; i < 800; ++i) {
        const Ring cutter = shapes.Next(), ring = shapes.Next();
        if (!KeepsApart(cutter, ring))
            continue;
        SCOPED_TRACE(Name(cutter, ring));
        const auto faces = Take(qrxGe::SplitPolygonByPolygon(cutter, ring));
        ASSERT_TRUE(faces);
        const Geom whole = Polygon(geos, ring);
        const double area = Area(geos, whole);
        EXPECT_LT(Relative(qrxGe::test::TotalArea(*faces), area), 1e-9);
        for (const Ring& f : *faces)
            EXPECT_LT(Area(geos, Difference(geos, Polygon(geos, f), whole)), 1e-9 * area) << "a face outside the ring";
    }
}

} // namespace
