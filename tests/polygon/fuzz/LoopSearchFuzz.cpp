// Both loop searches under libFuzzer: bytes become a segment pool and S on a coarse grid, and
// every search must keep to the step limit and begin a loop it finds at S's lower end.
// Crashes, leaks and hangs are the sanitizers' and the fuzzer's to report.
#include "LoopSearchProperty.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string fault = qrxGe::test::CheckLoopSearch(qrxGe::test::LoopInputFromBytes(data, size));
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
