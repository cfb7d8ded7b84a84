#pragma once
// Small matrices of the plane library: the 3x3 homogeneous transform (row-major, acting on
// column vectors) and the 2x2 matrix that serves as its minor.

#include "qrxGePoint2d.h"

#include <array>
#include <span>

namespace qrxGe {

class line2d;

// Matrices whose determinant lies within 1e-10 of zero count as singular for Solve. The
// threshold is absolute: a well-conditioned matrix of tiny entries is refused as well.
inline constexpr double kSingularDeterminant = 1e-10;

class matrix2x2 {
public:
    constexpr matrix2x2() = default;
    constexpr matrix2x2(double m00, double m01, double m10, double m11) : m_{m00, m01, m10, m11} {}

    matrix2x2& Set(double m00, double m01, double m10, double m11);
    double operator()(int r, int c) const { return m_[static_cast<std::size_t>(r * 2 + c)]; }
    double& operator()(int r, int c) { return m_[static_cast<std::size_t>(r * 2 + c)]; }

    matrix2x2 operator*(int k) const;
    matrix2x2& operator*=(int k);
    matrix2x2 operator-() const;

    double Determinant() const { return m_[0] * m_[3] - m_[1] * m_[2]; }
    matrix2x2 ReplaceColumn(int c, double v0, double v1) const;
    // Cramer's rule; false with x untouched when the matrix is singular.
    bool Solve(std::span<const double, 2> b, std::span<double, 2> x) const;

private:
    std::array<double, 4> m_{}; // zeroed, so a default matrix never reads as garbage
};

double Determinant2x2(double a, double b, double c, double d);

class matrix3x3 {
public:
    constexpr matrix3x3() : m_{1, 0, 0, 0, 1, 0, 0, 0, 1} {}
    constexpr matrix3x3(double m00, double m01, double m02, double m10, double m11, double m12,
                        double m20, double m21, double m22)
        : m_{m00, m01, m02, m10, m11, m12, m20, m21, m22} {}

    matrix3x3& Set(double m00, double m01, double m02, double m10, double m11, double m12,
                   double m20, double m21, double m22);
    matrix3x3& SetToIdentity() { return *this = matrix3x3(); }
    double operator()(int r, int c) const { return m_[static_cast<std::size_t>(r * 3 + c)]; }
    double& operator()(int r, int c) { return m_[static_cast<std::size_t>(r * 3 + c)]; }

    // Element-wise arithmetic.
    matrix3x3 operator+(const matrix3x3& b) const;
    matrix3x3& operator+=(const matrix3x3& b);
    matrix3x3 operator-(const matrix3x3& b) const;
    matrix3x3& operator-=(const matrix3x3& b);
    matrix3x3 operator*(double s) const;
    matrix3x3& operator*=(double s);
    matrix3x3 operator/(double s) const;
    matrix3x3& operator/=(double s);
    // Integer scaling forwards to the double one (same value); a long or unsigned argument
    // is ambiguous between the two on purpose.
    matrix3x3 operator*(int k) const { return *this * static_cast<double>(k); }
    matrix3x3& operator*=(int k) { return *this *= static_cast<double>(k); }
    matrix3x3 operator-() const { return *this * -1.0; }

    // Matrix product: (A*B)(r,c) = sum over k of A(r,k)*B(k,c).
    matrix3x3 operator*(const matrix3x3& b) const;
    matrix3x3& operator*=(const matrix3x3& b) { return PostMultiplyBy(b); }
    matrix3x3& PostMultiplyBy(const matrix3x3& b) { return *this = *this * b; }
    matrix3x3& PreMultiplyBy(const matrix3x3& b) { return *this = b * *this; }

    point2d TransformPoint(const point2d& p) const;
    vector2d TransformVector(const vector2d& v) const;

    // Every element within 0.01.
    bool operator==(const matrix3x3& b) const;
    bool operator!=(const matrix3x3& b) const { return !(*this == b); }

    vector2d Translation() const { return {m_[2], m_[5]}; }
    matrix3x3& SetToTranslation(const vector2d& v);
    matrix3x3& SetToRotation(double angle, const point2d& center = kOrigin2d);
    matrix3x3& SetToScaling(double s, const point2d& center = kOrigin2d);
    matrix3x3& SetToScaling(double sx, double sy, const point2d& center = kOrigin2d);
    matrix3x3& SetToPointMirroring(const point2d& center);
    matrix3x3& SetToLineMirroring(const point2d& p, const vector2d& d);
    matrix3x3& SetToWorldToFrame(const point2d& origin, const vector2d& axis, bool rightHanded = true);
    matrix3x3& SetToFrameToWorld(const point2d& origin, const vector2d& axis);
    // Frame records: origin x, y; first axis x, y; second axis x, y (axes taken as given).
    matrix3x3& SetToWorldToFrame(std::span<const double, 6> frame);
    matrix3x3& SetToFrameToWorld(std::span<const double, 6> frame);
    // Maps p to R(-t)(p - w), t the turn from the first line's direction to the second's,
    // w the step from the first origin to the second.
    matrix3x3& SetToAlignment(const line2d& from, const line2d& to);
    matrix3x3& SetToAlignment(const point2d& fromOrigin, const vector2d& fromDir,
                              const point2d& toOrigin, const vector2d& toDir);

    // this = (transform) * this: the transform is applied after the present one.
    matrix3x3& TranslateBy(const vector2d& v);
    matrix3x3& RotateBy(double angle, const point2d& center = kOrigin2d);
    matrix3x3& ScaleBy(double s, const point2d& center = kOrigin2d);
    matrix3x3& ScaleBy(double sx, double sy, const point2d& center = kOrigin2d);

    double RotationAngle() const { return TransformVector(kXAxis2d).Angle(); }
    double ScaleFactor() const { return TransformVector(kXAxis2d).Length(); }
    bool HasOrthogonalAxes() const;
    bool HasEqualScale() const;
    bool IsConformal() const { return HasOrthogonalAxes() && HasEqualScale(); }

    double Determinant() const;
    // The matrix without row r and column c, its first row negated when r + c is odd, so
    // that its determinant is the cofactor of (r, c).
    matrix2x2 Minor(int r, int c) const;
    matrix3x3 ReplaceColumn(int c, double v0, double v1, double v2) const;
    // Cramer's rule; false with x untouched when the matrix is singular.
    bool Solve(std::span<const double, 3> b, std::span<double, 3> x) const;

    matrix3x3& Transpose();
    matrix3x3 Transposed() const { matrix3x3 t = *this; return t.Transpose(); }
    // Adjugate over the determinant. A singular matrix gives inf/NaN elements; test the
    // determinant first where that can happen.
    matrix3x3& Invert();
    matrix3x3 Inverse() const { matrix3x3 t = *this; return t.Invert(); }

private:
    std::array<double, 9> m_;
};

double Determinant3x3(double m00, double m01, double m02, double m10, double m11, double m12,
                      double m20, double m21, double m22);

inline constexpr matrix3x3 kIdentity3x3{};

} // namespace qrxGe
