// The multi-slope roof solver against CGAL's interior straight skeleton on the same
// equal-slope concave footprints of 10 to 499 vertices, side by side in one run. Before
// timing, the solver's roof is checked once against the skeleton: it must solve, with the
// same faces, plan area per eave and ridge height.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "RoofBenchSupport.h"
#include "SlopedRoofSolver.h"
#include "StraightSkeletonOracle.h"

namespace {

using bench::Star;

constexpr double kDegrees = 30.0;

// Why the solver's roof over the footprint differs from CGAL's skeleton; empty when it agrees.
std::string DifferenceFromSkeleton(const bench::Footprint& f) {
  rooftest::Outline outline;
  for (size_t i = 0; i < f.x.size(); ++i) outline.push_back({f.x[i], f.y[i]});
  const rooftest::Roof roof = rooftest::Solve(outline, rooftest::EqualSlopes(outline.size(), kDegrees));
  if (roof.result != 1) return "the solver refuses the footprint";
  return rooftest::SkeletonDifference(roof.faces, {roof.outline}, kDegrees);
}

void Solver(benchmark::State& state) {
  const bench::Footprint f = Star(static_cast<int>(state.range(0)));
  if (const std::string why = DifferenceFromSkeleton(f); !why.empty()) {
    state.SkipWithError(("the roof differs from CGAL's skeleton: " + why).c_str());
    return;
  }
  const int n = static_cast<int>(f.x.size());
  std::vector<std::int16_t> counts(10, 0), faceCounts(500, 0);
  std::vector<float> base(10, 0.0f), x(500), y(500), slope(500), fx(5000), fy(5000), fz(5000);
  int faces = 0;
  for (auto _ : state) {
    counts[1] = static_cast<std::int16_t>(n);
    for (int i = 0; i < n; ++i) {
      x[i + 1] = static_cast<float>(f.x[i]);
      y[i + 1] = static_cast<float>(f.y[i]);
      slope[i + 1] = static_cast<float>(rooftest::Radians(kDegrees));
    }
    const int ok =
        SolveSlopedRoofFaces(1, counts.data(), base.data(), x.data(), y.data(), slope.data(),
                             &faces, faceCounts.data(), fx.data(), fy.data(), fz.data());
    benchmark::DoNotOptimize(ok);
  }
  state.counters["faces"] = faces;
}

void CgalSkeleton(benchmark::State& state) {
  bench::TimeCgalSkeleton(state, Star(static_cast<int>(state.range(0))));
}

}  // namespace

BENCHMARK(Solver)->Arg(10)->Arg(50)->Arg(100)->Arg(250)->Arg(499)->Unit(benchmark::kMillisecond);
BENCHMARK(CgalSkeleton)
    ->Arg(10)
    ->Arg(50)
    ->Arg(100)
    ->Arg(250)
    ->Arg(499)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
