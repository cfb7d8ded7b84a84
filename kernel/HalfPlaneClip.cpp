#include "HalfPlaneClip.h"

#include <algorithm>

namespace kernel {

std::vector<PlanPoint> KeepPositiveSide(const std::vector<PlanPoint>& polygon,
                                        const std::vector<double>& side) {
  std::vector<PlanPoint> kept;
  const size_t n = polygon.size();
  if (std::none_of(side.begin(), side.end(), [](double s) { return s > 0.0; })) return kept;
  if (std::all_of(side.begin(), side.end(), [](double s) { return s > 0.0; })) return polygon;
  kept.reserve(n + 2);
  const auto passing = [&](size_t a, size_t b) {
    const double t = side[a] / (side[a] - side[b]);
    return PlanPoint{polygon[a].x + t * (polygon[b].x - polygon[a].x),
                     polygon[a].y + t * (polygon[b].y - polygon[a].y)};
  };
  for (size_t i = 0; i < n; ++i) {
    const size_t before = i == 0 ? n - 1 : i - 1;
    if (side[i] >= 0.0) {
      if (side[before] < 0.0 && side[i] > 0.0) kept.push_back(passing(before, i));
      kept.push_back(polygon[i]);
    } else if (side[before] > 0.0) {
      kept.push_back(passing(before, i));
    }
  }
  return kept;
}

std::vector<PlanPoint> KeepWithinBox(std::vector<PlanPoint> polygon, double minX, double minY,
                                     double maxX, double maxY) {
  std::vector<double> side;
  // The four sides of the box, each a function positive inside it.
  const auto cut = [&](auto value) {
    side.clear();
    for (const PlanPoint& p : polygon) side.push_back(value(p));
    polygon = KeepPositiveSide(polygon, side);
  };
  cut([&](const PlanPoint& p) { return p.x - minX; });
  cut([&](const PlanPoint& p) { return maxX - p.x; });
  cut([&](const PlanPoint& p) { return p.y - minY; });
  cut([&](const PlanPoint& p) { return maxY - p.y; });
  return polygon;
}

}  // namespace kernel
