// The roof solver with equal slopes against CGAL's straight skeleton of the same footprint
// (a face's height is its offset time times the tangent of the slope): on a few hundred
// generated outlines, the same number of faces, the same plan area per eave edge and the same
// ridge height. A difference names the footprint.
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_straight_skeleton_2.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>

#include "SlopedRoofTestSupport.h"

using namespace rooftest;

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;

struct SkeletonFace {
  Pt a, b;                    // the eave edge
  double area = 0;            // plan area
  std::vector<Pt> points;     // plan outline
  std::vector<double> times;  // offset time of each point
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
  const auto ss =
      CGAL::create_interior_straight_skeleton_2(poly.vertices_begin(), poly.vertices_end(), K());
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
      face.times.push_back(CGAL::to_double(h->vertex()->time()));
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

// Whether two skeleton faces lie in one plane: their eaves on one line, running one way.
bool OnePlane(const SkeletonFace& f, const SkeletonFace& g) {
  const double ux = f.b.x - f.a.x, uy = f.b.y - f.a.y, len = std::hypot(ux, uy);
  auto off = [&](const Pt& p) { return std::fabs((p.x - f.a.x) * uy - (p.y - f.a.y) * ux) / len; };
  return off(g.a) < 0.05 && off(g.b) < 0.05 && ux * (g.b.x - g.a.x) + uy * (g.b.y - g.a.y) > 0;
}

// Compares one footprint; returns false (after reporting) on a difference. The solver merges
// faces of one plane that share an edge (nearly coplanar ones too), and where several faces
// of one plane meet, how the skeleton shares the plane among them is a matter of ties; so
// skeleton faces are compared in classes: faces in one plane, and faces the solver merged.
// Per class the plan areas and the highest points must agree; a class of one skeleton face
// must be exactly one solver face, and the solver may have no face without an eave.
bool AgreesWithCgal(const Outline& outline, double degrees) {
  const std::string label = Describe(outline, degrees);
  const Roof roof = Solve(outline, std::vector<double>(outline.size(), Radians(degrees)));
  const Skeleton skeleton = CgalSkeleton(roof.outline);
  const double rise = std::tan(Radians(degrees));
  bool same = roof.result == 1;
  EXPECT_EQ(roof.result, 1) << label;

  const size_t n = skeleton.faces.size();
  std::vector<int> owner(n, -1);
  for (size_t i = 0; i < n; ++i) {
    for (size_t k = 0; k < roof.faces.size() && owner[i] < 0; ++k)
      if (OwnsEave(roof.faces[k], skeleton.faces[i].a, skeleton.faces[i].b, 1.0))
        owner[i] = static_cast<int>(k);
    EXPECT_GE(owner[i], 0) << label << ": no face on eave (" << skeleton.faces[i].a.x << ","
                         << skeleton.faces[i].a.y << ")";
    same = same && owner[i] >= 0;
  }
  if (!same) return false;
  std::set<int> owners(owner.begin(), owner.end());
  EXPECT_EQ(owners.size(), roof.faces.size()) << label << ": a face without an eave";
  same = same && owners.size() == roof.faces.size();

  std::vector<size_t> group(n);
  for (size_t i = 0; i < n; ++i) group[i] = i;
  std::function<size_t(size_t)> root = [&](size_t i) { return group[i] == i ? i : root(group[i]); };
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 1; j < n; ++j)
      if (owner[i] == owner[j] || OnePlane(skeleton.faces[i], skeleton.faces[j]))
        group[root(j)] = root(i);

  for (size_t c = 0; c < n; ++c) {
    if (root(c) != c) continue;
    double expectedArea = 0.0, expectedTop = 0.0, area = 0.0, top = 0.0;
    size_t members = 0;
    std::set<int> mine;
    for (size_t i = 0; i < n; ++i) {
      if (root(i) != c) continue;
      ++members;
      expectedArea += skeleton.faces[i].area;
      for (double t : skeleton.faces[i].times) expectedTop = std::max(expectedTop, t * rise);
      mine.insert(owner[i]);
    }
    for (int k : mine) {
      area += std::fabs(kerneltest::PlanArea(roof.faces[k]));
      for (const P3& v : roof.faces[k]) top = std::max(top, v.z);
    }
    const double areaTol = 2.0 + 1e-5 * expectedArea, topTol = 0.5 + 1e-5 * expectedTop;
    EXPECT_NEAR(area, expectedArea, areaTol) << label;
    EXPECT_NEAR(top, expectedTop, topTol) << label;
    same =
        same && std::fabs(area - expectedArea) <= areaTol && std::fabs(top - expectedTop) <= topTol;
    if (members == 1) {
      EXPECT_EQ(mine.size(), 1u) << label;
      same = same && mine.size() == 1;
    }
  }
  return same;
}

}  // namespace

TEST(SolveSlopedRoofFacesOracle, EqualSlopesMatchCgalStraightSkeleton) {
  // Star outlines are many-cornered and cost CGAL the most; orthogonal outlines bring the ties
  // of parallel and collinear eaves cheaply.
  std::mt19937 rng(2026);
  std::uniform_real_distribution<double> degrees(15.0, 60.0);
  int compared = 0, differing = 0;
  auto check = [&](const Outline& o) {
    ++compared;
    if (!AgreesWithCgal(o, std::round(degrees(rng)))) ++differing;
  };
  for (int i = 0; i < 30; ++i)
    check(StarOutline(rng, 5 + static_cast<int>(rng() % 40), 4000, 16000));
  for (int i = 0; i < 70; ++i) check(StaircaseOutline(rng, 1 + static_cast<int>(rng() % 8)));
  for (int i = 0; i < 70; ++i) check(HistogramOutline(rng, 1 + static_cast<int>(rng() % 8)));
  for (const Outline& o :
       {LShape(), TShape(), UShape(), HShape(), Rectangle(20000, 8000), Rectangle(9000, 9000)})
    check(o);
  EXPECT_EQ(differing, 0) << "of " << compared;
}

TEST(SolveSlopedRoofFacesOracle, LargeConcaveOutlines) {
  // CGAL's skeleton of a many-cornered star grows quickly dear, so it is compared up to 120
  // corners; the invariants hold the solver to the full 499 points.
  std::mt19937 rng(499);
  EXPECT_TRUE(AgreesWithCgal(StarOutline(rng, 120, 30000, 60000), 30));
  EXPECT_TRUE(AgreesWithCgal(HistogramOutline(rng, 40), 35));
  std::uniform_real_distribution<double> degrees(20.0, 60.0);
  for (const auto& [name, o] : {std::pair{"star", StarOutline(rng, 499, 30000, 60000)},
                                std::pair{"histogram", HistogramOutline(rng, 248)}}) {
    ExpectSoundRoof(Solve(o, EqualSlopes(o.size(), 30)), std::string(name) + " 499");
    std::vector<double> slopes;
    for (size_t i = 0; i < o.size(); ++i) slopes.push_back(Radians(degrees(rng)));
    ExpectSoundRoof(Solve(o, slopes), std::string(name) + " 499, unequal slopes");
  }
}
