#include "GeCurveList.h"

void GeCurveList::GetSegment(int i, int& type, GePoint3d& p1, GePoint3d& p2, GePoint3d& p3) const {
  if (i < 0 || i >= GetNumSegment()) {
    type = 0;
    return;
  }
  const Segment& s = segments_[static_cast<std::size_t>(i)];
  type = s.type;
  p1 = s.p1;
  p2 = s.p2;
  p3 = s.p3;
}
