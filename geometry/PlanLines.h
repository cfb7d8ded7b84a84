#pragma once
// Plan lines in slope form, shared by the toolkit's crossing routines in single and double
// precision: the single-precision crossing of two lines, the double-precision splitter and
// the plan-crossing splitters of the pitched-roof generator. Each routine classifies its
// lines with its own thresholds; what they share is the kind of a line, the parallel test
// and the case list that finds the crossing, all worked in the routine's coordinate type.
#include <cmath>

namespace tools {

// The angle constants of the single-precision routines, stored in float (pi comes back as
// 3.1415925).
inline constexpr float kPi = 3.1415926;
inline constexpr float kTwoPi = 6.2831852;
inline constexpr float kHalfPi = 1.5707963;
inline constexpr float kThreeHalfPi = 4.7123889;

// How a line through two points is held in slope form. The kind is kept apart from the
// slope so that a genuinely steep or shallow line whose slope happens to be 555 or 666 is
// not mistaken for a vertical or horizontal one.
enum class LineKind { Vertical, Horizontal, Sloped };

template <typename T>
struct SlopeForm {
    LineKind kind = LineKind::Sloped;
    T k = 0;
    T b = 0;
};

// The sloped line through (pa, qa) and (pb, qb): q = k p + b.
template <typename T>
SlopeForm<T> SlopedLine(T pa, T qa, T pb, T qb)
{
    SlopeForm<T> line{LineKind::Sloped};
    line.k = (qb - qa) / (pb - pa);
    line.b = qa - line.k * pa;
    return line;
}

// Two lines of one axis kind, or two sloped lines whose slopes differ by less than 0.0002
// (the difference stored in T).
template <typename T>
bool AreParallel(const SlopeForm<T>& l1, const SlopeForm<T>& l2)
{
    if (l1.kind != l2.kind)
        return false;
    if (l1.kind != LineKind::Sloped)
        return true;
    const T dk = std::abs(l1.k - l2.k);
    return dk < 0.0002;
}

// The crossing (p, q) of two lines that are not parallel, line 1 through (p1, q1) and
// line 2 through (p2, q2); the first case that matches gives the point. Returns true when
// both lines are sloped (the general formula), false for the axis cases.
template <typename T>
bool CrossLines(const SlopeForm<T>& l1, T p1, T q1, const SlopeForm<T>& l2, T p2, T q2, T& p, T& q)
{
    if (l1.kind == LineKind::Vertical && l2.kind == LineKind::Horizontal) {
        p = p1;
        q = q2;
    } else if (l1.kind == LineKind::Horizontal && l2.kind == LineKind::Vertical) {
        p = p2;
        q = q1;
    } else if (l1.kind == LineKind::Vertical) {
        p = p1;
        q = l2.k * p1 + l2.b;
    } else if (l1.kind == LineKind::Horizontal) {
        p = (q1 - l2.b) / l2.k;
        q = q1;
    } else if (l2.kind == LineKind::Vertical) {
        p = p2;
        q = l1.k * p2 + l1.b;
    } else if (l2.kind == LineKind::Horizontal) {
        p = (q2 - l1.b) / l1.k;
        q = q2;
    } else {
        p = (l2.b - l1.b) / (l1.k - l2.k);
        q = (l1.k * l2.b - l2.k * l1.b) / (l1.k - l2.k);
        return true;
    }
    return false;
}

// What the single-precision crossing of two plan lines found. The exported crossing
// reports parallel lines as the point (111, 111); the roof generator, whose coordinates are
// millimetres where 111 is a real place, asks this form instead.
enum class PlanCrossing { Parallel, AxisCase, General };

// The crossing of the line through (x1, y1), (x2, y2) with the line through (x3, y3),
// (x4, y4), with CTools::xianjiaodianzcx's thresholds and case list; x and y are left
// untouched for parallel lines.
PlanCrossing CrossInPlan(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, float& x,
                         float& y);

}  // namespace tools
