// Single-precision line angle, point clean-up and cutting of segment lists at crossings.
#include <cmath>
#include <utility>
#include <vector>

#include "FloatSegmentLinking.h"
#include "KernelConstants.h"

using namespace kernel;

double LineAngleFloat(float x1, float y1, float x2, float y2) {
  const float t = 0.1f;
  const float dx = x2 - x1, dy = y2 - y1;
  // Every rule is tried; a later one that applies replaces an earlier result.
  double angle = 0.0;
  if (x1 < x2 - t && y1 < y2 - t) angle = std::atan(dy / dx);
  if (x2 < x1 - t && y1 < y2 - t) angle = kPi - std::atan(dy / (x1 - x2));
  if (x2 < x1 - t && y2 < y1 - t) angle = kPi + std::atan((y1 - y2) / (x1 - x2));
  if (x1 < x2 - t && y2 < y1 - t) angle = kTwoPi - std::atan((y1 - y2) / dx);
  if (x1 < x2 - t && std::fabs(dy) < t) angle = 0.0;
  if (x2 < x1 - t && std::fabs(dy) < t) angle = kPi;
  if (std::fabs(dx) < t && y1 < y2 - t) angle = kHalfPi;
  if (std::fabs(dx) < t && y2 < y1 - t) angle = kThreeHalfPi;
  return angle;
}

namespace {

struct Point3f {
  float x, y, z;
};

// Merges points within 0.1 (strictly, all three coordinates) onto the first of them, keeps
// order, then sorts stably by x (key 1) or y (key 2) with neighbour swaps.
void MergeAndSort(int sortKey, std::vector<Point3f>& points) {
  std::vector<Point3f> kept;
  kept.reserve(points.size());
  std::vector<bool> dropped(points.size(), false);
  for (size_t i = 0; i < points.size(); ++i) {
    if (dropped[i]) continue;
    const Point3f& p = points[i];
    for (size_t j = i + 1; j < points.size(); ++j) {
      const Point3f& q = points[j];
      if (!dropped[j] && std::fabs(q.x - p.x) < 0.1f && std::fabs(q.y - p.y) < 0.1f &&
          std::fabs(q.z - p.z) < 0.1f)
        dropped[j] = true;
    }
    kept.push_back(p);
  }
  auto key = [sortKey](const Point3f& p) { return sortKey == 2 ? p.y : p.x; };
  if (sortKey == 1 || sortKey == 2) {
    bool swapped = true;
    while (swapped) {
      swapped = false;
      for (size_t i = 0; i + 1 < kept.size(); ++i) {
        if (key(kept[i + 1]) < key(kept[i])) {
          std::swap(kept[i], kept[i + 1]);
          swapped = true;
        }
      }
    }
  }
  points = std::move(kept);
}

}  // namespace

void RemoveCoincidentPointsFloat(int sortKey, float x[], float y[], float z[], int* n) {
  if (*n < 1) return;
  std::vector<Point3f> points;
  for (int i = 1; i <= *n; ++i) points.push_back({x[i], y[i], z[i]});
  MergeAndSort(sortKey, points);
  for (size_t i = 0; i < points.size(); ++i) {
    x[i + 1] = points[i].x;
    y[i + 1] = points[i].y;
    z[i + 1] = points[i].z;
  }
  *n = static_cast<int>(points.size());
}

namespace {

constexpr float kCut = 0.9f;   // how far inside a segment a cut must lie
constexpr float kAxis = 0.1f;  // extent under which a segment counts as vertical/horizontal

// A segment seen in plan: its extents, kind and line.
struct PlanLine {
  float minX, maxX, minY, maxY;
  float dx, dy;    // absolute extents
  double k = 0.0;  // slope, or 555.0 vertical / 666.0 horizontal
  double b = 0.0;  // intercept of a sloped line

  explicit PlanLine(const FloatSegment& s)
      : minX(std::fmin(s.x1, s.x2)),
        maxX(std::fmax(s.x1, s.x2)),
        minY(std::fmin(s.y1, s.y2)),
        maxY(std::fmax(s.y1, s.y2)),
        dx(std::fabs(s.x2 - s.x1)),
        dy(std::fabs(s.y2 - s.y1)) {
    // The horizontal test comes last, so a segment that is both counts as horizontal.
    const bool vertical = dx <= kAxis, horizontal = dy <= kAxis;
    if (vertical) k = kVerticalSlope;
    if (horizontal) k = kHorizontalSlope;
    if (!vertical && !horizontal) {
      k = static_cast<double>(s.y2 - s.y1) / (s.x2 - s.x1);
      b = s.y1 - k * s.x1;
    }
  }
  bool Vertical() const { return k == kVerticalSlope; }
  bool Horizontal() const { return k == kHorizontalSlope; }

  // Whether (X, Y) lies more than 0.9 inside the segment on its dominant axis.
  bool CutsInside(double X, double Y) const {
    const bool byY = dx <= dy && minY + kCut < Y && Y < maxY - kCut;
    const bool byX = dy <= dx && minX + kCut < X && X < maxX - kCut;
    return byX || byY;
  }
  // Whether (X, Y) lies on the segment or within 0.9 beyond its ends on its dominant axis.
  bool ReachesWidened(double X, double Y) const {
    const bool byY = dx <= dy && minY - kCut < Y && Y < maxY + kCut;
    const bool byX = dy <= dx && minX - kCut < X && X < maxX + kCut;
    return byX || byY;
  }
};

bool BoxesMeet(const PlanLine& i, const PlanLine& j) {
  return i.minX <= j.maxX + kCut && j.minX - kCut <= i.maxX && i.minY <= j.maxY + kCut &&
         j.minY - kCut <= i.maxY;
}

// The crossing of two lines whose slope values differ.
void Crossing(const FloatSegment& si, const PlanLine& i, const FloatSegment& sj, const PlanLine& j,
              double* X, double* Y) {
  if (i.Vertical() && j.Horizontal()) {
    *X = si.x1, *Y = sj.y1;
  } else if (i.Horizontal() && j.Vertical()) {
    *X = sj.x1, *Y = si.y1;
  } else if (i.Vertical()) {
    *X = si.x1, *Y = j.k * si.x1 + j.b;
  } else if (j.Vertical()) {
    *X = sj.x1, *Y = i.k * sj.x1 + i.b;
  } else if (i.Horizontal()) {
    *X = (si.y1 - j.b) / j.k, *Y = si.y1;
  } else if (j.Horizontal()) {
    *X = (sj.y1 - i.b) / i.k, *Y = sj.y1;
  } else {
    *X = (j.b - i.b) / (i.k - j.k);
    *Y = (j.b * i.k - j.k * i.b) / (i.k - j.k);
  }
}

// Adds each end of j (its start first) whose position along i, start or end, lies more than
// 0.9 inside i's extent lo..hi.
void AddEndsInside(const FloatSegment& sj, float lo, float hi, float start, float end,
                   std::vector<Point3f>& cuts) {
  if (lo + kCut < start && start < hi - kCut) cuts.push_back({sj.x1, sj.y1, 0.0f});
  if (lo + kCut < end && end < hi - kCut) cuts.push_back({sj.x2, sj.y2, 0.0f});
}

// Ends of j that fall inside i when both lie on one sloped line, seen in a frame turned about
// i's start so that i runs along +x.
void AddCollinearEnds(const FloatSegment& si, const FloatSegment& sj, std::vector<Point3f>& cuts) {
  const double turn = -LineAngleFloat(si.x1, si.y1, si.x2, si.y2);
  const float c = static_cast<float>(std::cos(turn)), s = static_cast<float>(std::sin(turn));
  auto turnedX = [&](float x, float y) { return si.x1 + (x - si.x1) * c - (y - si.y1) * s; };
  auto turnedY = [&](float x, float y) { return si.y1 + (x - si.x1) * s + (y - si.y1) * c; };
  if (!(std::fabs(turnedY(sj.x1, sj.y1) - si.y1) < kAxis)) return;
  const float a = si.x1, b = turnedX(si.x2, si.y2);
  AddEndsInside(sj, std::fmin(a, b), std::fmax(a, b), turnedX(sj.x1, sj.y1),
                turnedX(sj.x2, sj.y2), cuts);
}

// Every point at which segment j cuts segment i.
void AddCutsFrom(const FloatSegment& si, const PlanLine& i, const FloatSegment& sj,
                 std::vector<Point3f>& cuts) {
  const PlanLine j(sj);
  if (i.Horizontal() && j.Horizontal()) {
    if (std::fabs(si.y1 - sj.y1) < kAxis) AddEndsInside(sj, i.minX, i.maxX, sj.x1, sj.x2, cuts);
  } else if (i.Vertical() && j.Vertical()) {
    if (std::fabs(si.x1 - sj.x1) < kAxis) AddEndsInside(sj, i.minY, i.maxY, sj.y1, sj.y2, cuts);
  } else if (std::fabs(i.k - j.k) >= 0.0002) {
    double X = 0.0, Y = 0.0;
    Crossing(si, i, sj, j, &X, &Y);
    if (i.CutsInside(X, Y) && j.ReachesWidened(X, Y))
      cuts.push_back({static_cast<float>(X), static_cast<float>(Y), 0.0f});
  } else {
    AddCollinearEnds(si, sj, cuts);
  }
}

// The points of segment i after cutting: its start, the cuts with z interpolated, its end;
// close points merged and the list sorted along the segment.
std::vector<Point3f> CutPoints(const std::vector<FloatSegment>& segments, size_t index,
                               const PlanLine& line) {
  const FloatSegment& s = segments[index];
  std::vector<Point3f> points{{s.x1, s.y1, s.z1}};
  for (size_t j = 0; j < segments.size(); ++j)
    if (j != index && BoxesMeet(line, PlanLine(segments[j])))
      AddCutsFrom(s, line, segments[j], points);
  points.push_back({s.x2, s.y2, s.z2});
  if (points.size() <= 2) return points;

  const bool alongY = line.dy >= line.dx;
  for (size_t p = 1; p + 1 < points.size(); ++p) {
    Point3f& q = points[p];
    q.z = alongY ? s.z1 + (q.y - s.y1) * (s.z2 - s.z1) / (s.y2 - s.y1)
                 : s.z1 + (q.x - s.x1) * (s.z2 - s.z1) / (s.x2 - s.x1);
  }
  std::vector<Point3f> kept;
  for (const Point3f& p : points) {
    bool nearEarlier = false;
    for (const Point3f& q : kept)
      if (std::fabs(p.x - q.x) < kCut && std::fabs(p.y - q.y) < kCut) nearEarlier = true;
    if (!nearEarlier) kept.push_back(p);
  }
  if (kept.size() > 2) MergeAndSort(line.dy <= line.dx ? 1 : 2, kept);
  return kept;
}

}  // namespace

std::vector<FloatSegment> SplitFloatSegments(const std::vector<FloatSegment>& segments) {
  std::vector<FloatSegment> pieces;
  for (size_t i = 0; i < segments.size(); ++i) {
    const FloatSegment& s = segments[i];
    const PlanLine line(s);
    if (line.dx <= kAxis && line.dy <= kAxis) continue;
    const std::vector<Point3f> points = CutPoints(segments, i, line);
    for (size_t p = 0; p + 1 < points.size(); ++p) {
      FloatSegment piece = s;
      piece.x1 = points[p].x, piece.y1 = points[p].y, piece.z1 = points[p].z;
      piece.x2 = points[p + 1].x, piece.y2 = points[p + 1].y, piece.z2 = points[p + 1].z;
      pieces.push_back(piece);
    }
  }
  return pieces;
}

void SplitSegmentsAtCrossingsFloat(const float x1[], const float y1[], const float z1[],
                                   const float x2[], const float y2[], const float z2[],
                                   const float a1[], const float a2[], const float a3[], int n,
                                   int* outCount, float outX1[], float outY1[], float outZ1[],
                                   float outX2[], float outY2[], float outZ2[], float outA1[],
                                   float outA2[], float outA3[], int outCapacity) {
  *outCount = 0;
  std::vector<FloatSegment> segments;
  for (int i = 1; i <= n; ++i)
    segments.push_back({x1[i], y1[i], z1[i], x2[i], y2[i], z2[i], {a1[i], a2[i], a3[i]}});
  const std::vector<FloatSegment> pieces = SplitFloatSegments(segments);
  if (static_cast<long long>(pieces.size()) > outCapacity) return;
  for (size_t p = 0; p < pieces.size(); ++p) {
    const size_t k = p + 1;
    const FloatSegment& s = pieces[p];
    outX1[k] = s.x1, outY1[k] = s.y1, outZ1[k] = s.z1;
    outX2[k] = s.x2, outY2[k] = s.y2, outZ2[k] = s.z2;
    outA1[k] = s.attr[0], outA2[k] = s.attr[1], outA3[k] = s.attr[2];
  }
  *outCount = static_cast<int>(pieces.size());
}
