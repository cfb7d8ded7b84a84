// Random and degenerate segment lists (coincident, collinear, zero-length, on a coarse grid)
// through the splitter and the tracer. The checks are the contracts that must hold for any
// input: counts within the caller's capacity, points inside the input's extent, and a
// refused call leaving nothing behind. Run under the sanitizers this also checks memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "KernelTestSupport.h"

using namespace kerneltest;

namespace {

std::vector<Seg> RandomDegenerateList(std::mt19937& rng) {
  std::uniform_int_distribution<int> grid(0, 8), kind(0, 9), count(0, 14);
  std::uniform_real_distribution<double> jitter(-0.12, 0.12);
  std::vector<Seg> segs;
  const int n = count(rng);
  for (int i = 0; i < n; ++i) {
    Seg s{double(grid(rng)), double(grid(rng)), double(grid(rng)), double(grid(rng)), float(i)};
    switch (kind(rng)) {
      case 0:  // zero length
        s.x2 = s.x1, s.y2 = s.y1;
        break;
      case 1:  // nearly zero length
        s.x2 = s.x1 + 0.004, s.y2 = s.y1 - 0.003;
        break;
      case 2:  // repeat an earlier one, maybe reversed
        if (!segs.empty()) {
          s = segs[rng() % segs.size()];
          if (rng() % 2) std::swap(s.x1, s.x2), std::swap(s.y1, s.y2);
        }
        break;
      case 3:  // ends shaken within the weld distance
        s.x1 += jitter(rng), s.y1 += jitter(rng), s.x2 += jitter(rng), s.y2 += jitter(rng);
        break;
      case 4:  // collinear with an earlier one, sharing its line
        if (!segs.empty()) {
          const Seg& t = segs[rng() % segs.size()];
          const double a = double(grid(rng)) / 4 - 0.5, b = double(grid(rng)) / 4 - 0.5;
          s = {t.x1 + a * (t.x2 - t.x1), t.y1 + a * (t.y2 - t.y1), t.x1 + b * (t.x2 - t.x1),
               t.y1 + b * (t.y2 - t.y1), float(i)};
        }
        break;
      default:
        break;
    }
    segs.push_back(s);
  }
  return segs;
}

struct Extent {
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  explicit Extent(const std::vector<Seg>& segs) {
    for (const Seg& s : segs) {
      minX = std::min({minX, s.x1, s.x2}), maxX = std::max({maxX, s.x1, s.x2});
      minY = std::min({minY, s.y1, s.y2}), maxY = std::max({maxY, s.y1, s.y2});
    }
  }
  bool Holds(double x, double y, double margin) const {
    return x >= minX - margin && x <= maxX + margin && y >= minY - margin && y <= maxY + margin;
  }
};

}  // namespace

TEST(KernelFuzz, SplitterAndTracerOnRandomDegenerateLists) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 400; ++round) {
    const auto segs = RandomDegenerateList(rng);
    const Extent extent(segs);
    for (int mode : {0, 1, 2}) {
      const auto pieces = Split(mode, segs, 2000);
      for (const Seg& p : pieces) {
        ASSERT_TRUE(extent.Holds(p.x1, p.y1, 0.02) && extent.Holds(p.x2, p.y2, 0.02))
            << "round " << round << " mode " << mode;
      }
      // Too small an output: refused, nothing returned.
      if (!pieces.empty()) {
        EXPECT_TRUE(Split(mode, segs, int(pieces.size()) - 1).empty());
      }

      const auto traced = Trace(pieces, 500, 5000);
      ASSERT_EQ(traced.status, 1) << "round " << round;
      for (const Loop& l : traced.loops) {
        ASSERT_FALSE(l.x.empty());
        for (size_t p = 0; p < l.x.size(); ++p) {
          ASSERT_TRUE(extent.Holds(l.x[p], l.y[p], 0.2)) << "round " << round;
        }
      }
      const auto tight = Trace(pieces, 1, 3);
      if (traced.loops.size() > 1 || (traced.loops.size() == 1 && traced.loops[0].x.size() > 3)) {
        EXPECT_EQ(tight.status, 0);
        EXPECT_TRUE(tight.loops.empty());
      }
      // The raw list goes to the tracer too (uncut crossings, repeats, zero lengths).
      EXPECT_EQ(Trace(segs, 500, 5000).status, 1);
    }
  }
}
