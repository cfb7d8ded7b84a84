// The point-array polygon routines of CTools: clean-up, orientation, normal, reversal and
// comparison of point rings.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "AssertReport.h"
#include "qrxGeScalar.h"
#include "Tools.h"
#include "qrxGeRing.h"

namespace {

// Direction vectors are normalised with this tolerance; shorter vectors stay as they are.
constexpr double kUnitTol = 0.001;
// Tolerance of the turn angle measurement.
constexpr double kAngleTol = 1e-6;
// A turn is straight (or a reversal) within min(tol, kAngleCap) radians.
constexpr double kAngleCap = 0.0175;
// Half a turn as the single-precision pi widened to double: the reversal test compares
// against this value, not the double pi.
constexpr double kHalfTurn = qrxGe::kPi;
// The clean-up tolerance GetNormal applies to its copy.
constexpr double kNormalCleanTol = 1e-6;
// The line the report of GetNormal's distinct-points check names.
constexpr int kNormalCheckLine = 3324;

GeVector3d Unit(GeVector3d v)
{
    return v.Normalize(kUnitTol);
}

// Whether a vertex with incoming direction dIn and outgoing direction dOut is a real corner:
// not straight on, not turning back on itself, not at a zero-length edge.
bool IsCorner(const GeVector3d& dIn, const GeVector3d& dOut, double tol)
{
    const GeVector3d c = Unit(dIn.CrossProduct(dOut));
    if (!(c.Length() > tol))
        return false;
    const double a = dIn.AngleTo(dOut, c, kAngleTol);
    const double m = std::min(tol, kAngleCap);
    return std::fabs(a) > m && std::fabs(kHalfTurn - a) > m;
}

// Pass 1: each point is measured against the last point kept, so a run of close points
// thins out rather than vanishing.
GePoint3dArray DropNearDuplicates(const GePoint3dArray& pts, bool closed, double tol)
{
    const std::size_t n = pts.size();
    GePoint3dArray kept;
    kept.reserve(n);
    kept.push_back(pts[0]);
    for (std::size_t i = 1; i + 1 < n; ++i)
        if (pts[i].DistanceTo(kept.back()) > tol)
            kept.push_back(pts[i]);
    const GePoint3d& last = pts[n - 1];
    bool keepLast = last.DistanceTo(kept.back()) > tol;
    if (closed)
        keepLast = keepLast && last.DistanceTo(kept.front()) > tol;
    if (keepLast)
        kept.push_back(last);
    return kept;
}

// Pass 2: vertices that go straight on or turn back. The incoming direction of a middle
// vertex is always its own input edge; only the start of a ring bridges a dropped vertex.
GePoint3dArray DropStraightVertices(const GePoint3dArray& pts, bool closed, double tol)
{
    const std::size_t n = pts.size();
    GePoint3dArray kept;
    kept.reserve(n);
    GeVector3d dPrev;
    if (closed) {
        dPrev = Unit(pts[0] - pts[n - 1]);
        const GeVector3d dOut = Unit(pts[1] - pts[0]);
        if (IsCorner(dPrev, dOut, tol)) {
            kept.push_back(pts[0]);
            dPrev = dOut;
        } else {
            dPrev = Unit(pts[1] - pts[n - 1]);
        }
    } else {
        kept.push_back(pts[0]);
        dPrev = Unit(pts[1] - pts[0]);
    }
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const GeVector3d dOut = Unit(pts[i + 1] - pts[i]);
        if (IsCorner(dPrev, dOut, tol))
            kept.push_back(pts[i]);
        dPrev = dOut;
    }
    if (!closed) {
        kept.push_back(pts[n - 1]);
    } else if (!kept.empty()) {
        // The last vertex turns towards the first vertex kept in this pass. When none was
        // kept the ring is straight or a spike throughout and has no corner to aim at: the
        // last vertex goes as well.
        const GeVector3d dOut = Unit(kept.front() - pts[n - 1]);
        if (IsCorner(dPrev, dOut, tol))
            kept.push_back(pts[n - 1]);
    }
    return kept;
}

}  // namespace

void CTools::ManageGePoint3dArray(GePoint3dArray& pts, int closed, double tol)
{
    // Each pass needs two points; fewer are left as they are.
    if (pts.size() < 2)
        return;
    pts = DropNearDuplicates(pts, closed != 0, tol);
    if (pts.size() < 2)
        return;
    pts = DropStraightVertices(pts, closed != 0, tol);
}

void CTools::DropRepeatedPoints(GePoint3dArray& pts, int closed, double tol)
{
    if (pts.size() < 2)
        return;
    // Taken as an open run, every point is measured against the last one kept, so a run of
    // copies of any length leaves its first. A ring also closes back onto its first point:
    // the copies of it at the end go, however many there are.
    pts = DropNearDuplicates(pts, false, tol);
    if (closed != 0)
        while (pts.size() > 1 && !(pts.back().DistanceTo(pts.front()) > tol))
            pts.pop_back();
}

int CTools::IsPtArrayClockWise(GePoint3dArray pts)
{
    std::vector<qrxGe::point2d> plan;
    plan.reserve(pts.size());
    for (const GePoint3d& p : pts)
        plan.emplace_back(p.x, p.y);
    return qrxGe::IsClockwise(plan) ? 1 : 0;
}

GeVector3d CTools::GetNormal(GePoint3dArray pts, double tol)
{
    ManageGePoint3dArray(pts, 1, kNormalCleanTol);
    const std::size_t n = pts.size();
    if (n < 3)
        return {};
    // Cannot fail after the clean-up; the report keeps the expression and line it has
    // always carried, so reports from the field stay comparable.
    if (pts[0] == pts[1] || pts[1] == pts[2])
        ReportAssertFailure("pt0!=pt1&&pt1!=pt2", "Tools", kNormalCheckLine);

    // The first axis along which the first three points spread beyond tol.
    auto spreads = [&](double GePoint3d::*c) {
        return std::fabs(pts[0].*c - pts[1].*c) > tol || std::fabs(pts[1].*c - pts[2].*c) > tol;
    };
    double GePoint3d::*axis = &GePoint3d::z;
    if (spreads(&GePoint3d::x))
        axis = &GePoint3d::x;
    else if (spreads(&GePoint3d::y))
        axis = &GePoint3d::y;

    // The first vertex of smallest coordinate, then on to the last vertex of its run: a
    // convex corner of the ring.
    std::size_t i = 0;
    for (std::size_t k = 1; k < n; ++k)
        if (pts[k].*axis < pts[i].*axis)
            i = k;
    std::size_t j = (i + 1) % n;
    std::size_t steps = 0;
    while (std::fabs(pts[i].*axis - pts[j].*axis) <= tol) {
        // Every vertex lies in the run (a ring flat across the chosen axis): no corner.
        if (++steps >= n)
            return {};
        i = j;
        j = (j + 1) % n;
    }
    const std::size_t k = (i + n - 1) % n;
    return Unit((pts[k] - pts[i]).CrossProduct(pts[i] - pts[j]));
}

void CTools::ReverseP3dArray(GePoint3dArray& pts)
{
    std::reverse(pts.begin(), pts.end());
}

namespace {

bool MatchInOrder(const GePoint3dArray& a, const GePoint3dArray& b, double tol)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i].DistanceTo(b[i]) < tol))
            return false;
    return true;
}

// Tries every starting offset of b (rotating it left one place after each failure).
bool MatchAnyRotation(const GePoint3dArray& a, GePoint3dArray& b, double tol)
{
    for (std::size_t offset = 0; offset < b.size(); ++offset) {
        if (MatchInOrder(a, b, tol))
            return true;
        std::rotate(b.begin(), b.begin() + 1, b.end());
    }
    return false;
}

}  // namespace

int CTools::IsPtArraySame(GePoint3dArray a, GePoint3dArray b, int inOrder, double tol)
{
    if (a.size() != b.size())
        return 0;
    if (a.empty())
        return 1;
    if (inOrder)
        return MatchInOrder(a, b, tol) ? 1 : 0;
    if (MatchAnyRotation(a, b, tol))
        return 1;
    std::reverse(b.begin(), b.end());
    return MatchAnyRotation(a, b, tol) ? 1 : 0;
}
