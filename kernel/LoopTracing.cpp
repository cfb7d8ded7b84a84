// Tracing closed loops (inner faces, clockwise) from a segment list.
#include "LoopTracing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "KernelPrimitives.h"

using namespace kernel;

namespace {

constexpr double kWeld = 0.1;

bool Near(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) <= kWeld && std::fabs(ay - by) <= kWeld;
}

// The caller's segment arrays with their current count; removal packs them in order.
struct SegmentList {
  double* x1;
  double* y1;
  double* x2;
  double* y2;
  int count;

  void RemoveMarked(const std::vector<bool>& remove) {
    int kept = 0;
    for (int i = 1; i <= count; ++i) {
      if (remove[i]) continue;
      ++kept;
      x1[kept] = x1[i];
      y1[kept] = y1[i];
      x2[kept] = x2[i];
      y2[kept] = y2[i];
    }
    count = kept;
  }

  bool Degenerate(int i) const {
    return std::fabs(x2[i] - x1[i]) < kWeld && std::fabs(y2[i] - y1[i]) < kWeld;
  }

  void RemoveDegenerate() {
    std::vector<bool> remove(count + 1, false);
    for (int i = 1; i <= count; ++i) remove[i] = Degenerate(i);
    RemoveMarked(remove);
  }

  // Whether any segment other than i has an end near (px, py).
  bool OtherEndNear(int i, double px, double py) const {
    for (int j = 1; j <= count; ++j)
      if (j != i && (Near(x1[j], y1[j], px, py) || Near(x2[j], y2[j], px, py))) return true;
    return false;
  }
};

// Every end takes the coordinates of the first earlier end near it.
void Weld(SegmentList& list) {
  const int n = list.count;
  std::vector<bool> fixedStart(n + 1, false), fixedEnd(n + 1, false);
  auto pullOnto = [&](int i, double px, double py) {
    for (int j = i + 1; j <= n; ++j) {
      if (!fixedStart[j] && Near(list.x1[j], list.y1[j], px, py)) {
        list.x1[j] = px, list.y1[j] = py, fixedStart[j] = true;
      }
      if (!fixedEnd[j] && Near(list.x2[j], list.y2[j], px, py)) {
        list.x2[j] = px, list.y2[j] = py, fixedEnd[j] = true;
      }
    }
  };
  for (int i = 1; i <= n; ++i) {
    fixedStart[i] = true;
    pullOnto(i, list.x1[i], list.y1[i]);
    fixedEnd[i] = true;
    pullOnto(i, list.x2[i], list.y2[i]);
  }
}

void RemoveRepeated(SegmentList& list) {
  std::vector<bool> remove(list.count + 1, false);
  for (int i = 1; i <= list.count; ++i) {
    if (remove[i]) continue;
    for (int j = i + 1; j <= list.count; ++j) {
      const bool same = Near(list.x1[i], list.y1[i], list.x1[j], list.y1[j]) &&
                        Near(list.x2[i], list.y2[i], list.x2[j], list.y2[j]);
      const bool reversed = Near(list.x1[i], list.y1[i], list.x2[j], list.y2[j]) &&
                            Near(list.x2[i], list.y2[i], list.x1[j], list.y1[j]);
      if (same || reversed) remove[j] = true;
    }
  }
  list.RemoveMarked(remove);
}

// Removes, until nothing changes, every segment with an end that no other segment reaches.
void Prune(SegmentList& list) {
  bool removedAny = true;
  while (removedAny && list.count > 0) {
    std::vector<bool> remove(list.count + 1, false);
    removedAny = false;
    for (int i = 1; i <= list.count; ++i) {
      if (!list.OtherEndNear(i, list.x1[i], list.y1[i]) ||
          !list.OtherEndNear(i, list.x2[i], list.y2[i])) {
        remove[i] = true;
        removedAny = true;
      }
    }
    list.RemoveMarked(remove);
  }
}

// A segment end reached from a point: the segment and the far end.
struct Step {
  int segment;
  double x, y;
};

// The far end of segment i when one of its ends is near (px, py).
bool FarEnd(const SegmentList& list, int i, double px, double py, Step* step) {
  if (Near(list.x1[i], list.y1[i], px, py)) {
    *step = {i, list.x2[i], list.y2[i]};
    return true;
  }
  if (Near(list.x2[i], list.y2[i], px, py)) {
    *step = {i, list.x1[i], list.y1[i]};
    return true;
  }
  return false;
}

// The leftmost end (first found), then the lowest among ends of exactly that x.
void StartPoint(const SegmentList& list, double* sx, double* sy) {
  *sx = list.x1[1];
  for (int i = 1; i <= list.count; ++i) {
    if (list.x1[i] < *sx) *sx = list.x1[i];
    if (list.x2[i] < *sx) *sx = list.x2[i];
  }
  *sy = std::numeric_limits<double>::max();
  for (int i = 1; i <= list.count; ++i) {
    if (list.x1[i] == *sx && list.y1[i] < *sy) *sy = list.y1[i];
    if (list.x2[i] == *sx && list.y2[i] < *sy) *sy = list.y2[i];
  }
}

// Of several ways on from C (having come from B), the sharpest right-hand turn.
const Step& SharpestRightTurn(const std::vector<Step>& ways, double cx, double cy, double bx,
                              double by) {
  const double back = LineAngle(cx, cy, bx, by);
  const double cosA = std::cos(-back), sinA = std::sin(-back);
  size_t best = 0;
  double bestAngle = 0.0;
  for (size_t w = 0; w < ways.size(); ++w) {
    const double dx = ways[w].x - cx, dy = ways[w].y - cy;
    const double angle = LineAngle(cx, cy, cx + dx * cosA - dy * sinA, cy + dx * sinA + dy * cosA);
    if (w == 0 || angle < bestAngle) {
      best = w;
      bestAngle = angle;
    }
  }
  return ways[best];
}

// Follows the walk that leaves S along first; true when it closes at S, false at a dead end.
// The loop followed is left in work.
bool Walk(const SegmentList& list, KernelWorkArrays& work, double sx, double sy,
          const Step& first) {
  work.ClearLoop();
  work.AppendLoopPoint(static_cast<float>(sx), static_cast<float>(sy));
  work.AppendLoopPoint(static_cast<float>(first.x), static_cast<float>(first.y));
  std::vector<bool> used(list.count + 1, false);
  used[first.segment] = true;
  std::vector<Step> ways;
  do {
    const double cx = work.loopX[work.loopCount], cy = work.loopY[work.loopCount];
    const double bx = work.loopX[work.loopCount - 1], by = work.loopY[work.loopCount - 1];
    ways.clear();
    Step step{};
    for (int j = 1; j <= list.count; ++j)
      if (!used[j] && FarEnd(list, j, cx, cy, &step)) ways.push_back(step);
    if (ways.empty()) return false;
    const Step& taken = ways.size() == 1 ? ways[0] : SharpestRightTurn(ways, cx, cy, bx, by);
    work.AppendLoopPoint(static_cast<float>(taken.x), static_cast<float>(taken.y));
    used[taken.segment] = true;
  } while (!Near(work.loopX[work.loopCount], work.loopY[work.loopCount], sx, sy));
  return true;
}

}  // namespace

int TraceLoopsFromSegments(KernelWorkArrays& work, int n, double x1[], double y1[], double x2[],
                           double y2[], int* loopCount, std::int16_t loopSizes[], double loopX[],
                           double loopY[], int loopCapacity, int pointCapacity,
                           double halfPi, double twoPi) {
  *loopCount = 0;
  SegmentList list{x1, y1, x2, y2, n < 0 ? 0 : n};
  list.RemoveDegenerate();
  Weld(list);
  list.RemoveDegenerate();
  RemoveRepeated(list);

  int pointsWritten = 0;
  while (true) {
    Prune(list);
    if (list.count == 0) return 1;

    double sx = 0.0, sy = 0.0;
    StartPoint(list, &sx, &sy);
    struct Candidate {
      Step step;
      double angle;
    };
    std::vector<Candidate> candidates;
    std::vector<bool> atStart(list.count + 1, false);
    for (int i = 1; i <= list.count; ++i) {
      Step step{};
      if (!FarEnd(list, i, sx, sy, &step)) continue;
      atStart[i] = true;
      double angle = LineAngle(sx, sy, step.x, step.y);
      if (angle > halfPi) angle -= twoPi;
      if (std::fabs(step.y - sy) < kWeld) angle = 0.0;
      candidates.push_back({step, angle});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.angle > b.angle; });

    for (size_t c = 0; c + 1 < candidates.size(); ++c) {
      if (!Walk(list, work, sx, sy, candidates[c].step)) break;
      const Step& next = candidates[c + 1].step;
      const int last = work.loopCount - 1;
      if (!Near(work.loopX[last], work.loopY[last], next.x, next.y)) continue;
      if (!AppendTracedLoop(work.loopX, work.loopY, work.loopCount - 1, loopCount, &pointsWritten,
                            loopSizes, loopX, loopY, loopCapacity, pointCapacity)) {
        *loopCount = 0;
        return 0;
      }
    }
    list.RemoveMarked(atStart);
  }
}
