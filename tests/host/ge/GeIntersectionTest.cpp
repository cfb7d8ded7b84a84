#include <gtest/gtest.h>

#include <cmath>

#include "GeTestSupport.h"

namespace {
constexpr double kEps = 1e-9;

TEST(GeLineSeg3dTest, BoundedSegmentsMeetOnlyInsideBoth) {
  const GeLineSeg3d a(GePoint3d(0, 0, 0), GePoint3d(10, 0, 0));
  GePoint3d out(-1, -1, -1);
  EXPECT_TRUE(a.IntersectWith(GeLineSeg3d(GePoint3d(4, -5, 0), GePoint3d(4, 5, 0)), out, 0, 0.001));
  ExpectPoint(out, 4, 0, 0);
  // Touching at an end counts.
  EXPECT_TRUE(a.IntersectWith(GeLineSeg3d(GePoint3d(10, 0, 0), GePoint3d(10, 5, 0)), out, 0, 0.001));
  ExpectPoint(out, 10, 0, 0);
  // The lines meet at (4, 0) but the other segment stops short of it.
  out.Set(-1, -1, -1);
  EXPECT_FALSE(a.IntersectWith(GeLineSeg3d(GePoint3d(4, 1, 0), GePoint3d(4, 5, 0)), out, 0, 0.001));
  ExpectPoint(out, -1, -1, -1, 0.0);
  // Beyond this segment's end.
  EXPECT_FALSE(a.IntersectWith(GeLineSeg3d(GePoint3d(12, -5, 0), GePoint3d(12, 5, 0)), out, 0, 0.001));
}

TEST(GeLineSeg3dTest, ExtendedSegmentsMeetWhereTheirLinesDo) {
  const GeLineSeg3d a(GePoint3d(0, 0, 0), GePoint3d(1, 1, 0));
  const GeLineSeg3d b(GePoint3d(10, 0, 0), GePoint3d(9, 1, 0));
  GePoint3d out;
  EXPECT_FALSE(a.IntersectWith(b, out, 0, 0.001));
  EXPECT_TRUE(a.IntersectWith(b, out, 1, 0.001));
  ExpectPoint(out, 5, 5, 0);
  EXPECT_TRUE(b.IntersectWith(a, out, 1, 0.001));
  ExpectPoint(out, 5, 5, 0);
}

TEST(GeLineSeg3dTest, ParallelSkewAndDegenerateSegmentsDoNotMeet) {
  const GeLineSeg3d a(GePoint3d(0, 0, 0), GePoint3d(10, 0, 0));
  GePoint3d out(7, 7, 7);
  EXPECT_FALSE(a.IntersectWith(GeLineSeg3d(GePoint3d(0, 1, 0), GePoint3d(10, 1, 0)), out, 1, 0.001));
  EXPECT_FALSE(a.IntersectWith(GeLineSeg3d(GePoint3d(2, 0, 0), GePoint3d(20, 0, 0)), out, 1, 0.001));
  EXPECT_FALSE(a.IntersectWith(GeLineSeg3d(GePoint3d(5, -1, 1), GePoint3d(5, 1, 1)), out, 1, 0.001));
  EXPECT_FALSE(a.IntersectWith(GeLineSeg3d(GePoint3d(5, 0, 0), GePoint3d(5, 0, 0)), out, 1, 0.001));
  ExpectPoint(out, 7, 7, 7, 0.0);  // untouched
}

TEST(GeLineSeg3dTest, CircleCrossingsAreOrderedFromTheStart) {
  const GeCircle3d circle(GePoint3d(0, 0, 0), GeVector3d::kZAxis, 10.0);
  const struct { const char* what; GePoint3d start, end; int count; GePoint3d first, second; } kCases[] = {
      {"through", {-20, 0, 0}, {20, 0, 0}, 2, {-10, 0, 0}, {10, 0, 0}},
      {"reversed: the order follows the segment", {20, 0, 0}, {-20, 0, 0}, 2, {10, 0, 0}, {-10, 0, 0}},
      {"inside to outside", {0, 0, 0}, {0, 30, 0}, 1, {0, 10, 0}, {}},
      {"wholly inside", {-3, 0, 0}, {3, 2, 0}, 0, {}, {}},
      {"wholly outside", {-20, 15, 0}, {20, 15, 0}, 0, {}, {}},
      {"stopping short", {-30, 0, 0}, {-12, 0, 0}, 0, {}, {}},
      {"tangent", {-20, 10, 0}, {20, 10, 0}, 1, {0, 10, 0}, {}},
      {"ending on the circumference", {-30, 0, 0}, {-10, 0, 0}, 1, {-10, 0, 0}, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    int count = -1;
    GePoint3d p1, p2;
    EXPECT_EQ(GeLineSeg3d(c.start, c.end).IntersectWith(circle, count, p1, p2, 0, 0.001), c.count > 0);
    EXPECT_EQ(count, c.count);
    if (c.count >= 1) ExpectPoint(p1, c.first.x, c.first.y, c.first.z);
    if (c.count == 2) ExpectPoint(p2, c.second.x, c.second.y, c.second.z);
  }
}

TEST(GeLineSeg3dTest, SegmentPiercingTheCirclePlane) {
  const GeCircle3d circle(GePoint3d(0, 0, 0), GeVector3d::kZAxis, 5.0);
  int count = 0;
  GePoint3d p1, p2;
  EXPECT_TRUE(GeLineSeg3d(GePoint3d(3, 4, -1), GePoint3d(3, 4, 1))
                  .IntersectWith(circle, count, p1, p2, 0, 0.001));
  EXPECT_EQ(count, 1);
  ExpectPoint(p1, 3, 4, 0);
  EXPECT_FALSE(GeLineSeg3d(GePoint3d(1, 1, -1), GePoint3d(1, 1, 1))
                   .IntersectWith(circle, count, p1, p2, 0, 0.001));
}

TEST(GeLineSeg3dTest, SegmentAndPlaneMeetOnlyWithinTheSegment) {
  GePlane plane;
  ASSERT_TRUE(plane.Set(GePoint3d(0, 0, 5), GeVector3d(0, 0, 2)));
  GePoint3d out(1, 1, 1);
  EXPECT_TRUE(GeLineSeg3d(GePoint3d(1, 2, 0), GePoint3d(1, 2, 10)).IntersectWith(plane, out, 0.001));
  ExpectPoint(out, 1, 2, 5);
  EXPECT_TRUE(GeLineSeg3d(GePoint3d(0, 0, 5), GePoint3d(3, 0, 8)).IntersectWith(plane, out, 0.001));
  ExpectPoint(out, 0, 0, 5);
  out.Set(1, 1, 1);
  EXPECT_FALSE(GeLineSeg3d(GePoint3d(1, 2, 0), GePoint3d(1, 2, 4)).IntersectWith(plane, out, 0.001));
  EXPECT_FALSE(GeLineSeg3d(GePoint3d(0, 0, 5), GePoint3d(9, 0, 5)).IntersectWith(plane, out, 0.001));
  ExpectPoint(out, 1, 1, 1, 0.0);
}

TEST(GeLineSeg3dTest, PointOnAndClosestPoint) {
  const GeLineSeg3d s(GePoint3d(0, 0, 0), GePoint3d(10, 0, 0));
  EXPECT_DOUBLE_EQ(s.GetLength(), 10.0);
  EXPECT_TRUE(s.IsPointOn(GePoint3d(5, 0.0005, 0), 0.001));
  EXPECT_TRUE(s.IsPointOn(GePoint3d(10.0005, 0, 0), 0.001));
  EXPECT_FALSE(s.IsPointOn(GePoint3d(5, 0.002, 0), 0.001));
  EXPECT_FALSE(s.IsPointOn(GePoint3d(11, 0, 0), 0.001));  // on the line, off the segment

  GePoint3d out;
  EXPECT_TRUE(s.GetClosestPointTo(GePoint3d(3, 7, 2), out, 0, 0.001));
  ExpectPoint(out, 3, 0, 0);
  EXPECT_TRUE(s.GetClosestPointTo(GePoint3d(-4, 1, 0), out, 0, 0.001));
  ExpectPoint(out, 0, 0, 0);
  EXPECT_TRUE(s.GetClosestPointTo(GePoint3d(14, 1, 0), out, 0, 0.001));
  ExpectPoint(out, 10, 0, 0);
  out.Set(9, 9, 9);
  EXPECT_FALSE(GeLineSeg3d(GePoint3d(1, 1, 1), GePoint3d(1, 1, 1)).GetClosestPointTo(GePoint3d(), out, 0, 0.001));
  ExpectPoint(out, 9, 9, 9, 0.0);
}

TEST(GePlaneTest, ThreePointsFollowTheRightHandRule) {
  GePlane plane;
  ASSERT_TRUE(plane.Set(GePoint3d(0, 0, 2), GePoint3d(1, 0, 2), GePoint3d(0, 1, 2)));
  EXPECT_TRUE(plane.normal() == GeVector3d::kZAxis);
  EXPECT_NEAR(plane.SignedDistanceTo(GePoint3d(5, 5, 7)), 5.0, kEps);
  ASSERT_TRUE(plane.Set(GePoint3d(0, 0, 2), GePoint3d(0, 1, 2), GePoint3d(1, 0, 2)));
  EXPECT_TRUE(plane.normal() == -GeVector3d::kZAxis);
  EXPECT_FALSE(plane.Set(GePoint3d(0, 0, 0), GePoint3d(1, 1, 1), GePoint3d(2, 2, 2)));
  EXPECT_TRUE(plane.normal() == -GeVector3d::kZAxis);  // unchanged
  EXPECT_FALSE(plane.Set(GePoint3d(), GeVector3d()));
}

TEST(GePlaneTest, RayMeetsOnlyInFront) {
  GePlane plane;
  plane.Set(GePoint3d(0, 0, 0), GePoint3d(1, 0, 1), GePoint3d(0, 1, 0));  // z = x
  GePoint3d out(8, 8, 8);
  EXPECT_TRUE(plane.IntersectWith(GeRay3d(GePoint3d(2, 3, -10), GeVector3d::kZAxis), out, 0.001));
  ExpectPoint(out, 2, 3, 2);
  // Pointing away from the plane.
  out.Set(8, 8, 8);
  EXPECT_FALSE(plane.IntersectWith(GeRay3d(GePoint3d(2, 3, -10), -GeVector3d::kZAxis), out, 0.001));
  // Parallel to the plane.
  EXPECT_FALSE(plane.IntersectWith(GeRay3d(GePoint3d(2, 3, -10), GeVector3d(1, 0, 1)), out, 0.001));
  ExpectPoint(out, 8, 8, 8, 0.0);
  // Starting on the plane.
  EXPECT_TRUE(plane.IntersectWith(GeRay3d(GePoint3d(4, 0, 4), -GeVector3d::kZAxis), out, 0.001));
  ExpectPoint(out, 4, 0, 4);
  // An eave point under the base plane, found by a downward ray.
  GePlane base(GePoint3d(0, 0, 3000), GeVector3d::kZAxis);
  EXPECT_TRUE(base.IntersectWith(GeRay3d(GePoint3d(-500, 0, 3500), -GeVector3d::kZAxis), out, 0.001));
  ExpectPoint(out, -500, 0, 3000);
}

TEST(GePlaneTest, LineMeetsOnEitherSide) {
  const GePlane plane(GePoint3d(0, 0, 5), GeVector3d::kZAxis);
  GePoint3d out;
  EXPECT_TRUE(plane.IntersectWith(GeLine3d(GePoint3d(1, 1, 0), GeVector3d(0, 0, -1)), out, 0.001));
  ExpectPoint(out, 1, 1, 5);
  EXPECT_TRUE(plane.IntersectWith(GeLine3d(GePoint3d(0, 0, 0), GeVector3d(1, 0, 1)), out, 0.001));
  ExpectPoint(out, 5, 0, 5);
  out.Set(3, 3, 3);
  EXPECT_FALSE(plane.IntersectWith(GeLine3d(GePoint3d(0, 0, 0), GeVector3d(1, 1, 0)), out, 0.001));
  ExpectPoint(out, 3, 3, 3, 0.0);
}
}  // namespace
