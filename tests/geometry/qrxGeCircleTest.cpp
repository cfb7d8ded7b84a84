#include "qrxGeCircle2d.h"
#include "qrxGeEdge2d.h"
#include "qrxGeMatrix.h"
#include "qrxGeTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace qrxGe {
namespace {

// Circle results are exact up to rounding unless a case says otherwise. A circle through three
// points is held to passing through them on random circles (which fixes it exactly).
void ExpectNear(const point2d& a, const point2d& b, double tol = 1e-9) { test::ExpectNear(a, b, tol); }

TEST(QrxGeCircle2d, ThroughThreePointsFailsWhenTheBisectorsAreNearlyParallel)
{
    const circle2d collinear(point2d(0, 0), point2d(5, 5), point2d(10, 10));
    EXPECT_EQ(collinear.Radius(), 0.0);
    EXPECT_EQ(collinear.Center(), point2d(0, 0));
    EXPECT_FALSE(collinear.IsValid());
    // A chord turn of about 0.05 rad is under the 0.1 rad parallel test: refused as well.
    const circle2d flat(point2d(0, 0), point2d(10, 0), point2d(20, 0.5));
    EXPECT_EQ(flat.Radius(), 0.0);
    // Set keeps the previous centre on failure.
    circle2d kept(point2d(3, 4), 2);
    kept.Set(point2d(0, 0), point2d(1, 0), point2d(2, 0));
    EXPECT_EQ(kept.Radius(), 0.0);
    EXPECT_EQ(kept.Center(), point2d(3, 4));
}

TEST(QrxGeCircle2d, ThroughThreePointsPassesThroughThem)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> angle(0, 6.28), radius(1, 100), coord(-50, 50);
    for (int n = 0; n < 200; ++n) {
        const point2d centre(coord(rng), coord(rng));
        const double r = radius(rng);
        const circle2d truth(centre, r);
        const std::array<point2d, 3> p = {truth.PointAt(angle(rng)), truth.PointAt(angle(rng)), truth.PointAt(angle(rng))};
        const circle2d fitted(p[0], p[1], p[2]);
        if (!fitted.IsValid())
            continue; // points too close together for the 0.1 rad bisector test
        for (const point2d& q : p)
            EXPECT_NEAR(fitted.Center().DistanceTo(q), fitted.Radius(), 1e-6 * r);
    }
}

TEST(QrxGeCircle2d, CrossingCircles)
{
    const circle2d a(point2d(0, 0), 5);
    double a1 = 99, a2 = 99;
    int code = 42;
    EXPECT_EQ(a.IntersectAngles(circle2d(point2d(6, 0), 5), a1, a2, &code), 2);
    EXPECT_DOUBLE_EQ(a1, 0.9272952180016123);
    EXPECT_DOUBLE_EQ(a2, -0.9272952180016123);
    EXPECT_EQ(code, 42);
    point2d p1, p2;
    EXPECT_EQ(a.IntersectPoints(circle2d(point2d(6, 0), 5), p1, p2), 2);
    ExpectNear(p1, point2d(3, 4));
    ExpectNear(p2, point2d(3, -4));

    a1 = 99;
    EXPECT_EQ(a.IntersectAngles(circle2d(point2d(10, 0), 5), a1, a2, &code), 1);
    EXPECT_EQ(a1, 0.0);
    EXPECT_EQ(code, 42); // outer touch leaves the code alone

    EXPECT_EQ(a.IntersectAngles(circle2d(point2d(20, 0), 3), a1, a2, &code), 0);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(circle2d(point2d(0, 0), 3).IntersectAngles(circle2d(point2d(20, 0), 5), a1, a2, &code), 0);
    EXPECT_EQ(code, -1);
    EXPECT_EQ(a.IntersectAngles(circle2d(point2d(1, 0), 1), a1, a2, &code), 0); // inside
    EXPECT_EQ(code, 0);
    EXPECT_EQ(a.IntersectAngles(circle2d(point2d(0, 0), 2), a1, a2, &code), 0); // concentric
    EXPECT_EQ(code, 0);
    code = 42;
    EXPECT_EQ(a.IntersectAngles(circle2d(point2d(0.05, 0), 5.05), a1, a2, &code), 0); // the same
    EXPECT_EQ(code, 42);
    EXPECT_EQ(a.IntersectAngles(circle2d(point2d(6, 0), 5), a1, a2), 2); // no code asked
}

TEST(QrxGeCircle2d, InnerTouchPointsToTheTouchingPoint)
{
    double angle = 99, unused = 99;
    int code = 42;
    // The other circle is the smaller: it touches on the side of its centre.
    EXPECT_EQ(circle2d(point2d(0, 0), 2).IntersectAngles(circle2d(point2d(1, 0), 1), angle, unused, &code), 1);
    EXPECT_EQ(angle, 0.0);
    EXPECT_EQ(code, 1);
    // This circle is the smaller: the touching point (-1, 0) lies away from the other centre.
    const circle2d small(point2d(0, 0), 1), large(point2d(1, 0), 2);
    EXPECT_EQ(small.IntersectAngles(large, angle, unused, &code), 1);
    EXPECT_DOUBLE_EQ(angle, kPi);
    EXPECT_EQ(code, -1);
    EXPECT_EQ(unused, 99);
    point2d p, q(7, 7);
    EXPECT_EQ(small.IntersectPoints(large, p, q), 1);
    ExpectNear(p, point2d(-1, 0), 1e-6);
    EXPECT_EQ(q, point2d(7, 7));
}

TEST(QrxGeCircle2d, EveryMeetingPointLiesOnBothCircles)
{
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> coord(-20, 20), radius(0.5, 15);
    int met = 0;
    for (int n = 0; n < 2000; ++n) {
        const circle2d c1(point2d(coord(rng), coord(rng)), radius(rng));
        circle2d c2(point2d(coord(rng), coord(rng)), radius(rng));
        if (n % 4 == 0) { // force inner touches of both kinds
            const vector2d dir(coord(rng));
            c2.SetCenter(c1.Center() + dir * std::fabs(c1.Radius() - c2.Radius()));
        }
        point2d p1, p2;
        const int count = c1.IntersectPoints(c2, p1, p2);
        const std::array<point2d, 2> points = {p1, p2};
        for (int k = 0; k < count; ++k) {
            const point2d& p = points[static_cast<std::size_t>(k)];
            // Touch cases are found within the 0.1 band, so allow for it there. Crossing
            // angles are folded with the single-precision turn, which puts a point up to
            // r * 1.8e-7 along the circle from the exact crossing.
            const double tol = count == 1 ? 0.11 : 1e-9 + 2e-7 * c1.Radius();
            EXPECT_NEAR(p.DistanceTo(c1.Center()), c1.Radius(), 1e-9);
            EXPECT_NEAR(p.DistanceTo(c2.Center()), c2.Radius(), tol);
            ++met;
        }
    }
    EXPECT_GT(met, 500);
}

TEST(QrxGeCircle2d, CircleAndSegmentCrossings)
{
    // The segment test of the library against exact circle cases (the box test has its own).
    const circle2d c(point2d(0, 0), 5);
    const std::vector<point2d> expected = {{3, 4}, {-3, 4}};
    for (const point2d& p : expected)
        EXPECT_TRUE(c.IsPointOn(p));
    EXPECT_TRUE(c.IsPointOn(point2d(0, 5.09)));
    EXPECT_FALSE(c.IsPointOn(point2d(0, 5.11)));
    EXPECT_TRUE(c.Contains(point2d(0, 5.09)));
    EXPECT_TRUE(c.Contains(point2d(1, 1)));
    EXPECT_FALSE(c.Contains(point2d(4, 4)));
    EXPECT_TRUE(c.Contains(circle2d(point2d(1, 0), 4)));
    EXPECT_FALSE(c.Contains(circle2d(point2d(1, 0), 4.15)));
    point2d a, b;
    EXPECT_EQ(c.IntersectPoints(circle2d(point2d(0, 8), 5), a, b), 2); // common chord y = 4
    ExpectNear(a, point2d(-3, 4), 1e-6);
    ExpectNear(b, point2d(3, 4), 1e-6);

    // The circle drawn as four edges, crossed by the segment along y = x: (2.5, 2.5).
    std::vector<edge2d> sides;
    c.SampleEdges(4, sides);
    const edge2d diagonal(point2d(0, 0), point2d(10, 10));
    point2d hit;
    int hits = 0;
    for (const edge2d& side : sides) {
        if (side.GetIntersection(diagonal, hit)) {
            ExpectNear(hit, point2d(2.5, 2.5), 1e-6);
            ++hits;
        }
    }
    EXPECT_EQ(hits, 1);
}

TEST(QrxGeCircle2d, SamplingMeasuresAndTransforms)
{
    const circle2d c(point2d(1, 1), 2);
    std::vector<point2d> points(5, point2d(9, 9));
    c.SamplePoints(4, points);
    ASSERT_EQ(points.size(), 4u);
    ExpectNear(points[0], point2d(3, 1));
    ExpectNear(points[1], point2d(1, 3), 1e-6);
    c.SamplePoints(0, points);
    EXPECT_TRUE(points.empty());
    std::array<point2d, 2> raw;
    c.SamplePoints(raw);
    ExpectNear(raw[1], point2d(-1, 1), 1e-6);

    std::vector<edge2d> edges(1);
    c.SampleEdges(4, edges);
    ASSERT_EQ(edges.size(), 5u); // appended after the one already there
    EXPECT_EQ(edges[1].StartPoint(), point2d(3, 1));
    EXPECT_EQ(edges[4].EndPoint(), point2d(3, 1));

    EXPECT_DOUBLE_EQ(c.Area(), 2 * kPi * 2);
    EXPECT_DOUBLE_EQ(c.Circumference(), 2 * kTwoPi);
    EXPECT_EQ(c.BoundingBox().MinPoint(), point2d(-1, -1));
    EXPECT_EQ(c.BoundingBox().MaxPoint(), point2d(3, 3));

    matrix3x3 m;
    m.SetToRotation(0.5).ScaleBy(3, point2d(0, 0));
    circle2d t = c;
    t.TransformBy(m);
    EXPECT_NEAR(t.Radius(), 6, 1e-12);
    ExpectNear(t.Center(), m.TransformPoint(point2d(1, 1)));

    EXPECT_FALSE(circle2d(point2d(0, 0), 0.005).IsValid());
}

} // namespace
} // namespace qrxGe
