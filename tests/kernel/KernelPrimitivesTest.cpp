// Planar primitives: the documented edge cases and independent oracles (atan2 for angles,
// exact rational intersections, a winding-number point-in-polygon).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "KernelPrimitives.h"
#include "KernelTestSupport.h"

using namespace kernel;

namespace {

constexpr double kTrueHalfPi = std::numbers::pi / 2;
constexpr double kTruePi = std::numbers::pi;

}  // namespace

TEST(LineAngle, DocumentedCases) {
  const struct {
    double x2, y2, angle;
  } cases[] = {
      {1, 0.0005, 0.0}, {0.0005, 1, kHalfPi}, {0, 0, 0.0}, {-1, 0, kPi}, {0, -1, kThreeHalfPi},
      // dy of exactly 0.001 (in binary close enough that neither "<" test holds): the y axis
      // counts neither as rising nor as level, so no rule applies (pi if it were level).
      {5.0, 0.001, 0.0}, {-5.0, 0.001, 0.0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LineAngle(0, 0, c.x2, c.y2), c.angle) << c.x2 << "," << c.y2;
  EXPECT_DOUBLE_EQ(LineAngle(0, 0, -1, -1), kPi + std::atan(1.0));
}

TEST(LineAngle, AgreesWithAtan2AwayFromTheBands) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(-100.0, 100.0);
  for (int k = 0; k < 2000; ++k) {
    const double x1 = u(rng), y1 = u(rng), x2 = u(rng), y2 = u(rng);
    if (std::fabs(x2 - x1) < 0.01 || std::fabs(y2 - y1) < 0.01) continue;
    double expected = std::atan2(y2 - y1, x2 - x1);
    if (expected < 0) expected += 2 * kTruePi;
    EXPECT_NEAR(LineAngle(x1, y1, x2, y2), expected, 1e-6);
  }
}

TEST(RotatePointsByTwoAngles, TurnsAboutZThenInXzAndRises) {
  std::vector<float> x{0, 1}, y{0, 0}, z{0, 2};
  RotatePointsByTwoAngles(x.data(), y.data(), z.data(), 1, kTrueHalfPi, 0.0, 5);
  EXPECT_NEAR(x[1], 0.0f, 1e-6);
  EXPECT_NEAR(y[1], 1.0f, 1e-6);
  EXPECT_NEAR(z[1], 7.0f, 1e-6);
  // Then a quarter turn in the xz plane: x' = 1 goes to z.
  std::vector<float> x2{0, 1}, y2{0, 0}, z2{0, 0};
  RotatePointsByTwoAngles(x2.data(), y2.data(), z2.data(), 1, 0.0, kTrueHalfPi, 0);
  EXPECT_NEAR(x2[1], 0.0f, 1e-6);
  EXPECT_NEAR(z2[1], 1.0f, 1e-6);
  // n < 1 touches nothing.
  RotatePointsByTwoAngles(x2.data(), y2.data(), z2.data(), 0, 1.0, 1.0, 9);
  EXPECT_NEAR(z2[1], 1.0f, 1e-6);
}

TEST(RemoveCoincidentPoints, KeepsOrderWithoutSortAndAcceptsLongLists) {
  // Well beyond the historical 1000-point work array.
  const int n = 2500;
  std::vector<double> x(n + 1), y(n + 1), z(n + 1, 0.0);
  for (int i = 1; i <= n; ++i) {
    x[i] = (i % 2 == 0) ? double(i - 1) : double(i);  // every even point repeats its odd one
    y[i] = 0.0;
  }
  int count = n;
  RemoveCoincidentPoints(0, x.data(), y.data(), z.data(), &count);
  ASSERT_EQ(count, n / 2);
  for (int i = 1; i <= count; ++i) EXPECT_EQ(x[i], double(2 * i - 1));
}

TEST(RemoveCoincidentPoints, SortsStablyAfterDroppingEvenWithSharedArrays) {
  std::vector<double> rx{0, 0, 0, 0}, ry{0, 5, 1, 5.0004}, rz{0, 0, 0, 0};
  int kept = 3;
  RemoveCoincidentPoints(2, rx.data(), ry.data(), rz.data(), &kept);
  ASSERT_EQ(kept, 2);
  EXPECT_EQ(ry[1], 1.0);
  EXPECT_EQ(ry[2], 5.0);
  // y passed also as z, as the splitter does: the sort must still move the points.
  std::vector<double> x{0, 3, 1, 2, 1}, y{0, 30, 10, 20, 11};
  int count = 4;
  RemoveCoincidentPoints(1, x.data(), y.data(), y.data(), &count);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(x[1], 1.0);
  EXPECT_EQ(y[1], 10.0);  // equal keys keep their order
  EXPECT_EQ(y[2], 11.0);
  EXPECT_EQ(x[4], 3.0);
  EXPECT_EQ(y[4], 30.0);
}

TEST(PointInPolygon, DocumentedCodes) {
  const std::vector<double> sx{0, 0, 10, 10, 0}, sy{0, 0, 0, 10, 10};  // square
  const std::vector<double> tx{0, 0, 10, 0}, ty{0, 0, 0, 10};           // right triangle
  struct Case {
    double px, py;
    bool square, classify;
    int code;
  } cases[] = {
      {10.05, 9.95, true, false, kPointOnVertex}, {5, 0.05, true, false, kPointOnHorizontalEdge},
      {0, 5, true, false, kPointOnVerticalEdge},  {5, 5, true, false, kPointInside},
      {15, 5, true, false, kPointOutside},         {5, 5, false, false, kPointOnEdge},
      {5, 5, false, true, kPointOnEdge},           {0, 0.05, true, true, kPointOnVertex},
  };
  for (const Case& c : cases) {
    const double* x = c.square ? sx.data() : tx.data();
    const double* y = c.square ? sy.data() : ty.data();
    const int n = c.square ? 4 : 3;
    int code = -1;
    if (c.classify) {
      ClassifyPointInPolygon(c.px, c.py, x, y, n, 0.1f, &code);
    } else {
      EXPECT_EQ(PointInPolygon(c.px, c.py, x, y, n, 0.1f, &code), 1);
    }
    EXPECT_EQ(code, c.code) << c.px << "," << c.py << (c.classify ? " classified" : "");
  }
  // No vertices at all: outside.
  int code = -1;
  PointInPolygon(0, 0, sx.data(), sy.data(), 0, 0.1f, &code);
  EXPECT_EQ(code, kPointOutside);
}

TEST(PointInPolygon, RayThroughASharedVertexCountsOnce) {
  // A diamond: the vertical ray below the point passes exactly through the bottom vertex.
  std::vector<double> x{0, 0, 5, 0, -5}, y{0, -5, 0, 5, 0};
  int code = -1;
  PointInPolygon(0, 1, x.data(), y.data(), 4, 0.1f, &code);
  EXPECT_EQ(code, kPointInside);
  ClassifyPointInPolygon(0, 1, x.data(), y.data(), 4, 0.1f, &code);
  EXPECT_EQ(code, kPointInside);
}

TEST(PointInPolygon, ClassifyCountsNearVerticalEdgesAwayFromThePoint) {
  // The left edge leans by 0.05 (within the tolerance). A point 0.12 right of its foot lies
  // in that edge's shifted crossing interval: the plain test skips the edge and misses the
  // crossing, the classifying one counts it.
  std::vector<double> x{0, 0, 0.05, 20, 20}, y{0, 0, 10, 10, 0};
  int plain = -1, classified = -1;
  PointInPolygon(0.12, 5, x.data(), y.data(), 4, 0.1f, &plain);
  ClassifyPointInPolygon(0.12, 5, x.data(), y.data(), 4, 0.1f, &classified);
  EXPECT_EQ(plain, kPointOutside);
  EXPECT_EQ(classified, kPointInside);
  // On the leaning edge itself both report the vertical-edge code.
  PointInPolygon(0.02, 5, x.data(), y.data(), 4, 0.1f, &plain);
  ClassifyPointInPolygon(0.02, 5, x.data(), y.data(), 4, 0.1f, &classified);
  EXPECT_EQ(plain, kPointOnVerticalEdge);
  EXPECT_EQ(classified, kPointOnVerticalEdge);
}

TEST(PointInPolygon, AgreesWithWindingNumberOnRandomStarPolygons) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> radius(20.0, 100.0), coord(-120.0, 120.0);
  for (int shape = 0; shape < 60; ++shape) {
    const int n = 3 + shape % 12;
    std::vector<double> x(n + 1), y(n + 1);
    std::vector<kerneltest::P3> ring;
    for (int i = 1; i <= n; ++i) {
      const double a = 2 * kTruePi * (i - 1) / n;
      const double r = radius(rng);
      x[i] = r * std::cos(a);
      y[i] = r * std::sin(a);
      ring.push_back({x[i], y[i], 0});
    }
    for (int k = 0; k < 200; ++k) {
      const double px = coord(rng), py = coord(rng);
      bool nearBoundary = kerneltest::EdgeDistance(px, py, ring) < 0.5;
      for (int i = 1; i <= n; ++i) nearBoundary = nearBoundary || std::fabs(px - x[i]) < 0.5;
      if (nearBoundary) continue;
      const int expected =
          kerneltest::Winding(px, py, ring) != 0 ? kPointInside : kPointOutside;
      int code = -1, classified = -1;
      PointInPolygon(px, py, x.data(), y.data(), n, 0.1f, &code);
      ClassifyPointInPolygon(px, py, x.data(), y.data(), n, 0.1f, &classified);
      EXPECT_EQ(code, expected) << "shape " << shape << " point " << px << "," << py;
      EXPECT_EQ(classified, expected) << "shape " << shape << " point " << px << "," << py;
    }
  }
}

TEST(SegmentCrossing, FlatFaceCrossingsAndTheEndNearAVertex) {
  const std::vector<double> fx{0, 0, 10, 10, 0}, fy{0, 0, 0, 10, 10}, fz{0, 2, 2, 2, 2};
  struct Case {
    double x1, y1, z1, x2, y2, z2;
    int found;
    double X, Y, Z;
  } cases[] = {
      {4, 5, -3, 4, 5, 7, 1, 4, 5, 2},                      // a vertical segment through it
      {14, 5, -3, 14, 5, 7, 0, 0, 0, 0},                    // outside the face in plan
      {4, 5, -3, 4, 5, 1, 0, 0, 0, 0},                      // ends short of the plane
      {1, 1, 2, 9, 9, 2, 0, 0, 0, 0},                       // parallel to the plane
      {50, 50, 50, 10.05, 9.95, 2.05, 1, 10.05, 9.95, 2.05},  // an end near a vertex wins
  };
  for (const Case& c : cases) {
    int found = -1;
    double X = 0, Y = 0, Z = 0;
    EXPECT_EQ(SegmentCrossing(c.x1, c.y1, c.z1, c.x2, c.y2, c.z2, 4, 0, 0, 1.0, -2.0, fx.data(),
                              fy.data(), fz.data(), &found, &X, &Y, &Z),
              1);
    ASSERT_EQ(found, c.found) << c.x1 << "," << c.y1;
    if (found == 1) {
      EXPECT_DOUBLE_EQ(X, c.X);
      EXPECT_DOUBLE_EQ(Y, c.Y);
      EXPECT_DOUBLE_EQ(Z, c.Z);
    }
  }
}

TEST(SegmentCrossing, UnnormalisedPlanesUseTheirLargestComponent) {
  // The face x + 2z = 20 (normal (1, 0, 2) scaled by 3, so no component is 1.0) seen from
  // above: the crossing is found in the xy projection.
  std::vector<double> fx{0, 0, 10, 10, 0}, fy{0, 0, 0, 10, 10}, fz{0, 10, 5, 5, 10};
  int found = 0;
  double X = 0, Y = 0, Z = 0;
  SegmentCrossing(4, 5, -10, 4, 5, 30, 4, 3.0, 0.0, 6.0, -60.0, fx.data(), fy.data(), fz.data(),
                  &found, &X, &Y, &Z);
  ASSERT_EQ(found, 1);
  EXPECT_NEAR(X, 4.0, 1e-12);
  EXPECT_NEAR(Z, 8.0, 1e-12);
  // A vertical face y = 3 with its normal scaled to 0.5: tested in xz.
  std::vector<double> gx{0, 0, 10, 10, 0}, gy{0, 3, 3, 3, 3}, gz{0, 0, 0, 10, 10};
  SegmentCrossing(2, 0, 2, 2, 9, 2, 4, 0.0, 0.5, 0.0, -1.5, gx.data(), gy.data(), gz.data(),
                  &found, &X, &Y, &Z);
  ASSERT_EQ(found, 1);
  EXPECT_NEAR(Y, 3.0, 1e-12);
  EXPECT_EQ(ProjectionOfPlane(1.0, 1.0, 1.0), FaceProjection::YZ);
  EXPECT_EQ(ProjectionOfPlane(0.0, 1.0, 1.0), FaceProjection::XZ);
  EXPECT_EQ(ProjectionOfPlane(0.2, -0.3, 0.9), FaceProjection::XY);
}

TEST(FlagCollinearVertices, FlagsStraightVerticesOnly) {
  // Square with an extra point in the middle of its bottom side.
  std::vector<double> x{0, 0, 5, 10, 10, 0}, y{0, 0, 0, 0, 10, 10};
  auto flags = FlagCollinearVertices(5, x.data(), y.data());
  EXPECT_EQ(flags[2], 1);
  for (int i : {1, 3, 4, 5}) EXPECT_EQ(flags[i], 0) << i;
  auto none = FlagCollinearVertices(0, x.data(), y.data());
  EXPECT_EQ(none[0], 0);
}

TEST(LineIntersection, DocumentedCases) {
  double X = 0, Y = 0;
  LineIntersection(1.0f, 0, 0, 10, 10, 10, 10, 20, 0, &X, &Y);
  EXPECT_EQ(X, kNoIntersection);
  EXPECT_EQ(Y, kNoIntersection);
  LineIntersection(0.0f, 5, -5, 5, 5, -5, 2, 5.5, 2, &X, &Y);
  EXPECT_EQ(X, 5.0);
  EXPECT_EQ(Y, 2.0);
  LineIntersection(0.0f, 0, 0, 1, 100, -50, 40, 50, 60, &X, &Y);
  const double expectedX = 50.0 / 99.8;  // y = 100x meets y = 50 + x/5
  EXPECT_NEAR(X, expectedX, 1e-9);
  EXPECT_NEAR(Y, 100 * expectedX, 1e-9);
  // Parallel lines.
  LineIntersection(0.0f, 0, 0, 10, 10, 0, 1, 10, 11, &X, &Y);
  EXPECT_EQ(X, kNoIntersection);
}

TEST(LineIntersection, AgreesWithExactIntersectionOnIntegerSegments) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> u(-1000, 1000);
  int crossings = 0;
  for (int k = 0; k < 4000; ++k) {
    const std::int64_t x1 = u(rng), y1 = u(rng), x2 = u(rng), y2 = u(rng);
    const std::int64_t x3 = u(rng), y3 = u(rng), x4 = u(rng), y4 = u(rng);
    if (std::llabs(x2 - x1) <= 1 || std::llabs(y2 - y1) <= 1 || std::llabs(x4 - x3) <= 1 ||
        std::llabs(y4 - y3) <= 1)
      continue;
    // Exact: P = p1 + t (p2 - p1), t = num / den in integers.
    const std::int64_t den = (x2 - x1) * (y4 - y3) - (y2 - y1) * (x4 - x3);
    if (std::llabs(den) < 1000) continue;  // keep away from near-parallel pairs
    const std::int64_t tNum = (x3 - x1) * (y4 - y3) - (y3 - y1) * (x4 - x3);
    const std::int64_t uNum = (x3 - x1) * (y2 - y1) - (y3 - y1) * (x2 - x1);
    const long double t = static_cast<long double>(tNum) / den;
    const long double s = static_cast<long double>(uNum) / den;
    const long double ex = x1 + t * (x2 - x1), ey = y1 + t * (y2 - y1);
    const double len1 = std::hypot(double(x2 - x1), double(y2 - y1));
    const double len2 = std::hypot(double(x4 - x3), double(y4 - y3));
    // Skip the band where the tol-shrunk range test is decided by rounding.
    const double margin1 = std::fmin(double(t), 1.0 - double(t)) * len1;
    const double margin2 = std::fmin(double(s), 1.0 - double(s)) * len2;
    if (std::fabs(margin1) < 3.0 || std::fabs(margin2) < 3.0) continue;
    double X = 0, Y = 0;
    LineIntersection(1.0f, x1, y1, x2, y2, x3, y3, x4, y4, &X, &Y);
    if (margin1 > 0 && margin2 > 0) {
      ++crossings;
      EXPECT_NEAR(X, double(ex), 1e-6);
      EXPECT_NEAR(Y, double(ey), 1e-6);
    } else {
      EXPECT_EQ(X, kNoIntersection);
    }
  }
  EXPECT_GT(crossings, 100);
}

TEST(CompactFaceLists, DropsMarkedEntriesAndTheirVertices) {
  // Group 1: entries A (code 10001, 3 points), B (11111, 2 points); group 2: C (10002,
  // 1 point), D (11111, 1 point); group 3: E (10001, 2 points).
  std::vector<int> groupLoopCounts{0, 2, 2, 1};
  std::vector<int> codes{0, 10001, 11111, 10002, 11111, 10001};
  std::vector<int> sizes{0, 3, 2, 1, 1, 2};
  std::vector<int> groupOf(6, 0);
  std::vector<double> x{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, y = x, z = x;
  int groupKept = -1, total = -1;
  CompactFaceLists(3, groupLoopCounts.data(), codes.data(), sizes.data(), groupOf.data(), x.data(),
                   y.data(), z.data(), &groupKept, &total);
  ASSERT_EQ(total, 3);
  EXPECT_EQ(groupKept, 1);
  EXPECT_EQ(groupLoopCounts, (std::vector<int>{0, 1, 1, 1}));
  EXPECT_EQ(std::vector<int>(codes.begin() + 1, codes.begin() + 4),
            (std::vector<int>{10001, 10002, 10001}));
  EXPECT_EQ(std::vector<int>(groupOf.begin() + 1, groupOf.begin() + 4), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(std::vector<double>(x.begin() + 1, x.begin() + 7),
            (std::vector<double>{1, 2, 3, 6, 8, 9}));
  CompactFaceLists(0, groupLoopCounts.data(), codes.data(), sizes.data(), groupOf.data(), x.data(),
                   y.data(), z.data(), &groupKept, &total);
  EXPECT_EQ(total, 0);
}

TEST(PolygonPlaneAngles, DocumentedCases) {
  double a = 1, b = 1;
  std::vector<double> hx{0, 0, 1, 1, 0}, hy{0, 0, 0, 1, 1}, hz{0, 3, 3, 3, 3};
  PolygonPlaneAngles(hx[1], hy[1], hz[1], hx.data(), hy.data(), hz.data(), 4, &a, &b);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
  EXPECT_EQ(hz[3], 0.0);

  std::vector<double> sx{0, 0, 1, 1, 0}, sy{0, 0, 0, 0, 0}, sz{0, 0, 0, 1, 1};
  EXPECT_EQ(PolygonPlaneAngles(0, 0, 0, sx.data(), sy.data(), sz.data(), 4, &a, &b), 1);
  EXPECT_DOUBLE_EQ(a, -kThreeHalfPi);
  EXPECT_DOUBLE_EQ(b, kHalfPi);
  std::vector<float> fx(sx.begin(), sx.end()), fy(sy.begin(), sy.end()), fz(sz.begin(), sz.end());
  RotatePointsByTwoAngles(fx.data(), fy.data(), fz.data(), 4, a, b, 0);
  for (int i = 1; i <= 4; ++i) EXPECT_NEAR(fz[i], 0.0f, 1e-6) << i;

  // Collinear points: no pair with area.
  std::vector<double> lx{0, 0, 1, 2}, ly{0, 0, 1, 2}, lz{0, 0, 1, 2};
  PolygonPlaneAngles(0, 0, 0, lx.data(), ly.data(), lz.data(), 3, &a, &b);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
}

TEST(PolygonPlaneAngles, LaysRandomPlanarPolygonsFlatWithNormalUp) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(-1.0, 1.0), r(5.0, 50.0);
  for (int k = 0; k < 200; ++k) {
    // A random plane through a random origin, spanned by two orthonormal vectors e1, e2.
    double nx = u(rng), ny = u(rng), nz = u(rng);
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (len < 0.2) continue;
    nx /= len, ny /= len, nz /= len;
    double e1x = -ny, e1y = nx, e1z = 0.0;
    double l1 = std::hypot(e1x, e1y);
    if (l1 < 1e-3) e1x = 1, e1y = 0, l1 = 1;
    e1x /= l1, e1y /= l1;
    const double e2x = ny * e1z - nz * e1y, e2y = nz * e1x - nx * e1z, e2z = nx * e1y - ny * e1x;
    const double ox = 100 * u(rng), oy = 100 * u(rng), oz = 100 * u(rng);
    const int n = 3 + k % 5;
    std::vector<double> x(n + 1), y(n + 1), z(n + 1);
    for (int i = 1; i <= n; ++i) {  // counter-clockwise about n
      const double ang = 2 * kTruePi * (i - 1) / n, rad = r(rng);
      const double s = rad * std::cos(ang), t = rad * std::sin(ang);
      x[i] = ox + s * e1x + t * e2x;
      y[i] = oy + s * e1y + t * e2y;
      z[i] = oz + s * e1z + t * e2z;
    }
    double a = 0, b = 0;
    PolygonPlaneAngles(x[1], y[1], z[1], x.data(), y.data(), z.data(), n, &a, &b);
    std::vector<float> fx(x.begin(), x.end()), fy(y.begin(), y.end()), fz(z.begin(), z.end());
    RotatePointsByTwoAngles(fx.data(), fy.data(), fz.data(), n, a, b, 0);
    double area2 = 0;  // shoelace, twice the signed area
    for (int i = 1; i <= n; ++i) {
      EXPECT_NEAR(fz[i], 0.0f, 2e-3) << "polygon " << k << " vertex " << i;
      const int j = i == n ? 1 : i + 1;
      area2 += double(fx[i]) * fy[j] - double(fx[j]) * fy[i];
    }
    EXPECT_GT(area2, 0.0) << "normal must map to +z, polygon " << k;
  }
}
