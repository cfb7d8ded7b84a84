#pragma once
#include <utility>
#include <vector>

// A planar face for the pair routines: n vertices (1-based) on the plane
// a*x + b*y + c*z + d = 0, which need not be normalised.
struct PlanarFace {
  int n;
  double a, b, c, d;
  const double* x;
  const double* y;
  const double* z;
};

struct FacePoint {
  double x, y, z;
};

// Appends, in edge order, the points where the edges of `edges` (a closed ring) cross `face`
// (SegmentCrossing, the point in the face within faceTol).
void AppendEdgeCrossings(const PlanarFace& edges, const PlanarFace& face,
                         std::vector<FacePoint>& points, float faceTol = 0.1f);

// The pairs of consecutive points whose midpoint lies in both faces (point-in-face with
// tolerance tol, any code but outside), in order.
std::vector<std::pair<FacePoint, FacePoint>> ChordsInBothFaces(const std::vector<FacePoint>& points,
                                                               const PlanarFace& f,
                                                               const PlanarFace& g, float tol);

// The segments along which two planar faces in 3-D cross or touch each other. Face A has
// nA vertices (ax, ay, az, 1-based) on the plane aA*x + bA*y + cA*z + dA = 0, face B likewise.
// Every edge of B is cut against A and every edge of A against B (SegmentCrossing); crossing
// points within 0.1 of an earlier one are dropped; consecutive points, in the order found,
// form a segment when its midpoint lies in both faces (point-in-polygon with tolerance 0.1,
// each face in the projection across which its normal is largest). The segments go to
// out*1 -> out*2 (1-based) and their number to count. The outputs hold outCapacity segments;
// when more would be found, nothing is written and count is 0.
void PolygonPairOverlap(int nA, double aA, double bA, double cA, double dA, const double ax[],
                        const double ay[], const double az[], int nB, double aB, double bB,
                        double cB, double dB, const double bx[], const double by[],
                        const double bz[], double outX1[], double outY1[], double outZ1[],
                        double outX2[], double outY2[], double outZ2[], int* count,
                        int outCapacity);
