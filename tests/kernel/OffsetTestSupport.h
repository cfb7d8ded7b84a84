#pragma once
// Test helpers for the polygon offset: calling the drivers with arrays of exactly the
// callers' capacities, and reading the loops back.
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "KernelTestSupport.h"
#include "PolygonOffset.h"

namespace offsettest {

using kerneltest::P3;
using kerneltest::PlanArea;

struct OffsetLoop {
  int code = 0;
  std::vector<P3> points;
};

struct OffsetResult {
  int loopCount = -1;
  std::vector<OffsetLoop> loops;
};

enum class Driver { Loops, Ring };

// Calls a driver with input arrays of pointEntries entries (the polygon at 1..n) and output
// arrays of the callers' sizes, so a write or read past them is caught by the sanitizers.
inline OffsetResult RunOffset(Driver driver, int mode, const std::vector<P3>& ring,
                              float distance, int pointEntries = kernel::kOffsetPointEntries) {
  const int n = static_cast<int>(ring.size());
  std::vector<float> x(pointEntries, 0.0f), y(pointEntries, 0.0f), z(pointEntries, 0.0f);
  for (int i = 0; i < n && i + 1 < pointEntries; ++i) {
    x[i + 1] = static_cast<float>(ring[i].x);
    y[i + 1] = static_cast<float>(ring[i].y);
    z[i + 1] = static_cast<float>(ring[i].z);
  }
  std::vector<std::int16_t> counts(kernel::kOffsetLoopEntries, 0);
  std::vector<std::int16_t> codes(kernel::kOffsetLoopEntries, 0);
  std::vector<float> ox(kernel::kOffsetPointEntries, 0.0f), oy(kernel::kOffsetPointEntries, 0.0f),
      oz(kernel::kOffsetPointEntries, 0.0f);
  OffsetResult result;
  const int status = (driver == Driver::Loops ? OffsetPolygonLoops : OffsetPolygonRing)(
      n, mode, x.data(), y.data(), z.data(), &distance, &result.loopCount, counts.data(),
      codes.data(), ox.data(), oy.data(), oz.data());
  if (status != 1) result.loopCount = -2;
  int at = 0;
  for (int l = 1; l <= result.loopCount; ++l) {
    OffsetLoop loop;
    loop.code = codes[l];
    for (int p = 0; p < counts[l]; ++p) {
      ++at;
      loop.points.push_back({ox[at], oy[at], oz[at]});
    }
    result.loops.push_back(loop);
  }
  return result;
}

// A horizontal ring at height z from plan points.
inline std::vector<P3> Flat(const std::vector<std::array<double, 2>>& plan, double z = 0.0) {
  std::vector<P3> ring;
  for (const auto& p : plan) ring.push_back({p[0], p[1], z});
  return ring;
}

inline std::vector<P3> Reversed(const std::vector<P3>& ring) {
  return {ring.rbegin(), ring.rend()};
}

// The engine distance that grows a horizontal ring by g (positive) or shrinks it (negative),
// whatever its orientation: the edges move to their left, so a counter-clockwise ring needs
// the distance negated.
inline float EngineDistance(const std::vector<P3>& ring, double g) {
  return static_cast<float>(PlanArea(ring) > 0.0 ? -g : g);
}

}  // namespace offsettest
