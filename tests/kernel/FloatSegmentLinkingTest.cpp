// Single-precision splitting, pruning and linking: the documented cases, the raw-array forms
// with their capacities, and on random segment sets the oracles "pieces never cross in their
// interiors" and "total length kept".
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "FloatSegmentLinking.h"
#include "KernelTestSupport.h"

namespace {

FloatSegment S(float x1, float y1, float x2, float y2, float attr = 0.0f, float z1 = 0.0f,
               float z2 = 0.0f) {
  return {x1, y1, z1, x2, y2, z2, {attr, attr + 1, attr + 2}};
}

std::vector<FloatSegment> Square(float x0, float y0, float side) {
  return {S(x0, y0, x0 + side, y0), S(x0 + side, y0, x0 + side, y0 + side),
          S(x0 + side, y0 + side, x0, y0 + side), S(x0, y0 + side, x0, y0)};
}

std::vector<FloatSegment> Join(std::vector<FloatSegment> a, const std::vector<FloatSegment>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The nine 1-based columns of a float segment list, as the raw-array forms take them.
struct Columns {
  std::array<std::vector<float>, 9> c;
  Columns(const std::vector<FloatSegment>& segs, size_t capacity) {
    for (auto& v : c) v.assign(std::max(capacity, segs.size()) + 1, -7.0f);
    for (size_t i = 0; i < segs.size(); ++i) {
      const FloatSegment& s = segs[i];
      const float vals[9] = {s.x1, s.y1, s.z1, s.x2, s.y2, s.z2, s.attr[0], s.attr[1], s.attr[2]};
      for (int k = 0; k < 9; ++k) c[k][i + 1] = vals[k];
    }
  }
  float* operator[](int k) { return c[k].data(); }
  FloatSegment At(int i) const {
    return {c[0][i], c[1][i], c[2][i], c[3][i], c[4][i], c[5][i], {c[6][i], c[7][i], c[8][i]}};
  }
};

using PlanLoop = std::vector<std::pair<float, float>>;

std::vector<PlanLoop> LoopsOf(const FloatLoops& loops) {
  std::vector<PlanLoop> out;
  size_t at = 0;
  for (int size : loops.sizes) {
    out.emplace_back();
    for (int p = 0; p < size; ++p, ++at) out.back().push_back({loops.x[at], loops.y[at]});
  }
  return out;
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

TEST(SplitSegmentsAtCrossingsFloat, DocumentedCuts) {
  const struct {
    const char* name;
    std::vector<FloatSegment> in;
    std::vector<std::array<float, 4>> pieces;
  } cases[] = {
      {"crossing in an X", {S(0, 0, 10, 10), S(0, 10, 10, 0)},
       {{0, 0, 5, 5}, {5, 5, 10, 10}, {0, 10, 5, 5}, {5, 5, 10, 0}}},
      {"crossing 0.8 from the bar's end does not cut it", {S(0, 0, 10, 0), S(9.2f, -5, 9.2f, 5)},
       {{0, 0, 10, 0}, {9.2f, -5, 9.2f, 0}, {9.2f, 0, 9.2f, 5}}},
      {"T-junction cuts the bar, not the stem", {S(10, 0, 0, 0), S(5, 0, 5, 5)},
       {{0, 0, 5, 0}, {5, 0, 10, 0}, {5, 0, 5, 5}}},
      {"stopping 0.85 short still cuts", {S(0, 0, 10, 0), S(5, 0.85f, 5, 5)},
       {{0, 0, 5, 0}, {5, 0, 10, 0}, {5, 0.85f, 5, 5}}},
      {"stopping 0.95 short does not", {S(0, 0, 10, 0), S(5, 0.95f, 5, 5)},
       {{0, 0, 10, 0}, {5, 0.95f, 5, 5}}},
      {"collinear horizontal overlap", {S(0, 0, 10, 0), S(4, 0.05f, 20, 0.05f)},
       {{0, 0, 4, 0.05f}, {4, 0.05f, 10, 0}, {4, 0.05f, 10, 0}, {10, 0, 20, 0.05f}}},
      {"collinear sloped overlap", {S(0, 0, 30, 10), S(15, 5, 60, 20)},
       {{0, 0, 15, 5}, {15, 5, 30, 10}, {15, 5, 30, 10}, {30, 10, 60, 20}}},
      {"sloped, the other start 0.5 off the line", {S(0, 0, 30, 10), S(15, 5.5f, 60, 20.5f)},
       {{0, 0, 30, 10}, {15, 5.5f, 60, 20.5f}}},
      {"degenerate yields nothing, uncut keeps its direction", {S(3, 3, 3.1f, 3.05f), S(10, 0, 0, 0)},
       {{10, 0, 0, 0}}},
      {"cut pieces run left to right, steep ones bottom to top",
       {S(10, 0, 0, 0), S(5, -5, 5, 5), S(2, 20, 2.5f, -20)},
       {{0, 0, 2.25f, 0}, {2.25f, 0, 5, 0}, {5, 0, 10, 0}, {5, -5, 5, 0}, {5, 0, 5, 5},
        {2.5f, -20, 2.25f, 0}, {2.25f, 0, 2, 20}}},
  };
  for (const auto& c : cases) {
    const auto out = SplitFloatSegments(c.in);
    ASSERT_EQ(out.size(), c.pieces.size()) << c.name;
    for (size_t p = 0; p < out.size(); ++p) {
      EXPECT_FLOAT_EQ(out[p].x1, c.pieces[p][0]) << c.name << " piece " << p;
      EXPECT_FLOAT_EQ(out[p].y1, c.pieces[p][1]) << c.name << " piece " << p;
      EXPECT_FLOAT_EQ(out[p].x2, c.pieces[p][2]) << c.name << " piece " << p;
      EXPECT_FLOAT_EQ(out[p].y2, c.pieces[p][3]) << c.name << " piece " << p;
    }
  }
}

TEST(SplitSegmentsAtCrossingsFloat, CutPointsTakeZAlongTheDominantAxis) {
  const auto out = SplitFloatSegments({S(0, 0, 100, 20, 0, 10, 60), S(40, -50, 40, 50)});
  ASSERT_EQ(out.size(), 4u);
  EXPECT_FLOAT_EQ(out[0].x2, 40.0f);
  EXPECT_FLOAT_EQ(out[0].z2, 30.0f);  // 40 % of the way in x
  EXPECT_FLOAT_EQ(out[1].z1, 30.0f);
  EXPECT_FLOAT_EQ(out[1].z2, 60.0f);
  const auto steep = SplitFloatSegments({S(0, 0, 20, 100, 0, 0, 100), S(-50, 25, 50, 25)});
  ASSERT_EQ(steep.size(), 4u);
  EXPECT_FLOAT_EQ(steep[0].z2, 25.0f);  // interpolated along y
}

TEST(SplitSegmentsAtCrossingsFloat, RawArraysCarryAttributesAndRefusePiecesThatDoNotFit) {
  for (int capacity : {3, 4}) {
    Columns in({S(0, 0, 10, 10, 4), S(0, 10, 10, 0, 8)}, 0), out({}, capacity);
    int count = -1;
    SplitSegmentsAtCrossingsFloat(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8], 2,
                                  &count, out[0], out[1], out[2], out[3], out[4], out[5], out[6],
                                  out[7], out[8], capacity);
    if (capacity == 3) {
      EXPECT_EQ(count, 0);
      EXPECT_EQ(out.At(1).x1, -7.0f);  // nothing written
      continue;
    }
    ASSERT_EQ(count, 4);
    for (int p = 1; p <= 2; ++p) EXPECT_EQ(out.At(p).attr[0], 4) << p;
    EXPECT_EQ(out.At(4).attr[0], 8);
    EXPECT_EQ(out.At(4).attr[1], 9);
    EXPECT_EQ(out.At(4).attr[2], 10);
  }
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
    const auto out = SplitFloatSegments(in);
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
  const auto segs = Join(Square(0, 0, 10), {S(10, 10, 20, 20), S(20, 20, 30, 20), S(5, 5, 5.5f, 5.5f)});
  Columns c(segs, 0);
  int n = static_cast<int>(segs.size());
  RemoveDegenerateSegments3d(&n, c[0], c[1], c[2], c[3], c[4], c[5]);
  ASSERT_EQ(n, 4);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(c.At(i).x1, segs[i - 1].x1) << i;  // order kept
  // z takes part: a corner whose ends are 2.0 apart in z is no joint, and the square, now a
  // chain, is eaten whole; lifting both ends at a corner keeps the joint.
  auto lifted = Square(0, 0, 10);
  lifted[3].z1 = 2.0f;
  lifted[2].z2 = 2.0f;
  PruneFloatSegments(lifted);
  EXPECT_EQ(lifted.size(), 4u);
  lifted = Square(0, 0, 10);
  lifted[3].z2 = 2.0f;  // the corner (0, 0): one end at z 2, the other at z 0
  PruneFloatSegments(lifted);
  EXPECT_TRUE(lifted.empty());
}

TEST(LinkSegmentsIntoFaces3d, DocumentedLoops) {
  const struct {
    const char* name;
    std::vector<FloatSegment> in;
    std::vector<PlanLoop> loops;
  } cases[] = {
      // The hanging segment is pruned; from the lower-left corner up first, clockwise.
      {"square with a hanging segment", Join(Square(0, 0, 10), {S(10, 10, 25, 18)}),
       {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}}},
      // Scanned first, the upper-left corner starts the loop and goes right first.
      {"square from its upper-left corner",
       {S(0, 10, 10, 10), S(10, 10, 10, 0), S(10, 0, 0, 0), S(0, 0, 0, 10), S(-5, 20, 0, 10)},
       {{{0, 10}, {10, 10}, {10, 0}, {0, 0}}}},
      // A square split by a vertical chord: the outline by left turns, not the two halves.
      {"outer boundary",
       {S(0, 0, 5, 0), S(5, 0, 10, 0), S(10, 0, 10, 10), S(10, 10, 5, 10), S(5, 10, 0, 10),
        S(0, 10, 0, 0), S(5, 0, 5, 10)},
       {{{0, 0}, {0, 10}, {5, 10}, {10, 10}, {10, 0}, {5, 0}}}},
      {"disjoint loops, leftmost first", Join(Square(50, 0, 10), Square(0, 3, 20)),
       {{{0, 3}, {0, 23}, {20, 23}, {20, 3}}, {{50, 0}, {50, 10}, {60, 10}, {60, 0}}}},
      {"fewer than three segments", {S(0, 0, 10, 0), S(10, 0, 0, 0.5f)}, {}},
      // Two squares joined by a bridge: the walk crosses the bridge, rounds the right square
      // and dead-ends where it entered it. That open chain is no face and must not come back.
      {"a chain that cannot close",
       {S(0, 0, 0, 10), S(0, 10, 10, 10), S(10, 10, 10, 5), S(10, 5, 10, 0), S(10, 0, 0, 0),
        S(10, 5, 20, 5), S(20, 5, 20, 10), S(20, 10, 30, 10), S(30, 10, 30, 0), S(30, 0, 20, 0),
        S(20, 0, 20, 5)},
       {}},
  };
  for (const auto& c : cases) EXPECT_EQ(LoopsOf(LinkFloatSegments(c.in)), c.loops) << c.name;
}

TEST(LinkSegmentsIntoFaces3d, RawArraysAppendToTheCountsAndRefuseLoopsThatDoNotFit) {
  const auto segs = Join(Square(0, 0, 10), Square(50, 0, 10));
  const struct {
    int loopCapacity, pointCapacity, result;
  } cases[] = {{2, 100, 0}, {3, 9, 0}, {3, 10, 1}};
  for (const auto& c : cases) {
    Columns in(segs, 0);
    std::vector<std::int16_t> counts(c.loopCapacity + 1, 7);
    std::vector<float> ox(c.pointCapacity + 1, -7.0f), oy(ox);
    int loopCount = 1, pointCount = 2;  // one loop of two points already there
    EXPECT_EQ(LinkSegmentsIntoFaces3d(in[0], in[1], in[2], in[3], in[4], in[5], 8, &loopCount,
                                      &pointCount, counts.data(), ox.data(), oy.data(),
                                      c.loopCapacity, c.pointCapacity),
              c.result)
        << c.loopCapacity << " " << c.pointCapacity;
    EXPECT_EQ(loopCount, c.result ? 3 : 1);
    EXPECT_EQ(pointCount, c.result ? 10 : 2);
    if (!c.result) continue;
    EXPECT_EQ(counts[1], 7);
    EXPECT_EQ(counts[2], 4);
    EXPECT_EQ(ox[2], -7.0f);  // the earlier points stay
    EXPECT_EQ(ox[3], 0.0f);
    EXPECT_EQ(ox[7], 50.0f);
    EXPECT_EQ(oy[10], 0.0f);
  }
}
