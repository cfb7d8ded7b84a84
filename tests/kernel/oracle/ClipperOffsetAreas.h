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

// Clipper works on integers: nanometres. At micrometres its rounding of the moved points
// shifts the tip of a sharp mitre by hundredths of a millimetre.
constexpr double kClipperScale = 1e6;

// Clipper's offset of the ring by g (positive grows), mitred with no practical limit (or
// with round joins to within 0.1 mm), in Clipper's units.
inline ClipperLib::Paths ClipperOffsetPaths(const std::vector<P3>& ring, double g,
                                            ClipperLib::JoinType join = ClipperLib::jtMiter) {
  const double k = kClipperScale;
  ClipperLib::Path path;
  for (const P3& p : ring)
    path.push_back({static_cast<ClipperLib::cInt>(std::llround(p.x * k)),
                    static_cast<ClipperLib::cInt>(std::llround(p.y * k))});
  // A mitre up to a million times the distance long (the engine sets no limit; Clipper's
  // usual thousand squares off the spikes of sharp stars); round joins to within 0.1 mm.
  ClipperLib::ClipperOffset offset(1e6, 0.1 * k);
  offset.AddPath(path, join, ClipperLib::etClosedPolygon);
  ClipperLib::Paths solution;
  offset.Execute(solution, g * k);
  return solution;
}

// The number of points of Clipper's offset, all loops together.
inline size_t ClipperPoints(const std::vector<P3>& ring, double g) {
  size_t points = 0;
  for (const auto& p : ClipperOffsetPaths(ring, g)) points += p.size();
  return points;
}

// The absolute areas of the paths of Clipper's offset (outer loops and holes), in square
// millimetres, smallest first.
inline std::vector<double> ClipperAreas(const std::vector<P3>& ring, double g,
                                        ClipperLib::JoinType join = ClipperLib::jtMiter) {
  const double k = kClipperScale;
  std::vector<double> areas;
  for (const auto& p : ClipperOffsetPaths(ring, g, join))
    areas.push_back(std::fabs(ClipperLib::Area(p)) / (k * k));
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

// What rounding the loops' points to single precision (the callers' arrays) can change in
// an area: each point moves by half a float step, over the loop's perimeter.
inline double FloatAllowance(const OffsetResult& r) {
  double most = 0.0;
  for (const OffsetLoop& l : r.loops) {
    double perimeter = 0.0, reach = 0.0;
    for (size_t i = 0; i < l.points.size(); ++i) {
      const P3& a = l.points[i];
      const P3& b = l.points[(i + 1) % l.points.size()];
      perimeter += std::hypot(b.x - a.x, b.y - a.y);
      reach = std::max({reach, std::fabs(a.x), std::fabs(a.y)});
    }
    most = std::max(most, perimeter * reach * std::ldexp(1.0, -23));
  }
  return most;
}

// Empty when the engine's offset of the ring by g (growing when positive) has Clipper's
// loops; otherwise what differs.
inline std::string Mismatch(const std::vector<P3>& ring, double g) {
  const std::vector<double> expected = ClipperAreas(ring, g);
  const OffsetResult r =
      RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, g));
  const std::vector<double> got = EngineAreas(r);
  const double total = Sum(expected);
  bool same = got.size() == expected.size();
  const double tolerance = 1e-6 * total + FloatAllowance(r);
  for (size_t i = 0; same && i < got.size(); ++i)
    same = std::fabs(got[i] - expected[i]) <= tolerance;
  if (same) return "";
  return "offset " + std::to_string(g) + ": engine " + Describe(got) + "/ clipper " +
         Describe(expected);
}

}  // namespace offsettest
