// The roof routine's prismoid roofs against independent libraries on the same star footprints
// of 10 to 499 vertices: the hip roof cut off at a height beside CGAL's straight-skeleton
// offset at h / tan s (equal slopes), and the outward-leaning faces beside Clipper's mitred
// offset by h / tan of the lean.
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_offset_polygons_2.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "GeoRoofFaces.h"
#include "clipper.hpp"

namespace {

// Every edge rises at 30 degrees; the cut lies 3 m in from the outline, well below the peak.
constexpr double kSlope = 30.0;
constexpr double kRun = 3000.0;
// Outward, every edge leans out at 60 degrees (a slope of 120) by 100 mm (the stars' short
// reflex edges would close up at a few hundred).
constexpr double kOutwardSlope = 120.0;
constexpr double kOutwardRun = 100.0;

struct Footprint {
    std::vector<double> x{0.0}, y{0.0};  // 1-based, counter-clockwise
    int n = 0;
};

// A star-shaped concave outline of n vertices at random radii, counter-clockwise.
Footprint Star(int n)
{
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> radius(30000.0, 60000.0), jitter(-0.3, 0.3);
    Footprint f;
    f.n = n;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * M_PI * (i + 0.5 + jitter(rng)) / n;
        const double r = radius(rng);
        f.x.push_back(std::round(r * std::cos(a)));
        f.y.push_back(std::round(r * std::sin(a)));
    }
    return f;
}

void RunRoutine(benchmark::State& state, double slope, double run)
{
    Footprint f = Star(static_cast<int>(state.range(0)));
    const double h = run * std::tan((slope < 90 ? slope : 180 - slope) * M_PI / 180);
    std::vector<double> slopes(f.n + 1, slope), fx(10000), fy(10000), fz(10000);
    std::vector<int> counts(1000);
    int faces = 0, spare = 0;
    for (auto _ : state) {
        const int ok = geofeidengpowumianzcx(h, f.x.data(), f.y.data(), slopes.data(), f.n, &faces, counts.data(),
                                             &spare, fx.data(), fy.data(), fz.data());
        benchmark::DoNotOptimize(ok);
    }
    if (faces == 0)
        state.SkipWithError("the routine gave no faces");
    state.counters["faces"] = faces;
}

void CutOffRoof(benchmark::State& state)
{
    RunRoutine(state, kSlope, kRun);
}

void OutwardRoof(benchmark::State& state)
{
    RunRoutine(state, kOutwardSlope, kOutwardRun);
}

void CgalSkeletonOffset(benchmark::State& state)
{
    using K = CGAL::Exact_predicates_inexact_constructions_kernel;
    const Footprint f = Star(static_cast<int>(state.range(0)));
    CGAL::Polygon_2<K> poly;
    for (int i = 1; i <= f.n; ++i)
        poly.push_back(K::Point_2(f.x[i], f.y[i]));
    std::size_t loops = 0;
    for (auto _ : state) {
        const auto offsets = CGAL::create_interior_skeleton_and_offset_polygons_2(kRun, poly);
        loops = offsets.size();
        benchmark::DoNotOptimize(loops);
    }
    state.counters["loops"] = static_cast<double>(loops);
}

void ClipperMitredOffset(benchmark::State& state)
{
    const Footprint f = Star(static_cast<int>(state.range(0)));
    ClipperLib::Path path;
    for (int i = 1; i <= f.n; ++i)
        path.push_back({static_cast<ClipperLib::cInt>(f.x[i] * 1000), static_cast<ClipperLib::cInt>(f.y[i] * 1000)});
    std::size_t loops = 0;
    for (auto _ : state) {
        ClipperLib::ClipperOffset offset(1000.0);
        offset.AddPath(path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
        ClipperLib::Paths out;
        offset.Execute(out, kOutwardRun * 1000);
        loops = out.size();
        benchmark::DoNotOptimize(loops);
    }
    state.counters["loops"] = static_cast<double>(loops);
}

}  // namespace

BENCHMARK(CutOffRoof)->Arg(10)->Arg(50)->Arg(100)->Arg(250)->Arg(499)->Unit(benchmark::kMillisecond);
BENCHMARK(CgalSkeletonOffset)->Arg(10)->Arg(50)->Arg(100)->Arg(250)->Arg(499)->Unit(benchmark::kMillisecond);
BENCHMARK(OutwardRoof)->Arg(10)->Arg(50)->Arg(100)->Arg(250)->Arg(499)->Unit(benchmark::kMicrosecond);
BENCHMARK(ClipperMitredOffset)->Arg(10)->Arg(50)->Arg(100)->Arg(250)->Arg(499)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
