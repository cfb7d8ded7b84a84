#pragma once
#include "GePoint2d.h"

// An axis-aligned plan box; empty until it is set.
class GeBoundBox2d {
 public:
  GeBoundBox2d() = default;

  // Box of one point.
  GeBoundBox2d& Set(const GePoint2d& p) { return Set(p, p); }
  // Box spanned by two corners (in any order).
  GeBoundBox2d& Set(const GePoint2d& a, const GePoint2d& b);
  // Grows the box to hold p; an empty box becomes the box of p.
  GeBoundBox2d& Extend(const GePoint2d& p);
  // Grows the box by d on every side (shrinks for negative d); an empty box stays empty.
  GeBoundBox2d& Swell(double d);
  void Reset() { empty_ = true; }

  bool IsEmpty() const { return empty_; }
  // Inclusive of the boundary; an empty box contains nothing.
  bool Contains(const GePoint2d& p) const;
  const GePoint2d& MinPoint() const { return min_; }
  const GePoint2d& MaxPoint() const { return max_; }
  GePoint2d Center() const { return (min_ + max_) / 2.0; }

 private:
  bool empty_ = true;
  GePoint2d min_;
  GePoint2d max_;
};
