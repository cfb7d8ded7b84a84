#pragma once
#include <cstdint>
#include <limits>
#include <vector>

#include "KernelConstants.h"
#include "KernelWorkArrays.h"

// Walks a segment list into its smallest closed loops (the inner faces of the arrangement,
// each followed clockwise by the sharpest right-hand turn). Ends within 0.1 are welded onto
// the first earlier end near them, repeated segments are dropped and segments that cannot
// close a loop are pruned first. The segment arrays x1, y1, x2, y2 (1..n) are rewritten in
// place as the work proceeds. The loops come back one after another in loopX/loopY (1-based,
// no repeated closing point; points pass through single precision) with their sizes in
// loopSizes and their number in loopCount. work holds the loop being followed; a walk finds
// its way, turns and closes by the ends as they lie, not by its points rounded.
// The outputs hold loopCapacity loops and pointCapacity points (entries 1..capacity); when
// the loops would not fit, or a loop exceeds what an int16 size can state, the call reports
// no result: loopCount 0 and return value 0. Otherwise it returns 1.
// The turning angles of the candidates at a start point are folded with halfPi and twoPi;
// the kernel's own spellings are the default, and the roof-face union passes its longer ones.
int TraceLoopsFromSegments(KernelWorkArrays& work, int n, double x1[], double y1[], double x2[],
                           double y2[], int* loopCount, std::int16_t loopSizes[], double loopX[],
                           double loopY[], int loopCapacity, int pointCapacity,
                           double halfPi = kernel::kHalfPi, double twoPi = kernel::kTwoPi);

// Appends points 1..size of a traced loop (x, y 1-based) to a tracer's output as loop
// *loopCount + 1, after the *pointsWritten points already there. False, writing nothing, when
// it would not fit in loopCapacity loops and pointCapacity points or its size exceeds what an
// int16 can state.
template <typename T>
bool AppendTracedLoop(const std::vector<T>& x, const std::vector<T>& y, int size, int* loopCount,
                      int* pointsWritten, std::int16_t loopSizes[], double loopX[],
                      double loopY[], int loopCapacity, int pointCapacity) {
  if (*loopCount + 1 > loopCapacity || *pointsWritten + size > pointCapacity ||
      size > std::numeric_limits<std::int16_t>::max())
    return false;
  ++*loopCount;
  loopSizes[*loopCount] = static_cast<std::int16_t>(size);
  for (int p = 1; p <= size; ++p) {
    ++*pointsWritten;
    loopX[*pointsWritten] = x[p];
    loopY[*pointsWritten] = y[p];
  }
  return true;
}
