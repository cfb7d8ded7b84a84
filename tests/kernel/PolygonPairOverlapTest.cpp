// Where two planar faces in 3-D cross: crossing strips, touching strips, planes that are not
// normalised, and faces that miss each other.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "PolygonPairOverlap.h"

namespace {

struct Face3 {
  std::vector<double> x, y, z;  // 1-based
  double a, b, c, d;
  int N() const { return static_cast<int>(x.size()) - 1; }
};

struct Seg3 {
  double x1, y1, z1, x2, y2, z2;
};

std::vector<Seg3> Overlap(const Face3& A, const Face3& B, int capacity = 100) {
  std::vector<double> ox1(capacity + 1), oy1(capacity + 1), oz1(capacity + 1), ox2(capacity + 1),
      oy2(capacity + 1), oz2(capacity + 1);
  int count = -1;
  PolygonPairOverlap(A.N(), A.a, A.b, A.c, A.d, A.x.data(), A.y.data(), A.z.data(), B.N(), B.a,
                     B.b, B.c, B.d, B.x.data(), B.y.data(), B.z.data(), ox1.data(), oy1.data(),
                     oz1.data(), ox2.data(), oy2.data(), oz2.data(), &count, capacity);
  std::vector<Seg3> out;
  for (int i = 1; i <= count; ++i) out.push_back({ox1[i], oy1[i], oz1[i], ox2[i], oy2[i], oz2[i]});
  return out;
}

// Horizontal square at height 5 and a vertical strip x = 5 that passes through it.
Face3 Flat(double scale) {
  return {{0, 0, 10, 10, 0}, {0, 0, 0, 10, 10}, {0, 5, 5, 5, 5}, 0, 0, scale, -5 * scale};
}
Face3 Upright(double scale) {
  return {{0, 5, 5, 5, 5}, {0, 2, 8, 8, 2}, {0, 0, 0, 10, 10}, scale, 0, 0, -5 * scale};
}

}  // namespace

TEST(PolygonPairOverlap, CrossingStripsGiveOneSegmentBetweenTheirBorders) {
  // Planes need not be normalised.
  for (auto [flat, upright] : {std::pair{1.0, 1.0}, {0.25, 3.0}}) {
    const auto out = Overlap(Flat(flat), Upright(upright));
    ASSERT_EQ(out.size(), 1u);
    // Points come in the order found: B's edge at y = 8 crosses A before its edge at y = 2.
    const double got[] = {out[0].x1, out[0].y1, out[0].z1, out[0].x2, out[0].y2, out[0].z2};
    const double expected[] = {5, 8, 5, 5, 2, 5};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[k], expected[k], 1e-12) << flat << " " << k;
  }
}

TEST(PolygonPairOverlap, StripsTouchingAtAnEdgeGiveTheSharedEdge) {
  // A sloped strip rising from the flat square's right edge.
  const Face3 flat{{0, 0, 10, 10, 0}, {0, 0, 0, 10, 10}, {0, 5, 5, 5, 5}, 0, 0, 1, -5};
  const Face3 slope{{0, 10, 10, 20, 20}, {0, 10, 0, 0, 10}, {0, 5, 5, 15, 15}, 1, 0, -1, -5};
  const auto out = Overlap(flat, slope);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_DOUBLE_EQ(out[0].x1, 10);
  EXPECT_DOUBLE_EQ(out[0].x2, 10);
  EXPECT_DOUBLE_EQ(std::fabs(out[0].y2 - out[0].y1), 10);
  EXPECT_DOUBLE_EQ(out[0].z1, 5);
}

TEST(PolygonPairOverlap, FacesThatMissGiveNothing) {
  Face3 far = Upright(1.0);
  for (double& y : far.y) y += 50;
  EXPECT_TRUE(Overlap(Flat(1.0), far).empty());
  // Parallel faces.
  Face3 above = Flat(1.0);
  for (double& z : above.z) z += 3;
  above.d = -8;
  EXPECT_TRUE(Overlap(Flat(1.0), above).empty());
}

TEST(PolygonPairOverlap, RefusesWhenTheOutputIsTooSmall) {
  EXPECT_TRUE(Overlap(Flat(1.0), Upright(1.0), 0).empty());
}
