#pragma once
// Tolerance comparisons and angle arithmetic shared by every qrxGe type.
//
// Angles are compared and folded with the single-precision values of pi widened to double,
// never with the double-precision value: results near 0 / 2*pi must agree with the stored
// geometry the rest of the library was built against.

#include <cmath>

namespace qrxGe {

inline constexpr double kPi = 3.1415927410125732;
inline constexpr double kTwoPi = 6.2831854820251465;
inline constexpr double kHalfPi = 1.5707963705062866;
inline constexpr double kQuarterPi = 0.7853981852531433;
inline constexpr double kThreeQuarterPi = 2.356194496154785;

// Coordinates and offsets: 0.1 band, strict at both ends.
inline bool IsEqual(double a, double b) { const double d = a - b; return d > -0.1 && d < 0.1; }
inline bool IsEqual001(double a, double b) { const double d = a - b; return d > -0.01 && d < 0.01; }
inline bool IsGreaterOrEqual(double a, double b) { return a - b > -0.1; }
inline bool IsLessOrEqual(double a, double b) { return a - b < 0.1; }
inline bool IsGreater(double a, double b) { return a - b > 0.1; }
inline bool IsLess(double a, double b) { return a - b < -0.1; }
inline bool IsZero(double x) { return x > -1e-10 && x < 1e-10; }

// a and b are differences v - e1 and v - e2: true when v lies between e1 and e2, ends
// included with the 0.1 band.
inline bool SpansZero(double a, double b)
{
    if ((a > -0.1 && a < 0.1) || (b > -0.1 && b < 0.1))
        return true;
    return (a < -0.1 && b > 0.1) || (a > 0.1 && b < -0.1);
}

// The 0.01 comparisons used by boxes and the polygon templates.
inline bool ExceedsBy001(double a, double b) { return a - b > 0.01; }
inline bool IsBelowBy001(double a, double b) { return a - b < -0.01; }
inline bool IsAboveMinus001(double a, double b) { return a - b > -0.01; }
inline bool IsBelowPlus001(double a, double b) { return a - b < 0.01; }

// Folds an angle into [0, 2*pi) by whole turns of the single-precision 2*pi. A value that
// is not finite is returned as it is (the turn loops would never end), and a value many
// turns away is first brought near the range with fmod so the loops stay short.
double FoldAngle(double angle);

// angle - pi/2, folded into [0, 2*pi).
inline double AngleMinusQuarterTurn(double angle) { return FoldAngle(angle - kHalfPi); }

// acos of a cosine that rounding may have pushed just past +-1.
inline double ClampedAcos(double cosine)
{
    if (cosine > 1.0)
        return 0.0;
    if (cosine < -1.0)
        return std::acos(-1.0);
    return std::acos(cosine);
}

// True when the folded angle lies within tol (strictly) of 0, pi or 2*pi.
inline bool IsNearHalfTurnMultiple(double folded, double tol)
{
    return std::fabs(folded) < tol || std::fabs(folded - kPi) < tol ||
           std::fabs(folded - kTwoPi) < tol;
}

} // namespace qrxGe
