// Point against polygon, in plan and on a planar face in 3-D, and segment against face.
#include <algorithm>
#include <cmath>
#include <vector>

#include "KernelPrimitives.h"
#include "UniformGrid.h"

using namespace kernel;

namespace {

bool StrictlyBetween(double v, double a, double b) {
  return a < b ? (a < v && v < b) : (b < v && v < a);
}

// The vertex test shared by both point-in-polygon forms: the first vertex within tol.
bool OnVertex(double px, double py, const double ringX[], const double ringY[], int n,
              float tol) {
  for (int i = 1; i <= n; ++i)
    if (std::fabs(ringX[i] - px) <= tol && std::fabs(ringY[i] - py) <= tol) return true;
  return false;
}

// One edge against the point. Returns an edge code (10, 20, 30) that ends the test, or 0;
// sets crosses when the edge counts for the crossing parity. Real is double for the plain
// test and float for the classifying one, which also counts near-vertical edges away from
// the point.
template <typename Real>
int TestEdge(double px, double py, Real xi, Real yi, Real xj, Real yj, float tol,
             bool countNearVertical, bool* crosses) {
  *crosses = false;
  const bool leftIsI = !(xj < xi);
  const Real lx = leftIsI ? xi : xj, ly = leftIsI ? yi : yj;
  const Real rx = leftIsI ? xj : xi, ry = leftIsI ? yj : yi;
  const Real dx = rx - lx;
  if (dx <= tol) {
    if (std::fabs(lx - px) <= tol) {
      if (StrictlyBetween(py, ly, ry)) return kPointOnVerticalEdge;
      return 0;
    }
    // An edge with no width cannot count: its crossing interval is empty.
    if (!countNearVertical || dx == 0) return 0;
  } else if (std::fabs(ry - ly) <= tol && std::fabs(ly - py) <= tol) {
    return (lx < px && px < rx) ? kPointOnHorizontalEdge : 0;
  }
  const Real k = (ry - ly) / dx;
  const double lineY = ly + k * (px - lx);
  if (std::fabs(py - lineY) <= tol) return (lx < px && px < rx) ? kPointOnEdge : 0;
  // The interval is closed at its left end: open at both, a point (single precision pulls
  // it onto the shifted x of a vertex) whose upward ray passes through a vertex where the
  // ring runs on counted for neither edge, and an inside point came out outside.
  const float pxSingle = static_cast<float>(px);
  const bool inInterval = lx + tol <= pxSingle && pxSingle < rx + tol;
  const bool below = std::fabs(ry - ly) <= tol ? py < ly : py < lineY;
  *crosses = inInterval && below;
  return 0;
}

template <typename Real>
int EdgeCode(double px, double py, const double ringX[], const double ringY[], int n, float tol,
             bool countNearVertical) {
  int crossings = 0;
  for (int i = 1; i <= n; ++i) {
    const int j = i == n ? 1 : i + 1;
    bool crosses = false;
    const int code = TestEdge<Real>(px, py, static_cast<Real>(ringX[i]),
                                    static_cast<Real>(ringY[i]), static_cast<Real>(ringX[j]),
                                    static_cast<Real>(ringY[j]), tol, countNearVertical,
                                    &crosses);
    if (code != 0) return code;
    if (crosses) ++crossings;
  }
  return crossings % 2 == 1 ? kPointInside : kPointOutside;
}

}  // namespace

int PointInPolygon(double px, double py, const double ringX[], const double ringY[], int n,
                   float tol, int* code) {
  *code = kPointOutside;
  if (OnVertex(px, py, ringX, ringY, n, tol)) {
    *code = kPointOnVertex;
    return 1;
  }
  *code = EdgeCode<double>(px, py, ringX, ringY, n, tol, false);
  return 1;
}

void ClassifyPointInPolygon(double px, double py, const double ringX[], const double ringY[],
                            int n, float tol, int* code) {
  *code = kPointOutside;
  if (OnVertex(px, py, ringX, ringY, n, tol)) {
    *code = kPointOnVertex;
    return;
  }
  *code = EdgeCode<float>(px, py, ringX, ringY, n, tol, true);
}

FaceProjection ProjectionOfPlane(double A, double B, double C) {
  FaceProjection projection = FaceProjection::XY;
  double largest = std::fabs(C);
  if (std::fabs(B) >= largest) {
    projection = FaceProjection::XZ;
    largest = std::fabs(B);
  }
  if (std::fabs(A) >= largest) projection = FaceProjection::YZ;
  return projection;
}

int PointInFace(double px, double py, double pz, int n, double A, double B, double C,
                const double faceX[], const double faceY[], const double faceZ[], float tol,
                int* code) {
  switch (ProjectionOfPlane(A, B, C)) {
    case FaceProjection::XY:
      return PointInPolygon(px, py, faceX, faceY, n, tol, code);
    case FaceProjection::XZ:
      return PointInPolygon(px, pz, faceX, faceZ, n, tol, code);
    case FaceProjection::YZ:
      break;
  }
  return PointInPolygon(py, pz, faceY, faceZ, n, tol, code);
}

int SegmentCrossing(double x1, double y1, double z1, double x2, double y2, double z2, int n,
                    double A, double B, double C, double D, const double faceX[],
                    const double faceY[], const double faceZ[], int* found, double* X,
                    double* Y, double* Z) {
  *found = 0;
  for (int i = 1; i <= n; ++i) {
    const bool startOnVertex = std::fabs(faceX[i] - x1) <= 0.1 &&
                               std::fabs(faceY[i] - y1) <= 0.1 && std::fabs(faceZ[i] - z1) <= 0.1;
    const bool endOnVertex = std::fabs(faceX[i] - x2) <= 0.1 && std::fabs(faceY[i] - y2) <= 0.1 &&
                             std::fabs(faceZ[i] - z2) <= 0.1;
    if (startOnVertex || endOnVertex) {
      *found = 1;
      *X = startOnVertex ? x1 : x2;
      *Y = startOnVertex ? y1 : y2;
      *Z = startOnVertex ? z1 : z2;
      return 1;
    }
  }
  const double dx = x2 - x1, dy = y2 - y1, dz = z2 - z1;
  const double ax = std::fabs(dx), ay = std::fabs(dy), az = std::fabs(dz);
  // Dominant axis: 0 x, 1 y, 2 z; a later axis wins a tie.
  int axis = 0;
  if (ay <= ax && az <= ax) axis = 0;
  if (ax <= ay && az <= ay) axis = 1;
  if (ax <= az && ay <= az) axis = 2;

  const double den = A * dx + B * dy + C * dz;
  if (std::fabs(den) <= 0.01) return 1;
  const double s = (A * x1 + B * y1 + C * z1 + D) / den;
  const double px = x1 - s * dx, py = y1 - s * dy, pz = z1 - s * dz;

  const double p[3] = {px, py, pz};
  const double a[3] = {x1, y1, z1};
  const double b[3] = {x2, y2, z2};
  const double lo = (a[axis] < b[axis] ? a[axis] : b[axis]) - 0.001;
  const double hi = (a[axis] < b[axis] ? b[axis] : a[axis]) + 0.001;
  if (!(lo < p[axis] && p[axis] < hi)) return 1;

  int code = kPointOutside;
  PointInFace(px, py, pz, n, A, B, C, faceX, faceY, faceZ, 0.1f, &code);
  if (code != kPointOutside) {
    *found = 1;
    *X = px;
    *Y = py;
    *Z = pz;
  }
  return 1;
}

RingPointTest::RingPointTest(const double ringX[], const double ringY[], int n, float tol)
    : ringX_(ringX), ringY_(ringY), n_(n), tol_(tol) {
  // Every edge that can answer for a point lies in the slab of the point's x: its x range
  // widened by the tolerance and by what rounding the point to float can move it.
  std::vector<GridBox> slabs;
  slabs.reserve(n);
  for (int i = 1; i <= n; ++i) {
    const int j = i == n ? 1 : i + 1;
    const double lo = std::min(ringX[i], ringX[j]), hi = std::max(ringX[i], ringX[j]);
    const double margin = tol + 1e-6 * std::max(std::fabs(lo), std::fabs(hi)) + 1e-6;
    slabs.push_back({lo - margin, 0.0, hi + margin, 0.0});
  }
  slabs_.Build(slabs);
}

bool RingPointTest::InsideOrOn(double px, double py) const {
  if (n_ < 1) return false;
  const int column = slabs_.Column(px);
  int crossings = 0;
  for (const int* e = slabs_.CellBegin(column, 0); e != slabs_.CellEnd(column, 0); ++e) {
    const int i = *e + 1, j = i == n_ ? 1 : i + 1;
    if (std::fabs(ringX_[i] - px) <= tol_ && std::fabs(ringY_[i] - py) <= tol_) return true;
    bool crosses = false;
    if (TestEdge<double>(px, py, ringX_[i], ringY_[i], ringX_[j], ringY_[j], tol_, false,
                         &crosses) != 0)
      return true;
    if (crosses) ++crossings;
  }
  return crossings % 2 == 1;
}
