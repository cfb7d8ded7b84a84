#pragma once
// A point in space, as the plane library hands it to three-dimensional callers.

#include "qrxGeScalar.h"

#include <cmath>

namespace qrxGe {

struct point3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr point3d() = default;
    constexpr point3d(double px, double py, double pz) : x(px), y(py), z(pz) {}

    point3d& Set(double px, double py, double pz) { x = px; y = py; z = pz; return *this; }
    double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

    bool operator==(const point3d& p) const { return IsEqual(x, p.x) && IsEqual(y, p.y) && IsEqual(z, p.z); }
    bool operator!=(const point3d& p) const { return !(*this == p); }

    double DistanceTo(const point3d& p) const
    {
        const double dx = p.x - x, dy = p.y - y, dz = p.z - z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    }

    point3d operator-() const { return {-x, -y, -z}; }
    point3d operator*(double s) const { return {x * s, y * s, z * s}; }
    point3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    point3d operator/(double s) const { return {x / s, y / s, z / s}; }
    point3d& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
    point3d operator+(const point3d& p) const { return {x + p.x, y + p.y, z + p.z}; }
    point3d& operator+=(const point3d& p) { x += p.x; y += p.y; z += p.z; return *this; }
    point3d operator-(const point3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    point3d& operator-=(const point3d& p) { x -= p.x; y -= p.y; z -= p.z; return *this; }
};

inline point3d operator*(double s, const point3d& p) { return p * s; }

inline constexpr point3d kOrigin3d{0.0, 0.0, 0.0};

} // namespace qrxGe
