#pragma once
// Plan points in start order (x, then y, then index) and the search of the points within a
// reach of each, along that order: the face tracer numbers its points so, and the joins of
// ends within the splitter's reach search them so before it.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "GePoint3dArray.h"
#include "PointGrid.h"

namespace tools {

// The candidates for "within reach" of points sorted by x, then y, searched one after
// another in that order. The points within reach in x form one range, which moves only
// forward, and inside it every run of equal x is sorted by y, so a run is cut down to its
// reach by two binary searches; most ranges hold a run or two. A range of many runs (points
// strung along an upright line, each a hair apart in x) is searched through a point grid.
class SortedReach {
public:
    SortedReach(std::span<const double> xs, std::span<const double> ys, double reach)
        : xs_(xs), ys_(ys), reach_(reach), runEnd_(xs.size())
    {
        for (std::size_t k = xs.size(); k-- > 0;)
            runEnd_[k] = k + 1 < xs.size() && xs[k + 1] == xs[k] ? runEnd_[k + 1] : k + 1;
    }

    // Calls visit(q) for every point q within reach of point r on both axes (and maybe a few
    // more), r included, each once. The calls must come with r ascending.
    template <typename Visit>
    void ForEach(std::size_t r, Visit visit)
    {
        const double x = xs_[r], y = ys_[r];
        while (lo_ < xs_.size() && xs_[lo_] < x - reach_)
            ++lo_;
        hi_ = std::max(hi_, lo_);
        while (hi_ < xs_.size() && xs_[hi_] <= x + reach_)
            ++hi_;
        std::size_t runs = 0;
        for (std::size_t q = lo_; q < hi_; q = runEnd_[q])
            if (++runs > kMaxRuns) {
                if (!grid_)
                    grid_.emplace(xs_, ys_, reach_);
                grid_->ForEachNear(x, y, [&](std::size_t c) {
                    visit(c);
                    return true;
                });
                return;
            }
        for (std::size_t q = lo_; q < hi_; q = runEnd_[q]) {
            const auto run = ys_.subspan(q, std::min(runEnd_[q], hi_) - q);
            const auto from = std::lower_bound(run.begin(), run.end(), y - reach_);
            const auto to = std::upper_bound(from, run.end(), y + reach_);
            for (auto it = from; it != to; ++it)
                visit(q + static_cast<std::size_t>(it - run.begin()));
        }
    }

private:
    static constexpr std::size_t kMaxRuns = 16;

    std::span<const double> xs_, ys_;
    double reach_;
    std::vector<std::size_t> runEnd_;  // the end of the run of equal x each point is in
    std::size_t lo_ = 0, hi_ = 0;      // the range within reach in x of the last point
    std::optional<tools::PointGrid> grid_;
};

struct StartKey {
    double x, y;
    std::uint32_t i;
};

// The points in start order: x, then y, then index. They are first dealt into slices of x
// (a counting pass keeps them in index order), then each slice is sorted; slices of a few
// points sort much faster than the whole list.
inline std::vector<StartKey> StartOrder(const GePoint3dArray& pts)
{
    double low = 0.0, high = 0.0;
    bool any = false;
    for (const GePoint3d& p : pts)
        if (std::isfinite(p.x)) {
            low = any ? std::min(low, p.x) : p.x;
            high = any ? std::max(high, p.x) : p.x;
            any = true;
        }
    const std::size_t slices = std::max<std::size_t>(1, pts.size() / 2);
    const double scale = high > low ? static_cast<double>(slices) / (high - low) : 0.0;
    // Non-decreasing in x, as rounding keeps every step in order; what overflows (or comes
    // out not a number from an overflow) goes last with the largest x.
    const auto slice = [&](double x) -> std::size_t {
        if (x == -std::numeric_limits<double>::infinity())
            return 0;
        const double t = (x - low) * scale;
        return t < static_cast<double>(slices) ? static_cast<std::size_t>(t) : slices - 1;
    };
    std::vector<std::size_t> from(slices + 1, 0);
    for (const GePoint3d& p : pts)
        ++from[slice(p.x) + 1];
    for (std::size_t k = 0; k < slices; ++k)
        from[k + 1] += from[k];
    std::vector<StartKey> keys(pts.size());
    {
        std::vector<std::size_t> fill(from.begin(), from.end() - 1);
        for (std::size_t i = 0; i < pts.size(); ++i)
            keys[fill[slice(pts[i].x)]++] = {pts[i].x, pts[i].y, static_cast<std::uint32_t>(i)};
    }
    for (std::size_t k = 0; k < slices; ++k)
        if (from[k + 1] - from[k] > 1)
            std::sort(keys.begin() + static_cast<std::ptrdiff_t>(from[k]),
                      keys.begin() + static_cast<std::ptrdiff_t>(from[k + 1]), [](const StartKey& a, const StartKey& b) {
                          return a.x < b.x || (a.x == b.x && (a.y < b.y || (a.y == b.y && a.i < b.i)));
                      });
    return keys;
}

}  // namespace tools
