// The kernel's polygon offset against Clipper's mitred offset of the same rings, side by
// side: faceted round facades of 10 to 997 vertices (every second vertex set back, so half
// the corners are re-entrant), grown by 300 mm.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "PolygonOffset.h"
#include "clipper.hpp"

namespace {

struct Ring {
  std::vector<float> x, y, z;  // 1-based, as the engine takes them
  ClipperLib::Path path;       // micrometres
};

// A clockwise ring of n vertices about 1 m apart on a circle (of radius 5 m at least),
// every second vertex set back by 300 mm.
Ring SawRing(int n) {
  Ring ring;
  ring.x.assign(n + 1, 0.0f), ring.y.assign(n + 1, 0.0f), ring.z.assign(n + 1, 0.0f);
  const double radius = std::max(5000.0, n * 1000.0 / (2.0 * M_PI));
  for (int i = 1; i <= n; ++i) {
    const double a = -2.0 * M_PI * (i - 1) / n;
    const double r = (i % 2 == 0) ? radius - 300.0 : radius;
    ring.x[i] = static_cast<float>(r * std::cos(a));
    ring.y[i] = static_cast<float>(r * std::sin(a));
    ring.path.push_back({std::llround(ring.x[i] * 1000.0), std::llround(ring.y[i] * 1000.0)});
  }
  return ring;
}

constexpr float kDistance = 300.0f;

void EngineOffset(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Ring ring = SawRing(n);
  std::vector<std::int16_t> counts(kernel::kOffsetLoopEntries), codes(kernel::kOffsetLoopEntries);
  std::vector<float> ox(kernel::kOffsetPointEntries), oy(kernel::kOffsetPointEntries),
      oz(kernel::kOffsetPointEntries);
  const float distance = kDistance;
  int loops = 0;
  for (auto _ : state) {
    OffsetPolygonLoops(n, kernel::kOffsetClosedMode, ring.x.data(), ring.y.data(), ring.z.data(),
                       &distance, &loops, counts.data(), codes.data(), ox.data(), oy.data(),
                       oz.data());
    benchmark::DoNotOptimize(loops);
    benchmark::DoNotOptimize(ox.data());
  }
  if (loops != 1) state.SkipWithError("the engine did not give one loop");
}

void ClipperMitreOffset(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Ring ring = SawRing(n);
  ClipperLib::Paths solution;
  for (auto _ : state) {
    ClipperLib::ClipperOffset offset(1000.0);
    offset.AddPath(ring.path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    offset.Execute(solution, kDistance * 1000.0);
    benchmark::DoNotOptimize(solution.data());
  }
  if (solution.size() != 1) state.SkipWithError("Clipper did not give one loop");
}

}  // namespace

// Each ring size runs the two offsets one after the other, so they sit side by side.
int main(int argc, char** argv) {
  for (int n : {10, 50, 100, 250, 500, 997}) {
    benchmark::RegisterBenchmark("EngineOffset", EngineOffset)
        ->Arg(n)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ClipperMitreOffset", ClipperMitreOffset)
        ->Arg(n)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
