#include "ModuleExports.h"

#include <dlfcn.h>
#include <link.h>

#include <string>

namespace host {

namespace {

int CollectLoadedObject(dl_phdr_info* info, std::size_t, void* data)
{
    static_cast<std::vector<std::string>*>(data)->emplace_back(info->dlpi_name ? info->dlpi_name : "");
    return 0;
}

}  // namespace

std::vector<void*> FindModuleExports(std::span<const char* const> names)
{
    std::vector<std::string> objects;
    dl_iterate_phdr(CollectLoadedObject, &objects);
    for (const std::string& object : objects) {
        void* handle = dlopen(object.empty() ? nullptr : object.c_str(), RTLD_LAZY | RTLD_NOLOAD);
        if (!handle)
            continue;
        std::vector<void*> found;
        for (const char* name : names) {
            void* symbol = dlsym(handle, name);
            if (!symbol)
                break;
            found.push_back(symbol);
        }
        dlclose(handle);
        if (found.size() == names.size())
            return found;
    }
    return {};
}

}  // namespace host
