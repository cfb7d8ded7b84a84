#include "GePoint2dArray.h"

#include <cmath>

double GePoint2dArray::SignedArea() const {
  const std::size_t n = size();
  if (n < 3) return 0.0;
  const GePoint2d& o = front();
  double twice = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const GePoint2d& p = (*this)[i];
    const GePoint2d& q = (*this)[(i + 1) % n];
    twice += (p.x - o.x) * (q.y - o.y) - (q.x - o.x) * (p.y - o.y);
  }
  return twice / 2.0;
}

double GePoint2dArray::Area() const { return std::abs(SignedArea()); }
