#pragma once
// The growable cores of the toolkit's double-precision segment clean-up, chaining and face
// tracing. CTools::qudiaofeifaxianduanzcx, xianduanhechengzcx_c and xianduanhechengmianzcx
// are their raw-array front ends (which check their callers' capacities); the segment
// chaining of ConnectLineSegs calls them directly.
//
// Points "within tol" of one another differ by less than tol on x, y and z alike.
#include <vector>

#include "GePoint3d.h"

namespace tools {

struct Segment {
    GePoint3d start;
    GePoint3d end;
};

// Cleans the list in place in four stages, compacting it after each stage that dropped
// anything (the kept segments keep their order):
//   1. segments whose ends lie within tol of each other;
//   2. repeats, within tol on all six coordinates either way round, of an earlier segment;
//   3. spurs: a segment with one end touching no other segment and the other touching two
//      or more;
//   4. shared edges: a segment both of whose ends touch two or more other segments.
void RemoveInvalidSegments(std::vector<Segment>& segments, double tol);

// A chain of segments joined end to end. Its points pass through single precision.
struct Chain {
    bool closed = false;
    std::vector<GePoint3d> points;
};

// Chains the segments end to end, after cleaning the list in place at tolerance 1.0.
// Each unused segment in order starts a chain that grows from its start through the first
// unused segment (in list order) with an end within tol of the free end, and so on. A chain
// whose free end comes back within tol of the first segment's end is a ring: its points
// are the first segment's start and the far end of every segment added, in order. Another
// chain is dropped in mode 1 (its segments stay used); in any other mode it grows from the
// first segment's end as well and becomes an open polyline of segments + 1 points, which
// starts at the far end of the segment added last.
std::vector<Chain> ChainSegments(int mode, std::vector<Segment>& segments, double tol);

// Traces closed faces through junctions, after cleaning the list in place at tolerance
// 1.0; nothing for fewer than three segments left. Each unused segment in order starts a
// face at its start, goes to its end, and takes at every point the one unused segment with
// an end within tol there or, of several, the first counter-clockwise from the way back in
// the plane (1 YZ, 2 XZ, 3 XY; directions by baaf). A face closes when it comes back within
// tol of its first point, and is given without the closing point. A face that finds no
// segment to go on with, or several in another plane, is abandoned; its segments stay used.
std::vector<std::vector<GePoint3d>> TraceSegmentFaces(std::vector<Segment>& segments, double tol, long plane);

}  // namespace tools
