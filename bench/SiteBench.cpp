// A generated site of 1,000 and of 2,000 buildings (12 m by 9 m, on a grid) with 40 windows each
// on their south facades, taken through the steps a user takes: build (the command, from the
// outlines to buildings with their labels), save, open, windows, list, export obj and the
// pictures (export svg, on sites of 1,250 and 2,500 buildings: 50,000 and 100,000 windows),
// each as the script line a user types. Every step should grow with the site: after the runs, the
// shortest time on the doubled site over the shortest on the first is printed per step (at
// most 2.2 is the target).
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

#include "CommandLine.h"
#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "ScriptedUser.h"
#include "Session.h"
#include "Window.h"
#include "WorkingDrawing.h"

namespace {

constexpr double kWidth = 12000.0, kDepth = 9000.0, kSpacing = 20000.0;
constexpr int kColumns = 50;
constexpr int kFloors = 4, kWindowsPerFloor = 10;

void Run(const std::string& lines)
{
    host::EventLog::Instance().Clear();
    host::ScriptedUser::Instance().Feed(lines, "site");
    host::CommandLine::Instance().RunAll();
}

void EnterModule()
{
    static const bool entered = [] {
        host::RegisterHostCommands();
        using EntryPoint = void (*)(int, int);
        auto entry = reinterpret_cast<EntryPoint>(dlvsym(RTLD_DEFAULT, "_decEntryPoint", "8"));
        if (entry) entry(0, 0);
        return entry != nullptr;
    }();
    if (!entered) std::fprintf(stderr, "the module's entry point was not found\n");
}

double X(int i) { return (i % kColumns) * kSpacing; }
double Y(int i) { return (i / kColumns) * kSpacing; }

// The outlines of n buildings, drawn on a fresh drawing.
void DrawOutlines(int n)
{
    host::NewDrawing();
    std::string lines;
    for (int i = 0; i < n; ++i) {
        const double x = X(i), y = Y(i);
        char line[160];
        std::snprintf(line, sizeof line, "pline closed %g,%g %g,%g %g,%g %g,%g\n", x, y, x + kWidth, y, x + kWidth,
                      y + kDepth, x, y + kDepth);
        lines += line;
    }
    Run(lines);
}

void BuildAll() { Run("build\nall\n30\n0\n\n"); }

// 40 windows on the south facade of every building, as the insertion commands place them.
void AddWindows(int n)
{
    DbAutoOpen open;
    for (int i = 0; i < n; ++i) {
        for (int floor = 0; floor < kFloors; ++floor) {
            for (int k = 0; k < kWindowsPerFloor; ++k) {
                auto* window = new CWindow();
                window->SetSize(900, 1500);
                window->SetBuild(std::to_string(i + 1).c_str());
                window->SetFloor(floor + 1);
                window->SetIndex(k + 1);
                GeMatrix3d tm;
                tm.SetCoordSystem(GePoint3d(X(i) + 600.0 + 1200.0 * k, Y(i), 900.0 + 3000.0 * floor),
                                  GeVector3d(-1, 0, 0), GeVector3d(0, -1, 0), GeVector3d::kZAxis);
                decObjectId id;
                open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), window, tm, id);
            }
        }
    }
}

std::string TempFile(const char* name)
{
    return (std::filesystem::temp_directory_path() / ("lumidrax_site_" + std::to_string(getpid()) + "_" + name))
        .string();
}

// How many buildings the site in the working drawing has (0: no site).
int g_siteSize = 0;

// The site of n buildings in the working drawing, saved once, made only when n changes.
void Site(int n)
{
    if (g_siteSize == n) return;
    DrawOutlines(n);
    BuildAll();
    AddWindows(n);
    Run("save " + TempFile("site.q3d") + "\n");
    g_siteSize = n;
}

void Build(benchmark::State& state)
{
    EnterModule();
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        DrawOutlines(n);
        state.ResumeTiming();
        BuildAll();
    }
    // The next step makes its site afresh.
    host::NewDrawing();
    g_siteSize = 0;
}

// A step on the whole site, given as the line a user types.
void Step(benchmark::State& state, const std::string& line)
{
    EnterModule();
    const int n = static_cast<int>(state.range(0));
    Site(n);
    for (auto _ : state) Run(line);
}

void Save(benchmark::State& state) { Step(state, "save " + TempFile("again.q3d") + "\n"); }
void Open(benchmark::State& state) { Step(state, "open " + TempFile("site.q3d") + "\n"); }
void Windows(benchmark::State& state) { Step(state, "windows\n"); }
void List(benchmark::State& state) { Step(state, "list\n"); }
void ExportObj(benchmark::State& state) { Step(state, "export obj " + TempFile("site.obj") + "\n"); }
void ExportSvgAxo(benchmark::State& state) { Step(state, "export svg " + TempFile("site.svg") + " axo\n"); }
void ExportSvgPlan(benchmark::State& state) { Step(state, "export svg " + TempFile("site.svg") + " plan\n"); }

// Prints, after the usual table, each step's shortest time on the doubled site over its
// shortest on the first, in processor time and in real time.
class GrowthReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "min") continue;
            m_times[run.run_name.function_name][std::stoi(run.run_name.args)] = {run.GetAdjustedCPUTime(),
                                                                                 run.GetAdjustedRealTime()};
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\ngrowth for the doubled site (its larger over its smaller size):  cpu   real\n");
        for (const auto& [step, times] : m_times) {
            if (times.size() < 2) continue;
            const auto& [small, smallTimes] = *times.begin();
            const auto& [large, largeTimes] = *times.rbegin();
            std::printf("  %-14s %4d over %4d buildings %23.2f %6.2f\n", step.c_str(), large, small,
                        largeTimes.first / smallTimes.first, largeTimes.second / smallTimes.second);
        }
    }

private:
    std::map<std::string, std::map<int, std::pair<double, double>>> m_times;
};

}  // namespace

// Each step runs seven times and its shortest run counts: on a busy machine the shortest is
// the one least disturbed.
double Shortest(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

#define SITE_STEP(step)                                                                                 \
    BENCHMARK(step)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7) \
        ->ComputeStatistics("min", Shortest)->ReportAggregatesOnly(true)

SITE_STEP(Build);
SITE_STEP(Save);
SITE_STEP(Open);
SITE_STEP(Windows);
SITE_STEP(List);
SITE_STEP(ExportObj);
// The pictures on sites of 50,000 and 100,000 windows.
BENCHMARK(ExportSvgAxo)->Arg(1250)->Arg(2500)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
    ->ComputeStatistics("min", Shortest)->ReportAggregatesOnly(true);
BENCHMARK(ExportSvgPlan)->Arg(1250)->Arg(2500)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
    ->ComputeStatistics("min", Shortest)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const char* name : {"site.q3d", "again.q3d", "site.obj", "site.mtl", "site.svg"}) std::remove(TempFile(name).c_str());
    return 0;
}
