#pragma once
// A grid over plan points for the toolkit's "within a tolerance" searches, so that routines
// which compare every point with every other one stay fast on large inputs while keeping
// their order-dependent answers: the grid only narrows the candidates, the caller still
// applies its own test and its own order.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tools {

class PointGrid {
public:
    // Indexes the points (x[i], y[i]), i = 0..n-1, for searches that reach no farther than
    // `reach` on either axis. Non-finite coordinates share one cell of their own.
    PointGrid(std::span<const double> x, std::span<const double> y, double reach);

    // Calls visit(i) for every indexed point that may lie within the reach of (x, y) on
    // both axes, each once, in no particular order; visit returns false to stop early.
    template <typename Visit>
    void ForEachNear(double x, double y, Visit visit) const
    {
        const Cell c = CellOf(x, y);
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const auto [begin, end] = Range({c.ix + dx, c.iy + dy});
                for (std::size_t k = begin; k < end; ++k)
                    if (!visit(entries_[k].id))
                        return;
            }
        }
    }

private:
    struct Cell {
        std::int64_t ix;
        std::int64_t iy;
        auto operator<=>(const Cell&) const = default;
    };
    struct Entry {
        Cell cell;
        std::size_t id;
    };

    Cell CellOf(double x, double y) const;
    std::pair<std::size_t, std::size_t> Range(Cell cell) const;

    double cell_ = 1.0;
    std::vector<Entry> entries_;  // sorted by cell
};

// Marks the repeats in a list of n items, keeping the first of every group: item q is
// marked when an earlier unmarked item p is near it. point(i) gives the plan point by
// which item i is indexed; probes(i, add) calls add(x, y) for every plan point around which
// item q's partners must be sought; near(p, q) is the full test, and must imply that
// point(p) lies within `reach` on both axes of one of q's probes. Short lists are compared
// pair by pair, longer ones through a PointGrid; both give the same marks.
template <typename Point, typename Probes, typename Near>
std::vector<bool> MarkRepeats(std::size_t n, double reach, Point point, Probes probes, Near near)
{
    std::vector<bool> marked(n, false);
    constexpr std::size_t kScanLimit = 48;
    if (n <= kScanLimit) {
        for (std::size_t q = 1; q < n; ++q)
            for (std::size_t p = 0; p < q && !marked[q]; ++p)
                if (!marked[p] && near(p, q))
                    marked[q] = true;
        return marked;
    }
    std::vector<double> xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i)
        point(i, xs[i], ys[i]);
    const PointGrid grid(xs, ys, reach);
    for (std::size_t q = 0; q < n; ++q) {
        bool repeat = false;
        probes(q, [&](double x, double y) {
            if (repeat)
                return;
            grid.ForEachNear(x, y, [&](std::size_t p) {
                repeat = p < q && !marked[p] && near(p, q);
                return !repeat;
            });
        });
        marked[q] = repeat;
    }
    return marked;
}

}  // namespace tools
