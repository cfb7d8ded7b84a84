#pragma once
// The module's command table: the one list from which the commands are registered with the
// host, in this order, all in group "orv" with flags 1.
#include <array>
#include <string_view>

struct OrvCommand {
    const char* name;         // what the user types (lower-case ASCII)
    const char* displayName;  // shown by the host
    void (*handler)();
};

inline constexpr const char* kOrvCommandGroup = "orv";
inline constexpr int kOrvCommandFlags = 1;

extern const std::array<OrvCommand, 34> kOrvCommands;

// The row of a command name; null when there is none.
const OrvCommand* FindOrvCommand(std::string_view name);

// Registers every row with the host, in table order.
void RegisterCommands();
