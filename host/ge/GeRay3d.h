#pragma once
#include "GePoint3d.h"
#include "GeVector3d.h"

// A half-line from its start point along a direction.
class GeRay3d {
 public:
  GeRay3d() = default;
  GeRay3d(const GePoint3d& start, const GeVector3d& direction) : start_(start), dir_(direction) {}

  void Set(const GePoint3d& start, const GeVector3d& direction) {
    start_ = start;
    dir_ = direction;
  }
  const GePoint3d& startPoint() const { return start_; }
  const GeVector3d& direction() const { return dir_; }

 private:
  GePoint3d start_;
  GeVector3d dir_ = GeVector3d::kXAxis;
};
