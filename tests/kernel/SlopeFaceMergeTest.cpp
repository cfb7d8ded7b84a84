// Merging coplanar roof pieces: the documented cases in a level and in tilted planes, the
// plane angles, and the float point-in-polygon codes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "KernelPrimitives.h"
#include "SlopeFaceMerge.h"

namespace {

using P3 = std::array<double, 3>;
using Ring = std::vector<P3>;

struct MergeResult {
  int result = -1;
  std::vector<Ring> loops;
};

MergeResult Merge(const std::vector<Ring>& pieces) {
  std::vector<std::int16_t> counts{0};
  std::vector<float> x{0}, y{0}, z{0};
  for (const Ring& r : pieces) {
    counts.push_back(static_cast<std::int16_t>(r.size()));
    for (const P3& p : r) {
      x.push_back(static_cast<float>(p[0]));
      y.push_back(static_cast<float>(p[1]));
      z.push_back(static_cast<float>(p[2]));
    }
  }
  std::vector<std::int16_t> loopCounts(1000, 0);
  std::vector<float> lx(10000), ly(10000), lz(10000);
  int loops = -1, points = -1;
  MergeResult m;
  m.result = BuildSlopeFaces(static_cast<int>(pieces.size()), static_cast<int>(x.size()) - 1,
                             counts.data(), x.data(), y.data(), z.data(), &loops, &points,
                             loopCounts.data(), lx.data(), ly.data(), lz.data());
  int at = 0;
  for (int l = 1; l <= loops; ++l) {
    Ring ring;
    for (int p = 0; p < loopCounts[l]; ++p) ++at, ring.push_back({lx[at], ly[at], lz[at]});
    m.loops.push_back(ring);
  }
  EXPECT_EQ(at, points);
  return m;
}

Ring Rect(double x0, double y0, double x1, double y1) {
  return {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
}

// Plan area of a level ring (positive counter-clockwise).
double PlanArea(const Ring& r) {
  double s = 0.0;
  for (size_t i = 0; i < r.size(); ++i) {
    const P3& a = r[i];
    const P3& b = r[(i + 1) % r.size()];
    s += a[0] * b[1] - b[0] * a[1];
  }
  return s / 2.0;
}

// A plane frame: origin, two unit axes in the plane and the normal.
struct Frame {
  P3 o, u, v, n;
  P3 Map(double a, double b) const {
    return {o[0] + a * u[0] + b * v[0], o[1] + a * u[1] + b * v[1], o[2] + a * u[2] + b * v[2]};
  }
  double Height(const P3& p) const {
    return (p[0] - o[0]) * n[0] + (p[1] - o[1]) * n[1] + (p[2] - o[2]) * n[2];
  }
};

// A roof-like plane rising at 30 degrees across a direction 20 degrees off x.
Frame TiltedFrame() {
  const double az = 20.0 * M_PI / 180.0, tilt = 30.0 * M_PI / 180.0;
  const P3 u{std::cos(az), std::sin(az), 0.0};
  const P3 v{-std::sin(az) * std::cos(tilt), std::cos(az) * std::cos(tilt), std::sin(tilt)};
  const P3 n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  return {{12000.0, -3000.0, 2500.0}, u, v, n};
}

Ring MapRing(const Frame& f, const Ring& flat) {
  Ring r;
  for (const P3& p : flat) r.push_back(f.Map(p[0], p[1]));
  return r;
}

}  // namespace

TEST(PointInPolygonFloat, CodesOfVertexEdgesInsideAndOutside) {
  const float x[] = {0, 0, 10, 10, 5}, y[] = {0, 0, 0, 10, 12};
  // Ring (0,0) (10,0) (10,10) (5,12) with a sloping edge back to the origin.
  EXPECT_EQ(PointInPolygonFloat(10.05, 9.95, x, y, 4, 0.1f), 100);
  EXPECT_EQ(PointInPolygonFloat(10.05, 5, x, y, 4, 0.1f), 10);
  EXPECT_EQ(PointInPolygonFloat(4, 0.08, x, y, 4, 0.1f), 20);
  EXPECT_EQ(PointInPolygonFloat(2.5, 6.05, x, y, 4, 0.1f), 30);
  EXPECT_EQ(PointInPolygonFloat(6, 5, x, y, 4, 0.1f), 1);
  EXPECT_EQ(PointInPolygonFloat(1, 8, x, y, 4, 0.1f), 0);
  EXPECT_EQ(PointInPolygonFloat(20, 5, x, y, 4, 0.1f), 0);
  // The vertex test comes first, even where an edge would also claim the point.
  EXPECT_EQ(PointInPolygonFloat(0.9, 0.9, x, y, 4, 1.0f), 100);
}

TEST(FacePlaneAngles, LevelVerticalCollinearAndTiltedPlanes) {
  double a = -1, b = -1;
  const float lx[] = {0, 0, 10, 10, 0}, ly[] = {0, 0, 0, 10, 10}, lz[] = {0, 0, 0, 0, 0};
  FacePlaneAngles(lx, ly, lz, 4, &a, &b);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
  const float vx[] = {0, 0, 10, 10, 0}, vy[] = {0, 0, 0, 0, 0}, vz[] = {0, 0, 0, 10, 10};
  FacePlaneAngles(vx, vy, vz, 4, &a, &b);
  EXPECT_EQ(b, 1.5707963);
  const float cx[] = {0, 0, 10, 20}, cy[] = {0, 0, 5, 10}, cz[] = {0, 0, 1, 2};
  FacePlaneAngles(cx, cy, cz, 3, &a, &b);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 1.5707963);
  // Turning by the angles lays a tilted polygon flat, whether it runs up or down.
  const Frame f = TiltedFrame();
  for (int direction : {1, -1}) {
    std::vector<float> x{0}, y{0}, z{0};
    const double pts[5][2] = {{0, 0}, {4000, 0}, {4000, 3000}, {1000, 3500}, {-500, 2000}};
    for (int k = 0; k < 5; ++k) {
      const P3 p = f.Map(pts[k][0], direction * pts[k][1]);
      x.push_back(float(p[0] - f.o[0])), y.push_back(float(p[1] - f.o[1]));
      z.push_back(float(p[2] - f.o[2]));
    }
    FacePlaneAngles(x.data(), y.data(), z.data(), 5, &a, &b);
    RotatePointsByTwoAngles(x.data(), y.data(), z.data(), 5, a, b, 0);
    for (int k = 1; k <= 5; ++k) EXPECT_NEAR(z[k], 0.0, 0.01) << direction << " " << k;
  }
}

TEST(BuildSlopeFaces, TwoPiecesSharingAnEdgeGiveOneSixPointLoop) {
  const auto m = Merge({Rect(0, 0, 4000, 3000), Rect(4000, 0, 9000, 3000)});
  EXPECT_EQ(m.result, 1);
  ASSERT_EQ(m.loops.size(), 1u);
  EXPECT_EQ(m.loops[0].size(), 6u);
  EXPECT_NEAR(PlanArea(m.loops[0]), -27e6, 1.0);  // clockwise
  EXPECT_EQ(m.loops[0][0], (P3{0, 0, 0}));
}

TEST(BuildSlopeFaces, OverlappingPiecesFollowTheUnion) {
  const auto m = Merge({Rect(0, 0, 4000, 3000), Rect(2000, 1000, 6000, 5000)});
  ASSERT_EQ(m.loops.size(), 1u);
  EXPECT_EQ(m.loops[0].size(), 8u);
  EXPECT_NEAR(PlanArea(m.loops[0]), -(12e6 + 16e6 - 4e6), 1.0);
}

TEST(BuildSlopeFaces, AContainedPieceDisappears) {
  const auto m = Merge({Rect(0, 0, 4000, 3000), Rect(1000, 1000, 2000, 2000)});
  ASSERT_EQ(m.loops.size(), 1u);
  ASSERT_EQ(m.loops[0].size(), 4u);
  EXPECT_NEAR(PlanArea(m.loops[0]), -12e6, 1.0);
  // Also when the contained piece comes first and so decides the plane.
  const auto inner = Merge({Rect(1000, 1000, 2000, 2000), Rect(0, 0, 4000, 3000)});
  ASSERT_EQ(inner.loops.size(), 1u);
  EXPECT_NEAR(PlanArea(inner.loops[0]), -12e6, 1.0);
}

TEST(BuildSlopeFaces, DisjointPiecesGiveTwoLoopsLeftmostFirst) {
  const auto m = Merge({Rect(9000, 0, 12000, 2000), Rect(0, 500, 3000, 4000)});
  ASSERT_EQ(m.loops.size(), 2u);
  EXPECT_EQ(m.loops[0][0][0], 0.0);
  EXPECT_NEAR(PlanArea(m.loops[0]), -10.5e6, 1.0);
  EXPECT_EQ(m.loops[1][0][0], 9000.0);
}

TEST(BuildSlopeFaces, ResultLiesInThePlaneOfPieceOneEvenWhenOthersDeviate) {
  const Frame f = TiltedFrame();
  Ring second = MapRing(f, Rect(3000, -1000, 7000, 2000));
  for (P3& p : second) p[2] += 0.4;  // slightly off the plane
  const auto m = Merge({MapRing(f, Rect(0, 0, 4000, 3000)), second});
  ASSERT_EQ(m.loops.size(), 1u);
  EXPECT_EQ(m.loops[0].size(), 8u);
  for (const P3& p : m.loops[0]) EXPECT_NEAR(f.Height(p), 0.0, 0.01);
}

TEST(BuildSlopeFaces, CollinearFirstPieceMergesAsSeenAlongX) {
  // Piece 1 has no spanning triangle: angles 0 and a quarter turn, so the points land in the
  // plane through point 1 parallel to YZ.
  const Ring line{{100, 0, 0}, {100, 1000, 500}, {100, 2000, 1000}};
  const Ring square{{100, 0, 0}, {100, 3000, 0}, {100, 3000, 3000}, {100, 0, 3000}};
  const auto m = Merge({line, square});
  ASSERT_FALSE(m.loops.empty());
  for (const Ring& r : m.loops)
    for (const P3& p : r) EXPECT_NEAR(p[0], 100.0, 0.01);
}

TEST(BuildSlopeFaces, RefusesPieceCountsThatDoNotAddUp) {
  std::vector<std::int16_t> counts{0, 4, 4};
  std::vector<float> x(9, 0.0f), y(9, 0.0f), z(9, 0.0f);
  std::vector<std::int16_t> loopCounts(1000, 0);
  std::vector<float> lx(10000), ly(10000), lz(10000);
  int loops = -1, points = -1;
  EXPECT_EQ(BuildSlopeFaces(2, 7, counts.data(), x.data(), y.data(), z.data(), &loops, &points,
                            loopCounts.data(), lx.data(), ly.data(), lz.data()),
            0);
  EXPECT_EQ(loops, 0);
  EXPECT_EQ(points, 0);
}
