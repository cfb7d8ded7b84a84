#pragma once
// Families of plan rings (millimetres, clockwise, y up) that the polygon offset is compared
// and timed on: jittered and jagged stars, saw rings, curved facades and orthogonal
// footprints, each placed on a site by a turn and a move.
#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace offsetrings {

using Plan = std::vector<std::array<double, 2>>;

// The ring turned by angle about the origin, then moved by (cx, cy).
inline Plan Placed(const Plan& plan, double angle, double cx, double cy) {
  const double c = std::cos(angle), s = std::sin(angle);
  Plan placed;
  for (const auto& p : plan) placed.push_back({cx + p[0] * c - p[1] * s, cy + p[0] * s + p[1] * c});
  return placed;
}

// n points about the origin whose angles wander by up to 0.3 of a step; every second point
// lies at rMax, the others at a radius drawn between rMin and rMax (whole millimetres).
inline Plan JitteredStar(std::mt19937& rng, int n, double rMin, double rMax) {
  std::uniform_real_distribution<double> radius(rMin, rMax), jitter(-0.3, 0.3);
  Plan plan;
  for (int i = 0; i < n; ++i) {
    const double a = -2 * M_PI * (i + jitter(rng)) / n;
    const double r = i % 2 ? radius(rng) : rMax;
    plan.push_back({std::round(r * std::cos(a)), std::round(r * std::sin(a))});
  }
  return plan;
}

// n points evenly round a circle of the given radius, each set back towards the centre by a
// depth drawn between 0 and setBack.
inline Plan JaggedStar(std::mt19937& rng, int n, double radius, double setBack) {
  std::uniform_real_distribution<double> depth(0.0, setBack);
  Plan plan;
  for (int i = 0; i < n; ++i) {
    const double a = -2 * M_PI * i / n;
    const double r = radius - depth(rng);
    plan.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return plan;
}

// n points spacing apart round a circle (5 m in radius at least), every second one set back
// by depth.
inline Plan Saw(int n, double spacing, double depth = 300.0) {
  const double radius = std::max(5000.0, n * spacing / (2 * M_PI));
  Plan plan;
  for (int i = 0; i < n; ++i) {
    const double a = -2 * M_PI * i / n;
    const double r = i % 2 ? radius - depth : radius;
    plan.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return plan;
}

// A curved facade of n points: an arc of the given radius about the origin, sweep radians
// long and depth deep, its outer side and its inner (concave) side sampled as a surveyor
// would, each point wandering along its arc by up to 0.15 of a step and off it by up to
// jitter (millimetres), joined by two straight ends. Grown by the radius, the inner side's
// moved edges all meet at the origin.
inline Plan CurvedFacade(std::mt19937& rng, int n, double radius, double depth, double sweep,
                         double jitter) {
  std::uniform_real_distribution<double> off(-jitter, jitter), along(-0.15, 0.15);
  const int outer = n / 2, inner = n - outer - 2;
  auto side = [&](double r, int steps, int i) {
    const double a = sweep / 2 - sweep * (i + (i > 0 && i < steps ? along(rng) : 0.0)) / steps;
    return std::array<double, 2>{r * std::cos(a) + off(rng), r * std::sin(a) + off(rng)};
  };
  Plan plan;
  for (int i = 0; i <= outer; ++i) plan.push_back(side(radius + depth, outer, i));
  for (int i = inner; i >= 0; --i) plan.push_back(side(radius, inner, i));
  return plan;
}

// A row of the given number of columns standing on one level base, each of a width drawn
// between widthMin and widthMax and a height between heightMin and heightMax (whole
// millimetres); neighbours of equal height make one column.
inline Plan OrthogonalFootprint(std::mt19937& rng, int columns, double widthMin, double widthMax,
                                double heightMin, double heightMax) {
  std::uniform_real_distribution<double> width(widthMin, widthMax), height(heightMin, heightMax);
  Plan top;  // left to right
  double x = 0.0;
  for (int c = 0; c < columns; ++c) {
    const double w = std::round(width(rng)), h = std::round(height(rng));
    if (!top.empty() && top.back()[1] == h) {
      top.back()[0] = x + w;
    } else {
      top.push_back({x, h});
      top.push_back({x + w, h});
    }
    x += w;
  }
  // Clockwise: up the left side, along the tops, down the right side, back along the base.
  Plan plan = {{0.0, 0.0}};
  plan.insert(plan.end(), top.begin(), top.end());
  plan.push_back({x, 0.0});
  return plan;
}

}  // namespace offsetrings
