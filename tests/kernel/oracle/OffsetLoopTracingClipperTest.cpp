// The offset loop tracer on the cut-up sides of overlapping squares: its loops are the outer
// rings of the squares' union, as Clipper unites them (holes left out: the tracer drops what
// lies inside a loop it has traced).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "KernelTestSupport.h"
#include "OffsetLoopTracing.h"
#include "clipper.hpp"

using kerneltest::Loop;
using kerneltest::Seg;
using kerneltest::SegArrays;
using kerneltest::ShoelaceArea;

namespace {

constexpr double kScale = 10000.0;

std::vector<Loop> TraceOffset(const std::vector<Seg>& segs) {
  SegArrays in(segs);
  const int loopRoom = 1000, pointRoom = 10000;
  std::vector<std::int16_t> sizes(loopRoom + 1, 0);
  std::vector<double> lx(pointRoom + 1, 0.0), ly(pointRoom + 1, 0.0);
  int loopCount = 0;
  EXPECT_EQ(TraceOffsetLoops(in.Count(), in.x1.data(), in.y1.data(), in.x2.data(), in.y2.data(),
                             &loopCount, sizes.data(), lx.data(), ly.data(), loopRoom, pointRoom),
            1);
  std::vector<Loop> loops;
  int at = 0;
  for (int l = 1; l <= loopCount; ++l) {
    Loop loop;
    for (int p = 0; p < sizes[l]; ++p) {
      ++at;
      loop.x.push_back(lx[at]);
      loop.y.push_back(ly[at]);
    }
    loops.push_back(loop);
  }
  return loops;
}

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
      sides.push_back({x0, y0, x0 + w, y0});
      sides.push_back({x0 + w, y0, x0 + w, y0 + w});
      sides.push_back({x0 + w, y0 + w, x0, y0 + w});
      sides.push_back({x0, y0 + w, x0, y0});
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

    const std::vector<Loop> loops = TraceOffset(kerneltest::Split(1, sides));
    std::vector<double> got;
    for (const Loop& l : loops) {
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
