#pragma once
// A read-only JSON picture of a drawing, for debugging and golden tests: layers, materials,
// variables, groups and every stored object (erased ones marked) with its class, layer,
// material, flags, extended data, bounds and mesh size.
#include <string>

class DbDatabase;

namespace host {

std::string DumpDrawingJson(const DbDatabase& db);

}  // namespace host
