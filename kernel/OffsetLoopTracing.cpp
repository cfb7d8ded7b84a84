// Tracing the outside loops of an offset from its surviving pieces.
#include "OffsetLoopTracing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "KernelConstants.h"
#include "KernelPrimitives.h"
#include "LoopTracing.h"

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

// A piece reached from a point: the piece and its far end.
struct Reach {
  int segment;
  double x, y;
};

// The caller's segment arrays with their count and one work flag per segment
// (1 = to be removed, or used by the trace under way).
class PieceSet {
 public:
  PieceSet(int count, double x1[], double y1[], double x2[], double y2[])
      : x1_(x1), y1_(y1), x2_(x2), y2_(y2), count_(std::max(count, 0)), flag_(count_ + 1, 0) {}

  int Count() const { return count_; }

  // Removes every flagged segment, keeping the order of the rest, and clears the flags.
  void Compact() {
    int kept = 0;
    for (int i = 1; i <= count_; ++i) {
      if (flag_[i]) continue;
      ++kept;
      x1_[kept] = x1_[i], y1_[kept] = y1_[i], x2_[kept] = x2_[i], y2_[kept] = y2_[i];
    }
    count_ = kept;
    flag_.assign(count_ + 1, 0);
  }

  void FlagDegenerate() {
    for (int i = 1; i <= count_; ++i)
      if (std::fabs(x1_[i] - x2_[i]) < kSamePoint && std::fabs(y1_[i] - y2_[i]) < kSamePoint)
        flag_[i] = 1;
  }

  // Every end takes the coordinates of the earliest segment end that reached it.
  void Weld() {
    std::vector<unsigned char> startWelded(count_ + 1, 0), endWelded(count_ + 1, 0);
    auto pullLater = [&](int i, double px, double py) {
      for (int j = i + 1; j <= count_; ++j) {
        if (!startWelded[j] && WithinWeld(x1_[j], y1_[j], px, py)) {
          x1_[j] = px, y1_[j] = py, startWelded[j] = 1;
        }
        if (!endWelded[j] && WithinWeld(x2_[j], y2_[j], px, py)) {
          x2_[j] = px, y2_[j] = py, endWelded[j] = 1;
        }
      }
    };
    for (int i = 1; i <= count_; ++i) {
      if (!startWelded[i]) {
        startWelded[i] = 1;
        pullLater(i, x1_[i], y1_[i]);
      }
      if (!endWelded[i]) {
        endWelded[i] = 1;
        pullLater(i, x2_[i], y2_[i]);
      }
    }
  }

  // Flags every later copy of a segment, drawn in the same or the opposite direction.
  void FlagDuplicates() {
    for (int i = 1; i <= count_; ++i) {
      for (int j = i + 1; j <= count_; ++j) {
        const bool same =
            SamePoint(x1_[i], y1_[i], x1_[j], y1_[j]) && SamePoint(x2_[i], y2_[i], x2_[j], y2_[j]);
        const bool reversed =
            SamePoint(x1_[i], y1_[i], x2_[j], y2_[j]) && SamePoint(x2_[i], y2_[i], x1_[j], y1_[j]);
        if (same || reversed) flag_[j] = 1;
      }
    }
  }

  // Flags every segment with an end that no other segment reaches.
  void FlagDangling() {
    for (int i = 1; i <= count_; ++i)
      if (!OtherEndAt(i, x1_[i], y1_[i]) || !OtherEndAt(i, x2_[i], y2_[i])) flag_[i] = 1;
  }

  // Flags every segment whose midpoint lies inside or on the ring of the loop's points.
  void FlagInside(const TracedLoop& loop) {
    for (int i = 1; i <= count_; ++i) {
      int code = kPointOutside;
      PointInPolygon((x1_[i] + x2_[i]) / 2, (y1_[i] + y2_[i]) / 2, loop.x.data(), loop.y.data(),
                     loop.Count(), 0.1f, &code);
      if (code != kPointOutside) flag_[i] = 1;
    }
  }

  // The lowest-left end: the smallest x, then the smallest y among the ends of exactly that
  // x. False when no end lies below the search bound.
  bool StartPoint(double* sx, double* sy) const {
    *sx = kNoStart;
    for (int i = 1; i <= count_; ++i) {
      if (x1_[i] < *sx) *sx = x1_[i];
      if (x2_[i] < *sx) *sx = x2_[i];
    }
    *sy = kNoStart;
    for (int i = 1; i <= count_; ++i) {
      if (x1_[i] == *sx && y1_[i] < *sy) *sy = y1_[i];
      if (x2_[i] == *sx && y2_[i] < *sy) *sy = y2_[i];
    }
    return *sx < kNoStart && *sy < kNoStart;
  }

  // The far end of segment i when one of its ends is the point (px, py).
  bool FarEnd(int i, double px, double py, Reach* reach) const {
    if (SamePoint(x1_[i], y1_[i], px, py)) {
      *reach = {i, x2_[i], y2_[i]};
      return true;
    }
    if (SamePoint(x2_[i], y2_[i], px, py)) {
      *reach = {i, x1_[i], y1_[i]};
      return true;
    }
    return false;
  }

  bool Flagged(int i) const { return flag_[i] != 0; }
  void Flag(int i) { flag_[i] = 1; }

 private:
  bool OtherEndAt(int i, double px, double py) const {
    for (int j = 1; j <= count_; ++j)
      if (j != i && (SamePoint(x1_[j], y1_[j], px, py) || SamePoint(x2_[j], y2_[j], px, py)))
        return true;
    return false;
  }

  double* x1_;
  double* y1_;
  double* x2_;
  double* y2_;
  int count_;
  std::vector<unsigned char> flag_;
};

// The ways out of the start point S, steepest rising first; none is flagged.
std::vector<Reach> WaysOutOfStart(const PieceSet& set, double sx, double sy) {
  struct Way {
    Reach reach;
    double angle;
  };
  std::vector<Way> ways;
  for (int i = 1; i <= set.Count(); ++i) {
    Reach reach{};
    if (!set.FarEnd(i, sx, sy, &reach)) continue;
    double angle = LineAngle(sx, sy, reach.x, reach.y);
    if (angle > kHalfPi) angle -= kTwoPi;
    if (std::fabs(reach.y - sy) < kSamePoint) angle = 0.0;
    ways.push_back({reach, angle});
  }
  std::stable_sort(ways.begin(), ways.end(),
                   [](const Way& a, const Way& b) { return a.angle > b.angle; });
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
// segments it uses up. At a junction every way on is used up, taken or not.
TraceOutcome TraceOneLoop(PieceSet& set, TracedLoop& loop) {
  loop.Clear();
  double sx = 0.0, sy = 0.0;
  if (!set.StartPoint(&sx, &sy)) return TraceOutcome::NothingToTrace;
  const std::vector<Reach> start = WaysOutOfStart(set, sx, sy);
  if (start.empty()) return TraceOutcome::NothingToTrace;
  loop.Append(sx, sy);
  loop.Append(start.front().x, start.front().y);
  set.Flag(start.front().segment);

  std::vector<Reach> ways;
  do {
    const int last = loop.Count();
    const double cx = loop.x[last], cy = loop.y[last];
    ways.clear();
    for (int i = 1; i <= set.Count(); ++i) {
      Reach reach{};
      if (!set.Flagged(i) && set.FarEnd(i, cx, cy, &reach)) ways.push_back(reach);
    }
    if (ways.empty()) return TraceOutcome::Abandoned;
    for (const Reach& r : ways) set.Flag(r.segment);
    const Reach& taken = ways.size() == 1
                             ? ways[0]
                             : SharpestLeftTurn(ways, cx, cy, loop.x[last - 1], loop.y[last - 1]);
    loop.Append(taken.x, taken.y);
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
  set.FlagDegenerate();
  set.Compact();
  set.Weld();
  set.FlagDegenerate();
  set.Compact();
  set.FlagDuplicates();
  set.Compact();
  // Dropping a dangling piece can leave its neighbour dangling: repeat until none falls.
  int remembered = set.Count();
  set.FlagDangling();
  set.Compact();
  while (set.Count() < remembered) {
    remembered = set.Count();
    set.FlagDangling();
    set.Compact();
  }

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
    set.Compact();
    set.FlagInside(loop);
    set.Compact();
    if (set.Count() < 3) return 1;
  }
}
