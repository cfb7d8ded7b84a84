#pragma once
// One run of quenra3d: load the module, open the drawing, run the scripts, save and export.
#include "Options.h"

namespace host {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotUnderstood = 1;
inline constexpr int kExitLoadOrSave = 2;

// Runs the executable's work; everything it prints goes to the event log's transcript.
int RunSession(const Options& options);

// The host's own commands (drawing, editing, files, help) in the command table.
void RegisterHostCommands();

}  // namespace host
