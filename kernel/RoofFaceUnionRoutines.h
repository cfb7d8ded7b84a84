#pragma once
#include <vector>

#include "PolygonPairOverlap.h"

// The roof-face union engine's own routines: the plane and the flat frame of a face, the
// segments along which two faces meet, the removal of nearly collinear vertices and the
// inset ring of test points. Arrays are 1-based (entry 0 unused) as everywhere in the kernel.

namespace kernel {

// The engine's longer spellings of pi for the frame angles and the loop tracing.
inline constexpr double kUnionPi = 3.14159265358;
inline constexpr double kUnionHalfPi = 1.57079632679;
inline constexpr double kUnionTwoPi = 6.28318530716;

// 0.25 degree in radians: turns smaller than this count as straight.
inline constexpr double kQuarterDegree = 0.004363323129972222;
// How far a vertex dropped as straight may lie from the line that replaces it: the
// splitter's tolerance, within which a point counts as on a segment.
inline constexpr double kStraightTolerance = 0.01;

// The cosine of a frame's tilt under which the face counts as upright for the way into its
// frame: going there straight down would move a point by more than ten times its distance
// from the plane.
inline constexpr double kUprightCosine = 0.1;

// The sentinel of a face that spans no plane.
inline constexpr double kNoPlane = 111.0;

}  // namespace kernel

// The plane a*x + b*y + c*z + d = 0 of a face of n vertices: (a, b, c) is the full cross
// product of the largest triangle (vertex 1, vertex i, vertex j), not normalised. When no
// such triangle has area, all four are 111.0 and the result is false.
bool PolygonPlaneForUnion(const double x[], const double y[], const double z[], int n,
                          double* a, double* b, double* c, double* d);

// The angles A and B of the face's flat frame, from vertices already measured from the face's
// first vertex (largest triangle by Heron's formula, unit normal with components below 1e-5
// set to 0). False, with A = B = 0, when no triangle has a positive area.
bool FacePlaneAnglesForUnion(const double x[], const double y[], const double z[], int n,
                             double* angleA, double* angleB);

// The flat 2-D frame of one face: origin at its first vertex, turned by its two angles so that
// the face lies in the (u, v) plane. A point goes into the frame straight down (or up) onto
// the plane, so that its plan position comes back unchanged even when the face's vertices
// are not quite in one plane (coordinates rounded to the millimetre are off it by a few
// tenths): neighbouring faces then meet in plan where their outlines do. A face within
// kUprightCosine of upright, which has next to no plan, takes the point square onto its
// plane instead.
class FaceFrameForUnion {
 public:
  FaceFrameForUnion(double ox, double oy, double oz, double angleA, double angleB);
  void ToFrame(double x, double y, double z, double* u, double* v) const;
  void FromFrame(double u, double v, double* x, double* y, double* z) const;

 private:
  double ox_, oy_, oz_;
  double cosA_, sinA_, cosB_, sinB_;
};

// A planar face for the pair test: n vertices (1-based) on the plane a*x + b*y + c*z + d = 0,
// the plane as PolygonPlaneForUnion gives it (unscaled).
using UnionFace = PlanarFace;

struct UnionSegment3 {
  double x1, y1, z1, x2, y2, z2;
};

// The segments along which faces f and g cross or touch, with tolerance t: nothing when their
// boxes are more than t apart; edges of g cut against f, then edges of f against g (segment
// range widened by t, the crossing in the other face within faceTol); a point within t in x,
// 0.1 in y and t in z of an earlier one is dropped; consecutive points form a segment when
// its midpoint is in both faces (tolerance t, any code but outside).
std::vector<UnionSegment3> PolygonPairOverlapForUnion(float t, const UnionFace& f,
                                                      const UnionFace& g, float faceTol = 0.1f);

// Drops the vertices of a ring (mode above 10000) or of an open line (mode below 10000, both
// ends kept) where the line turns by less than 0.25 degree, judged on the unchanged input,
// while the vertices dropped since the last kept one stay within kStraightTolerance of the
// line from it to the next vertex (so neither a thin sliver nor a finely drawn curve loses
// more than a tolerance's width of area). A ring that would keep fewer than three vertices
// keeps them all. outX/outY receive the kept vertices (room for n entries from 1); returns
// their number.
int RemoveCollinearVertices(const double x[], const double y[], int n, int mode, double outX[],
                            double outY[]);

// The closed ring moved by the signed distance d to the left of its direction of travel (a
// negative d moves to the right: inwards for a clockwise ring), each new vertex the crossing
// of the neighbouring moved edges. outX/outY receive n vertices from entry 1.
void OffsetRingForUnion(const double x[], const double y[], int n, double d, double outX[],
                        double outY[]);
