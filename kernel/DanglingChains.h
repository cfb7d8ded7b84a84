#pragma once
#include <algorithm>
#include <vector>

// Dangling chains removed from a set of segments by end counts, the one way every tracer
// does it: a segment with an end that no other segment meets goes, and so, in turn, does
// each segment its going leaves dangling, down to the chain's root, in one pass (as repeated
// passes would). Segments are numbered from kFirst (0 or 1); end 2(i - kFirst) is the start
// of segment i and the next end its end. The caller keeps one flag per segment number for
// whether it is still in the set, and says which ends meet: meetings(e, out) fills `out`
// with the ends that meet end e (e itself may be among them), a relation that must hold both
// ways. Header-only, so the kernel's tracers and the toolkit's share it.

namespace kernel {

template <int kFirst>
class DanglingChains {
 public:
  static int Owner(int e) { return e / 2 + kFirst; }
  static int StartOf(int i) { return 2 * (i - kFirst); }

  // Counts, for every end of a live segment, the other live segments meeting it, and queues
  // the segments with an end that none meets.
  template <class Meetings>
  void Count(const std::vector<unsigned char>& alive, Meetings&& meetings) {
    const int size = static_cast<int>(alive.size());
    reached_.assign(2 * static_cast<size_t>(std::max(size - kFirst, 0)), 0);
    for (int i = kFirst; i < size; ++i) {
      if (!alive[i]) continue;
      for (int own : {StartOf(i), StartOf(i) + 1}) {
        meetings(own, near_);
        others_.clear();
        for (int e : near_)
          if (Owner(e) != i && alive[Owner(e)]) others_.push_back(Owner(e));
        std::sort(others_.begin(), others_.end());
        others_.erase(std::unique(others_.begin(), others_.end()), others_.end());
        reached_[own] = static_cast<int>(others_.size());
      }
      if (Dangling(i)) doomed_.push_back(i);
    }
  }

  bool Counted() const { return !reached_.empty(); }

  // Segment i has just left the set (its flag cleared): every end it met counts it no more,
  // and a segment left with an end that none meets is queued.
  template <class Meetings>
  void Left(int i, const std::vector<unsigned char>& alive, Meetings&& meetings) {
    touched_.clear();
    for (int own : {StartOf(i), StartOf(i) + 1}) {
      meetings(own, near_);
      for (int e : near_)
        if (Owner(e) != i && alive[Owner(e)]) touched_.push_back(e);
    }
    std::sort(touched_.begin(), touched_.end());
    touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
    for (int e : touched_)
      if (--reached_[e] == 0) doomed_.push_back(Owner(e));
  }

  // Takes out every queued segment still in the set and still dangling through remove(i),
  // which must clear its flag and call Left, until the queue is empty.
  template <class Remove>
  void RemoveDangling(const std::vector<unsigned char>& alive, Remove&& remove) {
    while (!doomed_.empty()) {
      const int i = doomed_.back();
      doomed_.pop_back();
      if (alive[i] && Dangling(i)) remove(i);
    }
  }

  // Counts, then removes every dangling chain: the whole pass for a caller that traces after.
  template <class Meetings>
  void Prune(std::vector<unsigned char>& alive, Meetings&& meetings) {
    Count(alive, meetings);
    RemoveDangling(alive, [&](int i) {
      alive[i] = 0;
      Left(i, alive, meetings);
    });
  }

 private:
  bool Dangling(int i) const {
    return reached_[StartOf(i)] == 0 || reached_[StartOf(i) + 1] == 0;
  }

  std::vector<int> reached_, doomed_, touched_, others_, near_;
};

}  // namespace kernel
