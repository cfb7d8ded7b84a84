// Merging coplanar roof pieces: the documented cases in a level and in tilted planes, the
// plane angles, and the float point-in-polygon codes.
#include <gtest/gtest.h>

#include "KernelPrimitives.h"
#include "SlopedRoofTestSupport.h"

using namespace rooftest;
using kerneltest::PlanArea;

TEST(PointInPolygonFloat, CodesOfVertexEdgesInsideAndOutside) {
  // Ring (0,0) (10,0) (10,10) (5,12) with a sloping edge back to the origin.
  const float x[] = {0, 0, 10, 10, 5}, y[] = {0, 0, 0, 10, 12};
  const struct {
    double px, py;
    float tol;
    int code;
  } cases[] = {{10.05, 9.95, 0.1f, 100}, {10.05, 5, 0.1f, 10}, {4, 0.08, 0.1f, 20},
               {2.5, 6.05, 0.1f, 30},    {6, 5, 0.1f, 1},      {1, 8, 0.1f, 0},
               {20, 5, 0.1f, 0},
               // The vertex test comes first, even where an edge would also claim the point.
               {0.9, 0.9, 1.0f, 100}};
  for (const auto& c : cases)
    EXPECT_EQ(PointInPolygonFloat(c.px, c.py, x, y, 4, c.tol), c.code) << c.px << "," << c.py;
}

TEST(FacePlaneAngles, LevelVerticalCollinearAndTiltedPlanes) {
  double a = -1, b = -1;
  const float lx[] = {0, 0, 10, 10, 0}, ly[] = {0, 0, 0, 10, 10}, lz[] = {0, 0, 0, 0, 0};
  FacePlaneAngles(lx, ly, lz, 4, &a, &b);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
  FacePlaneAngles(lx, lz, ly, 4, &a, &b);  // the same square stood up in the xz plane
  EXPECT_EQ(b, 1.5707963);
  const float cx[] = {0, 0, 10, 20}, cy[] = {0, 0, 5, 10}, cz[] = {0, 0, 1, 2};
  FacePlaneAngles(cx, cy, cz, 3, &a, &b);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 1.5707963);
  // Turning by the angles lays a tilted polygon flat, whether it runs up or down.
  const Frame f(20, 30, {12000, -3000, 2500});
  for (int direction : {1, -1}) {
    std::vector<float> x{0}, y{0}, z{0};
    for (const P3& q : Ring{{0, 0, 0}, {4000, 0, 0}, {4000, 3000, 0}, {1000, 3500, 0}, {-500, 2000, 0}}) {
      const P3 p = f.Map(q.x, direction * q.y);
      x.push_back(float(p.x - f.o.x)), y.push_back(float(p.y - f.o.y)), z.push_back(float(p.z - f.o.z));
    }
    FacePlaneAngles(x.data(), y.data(), z.data(), 5, &a, &b);
    RotatePointsByTwoAngles(x.data(), y.data(), z.data(), 5, a, b, 0);
    for (int k = 1; k <= 5; ++k) EXPECT_NEAR(z[k], 0.0, 0.01) << direction << " " << k;
  }
}

TEST(BuildSlopeFaces, DocumentedCasesInALevelPlane) {
  const struct {
    const char* name;
    std::vector<Ring> pieces;
    std::vector<size_t> sizes;  // per loop
    std::vector<double> areas;  // per loop, clockwise
    std::vector<double> firstX;
  } cases[] = {
      {"shared edge", {Rect(0, 0, 4000, 3000), Rect(4000, 0, 9000, 3000)}, {6}, {-27e6}, {0}},
      {"overlap", {Rect(0, 0, 4000, 3000), Rect(2000, 1000, 6000, 5000)}, {8}, {-24e6}, {0}},
      {"contained", {Rect(0, 0, 4000, 3000), Rect(1000, 1000, 2000, 2000)}, {4}, {-12e6}, {0}},
      // The contained piece first decides the plane, and still disappears.
      {"contained first", {Rect(1000, 1000, 2000, 2000), Rect(0, 0, 4000, 3000)}, {4}, {-12e6}, {0}},
      {"disjoint", {Rect(9000, 0, 12000, 2000), Rect(0, 500, 3000, 4000)}, {4, 4}, {-10.5e6, -6e6},
       {0, 9000}},
  };
  for (const auto& c : cases) {
    const Merged m = Merge(c.pieces);
    EXPECT_EQ(m.result, 1) << c.name;
    ASSERT_EQ(m.loops.size(), c.sizes.size()) << c.name;
    for (size_t l = 0; l < m.loops.size(); ++l) {
      EXPECT_EQ(m.loops[l].size(), c.sizes[l]) << c.name;
      EXPECT_NEAR(PlanArea(m.loops[l]), c.areas[l], 1.0) << c.name;
      EXPECT_EQ(m.loops[l][0].x, c.firstX[l]) << c.name;
    }
  }
}

TEST(BuildSlopeFaces, ResultLiesInThePlaneOfPieceOneEvenWhenOthersDeviate) {
  const Frame f(20, 30, {12000, -3000, 2500});
  Ring second = f.Map(Rect(3000, -1000, 7000, 2000));
  for (P3& p : second) p.z += 0.4;  // slightly off the plane
  const Merged m = Merge({f.Map(Rect(0, 0, 4000, 3000)), second});
  ASSERT_EQ(m.loops.size(), 1u);
  EXPECT_EQ(m.loops[0].size(), 8u);
  for (const P3& p : m.loops[0]) EXPECT_NEAR(f.Height(p), 0.0, 0.01);
}

TEST(BuildSlopeFaces, CollinearFirstPieceMergesAsSeenAlongX) {
  // Piece 1 has no spanning triangle: angles 0 and a quarter turn, so the points land in the
  // plane through point 1 parallel to YZ.
  const Ring line{{100, 0, 0}, {100, 1000, 500}, {100, 2000, 1000}};
  const Ring square{{100, 0, 0}, {100, 3000, 0}, {100, 3000, 3000}, {100, 0, 3000}};
  const Merged m = Merge({line, square});
  ASSERT_FALSE(m.loops.empty());
  for (const Ring& r : m.loops)
    for (const P3& p : r) EXPECT_NEAR(p.x, 100.0, 0.01);
}

TEST(BuildSlopeFaces, RefusesPieceCountsThatDoNotAddUp) {
  std::vector<std::int16_t> counts{0, 4, 4}, loopCounts(1000, 0);
  std::vector<float> x(9, 0.0f), y(9, 0.0f), z(9, 0.0f), lx(10000), ly(10000), lz(10000);
  int loops = -1, points = -1;
  EXPECT_EQ(BuildSlopeFaces(2, 7, counts.data(), x.data(), y.data(), z.data(), &loops, &points,
                            loopCounts.data(), lx.data(), ly.data(), lz.data()),
            0);
  EXPECT_EQ(loops, 0);
  EXPECT_EQ(points, 0);
}
