// libFuzzer target: the drawing loader with the module's classes registered (the module is
// linked in, so its classes register when it loads). See ReadAnyDrawing.h for what is asked.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "ReadAnyDrawing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::PrepareHost();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string fault;
    if (!fuzz::ReadAnyDrawing(std::span(data, size), fault)) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        __builtin_trap();
    }
    return 0;
}
