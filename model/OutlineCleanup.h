#pragma once
// Clean-up of building and roof outlines before they are extruded or offset: crowded points,
// regularising through the closed library's boundary routines, the signed area that tells a
// ring's orientation, moving a ring's edges by a distance, collinear vertices, and a few plan
// routines (perpendicular feet, range tests, equal spacing along a polyline).
//
// An outline is a ring of vertices: the last one is not repeated unless a routine says so.
// Every routine works in place on the vector it is given unless it says otherwise.
#include <vector>

#include "GeLineSeg2d.h"
#include "GePoint2d.h"
#include "GePoint3d.h"
#include "ModelHelperBuildings.h"

// Drops crowded points: walking from the second point on, a point that IsOverlapPt finds
// against the last point kept is removed (the first point always stays). The last point is
// not compared with the first. Returns 1.
MODEL_HELPER_EXPORT int RemoveOverlapPts(std::vector<GePoint3d>& pts);

// Regularises a ring of more than 3 points through the closed library (duplicate points and
// vertices lying on an edge go); x and y of the remaining vertices are taken back, their z
// stays. A count the library gives back outside [0, n] is clamped, and a ring it gives back
// that does not keep the given one's shape is not taken: the ring stays as it was. It keeps
// it when each ring's points lie within the library's tolerance (1.0) of the other in plan
// and every edge of the given ring longer than that runs along one of its edges within 2°:
// points dropped off a straight wall go, while an arc drawn in short chords, which the
// library wears down point after point to a chamfer, stays.
MODEL_HELPER_EXPORT void ValidateBorderPts(std::vector<GePoint3d>& pts);

// |x1 - x2| < 10 and |y1 - y2| < 10, strictly; z plays no part.
bool IsOverlapPt(const GePoint3d& a, const GePoint3d& b);

// Twice the signed plan area: positive for a counter-clockwise ring, negative for a clockwise
// one. A ring given with its first point repeated at the end gives the same value; fewer than
// two distinct points give 0.
double GetPtsSignedArea(const std::vector<GePoint3d>& pts);

// Moves every edge of the ring by d and puts each vertex at the corner of its two moved edges:
// with the ring's right-hand normal, a positive d moves the edges inwards, a negative one
// outwards. A vertex where the ring goes straight on moves by d across its edges; a vertex
// where the ring turns back on itself (or that repeats its neighbour) has no corner to move
// to and stays. Fewer than 3 points, or a ring without a normal, stay as they are.
void OffsetBorderPts(std::vector<GePoint3d>& pts, double d);

// Drops every vertex that lies on the segment joining its two neighbours (within 0.001). The
// ring comes back started one vertex later: its first vertex is the former second one.
void RemoveCollinearPts(std::vector<GePoint3d>& pts);

// The perpendicular foot of (px, py) on the segment (x1, y1)-(x2, y2), its distance from the
// point, and the flag of IsPointInSegmentRange for the foot. A segment within tol of vertical
// or horizontal is handled on its own; a segment shorter than tol on both axes gives its start.
void ProjectPointToSegment2d(double x1, double y1, double x2, double y2, double px, double py, double tol,
                             double& footX, double& footY, double& dist, int& onSegment);

// 1 when the point lies strictly between the ends in x, or strictly between them in y, or has
// exactly an end's x and an end's y; else 0.
int IsPointInSegmentRange(double x1, double y1, double x2, double y2, const GePoint2d& pt);

// ProjectPointToSegment2d over the segment's ends with tolerance 0.001; returns the flag.
int ProjectPointToLineSeg2d(const GeLineSeg2d& seg, const GePoint2d& pt, GePoint2d& foot);

// Appends points spaced s apart along the open polyline of the vertices, from the first vertex
// to the last (the closing edge is not sampled; a sample may lie up to 0.001 past a vertex).
// Fewer than two vertices show the assertion report: one vertex gives that vertex, none gives
// nothing. A spacing that is not positive gives nothing.
void SamplePointsAlongOutline(const std::vector<GePoint3d>& pts, double s, std::vector<GePoint3d>& out);
