#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

#include "DanglingChains.h"
#include "UniformGrid.h"

// What the loop tracers share: a caller's 1-based segment arrays with one flag per segment
// telling whether it is still in the set, its ends found through a hash of their positions,
// and the removal of dangling segments by end counts (DanglingChains). Removing a segment clears its flag
// instead of moving the rest, so every pass meets the segments in the caller's order. End
// 2(i - 1) is the start of segment i, 2(i - 1) + 1 its end. Each tracer keeps its own
// welding, duplicate and turning rules, and says whether two ends meet strictly within the
// reach or also at it.

namespace kernel {

class SegmentEnds {
 public:
  SegmentEnds(double x1[], double y1[], double x2[], double y2[], int count, double reach,
              bool strict)
      : x1_(x1), y1_(y1), x2_(x2), y2_(y2), count_(std::max(count, 0)), reach_(reach),
        strict_(strict), alive_(count_ + 1, 1) {
    alive_[0] = 0;
    live_ = count_;
  }

  int Count() const { return live_; }
  int Capacity() const { return count_; }
  bool Alive(int i) const { return alive_[i] != 0; }
  static int Start(int i) { return 2 * (i - 1); }
  static int End(int i) { return 2 * (i - 1) + 1; }
  static int Owner(int e) { return e / 2 + 1; }
  double EndX(int e) const { return e % 2 ? x2_[Owner(e)] : x1_[Owner(e)]; }
  double EndY(int e) const { return e % 2 ? y2_[Owner(e)] : y1_[Owner(e)]; }

  // Whether two points meet: within the reach in x and in y, strictly or not.
  bool Meet(double ax, double ay, double bx, double by) const {
    const double dx = std::fabs(ax - bx), dy = std::fabs(ay - by);
    return strict_ ? dx < reach_ && dy < reach_ : dx <= reach_ && dy <= reach_;
  }

  // Drops segments shorter than the reach in both axes (strictly).
  void RemoveDegenerate() {
    for (int i = 1; i <= count_; ++i)
      if (std::fabs(x1_[i] - x2_[i]) < reach_ && std::fabs(y1_[i] - y2_[i]) < reach_) Kill(i);
  }

  // Hashes the ends where they lie now; welding moves them, so it indexes again after. The
  // cells are ten reaches wide, so most look-ups meet one cell; ends gather at the joints,
  // so a cell still holds few.
  void IndexEnds() {
    HashEnds(ends_, 10 * reach_);
    linked_ = false;
  }

  // The ends of live segments within the reach of (px, py) (a superset), ascending.
  void EndsNear(double px, double py, std::vector<int>& out) const {
    ends_.Query(px, py, reach_, out);
    std::erase_if(out, [&](int e) { return !alive_[Owner(e)]; });
  }

  void SetEnd(int e, double px, double py) {
    if (e % 2)
      x2_[Owner(e)] = px, y2_[Owner(e)] = py;
    else
      x1_[Owner(e)] = px, y1_[Owner(e)] = py;
  }

  // Finds, once the ends no longer move, the ends of live segments that each end meets
  // (ascending, the end itself left out); from then on Meetings goes by these links
  // instead of the hash.
  void Link() {
    if (linked_) return;
    linked_ = true;
    linkStart_.assign(2 * static_cast<size_t>(count_) + 1, 0);
    links_.clear();
    std::vector<int> near;
    for (int e = 0; e < 2 * count_; ++e) {
      linkStart_[e] = static_cast<int>(links_.size());
      if (!alive_[Owner(e)]) continue;
      const double ex = EndX(e), ey = EndY(e);
      ends_.Query(ex, ey, reach_, near);
      for (int f : near)
        if (f != e && alive_[Owner(f)] && Meet(EndX(f), EndY(f), ex, ey)) links_.push_back(f);
    }
    linkStart_[2 * count_] = static_cast<int>(links_.size());
  }

  // The ends that end e met when the links were made (some may be gone since).
  const int* LinksBegin(int e) const { return links_.data() + linkStart_[e]; }
  const int* LinksEnd(int e) const { return links_.data() + linkStart_[e + 1]; }

  // The ends of live segments that meet end e.
  auto Meetings() const {
    return [this](int e, std::vector<int>& out) {
      if (linked_) {
        out.clear();
        for (const int* f = LinksBegin(e); f != LinksEnd(e); ++f)
          if (alive_[Owner(*f)] && Meet(EndX(*f), EndY(*f), EndX(e), EndY(e))) out.push_back(*f);
        return;
      }
      EndsNear(EndX(e), EndY(e), out);
      std::erase_if(out, [&](int o) { return !Meet(EndX(o), EndY(o), EndX(e), EndY(e)); });
    };
  }

  // Counts, for every end, the other live segments with an end meeting it; from then on
  // Remove keeps the counts and RemoveDangling takes out what they leave dangling. The ends
  // no longer move: they are linked first.
  void CountReaches() {
    Link();
    dangling_.Count(alive_, Meetings());
  }

  // Removes a segment; once the reaches are counted, lowers the counts of the ends it met.
  void Remove(int i) {
    if (!alive_[i]) return;
    Kill(i);
    if (dangling_.Counted()) dangling_.Left(i, alive_, Meetings());
  }

  // Removes every segment with an end that no other segment meets, and then those that
  // this leaves dangling, until none is left (as repeated passes would, in one).
  void RemoveDangling() {
    dangling_.RemoveDangling(alive_, [this](int i) { Remove(i); });
  }

  // The first live end in (x, y) order: the smallest x, then the smallest y among the ends
  // of exactly that x. The ends no longer move once tracing starts, so they are sorted once.
  bool LowestLeftEnd(double* sx, double* sy, int* end = nullptr) {
    if (!sorted_) {
      sorted_ = true;
      for (int e = 0; e < 2 * count_; ++e)
        if (alive_[Owner(e)]) order_.push_back({EndX(e), EndY(e), e});
      std::sort(order_.begin(), order_.end(), [](const PlacedEnd& a, const PlacedEnd& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
      });
    }
    while (cursor_ < order_.size() && !alive_[Owner(order_[cursor_].end)]) ++cursor_;
    if (cursor_ == order_.size()) return false;
    *sx = order_[cursor_].x, *sy = order_[cursor_].y;
    if (end) *end = order_[cursor_].end;
    return true;
  }

 protected:
  void Kill(int i) {
    if (alive_[i]) alive_[i] = 0, --live_;
  }

  // Hashes every end (live or not) where it lies now, in cells of the side given.
  void HashEnds(PointHash& hash, double cell) const {
    std::vector<double> x(2 * static_cast<size_t>(count_)), y(x.size());
    for (int e = 0; e < 2 * count_; ++e) x[e] = EndX(e), y[e] = EndY(e);
    hash.Build(x, y, cell);
  }

  double* x1_;
  double* y1_;
  double* x2_;
  double* y2_;
  int count_;
  int live_ = 0;
  double reach_;
  bool strict_;
  std::vector<unsigned char> alive_;
  PointHash ends_;
  DanglingChains<1> dangling_;
  bool linked_ = false;
  std::vector<int> linkStart_, links_;
  // An end with its place, so the sort compares numbers at hand.
  struct PlacedEnd {
    double x, y;
    int end;
  };
  bool sorted_ = false;
  std::vector<PlacedEnd> order_;
  size_t cursor_ = 0;
};

}  // namespace kernel
