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

namespace {

using namespace geosoracle;
using qrxGe::test::Take;

// No vertex within 0.5 of the other ring, and no two crossings within 0.5 of each other (a
// thin spike through a side): the 0.1 tolerance then plays no part.
bool KeepsApart(const Ring& a, const Ring& b)
{
    std::vector<point2d> crossings;
    for (const auto& [r, s] : {std::pair{&a, &b}, std::pair{&b, &a}})
        for (const point2d& p : *r)
            for (std::size_t i = 0; i < s->size(); ++i)
                if (PointToSegment(p, (*s)[i], (*s)[(i + 1) % s->size()]) < 0.5)
                    return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            if (const auto x = Crossing(a[i], a[(i + 1) % a.size()], b[j], b[(j + 1) % b.size()]))
                crossings.push_back(*x);
    for (std::size_t i = 0; i < crossings.size(); ++i)
        for (std::size_t j = i + 1; j < crossings.size(); ++j)
            if (crossings[i].DistanceTo(crossings[j]) < 0.5)
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

double Relative(double a, double b)
{
    return std::fabs(a - b) / std::fmax(1.0, std::fabs(b));
}

// Union, difference and intersection of a and b against GEOS's overlay: the union's area
// (a hole the two enclose is dropped: the ring is the shell), the documented nulls, else
// GEOS's polygons in number and area where none has a hole.
void ExpectTheOverlay(const Context& geos, const Ring& a, const Ring& b)
{
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
        EXPECT_LT(Relative(std::fabs(qrxGe::test::SignedArea(*u)), uParts[0].shellArea), 1e-9);
        if (uParts[0].holes == 0) {
            double common = 0.0;
            for (const PolygonPart& p : iParts)
                common += p.area;
            EXPECT_LT(Relative(uParts[0].area + common, areaA + areaB), 1e-9);
        }
    }

    const auto expectParts = [&](const qrxGe::test::OwnedRings& rings, const std::vector<PolygonPart>& parts,
                                 bool documentedNull, const char* op) {
        SCOPED_TRACE(op);
        if (documentedNull) {
            EXPECT_FALSE(rings) << "documented null";
        } else if (!HasHoles(parts)) {
            ASSERT_TRUE(rings);
            EXPECT_EQ(rings->size(), parts.size());
            double expected = 0.0;
            for (const PolygonPart& p : parts)
                expected += p.area;
            EXPECT_LT(Relative(qrxGe::test::TotalArea(*rings), expected), 1e-9);
        }
    };
    expectParts(Take(qrxGe::SubtractPolygons(a, b)), Polygons(geos, Difference(geos, ga, gb).get()),
                disjoint || bInsideA, "difference");
    expectParts(Take(qrxGe::IntersectPolygons(a, b)), iParts, disjoint, "intersection");
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
        SCOPED_TRACE("A: " + ::testing::PrintToString(a) + " B: " + ::testing::PrintToString(b));
        ExpectTheOverlay(geos, a, b);
        ++compared;
    }
    EXPECT_GT(compared, 300);
}

// A thin spike through a rectangle's side near its corner: its two sides cross the side
// closer than 0.1 to each other, so that tolerance gathers both crossings into one, and
// from the tip (3.8, -0.2) on they pass within 0.1 of the corner as well (the tip
// (3.92, -0.04) itself lies within 0.1 of it). The results still run through the true crossings.
TEST_F(RingOperationsGeos, SpikeThroughACornerMatchesTheOverlay)
{
    const Ring rectangle{{4, 0}, {9, 0}, {9, 3}, {4, 3}};
    for (const point2d tip : Ring{{3.4, -0.6}, {3.5, -0.5}, {3.6, -0.4}, {3.7, -0.3}, {3.8, -0.2}, {3.92, -0.04}}) {
        const Ring spike{{7.92, 7.08}, tip, {6.96, 4.96}};
        SCOPED_TRACE("spike tip " + ::testing::PrintToString(tip));
        ExpectTheOverlay(geos, rectangle, spike);
        ExpectTheOverlay(geos, spike, rectangle);
    }
}

TEST_F(RingOperationsGeos, SplitFacesTileTheSplitRing)
{
    Shapes shapes(4141);
    for (int i = 0; i < 800; ++i) {
        const Ring cutter = shapes.Next(), ring = shapes.Next();
        if (!KeepsApart(cutter, ring))
            continue;
        SCOPED_TRACE("cutter: " + ::testing::PrintToString(cutter) + " ring: " + ::testing::PrintToString(ring));
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
