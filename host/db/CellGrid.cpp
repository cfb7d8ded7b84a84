#include "CellGrid.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace host {
namespace {

// Cell numbers stay within this, so that two of them make one key.
constexpr double kFarthestCell = 1 << 30;
// The share of the items at either end of a direction left out of where most of them lie: far
// outliers up to this share change nothing.
constexpr std::size_t kEndShare = 32;

// The k-th smallest value (from 0).
double Nth(std::vector<double>& values, std::size_t k)
{
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
    return values[k];
}

}  // namespace

Range MiddleRange(std::vector<double>& lows, std::vector<double>& highs)
{
    const std::size_t n = std::min(lows.size(), highs.size());
    if (n == 0) return {};
    const std::size_t end = n / kEndShare;
    return {Nth(lows, end), Nth(highs, n - 1 - end)};
}

CellGrid::CellGrid(std::span<const PlanBox> boxes)
{
    const std::size_t n = boxes.size();
    if (n == 0) return;
    std::vector<double> sizes, xs, ys;
    sizes.reserve(n), xs.reserve(n), ys.reserve(n);
    for (const PlanBox& box : boxes) {
        sizes.push_back(std::max(box.x1 - box.x0, box.y1 - box.y0));
        xs.push_back(box.x0 / 2.0 + box.x1 / 2.0);
        ys.push_back(box.y0 / 2.0 + box.y1 / 2.0);
    }
    std::vector<double> xs2(xs), ys2(ys);
    const Range x = MiddleRange(xs, xs2), y = MiddleRange(ys, ys2);
    const double breadth = std::max(x.high - x.low, y.high - y.low);
    m_x = Nth(xs, n / 2);
    m_y = Nth(ys, n / 2);
    const double cell = std::max(2.0 * Nth(sizes, n / 2), breadth / std::sqrt(static_cast<double>(n)));
    if (std::isfinite(cell) && cell > 0.0) m_cell = cell;
}

bool CellGrid::NumberOf(double offset, std::int64_t& number) const
{
    const double scaled = std::floor(offset / m_cell);
    if (!(std::fabs(scaled) < kFarthestCell)) return false;
    number = static_cast<std::int64_t>(scaled);
    return true;
}

bool CellGrid::CellsOf(const PlanBox& box, std::int64_t most, std::int64_t& c0, std::int64_t& c1, std::int64_t& r0,
                       std::int64_t& r1) const
{
    return ColumnOf(box.x0, c0) && ColumnOf(box.x1, c1) && RowOf(box.y0, r0) && RowOf(box.y1, r1) &&
           (c1 - c0 + 1) * (r1 - r0 + 1) <= most;
}

}  // namespace host
