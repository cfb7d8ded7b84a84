#include "IntersectSegments2d.h"

#include <cmath>

namespace {

// Lines whose slopes give a tangent of the angle between them under this are parallel.
constexpr double kParallelTangent = 0.0017;
// Below this |1 + k1·k2| the lines are nearly perpendicular and the tangent test is skipped.
constexpr double kPerpendicular = 1e-5;

bool StrictlyBetween(double v, double a, double b) { return (a < v && v < b) || (b < v && v < a); }

// 3 when the point lies strictly inside the segment's x or, failing that, y range; else 0.
int InsideCode(double x, double y, double xa, double ya, double xb, double yb)
{
    if (StrictlyBetween(x, xa, xb))
        return 3;
    return StrictlyBetween(y, ya, yb) ? 3 : 0;
}

}  // namespace

int IntersectSegments2d(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                        double tol, double& x, double& y, int& code1, int& code2)
{
    const double dx1 = std::fabs(x1 - x2);
    const double dx2 = std::fabs(x3 - x4);
    if ((dx1 <= tol && dx2 <= tol) || (std::fabs(y1 - y2) <= tol && std::fabs(y3 - y4) <= tol)) {
        code1 = code2 = -1;
        return 0;
    }

    double px = 0.0;
    double py = 0.0;
    if (dx1 < tol && dx2 > tol) {
        const double k2 = (y3 - y4) / (x3 - x4);
        px = x1;
        py = y3 + (x1 - x3) * k2;
    } else if (dx2 <= tol && dx1 > tol) {
        const double k1 = (y1 - y2) / (x1 - x2);
        px = x3;
        py = y1 + k1 * (x3 - x1);
    } else if (dx1 > tol && dx2 > tol) {
        const double k1 = (y1 - y2) / (x1 - x2);
        const double k2 = (y3 - y4) / (x3 - x4);
        const double across = 1 + k1 * k2;
        if (std::fabs(across) > kPerpendicular && std::fabs((k1 - k2) / across) < kParallelTangent) {
            code1 = code2 = -1;
            return 0;
        }
        px = (k1 * x1 - k2 * x3 + y3 - y1) / (k1 - k2);
        py = y1 + k1 * (px - x1);
    } else {
        // The first segment's x extent is exactly tol (or a coordinate is not a number): no
        // case above decides, so no crossing is claimed.
        code1 = code2 = 0;
        return 0;
    }
    x = px;
    y = py;

    const double d1 = std::hypot(px - x1, py - y1);
    const double d2 = std::hypot(px - x2, py - y2);
    code1 = 0;
    if (d1 <= tol && d1 <= d2)
        code1 = 1;
    if (d2 <= tol && d1 >= d2)
        code1 = 2;
    if (code1 == 0)
        code1 = InsideCode(px, py, x1, y1, x2, y2);

    const double d3 = std::hypot(px - x3, py - y3);
    const double d4 = std::hypot(px - x4, py - y4);
    if (d3 < tol && d3 < d4)
        code2 = 1;
    else if (d4 < tol && d3 > d4)
        code2 = 2;
    else
        code2 = InsideCode(px, py, x3, y3, x4, y4);
    return 1;
}
