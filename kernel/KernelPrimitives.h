#pragma once
#include <memory>

#include "KernelConstants.h"
#include "UniformGrid.h"

// The planar primitives of the numeric kernel. Every array is 1-based (entry 0 allocated and
// never used); a polygon is a ring of n vertices without a repeated first vertex. None of
// these routines keeps state between calls.

// Direction of (x1, y1) -> (x2, y2) in [0, 2pi). Coordinate differences within 0.001 count as
// equal (strictly); points equal in both axes, or differing by exactly 0.001, give 0.
double LineAngle(double x1, double y1, double x2, double y2);

// Turns points 1..n counter-clockwise about the z axis by a, then in the xz plane by b, then
// raises them by zShift. The intermediate x', y' and the new z are rounded to float.
void RotatePointsByTwoAngles(float x[], float y[], float z[], int n, double a, double b,
                             int zShift);

// Drops every point that repeats an earlier kept one within 0.001 in x, y and z, packs the
// rest in order and updates count; sortMode 1, 2 or 3 then sorts ascending by x, y or z
// (stable). Any count is accepted.
void RemoveCoincidentPoints(int sortMode, double x[], double y[], double z[], int* count);

// Point against the ring (ringX, ringY) of n vertices with tolerance tol: code 100 on a
// vertex, 10 / 20 / 30 on a near-vertical / near-horizontal / other edge, 1 inside, 0 outside.
// Returns 1.
int PointInPolygon(double px, double py, const double ringX[], const double ringY[], int n,
                   float tol, int* code);

// Many points against one ring: whether PointInPolygon would give a code other than 0
// (inside, on an edge or on a vertex), answered from the edges in the point's vertical slab
// only. The ring's arrays must outlive the object.
class RingPointTest {
 public:
  RingPointTest(const double ringX[], const double ringY[], int n, float tol);
  bool InsideOrOn(double px, double py) const;

 private:
  const double* ringX_;
  const double* ringY_;
  int n_;
  float tol_;
  kernel::UniformGrid slabs_;
};

// PointInPolygon with the edge tests in single precision and near-vertical edges away from
// the point taken into the crossing count (code only).
void ClassifyPointInPolygon(double px, double py, const double ringX[], const double ringY[],
                            int n, float tol, int* code);

// Which coordinate plane a face with normal (A, B, C) is tested in: the one across which the
// normal has its largest magnitude; on equal magnitudes the later of XY, XZ, YZ.
enum class FaceProjection { XY, XZ, YZ };
FaceProjection ProjectionOfPlane(double A, double B, double C);

// PointInPolygon of the point (px, py, pz) against the face (faceX, faceY, faceZ) of n vertices
// in the projection that ProjectionOfPlane chooses for the normal (A, B, C).
int PointInFace(double px, double py, double pz, int n, double A, double B, double C,
                const double faceX[], const double faceY[], const double faceZ[], float tol,
                int* code);

// Segment p1-p2 against the planar face A*x + B*y + C*z + D = 0 with vertices
// faceX/faceY/faceZ: found = 1 with the crossing point (an end within 0.1 of a face vertex
// wins outright; the point must lie in the face within 0.1), else found = 0. The plane need
// not be normalised. Returns 1.
int SegmentCrossing(double x1, double y1, double z1, double x2, double y2, double z2, int n,
                    double A, double B, double C, double D, const double faceX[],
                    const double faceY[], const double faceZ[], int* found, double* X,
                    double* Y, double* Z);

// One byte per vertex (entries 0..n): 1 where vertex i lies on the line from its previous to
// its next vertex (directions within 1e-5 rad, no wrap past 2pi), else 0.
std::unique_ptr<unsigned char[]> FlagCollinearVertices(int n, const double x[], const double y[]);

// Crossing of the lines through (x1, y1)-(x2, y2) and (x3, y3)-(x4, y4) when it lies inside
// both segments shrunk by tol at each end; otherwise X = Y = 111.0.
void LineIntersection(float tol, double x1, double y1, double x2, double y2, double x3,
                      double y3, double x4, double y4, double* X, double* Y);

// Squeezes out, in place, every entry coded 11111 from a face list grouped in groupCount
// groups (group g owning groupLoopCounts[g] consecutive entries, entry e owning sizes[e]
// vertices after those of entry e - 1). groupOf[k] receives the group of kept entry k,
// groupLoopCounts the kept count per group, groupKept the last group's count and total the
// number of kept entries.
void CompactFaceLists(int groupCount, int groupLoopCounts[], int codes[], int sizes[],
                      int groupOf[], double x[], double y[], double z[], int* groupKept,
                      int* total);

// Moves vertices 1..n by -(ox, oy, oz) and returns in angleA, angleB the angles with which
// RotatePointsByTwoAngles lays the polygon's plane horizontal (normal to +z); 0 and 0 for a
// horizontal or degenerate polygon. Returns 1.
int PolygonPlaneAngles(double ox, double oy, double oz, double x[], double y[], double z[], int n,
                       double* angleA, double* angleB);
