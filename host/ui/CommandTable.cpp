#include "CommandTable.h"

#include "EventLog.h"
#include "TextParse.h"

namespace dec {

void RegisterCommand(const char* group, const char* name, const char* displayName, int flags, void (*handler)())
{
    host::EventLog::Instance().Call(std::string("RegisterCommand group=") + (group ? group : "") + " name=" +
                                    (name ? name : "") + " flags=" + std::to_string(flags));
    if (!name || !*name || !handler) return;
    host::CommandTable::Instance().Register(
        {group ? group : "", name, displayName ? displayName : "", flags, handler, nullptr});
}

}  // namespace dec

namespace host {

CommandTable& CommandTable::Instance()
{
    static CommandTable table;
    return table;
}

void CommandTable::Register(Command command)
{
    for (Command& existing : m_commands) {
        if (EqualsNoCase(existing.name, command.name)) {
            existing = std::move(command);
            return;
        }
    }
    m_commands.push_back(std::move(command));
}

void CommandTable::RegisterHost(std::string name, std::string displayName, HostCommandHandler handler)
{
    Register({"host", std::move(name), std::move(displayName), 0, nullptr, std::move(handler)});
}

const Command* CommandTable::Find(std::string_view name) const
{
    for (const Command& c : m_commands)
        if (EqualsNoCase(c.name, name)) return &c;
    return nullptr;
}

}  // namespace host
