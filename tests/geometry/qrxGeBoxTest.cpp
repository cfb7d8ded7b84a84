#include "qrxGeBox2d.h"
#include "qrxGeCircle2d.h"
#include "qrxGeEdge2d.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qrxGe {
namespace {

const box2d kTen(point2d(0, 0), 10, 10);

TEST(QrxGeBox2d, CornersAreSortedMinimumFirst)
{
    const box2d b(point2d(5, 1), 2, 7);
    EXPECT_EQ(b.MinPoint(), point2d(2, 1));
    EXPECT_EQ(b.MaxPoint(), point2d(5, 7));
    EXPECT_EQ(b.Center(), point2d(3.5, 4));

    const std::vector<point2d> points = {{3, 4}, {-1, 8}, {6, -2}};
    const box2d around(points);
    EXPECT_EQ(around.MinPoint(), point2d(-1, -2));
    EXPECT_EQ(around.MaxPoint(), point2d(6, 8));
    const box2d one(std::vector<point2d>{{4, 4}});
    EXPECT_EQ(one.MinPoint(), point2d(4, 4));
    EXPECT_EQ(one.MaxPoint(), point2d(4, 4));

    const box2d fromCircle(circle2d(point2d(1, 2), 3));
    EXPECT_EQ(fromCircle.MinPoint(), point2d(-2, -1));
    EXPECT_EQ(fromCircle.MaxPoint(), point2d(4, 5));
}

TEST(QrxGeBox2d, NoPointsGiveTheDefaultBox)
{
    const box2d empty{std::vector<point2d>{}};
    EXPECT_EQ(empty.MinPoint(), point2d(0, 0));
    EXPECT_EQ(empty.MaxPoint(), point2d(0, 0));
    box2d reset(point2d(5, 5), 9, 9);
    reset.Set(std::span<const point2d>{});
    EXPECT_EQ(reset.MaxPoint(), point2d(0, 0));
}

TEST(QrxGeBox2d, ExpandAndExtend)
{
    box2d b = kTen;
    b.Expand(1);
    EXPECT_EQ(b.MinPoint(), point2d(-1, -1));
    EXPECT_EQ(b.MaxPoint(), point2d(11, 11));
    b.Extend(point2d(20, -5));
    EXPECT_EQ(b.MinPoint(), point2d(-1, -5));
    EXPECT_EQ(b.MaxPoint(), point2d(20, 11));
    b.Extend(box2d(point2d(-9, 0), 0, 30));
    EXPECT_EQ(b.MinPoint(), point2d(-9, -5));
    EXPECT_EQ(b.MaxPoint(), point2d(20, 30));
    b.Set(point2d(2, 3));
    EXPECT_EQ(b.MinPoint(), b.MaxPoint());
}

TEST(QrxGeBox2d, ContainEncloseOverlapCross)
{
    EXPECT_TRUE(kTen.Contains(point2d(10.01, 0)));
    EXPECT_FALSE(kTen.Contains(point2d(10.02, 0)));
    EXPECT_TRUE(kTen.Contains(point2d(-0.01, 5)));
    EXPECT_FALSE(kTen.Contains(point2d(5, -0.02)));

    EXPECT_TRUE(kTen.Encloses(box2d(point2d(1, 1), 9, 9)));
    EXPECT_TRUE(kTen.Encloses(box2d(point2d(0, 0), 10.005, 10)));
    EXPECT_FALSE(kTen.Encloses(box2d(point2d(0, 0), 10.02, 10)));
    EXPECT_TRUE(kTen.Encloses(kTen));

    EXPECT_TRUE(kTen.Overlaps(box2d(point2d(10.01, 0), 20, 10))); // touching within the band
    EXPECT_FALSE(kTen.Overlaps(box2d(point2d(10.02, 0), 20, 10)));
    EXPECT_TRUE(kTen.Overlaps(box2d(point2d(2, 2), 3, 3)));

    EXPECT_TRUE(kTen.Crosses(box2d(point2d(5, 5), 15, 15)));
    EXPECT_FALSE(kTen.Crosses(box2d(point2d(2, 2), 3, 3)));
    EXPECT_FALSE(box2d(point2d(2, 2), 3, 3).Crosses(kTen));
    EXPECT_FALSE(kTen.Crosses(box2d(point2d(20, 20), 30, 30)));
}

TEST(QrxGeBox2d, SegmentTests)
{
    EXPECT_TRUE(kTen.IntersectsSegment(edge2d(point2d(-5, 5), point2d(15, 5))));   // both y within
    EXPECT_TRUE(kTen.IntersectsSegment(edge2d(point2d(5, -5), point2d(5, 15))));   // both x within
    EXPECT_TRUE(kTen.IntersectsSegment(edge2d(point2d(5, 5), point2d(30, 40))));   // one end inside
    EXPECT_TRUE(kTen.IntersectsSegment(edge2d(point2d(-5, 8), point2d(8, -5))));   // cuts a corner
    EXPECT_TRUE(kTen.IntersectsSegment(edge2d(point2d(-5, -5), point2d(15, 15)))); // diagonal
    EXPECT_FALSE(kTen.IntersectsSegment(edge2d(point2d(-5, 3), point2d(3, -5))));  // passes the corner
    EXPECT_FALSE(kTen.IntersectsSegment(edge2d(point2d(12, 0), point2d(20, 10)))); // boxes apart
}

// Exact reference: does the segment meet the closed box? (Liang-Barsky clipping.)
bool SegmentMeetsBox(const point2d& a, const point2d& b, double lo, double hi)
{
    double t0 = 0, t1 = 1;
    const double d[2] = {b.x - a.x, b.y - a.y};
    const double s[2] = {a.x, a.y};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0) {
            if (s[k] < lo || s[k] > hi)
                return false;
            continue;
        }
        double ta = (lo - s[k]) / d[k], tb = (hi - s[k]) / d[k];
        if (ta > tb)
            std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        if (t0 > t1)
            return false;
    }
    return true;
}

TEST(QrxGeBox2d, SegmentTestAgreesWithClippingAwayFromTheSides)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> coord(-20, 30);
    int checked = 0;
    for (int n = 0; n < 4000; ++n) {
        const point2d a(coord(rng), coord(rng)), b(coord(rng), coord(rng));
        // Keep the ends and the passes by the corners clear of the bands.
        const auto clear = [](double v) { return std::fabs(v) > 0.05 && std::fabs(v - 10) > 0.05; };
        if (!clear(a.x) || !clear(a.y) || !clear(b.x) || !clear(b.y))
            continue;
        const bool expected = SegmentMeetsBox(a, b, 0, 10);
        // The sides are met within a 0.1 band: leave out segments that pass that close.
        if (expected != SegmentMeetsBox(a, b, -0.15, 10.15) || expected != SegmentMeetsBox(a, b, 0.15, 9.85))
            continue;
        ++checked;
        EXPECT_EQ(kTen.IntersectsSegment(edge2d(a, b)), expected) << a.x << "," << a.y << " " << b.x << "," << b.y;
    }
    EXPECT_GT(checked, 2500);
}

TEST(QrxGeBox2d, CircleTestIsAboutTheSides)
{
    EXPECT_FALSE(kTen.IntersectsCircle(point2d(5, 5), 2));  // wholly inside
    EXPECT_TRUE(kTen.IntersectsCircle(point2d(5, 5), 5));   // reaches the sides
    EXPECT_TRUE(kTen.IntersectsCircle(point2d(5, 5), 20));  // around the box
    EXPECT_TRUE(kTen.IntersectsCircle(point2d(5, 12), 3));  // above, in the x range
    EXPECT_FALSE(kTen.IntersectsCircle(point2d(5, 14), 3)); // above, too far
    EXPECT_TRUE(kTen.IntersectsCircle(point2d(12, 12), 3)); // beyond a corner, 2.83 from it
    EXPECT_FALSE(kTen.IntersectsCircle(point2d(12, 12), 2.8)); // corner not within r - 0.01
    EXPECT_TRUE(kTen.IntersectsCircle(circle2d(point2d(-2, -2), 3)));
}

} // namespace
} // namespace qrxGe
