#pragma once
#include "GePoint3d.h"
#include "GeVector3d.h"

// A full circle: centre, unit normal of its plane and radius.
class GeCircle3d {
 public:
  GeCircle3d() = default;
  GeCircle3d(const GePoint3d& centre, const GeVector3d& normal, double radius) {
    Set(centre, normal, radius);
  }

  void Set(const GePoint3d& centre, const GeVector3d& normal, double radius) {
    centre_ = centre;
    normal_ = normal.Normal();
    radius_ = radius;
  }
  const GePoint3d& center() const { return centre_; }
  const GeVector3d& normal() const { return normal_; }
  double radius() const { return radius_; }

 private:
  GePoint3d centre_;
  GeVector3d normal_ = GeVector3d::kZAxis;
  double radius_ = 0.0;
};
