#pragma once
// Loading a module: dlopen runs its global initialisers in load order, then the host calls
// its entry point "_decEntryPoint@8" with message 0.
#include <string>

namespace host {

// The module file the executable loads when none is named: liblumidrax.so beside it.
std::string DefaultModulePath();

// Loads the module and calls its entry point with 0. On failure gives false and says why in
// error (the module stays unloaded). A loaded module stays loaded until the process ends,
// so the objects it made stay valid.
bool LoadModule(const std::string& path, std::string& error);

}  // namespace host
