// Tracing the outside loops of an offset's pieces: cleaning, the outer trace by left turns,
// the junction rule, the inside pass, and the capacities of the output.
#include <gtest/gtest.h>

#include <random>

#include "KernelTestSupport.h"

using namespace kerneltest;

TEST(TraceOffsetLoops, CornersMeetingWithinTheWeldClose) {
  std::mt19937 rng(5);
  for (int round = 0; round < 50; ++round) {
    const TraceResult t = TraceOffset(ShakenSquare(rng));
    ASSERT_EQ(t.loops.size(), 1u) << round;
    EXPECT_EQ(t.loops[0].x.size(), 4u);
    EXPECT_NEAR(ShoelaceArea(t.loops[0]), -100.0, 2.0);
  }
}

TEST(TraceOffsetLoops, ShortPiecesGoAndWeldedEndsTakeTheEarliestCoordinates) {
  // The bottom side in three pieces, the middle one shorter than 0.1: it goes, and the
  // piece after it welds onto the end of the piece before.
  std::vector<Seg> segs = {{0, 0, 5, 0}, {5, 0, 5.08, 0}, {5.08, 0, 10, 0}};
  segs.push_back({10, 0, 10, 10});
  segs.push_back({10, 10, 0, 10});
  segs.push_back({0, 10, 0, 0});
  const TraceResult t = TraceOffset(segs);
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
  const TraceResult t = TraceOffset(segs);
  ASSERT_EQ(t.loops.size(), 1u);
  EXPECT_EQ(t.loops[0].x.size(), 4u);
  EXPECT_DOUBLE_EQ(ShoelaceArea(t.loops[0]), -100.0);
}

TEST(TraceOffsetLoops, SeparateSquaresGiveOneLoopEachLeftmostFirst) {
  const TraceResult t = TraceOffset(Join(Square(50, 0, 20), Square(0, 5, 10)));
  ASSERT_EQ(t.loops.size(), 2u);
  EXPECT_EQ(t.loops[0].x[0], 0.0);
  EXPECT_EQ(t.loops[0].y[0], 5.0);
  EXPECT_DOUBLE_EQ(ShoelaceArea(t.loops[0]), -100.0);
  EXPECT_EQ(t.loops[1].x[0], 50.0);
  EXPECT_DOUBLE_EQ(ShoelaceArea(t.loops[1]), -400.0);
}

TEST(TraceOffsetLoops, OnlyTheOutsideOfNestedOrOverlappingSetsIsTraced) {
  // A square inside a square: the inner pieces lie inside the first loop and go.
  const TraceResult nested = TraceOffset(Join(Square(0, 0, 100), Square(20, 20, 10)));
  ASSERT_EQ(nested.loops.size(), 1u);
  EXPECT_DOUBLE_EQ(ShoelaceArea(nested.loops[0]), -10000.0);

  // Two overlapping squares cut at their crossings: the trace keeps to the union's outline.
  const auto pieces = Split(1, Join(Square(0, 0, 10), Square(5, 5, 10)));
  const TraceResult overlap = TraceOffset(pieces);
  ASSERT_EQ(overlap.loops.size(), 1u);
  EXPECT_EQ(overlap.loops[0].x.size(), 8u);
  EXPECT_NEAR(ShoelaceArea(overlap.loops[0]), -175.0, 1e-9);
}

// Squares touching at a corner (a figure eight, as a column exactly twice the distance wide
// leaves two parts of a footprint touching): the ways not taken at the shared corner stay,
// so both squares come back, whichever square the walk enters first.
TEST(TraceOffsetLoops, SquaresTouchingAtACornerBothComeBack) {
  for (const auto& segs : {Join(Square(0, 0, 10), Square(10, 10, 10)),
                           Join(Square(10, 10, 10), Square(0, 0, 10)),
                           Join(Square(0, 10, 10), Square(10, 0, 10))}) {
    const TraceResult t = TraceOffset(segs);
    double area = 0.0;
    for (const Loop& l : t.loops) area += ShoelaceArea(l);
    EXPECT_DOUBLE_EQ(area, -200.0);
  }
}

TEST(TraceOffsetLoops, SetsWithNoOutsideLoop) {
  auto gap = Square(0, 0, 10);
  gap[0].x1 = 0.11;
  const struct {
    const char* what;
    std::vector<Seg> segs;
  } cases[] = {
      // One corner open by 0.11 in x: the dangling passes eat the whole square.
      {"gap of 0.11", gap},
      {"one piece", {{0, 0, 10, 0}}},
      {"two short pieces", {{0, 0, 0.05, 0.05}, {1, 1, 1.09, 1}}},
      // The lowest-point search starts at 1e8: a set wholly beyond it has no start point and
      // ends without a loop instead of tracing from nowhere.
      {"beyond the start search", Square(2e8, 0, 10)},
  };
  for (const auto& c : cases) {
    const TraceResult t = TraceOffset(c.segs);
    EXPECT_EQ(t.status, 1) << c.what;
    EXPECT_TRUE(t.loops.empty()) << c.what;
  }
}
