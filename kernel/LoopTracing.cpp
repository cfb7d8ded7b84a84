// Tracing closed loops (inner faces, clockwise) from a segment list.
#include "LoopTracing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "KernelPrimitives.h"
#include "SegmentEnds.h"

using namespace kernel;

namespace {

constexpr double kWeld = 0.1;

bool Near(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) <= kWeld && std::fabs(ay - by) <= kWeld;
}

// A segment end reached from a point: the segment and its far end (which end of the list it
// is, and where).
struct Step {
  int segment;
  int end;
  double x, y;
};

// The caller's segment arrays as a set of live segments; two ends meet within 0.1,
// inclusive.
class SegmentList : public SegmentEnds {
 public:
  SegmentList(double x1[], double y1[], double x2[], double y2[], int count)
      : SegmentEnds(x1, y1, x2, y2, count, kWeld, false) {}

  // Every end takes the coordinates of the first earlier end near it.
  void Weld() {
    IndexEnds();
    std::vector<unsigned char> fixed(2 * static_cast<size_t>(count_), 0);
    std::vector<int> near;
    for (int i = 1; i <= count_; ++i) {
      if (!Alive(i)) continue;
      for (int own : {Start(i), End(i)}) {
        fixed[own] = 1;
        const double px = EndX(own), py = EndY(own);
        EndsNear(px, py, near);
        for (int e : near) {
          if (Owner(e) <= i || fixed[e] || !Near(EndX(e), EndY(e), px, py)) continue;
          SetEnd(e, px, py);
          fixed[e] = 1;
        }
      }
    }
    IndexEnds();
  }

  // Of segments equal to an earlier surviving one (same or reversed direction), only the
  // first stays.
  void RemoveRepeated() {
    for (int i = 1; i <= count_; ++i) {
      if (!Alive(i)) continue;
      for (int own : {Start(i), End(i)}) {
        for (const int* e = LinksBegin(own); e != LinksEnd(own); ++e) {
          const int j = Owner(*e);
          if (j <= i || !Alive(j)) continue;
          const bool same = Near(x1_[i], y1_[i], x1_[j], y1_[j]) && Near(x2_[i], y2_[i], x2_[j], y2_[j]);
          const bool reversed =
              Near(x1_[i], y1_[i], x2_[j], y2_[j]) && Near(x2_[i], y2_[i], x1_[j], y1_[j]);
          if (same || reversed) Kill(j);
        }
      }
    }
  }

  // The far end of segment i when one of its ends is near (px, py).
  bool FarEnd(int i, double px, double py, Step* step) const {
    if (Near(x1_[i], y1_[i], px, py)) {
      *step = {i, End(i), x2_[i], y2_[i]};
      return true;
    }
    if (Near(x2_[i], y2_[i], px, py)) {
      *step = {i, Start(i), x1_[i], y1_[i]};
      return true;
    }
    return false;
  }

  // The live segments with an end near (px, py), one step per segment, ascending; those
  // for which skip is true left out. (px, py) is end `at`'s point: the ends near it are at
  // and those linked to it.
  template <typename Skip>
  void StepsFrom(int at, double px, double py, Skip skip, std::vector<Step>& steps) const {
    steps.clear();
    int last = 0;
    Step step{};
    auto tryEnd = [&](int e) {
      const int i = Owner(e);
      if (i == last || !Alive(i) || skip(i) || !FarEnd(i, px, py, &step)) return;
      steps.push_back(step);
      last = i;
    };
    bool tried = false;
    for (const int* e = LinksBegin(at); e != LinksEnd(at); ++e) {
      if (!tried && at < *e) tryEnd(at), tried = true;
      tryEnd(*e);
    }
    if (!tried) tryEnd(at);
  }
};

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
// The loop followed is left in work, its points in single precision, and the point it left
// last before S in *beforeX, *beforeY. The walk finds its ways, turns and closes by the ends
// as they lie, not by its points rounded: a segment with both ends near a rounded point was
// followed back to where the walk stood, and an end a hair beyond the weld from S was taken
// for S, so the walk closed a step early, and in either case the face was lost. The
// segments a walk uses are flagged in used and listed in usedList, so the next walk clears
// only those.
bool Walk(const SegmentList& list, KernelWorkArrays& work, double sx, double sy, const Step& first,
          std::vector<unsigned char>& used, std::vector<int>& usedList, double* beforeX,
          double* beforeY) {
  for (int i : usedList) used[i] = 0;
  usedList.clear();
  work.ClearLoop();
  work.AppendLoopPoint(static_cast<float>(sx), static_cast<float>(sy));
  work.AppendLoopPoint(static_cast<float>(first.x), static_cast<float>(first.y));
  used[first.segment] = 1, usedList.push_back(first.segment);
  std::vector<Step> ways;
  int at = first.end;  // the end whose point the walk stands on
  double bx = sx, by = sy, cx = first.x, cy = first.y;  // where it came from, where it stands
  do {
    list.StepsFrom(at, cx, cy, [&](int i) { return used[i] != 0; }, ways);
    if (ways.empty()) return false;
    const Step& taken = ways.size() == 1 ? ways[0] : SharpestRightTurn(ways, cx, cy, bx, by);
    work.AppendLoopPoint(static_cast<float>(taken.x), static_cast<float>(taken.y));
    used[taken.segment] = 1, usedList.push_back(taken.segment);
    at = taken.end;
    bx = cx, by = cy, cx = taken.x, cy = taken.y;
  } while (!Near(cx, cy, sx, sy));
  *beforeX = bx, *beforeY = by;
  return true;
}

}  // namespace

int TraceLoopsFromSegments(KernelWorkArrays& work, int n, double x1[], double y1[], double x2[],
                           double y2[], int* loopCount, std::int16_t loopSizes[], double loopX[],
                           double loopY[], int loopCapacity, int pointCapacity,
                           double halfPi, double twoPi) {
  *loopCount = 0;
  SegmentList list(x1, y1, x2, y2, n);
  list.RemoveDegenerate();
  list.Weld();
  list.RemoveDegenerate();
  list.Link();
  list.RemoveRepeated();
  list.CountReaches();

  const int count = std::max(n, 0);
  std::vector<unsigned char> used(count + 1, 0);
  std::vector<int> usedList;
  std::vector<Step> atStart;
  int pointsWritten = 0;
  while (true) {
    list.RemoveDangling();
    double sx = 0.0, sy = 0.0;
    int start = 0;
    if (list.Count() == 0 || !list.LowestLeftEnd(&sx, &sy, &start)) return 1;

    struct Candidate {
      Step step;
      double angle;
    };
    list.StepsFrom(start, sx, sy, [](int) { return false; }, atStart);
    std::vector<Candidate> candidates;
    for (const Step& step : atStart) {
      double angle = LineAngle(sx, sy, step.x, step.y);
      if (angle > halfPi) angle -= twoPi;
      if (std::fabs(step.y - sy) < kWeld) angle = 0.0;
      candidates.push_back({step, angle});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.angle > b.angle; });

    for (size_t c = 0; c + 1 < candidates.size(); ++c) {
      double beforeX = 0.0, beforeY = 0.0;
      if (!Walk(list, work, sx, sy, candidates[c].step, used, usedList, &beforeX, &beforeY)) break;
      const Step& next = candidates[c + 1].step;
      if (!Near(beforeX, beforeY, next.x, next.y)) continue;
      if (!AppendTracedLoop(work.loopX, work.loopY, work.loopCount - 1, loopCount, &pointsWritten,
                            loopSizes, loopX, loopY, loopCapacity, pointCapacity)) {
        *loopCount = 0;
        return 0;
      }
    }
    for (const Step& step : atStart) list.Remove(step.segment);
  }
}
