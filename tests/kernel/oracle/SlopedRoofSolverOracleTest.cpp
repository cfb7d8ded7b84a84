// The roof solver with equal slopes against CGAL's straight skeleton of the same footprint
// (a face's height is its offset time times the tangent of the slope): on a few hundred
// generated outlines, the same number of faces, the same plan area per eave edge and the same
// ridge height. A difference names the footprint.
#include <gtest/gtest.h>

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_straight_skeleton_2.h>

#include <functional>
#include <sstream>

#include "SlopedRoofTestSupport.h"

using namespace rooftest;

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;

struct SkeletonFace {
  Pt a, b;                // the eave edge
  double area = 0;        // plan area
  std::vector<Pt> points; // plan outline
};

struct Skeleton {
  std::vector<SkeletonFace> faces;
  double top = 0;  // largest offset time
};

// CGAL's interior skeleton of a clockwise outline (handed over counter-clockwise).
Skeleton CgalSkeleton(const Outline& clockwise) {
  CGAL::Polygon_2<K> poly;
  for (auto it = clockwise.rbegin(); it != clockwise.rend(); ++it)
    poly.push_back(K::Point_2(it->x, it->y));
  const auto ss = CGAL::create_interior_straight_skeleton_2(poly.vertices_begin(),
                                                            poly.vertices_end(), K());
  Skeleton s;
  if (!ss) return s;
  for (auto v = ss->vertices_begin(); v != ss->vertices_end(); ++v)
    s.top = std::max(s.top, CGAL::to_double(v->time()));
  for (auto f = ss->faces_begin(); f != ss->faces_end(); ++f) {
    SkeletonFace face;
    const auto border = f->halfedge();
    face.a = {CGAL::to_double(border->opposite()->vertex()->point().x()),
              CGAL::to_double(border->opposite()->vertex()->point().y())};
    face.b = {CGAL::to_double(border->vertex()->point().x()),
              CGAL::to_double(border->vertex()->point().y())};
    double sum = 0.0;
    auto h = border;
    do {
      const auto p = h->opposite()->vertex()->point();
      const auto q = h->vertex()->point();
      sum += CGAL::to_double(p.x()) * CGAL::to_double(q.y()) -
             CGAL::to_double(q.x()) * CGAL::to_double(p.y());
      face.points.push_back({CGAL::to_double(q.x()), CGAL::to_double(q.y())});
      h = h->next();
    } while (h != border);
    face.area = std::fabs(sum) / 2.0;
    s.faces.push_back(face);
  }
  return s;
}

std::string Describe(const Outline& o, double degrees) {
  std::ostringstream s;
  s << "slope " << degrees << " footprint";
  for (const Pt& p : o) s << " (" << p.x << "," << p.y << ")";
  return s.str();
}

// The solver's face holding the eave a-b.
const Face* FaceOfEave(const Roof& r, const Pt& a, const Pt& b) {
  for (const Face& f : r.faces) {
    bool hasA = false, hasB = false;
    for (const auto& v : f.p) {
      hasA = hasA || (std::hypot(v[0] - a.x, v[1] - a.y) < 1.0 && std::fabs(v[2]) < 1.0);
      hasB = hasB || (std::hypot(v[0] - b.x, v[1] - b.y) < 1.0 && std::fabs(v[2]) < 1.0);
    }
    if (hasA && hasB) return &f;
  }
  return nullptr;
}

// Whether two skeleton faces belong to one roof plane and share a stretch of boundary: their
// eaves lie on one line (equal slopes), and two consecutive points of one are points of the
// other.
bool OnePlaneTouching(const SkeletonFace& f, const SkeletonFace& g) {
  const double ux = f.b.x - f.a.x, uy = f.b.y - f.a.y, len = std::hypot(ux, uy);
  auto off = [&](const Pt& p) { return std::fabs((p.x - f.a.x) * uy - (p.y - f.a.y) * ux) / len; };
  if (off(g.a) > 0.05 || off(g.b) > 0.05 || ux * (g.b.x - g.a.x) + uy * (g.b.y - g.a.y) <= 0)
    return false;
  auto has = [](const SkeletonFace& h, const Pt& p) {
    for (const Pt& q : h.points)
      if (std::hypot(p.x - q.x, p.y - q.y) < 1.0) return true;
    return false;
  };
  for (size_t i = 0; i < f.points.size(); ++i)
    if (has(g, f.points[i]) && has(g, f.points[(i + 1) % f.points.size()])) return true;
  return false;
}

// Compares one footprint; returns false (after reporting) on a difference. Faces of one
// roof plane that touch along an edge are one face of the solver (it merges them), so the
// skeleton's faces are grouped the same way first.
bool AgreesWithCgal(const Outline& outline, double degrees) {
  const std::string label = Describe(outline, degrees);
  const Roof roof = Solve(outline, std::vector<double>(outline.size(), Radians(degrees)));
  const Skeleton skeleton = CgalSkeleton(roof.outline);
  const size_t n = skeleton.faces.size();
  std::vector<size_t> group(n);
  for (size_t i = 0; i < n; ++i) group[i] = i;
  std::function<size_t(size_t)> root = [&](size_t i) { return group[i] == i ? i : root(group[i]); };
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 1; j < n; ++j)
      if (OnePlaneTouching(skeleton.faces[i], skeleton.faces[j])) group[root(j)] = root(i);
  size_t groups = 0;
  for (size_t i = 0; i < n; ++i) groups += root(i) == i;

  bool same = roof.result == 1 && roof.faces.size() == groups;
  EXPECT_EQ(roof.result, 1) << label;
  EXPECT_EQ(roof.faces.size(), groups) << label;
  const double rise = std::tan(Radians(degrees));
  double top = 0.0;
  for (const Face& f : roof.faces)
    for (const auto& v : f.p) top = std::max(top, v[2]);
  const double heightTol = 0.5 + 1e-5 * skeleton.top * rise;
  EXPECT_NEAR(top, skeleton.top * rise, heightTol) << label;
  same = same && std::fabs(top - skeleton.top * rise) <= heightTol;
  std::vector<double> expected(n, 0.0);
  for (size_t i = 0; i < n; ++i) expected[root(i)] += skeleton.faces[i].area;
  for (size_t i = 0; i < n; ++i) {
    if (root(i) != i) continue;
    const SkeletonFace& sf = skeleton.faces[i];
    const Face* f = FaceOfEave(roof, sf.a, sf.b);
    EXPECT_NE(f, nullptr) << label << ": no face on eave (" << sf.a.x << "," << sf.a.y << ")";
    if (f == nullptr) {
      same = false;
      continue;
    }
    const double tol = 2.0 + 1e-5 * expected[i];
    EXPECT_NEAR(std::fabs(PlanArea(*f)), expected[i], tol) << label;
    same = same && std::fabs(std::fabs(PlanArea(*f)) - expected[i]) <= tol;
  }
  return same;
}

}  // namespace

TEST(SolveSlopedRoofFacesOracle, EqualSlopesMatchCgalStraightSkeleton) {
  std::mt19937 rng(2026);
  std::uniform_real_distribution<double> degrees(15.0, 60.0);
  int compared = 0, differing = 0;
  auto check = [&](const Outline& o) {
    ++compared;
    if (!AgreesWithCgal(o, std::round(degrees(rng)))) ++differing;
  };
  for (int i = 0; i < 100; ++i) check(StarOutline(rng, 5 + static_cast<int>(rng() % 40), 4000, 16000));
  for (int i = 0; i < 50; ++i) check(StaircaseOutline(rng, 1 + static_cast<int>(rng() % 8)));
  for (int i = 0; i < 50; ++i) check(HistogramOutline(rng, 1 + static_cast<int>(rng() % 8)));
  for (const Outline& o : {LShape(), TShape(), UShape(), HShape(), Rectangle(20000, 8000),
                           Rectangle(9000, 9000)})
    check(o);
  EXPECT_EQ(differing, 0) << "of " << compared;
}

TEST(SolveSlopedRoofFacesOracle, LargeConcaveOutlines) {
  std::mt19937 rng(499);
  for (int n : {120, 499}) {
    const Outline o = StarOutline(rng, n, 30000, 60000);
    EXPECT_TRUE(AgreesWithCgal(o, 30)) << n << " vertices";
    ExpectSoundRoof(Solve(o, std::vector<double>(o.size(), Radians(30))),
                    std::to_string(n) + " vertices");
    std::uniform_real_distribution<double> degrees(20.0, 60.0);
    std::vector<double> slopes;
    for (size_t i = 0; i < o.size(); ++i) slopes.push_back(Radians(degrees(rng)));
    ExpectSoundRoof(Solve(o, slopes), std::to_string(n) + " vertices, unequal slopes");
  }
}
