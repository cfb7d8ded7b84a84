#pragma once
// A drawing with an object of every entity class the module registers (several forms where a
// class has them: flat and sloped roofs), their extended data, and the host's own records
// around them: the fuzzer's seed and a case of the corpus replay.
#include <cstdint>
#include <vector>

namespace fuzz {

std::vector<std::uint8_t> ModuleSeedDrawing();

}  // namespace fuzz
