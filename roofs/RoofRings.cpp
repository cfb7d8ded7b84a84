#include "RoofRings.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
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

double PlanLength(const GePoint3d& a, const GePoint3d& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

// The turn of the outline a-b-c at b in plan, in degrees from 0 (straight on) to 180
// (straight back).
double Turn(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
{
    const GeVector3d in = b - a, out = c - b;
    const double cross = in.x * out.y - in.y * out.x, dot = in.x * out.x + in.y * out.y;
    return std::atan2(std::fabs(cross), dot) * 180.0 / std::numbers::pi;
}

// The outline a-b-c runs back at b along the line it came on, or close beside it: the end of
// the shorter edge lies within kLengthTol of the longer edge's line, behind the turn, or the
// outline turns back past kBackClickTurn into a wedge narrower there than kSliverWidth.
bool RetracesAt(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
{
    const GeVector3d in = b - a, out = c - b;
    const double longer = std::max(PlanLength(a, b), PlanLength(b, c));
    // The distance of the shorter edge's end from the longer edge's line, times the longer.
    const double width = std::fabs(in.x * out.y - in.y * out.x);
    if (in.x * out.x + in.y * out.y < 0.0 && width <= kLengthTol * longer)
        return true;
    return Turn(a, b, c) > kBackClickTurn && width <= kSliverWidth * longer;
}

// The outline without the turning points of its retraces, zero-width or slivers, and the
// points that leaves within repeatTol of the one before; the ends of an open outline stay.
GePoint3dArray WithoutRetraces(GePoint3dArray outline, double repeatTol, bool closed)
{
    for (bool found = true; found && outline.size() >= static_cast<std::size_t>(kMinRingPoints);) {
        found = false;
        const std::size_t n = outline.size();
        for (std::size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i)
            if (RetracesAt(outline[(i + n - 1) % n], outline[i], outline[(i + 1) % n])) {
                outline.erase(outline.begin() + static_cast<std::ptrdiff_t>(i));
                CTools::DropRepeatedPoints(outline, closed ? 1 : 0, repeatTol);
                found = true;
                break;
            }
    }
    return outline;
}

// The kind of slip a corner turning `turn` degrees beside an edge `shorter` long is, if any:
// the widest reach of those it is, the length of the edge that makes it one.
std::optional<double> SlipReach(double turn, double shorter)
{
    const auto within = [shorter](double length) { return shorter < length - kLengthTol; };
    if (turn > kBackClickTurn && within(kBackClickLength))
        return kBackClickLength;
    if ((turn > kSlipTurn || turn < kSlipStraight) && within(kSlipLength))
        return kSlipLength;
    return std::nullopt;
}

// An outline as its slips are taken out: the points drawn, those still kept (linked in their
// order), and the kept corners that are slips, in the order they are tried: those that turn
// back, sharpest first, then those that run on, straightest first. What a removal moves is
// measured against the drawing, not against what earlier removals left.
class SlipCleaning {
public:
    SlipCleaning(GePoint3dArray drawn, bool closed)
        : m_drawn(std::move(drawn)), m_closed(closed), m_size(m_drawn.size()), m_before(m_size), m_after(m_size),
          m_held(m_size, false), m_queued(m_size)
    {
        for (std::size_t i = 0; i < m_size; ++i) {
            m_before[i] = (i + m_size - 1) % m_size;
            m_after[i] = (i + 1) % m_size;
        }
        for (std::size_t i = 0; i < m_size; ++i)
            Requeue(i);
    }

    std::size_t Size() const { return m_size; }

    // The drawn index of the slip to try first and its reach, if any is left.
    std::optional<std::pair<std::size_t, double>> FirstSlip() const
    {
        if (m_slips.empty())
            return std::nullopt;
        const Key& first = *m_slips.begin();
        return std::pair{std::get<2>(first), std::get<3>(first)};
    }

    // Whether every drawn point between the neighbours of kept corner i lies within `reach`
    // of the edge that joins those neighbours once i has gone.
    bool StaysWithin(std::size_t i, double reach) const
    {
        const std::size_t from = m_before[i], to = m_after[i], n = m_drawn.size();
        const GeLineSeg3d edge(m_drawn[from], m_drawn[to]);
        for (std::size_t j = (from + 1) % n; j != to; j = (j + 1) % n)
            if (!edge.IsPointOn(m_drawn[j], reach))
                return false;
        return true;
    }

    // Kept corner i stays: its removal would move the outline too far, until a neighbour goes.
    void Hold(std::size_t i)
    {
        m_held[i] = true;
        Requeue(i);
    }

    // Kept corner i goes, and then the later of the two corners that brings together when
    // they lie within repeatTol (the earlier at an open outline's end; its two ends stay).
    void Drop(std::size_t i, double repeatTol)
    {
        const std::size_t before = m_before[i], after = m_after[i];
        Erase(i);
        if (m_size < 2 || m_drawn[before].DistanceTo(m_drawn[after]) > repeatTol)
            return;
        if (!IsEnd(after))
            Erase(after);
        else if (!IsEnd(before))
            Erase(before);
    }

    GePoint3dArray Points() const
    {
        GePoint3dArray points;
        if (m_size == 0)
            return points;
        std::size_t i = m_closed ? m_first : 0;
        for (std::size_t k = 0; k < m_size; ++k, i = m_after[i])
            points.push_back(m_drawn[i]);
        return points;
    }

private:
    // (0 turning back, 1 running on; the turn, negated for turning back; drawn index; reach)
    using Key = std::tuple<int, double, std::size_t, double>;

    bool IsEnd(std::size_t i) const { return !m_closed && (i == 0 || i + 1 == m_drawn.size()); }

    // Kept corner i goes; its neighbours, which turn differently now, may be slips again.
    void Erase(std::size_t i)
    {
        const std::size_t before = m_before[i], after = m_after[i];
        m_after[before] = after;
        m_before[after] = before;
        --m_size;
        if (m_first == i)
            m_first = after;
        m_held[i] = true;
        Requeue(i);
        m_held[before] = m_held[after] = false;
        Requeue(before);
        Requeue(after);
    }

    // Corner i takes its place among the slips, as it turns now, or none.
    void Requeue(std::size_t i)
    {
        if (m_queued[i])
            m_slips.erase(*m_queued[i]);
        m_queued[i].reset();
        if (m_held[i] || IsEnd(i) || m_size < static_cast<std::size_t>(kMinRingPoints))
            return;
        const GePoint3d &a = m_drawn[m_before[i]], &b = m_drawn[i], &c = m_drawn[m_after[i]];
        const double turn = Turn(a, b, c);
        const std::optional<double> reach = SlipReach(turn, std::min(PlanLength(a, b), PlanLength(b, c)));
        if (!reach)
            return;
        m_queued[i] = turn > kSlipTurn ? Key{0, -turn, i, *reach} : Key{1, turn, i, *reach};
        m_slips.insert(*m_queued[i]);
    }

    GePoint3dArray m_drawn;
    bool m_closed;
    std::size_t m_size;
    std::size_t m_first = 0;
    std::vector<std::size_t> m_before, m_after;
    std::vector<bool> m_held;
    std::vector<std::optional<Key>> m_queued;
    std::set<Key> m_slips;
};

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

GePoint3dArray WithoutSlips(GePoint3dArray outline, double repeatTol, bool closed)
{
    SlipCleaning cleaning(WithoutRetraces(std::move(outline), repeatTol, closed), closed);
    while (cleaning.Size() >= static_cast<std::size_t>(kMinRingPoints)) {
        const auto slip = cleaning.FirstSlip();
        if (!slip)
            break;
        if (cleaning.StaysWithin(slip->first, slip->second))
            cleaning.Drop(slip->first, repeatTol);
        else
            cleaning.Hold(slip->first);
    }
    return cleaning.Points();
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
