#pragma once
// Axis-aligned box of the plane, minimum corner first. Its tests use a 0.01 band, with a
// strictness of their own each (see the members).

#include "qrxGePoint2d.h"

#include <span>

namespace qrxGe {

class circle2d;
class edge2d;

class box2d {
public:
    box2d() = default;
    // From one corner and the other corner's x and y, in any order.
    box2d(const point2d& p, double x, double y) { Set(p, x, y); }
    explicit box2d(const circle2d& c) { Set(c); }
    // The extent of the points; one point gives a box of that point, none the default box.
    explicit box2d(std::span<const point2d> points) { Set(points); }

    box2d& Set(const point2d& p, double x, double y);
    box2d& Set(const circle2d& c);
    box2d& Set(std::span<const point2d> points);
    box2d& Set(const point2d& p) { min_ = max_ = p; return *this; }

    const point2d& MinPoint() const { return min_; }
    const point2d& MaxPoint() const { return max_; }

    point2d Center() const { return {(max_.x + min_.x) * 0.5, (max_.y + min_.y) * 0.5}; }
    box2d& Expand(double d);
    box2d& Extend(const box2d& b);
    box2d& Extend(const point2d& p);

    // p inside, the 0.01 band included.
    bool Contains(const point2d& p) const;
    // b inside this box; the 0.01 band is strict.
    bool Encloses(const box2d& b) const;
    // The boxes share area or touch, the 0.01 band included.
    bool Overlaps(const box2d& b) const;
    // Overlaps, and neither box encloses the other.
    bool Crosses(const box2d& b) const { return Overlaps(b) && !Encloses(b) && !b.Encloses(*this); }
    bool IntersectsSegment(const edge2d& s) const;
    // Not an area test: a circle wholly inside the box does not intersect it; true only
    // when the circle reaches a side (within 0.01).
    bool IntersectsCircle(const point2d& c, double r) const;
    bool IntersectsCircle(const circle2d& c) const;

private:
    point2d min_;
    point2d max_;
};

} // namespace qrxGe
