#include "qrxGeSegmentNoder.h"

#include "UniformGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <utility>

namespace qrxGe {

namespace {

constexpr double kReach = kPlaceTolerance;
// Meetings nearer than this to a node are that node. Twice the reach: a segment passing two
// nodes that lie within reach of it from either side would be drawn back and forth between
// them.
constexpr double kGather = 2.0 * kPlaceTolerance;
// Nodes this near a crossing that their routes could not resolve are gathered into its node.
constexpr double kCluster = 3.0 * kGather;
// Routing settles in one or two rounds; a set that does not settle in this many is refused.
constexpr int kRounds = 12;

struct nearest {
    double distance2;  // squared
    double along;      // 0 at the segment's start, 1 at its end
};

nearest ToSegment(const point2d& p, const point2d& s, const point2d& e)
{
    const double dx = e.x - s.x, dy = e.y - s.y, px = p.x - s.x, py = p.y - s.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0.0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
    const double ox = px - t * dx, oy = py - t * dy;
    return {ox * ox + oy * oy, t};
}

// Within reach of the segment s-e; the box test first, as most candidates miss it.
bool Reaches(const point2d& p, const point2d& s, const point2d& e)
{
    if (p.x < std::min(s.x, e.x) - kReach || p.x > std::max(s.x, e.x) + kReach || p.y < std::min(s.y, e.y) - kReach ||
        p.y > std::max(s.y, e.y) + kReach)
        return false;
    return ToSegment(p, s, e).distance2 < kReach * kReach;
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

std::vector<std::pair<point2d, point2d>> Ends(std::span<const edge2d> segments)
{
    std::vector<std::pair<point2d, point2d>> ends;
    ends.reserve(segments.size());
    for (const edge2d& s : segments)
        ends.push_back({s.StartPoint(), s.EndPoint()});
    return ends;
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

// Segments in the kernel's uniform grid, each entered as stretches about as long as the room
// the set leaves per segment, so that a long slanting segment stands in the cells along it,
// not in every cell of its box. Visits run cell by cell and meet each segment once.
class segmentgrid {
public:
    // Boxes reach `margin` beyond each stretch.
    explicit segmentgrid(std::vector<std::pair<point2d, point2d>> segments, double margin = kReach)
        : segments_(std::move(segments))
    {
        if (segments_.empty())
            return;
        kernel::GridBox all = kernel::GridBox::Around(segments_[0].first.x, segments_[0].first.y, segments_[0].second.x,
                                                      segments_[0].second.y, margin);
        for (const auto& [s, e] : segments_) {
            const kernel::GridBox b = kernel::GridBox::Around(s.x, s.y, e.x, e.y, margin);
            all = {std::min(all.minX, b.minX), std::min(all.minY, b.minY), std::max(all.maxX, b.maxX), std::max(all.maxY, b.maxY)};
        }
        const double room = std::sqrt((all.maxX - all.minX) * (all.maxY - all.minY) / static_cast<double>(segments_.size()));
        const double stretch = std::max(8.0 * kReach, room);
        first_.reserve(segments_.size() + 1);
        for (std::size_t i = 0; i < segments_.size(); ++i) {
            first_.push_back(owner_.size());
            const auto& [s, e] = segments_[i];
            const double pieces = std::min(std::ceil(s.DistanceTo(e) / stretch), 64.0);
            const int n = pieces >= 1.0 ? static_cast<int>(pieces) : 1;
            for (int k = 0; k < n; ++k) {
                const double t0 = static_cast<double>(k) / n, t1 = static_cast<double>(k + 1) / n;
                const point2d p = s + (e - s) * t0, q = s + (e - s) * t1;
                boxes_.push_back(kernel::GridBox::Around(p.x, p.y, q.x, q.y, margin));
                owner_.push_back(static_cast<int>(i));
            }
        }
        first_.push_back(owner_.size());
        grid_.Build(boxes_);
        seen_.assign(segments_.size(), 0);
    }

    // Every segment whose stretches' boxes meet one of segment i's, i itself included.
    template <typename Visit>
    void NearSegment(std::size_t i, Visit visit) const
    {
        Start();
        for (std::size_t k = first_[i]; k < first_[i + 1]; ++k)
            Each(boxes_[k], visit);
    }

    // Every segment whose stretches' boxes hold p.
    template <typename Visit>
    void NearPoint(const point2d& p, Visit visit) const
    {
        Start();
        Each({p.x, p.y, p.x, p.y}, visit);
    }

private:
    void Start() const
    {
        if (++mark_ == 0) {
            std::fill(seen_.begin(), seen_.end(), 0);
            mark_ = 1;
        }
    }

    template <typename Visit>
    void Each(const kernel::GridBox& box, Visit& visit) const
    {
        grid_.Any(box, [&](int k) {
            const auto j = static_cast<std::size_t>(owner_[static_cast<std::size_t>(k)]);
            if (seen_[j] != mark_) {
                seen_[j] = mark_;
                visit(j);
            }
            return false;
        });
    }

    std::vector<std::pair<point2d, point2d>> segments_;
    std::vector<std::size_t> first_;  // segment i's stretches are first_[i] to first_[i + 1]
    std::vector<int> owner_;
    std::vector<kernel::GridBox> boxes_;
    kernel::UniformGrid grid_;
    mutable std::vector<unsigned> seen_;
    mutable unsigned mark_ = 0;
};

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
    nodes_.clear();
    alias_.clear();
    through_.assign(segments_.size(), {});
    // Routed ends stay within the gathering distance of where they were, and the nodes a
    // segment passes within reach of it: the grid of the segments as given serves every round.
    const segmentgrid grid(Ends(segments_), kReach + kGather + kCluster);
    AddNodes(FirstMeetings(grid));
    for (int round = 0; round < kRounds; ++round) {
        do
            Route(grid);
        while (JoinEndsGivenAsOne());
        const std::vector<place> places = FurtherMeetings();
        if (places.empty())
            return true;
        if (!AddNodes(places) && !GatherAround(places))
            return false;
    }
    return false;
}

int segmentnoder::Resolved(int node) const
{
    while (node >= 0 && alias_[static_cast<std::size_t>(node)] != node)
        node = alias_[static_cast<std::size_t>(node)];
    return node;
}

bool segmentnoder::GatherAround(const std::vector<place>& places)
{
    bool gathered = false;
    const auto gather = [&](int from, int into) {
        const int n = Resolved(from);
        if (n >= 0 && n != into && nodes_[static_cast<std::size_t>(n)].DistanceTo(nodes_[static_cast<std::size_t>(into)]) < kCluster) {
            alias_[static_cast<std::size_t>(n)] = into;
            gathered = true;
        }
    };
    for (const place& p : places) {
        if (p.node >= 0) {
            // A node beside a piece whose segment cannot pass it: it lies beyond the node the
            // segment ends at, and the route does not double back. That end becomes the node.
            const int into = Resolved(p.node);
            const std::vector<nodedstop>& route = stops_[p.through];
            int end = -1;
            double best = kCluster;
            for (const int n : {route.front().node, route.back().node}) {
                if (n < 0 || (n != p.pieceEnds[0] && n != p.pieceEnds[1]))
                    continue;
                const double d = nodes_[static_cast<std::size_t>(n)].DistanceTo(nodes_[static_cast<std::size_t>(into)]);
                if (d < best) {
                    best = d;
                    end = n;
                }
            }
            gather(end, into);
            continue;
        }
        if (p.alsoThrough == kNone)
            continue;
        // The node the crossing went to: the one its point lies nearest.
        int into = -1;
        double best = kGather;
        for (const std::size_t s : {p.through, p.alsoThrough})
            for (const nodedstop& stop : stops_[s])
                if (stop.node >= 0 && p.point.DistanceTo(stop.point) < best) {
                    best = p.point.DistanceTo(stop.point);
                    into = Resolved(stop.node);
                }
        if (into < 0)
            continue;
        for (const int end : p.pieceEnds)
            gather(end, into);
    }
    return gathered;
}

std::vector<segmentnoder::place> segmentnoder::FirstMeetings(const segmentgrid& grid)
{
    // Ends go first, in segment order, so that a place where an end meets a crossing keeps
    // the end's point.
    std::vector<std::pair<std::size_t, place>> ends;
    std::vector<place> crossings;
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        const point2d a = segments_[i].StartPoint(), b = segments_[i].EndPoint();
        grid.NearSegment(i, [&](std::size_t j) {
            if (j <= i || group_[j] == group_[i])
                return;
            const point2d c = segments_[j].StartPoint(), d = segments_[j].EndPoint();
            const auto touch = [&](std::size_t end, const point2d& u, const point2d& s, const point2d& e, std::size_t on) {
                if (Reaches(u, s, e))
                    ends.push_back({end, {u, end % 2 ? &stops_[end / 2].back() : &stops_[end / 2].front(), on}});
            };
            touch(2 * i, a, c, d, j);
            touch(2 * i + 1, b, c, d, j);
            touch(2 * j, c, a, b, i);
            touch(2 * j + 1, d, a, b, i);
            if (const auto x = ProperCrossing(a, b, c, d))
                crossings.push_back({*x, nullptr, i, j});
        });
    }
    std::stable_sort(ends.begin(), ends.end(), [](const auto& p, const auto& q) { return p.first < q.first; });
    std::vector<place> places;
    for (const auto& e : ends)
        places.push_back(e.second);
    places.insert(places.end(), crossings.begin(), crossings.end());
    return places;
}

bool segmentnoder::AddNodes(const std::vector<place>& places)
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
    // places near it. A node gathered into another claims nothing.
    for (std::size_t k = 0; k < known; ++k)
        nodeOf[k] = Resolved(static_cast<int>(k));
    for (std::size_t k = 0; k < known; ++k)
        if (alias_[k] == static_cast<int>(k))
            claim(k);
    bool changed = false;
    for (std::size_t k = known; k < all.size(); ++k) {
        if (nodeOf[k] >= 0)
            continue;
        nodeOf[k] = static_cast<int>(nodes_.size());
        alias_.push_back(nodeOf[k]);
        nodes_.push_back(all[k]);
        claim(k);
        changed = true;
    }
    for (std::size_t k = 0; k < places.size(); ++k) {
        const place& p = places[k];
        const int node = nodeOf[known + k];
        if (p.end) {
            *p.end = {nodes_[static_cast<std::size_t>(node)], node};
            changed = true;
        }
        for (const std::size_t s : {p.through, p.alsoThrough}) {
            if (s == kNone)
                continue;
            auto& through = through_[s];
            if (std::none_of(through.begin(), through.end(), [&](int n) { return Resolved(n) == node; }))
                changed = true;
            through.push_back(node);
        }
    }
    return changed;
}

void segmentnoder::Route(const segmentgrid& grid)
{
    if (nodes_.empty())
        return;
    // Ends at a node gathered into another go with it; free ends within reach of a node move
    // onto the nearest one.
    const kernel::PointHash hash = HashOf(nodes_);
    for (auto& stops : stops_) {
        for (nodedstop* end : {&stops.front(), &stops.back()}) {
            if (end->node >= 0) {
                end->node = Resolved(end->node);
                end->point = nodes_[static_cast<std::size_t>(end->node)];
                continue;
            }
            double best = kReach;
            hash.ForEach(end->point.x, end->point.y, kReach, [&](int k) {
                if (alias_[static_cast<std::size_t>(k)] != k)
                    return;
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
    std::vector<std::vector<int>> passed(through_);
    for (auto& nodes : passed)
        for (int& n : nodes)
            n = Resolved(n);
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
        if (alias_[n] != static_cast<int>(n))
            continue;
        const point2d& at = nodes_[n];
        grid.NearPoint(at, [&](std::size_t k) {
            if (Reaches(at, stops_[k].front().point, stops_[k].back().point))
                passed[k].push_back(static_cast<int>(n));
        });
    }
    // A node of the segment's own meetings that lies beyond one of its ends (its meeting was
    // gathered there) takes that end when it is free; beyond an end at a node it is that
    // node's business. Either way the route does not double back.
    std::vector<std::pair<double, int>> order;
    for (std::size_t i = 0; i < stops_.size(); ++i) {
        std::vector<nodedstop>& stops = stops_[i];
        nodedstop first = stops.front(), last = stops.back();
        const auto along = [&](int n) {
            const point2d& p = nodes_[static_cast<std::size_t>(n)];
            const double dx = last.point.x - first.point.x, dy = last.point.y - first.point.y;
            const double length2 = dx * dx + dy * dy;
            return length2 > 0.0 ? ((p.x - first.point.x) * dx + (p.y - first.point.y) * dy) / length2 : 0.5;
        };
        for (const int n : passed[i]) {
            if (n == first.node || n == last.node)
                continue;
            const double t = along(n);
            if (t <= 0.0 && first.node < 0)
                first = {nodes_[static_cast<std::size_t>(n)], n};
            else if (t >= 1.0 && last.node < 0)
                last = {nodes_[static_cast<std::size_t>(n)], n};
        }
        order.clear();
        for (const int n : passed[i]) {
            const double t = along(n);
            if (n != first.node && n != last.node && t > 0.0 && t < 1.0)
                order.push_back({t, n});
        }
        std::sort(order.begin(), order.end());
        order.erase(std::unique(order.begin(), order.end()), order.end());
        stops.assign(1, first);
        for (const auto& [t, n] : order)
            if (stops.back().node != n)
                stops.push_back({nodes_[static_cast<std::size_t>(n)], n});
        if (last.node < 0 || stops.back().node != last.node)
            stops.push_back(last);
    }
}

bool segmentnoder::JoinEndsGivenAsOne()
{
    std::map<std::pair<double, double>, int> nodeOfEnd;
    const auto ends = [&](std::size_t i) {
        return std::array<std::pair<nodedstop*, point2d>, 2>{
            {{&stops_[i].front(), segments_[i].StartPoint()}, {&stops_[i].back(), segments_[i].EndPoint()}}};
    };
    for (std::size_t i = 0; i < stops_.size(); ++i)
        for (const auto& [end, given] : ends(i))
            if (end->node >= 0)
                nodeOfEnd.emplace(std::pair{given.x, given.y}, end->node);
    bool joined = false;
    for (std::size_t i = 0; i < stops_.size(); ++i) {
        for (const auto& [end, given] : ends(i)) {
            if (end->node >= 0)
                continue;
            if (const auto shared = nodeOfEnd.find({given.x, given.y}); shared != nodeOfEnd.end()) {
                *end = {nodes_[static_cast<std::size_t>(shared->second)], shared->second};
                joined = true;
            }
        }
    }
    return joined;
}

std::vector<segmentnoder::place> segmentnoder::FurtherMeetings()
{
    // Pieces that still lie on their segments meet as the segments did, and those meetings
    // are routed: only a bent piece can meet anything afresh.
    std::vector<piece> pieces;
    std::vector<std::uint8_t> bent;
    bool anyBent = false;
    for (std::size_t s = 0; s < stops_.size(); ++s) {
        const point2d a = segments_[s].StartPoint(), b = segments_[s].EndPoint();
        const auto onSegment = [&](const nodedstop& stop) {
            const point2d& p = stop.point;
            const double rounding = 64 * std::numeric_limits<double>::epsilon() * std::max({1.0, std::fabs(p.x), std::fabs(p.y)});
            return SamePoint(p, a) || SamePoint(p, b) || ToSegment(p, a, b).distance2 <= rounding * rounding;
        };
        for (std::size_t at = 0; at + 1 < stops_[s].size(); ++at) {
            pieces.push_back({s, at});
            bent.push_back(!onSegment(stops_[s][at]) || !onSegment(stops_[s][at + 1]));
            anyBent = anyBent || bent.back();
        }
    }
    if (!anyBent)
        return {};
    std::vector<std::pair<point2d, point2d>> ends;
    ends.reserve(pieces.size());
    for (const piece& p : pieces)
        ends.push_back({From(p).point, To(p).point});
    const segmentgrid grid(ends);
    std::vector<place> places;
    // An end within reach of another piece meets it: a node the piece's segment does not pass
    // yet is added to its nodes, a free end of another group becomes a node first.
    const auto endMeets = [&](const piece& p, bool atEnd, const piece& on) {
        nodedstop& u = stops_[p.segment][p.at + (atEnd ? 1 : 0)];
        if (SamePoint(u.point, From(on).point) || SamePoint(u.point, To(on).point) ||
            !Reaches(u.point, From(on).point, To(on).point))
            return;
        const std::vector<nodedstop>& passed = stops_[on.segment];
        if (u.node >= 0 && std::none_of(passed.begin(), passed.end(), [&](const nodedstop& s) { return s.node == u.node; }))
            places.push_back({u.point, nullptr, on.segment, kNone, {From(on).node, To(on).node, -1, -1}, u.node});
        else if (u.node < 0 && group_[p.segment] != group_[on.segment])
            places.push_back({u.point, &u, on.segment});
    };
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!bent[i])
            continue;
        const piece& p = pieces[i];
        grid.NearSegment(i, [&](std::size_t j) {
            const piece& q = pieces[j];
            if ((bent[j] && j <= i) || q.segment == p.segment)
                return;
            if (const auto x = ProperCrossing(From(p).point, To(p).point, From(q).point, To(q).point))
                places.push_back({*x, nullptr, p.segment, q.segment, {From(p).node, To(p).node, From(q).node, To(q).node}});
            endMeets(p, false, q);
            endMeets(p, true, q);
            endMeets(q, false, p);
            endMeets(q, true, p);
        });
    }
    return places;
}

std::vector<std::uint8_t> LieAlongEarlier(std::span<const edge2d> segments)
{
    const segmentgrid grid(Ends(segments));
    std::vector<std::uint8_t> along(segments.size(), 0);
    for (std::size_t j = 0; j < segments.size(); ++j) {
        const point2d a = segments[j].StartPoint(), b = segments[j].EndPoint();
        grid.NearSegment(j, [&](std::size_t i) {
            const point2d c = segments[i].StartPoint(), d = segments[i].EndPoint();
            if (i < j && !along[i] && Reaches(a, c, d) && Reaches(b, c, d))
                along[j] = 1;
        });
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
        return !SamePoint(u, s) && !SamePoint(u, e) && ToSegment(u, s, e).distance2 <= rounding * rounding;
    };
    return endOn(a, c, d) || endOn(b, c, d) || endOn(c, a, b) || endOn(d, a, b);
}

} // namespace qrxGe
