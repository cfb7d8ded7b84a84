#include "qrxGeEdge2d.h"
#include "qrxGeMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace qrxGe {
namespace {

// One row of the intersection table of (0,0)-(10,0) with another edge. Outputs the case
// does not name must stay untouched (the sentinels below).
struct IntersectCase {
    const char* what;
    edge2d other;
    int result;
    point2d p1;
    int f1;
    point2d p2;
    int f2;
};

const point2d kUnset(-999, -999);
constexpr int kUnsetFlag = 77;

TEST(QrxGeEdge2d, IntersectionTableOnEveryRelation)
{
    const edge2d base(point2d(0, 0), point2d(10, 0));
    const std::vector<IntersectCase> cases = {
        {"crossing", {{5, -5}, {5, 5}}, 1, {5, 0}, kUnsetFlag, kUnset, kUnsetFlag},
        {"crossing at an end of the other", {{3, 0}, {3, 8}}, 1, {3, 0}, kUnsetFlag, kUnset, kUnsetFlag},
        {"crossing at this edge's end", {{10, -4}, {10, 4}}, 1, {10, 0}, kUnsetFlag, kUnset, kUnsetFlag},
        {"lines cross beyond this edge", {{12, -5}, {12, 5}}, 0, kUnset, kUnsetFlag, kUnset, kUnsetFlag},
        {"lines cross beyond the other", {{5, 1}, {5, 5}}, 0, kUnset, kUnsetFlag, kUnset, kUnsetFlag},
        {"parallel apart", {{0, 0.5}, {10, 0.5}}, 0, kUnset, kUnsetFlag, kUnset, kUnsetFlag},
        {"collinear before the start", {{-10, 0}, {-2, 0}}, 0, kUnset, kUnsetFlag, kUnset, kUnsetFlag},
        {"collinear beyond the end", {{11, 0}, {20, 0}}, 0, kUnset, kUnsetFlag, kUnset, kUnsetFlag},
        {"touching at the end", {{10, 0}, {20, 0}}, -1, {10, 0}, 1, kUnset, kUnsetFlag},
        {"touching at the start", {{-10, 0}, {0, 0}}, -1, {0, 0}, 0, kUnset, kUnsetFlag},
        {"touching at the end, reversed and within the band", {{12, 0}, {10.05, 0}}, -1, {10, 0}, 1, kUnset, kUnsetFlag},
        {"inside", {{2, 0}, {4, 0}}, -2, {2, 0}, 1, {4, 0}, -1},
        {"inside, reversed", {{4, 0}, {2, 0}}, -2, {2, 0}, 1, {4, 0}, -1},
        {"covering both ends", {{-5, 0}, {15, 0}}, -2, {0, 0}, 0, {10, 0}, 0},
        {"from before the start to inside", {{-5, 0}, {6, 0}}, -2, {0, 0}, 0, {6, 0}, -1},
        {"from before the start to the end", {{-5, 0}, {10, 0}}, -2, {0, 0}, 0, {10, 0}, 0},
        {"from the start to inside", {{0, 0}, {6, 0}}, -2, {0, 0}, 0, {6, 0}, -1},
        {"from the start to the end", {{10, 0}, {0, 0}}, -2, {0, 0}, 0, {10, 0}, 0},
        {"from the start to beyond the end", {{0.05, 0}, {30, 0}}, -2, {0, 0}, 0, {10, 0}, 0},
        {"from inside to the end", {{3, 0}, {10, 0}}, -2, {3, 0}, 1, {10, 0}, 0},
        {"from inside to beyond the end", {{3, 0}, {30, 0}}, -2, {3, 0}, 1, {10, 0}, 0},
        {"collinear within 0.1 of the line", {{2, 0.05}, {4, 0.05}}, -2, {2, 0.05}, 1, {4, 0.05}, -1},
    };
    for (const IntersectCase& c : cases) {
        SCOPED_TRACE(c.what);
        point2d p1 = kUnset, p2 = kUnset;
        int f1 = kUnsetFlag, f2 = kUnsetFlag;
        EXPECT_EQ(base.IntersectWith(c.other, p1, f1, p2, f2), c.result);
        EXPECT_NEAR(p1.x, c.p1.x, 1e-9);
        EXPECT_NEAR(p1.y, c.p1.y, 1e-9);
        EXPECT_EQ(f1, c.f1);
        EXPECT_NEAR(p2.x, c.p2.x, 1e-9);
        EXPECT_NEAR(p2.y, c.p2.y, 1e-9);
        EXPECT_EQ(f2, c.f2);
    }
}

TEST(QrxGeEdge2d, IntersectionTableFollowsThisEdgesDirection)
{
    // A reversed, vertical edge: positions run along S->E, downwards on y.
    const edge2d down(point2d(0, 10), point2d(0, 0));
    point2d p1, p2;
    int f1 = 0, f2 = 0;
    EXPECT_EQ(down.IntersectWith(edge2d(point2d(0, 2), point2d(0, 4)), p1, f1, p2, f2), -2);
    EXPECT_EQ(p1, point2d(0, 4));
    EXPECT_EQ(f1, 1);
    EXPECT_EQ(p2, point2d(0, 2));
    EXPECT_EQ(f2, -1);
    EXPECT_EQ(down.IntersectWith(edge2d(point2d(0, -5), point2d(0, 0)), p1, f1, p2, f2), -1);
    EXPECT_EQ(p1, point2d(0, 0));
    EXPECT_EQ(f1, 1);
    // A diagonal edge compares on x (angle exactly pi/4 in double is below the single one).
    const edge2d diagonal(point2d(0, 0), point2d(10, 10));
    EXPECT_EQ(diagonal.IntersectWith(edge2d(point2d(-3, -3), point2d(0, 0)), p1, f1, p2, f2), -1);
    EXPECT_EQ(f1, 0);
}

TEST(QrxGeEdge2d, GetIntersectionIncludesEndsWithinTheBand)
{
    const edge2d e(point2d(0, 0), point2d(10, 0));
    point2d x(-1, -1);
    EXPECT_TRUE(e.GetIntersection(edge2d(point2d(10.05, -5), point2d(10.05, 5)), x));
    EXPECT_NEAR(x.x, 10.05, 1e-12);
    EXPECT_FALSE(e.GetIntersection(edge2d(point2d(10.2, -5), point2d(10.2, 5)), x));
    x = point2d(-1, -1);
    EXPECT_FALSE(e.GetIntersection(edge2d(point2d(0, 1), point2d(10, 1.05)), x)); // 0.005 rad: parallel
    EXPECT_EQ(x, point2d(-1, -1));
    EXPECT_FALSE(e.IsNotParallelTo(edge2d(point2d(10, 1), point2d(0, 1.05))));
    EXPECT_TRUE(e.IsNotParallelTo(edge2d(point2d(0, 1), point2d(10, 1.2))));
}

TEST(QrxGeEdge2d, EndsAndDegenerateEdges)
{
    const edge2d dot(point2d(3, 3), point2d(3.05, 3));
    EXPECT_TRUE(dot.IsDegenerate());
    EXPECT_EQ(dot.EndIndexOf(point2d(3, 3)), 2);
    const edge2d e(point2d(0, 0), point2d(10, 0));
    EXPECT_EQ(e.EndIndexOf(point2d(0.05, 0)), 1);
    EXPECT_EQ(e.EndIndexOf(point2d(5, 0)), 0);
    EXPECT_TRUE(e.IsNotDegenerate());
}

TEST(QrxGeEdge2d, PointsAlongTheEdge)
{
    const edge2d e(point2d(0, 0), point2d(0, 10));
    point2d p;
    EXPECT_TRUE(e.PointAt(0.25, p));
    EXPECT_EQ(p, point2d(0, 2.5));
    EXPECT_FALSE(e.PointAt(1.5, p));
    EXPECT_EQ(p, point2d(0, 15)); // written all the same
    EXPECT_TRUE(e.PointAtDistance(4, p));
    EXPECT_EQ(p, point2d(0, 4));
    EXPECT_EQ(e.PointAtFraction(0.5), point2d(0, 5));
    EXPECT_EQ(e.PointAlong(-2), point2d(0, -2));
    EXPECT_EQ(e.MidPoint(), point2d(0, 5));
    EXPECT_DOUBLE_EQ(e.Angle(), std::acos(-1.0) / 2);
}

TEST(QrxGeEdge2d, OffsetMovesToTheRight)
{
    edge2d e(point2d(0, 0), point2d(10, 0));
    const edge2d copy = e.OffsetCopy(2);
    EXPECT_EQ(copy.StartPoint(), point2d(0, -2));
    EXPECT_EQ(copy.EndPoint(), point2d(10, -2));
    EXPECT_EQ(e.StartPoint(), point2d(0, 0));
    e.Reverse().OffsetBy(2);
    EXPECT_EQ(e.StartPoint(), point2d(10, 2));
}

TEST(QrxGeEdge2d, PointOnExtendClosest)
{
    edge2d e(point2d(0, 0), point2d(10, 0));
    EXPECT_TRUE(e.IsPointOn(point2d(5, 0.05)));
    EXPECT_TRUE(e.IsPointOn(point2d(10.05, 0)));
    EXPECT_FALSE(e.IsPointOn(point2d(10.2, 0)));
    EXPECT_FALSE(e.IsPointOn(point2d(5, 0.2)));

    EXPECT_FALSE(e.ExtendTo(point2d(15, 1)));
    EXPECT_TRUE(e.ExtendTo(point2d(15, 0)));
    EXPECT_EQ(e.EndPoint(), point2d(15, 0));
    EXPECT_TRUE(e.ExtendTo(point2d(-3, 0)));
    EXPECT_EQ(e.StartPoint(), point2d(-3, 0));
    edge2d tie(point2d(0, 0), point2d(10, 0));
    EXPECT_TRUE(tie.ExtendTo(point2d(5, 0))); // equally near: the end moves
    EXPECT_EQ(tie.EndPoint(), point2d(5, 0));
    EXPECT_EQ(tie.StartPoint(), point2d(0, 0));

    const edge2d f(point2d(0, 0), point2d(10, 0));
    EXPECT_EQ(f.ClosestPointTo(point2d(4, 3)), point2d(4, 0));
    EXPECT_EQ(f.ClosestPointTo(point2d(15, 3)), point2d(15, 0)); // the foot is not clipped
    EXPECT_EQ(f.ClosestPointTo(point2d(10, 5)), point2d(10, 0));
}

TEST(QrxGeEdge2d, SplitCloneBoxTransform)
{
    const edge2d e(point2d(0, 0), point2d(10, 0));
    std::unique_ptr<edge2d> a = e.Clone(), b = e.Clone();
    EXPECT_TRUE(e.SplitAt(point2d(0.05, 0), a, b));
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
    EXPECT_TRUE(e.SplitAt(point2d(4, 0), a, b));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->EndPoint(), point2d(4, 0));
    EXPECT_EQ(b->StartPoint(), point2d(4, 0));
    EXPECT_EQ(b->EndPoint(), point2d(10, 0));

    const box2d box = edge2d(point2d(5, 1), point2d(2, 7)).BoundingBox();
    EXPECT_EQ(box.MinPoint(), point2d(2, 1));
    EXPECT_EQ(box.MaxPoint(), point2d(5, 7));

    edge2d moved = e;
    matrix3x3 m;
    m.SetToTranslation(vector2d(1, 2));
    moved.TransformBy(m);
    EXPECT_EQ(moved.StartPoint(), point2d(1, 2));
    EXPECT_EQ(moved.EndPoint(), point2d(11, 2));
}

} // namespace
} // namespace qrxGe
