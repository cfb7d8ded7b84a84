#include "qrxGeLine2d.h"

#include "qrxGeEdge2d.h"
#include "qrxGeMatrix.h"

namespace qrxGe {

// ---- lineeq2d --------------------------------------------------------------------------

lineeq2d::lineeq2d(const point2d& p, const point2d& q)
    : a_(p.y - q.y), b_(q.x - p.x), c_((p.x - q.x) * p.y - (p.y - q.y) * p.x)
{
}

lineeq2d::lineeq2d(const point2d& p, const vector2d& d)
    : a_(d.y), b_(-d.x), c_(p.y * d.x - p.x * d.y)
{
}

lineeq2d::lineeq2d(const point2d& p, double angle)
    : a_(std::sin(angle)), b_(-std::cos(angle)), c_(-(a_ * p.x + b_ * p.y))
{
}

double lineeq2d::AngleTo(const lineeq2d& other) const
{
    const vector2d n1(a_, b_), n2(other.a_, other.b_);
    return n1.AngleBetween(n2);
}

double lineeq2d::DirectionDifference(const lineeq2d& other) const
{
    return FoldAngle(std::atan2(-other.a_, other.b_) - std::atan2(-a_, b_));
}

int lineeq2d::Relation(const lineeq2d& other) const
{
    if (!IsNearHalfTurnMultiple(DirectionDifference(other), 0.1))
        return -1;
    return IsEqual(ParallelOffset(), other.ParallelOffset()) ? 0 : 1;
}

double lineeq2d::SignedDistanceTo(const point2d& p) const
{
    return (a_ * p.x + b_ * p.y + c_) / std::sqrt(a_ * a_ + b_ * b_);
}

int lineeq2d::SideOf(const point2d& p) const
{
    const double s = SignedDistanceTo(p);
    if (s >= 0.01)
        return 1;
    if (s <= -0.01)
        return -1;
    return 0;
}

point2d lineeq2d::ProjectPoint(const point2d& p) const
{
    return p - UnitNormal() * SignedDistanceTo(p);
}

int lineeq2d::IntersectWith(const lineeq2d& other, point2d& crossing) const
{
    // Parallel lines are told apart by their signed offsets, the rule of Relation: comparing
    // unsigned distances from the origin would call y = 1 and y = -1 the same line.
    if (IsNearHalfTurnMultiple(DirectionDifference(other), 0.1))
        return IsEqual(ParallelOffset(), other.ParallelOffset()) ? 0 : -1;
    crossing = CrossingWith(other);
    return 1;
}

point2d lineeq2d::CrossingWith(const lineeq2d& other) const
{
    const double den = b_ * other.a_ - other.b_ * a_;
    return {(other.b_ * c_ - b_ * other.c_) / den, -(other.a_ * c_ - a_ * other.c_) / den};
}

lineeq2d& lineeq2d::TransformBy(const matrix3x3& m)
{
    // The foot of the perpendicular from the origin and one unit step along the line exist
    // for every valid line, also one through the origin. The step runs along (b, -a), so the
    // rebuilt two-point equation keeps the normal on the same side.
    const point2d foot = ProjectPoint(kOrigin2d);
    const point2d next = foot + vector2d(b_, -a_).UnitVector();
    return *this = lineeq2d(m.TransformPoint(foot), m.TransformPoint(next));
}

// ---- line2d ----------------------------------------------------------------------------

line2d& line2d::TransformBy(const matrix3x3& m)
{
    origin_ = m.TransformPoint(origin_);
    dir_ = m.TransformVector(dir_);
    return *this;
}

line2d& line2d::OffsetBy(double distance)
{
    vector2d right = dir_;
    right.RotateBy(-kHalfPi);
    origin_ += right.UnitVector() * distance;
    return *this;
}

int line2d::SideOf(const point2d& p) const
{
    const double a = FoldAngle(origin_.AngleTo(p) - Angle());
    if (IsNearHalfTurnMultiple(a, 0.01))
        return 0;
    return a > kPi ? 1 : -1;
}

int line2d::IntersectWith(const line2d& other, point2d& crossing) const
{
    return lineeq2d(origin_, dir_).IntersectWith(lineeq2d(other.origin_, other.dir_), crossing);
}

// ---- segment2d -------------------------------------------------------------------------

segment2d& segment2d::TransformBy(const matrix3x3& m)
{
    start_ = m.TransformPoint(start_);
    dir_ = m.TransformVector(dir_);
    return *this;
}

segment2d& segment2d::OffsetBy(double distance)
{
    edge2d moved(start_, EndPoint());
    moved.OffsetBy(distance);
    start_ = moved.StartPoint();
    return *this;
}

} // namespace qrxGe
