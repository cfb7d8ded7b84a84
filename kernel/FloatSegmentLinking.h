#pragma once
#include <cstdint>
#include <vector>

// Single-precision segment tools of the coplanar-face merge: a float line angle, float point
// clean-up, cutting segments at their crossings (z interpolated at the cuts), pruning of
// segments with a free end, and linking the rest into closed outer loops. Coordinates are
// millimetres; the raw-array forms are 1-based (entry 0 unused). Tolerances: 0.1 to snap
// directions and merge points, 0.9 to decide where a segment is cut, 1.0 for ends that meet.

// Direction of (x1, y1) -> (x2, y2) in [0, 2pi) with the axis tolerance 0.1; the quotient
// and the arc tangent are taken in single precision. Points within 0.1 give 0.
double LineAngleFloat(float x1, float y1, float x2, float y2);

// Drops every point that repeats an earlier kept one within 0.1 (strictly) in x, y and z,
// packs the rest in order and updates n; sortKey 1 or 2 then sorts ascending by x or y
// (stable, the three coordinates moving together).
void RemoveCoincidentPointsFloat(int sortKey, float x[], float y[], float z[], int* n);

// One segment of a float list, with the three attributes that travel onto its pieces.
struct FloatSegment {
  float x1 = 0, y1 = 0, z1 = 0, x2 = 0, y2 = 0, z2 = 0;
  float attr[3] = {0, 0, 0};
};

// The pieces of every segment cut at the points where other segments cross or touch it in
// plan (see SplitSegmentsAtCrossingsFloat); the list form used inside the kernel.
std::vector<FloatSegment> SplitFloatSegments(const std::vector<FloatSegment>& segments);

// Segments 1..n (x1, y1, z1) -> (x2, y2, z2) with attributes a1, a2, a3 cut at their mutual
// crossings in plan. A segment within 0.1 in x and y yields nothing; a segment is cut where
// another one's line crosses it more than 0.9 inside it (measured on its dominant axis) and
// no more than 0.9 beyond the other's ends; collinear overlaps cut at the other's ends. Cut
// points take z interpolated along the segment. An uncut segment keeps its direction; the
// pieces of a cut one run in ascending x (ascending y for a steep one). The input is left
// untouched. The outputs hold outCapacity pieces (entries 1..outCapacity): when the pieces
// would not fit, nothing is written and outCount is 0.
void SplitSegmentsAtCrossingsFloat(const float x1[], const float y1[], const float z1[],
                                   const float x2[], const float y2[], const float z2[],
                                   const float a1[], const float a2[], const float a3[], int n,
                                   int* outCount, float outX1[], float outY1[], float outZ1[],
                                   float outX2[], float outY2[], float outZ2[], float outA1[],
                                   float outA2[], float outA3[], int outCapacity);

// Removes, pass after pass, every segment whose ends lie within 1.0 of each other (x, y and
// z), and every segment one of whose ends meets no end of another segment (within 1.0 in x,
// y and z); a dangling chain is eaten from its free end, one segment per pass. The list
// form keeps order.
void PruneFloatSegments(std::vector<FloatSegment>& segments);
void RemoveDegenerateSegments3d(int* n, float x1[], float y1[], float z1[], float x2[], float y2[],
                                float z2[]);

// Closed loops linked from a float segment list: points of every loop one after another,
// no repeated closing point, z not kept.
struct FloatLoops {
  std::vector<int> sizes;   // 0-based, one entry per loop
  std::vector<float> x, y;  // 0-based, all loops back to back
};

// Takes closed outer loops out of the list one at a time: from the leftmost end, first along
// the segment that climbs most steeply (straight up first), then always by the sharpest left
// turn, which follows an arrangement's outer boundary clockwise (y up). Ends meet within 1.0
// in x and y. The segments of each loop leave the list and the rest is pruned again; a chain
// that cannot be closed is not a loop, and its segments leave the list without one.
// Consumes the list.
FloatLoops LinkFloatSegments(std::vector<FloatSegment> segments);

// The raw-array form: segments 1..n (left unchanged) linked into loops appended to the caller's
// outputs after the loopCount loops and pointCount points already there (the caller sets
// both). The outputs hold loopCapacity loops and pointCapacity points (entries
// 1..capacity); when the new loops would not fit, or a loop is larger than an int16 count
// can state, nothing is appended and the call returns 0. Otherwise it returns 1.
int LinkSegmentsIntoFaces3d(float x1[], float y1[], float z1[], float x2[], float y2[], float z2[],
                            int n, int* loopCount, int* pointCount, std::int16_t loopVertexCounts[],
                            float outX[], float outY[], int loopCapacity, int pointCapacity);
