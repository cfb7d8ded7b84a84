#include "PointGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tools {

namespace {

// The cell of non-finite coordinates: far from every finite cell, and its neighbours too.
constexpr std::int64_t kFarCell = std::numeric_limits<std::int64_t>::min() / 4;

// Cells stay below 2^40 in index, so that a cell index is exact in a double and the
// rounding of x / cell is far below one cell.
constexpr double kMaxCellIndex = 1099511627776.0;

// A little more than the reach, so that two points within the reach never lie two cells
// apart after rounding.
constexpr double kCellMargin = 1.01;

}  // namespace

PointGrid::PointGrid(std::span<const double> x, std::span<const double> y, double reach)
{
    double largest = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (std::isfinite(x[i]))
            largest = std::max(largest, std::fabs(x[i]));
        if (std::isfinite(y[i]))
            largest = std::max(largest, std::fabs(y[i]));
    }
    double cell = std::isfinite(reach) && reach > 0.0 ? reach : 0.0;
    cell = std::max(cell, largest / kMaxCellIndex);
    cell_ = cell > 0.0 ? cell * kCellMargin : 1.0;

    entries_.reserve(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        entries_.push_back({CellOf(x[i], y[i]), i});
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.cell < b.cell; });
}

PointGrid::Cell PointGrid::CellOf(double x, double y) const
{
    const double fx = std::floor(x / cell_);
    const double fy = std::floor(y / cell_);
    // Points beyond the indexed range (possible only for a search point) go to the far cell
    // too: they lie farther than the reach from every indexed point.
    if (!(std::fabs(fx) <= kMaxCellIndex * 2) || !(std::fabs(fy) <= kMaxCellIndex * 2))
        return {kFarCell, kFarCell};
    return {static_cast<std::int64_t>(fx), static_cast<std::int64_t>(fy)};
}

std::pair<std::size_t, std::size_t> PointGrid::Range(Cell cell) const
{
    const auto less = [](const Entry& e, const Cell& c) { return e.cell < c; };
    const auto greater = [](const Cell& c, const Entry& e) { return c < e.cell; };
    const auto begin = std::lower_bound(entries_.begin(), entries_.end(), cell, less);
    const auto end = std::upper_bound(begin, entries_.end(), cell, greater);
    return {static_cast<std::size_t>(begin - entries_.begin()), static_cast<std::size_t>(end - entries_.begin())};
}

}  // namespace tools
