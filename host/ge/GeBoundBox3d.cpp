#include "GeBoundBox3d.h"

#include <algorithm>

GeBoundBox3d& GeBoundBox3d::Set(const GePoint3d& a, const GePoint3d& b) {
  empty_ = false;
  min_.Set(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z));
  max_.Set(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z));
  return *this;
}

GeBoundBox3d& GeBoundBox3d::Extend(const GePoint3d& p) {
  if (empty_) return Set(p);
  return Set(GePoint3d(std::min(min_.x, p.x), std::min(min_.y, p.y), std::min(min_.z, p.z)),
             GePoint3d(std::max(max_.x, p.x), std::max(max_.y, p.y), std::max(max_.z, p.z)));
}

GeBoundBox3d& GeBoundBox3d::Swell(double d) {
  if (empty_) return *this;
  // Shrinking past the centre collapses the box onto its centre.
  const GePoint3d c = Center();
  min_.Set(std::min(min_.x - d, c.x), std::min(min_.y - d, c.y), std::min(min_.z - d, c.z));
  max_.Set(std::max(max_.x + d, c.x), std::max(max_.y + d, c.y), std::max(max_.z + d, c.z));
  return *this;
}

bool GeBoundBox3d::Contains(const GePoint3d& p) const {
  return !empty_ && p.x >= min_.x && p.x <= max_.x && p.y >= min_.y && p.y <= max_.y &&
         p.z >= min_.z && p.z <= max_.z;
}

void GeBoundBox3d::GetSize(double& sx, double& sy, double& sz) const {
  if (empty_) {
    sx = sy = sz = 0.0;
    return;
  }
  sx = max_.x - min_.x;
  sy = max_.y - min_.y;
  sz = max_.z - min_.z;
}
