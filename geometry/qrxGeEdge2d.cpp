#include "qrxGeEdge2d.h"

#include "qrxGeMatrix.h"

#include <algorithm>
#include <cmath>

namespace qrxGe {

bool edge2d::PointAt(double t, point2d& p) const
{
    p = start_ + (end_ - start_) * t;
    return t >= 0.0 && t <= 1.0;
}

point2d edge2d::PointAtFraction(double t) const
{
    return start_ + vector2d(Angle()) * (Length() * t);
}

edge2d& edge2d::OffsetBy(double d)
{
    const vector2d step = vector2d(Angle() - kHalfPi) * d;
    start_ += step;
    end_ += step;
    return *this;
}

edge2d& edge2d::TransformBy(const matrix3x3& m)
{
    start_ = m.TransformPoint(start_);
    end_ = m.TransformPoint(end_);
    return *this;
}

bool edge2d::SplitAt(const point2d& p, std::unique_ptr<edge2d>& first, std::unique_ptr<edge2d>& second) const
{
    if (EndIndexOf(p) != 0) {
        first.reset();
        second.reset();
    } else {
        first = std::make_unique<edge2d>(start_, p);
        second = std::make_unique<edge2d>(p, end_);
    }
    return true;
}

bool edge2d::IsXDominant() const
{
    const double t = std::atan2(end_.y - start_.y, end_.x - start_.x);
    return std::fabs(t) < kQuarterPi || std::fabs(t) > kThreeQuarterPi;
}

bool edge2d::SpansOnDominantAxis(const point2d& p) const
{
    const int c = IsXDominant() ? 0 : 1;
    return SpansZero(p[c] - start_[c], p[c] - end_[c]);
}

bool edge2d::IsPointOn(const point2d& p) const
{
    if (p == start_ || p == end_)
        return true;
    if (!LineEquation().IsPointOn(p))
        return false;
    const int c = std::fabs(start_.y - end_.y) <= std::fabs(start_.x - end_.x) ? 0 : 1;
    return SpansZero(p[c] - start_[c], p[c] - end_[c]);
}

point2d& edge2d::NearerEnd(const point2d& p)
{
    return p.DistanceTo(start_) < p.DistanceTo(end_) ? start_ : end_;
}

bool edge2d::ExtendTo(const point2d& p)
{
    if (!LineEquation().IsPointOn(p))
        return false;
    NearerEnd(p) = p;
    return true;
}

point2d edge2d::ClosestPointTo(const point2d& p) const
{
    const point2d foot = LineEquation().ClosestPointTo(p);
    const point2d nearer = p.DistanceTo(start_) < p.DistanceTo(end_) ? start_ : end_;
    return p.DistanceTo(foot) < p.DistanceTo(nearer) ? foot : nearer;
}

bool edge2d::IsNotParallelTo(const edge2d& other) const
{
    const double t1 = std::atan2(end_.y - start_.y, end_.x - start_.x);
    const double t2 = std::atan2(other.end_.y - other.start_.y, other.end_.x - other.start_.x);
    return !IsNearHalfTurnMultiple(FoldAngle(t2 - t1), 0.01);
}

bool edge2d::GetIntersection(const edge2d& other, point2d& p) const
{
    if (!IsNotParallelTo(other))
        return false;
    p = LineEquation().CrossingWith(other.LineEquation());
    return SpansOnDominantAxis(p) && other.SpansOnDominantAxis(p);
}

int edge2d::IntersectWith(const edge2d& other, point2d& p1, int& f1, point2d& p2, int& f2) const
{
    if (IsNotParallelTo(other)) {
        const point2d x = LineEquation().CrossingWith(other.LineEquation());
        if (!SpansOnDominantAxis(x) || !other.SpansOnDominantAxis(x))
            return 0;
        p1 = x;
        return 1;
    }
    if (std::fabs(other.LineEquation().SignedDistanceTo(MidPoint())) >= 0.1)
        return 0;

    // Collinear: positions along S->E on this edge's dominant axis, S at 0 and E at `e`.
    const int c = IsXDominant() ? 0 : 1;
    const double sense = end_[c] >= start_[c] ? 1.0 : -1.0;
    const auto along = [&](const point2d& q) { return (q[c] - start_[c]) * sense; };
    const double e = along(end_);
    point2d v = other.start_, u = other.end_;
    if (along(u) < along(v))
        std::swap(u, v);
    const double pv = along(v), pu = along(u);

    // The overlap ends at U when U is before E, else at E.
    const auto overlapTo = [&](const point2d& from, int fromFlag) {
        p1 = from;
        f1 = fromFlag;
        if (IsLess(pu, e)) {
            p2 = u;
            f2 = -1;
        } else {
            p2 = IsGreater(pu, e) ? end_ : u;
            f2 = 0;
        }
        return -2;
    };

    // Equal means within 0.1, both ends of the band included, so every position falls in
    // exactly one case.
    const auto same = [](double a, double b) { return !IsLess(a, b) && !IsGreater(a, b); };
    if (IsLess(pv, 0.0)) {
        if (IsLess(pu, 0.0))
            return 0;
        if (same(pu, 0.0)) {
            p1 = start_;
            f1 = 0;
            return -1;
        }
        return overlapTo(start_, 0);
    }
    if (same(pv, 0.0))
        return overlapTo(start_, 0);
    if (IsLess(pv, e))
        return overlapTo(v, 1);
    if (same(pv, e)) {
        p1 = end_;
        f1 = 1;
        return -1;
    }
    return 0;
}

namespace {

// v equals u or -u within 0.1 per component; false when either is NaN.
bool SameWay(const vector2d& u, const vector2d& v)
{
    return v == u || v == -u;
}

} // namespace

bool edge2d::IsParallelTo(const edge2d& other) const
{
    return SameWay(UnitDirection(), other.UnitDirection());
}

bool edge2d::IsCollinearWith(const edge2d& other) const
{
    if (!IsParallelTo(other))
        return false;
    const point2d to = start_ == other.start_ ? other.end_ : other.start_;
    return SameWay(UnitDirection(), (to - start_).UnitVector());
}

bool edge2d::IsPerpendicularTo(const edge2d& other) const
{
    const double dot = UnitDirection().DotProduct(other.UnitDirection());
    return dot > -0.1 && dot < 0.1;
}

double edge2d::DistanceTo(const point2d& p) const
{
    double least = std::min(p.DistanceTo(start_), p.DistanceTo(end_));
    // A degenerate edge has no line: its NaN distance must not win.
    const double line = LineEquation().DistanceTo(p);
    if (line < least)
        least = line;
    return least;
}

bool edge2d::ContainsEdge(const edge2d& other) const
{
    return IsPointOn(other.start_) && IsPointOn(other.end_);
}

bool edge2d::IsWithinEdge(const edge2d& other) const
{
    return other.ContainsEdge(*this);
}

bool edge2d::IsPointInRange(const point2d& p) const
{
    const int c = std::fabs(start_.x - end_.x) < 0.001 ? 1 : 0;
    const double v = p[c], a = start_[c], b = end_[c];
    if (std::fabs(v - a) < 0.001 || std::fabs(v - b) < 0.001)
        return true;
    return (v > a && v < b) || (v > b && v < a);
}

bool edge2d::Overlaps(const edge2d& other) const
{
    if (!IsCollinearWith(other) && !other.IsCollinearWith(*this))
        return false;
    return ContainsEndOf(other) || other.ContainsEndOf(*this);
}

bool edge2d::ContainsEndOf(const edge2d& other) const
{
    return IsPointOn(other.start_) || IsPointOn(other.end_);
}

bool edge2d::CollinearOverlap(const edge2d& other, int& count, point2d& p, point2d& q) const
{
    count = 0;
    if (!IsCollinearWith(other))
        return false;
    const int c = std::fabs(end_.y - start_.y) <= std::fabs(end_.x - start_.x) ? 0 : 1;
    const auto ordered = [c](const edge2d& e) {
        return e.end_[c] < e.start_[c] ? std::pair(e.end_, e.start_) : std::pair(e.start_, e.end_);
    };
    const auto [lo1, hi1] = ordered(*this);
    const auto [lo2, hi2] = ordered(other);
    // Touching end to end is judged on the exact coordinates, as at either end.
    const auto touching = [](const point2d& a, const point2d& b) { return a.x == b.x && a.y == b.y; };
    if (lo1[c] <= lo2[c] && lo2[c] <= hi1[c]) {
        if (touching(hi1, lo2)) {
            count = 1;
            p = hi1;
        } else {
            count = 2;
            p = lo2;
            q = hi2[c] <= hi1[c] ? hi2 : hi1;
        }
        return true;
    }
    if (lo1[c] <= hi2[c] && hi2[c] <= hi1[c]) {
        if (touching(lo1, hi2)) {
            count = 1;
            p = lo1;
        } else {
            count = 2;
            p = lo1;
            q = hi2;
        }
        return true;
    }
    if (lo2[c] < lo1[c] && hi2[c] > hi1[c]) {
        count = 2;
        p = lo1;
        q = hi1;
        return true;
    }
    return false;
}

} // namespace qrxGe
