// The corner offsets of CTools: a vertex-by-vertex parallel offset of a polyline or ring in
// plan, each output vertex where the offset lines of the two edges at its input vertex meet.
#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>

#include "Tools.h"

namespace {

constexpr double kFullTurn = 2.0 * std::numbers::pi;
// Two edge directions within this many radians continue straight on.
constexpr double kStraightTol = 0.001;
// The last point of a list within this distance of its first closes a ring.
constexpr double kRingTol = 0.001;
// Tolerance of the meeting of two offset lines.
constexpr double kMeetTol = 0.001;

// The turn from an edge's direction to its offset side: left for a non-zero side flag.
double SideTurn(int side)
{
    return side != 0 ? std::numbers::pi / 2.0 : -std::numbers::pi / 2.0;
}

// Whether two directions agree within kStraightTol, measured round the circle, so that a
// direction just below a full turn and one just above zero count as the same.
bool SameDirection(double a1, double a2)
{
    const double diff = std::fmod(std::fabs(a1 - a2), kFullTurn);
    return diff <= kStraightTol || kFullTurn - diff <= kStraightTol;
}

// The meeting point in plan (z 0) of the lines through p1-p2 and p3-p4; none when they are
// parallel.
std::optional<GePoint3d> MeetInPlan(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3,
                                    const GePoint3d& p4)
{
    const GeLineSeg3d first(GePoint3d(p1.x, p1.y, 0.0), GePoint3d(p2.x, p2.y, 0.0));
    const GeLineSeg3d second(GePoint3d(p3.x, p3.y, 0.0), GePoint3d(p4.x, p4.y, 0.0));
    GePoint3d meet;
    if (!first.IntersectWith(second, meet, 1, kMeetTol))
        return std::nullopt;
    meet.z = 0.0;
    return meet;
}

GePoint3d Polar(const GePoint3d& base, double angle, double distance)
{
    GePoint3d p;
    CTools::CfgPolar(base, angle, distance, p);
    return p;
}

// The offset corner at c between the edges pv-c and c-nx: the meeting of the two moved edge
// lines (z 0). Where the edges go straight on, and where the polyline turns back on itself so
// that the moved lines are parallel and never meet, the end of the moved incoming edge (at
// c's height).
GePoint3d CornerPoint(double d, const GePoint3d& c, const GePoint3d& pv, const GePoint3d& nx, int side)
{
    const double s = SideTurn(side);
    const double a1 = CTools::angle(pv, c) + s;
    const double a2 = CTools::angle(c, nx) + s;
    const GePoint3d q2 = Polar(c, a1, d);
    if (SameDirection(a1, a2))
        return q2;
    return MeetInPlan(Polar(pv, a1, d), q2, Polar(c, a2, d), Polar(nx, a2, d)).value_or(q2);
}

}  // namespace

double CTools::angle(GePoint3d from, GePoint3d to)
{
    // The difference is narrowed, not the points, so that the direction keeps its precision
    // far from the origin.
    return baaf(0.0f, 0.0f, static_cast<float>(to.x - from.x), static_cast<float>(to.y - from.y));
}

void CTools::CfgPolar(GePoint3d base, double angle, double distance, GePoint3d& out)
{
    GeVector3d dir = GeVector3d::kXAxis;
    dir.RotateBy(angle, GeVector3d::kZAxis);
    out = base + dir * distance;
    out.z = base.z;
}

GePoint3d CTools::interSect2d(GePoint3d p1, GePoint3d p2, GePoint3d p3, GePoint3d p4)
{
    return MeetInPlan(p1, p2, p3, p4).value_or(GePoint3d());
}

void CTools::GetLROffSetPt(double distance, GePoint3d corner, GePoint3d previous, GePoint3d next, GePoint3d& out,
                           const GePoint3dArray&, int side)
{
    out = CornerPoint(distance, corner, previous, next, side);
}

void CTools::GetLROffSetPtList(double distance, const GePoint3dArray& pts, GePoint3dArray& out, int side,
                               int closed)
{
    out.clear();
    if (pts.size() < 2) {
        // No edge to offset: a single point stays where it is.
        out = pts;
        return;
    }
    GePoint3dArray work = pts;
    if (closed != 0)
        work.push_back(pts.front());
    const std::size_t n = work.size();
    const double s = SideTurn(side);

    if (n == 2) {
        const double a = angle(work[0], work[1]) + s;
        out = {Polar(work[0], a, distance), Polar(work[1], a, distance)};
    } else {
        const bool ring = work.back().DistanceTo(work.front()) < kRingTol;
        for (std::size_t i = 0; i < n; ++i) {
            const GePoint3d& c = work[i];
            const GePoint3d& nx = i + 1 < n ? work[i + 1] : work[1];
            const GePoint3d& pv = i > 0 ? work[i - 1] : work[n - 2];
            if (i == 0 && !ring)
                out.push_back(Polar(c, angle(c, nx) + s, distance));
            else if (i == n - 1 && !ring)
                out.push_back(Polar(c, angle(pv, c) + s, distance));
            else
                out.push_back(CornerPoint(distance, c, pv, nx, side));
        }
    }
    if (closed != 0)
        out.pop_back();  // the corner of the appended copy of the first point
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k].z = pts[k].z;
}
