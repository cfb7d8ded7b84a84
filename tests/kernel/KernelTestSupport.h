#pragma once
// Test helpers for the kernel: 1-based segment lists, split and trace wrappers, and
// independent geometry (shoelace area, exact orientation).
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "KernelWorkArrays.h"
#include "LoopTracing.h"
#include "SegmentSplitting.h"

namespace kerneltest {

struct Seg {
  double x1, y1, x2, y2;
  float attr = 0.0f;
  double Length() const { return std::hypot(x2 - x1, y2 - y1); }
};

// 1-based parallel arrays of a segment list, as the kernel takes them.
struct SegArrays {
  std::vector<double> x1{0.0}, y1{0.0}, x2{0.0}, y2{0.0};
  std::vector<float> attr{0.0f};
  explicit SegArrays(const std::vector<Seg>& segs) {
    for (const Seg& s : segs) {
      x1.push_back(s.x1), y1.push_back(s.y1), x2.push_back(s.x2), y2.push_back(s.y2);
      attr.push_back(s.attr);
    }
  }
  int Count() const { return static_cast<int>(x1.size()) - 1; }
};

inline std::vector<Seg> Split(int mode, const std::vector<Seg>& segs, int capacity = 20000) {
  SegArrays in(segs);
  const size_t size = static_cast<size_t>(capacity) + 1;
  std::vector<double> ox1(size), oy1(size), ox2(size), oy2(size);
  std::vector<float> oattr(size);
  int count = -1;
  SplitSegmentsAtCrossings(mode, in.Count(), in.x1.data(), in.y1.data(), in.x2.data(),
                           in.y2.data(), in.attr.data(), &count, ox1.data(), oy1.data(),
                           ox2.data(), oy2.data(), oattr.data(), capacity);
  std::vector<Seg> out;
  for (int i = 1; i <= count; ++i) out.push_back({ox1[i], oy1[i], ox2[i], oy2[i], oattr[i]});
  return out;
}

struct Loop {
  std::vector<double> x, y;  // 0-based here
};

struct TraceResult {
  int status = -1;
  std::vector<Loop> loops;
};

inline TraceResult Trace(const std::vector<Seg>& segs, int loopCapacity = 2000,
                         int pointCapacity = 20000) {
  SegArrays in(segs);
  KernelWorkArrays work;
  std::vector<std::int16_t> sizes(loopCapacity + 1, 0);
  std::vector<double> lx(pointCapacity + 1, 0.0), ly(pointCapacity + 1, 0.0);
  int loopCount = -1;
  TraceResult result;
  result.status =
      TraceLoopsFromSegments(work, in.Count(), in.x1.data(), in.y1.data(), in.x2.data(),
                             in.y2.data(), &loopCount, sizes.data(), lx.data(), ly.data(),
                             loopCapacity, pointCapacity);
  int at = 0;
  for (int l = 1; l <= loopCount; ++l) {
    Loop loop;
    for (int p = 0; p < sizes[l]; ++p) {
      ++at;
      loop.x.push_back(lx[at]);
      loop.y.push_back(ly[at]);
    }
    result.loops.push_back(loop);
  }
  return result;
}

// Twice the signed area by the shoelace sum (positive counter-clockwise).
inline double ShoelaceArea(const Loop& loop) {
  const size_t n = loop.x.size();
  double sum = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const size_t j = (i + 1) % n;
    sum += loop.x[i] * loop.y[j] - loop.x[j] * loop.y[i];
  }
  return sum / 2.0;
}

// Orientation of (a, b, c) in long double: > 0 counter-clockwise.
inline long double Orient(double ax, double ay, double bx, double by, double cx, double cy) {
  return (static_cast<long double>(bx) - ax) * (static_cast<long double>(cy) - ay) -
         (static_cast<long double>(by) - ay) * (static_cast<long double>(cx) - ax);
}

// Whether two segments cross properly at a point farther than margin from all four ends.
inline bool CrossInInteriors(const Seg& p, const Seg& q, double margin) {
  const long double d1 = Orient(p.x1, p.y1, p.x2, p.y2, q.x1, q.y1);
  const long double d2 = Orient(p.x1, p.y1, p.x2, p.y2, q.x2, q.y2);
  const long double d3 = Orient(q.x1, q.y1, q.x2, q.y2, p.x1, p.y1);
  const long double d4 = Orient(q.x1, q.y1, q.x2, q.y2, p.x2, p.y2);
  if (!((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0))) return false;
  if (!((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return false;
  const long double t = d3 / (d3 - d4);
  const double X = static_cast<double>(p.x1 + t * (p.x2 - p.x1));
  const double Y = static_cast<double>(p.y1 + t * (p.y2 - p.y1));
  for (auto [ex, ey] : {std::pair{p.x1, p.y1}, {p.x2, p.y2}, {q.x1, q.y1}, {q.x2, q.y2}})
    if (std::hypot(X - ex, Y - ey) <= margin) return false;
  return true;
}

}  // namespace kerneltest
