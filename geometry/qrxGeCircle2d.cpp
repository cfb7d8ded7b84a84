#include "qrxGeCircle2d.h"

#include "qrxGeEdge2d.h"
#include "qrxGeLine2d.h"
#include "qrxGeMatrix.h"

#include <cmath>

namespace qrxGe {

circle2d& circle2d::Set(const point2d& centre, double radius)
{
    centre_ = centre;
    radius_ = radius;
    return *this;
}

circle2d& circle2d::Set(const point2d& p1, const point2d& p2, const point2d& p3)
{
    const lineeq2d bisector12 = lineeq2d(p1, p2).PerpendicularThrough((p1 + p2) / 2.0);
    const lineeq2d bisector23 = lineeq2d(p2, p3).PerpendicularThrough((p2 + p3) / 2.0);
    point2d centre;
    if (bisector12.IntersectWith(bisector23, centre) != 1) {
        radius_ = 0.0;
        return *this;
    }
    centre_ = centre;
    radius_ = centre.DistanceTo(p1);
    return *this;
}

point2d circle2d::PointAt(double angle) const
{
    return {centre_.x + radius_ * std::cos(angle), centre_.y + radius_ * std::sin(angle)};
}

void circle2d::SamplePoints(std::span<point2d> points) const
{
    const double step = kTwoPi / static_cast<double>(points.size());
    for (std::size_t k = 0; k < points.size(); ++k)
        points[k] = PointAt(static_cast<double>(k) * step);
}

void circle2d::SamplePoints(int n, std::vector<point2d>& points) const
{
    points.clear();
    if (n < 1)
        return;
    points.resize(static_cast<std::size_t>(n));
    SamplePoints(std::span<point2d>(points));
}

void circle2d::SampleEdges(int n, std::vector<edge2d>& edges) const
{
    if (n < 1)
        return;
    const double step = kTwoPi / n;
    for (int k = 0; k < n; ++k)
        edges.emplace_back(PointAt(k * step), PointAt((k + 1) * step));
}

circle2d& circle2d::TransformBy(const matrix3x3& m)
{
    centre_ = m.TransformPoint(centre_);
    radius_ *= m.TransformVector(kXAxis2d).Length();
    return *this;
}

int circle2d::IntersectAngles(const circle2d& other, double& angle1, double& angle2, int* code) const
{
    const double r1 = radius_, r2 = other.radius_;
    const double d = centre_.DistanceTo(other.centre_);
    if (centre_ == other.centre_ && std::fabs(r1 - r2) < 0.1)
        return 0;
    const double base = centre_.AngleTo(other.centre_);
    if (IsEqual(d, std::fabs(r1 - r2))) {
        // Inner touch: the touching point lies towards the other centre only when the other
        // circle is the smaller; when this one is the smaller it lies on the far side.
        angle1 = r2 > r1 ? FoldAngle(base + kPi) : base;
        if (code)
            *code = r2 < r1 ? 1 : -1;
        return 1;
    }
    if (IsEqual(d, r1 + r2)) {
        angle1 = base;
        return 1;
    }
    if (std::fabs(r1 - r2) < d && d < r1 + r2) {
        // Law of cosines, clamped: near the touch cases rounding can pass +-1.
        const double alpha = ClampedAcos((r1 * r1 + d * d - r2 * r2) / (2.0 * r1 * d));
        angle1 = base + alpha;
        angle2 = base - alpha;
        return 2;
    }
    if (code)
        *code = r1 + r2 > d ? 0 : (r2 < r1 ? 1 : -1);
    return 0;
}

int circle2d::IntersectPoints(const circle2d& other, point2d& p1, point2d& p2, int* code) const
{
    double a1 = 0.0, a2 = 0.0;
    const int n = IntersectAngles(other, a1, a2, code);
    if (n >= 1)
        p1 = PointAt(a1);
    if (n == 2)
        p2 = PointAt(a2);
    return n;
}

} // namespace qrxGe
