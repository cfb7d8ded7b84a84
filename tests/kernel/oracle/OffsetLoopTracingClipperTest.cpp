// The offset loop tracer on the cut-up sides of overlapping squares: its loops are the outer
// rings of the squares' union, as Clipper unites them (holes left out: the tracer drops what
// lies inside a loop it has traced).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "KernelTestSupport.h"
#include "clipper.hpp"

using namespace kerneltest;

namespace {

constexpr double kScale = 10000.0;

// Whether any two of the values lie closer than gap (sides that nearly meet would be welded).
bool Crowded(std::vector<double> values, double gap) {
  std::sort(values.begin(), values.end());
  for (size_t i = 1; i < values.size(); ++i)
    if (values[i] - values[i - 1] < gap) return true;
  return false;
}

}  // namespace

TEST(TraceOffsetLoopsAgainstClipper, OuterRingsOfUnitedSquares) {
  std::mt19937 rng(13);
  std::uniform_real_distribution<double> at(0.0, 100.0), side(10.0, 40.0);
  std::uniform_int_distribution<int> howMany(2, 7);
  int compared = 0, several = 0;
  for (int round = 0; round < 400 && compared < 150; ++round) {
    const int count = howMany(rng);
    std::vector<Seg> sides;
    std::vector<double> xs, ys;
    ClipperLib::Paths squares;
    for (int s = 0; s < count; ++s) {
      const double x0 = at(rng), y0 = at(rng), w = side(rng);
      xs.insert(xs.end(), {x0, x0 + w});
      ys.insert(ys.end(), {y0, y0 + w});
      sides = Join(sides, Square(x0, y0, w));
      auto i = [](double v) { return static_cast<ClipperLib::cInt>(std::llround(v * kScale)); };
      squares.push_back(
          {{i(x0), i(y0)}, {i(x0 + w), i(y0)}, {i(x0 + w), i(y0 + w)}, {i(x0), i(y0 + w)}});
    }
    if (Crowded(xs, 0.5) || Crowded(ys, 0.5)) continue;

    ClipperLib::Clipper unite;
    unite.AddPaths(squares, ClipperLib::ptSubject, true);
    ClipperLib::Paths united;
    unite.Execute(ClipperLib::ctUnion, united, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    std::vector<double> expected;
    for (const auto& p : united)
      if (ClipperLib::Orientation(p)) expected.push_back(ClipperLib::Area(p) / (kScale * kScale));
    std::sort(expected.begin(), expected.end());

    const TraceResult traced = TraceOffset(Split(1, sides));
    ASSERT_EQ(traced.status, 1);
    std::vector<double> got;
    for (const Loop& l : traced.loops) {
      EXPECT_LT(ShoelaceArea(l), 0.0) << "outer loops run clockwise";
      got.push_back(-ShoelaceArea(l));
    }
    std::sort(got.begin(), got.end());
    ++compared;
    ASSERT_EQ(got.size(), expected.size()) << "round " << round;
    for (size_t k = 0; k < got.size(); ++k)  // Clipper rounds the corners to 1e-4.
      EXPECT_NEAR(got[k], expected[k], 0.02) << "round " << round;
    if (expected.size() > 1) ++several;
  }
  EXPECT_GE(compared, 150);
  EXPECT_GT(several, 10);
}
