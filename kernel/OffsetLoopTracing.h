#pragma once
#include <cstdint>

// Turns the pieces that survive the polygon offset's filters into the outside loops of the
// offset. The pieces are unordered segments whose ends only roughly meet: the set is cleaned
// in a fixed order (short pieces dropped, ends welded within 0.1, doubled pieces dropped,
// dangling pieces dropped until none is left), then the outer boundary of the set is traced
// from its lowest-left end, leaving it along the steepest rising piece (of pieces that rise
// less than 0.1, and so count as level, the steeper), by the sharpest left turn at every
// junction (so each loop runs clockwise with y up), and after each loop every piece inside
// or on it is thrown away. The pieces a trace passes by at a junction stay: two parts that
// touch at a point both come back (as two loops, or as one that runs through the point
// twice). Tracing ends when fewer than three pieces are left.
//
// Segment i runs from (x1[i], y1[i]) to (x2[i], y2[i]), i = 1..segmentCount (1-based, entry 0
// unused); the arrays are compacted in place as the work proceeds. Each recorded loop
// increments *loopCount (the caller sets it, normally to 0), its number of points goes to
// loopVertexCounts[*loopCount] and its points (no repeated closing point) follow the points
// of the loops already recorded in loopX/loopY.
// The outputs hold loopCapacity loops and pointCapacity points (entries 1..capacity); when
// the loops would not fit, or a loop has more points than an int16 count states, nothing is
// reported: *loopCount becomes 0 and the result is 0. Otherwise the result is 1.
int TraceOffsetLoops(int segmentCount, double x1[], double y1[], double x2[], double y2[],
                     int* loopCount, std::int16_t loopVertexCounts[], double loopX[],
                     double loopY[], int loopCapacity, int pointCapacity);
