// Where two planar faces in 3-D cross each other.
#include "PolygonPairOverlap.h"

#include <cmath>
#include <utility>
#include <vector>

#include "KernelPrimitives.h"

using namespace kernel;

namespace {

// A planar face: n vertices (1-based) on the plane a*x + b*y + c*z + d = 0, which need not be
// normalised.
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

// Appends, in edge order, the points where the edges of `edges` (a closed ring) cross `face`.
void AppendEdgeCrossings(const PlanarFace& edges, const PlanarFace& face,
                         std::vector<FacePoint>& points) {
  for (int i = 1; i <= edges.n; ++i) {
    const int j = i == edges.n ? 1 : i + 1;
    int found = 0;
    FacePoint p{0.0, 0.0, 0.0};
    SegmentCrossing(edges.x[i], edges.y[i], edges.z[i], edges.x[j], edges.y[j], edges.z[j], face.n,
                    face.a, face.b, face.c, face.d, face.x, face.y, face.z, &found, &p.x, &p.y,
                    &p.z);
    if (found == 1) points.push_back(p);
  }
}

bool InFace(const PlanarFace& face, const FacePoint& p, float tol) {
  int code = kPointOutside;
  PointInFace(p.x, p.y, p.z, face.n, face.a, face.b, face.c, face.x, face.y, face.z, tol, &code);
  return code != kPointOutside;
}

// Drops every point within 0.1 (strictly, in x, y and z) of an earlier kept one.
std::vector<FacePoint> WithoutRepeats(const std::vector<FacePoint>& points) {
  if (points.size() <= 1) return points;
  std::vector<FacePoint> kept;
  for (const FacePoint& p : points) {
    bool repeat = false;
    for (const FacePoint& q : kept)
      if (std::fabs(p.x - q.x) < 0.1 && std::fabs(p.y - q.y) < 0.1 && std::fabs(p.z - q.z) < 0.1)
        repeat = true;
    if (!repeat) kept.push_back(p);
  }
  return kept;
}

// The pairs of consecutive points whose midpoint lies in both faces (point-in-face with
// tolerance tol, any code but outside), in order.
std::vector<std::pair<FacePoint, FacePoint>> ChordsInBothFaces(const std::vector<FacePoint>& points,
                                                               const PlanarFace& f,
                                                               const PlanarFace& g, float tol) {
  std::vector<std::pair<FacePoint, FacePoint>> chords;
  for (size_t k = 0; k + 1 < points.size(); ++k) {
    const FacePoint& p = points[k];
    const FacePoint& q = points[k + 1];
    const FacePoint mid{(p.x + q.x) / 2, (p.y + q.y) / 2, (p.z + q.z) / 2};
    if (InFace(f, mid, tol) && InFace(g, mid, tol)) chords.push_back({p, q});
  }
  return chords;
}

}  // namespace

void PolygonPairOverlap(int nA, double aA, double bA, double cA, double dA, const double ax[],
                        const double ay[], const double az[], int nB, double aB, double bB,
                        double cB, double dB, const double bx[], const double by[],
                        const double bz[], double outX1[], double outY1[], double outZ1[],
                        double outX2[], double outY2[], double outZ2[], int* count,
                        int outCapacity) {
  *count = 0;
  const PlanarFace faceA{nA, aA, bA, cA, dA, ax, ay, az};
  const PlanarFace faceB{nB, aB, bB, cB, dB, bx, by, bz};
  std::vector<FacePoint> found;
  AppendEdgeCrossings(faceB, faceA, found);
  AppendEdgeCrossings(faceA, faceB, found);
  const auto chords = ChordsInBothFaces(WithoutRepeats(found), faceA, faceB, 0.1f);
  if (static_cast<int>(chords.size()) > outCapacity) return;
  for (size_t s = 0; s < chords.size(); ++s) {
    const int k = static_cast<int>(s) + 1;
    const auto& [p, q] = chords[s];
    outX1[k] = p.x, outY1[k] = p.y, outZ1[k] = p.z;
    outX2[k] = q.x, outY2[k] = q.y, outZ2[k] = q.z;
  }
  *count = static_cast<int>(chords.size());
}
