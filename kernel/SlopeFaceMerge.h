#pragma once
#include <cstdint>

// Merging the pieces of one roof plane into the outline of their union, and the two
// single-precision helpers it uses. Arrays are 1-based (entry 0 unused), coordinates are
// millimetres in single precision.

// The most loops and loop points BuildSlopeFaces writes: its callers' output arrays hold
// 1000 int16 counts and 10000 floats per coordinate.
inline constexpr int kSlopeFaceLoopCapacity = 999;
inline constexpr int kSlopeFacePointCapacity = 9999;

// Pieces 1..pieceCount of one plane, stored one after another in x, y, z (pointCount points,
// pieceVertexCounts[p] for piece p, each a ring without a repeated first point), merged into
// the outlines of their union: the pieces are laid flat in the plane of piece 1, their edges
// cut at their crossings, repeated edges and edges inside another piece dropped, and the
// rest linked into closed loops (clockwise in the flattened plane, the loop with the
// leftmost point first), which are turned back so that every point lies in the plane of
// piece 1 through its first point. x, y, z are scratch: they are left moved and turned.
// Returns 1. When the piece counts do not add up to pointCount, or the loops would not fit
// in 999 loops / 9999 points, nothing is written (loopCount and loopPointCount 0) and the
// result is 0.
int BuildSlopeFaces(int pieceCount, int pointCount, const std::int16_t pieceVertexCounts[],
                    float x[], float y[], float z[], int* loopCount, int* loopPointCount,
                    std::int16_t loopVertexCounts[], float loopX[], float loopY[], float loopZ[]);

// The angles with which RotatePointsByTwoAngles lays the plane of polygon 1..n flat (its
// normal onto +z): about z first, then the tilt in the xz plane. The polygon's first point
// must be at the origin; the plane is spanned by the largest triangle (origin, Pi, Pj). A
// horizontal polygon gives 0 and 0; one without a spanning triangle gives 0 and 1.5707963.
void FacePlaneAngles(const float x[], const float y[], const float z[], int n, double* angleAboutZ,
                     double* tiltAngle);

// Point (px, py) against the ring x, y of n points with tolerance tol: 100 on a vertex, 10 on
// a vertical edge, 20 on a horizontal edge, 30 on a sloping edge, 1 inside, 0 outside.
int PointInPolygonFloat(double px, double py, const float x[], const float y[], int n, float tol);
