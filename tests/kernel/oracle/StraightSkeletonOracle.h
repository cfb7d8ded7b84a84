#pragma once
// CGAL's interior straight skeleton as the oracle of equal-slope roofs over footprints with
// holes (a face's height is its offset time times the tangent of the slope). Used by the roof
// solver's and the pitched-roof generator's oracle tests.
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_offset_polygons_2.h>
#include <CGAL/create_straight_skeleton_2.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "SlopedRoofTestSupport.h"

namespace rooftest {

struct SkeletonFace {
  Pt a, b;                    // the eave edge
  double area = 0;            // plan area
  std::vector<double> times;  // offset time of each point, spikes trimmed
  double tipTime = 0;         // the latest offset time, a spike's tip included
};

// A face's outline without the spikes CGAL keeps where an edge's face is squeezed between two
// collinear edges: a tip where the outline runs out and back along one line (the longer side's
// far end within 0.01 mm of the shorter side's line), and a point repeated within 0.01 mm. A
// short side alone makes no spike, nor does a sliver a millimetre wide: surveyed outlines'
// faces have both.
inline std::vector<std::array<double, 3>> WithoutSpikes(std::vector<std::array<double, 3>> points) {
  for (bool removed = true; removed && points.size() > 3;) {
    removed = false;
    for (size_t i = 0; i < points.size() && !removed; ++i) {
      const size_t n = points.size();
      const auto& a = points[(i + n - 1) % n];
      const auto& v = points[i];
      const auto& b = points[(i + 1) % n];
      const double ax = a[0] - v[0], ay = a[1] - v[1], bx = b[0] - v[0], by = b[1] - v[1];
      const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
      const bool repeat = std::min(la, lb) < 0.01;
      const bool tip = ax * bx + ay * by > 0 && std::fabs(ax * by - ay * bx) < 0.01 * std::min(la, lb);
      if (repeat || tip) {
        points.erase(points.begin() + static_cast<long>(i));
        removed = true;
      }
    }
  }
  return points;
}

// CGAL's skeleton faces of an outer loop (clockwise) and its holes (counter-clockwise), each
// loop handed over the other way round: per face, its eave edge first, then its points as
// x, y and offset time. Empty when CGAL gives no skeleton.
struct CgalFace {
  Pt a, b;
  std::vector<std::array<double, 3>> points;
};
inline std::vector<CgalFace> CgalSkeletonFaces(const std::vector<Outline>& loops) {
  using K = CGAL::Exact_predicates_inexact_constructions_kernel;
  std::vector<CGAL::Polygon_2<K>> polygons(loops.size());
  for (size_t l = 0; l < loops.size(); ++l)
    for (auto it = loops[l].rbegin(); it != loops[l].rend(); ++it)
      polygons[l].push_back(K::Point_2(it->x, it->y));
  const auto ss = CGAL::create_interior_straight_skeleton_2(
      polygons[0].vertices_begin(), polygons[0].vertices_end(), polygons.begin() + 1, polygons.end(), K());
  std::vector<CgalFace> faces;
  if (!ss) return faces;
  for (auto f = ss->faces_begin(); f != ss->faces_end(); ++f) {
    CgalFace face;
    const auto border = f->halfedge();
    face.a = {CGAL::to_double(border->opposite()->vertex()->point().x()),
              CGAL::to_double(border->opposite()->vertex()->point().y())};
    face.b = {CGAL::to_double(border->vertex()->point().x()),
              CGAL::to_double(border->vertex()->point().y())};
    auto h = border;
    do {
      const auto p = h->vertex()->point();
      face.points.push_back({CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(h->vertex()->time())});
      h = h->next();
    } while (h != border);
    faces.push_back(std::move(face));
  }
  return faces;
}

// The skeleton faces with their plan areas and the offset times of their points (needles
// trimmed).
inline std::vector<SkeletonFace> SkeletonFaces(const std::vector<CgalFace>& cgal) {
  std::vector<SkeletonFace> faces;
  for (const CgalFace& f : cgal) {
    SkeletonFace face;
    face.a = f.a, face.b = f.b;
    double sum = 0.0;
    for (size_t i = 0; i < f.points.size(); ++i) {
      const auto& p = f.points[i];
      const auto& q = f.points[(i + 1) % f.points.size()];
      sum += p[0] * q[1] - q[0] * p[1];
      face.tipTime = std::max(face.tipTime, p[2]);
    }
    face.area = std::fabs(sum) / 2.0;
    for (const auto& p : WithoutSpikes(f.points)) face.times.push_back(p[2]);
    faces.push_back(face);
  }
  return faces;
}

inline std::vector<SkeletonFace> CgalSkeleton(const std::vector<Outline>& loops) {
  return SkeletonFaces(CgalSkeletonFaces(loops));
}

// The skeleton's roof as a height over plan points: the rise times the point's distance from
// the eave line of the face over it (of the nearest face, for a point on their edges).
class SkeletonSurface {
 public:
  SkeletonSurface(const std::vector<CgalFace>& faces, double rise) : rise_(rise) {
    for (const CgalFace& f : faces) {
      Ring ring;
      for (const auto& p : f.points) ring.push_back({p[0], p[1], 0.0});
      boxes_.emplace_back(ring);
      rings_.push_back(std::move(ring));
      eaves_.push_back({f.a, f.b});
    }
  }
  // Empty for a point farther than a millimetre from every face.
  std::optional<double> Height(double x, double y) const {
    size_t over = rings_.size();
    double nearest = 1e300;
    for (size_t k = 0; k < rings_.size(); ++k) {
      if (!boxes_[k].Near(x, y, 1.0)) continue;
      if (kerneltest::Winding(x, y, rings_[k]) != 0) {
        over = k;
        break;
      }
      const double d = kerneltest::EdgeDistance(x, y, rings_[k]);
      if (d < nearest) nearest = d, over = k;
    }
    if (over == rings_.size()) return std::nullopt;
    const auto& [a, b] = eaves_[over];
    return rise_ * std::fabs((x - a.x) * (b.y - a.y) - (y - a.y) * (b.x - a.x)) / std::hypot(b.x - a.x, b.y - a.y);
  }

 private:
  double rise_;
  std::vector<Ring> rings_;
  std::vector<Box> boxes_;
  std::vector<std::pair<Pt, Pt>> eaves_;
};

// The first roof face point off the skeleton's roof, by more than half a millimetre, the
// relative part given of its height and the rise times what rounding moves a node (the
// solver holds its points within 64 units of single precision of their planes): a face's
// needle or a slit the skeleton has not, its tip standing off the roof. Empty when none is.
inline std::string OffTheRoof(const std::vector<std::vector<kerneltest::P3>>& faces, const std::vector<CgalFace>& skeleton,
                              double rise, double magnitude, double relative) {
  const SkeletonSurface surface(skeleton, rise);
  const double rounding = rise * 128.0 * std::ldexp(magnitude, -24);
  for (const auto& face : faces)
    for (const kerneltest::P3& p : face) {
      const std::optional<double> expected = surface.Height(p.x, p.y);
      if (expected && std::fabs(p.z - *expected) <= 0.5 + relative * *expected + rounding) continue;
      std::ostringstream why;
      why << "the point (" << p.x << "," << p.y << "," << p.z << ") ";
      if (expected)
        why << "off the roof at " << *expected;
      else
        why << "outside the footprint";
      return why.str();
    }
  return {};
}

// CGAL's inward offset of an outline (clockwise) by a distance, as clockwise outlines.
inline std::vector<Outline> CgalInwardOffset(const Outline& outline, double distance) {
  using K = CGAL::Exact_predicates_inexact_constructions_kernel;
  CGAL::Polygon_2<K> polygon;
  for (auto it = outline.rbegin(); it != outline.rend(); ++it) polygon.push_back(K::Point_2(it->x, it->y));
  std::vector<Outline> offsets;
  for (const auto& offset : CGAL::create_interior_skeleton_and_offset_polygons_2(distance, polygon, K())) {
    Outline o;
    for (auto v = offset->vertices_begin(); v != offset->vertices_end(); ++v)
      o.push_back({CGAL::to_double(v->x()), CGAL::to_double(v->y())});
    offsets.push_back(SignedArea(o) > 0 ? Reversed(o) : o);
  }
  return offsets;
}

inline std::string Describe(const std::vector<Outline>& loops, double degrees) {
  std::ostringstream s;
  s.precision(10);  // enough to give the single-precision points back exactly
  s << "slope " << degrees << " footprint";
  for (size_t l = 0; l < loops.size(); ++l) {
    s << (l ? " hole" : "");
    for (const Pt& p : loops[l]) s << " (" << p.x << "," << p.y << ")";
  }
  return s.str();
}

inline std::string Describe(const std::vector<Outline>& loops, const std::vector<double>& slopes) {
  std::ostringstream s;
  s.precision(10);
  s << "slopes";
  for (double slope : slopes) s << " " << slope * 180.0 / M_PI;
  const std::string footprint = Describe(loops, 0.0);
  return s.str() + footprint.substr(footprint.find(" footprint"));
}

// Whether two skeleton faces lie in one plane: their eaves on one line, running one way.
inline bool OnePlane(const SkeletonFace& f, const SkeletonFace& g) {
  const double ux = f.b.x - f.a.x, uy = f.b.y - f.a.y, len = std::hypot(ux, uy);
  auto off = [&](const Pt& p) { return std::fabs((p.x - f.a.x) * uy - (p.y - f.a.y) * ux) / len; };
  return off(g.a) < 0.05 && off(g.b) < 0.05 && ux * (g.b.x - g.a.x) + uy * (g.b.y - g.a.y) > 0;
}

// How the roof faces (heights from 0) over the loops differ from the skeleton: empty when they
// agree. Every roof point lies on the skeleton's roof (OffTheRoof). Faces of one plane that
// meet may be merged, and how the skeleton shares a plane among several is a matter of ties,
// so faces are compared in classes (one plane, or merged by the roof): per class the plan
// areas to 2 mm², the relative part given and half a unit of single precision times the
// faces' perimeters, the tops to 0.5 mm and the relative part (a spike's tip, which the
// skeleton has with no width, the roof may have or not); a class of one skeleton face is
// exactly one roof face, and every roof face has an eave.
inline std::string SkeletonDifference(const std::vector<std::vector<kerneltest::P3>>& faces,
                                      const std::vector<Outline>& loops, double degrees,
                                      double relative = 1e-5) {
  const std::vector<CgalFace> cgal = CgalSkeletonFaces(loops);
  const std::vector<SkeletonFace> skeleton = SkeletonFaces(cgal);
  const double rise = std::tan(Radians(degrees));
  const size_t n = skeleton.size();
  const double magnitude = Magnitude(loops), halfUnit = std::ldexp(magnitude, -24);
  std::ostringstream why;
  if (n == 0) return "CGAL gives no skeleton";
  if (const std::string off = OffTheRoof(faces, cgal, rise, magnitude, relative); !off.empty()) return off;
  std::vector<int> owner(n, -1);
  for (size_t i = 0; i < n; ++i) {
    for (size_t k = 0; k < faces.size() && owner[i] < 0; ++k)
      if (OwnsEave(faces[k], skeleton[i].a, skeleton[i].b, 1.0)) owner[i] = static_cast<int>(k);
    if (owner[i] < 0) {
      why << "no face on eave (" << skeleton[i].a.x << "," << skeleton[i].a.y << ")";
      return why.str();
    }
  }
  if (std::set<int>(owner.begin(), owner.end()).size() != faces.size()) return "a face without an eave";

  std::vector<size_t> group(n);
  for (size_t i = 0; i < n; ++i) group[i] = i;
  std::function<size_t(size_t)> root = [&](size_t i) { return group[i] == i ? i : root(group[i]); };
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 1; j < n; ++j)
      if (owner[i] == owner[j] || OnePlane(skeleton[i], skeleton[j])) group[root(j)] = root(i);

  for (size_t c = 0; c < n; ++c) {
    if (root(c) != c) continue;
    double expectedArea = 0.0, expectedTop = 0.0, tipTop = 0.0, area = 0.0, top = 0.0;
    size_t members = 0;
    std::set<int> mine;
    for (size_t i = 0; i < n; ++i) {
      if (root(i) != c) continue;
      ++members;
      expectedArea += skeleton[i].area;
      for (double t : skeleton[i].times) expectedTop = std::max(expectedTop, t * rise);
      tipTop = std::max(tipTop, skeleton[i].tipTime * rise);
      mine.insert(owner[i]);
    }
    double perimeters = 0.0;
    for (int k : mine) {
      area += std::fabs(kerneltest::PlanArea(faces[k]));
      perimeters += Perimeter(faces[k]);
      for (const kerneltest::P3& v : faces[k]) top = std::max(top, v.z);
    }
    const double areaTol = 2.0 + relative * expectedArea + halfUnit * perimeters;
    const double topTol = 0.5 + relative * expectedTop;
    if (std::fabs(area - expectedArea) > areaTol || top < expectedTop - topTol ||
        top > std::max(expectedTop, tipTop) + topTol || (members == 1 && mine.size() != 1)) {
      why << "the faces on eave (" << skeleton[c].a.x << "," << skeleton[c].a.y << "): area " << area
          << " against " << expectedArea << ", top " << top << " against " << expectedTop << ", "
          << mine.size() << " faces for " << members;
      return why.str();
    }
  }
  return {};
}

// The volume under plane faces (heights from 0) and their highest point.
inline std::pair<double, double> VolumeAndTop(const std::vector<std::vector<kerneltest::P3>>& faces) {
  double volume = 0.0, top = 0.0;
  for (const auto& face : faces) {
    double sum = 0.0;  // twice the signed fan areas, each times three mean heights
    for (size_t i = 1; i + 1 < face.size(); ++i) {
      const kerneltest::P3 &a = face[0], &b = face[i], &c = face[i + 1];
      sum += ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) * (a.z + b.z + c.z);
    }
    volume += std::fabs(sum) / 6.0;
    for (const kerneltest::P3& p : face) top = std::max(top, p.z);
  }
  return {volume, top};
}

// How the volume under the roof faces and their top differ from those of CGAL's skeleton of
// the loops at the slope, or a roof point off the skeleton's roof: empty when they agree
// within a hundred-thousandth.
inline std::string MassDifference(const std::vector<std::vector<kerneltest::P3>>& faces,
                                  const std::vector<Outline>& loops, double degrees) {
  const std::vector<CgalFace> skeleton = CgalSkeletonFaces(loops);
  if (skeleton.empty()) return "CGAL gives no skeleton";
  if (const std::string off = OffTheRoof(faces, skeleton, std::tan(Radians(degrees)), Magnitude(loops), 1e-5); !off.empty())
    return off;
  std::vector<std::vector<kerneltest::P3>> raised(skeleton.size());
  for (size_t f = 0; f < skeleton.size(); ++f)
    for (const auto& p : skeleton[f].points) raised[f].push_back({p[0], p[1], p[2] * std::tan(Radians(degrees))});
  const auto [volume, top] = VolumeAndTop(faces);
  const auto [expectedVolume, expectedTop] = VolumeAndTop(raised);
  if (std::fabs(volume - expectedVolume) <= 1e-5 * expectedVolume && std::fabs(top - expectedTop) <= 0.5 + 1e-5 * expectedTop)
    return {};
  std::ostringstream why;
  why << "volume " << volume << " against " << expectedVolume << " ("
      << 100.0 * (volume - expectedVolume) / expectedVolume << "%), top " << top << " against " << expectedTop;
  return why.str();
}

inline bool AgreesWithSkeleton(const std::vector<std::vector<kerneltest::P3>>& faces,
                               const std::vector<Outline>& loops, double degrees,
                               const std::string& label, double relative = 1e-5) {
  const std::string difference = SkeletonDifference(faces, loops, degrees, relative);
  EXPECT_EQ(difference, "") << label;
  return difference.empty();
}

}  // namespace rooftest
