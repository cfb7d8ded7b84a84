#pragma once
#include "GePoint3d.h"
#include "GeVector3d.h"

// An unbounded line through a point along a direction.
class GeLine3d {
 public:
  GeLine3d() = default;
  GeLine3d(const GePoint3d& point, const GeVector3d& direction) : point_(point), dir_(direction) {}

  void Set(const GePoint3d& point, const GeVector3d& direction) {
    point_ = point;
    dir_ = direction;
  }
  const GePoint3d& pointOnLine() const { return point_; }
  const GeVector3d& direction() const { return dir_; }

 private:
  GePoint3d point_;
  GeVector3d dir_ = GeVector3d::kXAxis;
};
