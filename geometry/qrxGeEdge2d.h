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

    // Relations to another edge. Directions are unit vectors compared within 0.1 per
    // component (about 5.7 degrees), either way along the edge. A degenerate edge has no
    // direction (its unit vector is NaN), so the relations built on directions are false.
    bool IsParallelTo(const edge2d& other) const;
    // Parallel, and the direction from this start to the other edge's start (to its end when
    // the starts coincide within 0.1) is parallel as well.
    bool IsCollinearWith(const edge2d& other) const;
    // The dot product of the unit directions lies strictly within (-0.1, 0.1).
    bool IsPerpendicularTo(const edge2d& other) const;
    // Not the distance to the edge: the least of the distances to its two ends and to its
    // infinite line, so always the line's (a point on the line beyond an end answers 0). A
    // degenerate edge answers the distance to its end.
    double DistanceTo(const point2d& p) const;
    // Both ends of the other edge lie on this one (IsPointOn, 0.1).
    bool ContainsEdge(const edge2d& other) const;
    // Both ends of this edge lie on the other one.
    bool IsWithinEdge(const edge2d& other) const;
    // By one coordinate only: x, or y when the edge is vertical (x differs by less than
    // 0.001). True when p's coordinate lies within 0.001 of an end's or strictly between.
    bool IsPointInRange(const point2d& p) const;
    // Collinear, and an end of either edge lies on the other. Symmetric: the edges count as
    // collinear when either sees the other so, since the tolerant test seen from one edge can
    // differ from the test seen from the other near its bounds.
    bool Overlaps(const edge2d& other) const;
    // The common stretch of two collinear edges along this edge's dominant axis (x when its
    // y extent is at most its x extent): count 2 with p and q its low and high ends, or
    // count 1 with p the point where the edges touch end to end (ends exactly equal), and
    // true; count 0 and false when the edges are not collinear or do not meet. An edge
    // reaching beyond both ends of this one gives this whole edge.
    bool CollinearOverlap(const edge2d& other, int& count, point2d& p, point2d& q) const;

private:
    // True when p lies between the ends on this edge's dominant axis (0.1 band).
    bool SpansOnDominantAxis(const point2d& p) const;
    bool IsXDominant() const;
    // An end of the other edge lies on this one.
    bool ContainsEndOf(const edge2d& other) const;
    // The end nearer to p; the end point on a tie.
    point2d& NearerEnd(const point2d& p);

    point2d start_;
    point2d end_;
};

} // namespace qrxGe
