// The four two-ring operations under libFuzzer: bytes become two rings on a coarse grid, and
// every pair must keep the graph's invariants and hand out well-formed rings. Crashes, leaks
// and hangs are the sanitizers' and the fuzzer's to report.
#include "RingOperationsProperty.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const qrxGe::test::RingPair pair = qrxGe::test::RingsFromBytes(data, size);
    const std::string fault = qrxGe::test::CheckRingOperations(pair.a, pair.b);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
