#pragma once
#include <cstdint>

// The polygon offset: every edge of a planar polygon is shifted parallel to itself by a
// signed distance and neighbouring shifted edges are joined at the crossing of their lines.
// A closed ring's offset is the mitred offset: where these moved edges (joined through the
// vertex where they run over each other) wind at least once in the ring's own sense, with
// no limit on a mitre's length. An open polyline's raw offset has the parts that fold over
// themselves or come too close to the polyline cut away. The polygon may lie in any plane:
// it is turned flat about its first point, offset and turned back. A positive distance
// moves every edge line to the left of its direction of travel, so a clockwise ring (y up)
// grows and a counter-clockwise one shrinks.

namespace kernel {

// Closed ring and open polyline.
inline constexpr int kOffsetClosedMode = 10001;
inline constexpr int kOffsetOpenMode = 1001;

// Entries of the callers' arrays (1-based, entry 0 unused): input and output points, and
// the per-loop counts and codes. An input or a result that does not fit is refused.
inline constexpr int kOffsetPointEntries = 5000;
inline constexpr int kOffsetLoopEntries = 1000;

}  // namespace kernel

// Offsets the polygon of pointCount points (x, y, z, 1-based) by *distance: mode 10001 takes
// it as a closed ring, 1001 as an open polyline. Every loop of the result is written: its
// number of points to loopVertexCounts, code 10001 to loopCode, its points (without a
// repeated first point) to outX/outY/outZ after those of the loops before it. An open
// polyline yields the closed loops bounded by the polyline, its two end caps and the offset.
// *loopCount is the number of loops; 0 means no result: the offset leaves nothing, or the
// input is unusable (a ring of fewer than 3 points, a polyline of fewer than 2, more than
// 4999 points, an unknown mode, a coordinate or distance that is not a finite number), or
// the result would not fit the callers' arrays (999 loops, 4999 points). Points that repeat
// the one before them are left out first. A ring moved by 0.01 or less lies on its own
// edges and leaves no loop. Every loop runs clockwise in the plane frame (y up), holes too.
// A loop's corners within half a millimetre of one another come back as one, and a needle
// (a spike whose sides come back within half a millimetre of each other at a tip sharper
// than half a degree) is cut off at its base; a loop that is all needle is left out. Where a
// ring's sides meet at the distance (an arm twice the distance wide), what is left of it is
// a strip too thin to trace, or slivers where the sides cross a hair off parallel: when
// that is all there is, the loops come back as the offset a tenth of a millimetre nearer the
// ring gives them, needles and all, not as nothing. Where a ring turns straight back on its
// side, its moved edges are joined by a square cap the distance beyond the turn. Returns 1.
// The call keeps its work storage to itself and nothing survives it.
int OffsetPolygonLoops(int pointCount, int mode, const float x[], const float y[], const float z[],
                       const float* distance, int* loopCount, std::int16_t loopVertexCounts[],
                       std::int16_t loopCode[], float outX[], float outY[], float outZ[]);

// As OffsetPolygonLoops for a closed ring. For an open polyline the kept pieces of the
// offset come back as one list instead: loopCount 1, code 1001, and the start and end of
// every kept piece in order (2k points for k pieces, also when k is 0).
int OffsetPolygonRing(int pointCount, int mode, const float x[], const float y[], const float z[],
                      const float* distance, int* loopCount, std::int16_t loopVertexCounts[],
                      std::int16_t loopCode[], float outX[], float outY[], float outZ[]);

// The raw offset of a flat polygon (points 1..pointCount of x, y): each edge's line moved by
// distance to its left, corners at the crossings of neighbouring moved lines, a corner
// between parallel edges moved straight along the normal. Closed mode (10001) writes points
// 1..pointCount + 1 of offsetX/offsetY, point pointCount + 1 equal to point 1, and
// overwrites x, y entries pointCount + 1 and pointCount + 2 with points 1 and 2, so x and y
// must hold pointCount + 3 entries. Open mode (1001) writes points 1..pointCount, the ends
// moved along the normals of the first and last edge. Needs pointCount >= 3 (closed) or
// >= 2 (open). Returns 1.
int OffsetPolygonEdges(float x[], float y[], int pointCount, int mode, float distance,
                       float offsetX[], float offsetY[]);
