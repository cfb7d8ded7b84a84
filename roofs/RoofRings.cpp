#include "RoofRings.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "OutlineCleanup.h"
#include "Tools.h"

namespace roof_rings {

namespace {

constexpr int kMinRingPoints = 3;
// Lengths are told apart within this: a point this close to an edge in plan touches it, and an
// edge this much shorter than a slip is as long as one.
constexpr double kLengthTol = 0.001;
// A loop of less plan area than this (a tenth of a metre square) is a sliver, no courtyard.
constexpr double kMinCourtyardArea = 1e4;

// Which side of the line a-b the point c lies on in plan: 1 left, -1 right, 0 on it.
int Side(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
{
    const double s = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return s > 0.0 ? 1 : (s < 0.0 ? -1 : 0);
}

// c lies within the plan box of a-b.
bool Within(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
{
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

// The closed segments a-b and c-d share a point in plan.
bool Meet(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c, const GePoint3d& d)
{
    const int s1 = Side(a, b, c), s2 = Side(a, b, d), s3 = Side(c, d, a), s4 = Side(c, d, b);
    if (s1 * s2 < 0 && s3 * s4 < 0)
        return true;
    return (s1 == 0 && Within(a, b, c)) || (s2 == 0 && Within(a, b, d)) || (s3 == 0 && Within(c, d, a)) ||
           (s4 == 0 && Within(c, d, b));
}

// Every edge of the moved ring runs the way its edge of the ring does.
bool KeepsDirections(const GePoint3dArray& ring, const GePoint3dArray& moved)
{
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const GeVector3d a = ring[j] - ring[i], b = moved[j] - moved[i];
        if (!(a.x * b.x + a.y * b.y > 0.0))
            return false;
    }
    return true;
}

// The turn of the outline at corner i of the ring in plan, in degrees from 0 (straight on) to
// 180 (straight back).
double TurnAt(const GePoint3dArray& ring, std::size_t i)
{
    const std::size_t n = ring.size();
    const GeVector3d in = ring[i] - ring[(i + n - 1) % n], out = ring[(i + 1) % n] - ring[i];
    const double cross = in.x * out.y - in.y * out.x, dot = in.x * out.x + in.y * out.y;
    return std::atan2(std::fabs(cross), dot) * 180.0 / std::numbers::pi;
}

double PlanLength(const GePoint3d& a, const GePoint3d& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

// The slip to drop first: of the corners next to an edge shorter than kSlipLength, the one
// that turns back sharpest past kSlipTurn, else the one that runs on straightest within
// kSlipStraight.
std::optional<std::size_t> FirstSlip(const GePoint3dArray& ring)
{
    const std::size_t n = ring.size();
    const auto isShort = [](const GePoint3d& a, const GePoint3d& b) {
        return PlanLength(a, b) < kSlipLength - kLengthTol;
    };
    std::optional<std::size_t> back, straight;
    double sharpest = kSlipTurn, straightest = kSlipStraight;
    for (std::size_t i = 0; i < n; ++i) {
        if (!isShort(ring[(i + n - 1) % n], ring[i]) && !isShort(ring[i], ring[(i + 1) % n]))
            continue;
        const double turn = TurnAt(ring, i);
        if (turn > sharpest) {
            back = i;
            sharpest = turn;
        } else if (turn < straightest) {
            straight = i;
            straightest = turn;
        }
    }
    return back ? back : straight;
}

// p lies within kLengthTol of the segment a-b in plan.
bool Touches(const GePoint3d& p, const GePoint3d& a, const GePoint3d& b)
{
    // Most edges are far away: their plan box, grown by the tolerance, tells at once.
    if (p.x < std::min(a.x, b.x) - kLengthTol || p.x > std::max(a.x, b.x) + kLengthTol ||
        p.y < std::min(a.y, b.y) - kLengthTol || p.y > std::max(a.y, b.y) + kLengthTol)
        return false;
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy)) <= kLengthTol;
}

// Twice the signed plan area of the loop that runs from corner `from` round the ring to
// corner `to` and closes there.
double LoopArea(const GePoint3dArray& ring, std::size_t from, std::size_t to)
{
    const std::size_t n = ring.size();
    GePoint3dArray loop;
    for (std::size_t i = from;; i = (i + 1) % n) {
        loop.push_back(ring[i]);
        if (i == to)
            break;
    }
    return GetPtsSignedArea(loop);
}

// Corner k touches edge i-(i+1), which does not end at it. Cut there, the ring falls into
// the loop from k to i and the loop from i+1 back round to k; the touch closes a courtyard
// when they run opposite ways, neither a sliver.
bool TouchClosesCourtyard(const GePoint3dArray& ring, std::size_t k, std::size_t i)
{
    const std::size_t n = ring.size();
    GePoint3dArray back{ring[k]};
    for (std::size_t j = (i + 1) % n; j != k; j = (j + 1) % n)
        back.push_back(ring[j]);
    const double a = LoopArea(ring, k, i), b = GetPtsSignedArea(back);
    return std::fabs(a) > 2 * kMinCourtyardArea && std::fabs(b) > 2 * kMinCourtyardArea && (a > 0.0) != (b > 0.0);
}

// Some corner of the ring touches an edge that does not end at it, closing a courtyard.
bool TouchesAroundACourtyard(const GePoint3dArray& ring)
{
    const std::size_t n = ring.size();
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t j = (i + 1) % n;
            if (i != k && j != k && Touches(ring[k], ring[i], ring[j]) && TouchClosesCourtyard(ring, k, i))
                return true;
        }
    return false;
}

// The grown ring has more loops than the outer one (each more than a sliver).
bool GrowsMoreThanOneLoop(const GePoint3dArray& ring, double overhang)
{
    std::vector<GePoint3dArray> loops;
    std::vector<int> closed;
    CTools::offset(ring, 1, overhang, loops, closed);
    const auto count = std::count_if(loops.begin(), loops.end(), [](const GePoint3dArray& loop) {
        return loop.size() >= static_cast<std::size_t>(kMinRingPoints) &&
               std::fabs(GetPtsSignedArea(loop)) > 2 * kMinCourtyardArea;
    });
    return count > 1;
}

}  // namespace

GePoint3dArray WithoutSlips(GePoint3dArray ring, double repeatTol)
{
    while (ring.size() >= static_cast<std::size_t>(kMinRingPoints)) {
        const std::optional<std::size_t> slip = FirstSlip(ring);
        if (!slip)
            break;
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(*slip));
        CTools::DropRepeatedPoints(ring, 1, repeatTol);
    }
    return ring;
}

bool CoversCourtyard(const GePoint3dArray& ring, double overhang)
{
    if (!(overhang > 0.0) || ring.size() < static_cast<std::size_t>(kMinRingPoints))
        return false;
    return TouchesAroundACourtyard(ring) || GrowsMoreThanOneLoop(ring, overhang);
}

GePoint3dArray Grown(const GePoint3dArray& ring, double overhang)
{
    GePoint3dArray grown = ring;
    if (overhang == 0.0)
        return grown;
    OffsetBorderPts(grown, -overhang);
    if (GetPtsSignedArea(ring) != 0.0 && grown.size() >= static_cast<std::size_t>(kMinRingPoints) && KeepsDirections(ring, grown) &&
        IsSimpleInPlan(grown))
        return grown;
    grown.clear();
    int closed = 0;
    CTools::offset(ring, 1, overhang, grown, closed, kMinRingPoints);
    if (grown.size() < static_cast<std::size_t>(kMinRingPoints))
        grown.clear();
    return grown;
}

bool IsSimpleInPlan(const GePoint3dArray& ring)
{
    const std::size_t n = ring.size();
    if (n < static_cast<std::size_t>(kMinRingPoints))
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        const GePoint3d& a = ring[i];
        const GePoint3d& b = ring[(i + 1) % n];
        // The next edge may only share b: it must not turn straight back along this one.
        const GePoint3d& c = ring[(i + 2) % n];
        if (Side(a, b, c) == 0 && (c.x - b.x) * (a.x - b.x) + (c.y - b.y) * (a.y - b.y) > 0.0)
            return false;
        for (std::size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;  // the closing edge neighbours the first
            if (Meet(a, b, ring[j], ring[(j + 1) % n]))
                return false;
        }
    }
    return true;
}

}  // namespace roof_rings
