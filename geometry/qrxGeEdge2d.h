#pragma once
// The two-point edge: the element of every segment set of the polygon templates. Its
// intersection table (IntersectWith) is what their union, subtraction and face tracing
// rely on, result codes and overlap flags exactly.

#include "qrxGeBox2d.h"
#include "qrxGeLine2d.h"
#include "qrxGePoint2d.h"

#include <memory>
#include <utility>

namespace qrxGe {

class matrix3x3;

class edge2d {
public:
    edge2d() : start_(0.0, 0.0), end_(0.0, 1.0) {}
    edge2d(const point2d& start, const point2d& end) : start_(start), end_(end) {}

    edge2d& Set(const point2d& start, const point2d& end) { start_ = start; end_ = end; return *this; }
    void SetStartPoint(const point2d& p) { start_ = p; }
    void SetEndPoint(const point2d& p) { end_ = p; }
    point2d StartPoint() const { return start_; }
    point2d EndPoint() const { return end_; }
    point2d& Start() { return start_; }
    point2d& End() { return end_; }
    edge2d& Reverse() { std::swap(start_, end_); return *this; }

    double Length() const { return start_.DistanceTo(end_); }
    point2d MidPoint() const { return {(start_.x + end_.x) * 0.5, (start_.y + end_.y) * 0.5}; }
    double Angle() const { return start_.AngleTo(end_); }
    vector2d UnitDirection() const { return (end_ - start_).UnitVector(); }
    lineeq2d LineEquation() const { return {start_, end_}; }

    bool IsStartPoint(const point2d& p) const { return start_ == p; }
    bool IsEndPoint(const point2d& p) const { return end_ == p; }
    bool IsDegenerate() const { return start_ == end_; }
    bool IsNotDegenerate() const { return !IsDegenerate(); }
    // 2 for the end, else 1 for the start, else 0: a degenerate edge answers 2.
    int EndIndexOf(const point2d& p) const { return IsEndPoint(p) ? 2 : (IsStartPoint(p) ? 1 : 0); }

    // Writes start + t*(end - start) always; true when 0 <= t <= 1.
    bool PointAt(double t, point2d& p) const;
    bool PointAtDistance(double d, point2d& p) const { return PointAt(d / Length(), p); }
    point2d PointAtFraction(double t) const;
    point2d PointAlong(double d) const { return start_ + UnitDirection() * d; }

    // Moves both ends to the right of start->end for d > 0.
    edge2d& OffsetBy(double d);
    edge2d OffsetCopy(double d) const { edge2d e = *this; return e.OffsetBy(d); }
    edge2d& TransformBy(const matrix3x3& m);
    box2d BoundingBox() const { return box2d(start_, end_.x, end_.y); }

    std::unique_ptr<edge2d> Clone() const { return std::make_unique<edge2d>(*this); }
    // Both parts stay null when p is an end; always true.
    bool SplitAt(const point2d& p, std::unique_ptr<edge2d>& first, std::unique_ptr<edge2d>& second) const;

    bool IsPointOn(const point2d& p) const;
    bool ExtendTo(const point2d& p);
    point2d ClosestPointTo(const point2d& p) const;
    // Direction angles differ by at least 0.01 rad from 0, pi and 2*pi.
    bool IsNotParallelTo(const edge2d& other) const;
    // The crossing point, when it lies within both edges (ends included within 0.1).
    bool GetIntersection(const edge2d& other, point2d& p) const;
    // 1: crossing at p1. 0: no common point. -1: collinear, touching at p1 only (f1 = 0 this
    // edge's start, 1 its end). -2: collinear overlap from p1 to p2 along this edge; f1 = 0
    // when it begins at this edge's start (1 later), f2 = 0 when it ends at this edge's end
    // (-1 earlier). Outputs not named for a result are not written.
    int IntersectWith(const edge2d& other, point2d& p1, int& f1, point2d& p2, int& f2) const;

private:
    // True when p lies between the ends on this edge's dominant axis (0.1 band).
    bool SpansOnDominantAxis(const point2d& p) const;
    bool IsXDominant() const;
    // The end nearer to p; the end point on a tie.
    point2d& NearerEnd(const point2d& p);

    point2d start_;
    point2d end_;
};

} // namespace qrxGe
