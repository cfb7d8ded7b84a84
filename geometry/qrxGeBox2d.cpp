#include "qrxGeBox2d.h"

#include "qrxGeCircle2d.h"
#include "qrxGeEdge2d.h"

#include <algorithm>

namespace qrxGe {

box2d& box2d::Set(const point2d& p, double x, double y)
{
    min_.Set(std::min(p.x, x), std::min(p.y, y));
    max_.Set(std::max(p.x, x), std::max(p.y, y));
    return *this;
}

box2d& box2d::Set(const circle2d& c)
{
    const point2d centre = c.Center();
    const vector2d half(c.Radius(), c.Radius());
    min_ = centre - half;
    max_ = centre + half;
    return *this;
}

box2d& box2d::Set(std::span<const point2d> points)
{
    if (points.empty()) {
        *this = box2d();
        return *this;
    }
    Set(points.front());
    for (const point2d& p : points.subspan(1))
        Extend(p);
    return *this;
}

box2d& box2d::Expand(double d)
{
    max_ += vector2d(d, d);
    min_ -= vector2d(d, d);
    return *this;
}

box2d& box2d::Extend(const box2d& b)
{
    max_.Set(std::max(max_.x, b.max_.x), std::max(max_.y, b.max_.y));
    min_.Set(std::min(min_.x, b.min_.x), std::min(min_.y, b.min_.y));
    return *this;
}

box2d& box2d::Extend(const point2d& p)
{
    max_.Set(std::max(max_.x, p.x), std::max(max_.y, p.y));
    min_.Set(std::min(min_.x, p.x), std::min(min_.y, p.y));
    return *this;
}

bool box2d::Contains(const point2d& p) const
{
    return p.x - max_.x <= 0.01 && p.y - max_.y <= 0.01 && p.x - min_.x >= -0.01 &&
           p.y - min_.y >= -0.01;
}

bool box2d::Encloses(const box2d& b) const
{
    return max_.x - b.max_.x > -0.01 && max_.y - b.max_.y > -0.01 && min_.x - b.min_.x < 0.01 &&
           min_.y - b.min_.y < 0.01;
}

bool box2d::Overlaps(const box2d& b) const
{
    return b.max_.x - min_.x >= -0.01 && b.min_.x - max_.x <= 0.01 && b.max_.y - min_.y >= -0.01 &&
           b.min_.y - max_.y <= 0.01;
}

namespace {

// 1 before the box's range, 3 beyond it, 2 within (0.01 band).
int RangeClass(double v, double lo, double hi)
{
    if (v - lo < -0.01)
        return 1;
    if (v - hi > 0.01)
        return 3;
    return 2;
}

} // namespace

bool box2d::IntersectsSegment(const edge2d& s) const
{
    if (!Overlaps(s.BoundingBox()))
        return false;
    const point2d a = s.StartPoint(), b = s.EndPoint();
    const int ax = RangeClass(a.x, min_.x, max_.x), ay = RangeClass(a.y, min_.y, max_.y);
    const int bx = RangeClass(b.x, min_.x, max_.x), by = RangeClass(b.y, min_.y, max_.y);
    if ((ax == 2 && bx == 2) || (ay == 2 && by == 2) || (ax == 2 && ay == 2) || (bx == 2 && by == 2))
        return true;
    // Both ends lie outside and the segment is not confined to one band: a straight segment
    // that meets the box then crosses the bottom, right or top side; the left one adds nothing.
    const point2d lowerRight(max_.x, min_.y), upperLeft(min_.x, max_.y);
    point2d crossing;
    return edge2d(min_, lowerRight).GetIntersection(s, crossing) ||
           edge2d(lowerRight, max_).GetIntersection(s, crossing) ||
           edge2d(max_, upperLeft).GetIntersection(s, crossing);
}

bool box2d::IntersectsCircle(const point2d& c, double r) const
{
    if (Contains(c)) {
        return c.x - r < min_.x + 0.01 || c.x + r > max_.x - 0.01 || c.y - r < min_.y + 0.01 ||
               c.y + r > max_.y - 0.01;
    }
    if (c.x + r < min_.x - 0.01 || c.x - r > max_.x + 0.01 || c.y + r < min_.y - 0.01 ||
        c.y - r > max_.y + 0.01)
        return false;
    if ((c.x - min_.x > -0.01 && c.x - max_.x < 0.01) || (c.y - min_.y > -0.01 && c.y - max_.y < 0.01))
        return true;
    const point2d corner(c.x < min_.x ? min_.x : max_.x, c.y < min_.y ? min_.y : max_.y);
    return c.DistanceTo(corner) < r - 0.01;
}

bool box2d::IntersectsCircle(const circle2d& c) const
{
    return IntersectsCircle(c.Center(), c.Radius());
}

} // namespace qrxGe
