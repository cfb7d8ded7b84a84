// Merging coplanar roof pieces into the outline of their union.
#include "SlopeFaceMerge.h"

#include <cmath>
#include <vector>

#include "FloatSegmentLinking.h"
#include "KernelConstants.h"
#include "KernelPrimitives.h"

using namespace kernel;

int PointInPolygonFloat(double px, double py, const float x[], const float y[], int n, float tol) {
  for (int i = 1; i <= n; ++i)
    if (std::fabs(x[i] - px) <= tol && std::fabs(y[i] - py) <= tol) return kPointOnVertex;
  int crossings = 0;
  for (int i = 1; i <= n; ++i) {
    const int j = i == n ? 1 : i + 1;
    const bool iLeft = x[i] <= x[j];
    const double xa = iLeft ? x[i] : x[j], ya = iLeft ? y[i] : y[j];
    const double xb = iLeft ? x[j] : x[i], yb = iLeft ? y[j] : y[i];
    if (xb - xa <= tol) {
      if (std::fabs(xa - px) <= tol && ((ya < py && py < yb) || (yb < py && py < ya)))
        return kPointOnVerticalEdge;
      continue;
    }
    const bool level = std::fabs(ya - yb) <= tol;
    if (level && std::fabs(ya - py) <= tol) {
      if (xa < px && px < xb) return kPointOnHorizontalEdge;
      continue;
    }
    const double k = (yb - ya) / (xb - xa);
    const double lineY = ya + k * (px - xa);
    if (std::fabs(py - lineY) <= tol) {
      if (xa < px && px < xb) return kPointOnEdge;
      continue;
    }
    const bool above = level ? py < ya : py < lineY;
    if (xa + tol < px && px < xb + tol && above) ++crossings;
  }
  return crossings % 2 == 1 ? kPointInside : kPointOutside;
}

void FacePlaneAngles(const float x[], const float y[], const float z[], int n, double* angleAboutZ,
                     double* tiltAngle) {
  // The spanning pair of largest triangle area (Heron's formula), strictly larger replacing.
  double bestArea = 0.0;
  int bi = 0, bj = 0;
  for (int i = 2; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      const double a = std::sqrt(double(x[i]) * x[i] + double(y[i]) * y[i] + double(z[i]) * z[i]);
      const double b = std::sqrt(double(x[j]) * x[j] + double(y[j]) * y[j] + double(z[j]) * z[j]);
      const double dx = double(x[j]) - x[i], dy = double(y[j]) - y[i], dz = double(z[j]) - z[i];
      const double c = std::sqrt(dx * dx + dy * dy + dz * dz);
      const double s = (a + b + c) / 2.0;
      const double product = (s - a) * (s - b) * (s - c);
      if (!(product > 0.0)) continue;
      const double area = std::sqrt(s * product);
      if (area > bestArea) bestArea = area, bi = i, bj = j;
    }
  }
  // Products of floats are exact in double, so the zero tests below see true zeros.
  double nx = 0.0, ny = 0.0, nz = 0.0;
  if (bi != 0) {
    nx = double(y[bi]) * z[bj] - double(z[bi]) * y[bj];
    ny = double(z[bi]) * x[bj] - double(x[bi]) * z[bj];
    nz = double(x[bi]) * y[bj] - double(y[bi]) * x[bj];
  }
  // The rules in order; a later one that applies overrides.
  double a = 0.0, b = 0.0;
  if (nx == 0.0 && ny == 0.0) a = 0.0, b = 0.0;
  if (nx == 0.0 && nz == 0.0) a = kHalfPi, b = -kHalfPi;
  if (ny == 0.0 && nz == 0.0) a = 0.0, b = kHalfPi;
  if (nx != 0.0 || ny != 0.0) {
    a = -LineAngleFloat(0.0f, 0.0f, static_cast<float>(nx), static_cast<float>(ny));
    const double t = nx * std::cos(a) - ny * std::sin(a);
    if (nz == 0.0) b = kHalfPi;
    if (nz > 0.0) b = std::atan(std::fabs(t) / nz);
    if (nz < 0.0) b = kPi - std::atan(std::fabs(t) / std::fabs(nz));
  }
  *angleAboutZ = a;
  *tiltAngle = b;
}

namespace {

// The flattened pieces: one ring per piece (1-based arrays as the point test takes them).
struct FlatRing {
  std::vector<float> x{0.0f}, y{0.0f};
  int Count() const { return static_cast<int>(x.size()) - 1; }
};

bool SamePlanSegment(const FloatSegment& a, const FloatSegment& b) {
  auto near = [](float u, float v) { return std::fabs(u - v) < 1.0f; };
  const bool same = near(a.x1, b.x1) && near(a.y1, b.y1) && near(a.x2, b.x2) && near(a.y2, b.y2);
  const bool reversed =
      near(a.x1, b.x2) && near(a.y1, b.y2) && near(a.x2, b.x1) && near(a.y2, b.y1);
  return same || reversed;
}

// Of every set of repeated segments (ends within 1.0, either direction) the first stays.
std::vector<FloatSegment> WithoutDuplicates(const std::vector<FloatSegment>& segments) {
  std::vector<bool> dropped(segments.size(), false);
  std::vector<FloatSegment> kept;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (dropped[i]) continue;
    for (size_t j = i + 1; j < segments.size(); ++j)
      if (!dropped[j] && SamePlanSegment(segments[i], segments[j])) dropped[j] = true;
    kept.push_back(segments[i]);
  }
  return kept;
}

// Drops every segment whose midpoint lies strictly inside a piece other than its own.
std::vector<FloatSegment> WithoutInnerSegments(const std::vector<FloatSegment>& segments,
                                               const std::vector<FlatRing>& rings) {
  std::vector<FloatSegment> kept;
  for (const FloatSegment& s : segments) {
    const double mx = (double(s.x1) + s.x2) / 2.0, my = (double(s.y1) + s.y2) / 2.0;
    const int own = static_cast<int>(s.attr[0]);
    bool inner = false;
    for (size_t p = 1; p < rings.size() && !inner; ++p) {
      if (static_cast<int>(p) == own) continue;
      inner = PointInPolygonFloat(mx, my, rings[p].x.data(), rings[p].y.data(), rings[p].Count(),
                                  1.0f) == kPointInside;
    }
    if (!inner) kept.push_back(s);
  }
  return kept;
}

bool PieceCountsAddUp(int pieceCount, int pointCount, const std::int16_t counts[]) {
  if (pieceCount < 1 || pointCount < 1) return false;
  long long sum = 0;
  for (int p = 1; p <= pieceCount; ++p) {
    if (counts[p] < 1) return false;
    sum += counts[p];
  }
  return sum == pointCount;
}

}  // namespace

int BuildSlopeFaces(int pieceCount, int pointCount, const std::int16_t pieceVertexCounts[],
                    float x[], float y[], float z[], int* loopCount, int* loopPointCount,
                    std::int16_t loopVertexCounts[], float loopX[], float loopY[], float loopZ[]) {
  *loopCount = 0;
  *loopPointCount = 0;
  if (!PieceCountsAddUp(pieceCount, pointCount, pieceVertexCounts)) return 0;

  const float x0 = x[1], y0 = y[1], z0 = z[1];
  for (int i = 1; i <= pointCount; ++i) x[i] -= x0, y[i] -= y0, z[i] -= z0;
  double a1 = 0.0, a2 = 0.0;
  FacePlaneAngles(x, y, z, pieceVertexCounts[1], &a1, &a2);
  RotatePointsByTwoAngles(x, y, z, pointCount, a1, a2, 0);

  std::vector<FlatRing> rings(pieceCount + 1);
  std::vector<FloatSegment> edges;
  int first = 1;
  for (int p = 1; p <= pieceCount; ++p) {
    const int count = pieceVertexCounts[p];
    for (int v = 0; v < count; ++v) {
      const int i = first + v, j = first + (v + 1) % count;
      rings[p].x.push_back(x[i]);
      rings[p].y.push_back(y[i]);
      edges.push_back({x[i], y[i], 0.0f, x[j], y[j], 0.0f, {static_cast<float>(p), 0.0f, 0.0f}});
    }
    first += count;
  }

  const std::vector<FloatSegment> outline =
      WithoutInnerSegments(WithoutDuplicates(SplitFloatSegments(edges)), rings);
  const FloatLoops loops = LinkFloatSegments(outline);
  if (static_cast<int>(loops.sizes.size()) > kSlopeFaceLoopCapacity ||
      static_cast<int>(loops.x.size()) > kSlopeFacePointCapacity)
    return 0;

  const double c1 = std::cos(a1), s1 = std::sin(a1), c2 = std::cos(a2), s2 = std::sin(a2);
  for (size_t l = 0; l < loops.sizes.size(); ++l)
    loopVertexCounts[l + 1] = static_cast<std::int16_t>(loops.sizes[l]);
  for (size_t k = 0; k < loops.x.size(); ++k) {
    const double fx = loops.x[k], fy = loops.y[k];
    loopX[k + 1] = static_cast<float>(fx * c2 * c1 + fy * s1 + x0);
    loopY[k + 1] = static_cast<float>(fy * c1 - fx * c2 * s1 + y0);
    loopZ[k + 1] = static_cast<float>(z0 - fx * s2);
  }
  *loopCount = static_cast<int>(loops.sizes.size());
  *loopPointCount = static_cast<int>(loops.x.size());
  return 1;
}
