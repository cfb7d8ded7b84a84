#pragma once
// The growable core of the toolkit's single-precision plan-crossing splitters
// (CTools::kjxlszcx and its tagged twin tskjxlszcx): every segment is cut wherever, seen in
// plan, another one crosses or touches it, and repeated pieces are dropped. The pitched-roof
// generator calls it directly; the exported forms check their callers' array sizes.
#include <span>
#include <vector>

namespace tools {

struct FloatSegment {
    float x1, y1, z1, x2, y2, z2;
    int tag = 0;
};

// The pieces, each with its segment's tag. The twin accepts a second line within 0.1 of the
// first as the same line; the plain splitter wants exact equality.
std::vector<FloatSegment> SplitInPlan(std::span<const FloatSegment> segments, bool twin);

}  // namespace tools
