#pragma once
#include "GeCircle3d.h"
#include "GePlane.h"
#include "GePoint3d.h"
#include "GeVector3d.h"

// A bounded segment from its start point to its end point.
class GeLineSeg3d {
 public:
  GeLineSeg3d() = default;
  GeLineSeg3d(const GePoint3d& start, const GePoint3d& end) : start_(start), end_(end) {}

  void Set(const GePoint3d& start, const GePoint3d& end) {
    start_ = start;
    end_ = end;
  }
  const GePoint3d& startPoint() const { return start_; }
  const GePoint3d& endPoint() const { return end_; }
  GeVector3d direction() const { return end_ - start_; }  // start to end, not normalised
  double GetLength() const { return start_.DistanceTo(end_); }

  // True when p lies within tol of the bounded segment.
  bool IsPointOn(const GePoint3d& p, double tol) const;
  // Closest point of the bounded segment to p; false (out untouched) only for a segment
  // shorter than tol. The int argument is the host's and is not used.
  bool GetClosestPointTo(const GePoint3d& p, GePoint3d& out, int, double tol) const;

  // Meeting point of two segments, written on this segment. extend == 0: both bounded
  // segments must meet (ends within tol count). extend != 0: the meeting point of the
  // two infinite lines through the segments. False, out untouched, for parallel lines,
  // for lines that pass each other further apart than tol, for a segment shorter than
  // tol, and (bounded) when the meeting point lies outside either segment.
  bool IntersectWith(const GeLineSeg3d& other, GePoint3d& out, int extend, double tol) const;
  // Points where the bounded segment crosses the circumference (within tol), ordered
  // from the segment's start: count 0, 1 or 2, p1 first, p2 second. A segment wholly
  // inside or outside the circle has none (false). The int argument is not used.
  bool IntersectWith(const GeCircle3d& circle, int& count, GePoint3d& p1, GePoint3d& p2, int,
                     double tol) const;
  // Point where the bounded segment crosses the plane (ends within tol count); false,
  // out untouched, when it does not or when the segment is parallel to the plane.
  bool IntersectWith(const GePlane& plane, GePoint3d& out, double tol) const;

 private:
  GePoint3d start_;
  GePoint3d end_;
};
