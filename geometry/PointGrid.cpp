#include "PointGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tools {

namespace {

// Cells stay below 2^40 in index, so that a cell index is exact in a double and the
// rounding of x / cell is far below one cell.
constexpr double kMaxCellIndex = 1099511627776.0;

// A little more than twice the reach, so that the reach around a point never spans more
// than two cells on an axis after rounding.
constexpr double kCellMargin = 2.02;

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

    // Buckets by hashing: count the points of each cell, lay the cells out one after the
    // other in table order, then place the ids (ascending within a cell).
    const std::size_t n = x.size();
    std::size_t size = 16;
    while (size < 2 * n)
        size *= 2;
    table_.assign(size, Bucket{});
    mask_ = size - 1;
    const std::uint64_t bits = std::max<std::uint64_t>(1024, 4 * size);
    filter_.assign(bits / 64, 0);
    filterMask_ = bits - 1;

    std::vector<bool> used(size, false);
    std::vector<std::uint32_t> slotOf(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Cell cell = CellOf(x[i], y[i]);
        const std::uint64_t hash = Hash(cell);
        std::size_t slot = static_cast<std::size_t>(hash) & mask_;
        while (used[slot] && table_[slot].cell != cell)
            slot = (slot + 1) & mask_;
        if (!used[slot]) {
            used[slot] = true;
            table_[slot].cell = cell;
            const std::uint64_t bit = (hash >> 32) & filterMask_;
            filter_[bit >> 6] |= std::uint64_t{1} << (bit & 63);
        }
        ++table_[slot].end;  // the count, for now
        slotOf[i] = static_cast<std::uint32_t>(slot);
    }
    std::uint32_t next = 0;
    for (Bucket& bucket : table_) {
        const std::uint32_t count = bucket.end;
        bucket.begin = bucket.end = next;
        next += count;
    }
    ids_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        ids_[table_[slotOf[i]].end++] = static_cast<std::uint32_t>(i);
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

}  // namespace tools
