#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "GeTestSupport.h"

namespace {
const std::vector<GePoint3d> kSquareCcw = {GePoint3d(0, 0, 0), GePoint3d(10, 0, 0),
                                           GePoint3d(10, 10, 0), GePoint3d(0, 10, 0)};

TEST(GeUtilityTest, PolygonNormalFollowsTheRightHandRule) {
  GeVector3d n;
  EXPECT_NE(GeUtility::GetPolygonNormal(4, kSquareCcw.data(), n), 0);
  EXPECT_TRUE(n == GeVector3d::kZAxis);
  std::vector<GePoint3d> cw(kSquareCcw.rbegin(), kSquareCcw.rend());
  EXPECT_NE(GeUtility::GetPolygonNormal(4, cw.data(), n), 0);
  EXPECT_TRUE(n == -GeVector3d::kZAxis);
  // A vertical wall face, x then z: normal -Y.
  const GePoint3d wall[] = {GePoint3d(0, 5, 0), GePoint3d(4, 5, 0), GePoint3d(4, 5, 3),
                            GePoint3d(0, 5, 3)};
  EXPECT_NE(GeUtility::GetPolygonNormal(4, wall, n), 0);
  EXPECT_TRUE(n == -GeVector3d::kYAxis);
  // Three points are enough.
  EXPECT_NE(GeUtility::GetPolygonNormal(3, kSquareCcw.data(), n), 0);
  EXPECT_TRUE(n == GeVector3d::kZAxis);
}

TEST(GeUtilityTest, PolygonNormalOfAConcaveRingAtHighLevelIsExact) {
  // An L-shaped ring far from the origin, high up: level, so exactly +Z.
  const GePoint3d ring[] = {GePoint3d(1e5, 2e5, 3300.3),       GePoint3d(1e5 + 8000, 2e5, 3300.3),
                            GePoint3d(1e5 + 8000, 2e5 + 3000, 3300.3),
                            GePoint3d(1e5 + 3000, 2e5 + 3000, 3300.3),
                            GePoint3d(1e5 + 3000, 2e5 + 9000, 3300.3), GePoint3d(1e5, 2e5 + 9000, 3300.3)};
  GeVector3d n;
  ASSERT_NE(GeUtility::GetPolygonNormal(6, ring, n), 0);
  EXPECT_TRUE(n == GeVector3d::kZAxis);
  EXPECT_EQ(n.x, 0.0);
  EXPECT_EQ(n.y, 0.0);
}

TEST(GeUtilityTest, DegeneratePolygonsHaveNoNormal) {
  GeVector3d n(1, 1, 1);
  const GePoint3d line[] = {GePoint3d(0, 0, 0), GePoint3d(1, 1, 0), GePoint3d(2, 2, 0)};
  EXPECT_EQ(GeUtility::GetPolygonNormal(3, line, n), 0);
  EXPECT_EQ(n.Length(), 0.0);
  const GePoint3d same[] = {GePoint3d(1, 1, 1), GePoint3d(1, 1, 1), GePoint3d(1, 1, 1)};
  EXPECT_EQ(GeUtility::GetPolygonNormal(3, same, n), 0);
  EXPECT_EQ(GeUtility::GetPolygonNormal(2, kSquareCcw.data(), n), 0);
  EXPECT_EQ(GeUtility::GetPolygonNormal(4, nullptr, n), 0);
  EXPECT_EQ(n.Length(), 0.0);
}

TEST(GeUtilityTest, PointInsidePolygonCountsTheBoundaryWithinTolerance) {
  const GePoint2d sq[] = {GePoint2d(0, 0), GePoint2d(100, 0), GePoint2d(100, 100), GePoint2d(0, 100)};
  const struct { GePoint2d point; double tol; bool inside; } kCases[] = {
      {{50, 50}, 5.0, true},     {{100, 50}, 5.0, true},   // on an edge
      {{0, 0}, 5.0, true},                                  // on a corner
      {{104.9, 50}, 5.0, true},  {{-3, -3}, 5.0, true},    // just outside, within the tolerance
      {{105.1, 50}, 5.0, false}, {{-4, -4}, 5.0, false},
      {{100.5, 50}, 0.1, false}, {{100.05, 50}, 0.1, true},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(GeUtility::PointInsidePolygon(4, sq, c.point, c.tol) != 0, c.inside) << c.point.x << "," << c.point.y;
  EXPECT_EQ(GeUtility::PointInsidePolygon(2, sq, GePoint2d(50, 0), 5.0), 0);
  EXPECT_EQ(GeUtility::PointInsidePolygon(4, nullptr, GePoint2d(50, 50), 5.0), 0);
}

TEST(GeUtilityTest, PointInsideConcavePolygonAndEitherOrientation) {
  // A U shape: the notch between the arms is outside.
  const GePoint2d u[] = {GePoint2d(0, 0),   GePoint2d(30, 0),  GePoint2d(30, 30), GePoint2d(20, 30),
                         GePoint2d(20, 10), GePoint2d(10, 10), GePoint2d(10, 30), GePoint2d(0, 30)};
  EXPECT_NE(GeUtility::PointInsidePolygon(8, u, GePoint2d(5, 25), 0.001), 0);
  EXPECT_NE(GeUtility::PointInsidePolygon(8, u, GePoint2d(25, 25), 0.001), 0);
  EXPECT_EQ(GeUtility::PointInsidePolygon(8, u, GePoint2d(15, 25), 0.001), 0);
  EXPECT_EQ(GeUtility::PointInsidePolygon(8, u, GePoint2d(15, 10.5), 0.001), 0);
  EXPECT_NE(GeUtility::PointInsidePolygon(8, u, GePoint2d(15, 9.5), 0.001), 0);
  // The vertex at the level of the test point must not be counted twice.
  EXPECT_NE(GeUtility::PointInsidePolygon(8, u, GePoint2d(5, 10), 0.001), 0);
  const GePoint2d cw[] = {GePoint2d(0, 100), GePoint2d(100, 100), GePoint2d(100, 0), GePoint2d(0, 0)};
  EXPECT_NE(GeUtility::PointInsidePolygon(4, cw, GePoint2d(50, 50), 0.001), 0);
  EXPECT_EQ(GeUtility::PointInsidePolygon(4, cw, GePoint2d(150, 50), 0.001), 0);
}

TEST(GePoint2dArrayTest, AreaIsPositiveWhateverTheOrientation) {
  GePoint2dArray ring = {GePoint2d(0, 0), GePoint2d(4, 0), GePoint2d(4, 3), GePoint2d(0, 3)};
  EXPECT_DOUBLE_EQ(ring.Area(), 12.0);
  EXPECT_DOUBLE_EQ(ring.SignedArea(), 12.0);
  GePoint2dArray reversed(ring.rbegin(), ring.rend());
  EXPECT_DOUBLE_EQ(reversed.Area(), 12.0);
  EXPECT_DOUBLE_EQ(reversed.SignedArea(), -12.0);
  EXPECT_EQ(GePoint2dArray({GePoint2d(0, 0), GePoint2d(5, 5)}).Area(), 0.0);
}

// An L of area 13.5 out to a national grid's coordinates, either way round: products of
// coordinates of 1e12 would round away the area, and with it the orientation.
TEST(GePoint2dArrayTest, AreaHoldsAtSiteCoordinates) {
  for (double at : {0.0, 1e6 + 0.25, 1e9 + 0.5, 1e12 + 0.5, -1e12}) {
    GePoint2dArray ring;
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {4.5, 0.0}, {4.5, 1.5}, {1.5, 1.5}, {1.5, 6.0}, {0.0, 6.0}})
      ring.emplace_back(x + at, y - at);
    EXPECT_EQ(ring.SignedArea(), 13.5) << at;
    std::reverse(ring.begin(), ring.end());
    EXPECT_EQ(ring.SignedArea(), -13.5) << at << " reversed";
  }
}

TEST(GeBoundBoxTest, TwoDimensionalBoxGrowsSwellsAndContainsItsBoundary) {
  GeBoundBox2d box;
  EXPECT_TRUE(box.IsEmpty());
  EXPECT_FALSE(box.Contains(GePoint2d(0, 0)));
  box.Set(GePoint2d(10, 20));
  box.Extend(GePoint2d(30, 5));
  box.Extend(GePoint2d(15, 25));
  EXPECT_TRUE(box.MinPoint() == GePoint2d(10, 5));
  EXPECT_TRUE(box.MaxPoint() == GePoint2d(30, 25));
  EXPECT_TRUE(box.Center() == GePoint2d(20, 15));
  EXPECT_TRUE(box.Contains(GePoint2d(30, 25)));
  EXPECT_FALSE(box.Contains(GePoint2d(30.5, 25)));
  box.Swell(100.0);
  EXPECT_TRUE(box.MinPoint() == GePoint2d(-90, -95));
  EXPECT_TRUE(box.Contains(GePoint2d(130, 125)));
  box.Swell(-1000.0);
  EXPECT_TRUE(box.MinPoint() == GePoint2d(20, 15));
  EXPECT_TRUE(box.MaxPoint() == GePoint2d(20, 15));
  GeBoundBox2d fresh;
  fresh.Extend(GePoint2d(-1, -2));
  EXPECT_TRUE(fresh.MinPoint() == GePoint2d(-1, -2));
  EXPECT_TRUE(fresh.MaxPoint() == GePoint2d(-1, -2));
}

TEST(GeBoundBoxTest, ThreeDimensionalBoxSizesAndContainment) {
  GeBoundBox3d box;
  double sx = -1, sy = -1, sz = -1;
  box.GetSize(sx, sy, sz);
  EXPECT_EQ(sx, 0.0);
  box.Set(GePoint3d(5, 5, 5), GePoint3d(1, 2, 3));  // corners in any order
  EXPECT_TRUE(box.MinPoint() == GePoint3d(1, 2, 3));
  box.Extend(GePoint3d(0, 9, 4));
  box.GetSize(sx, sy, sz);
  EXPECT_DOUBLE_EQ(sx, 5.0);
  EXPECT_DOUBLE_EQ(sy, 7.0);
  EXPECT_DOUBLE_EQ(sz, 2.0);
  EXPECT_TRUE(box.Contains(GePoint3d(0, 2, 5)));
  EXPECT_FALSE(box.Contains(GePoint3d(0, 2, 5.001)));
  box.Swell(1.0);
  EXPECT_TRUE(box.MaxPoint() == GePoint3d(6, 10, 6));
}

TEST(GePolygonIteratorTest, WalksTheLoopsInOrderWithTheirFlags) {
  GePolygonIterator it;
  EXPECT_EQ(it.getCountLoop(), 0);
  it.start();
  EXPECT_TRUE(it.done());
  it.AddLoop(kSquareCcw, true);
  it.AddLoop({GePoint3d(0, 0, 3), GePoint3d(1, 0, 3)}, false);
  it.AddLoop({GePoint3d(0, 0, 9), GePoint3d(1, 0, 9), GePoint3d(1, 1, 9)}, true, 1);
  EXPECT_EQ(it.getCountLoop(), 3);

  std::vector<int> counts, closed, flags;
  std::vector<double> firstZ;
  for (it.start(); !it.done(); ++it) {
    int count = 0, isClosed = -1, flag2 = -1;
    const GePoint3d* pts = nullptr;
    it.getCurLoop(count, pts, isClosed, flag2);
    ASSERT_NE(pts, nullptr);
    counts.push_back(count);
    closed.push_back(isClosed);
    flags.push_back(flag2);
    firstZ.push_back(pts[0].z);
  }
  EXPECT_EQ(counts, (std::vector<int>{4, 2, 3}));
  EXPECT_EQ(closed, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(flags, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(firstZ, (std::vector<double>{0, 3, 9}));

  // Past the end: an empty loop, and advancing further changes nothing.
  it.next();
  int count = -1, isClosed = -1, flag2 = -1;
  const GePoint3d* pts = kSquareCcw.data();
  it.getCurLoop(count, pts, isClosed, flag2);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(pts, nullptr);
  // Walking again starts over.
  it.start();
  it.getCurLoop(count, pts, isClosed, flag2);
  EXPECT_EQ(count, 4);
  it.Clear();
  EXPECT_EQ(it.getCountLoop(), 0);
  EXPECT_TRUE(it.done());
}

TEST(GePolygonTest, KeepsVerticesAndKind) {
  const GePolygon face(kSquareCcw, false);
  EXPECT_EQ(face.GetCountVertex(), 4);
  EXPECT_TRUE(face.GetVertexArray()[2] == GePoint3d(10, 10, 0));
  EXPECT_FALSE(face.IsPolyline());
  EXPECT_TRUE(GePolygon({GePoint3d(), GePoint3d(1, 0, 0)}, true).IsPolyline());
}
}  // namespace
