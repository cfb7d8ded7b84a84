// The union engine's own routines: plane and frame of a face, the pair cut and where it
// differs from the kernel's pair overlap, collinear-vertex removal and the inset ring.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "PolygonPairOverlap.h"
#include "RoofFaceUnionRoutines.h"

using namespace kernel;

namespace {

struct Arrays3 {
  std::vector<double> x{0.0}, y{0.0}, z{0.0};
  Arrays3(std::initializer_list<std::array<double, 3>> points) {
    for (const auto& p : points) x.push_back(p[0]), y.push_back(p[1]), z.push_back(p[2]);
  }
  int Count() const { return static_cast<int>(x.size()) - 1; }
  UnionFace Face() const {
    UnionFace f{Count(), 0, 0, 0, 0, x.data(), y.data(), z.data()};
    PolygonPlaneForUnion(x.data(), y.data(), z.data(), Count(), &f.a, &f.b, &f.c, &f.d);
    return f;
  }
};

// Turns the face's vertices into its frame and back; the largest distance moved. The kernel's
// short spellings of pi in the line angle leave about 1e-7 of the distance from vertex 1.
double FrameRoundTrip(const Arrays3& face) {
  std::vector<double> mx(face.x), my(face.y), mz(face.z);
  for (int i = 1; i <= face.Count(); ++i) mx[i] -= face.x[1], my[i] -= face.y[1], mz[i] -= face.z[1];
  double A = 0, B = 0;
  EXPECT_TRUE(FacePlaneAnglesForUnion(mx.data(), my.data(), mz.data(), face.Count(), &A, &B));
  const FaceFrameForUnion frame(face.x[1], face.y[1], face.z[1], A, B);
  double worst = 0.0;
  for (int i = 1; i <= face.Count(); ++i) {
    double u, v, X, Y, Z;
    frame.ToFrame(face.x[i], face.y[i], face.z[i], &u, &v);
    frame.FromFrame(u, v, &X, &Y, &Z);
    worst = std::fmax(worst, std::hypot(X - face.x[i], Y - face.y[i], Z - face.z[i]));
  }
  return worst;
}

TEST(RoofFaceUnionPlane, FullCrossProductOfTheWidestTriangleAndSentinelWithoutArea) {
  const Arrays3 tilted{{10, 0, 5}, {14, 0, 5}, {14, 3, 9}, {10, 3, 9}};
  double a, b, c, d;
  ASSERT_TRUE(PolygonPlaneForUnion(tilted.x.data(), tilted.y.data(), tilted.z.data(), 4, &a, &b,
                                   &c, &d));
  // Widest of (1,2,3), (1,2,4), (1,3,4): the first of the equal maxima, (1,2,3): (4,0,0) x (4,3,4).
  EXPECT_DOUBLE_EQ(a, 0.0);
  EXPECT_DOUBLE_EQ(b, -16.0);
  EXPECT_DOUBLE_EQ(c, 12.0);
  EXPECT_DOUBLE_EQ(d, -(c * 5.0));
  const Arrays3 line{{0, 0, 0}, {1, 1, 1}, {3, 3, 3}};
  EXPECT_FALSE(PolygonPlaneForUnion(line.x.data(), line.y.data(), line.z.data(), 3, &a, &b, &c, &d));
  EXPECT_TRUE(a == 111.0 && b == 111.0 && c == 111.0 && d == 111.0);
}

TEST(RoofFaceUnionFrame, AxisNormalsTakeTheLongSpellingsOfPi) {
  const struct {
    Arrays3 face;
    bool spansPlane;
    double A, B;
  } cases[] = {
      {{{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}, true, 0.0, 0.0},                      // level
      {{{0, 0, 0}, {5, 0, 0}, {5, 0, 5}}, true, 1.57079632679, -1.57079632679},  // plane y = 0
      {{{0, 0, 0}, {0, 5, 0}, {0, 5, 5}}, true, 0.0, 1.57079632679},             // plane x = 0
      {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, false, 0.0, 0.0},                      // a line
  };
  for (const auto& c : cases) {
    double A = -1, B = -1;
    EXPECT_EQ(FacePlaneAnglesForUnion(c.face.x.data(), c.face.y.data(), c.face.z.data(), 3, &A, &B),
              c.spansPlane);
    EXPECT_EQ(A, c.A);
    EXPECT_EQ(B, c.B);
  }
}

TEST(RoofFaceUnionFrame, EveryFaceMapsIntoItsOwnPlane) {
  const Arrays3 slope{{1000, 2000, 300}, {9000, 2500, 300}, {8800, 6000, 2700}, {800, 5500, 2700}};
  EXPECT_LT(FrameRoundTrip(slope), 1e-3);
  const Arrays3 overhanging{{0, 0, 0}, {0, 4000, 0}, {3000, 4000, -2000}, {3000, 0, -2000}};
  EXPECT_LT(FrameRoundTrip(overhanging), 1e-3);
  const Arrays3 wall{{0, 0, 0}, {3000, 3000, 0}, {3000, 3000, 2500}, {0, 0, 2500}};
  EXPECT_LT(FrameRoundTrip(wall), 1e-3);
}

// A roof slope whose fall line is 0.03 degree off the x axis: its normal's y part is below
// the line angle's 0.001, which would snap the frame onto the axis and lift far vertices
// millimetres off the face. The frame must still hold the face.
TEST(RoofFaceUnionFrame, FallLineJustOffAnAxisStaysInThePlane) {
  const double off = 0.03 * 3.14159265358979 / 180.0;
  const double c = std::cos(off), s = std::sin(off);
  auto turned = [&](double x, double y, double z) {
    return std::array<double, 3>{x * c - y * s, x * s + y * c, z};
  };
  const Arrays3 slope{turned(0, 0, 0), turned(20000, 0, 10000), turned(20000, 15000, 10000),
                      turned(0, 15000, 0)};
  EXPECT_LT(FrameRoundTrip(slope), 0.01);
}

int KernelPairCount(const Arrays3& a, const Arrays3& b) {
  const UnionFace fa = a.Face(), fb = b.Face();
  std::vector<double> o[6];
  for (auto& v : o) v.assign(50, 0.0);
  int count = 0;
  PolygonPairOverlap(fa.n, fa.a, fa.b, fa.c, fa.d, fa.x, fa.y, fa.z, fb.n, fb.a, fb.b, fb.c, fb.d,
                     fb.x, fb.y, fb.z, o[0].data(), o[1].data(), o[2].data(), o[3].data(),
                     o[4].data(), o[5].data(), &count, 49);
  return count;
}

// The union's pair cut against the kernel's pair overlap on the same faces: where they
// agree, and each place where the union's tolerance of 0.001 decides otherwise.
TEST(RoofFaceUnionPairCut, AgainstTheKernelsPairOverlap) {
  const Arrays3 level{{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
  const Arrays3 diamond{{0, -100, 0}, {100, 0, 0}, {0, 100, 0}, {-100, 0, 0}};
  const double o = 0.05 / std::sqrt(2.0);
  const struct {
    const char* what;
    const Arrays3& f;
    Arrays3 g;
    int kernelCount;
    size_t unionCount;
    double midX, midY, spanX, spanY;  // the union's one segment: midpoint and extent
  } cases[] = {
      {"crossing", level, {{50, -20, -10}, {50, 120, -10}, {50, 120, 10}, {50, -20, 10}}, 1, 1,
       50, 50, 0, 100},
      // Boxes apart by more than the tolerance: the kernel still finds its 0.1 of the edge.
      {"boxes apart", level,
       {{100.05, 20, -10}, {100.05, 80, -10}, {100.05, 80, 10}, {100.05, 20, 10}}, 1, 0,
       0, 0, 0, 0},
      // A wall parallel to the diamond's upper right edge, 0.05 outside it: the midpoint is
      // outside.
      {"midpoint outside", diamond,
       {{80 + o, 20 + o, -10}, {20 + o, 80 + o, -10}, {20 + o, 80 + o, 10}, {80 + o, 20 + o, 10}},
       1, 0, 0, 0, 0, 0},
      // A sliver wall whose edges pierce the square 0.05 apart: closer than the kernel's
      // repeat distance, but apart for the union.
      {"sliver", level, {{50, 50, -10}, {50.1, 50, 10}, {50, 50, 10}}, 0, 1, 50.025, 50,
       0.05, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KernelPairCount(c.f, c.g), c.kernelCount) << c.what;
    const auto segments = PolygonPairOverlapForUnion(0.001f, c.f.Face(), c.g.Face());
    ASSERT_EQ(segments.size(), c.unionCount) << c.what;
    if (segments.empty()) continue;
    const auto& s = segments[0];
    EXPECT_NEAR((s.x1 + s.x2) / 2, c.midX, 1e-9) << c.what;
    EXPECT_NEAR((s.y1 + s.y2) / 2, c.midY, 1e-9) << c.what;
    EXPECT_NEAR(std::fabs(s.x2 - s.x1), c.spanX, 1e-9) << c.what;
    EXPECT_NEAR(std::fabs(s.y2 - s.y1), c.spanY, 1e-9) << c.what;
    EXPECT_NEAR(s.z1, 0, 1e-9) << c.what;
    EXPECT_NEAR(s.z2, 0, 1e-9) << c.what;
  }
}

TEST(RoofFaceUnionCollinear, TurnsUnderAQuarterDegreeWithinTheToleranceAreStraight) {
  // A square of side `side` with a vertex on the bottom edge, one where the right edge turns
  // by 0.2 degree and one where the top edge turns by 0.3 degree: the first always goes, the
  // second only while it lies within 0.01 of the line that replaces it, the third never.
  struct Case {
    double side;
    int kept;
  } const cases[] = {{2.0, 5}, {100.0, 6}};
  for (const Case& c : cases) {
    const double h = c.side / 2;
    const double t2 = std::tan(0.2 * 3.14159265358979 / 180.0) * h;
    const double t3 = std::tan(0.3 * 3.14159265358979 / 180.0) * h;
    const std::vector<double> x{0, 0, h, c.side, c.side + t2, c.side, h, 0};
    const std::vector<double> y{0, 0, 0, 0, h, c.side, c.side + t3, c.side};
    std::vector<double> ox(8), oy(8);
    const int kept = RemoveCollinearVertices(x.data(), y.data(), 7, 10001, ox.data(), oy.data());
    ASSERT_EQ(kept, c.kept) << c.side;
    EXPECT_EQ(ox[1], 0.0);
    EXPECT_EQ(ox[2], c.side);
    EXPECT_EQ(oy[kept - 1], c.side + t3) << c.side;
  }
  // A corner 10 off the line from the one before to the one after it, 7 m away, turns by
  // less than the angle: it stays (the sliver behind it is 35,000 mm2 of roof).
  const std::vector<double> sx{0, 0, 7000, 7000, 0}, sy{0, 0, 0, 10, 1000};
  std::vector<double> ox(8), oy(8);
  EXPECT_EQ(RemoveCollinearVertices(sx.data(), sy.data(), 4, 10001, ox.data(), oy.data()), 4);
  // An open line keeps both ends even where they run straight on.
  const std::vector<double> lx{0, 0, 10, 20, 30}, ly{0, 0, 0, 0, 0};
  EXPECT_EQ(RemoveCollinearVertices(lx.data(), ly.data(), 4, 1001, ox.data(), oy.data()), 2);
}

TEST(RoofFaceUnionInset, ClockwiseRingMovesInwardsEdgeByEdge) {
  const std::vector<double> x{0, 0, 0, 100, 100}, y{0, 0, 100, 100, 0};  // clockwise
  std::vector<double> ox(6), oy(6);
  OffsetRingForUnion(x.data(), y.data(), 4, -10.0, ox.data(), oy.data());
  const double ex[] = {0, 10, 10, 90, 90}, ey[] = {0, 10, 90, 90, 10};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_NEAR(ox[i], ex[i], 1e-6) << i;
    EXPECT_NEAR(oy[i], ey[i], 1e-6) << i;
  }
  // A sloped clockwise triangle: every new vertex lies 10 from both of its edges' lines.
  const std::vector<double> tx{0, 0, 40, 100}, ty{0, 0, 90, 10};
  OffsetRingForUnion(tx.data(), ty.data(), 3, -10.0, ox.data(), oy.data());
  auto lineDistance = [&](int a, int b, double px, double py) {
    const double dx = tx[b] - tx[a], dy = ty[b] - ty[a];
    return std::fabs(dx * (py - ty[a]) - dy * (px - tx[a])) / std::hypot(dx, dy);
  };
  for (int i = 1; i <= 3; ++i) {
    const int prev = i == 1 ? 3 : i - 1, next = i == 3 ? 1 : i + 1;
    EXPECT_NEAR(lineDistance(prev, i, ox[i], oy[i]), 10.0, 1e-6) << i;
    EXPECT_NEAR(lineDistance(i, next, ox[i], oy[i]), 10.0, 1e-6) << i;
  }
  // Where two edges run on in one line, the vertex moves straight across.
  const std::vector<double> sx{0, 0, 0, 0, 100, 100}, sy{0, 0, 50, 100, 100, 0};
  OffsetRingForUnion(sx.data(), sy.data(), 5, -10.0, ox.data(), oy.data());
  EXPECT_NEAR(ox[2], 10.0, 1e-6);
  EXPECT_NEAR(oy[2], 50.0, 1e-6);
}

}  // namespace
