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
// The site named and numbered building by building is the site above (its buildings, roofs
// and windows made as one phase), then taken one building at a time, each by a box round it
// as examples/naming.txt teaches: the box alone (list), the building named (namebld, with its
// label), its windows numbered (orderindex from 1), and one window's 位号 changed in the panel
// (setprop on a click at the window). Then every building is renamed one at a time, as a user
// renames one: namebld, the new name, a click inside the building (which takes its roof, the
// latest object there, named with it), yes to carrying the name over to the building and its
// windows, no label; then every name is cleared the same way. Each of those is a phase.
//
//   SiteBench [SIZE ...] [--runs N] [--far | --near | --by-building | --naming]
//                                     each size (default 500 1000 2000) run N times (default 3),
//                                     each run a fresh process, for the site, the far site, the
//                                     three sites built building by building and the site named
//                                     building by building (or only the site, the far site,
//                                     those three or the last); prints the median
//                                     wall time of every phase, the peak memory of each size,
//                                     and how much each grows per doubling of the site (target:
//                                     at most 2.5)
//   SiteBench --site SIZE [--far]     one run in this process (the site or the far site): a
//                                     line per phase, then the peak memory (getrusage), as the
//                                     driver reads them
//   SiteBench --site SIZE --by-building [--early-click | --far]
//                                     the same for a site built building by building
//   SiteBench --site SIZE --naming    the same for the site named building by building
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
#include <utility>
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
const std::vector<const char*> kNamingPhases = {"site",  "box",    "namebld", "orderindex",
                                                 "panel", "rename", "clear"};

const SiteKind kSite{"the site", {}, kWholePhases};
const SiteKind kFarSite{"the far site (a 10 m square 500 km away)", {"--far"}, kWholePhases};
const SiteKind kByBuilding{"building by building", {"--by-building"}, kByBuildingPhases};
const SiteKind kEarlyClick{"building by building, after a click on the empty drawing",
                           {"--by-building", "--early-click"}, kByBuildingPhases};
const SiteKind kFarSquare{"building by building at (3e6, 4e6), a 10 m square at zero",
                          {"--by-building", "--far"}, kByBuildingPhases};
const SiteKind kNaming{"named and numbered building by building, each by a box round it", {"--naming"},
                       kNamingPhases};

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

// The variant of the site one run makes.
struct SiteOptions {
    bool far = false, byBuilding = false, earlyClick = false, naming = false;
};

// One phase of a run: the lines, and what the transcript shows as many times as the phase did
// its work (nothing to look for when the marker is empty).
struct Step {
    Step(std::string lines_, std::string marker_ = {}, int times_ = 0)
        : lines(std::move(lines_)), marker(std::move(marker_)), times(times_)
    {
    }
    std::string lines;
    std::string marker;
    int times;
};

std::string Box(int i)
{
    constexpr double kMargin = 1000.0;
    return "box:" + Point(X(i) - kMargin, Y(i) - kMargin) + "," +
           Point(X(i) + kWidth + kMargin, Y(i) + kDepth + kMargin);
}

// The site named and numbered building by building: each line (or pass) takes one building
// by a box round it (its outline and floor lines, the building, its roof and its 48 windows).
std::vector<Step> NamingSteps(int n)
{
    std::string box, name = "namebld\n", order = "orderindex\n", panel, rename = "namebld\n", clear = "namebld\n";
    for (int i = 0; i < n; ++i) {
        box += "list " + Box(i) + "\n";
        const std::string label = Point(X(i) + kWidth / 2, Y(i) + kDepth / 2);
        name += "楼" + std::to_string(i + 1) + "\n" + Box(i) + "\n" + label + "\n";
        order += Box(i) + "\n1\n";
        // The south facade's western window column; the click takes its top window.
        panel += "setprop @" + Point(X(i) + 1500.0, Y(i)) + " 0 99\n";
        rename += "新楼" + std::to_string(i + 1) + "\n@" + label + "\nyes\n\n";
        clear += "\n@" + label + "\nyes\n";
    }
    // The building and its 48 windows bear the old name beside the roof clicked.
    const char* carried = "是否要同时更新和建筑物旧名称同名的49个建筑对象的名称？";
    return {{BuildLines(n, false) + RoofLines(n) + WindowLines(n)},
            {box, "QCExtrudeBuild layer=建筑", n},
            {name + "*cancel*\n", "提示：选中50个三维对象!", n},
            {order + "*cancel*\n", "selected 48:", n},
            {panel, ": taken, 位号=99", n},
            {rename + "*cancel*\n", carried, n},
            {clear + "*cancel*\n", carried, n}};
}

// The steps of one run, each timed as a phase of its own.
std::vector<Step> SiteSteps(int n, const SiteOptions& options)
{
    if (options.naming) return NamingSteps(n);
    // The windows command's count.
    const Step windows{"windows\n", std::to_string(kWindowsPerBuilding * n) + " windows", 1};
    if (options.byBuilding) return {{ByBuildingLines(n, options.earlyClick, options.far)}, windows};
    const std::string drawing = TempFile("site.q3d");
    return {{BuildLines(n, options.far)},
            {RoofLines(n)},
            {WindowLines(n)},
            {"save " + drawing + "\n"},
            {"open " + drawing + "\n"},
            windows,
            {"list\n"},
            {"export obj " + TempFile("site.obj") + "\n"},
            {"export svg " + TempFile("site.svg") + " axo\n"}};
}

int RunSite(int n, const SiteOptions& options)
{
    // The module beside the executable, loaded and entered as quenra3d does.
    host::RegisterHostCommands();
    std::string error;
    if (!host::LoadModule(host::DefaultModulePath(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    const std::vector<Step> steps = SiteSteps(n, options);
    const std::vector<const char*>& phases =
        options.naming ? kNamingPhases : options.byBuilding ? kByBuildingPhases : kWholePhases;
    // The markers are counted as the lines are shown (the log keeps only a tail).
    const Step* current = nullptr;
    int seen = 0;
    host::EventLog::Instance().SetSink([&](std::string_view line) {
        if (current && !current->marker.empty() && line.find(current->marker) != std::string_view::npos) ++seen;
    });
    bool complete = true;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        current = &steps[i];
        seen = 0;
        std::printf("phase %s %.6f\n", phases[i], Run(steps[i].lines));
        if (seen != steps[i].times) {
            std::fprintf(stderr, "phase %s: \"%s\" shown %d times, not %d\n", phases[i], steps[i].marker.c_str(), seen,
                         steps[i].times);
            complete = false;
        }
    }
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
            SiteOptions options;
            for (int k = i + 2; k < argc; ++k) {
                const std::string flag = argv[k];
                options.far = options.far || flag == "--far";
                options.byBuilding = options.byBuilding || flag == "--by-building";
                options.earlyClick = options.earlyClick || flag == "--early-click";
                options.naming = options.naming || flag == "--naming";
            }
            options.earlyClick = options.earlyClick && options.byBuilding;
            return RunSite(std::atoi(argv[i + 1]), options);
        }
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--far")
            kinds = {&kFarSite};
        else if (arg == "--near")
            kinds = {&kSite};
        else if (arg == "--by-building")
            kinds = {&kByBuilding, &kEarlyClick, &kFarSquare};
        else if (arg == "--naming")
            kinds = {&kNaming};
        else if (std::atoi(arg.c_str()) > 0)
            sizes.push_back(std::atoi(arg.c_str()));
    }
    if (sizes.empty()) sizes = {500, 1000, 2000};
    if (kinds.empty()) kinds = {&kSite, &kFarSite, &kByBuilding, &kEarlyClick, &kFarSquare, &kNaming};
    for (const SiteKind* kind : kinds)
        if (Drive(sizes, runs, *kind) != 0) return 1;
    return 0;
}
