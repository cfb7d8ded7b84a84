#include "GePolygonIterator.h"

#include <utility>

void GePolygonIterator::AddLoop(std::vector<GePoint3d> points, bool closed, int flag2) {
  loops_.push_back({std::move(points), closed ? 1 : 0, flag2});
}

void GePolygonIterator::Clear() {
  loops_.clear();
  current_ = 0;
}

void GePolygonIterator::getCurLoop(int& count, const GePoint3d*& pts, int& closed,
                                   int& flag2) const {
  if (done()) {
    count = 0;
    pts = nullptr;
    closed = 0;
    flag2 = 0;
    return;
  }
  const Loop& loop = loops_[current_];
  count = static_cast<int>(loop.points.size());
  pts = loop.points.data();
  closed = loop.closed;
  flag2 = loop.flag2;
}
