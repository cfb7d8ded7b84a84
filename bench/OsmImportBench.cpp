// The "*.osm" import: reading a generated model of 1,000 buildings (half with an arc edge)
// and 100,000 windows, and creating its objects in an empty drawing, measured apart; then
// the same for a model ten times as large, which should take no more than eleven times as
// long.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "DbDatabase.h"
#include "EventLog.h"
#include "ImportModel.h"
#include "WorkingDrawing.h"

namespace {

// A model of 1,000·scale buildings in rows, every second one with its east edge an arc, and
// 100 windows on the south facade of each (ten storeys of ten), in millimetres; ASCII names.
std::string ModelFile(int scale)
{
    const std::string path = "/tmp/osm_import_bench_" + std::to_string(::getpid()) + "_" + std::to_string(scale) + ".osm";
    std::ofstream out(path, std::ios::binary);
    const int buildings = 1000 * scale;
    out << buildings << "\r\n";
    char line[256];
    for (int b = 0; b < buildings; ++b) {
        const double x = (b % 100) * 30000.0, y = (b / 100) * 30000.0;
        out << "B" << b << ",0,30000\r\n8\r\n";
        const double corners[4][2] = {{x, y}, {x + 20000, y}, {x + 20000, y + 12000}, {x, y + 12000}};
        for (int c = 0; c < 4; ++c) {
            std::snprintf(line, sizeof line, "%.1f,%.1f,0\r\n%s\r\n", corners[c][0], corners[c][1],
                          c == 1 && b % 2 ? "1.2," : "0,");
            out << line;
        }
        out << "G" << b % 10 << ",1,1\r\n";
    }
    out << "\r\n" << buildings * 100 << "\r\n";
    for (int b = 0; b < buildings; ++b) {
        const double x = (b % 100) * 30000.0, y = (b / 100) * 30000.0;
        for (int w = 0; w < 100; ++w) {
            std::snprintf(line, sizeof line, "%d,%d,%d,B%d,1500,1800,\r\n%.1f,%.1f,%.1f,0\r\n", w % 10 + 1, w / 10 + 1,
                          w, b, x + 1000 + (w % 10) * 1800.0, y, 900 + (w / 10) * 3000.0);
            out << line;
        }
    }
    return path;
}

struct Model {
    std::vector<CImportBuildInfo> builds;
    std::vector<CImportWindowInfo> windows;
};

void ReadModel(benchmark::State& state)
{
    const std::string path = ModelFile(static_cast<int>(state.range(0)));
    Model model;
    for (auto _ : state) {
        ReadModelFile(path.c_str(), model.builds, model.windows);
        benchmark::DoNotOptimize(model.windows.data());
    }
    state.counters["buildings"] = static_cast<double>(model.builds.size());
    state.counters["windows"] = static_cast<double>(model.windows.size());
    std::remove(path.c_str());
}

void CreateModel(benchmark::State& state)
{
    const std::string path = ModelFile(static_cast<int>(state.range(0)));
    Model model;
    ReadModelFile(path.c_str(), model.builds, model.windows);
    std::remove(path.c_str());
    for (auto _ : state) {
        state.PauseTiming();
        host::NewDrawing();
        host::EventLog::Instance().Clear();
        state.ResumeTiming();
        DbDatabase* db = dec::GetWorkingDatabase();
        db->OpenForWrite();
        CreateImportBuilds(model.builds);
        CreateImportWindows(model.windows);
        db->Close();
    }
}

}  // namespace

BENCHMARK(ReadModel)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(CreateModel)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
