// The multi-slope roof solver against CGAL's interior straight skeleton on the same
// equal-slope concave footprints of 10 to 499 vertices, side by side in one run.
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_straight_skeleton_2.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "SlopedRoofSolver.h"

namespace {

struct Footprint {
  std::vector<double> x, y;  // clockwise
};

// A star-shaped concave outline of n vertices at random radii, clockwise.
Footprint Star(int n) {
  std::mt19937 rng(static_cast<unsigned>(n));
  std::uniform_real_distribution<double> radius(30000.0, 60000.0), jitter(-0.3, 0.3);
  Footprint f;
  for (int i = 0; i < n; ++i) {
    const double a = -2.0 * M_PI * (i + 0.5 + jitter(rng)) / n;
    const double r = radius(rng);
    f.x.push_back(std::round(r * std::cos(a)));
    f.y.push_back(std::round(r * std::sin(a)));
  }
  return f;
}

void Solver(benchmark::State& state) {
  const Footprint f = Star(static_cast<int>(state.range(0)));
  const int n = static_cast<int>(f.x.size());
  std::vector<std::int16_t> counts(10, 0), faceCounts(500, 0);
  std::vector<float> base(10, 0.0f), x(500), y(500), slope(500), fx(5000), fy(5000), fz(5000);
  int faces = 0;
  for (auto _ : state) {
    counts[1] = static_cast<std::int16_t>(n);
    for (int i = 0; i < n; ++i) {
      x[i + 1] = static_cast<float>(f.x[i]);
      y[i + 1] = static_cast<float>(f.y[i]);
      slope[i + 1] = 30.0f / 180.0f * 3.1415927f;
    }
    const int ok =
        SolveSlopedRoofFaces(1, counts.data(), base.data(), x.data(), y.data(), slope.data(),
                             &faces, faceCounts.data(), fx.data(), fy.data(), fz.data());
    benchmark::DoNotOptimize(ok);
  }
  state.counters["faces"] = faces;
}

void CgalSkeleton(benchmark::State& state) {
  using K = CGAL::Exact_predicates_inexact_constructions_kernel;
  const Footprint f = Star(static_cast<int>(state.range(0)));
  CGAL::Polygon_2<K> poly;
  for (size_t i = f.x.size(); i-- > 0;) poly.push_back(K::Point_2(f.x[i], f.y[i]));
  std::size_t faces = 0;
  for (auto _ : state) {
    const auto ss =
        CGAL::create_interior_straight_skeleton_2(poly.vertices_begin(), poly.vertices_end(), K());
    faces = ss ? ss->size_of_faces() : 0;
    benchmark::DoNotOptimize(faces);
  }
  state.counters["faces"] = static_cast<double>(faces);
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
