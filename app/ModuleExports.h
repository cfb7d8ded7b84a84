#pragma once
// Finding the loaded module's exported functions by their linker names, the way an outside
// caller of the module (the analysis side, another program) finds them. Host commands that
// play such a caller reach the module only through these symbols.
#include <span>
#include <vector>

namespace host {

// The addresses of the named symbols in the first loaded object that exports all of them
// (the module is loaded privately, so each object is asked on its own); empty when no
// object exports them all.
std::vector<void*> FindModuleExports(std::span<const char* const> names);

}  // namespace host
