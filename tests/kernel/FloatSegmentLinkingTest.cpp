// Single-precision splitting, pruning and linking: the documented cases, and on random
// segment sets the oracles "pieces never cross in their interiors" and "total length kept".
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "FloatSegmentLinking.h"
#include "KernelTestSupport.h"

namespace {

FloatSegment S(float x1, float y1, float x2, float y2, float attr = 0.0f, float z1 = 0.0f,
               float z2 = 0.0f) {
  return {x1, y1, z1, x2, y2, z2, {attr, attr + 1, attr + 2}};
}

// Runs the raw-array splitter on a list.
std::vector<FloatSegment> SplitRaw(const std::vector<FloatSegment>& in, int capacity, int* count) {
  const size_t n = in.size();
  std::vector<float> c[9];
  for (auto& v : c) v.assign(n + 1, 0.0f);
  for (size_t i = 0; i < n; ++i) {
    const FloatSegment& s = in[i];
    const float vals[9] = {s.x1, s.y1, s.z1, s.x2, s.y2, s.z2, s.attr[0], s.attr[1], s.attr[2]};
    for (int k = 0; k < 9; ++k) c[k][i + 1] = vals[k];
  }
  std::vector<float> o[9];
  for (auto& v : o) v.assign(static_cast<size_t>(capacity) + 1, -7.0f);
  SplitSegmentsAtCrossingsFloat(
      c[0].data(), c[1].data(), c[2].data(), c[3].data(), c[4].data(), c[5].data(), c[6].data(),
      c[7].data(), c[8].data(), static_cast<int>(n), count, o[0].data(), o[1].data(), o[2].data(),
      o[3].data(), o[4].data(), o[5].data(), o[6].data(), o[7].data(), o[8].data(), capacity);
  std::vector<FloatSegment> out;
  for (int i = 1; i <= *count; ++i)
    out.push_back(
        {o[0][i], o[1][i], o[2][i], o[3][i], o[4][i], o[5][i], {o[6][i], o[7][i], o[8][i]}});
  return out;
}

void ExpectPiece(const FloatSegment& s, float x1, float y1, float x2, float y2) {
  EXPECT_FLOAT_EQ(s.x1, x1);
  EXPECT_FLOAT_EQ(s.y1, y1);
  EXPECT_FLOAT_EQ(s.x2, x2);
  EXPECT_FLOAT_EQ(s.y2, y2);
}

struct Linked {
  int result;
  std::vector<std::vector<std::pair<float, float>>> loops;
};

Linked LinkRaw(const std::vector<FloatSegment>& in, int loopsBefore = 0, int loopCapacity = 100,
               int pointCapacity = 1000) {
  const size_t n = in.size();
  std::vector<float> x1{0}, y1{0}, z1{0}, x2{0}, y2{0}, z2{0};
  for (const FloatSegment& s : in) {
    x1.push_back(s.x1), y1.push_back(s.y1), z1.push_back(s.z1);
    x2.push_back(s.x2), y2.push_back(s.y2), z2.push_back(s.z2);
  }
  std::vector<std::int16_t> counts(loopCapacity + 1, 0);
  std::vector<float> ox(pointCapacity + 1, 0.0f), oy(pointCapacity + 1, 0.0f);
  int loopCount = loopsBefore, pointCount = 0;
  for (int l = 1; l <= loopsBefore; ++l) counts[l] = 0;
  Linked r;
  r.result = LinkSegmentsIntoFaces3d(
      x1.data(), y1.data(), z1.data(), x2.data(), y2.data(), z2.data(), static_cast<int>(n),
      &loopCount, &pointCount, counts.data(), ox.data(), oy.data(), loopCapacity, pointCapacity);
  int at = 0;
  for (int l = loopsBefore + 1; l <= loopCount; ++l) {
    std::vector<std::pair<float, float>> loop;
    for (int p = 0; p < counts[l]; ++p) ++at, loop.push_back({ox[at], oy[at]});
    r.loops.push_back(loop);
  }
  EXPECT_EQ(at, pointCount);
  return r;
}

std::vector<FloatSegment> Square(float x0, float y0, float side) {
  return {S(x0, y0, x0 + side, y0), S(x0 + side, y0, x0 + side, y0 + side),
          S(x0 + side, y0 + side, x0, y0 + side), S(x0, y0 + side, x0, y0)};
}

double SignedArea(const std::vector<std::pair<float, float>>& loop) {
  double sum = 0.0;
  for (size_t i = 0; i < loop.size(); ++i) {
    const auto& [xa, ya] = loop[i];
    const auto& [xb, yb] = loop[(i + 1) % loop.size()];
    sum += double(xa) * yb - double(xb) * ya;
  }
  return sum / 2.0;
}

}  // namespace

TEST(LineAngleFloat, AxesQuadrantsAndTheTenthTolerance) {
  EXPECT_EQ(LineAngleFloat(0, 0, 10, 0.05f), 0.0);
  EXPECT_EQ(LineAngleFloat(0, 0, -10, 0.05f), 3.1415926);
  EXPECT_EQ(LineAngleFloat(0, 0, 0.05f, 10), 1.5707963);
  EXPECT_EQ(LineAngleFloat(0, 0, 0.05f, -10), 4.7123889);
  EXPECT_EQ(LineAngleFloat(5, 5, 5.09f, 4.95f), 0.0);  // within 0.1: no direction
  // Quotient and arc tangent in single precision, the constant added in double.
  EXPECT_EQ(LineAngleFloat(0, 0, 3, 1), double(std::atan(1.0f / 3.0f)));
  EXPECT_EQ(LineAngleFloat(0, 0, -3, 1), 3.1415926 - std::atan(1.0f / 3.0f));
  EXPECT_EQ(LineAngleFloat(0, 0, -3, -1), 3.1415926 + std::atan(1.0f / 3.0f));
  EXPECT_EQ(LineAngleFloat(0, 0, 3, -1), 6.2831852 - std::atan(1.0f / 3.0f));
}

TEST(RemoveCoincidentPointsFloat, MergesWithinATenthThenSortsStably) {
  float x[] = {0, 5, 1, 5.05f, 1, 3}, y[] = {0, 0, 1, 0.05f, 2, 9}, z[] = {0, 0, 0, 0.05f, 0, 0};
  int n = 5;
  RemoveCoincidentPointsFloat(1, x, y, z, &n);
  ASSERT_EQ(n, 4);
  // Point 3 merged onto point 1; the two points at x = 1 keep their order.
  const float ex[] = {0, 1, 1, 3, 5}, ey[] = {0, 1, 2, 9, 0};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(x[i], ex[i]) << i;
    EXPECT_EQ(y[i], ey[i]) << i;
  }
  float x2[] = {0, 0, 0}, y2[] = {0, 5, 1}, z2[] = {0, 0, 0.2f};
  n = 2;
  RemoveCoincidentPointsFloat(2, x2, y2, z2, &n);
  ASSERT_EQ(n, 2);
  EXPECT_EQ(y2[1], 1.0f);
  EXPECT_EQ(z2[1], 0.2f);  // z travels with its point
}

TEST(SplitSegmentsAtCrossingsFloat, CrossingInAnXCutsBothAndCopiesAttributes) {
  int count = 0;
  const auto out = SplitRaw({S(0, 0, 10, 10, 4), S(0, 10, 10, 0, 8)}, 100, &count);
  ASSERT_EQ(count, 4);
  ExpectPiece(out[0], 0, 0, 5, 5);
  ExpectPiece(out[1], 5, 5, 10, 10);
  ExpectPiece(out[2], 0, 10, 5, 5);
  ExpectPiece(out[3], 5, 5, 10, 0);
  for (int p = 0; p < 2; ++p) EXPECT_EQ(out[p].attr[0], 4) << p;
  EXPECT_EQ(out[3].attr[1], 9);
  EXPECT_EQ(out[3].attr[2], 10);
}

TEST(SplitSegmentsAtCrossingsFloat, CutsNeedMoreThanPointNineInsideTheCutSegment) {
  int count = 0;
  // The vertical crosses the bar 0.8 from its end: no cut there.
  auto out = SplitRaw({S(0, 0, 10, 0), S(9.2f, -5, 9.2f, 5)}, 100, &count);
  ASSERT_EQ(count, 3);
  ExpectPiece(out[0], 0, 0, 10, 0);
  // T-junction: the bar is cut, the stem (ending on the bar) is not.
  out = SplitRaw({S(10, 0, 0, 0), S(5, 0, 5, 5)}, 100, &count);
  ASSERT_EQ(count, 3);
  ExpectPiece(out[0], 0, 0, 5, 0);
  ExpectPiece(out[1], 5, 0, 10, 0);
  ExpectPiece(out[2], 5, 0, 5, 5);
}

TEST(SplitSegmentsAtCrossingsFloat, ASegmentStoppingShortStillCutsWithinPointNine) {
  int count = 0;
  auto out = SplitRaw({S(0, 0, 10, 0), S(5, 0.85f, 5, 5)}, 100, &count);
  ASSERT_EQ(count, 3);
  ExpectPiece(out[0], 0, 0, 5, 0);
  out = SplitRaw({S(0, 0, 10, 0), S(5, 0.95f, 5, 5)}, 100, &count);
  EXPECT_EQ(count, 2);
}

TEST(SplitSegmentsAtCrossingsFloat, CollinearOverlapsCutAtTheOtherEnds) {
  int count = 0;
  auto out = SplitRaw({S(0, 0, 10, 0), S(4, 0.05f, 20, 0.05f)}, 100, &count);
  ASSERT_EQ(count, 4);
  ExpectPiece(out[0], 0, 0, 4, 0.05f);
  ExpectPiece(out[1], 4, 0.05f, 10, 0);
  ExpectPiece(out[2], 4, 0.05f, 10, 0);
  ExpectPiece(out[3], 10, 0, 20, 0.05f);
  // Sloped: through the turned frame, only when the other start lies on the line.
  out = SplitRaw({S(0, 0, 30, 10), S(15, 5, 60, 20)}, 100, &count);
  ASSERT_EQ(count, 4);
  ExpectPiece(out[0], 0, 0, 15, 5);
  out = SplitRaw({S(0, 0, 30, 10), S(15, 5.5f, 60, 20.5f)}, 100, &count);
  EXPECT_EQ(count, 2);
}

TEST(SplitSegmentsAtCrossingsFloat, DegenerateYieldsNothingAndDirectionRules) {
  int count = 0;
  auto out = SplitRaw({S(3, 3, 3.1f, 3.05f), S(10, 0, 0, 0)}, 100, &count);
  ASSERT_EQ(count, 1);
  ExpectPiece(out[0], 10, 0, 0, 0);  // uncut: keeps its right-to-left direction
  out = SplitRaw({S(10, 0, 0, 0), S(5, -5, 5, 5), S(2, 20, 2.5f, -20)}, 100, &count);
  ASSERT_EQ(count, 7);
  ExpectPiece(out[0], 0, 0, 2.25f, 0);  // cut: pieces run left to right
  ExpectPiece(out[1], 2.25f, 0, 5, 0);
  ExpectPiece(out[2], 5, 0, 10, 0);
  ExpectPiece(out[3], 5, -5, 5, 0);  // a steep one bottom to top
  ExpectPiece(out[5], 2.5f, -20, 2.25f, 0);
  ExpectPiece(out[6], 2.25f, 0, 2, 20);
}

TEST(SplitSegmentsAtCrossingsFloat, CutPointsTakeZAlongTheDominantAxis) {
  int count = 0;
  const auto out = SplitRaw({S(0, 0, 100, 20, 0, 10, 60), S(40, -50, 40, 50)}, 100, &count);
  ASSERT_EQ(count, 4);
  EXPECT_FLOAT_EQ(out[0].x2, 40.0f);
  EXPECT_FLOAT_EQ(out[0].z2, 30.0f);  // 40 % of the way in x
  EXPECT_FLOAT_EQ(out[1].z1, 30.0f);
  EXPECT_FLOAT_EQ(out[1].z2, 60.0f);
  const auto steep = SplitRaw({S(0, 0, 20, 100, 0, 0, 100), S(-50, 25, 50, 25)}, 100, &count);
  ASSERT_EQ(count, 4);
  EXPECT_FLOAT_EQ(steep[0].z2, 25.0f);  // interpolated along y
}

TEST(SplitSegmentsAtCrossingsFloat, RefusesWhenThePiecesDoNotFit) {
  int count = -1;
  auto out = SplitRaw({S(0, 0, 10, 10), S(0, 10, 10, 0)}, 3, &count);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(out.empty());
  out = SplitRaw({S(0, 0, 10, 10), S(0, 10, 10, 0)}, 4, &count);
  EXPECT_EQ(count, 4);
}

TEST(SplitSegmentsAtCrossingsFloat, RandomPiecesNeverCrossAndKeepTheirLength) {
  std::mt19937 rng(1414);
  std::uniform_real_distribution<float> coord(0.0f, 1000.0f);
  for (int round = 0; round < 40; ++round) {
    std::vector<FloatSegment> in;
    double length = 0.0;
    for (int i = 0; i < 12; ++i) {
      in.push_back(S(coord(rng), coord(rng), coord(rng), coord(rng)));
      length += std::hypot(in.back().x2 - in.back().x1, in.back().y2 - in.back().y1);
    }
    int count = 0;
    const auto out = SplitRaw(in, 5000, &count);
    double pieces = 0.0;
    for (const FloatSegment& s : out) pieces += std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    EXPECT_NEAR(pieces, length, 1e-3 * length) << "round " << round;
    for (size_t p = 0; p < out.size(); ++p)
      for (size_t q = p + 1; q < out.size(); ++q) {
        const kerneltest::Seg a{out[p].x1, out[p].y1, out[p].x2, out[p].y2};
        const kerneltest::Seg b{out[q].x1, out[q].y1, out[q].x2, out[q].y2};
        EXPECT_FALSE(kerneltest::CrossInInteriors(a, b, 1.0)) << "round " << round;
      }
  }
}

TEST(RemoveDegenerateSegments3d, EatsDanglingChainsAndShortSegments) {
  auto segs = Square(0, 0, 10);
  segs.push_back(S(10, 10, 20, 20));
  segs.push_back(S(20, 20, 30, 20));
  segs.push_back(S(5, 5, 5.5f, 5.5f));
  std::vector<float> x1{0}, y1{0}, z1{0}, x2{0}, y2{0}, z2{0};
  for (const auto& s : segs)
    x1.push_back(s.x1), y1.push_back(s.y1), z1.push_back(s.z1), x2.push_back(s.x2),
        y2.push_back(s.y2), z2.push_back(s.z2);
  int n = static_cast<int>(segs.size());
  RemoveDegenerateSegments3d(&n, x1.data(), y1.data(), z1.data(), x2.data(), y2.data(), z2.data());
  ASSERT_EQ(n, 4);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(x1[i], segs[i - 1].x1) << i;  // order kept
  // z takes part: a square whose closing corner is 2.0 apart in z is a chain, eaten whole.
  auto lifted = Square(0, 0, 10);
  lifted[3].z1 = 2.0f;
  lifted[2].z2 = 2.0f;
  lifted[0].z1 = 0.0f;
  PruneFloatSegments(lifted);
  EXPECT_EQ(lifted.size(), 4u);
  lifted = Square(0, 0, 10);
  lifted[3].z2 = 2.0f;  // the corner (0, 0): one end at z 2, the other at z 0
  PruneFloatSegments(lifted);
  EXPECT_TRUE(lifted.empty());
}

TEST(LinkSegmentsIntoFaces3d, SquareWithHangingSegmentFromTheLowerLeftCorner) {
  auto segs = Square(0, 0, 10);
  segs.push_back(S(10, 10, 25, 18));
  const auto r = LinkRaw(segs);
  ASSERT_EQ(r.result, 1);
  ASSERT_EQ(r.loops.size(), 1u);
  const std::vector<std::pair<float, float>> expected{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
  EXPECT_EQ(r.loops[0], expected);  // up first, clockwise
}

TEST(LinkSegmentsIntoFaces3d, SquareScannedFromItsUpperLeftCornerGoesRightFirst) {
  std::vector<FloatSegment> segs{S(0, 10, 10, 10), S(10, 10, 10, 0), S(10, 0, 0, 0), S(0, 0, 0, 10),
                                 S(-5, 20, 0, 10)};
  const auto r = LinkRaw(segs);
  ASSERT_EQ(r.loops.size(), 1u);
  const std::vector<std::pair<float, float>> expected{{0, 10}, {10, 10}, {10, 0}, {0, 0}};
  EXPECT_EQ(r.loops[0], expected);
  EXPECT_LT(SignedArea(r.loops[0]), 0.0);
}

TEST(LinkSegmentsIntoFaces3d, FollowsTheOuterBoundaryByLeftTurns) {
  // A square split by a vertical chord: the outline, not the two halves.
  std::vector<FloatSegment> segs{S(0, 0, 5, 0),    S(5, 0, 10, 0),  S(10, 0, 10, 10),
                                 S(10, 10, 5, 10), S(5, 10, 0, 10), S(0, 10, 0, 0),
                                 S(5, 0, 5, 10)};
  const auto r = LinkRaw(segs);
  ASSERT_EQ(r.loops.size(), 1u);
  EXPECT_EQ(r.loops[0].size(), 6u);
  EXPECT_NEAR(SignedArea(r.loops[0]), -100.0, 1e-3);
}

TEST(LinkSegmentsIntoFaces3d, DisjointLoopsLeftmostFirstAndAppendedToTheCounts) {
  auto segs = Square(50, 0, 10);
  for (const auto& s : Square(0, 3, 20)) segs.push_back(s);
  const auto r = LinkRaw(segs, 2);
  ASSERT_EQ(r.loops.size(), 2u);
  EXPECT_EQ(r.loops[0][0].first, 0.0f);
  EXPECT_NEAR(SignedArea(r.loops[0]), -400.0, 1e-3);
  EXPECT_EQ(r.loops[1][0].first, 50.0f);
}

TEST(LinkSegmentsIntoFaces3d, FewerThanThreeSegmentsGiveNoLoop) {
  const auto r = LinkRaw({S(0, 0, 10, 0), S(10, 0, 0, 0.5f)});
  EXPECT_EQ(r.result, 1);
  EXPECT_TRUE(r.loops.empty());
}

TEST(LinkSegmentsIntoFaces3d, AChainThatCannotCloseIsNotWrittenAsALoop) {
  // Two squares joined by a bridge: the walk crosses the bridge, rounds the right square and
  // dead-ends where it entered it. That open chain is no face and must not come back.
  std::vector<FloatSegment> segs{S(0, 0, 0, 10),   S(0, 10, 10, 10),  S(10, 10, 10, 5),
                                 S(10, 5, 10, 0),  S(10, 0, 0, 0),    S(10, 5, 20, 5),
                                 S(20, 5, 20, 10), S(20, 10, 30, 10), S(30, 10, 30, 0),
                                 S(30, 0, 20, 0),  S(20, 0, 20, 5)};
  const auto r = LinkRaw(segs);
  EXPECT_EQ(r.result, 1);
  for (const auto& loop : r.loops) {
    // Every loop written is closed: its last point joins its first by one of the segments.
    const auto& a = loop.back();
    const auto& b = loop.front();
    bool joined = false;
    for (const auto& s : segs)
      joined = joined ||
               (s.x1 == a.first && s.y1 == a.second && s.x2 == b.first && s.y2 == b.second) ||
               (s.x2 == a.first && s.y2 == a.second && s.x1 == b.first && s.y1 == b.second);
    EXPECT_TRUE(joined);
  }
  EXPECT_TRUE(r.loops.empty());
}

TEST(LinkSegmentsIntoFaces3d, RefusesLoopsThatDoNotFit) {
  auto segs = Square(0, 0, 10);
  for (const auto& s : Square(50, 0, 10)) segs.push_back(s);
  EXPECT_EQ(LinkRaw(segs, 0, 1, 100).result, 0);
  EXPECT_EQ(LinkRaw(segs, 0, 2, 7).result, 0);
  const auto fits = LinkRaw(segs, 0, 2, 8);
  EXPECT_EQ(fits.result, 1);
  EXPECT_EQ(fits.loops.size(), 2u);
}
