// Writes the module seed drawing (ModuleSeed.h) for the fuzzer.
#include <cstdio>
#include <fstream>

#include "ModuleSeed.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s seed-file\n", argv[0]);
        return 2;
    }
    const auto bytes = fuzz::ModuleSeedDrawing();
    std::ofstream(argv[1], std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return 0;
}
