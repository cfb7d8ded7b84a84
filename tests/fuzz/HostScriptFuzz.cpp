// Runs random scripts of the host's script language through quenra3d (the one beside this
// program: in build/sanitize, the sanitizer build) and keeps each script that crashes it, makes
// a sanitizer report, runs past the time limit or ends a command by an exception (the
// host's "stopped" message), with what quenra3d wrote. tests/fuzz/README.md says how to run it.
//
//   host_script_fuzz [--seconds N] [--jobs N] [--seed N] [--timeout N] [--out DIR]
//                    [--quenra3d PATH] [--examples DIR] [--resources DIR] [--keep N]
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "HostScriptGenerator.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
    double seconds = 600.0, timeout = 60.0;
    int jobs = 2, keep = 3;
    std::uint64_t seed = 1;
    fs::path out = "host-script-findings", quenra3d, examples, resources;
};

// A run's end: its exit status or the signal that ended it, or that it was stopped as hung.
struct Ending {
    int status = 0, signal = 0;
    bool hung = false;
};

std::string ReadAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first line of the text that holds the part, or nothing.
std::string LineWith(const std::string& text, const std::string& part)
{
    const std::size_t at = text.find(part);
    if (at == std::string::npos) return {};
    const std::size_t start = text.rfind('\n', at) + 1, end = text.find('\n', at);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Where the run was: the last command it started and the last script line it echoed.
std::string LastLines(const std::string& output, const std::set<std::string>& commands)
{
    std::string command = "(none)", line = "(none)";
    std::istringstream lines(output);
    for (std::string each; std::getline(lines, each);) {
        if (!each.starts_with("> ")) continue;
        line = each.substr(2);
        std::string word = line.substr(0, line.find(' '));
        std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
        if (commands.contains(word)) command = word;
    }
    return "in " + command + " at \"" + line + "\"";
}

// What is wrong with a run, as one line that names its kind and where (empty: nothing).
std::string Finding(const Ending& ending, const std::string& output, const std::set<std::string>& commands)
{
    for (const char* report : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                               "SUMMARY: UndefinedBehaviorSanitizer"})
        if (const std::string line = LineWith(output, report); !line.empty()) {
            // The place of the report without the addresses, which differ from run to run.
            std::string place = line.substr(0, line.find(" (0x"));
            if (const std::string frame = LineWith(output, "    #1 "); !frame.empty() && place.find("runtime error") == std::string::npos)
                place += " |" + frame.substr(frame.find(" in ") == std::string::npos ? 0 : frame.find(" in "));
            return "sanitizer: " + place;
        }
    if (ending.hung) return "hang " + LastLines(output, commands);
    if (ending.signal != 0) return "crash: signal " + std::to_string(ending.signal) + " " + LastLines(output, commands);
    if (ending.status > 2) return "crash: status " + std::to_string(ending.status) + " " + LastLines(output, commands);
    if (const std::string line = LineWith(output, "\" stopped"); !line.empty())
        return "stopped: " + line.substr(line.find("the command"));
    return {};
}

// quenra3d on the script in the folder, stopped when it runs past the time limit. Everything
// the child needs is made before the fork: other threads may hold locks the child would wait on.
Ending Run(const Options& options, const fs::path& folder, const fs::path& script, const fs::path& output)
{
    std::vector<std::string> environment = {"ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1",
                                            "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"};
    for (char** each = environ; *each; ++each)
        if (!std::string_view(*each).starts_with("ASAN_OPTIONS=") && !std::string_view(*each).starts_with("UBSAN_OPTIONS="))
            environment.emplace_back(*each);
    std::vector<char*> env;
    for (std::string& each : environment) env.push_back(each.data());
    env.push_back(nullptr);
    std::string program = options.quenra3d.string(), name = "quenra3d", path = script.string();
    char* const args[] = {name.data(), path.data(), nullptr};
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (chdir(folder.c_str()) != 0 || out < 0 || in < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0 || dup2(in, 0) < 0)
            _exit(126);
        execve(program.c_str(), args, env.data());
        _exit(127);
    }
    Ending ending;
    if (child < 0) {
        ending.status = 126;
        return ending;
    }
    // The child's descriptor becomes readable when it ends.
    const int handle = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    pollfd wait{handle, POLLIN, 0};
    if (handle < 0 || poll(&wait, 1, static_cast<int>(options.timeout * 1000)) == 0) {
        kill(child, SIGKILL);
        ending.hung = handle >= 0;
    }
    if (handle >= 0) close(handle);
    int status = 0;
    waitpid(child, &status, 0);
    if (ending.hung) return ending;
    if (WIFSIGNALED(status)) ending.signal = WTERMSIG(status);
    if (WIFEXITED(status)) ending.status = WEXITSTATUS(status);
    return ending;
}

// The commands help lists, the host's and the module's apart: "  NAME  TITLE (host)".
bool ReadCommands(const Options& options, std::vector<std::string>& host, std::vector<std::string>& module)
{
    const fs::path folder = fs::temp_directory_path() / ("host_script_fuzz_" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "help.txt") << "help\n";
    const Ending ending = Run(options, folder, folder / "help.txt", folder / "help.out");
    std::istringstream lines(ReadAll(folder / "help.out"));
    fs::remove_all(folder);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string name;
        words >> name;
        if (line.ends_with("(host)")) host.push_back(name);
        if (line.ends_with("(orv)")) module.push_back(name);
    }
    return ending.status == 0 && !module.empty();
}

struct Worker {
    fs::path folder;
    std::vector<std::string> lines;
};

struct Tally {
    long scripts = 0, lines = 0;
    std::map<std::string, int> findings;  // by kind and place
    std::map<std::string, std::string> first;  // the file of the first script of each
};

void Keep(const Options& options, Tally& tally, const std::string& finding, const Worker& worker, const std::string& output)
{
    const int seen = ++tally.findings[finding];
    if (seen > options.keep) return;
    const std::string name = "finding-" + std::to_string(tally.findings.size()) + "-" + std::to_string(seen);
    // The scratch folder becomes the folder the script is run in again.
    const std::string folder = worker.folder.string();
    std::ofstream script(options.out / (name + ".txt"));
    script << "; " << finding << "\n";
    for (std::string line : worker.lines) {
        for (std::size_t at = line.find(folder); at != std::string::npos; at = line.find(folder, at + 1))
            line.replace(at, folder.size(), ".");
        script << line << "\n";
    }
    std::ofstream(options.out / (name + ".out")) << output;
    if (seen == 1) tally.first[finding] = (options.out / (name + ".txt")).string();
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    const fs::path self = fs::read_symlink("/proc/self/exe");
    options.quenra3d = self.parent_path() / "quenra3d";
    options.examples = fs::path(LUMIDRAX_SOURCE_DIR) / "examples";
    options.resources = fs::path(LUMIDRAX_SOURCE_DIR) / "resources";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--seconds") options.seconds = std::stod(value);
        else if (name == "--jobs") options.jobs = std::max(1, std::stoi(value));
        else if (name == "--seed") options.seed = std::stoull(value);
        else if (name == "--timeout") options.timeout = std::stod(value);
        else if (name == "--out") options.out = value;
        else if (name == "--quenra3d") options.quenra3d = value;
        else if (name == "--examples") options.examples = value;
        else if (name == "--resources") options.resources = value;
        else if (name == "--keep") options.keep = std::stoi(value);
        else return false;
    }
    return argc % 2 == 1;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: host_script_fuzz [--seconds N] [--jobs N] [--seed N] [--timeout N] [--out DIR]\n"
                             "       [--quenra3d PATH] [--examples DIR] [--resources DIR] [--keep N]\n");
        return 2;
    }
    std::vector<std::string> hostCommands, moduleCommands;
    if (!ReadCommands(options, hostCommands, moduleCommands)) {
        std::fprintf(stderr, "host_script_fuzz: %s did not list its commands\n", options.quenra3d.c_str());
        return 2;
    }
    const fuzz::ScriptCorpus corpus = fuzz::ReadCorpus(options.examples, options.resources, hostCommands, moduleCommands);
    std::set<std::string> commands(hostCommands.begin(), hostCommands.end());
    commands.insert(moduleCommands.begin(), moduleCommands.end());
    fs::create_directories(options.out);
    const fs::path scratch = fs::temp_directory_path() / ("host_script_fuzz_" + std::to_string(getpid()));
    std::vector<Worker> workers(static_cast<std::size_t>(options.jobs));
    std::vector<fuzz::ScriptGenerator> generators;
    for (std::size_t k = 0; k < workers.size(); ++k) {
        workers[k].folder = scratch / std::to_string(k);
        fs::create_directories(workers[k].folder);
        generators.emplace_back(corpus, options.examples, workers[k].folder, options.seed * 1000 + k);
    }
    Tally tally;
    const auto end = Clock::now() + std::chrono::duration<double>(options.seconds);
    // Each worker runs one script at a time in its own folder, on its own thread.
    std::vector<std::thread> threads;
    std::mutex mutex;
    for (std::size_t k = 0; k < workers.size(); ++k) {
        threads.emplace_back([&, k] {
            Worker& worker = workers[k];
            while (Clock::now() < end) {
                worker.lines = generators[k].Next();
                const fs::path script = worker.folder / "script.txt", output = worker.folder / "script.out";
                {
                    std::ofstream file(script);
                    for (const std::string& line : worker.lines) file << line << "\n";
                }
                const Ending ending = Run(options, worker.folder, script, output);
                const std::string text = ReadAll(output);
                const std::string finding = Finding(ending, text, commands);
                const std::lock_guard lock(mutex);
                ++tally.scripts;
                tally.lines += static_cast<long>(worker.lines.size());
                if (!finding.empty()) Keep(options, tally, finding, worker, text);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    fs::remove_all(scratch);
    long found = 0;
    for (const auto& [finding, count] : tally.findings) found += count;
    std::printf("%ld scripts, %ld lines, %ld findings (%zu kinds)\n", tally.scripts, tally.lines, found,
                tally.findings.size());
    for (const auto& [finding, count] : tally.findings)
        std::printf("%6d  %s\n        %s\n", count, finding.c_str(), tally.first[finding].c_str());
    return tally.findings.empty() ? 0 : 1;
}
