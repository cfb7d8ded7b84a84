#include "Session.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "CommandLine.h"
#include "DrawingFiles.h"
#include "EventLog.h"
#include "ModuleLoader.h"
#include "ScriptedUser.h"
#include "SvgExport.h"

namespace host {

namespace {

// The script's bytes; false with the system's reason when it cannot be read (a folder opens
// like a file but gives no lines).
bool ReadFile(const std::string& path, std::string& text, std::string& reason)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        reason = std::strerror(EISDIR);
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = std::strerror(errno != 0 ? errno : ENOENT);
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        reason = "reading failed";
        return false;
    }
    text = content.str();
    return true;
}

// Queues the scripts. Standard input named last (or alone) is read a line at a time, so a
// person typing sees each prompt; named earlier it is read whole.
bool QueueScripts(const Options& options)
{
    ScriptedUser& user = ScriptedUser::Instance();
    for (std::size_t i = 0; i < options.scripts.size(); ++i) {
        const std::string& script = options.scripts[i];
        if (script == "-") {
            if (i + 1 == options.scripts.size()) {
                user.SetReader(
                    []() -> std::optional<std::string> {
                        std::string line;
                        if (!std::getline(std::cin, line)) return std::nullopt;
                        return line;
                    },
                    "-", isatty(STDIN_FILENO) == 0);
            } else {
                std::ostringstream all;
                all << std::cin.rdbuf();
                user.Feed(all.str(), "-");
            }
            continue;
        }
        std::string text, reason;
        if (!ReadFile(script, text, reason)) {
            EventLog::Instance().Show(script + ": cannot read the script: " + reason);
            return false;
        }
        user.Feed(text, script);
    }
    return true;
}

}  // namespace

int RunSession(const Options& options)
{
    EventLog& log = EventLog::Instance();
    if (options.help) {
        for (const std::string& line : UsageLines()) log.Show(line);
        return kExitOk;
    }
    RegisterHostCommands();
    std::string error;
    if (!LoadModule(options.module ? *options.module : DefaultModulePath(), error)) {
        log.Show(error);
        return kExitLoadOrSave;
    }
    if (options.open && !OpenDrawingFile(*options.open)) return kExitLoadOrSave;
    ScriptedUser::Instance().SetQuiet(options.quiet);
    if (!QueueScripts(options)) return kExitLoadOrSave;
    const bool understood = CommandLine::Instance().RunAll();
    if (options.save) SaveDrawingFile(*options.save);
    if (options.obj) ExportObjFile(*options.obj);
    if (options.svg) ExportSvgFile(*options.svg, PictureView::Axonometric, kSvgDefaultWidth);
    if (DrawingFileFailed()) return kExitLoadOrSave;
    return understood ? kExitOk : kExitNotUnderstood;
}

}  // namespace host
