#pragma once
// The command line of quenra3d.
#include <optional>
#include <string>
#include <vector>

namespace host {

struct Options {
    std::optional<std::string> module;  // -m, --module
    std::optional<std::string> open;    // -o, --open
    std::optional<std::string> save;    // -s, --save
    std::optional<std::string> obj;     // --obj
    std::optional<std::string> svg;     // --svg
    bool quiet = false;                 // -q, --quiet
    bool help = false;                  // -h, --help
    std::vector<std::string> scripts;   // "-" is standard input; none means standard input
};

// Reads the arguments (without the program name). On an unknown option or a missing value
// gives nothing and says why in error.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The usage text, one line per entry.
std::vector<std::string> UsageLines();

}  // namespace host
