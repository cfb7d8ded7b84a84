// The multi-slope roof solver: footprint clean-up, then the checked answer of the moving
// eave lines (SlopedRoofAnswer.h).
#include "SlopedRoofSolver.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "KernelPrimitives.h"
#include "RoofWavefront.h"
#include "SlopedRoofAnswer.h"

namespace {

constexpr int kMaxLoops = 9;
constexpr int kMaxPoints = 499;
constexpr int kMaxFaces = 499;
constexpr int kMaxFacePoints = 4999;
// How near, in millimetres, a corner between two edges of one slope may stand to the straight
// line through its neighbours and still count as no corner (a survey's or a redrawn plan's
// wall, straight in all but its numbers): a tenth of a millimetre, which no eye sees on a
// roof and no sun hour feels, while single precision at the building-sized coordinates the
// roof commands hand over (within 1e5 mm) still resolves a hundredth of it. At site
// coordinates (1e6 to 1e7) single precision itself scatters a straight wall's corners by up
// to a millimetre; the faces of such corners lie within a few units of one plane and merge.
constexpr double kNearStraight = 0.1;

// ---- Footprint clean-up ----

// Drops every point that repeats the point before it (within 0.001 in x and y; the last
// point against the first too), packing every loop in place. The edge that leaves the kept
// point takes the slope of the edge that left the repeat, so every real edge keeps its own
// slope; a repeat left in place would make its neighbour look collinear and lose a real
// corner. False when a loop falls below 3 points.
bool DropRepeatedPoints(int nLoops, std::int16_t counts[], float x[], float y[], float slope[]) {
  auto same = [&](int a, int b) {
    return std::fabs(x[a] - x[b]) <= 0.001f && std::fabs(y[a] - y[b]) <= 0.001f;
  };
  int read = 0, write = 0;
  for (int l = 1; l <= nLoops; ++l) {
    const int n = counts[l];
    int kept = 0;
    for (int i = 1; i <= n; ++i) {
      if (kept > 0 && same(read + i, write + kept)) {
        slope[write + kept] = slope[read + i];
        continue;
      }
      ++kept;
      x[write + kept] = x[read + i], y[write + kept] = y[read + i];
      slope[write + kept] = slope[read + i];
    }
    while (kept > 1 && same(write + kept, write + 1)) --kept;
    if (kept < 3) return false;
    counts[l] = static_cast<std::int16_t>(kept);
    read += n;
    write += kept;
  }
  return true;
}

// Drops the points that `flags` marks in each loop (given the loop's points and slopes,
// 1-based, it returns one mark per point), packing every loop in place; the edge that leaves
// a kept point keeps its slope, so a joined edge keeps the slope of the earlier one. False
// when a loop falls below 3 points.
template <class Flags>
bool DropFlaggedPoints(int nLoops, std::int16_t counts[], float x[], float y[], float slope[],
                       Flags flags) {
  int read = 0, write = 0;
  for (int l = 1; l <= nLoops; ++l) {
    const int n = counts[l];
    std::vector<double> dx(n + 1, 0.0), dy(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) dx[i] = x[read + i], dy[i] = y[read + i];
    const auto dropped = flags(n, dx.data(), dy.data(), slope + read);
    int kept = 0;
    for (int i = 1; i <= n; ++i) {
      if (dropped[i]) continue;
      ++kept;
      x[write + kept] = x[read + i];
      y[write + kept] = y[read + i];
      slope[write + kept] = slope[read + i];
    }
    if (kept < 3) return false;
    counts[l] = static_cast<std::int16_t>(kept);
    read += n;
    write += kept;
  }
  return true;
}

// Whether (x, y) stands within tol of the segment from a to b, longer than tol, beside it
// rather than beyond its ends.
bool BesideSegment(double x, double y, double ax, double ay, double bx, double by, double tol) {
  const double dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
  if (!(len > tol)) return false;
  const double along = ((x - ax) * dx + (y - ay) * dy) / len, off = ((x - ax) * dy - (y - ay) * dx) / len;
  return std::fabs(off) <= tol && along > 0.0 && along < len;
}

// Whether every point strictly between p and q (1-based, round the loop of n) lies within
// kNearStraight of the segment from p to q, beside it.
bool NearSegment(int n, const double x[], const double y[], int p, int q) {
  for (int i = p % n + 1; i != q; i = i % n + 1)
    if (!BesideSegment(x[i], y[i], x[p], y[p], x[q], y[q], kNearStraight)) return false;
  return true;
}

// The corners of one loop (points and slopes 1-based) that stand within kNearStraight of the
// straight line through their neighbours, between two edges of the same slope: dropping them
// one after another, every point dropped stays that near the edge that replaces it, so the
// outline moves no farther than that (an arc in short chords keeps its shape to a tenth of a
// millimetre). Three corners are always kept.
std::vector<char> NearStraightCorners(int n, const double x[], const double y[], const float slope[]) {
  std::vector<char> dropped(n + 1, 0);
  std::vector<int> prev(n + 1), next(n + 1);
  for (int i = 1; i <= n; ++i) prev[i] = i == 1 ? n : i - 1, next[i] = i == n ? 1 : i + 1;
  int kept = n;
  for (bool changed = true; changed && kept > 3;) {
    changed = false;
    for (int i = 1; i <= n && kept > 3; ++i) {
      if (dropped[i] || slope[i] != slope[prev[i]] || !NearSegment(n, x, y, prev[i], next[i])) continue;
      dropped[i] = 1;
      next[prev[i]] = next[i];
      prev[next[i]] = prev[i];
      --kept;
      changed = true;
    }
  }
  return dropped;
}

// The vertices of one loop (points and slopes 1-based) that lie on the line of their
// neighbours (within the angle FlagCollinearVertices allows) between two edges of one slope,
// or where the ring runs out along that line and turns back. A straight corner between two
// slopes stays: each is a plane the user gave, and the joined edge would keep only one.
std::vector<char> CollinearCorners(int n, const double x[], const double y[], const float slope[]) {
  const auto flags = FlagCollinearVertices(n, x, y);
  std::vector<char> dropped(n + 1, 0);
  for (int i = 1; i <= n; ++i) {
    const int p = i == 1 ? n : i - 1, q = i == n ? 1 : i + 1;
    const bool onward = (x[i] - x[p]) * (x[q] - x[i]) + (y[i] - y[p]) * (y[q] - y[i]) > 0.0;
    dropped[i] = flags[i] && (slope[i] == slope[p] || !onward);
  }
  return dropped;
}

// Drops the vertices on the line of their neighbours between edges of one slope, then the
// corners that stand within kNearStraight of it between edges of one slope. False when a loop
// falls below 3 points.
bool DropStraightCorners(int nLoops, std::int16_t counts[], float x[], float y[], float slope[]) {
  return DropFlaggedPoints(nLoops, counts, x, y, slope, CollinearCorners) &&
         DropFlaggedPoints(nLoops, counts, x, y, slope, NearStraightCorners);
}

// Turns every loop so that the outline runs clockwise and courtyards counter-clockwise,
// keeping vertex 1 and each edge's slope.
void OrientLoops(int nLoops, const std::int16_t counts[], float x[], float y[], float slope[]) {
  int first = 0;
  for (int l = 1; l <= nLoops; ++l) {
    const int n = counts[l];
    float minX = 1e30f;
    int i = 1;
    for (int k = 1; k <= n; ++k)
      if (x[first + k] < minX) minX = x[first + k], i = k;
    const int p = i == 1 ? n : i - 1, q = i == n ? 1 : i + 1;
    const double xi = x[first + i], yi = y[first + i];
    const double c =
        (x[first + p] - xi) * (yi - y[first + q]) - (y[first + p] - yi) * (xi - x[first + q]);
    if ((l == 1 && c > 0) || (l > 1 && c < 0)) {
      std::reverse(x + first + 2, x + first + n + 1);
      std::reverse(y + first + 2, y + first + n + 1);
      std::reverse(slope + first + 1, slope + first + n + 1);  // edge k was edge n + 1 - k
    }
    first += n;
  }
}

// Whether two segments cross at a point inside both. A point within the rounding of double
// arithmetic of a segment's line counts as on it: the edges of a wall whose corners were set
// on one line (StraightenCorners) never cross one another.
bool ProperlyCross(double ax, double ay, double bx, double by, double cx, double cy, double dx,
                   double dy) {
  if (std::max(ax, bx) < std::min(cx, dx) || std::max(cx, dx) < std::min(ax, bx) ||
      std::max(ay, by) < std::min(cy, dy) || std::max(cy, dy) < std::min(ay, by))
    return false;
  auto orient = [](double px, double py, double qx, double qy, double rx, double ry) {
    const double ux = qx - px, uy = qy - py, vx = rx - px, vy = ry - py, v = ux * vy - uy * vx;
    if (v * v <= 1e-24 * (ux * ux + uy * uy) * (vx * vx + vy * vy)) return 0;
    return (v > 0) - (v < 0);
  };
  const int o1 = orient(ax, ay, bx, by, cx, cy), o2 = orient(ax, ay, bx, by, dx, dy);
  const int o3 = orient(cx, cy, dx, dy, ax, ay), o4 = orient(cx, cy, dx, dy, bx, by);
  return o1 * o2 < 0 && o3 * o4 < 0;
}

// Whether the footprint is fit for roof planes: edges longer than 0.001, slopes strictly
// between 0 and a quarter turn, no two edges crossing.
bool Solvable(const RoofFootprint& f) {
  const int n = f.Size();
  for (int i = 0; i < n; ++i) {
    const int j = f.Next(i);
    if (std::fabs(f.x[j] - f.x[i]) <= 0.001 && std::fabs(f.y[j] - f.y[i]) <= 0.001) return false;
    const float t = std::tan(f.slope[i]);
    if (!(f.slope[i] > 0.0f) || !(t > 0.0f) || !std::isfinite(t)) return false;
  }
  for (int i = 0; i < n; ++i)
    for (int k = i + 1; k < n; ++k)
      if (ProperlyCross(f.x[i], f.y[i], f.x[f.Next(i)], f.y[f.Next(i)], f.x[k], f.y[k],
                        f.x[f.Next(k)], f.y[f.Next(k)]))
        return false;
  return true;
}

RoofFootprint ReadFootprint(int nLoops, const std::int16_t counts[], const float loopBase[],
                            const float x[], const float y[], const float slope[]) {
  RoofFootprint f;
  int first = 0;
  for (int l = 1; l <= nLoops; ++l) {
    f.start.push_back(first);
    f.count.push_back(counts[l]);
    f.base.push_back(loopBase[l]);
    for (int k = 1; k <= counts[l]; ++k) {
      f.x.push_back(x[first + k]);
      f.y.push_back(y[first + k]);
      f.slope.push_back(slope[first + k]);
      f.loopOf.push_back(l - 1);
    }
    first += counts[l];
  }
  return f;
}

// How many units of single precision, at the points' magnitude, a corner between two slopes
// may stand off the straight line through its neighbours and still count as straight: a
// straight wall split where its slope changes, on a site and turned, comes to the solver with
// the split point rounded to either side of the line. Left a hair inside, it would hand the
// wall to the steeper plane (the steeper eave line then stands outside the gentler one),
// left a hair outside to the gentler: a roof metres apart for one wall drawn straight.
constexpr double kStraightUnits = 2.0;

// Whether footprint point i stands within rounding of straight between p and q: beside the
// segment from p to q, within kStraightUnits at the three points' magnitude.
bool StraightBetween(const RoofFootprint& f, int p, int i, int q) {
  double m = 0.0;
  for (int k : {p, i, q}) m = std::max({m, std::fabs(f.x[k]), std::fabs(f.y[k])});
  return BesideSegment(f.x[i], f.y[i], f.x[p], f.y[p], f.x[q], f.y[q], kStraightUnits * FloatUnit(m));
}

// Sets every run of corners between two slopes that stands within rounding of straight
// (each corner of the line through its neighbours, and the run of the line through the
// corners at its ends) exactly on that line, so that the roof is that of the straight wall:
// each slope's plane rises from one line, the gentler plane lying lower beyond it.
void StraightenCorners(RoofFootprint& f) {
  for (size_t l = 0; l < f.start.size(); ++l) {
    const int first = f.start[l], n = f.count[l];
    auto at = [first, n](int k) { return first + ((k % n) + n) % n; };
    std::vector<char> straight(n, 0);
    int corner = -1;  // a corner that stays
    for (int k = 0; k < n; ++k) {
      const int p = at(k - 1), i = at(k), q = at(k + 1);
      straight[k] = f.slope[p] != f.slope[i] && StraightBetween(f, p, i, q);
      if (!straight[k]) corner = k;
    }
    if (corner < 0) continue;
    for (int k = corner + 1; k <= corner + n; ++k) {
      if (!straight[k % n]) continue;
      int end = k;
      while (straight[end % n]) ++end;
      const int p = at(k - 1), q = at(end);
      bool beside = true;
      for (int r = k; r < end && beside; ++r) beside = StraightBetween(f, p, at(r), q);
      const double dx = f.x[q] - f.x[p], dy = f.y[q] - f.y[p], len2 = dx * dx + dy * dy;
      for (int r = k; r < end && beside; ++r) {
        const int i = at(r);
        const double t = ((f.x[i] - f.x[p]) * dx + (f.y[i] - f.y[p]) * dy) / len2;
        f.x[i] = f.x[p] + t * dx, f.y[i] = f.y[p] + t * dy;
      }
      k = end;
    }
  }
}

// The roof faces of the cleaned footprint; none when it has no roof or its roof fails the
// check.
std::vector<PlaneFace> SolveFootprint(const RoofFootprint& f) {
  if (!Solvable(f)) return {};
  return CheckedRoofFaces(f, WavefrontAnswer(f));
}

}  // namespace

int SolveSlopedRoofFaces(int nLoops, std::int16_t loopPointCounts[], const float loopBase[],
                         float x[], float y[], float slope[], int* faceCount,
                         std::int16_t faceVertexCounts[], float faceX[], float faceY[],
                         float faceZ[]) {
  *faceCount = 0;
  if (nLoops < 1 || nLoops > kMaxLoops) return 0;
  int total = 0;
  for (int l = 1; l <= nLoops; ++l) {
    if (loopPointCounts[l] < 3) return 0;
    total += loopPointCounts[l];
  }
  if (total > kMaxPoints) return 0;
  if (!DropRepeatedPoints(nLoops, loopPointCounts, x, y, slope) ||
      !DropStraightCorners(nLoops, loopPointCounts, x, y, slope))
    return 0;
  OrientLoops(nLoops, loopPointCounts, x, y, slope);

  RoofFootprint footprint = ReadFootprint(nLoops, loopPointCounts, loopBase, x, y, slope);
  StraightenCorners(footprint);
  const std::vector<PlaneFace> faces = SolveFootprint(footprint);
  size_t points = 0;
  for (const PlaneFace& face : faces) points += face.x.size();
  if (faces.size() > static_cast<size_t>(kMaxFaces) || points > static_cast<size_t>(kMaxFacePoints))
    return 0;
  int at = 0;
  for (size_t i = 0; i < faces.size(); ++i) {
    faceVertexCounts[i + 1] = static_cast<std::int16_t>(faces[i].x.size());
    for (size_t p = 0; p < faces[i].x.size(); ++p) {
      ++at;
      faceX[at] = faces[i].x[p], faceY[at] = faces[i].y[p], faceZ[at] = faces[i].z[p];
    }
  }
  *faceCount = static_cast<int>(faces.size());
  return *faceCount != 0;
}
