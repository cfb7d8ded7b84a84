// Tracing the outside loops of an offset from its surviving pieces.
#include "OffsetLoopTracing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "KernelConstants.h"
#include "KernelPrimitives.h"
#include "LoopTracing.h"
#include "SegmentEnds.h"

using namespace kernel;

namespace {

// Two ends are the same point when they differ by less than this in x and in y.
constexpr double kSamePoint = 0.1;
// Ends within this (inclusive) are welded together.
constexpr double kWeldReach = 0.1;
// The lowest-point search starts here; ends at or beyond it are never a start point.
constexpr double kNoStart = 1e8;

bool SamePoint(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) < kSamePoint && std::fabs(ay - by) < kSamePoint;
}

bool WithinWeld(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) <= kWeldReach && std::fabs(ay - by) <= kWeldReach;
}

// The loop being traced: its points, 1-based, the first being the start point.
struct TracedLoop {
  std::vector<double> x{0.0}, y{0.0};

  void Clear() {
    x.assign(1, 0.0);
    y.assign(1, 0.0);
  }
  void Append(double px, double py) {
    x.push_back(px);
    y.push_back(py);
  }
  int Count() const { return static_cast<int>(x.size()) - 1; }
};

// A piece reached from a point: the piece and its far end (which end of the list it is, and
// where).
struct Reach {
  int segment;
  int end;
  double x, y;
};

// The caller's segment arrays as a set of live segments, with a flag per segment telling
// whether the trace under way has used it. Two ends are the same point strictly within 0.1.
class PieceSet : public SegmentEnds {
 public:
  PieceSet(int count, double x1[], double y1[], double x2[], double y2[])
      : SegmentEnds(x1, y1, x2, y2, count, kSamePoint, true), used_(Capacity() + 1, 0) {}

  // Removes every segment the trace under way has used.
  void RemoveUsed() {
    for (int i = 1; i <= count_; ++i)
      if (used_[i]) Kill(i), used_[i] = 0;
  }

  // Every end takes the coordinates of the earliest segment end that reached it (within
  // 0.1, inclusive); an end that was moved reaches no other.
  void Weld() {
    IndexEnds();
    std::vector<unsigned char> welded(2 * static_cast<size_t>(count_), 0);
    std::vector<int> near;
    for (int i = 1; i <= count_; ++i) {
      if (!Alive(i)) continue;
      for (int own : {Start(i), End(i)}) {
        if (welded[own]) continue;
        welded[own] = 1;
        const double px = EndX(own), py = EndY(own);
        EndsNear(px, py, near);
        for (int e : near) {
          if (Owner(e) <= i || welded[e] || !WithinWeld(EndX(e), EndY(e), px, py)) continue;
          SetEnd(e, px, py);
          welded[e] = 1;
        }
      }
    }
    IndexEnds();
  }

  // Removes every later copy of a segment, drawn in the same or the opposite direction.
  // The ends no longer move: they are linked.
  void RemoveDuplicates() {
    Link();
    std::vector<unsigned char> copy(count_ + 1, 0);
    for (int i = 1; i <= count_; ++i) {
      if (!Alive(i)) continue;
      auto tryCopies = [&](int own) {
        for (const int* e = LinksBegin(own); e != LinksEnd(own); ++e) {
          const int j = Owner(*e);
          if (j <= i || !Alive(j)) continue;
          const bool same = SamePoint(x1_[i], y1_[i], x1_[j], y1_[j]) &&
                            SamePoint(x2_[i], y2_[i], x2_[j], y2_[j]);
          const bool reversed = SamePoint(x1_[i], y1_[i], x2_[j], y2_[j]) &&
                                SamePoint(x2_[i], y2_[i], x1_[j], y1_[j]);
          if (same || reversed) copy[j] = 1;
        }
      };
      tryCopies(Start(i));
      tryCopies(End(i));
    }
    for (int i = 1; i <= count_; ++i)
      if (copy[i]) Kill(i);
  }

  // Removes every segment whose midpoint lies inside or on the ring of the loop's points.
  void RemoveInside(const TracedLoop& loop) {
    const RingPointTest ring(loop.x.data(), loop.y.data(), loop.Count(), 0.1f);
    for (int i = 1; i <= count_; ++i)
      if (Alive(i) && ring.InsideOrOn((x1_[i] + x2_[i]) / 2, (y1_[i] + y2_[i]) / 2)) Kill(i);
  }

  // The lowest-left end; false when none lies below the search bound.
  bool StartPoint(double* sx, double* sy, int* end) {
    return LowestLeftEnd(sx, sy, end) && *sx < kNoStart && *sy < kNoStart;
  }

  // The ways from end e (and the point where it lies) along live segments the trace has
  // not used: through e and the ends linked to it, one per segment (its start tried before
  // its end), ascending.
  void WaysFrom(int e, std::vector<Reach>& ways) const {
    ways.clear();
    const double px = EndX(e), py = EndY(e);
    int last = 0;
    auto tryEnd = [&](int f) {
      const int i = Owner(f);
      Reach reach{};
      if (i == last || !Alive(i) || used_[i] || !FarEnd(i, px, py, &reach)) return;
      ways.push_back(reach);
      last = i;
    };
    bool tried = false;
    for (const int* f = LinksBegin(e); f != LinksEnd(e); ++f) {
      if (!tried && e < *f) tryEnd(e), tried = true;
      tryEnd(*f);
    }
    if (!tried) tryEnd(e);
  }

  void Use(int i) { used_[i] = 1; }

 private:
  // The far end of segment i when one of its ends is the point (px, py).
  bool FarEnd(int i, double px, double py, Reach* reach) const {
    if (SamePoint(x1_[i], y1_[i], px, py)) {
      *reach = {i, End(i), x2_[i], y2_[i]};
      return true;
    }
    if (SamePoint(x2_[i], y2_[i], px, py)) {
      *reach = {i, Start(i), x1_[i], y1_[i]};
      return true;
    }
    return false;
  }

  std::vector<unsigned char> used_;
};

// The ways out of the start point S, steepest rising first; none is flagged.
std::vector<Reach> WaysOutOfStart(const PieceSet& set, int start, double sx, double sy) {
  struct Way {
    Reach reach;
    double angle, steepness;
  };
  std::vector<Reach> reaches;
  set.WaysFrom(start, reaches);
  std::vector<Way> ways;
  for (const Reach& reach : reaches) {
    double angle = LineAngle(sx, sy, reach.x, reach.y);
    if (angle > kHalfPi) angle -= kTwoPi;
    const double steepness = std::atan2(reach.y - sy, reach.x - sx);
    if (std::fabs(reach.y - sy) < kSamePoint) angle = 0.0;
    ways.push_back({reach, angle, steepness});
  }
  std::stable_sort(ways.begin(), ways.end(), [](const Way& a, const Way& b) {
    return a.angle > b.angle || (a.angle == b.angle && a.steepness > b.steepness);
  });
  std::vector<Reach> sorted;
  for (const Way& w : ways) sorted.push_back(w.reach);
  return sorted;
}

// Of several ways on from C (having come from B), the sharpest left turn: the largest angle
// measured counter-clockwise from the direction back to B; the first on a tie.
const Reach& SharpestLeftTurn(const std::vector<Reach>& ways, double cx, double cy, double bx,
                              double by) {
  const double back = LineAngle(cx, cy, bx, by);
  const double cosB = std::cos(-back), sinB = std::sin(-back);
  size_t best = 0;
  double bestAngle = -1000.0;
  for (size_t w = 0; w < ways.size(); ++w) {
    const double dx = ways[w].x - cx, dy = ways[w].y - cy;
    const double angle = LineAngle(cx, cy, cx + dx * cosB - dy * sinB, cy + dx * sinB + dy * cosB);
    if (angle > bestAngle) {
      bestAngle = angle;
      best = w;
    }
  }
  return ways[best];
}

enum class TraceOutcome { Closed, Abandoned, NothingToTrace };

// Traces one loop along the outside of the set from its lowest-left end, flagging the
// segments it uses. At a junction only the way taken is used: the others stay for a later
// loop, or for this one when it comes back, so regions that touch at a point are not lost.
TraceOutcome TraceOneLoop(PieceSet& set, TracedLoop& loop) {
  loop.Clear();
  double sx = 0.0, sy = 0.0;
  int se = 0;
  if (!set.StartPoint(&sx, &sy, &se)) return TraceOutcome::NothingToTrace;
  const std::vector<Reach> start = WaysOutOfStart(set, se, sx, sy);
  if (start.empty()) return TraceOutcome::NothingToTrace;
  loop.Append(sx, sy);
  loop.Append(start.front().x, start.front().y);
  set.Use(start.front().segment);

  std::vector<Reach> ways;
  int at = start.front().end;  // the end where the trace stands
  do {
    const int last = loop.Count();
    const double cx = loop.x[last], cy = loop.y[last];
    set.WaysFrom(at, ways);
    if (ways.empty()) return TraceOutcome::Abandoned;
    const Reach& taken = ways.size() == 1
                             ? ways[0]
                             : SharpestLeftTurn(ways, cx, cy, loop.x[last - 1], loop.y[last - 1]);
    set.Use(taken.segment);
    loop.Append(taken.x, taken.y);
    at = taken.end;
  } while (!SamePoint(loop.x[loop.Count()], loop.y[loop.Count()], sx, sy));
  return TraceOutcome::Closed;
}

}  // namespace

int TraceOffsetLoops(int segmentCount, double x1[], double y1[], double x2[], double y2[],
                     int* loopCount, std::int16_t loopVertexCounts[], double loopX[],
                     double loopY[], int loopCapacity, int pointCapacity) {
  int pointsWritten = 0;
  for (int l = 1; l <= *loopCount; ++l) pointsWritten += loopVertexCounts[l];

  PieceSet set(segmentCount, x1, y1, x2, y2);
  // Short pieces go before welding, and those that welding makes short after it.
  set.RemoveDegenerate();
  set.Weld();
  set.RemoveDegenerate();
  set.RemoveDuplicates();
  set.CountReaches();
  set.RemoveDangling();

  TracedLoop loop;
  while (true) {
    const TraceOutcome outcome = TraceOneLoop(set, loop);
    if (outcome == TraceOutcome::NothingToTrace) return 1;
    if (outcome == TraceOutcome::Closed &&
        !AppendTracedLoop(loop.x, loop.y, loop.Count() - 1, loopCount, &pointsWritten,
                          loopVertexCounts, loopX, loopY, loopCapacity, pointCapacity)) {
      *loopCount = 0;
      return 0;
    }
    // An abandoned loop's points still clear the pieces inside them.
    set.RemoveUsed();
    set.RemoveInside(loop);
    if (set.Count() < 3) return 1;
  }
}
