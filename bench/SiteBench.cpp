// A generated site taken through the steps a user takes, each as the script lines a user types:
// buildings of 12 m by 9 m on a 20 m grid, six storeys each from the floor table (with their
// floor lines and elevation labels), a flat roof on each (roof, a click inside the building),
// 48 windows on each (qwin, a click on the south and on the north facade, four windows on each
// of the six storeys), then save, open, windows, list, export obj and export svg. Every phase
// should grow with the site, and so should the memory the process needs. The far site is the
// same with one 10 m square 500 km away from it (a leftover object far from a site at survey
// coordinates), drawn first.
//
// The site built building by building is made as a user makes one building after another: per
// building its outline (pline), the building on it (build, a click on the outline, 18 m on the
// ground), its roof (roof, a click inside) and its windows (qwin, a click on the south and on
// the north wall), then windows reads them back. Every click then asks about a drawing that
// has grown since the last one. It is run as it is, after a first click that misses on the
// empty drawing, and beside a leftover 10 m square at zero with the site at survey coordinates
// (3,000 km east, 4,000 km north).
//
//   SiteBench [SIZE ...] [--runs N] [--far | --near | --by-building]
//                                     each size (default 500 1000 2000) run N times (default 3),
//                                     each run a fresh process, for the site, the far site and
//                                     the three sites built building by building (or only the
//                                     site, the far site, or those three); prints the median
//                                     wall time of every phase, the peak memory of each size,
//                                     and how much each grows per doubling of the site (target:
//                                     at most 2.5)
//   SiteBench --site SIZE [--far]     one run in this process (the site or the far site): a
//                                     line per phase, then the peak memory (getrusage), as the
//                                     driver reads them
//   SiteBench --site SIZE --by-building [--early-click | --far]
//                                     the same for a site built building by building
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "EventLog.h"
#include "ModuleLoader.h"
#include "ScriptedUser.h"
#include "Session.h"

namespace {

constexpr double kWidth = 12000.0, kDepth = 9000.0, kSpacing = 20000.0;
constexpr int kColumns = 50;
constexpr int kWindowsPerBuilding = 48;

// The kinds of site, as the driver runs them and names them to a run of its own.
struct SiteKind {
    const char* title;
    std::vector<const char*> arguments;  // after --site SIZE
    std::vector<const char*> phases;
};

const std::vector<const char*> kWholePhases = {"build", "roofs",   "qwin",       "save",      "open",
                                               "windows", "list", "export obj", "export svg"};
const std::vector<const char*> kByBuildingPhases = {"buildings", "windows"};

const SiteKind kSite{"the site", {}, kWholePhases};
const SiteKind kFarSite{"the far site (a 10 m square 500 km away)", {"--far"}, kWholePhases};
const SiteKind kByBuilding{"building by building", {"--by-building"}, kByBuildingPhases};
const SiteKind kEarlyClick{"building by building, after a click on the empty drawing",
                           {"--by-building", "--early-click"}, kByBuildingPhases};
const SiteKind kFarSquare{"building by building at (3e6, 4e6), a 10 m square at zero",
                          {"--by-building", "--far"}, kByBuildingPhases};

// Where the site built building by building lies beside its leftover square.
constexpr double kSurveyEast = 3.0e6, kSurveyNorth = 4.0e6;

double X(int i) { return (i % kColumns) * kSpacing; }
double Y(int i) { return (i / kColumns) * kSpacing; }

std::string Point(double x, double y)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g,%g", x, y);
    return text;
}

std::string TempFile(const char* name)
{
    return (std::filesystem::temp_directory_path() / ("lumidrax_site_" + std::to_string(getpid()) + "_" + name))
        .string();
}


// Runs the lines as the executable does (the event log is never cleared); the seconds taken.
double Run(const std::string& lines)
{
    const auto start = std::chrono::steady_clock::now();
    host::ScriptedUser::Instance().Feed(lines, "site");
    host::CommandLine::Instance().RunAll();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The far site's square, on its own layer, 500 km south-west of the first building.
std::string FarSquareLines()
{
    constexpr double kFar = -500e6, kSide = 10000.0;
    return "layer 远处\npline closed " + Point(kFar, kFar) + " " + Point(kFar + kSide, kFar) + " " +
           Point(kFar + kSide, kFar + kSide) + " " + Point(kFar, kFar + kSide) + "\n";
}

std::string BuildLines(int n, bool far)
{
    std::string lines = (far ? FarSquareLines() : "") + "layer 轮廓\n";
    for (int i = 0; i < n; ++i)
        lines += "pline closed " + Point(X(i), Y(i)) + " " + Point(X(i) + kWidth, Y(i)) + " " +
                 Point(X(i) + kWidth, Y(i) + kDepth) + " " + Point(X(i), Y(i) + kDepth) + "\n";
    return lines + "build\nlayer:轮廓\nt\nset 1319 3000*6\nclick 1317\nok\n\n";
}

std::string RoofLines(int n)
{
    std::string lines;
    for (int i = 0; i < n; ++i) lines += "roof\n@" + Point(X(i) + kWidth / 2, Y(i) + kDepth / 2) + "\nok\n";
    return lines;
}

// The dialog's lines for four windows on each of six storeys; it keeps its values from one pass
// to the next, so only the first pass needs them.
constexpr const char* kWindowDialog =
    "set 1222 1\nset 1223 6\nset 1277 3000\nset 1156 900\nset 1154 1500\nset 1155 1500\nset 1158 4\n"
    "set 1161 1500\ncheck 1224 1\n";

// The passes of a qwin on the south and the north facade of the building at x, y (a click on
// the wall's bottom edge, Enter, the dialog).
std::string FacadeLines(double x, double y, bool first)
{
    std::string lines;
    for (const double wall : {y, y + kDepth}) {
        lines += "@" + Point(x + kWidth / 2, wall) + "\n\n";
        if (first && wall == y) lines += kWindowDialog;
        lines += "ok\n";
    }
    return lines;
}

// One qwin: every facade a pass of its own.
std::string WindowLines(int n)
{
    std::string lines = "qwin\n";
    for (int i = 0; i < n; ++i) lines += FacadeLines(X(i), Y(i), i == 0);
    return lines + "*cancel*\n";
}

// The site building by building: the outline, the building on it by a click on its south edge,
// the roof by a click inside, the windows by clicks on its walls; first, when asked, a roof
// asked for by a click where nothing lies yet.
std::string ByBuildingLines(int n, bool earlyClick, bool far)
{
    std::string lines;
    if (far) lines += "pline closed 0,0 10000,0 10000,10000 0,10000\n";
    if (earlyClick) lines += "roof\n@-50000,-50000\n*cancel*\n";
    for (int i = 0; i < n; ++i) {
        const double x = X(i) + (far ? kSurveyEast : 0.0), y = Y(i) + (far ? kSurveyNorth : 0.0);
        lines += "pline closed " + Point(x, y) + " " + Point(x + kWidth, y) + " " + Point(x + kWidth, y + kDepth) +
                 " " + Point(x, y + kDepth) + "\n";
        lines += "build\n@" + Point(x + kWidth / 2, y) + "\n18\n0\n\n";
        lines += "roof\n@" + Point(x + kWidth / 2, y + kDepth / 2) + "\nok\n";
        lines += "qwin\n" + FacadeLines(x, y, i == 0) + "*cancel*\n";
    }
    return lines;
}

long PeakKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The steps of one run, each timed as a phase of its own.
std::vector<std::string> SiteSteps(int n, bool far, bool byBuilding, bool earlyClick)
{
    if (byBuilding) return {ByBuildingLines(n, earlyClick, far), "windows\n"};
    const std::string drawing = TempFile("site.q3d");
    return {BuildLines(n, far),
            RoofLines(n),
            WindowLines(n),
            "save " + drawing + "\n",
            "open " + drawing + "\n",
            "windows\n",
            "list\n",
            "export obj " + TempFile("site.obj") + "\n",
            "export svg " + TempFile("site.svg") + " axo\n"};
}

int RunSite(int n, bool far, bool byBuilding, bool earlyClick)
{
    // The module beside the executable, loaded and entered as quenra3d does.
    host::RegisterHostCommands();
    std::string error;
    if (!host::LoadModule(host::DefaultModulePath(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    const std::vector<std::string> steps = SiteSteps(n, far, byBuilding, earlyClick);
    const std::vector<const char*>& phases = byBuilding ? kByBuildingPhases : kWholePhases;
    // The windows command's count, read as the lines are shown (the log keeps only a tail).
    const std::string count = std::to_string(kWindowsPerBuilding * n) + " windows";
    bool complete = false;
    host::EventLog::Instance().SetSink([&](std::string_view line) {
        if (line.find(count) != std::string_view::npos) complete = true;
    });
    for (std::size_t i = 0; i < steps.size(); ++i) std::printf("phase %s %.6f\n", phases[i], Run(steps[i]));
    host::EventLog::Instance().SetSink(nullptr);
    for (const char* name : {"site.q3d", "site.obj", "site.mtl", "site.svg"}) std::remove(TempFile(name).c_str());
    if (!complete || host::ScriptedUser::Instance().Failed()) {
        std::fprintf(stderr, "the site of %d buildings was not made as intended\n", n);
        return 1;
    }
    std::printf("peak %ld\n", PeakKib());
    return 0;
}

// One run of a size in a fresh process: seconds per phase and the peak memory in KiB.
struct SiteRun {
    std::map<std::string, double> seconds;
    long peakKib = 0;
};

bool RunChild(const std::string& self, int n, const SiteKind& kind, SiteRun& run)
{
    std::string command = "'" + self + "' --site " + std::to_string(n);
    for (const char* argument : kind.arguments) command += std::string(" ") + argument;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char line[256];
    while (std::fgets(line, sizeof line, pipe)) {
        const std::string text(line);
        const std::size_t last = text.rfind(' ');
        if (text.rfind("phase ", 0) == 0 && last != std::string::npos)
            run.seconds[text.substr(6, last - 6)] = std::atof(text.c_str() + last + 1);
        else if (text.rfind("peak ", 0) == 0)
            run.peakKib = std::atol(text.c_str() + 5);
    }
    return pclose(pipe) == 0 && run.peakKib > 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Drive(const std::vector<int>& sizes, int runs, const SiteKind& kind)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::map<int, std::map<std::string, double>> medians;
    std::map<int, double> peaks;
    for (const int n : sizes) {
        std::map<std::string, std::vector<double>> seconds;
        std::vector<double> peak;
        for (int r = 0; r < runs; ++r) {
            SiteRun run;
            if (!RunChild(self, n, kind, run)) {
                std::fprintf(stderr, "the run of %d buildings failed\n", n);
                return 1;
            }
            for (const auto& [phase, s] : run.seconds) seconds[phase].push_back(s);
            peak.push_back(static_cast<double>(run.peakKib));
        }
        for (const auto& [phase, values] : seconds) medians[n][phase] = Median(values);
        peaks[n] = Median(peak);
    }
    std::printf("%s\n%-12s", kind.title, "buildings");
    for (const int n : sizes) std::printf("%12d", n);
    std::printf("   growth per doubling\n");
    const auto row = [&](const char* name, const std::function<double(int)>& value, const char* format) {
        std::printf("%-12s", name);
        for (const int n : sizes) std::printf(format, value(n));
        std::printf("  ");
        for (std::size_t i = 1; i < sizes.size(); ++i)
            std::printf(" %5.2f", std::pow(value(sizes[i]) / value(sizes[i - 1]),
                                           1.0 / std::log2(double(sizes[i]) / sizes[i - 1])));
        std::printf("\n");
    };
    for (const char* phase : kind.phases) row(phase, [&](int n) { return medians[n][phase]; }, "%11.3fs");
    row("peak memory", [&](int n) { return peaks[n] / 1024.0; }, "%10.0fMB");
    std::printf("(median of %d runs; wall time per phase; peak memory of the whole process)\n", runs);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    int runs = 3;
    std::vector<const SiteKind*> kinds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--site" && i + 1 < argc) {
            bool far = false, byBuilding = false, earlyClick = false;
            for (int k = i + 2; k < argc; ++k) {
                const std::string flag = argv[k];
                far = far || flag == "--far";
                byBuilding = byBuilding || flag == "--by-building";
                earlyClick = earlyClick || flag == "--early-click";
            }
            return RunSite(std::atoi(argv[i + 1]), far, byBuilding, byBuilding && earlyClick);
        }
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--far")
            kinds = {&kFarSite};
        else if (arg == "--near")
            kinds = {&kSite};
        else if (arg == "--by-building")
            kinds = {&kByBuilding, &kEarlyClick, &kFarSquare};
        else if (std::atoi(arg.c_str()) > 0)
            sizes.push_back(std::atoi(arg.c_str()));
    }
    if (sizes.empty()) sizes = {500, 1000, 2000};
    if (kinds.empty()) kinds = {&kSite, &kFarSite, &kByBuilding, &kEarlyClick, &kFarSquare};
    for (const SiteKind* kind : kinds)
        if (Drive(sizes, runs, *kind) != 0) return 1;
    return 0;
}
