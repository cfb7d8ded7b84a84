#include "qrxGeMatrix.h"

#include "qrxGeLine2d.h"

#include <cmath>
#include <utility>

namespace qrxGe {

// ---- matrix2x2 -------------------------------------------------------------------------

matrix2x2& matrix2x2::Set(double m00, double m01, double m10, double m11)
{
    m_ = {m00, m01, m10, m11};
    return *this;
}

matrix2x2 matrix2x2::operator*(int k) const
{
    matrix2x2 r = *this;
    return r *= k;
}

matrix2x2& matrix2x2::operator*=(int k)
{
    for (double& e : m_)
        e *= static_cast<double>(k);
    return *this;
}

matrix2x2 matrix2x2::operator-() const
{
    return {-m_[0], -m_[1], -m_[2], -m_[3]};
}

matrix2x2 matrix2x2::ReplaceColumn(int c, double v0, double v1) const
{
    matrix2x2 r = *this;
    r(0, c) = v0;
    r(1, c) = v1;
    return r;
}

bool matrix2x2::Solve(std::span<const double, 2> b, std::span<double, 2> x) const
{
    const double d = Determinant();
    if (d > -kSingularDeterminant && d < kSingularDeterminant)
        return false;
    for (int i = 0; i < 2; ++i)
        x[static_cast<std::size_t>(i)] = ReplaceColumn(i, b[0], b[1]).Determinant() / d;
    return true;
}

double Determinant2x2(double a, double b, double c, double d)
{
    return a * d - b * c;
}

// ---- matrix3x3: element-wise -----------------------------------------------------------

matrix3x3& matrix3x3::Set(double m00, double m01, double m02, double m10, double m11, double m12,
                          double m20, double m21, double m22)
{
    m_ = {m00, m01, m02, m10, m11, m12, m20, m21, m22};
    return *this;
}

matrix3x3 matrix3x3::operator+(const matrix3x3& b) const
{
    matrix3x3 r = *this;
    return r += b;
}

matrix3x3& matrix3x3::operator+=(const matrix3x3& b)
{
    for (std::size_t i = 0; i < 9; ++i)
        m_[i] += b.m_[i];
    return *this;
}

matrix3x3 matrix3x3::operator-(const matrix3x3& b) const
{
    matrix3x3 r = *this;
    return r -= b;
}

matrix3x3& matrix3x3::operator-=(const matrix3x3& b)
{
    for (std::size_t i = 0; i < 9; ++i)
        m_[i] -= b.m_[i];
    return *this;
}

matrix3x3 matrix3x3::operator*(double s) const
{
    matrix3x3 r = *this;
    return r *= s;
}

matrix3x3& matrix3x3::operator*=(double s)
{
    for (double& e : m_)
        e *= s;
    return *this;
}

matrix3x3 matrix3x3::operator/(double s) const
{
    matrix3x3 r = *this;
    return r /= s;
}

matrix3x3& matrix3x3::operator/=(double s)
{
    for (double& e : m_)
        e /= s;
    return *this;
}

matrix3x3 matrix3x3::operator*(const matrix3x3& b) const
{
    matrix3x3 r(0, 0, 0, 0, 0, 0, 0, 0, 0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                r(i, j) += (*this)(i, k) * b(k, j);
    return r;
}

point2d matrix3x3::TransformPoint(const point2d& p) const
{
    return {m_[0] * p.x + m_[1] * p.y + m_[2], m_[3] * p.x + m_[4] * p.y + m_[5]};
}

vector2d matrix3x3::TransformVector(const vector2d& v) const
{
    return {m_[0] * v.x + m_[1] * v.y, m_[3] * v.x + m_[4] * v.y};
}

bool matrix3x3::operator==(const matrix3x3& b) const
{
    for (std::size_t i = 0; i < 9; ++i)
        if (!IsEqual001(m_[i], b.m_[i]))
            return false;
    return true;
}

// ---- matrix3x3: transforms -------------------------------------------------------------

matrix3x3& matrix3x3::SetToTranslation(const vector2d& v)
{
    return Set(1, 0, v.x, 0, 1, v.y, 0, 0, 1);
}

matrix3x3& matrix3x3::SetToRotation(double angle, const point2d& c)
{
    const double cs = std::cos(angle), sn = std::sin(angle);
    return Set(cs, -sn, c.x * (1 - cs) + c.y * sn,
               sn, cs, c.y * (1 - cs) - c.x * sn,
               0, 0, 1);
}

matrix3x3& matrix3x3::SetToScaling(double s, const point2d& c)
{
    return SetToScaling(s, s, c);
}

matrix3x3& matrix3x3::SetToScaling(double sx, double sy, const point2d& c)
{
    return Set(sx, 0, c.x * (1 - sx), 0, sy, c.y * (1 - sy), 0, 0, 1);
}

matrix3x3& matrix3x3::SetToPointMirroring(const point2d& c)
{
    return Set(-1, 0, 2 * c.x, 0, -1, 2 * c.y, 0, 0, 1);
}

matrix3x3& matrix3x3::SetToLineMirroring(const point2d& p, const vector2d& d)
{
    // Turn d onto the x axis, flip y, turn back; translations by -p before and +p after.
    const vector2d u = d.UnitVector();
    const double c2 = u.x * u.x - u.y * u.y; // cos of twice the line angle
    const double s2 = 2 * u.x * u.y;         // sin of twice the line angle
    return Set(c2, s2, p.x - (c2 * p.x + s2 * p.y),
               s2, -c2, p.y - (s2 * p.x - c2 * p.y),
               0, 0, 1);
}

matrix3x3& matrix3x3::SetToWorldToFrame(const point2d& o, const vector2d& axis, bool rightHanded)
{
    const vector2d u = axis.UnitVector();
    const vector2d v = rightHanded ? u.Perpendicular() : -u.Perpendicular();
    return Set(u.x, u.y, -(u.x * o.x + u.y * o.y),
               v.x, v.y, -(v.x * o.x + v.y * o.y),
               0, 0, 1);
}

matrix3x3& matrix3x3::SetToFrameToWorld(const point2d& o, const vector2d& axis)
{
    const vector2d u = axis.UnitVector();
    const vector2d v = u.Perpendicular();
    return Set(u.x, v.x, o.x, u.y, v.y, o.y, 0, 0, 1);
}

matrix3x3& matrix3x3::SetToWorldToFrame(std::span<const double, 6> f)
{
    return Set(f[2], f[3], -(f[0] * f[2] + f[1] * f[3]),
               f[4], f[5], -(f[0] * f[4] + f[1] * f[5]),
               0, 0, 1);
}

matrix3x3& matrix3x3::SetToFrameToWorld(std::span<const double, 6> f)
{
    return Set(f[2], f[4], f[0], f[3], f[5], f[1], 0, 0, 1);
}

matrix3x3& matrix3x3::SetToAlignment(const line2d& from, const line2d& to)
{
    return SetToAlignment(from.Origin(), from.Direction(), to.Origin(), to.Direction());
}

matrix3x3& matrix3x3::SetToAlignment(const point2d& fromOrigin, const vector2d& fromDir,
                                     const point2d& toOrigin, const vector2d& toDir)
{
    const double t = fromDir.AngleTo(toDir);
    const vector2d w = toOrigin - fromOrigin;
    const double cs = std::cos(t), sn = std::sin(t);
    return Set(cs, sn, -(w.x * cs + w.y * sn),
               -sn, cs, w.x * sn - w.y * cs,
               0, 0, 1);
}

matrix3x3& matrix3x3::TranslateBy(const vector2d& v)
{
    return PreMultiplyBy(matrix3x3().SetToTranslation(v));
}

matrix3x3& matrix3x3::RotateBy(double angle, const point2d& c)
{
    return PreMultiplyBy(matrix3x3().SetToRotation(angle, c));
}

matrix3x3& matrix3x3::ScaleBy(double s, const point2d& c)
{
    return PreMultiplyBy(matrix3x3().SetToScaling(s, c));
}

matrix3x3& matrix3x3::ScaleBy(double sx, double sy, const point2d& c)
{
    return PreMultiplyBy(matrix3x3().SetToScaling(sx, sy, c));
}

bool matrix3x3::HasOrthogonalAxes() const
{
    return std::fabs(m_[0] * m_[3] + m_[1] * m_[4]) < 0.01;
}

bool matrix3x3::HasEqualScale() const
{
    const double l1 = std::sqrt(m_[0] * m_[0] + m_[1] * m_[1]);
    const double l2 = std::sqrt(m_[3] * m_[3] + m_[4] * m_[4]);
    return IsEqual001(l1, l2);
}

// ---- matrix3x3: determinants, minors, solving ------------------------------------------

double matrix3x3::Determinant() const
{
    return Determinant3x3(m_[0], m_[1], m_[2], m_[3], m_[4], m_[5], m_[6], m_[7], m_[8]);
}

double Determinant3x3(double m00, double m01, double m02, double m10, double m11, double m12,
                      double m20, double m21, double m22)
{
    return m00 * m11 * m22 + m01 * m12 * m20 + m02 * m10 * m21 - m02 * m11 * m20 -
           m00 * m12 * m21 - m01 * m10 * m22;
}

matrix2x2 matrix3x3::Minor(int row, int col) const
{
    matrix2x2 m;
    for (int r = 0, mr = 0; r < 3; ++r) {
        if (r == row)
            continue;
        for (int c = 0, mc = 0; c < 3; ++c) {
            if (c == col)
                continue;
            m(mr, mc++) = (*this)(r, c);
        }
        ++mr;
    }
    if ((row + col) % 2 != 0) {
        m(0, 0) = -m(0, 0);
        m(0, 1) = -m(0, 1);
    }
    return m;
}

matrix3x3 matrix3x3::ReplaceColumn(int c, double v0, double v1, double v2) const
{
    matrix3x3 r = *this;
    r(0, c) = v0;
    r(1, c) = v1;
    r(2, c) = v2;
    return r;
}

bool matrix3x3::Solve(std::span<const double, 3> b, std::span<double, 3> x) const
{
    const double d = Determinant();
    if (d > -kSingularDeterminant && d < kSingularDeterminant)
        return false;
    for (int i = 0; i < 3; ++i)
        x[static_cast<std::size_t>(i)] = ReplaceColumn(i, b[0], b[1], b[2]).Determinant() / d;
    return true;
}

matrix3x3& matrix3x3::Transpose()
{
    std::swap(m_[1], m_[3]);
    std::swap(m_[2], m_[6]);
    std::swap(m_[5], m_[7]);
    return *this;
}

matrix3x3& matrix3x3::Invert()
{
    // Minor already carries the cofactor sign: its determinant is the cofactor, used once.
    const double det = Determinant();
    matrix3x3 adjugate;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            adjugate(c, r) = Minor(r, c).Determinant();
    return *this = adjugate / det;
}

} // namespace qrxGe
