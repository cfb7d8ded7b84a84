#pragma once
// Test helpers for the kernel: 1-based segment lists, split and trace wrappers, and
// independent geometry (shoelace area, exact orientation).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "KernelWorkArrays.h"
#include "LoopTracing.h"
#include "OffsetLoopTracing.h"
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

// Both tracers take the same arguments; they differ in how they walk.
using Tracer = int (*)(int, double[], double[], double[], double[], int*, std::int16_t[], double[],
                       double[], int, int);

inline TraceResult RunTracer(Tracer tracer, const std::vector<Seg>& segs, int loopCapacity,
                             int pointCapacity) {
  SegArrays in(segs);
  std::vector<std::int16_t> sizes(loopCapacity + 1, 0);
  std::vector<double> lx(pointCapacity + 1, 0.0), ly(pointCapacity + 1, 0.0);
  int loopCount = 0;
  TraceResult result;
  result.status = tracer(in.Count(), in.x1.data(), in.y1.data(), in.x2.data(), in.y2.data(),
                         &loopCount, sizes.data(), lx.data(), ly.data(), loopCapacity,
                         pointCapacity);
  int at = 0;
  for (int l = 1; l <= loopCount; ++l) {
    Loop loop;
    for (int p = 0; p < sizes[l]; ++p, ++at) {
      loop.x.push_back(lx[at + 1]);
      loop.y.push_back(ly[at + 1]);
    }
    result.loops.push_back(loop);
  }
  return result;
}

inline TraceResult Trace(const std::vector<Seg>& segs, int loopCapacity = 2000,
                         int pointCapacity = 20000) {
  return RunTracer(
      [](int n, double x1[], double y1[], double x2[], double y2[], int* loopCount,
         std::int16_t sizes[], double lx[], double ly[], int loopCap, int pointCap) {
        KernelWorkArrays work;
        return TraceLoopsFromSegments(work, n, x1, y1, x2, y2, loopCount, sizes, lx, ly, loopCap,
                                      pointCap);
      },
      segs, loopCapacity, pointCapacity);
}

inline TraceResult TraceOffset(const std::vector<Seg>& segs, int loopCapacity = 1000,
                               int pointCapacity = 10000) {
  return RunTracer(TraceOffsetLoops, segs, loopCapacity, pointCapacity);
}

inline std::vector<Seg> Square(double x0, double y0, double side) {
  return {{x0, y0, x0 + side, y0},
          {x0 + side, y0, x0 + side, y0 + side},
          {x0 + side, y0 + side, x0, y0 + side},
          {x0, y0 + side, x0, y0}};
}

inline std::vector<Seg> Join(std::vector<Seg> a, const std::vector<Seg>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The sides of a 10 x 10 square shuffled, some reversed, every end shaken by up to 0.045.
inline std::vector<Seg> ShakenSquare(std::mt19937& rng) {
  std::uniform_real_distribution<double> jitter(-0.045, 0.045);
  auto sides = Square(0, 0, 10);
  std::shuffle(sides.begin(), sides.end(), rng);
  for (Seg& s : sides) {
    if (rng() % 2) std::swap(s.x1, s.x2), std::swap(s.y1, s.y2);
    s.x1 += jitter(rng), s.y1 += jitter(rng), s.x2 += jitter(rng), s.y2 += jitter(rng);
  }
  return sides;
}

// A point of a ring in 3-D; rings are 0-based vectors of them.
struct P3 {
  double x, y, z;
};

// Signed plan area by the shoelace sum (positive counter-clockwise seen from above).
inline double PlanArea(const std::vector<P3>& ring) {
  double sum = 0.0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const P3& a = ring[i];
    const P3& b = ring[(i + 1) % ring.size()];
    sum += a.x * b.y - b.x * a.y;
  }
  return sum / 2.0;
}

// Winding number of the plan outline about (x, y); non-zero is inside.
inline int Winding(double x, double y, const std::vector<P3>& ring) {
  int winding = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const P3& a = ring[i];
    const P3& b = ring[(i + 1) % ring.size()];
    const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
    if (a.y <= y && b.y > y && side > 0) ++winding;
    if (a.y > y && b.y <= y && side < 0) --winding;
  }
  return winding;
}

// Plan distance from (x, y) to the outline's nearest edge.
inline double EdgeDistance(double x, double y, const std::vector<P3>& ring) {
  double best = 1e300;
  for (size_t i = 0; i < ring.size(); ++i) {
    const P3& a = ring[i];
    const P3& b = ring[(i + 1) % ring.size()];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const double along = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
    const double t = std::clamp(along, 0.0, 1.0);
    best = std::fmin(best, std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)));
  }
  return best;
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

// Where two segments cross properly (each strictly across the other's line), with the sine
// of their angle.
struct Crossing {
  double x, y, sine;
};

inline std::optional<Crossing> ProperCrossing(const Seg& p, const Seg& q) {
  const long double d1 = Orient(p.x1, p.y1, p.x2, p.y2, q.x1, q.y1);
  const long double d2 = Orient(p.x1, p.y1, p.x2, p.y2, q.x2, q.y2);
  const long double d3 = Orient(q.x1, q.y1, q.x2, q.y2, p.x1, p.y1);
  const long double d4 = Orient(q.x1, q.y1, q.x2, q.y2, p.x2, p.y2);
  if (!((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0))) return std::nullopt;
  if (!((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return std::nullopt;
  const long double t = d3 / (d3 - d4);
  return Crossing{static_cast<double>(p.x1 + t * (p.x2 - p.x1)),
                  static_cast<double>(p.y1 + t * (p.y2 - p.y1)),
                  std::fabs(static_cast<double>(d1 - d2)) / (p.Length() * q.Length())};
}

// Whether two segments cross properly at a point farther than margin from all four ends.
inline bool CrossInInteriors(const Seg& p, const Seg& q, double margin) {
  const auto c = ProperCrossing(p, q);
  if (!c) return false;
  for (auto [ex, ey] : {std::pair{p.x1, p.y1}, {p.x2, p.y2}, {q.x1, q.y1}, {q.x2, q.y2}})
    if (std::hypot(c->x - ex, c->y - ey) <= margin) return false;
  return true;
}

}  // namespace kerneltest
