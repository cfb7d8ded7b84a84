#pragma once
// Infinite lines and directed segments of the plane: the implicit equation a*x + b*y + c = 0,
// the line by origin and direction, and the segment by start and direction.

#include "qrxGePoint2d.h"

namespace qrxGe {

class matrix3x3;

// The line a*x + b*y + c = 0; (a, b) is its normal, not necessarily of unit length.
// Mind the constructors: the two-point form puts the normal to the LEFT of p->q, the
// point-and-vector and point-and-angle forms to the RIGHT of the direction.
class lineeq2d {
public:
    lineeq2d(const point2d& p, const point2d& q);
    lineeq2d(const point2d& p, const vector2d& d);
    lineeq2d(const point2d& p, double angle);
    lineeq2d(double a, double b, double c) : a_(a), b_(b), c_(c) {}

    double A() const { return a_; }
    double B() const { return b_; }
    double C() const { return c_; }

    bool IsValid() const { return std::fabs(a_) >= 0.01 || std::fabs(b_) >= 0.01; }
    double YAt(double x) const { return std::fabs(b_) < 0.01 ? 0.0 : -(a_ * x + c_) / b_; }
    double XAt(double y) const { return std::fabs(a_) < 0.01 ? 0.0 : -(b_ * y + c_) / a_; }
    double Angle() const { return FoldAngle(std::atan2(-a_, b_)); }
    vector2d UnitDirection() const { return vector2d(-b_, a_).UnitVector(); }
    vector2d UnitNormal() const { return vector2d(a_, b_).UnitVector(); }
    // Angle between the two normals, in [0, pi].
    double AngleTo(const lineeq2d& other) const;

    // -1 the lines cross, 0 the same line, 1 parallel and distinct.
    int Relation(const lineeq2d& other) const;
    bool IsSameLine(const lineeq2d& other) const { return Relation(other) == 0; }
    bool operator==(const lineeq2d& other) const { return IsSameLine(other); }

    lineeq2d PerpendicularThrough(const point2d& p) const { return {b_, -a_, -(b_ * p.x - a_ * p.y)}; }
    double SignedDistanceTo(const point2d& p) const;
    double DistanceTo(const point2d& p) const { return std::fabs(SignedDistanceTo(p)); }
    // 1 on the normal's side, -1 on the other, 0 within 0.01 of the line.
    int SideOf(const point2d& p) const;
    bool IsPointOn(const point2d& p) const { return DistanceTo(p) < 0.1; }
    point2d ProjectPoint(const point2d& p) const;
    point2d ClosestPointTo(const point2d& p) const { return CrossingWith(PerpendicularThrough(p)); }

    // 1 and the crossing point; 0 the same line; -1 parallel and distinct (point untouched).
    // Lines within 0.1 rad of parallel count as parallel.
    int IntersectWith(const lineeq2d& other, point2d& crossing) const;
    // The crossing of the two lines with no parallel test (inf/NaN for parallel lines).
    point2d CrossingWith(const lineeq2d& other) const;

    lineeq2d& TransformBy(const matrix3x3& m);

private:
    // Offset used to tell parallel lines apart: c/b, or c/a for a near-vertical normal.
    double ParallelOffset() const { return (b_ > -0.1 && b_ < 0.1) ? c_ / a_ : c_ / b_; }
    // Direction difference of the two lines folded into [0, 2*pi).
    double DirectionDifference(const lineeq2d& other) const;

    double a_;
    double b_;
    double c_;
};

class line2d {
public:
    line2d() = default;
    line2d(const point2d& origin, const vector2d& dir) : origin_(origin), dir_(dir) {}
    line2d(const point2d& origin, const point2d& through) : origin_(origin), dir_(through - origin) {}
    line2d(const point2d& origin, double angle) : origin_(origin), dir_(angle) {}

    bool IsValid() const { return std::fabs(dir_.x) >= 0.01 || std::fabs(dir_.y) >= 0.01; }
    double Angle() const { return dir_.Angle(); }
    const point2d& Origin() const { return origin_; }
    const vector2d& Direction() const { return dir_; }
    vector2d UnitDirection() const { return dir_.UnitVector(); }
    lineeq2d LineEquation() const { return {origin_, origin_ + dir_}; }
    void ResetDirection() { dir_ = kZeroVector2d; }
    line2d& TransformBy(const matrix3x3& m);
    // Positive distances move the line to the right of its direction.
    line2d& OffsetBy(double distance);
    // 1 right of the direction, -1 left, 0 on the line (angle within 0.01).
    int SideOf(const point2d& p) const;
    // As lineeq2d::IntersectWith, through the point-and-vector equations of both lines.
    int IntersectWith(const line2d& other, point2d& crossing) const;

private:
    point2d origin_;
    vector2d dir_;
};

class segment2d {
public:
    segment2d(const point2d& start, const vector2d& dir) : start_(start), dir_(dir) {}
    segment2d(const point2d& start, const point2d& end) : start_(start), dir_(end - start) {}
    segment2d(const point2d& start, double angle) : start_(start), dir_(angle) {}

    bool IsValid() const { return std::fabs(dir_.x) >= 0.01 || std::fabs(dir_.y) >= 0.01; }
    double Angle() const { return dir_.Angle(); }
    const point2d& StartPoint() const { return start_; }
    point2d EndPoint() const { return start_ + dir_; }
    const vector2d& Direction() const { return dir_; }
    lineeq2d LineEquation() const { return {start_, start_ + dir_}; }
    line2d ToLine() const { return {start_, dir_}; }
    void ResetDirection() { dir_ = kZeroVector2d; }
    segment2d& TransformBy(const matrix3x3& m);
    // Moves the segment to the right of its direction; its length stays.
    segment2d& OffsetBy(double distance);

private:
    point2d start_;
    vector2d dir_;
};

} // namespace qrxGe
