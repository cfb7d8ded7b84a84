// The end-point hash against a plain scan: every point within the reach comes back, each
// once and ascending, whatever the reach is against the cells (down to a hair, up to wider
// than the whole set, infinite) and however far out the points lie.
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
