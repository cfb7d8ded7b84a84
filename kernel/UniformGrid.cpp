// A uniform grid over boxes, built by counting (no per-cell allocation).
#include "UniformGrid.h"

#include <algorithm>
#include <cmath>

namespace kernel {

GridBox GridBox::Around(double x1, double y1, double x2, double y2, double margin) {
  return {std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin,
          std::max(y1, y2) + margin};
}

namespace {

// A grid of at most this many cells per box keeps the build linear.
constexpr double kCellsPerBox = 2.0;

}  // namespace

int UniformGrid::Column(double x) const {
  const double c = std::floor((x - x0_) / cell_);
  return c < 0.0 ? 0 : c >= cols_ - 1 ? cols_ - 1 : static_cast<int>(c);
}

int UniformGrid::Row(double y) const {
  const double r = std::floor((y - y0_) / cell_);
  return r < 0.0 ? 0 : r >= rows_ - 1 ? rows_ - 1 : static_cast<int>(r);
}

void UniformGrid::Build(const std::vector<GridBox>& boxes, double minCell) {
  const size_t n = boxes.size();
  stamp_.assign(n, 0);
  query_ = 0;
  ids_.clear();
  if (n == 0) {
    x0_ = y0_ = 0.0, cell_ = 1.0, cols_ = rows_ = 1;
    start_.assign(2, 0);
    return;
  }
  GridBox all = boxes[0];
  double sizeSum = 0.0;
  for (const GridBox& b : boxes) {
    all.minX = std::min(all.minX, b.minX), all.minY = std::min(all.minY, b.minY);
    all.maxX = std::max(all.maxX, b.maxX), all.maxY = std::max(all.maxY, b.maxY);
    sizeSum += std::max(b.maxX - b.minX, b.maxY - b.minY);
  }
  const double width = all.maxX - all.minX, height = all.maxY - all.minY;
  double cell = std::max({sizeSum / n, std::sqrt(width * height / n), minCell});
  if (!(cell > 0.0)) cell = std::max({width, height, 1.0}) / n;
  // Never more cells than the boxes can fill.
  const double most = kCellsPerBox * n + 16.0;
  while ((width / cell + 1.0) * (height / cell + 1.0) > most) cell *= 1.5;
  x0_ = all.minX, y0_ = all.minY, cell_ = cell;
  cols_ = static_cast<int>(width / cell) + 1;
  rows_ = static_cast<int>(height / cell) + 1;

  start_.assign(static_cast<size_t>(cols_) * rows_ + 1, 0);
  for (const GridBox& b : boxes)
    for (int r = Row(b.minY); r <= Row(b.maxY); ++r)
      for (int c = Column(b.minX); c <= Column(b.maxX); ++c) ++start_[Cell(c, r) + 1];
  for (size_t i = 1; i < start_.size(); ++i) start_[i] += start_[i - 1];
  ids_.resize(start_.back());
  std::vector<int> fill(start_.begin(), start_.end() - 1);
  for (size_t i = 0; i < n; ++i) {
    const GridBox& b = boxes[i];
    for (int r = Row(b.minY); r <= Row(b.maxY); ++r)
      for (int c = Column(b.minX); c <= Column(b.maxX); ++c)
        ids_[fill[Cell(c, r)]++] = static_cast<int>(i);
  }
}

void UniformGrid::Query(const GridBox& q, std::vector<int>& out) const {
  out.clear();
  if (ids_.empty()) return;
  const int c0 = Column(q.minX), c1 = Column(q.maxX), r0 = Row(q.minY), r1 = Row(q.maxY);
  if (c0 == c1 && r0 == r1) {
    out.assign(CellBegin(c0, r0), CellEnd(c0, r0));
    return;
  }
  if (++query_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    query_ = 1;
  }
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c)
      for (const int* id = CellBegin(c, r); id != CellEnd(c, r); ++id)
        if (stamp_[*id] != query_) stamp_[*id] = query_, out.push_back(*id);
  std::sort(out.begin(), out.end());
}

}  // namespace kernel
