#include "qrxGePoint2d.h"

#include "qrxGeMatrix.h"

namespace qrxGe {

vector2d& vector2d::RotateBy(double angle)
{
    return *this = matrix3x3().SetToRotation(angle, kOrigin2d).TransformVector(*this);
}

double vector2d::AngleBetween(const vector2d& v) const
{
    // Clamped: for (anti)parallel vectors rounding can push the cosine past +-1.
    return ClampedAcos(DotProduct(v) / (Length() * v.Length()));
}

double vector2d::AngleTo(const vector2d& v) const
{
    const double t = AngleBetween(v);
    return CrossProduct(v) < 0.0 ? kTwoPi - t : t;
}

} // namespace qrxGe
