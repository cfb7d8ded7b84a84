// Writes the sample model to the file named on the command line (examples/site.osm, or a
// fuzzing seed).
#include <cstdio>
#include <fstream>

#include "OsmSample.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: osm_sample FILE\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << OsmSampleText();
    return out ? 0 : 1;
}
