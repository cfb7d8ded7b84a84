#include <string>

#include "CommandTable.h"
#include "EventLog.h"
#include "HostCommands.h"

namespace host {

void RegisterHelpCommand()
{
    CommandTable::Instance().RegisterHost("help", "列出命令", [](const ScriptLine&, const std::vector<std::string>&) {
        EventLog& log = EventLog::Instance();
        for (const Command& command : CommandTable::Instance().All()) {
            std::string line = "  " + command.name;
            if (line.size() < 16) line.resize(16, ' ');
            log.Show(line + " " + command.displayName + " (" + command.group + ")");
        }
    });
}

}  // namespace host
