// quenra3d: the host executable. It loads the module, runs scripts (or what a person types)
// against the drawing and prints the transcript.
#include <cstdio>
#include <string>
#include <vector>

#include "EventLog.h"
#include "Options.h"
#include "Session.h"

int main(int argc, char** argv)
{
    host::EventLog& log = host::EventLog::Instance();
    log.SetSink([](std::string_view line) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
    std::string error;
    const auto options = host::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    int status = host::kExitNotUnderstood;
    if (!options) {
        log.Show("quenra3d: " + error);
    } else {
        status = host::RunSession(*options);
    }
    log.SetSink(nullptr);
    return status;
}
