// The kernel's polygon offset against Clipper's mitred offset of the same rings, side by
// side: faceted round facades of 10 to 4,999 vertices about 1 m apart with every second
// vertex set back by 300 mm (growing by 300 closes those notches), and a block with deep
// notches that growing closes. Each result is checked once against Clipper's area before
// the timing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "PolygonOffset.h"
#include "clipper.hpp"
#include "SideBySide.h"

namespace {

struct Ring {
  std::vector<float> x, y, z;  // 1-based, as the engine takes them
  ClipperLib::Path path;       // micrometres
  void Add(double px, double py) {
    x.push_back(static_cast<float>(px)), y.push_back(static_cast<float>(py)), z.push_back(0.0f);
    path.push_back({std::llround(x.back() * 1000.0), std::llround(y.back() * 1000.0)});
  }
  int Size() const { return static_cast<int>(x.size()) - 1; }
};

// A clockwise ring of n vertices about 1 m apart on a circle (of radius 5 m at least),
// every second vertex set back by 300 mm.
Ring SawRing(int n) {
  Ring ring{{0.0f}, {0.0f}, {0.0f}, {}};
  const double radius = std::max(5000.0, n * 1000.0 / (2.0 * M_PI));
  for (int i = 0; i < n; ++i) {
    const double a = -2.0 * M_PI * i / n;
    const double r = (i % 2 == 1) ? radius - 300.0 : radius;
    ring.Add(r * std::cos(a), r * std::sin(a));
  }
  return ring;
}

// A clockwise 60 m block whose top facade has teeth 1.2 m wide and 2 m deep, 500 mm
// apart: growing by 300 closes every gap between the teeth.
Ring NotchedBlock() {
  Ring ring{{0.0f}, {0.0f}, {0.0f}, {}};
  ring.Add(0, 0);
  ring.Add(0, 10000);
  for (double x = 0; x + 1700 <= 60000; x += 1700) {
    ring.Add(x + 1200, 10000);
    ring.Add(x + 1200, 8000);
    ring.Add(x + 1700, 8000);
    ring.Add(x + 1700, 10000);
  }
  ring.Add(60000, 10000);
  ring.Add(60000, 0);
  return ring;
}

constexpr float kDistance = 300.0f;

struct EngineResult {
  int loops = 0;
  double area = 0.0;
};

EngineResult RunEngine(const Ring& ring, std::vector<std::int16_t>& counts,
                       std::vector<std::int16_t>& codes, std::vector<float>& ox,
                       std::vector<float>& oy, std::vector<float>& oz) {
  const float distance = kDistance;
  EngineResult r;
  OffsetPolygonLoops(ring.Size(), kernel::kOffsetClosedMode, ring.x.data(), ring.y.data(),
                     ring.z.data(), &distance, &r.loops, counts.data(), codes.data(), ox.data(),
                     oy.data(), oz.data());
  int at = 0;
  for (int l = 1; l <= r.loops; ++l) {
    double twice = 0.0;
    for (int p = 0; p < counts[l]; ++p) {
      const int i = at + 1 + p, j = at + 1 + (p + 1) % counts[l];
      twice += static_cast<double>(ox[i]) * oy[j] - static_cast<double>(ox[j]) * oy[i];
    }
    r.area += std::fabs(twice) / 2;
    at += counts[l];
  }
  return r;
}

ClipperLib::Paths ClipperRun(const Ring& ring) {
  ClipperLib::ClipperOffset offset(1000.0);
  offset.AddPath(ring.path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
  ClipperLib::Paths solution;
  offset.Execute(solution, kDistance * 1000.0);
  return solution;
}

void EngineOffset(benchmark::State& state, Ring ring) {
  std::vector<std::int16_t> counts(kernel::kOffsetLoopEntries), codes(kernel::kOffsetLoopEntries);
  std::vector<float> ox(kernel::kOffsetPointEntries), oy(kernel::kOffsetPointEntries),
      oz(kernel::kOffsetPointEntries);
  // The answer, checked once outside the timed loop.
  const EngineResult r = RunEngine(ring, counts, codes, ox, oy, oz);
  const ClipperLib::Paths expected = ClipperRun(ring);
  double area = 0.0;
  for (const auto& p : expected) area += std::fabs(ClipperLib::Area(p)) / 1e6;
  if (r.loops != static_cast<int>(expected.size()) || std::fabs(r.area - area) > 1e-6 * area) {
    state.SkipWithError("the engine's offset differs from Clipper's");
    return;
  }
  for (auto _ : state) {
    EngineResult timed = RunEngine(ring, counts, codes, ox, oy, oz);
    benchmark::DoNotOptimize(timed);
  }
}

void ClipperMitreOffset(benchmark::State& state, Ring ring) {
  for (auto _ : state) {
    ClipperLib::Paths solution = ClipperRun(ring);
    benchmark::DoNotOptimize(solution.data());
  }
}

}  // namespace

// Each ring runs the two offsets one after the other, so they sit side by side.
int main(int argc, char** argv) {
  for (int n : {10, 100, 250, 500, 1000, 2000, 4000, 4999}) {
    benchmark::RegisterBenchmark(("EngineOffset/saw/" + std::to_string(n)).c_str(), EngineOffset,
                                 SawRing(n))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("ClipperMitreOffset/saw/" + std::to_string(n)).c_str(),
                                 ClipperMitreOffset, SawRing(n))
        ->Unit(benchmark::kMicrosecond);
  }
  const Ring block = NotchedBlock();
  const std::string size = std::to_string(block.Size());
  benchmark::RegisterBenchmark(("EngineOffset/notched/" + size).c_str(), EngineOffset, block)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark(("ClipperMitreOffset/notched/" + size).c_str(), ClipperMitreOffset,
                               block)
      ->Unit(benchmark::kMicrosecond);
  return bench::RunRegistered(argc, argv);
}
