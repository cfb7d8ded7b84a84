#pragma once
// Areas of Clipper's offset beside the engine's, for the offset comparisons.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "OffsetTestSupport.h"
#include "clipper.hpp"

namespace offsettest {

// Clipper works on integers: micrometres.
constexpr double kClipperScale = 1000.0;

// Clipper's offset of the ring by g (positive grows), mitred with no practical limit (or
// with round joins to within 0.1 mm); the absolute areas of its paths (outer loops and
// holes), in square millimetres, smallest first.
inline std::vector<double> ClipperAreas(const std::vector<P3>& ring, double g,
                                        ClipperLib::JoinType join = ClipperLib::jtMiter) {
  const double k = kClipperScale;
  ClipperLib::Path path;
  for (const P3& p : ring)
    path.push_back({static_cast<ClipperLib::cInt>(std::llround(p.x * k)),
                    static_cast<ClipperLib::cInt>(std::llround(p.y * k))});
  ClipperLib::ClipperOffset offset(1000.0, 0.1 * k);
  offset.AddPath(path, join, ClipperLib::etClosedPolygon);
  ClipperLib::Paths solution;
  offset.Execute(solution, g * k);
  std::vector<double> areas;
  for (const auto& p : solution) areas.push_back(std::fabs(ClipperLib::Area(p)) / (k * k));
  std::sort(areas.begin(), areas.end());
  return areas;
}

// The plan areas of the engine's loops, smallest first.
inline std::vector<double> EngineAreas(const OffsetResult& r) {
  std::vector<double> areas;
  for (const OffsetLoop& l : r.loops) areas.push_back(std::fabs(PlanArea(l.points)));
  std::sort(areas.begin(), areas.end());
  return areas;
}

inline double Sum(const std::vector<double>& areas) {
  return std::accumulate(areas.begin(), areas.end(), 0.0);
}

inline std::string Describe(const std::vector<double>& areas) {
  std::ostringstream out;
  out.precision(10);
  for (double a : areas) out << a << " ";
  return out.str();
}

}  // namespace offsettest
