#pragma once
// Plane points and free vectors in double precision. Points and vectors compare equal when
// each coordinate differs by less than 0.1 (strict).

#include "qrxGeScalar.h"
#include "qrxGePoint3d.h"

#include <cmath>

namespace qrxGe {

struct point2d;

struct vector2d {
    double x = 0.0;
    double y = 0.0;

    constexpr vector2d() = default;
    constexpr vector2d(double vx, double vy) : x(vx), y(vy) {}
    vector2d(const point2d& from, const point2d& to);
    explicit vector2d(double angle) : x(std::cos(angle)), y(std::sin(angle)) {}

    vector2d& Set(double vx, double vy) { x = vx; y = vy; return *this; }
    vector2d& SetFromPoints(const point2d& from, const point2d& to);
    vector2d& SetFromAngle(double angle) { return Set(std::cos(angle), std::sin(angle)); }

    bool operator==(const vector2d& v) const { return IsEqual(x, v.x) && IsEqual(y, v.y); }
    bool operator!=(const vector2d& v) const { return !(*this == v); }

    double Angle() const { return FoldAngle(std::atan2(y, x)); }
    double Length() const { return std::sqrt(x * x + y * y); }
    double LengthSquared() const { return x * x + y * y; }
    // No zero test: a zero vector gives NaN components, the caller's to avoid.
    vector2d UnitVector() const { const double l = Length(); return {x / l, y / l}; }
    vector2d& Normalize() { return *this = UnitVector(); }
    bool IsNormalized() const { return std::fabs(Length() - 1.0) < 0.01; }
    bool IsNonZero() const { return std::fabs(x) >= 1e-10 || std::fabs(y) >= 1e-10; }

    vector2d operator*(double s) const { return {x * s, y * s}; }
    vector2d& operator*=(double s) { x *= s; y *= s; return *this; }
    vector2d operator/(double s) const { return {x / s, y / s}; }
    vector2d& operator/=(double s) { x /= s; y /= s; return *this; }
    vector2d operator+(const vector2d& v) const { return {x + v.x, y + v.y}; }
    vector2d& operator+=(const vector2d& v) { x += v.x; y += v.y; return *this; }
    vector2d operator-(const vector2d& v) const { return {x - v.x, y - v.y}; }
    vector2d& operator-=(const vector2d& v) { x -= v.x; y -= v.y; return *this; }
    vector2d operator-() const { return *this * -1.0; }
    vector2d& Negate() { x = -x; y = -y; return *this; }
    double operator[](int i) const { return i == 0 ? x : y; }
    double& operator[](int i) { return i == 0 ? x : y; }

    // Turns the vector counter-clockwise by angle (through the rotation matrix).
    vector2d& RotateBy(double angle);
    double DotProduct(const vector2d& v) const { return x * v.x + y * v.y; }
    double CrossProduct(const vector2d& v) const { return x * v.y - y * v.x; }
    // Counter-clockwise angle from this vector to v, in [0, 2*pi).
    double AngleTo(const vector2d& v) const;
    // Unsigned angle between the two, in [0, pi].
    double AngleBetween(const vector2d& v) const;
    vector2d Perpendicular() const { return {-y, x}; }
};

inline vector2d operator*(double s, const vector2d& v) { return v * s; }

struct point2d {
    double x = 0.0;
    double y = 0.0;

    constexpr point2d() = default;
    constexpr point2d(double px, double py) : x(px), y(py) {}

    point2d& Set(double px, double py) { x = px; y = py; return *this; }

    bool IsEqualTo(const point2d& p) const { return IsEqual(x, p.x) && IsEqual(y, p.y); }
    bool operator==(const point2d& p) const { return IsEqualTo(p); }
    bool operator!=(const point2d& p) const { return !IsEqualTo(p); }

    double DistanceTo(const point2d& p) const
    {
        const double dx = p.x - x, dy = p.y - y;
        return std::sqrt(dx * dx + dy * dy);
    }
    double Angle() const { return FoldAngle(std::atan2(y, x)); }
    // Direction angle from this point to p, in [0, 2*pi).
    double AngleTo(const point2d& p) const { return FoldAngle(std::atan2(p.y - y, p.x - x)); }

    point2d operator*(double s) const { return {x * s, y * s}; }
    point2d& operator*=(double s) { x *= s; y *= s; return *this; }
    point2d operator/(double s) const { return {x / s, y / s}; }
    point2d& operator/=(double s) { x /= s; y /= s; return *this; }
    point2d operator+(const point2d& p) const { return {x + p.x, y + p.y}; }
    point2d& operator+=(const point2d& p) { x += p.x; y += p.y; return *this; }
    vector2d operator-(const point2d& p) const { return {x - p.x, y - p.y}; }
    point2d& operator-=(const point2d& p) { x -= p.x; y -= p.y; return *this; }
    point2d operator+(const vector2d& v) const { return {x + v.x, y + v.y}; }
    point2d& operator+=(const vector2d& v) { x += v.x; y += v.y; return *this; }
    point2d operator-(const vector2d& v) const { return {x - v.x, y - v.y}; }
    point2d& operator-=(const vector2d& v) { x -= v.x; y -= v.y; return *this; }
    point2d operator-() const { return {-x, -y}; }
    double operator[](int i) const { return i == 0 ? x : y; }
    double& operator[](int i) { return i == 0 ? x : y; }

    point3d To3d(double z) const { return {x, y, z}; }
};

inline point2d operator*(double s, const point2d& p) { return p * s; }

inline vector2d::vector2d(const point2d& from, const point2d& to) : x(to.x - from.x), y(to.y - from.y) {}

inline vector2d& vector2d::SetFromPoints(const point2d& from, const point2d& to)
{
    return Set(to.x - from.x, to.y - from.y);
}

inline constexpr point2d kOrigin2d{0.0, 0.0};
inline constexpr vector2d kZeroVector2d{0.0, 0.0};
inline constexpr vector2d kXAxis2d{1.0, 0.0};
inline constexpr vector2d kYAxis2d{0.0, 1.0};

} // namespace qrxGe
