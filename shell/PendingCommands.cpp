// Handlers of the commands that are not built yet. Each says so on the command line and
// does nothing else. A command that is built defines its handler where it lives and its
// line here goes.
#include <string>

#include "CommandLine.h"
#include "OrvCommandHandlers.h"
#include "OrvCommands.h"

namespace {

void ReportNotAvailable(const char* name)
{
    const OrvCommand* command = FindOrvCommand(name);
    const std::string text = std::string("The command ") + name + " (" + (command ? command->displayName : "") +
                             ") is not available yet.";
    dec::PrintPrompt(text.c_str());
}

}  // namespace

void CMD_BALCONY() { ReportNotAvailable("balcony"); }
