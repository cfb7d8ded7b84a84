// quenra3d: the host executable. It loads the module, runs scripts (or what a person types)
// against the drawing and prints the transcript.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "EventLog.h"
#include "Options.h"
#include "Session.h"

namespace {

// A standard descriptor the run was started without is opened on /dev/null, so that no file
// the run opens (a drawing being saved) takes its number and receives the transcript. False
// when standard output was one of them.
bool OpenMissingStandardDescriptors()
{
    bool output = true;
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened != fd && opened != -1) close(opened);
        if (fd == 1) output = false;
    }
    return output;
}

}  // namespace

int main(int argc, char** argv)
{
    bool transcriptWritten = OpenMissingStandardDescriptors();
    int transcriptError = transcriptWritten ? 0 : EBADF;
    // A reader that went away (a closed pipe) or a file-size limit make the write fail with a
    // reason instead of ending the run before the drawing is saved.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);

    host::EventLog& log = host::EventLog::Instance();
    log.SetSink([&](std::string_view line) {
        const bool ok = std::fwrite(line.data(), 1, line.size(), stdout) == line.size() &&
                        std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0;
        if (!ok && transcriptWritten) {
            transcriptWritten = false;
            transcriptError = errno;
        }
    });
    std::string error;
    const auto options = host::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    int status = host::kExitNotUnderstood;
    if (!options) {
        log.Show("quenra3d: " + error);
    } else {
        try {
            status = host::RunSession(*options);
        } catch (const std::bad_alloc&) {
            // What the drawing or the scripts asked for did not fit the memory there is.
            log.Show("quenra3d: there is not enough memory to go on");
            status = host::kExitLoadOrSave;
        }
    }
    log.SetSink(nullptr);
    if (!transcriptWritten) {
        std::fprintf(stderr, "quenra3d: the transcript could not be written: %s\n", std::strerror(transcriptError));
        return host::kExitLoadOrSave;
    }
    return status;
}
