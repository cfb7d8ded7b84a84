#pragma once
// A square grid for finding which of many boxes lie near a place or near each other, its cells
// sized from the boxes themselves: about twice the size of a typical box, and no finer than
// the room the boxes have where most of them lie (the breadth of the middle of their centres,
// shared among them). A few boxes far from the rest, however far, change neither the size nor
// the origin (the middle box's centre), so a site with one leftover object far away keeps
// cells of its own size. The cells are meant to be kept by number (sparsely): a far box has a
// cell of its own. A coordinate more than 2³⁰ cells from the origin is not numbered; the
// caller keeps such boxes in a list of their own.
#include <cstdint>
#include <span>
#include <vector>

namespace host {

// Where most of a set of items lie along one direction, given each item's low and high end:
// from the low end of the item a 32nd of the way up the lows to the high end a 32nd of the
// way down the highs, so that a few items far from the rest change nothing. The vectors are
// reordered. {0, 0} for no items.
struct Range {
    double low = 0.0, high = 0.0;
};
Range MiddleRange(std::vector<double>& lows, std::vector<double>& highs);

// A box seen in two directions, low corner first; its coordinates finite.
struct PlanBox {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
};

class CellGrid {
public:
    // Cells of size 1 at the origin, for no boxes.
    CellGrid() = default;
    explicit CellGrid(std::span<const PlanBox> boxes);

    double CellSize() const { return m_cell; }
    // The number of the column (x) or row (y) the coordinate lies in; false when it lies too
    // far out to be numbered, or is not finite.
    bool ColumnOf(double x, std::int64_t& column) const { return NumberOf(x - m_x, column); }
    bool RowOf(double y, std::int64_t& row) const { return NumberOf(y - m_y, row); }
    // The columns and rows the box covers; false as above, or when it covers more than most cells.
    bool CellsOf(const PlanBox& box, std::int64_t most, std::int64_t& c0, std::int64_t& c1, std::int64_t& r0,
                 std::int64_t& r1) const;
    // One number for a cell, from its column and row.
    static std::uint64_t Key(std::int64_t column, std::int64_t row)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) | static_cast<std::uint32_t>(row);
    }

private:
    bool NumberOf(double offset, std::int64_t& number) const;

    double m_cell = 1.0;
    double m_x = 0.0, m_y = 0.0;
};

}  // namespace host
