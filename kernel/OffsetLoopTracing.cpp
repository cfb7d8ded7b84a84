// Tracing the outside loops of an offset from its surviving pieces.
#include "OffsetLoopTracing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "KernelConstants.h"
#include "KernelPrimitives.h"
#include "LoopTracing.h"
#include "UniformGrid.h"

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

// The caller's segment arrays with their count and two flags per segment: whether it is
// still in the set, and whether the trace under way has used it. Removing a segment clears
// its flag instead of moving the rest, so every pass still meets the segments in the
// caller's order. End points are found through a hash of the ends (end 2(i - 1) is the start
// of segment i, 2(i - 1) + 1 its end), rebuilt whenever welding has moved them.
class PieceSet {
 public:
  PieceSet(int count, double x1[], double y1[], double x2[], double y2[])
      : x1_(x1), y1_(y1), x2_(x2), y2_(y2), count_(std::max(count, 0)),
        alive_(count_ + 1, 1), used_(count_ + 1, 0) {
    alive_[0] = 0;
    live_ = count_;
  }

  int Count() const { return live_; }
  int Capacity() const { return count_; }
  bool Alive(int i) const { return alive_[i] != 0; }
  double EndX(int end) const { return end % 2 ? x2_[end / 2 + 1] : x1_[end / 2 + 1]; }
  double EndY(int end) const { return end % 2 ? y2_[end / 2 + 1] : y1_[end / 2 + 1]; }

  void Remove(int i) {
    if (alive_[i]) alive_[i] = 0, --live_;
  }
  // Removes every segment the trace under way has used.
  void RemoveUsed() {
    for (int i = 1; i <= count_; ++i)
      if (used_[i]) Remove(i), used_[i] = 0;
  }

  void RemoveDegenerate() {
    for (int i = 1; i <= count_; ++i)
      if (std::fabs(x1_[i] - x2_[i]) < kSamePoint && std::fabs(y1_[i] - y2_[i]) < kSamePoint)
        Remove(i);
  }

  void IndexEnds() {
    std::vector<double> x(2 * static_cast<size_t>(count_)), y(x.size());
    for (int e = 0; e < 2 * count_; ++e) x[e] = EndX(e), y[e] = EndY(e);
    ends_.Build(x, y, 2 * kWeldReach);
  }

  // The ends of live segments within reach of (px, py) (inclusive), ascending.
  void EndsNear(double px, double py, std::vector<int>& out) const {
    ends_.Query(px, py, kWeldReach, out);
    std::erase_if(out, [&](int e) { return !alive_[e / 2 + 1]; });
  }

  // Every end takes the coordinates of the earliest segment end that reached it.
  void Weld() {
    IndexEnds();
    std::vector<unsigned char> welded(2 * static_cast<size_t>(count_), 0);
    std::vector<int> near;
    for (int i = 1; i <= count_; ++i) {
      if (!alive_[i]) continue;
      for (int own : {2 * (i - 1), 2 * (i - 1) + 1}) {
        if (welded[own]) continue;
        welded[own] = 1;
        const double px = EndX(own), py = EndY(own);
        EndsNear(px, py, near);
        for (int e : near) {
          if (e / 2 + 1 <= i || welded[e] || !WithinWeld(EndX(e), EndY(e), px, py)) continue;
          SetEnd(e, px, py);
          welded[e] = 1;
        }
      }
    }
    IndexEnds();
  }

  // Removes every later copy of a segment, drawn in the same or the opposite direction.
  void RemoveDuplicates() {
    std::vector<unsigned char> copy(count_ + 1, 0);
    std::vector<int> near, more;
    for (int i = 1; i <= count_; ++i) {
      if (!alive_[i]) continue;
      EndsNear(x1_[i], y1_[i], near);
      EndsNear(x2_[i], y2_[i], more);
      near.insert(near.end(), more.begin(), more.end());
      for (int e : near) {
        const int j = e / 2 + 1;
        if (j <= i) continue;
        const bool same =
            SamePoint(x1_[i], y1_[i], x1_[j], y1_[j]) && SamePoint(x2_[i], y2_[i], x2_[j], y2_[j]);
        const bool reversed =
            SamePoint(x1_[i], y1_[i], x2_[j], y2_[j]) && SamePoint(x2_[i], y2_[i], x1_[j], y1_[j]);
        if (same || reversed) copy[j] = 1;
      }
    }
    for (int i = 1; i <= count_; ++i)
      if (copy[i]) Remove(i);
  }

  // Removes every segment with an end that no other segment reaches, and then those that
  // this leaves dangling, until none is left: each end keeps the number of other segments
  // that reach it, and a removal lowers the numbers of the ends it reached.
  void RemoveDangling() {
    std::vector<int> reached(2 * static_cast<size_t>(count_), 0);
    std::vector<int> doomed, near, others;
    for (int i = 1; i <= count_; ++i) {
      if (!alive_[i]) continue;
      for (int own : {2 * (i - 1), 2 * (i - 1) + 1}) {
        OthersAt(i, EndX(own), EndY(own), near, others);
        reached[own] = static_cast<int>(others.size());
      }
      if (reached[2 * (i - 1)] == 0 || reached[2 * (i - 1) + 1] == 0) doomed.push_back(i);
    }
    std::vector<int> touched;
    while (!doomed.empty()) {
      const int j = doomed.back();
      doomed.pop_back();
      if (!alive_[j]) continue;
      Remove(j);
      // The ends of other segments that j reached, each once.
      touched.clear();
      for (int own : {2 * (j - 1), 2 * (j - 1) + 1}) {
        EndsNear(EndX(own), EndY(own), near);
        for (int e : near)
          if (SamePoint(EndX(e), EndY(e), EndX(own), EndY(own))) touched.push_back(e);
      }
      std::sort(touched.begin(), touched.end());
      touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
      for (int e : touched)
        if (--reached[e] == 0) doomed.push_back(e / 2 + 1);
    }
  }

  // Removes every segment whose midpoint lies inside or on the ring of the loop's points.
  void RemoveInside(const TracedLoop& loop) {
    const RingPointTest ring(loop.x.data(), loop.y.data(), loop.Count(), 0.1f);
    for (int i = 1; i <= count_; ++i)
      if (alive_[i] && ring.InsideOrOn((x1_[i] + x2_[i]) / 2, (y1_[i] + y2_[i]) / 2)) Remove(i);
  }

  // The lowest-left end: the smallest x, then the smallest y among the ends of exactly that
  // x. False when no end lies below the search bound. The first few loops scan; after them
  // the ends are sorted once and a cursor passes the removed ones.
  bool StartPoint(double* sx, double* sy) {
    if (++starts_ > kScannedStarts) return SortedStartPoint(sx, sy);
    *sx = kNoStart;
    for (int i = 1; i <= count_; ++i) {
      if (!alive_[i]) continue;
      if (x1_[i] < *sx) *sx = x1_[i];
      if (x2_[i] < *sx) *sx = x2_[i];
    }
    *sy = kNoStart;
    for (int i = 1; i <= count_; ++i) {
      if (!alive_[i]) continue;
      if (x1_[i] == *sx && y1_[i] < *sy) *sy = y1_[i];
      if (x2_[i] == *sx && y2_[i] < *sy) *sy = y2_[i];
    }
    return *sx < kNoStart && *sy < kNoStart;
  }

  // The ways from (px, py) along live segments the trace has not used, one per segment
  // (its start tried before its end), ascending.
  void WaysFrom(double px, double py, std::vector<Reach>& ways, std::vector<int>& near) const {
    ways.clear();
    ends_.Query(px, py, kSamePoint, near);
    int last = 0;
    for (int e : near) {
      const int i = e / 2 + 1;
      Reach reach{};
      if (i == last || !alive_[i] || used_[i] || !FarEnd(i, px, py, &reach)) continue;
      ways.push_back(reach);
      last = i;
    }
  }

  void Use(int i) { used_[i] = 1; }

 private:
  static constexpr int kScannedStarts = 4;

  void SetEnd(int end, double px, double py) {
    const int i = end / 2 + 1;
    if (end % 2)
      x2_[i] = px, y2_[i] = py;
    else
      x1_[i] = px, y1_[i] = py;
  }

  // The live segments other than i with an end within reach (strictly) of (px, py).
  void OthersAt(int i, double px, double py, std::vector<int>& near,
                std::vector<int>& others) const {
    EndsNear(px, py, near);
    others.clear();
    for (int e : near)
      if (e / 2 + 1 != i && SamePoint(EndX(e), EndY(e), px, py)) others.push_back(e / 2 + 1);
    others.erase(std::unique(others.begin(), others.end()), others.end());
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

  bool SortedStartPoint(double* sx, double* sy) {
    if (sortedEnds_.empty()) {
      for (int e = 0; e < 2 * count_; ++e)
        if (alive_[e / 2 + 1]) sortedEnds_.push_back(e);
      std::sort(sortedEnds_.begin(), sortedEnds_.end(), [&](int a, int b) {
        return EndX(a) < EndX(b) || (EndX(a) == EndX(b) && EndY(a) < EndY(b));
      });
    }
    while (cursor_ < sortedEnds_.size() && !alive_[sortedEnds_[cursor_] / 2 + 1]) ++cursor_;
    if (cursor_ == sortedEnds_.size()) return false;
    *sx = EndX(sortedEnds_[cursor_]), *sy = EndY(sortedEnds_[cursor_]);
    return *sx < kNoStart && *sy < kNoStart;
  }

  double* x1_;
  double* y1_;
  double* x2_;
  double* y2_;
  int count_;
  int live_ = 0;
  std::vector<unsigned char> alive_, used_;
  PointHash ends_;
  int starts_ = 0;
  std::vector<int> sortedEnds_;
  size_t cursor_ = 0;
};

// The ways out of the start point S, steepest rising first; none is flagged.
std::vector<Reach> WaysOutOfStart(const PieceSet& set, double sx, double sy) {
  struct Way {
    Reach reach;
    double angle;
  };
  std::vector<Reach> reaches;
  std::vector<int> near;
  set.WaysFrom(sx, sy, reaches, near);
  std::vector<Way> ways;
  for (const Reach& reach : reaches) {
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
  set.Use(start.front().segment);

  std::vector<Reach> ways;
  std::vector<int> near;
  do {
    const int last = loop.Count();
    const double cx = loop.x[last], cy = loop.y[last];
    set.WaysFrom(cx, cy, ways, near);
    if (ways.empty()) return TraceOutcome::Abandoned;
    for (const Reach& r : ways) set.Use(r.segment);
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
  set.RemoveDegenerate();
  set.Weld();
  set.RemoveDegenerate();
  set.RemoveDuplicates();
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
