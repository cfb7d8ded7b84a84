#include "ModuleLoader.h"

#include <dlfcn.h>

#include <exception>
#include <filesystem>

#include "EventLog.h"

namespace host {

namespace {

using EntryPoint = void (*)(int, int);

EntryPoint FindEntryPoint(void* module)
{
    // The name as it is exported, or as an ELF linker records it: symbol "_decEntryPoint"
    // of version "8".
    if (void* symbol = dlsym(module, "_decEntryPoint@8")) return reinterpret_cast<EntryPoint>(symbol);
    return reinterpret_cast<EntryPoint>(dlvsym(module, "_decEntryPoint", "8"));
}

}  // namespace

std::string DefaultModulePath()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::path("liblumidrax.so") : exe.parent_path() / "liblumidrax.so").string();
}

bool LoadModule(const std::string& path, std::string& error)
{
    // A bare file name would make dlopen search the library path instead of the named file.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        error = "cannot load the module " + path + ": " + (why ? why : "unknown reason");
        return false;
    }
    const EntryPoint entry = FindEntryPoint(module);
    if (!entry) {
        // Left loaded: its initialisers may already have registered classes with the host.
        error = "the module " + path + " has no entry point _decEntryPoint@8";
        return false;
    }
    EventLog::Instance().Call("module loaded " + path);
    try {
        entry(0, 0);
    } catch (const std::exception& e) {
        error = "the entry point of the module " + path + " failed: " + e.what();
        return false;
    }
    return true;
}

}  // namespace host
