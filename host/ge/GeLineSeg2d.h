#pragma once
#include "GePoint2d.h"

// A bounded plan segment.
class GeLineSeg2d {
 public:
  GeLineSeg2d() = default;
  GeLineSeg2d(const GePoint2d& start, const GePoint2d& end) : start_(start), end_(end) {}

  void Set(const GePoint2d& start, const GePoint2d& end) {
    start_ = start;
    end_ = end;
  }
  const GePoint2d& startPoint() const { return start_; }
  const GePoint2d& endPoint() const { return end_; }
  double GetLength() const { return start_.DistanceTo(end_); }

 private:
  GePoint2d start_;
  GePoint2d end_;
};
