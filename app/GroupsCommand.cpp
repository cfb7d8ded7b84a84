// The host command "groups": the drawing's groups as the host keeps them, one line each in
// the order they were made, "group K flags=F: #a #b ...", or "no groups".
#include <string>
#include <vector>

#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "WorkingDrawing.h"

namespace host {

namespace {

void Groups(const ScriptLine& line, const std::vector<std::string>& args)
{
    if (!args.empty()) {
        Usage(line, "groups");
        return;
    }
    EventLog& log = EventLog::Instance();
    const std::vector<DrawingGroup>& groups = dec::GetWorkingDatabase()->Groups();
    if (groups.empty()) {
        log.Show("no groups");
        return;
    }
    for (std::size_t k = 0; k < groups.size(); ++k) {
        std::string text = "group " + std::to_string(k + 1) + " flags=" + std::to_string(groups[k].flags) + ":";
        for (const decObjectId& id : groups[k].members)
            text += " #" + std::to_string(id.Handle());
        log.Show(text);
    }
}

}  // namespace

void RegisterGroupsCommand()
{
    CommandTable::Instance().RegisterHost("groups", "编组", Groups);
}

}  // namespace host
