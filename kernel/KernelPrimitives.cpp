// Angles, rotations, point-list clean-up, line intersection, face-list compaction and plane
// angles of the numeric kernel.
#include "KernelPrimitives.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using namespace kernel;

double LineAngle(double x1, double y1, double x2, double y2) {
  const double t = 0.001;
  // Every rule is tried; a later one that applies replaces an earlier result.
  double angle = 0.0;
  if (x1 < x2 - t && y1 < y2 - t) angle = std::atan((y2 - y1) / (x2 - x1));
  if (x2 < x1 - t && y1 < y2 - t) angle = kPi - std::atan((y2 - y1) / (x1 - x2));
  if (x2 < x1 - t && y2 < y1 - t) angle = kPi + std::atan((y1 - y2) / (x1 - x2));
  if (x1 < x2 - t && y2 < y1 - t) angle = kTwoPi - std::atan((y1 - y2) / (x2 - x1));
  if (x1 < x2 - t && std::fabs(y1 - y2) < t) angle = 0.0;
  if (x2 < x1 - t && std::fabs(y1 - y2) < t) angle = kPi;
  if (std::fabs(x1 - x2) < t && y1 < y2 - t) angle = kHalfPi;
  if (std::fabs(x1 - x2) < t && y2 < y1 - t) angle = kThreeHalfPi;
  return angle;
}

void RotatePointsByTwoAngles(float x[], float y[], float z[], int n, double a, double b,
                             int zShift) {
  const double cosA = std::cos(a), sinA = std::sin(a);
  const double cosB = std::cos(b), sinB = std::sin(b);
  const float shift = static_cast<float>(zShift);
  for (int i = 1; i <= n; ++i) {
    const float xTurned = static_cast<float>(x[i] * cosA - y[i] * sinA);
    const float yTurned = static_cast<float>(x[i] * sinA + y[i] * cosA);
    y[i] = yTurned;
    const double zOld = z[i];
    x[i] = static_cast<float>(xTurned * cosB - zOld * sinB);
    z[i] = static_cast<float>(xTurned * sinB + zOld * cosB) + shift;
  }
}

namespace {

// Stable ascending sort of points 1..count by one key array (the order repeated adjacent
// swaps would give), moving all three coordinates together. The key is one of x, y, z.
void SortPointsByKey(const std::vector<double>& key, std::vector<double>& x,
                     std::vector<double>& y, std::vector<double>& z, int count) {
  std::vector<int> order(count);
  for (int i = 0; i < count; ++i) order[i] = i + 1;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key[a] < key[b]; });
  std::vector<double> sx(x), sy(y), sz(z);
  for (int i = 0; i < count; ++i) x[i + 1] = sx[order[i]], y[i + 1] = sy[order[i]], z[i + 1] = sz[order[i]];
}

bool Coincident(const std::vector<double>& x, const std::vector<double>& y,
                const std::vector<double>& z, int i, int j) {
  return std::fabs(x[j] - x[i]) < 0.001 && std::fabs(y[j] - y[i]) < 0.001 &&
         std::fabs(z[j] - z[i]) < 0.001;
}

// Flags (111) every point that repeats an earlier unflagged one. Long lists (a segment cut
// many times) find the earlier points among their neighbours in the order of the
// coordinate that spreads them most, instead of trying every pair.
void FlagRepeatedPoints(const std::vector<double>& x, const std::vector<double>& y,
                        const std::vector<double>& z, int n, std::vector<int>& flag) {
  constexpr int kPairwiseUpTo = 32;
  if (n <= kPairwiseUpTo) {
    for (int i = 1; i <= n; ++i) {
      if (flag[i] == kDuplicateFlag) continue;
      for (int j = i + 1; j <= n; ++j)
        if (flag[j] != kDuplicateFlag && Coincident(x, y, z, i, j)) flag[j] = kDuplicateFlag;
    }
    return;
  }
  const auto [xLo, xHi] = std::minmax_element(x.begin() + 1, x.begin() + n + 1);
  const auto [yLo, yHi] = std::minmax_element(y.begin() + 1, y.begin() + n + 1);
  const std::vector<double>& key = *xHi - *xLo >= *yHi - *yLo ? x : y;
  std::vector<int> order(n), at(n + 1);
  for (int i = 0; i < n; ++i) order[i] = i + 1;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key[a] < key[b]; });
  for (int k = 0; k < n; ++k) at[order[k]] = k;
  auto repeats = [&](int j, int k) {
    const int i = order[k];
    return i < j && flag[i] != kDuplicateFlag && Coincident(x, y, z, i, j);
  };
  for (int j = 1; j <= n; ++j) {
    for (int k = at[j] - 1; k >= 0 && key[j] - key[order[k]] < 0.001; --k)
      if (repeats(j, k)) flag[j] = kDuplicateFlag;
    for (int k = at[j] + 1; k < n && key[order[k]] - key[j] < 0.001; ++k)
      if (repeats(j, k)) flag[j] = kDuplicateFlag;
  }
}

}  // namespace

void RemoveCoincidentPoints(int sortMode, double x[], double y[], double z[], int* count) {
  const int n = *count;
  if (n < 1) return;
  // Work on copies so a caller may pass one array in two roles (the splitter passes y as z).
  std::vector<double> px(x, x + n + 1), py(y, y + n + 1), pz(z, z + n + 1);
  std::vector<int> flag(n + 1, 0);
  FlagRepeatedPoints(px, py, pz, n, flag);
  int kept = 0;
  for (int i = 1; i <= n; ++i) {
    if (flag[i] == kDuplicateFlag) continue;
    ++kept;
    px[kept] = px[i];
    py[kept] = py[i];
    pz[kept] = pz[i];
  }
  if (sortMode == 1) SortPointsByKey(px, px, py, pz, kept);
  if (sortMode == 2) SortPointsByKey(py, px, py, pz, kept);
  if (sortMode == 3) SortPointsByKey(pz, px, py, pz, kept);
  for (int i = 1; i <= kept; ++i) {
    x[i] = px[i];
    y[i] = py[i];
    z[i] = pz[i];
  }
  *count = kept;
}

std::unique_ptr<unsigned char[]> FlagCollinearVertices(int n, const double x[], const double y[]) {
  const int size = n < 0 ? 1 : n + 1;
  auto flags = std::make_unique<unsigned char[]>(size);  // zero-filled
  for (int i = 1; i <= n; ++i) {
    const int p = i == 1 ? n : i - 1;
    const int q = i == n ? 1 : i + 1;
    const double toVertex = LineAngle(x[p], y[p], x[i], y[i]);
    const double toNext = LineAngle(x[p], y[p], x[q], y[q]);
    if (std::fabs(toVertex - toNext) < 1e-5) flags[i] = 1;
  }
  return flags;
}

namespace {

// Slope k and intercept c of the line through two points: 555.0 for a vertical line, 666.0
// for a horizontal one (which wins when both hold), with threshold 0.1.
void LineSlope(double xa, double ya, double xb, double yb, double* k, double* c) {
  *k = 0.0;
  *c = 0.0;
  const bool vertical = std::fabs(xb - xa) <= 0.1;
  const bool horizontal = std::fabs(yb - ya) <= 0.1;
  if (vertical) *k = kVerticalSlope;
  if (horizontal) *k = kHorizontalSlope;
  if (!vertical && !horizontal) {
    *k = (yb - ya) / (xb - xa);
    *c = ya - *k * xa;
  }
}

// Whether (X, Y) lies strictly inside the segment shrunk by tol at both ends, measured on
// the segment's dominant axis.
bool InsideShrunkSegment(double X, double Y, double xa, double ya, double xb, double yb,
                         float tol) {
  const bool alongX = std::fabs(yb - ya) < std::fabs(xb - xa);
  const double v = alongX ? X : Y;
  const double a = alongX ? xa : ya;
  const double b = alongX ? xb : yb;
  const double lo = a < b ? a : b;
  const double hi = a < b ? b : a;
  return lo + tol < v && v < hi - tol;
}

}  // namespace

void LineIntersection(float tol, double x1, double y1, double x2, double y2, double x3,
                      double y3, double x4, double y4, double* X, double* Y) {
  double k1, c1, k2, c2;
  LineSlope(x1, y1, x2, y2, &k1, &c1);
  LineSlope(x3, y3, x4, y4, &k2, &c2);
  *X = kNoIntersection;
  *Y = kNoIntersection;
  if (std::fabs(k1 - k2) < 1e-5) return;

  double px, py;
  if (k1 == kVerticalSlope && k2 == kHorizontalSlope) {
    px = x1;
    py = y3;
  } else if (k1 == kHorizontalSlope && k2 == kVerticalSlope) {
    px = x3;
    py = y1;
  } else if (k1 == kVerticalSlope) {
    px = x1;
    py = k2 * x1 + c2;
  } else if (k1 == kHorizontalSlope) {
    px = (y1 - c2) / k2;
    py = y1;
  } else if (k2 == kVerticalSlope) {
    px = x3;
    py = k1 * x3 + c1;
  } else if (k2 == kHorizontalSlope) {
    px = (y3 - c1) / k1;
    py = y3;
  } else {
    px = (c2 - c1) / (k1 - k2);
    py = (k1 * c2 - k2 * c1) / (k1 - k2);
  }
  if (InsideShrunkSegment(px, py, x1, y1, x2, y2, tol) &&
      InsideShrunkSegment(px, py, x3, y3, x4, y4, tol)) {
    *X = px;
    *Y = py;
  }
}

void CompactFaceLists(int groupCount, int groupLoopCounts[], int codes[], int sizes[],
                      int groupOf[], double x[], double y[], double z[], int* groupKept,
                      int* total) {
  int entry = 0;     // entries read so far
  int kept = 0;      // entries kept so far
  int readAt = 0;    // vertices read so far
  int writeAt = 0;   // vertices kept so far
  *groupKept = 0;
  for (int g = 1; g <= groupCount; ++g) {
    const int entries = groupLoopCounts[g];
    int keptInGroup = 0;
    for (int e = 1; e <= entries; ++e) {
      ++entry;
      const int size = sizes[entry];
      const int code = codes[entry];
      if (code != kRemovedLoopCode) {
        ++kept;
        ++keptInGroup;
        codes[kept] = code;
        sizes[kept] = size;
        groupOf[kept] = g;
        for (int v = 1; v <= size; ++v) {
          x[writeAt + v] = x[readAt + v];
          y[writeAt + v] = y[readAt + v];
          z[writeAt + v] = z[readAt + v];
        }
        writeAt += size;
      }
      readAt += size;
    }
    groupLoopCounts[g] = keptInGroup;
    *groupKept = keptInGroup;
  }
  *total = kept;
}

int PolygonPlaneAngles(double ox, double oy, double oz, double x[], double y[], double z[], int n,
                       double* angleA, double* angleB) {
  for (int i = 1; i <= n; ++i) {
    x[i] -= ox;
    y[i] -= oy;
    z[i] -= oz;
  }
  *angleA = 0.0;
  *angleB = 0.0;
  // A level polygon needs no turning whichever pair spans it: its normal has no horizontal
  // part. This spares the search over all pairs for every ring in plan.
  if (std::all_of(z + 1, z + n + 1, [](double v) { return v == 0.0; })) return 1;
  double bestArea = 0.0;
  double nx = 0.0, ny = 0.0, nz = 0.0;
  for (int i = 2; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      const double cx = y[i] * z[j] - z[i] * y[j];
      const double cy = z[i] * x[j] - x[i] * z[j];
      const double cz = x[i] * y[j] - y[i] * x[j];
      const double area = 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz);
      if (area > bestArea) {
        bestArea = area;
        nx = cx;
        ny = cy;
        nz = cz;
      }
    }
  }
  if (bestArea <= 0.0) return 1;
  if (nx == 0.0 && ny == 0.0) return 1;
  const double a = -LineAngle(0.0, 0.0, nx, ny);
  const double h = nx * std::cos(a) - ny * std::sin(a);
  double b = kHalfPi;
  if (nz > 0.0) b = std::atan(std::fabs(h) / std::fabs(nz));
  if (nz < 0.0) b = kPi - std::atan(std::fabs(h) / std::fabs(nz));
  *angleA = a;
  *angleB = b;
  return 1;
}
