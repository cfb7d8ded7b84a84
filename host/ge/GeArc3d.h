#pragma once
#include <vector>

#include "GePoint3d.h"
#include "GeVector3d.h"

// A circular arc. Angles are radians measured counter-clockwise about the unit normal
// from the reference axis; the arc runs from startAngle to endAngle, sweep
// endAngle − startAngle in (0, 2π]. The point at angle a is
// centre + radius·(cos a·ref + sin a·(normal × ref)).
class GeArc3d {
 public:
  GeArc3d() = default;
  // Arc from p1 through p2 to p3 (see Set).
  GeArc3d(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3) { Set(p1, p2, p3); }
  GeArc3d(const GePoint3d& centre, const GeVector3d& normal, const GeVector3d& refAxis,
          double radius, double startAngle, double endAngle) {
    Set(centre, normal, refAxis, radius, startAngle, endAngle);
  }

  // Arc from p1 through p2 to p3: normal (p2 − p1) × (p3 − p2) normalised, so the arc
  // turns counter-clockwise about it; reference axis towards p1, startAngle 0. Collinear
  // or coincident points make no arc: false, and the arc becomes invalid.
  bool Set(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3);
  // Arc counter-clockwise about normal from start to end around centre; reference axis
  // towards start, startAngle 0, radius the distance of start from the axis through
  // centre (start − centre is projected into the arc's plane, as is end). An end equal
  // in direction to start gives the full circle. A zero radius or normal: false, invalid.
  bool Set(const GePoint3d& start, const GePoint3d& end, const GePoint3d& centre,
           const GeVector3d& normal);
  // refAxis is projected onto the plane normal to normal and normalised. A zero normal,
  // a reference axis parallel to it, a radius <= 0 or endAngle <= startAngle: false,
  // invalid.
  bool Set(const GePoint3d& centre, const GeVector3d& normal, const GeVector3d& refAxis,
           double radius, double startAngle, double endAngle);

  bool IsValid() const { return valid_; }
  const GePoint3d& center() const { return centre_; }
  const GeVector3d& normal() const { return normal_; }
  const GeVector3d& refVec() const { return ref_; }
  double radius() const { return radius_; }
  double startAngle() const { return startAngle_; }
  double endAngle() const { return endAngle_; }
  // The arc's end points, exactly as given when it was made from points.
  const GePoint3d& startPoint() const { return startPoint_; }
  const GePoint3d& endPoint() const { return endPoint_; }
  GePoint3d EvalPoint(double angle) const;

  // n points evenly spaced in angle from the start to the end, both included; the
  // first equals startPoint() and the last endPoint() exactly. Returns the count
  // written: n (n >= 2), the start point alone for n == 1, 0 for n <= 0, a null buffer
  // or an invalid arc.
  int GetSamplePoints(int n, GePoint3d* out) const;
  int GetSamplePoints(int n, std::vector<GePoint3d>& out) const;

 private:
  void MakeInvalid();

  bool valid_ = false;
  GePoint3d centre_;
  GeVector3d normal_ = GeVector3d::kZAxis;
  GeVector3d ref_ = GeVector3d::kXAxis;
  double radius_ = 0.0;
  double startAngle_ = 0.0;
  double endAngle_ = 0.0;
  GePoint3d startPoint_;
  GePoint3d endPoint_;
};
