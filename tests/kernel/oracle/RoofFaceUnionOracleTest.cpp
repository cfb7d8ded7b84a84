// The roof-face union against a brute-force upper envelope: at random plan points clear of
// every input and result edge, the highest input face (tried one by one) against the one
// result piece that holds the point (outer loop less its holes); none where no face is. Plan
// areas against Clipper's union of the outlines. Families: eaves at mixed heights, gable
// roofs at right angles with a ridge a hair from the other's end, pairs of multi-slope roofs
// from the roof solver, the same on slabs with their upright bands, and one roof alone; at
// the origin, 5e5 and 3e6 from it, as the command hands them over (from their lower corner)
// and raw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

#include "../RoofFaceUnionTestSupport.h"
#include "../SlopedRoofTestSupport.h"
#include "../UnionRoofScenes.h"
#include "clipper.hpp"

using namespace uniontest;

namespace {

constexpr double kDegree = M_PI / 180.0;
const double kPlaces[] = {0.0, 5e5, 3e6};

// Half a unit in the last place of the largest coordinate: how far single precision moved
// the scene's vertices (every scene here is drawn in floats where it stands), and moves the
// engine's in and out.
double Rounding(const std::vector<Face>& faces) {
  double largest = 0.0;
  for (const Face& f : faces)
    for (const P3& p : f) largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  return std::ldexp(largest, -24);
}

double Clearance(double x, double y, const std::vector<Face>& rings) {
  double d = 1e300;
  for (const Face& r : rings) d = std::min(d, EdgeDistance(x, y, r));
  return d;
}

ClipperLib::Path PlanPath(const Face& face) {
  ClipperLib::Path path;
  for (const P3& p : face) path.push_back({std::llround(p.x * 100), std::llround(p.y * 100)});
  return path;
}

// Plan area of the non-zero union of the rings, in mm2.
double UnionArea(const std::vector<Face>& rings) {
  ClipperLib::Clipper clipper;
  for (const Face& r : rings) {
    ClipperLib::Path path = PlanPath(r);
    if (!ClipperLib::Orientation(path)) std::reverse(path.begin(), path.end());
    clipper.AddPath(path, ClipperLib::ptSubject, true);
  }
  ClipperLib::Paths out;
  clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  double area = 0.0;
  for (const auto& p : out) area += ClipperLib::Area(p);
  return area / 1e4;
}

// What is wrong with the union of the faces (empty when nothing). The points lie farther
// than eps from every edge: the grid rounds a cut by 0.007 mm (more where two cuts meet at a
// shallow angle), single precision moves vertices by `rounding`. Heights agree within what
// that rounding moves a plane by at the slopes drawn here (up to 55 degrees) and the
// thousandth of a millimetre within which faces count as level.
std::string Check(const std::vector<Face>& faces, bool fromLowerCorner, unsigned seed, int points = 400) {
  const UnionRun run = fromLowerCorner ? RunUnionAtLowerCorner(faces) : RunUnion(faces);
  if (run.status != 1) return "refused";
  const double rounding = Rounding(faces);
  const double eps = 0.05 + 16 * rounding, tolerance = 0.01 + 24 * rounding;
  const std::vector<ResultFace> result = ResultFaces(run);
  std::vector<Face> sloped, edges = faces, pieces;
  for (const Face& f : faces)
    if (!PlaneOf(f).Vertical()) sloped.push_back(f);
  for (const UnionLoop& loop : run.loops) edges.push_back(loop.points);
  double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
  for (const Face& f : sloped)
    for (const P3& p : f) lo[0] = std::min(lo[0], p.x), lo[1] = std::min(lo[1], p.y), hi[0] = std::max(hi[0], p.x), hi[1] = std::max(hi[1], p.y);
  std::ostringstream what;
  what.precision(10);
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> ux(lo[0] - 500, hi[0] + 500), uy(lo[1] - 500, hi[1] + 500);
  for (int k = 0; k < points; ++k) {
    const double x = ux(rng), y = uy(rng);
    if (Clearance(x, y, edges) <= eps) continue;
    double top = 0.0;
    const bool roofed = Envelope(sloped, x, y, &top);
    int over = 0;
    for (const ResultFace& piece : result) {
      if (std::fabs(piece.plane.nz) < 1e-3 || !piece.Covers(x, y)) continue;
      ++over;
      if (roofed && std::fabs(piece.plane.ZAt(x, y) - top) > tolerance)
        what << "at (" << x << ", " << y << ") a piece at " << piece.plane.ZAt(x, y) << " under the top " << top << "; ";
    }
    if (over != (roofed ? 1 : 0)) what << "at (" << x << ", " << y << ") " << over << " pieces; ";
  }
  for (const ResultFace& piece : result) {
    if (std::fabs(piece.plane.nz) < 1e-3) continue;
    pieces.push_back(piece.outer);
    for (const Face& h : piece.holes) pieces.push_back(h);
  }
  double covered = 0.0;
  for (const ResultFace& piece : result)
    if (std::fabs(piece.plane.nz) >= 1e-3) {
      covered += std::fabs(PlanArea(piece.outer));
      for (const Face& h : piece.holes) covered -= std::fabs(PlanArea(h));
    }
  double perimeter = 0.0;
  for (const Face& p : pieces) perimeter += rooftest::Perimeter(p);
  const double expected = UnionArea(sloped);
  if (std::fabs(covered - expected) > 1e-7 * expected + eps * perimeter)
    what << "pieces cover " << covered << " of " << expected << "; ";
  return what.str();
}

using Scene = std::vector<Face>;

Scene Moved(Scene scene, double dx, double dy, bool reversed = false) {
  for (Face& f : scene) {
    for (P3& p : f) p = {static_cast<float>(p.x + dx), static_cast<float>(p.y + dy), p.z};
    if (reversed) std::reverse(f.begin(), f.end());
  }
  return scene;
}

// Three to five hip roofs near one another, eaves 6,000 to 9,000, turned by odd angles.
Scene MixedEaves(unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> place(0, 14000), size(6000, 16000), turn(0, M_PI),
      pitch(20, 45), eave(6000, 9000);
  Scene scene;
  for (int r = 3 + static_cast<int>(seed % 3); r > 0; --r) {
    unionscenes::RoofPlan plan{place(rng), place(rng), size(rng), size(rng), turn(rng), pitch(rng) * kDegree, false};
    plan.eave = std::round(eave(rng) / 100) * 100;
    const Scene roof = unionscenes::RoofFaces(plan);
    scene.insert(scene.end(), roof.begin(), roof.end());
  }
  return scene;
}

TEST(RoofFaceUnionOracle, EavesAtMixedHeights) {
  for (unsigned seed = 0; seed < 24; ++seed)
    for (const double at : kPlaces)
      for (const bool local : {true, false})
        EXPECT_EQ(Check(Moved(MixedEaves(seed), at, 0.7 * at, seed % 2), local, seed), "")
            << "seed " << seed << " at " << at << (local ? " from the lower corner" : " raw");
}

// Two closed gable roofs at right angles, eaves at one height: the second one's ridge ends
// `gap` beyond the first one's gable end (negative: short of it), with or without the end
// triangles, turned.
TEST(RoofFaceUnionOracle, GablesAtRightAnglesWithARidgeNearTheOtherEnd) {
  unsigned seed = 0;
  for (const double gap : {0.0, 0.3, -0.3, 0.7, 1.0, 1.6, -1.6, 3.0, 5.0})
    for (const bool ends : {true, false})
      for (const double turn : {0.0, 23.3, 90.0}) {
        const double c = std::cos(turn * kDegree), s = std::sin(turn * kDegree);
        const auto roof = [&](double cx, double cy, double w, double d, double t) {
          unionscenes::RoofPlan plan{cx * c - cy * s, cx * s + cy * c, w, d, t + turn * kDegree, 35 * kDegree, true};
          plan.eave = 7200, plan.gableEnds = ends;
          return unionscenes::RoofFaces(plan);
        };
        Scene scene = roof(0, 0, 20000, 8000, 0);                // ridge along x, ends at x = +-10,000
        const Scene across = roof(10000 + gap, -3000, 6000, 14000, 0);  // ridge along y
        scene.insert(scene.end(), across.begin(), across.end());
        for (const double at : {0.0, 3e6})
          for (const bool local : {true, false}) {
            ++seed;
            EXPECT_EQ(Check(Moved(scene, at, at, seed % 2), local, seed), "")
                << "gap " << gap << (ends ? " with" : " without") << " ends, turned " << turn << " at " << at
                << (local ? " from the lower corner" : " raw");
          }
      }
}

// A multi-slope roof from the roof solver over an L, T or U outline turned about the origin
// and moved to (x, y): its outline (clockwise) and faces.
struct SolvedRoof {
  rooftest::Outline outline;
  Scene faces;
};

SolvedRoof SolvedRoofAt(int shape, double turn, double x, double y, double degrees) {
  rooftest::Outline outline = shape == 0 ? rooftest::LShape() : shape == 1 ? rooftest::TShape() : rooftest::UShape();
  for (rooftest::Pt& p : outline)
    p = {p.x * std::cos(turn) - p.y * std::sin(turn), p.x * std::sin(turn) + p.y * std::cos(turn)};
  const rooftest::Roof roof = rooftest::Solve(outline, rooftest::EqualSlopes(outline.size(), degrees));
  SolvedRoof solved;
  for (const rooftest::Pt& p : roof.outline) solved.outline.push_back({p.x + x, p.y + y});
  for (const rooftest::Ring& ring : roof.faces) {
    Face face;
    for (const P3& p : ring) face.push_back({p.x + x, p.y + y, p.z});
    solved.faces.push_back(face);
  }
  return solved;
}

TEST(RoofFaceUnionOracle, PairsOfMultiSlopeRoofsFromTheSolver) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> offset(-9000, 9000), turn(0, 2 * M_PI), pitch(20, 50);
  for (unsigned seed = 0; seed < 30; ++seed) {
    const double degrees = pitch(rng), at = kPlaces[seed % 3];
    Scene scene = SolvedRoofAt(static_cast<int>(seed % 3), turn(rng), 0, 0, degrees).faces;
    const Scene other = SolvedRoofAt(static_cast<int>(seed / 3 % 3), turn(rng), offset(rng), offset(rng),
                                     seed % 2 ? degrees : pitch(rng)).faces;
    scene.insert(scene.end(), other.begin(), other.end());
    for (const bool local : {true, false})
      EXPECT_EQ(Check(Moved(scene, at, at), local, seed), "") << "seed " << seed << (local ? " from the lower corner" : " raw");
  }
}

// A site of 10 to 100 buildings with their eaves at one height, hip, closed gable,
// multi-slope and pyramid roofs at random, in rows, in clusters or on a grid, neighbours
// overlapping.
Scene Site(unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> size(6000, 16000), turn(0, M_PI), pitch(20, 45), jitter(-3000, 3000);
  const int buildings = 10 + static_cast<int>(seed * 37 % 91), layout = static_cast<int>(seed % 3);
  Scene scene;
  for (int b = 0; b < buildings; ++b) {
    const double x = layout == 0 ? b * 9000.0 : layout == 1 ? (b % 4) * 40000 + jitter(rng) : (b % 10) * 11000.0;
    const double y = layout == 0 ? (b / 12) * 14000.0 : layout == 1 ? (b / 4 % 4) * 40000 + jitter(rng) : (b / 10) * 11000.0;
    const double w = size(rng), d = size(rng), t = layout == 1 ? turn(rng) : 0.0, degrees = pitch(rng);
    const int kind = static_cast<int>(rng() % 4);
    Scene roof;
    if (kind == 2) {
      roof = SolvedRoofAt(static_cast<int>(rng() % 3), t, x - 6000, y - 6000, degrees).faces;
    } else if (kind == 3) {  // a pyramid
      const P3 apex{x, y, std::min(w, d) / 2 * std::tan(degrees * kDegree)};
      const double c = std::cos(t), s = std::sin(t);
      const double u[] = {-w / 2, w / 2, w / 2, -w / 2}, v[] = {-d / 2, -d / 2, d / 2, d / 2};
      for (int k = 0; k < 4; ++k)
        roof.push_back({{x + u[k] * c - v[k] * s, y + u[k] * s + v[k] * c, 0}, {x + u[(k + 1) % 4] * c - v[(k + 1) % 4] * s, y + u[(k + 1) % 4] * s + v[(k + 1) % 4] * c, 0}, apex});
    } else {
      roof = unionscenes::RoofFaces({x, y, w, d, t, degrees * kDegree, kind == 1});
    }
    scene.insert(scene.end(), roof.begin(), roof.end());
  }
  return scene;
}

TEST(RoofFaceUnionOracle, SitesOfManyBuildingsFarFromTheOrigin) {
  for (unsigned seed = 0; seed < 12; ++seed)
    for (const bool local : {true, false})
      EXPECT_EQ(Check(Moved(Site(seed), 3e6, 1e6), local, seed, 1500), "")
          << "site " << seed << (local ? " from the lower corner" : " raw");
}

// The multi-slope roof on a slab: its faces raised by the thickness, an upright band along
// every eave and the bottom face under them.
Scene OnSlab(const SolvedRoof& roof, double thickness, std::vector<Face>& bands) {
  Scene scene = roof.faces;
  for (Face& f : scene)
    for (P3& p : f) p.z += thickness;
  Face bottom;
  for (size_t i = 0; i < roof.outline.size(); ++i) {
    const rooftest::Pt a = roof.outline[i], b = roof.outline[(i + 1) % roof.outline.size()];
    bands.push_back({{a.x, a.y, 0}, {b.x, b.y, 0}, {b.x, b.y, thickness}, {a.x, a.y, thickness}});
    bottom.insert(bottom.begin(), {a.x, a.y, 0});
  }
  scene.insert(scene.end(), bands.end() - static_cast<long>(roof.outline.size()), bands.end());
  scene.push_back(bottom);
  return scene;
}

// The area of the band (upright, from z0 up) that no face of `other` stands over: along the
// band's foot the other roof's top height is linear between the places where the foot
// crosses an edge of the other's faces, and the visible height bends where that top passes
// the band's foot or head.
double BandAreaOutside(const Face& band, const std::vector<Face>& other) {
  const P3 a = band[0], b = band[1];
  const double z0 = band[0].z, z1 = band[2].z, length = std::hypot(b.x - a.x, b.y - a.y);
  const auto at = [&](double t) { return P3{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), 0}; };
  std::vector<double> cuts{0.0, 1.0};
  for (const Face& f : other)
    for (size_t i = 0; i < f.size(); ++i) {
      const auto c = kerneltest::ProperCrossing({a.x, a.y, b.x, b.y}, {f[i].x, f[i].y, f[(i + 1) % f.size()].x, f[(i + 1) % f.size()].y});
      if (c) cuts.push_back(std::hypot(c->x - a.x, c->y - a.y) / length);
    }
  std::sort(cuts.begin(), cuts.end());
  const auto visible = [&](double t) {
    double top = 0.0;
    const P3 p = at(t);
    return Envelope(other, p.x, p.y, &top) ? z1 - std::clamp(top, z0, z1) : z1 - z0;
  };
  double area = 0.0;
  for (size_t k = 0; k + 1 < cuts.size(); ++k) {
    const double t0 = cuts[k], t1 = cuts[k + 1], span = t1 - t0;
    if (!(span > 0)) continue;
    // The top inside the stretch, as a line through two points within it.
    double h0 = 0.0, h1 = 0.0;
    const bool in0 = Envelope(other, at(t0 + span / 4).x, at(t0 + span / 4).y, &h0);
    Envelope(other, at(t1 - span / 4).x, at(t1 - span / 4).y, &h1);
    std::vector<double> bends{t0, t1};
    for (const double level : {z0, z1}) {
      const double t = t0 + span / 4 + (level - h0) / (h1 - h0) * span / 2;
      if (in0 && t > t0 && t < t1) bends.push_back(t);
    }
    std::sort(bends.begin(), bends.end());
    for (size_t m = 0; m + 1 < bends.size(); ++m)  // linear between bends
      area += visible((bends[m] + bends[m + 1]) / 2) * (bends[m + 1] - bends[m]) * length;
  }
  return area;
}

// Half the length of Newell's normal: the area of a loop in its own plane.
double Area3d(const Face& loop) {
  double twice[3] = {0, 0, 0};
  for (size_t i = 0; i < loop.size(); ++i) {
    const P3& p = loop[i];
    const P3& q = loop[(i + 1) % loop.size()];
    twice[0] += (p.y - q.y) * (p.z + q.z), twice[1] += (p.z - q.z) * (p.x + q.x), twice[2] += (p.x - q.x) * (p.y + q.y);
  }
  return std::hypot(twice[0], twice[1], twice[2]) / 2;
}

// Two multi-slope roofs on 120 mm slabs, turned: the bands keep what the other roof does not
// stand over (the 0.1 mm within which a point by an outline is not under it costs at most
// 12 mm2 where a band passes under the other roof's eave).
TEST(RoofFaceUnionOracle, SlabsKeepTheirBandsAtEveryTurn) {
  unsigned seed = 0;
  for (const double turn : {0.0, 0.5, 1.0, 5.0, 37.3, 45.0, 90.0, 135.0, 180.0, 270.0}) {
    const double c = std::cos(turn * kDegree), s = std::sin(turn * kDegree);
    const SolvedRoof first = SolvedRoofAt(0, turn * kDegree, 0, 0, 30);
    const SolvedRoof second = SolvedRoofAt(1, turn * kDegree, 3300.5 * c - 2100.25 * s, 3300.5 * s + 2100.25 * c, 30);
    std::vector<Face> bands[2];
    const Scene slabs[2] = {OnSlab(first, 120, bands[0]), OnSlab(second, 120, bands[1])};
    double expected = 0.0, kept = 0.0;
    for (int k = 0; k < 2; ++k)
      for (const Face& band : bands[k]) expected += BandAreaOutside(band, Scene(slabs[1 - k].begin(), slabs[1 - k].begin() + static_cast<long>((k ? first : second).faces.size())));
    Scene scene = slabs[0];
    scene.insert(scene.end(), slabs[1].begin(), slabs[1].end());
    for (const bool local : {true, false}) {
      EXPECT_EQ(Check(scene, local, ++seed), "") << "turned " << turn;
      const UnionRun run = local ? RunUnionAtLowerCorner(scene) : RunUnion(scene);
      std::vector<Face> all = bands[0];
      all.insert(all.end(), bands[1].begin(), bands[1].end());
      kept = 0.0;
      for (const UnionLoop& loop : run.loops)
        if (HomeFace(loop, all, 0.01) >= 0) kept += Area3d(loop.points) * (loop.hole ? -1 : 1);
      EXPECT_NEAR(kept, expected, 12.0 * 2 * (bands[0].size() + bands[1].size())) << "turned " << turn;
    }
  }
}

TEST(RoofFaceUnionOracle, OneRoofAloneComesBackAsItWent) {
  std::vector<Scene> roofs;
  for (const bool gable : {false, true})
    for (const double turn : {0.0, 23.3, 135.0})
      roofs.push_back(unionscenes::RoofFaces({3e6, 1e6, 16000, 9000, turn * kDegree, 30 * kDegree, gable}));
  for (int shape = 0; shape < 3; ++shape) roofs.push_back(Moved(SolvedRoofAt(shape, 0.4 * shape, 0, 0, 35).faces, 5e5, 0));
  for (const Scene& roof : roofs) {
    const UnionRun run = RunUnion(roof);
    ASSERT_EQ(run.count, static_cast<int>(roof.size()));
    for (size_t f = 0; f < roof.size(); ++f) {
      ASSERT_EQ(run.counts[f], static_cast<int>(roof[f].size()));
      for (size_t v = 0; v < roof[f].size(); ++v) {
        const P3 p = run.loops[f].points[v], q = roof[f][v];
        EXPECT_TRUE(p.x == static_cast<float>(q.x) && p.y == static_cast<float>(q.y) && p.z == static_cast<float>(q.z));
      }
    }
  }
}

}  // namespace
