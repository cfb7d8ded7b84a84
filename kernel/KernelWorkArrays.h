#pragma once
#include <vector>

// The work storage that the kernel's drivers (roof solver, polygon offset) hand down to the
// loop tracer: the float x and y of the loop being followed (1-based, entry 0 unused) and
// its point count. A driver owns one object for the length of its call and passes it to
// every routine that needs it, so the kernel keeps no module-wide state and two drivers may
// run side by side. The arrays grow as needed; there is no fixed loop length.
struct KernelWorkArrays {
  std::vector<float> loopX{0.0f};
  std::vector<float> loopY{0.0f};
  int loopCount = 0;

  // Empties the loop (count 0); entry 0 stays allocated and unused.
  void ClearLoop() {
    loopX.assign(1, 0.0f);
    loopY.assign(1, 0.0f);
    loopCount = 0;
  }

  // Appends one point as loop entry loopCount + 1.
  void AppendLoopPoint(float x, float y) {
    loopX.push_back(x);
    loopY.push_back(y);
    ++loopCount;
  }
};
