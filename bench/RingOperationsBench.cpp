// The two-ring union, difference and intersection against GEOS's overlay on the same pairs,
// side by side: star polygons of 10, 100 and 1,000 vertices (every second vertex drawn in to
// half the radius) and the same star turned by a quarter of its vertex spacing, so every side
// crosses two sides of the other. GEOS works on geometries built once; the planar operations
// take the rings as they are and hand back new rings, which the loop frees.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "GeosSupport.h"
#include "qrxGePolygonOperations.h"

namespace {

using qrxGe::point2d;

std::vector<point2d> Star(int n, double turn)
{
    std::vector<point2d> ring;
    for (int i = 0; i < n; ++i) {
        const double a = turn + 2.0 * M_PI * i / n;
        const double r = i % 2 == 0 ? 10000.0 : 5000.0;
        ring.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return ring;
}

struct Pair {
    explicit Pair(int n) : a(Star(n, 0.0)), b(Star(n, 0.5 * M_PI / n)) {}
    std::vector<point2d> a, b;
};

void Free(qrxGe::ring2d* ring) { delete ring; }

void Free(std::vector<qrxGe::ring2d*>* rings)
{
    if (!rings)
        return;
    for (qrxGe::ring2d* r : *rings)
        delete r;
    delete rings;
}

template <auto Operation>
void Planar(benchmark::State& state)
{
    const Pair pair(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto* result = Operation(pair.a, pair.b);
        benchmark::DoNotOptimize(result);
        Free(result);
    }
}

template <auto Operation>
void Geos(benchmark::State& state)
{
    const Pair pair(static_cast<int>(state.range(0)));
    geosoracle::Context c;
    const geosoracle::Geom a = geosoracle::Polygon(c, pair.a), b = geosoracle::Polygon(c, pair.b);
    for (auto _ : state) {
        geosoracle::Geom result(c.get(), Operation(c.get(), a.get(), b.get()));
        benchmark::DoNotOptimize(result.get());
    }
}

#define SIZES ->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)
BENCHMARK(Planar<qrxGe::UnionPolygons>)->Name("Union/planar") SIZES;
BENCHMARK(Geos<GEOSUnion_r>)->Name("Union/GEOS") SIZES;
BENCHMARK(Planar<qrxGe::SubtractPolygons>)->Name("Difference/planar") SIZES;
BENCHMARK(Geos<GEOSDifference_r>)->Name("Difference/GEOS") SIZES;
BENCHMARK(Planar<qrxGe::IntersectPolygons>)->Name("Intersection/planar") SIZES;
BENCHMARK(Geos<GEOSIntersection_r>)->Name("Intersection/GEOS") SIZES;

} // namespace

BENCHMARK_MAIN();
