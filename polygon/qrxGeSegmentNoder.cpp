#include "qrxGeSegmentNoder.h"

#include "UniformGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace qrxGe {

namespace {

constexpr double kReach = kPlaceTolerance;
// Meetings nearer than this to a node are that node. Twice the reach: a segment passing two
// nodes that lie within reach of it from either side would be drawn back and forth between
// them.
constexpr double kGather = 2.0 * kPlaceTolerance;
// Routing settles in one or two rounds; a set that does not settle in this many is refused.
constexpr int kRounds = 12;

struct nearest {
    double distance;
    double along;  // 0 at the segment's start, 1 at its end
};

nearest ToSegment(const point2d& p, const point2d& s, const point2d& e)
{
    const double dx = e.x - s.x, dy = e.y - s.y, px = p.x - s.x, py = p.y - s.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0.0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
    return {std::hypot(px - t * dx, py - t * dy), t};
}

// 1 when p lies left of s->e, -1 right, 0 on its line.
int Turn(const point2d& s, const point2d& e, const point2d& p)
{
    const double c = (e.x - s.x) * (p.y - s.y) - (e.y - s.y) * (p.x - s.x);
    return (c > 0.0) - (c < 0.0);
}

// The point where a-b and c-d cross, each passing strictly from one side of the other to the
// other side, inside both. (Signs alone can be rounding's for segments along one line.)
std::optional<point2d> ProperCrossing(const point2d& a, const point2d& b, const point2d& c, const point2d& d)
{
    const int ac = Turn(a, b, c), ad = Turn(a, b, d);
    if (ac == 0 || ad == 0 || ac == ad)
        return std::nullopt;
    const int ca = Turn(c, d, a), cb = Turn(c, d, b);
    if (ca == 0 || cb == 0 || ca == cb)
        return std::nullopt;
    const double rx = b.x - a.x, ry = b.y - a.y, sx = d.x - c.x, sy = d.y - c.y, qx = c.x - a.x, qy = c.y - a.y;
    const double den = rx * sy - ry * sx;
    const double t = (qx * sy - qy * sx) / den, u = (qx * ry - qy * rx) / den;
    if (!(t > 0.0 && t < 1.0 && u > 0.0 && u < 1.0))
        return std::nullopt;
    return point2d{a.x + t * rx, a.y + t * ry};
}

bool SamePoint(const point2d& p, const point2d& q)
{
    return p.x == q.x && p.y == q.y;
}

kernel::GridBox BoxOf(const point2d& s, const point2d& e)
{
    return kernel::GridBox::Around(s.x, s.y, e.x, e.y, kReach);
}

// Points hashed for look-ups within the reach.
kernel::PointHash HashOf(std::span<const point2d> points)
{
    std::vector<double> x, y;
    x.reserve(points.size());
    y.reserve(points.size());
    for (const point2d& p : points) {
        x.push_back(p.x);
        y.push_back(p.y);
    }
    kernel::PointHash hash;
    hash.Build(x, y, 2.0 * kGather);
    return hash;
}

} // namespace

bool IsWithinReach(const point2d& p)
{
    return std::fabs(p.x) <= kLargestCoordinate && std::fabs(p.y) <= kLargestCoordinate;
}

segmentnoder::segmentnoder(std::span<const edge2d> segments, std::span<const int> group)
    : segments_(segments), group_(group)
{
}

bool segmentnoder::Run()
{
    for (const edge2d& s : segments_)
        if (!IsWithinReach(s.StartPoint()) || !IsWithinReach(s.EndPoint()))
            return false;
    stops_.clear();
    for (const edge2d& s : segments_)
        stops_.push_back({{s.StartPoint(), -1}, {s.EndPoint(), -1}});
    through_.assign(segments_.size(), {});
    AddNodes(FirstMeetings());
    for (int round = 0; round < kRounds; ++round) {
        Route();
        const std::vector<place> places = FurtherMeetings();
        if (places.empty())
            return true;
        AddNodes(places);
    }
    return false;
}

std::vector<segmentnoder::place> segmentnoder::FirstMeetings()
{
    std::vector<kernel::GridBox> boxes;
    boxes.reserve(segments_.size());
    for (const edge2d& s : segments_)
        boxes.push_back(BoxOf(s.StartPoint(), s.EndPoint()));
    kernel::UniformGrid grid;
    grid.Build(boxes);
    // Ends go first, in segment order, so that a place where an end meets a crossing keeps
    // the end's point.
    std::vector<std::pair<std::size_t, place>> ends;
    std::vector<place> crossings;
    std::vector<int> near;
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        const point2d a = segments_[i].StartPoint(), b = segments_[i].EndPoint();
        grid.Query(boxes[i], near);
        for (const int k : near) {
            const auto j = static_cast<std::size_t>(k);
            if (j <= i || group_[j] == group_[i])
                continue;
            const point2d c = segments_[j].StartPoint(), d = segments_[j].EndPoint();
            const auto touch = [&](std::size_t end, const point2d& u, const point2d& s, const point2d& e, std::size_t on) {
                if (ToSegment(u, s, e).distance < kReach)
                    ends.push_back({end, {u, end % 2 ? &stops_[end / 2].back() : &stops_[end / 2].front(), on}});
            };
            touch(2 * i, a, c, d, j);
            touch(2 * i + 1, b, c, d, j);
            touch(2 * j, c, a, b, i);
            touch(2 * j + 1, d, a, b, i);
            if (const auto x = ProperCrossing(a, b, c, d))
                crossings.push_back({*x, nullptr, i, j});
        }
    }
    std::stable_sort(ends.begin(), ends.end(), [](const auto& p, const auto& q) { return p.first < q.first; });
    std::vector<place> places;
    for (const auto& e : ends)
        places.push_back(e.second);
    places.insert(places.end(), crossings.begin(), crossings.end());
    return places;
}

void segmentnoder::AddNodes(const std::vector<place>& places)
{
    const std::size_t known = nodes_.size();
    std::vector<point2d> all(nodes_);
    for (const place& p : places)
        all.push_back(p.point);
    const kernel::PointHash hash = HashOf(all);
    // The node of each known node and place; -1 while none.
    std::vector<int> nodeOf(all.size(), -1);
    const auto claim = [&](std::size_t leader) {
        const point2d& at = all[leader];
        hash.ForEach(at.x, at.y, kGather, [&](int k) {
            if (nodeOf[static_cast<std::size_t>(k)] < 0 && at.DistanceTo(all[static_cast<std::size_t>(k)]) < kGather)
                nodeOf[static_cast<std::size_t>(k)] = nodeOf[leader];
        });
    };
    // Places near a known node are that node; the others lead in order, each taking the
    // places near it.
    for (std::size_t k = 0; k < known; ++k)
        nodeOf[k] = static_cast<int>(k);
    for (std::size_t k = 0; k < known; ++k)
        claim(k);
    for (std::size_t k = known; k < all.size(); ++k) {
        if (nodeOf[k] >= 0)
            continue;
        nodeOf[k] = static_cast<int>(nodes_.size());
        nodes_.push_back(all[k]);
        claim(k);
    }
    for (std::size_t k = 0; k < places.size(); ++k) {
        const place& p = places[k];
        const int node = nodeOf[known + k];
        if (p.end)
            *p.end = {nodes_[static_cast<std::size_t>(node)], node};
        for (const std::size_t s : {p.through, p.alsoThrough})
            if (s != kNone)
                through_[s].push_back(node);
    }
}

void segmentnoder::Route()
{
    if (nodes_.empty())
        return;
    // Free ends within reach of a node move onto the nearest one.
    const kernel::PointHash hash = HashOf(nodes_);
    for (auto& stops : stops_) {
        for (nodedstop* end : {&stops.front(), &stops.back()}) {
            if (end->node >= 0)
                continue;
            double best = kReach;
            hash.ForEach(end->point.x, end->point.y, kReach, [&](int k) {
                const double d = end->point.DistanceTo(nodes_[static_cast<std::size_t>(k)]);
                if (d < best || (d == best && end->node >= 0 && k < end->node)) {
                    best = d;
                    end->node = k;
                }
            });
            if (end->node >= 0)
                end->point = nodes_[static_cast<std::size_t>(end->node)];
        }
    }
    // The nodes within reach of each segment between its ends as they now lie, added to the
    // nodes of its own meetings, in order along it.
    std::vector<kernel::GridBox> boxes;
    boxes.reserve(stops_.size());
    for (const auto& stops : stops_)
        boxes.push_back(BoxOf(stops.front().point, stops.back().point));
    kernel::UniformGrid grid;
    grid.Build(boxes);
    std::vector<std::vector<int>> passed(through_);
    std::vector<int> near;
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
        const point2d& at = nodes_[n];
        grid.Query({at.x, at.y, at.x, at.y}, near);
        for (const int k : near) {
            const auto& stops = stops_[static_cast<std::size_t>(k)];
            if (ToSegment(at, stops.front().point, stops.back().point).distance < kReach)
                passed[static_cast<std::size_t>(k)].push_back(static_cast<int>(n));
        }
    }
    std::vector<std::pair<double, int>> order;
    for (std::size_t i = 0; i < stops_.size(); ++i) {
        std::vector<nodedstop>& stops = stops_[i];
        const nodedstop first = stops.front(), last = stops.back();
        order.clear();
        for (const int n : passed[i])
            if (n != first.node && n != last.node)
                order.push_back({ToSegment(nodes_[static_cast<std::size_t>(n)], first.point, last.point).along, n});
        std::sort(order.begin(), order.end());
        order.erase(std::unique(order.begin(), order.end()), order.end());
        stops.assign(1, first);
        for (const auto& [along, n] : order)
            if (stops.back().node != n)
                stops.push_back({nodes_[static_cast<std::size_t>(n)], n});
        if (last.node < 0 || stops.back().node != last.node)
            stops.push_back(last);
    }
}

std::vector<segmentnoder::place> segmentnoder::FurtherMeetings()
{
    std::vector<piece> pieces;
    for (std::size_t s = 0; s < stops_.size(); ++s)
        for (std::size_t at = 0; at + 1 < stops_[s].size(); ++at)
            pieces.push_back({s, at});
    std::vector<kernel::GridBox> boxes;
    boxes.reserve(pieces.size());
    for (const piece& p : pieces)
        boxes.push_back(BoxOf(From(p).point, To(p).point));
    kernel::UniformGrid grid;
    grid.Build(boxes);
    std::vector<place> places;
    // An end within reach of another piece meets it: a node the piece's segment does not pass
    // yet is added to its nodes, a free end of another group becomes a node first.
    const auto endMeets = [&](const piece& p, bool atEnd, const piece& on) {
        nodedstop& u = stops_[p.segment][p.at + (atEnd ? 1 : 0)];
        if (SamePoint(u.point, From(on).point) || SamePoint(u.point, To(on).point) ||
            ToSegment(u.point, From(on).point, To(on).point).distance >= kReach)
            return;
        const std::vector<nodedstop>& passed = stops_[on.segment];
        if (u.node >= 0 && std::none_of(passed.begin(), passed.end(), [&](const nodedstop& s) { return s.node == u.node; }))
            places.push_back({u.point, nullptr, on.segment});
        else if (u.node < 0 && group_[p.segment] != group_[on.segment])
            places.push_back({u.point, &u, on.segment});
    };
    std::vector<int> near;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const piece& p = pieces[i];
        grid.Query(boxes[i], near);
        for (const int k : near) {
            const auto j = static_cast<std::size_t>(k);
            if (j <= i)
                continue;
            const piece& q = pieces[j];
            if (q.segment == p.segment)
                continue;
            if (const auto x = ProperCrossing(From(p).point, To(p).point, From(q).point, To(q).point))
                places.push_back({*x, nullptr, p.segment, q.segment});
            endMeets(p, false, q);
            endMeets(p, true, q);
            endMeets(q, false, p);
            endMeets(q, true, p);
        }
    }
    return places;
}

std::vector<std::uint8_t> LieAlongEarlier(std::span<const edge2d> segments)
{
    std::vector<kernel::GridBox> boxes;
    boxes.reserve(segments.size());
    for (const edge2d& s : segments)
        boxes.push_back(BoxOf(s.StartPoint(), s.EndPoint()));
    kernel::UniformGrid grid;
    grid.Build(boxes);
    std::vector<std::uint8_t> along(segments.size(), 0);
    std::vector<int> near;
    for (std::size_t j = 0; j < segments.size(); ++j) {
        const point2d a = segments[j].StartPoint(), b = segments[j].EndPoint();
        grid.Query(boxes[j], near);
        for (const int k : near) {
            const auto i = static_cast<std::size_t>(k);
            if (i >= j)
                break;
            const point2d c = segments[i].StartPoint(), d = segments[i].EndPoint();
            if (!along[i] && ToSegment(a, c, d).distance < kReach && ToSegment(b, c, d).distance < kReach) {
                along[j] = 1;
                break;
            }
        }
    }
    return along;
}

bool MeetAwayFromSharedEnds(const edge2d& p, const edge2d& q)
{
    const point2d a = p.StartPoint(), b = p.EndPoint(), c = q.StartPoint(), d = q.EndPoint();
    if (ProperCrossing(a, b, c, d))
        return true;
    const auto endOn = [](const point2d& u, const point2d& s, const point2d& e) {
        const double rounding = 16 * std::numeric_limits<double>::epsilon() * std::max({1.0, std::fabs(u.x), std::fabs(u.y)});
        return !SamePoint(u, s) && !SamePoint(u, e) && ToSegment(u, s, e).distance <= rounding;
    };
    return endOn(a, c, d) || endOn(b, c, d) || endOn(c, a, b) || endOn(d, a, b);
}

} // namespace qrxGe
