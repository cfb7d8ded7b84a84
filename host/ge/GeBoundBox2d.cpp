#include "GeBoundBox2d.h"

#include <algorithm>

GeBoundBox2d& GeBoundBox2d::Set(const GePoint2d& a, const GePoint2d& b) {
  empty_ = false;
  min_ = {std::min(a.x, b.x), std::min(a.y, b.y)};
  max_ = {std::max(a.x, b.x), std::max(a.y, b.y)};
  return *this;
}

GeBoundBox2d& GeBoundBox2d::Extend(const GePoint2d& p) {
  if (empty_) return Set(p);
  return Set(GePoint2d(std::min(min_.x, p.x), std::min(min_.y, p.y)),
             GePoint2d(std::max(max_.x, p.x), std::max(max_.y, p.y)));
}

GeBoundBox2d& GeBoundBox2d::Swell(double d) {
  if (empty_) return *this;
  // Shrinking past the centre collapses the box onto its centre.
  const GePoint2d c = Center();
  min_ = {std::min(min_.x - d, c.x), std::min(min_.y - d, c.y)};
  max_ = {std::max(max_.x + d, c.x), std::max(max_.y + d, c.y)};
  return *this;
}

bool GeBoundBox2d::Contains(const GePoint2d& p) const {
  return !empty_ && p.x >= min_.x && p.x <= max_.x && p.y >= min_.y && p.y <= max_.y;
}
