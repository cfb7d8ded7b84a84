#pragma once
// A drawing with an object of every entity class the module registers (several forms where a
// class has them: flat and sloped roofs), their extended data, and the host's own records
// around them: the fuzzer's seed, a case of the corpus replay, and the objects the model's
// tests edit beyond what their members hold.
#include <cstdint>
#include <vector>

class DbDatabase;

namespace fuzz {

// Adds the objects to the drawing (its class registry must hold the module's classes).
void AddEveryModuleClass(DbDatabase& db);
std::vector<std::uint8_t> ModuleSeedDrawing();

}  // namespace fuzz
