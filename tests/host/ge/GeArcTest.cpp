#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "GeTestSupport.h"

namespace {
constexpr double kEps = 1e-9;

TEST(GeArc3dTest, ThreePointsGiveCentreRadiusRightHandNormalAndPositiveSweep) {
  const GePoint3d c(1, 2, 3);
  const struct { const char* what; GePoint3d p1, p2, p3, centre; double radius; GeVector3d normal; double sweep; } kCases[] = {
      {"counter-clockwise", {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 0}, 1.0, GeVector3d::kZAxis, kPi},
      {"clockwise", {1, 0, 0}, {0, -1, 0}, {-1, 0, 0}, {0, 0, 0}, 1.0, -GeVector3d::kZAxis, kPi},
      // From +X the long way round through -X to -Y: three quarters of a turn.
      {"more than half", {5, 0, 2}, {-5, 0, 2}, {0, -5, 2}, {0, 0, 2}, 5.0, GeVector3d::kZAxis, 3 * kPi / 2},
      {"off centre in the plane x = 1", c + GeVector3d(0, 2, 0), c + GeVector3d(0, 0, 2), c + GeVector3d(0, -2, 0), c,
       2.0, GeVector3d::kXAxis, kPi},
  };
  for (const auto& k : kCases) {
    SCOPED_TRACE(k.what);
    const GeArc3d arc(k.p1, k.p2, k.p3);
    ASSERT_TRUE(arc.IsValid());
    ExpectPoint(arc.center(), k.centre.x, k.centre.y, k.centre.z);
    EXPECT_NEAR(arc.radius(), k.radius, kEps);
    EXPECT_TRUE(arc.normal().IsEqual(k.normal, kEps));
    EXPECT_NEAR(arc.endAngle() - arc.startAngle(), k.sweep, kEps);
  }
  // The middle of a half circle is the point it was given.
  const GeArc3d half(GePoint3d(1, 0, 0), GePoint3d(0, -1, 0), GePoint3d(-1, 0, 0));
  ExpectPoint(half.EvalPoint((half.startAngle() + half.endAngle()) / 2), 0, -1, 0);
}

TEST(GeArc3dTest, CollinearOrCoincidentPointsMakeNoArc) {
  GeArc3d arc;
  EXPECT_FALSE(arc.Set(GePoint3d(0, 0, 0), GePoint3d(1, 1, 0), GePoint3d(2, 2, 0)));
  EXPECT_FALSE(arc.IsValid());
  EXPECT_FALSE(arc.Set(GePoint3d(0, 0, 0), GePoint3d(0, 0, 0), GePoint3d(2, 2, 0)));
  GePoint3d buffer[3];
  EXPECT_EQ(arc.GetSamplePoints(3, buffer), 0);
}

TEST(GeArc3dTest, SamplesAreEvenAndEndsExact) {
  // Points that rounding would move: the first and last sample must equal them exactly.
  const GePoint3d p1(1234.567, 890.123, 10.0);
  const GePoint3d p2(1500.001, 1200.7, 10.0);
  const GePoint3d p3(1900.33, 950.9, 10.0);
  const GeArc3d arc(p1, p2, p3);
  ASSERT_TRUE(arc.IsValid());
  for (int n : {18, 40}) {
    std::vector<GePoint3d> pts(n);
    ASSERT_EQ(arc.GetSamplePoints(n, pts.data()), n);
    EXPECT_EQ(pts.front().x, p1.x);
    EXPECT_EQ(pts.front().y, p1.y);
    EXPECT_EQ(pts.front().z, p1.z);
    EXPECT_EQ(pts.back().x, p3.x);
    EXPECT_EQ(pts.back().y, p3.y);
    EXPECT_EQ(pts.back().z, p3.z);
    const double chord = pts[0].DistanceTo(pts[1]);
    for (int i = 0; i < n; ++i) {
      EXPECT_NEAR(pts[i].DistanceTo(arc.center()), arc.radius(), 1e-8);
      EXPECT_NEAR(pts[i].z, 10.0, 1e-9);
      if (i > 0) {
        EXPECT_NEAR(pts[i - 1].DistanceTo(pts[i]), chord, 1e-8);
      }
    }
  }
}

TEST(GeArc3dTest, SampleCountEdgeCases) {
  const GeArc3d arc(GePoint3d(1, 0, 0), GePoint3d(0, 1, 0), GePoint3d(-1, 0, 0));
  GePoint3d two[2];
  ASSERT_EQ(arc.GetSamplePoints(2, two), 2);
  ExpectPoint(two[0], 1, 0, 0, 0.0);
  ExpectPoint(two[1], -1, 0, 0, 0.0);
  GePoint3d one;
  EXPECT_EQ(arc.GetSamplePoints(1, &one), 1);
  ExpectPoint(one, 1, 0, 0, 0.0);
  EXPECT_EQ(arc.GetSamplePoints(0, &one), 0);
  EXPECT_EQ(arc.GetSamplePoints(-3, &one), 0);
  EXPECT_EQ(arc.GetSamplePoints(5, static_cast<GePoint3d*>(nullptr)), 0);
  std::vector<GePoint3d> v;
  EXPECT_EQ(arc.GetSamplePoints(3, v), 3);
  ASSERT_EQ(v.size(), 3u);
  ExpectPoint(v[1], 0, 1, 0);
}

TEST(GeArc3dTest, CentreNormalReferenceAndAngles) {
  // The half circle under a vault: normal -Y, from +X over +Z to -X.
  const double h = 3000.0;
  const GeArc3d arc(GePoint3d::kOrigin, -GeVector3d::kYAxis, GeVector3d::kXAxis, h, 0.0,
                    3.1415927410125732);
  ASSERT_TRUE(arc.IsValid());
  GePoint3d pts[18];
  ASSERT_EQ(arc.GetSamplePoints(18, pts), 18);
  ExpectPoint(pts[0], h, 0, 0);
  ExpectPoint(pts[17], -h, 0, 0, 1e-3);
  // The end angle is π rounded to float, a little beyond π: only the last sample dips.
  for (const GePoint3d& p : pts) {
    EXPECT_GE(p.z, -1e-3);
    EXPECT_NEAR(p.y, 0.0, 1e-9);
  }
  EXPECT_NEAR(arc.EvalPoint(kPi / 2).z, h, 1e-9);
}

TEST(GeArc3dTest, CentreFormRefusesBadInput) {
  GeArc3d arc;
  EXPECT_FALSE(arc.Set(GePoint3d::kOrigin, GeVector3d(), GeVector3d::kXAxis, 1, 0, 1));
  EXPECT_FALSE(arc.Set(GePoint3d::kOrigin, GeVector3d::kZAxis, GeVector3d::kZAxis, 1, 0, 1));
  EXPECT_FALSE(arc.Set(GePoint3d::kOrigin, GeVector3d::kZAxis, GeVector3d::kXAxis, 0, 0, 1));
  EXPECT_FALSE(arc.Set(GePoint3d::kOrigin, GeVector3d::kZAxis, GeVector3d::kXAxis, 1, 1, 1));
  EXPECT_FALSE(arc.IsValid());
}

TEST(GeArc3dTest, StartEndCentreNormalRunsCounterClockwiseAboutTheNormal) {
  const GePoint3d start(10, 0, 0);
  const GePoint3d end(0, 10, 0);
  GeArc3d arc;
  ASSERT_TRUE(arc.Set(start, end, GePoint3d::kOrigin, GeVector3d::kZAxis));
  EXPECT_NEAR(arc.endAngle() - arc.startAngle(), kPi / 2, kEps);
  GePoint3d pts[3];
  ASSERT_EQ(arc.GetSamplePoints(3, pts), 3);
  ExpectPoint(pts[1], 10 / std::sqrt(2.0), 10 / std::sqrt(2.0), 0);

  // About -Z the same ends give the long way round, through -X and -Y.
  ASSERT_TRUE(arc.Set(start, end, GePoint3d::kOrigin, -GeVector3d::kZAxis));
  EXPECT_NEAR(arc.endAngle() - arc.startAngle(), 3 * kPi / 2, kEps);
  ASSERT_EQ(arc.GetSamplePoints(3, pts), 3);
  ExpectPoint(pts[1], -10 / std::sqrt(2.0), -10 / std::sqrt(2.0), 0);
  ExpectPoint(pts[0], 10, 0, 0, 0.0);
  ExpectPoint(pts[2], 0, 10, 0, 0.0);
}

TEST(GeCurveListTest, SegmentsKeepTheirTypesAndPoints) {
  GeCurveList list;
  list.AppendLine(GePoint3d(0, 0, 0), GePoint3d(10, 0, 0));
  list.AppendArc(GePoint3d(10, 0, 0), GePoint3d(15, 5, 0), GePoint3d(10, 10, 0));
  ASSERT_EQ(list.GetNumSegment(), 2);
  int type = 0;
  GePoint3d p1, p2, p3;
  list.GetSegment(0, type, p1, p2, p3);
  EXPECT_EQ(type, 2);
  ExpectPoint(p1, 0, 0, 0, 0.0);
  ExpectPoint(p2, 10, 0, 0, 0.0);
  list.GetSegment(1, type, p1, p2, p3);
  EXPECT_EQ(type, 3);
  ExpectPoint(p2, 15, 5, 0, 0.0);
  ExpectPoint(p3, 10, 10, 0, 0.0);
  list.GetSegment(2, type, p1, p2, p3);
  EXPECT_EQ(type, 0);
  ExpectPoint(p3, 10, 10, 0, 0.0);
  list.GetSegment(-1, type, p1, p2, p3);
  EXPECT_EQ(type, 0);
  list.Clear();
  EXPECT_EQ(list.GetNumSegment(), 0);
}
}  // namespace
