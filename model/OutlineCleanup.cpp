// Outline clean-up routines; see OutlineCleanup.h.
#include "OutlineCleanup.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>

#include "AssertReport.h"
#include "GeLineSeg3d.h"
#include "GeUtility.h"
#include "GeoBoundary.h"

namespace {

// Points closer than this on both plan axes crowd each other.
constexpr double kOverlapDistance = 10.0;
// Lengths, directions and collinearity are judged within this.
constexpr double kLengthTol = 0.001;
// The tolerance the closed library's boundary routines are called with.
constexpr double kBoundaryTol = 1.0;
// How far from the way of the edge it lies along an edge of the given ring may run, in
// degrees, for the regularised ring to be taken. The library drops points within
// kBoundaryTol of their neighbours one after another: off a straight wall that is a tidy
// wall, but an arc drawn in short chords it wears down to a few edges turning sharper, which
// an eave's mitres then throw out by tens of millimetres.
constexpr double kRegularTurn = 2.0;
// Slopes closer than this make the perpendicular foot fall back to the segment's start.
constexpr double kSlopeTol = 1e-10;

// The edge of the ring that the segment a-b lies along in plan, within tol at both ends, if any.
std::optional<std::size_t> EdgeAlong(const GePoint3d& a, const GePoint3d& b, const std::vector<GePoint3d>& ring,
                                     double tol)
{
    const auto level = [](const GePoint3d& p) { return GePoint3d(p.x, p.y, 0.0); };
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const GeLineSeg3d edge(level(ring[i]), level(ring[(i + 1) % ring.size()]));
        if (edge.IsPointOn(level(a), tol) && edge.IsPointOn(level(b), tol))
            return i;
    }
    return std::nullopt;
}

// The regularised ring keeps the given one's shape: every point of either lies within tol of
// the other, and every edge of the given ring longer than tol runs along an edge of it within
// kRegularTurn degrees.
bool KeepsShape(const std::vector<GePoint3d>& given, const std::vector<GePoint3d>& regular, double tol)
{
    const auto near = [tol](const std::vector<GePoint3d>& points, const std::vector<GePoint3d>& ring) {
        return std::all_of(points.begin(), points.end(),
                           [&](const GePoint3d& p) { return EdgeAlong(p, p, ring, tol).has_value(); });
    };
    if (!near(given, regular) || !near(regular, given))
        return false;
    const double most = std::sin(kRegularTurn * std::numbers::pi / 180.0);
    for (std::size_t i = 0; i < given.size(); ++i) {
        const GePoint3d &a = given[i], &b = given[(i + 1) % given.size()];
        const GeVector3d way(b.x - a.x, b.y - a.y, 0.0);
        if (!(way.Length() > tol))
            continue;
        const std::optional<std::size_t> along = EdgeAlong(a, b, regular, tol);
        if (!along)
            return false;
        const GePoint3d &c = regular[*along], &d = regular[(*along + 1) % regular.size()];
        const GeVector3d edge(d.x - c.x, d.y - c.y, 0.0);
        if (!(way.DotProduct(edge) > 0.0) || way.CrossProduct(edge).Length() > most * way.Length() * edge.Length())
            return false;
    }
    return true;
}
}  // namespace

bool IsOverlapPt(const GePoint3d& a, const GePoint3d& b)
{
    return std::fabs(a.x - b.x) < kOverlapDistance && std::fabs(a.y - b.y) < kOverlapDistance;
}

int RemoveOverlapPts(std::vector<GePoint3d>& pts)
{
    if (pts.empty())
        return 1;
    std::vector<GePoint3d> kept{pts.front()};
    for (std::size_t i = 1; i < pts.size(); ++i)
        if (!IsOverlapPt(kept.back(), pts[i]))
            kept.push_back(pts[i]);
    pts = std::move(kept);
    return 1;
}

void ValidateBorderPts(std::vector<GePoint3d>& pts)
{
    const int n = static_cast<int>(pts.size());
    if (n <= 3)
        return;
    // The library's arrays are 1-based: element 0 is never read.
    std::vector<double> x(static_cast<std::size_t>(n) + 1, 0.0);
    std::vector<double> y(x.size(), 0.0);
    std::vector<double> z(x.size(), 0.0);
    for (int i = 0; i < n; ++i) {
        x[static_cast<std::size_t>(i) + 1] = pts[static_cast<std::size_t>(i)].x;
        y[static_cast<std::size_t>(i) + 1] = pts[static_cast<std::size_t>(i)].y;
    }
    int count = n;
    geozhenglimianbianjiezcx(kBoundaryTol, x.data(), y.data(), z.data(), &count);
    geojiandianzhenglimianbianjiezcx(kBoundaryTol, x.data(), y.data(), z.data(), &count);
    // Only the first n places exist: a larger count from the library cannot be read.
    count = std::clamp(count, 0, n);
    std::vector<GePoint3d> regular(pts.begin(), pts.begin() + count);
    for (int i = 0; i < count; ++i) {
        regular[static_cast<std::size_t>(i)].x = x[static_cast<std::size_t>(i) + 1];
        regular[static_cast<std::size_t>(i)].y = y[static_cast<std::size_t>(i) + 1];
    }
    if (KeepsShape(pts, regular, kBoundaryTol))
        pts = std::move(regular);
}

double GetPtsSignedArea(const std::vector<GePoint3d>& pts)
{
    if (pts.empty())
        return 0.0;
    std::vector<GePoint3d> ring = pts;
    if (!ring.back().IsEqual(ring.front(), kLengthTol))
        ring.push_back(ring.front());
    double sum = 0.0;
    for (std::size_t i = 1; i < ring.size(); ++i)
        sum += ring[i - 1].x * ring[i].y - ring[i].x * ring[i - 1].y;
    return sum;
}

void OffsetBorderPts(std::vector<GePoint3d>& pts, double d)
{
    const std::size_t n = pts.size();
    if (n < 3)
        return;
    GeVector3d normal;
    if (!GeUtility::GetPolygonNormal(static_cast<int>(n), pts.data(), normal))
        return;
    const std::vector<GePoint3d> original = pts;
    for (std::size_t i = 0; i < n; ++i) {
        const GePoint3d& p = original[(i + n - 1) % n];
        const GePoint3d& v = original[i];
        const GePoint3d& q = original[(i + 1) % n];
        const GeVector3d a = (p - v).Normalize(kLengthTol);
        const GeVector3d b = (q - v).Normalize(kLengthTol);
        const GeVector3d sum = a + b;
        if (sum.Length() < kLengthTol) {
            // Straight on: the bisector is the edge normal, pointing to the side the edges
            // move to, and the corner of the moved edges lies d away.
            pts[i] += normal.CrossProduct(b) * d;
            continue;
        }
        GeVector3d u = sum.Normal(kLengthTol);
        if (normal.DotProduct(b.CrossProduct(a)) < 0.0)
            u = -u;
        const double s = std::sin(a.AngleTo(b) * 0.5);
        // A ring that turns back on itself here (or a zero-length edge) has no corner.
        if (s < kLengthTol)
            continue;
        pts[i] += u * (d / s);
    }
}

void RemoveCollinearPts(std::vector<GePoint3d>& pts)
{
    const std::size_t n = pts.size();
    if (n < 3)
        return;
    std::vector<GePoint3d> ring = pts;
    ring.push_back(pts[0]);
    ring.push_back(pts[1]);
    std::vector<GePoint3d> kept;
    kept.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        if (!GeLineSeg3d(ring[i], ring[i + 2]).IsPointOn(ring[i + 1], kLengthTol))
            kept.push_back(ring[i + 1]);
    pts = std::move(kept);
}

int IsPointInSegmentRange(double x1, double y1, double x2, double y2, const GePoint2d& pt)
{
    const double xs = (pt.x - x1) * (pt.x - x2);
    const double ys = (pt.y - y1) * (pt.y - y2);
    if (xs < 0.0 || ys < 0.0)
        return 1;
    return (xs == 0.0 && ys == 0.0) ? 1 : 0;
}

void ProjectPointToSegment2d(double x1, double y1, double x2, double y2, double px, double py, double tol,
                             double& footX, double& footY, double& dist, int& onSegment)
{
    onSegment = 0;
    dist = 0.0;
    const double dx = std::fabs(x1 - x2);
    const double dy = std::fabs(y1 - y2);
    if (dx <= tol && dy > tol) {
        footX = x1;
        footY = py;
        dist = std::fabs(px - x1);
    } else if (dy <= tol && dx > tol) {
        footX = px;
        footY = y1;
        dist = std::fabs(py - y1);
    } else if (dx <= tol && dy <= tol) {
        footX = x1;
        footY = y1;
        dist = std::hypot(px - footX, py - footY);
    } else {
        const double k1 = (y1 - y2) / (x1 - x2);
        const double k2 = -(x1 - x2) / (y1 - y2);
        if (std::fabs(k1 - k2) >= kSlopeTol) {
            footX = (k1 * x1 + (py - y1) - k2 * px) / (k1 - k2);
            footY = y1 + k1 * (footX - x1);
        } else {
            footX = x1;
            footY = y1;
        }
        dist = std::hypot(px - footX, py - footY);
    }
    onSegment = IsPointInSegmentRange(x1, y1, x2, y2, GePoint2d(footX, footY));
}

int ProjectPointToLineSeg2d(const GeLineSeg2d& seg, const GePoint2d& pt, GePoint2d& foot)
{
    const GePoint2d& s = seg.startPoint();
    const GePoint2d& e = seg.endPoint();
    double dist = 0.0;
    int onSegment = 0;
    ProjectPointToSegment2d(s.x, s.y, e.x, e.y, pt.x, pt.y, kLengthTol, foot.x, foot.y, dist, onSegment);
    return onSegment;
}

void SamplePointsAlongOutline(const std::vector<GePoint3d>& pts, double s, std::vector<GePoint3d>& out)
{
    const std::size_t nPt = pts.size();
    if (nPt < 2)
        ReportAssertFailure("nPt>1", "ModelGeHelper", __LINE__);
    if (nPt == 0 || !(s > 0.0))
        return;
    if (nPt == 1) {
        out.push_back(pts[0]);
        return;
    }
    // lengths[i]: distance along the ring from vertex 0 to vertex i (lengths[n] closes it).
    std::vector<double> lengths(nPt + 1, 0.0);
    for (std::size_t i = 0; i < nPt; ++i)
        lengths[i + 1] = lengths[i] + pts[i].DistanceTo(pts[(i + 1) % nPt]);
    std::size_t i = 1;
    for (std::size_t k = 0;; ++k) {
        const double d = static_cast<double>(k) * s;
        while (d - lengths[i] > kLengthTol) {
            if (++i == nPt)
                return;
        }
        const GeVector3d dir = (pts[i] - pts[i - 1]).Normalize(kLengthTol);
        out.push_back(pts[i - 1] + dir * (d - lengths[i - 1]));
    }
}
