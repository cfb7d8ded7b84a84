// Tracing loops from segment lists: the documented cases, and on random arrangements the
// oracles "loop areas sum to the area of the bounded regions" and Euler's face count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "KernelTestSupport.h"

using namespace kerneltest;

namespace {

double TotalArea(const TraceResult& r) {
  double sum = 0.0;
  for (const Loop& l : r.loops) sum += std::fabs(ShoelaceArea(l));
  return sum;
}

// What both tracers share: a square from its lowest-left corner clockwise, no loop where
// nothing closes, and refusal of an output too small for the loops.
class BothTracers : public testing::TestWithParam<bool> {
 protected:
  TraceResult Run(const std::vector<Seg>& segs, int loopCapacity = 100,
                  int pointCapacity = 1000) const {
    return GetParam() ? TraceOffset(segs, loopCapacity, pointCapacity)
                      : Trace(segs, loopCapacity, pointCapacity);
  }
};

INSTANTIATE_TEST_SUITE_P(Tracers, BothTracers, testing::Bool(),
                         [](const auto& info) { return info.param ? "Offset" : "Plain"; });

}  // namespace

TEST_P(BothTracers, SquareTracesClockwiseFromLowerLeft) {
  const auto r = Run(Square(0, 0, 10));
  ASSERT_EQ(r.status, 1);
  ASSERT_EQ(r.loops.size(), 1u);
  const Loop& l = r.loops[0];
  EXPECT_EQ(l.x, (std::vector<double>{0, 0, 10, 10}));
  EXPECT_EQ(l.y, (std::vector<double>{0, 10, 10, 0}));
  EXPECT_DOUBLE_EQ(ShoelaceArea(l), -100.0);
}

TEST_P(BothTracers, NothingClosedGivesNoLoop) {
  const auto open = Run({{0, 0, 10, 0}, {10, 0, 10, 10}, {10, 10, 0, 10}});
  EXPECT_EQ(open.status, 1);
  EXPECT_TRUE(open.loops.empty());
  const auto empty = Run({});
  EXPECT_EQ(empty.status, 1);
  EXPECT_TRUE(empty.loops.empty());
  EXPECT_TRUE(Run({{0, 0, 0.05, 0.05}}).loops.empty());
  // An open chain hanging off a square goes and leaves the square.
  auto tail = Square(0, 0, 10);
  tail.push_back({10, 10, 15, 12});
  tail.push_back({15, 12, 18, 20});
  const auto one = Run(tail);
  ASSERT_EQ(one.loops.size(), 1u);
  EXPECT_DOUBLE_EQ(ShoelaceArea(one.loops[0]), -100.0);
}

TEST_P(BothTracers, RefusesWhenTheOutputCannotHoldTheLoops) {
  const auto two = Join(Square(0, 0, 10), Square(50, 0, 10));
  for (auto [loops, points] : {std::pair{2, 7}, {1, 100}}) {
    const auto noRoom = Run(two, loops, points);
    EXPECT_EQ(noRoom.status, 0) << loops << " " << points;
    EXPECT_TRUE(noRoom.loops.empty());
  }
  EXPECT_EQ(Run(two, 2, 8).loops.size(), 2u);
}

TEST(TraceLoopsFromSegments, SquareInAnyOrderAndDirectionWithGapsUpToTheWeld) {
  std::mt19937 rng(99);
  for (int round = 0; round < 100; ++round) {
    const auto sides = ShakenSquare(rng);
    const auto r = Trace(sides);
    ASSERT_EQ(r.loops.size(), 1u) << "round " << round;
    const Loop& l = r.loops[0];
    ASSERT_EQ(l.x.size(), 4u);
    EXPECT_NEAR(ShoelaceArea(l), -100.0, 2.0);
    // Each corner takes the first end listed there; the start is the leftmost of those.
    std::vector<std::pair<double, double>> corners;
    for (const Seg& s : sides) {
      for (auto [x, y] : {std::pair{s.x1, s.y1}, {s.x2, s.y2}}) {
        if (std::none_of(corners.begin(), corners.end(), [&](const auto& c) {
              return std::fabs(c.first - x) <= 0.1 && std::fabs(c.second - y) <= 0.1;
            }))
          corners.push_back({x, y});
      }
    }
    ASSERT_EQ(corners.size(), 4u);
    const auto start = *std::min_element(corners.begin(), corners.end());
    EXPECT_EQ(l.x[0], static_cast<double>(static_cast<float>(start.first)));
    EXPECT_EQ(l.y[0], static_cast<double>(static_cast<float>(start.second)));
  }
}

TEST(TraceLoopsFromSegments, TwoSquaresSharingASide) {
  const auto two = Trace(Join(Square(0, 0, 10), Square(10, 0, 10)));
  ASSERT_EQ(two.loops.size(), 2u);
  for (const Loop& l : two.loops) {
    EXPECT_EQ(l.x.size(), 4u);
    EXPECT_NEAR(ShoelaceArea(l), -100.0, 1e-9);
  }
}

// Chords across a box: the arrangement is connected, its bounded regions tile the box and
// its face count is 1 + chords + interior crossings. Also far from the origin, where the walk
// stands on its points rounded to single precision (up to 0.03 off at 5e5).
class ChordsAcrossABox : public testing::TestWithParam<double> {};

INSTANTIATE_TEST_SUITE_P(Placed, ChordsAcrossABox, testing::Values(0.0, 1e5, -3e5, 5e5));

TEST_P(ChordsAcrossABox, TileTheBox) {
  const double X0 = GetParam(), Y0 = -GetParam() / 2;
  std::mt19937 rng(31);
  std::uniform_real_distribution<double> along(50.0, 950.0);
  const double W = 1000.0, H = 800.0;
  int checked = 0, withCrossings = 0;
  for (int round = 0; round < 60 && checked < 30; ++round) {
    const int k = 1 + round % 6;
    std::vector<Seg> chords;
    for (int c = 0; c < k; ++c) {
      // Ends on two different sides of the box.
      auto onSide = [&](int side, double* x, double* y) {
        const double t = along(rng);
        if (side == 0) *x = t, *y = 0;
        if (side == 1) *x = W, *y = t * H / W;
        if (side == 2) *x = t, *y = H;
        if (side == 3) *x = 0, *y = t * H / W;
      };
      const int s1 = static_cast<int>(rng() % 4);
      const int s2 = (s1 + 1 + static_cast<int>(rng() % 3)) % 4;
      Seg s{};
      onSide(s1, &s.x1, &s.y1);
      onSide(s2, &s.x2, &s.y2);
      chords.push_back(s);
    }
    // Count interior crossings exactly; skip arrangements that come close to degenerate
    // (crossings near each other, near a chord end or at a grazing angle).
    std::vector<std::pair<double, double>> points;
    for (const Seg& s : chords) points.push_back({s.x1, s.y1}), points.push_back({s.x2, s.y2});
    int crossings = 0;
    bool degenerate = false;
    for (int a = 0; a < k; ++a) {
      for (int b = a + 1; b < k; ++b) {
        if (const auto c = ProperCrossing(chords[a], chords[b])) {
          ++crossings;
          points.push_back({c->x, c->y});
          degenerate = degenerate || c->sine < 0.05;
        }
      }
    }
    for (size_t a = 0; a < points.size(); ++a)
      for (size_t b = a + 1; b < points.size(); ++b)
        if (std::hypot(points[a].first - points[b].first, points[a].second - points[b].second) < 5.0)
          degenerate = true;
    if (degenerate) continue;

    std::vector<Seg> segs{{0, 0, W, 0}, {W, 0, W, H}, {W, H, 0, H}, {0, H, 0, 0}};
    segs.insert(segs.end(), chords.begin(), chords.end());
    segs.push_back({W, H, W + 300, H + 100});  // a dangling segment outside: pruned
    for (Seg& s : segs) s.x1 += X0, s.x2 += X0, s.y1 += Y0, s.y2 += Y0;
    const auto pieces = Split(1, segs);
    const auto r = Trace(pieces);
    ASSERT_EQ(r.status, 1);
    EXPECT_EQ(static_cast<int>(r.loops.size()), 1 + k + crossings) << "round " << round;
    // Every point of a loop comes back in single precision: half a float step off.
    const double rounding = 2 * (W + H + 2 * H) * std::ldexp(std::fabs(X0) + W, -24);
    EXPECT_NEAR(TotalArea(r), W * H, 1e-4 * W * H + rounding) << "round " << round;
    for (const Loop& l : r.loops) EXPECT_LT(ShoelaceArea(l), 0.0) << "loops run clockwise";
    ++checked;
    if (crossings > 0) ++withCrossings;
  }
  EXPECT_GE(checked, 10);
  EXPECT_GE(withCrossings, 5);
}

// Two rectangles crossing as a plus: five faces whose areas add up to the union.
TEST(TraceLoopsFromSegments, CrossingRectanglesGiveTheUnionArea) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  auto rect = [](double x0, double y0, double x1, double y1) {
    return std::vector<Seg>{{x0, y0, x1, y0}, {x1, y0, x1, y1}, {x1, y1, x0, y1}, {x0, y1, x0, y0}};
  };
  for (int round = 0; round < 30; ++round) {
    const double ax0 = 0, ax1 = 100 + 100 * u(rng), ay0 = 40 + 10 * u(rng), ay1 = 60 + 10 * u(rng);
    const double bx0 = 30 + 20 * u(rng), bx1 = bx0 + 10 + 20 * u(rng), by0 = 0, by1 = 100 + 50 * u(rng);
    auto segs = rect(ax0, ay0, ax1, ay1);
    const auto b = rect(bx0, by0, bx1, by1);
    segs.insert(segs.end(), b.begin(), b.end());
    const double unionArea = (ax1 - ax0) * (ay1 - ay0) + (bx1 - bx0) * (by1 - by0) -
                             (bx1 - bx0) * (ay1 - ay0);
    const auto r = Trace(Split(1, segs));
    ASSERT_EQ(r.loops.size(), 5u) << "round " << round;
    EXPECT_NEAR(TotalArea(r), unionArea, 1e-3) << "round " << round;
  }
}

// Faces as the roof union meets them over a band typed 1e11 high, or grown by an overhang of
// 1e21, where the link margin, growing with the coordinates, is at its widest: a rectangle
// tall against its width, cut in two halfway up and by a slant across its foot. The walk
// stands on its points rounded to single precision, so the heights are powers of two, which
// a float holds exactly (other points that far out lie more than the weld off their floats
// and close no loop).
TEST(TraceLoopsFromSegments, TracesFacesReachingFarOut) {
  for (const double tall : {0x1p17, 0x1p37, 0x1p52, 0x1p70}) {
    SCOPED_TRACE(tall);
    const double w = 20000.0;
    std::vector<Seg> segs = {{0, 0, w, 0},        {w, 0, w, tall},         {w, tall, 0, tall},
                             {0, tall, 0, 0},     {0, tall / 2, w, tall / 2}, {0, 1000, w, 0}};
    const auto r = Trace(Split(1, segs));
    ASSERT_EQ(r.status, 1);
    ASSERT_EQ(r.loops.size(), 3u);
    EXPECT_NEAR(TotalArea(r), w * tall, w * tall * 1e-6);
  }
}
