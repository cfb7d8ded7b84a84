// The end-point hash against a plain scan: every point within the reach comes back, each
// once and ascending, whatever the reach is against the cells (down to a hair, up to wider
// than the whole set, infinite) and however far out the points lie. The tracer that asks the
// widest reaches (its link margin grows with the coordinates) still traces faces whose
// coordinates run to 1e11 and 1e21.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "KernelTestSupport.h"
#include "UniformGrid.h"

using namespace kerneltest;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Points in clusters a few cells across, placed `at` from the origin.
void Clusters(std::mt19937& rng, double at, double cell, std::vector<double>& x, std::vector<double>& y) {
  std::uniform_real_distribution<double> spread(-3 * cell, 3 * cell);
  for (int c = 0; c < 12; ++c) {
    const double cx = at + c * 50 * cell, cy = at - c * 20 * cell;
    for (int k = 0; k < 8; ++k) x.push_back(cx + spread(rng)), y.push_back(cy + spread(rng));
  }
}

}  // namespace

TEST(PointHash, ReturnsEveryPointWithinAnyReachOnceAndAscending) {
  const double places[] = {0.0, -4e5, 1e12, 1e21};
  const double cells[] = {0.2, 1.0};
  const double reaches[] = {0.0, 0.01, 0.1, 0.5, 3.0, 40.0, 1e4, 1e30, kInf, -1.0};
  for (const double at : places) {
    for (const double cell : cells) {
      std::mt19937 rng(static_cast<unsigned>(cell * 10 + std::log10(std::fabs(at) + 1)));
      std::vector<double> x, y;
      Clusters(rng, at, cell, x, y);
      kernel::PointHash hash;
      hash.Build(x, y, cell);
      std::vector<int> got;
      for (const double reach : reaches) {
        for (size_t q = 0; q < x.size(); q += 7) {
          SCOPED_TRACE(testing::Message() << "at " << at << " cell " << cell << " reach " << reach << " point " << q);
          hash.Query(x[q], y[q], reach, got);
          EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
          EXPECT_EQ(std::adjacent_find(got.begin(), got.end()), got.end());
          for (size_t i = 0; i < x.size(); ++i) {
            const bool within = std::fabs(x[i] - x[q]) <= reach && std::fabs(y[i] - y[q]) <= reach;
            if (within) {
              EXPECT_TRUE(std::binary_search(got.begin(), got.end(), static_cast<int>(i))) << i;
            }
          }
          std::vector<int> visited;
          hash.ForEach(x[q], y[q], reach, [&](int i) { visited.push_back(i); });
          std::sort(visited.begin(), visited.end());
          EXPECT_EQ(visited, got);
        }
      }
    }
  }
}

// Faces as the roof union meets them over a band typed 1e11 high, or grown by an overhang
// of 1e21: a rectangle tall against its width, cut in two halfway up and by a slant across
// its foot. The walk stands on its points rounded to single precision, so the heights are
// powers of two, which a float holds exactly (other points that far out lie more than the
// weld off their floats and close no loop).
TEST(TraceLoopsFromSegments, TracesFacesReachingFarOut) {
  for (const double tall : {0x1p17, 0x1p37, 0x1p52, 0x1p70}) {
    SCOPED_TRACE(tall);
    const double w = 20000.0;
    std::vector<Seg> segs = {{0, 0, w, 0},        {w, 0, w, tall},         {w, tall, 0, tall},
                             {0, tall, 0, 0},     {0, tall / 2, w, tall / 2}, {0, 1000, w, 0}};
    const auto r = Trace(Split(1, segs));
    ASSERT_EQ(r.status, 1);
    ASSERT_EQ(r.loops.size(), 3u);
    double sum = 0.0;
    for (const Loop& l : r.loops) sum += std::fabs(ShoelaceArea(l));
    EXPECT_NEAR(sum, w * tall, w * tall * 1e-6);
  }
}
