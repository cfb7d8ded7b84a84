#pragma once
// What the hand-registered benchmarks share: an engine and the reference it is measured
// against registered as neighbours for every family of inputs and every size, so the two
// timings of one input sit side by side in the output, and the run itself.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

namespace bench {

// Registers, for every family and then every size, "ENGINE/FAMILY/SIZE" and
// "REFERENCE/FAMILY/SIZE"; each function gets the family's value and reads the size from
// state.range(0).
template <typename Family, typename Engine, typename Reference>
void RegisterSideBySide(const std::string& engineName, Engine engine,
                        const std::string& referenceName, Reference reference,
                        const std::vector<std::pair<std::string, Family>>& families,
                        const std::vector<int>& sizes, benchmark::TimeUnit unit) {
  for (const auto& [name, family] : families) {
    for (int n : sizes) {
      benchmark::RegisterBenchmark((engineName + "/" + name).c_str(), engine, family)
          ->Arg(n)
          ->Unit(unit);
      benchmark::RegisterBenchmark((referenceName + "/" + name).c_str(), reference, family)
          ->Arg(n)
          ->Unit(unit);
    }
  }
}

// Runs what was registered with the command line's filters and options.
inline int RunRegistered(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
