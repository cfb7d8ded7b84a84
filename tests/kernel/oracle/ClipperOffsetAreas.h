#pragma once
// Areas of Clipper's offset beside the engine's, for the offset comparisons, and the rings
// they compare on as the engine gets them.
#include <algorithm>
#include <array>
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

// The ring as the engine's callers hand it over: single precision, clockwise or not.
inline std::vector<P3> ToRing(const std::vector<std::array<double, 2>>& plan) {
  std::vector<P3> ring;
  for (const auto& p : plan) ring.push_back({float(p[0]), float(p[1]), 0.0});
  return ring;
}

// Clipper's points in its units, measured from the ring's first point: far from the origin
// its intersections, worked out in double over nanometres, lose millimetres.
inline ClipperLib::IntPoint ClipperPoint(const std::vector<P3>& ring, double x, double y) {
  return {static_cast<ClipperLib::cInt>(std::llround((x - ring[0].x) * kClipperScale)),
          static_cast<ClipperLib::cInt>(std::llround((y - ring[0].y) * kClipperScale))};
}

// Clipper's offset of the ring by g (positive grows), mitred with no practical limit (or
// with round joins to within 0.1 mm), in Clipper's units from the ring's first point.
inline ClipperLib::Paths ClipperOffsetPaths(const std::vector<P3>& ring, double g,
                                            ClipperLib::JoinType join = ClipperLib::jtMiter) {
  const double k = kClipperScale;
  ClipperLib::Path path;
  for (const P3& p : ring) path.push_back(ClipperPoint(ring, p.x, p.y));
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

// The region of the engine's loops (a loop inside another a hole), in Clipper's units from
// the ring's first point.
inline ClipperLib::Paths EngineRegion(const std::vector<P3>& ring, const OffsetResult& r) {
  ClipperLib::Paths loops(r.loops.size());
  for (size_t l = 0; l < r.loops.size(); ++l)
    for (const P3& p : r.loops[l].points) loops[l].push_back(ClipperPoint(ring, p.x, p.y));
  ClipperLib::Clipper c;
  c.AddPaths(loops, ClipperLib::ptSubject, true);
  ClipperLib::Paths region;
  c.Execute(ClipperLib::ctUnion, region, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
  return region;
}

// The band within reach of the boundary of a region.
inline ClipperLib::Paths Band(const ClipperLib::Paths& region, double reach) {
  ClipperLib::ClipperOffset offset(2.0, 0.01 * kClipperScale);
  offset.AddPaths(region, ClipperLib::jtRound, ClipperLib::etClosedLine);
  ClipperLib::Paths band;
  offset.Execute(band, reach * kClipperScale);
  return band;
}

// The area of a that lies in neither b nor c (square millimetres).
inline double AreaOutside(const ClipperLib::Paths& a, const ClipperLib::Paths& b,
                          const ClipperLib::Paths& c) {
  ClipperLib::Clipper clipper;
  clipper.AddPaths(a, ClipperLib::ptSubject, true);
  clipper.AddPaths(b, ClipperLib::ptClip, true);
  clipper.AddPaths(c, ClipperLib::ptClip, true);
  ClipperLib::Paths outside;
  clipper.Execute(ClipperLib::ctDifference, outside, ClipperLib::pftNonZero,
                  ClipperLib::pftNonZero);
  double area = 0.0;
  for (const auto& p : outside) area += ClipperLib::Area(p);
  return std::fabs(area) / (kClipperScale * kClipperScale);
}

// Where the engine may part from Clipper at a tie (a distance that is exactly half an arm's
// width): within half a millimetre of Clipper's boundary, since it takes corners closer than
// that for one and drops strips thinner than its tracers' 0.1 mm; and where a strip of no
// width would leave no loop, it answers with the loops a hair (0.1 mm) nearer the ring.
constexpr double kTieReach = 0.5;
constexpr double kTieHair = 0.1;
// Area below which an offset holds nothing (square millimetres).
constexpr double kNothingLeft = 1.0;

// Empty when the engine's offset of the ring by g (growing when positive) answers a loop
// wherever Clipper's offset holds area, keeps all Clipper keeps, and keeps nothing that
// Clipper does not keep a hair nearer the ring, up to the reach of a tie; otherwise what
// differs.
inline std::string TieMismatch(const std::vector<P3>& ring, double g) {
  const OffsetResult r =
      RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, g));
  const ClipperLib::Paths engine = EngineRegion(ring, r);
  const double total = Sum(ClipperAreas(ring, g));
  const ClipperLib::Paths at = ClipperOffsetPaths(ring, g);
  const ClipperLib::Paths nearer = ClipperOffsetPaths(ring, g - std::copysign(kTieHair, g));
  const double missing = AreaOutside(at, engine, Band(at, kTieReach));
  const double extra = AreaOutside(engine, nearer, Band(nearer, kTieReach));
  const bool lost = r.loopCount == 0 && total > kNothingLeft;
  if (!lost && missing <= 1e-6 * total && extra <= 1e-6 * total) return "";
  return "offset " + std::to_string(g) + (lost ? ": no loop" : "") + ", missing " +
         std::to_string(missing) + ", extra " + std::to_string(extra) + ": engine " +
         Describe(EngineAreas(r)) + "/ clipper " + Describe(ClipperAreas(ring, g));
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
