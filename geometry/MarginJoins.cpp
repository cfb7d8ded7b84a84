#include "MarginJoins.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numeric>
#include <span>
#include <utility>
#include <vector>

#include "GeLineSeg3d.h"
#include "PointsInStartOrder.h"
#include "SplitAtCrossings.h"
#include "UniformGrid.h"

namespace tools {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Sites chained within tol of one another, each gathering named by its lowest site.
class Gatherings {
public:
    explicit Gatherings(std::size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), std::size_t{0}); }

    std::size_t Find(std::size_t i)
    {
        while (parent_[i] != i)
            i = parent_[i] = parent_[parent_[i]];
        return i;
    }

    void Unite(std::size_t a, std::size_t b)
    {
        a = Find(a), b = Find(b);
        if (a != b)
            parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<std::size_t> parent_;
};

// The distinct places of a network's points, in start order (x, then y): points at one
// place are one site, which knows its first point (of lowest index).
struct Sites {
    std::vector<double> x, y;
    std::vector<std::size_t> first;
    std::vector<std::uint32_t> of;  // the site of each point

    explicit Sites(const GePoint3dArray& pts) : of(pts.size())
    {
        const std::vector<StartKey> keys = StartOrder(pts);
        for (std::size_t r = 0; r < keys.size(); ++r) {
            const StartKey& key = keys[r];
            if (r == 0 || !(key.x == keys[r - 1].x && key.y == keys[r - 1].y)) {
                x.push_back(key.x), y.push_back(key.y), first.push_back(key.i);
            }
            first.back() = std::min<std::size_t>(first.back(), key.i);
            of[key.i] = static_cast<std::uint32_t>(x.size() - 1);
        }
    }
    std::size_t Size() const { return x.size(); }
};

// Every site's neighbours within the splitter's merge reach (strictly, on both plan axes),
// found once along the start order, each marked when it lies within tol as well.
class Neighbours {
public:
    struct Neighbour {
        std::uint32_t site;
        bool withinTol;
    };

    Neighbours(const Sites& sites, double tol) : from_(sites.Size() + 1, 0)
    {
        // A little more than the reach, so that rounding cannot keep a site within it out.
        SortedReach reach(sites.x, sites.y, kSplitMerge * 1.01);
        for (std::size_t r = 0; r < sites.Size(); ++r) {
            reach.ForEach(r, [&](std::size_t q) {
                const double dx = sites.x[q] - sites.x[r], dy = sites.y[q] - sites.y[r];
                if (q != r && std::fabs(dx) < kSplitMerge && std::fabs(dy) < kSplitMerge)
                    list_.push_back({static_cast<std::uint32_t>(q), std::hypot(dx, dy) <= tol});
            });
            from_[r + 1] = list_.size();
        }
    }

    std::span<const Neighbour> Of(std::size_t site) const
    {
        return {list_.data() + from_[site], list_.data() + from_[site + 1]};
    }

private:
    std::vector<std::size_t> from_;
    std::vector<Neighbour> list_;
};

// The point of the segment from a to b nearest to p (a for a segment of no length).
GePoint3d Foot(const GePoint3d& p, const GePoint3d& a, const GePoint3d& b)
{
    GePoint3d foot = a;
    GeLineSeg3d(a, b).GetClosestPointTo(p, foot, 0, 0.0);
    return foot;
}

// Where segment s is to be split: at the first point of leader l.
struct Split {
    std::size_t segment;
    std::size_t leader;
    GePoint3d at;
};

// Splits each segment at its points, in order along it; a point within tol of an end or of
// the point before it adds no piece. group follows the points.
void ApplySplits(GePoint3dArray& pts, std::vector<std::size_t>& group, std::vector<Split>& splits, double tol)
{
    std::stable_sort(splits.begin(), splits.end(), [](const Split& a, const Split& b) { return a.segment < b.segment; });
    for (std::size_t first = 0, last = 0; first < splits.size(); first = last) {
        const std::size_t s = splits[first].segment;
        while (last < splits.size() && splits[last].segment == s)
            ++last;
        const GePoint3d start = pts[2 * s], end = pts[2 * s + 1];
        const std::size_t endGroup = group[2 * s + 1];
        const GeVector3d along = end - start;
        std::stable_sort(splits.begin() + static_cast<std::ptrdiff_t>(first),
                         splits.begin() + static_cast<std::ptrdiff_t>(last), [&](const Split& a, const Split& b) {
                             return (a.at - start).DotProduct(along) < (b.at - start).DotProduct(along);
                         });
        GePoint3d from = start;
        std::size_t fromGroup = group[2 * s];
        bool cut = false;
        for (std::size_t k = first; k < last; ++k) {
            const Split& split = splits[k];
            if (split.at.DistanceTo(from) <= tol || split.at.DistanceTo(end) <= tol)
                continue;
            if (!cut) {
                pts[2 * s + 1] = split.at, group[2 * s + 1] = split.leader;
                cut = true;
            } else {
                pts.push_back(from), group.push_back(fromGroup);
                pts.push_back(split.at), group.push_back(split.leader);
            }
            from = split.at, fromGroup = split.leader;
        }
        if (cut) {
            pts.push_back(from), group.push_back(fromGroup);
            pts.push_back(end), group.push_back(endGroup);
        }
    }
}

// Segments whose ends lie in the same two groups as an earlier segment's go: joins lay walls
// drawn twice, and pieces of crossing segments, onto one another.
void DropRepeats(GePoint3dArray& pts, const std::vector<std::size_t>& group)
{
    const std::size_t segments = pts.size() / 2;
    std::vector<std::pair<std::pair<std::size_t, std::size_t>, std::size_t>> keys(segments);
    for (std::size_t s = 0; s < segments; ++s)
        keys[s] = {std::minmax(group[2 * s], group[2 * s + 1]), s};
    std::sort(keys.begin(), keys.end());
    std::vector<bool> repeated(segments, false);
    for (std::size_t k = 1; k < segments; ++k)
        repeated[keys[k].second] = keys[k].first == keys[k - 1].first;
    std::size_t kept = 0;
    for (std::size_t s = 0; s < segments; ++s)
        if (!repeated[s]) {
            pts[2 * kept] = pts[2 * s];
            pts[2 * kept + 1] = pts[2 * s + 1];
            ++kept;
        }
    pts.resize(2 * kept);
}

}  // namespace

void JoinEndsWithinMargin(GePoint3dArray& pts, double tol)
{
    const double margin = kSplitMargin;
    const std::size_t n = pts.size();
    if (!(tol < margin) || n < 4 || n % 2 != 0)
        return;
    // The points as given: the gatherings are found among them, whatever moves later.
    const GePoint3dArray given = pts;
    const Sites sites(given);
    const std::size_t m = sites.Size();
    const Neighbours neighbours(sites, tol);
    Gatherings gathered(m);
    for (std::size_t a = 0; a < m; ++a)
        for (const auto& [b, withinTol] : neighbours.Of(a))
            if (withinTol && b > a)
                gathered.Unite(a, b);

    // Each gathering's first point and its extent.
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<std::size_t> first(m, kNone);
    std::vector<kernel::GridBox> spread(m, {infinity, infinity, -infinity, -infinity});
    for (std::size_t a = 0; a < m; ++a) {
        const std::size_t g = gathered.Find(a);
        first[g] = std::min(first[g], sites.first[a]);
        kernel::GridBox& box = spread[g];
        box.minX = std::min(box.minX, sites.x[a]), box.maxX = std::max(box.maxX, sites.x[a]);
        box.minY = std::min(box.minY, sites.y[a]), box.maxY = std::max(box.maxY, sites.y[a]);
    }

    // In order of their first points, a gathering not yet taken leads itself and every
    // gathering not yet taken with a site within the reach of its first point's.
    std::vector<std::size_t> order;
    for (std::size_t a = 0; a < m; ++a)
        if (gathered.Find(a) == a)
            order.push_back(a);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return first[a] < first[b]; });
    std::vector<std::size_t> leader(m, kNone);
    for (const std::size_t g : order) {
        if (leader[g] != kNone)
            continue;
        leader[g] = g;
        for (const auto& neighbour : neighbours.Of(sites.of[first[g]]))
            if (const std::size_t taken = gathered.Find(neighbour.site); leader[taken] == kNone)
                leader[taken] = g;
    }

    // A taken gathering moves onto its leader's first point, and so does a gathering wider
    // than tol, its leader's own included: a chain whose links a dropped repeat could take
    // away. A gathering within tol across stays as it is. Each point's group is its
    // leader's first point.
    std::vector<std::size_t> group(n);
    bool moved = false;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t g = gathered.Find(sites.of[k]);
        const kernel::GridBox& box = spread[g];
        group[k] = first[leader[g]];
        if (leader[g] != g || std::hypot(box.maxX - box.minX, box.maxY - box.minY) > tol) {
            const GePoint3d& to = given[group[k]];
            moved = moved || pts[k].x != to.x || pts[k].y != to.y;
            pts[k].x = to.x, pts[k].y = to.y;
        }
    }

    // A gathering lying within the margin of a segment it has no end on is put into it: the
    // segment is split there, unless the foot lies within tol of its ends. The segments are
    // taken as the ends' moves left them, and each split point stays where its gathering is.
    std::vector<kernel::GridBox> boxes(n / 2);
    for (std::size_t s = 0; s < n / 2; ++s)
        boxes[s] = kernel::GridBox::Around(pts[2 * s].x, pts[2 * s].y, pts[2 * s + 1].x, pts[2 * s + 1].y);
    kernel::UniformGrid segments;
    segments.Build(boxes, margin);
    std::vector<int> candidates;
    std::vector<Split> splits;
    // Leaders in start order, so that the searches one after another stay close.
    for (std::size_t a = 0; a < m; ++a) {
        const std::size_t g = gathered.Find(a);
        if (leader[g] != g || sites.of[first[g]] != a)
            continue;
        const std::size_t l = first[g];
        const GePoint3d at = given[l];
        const kernel::GridBox reach = kernel::GridBox::Around(at.x, at.y, at.x, at.y, margin);
        segments.QueryKept(reach, candidates, [&](int found) {
            const std::size_t s = static_cast<std::size_t>(found);
            const kernel::GridBox& box = boxes[s];
            return box.minX <= reach.maxX && reach.minX <= box.maxX && box.minY <= reach.maxY &&
                   reach.minY <= box.maxY && group[2 * s] != l && group[2 * s + 1] != l;
        });
        for (const int found : candidates) {
            const std::size_t s = static_cast<std::size_t>(found);
            const GePoint3d &start = pts[2 * s], &end = pts[2 * s + 1];
            const GePoint3d foot = Foot(at, start, end);
            if (at.DistanceTo(foot) <= margin && foot.DistanceTo(start) > tol && foot.DistanceTo(end) > tol)
                splits.push_back({s, l, at});
        }
    }
    ApplySplits(pts, group, splits, tol);
    if (moved || !splits.empty())
        DropRepeats(pts, group);
}

}  // namespace tools
