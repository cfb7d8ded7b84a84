#pragma once
#include <vector>

#include "GePoint3d.h"

// Walks the loops of an entity in world coordinates, in the order they were added:
//   for (it.start(); !it.done(); it.next()) it.getCurLoop(count, pts, closed, flag2);
// closed is 1 for a closed loop; flag2 is 0 for a real face or curve loop and non-zero
// for an auxiliary loop (users skip those). The entity fills the iterator with AddLoop.
class GePolygonIterator {
 public:
  GePolygonIterator() = default;

  void AddLoop(std::vector<GePoint3d> points, bool closed, int flag2 = 0);
  void Clear();

  void start() { current_ = 0; }
  bool done() const { return current_ >= loops_.size(); }
  void next() {
    if (!done()) ++current_;
  }
  GePolygonIterator& operator++() {
    next();
    return *this;
  }
  // The current loop; when the walk is done: count 0, pts null, both flags 0.
  void getCurLoop(int& count, const GePoint3d*& pts, int& closed, int& flag2) const;
  int getCountLoop() const { return static_cast<int>(loops_.size()); }

 private:
  struct Loop {
    std::vector<GePoint3d> points;
    int closed;
    int flag2;
  };
  std::vector<Loop> loops_;
  std::size_t current_ = 0;
};
