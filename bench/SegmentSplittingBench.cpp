// The toolkit's segment breaking (CTools::BreakIntoLineSegs over two point arrays) against
// CGAL's compute_subcurves (segment traits over the exact-constructions kernel) on the same
// segments, side by side: short random segments scattered over a 10 m square, and square
// grids of level and upright lines, 100 to 2000 segments.
#include <CGAL/Arr_segment_traits_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Surface_sweep_2_algorithms.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <iterator>
#include <random>
#include <vector>

#include "Tools.h"
#include "SideBySide.h"

namespace {

using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Traits = CGAL::Arr_segment_traits_2<Kernel>;
using CgalSegment = Traits::Curve_2;

struct Segments {
    GePoint3dArray starts, ends;
};

// n segments 300 to 800 mm long at random places and directions, integer coordinates.
Segments ShortRandom(int n)
{
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> place(0, 10000), unit(0, 1);
    Segments s;
    while (static_cast<int>(s.starts.size()) < n) {
        const double x = std::round(place(gen)), y = std::round(place(gen));
        const double a = unit(gen) * 2 * M_PI, l = 300 + 500 * unit(gen);
        const GePoint3d p{x, y, 0}, q{std::round(x + l * std::cos(a)), std::round(y + l * std::sin(a)), 0};
        s.starts.push_back(p);
        s.ends.push_back(q);
    }
    return s;
}

// n / 2 level and n / 2 upright lines 1 m apart.
Segments Grid(int n)
{
    Segments s;
    const int k = n / 2;
    const double length = (k + 1) * 1000.0;
    for (int i = 1; i <= k; ++i) {
        s.starts.push_back({0, i * 1000.0, 0});
        s.ends.push_back({length, i * 1000.0, 0});
        s.starts.push_back({i * 1000.0, 0, 0});
        s.ends.push_back({i * 1000.0, length, 0});
    }
    return s;
}

using Family = Segments (*)(int);

void Toolkit(benchmark::State& state, Family family)
{
    const Segments input = family(static_cast<int>(state.range(0)));
    std::size_t pieces = 0;
    for (auto _ : state) {
        Segments s = input;
        CTools::BreakIntoLineSegs(s.starts, s.ends, 0.0);
        pieces = s.starts.size();
        benchmark::DoNotOptimize(s.starts.data());
    }
    state.counters["pieces"] = static_cast<double>(pieces);
}

void Cgal(benchmark::State& state, Family family)
{
    const Segments input = family(static_cast<int>(state.range(0)));
    std::vector<CgalSegment> segments;
    for (std::size_t k = 0; k < input.starts.size(); ++k)
        segments.emplace_back(Kernel::Point_2(input.starts[k].x, input.starts[k].y),
                              Kernel::Point_2(input.ends[k].x, input.ends[k].y));
    std::size_t pieces = 0;
    for (auto _ : state) {
        std::vector<Traits::X_monotone_curve_2> subcurves;
        CGAL::compute_subcurves(segments.begin(), segments.end(), std::back_inserter(subcurves));
        pieces = subcurves.size();
        benchmark::DoNotOptimize(subcurves.data());
    }
    state.counters["pieces"] = static_cast<double>(pieces);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::RegisterSideBySide<Family>("BreakIntoLineSegs", Toolkit, "CgalComputeSubcurves", Cgal,
                                      {{"ShortRandom", ShortRandom}, {"Grid", Grid}}, {100, 250, 500, 999, 2000},
                                      benchmark::kMillisecond);
    return bench::RunRegistered(argc, argv);
}
