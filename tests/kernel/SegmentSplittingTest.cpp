// Cutting segment lists at their crossings: the documented cases, and the oracles "total
// length is kept less the dropped duplicates" and "no two pieces cross in their interiors".
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "KernelTestSupport.h"

using namespace kerneltest;

namespace {

void ExpectPieces(const std::vector<Seg>& got, const std::vector<Seg>& expected) {
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    const Seg &g = got[i], &e = expected[i];
    EXPECT_TRUE(std::fabs(g.x1 - e.x1) < 1e-9 && std::fabs(g.y1 - e.y1) < 1e-9 &&
                std::fabs(g.x2 - e.x2) < 1e-9 && std::fabs(g.y2 - e.y2) < 1e-9 && g.attr == e.attr)
        << "piece " << i << ": " << g.x1 << "," << g.y1 << " -> " << g.x2 << "," << g.y2;
  }
}

double TotalLength(const std::vector<Seg>& segs) {
  double sum = 0.0;
  for (const Seg& s : segs) sum += s.Length();
  return sum;
}

}  // namespace

// An X cuts both segments in two; a T cuts only the crossed one, whose pieces run in
// ascending x while the uncut one keeps its direction; a steep segment's run in ascending y.
TEST(SplitSegmentsAtCrossings, CrossingsAndTJunctions) {
  ExpectPieces(Split(1, {{0, 0, 10, 10, 1.5f}, {0, 10, 10, 0, 2.5f}}),
               {{0, 0, 5, 5, 1.5f}, {5, 5, 10, 10, 1.5f}, {0, 10, 5, 5, 2.5f}, {5, 5, 10, 0, 2.5f}});
  ExpectPieces(Split(1, {{10, 0, 0, 0, 1}, {5, 0, 5, 5, 2}}),
               {{0, 0, 5, 0, 1}, {5, 0, 10, 0, 1}, {5, 0, 5, 5, 2}});
  const auto steep = Split(2, {{1, 10, 0, 0, 1}, {-5, 5, 5, 5, 2}});
  ASSERT_EQ(steep.size(), 4u);
  EXPECT_LT(steep[0].y1, steep[0].y2);
  EXPECT_NEAR(steep[0].y2, 5.0, 1e-9);
}

TEST(SplitSegmentsAtCrossings, SlopeOfExactly555Or666IsNotUprightOrLevel) {
  // Slopes 555 (dx 20, dy 11100) and 666 (dx 10, dy 6660) are the sentinel values of upright
  // and level lines; such a sloped segment still crosses an upright and a level one.
  for (const Seg& steep : {Seg{0, 0, 20, 11100, 1}, Seg{0, 0, 10, 6660, 1}}) {
    const double mx = steep.x2 / 2, my = steep.y2 / 2;
    EXPECT_EQ(Split(1, {steep, {mx, -5, mx, 20000, 2}}).size(), 4u) << steep.y2;
    EXPECT_EQ(Split(1, {steep, {-5, my, 30, my, 2}}).size(), 4u) << steep.y2;
  }
}

TEST(SplitSegmentsAtCrossings, CollinearOverlapByMode) {
  const std::vector<Seg> horizontal{{0, 0, 10, 0, 1}, {5, 0, 15, 0, 2}};
  EXPECT_EQ(Split(2, horizontal).size(), 4u);
  ExpectPieces(Split(1, horizontal), {{0, 0, 5, 0, 1}, {5, 0, 10, 0, 1}, {10, 0, 15, 0, 2}});
  ExpectPieces(Split(0, horizontal), {{0, 0, 5, 0, 1}, {10, 0, 15, 0, 2}});

  // The same along a sloped line (turned into the first segment's frame).
  const std::vector<Seg> sloped{{0, 0, 10, 10, 1}, {15, 15, 5, 5, 2}};
  EXPECT_EQ(Split(2, sloped).size(), 4u);
  EXPECT_EQ(Split(1, sloped).size(), 3u);
  const auto slopedNone = Split(0, sloped);
  ASSERT_EQ(slopedNone.size(), 2u);
  EXPECT_NEAR(TotalLength(slopedNone), 2 * 5 * std::sqrt(2.0), 1e-4);

  // Vertical, and an exact reversed duplicate.
  const std::vector<Seg> vertical{{3, 0, 3, 10, 1}, {3, 10, 3, 0, 2}};
  EXPECT_EQ(Split(1, vertical).size(), 1u);
  EXPECT_EQ(Split(0, vertical).size(), 0u);
}

TEST(SplitSegmentsAtCrossings, ShortSegmentsAndEmptyInput) {
  EXPECT_TRUE(Split(1, {{0, 0, 0.005, 0.009, 1}}).empty());
  EXPECT_TRUE(Split(1, {}).empty());
  // A short segment still cuts a long one it touches, but gives no piece of its own.
  const auto out = Split(2, {{0, 0, 10, 0, 1}, {4, 0, 4.005, 0.005, 2}});
  ASSERT_EQ(out.size(), 2u);
  EXPECT_NEAR(out[0].x2, 4.0, 1e-9);
}

TEST(SplitSegmentsAtCrossings, RefusesWhenTheOutputCannotHoldThePieces) {
  const std::vector<Seg> x{{0, 0, 10, 10, 1}, {0, 10, 10, 0, 2}};
  EXPECT_TRUE(Split(1, x, 3).empty());
  EXPECT_EQ(Split(1, x, 4).size(), 4u);
}

TEST(SplitSegmentsAtCrossings, RandomSetsKeepTheirLengthAndNoPiecesCross) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> u(0.0, 1000.0);
  for (int round = 0; round < 25; ++round) {
    std::vector<Seg> segs;
    const int n = 5 + round % 20;
    for (int i = 0; i < n; ++i) segs.push_back({u(rng), u(rng), u(rng), u(rng), float(i)});
    // A few exact copies, some reversed: mode 1 keeps one of each, mode 0 none.
    double duplicated = 0.0;
    std::vector<Seg> withCopies = segs;
    for (int c = 0; c < 3; ++c) {
      const Seg& s = segs[static_cast<size_t>(c * 2)];
      withCopies.push_back(c % 2 ? Seg{s.x2, s.y2, s.x1, s.y1, 99} : Seg{s.x1, s.y1, s.x2, s.y2, 99});
      duplicated += s.Length();
    }
    const double base = TotalLength(segs);
    for (int mode : {0, 1, 2}) {
      const auto pieces = Split(mode, withCopies);
      const double expected = mode == 2 ? base + duplicated : mode == 1 ? base : base - duplicated;
      EXPECT_NEAR(TotalLength(pieces), expected, 1e-6 * base) << "round " << round << " mode " << mode;
      for (size_t p = 0; p < pieces.size(); ++p)
        for (size_t q = p + 1; q < pieces.size(); ++q)
          ASSERT_FALSE(CrossInInteriors(pieces[p], pieces[q], 0.05))
              << "round " << round << " mode " << mode << " pieces " << p << ", " << q;
    }
  }
}

TEST(SplitSegmentList, CutOnlySegmentsCutTheOthersButYieldNoPieces) {
  // The X above with its second segment cut-only: only the first's halves come out.
  const auto x = SplitSegmentList(1, {{0, 0, 10, 10, 1.5f}, {0, 10, 10, 0, 2.5f, true}});
  ASSERT_EQ(x.size(), 2u);
  EXPECT_TRUE(x[0].x2 == 5.0 && x[0].y2 == 5.0 && x[1].x1 == 5.0 && x[0].attr == 1.5f);
  // A cut-only segment has no pieces to drop a later copy with.
  EXPECT_EQ(SplitSegmentList(1, {{0, 0, 10, 0, 1, true}, {0, 0, 10, 0, 2}}).size(), 1u);
}
