// The loop through a segment and the ring offset against GEOS, side by side.
//
// Loops: the right-turning loop through a segment S inside a grid, against GEOS finding the
// same face: node the segments, polygonize, and locate the polygon holding a point just right
// of S. Two kinds of grid: k x k unit cells given as their sides (already noded, 2k(k+1)
// segments), and k + 1 level and k + 1 upright lines crossing each other (2(k+1) segments,
// which the search cuts as it walks and GEOS nodes whole). S is an upright side in the middle.
//
// Offsets: OffsetPoints of a regular n-gon (radius 10,000) grown by 300, against GEOS's
// mitred buffer of the same polygon built once.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "GeosSupport.h"
#include "qrxGeOffsetPoints.h"
#include "qrxGePolygonOperations.h"

namespace {

using qrxGe::edge2d;
using qrxGe::point2d;

constexpr double kCell = 1000.0;

struct GridCase {
    std::vector<edge2d> segments;
    edge2d s;
};

GridCase Cells(int k)
{
    GridCase g;
    for (int i = 0; i <= k; ++i)
        for (int j = 0; j < k; ++j) {
            g.segments.push_back({{j * kCell, i * kCell}, {(j + 1) * kCell, i * kCell}});
            g.segments.push_back({{i * kCell, j * kCell}, {i * kCell, (j + 1) * kCell}});
        }
    const double m = (k / 2) * kCell;
    g.s = edge2d({m, m}, {m, m + kCell});
    return g;
}

GridCase Lines(int k)
{
    GridCase g;
    for (int i = 0; i <= k; ++i) {
        g.segments.push_back({{0, i * kCell}, {k * kCell, i * kCell}});
        g.segments.push_back({{i * kCell, 0}, {i * kCell, k * kCell}});
    }
    const double m = (k / 2) * kCell;
    g.s = edge2d({m, m}, {m, m + kCell});
    return g;
}

template <GridCase (*Make)(int)>
void Planar(benchmark::State& state)
{
    const GridCase g = Make(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<qrxGe::ring2d> ring(qrxGe::RightLoopThroughSegment(g.segments, g.s));
        if (!ring)
            state.SkipWithError("no loop");
        benchmark::DoNotOptimize(ring.get());
    }
    state.counters["segments"] = static_cast<double>(g.segments.size());
}

template <GridCase (*Make)(int)>
void Geos(benchmark::State& state)
{
    const GridCase g = Make(static_cast<int>(state.range(0)));
    geosoracle::Context c;
    const point2d right = g.s.MidPoint() + qrxGe::vector2d(1.0, 0.0);
    const geosoracle::Geom point(c.get(), GEOSGeom_createPointFromXY_r(c.get(), right.x, right.y));
    for (auto _ : state) {
        const geosoracle::Geom noded = geosoracle::Node(c, geosoracle::Lines(c, g.segments));
        const geosoracle::Geom faces = geosoracle::Polygonize(c, noded);
        const GEOSGeometry* found = nullptr;
        for (int i = 0, n = GEOSGetNumGeometries_r(c.get(), faces.get()); i < n && !found; ++i)
            if (GEOSContains_r(c.get(), GEOSGetGeometryN_r(c.get(), faces.get(), i), point.get()))
                found = GEOSGetGeometryN_r(c.get(), faces.get(), i);
        if (!found)
            state.SkipWithError("no face");
        benchmark::DoNotOptimize(found);
    }
    state.counters["segments"] = static_cast<double>(g.segments.size());
}

BENCHMARK(Planar<Cells>)->Name("CellGrid/planar")->Arg(3)->Arg(7)->Arg(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(Geos<Cells>)->Name("CellGrid/GEOS")->Arg(3)->Arg(7)->Arg(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(Planar<Lines>)->Name("LineGrid/planar")->Arg(9)->Arg(49)->Arg(99)->Unit(benchmark::kMicrosecond);
BENCHMARK(Geos<Lines>)->Name("LineGrid/GEOS")->Arg(9)->Arg(49)->Arg(99)->Unit(benchmark::kMicrosecond);

std::vector<point2d> RegularPolygon(int n)
{
    std::vector<point2d> ring;
    for (int i = 0; i < n; ++i)
        ring.push_back({10000.0 * std::cos(2.0 * M_PI * i / n), 10000.0 * std::sin(2.0 * M_PI * i / n)});
    return ring;
}

void OffsetPlanar(benchmark::State& state)
{
    const std::vector<point2d> ring = RegularPolygon(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<point2d> out;
        if (!qrxGe::OffsetPoints(ring, true, 300.0, out))
            state.SkipWithError("offset failed");
        benchmark::DoNotOptimize(out.data());
    }
}

void OffsetGeos(benchmark::State& state)
{
    geosoracle::Context c;
    const geosoracle::Geom polygon = geosoracle::Polygon(c, RegularPolygon(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        const geosoracle::Geom grown = geosoracle::MitredBuffer(c, polygon, 300.0, 1e9);
        benchmark::DoNotOptimize(grown.get());
    }
}

BENCHMARK(OffsetPlanar)->Name("Offset/planar")->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(OffsetGeos)->Name("Offset/GEOS")->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
