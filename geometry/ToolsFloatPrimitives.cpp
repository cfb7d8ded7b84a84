// The single-precision plan primitives of CTools: segment azimuth, crossing of two lines in
// slope form, point against polygon, and point de-duplication with sorting.
//
// These routines serve the pitched-roof generator, whose results were tuned against them,
// so the mix of float and double is deliberate: differences and quotients are stored in
// float locals and then compared with double constants, exactly as written. Do not make
// them all-float or all-double.
#include <cmath>
#include <utility>
#include <vector>

#include "PlanLines.h"
#include "PlanRegionRelation.h"
#include "Tools.h"

namespace {

using tools::kHalfPi;
using tools::kPi;
using tools::kThreeHalfPi;
using tools::kTwoPi;
using tools::LineKind;
using SlopeForm = tools::SlopeForm<float>;

// The answer for parallel lines.
constexpr float kParallel = 111.0f;

// Vertical when the x differ by less than 1.0, then horizontal when the y do (a segment
// short in both directions counts as horizontal); otherwise sloped, also when a difference
// is exactly 1.0.
SlopeForm ToSlopeForm(float xa, float ya, float xb, float yb)
{
    const float dx = std::fabs(xa - xb);
    const float dy = std::fabs(ya - yb);
    if (dy < 1.0)
        return {LineKind::Horizontal};
    if (dx < 1.0)
        return {LineKind::Vertical};
    return tools::SlopedLine(xa, ya, xb, yb);
}

// Swaps entries i and j of the five parallel arrays.
void SwapEntries(float* x, float* y, float* z, int* a, int* b, int i, int j)
{
    std::swap(x[i], x[j]);
    std::swap(y[i], y[j]);
    std::swap(z[i], z[j]);
    std::swap(a[i], a[j]);
    std::swap(b[i], b[j]);
}

}  // namespace

tools::PlanCrossing tools::CrossInPlan(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                                       float& x, float& y)
{
    const SlopeForm l1 = ToSlopeForm(x1, y1, x2, y2);
    const SlopeForm l2 = ToSlopeForm(x3, y3, x4, y4);
    if (tools::AreParallel(l1, l2))
        return PlanCrossing::Parallel;
    return tools::CrossLines(l1, x1, y1, l2, x3, y3, x, y) ? PlanCrossing::General : PlanCrossing::AxisCase;
}

float CTools::baaf(float x1, float y1, float x2, float y2)
{
    const float adx = std::fabs(x1 - x2);
    const float ady = std::fabs(y1 - y2);
    float result = 0.0f;
    if (x1 < x2 - 0.1 && y1 < y2 - 0.1) {
        const float q = (y2 - y1) / (x2 - x1);
        const float t = std::atan(q);
        result = t;
    } else if (x2 < x1 - 0.1 && y1 < y2 - 0.1) {
        const float q = (y2 - y1) / (x1 - x2);
        const float t = std::atan(q);
        result = kPi - t;
    } else if (x2 < x1 - 0.1 && y2 < y1 - 0.1) {
        const float q = (y1 - y2) / (x1 - x2);
        const float t = std::atan(q);
        result = kPi + t;
    } else if (x1 < x2 - 0.1 && y2 < y1 - 0.1) {
        const float q = (y1 - y2) / (x2 - x1);
        const float t = std::atan(q);
        result = kTwoPi - t;
    } else if (x1 < x2 - 0.1 && ady < 0.1) {
        result = 0.0f;
    } else if (x2 < x1 - 0.1 && ady < 0.1) {
        result = kPi;
    } else if (adx < 0.1 && y1 < y2 - 0.1) {
        result = kHalfPi;
    } else if (adx < 0.1 && y2 < y1 - 0.1) {
        result = kThreeHalfPi;
    }
    return result;
}

void CTools::xianjiaodianzcx(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                             float& x, float& y, float& flag)
{
    switch (tools::CrossInPlan(x1, y1, x2, y2, x3, y3, x4, y4, x, y)) {
    case tools::PlanCrossing::Parallel:
        x = kParallel;
        y = kParallel;
        break;
    case tools::PlanCrossing::General:
        flag = 0.0f;
        break;
    case tools::PlanCrossing::AxisCase:
        break;
    }
}

int CTools::dianquanliwaizcx(float px, float py, const float* xs, const float* ys, int n, float tol)
{
    // The arrays are 1-based.
    const auto corner = [xs, ys](int i) { return tools::PlanCorner<float>{xs[i + 1], ys[i + 1]}; };
    return tools::PlanRegionRelation(px, py, n, corner, tol);
}

void CTools::paixuzcx(int order, int key, float* x, float* y, float* z, int* a, int* b, int& n)
{
    // Points within 1.0 of an earlier kept point on all three axes are dropped; a dropped
    // point drops nothing itself. The flags grow with n: there is no fixed cap.
    std::vector<bool> dropped(n > 0 ? static_cast<std::size_t>(n) + 1 : 1, false);
    for (int i = 1; i <= n; ++i) {
        if (dropped[i])
            continue;
        for (int j = i + 1; j <= n; ++j) {
            if (dropped[j])
                continue;
            const float ex = std::fabs(x[j] - x[i]);
            const float ey = std::fabs(y[j] - y[i]);
            const float ez = std::fabs(z[j] - z[i]);
            if (ex < 1.0 && ey < 1.0 && ez < 1.0)
                dropped[j] = true;
        }
    }
    int kept = 0;
    for (int i = 1; i <= n; ++i) {
        if (dropped[i])
            continue;
        ++kept;
        x[kept] = x[i];
        y[kept] = y[i];
        z[kept] = z[i];
        a[kept] = a[i];
        b[kept] = b[i];
    }
    n = kept;

    const float* keys = key == 1 ? x : key == 2 ? y : key == 3 ? z : nullptr;
    if (keys == nullptr || (order != 1 && order != 2))
        return;
    // A stable bubble sort: equal keys never swap.
    for (bool swapped = n - 1 >= 1; swapped;) {
        swapped = false;
        for (int k = 1; k <= n - 1; ++k) {
            const bool outOfOrder = order == 1 ? keys[k + 1] < keys[k] : keys[k] < keys[k + 1];
            if (outOfOrder) {
                SwapEntries(x, y, z, a, b, k, k + 1);
                swapped = true;
            }
        }
    }
}
