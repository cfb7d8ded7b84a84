#pragma once
// The command table: every command the command line knows, the host's own and those a
// module registers, looked up by name without regard to ASCII case.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ScriptedUser.h"

namespace dec {
// Registers a module command; a second registration of the same name replaces the first.
void RegisterCommand(const char* group, const char* name, const char* displayName, int flags, void (*handler)());
}  // namespace dec

namespace host {

// A host command reads the rest of its line (split at blanks) as its arguments; it reports
// what it cannot use through ScriptedUser::Refuse with the line.
using HostCommandHandler = std::function<void(const ScriptLine& line, const std::vector<std::string>& args)>;

struct Command {
    std::string group;
    std::string name;
    std::string displayName;
    int flags = 0;
    void (*handler)() = nullptr;     // a module command: no arguments on its line
    HostCommandHandler hostHandler;  // a host command
};

class CommandTable {
public:
    static CommandTable& Instance();

    void Register(Command command);
    void RegisterHost(std::string name, std::string displayName, HostCommandHandler handler);
    // The command of that name (ASCII case-insensitive), or null.
    const Command* Find(std::string_view name) const;
    // In order of first registration.
    const std::vector<Command>& All() const { return m_commands; }
    void Clear() { m_commands.clear(); }

private:
    std::vector<Command> m_commands;
};

}  // namespace host
