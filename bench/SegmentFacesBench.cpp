// The toolkit's face tracing (CTools::BreakIntoLineSegs, then the count form of
// MakeLineSegsToFaces at 0.1, as the balcony calls them) against CGAL's Arrangement_2 (insert
// the segments, walk the bounded faces), side by side: k x k grids of 1 m cells and chords of
// a 10 m box, 100 to 2000 segments.
#include <CGAL/Arr_segment_traits_2.h>
#include <CGAL/Arrangement_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "Tools.h"
#include "SideBySide.h"

namespace {

using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Traits = CGAL::Arr_segment_traits_2<Kernel>;
using Arrangement = CGAL::Arrangement_2<Traits>;

struct Segments {
    std::vector<GePoint3d> starts, ends;
};

// The sides of k x k cells of 1 m, one segment per cell side: 2 k (k + 1) segments.
Segments Cells(int n)
{
    const int k = std::max(1, static_cast<int>(std::sqrt(n / 2.0)));
    Segments s;
    for (int i = 0; i <= k; ++i)
        for (int j = 0; j < k; ++j) {
            s.starts.push_back({j * 1000.0, i * 1000.0, 0});
            s.ends.push_back({(j + 1) * 1000.0, i * 1000.0, 0});
            s.starts.push_back({i * 1000.0, j * 1000.0, 0});
            s.ends.push_back({i * 1000.0, (j + 1) * 1000.0, 0});
        }
    return s;
}

// The box's four sides and n - 4 chords from its left side to its right side.
Segments Chords(int n)
{
    std::mt19937 gen(21);
    std::uniform_real_distribution<double> along(100, 9900);
    Segments s;
    const GePoint3d box[] = {{0, 0, 0}, {10000, 0, 0}, {10000, 10000, 0}, {0, 10000, 0}};
    for (int k = 0; k < 4; ++k) {
        s.starts.push_back(box[k]);
        s.ends.push_back(box[(k + 1) % 4]);
    }
    while (static_cast<int>(s.starts.size()) < n) {
        s.starts.push_back({0, std::round(along(gen)), 0});
        s.ends.push_back({10000, std::round(along(gen)), 0});
    }
    return s;
}

using Family = Segments (*)(int);

void Toolkit(benchmark::State& state, Family family)
{
    const Segments input = family(static_cast<int>(state.range(0)));
    std::size_t faces = 0;
    for (auto _ : state) {
        Segments s = input;
        GePoint3dArray starts(s.starts.begin(), s.starts.end()), ends(s.ends.begin(), s.ends.end());
        CTools::BreakIntoLineSegs(starts, ends, 0.1);
        std::vector<GePoint3dArray> out;
        CTools::MakeLineSegsToFaces(static_cast<long>(starts.size()), starts.data(), ends.data(), out, 0.1);
        faces = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["faces"] = static_cast<double>(faces);
}

void Cgal(benchmark::State& state, Family family)
{
    const Segments input = family(static_cast<int>(state.range(0)));
    std::vector<Traits::Curve_2> segments;
    for (std::size_t k = 0; k < input.starts.size(); ++k)
        segments.emplace_back(Kernel::Point_2(input.starts[k].x, input.starts[k].y),
                              Kernel::Point_2(input.ends[k].x, input.ends[k].y));
    std::size_t faces = 0;
    for (auto _ : state) {
        Arrangement arr;
        CGAL::insert(arr, segments.begin(), segments.end());
        faces = 0;
        for (auto f = arr.faces_begin(); f != arr.faces_end(); ++f) {
            if (f->is_unbounded())
                continue;
            std::size_t corners = 0;
            auto edge = f->outer_ccb();
            do {
                ++corners;
            } while (++edge != f->outer_ccb());
            faces += corners > 2 ? 1 : 0;
        }
        benchmark::DoNotOptimize(faces);
    }
    state.counters["faces"] = static_cast<double>(faces);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::RegisterSideBySide<Family>("MakeLineSegsToFaces", Toolkit, "CgalArrangement", Cgal,
                                      {{"Cells", Cells}, {"Chords", Chords}}, {100, 250, 500, 1000, 2000},
                                      benchmark::kMillisecond);
    return bench::RunRegistered(argc, argv);
}
