#pragma once
// Circle of the plane. Radius 0 marks a circle whose construction failed.

#include "qrxGeBox2d.h"
#include "qrxGePoint2d.h"

#include <span>
#include <vector>

namespace qrxGe {

class edge2d;
class matrix3x3;

class circle2d {
public:
    circle2d() = default;
    circle2d(const point2d& centre, double radius) : centre_(centre), radius_(radius) {}
    // Through three points; radius 0 and centre (0,0) when the points are (nearly) collinear.
    circle2d(const point2d& p1, const point2d& p2, const point2d& p3) { Set(p1, p2, p3); }

    circle2d& Set(const point2d& centre, double radius);
    // Through three points; on failure the radius becomes 0 and the centre stays as it was.
    circle2d& Set(const point2d& p1, const point2d& p2, const point2d& p3);

    const point2d& Center() const { return centre_; }
    void Center(point2d& out) const { out = centre_; }
    double Radius() const { return radius_; }
    void SetCenter(const point2d& c) { centre_ = c; }
    void SetRadius(double r) { radius_ = r; }
    void Invalidate() { radius_ = 0.0; }
    bool IsValid() const { return !(radius_ > -0.01 && radius_ < 0.01); }

    point2d PointAt(double angle) const;
    // Fills every element of points with the points at k * (2*pi / n), n = points.size().
    void SamplePoints(std::span<point2d> points) const;
    // Replaces the contents of points with n samples (none for n < 1).
    void SamplePoints(int n, std::vector<point2d>& points) const;
    // Appends n edges between consecutive samples; the vector is not emptied first.
    void SampleEdges(int n, std::vector<edge2d>& edges) const;

    double Area() const { return radius_ * kPi * radius_; }
    double Circumference() const { return radius_ * kTwoPi; }
    circle2d& TransformBy(const matrix3x3& m);
    bool Contains(const circle2d& c) const { return centre_.DistanceTo(c.centre_) + c.radius_ - radius_ < 0.1; }
    bool Contains(const point2d& p) const { return centre_.DistanceTo(p) - radius_ < 0.1; }
    bool IsPointOn(const point2d& p) const { return IsEqual(centre_.DistanceTo(p), radius_); }
    box2d BoundingBox() const { return box2d(*this); }

    // Number of meeting points 0, 1 or 2, as angles on this circle measured at its centre.
    // code (when given) is written only where a case sets it: 1 or -1 for an inner touch
    // (1 when the other circle is the smaller), and for circles that do not meet 0 when one
    // lies inside the other, else 1 when the other is the smaller and -1 otherwise.
    // Callers that read it must initialise it.
    int IntersectAngles(const circle2d& other, double& angle1, double& angle2, int* code = nullptr) const;
    // The same, as the points of this circle at those angles.
    int IntersectPoints(const circle2d& other, point2d& p1, point2d& p2, int* code = nullptr) const;

private:
    point2d centre_;
    double radius_ = 0.0;
};

} // namespace qrxGe
