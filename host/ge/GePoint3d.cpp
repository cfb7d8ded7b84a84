#include "GePoint3d.h"

#include "GeMatrix3d.h"

const GePoint3d GePoint3d::kOrigin(0.0, 0.0, 0.0);

GePoint3d& GePoint3d::TransformBy(const GeMatrix3d& m) { return *this = m * *this; }

GePoint3d& GePoint3d::RotateBy(double angle, const GeVector3d& axis, const GePoint3d& centre) {
  GeVector3d offset = *this - centre;
  offset.RotateBy(angle, axis);
  return *this = centre + offset;
}
