// The four face and outline operations of loose segments under libFuzzer: bytes become a
// segment soup on a coarse grid, and every soup must keep the graph's invariants and hand out
// rings of at least 3 points. Crashes, leaks and hangs are the sanitizers' and the fuzzer's to
// report.
#include "SegmentOperationsProperty.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string fault = qrxGe::test::CheckSegmentOperations(qrxGe::test::SegmentsFromBytes(data, size));
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
