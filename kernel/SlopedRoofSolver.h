#pragma once
#include <cstdint>

// The multi-slope (hip) roof solver: a footprint with one slope per edge gives the plane faces
// of its roof, every edge carrying one plane that rises inward from it at its slope.
//
// Arguments, all arrays 1-based (entry 0 unused) and owned by the caller:
//   nLoops           footprint loops, 1..9 (loop 1 the outline, further loops courtyards)
//   loopPointCounts  points per loop (capacity 10); rewritten
//   loopBase         eave height per loop (capacity 10); faceZ is absolute, from these
//   x, y             the points, loop after loop, at most 499 in all (capacity 500); rewritten
//   slope            slope in radians of the edge from point i to the next point of its loop,
//                    strictly between 0 and a quarter turn (capacity 500); rewritten with x, y
//   faceCount        out: number of faces (at most 499)
//   faceVertexCounts out: vertices per face (capacity 500), every face at least three
//   faceX/Y/Z        out: face vertices back to back, no closing repeat, at most 4999 points
//                    (capacity 5000); each face runs clockwise seen from above
// Repeated points are dropped (the edge leaving the kept point takes the slope of the edge
// that left the repeat), then vertices on the line of their neighbours between two edges of
// one slope (and where the ring runs out along a line and back: the joined edge keeps the
// earlier slope), then corners between two edges of one slope that stand within 0.1 of the
// straight line through their neighbours (each dropped point stays that near the edge that
// replaces it), and loops are turned so that the outline runs clockwise and courtyards
// counter-clockwise; x, y, slope and loopPointCounts come back rewritten that way. A corner
// between two slopes is never dropped, however straight: where it stands within single
// precision's rounding of straight, the two planes rise from one line and meet only along the
// eave, so the gentler one, lower beyond it, takes the wall near the corner and the steeper
// edge may have no face; a corner a hair outside the line leaves the steeper face a sliver. Faces come in edge order; faces of
// one roof plane that share an edge (longer than 1 mm) come back merged into one, with the
// points the faces had. Faces count as one plane's when they lie within a few units of single
// precision of it; those of a wall with a corner a few tenths of a millimetre off its line
// part by more across the roof and stay apart.
// Loops may stand at different eave heights: a loop's eave lines start moving inward when the
// roof reaches its height, so its faces start there (a courtyard whose eave sits higher than
// the outline's). Returns non-zero exactly when faceCount is non-zero. A footprint beyond the
// capacities, with a slope out of range, with a loop the roof reaches below its eave (the
// outline's roof meeting a higher courtyard before it is as high as the courtyard's eave), or
// so degenerate that its roof cannot be followed (zero-length edges, spikes, crossing edges,
// meetings of a symmetric footprint a hair apart whose order cannot be told) gives 0 and no
// faces: a roof is right or refused. So does a roof that fails the check made before it is
// returned: every face point on its edge's plane (the edge's rise times its inward distance
// above its loop's eave), the faces' plan areas summing to the outline's less the
// courtyards', and no point above the last meeting's height, each within a few dozen units
// of single precision at the coordinates' magnitude (what rounding moves, with room for the
// wavefront's own).
int SolveSlopedRoofFaces(int nLoops, std::int16_t loopPointCounts[], const float loopBase[],
                         float x[], float y[], float slope[], int* faceCount,
                         std::int16_t faceVertexCounts[], float faceX[], float faceY[],
                         float faceZ[]);
