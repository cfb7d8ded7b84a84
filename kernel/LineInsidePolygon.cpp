#include "LineInsidePolygon.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kernel {

namespace {

constexpr double kEverywhere = std::numeric_limits<double>::infinity();

double Dot(PlanPoint a, PlanPoint b) { return a.x * b.x + a.y * b.y; }
PlanPoint Minus(PlanPoint a, PlanPoint b) { return {a.x - b.x, a.y - b.y}; }

// The parameters where the line crosses the polygon's edges, ascending. An edge counts from
// the side its start lies on, so a vertex on the line is crossed once or not at all.
std::vector<double> Crossings(const std::vector<PlanPoint>& polygon, PlanPoint at,
                              PlanPoint along) {
  const PlanPoint across{-along.y, along.x};
  std::vector<double> crossings;
  const size_t n = polygon.size();
  for (size_t i = 0; i < n; ++i) {
    const PlanPoint a = Minus(polygon[i], at), b = Minus(polygon[(i + 1) % n], at);
    const double ha = Dot(a, across), hb = Dot(b, across);
    if ((ha > 0.0) == (hb > 0.0)) continue;
    const double sa = Dot(a, along), sb = Dot(b, along);
    crossings.push_back(sa + (sb - sa) * ha / (ha - hb));
  }
  std::sort(crossings.begin(), crossings.end());
  return crossings;
}

// The parameters where the line runs within r of the segment a-b: where it meets the stadium
// around the segment (the two discs at its ends and the band along it). Empty (from > to)
// when it does not.
Stretch NearSegment(PlanPoint a, PlanPoint b, PlanPoint at, PlanPoint along, double r) {
  Stretch near{kEverywhere, -kEverywhere};
  const auto take = [&](double from, double to) {
    if (from <= to) near.from = std::min(near.from, from), near.to = std::max(near.to, to);
  };
  const PlanPoint across{-along.y, along.x};
  for (const PlanPoint end : {a, b}) {
    const PlanPoint e = Minus(end, at);
    const double h = Dot(e, across), s = Dot(e, along);
    if (std::fabs(h) <= r) take(s - std::sqrt(r * r - h * h), s + std::sqrt(r * r - h * h));
  }
  const PlanPoint ab = Minus(b, a);
  const double length = std::hypot(ab.x, ab.y);
  if (!(length > 0.0)) return near;
  const PlanPoint unit{ab.x / length, ab.y / length}, normal{-unit.y, unit.x};
  const PlanPoint start = Minus(at, a);
  // The band: 0 <= along the segment <= length and |across it| <= r, each linear in s.
  Stretch band{-kEverywhere, kEverywhere};
  const auto within = [&](double value, double rate, double low, double high) {
    if (rate == 0.0) {
      if (value < low || value > high) band = {kEverywhere, -kEverywhere};
      return;
    }
    const double s1 = (low - value) / rate, s2 = (high - value) / rate;
    band.from = std::max(band.from, std::min(s1, s2));
    band.to = std::min(band.to, std::max(s1, s2));
  };
  within(Dot(start, unit), Dot(along, unit), 0.0, length);
  within(Dot(start, normal), Dot(along, normal), -r, r);
  take(band.from, band.to);
  return near;
}

}  // namespace

std::vector<Stretch> StretchesInside(const std::vector<PlanPoint>& polygon,
                                     const std::vector<char>& outline, PlanPoint at,
                                     PlanPoint along, double lo, double hi, double clearance) {
  std::vector<Stretch> inside;
  const std::vector<double> crossings = Crossings(polygon, at, along);
  for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
    const double from = std::max(crossings[k], lo), to = std::min(crossings[k + 1], hi);
    if (from < to) inside.push_back({from, to});
  }
  if (inside.empty()) return inside;
  std::vector<Stretch> near;
  const size_t n = polygon.size();
  for (size_t i = 0; i < n; ++i) {
    if (!outline[i]) continue;
    const Stretch s = NearSegment(polygon[i], polygon[(i + 1) % n], at, along, clearance);
    if (s.from <= s.to) near.push_back(s);
  }
  std::sort(near.begin(), near.end(), [](const Stretch& a, const Stretch& b) { return a.from < b.from; });
  // The inside stretches less the near ones, both in order.
  std::vector<Stretch> clear;
  size_t k = 0;
  for (Stretch s : inside) {
    while (k < near.size() && near[k].to <= s.from) ++k;
    for (size_t m = k; m < near.size() && near[m].from < s.to && s.from < s.to; ++m) {
      if (near[m].from > s.from) clear.push_back({s.from, near[m].from});
      s.from = std::max(s.from, near[m].to);
    }
    if (s.from < s.to) clear.push_back(s);
  }
  return clear;
}

}  // namespace kernel
