#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// The kernel's one spatial index: a uniform grid over a fixed set of axis-aligned boxes
// (segments, or points as boxes of no size). The splitter, the tracers and the offset's
// clearance and winding tests find their candidates through it instead of trying every
// pair. A query returns every box whose cells it meets, each once and in ascending order,
// so a caller that tests the candidates exactly visits them in the order a plain loop over
// all boxes would.

namespace kernel {

struct GridBox {
  double minX, minY, maxX, maxY;
  static GridBox Around(double x1, double y1, double x2, double y2, double margin = 0.0);
};

class UniformGrid {
 public:
  // Registers boxes[0..size-1] under their indices. The cell side follows the boxes' mean
  // size and their density, and is at least minCell (for point look-ups within a tolerance).
  void Build(const std::vector<GridBox>& boxes, double minCell = 0.0);

  // Replaces out with the indices of the boxes that may meet q: a superset of those that
  // do, ascending, each once.
  void Query(const GridBox& q, std::vector<int>& out) const {
    QueryKept(q, out, [](int) { return true; });
  }

  // Query less the boxes that keep turns down, each asked once: what is turned down is
  // never collected or sorted.
  template <typename Keep>
  void QueryKept(const GridBox& q, std::vector<int>& out, Keep keep) const {
    out.clear();
    if (ids_.empty()) return;
    const int c0 = Column(q.minX), c1 = Column(q.maxX), r0 = Row(q.minY), r1 = Row(q.maxY);
    if (c0 == c1 && r0 == r1) {
      for (const int* id = CellBegin(c0, r0); id != CellEnd(c0, r0); ++id)
        if (keep(*id)) out.push_back(*id);
      return;
    }
    NextQuery();
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c)
        for (const int* id = CellBegin(c, r); id != CellEnd(c, r); ++id)
          if (stamp_[*id] != query_ && (stamp_[*id] = query_, keep(*id))) out.push_back(*id);
    std::sort(out.begin(), out.end());
  }

  // Whether test holds for one of the boxes that may meet q. The boxes are tried cell by
  // cell, a box in several cells maybe more than once: for a yes-or-no question the order
  // does not matter, and the first yes ends the search without collecting or sorting.
  template <typename Test>
  bool Any(const GridBox& q, Test test) const {
    if (ids_.empty()) return false;
    const int c0 = Column(q.minX), c1 = Column(q.maxX), r0 = Row(q.minY), r1 = Row(q.maxY);
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c)
        for (const int* id = CellBegin(c, r); id != CellEnd(c, r); ++id)
          if (test(*id)) return true;
    return false;
  }

  // The cell column and row holding a coordinate, clamped to the grid (held in double until
  // clamped, so a coordinate far beyond the grid folds into its outer cells). Inline: the
  // pair visits ask them for every pair of boxes.
  int Column(double x) const {
    const double c = (x - x0_) * inverse_;
    return !(c >= 1.0) ? 0 : c >= cols_ - 1 ? cols_ - 1 : static_cast<int>(c);
  }
  int Row(double y) const {
    const double r = (y - y0_) * inverse_;
    return !(r >= 1.0) ? 0 : r >= rows_ - 1 ? rows_ - 1 : static_cast<int>(r);
  }
  int Columns() const { return cols_; }
  int Rows() const { return rows_; }
  double CellLeft(int column) const { return x0_ + column * cell_; }
  // The boxes registered in one cell, ascending.
  const int* CellBegin(int column, int row) const { return ids_.data() + start_[Cell(column, row)]; }
  const int* CellEnd(int column, int row) const {
    return ids_.data() + start_[Cell(column, row) + 1];
  }

 private:
  int Cell(int column, int row) const { return row * cols_ + column; }
  // Starts a new stamp for the boxes a query meets, so each is taken once.
  void NextQuery() const;

  double x0_ = 0.0, y0_ = 0.0, cell_ = 1.0, inverse_ = 1.0;
  int cols_ = 1, rows_ = 1;
  std::vector<int> start_{0, 0}, ids_;
  mutable std::vector<unsigned> stamp_;
  mutable unsigned query_ = 0;
};

}  // namespace kernel

namespace kernel {

// Points hashed by square cells of a fixed side: the look-up of end points within a
// tolerance, however far apart the points lie. A query visits the cells its square meets
// and returns the points registered there (a superset of those within reach), ascending,
// each once. A square that meets more cells than there are points (a reach wider than the
// cells were made for) goes through the list of points instead, so no query costs more than
// one pass over them, whatever its reach.
class PointHash {
 public:
  // Registers (x[i], y[i]) for i = 0..size-1 under i; cell should be at least twice the
  // largest reach the caller will ask for, so that a query meets at most four cells.
  void Build(const std::vector<double>& x, const std::vector<double>& y, double cell);
  void Query(double px, double py, double reach, std::vector<int>& out) const;

  // Calls visit(i) for every point registered in the cells that the square of the reach
  // about (px, py) meets, each once, in no particular order (no collecting or sorting).
  template <typename Visit>
  void ForEach(double px, double py, double reach, Visit visit) const {
    if (next_.empty()) return;
    const Square s = SquareAbout(px, py, reach);
    if (s.wide) {
      for (int i = 0; i < static_cast<int>(next_.size()); ++i) visit(i);
      return;
    }
    for (long long kx = s.x0; kx <= s.x1; ++kx)
      for (long long ky = s.y0; ky <= s.y1; ++ky)
        for (int i = slots_[SlotOf(kx, ky)].head; i >= 0; i = next_[i]) visit(i);
  }

 private:
  struct Slot {
    long long kx, ky;
    int head;  // first point of the cell, -1 for an empty slot
  };
  // The cells of a query square, or wide when they outnumber the points.
  struct Square {
    long long x0, x1, y0, y1;
    bool wide;
  };
  Square SquareAbout(double px, double py, double reach) const;
  size_t SlotOf(long long kx, long long ky) const;
  // Cells beyond +-2^62 fold into the outermost ones (still a superset) and a NaN into cell
  // 0, so the conversion stays defined however far out a coordinate lies.
  long long Key(double v) const {
    constexpr double kOutermost = 4611686018427387904.0;  // 2^62
    const double k = std::floor(v / cell_);
    if (std::isnan(k)) return 0;
    return static_cast<long long>(std::clamp(k, -kOutermost, kOutermost));
  }

  double cell_ = 1.0;
  std::vector<Slot> slots_;
  std::vector<int> next_;  // the next point of the same cell, ascending; -1 at the end
  size_t mask_ = 0;
  int shift_ = 64;
};

}  // namespace kernel
