// A uniform grid over boxes, built by counting (no per-cell allocation).
#include "UniformGrid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kernel {

GridBox GridBox::Around(double x1, double y1, double x2, double y2, double margin) {
  return {std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin,
          std::max(y1, y2) + margin};
}

namespace {

// A grid of at most this many cells per box keeps the build linear.
constexpr double kCellsPerBox = 2.0;

}  // namespace

void UniformGrid::Build(const std::vector<GridBox>& boxes, double minCell) {
  const size_t n = boxes.size();
  stamp_.assign(n, 0);
  query_ = 0;
  ids_.clear();
  if (n == 0) {
    x0_ = y0_ = 0.0, cell_ = inverse_ = 1.0, cols_ = rows_ = 1;
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
  x0_ = all.minX, y0_ = all.minY, cell_ = cell, inverse_ = 1.0 / cell;
  if (std::isfinite(width / cell) && std::isfinite(height / cell)) {
    cols_ = static_cast<int>(width / cell) + 1;
    rows_ = static_cast<int>(height / cell) + 1;
  } else {
    // Extents beyond the double range (or not finite) get one cell: every box meets it.
    cell_ = 1.0, inverse_ = 0.0, cols_ = rows_ = 1;
  }

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

void UniformGrid::NextQuery() const {
  if (++query_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    query_ = 1;
  }
}

}  // namespace kernel

namespace kernel {

size_t PointHash::SlotOf(long long kx, long long ky) const {
  // Both keys mixed through the multiplier, the slot taken from the well-mixed high bits.
  unsigned long long h = static_cast<unsigned long long>(kx) * 0x9E3779B97F4A7C15ull;
  h = (h ^ (h >> 32) ^ static_cast<unsigned long long>(ky)) * 0xC2B2AE3D27D4EB4Full;
  size_t s = static_cast<size_t>(h >> shift_);
  while (slots_[s].head >= 0 && (slots_[s].kx != kx || slots_[s].ky != ky)) s = (s + 1) & mask_;
  return s;
}

void PointHash::Build(const std::vector<double>& x, const std::vector<double>& y, double cell) {
  cell_ = cell;
  const size_t n = x.size();
  size_t size = 16;
  while (size < 2 * n) size *= 2;
  mask_ = size - 1;
  shift_ = 64;
  for (size_t s = size; s > 1; s /= 2) --shift_;
  slots_.assign(size, Slot{0, 0, -1});
  next_.assign(n, -1);
  // Registered from the last point back, so every cell lists its points in ascending order.
  for (size_t i = n; i-- > 0;) {
    const long long kx = Key(x[i]), ky = Key(y[i]);
    Slot& slot = slots_[SlotOf(kx, ky)];
    if (slot.head < 0) slot.kx = kx, slot.ky = ky;
    next_[i] = slot.head;
    slot.head = static_cast<int>(i);
  }
}

PointHash::Square PointHash::SquareAbout(double px, double py, double reach) const {
  Square s{Key(px - reach), Key(px + reach), Key(py - reach), Key(py + reach), false};
  if (s.x1 < s.x0 || s.y1 < s.y0) return s;  // a negative reach meets no cell
  // Keys lie within +-2^62, so the spans are counted without overflow in 64 bits unsigned;
  // below the point count each, their product stays below 2^62.
  const unsigned long long spanX = static_cast<unsigned long long>(s.x1) - static_cast<unsigned long long>(s.x0);
  const unsigned long long spanY = static_cast<unsigned long long>(s.y1) - static_cast<unsigned long long>(s.y0);
  const unsigned long long points = next_.size();
  s.wide = spanX >= points || spanY >= points || (spanX + 1) * (spanY + 1) > points;
  return s;
}

void PointHash::Query(double px, double py, double reach, std::vector<int>& out) const {
  out.clear();
  if (next_.empty()) return;
  const Square s = SquareAbout(px, py, reach);
  if (s.wide) {
    out.resize(next_.size());
    std::iota(out.begin(), out.end(), 0);
    return;
  }
  for (long long kx = s.x0; kx <= s.x1; ++kx)
    for (long long ky = s.y0; ky <= s.y1; ++ky)
      for (int i = slots_[SlotOf(kx, ky)].head; i >= 0; i = next_[i]) out.push_back(i);
  if (s.x0 != s.x1 || s.y0 != s.y1) std::sort(out.begin(), out.end());
}

}  // namespace kernel
