// Tracing the outside loops of an offset's pieces: cleaning, the outer trace by left turns,
// the junction rule, the inside pass, and the capacities of the output.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "KernelTestSupport.h"
#include "OffsetLoopTracing.h"

using kerneltest::Loop;
using kerneltest::Seg;
using kerneltest::SegArrays;
using kerneltest::ShoelaceArea;

namespace {

struct Traced {
  int status = -1;
  std::vector<Loop> loops;
};

Traced TraceOffset(const std::vector<Seg>& segs, int loopCapacity = 100, int pointCapacity = 1000) {
  SegArrays in(segs);
  std::vector<std::int16_t> sizes(loopCapacity + 1, 0);
  std::vector<double> lx(pointCapacity + 1, 0.0), ly(pointCapacity + 1, 0.0);
  int loopCount = 0;
  Traced t;
  t.status =
      TraceOffsetLoops(in.Count(), in.x1.data(), in.y1.data(), in.x2.data(), in.y2.data(),
                       &loopCount, sizes.data(), lx.data(), ly.data(), loopCapacity, pointCapacity);
  int at = 0;
  for (int l = 1; l <= loopCount; ++l) {
    Loop loop;
    for (int p = 0; p < sizes[l]; ++p) {
      ++at;
      loop.x.push_back(lx[at]);
      loop.y.push_back(ly[at]);
    }
    t.loops.push_back(loop);
  }
  return t;
}

std::vector<Seg> Square(double x0, double y0, double side) {
  return {{x0, y0, x0 + side, y0},
          {x0 + side, y0, x0 + side, y0 + side},
          {x0 + side, y0 + side, x0, y0 + side},
          {x0, y0 + side, x0, y0}};
}

std::vector<Seg> Join(std::vector<Seg> a, const std::vector<Seg>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(TraceOffsetLoops, SquareTracesClockwiseFromItsLowestLeftCorner) {
  const Traced t = TraceOffset(Square(0, 0, 10));
  ASSERT_EQ(t.status, 1);
  ASSERT_EQ(t.loops.size(), 1u);
  const Loop& l = t.loops[0];
  const double ex[] = {0, 0, 10, 10}, ey[] = {0, 10, 10, 0};
  ASSERT_EQ(l.x.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(l.x[i], ex[i]) << i;
    EXPECT_EQ(l.y[i], ey[i]) << i;
  }
  EXPECT_DOUBLE_EQ(ShoelaceArea(l), -100.0);
}

TEST(TraceOffsetLoops, CornersMeetingWithinTheWeldCloseButAGapOfElevenHundredthsDoesNot) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> jitter(-0.045, 0.045);
  for (int round = 0; round < 50; ++round) {
    auto sides = Square(0, 0, 10);
    std::shuffle(sides.begin(), sides.end(), rng);
    for (Seg& s : sides) {
      if (rng() % 2) std::swap(s.x1, s.x2), std::swap(s.y1, s.y2);
      s.x1 += jitter(rng), s.y1 += jitter(rng), s.x2 += jitter(rng), s.y2 += jitter(rng);
    }
    const Traced t = TraceOffset(sides);
    ASSERT_EQ(t.loops.size(), 1u) << round;
    EXPECT_EQ(t.loops[0].x.size(), 4u);
    EXPECT_NEAR(ShoelaceArea(t.loops[0]), -100.0, 2.0);
  }
  // One corner open by 0.11 in x: the dangling passes eat the whole square.
  auto gap = Square(0, 0, 10);
  gap[0].x1 = 0.11;
  EXPECT_TRUE(TraceOffset(gap).loops.empty());
}

TEST(TraceOffsetLoops, ShortPiecesGoAndWeldedEndsTakeTheEarliestCoordinates) {
  // The bottom side in three pieces, the middle one shorter than 0.1: it goes, and the
  // piece after it welds onto the end of the piece before.
  std::vector<Seg> segs = {{0, 0, 5, 0}, {5, 0, 5.08, 0}, {5.08, 0, 10, 0}};
  segs.push_back({10, 0, 10, 10});
  segs.push_back({10, 10, 0, 10});
  segs.push_back({0, 10, 0, 0});
  const Traced t = TraceOffset(segs);
  ASSERT_EQ(t.loops.size(), 1u);
  const Loop& l = t.loops[0];
  ASSERT_EQ(l.x.size(), 5u);
  EXPECT_EQ(l.x[4], 5.0);
  EXPECT_EQ(l.y[4], 0.0);
  EXPECT_DOUBLE_EQ(ShoelaceArea(l), -100.0);
}

TEST(TraceOffsetLoops, DoubledPiecesSurviveOnce) {
  // A spur drawn twice (once backwards) would hold itself up against the dangling pass and
  // lead the walk into a dead end; kept once, it dangles and goes. The top side is doubled too.
  auto segs = Square(0, 0, 10);
  segs.push_back({10, 10, 15, 15});
  segs.push_back({15, 15, 10, 10});
  segs.push_back({0, 10, 10, 10});
  const Traced t = TraceOffset(segs);
  ASSERT_EQ(t.loops.size(), 1u);
  EXPECT_EQ(t.loops[0].x.size(), 4u);
  EXPECT_DOUBLE_EQ(ShoelaceArea(t.loops[0]), -100.0);
}

TEST(TraceOffsetLoops, AtAJunctionEveryWayIsUsedUp) {
  // A figure eight: the walk takes the left turn into the upper square at the shared corner
  // and uses up the other ways there, so it cannot come back through that corner.
  const Traced t = TraceOffset(Join(Square(0, 0, 10), Square(10, 10, 10)));
  EXPECT_EQ(t.status, 1);
  EXPECT_TRUE(t.loops.empty());
}

TEST(TraceOffsetLoops, SeparateSquaresGiveOneLoopEachLeftmostFirst) {
  const Traced t = TraceOffset(Join(Square(50, 0, 20), Square(0, 5, 10)));
  ASSERT_EQ(t.loops.size(), 2u);
  EXPECT_EQ(t.loops[0].x[0], 0.0);
  EXPECT_EQ(t.loops[0].y[0], 5.0);
  EXPECT_DOUBLE_EQ(ShoelaceArea(t.loops[0]), -100.0);
  EXPECT_EQ(t.loops[1].x[0], 50.0);
  EXPECT_DOUBLE_EQ(ShoelaceArea(t.loops[1]), -400.0);
}

TEST(TraceOffsetLoops, OnlyTheOutsideOfNestedOrOverlappingSetsIsTraced) {
  // A square inside a square: the inner pieces lie inside the first loop and go.
  const Traced nested = TraceOffset(Join(Square(0, 0, 100), Square(20, 20, 10)));
  ASSERT_EQ(nested.loops.size(), 1u);
  EXPECT_DOUBLE_EQ(ShoelaceArea(nested.loops[0]), -10000.0);

  // Two overlapping squares cut at their crossings: the trace keeps to the union's outline.
  const auto pieces = kerneltest::Split(1, Join(Square(0, 0, 10), Square(5, 5, 10)));
  const Traced overlap = TraceOffset(pieces);
  ASSERT_EQ(overlap.loops.size(), 1u);
  EXPECT_EQ(overlap.loops[0].x.size(), 8u);
  EXPECT_NEAR(ShoelaceArea(overlap.loops[0]), -175.0, 1e-9);
}

TEST(TraceOffsetLoops, OpenChainsAndTooFewPiecesGiveNoLoop) {
  EXPECT_TRUE(TraceOffset({{0, 0, 10, 0}, {10, 0, 10, 10}, {10, 10, 0, 10}}).loops.empty());
  EXPECT_TRUE(TraceOffset({{0, 0, 10, 0}}).loops.empty());
  const Traced empty = TraceOffset({});
  EXPECT_EQ(empty.status, 1);
  EXPECT_TRUE(empty.loops.empty());
  EXPECT_TRUE(TraceOffset({{0, 0, 0.05, 0.05}, {1, 1, 1.09, 1}}).loops.empty());
  // An open chain hanging off a square is eaten end first and leaves the square.
  auto tail = Square(0, 0, 10);
  tail.push_back({10, 10, 15, 12});
  tail.push_back({15, 12, 18, 20});
  const Traced t = TraceOffset(tail);
  ASSERT_EQ(t.loops.size(), 1u);
  EXPECT_DOUBLE_EQ(ShoelaceArea(t.loops[0]), -100.0);
}

TEST(TraceOffsetLoops, EndsBeyondTheStartSearchAreNeverTraced) {
  // The lowest-point search starts at 1e8: a set lying wholly beyond it has no start point
  // and ends without a loop instead of tracing from nowhere.
  const Traced t = TraceOffset(Square(2e8, 0, 10));
  EXPECT_EQ(t.status, 1);
  EXPECT_TRUE(t.loops.empty());
}

TEST(TraceOffsetLoops, RefusesWhenTheOutputCannotHoldTheLoops) {
  const auto two = Join(Square(0, 0, 10), Square(50, 0, 10));
  const Traced oneLoopOnly = TraceOffset(two, 1, 100);
  EXPECT_EQ(oneLoopOnly.status, 0);
  EXPECT_TRUE(oneLoopOnly.loops.empty());
  const Traced sevenPoints = TraceOffset(two, 10, 7);
  EXPECT_EQ(sevenPoints.status, 0);
  EXPECT_TRUE(sevenPoints.loops.empty());
  EXPECT_EQ(TraceOffset(two, 2, 8).loops.size(), 2u);
}
