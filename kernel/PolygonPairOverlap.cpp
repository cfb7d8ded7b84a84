// Where two planar faces in 3-D cross each other.
#include "PolygonPairOverlap.h"

#include <cmath>
#include <vector>

#include "KernelPrimitives.h"

using namespace kernel;

namespace {

struct Face {
  int n;
  double a, b, c, d;
  const double* x;
  const double* y;
  const double* z;
};

struct Point3 {
  double x, y, z;
};

// Appends, in order, the points where the edges of `edges` (closed ring) cross `face`.
void AddEdgeCrossings(const Face& edges, const Face& face, std::vector<Point3>& points) {
  for (int i = 1; i <= edges.n; ++i) {
    const int j = i == edges.n ? 1 : i + 1;
    int found = 0;
    Point3 p{0.0, 0.0, 0.0};
    SegmentCrossing(edges.x[i], edges.y[i], edges.z[i], edges.x[j], edges.y[j], edges.z[j], face.n,
                    face.a, face.b, face.c, face.d, face.x, face.y, face.z, &found, &p.x, &p.y,
                    &p.z);
    if (found == 1) points.push_back(p);
  }
}

bool InFace(const Face& face, const Point3& p) {
  int code = kPointOutside;
  PointInFace(p.x, p.y, p.z, face.n, face.a, face.b, face.c, face.x, face.y, face.z, 0.1f, &code);
  return code != kPointOutside;
}

// Drops every point within 0.1 (strictly, in x, y and z) of an earlier kept one.
std::vector<Point3> WithoutRepeats(const std::vector<Point3>& points) {
  if (points.size() <= 1) return points;
  std::vector<Point3> kept;
  for (const Point3& p : points) {
    bool repeat = false;
    for (const Point3& q : kept)
      if (std::fabs(p.x - q.x) < 0.1 && std::fabs(p.y - q.y) < 0.1 && std::fabs(p.z - q.z) < 0.1)
        repeat = true;
    if (!repeat) kept.push_back(p);
  }
  return kept;
}

}  // namespace

void PolygonPairOverlap(int nA, double aA, double bA, double cA, double dA, const double ax[],
                        const double ay[], const double az[], int nB, double aB, double bB,
                        double cB, double dB, const double bx[], const double by[],
                        const double bz[], double outX1[], double outY1[], double outZ1[],
                        double outX2[], double outY2[], double outZ2[], int* count,
                        int outCapacity) {
  *count = 0;
  const Face faceA{nA, aA, bA, cA, dA, ax, ay, az};
  const Face faceB{nB, aB, bB, cB, dB, bx, by, bz};
  std::vector<Point3> found;
  AddEdgeCrossings(faceB, faceA, found);
  AddEdgeCrossings(faceA, faceB, found);
  const std::vector<Point3> points = WithoutRepeats(found);

  std::vector<Point3> starts, ends;
  for (size_t k = 0; k + 1 < points.size(); ++k) {
    const Point3& p = points[k];
    const Point3& q = points[k + 1];
    const Point3 mid{(p.x + q.x) / 2, (p.y + q.y) / 2, (p.z + q.z) / 2};
    if (InFace(faceA, mid) && InFace(faceB, mid)) {
      starts.push_back(p);
      ends.push_back(q);
    }
  }
  if (static_cast<int>(starts.size()) > outCapacity) return;
  for (size_t s = 0; s < starts.size(); ++s) {
    const int k = static_cast<int>(s) + 1;
    outX1[k] = starts[s].x, outY1[k] = starts[s].y, outZ1[k] = starts[s].z;
    outX2[k] = ends[s].x, outY2[k] = ends[s].y, outZ2[k] = ends[s].z;
  }
  *count = static_cast<int>(starts.size());
}
