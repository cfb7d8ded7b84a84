// A generated site taken through the steps a user takes, each as the script lines a user types:
// buildings of 12 m by 9 m on a 20 m grid, six storeys each from the floor table (with their
// floor lines and elevation labels), a flat roof on each (roof, a click inside the building),
// 48 windows on each (qwin, a click on the south and on the north facade, four windows on each
// of the six storeys), then save, open, windows, list, export obj and export svg. Every phase
// should grow with the site, and so should the memory the process needs. The far site is the
// same with one 10 m square 500 km away from it (a leftover object far from a site at survey
// coordinates), drawn first.
//
//   SiteBench [SIZE ...] [--runs N] [--far | --near]
//                                     each size (default 500 1000 2000) run N times (default 3),
//                                     each run a fresh process, for the site and the far site
//                                     (or only one of them); prints the median wall time of
//                                     every phase, the peak memory of each size, and how much
//                                     each grows per doubling of the site (target: at most 2.5)
//   SiteBench --site SIZE [--far]     one run in this process: a line per phase, then the peak
//                                     memory (getrusage), as the driver reads them
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

const char* const kPhases[] = {"build", "roofs", "qwin", "save", "open", "windows", "list", "export obj", "export svg"};

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

// One qwin: every facade a pass of its own (a click on the wall's bottom edge, Enter, the dialog).
std::string WindowLines(int n)
{
    std::string lines = "qwin\n";
    for (int i = 0; i < n; ++i) {
        for (const double y : {Y(i), Y(i) + kDepth}) {
            lines += "@" + Point(X(i) + kWidth / 2, y) + "\n\n";
            // The dialog keeps its values from one pass to the next.
            if (i == 0 && y == Y(i))
                lines += "set 1222 1\nset 1223 6\nset 1277 3000\nset 1156 900\nset 1154 1500\nset 1155 1500\n"
                         "set 1158 4\nset 1161 1500\ncheck 1224 1\n";
            lines += "ok\n";
        }
    }
    return lines + "*cancel*\n";
}

long PeakKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int RunSite(int n, bool far)
{
    // The module beside the executable, loaded and entered as quenra3d does.
    host::RegisterHostCommands();
    std::string error;
    if (!host::LoadModule(host::DefaultModulePath(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    const std::string drawing = TempFile("site.q3d");
    const std::vector<std::string> steps = {BuildLines(n, far),
                                            RoofLines(n),
                                            WindowLines(n),
                                            "save " + drawing + "\n",
                                            "open " + drawing + "\n",
                                            "windows\n",
                                            "list\n",
                                            "export obj " + TempFile("site.obj") + "\n",
                                            "export svg " + TempFile("site.svg") + " axo\n"};
    // The windows command's count, read as the lines are shown (the log keeps only a tail).
    const std::string count = std::to_string(kWindowsPerBuilding * n) + " windows";
    bool complete = false;
    host::EventLog::Instance().SetSink([&](std::string_view line) {
        if (line.find(count) != std::string_view::npos) complete = true;
    });
    for (std::size_t i = 0; i < steps.size(); ++i) std::printf("phase %s %.6f\n", kPhases[i], Run(steps[i]));
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

bool RunChild(const std::string& self, int n, bool far, SiteRun& run)
{
    const std::string command = "'" + self + "' --site " + std::to_string(n) + (far ? " --far" : "");
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

int Drive(const std::vector<int>& sizes, int runs, bool far)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::map<int, std::map<std::string, double>> medians;
    std::map<int, double> peaks;
    for (const int n : sizes) {
        std::map<std::string, std::vector<double>> seconds;
        std::vector<double> peak;
        for (int r = 0; r < runs; ++r) {
            SiteRun run;
            if (!RunChild(self, n, far, run)) {
                std::fprintf(stderr, "the run of %d buildings failed\n", n);
                return 1;
            }
            for (const auto& [phase, s] : run.seconds) seconds[phase].push_back(s);
            peak.push_back(static_cast<double>(run.peakKib));
        }
        for (const auto& [phase, values] : seconds) medians[n][phase] = Median(values);
        peaks[n] = Median(peak);
    }
    std::printf("%s\n%-12s", far ? "the far site (a 10 m square 500 km away)" : "the site", "buildings");
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
    for (const char* phase : kPhases) row(phase, [&](int n) { return medians[n][phase]; }, "%11.3fs");
    row("peak memory", [&](int n) { return peaks[n] / 1024.0; }, "%10.0fMB");
    std::printf("(median of %d runs; wall time per phase; peak memory of the whole process)\n", runs);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    int runs = 3;
    bool near = true, far = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--site" && i + 1 < argc)
            return RunSite(std::atoi(argv[i + 1]), i + 2 < argc && std::string(argv[i + 2]) == "--far");
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--far")
            near = false;
        else if (arg == "--near")
            far = false;
        else if (std::atoi(arg.c_str()) > 0)
            sizes.push_back(std::atoi(arg.c_str()));
    }
    if (sizes.empty()) sizes = {500, 1000, 2000};
    for (const bool each : {false, true})
        if ((each ? far : near) && Drive(sizes, runs, each) != 0) return 1;
    return 0;
}
