// The two-ring union, difference and intersection against GEOS's overlay on the same pairs,
// side by side: star polygons of 10, 100 and 1,000 vertices (every second vertex drawn in to
// half the radius) and either the same star turned by a quarter of its vertex spacing, so
// every side crosses two sides of the other, or the same star moved off centre by a tenth of
// its radius, so that sides cross many others, some at shallow angles and crossings a hair
// apart (about 9,000 crossings at 1,000 vertices). GEOS works on geometries built once; the
// planar operations take the rings as they are and hand back new rings, which the loop frees.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "GeosSupport.h"
#include "qrxGePolygonOperations.h"

namespace {

using qrxGe::point2d;

std::vector<point2d> Star(int n, double turn, double dx = 0.0, double dy = 0.0)
{
    std::vector<point2d> ring;
    for (int i = 0; i < n; ++i) {
        const double a = turn + 2.0 * M_PI * i / n;
        const double r = i % 2 == 0 ? 10000.0 : 5000.0;
        ring.push_back({dx + r * std::cos(a), dy + r * std::sin(a)});
    }
    return ring;
}

enum class Kind { turned, offCentre };

struct Pair {
    Pair(int n, Kind kind)
        : a(Star(n, 0.0)), b(kind == Kind::turned ? Star(n, 0.5 * M_PI / n) : Star(n, 0.0, 1000.0, 300.0))
    {
    }
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
    const Pair pair(static_cast<int>(state.range(0)), static_cast<Kind>(state.range(1)));
    for (auto _ : state) {
        auto* result = Operation(pair.a, pair.b);
        benchmark::DoNotOptimize(result);
        Free(result);
    }
}

template <auto Operation>
void Geos(benchmark::State& state)
{
    const Pair pair(static_cast<int>(state.range(0)), static_cast<Kind>(state.range(1)));
    geosoracle::Context c;
    const geosoracle::Geom a = geosoracle::Polygon(c, pair.a), b = geosoracle::Polygon(c, pair.b);
    for (auto _ : state) {
        geosoracle::Geom result(c.get(), Operation(c.get(), a.get(), b.get()));
        benchmark::DoNotOptimize(result.get());
    }
}

// Arguments: vertices, then 0 for the turned star and 1 for the off-centre one.
#define SIZES ->ArgsProduct({{10, 100, 1000}, {0, 1}})->ArgNames({"n", "off"})->Unit(benchmark::kMicrosecond)
BENCHMARK(Planar<qrxGe::UnionPolygons>)->Name("Union/planar") SIZES;
BENCHMARK(Geos<GEOSUnion_r>)->Name("Union/GEOS") SIZES;
BENCHMARK(Planar<qrxGe::SubtractPolygons>)->Name("Difference/planar") SIZES;
BENCHMARK(Geos<GEOSDifference_r>)->Name("Difference/GEOS") SIZES;
BENCHMARK(Planar<qrxGe::IntersectPolygons>)->Name("Intersection/planar") SIZES;
BENCHMARK(Geos<GEOSIntersection_r>)->Name("Intersection/GEOS") SIZES;

} // namespace

BENCHMARK_MAIN();
