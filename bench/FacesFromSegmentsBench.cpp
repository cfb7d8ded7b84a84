// The faces of loose segments (qrxGe::FacesFromSegments) against GEOS's noder and polygonizer
// (GEOSNode_r, then GEOSPolygonize_r) on the same segments, side by side: k x k grids of 1 m
// cells (one segment per cell side, so segments meet only at their ends), 100 to 20,000
// segments, and random soups of segments up to 10 m long in a 100 m square (they cross as
// well), 100 to 2,000 segments.
// GEOS starts from the segments as one multi-line-string built once; the planar operation
// takes the segment vector as it is and hands back new rings, which the loop frees.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "GeosSupport.h"
#include "qrxGePolygonOperations.h"

namespace {

using qrxGe::edge2d;
using Segments = std::vector<edge2d>;

// The sides of k x k cells of 1 m: 2 k (k + 1) segments.
Segments Cells(int n)
{
    const int k = std::max(1, static_cast<int>(std::sqrt(n / 2.0)));
    Segments s;
    for (int i = 0; i <= k; ++i)
        for (int j = 0; j < k; ++j) {
            s.push_back({{j * 1000.0, i * 1000.0}, {(j + 1) * 1000.0, i * 1000.0}});
            s.push_back({{i * 1000.0, j * 1000.0}, {i * 1000.0, (j + 1) * 1000.0}});
        }
    return s;
}

// n segments of random direction and length (1 to 10 m) in a 100 m square, whole millimetres.
Segments Soup(int n)
{
    std::mt19937 gen(41);
    std::uniform_real_distribution<double> at(0, 100000), length(1000, 10000), turn(0, 2 * M_PI);
    Segments s;
    while (static_cast<int>(s.size()) < n) {
        const double x = std::round(at(gen)), y = std::round(at(gen)), l = length(gen), a = turn(gen);
        s.push_back({{x, y}, {std::round(x + l * std::cos(a)), std::round(y + l * std::sin(a))}});
    }
    return s;
}

// n segments of random direction, 1 to 3 m long, in a square of 2 m² per segment, whole
// millimetres: most stand alone or in small trees, so the graph is mostly dangling chains.
Segments ShortSoup(int n)
{
    std::mt19937 gen(43);
    const double side = std::sqrt(2.0 * n) * 1000.0;
    std::uniform_real_distribution<double> at(0, side), length(1000, 3000), turn(0, 2 * M_PI);
    Segments s;
    while (static_cast<int>(s.size()) < n) {
        const double x = std::round(at(gen)), y = std::round(at(gen)), l = length(gen), a = turn(gen);
        s.push_back({{x, y}, {std::round(x + l * std::cos(a)), std::round(y + l * std::sin(a))}});
    }
    return s;
}

using Family = Segments (*)(int);

void Planar(benchmark::State& state, Family family)
{
    const Segments segments = family(static_cast<int>(state.range(0)));
    std::size_t faces = 0;
    for (auto _ : state) {
        std::vector<qrxGe::ring2d*>* rings = qrxGe::FacesFromSegments(segments);
        faces = rings ? rings->size() : 0;
        if (rings)
            for (qrxGe::ring2d* r : *rings)
                delete r;
        delete rings;
    }
    state.counters["segments"] = static_cast<double>(segments.size());
    state.counters["faces"] = static_cast<double>(faces);
}

void Geos(benchmark::State& state, Family family)
{
    const Segments segments = family(static_cast<int>(state.range(0)));
    geosoracle::Context c;
    const geosoracle::Geom lines = geosoracle::Lines(c, segments);
    int faces = 0;
    for (auto _ : state) {
        const geosoracle::Geom noded = geosoracle::Node(c, lines);
        const geosoracle::Geom polygons = geosoracle::Polygonize(c, noded);
        faces = GEOSGetNumGeometries_r(c.get(), polygons.get());
    }
    state.counters["segments"] = static_cast<double>(segments.size());
    state.counters["faces"] = faces;
}

#define SIZES ->Arg(100)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)
#define GRID_SIZES SIZES->Arg(5000)->Arg(10000)->Arg(20000)
BENCHMARK_CAPTURE(Planar, grid, Cells) GRID_SIZES;
BENCHMARK_CAPTURE(Geos, grid, Cells) GRID_SIZES;
BENCHMARK_CAPTURE(Planar, soup, Soup) SIZES;
BENCHMARK_CAPTURE(Geos, soup, Soup) SIZES;
BENCHMARK_CAPTURE(Planar, shortSoup, ShortSoup) GRID_SIZES;
BENCHMARK_CAPTURE(Geos, shortSoup, ShortSoup) GRID_SIZES;

} // namespace

BENCHMARK_MAIN();
