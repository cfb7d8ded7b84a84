#include "Options.h"

namespace host {

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error)
{
    Options options;
    bool onlyScripts = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyScripts || arg == "-" || arg.empty() || arg[0] != '-') {
            options.scripts.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyScripts = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        std::optional<std::string>* target = nullptr;
        if (name == "-m" || name == "--module") target = &options.module;
        else if (name == "-o" || name == "--open") target = &options.open;
        else if (name == "-s" || name == "--save") target = &options.save;
        else if (name == "--obj") target = &options.obj;
        else if (name == "--svg") target = &options.svg;
        if (target) {
            if (inlineValue) {
                *target = *inlineValue;
            } else if (i + 1 < args.size()) {
                *target = args[++i];
            } else {
                error = "the option " + name + " needs a file";
                return std::nullopt;
            }
            if ((*target)->empty()) {
                error = "the option " + name + " needs a file";
                return std::nullopt;
            }
            continue;
        }
        if (inlineValue) {
            error = "the option " + name + " takes no value";
            return std::nullopt;
        }
        if (name == "-q" || name == "--quiet") options.quiet = true;
        else if (name == "-h" || name == "--help") options.help = true;
        else {
            error = "unknown option " + arg + " (quenra3d -h lists the options)";
            return std::nullopt;
        }
    }
    if (options.scripts.empty()) options.scripts.push_back("-");
    return options;
}

std::vector<std::string> UsageLines()
{
    return {
        "usage: quenra3d [options] [SCRIPT ...]",
        "  -m, --module PATH   the module to load (default: liblumidrax.so beside the executable)",
        "  -o, --open FILE     open this drawing before the scripts run",
        "  -s, --save FILE     save the drawing after the last script",
        "      --obj FILE      export the drawing's meshes and curves as Wavefront OBJ (with its .mtl) after the last script",
        "      --svg FILE      export a picture of the drawing (axonometric, 1600 px wide) as SVG after the last script",
        "  -q, --quiet         do not echo script lines to the transcript",
        "  -h, --help          show this text",
        "With no SCRIPT, or with -, lines are read from standard input.",
        "Exit status: 0 every line understood; 1 a line not understood; 2 the module, a drawing or",
        "a script could not be read, loaded or saved, or the transcript could not be written.",
    };
}

}  // namespace host
