#pragma once
// The growable core of the toolkit's double-precision segment splitter: every segment is
// cut where another one crosses or touches it in one coordinate plane, and repeated pieces
// are dropped. CTools::xdlszcx and every form of CTools::BreakIntoLineSegs are front ends
// of it; the capacities of their callers' arrays are checked there, not here.
#include <span>
#include <vector>

#include "GePoint3d.h"

namespace tools {

// Room the splitter keeps from a segment's ends and beyond the ends of the segment it meets,
// and within which it merges cut points: the float 0.9 (0.8999999761581421) compared in
// double. An end within it of another segment is not cut into that segment.
inline constexpr float kSplitMargin = 0.9f;
// Points of one segment that lie within this of one another on every coordinate (strictly)
// merge, the earlier staying, so a segment's end that close to a cut point is dropped with
// its piece; pieces that agree within it on every coordinate repeat one another.
inline constexpr double kSplitMerge = 1.0;

// A segment with the three attributes that every piece of it carries unchanged.
struct AttributedSegment {
    GePoint3d start;
    GePoint3d end;
    double a1 = 0.0;
    double a2 = 0.0;
    double a3 = 0.0;
};

// The pieces of the segments split in the plane of mode 1 (XY, z carried), 2 (XZ, y
// carried) or 3 (YZ, x carried); another mode gives none. A segment shorter than 0.1 on
// both plane axes gives no piece. A cut segment's pieces run in increasing order of its
// longer plane axis; an uncut segment keeps its direction. Of pieces that repeat one
// another within 1.0 on all six coordinates, either way round, the first stays.
std::vector<AttributedSegment> SplitAtCrossings(int mode, std::span<const AttributedSegment> segments);

// A point of a sorted list: the three coordinates in the caller's order.
struct SortPoint {
    double a;
    double b;
    double c;
};

// Drops every point within 1.0 on all three coordinates (strictly) of an earlier point
// kept, then sorts the rest stably by a (key 1), b (key 2) or c (key 3), ascending; another
// key keeps the order.
void MergeAndSortPoints(int key, std::vector<SortPoint>& points);

}  // namespace tools
