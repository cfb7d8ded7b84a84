#pragma once
// Box records of the toolkit.
#include <array>

#include "Ge.h"

// An oriented plan rectangle: four corners in order, as CTools::GetOutsideBox writes them.
struct __attribute__((visibility("default"))) OUTSIDEBOX {
    std::array<GePoint3d, 4> pts{};
};

// An oriented box: eight corners and three measures. No routine of the module fills it;
// it exists for outside callers, so its measures start at 0 rather than undefined.
struct __attribute__((visibility("default"))) OUTSIDEBOX3d {
    std::array<GePoint3d, 8> pts{};
    std::array<double, 3> measures{};
};
