// The pitched-roof generator (CTools::powudingzcx_c) against CGAL's interior straight
// skeleton on the same equal-slope star and comb footprints of 10 to 999 vertices, side by
// side in one run.
#include <benchmark/benchmark.h>

#include <vector>

#include "RoofBenchSupport.h"
#include "Tools.h"

namespace {

using Shape = bench::Footprint (*)(int);

void Generator(benchmark::State& state, Shape shape) {
  const bench::Footprint f = shape(static_cast<int>(state.range(0)));
  const int n = static_cast<int>(f.x.size());
  std::vector<int> counts{0, n}, faceCounts(1000);
  std::vector<float> base{0.0f, 0.0f}, x(n + 1), y(n + 1), slope(n + 1), fx(100000), fy(100000), fz(100000);
  int faces = 0;
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) {
      x[i + 1] = static_cast<float>(f.x[i]);
      y[i + 1] = static_cast<float>(f.y[i]);
      slope[i + 1] = 30.0f / 180.0f * 3.1415927f;
    }
    CTools::powudingzcx_c(1, counts.data(), base.data(), x.data(), y.data(), slope.data(), &faces,
                          faceCounts.data(), fx.data(), fy.data(), fz.data());
    benchmark::DoNotOptimize(faces);
  }
  state.counters["faces"] = faces;
}

void CgalSkeleton(benchmark::State& state, Shape shape) {
  bench::TimeCgalSkeleton(state, shape(static_cast<int>(state.range(0))));
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int n : {10, 25, 50, 100, 250, 499, 999}) b->Arg(n);
  b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK_CAPTURE(Generator, star, bench::Star)->Apply(Sizes);
BENCHMARK_CAPTURE(CgalSkeleton, star, bench::Star)->Apply(Sizes);
BENCHMARK_CAPTURE(Generator, comb, bench::Comb)->Apply(Sizes);
BENCHMARK_CAPTURE(CgalSkeleton, comb, bench::Comb)->Apply(Sizes);

BENCHMARK_MAIN();
