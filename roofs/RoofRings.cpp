#include "RoofRings.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "OutlineCleanup.h"
#include "Tools.h"

namespace roof_rings {

namespace {

constexpr int kMinRingPoints = 3;
// Lengths are told apart within this: a point this close to an edge in plan touches it, and a
// turning point this close to the line it came on retraces it.
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

// The plan distance of p from the segment a-b.
double PlanDistance(const GePoint3d& p, const GePoint3d& a, const GePoint3d& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The outline a-b-c runs back at b along the line it came on: the end of the shorter edge lies
// within kLengthTol of the longer edge's line, behind the turn.
bool RetracesAt(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
{
    const GeVector3d in = b - a, out = c - b;
    const double longer = std::max(std::hypot(in.x, in.y), std::hypot(out.x, out.y));
    // The distance of the shorter edge's end from the longer edge's line, times the longer.
    const double width = std::fabs(in.x * out.y - in.y * out.x);
    return in.x * out.x + in.y * out.y < 0.0 && width <= kLengthTol * longer;
}

// The outline without the turning points of its retraces, and the points that leaves within
// repeatTol of the one before; the ends of an open outline stay.
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

// An outline as its slips are taken out: the points drawn, those still kept (linked in their
// order), and what taking out each kept corner that may be a slip would move the drawing,
// while that is no more than kSliverWidth. What a removal moves is measured against the
// drawing, not against what earlier removals left.
class SlipCleaning {
public:
    SlipCleaning(GePoint3dArray drawn, bool closed, double repeatTol)
        : m_drawn(std::move(drawn)), m_closed(closed), m_repeatTol(repeatTol), m_size(m_drawn.size()),
          m_before(m_size), m_after(m_size), m_cost(m_size)
    {
        double reach = 0.0;
        for (std::size_t i = 0; i < m_size; ++i) {
            m_before[i] = (i + m_size - 1) % m_size;
            m_after[i] = (i + 1) % m_size;
            reach = std::max({reach, std::fabs(m_drawn[i].x), std::fabs(m_drawn[i].y)});
        }
        // What rounding leaves of the coordinates' reach: costs closer than this are equal, so
        // the same corner goes wherever and however the outline is placed.
        m_tieTol = kCostTie * std::max(1.0, reach * kCostTie);
        for (std::size_t i = 0; i < m_size; ++i)
            Refresh(i);
    }

    // Takes the slips out, least moving first, while the outline keeps more points than it
    // must.
    void Clean()
    {
        while (m_size > Fewest())
            if (const std::optional<std::size_t> slip = LeastMoving())
                Erase(*slip);
            else
                break;
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
    // A corner turns back when the cosine of its turn is below this: past a right angle by more
    // than the angular tolerance, so that a square corner at any turn or site never does.
    static constexpr double kTurnsBack = -0.01;
    static constexpr double kCostTie = 1e-6;

    // A ring keeps three points, an open outline its two ends.
    std::size_t Fewest() const { return static_cast<std::size_t>(m_closed ? kMinRingPoints : 2); }
    bool IsEnd(std::size_t i) const { return !m_closed && (i == 0 || i + 1 == m_drawn.size()); }
    bool IsKept(std::size_t i) const { return m_before[i] != kGone; }

    // The cosine of the turn of the outline a-b-c at b (1 straight on, -1 straight back); none
    // beside an edge of no length.
    static std::optional<double> TurnCosine(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
    {
        const double inX = b.x - a.x, inY = b.y - a.y, outX = c.x - b.x, outY = c.y - b.y;
        const double lengths = std::hypot(inX, inY) * std::hypot(outX, outY);
        if (!(lengths > 0.0))
            return std::nullopt;
        return (inX * outX + inY * outY) / lengths;
    }

    // The outline turns back at kept corner i: its two edges make an acute angle.
    bool TurnsBack(std::size_t i) const
    {
        if (IsEnd(i))
            return false;
        const std::optional<double> turn = TurnCosine(m_drawn[m_before[i]], m_drawn[i], m_drawn[m_after[i]]);
        return turn && *turn < kTurnsBack;
    }

    // Taking out kept corner n, a neighbour of kept corner tip where the outline turns back,
    // makes the outline turn back less sharply there: n is the point clicked again beside a
    // corner, not a drawn bend of a wall that leads into a drawn tip (whose tip its removal
    // would only sharpen).
    bool Eases(std::size_t tip, std::size_t n) const
    {
        if (!TurnsBack(tip))
            return false;
        const std::size_t before = m_before[tip] == n ? m_before[n] : m_before[tip];
        const std::size_t after = m_after[tip] == n ? m_after[n] : m_after[tip];
        const std::optional<double> now = TurnCosine(m_drawn[m_before[tip]], m_drawn[tip], m_drawn[m_after[tip]]);
        const std::optional<double> then = TurnCosine(m_drawn[before], m_drawn[tip], m_drawn[after]);
        return now && then && *then > *now;
    }

    // How far the drawn points between the neighbours a and c of kept corner j lie from the
    // outline once j has gone: from the nearest of the edge a-c and the kept edges on either
    // side of it.
    double Moved(std::size_t j) const
    {
        const std::size_t a = m_before[j], c = m_after[j];
        const auto away = [&](const GePoint3d& p) {
            double d = PlanDistance(p, m_drawn[a], m_drawn[c]);
            if (!IsEnd(a))
                d = std::min(d, PlanDistance(p, m_drawn[m_before[a]], m_drawn[a]));
            if (!IsEnd(c))
                d = std::min(d, PlanDistance(p, m_drawn[c], m_drawn[m_after[c]]));
            return d;
        };
        double moved = 0.0;
        for (std::size_t i = (a + 1) % m_drawn.size(); i != c; i = (i + 1) % m_drawn.size())
            moved = std::max(moved, away(m_drawn[i]));
        return moved;
    }

    // Kept corner i is weighed again: it may be a slip when the outline turns back at it, or at
    // a neighbour that its removal eases; it is one while its removal moves the drawing no more
    // than kSliverWidth.
    void Refresh(std::size_t i)
    {
        m_cost[i].reset();
        if (!IsKept(i) || IsEnd(i))
            return;
        if (!TurnsBack(i) && !Eases(m_before[i], i) && !Eases(m_after[i], i))
            return;
        if (const double moved = Moved(i); moved <= kSliverWidth)
            m_cost[i] = moved;
    }

    // The slip whose removal moves the drawing least, the earliest drawn of equals; none when
    // no slip is left.
    std::optional<std::size_t> LeastMoving() const
    {
        std::optional<double> least;
        for (const std::optional<double>& cost : m_cost)
            if (cost && (!least || *cost < *least))
                least = cost;
        if (!least)
            return std::nullopt;
        std::size_t i = 0;
        while (!m_cost[i] || *m_cost[i] > *least + m_tieTol)
            ++i;
        return i;
    }

    // Kept corner j goes, and then the later of the two corners that brings together when they
    // lie within repeatTol (the earlier at an open outline's end); the corners whose turns or
    // neighbourhoods that changes are weighed again.
    void Erase(std::size_t j)
    {
        const std::size_t a = m_before[j], c = m_after[j];
        m_after[a] = c;
        m_before[c] = a;
        m_before[j] = m_after[j] = kGone;
        m_cost[j].reset();
        --m_size;
        if (m_first == j)
            m_first = c;
        for (const std::size_t k : {m_before[a], a, c, m_after[c]})
            Refresh(k);
        if (m_size < 2 || m_drawn[a].DistanceTo(m_drawn[c]) > m_repeatTol)
            return;
        if (!IsEnd(c))
            Erase(c);
        else if (!IsEnd(a))
            Erase(a);
    }

    static constexpr std::size_t kGone = static_cast<std::size_t>(-1);

    GePoint3dArray m_drawn;
    bool m_closed;
    double m_repeatTol;
    double m_tieTol = 0.0;
    std::size_t m_size;
    std::size_t m_first = 0;
    std::vector<std::size_t> m_before, m_after;
    // What removing each kept corner that is a slip would move the drawing.
    std::vector<std::optional<double>> m_cost;
};

// p lies within kLengthTol of the segment a-b in plan.
bool Touches(const GePoint3d& p, const GePoint3d& a, const GePoint3d& b)
{
    // Most edges are far away: their plan box, grown by the tolerance, tells at once.
    if (p.x < std::min(a.x, b.x) - kLengthTol || p.x > std::max(a.x, b.x) + kLengthTol ||
        p.y < std::min(a.y, b.y) - kLengthTol || p.y > std::max(a.y, b.y) + kLengthTol)
        return false;
    return PlanDistance(p, a, b) <= kLengthTol;
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
    SlipCleaning cleaning(WithoutRetraces(std::move(outline), repeatTol, closed), closed, repeatTol);
    cleaning.Clean();
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
