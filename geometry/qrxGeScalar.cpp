#include "qrxGeScalar.h"

namespace qrxGe {

double FoldAngle(double angle)
{
    if (!std::isfinite(angle))
        return angle;
    if (angle < -64.0 * kTwoPi || angle >= 64.0 * kTwoPi)
        angle = std::fmod(angle, kTwoPi);
    while (angle < 0.0)
        angle += kTwoPi;
    while (angle >= kTwoPi)
        angle -= kTwoPi;
    return angle;
}

} // namespace qrxGe
