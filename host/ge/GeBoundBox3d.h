#pragma once
#include "GePoint3d.h"

// An axis-aligned box; empty until it is set.
class GeBoundBox3d {
 public:
  GeBoundBox3d() = default;

  // Box of one point.
  GeBoundBox3d& Set(const GePoint3d& p) { return Set(p, p); }
  // Box spanned by two corners (in any order).
  GeBoundBox3d& Set(const GePoint3d& a, const GePoint3d& b);
  // Grows the box to hold p; an empty box becomes the box of p.
  GeBoundBox3d& Extend(const GePoint3d& p);
  // Grows the box by d on every side; an empty box stays empty.
  GeBoundBox3d& Swell(double d);
  void Reset() { empty_ = true; }

  bool IsEmpty() const { return empty_; }
  // Inclusive of the boundary; an empty box contains nothing.
  bool Contains(const GePoint3d& p) const;
  const GePoint3d& MinPoint() const { return min_; }
  const GePoint3d& MaxPoint() const { return max_; }
  GePoint3d Center() const { return (min_ + max_) / 2.0; }
  // Extents along x, y and z (0 for an empty box).
  void GetSize(double& sx, double& sy, double& sz) const;

 private:
  bool empty_ = true;
  GePoint3d min_;
  GePoint3d max_;
};
