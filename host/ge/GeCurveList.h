#pragma once
#include <vector>

#include "GePoint3d.h"

// A curve broken into segments: lines and three-point arcs, in curve order.
class GeCurveList {
 public:
  enum SegmentType { kLine = 2, kArc = 3 };

  // Line from p1 to p2.
  void AppendLine(const GePoint3d& p1, const GePoint3d& p2) { segments_.push_back({kLine, p1, p2, p2}); }
  // Arc from p1 through p2 to p3.
  void AppendArc(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3) {
    segments_.push_back({kArc, p1, p2, p3});
  }
  void Clear() { segments_.clear(); }

  int GetNumSegment() const { return static_cast<int>(segments_.size()); }
  // Segment i (0-based): type kLine (p1 start, p2 end; p3 = p2) or kArc (p1 start,
  // p2 on the arc, p3 end). An index out of range gives type 0 and leaves the points.
  void GetSegment(int i, int& type, GePoint3d& p1, GePoint3d& p2, GePoint3d& p3) const;

 private:
  struct Segment {
    int type;
    GePoint3d p1, p2, p3;
  };
  std::vector<Segment> segments_;
};
