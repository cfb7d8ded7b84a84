// The multi-slope roof solver's answer: the faces of the moving eave lines in single
// precision, the faces of one plane merged, and the check the roof must pass.
#include "SlopedRoofAnswer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "RoofWavefront.h"

namespace {

// How many single-precision units of rounding the answer's check allows a face point off
// its plane or above the top, and the faces' areas off the footprint's.
constexpr double kPlaneUnits = 64.0;
constexpr double kAreaUnits = 8.0;
// How many units a face may stand off another face's plane and still count as lying in it:
// faces merged into one are flat within that, a few roundings of their points.
constexpr double kMergeUnits = 8.0;

// ---- Single-precision rounding ----

// The largest plan coordinate of the footprint: every face point lies within its box.
double PlanMagnitude(const RoofFootprint& f) {
  double m = 0.0;
  for (int i = 0; i < f.Size(); ++i) m = std::max({m, std::fabs(f.x[i]), std::fabs(f.y[i])});
  return m;
}

// What rounding the roof's points to single precision moves: a unit in plan, which moves the
// height of a plane under a point by the plane's rise, and a unit of the heights.
struct Rounding {
  double plan, height;
  // How far, in height, `units` such roundings may move a point off a plane of that rise.
  double OffPlane(double units, double rise) const { return units * (rise * plan + height); }
};

// The plane of a footprint edge's roof as heights over the plan: on it a point's height above
// the edge's loop's eave is the edge's rise times its distance inward from the edge's line.
struct EdgePlane {
  double a = 0.0, b = 0.0, c = 0.0, rise = 0.0;
  double Z(double x, double y) const { return a * x + b * y + c; }
};

std::vector<EdgePlane> EdgePlanes(const RoofFootprint& f) {
  std::vector<EdgePlane> planes(f.Size());
  for (int e = 0; e < f.Size(); ++e) {
    const int j = f.Next(e);
    const double dx = f.x[j] - f.x[e], dy = f.y[j] - f.y[e], len = std::hypot(dx, dy);
    EdgePlane& p = planes[e];
    p.rise = std::tan(double(f.slope[e]));
    p.a = p.rise * dy / len, p.b = -p.rise * dx / len;
    p.c = f.base[f.loopOf[e]] - p.a * f.x[e] - p.b * f.y[e];
  }
  return planes;
}

// Whether every point of the face lies within tol, in height, of the plane.
bool LiesWithin(const EdgePlane& plane, const PlaneFace& face, double tol) {
  for (size_t k = 0; k < face.x.size(); ++k)
    if (!(std::fabs(face.z[k] - plane.Z(face.x[k], face.y[k])) <= tol)) return false;
  return true;
}

// ---- Faces of one plane ----

// The faces of the footprint's edges (faces[k] of edge edges[k]) grouped by plane, in order:
// a face joins the group of an earlier one when it lies within kMergeUnits roundings of that
// face's edge plane, so that a merged face stays as flat as its points can show. Faces of
// nearly straight walls (a corner a few tenths of a millimetre off the line) lie in planes
// that part by more than that across the roof and stay apart: merged, one would be dragged
// into the other's plane. The faces of a group that hang together by shared edges are merged;
// faces of one plane that only touch at a point, or lie apart, stay apart.
std::vector<PlaneFace> MergeCoplanarFaces(const std::vector<EdgePlane>& planes, const std::vector<PlaneFace>& faces,
                                          const std::vector<int>& edges, const Rounding& rounding) {
  std::vector<PlaneFace> out;
  std::vector<bool> taken(faces.size(), false);
  for (size_t i = 0; i < faces.size(); ++i) {
    if (taken[i]) continue;
    const EdgePlane& own = planes[edges[i]];
    const double tol = rounding.OffPlane(kMergeUnits, own.rise);
    std::vector<PlaneFace> plane{faces[i]};
    for (size_t k = i + 1; k < faces.size(); ++k)
      if (!taken[k] && LiesWithin(own, faces[k], tol)) {
        taken[k] = true;
        plane.push_back(faces[k]);
      }
    for (PlaneFace& face : MergeFacesSharingEdges(plane)) out.push_back(std::move(face));
  }
  return out;
}

// ---- The answer's check ----

double Perimeter(const std::vector<float>& x, const std::vector<float>& y) {
  double sum = 0.0;
  for (size_t i = 0; i < x.size(); ++i) {
    const size_t j = (i + 1) % x.size();
    sum += std::hypot(double(x[j]) - x[i], double(y[j]) - y[i]);
  }
  return sum;
}

// The footprint's area to be roofed: the outline's less its courtyards'.
double FootprintArea(const RoofFootprint& f) {
  double area = 0.0;
  for (size_t l = 0; l < f.start.size(); ++l) {
    double twice = 0.0;
    for (int i = f.start[l]; i < f.start[l] + f.count[l]; ++i) {
      const int j = f.Next(i);
      twice += f.x[i] * f.y[j] - f.x[j] * f.y[i];
    }
    area += l == 0 ? std::fabs(twice) / 2.0 : -std::fabs(twice) / 2.0;
  }
  return area;
}

double FootprintPerimeter(const RoofFootprint& f) {
  double sum = 0.0;
  for (int i = 0; i < f.Size(); ++i) sum += std::hypot(f.x[f.Next(i)] - f.x[i], f.y[f.Next(i)] - f.y[i]);
  return sum;
}

// Whether the faces cover the footprint once: their plan areas sum to its area. Rounding
// moves every face point, and every footprint point, by a unit in plan, which moves an
// area by at most the unit times half the perimeter.
bool TilesFootprint(const RoofFootprint& f, const std::vector<PlaneFace>& faces, const Rounding& rounding) {
  double area = 0.0, perimeters = FootprintPerimeter(f);
  for (const PlaneFace& face : faces) {
    area += std::fabs(PlanArea(face));
    perimeters += Perimeter(face.x, face.y);
  }
  return std::fabs(area - FootprintArea(f)) <= kAreaUnits * rounding.plan * perimeters / 2.0;
}

// Whether no face point stands above the roof's top, beyond rounding: the merge of a
// plane's faces splits their edges in single precision, which may move a point along a
// sloped edge by a unit in plan and so by the steepest rise in height.
bool StaysBelow(const RoofFootprint& f, const std::vector<PlaneFace>& faces, double top,
                const Rounding& rounding) {
  double steepest = 0.0;
  for (float s : f.slope) steepest = std::max(steepest, std::tan(double(s)));
  const double tol = rounding.OffPlane(kPlaneUnits, steepest);
  for (const PlaneFace& face : faces)
    for (float z : face.z)
      if (!(z <= top + tol)) return false;
  return true;
}

}  // namespace

RoofAnswer WavefrontAnswer(const RoofFootprint& f) {
  const float lowest = *std::min_element(f.base.begin(), f.base.end());
  std::vector<RoofLoop> loops(f.start.size());
  for (size_t l = 0; l < loops.size(); ++l) loops[l].base = double(f.base[l]) - lowest;
  for (int i = 0; i < f.Size(); ++i) {
    RoofLoop& loop = loops[f.loopOf[i]];
    loop.x.push_back(f.x[i]);
    loop.y.push_back(f.y[i]);
    loop.rise.push_back(std::tan(f.slope[i]));
  }
  std::vector<RoofFace> roof;
  RoofAnswer answer;
  if (!RoofFacesByWavefront(loops, &roof, &answer.top)) return {};
  answer.top += lowest;
  for (const RoofFace& r : roof) {
    PlaneFace face;
    for (const auto& p : r.points) {
      face.x.push_back(static_cast<float>(p[0]));
      face.y.push_back(static_cast<float>(p[1]));
      face.z.push_back(static_cast<float>(p[2] + lowest));
    }
    answer.faces.push_back(std::move(face));
    answer.edges.push_back(r.edge);
  }
  return answer;
}

std::vector<PlaneFace> CheckedRoofFaces(const RoofFootprint& f, const RoofAnswer& answer) {
  if (answer.faces.empty() || answer.faces.size() != answer.edges.size()) return {};
  for (int e : answer.edges)
    if (e < 0 || e >= f.Size()) return {};
  const float lowest = *std::min_element(f.base.begin(), f.base.end());
  const Rounding rounding{FloatUnit(PlanMagnitude(f)),
                          FloatUnit(std::max(std::fabs(answer.top), std::fabs(double(lowest))))};
  const std::vector<EdgePlane> planes = EdgePlanes(f);
  for (size_t k = 0; k < answer.faces.size(); ++k) {
    const EdgePlane& plane = planes[answer.edges[k]];
    if (!LiesWithin(plane, answer.faces[k], rounding.OffPlane(kPlaneUnits, plane.rise))) return {};
  }
  std::vector<PlaneFace> merged;
  for (PlaneFace& face : MergeCoplanarFaces(planes, answer.faces, answer.edges, rounding))
    if (face.x.size() >= 3) merged.push_back(std::move(face));
  if (!TilesFootprint(f, merged, rounding) || !StaysBelow(f, merged, answer.top, rounding)) return {};
  return merged;
}
