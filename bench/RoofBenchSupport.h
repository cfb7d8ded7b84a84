#pragma once
// What the roof benchmarks share: footprints (clockwise, millimetres) and CGAL's straight
// skeleton of them, timed.
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_straight_skeleton_2.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace bench {

struct Footprint {
  std::vector<double> x, y;
};

// A star-shaped concave outline of n vertices at random radii.
inline Footprint Star(int n) {
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

// A comb of about n vertices: a back 8 m deep with teeth 2 m wide and 6 m long, 2 m apart.
inline Footprint Comb(int n) {
  const int teeth = std::max(1, (n - 1) / 4);
  Footprint f;
  const auto add = [&f](double x, double y) { f.x.push_back(x), f.y.push_back(y); };
  add(0, 0);
  add(0, 14000);
  for (int t = 0; t < teeth; ++t) {
    if (t > 0) add(4000.0 * t, 8000), add(4000.0 * t, 14000);
    add(4000.0 * t + 2000, 14000), add(4000.0 * t + 2000, 8000);
  }
  add(4000.0 * teeth - 2000, 0);
  return f;
}

// CGAL's interior straight skeleton of the footprint, once per iteration.
inline void TimeCgalSkeleton(benchmark::State& state, const Footprint& f) {
  using K = CGAL::Exact_predicates_inexact_constructions_kernel;
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

}  // namespace bench
