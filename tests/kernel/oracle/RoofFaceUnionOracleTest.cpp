// The roof-face union against a brute-force upper envelope: at random plan points clear of
// every input and result edge, the highest input face (tried one by one) against the one
// result piece that holds the point (outer loop less its holes); none where no face is.
// Families: eaves at mixed heights, gable roofs at right angles with a ridge a hair from the
// other's end, pairs of multi-slope roofs from the roof solver, the same on slabs with their
// upright bands, one roof alone; at the origin, 5e5 and 3e6 from it, as the command hands
// them over (from their lower corner) and raw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "../RoofFaceUnionTestSupport.h"
#include "../SlopedRoofTestSupport.h"
#include "../UnionRoofScenes.h"

using namespace uniontest;

namespace {

using Scene = std::vector<Face>;
constexpr double kDegree = M_PI / 180.0;

// Every scene is drawn in floats where it stands: half a unit in the last place of its
// largest coordinate is how far single precision moved its vertices (and moves the engine's).
double Rounding(const Scene& faces) {
  double largest = 0.0;
  for (const Face& f : faces)
    for (const P3& p : f) largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  return std::ldexp(largest, -24);
}

// What is wrong with the union of the faces at random points (empty when nothing). The points
// lie farther than eps from every edge: the grid rounds a cut by 0.007 mm (more where two
// cuts meet at a shallow angle) and single precision moves vertices by `rounding`. Heights
// agree within what that rounding tilts a plane by at the slopes drawn here (up to 55
// degrees) and the thousandth of a millimetre within which faces count as level.
std::string Check(const Scene& faces, bool fromLowerCorner, unsigned seed, int points = 400) {
  const UnionRun run = fromLowerCorner ? RunUnionAtLowerCorner(faces) : RunUnion(faces);
  if (run.status != 1) return "refused";
  const double rounding = Rounding(faces), eps = 0.05 + 16 * rounding, tolerance = 0.01 + 24 * rounding;
  const std::vector<ResultFace> result = ResultFaces(run);
  Scene sloped, edges = faces;
  for (const Face& f : faces)
    if (!PlaneOf(f).Vertical()) sloped.push_back(f);
  for (const UnionLoop& loop : run.loops) edges.push_back(loop.points);
  double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
  for (const Face& f : sloped)
    for (const P3& p : f)
      lo[0] = std::min(lo[0], p.x), lo[1] = std::min(lo[1], p.y), hi[0] = std::max(hi[0], p.x), hi[1] = std::max(hi[1], p.y);
  std::string what;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> ux(lo[0] - 500, hi[0] + 500), uy(lo[1] - 500, hi[1] + 500);
  for (int k = 0; k < points; ++k) {
    const double x = ux(rng), y = uy(rng);
    if (std::none_of(edges.begin(), edges.end(), [&](const Face& e) { return EdgeDistance(x, y, e) <= eps; }))
      what += EnvelopeAt(sloped, result, x, y, tolerance);
  }
  return what;
}

// The scene turned about the origin and moved (in single precision, as the engine takes it),
// each face wound the other way when reversed.
Scene Placed(Scene scene, double turn, double dx, double dy, bool reversed = false) {
  const double c = std::cos(turn), s = std::sin(turn);
  for (Face& f : scene) {
    for (P3& p : f) p = {static_cast<float>(p.x * c - p.y * s + dx), static_cast<float>(p.x * s + p.y * c + dy), p.z};
    if (reversed) std::reverse(f.begin(), f.end());
  }
  return scene;
}

TEST(RoofFaceUnionOracle, EavesAtMixedHeights) {
  for (unsigned seed = 0; seed < 24; ++seed) {
    // Three to five hip roofs near one another, eaves 6,000 to 9,000, turned by odd angles.
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> place(0, 14000), size(6000, 16000), turn(0, M_PI), pitch(20, 45), eave(60, 90);
    Scene scene;
    for (int r = 3 + static_cast<int>(seed % 3); r > 0; --r) {
      unionscenes::RoofPlan plan{place(rng), place(rng), size(rng), size(rng), turn(rng), pitch(rng) * kDegree, false};
      plan.eave = std::round(eave(rng)) * 100;
      const Scene roof = unionscenes::RoofFaces(plan);
      scene.insert(scene.end(), roof.begin(), roof.end());
    }
    for (const double at : {0.0, 5e5, 3e6})
      for (const bool local : {true, false})
        EXPECT_EQ(Check(Placed(scene, 0, at, 0.7 * at, seed % 2), local, seed), "")
            << "seed " << seed << " at " << at << (local ? " from the lower corner" : " raw");
  }
}

// Two closed gable roofs at right angles, eaves at one height: the second one's ridge runs
// `gap` beyond the first one's gable end (inside it when negative), with or without the end
// triangles, turned, both windings.
TEST(RoofFaceUnionOracle, GablesAtRightAnglesWithARidgeNearTheOtherEnd) {
  unsigned seed = 0;
  for (const double gap : {0.0, 0.3, -0.3, 0.7, 1.0, 1.6, -1.6, 3.0, 5.0})
    for (const bool ends : {true, false})
      for (const double turn : {0.0, 23.3, 90.0}) {
        const auto roof = [&](double cx, double cy, double w, double d) {
          unionscenes::RoofPlan plan{cx, cy, w, d, 0, 35 * kDegree, true};
          plan.eave = 7200, plan.gableEnds = ends;
          return unionscenes::RoofFaces(plan);
        };
        Scene scene = roof(0, 0, 20000, 8000);                       // ridge along x, ends at x = +-10,000
        const Scene across = roof(10000 + gap, -3000, 6000, 14000);  // ridge along y
        scene.insert(scene.end(), across.begin(), across.end());
        for (const double at : {0.0, 3e6})
          for (const bool local : {true, false}) {
            ++seed;
            EXPECT_EQ(Check(Placed(scene, turn * kDegree, at, at, seed % 2), local, seed), "")
                << "gap " << gap << (ends ? " with" : " without") << " ends, turned " << turn << " at " << at
                << (local ? " from the lower corner" : " raw");
          }
      }
}

// A multi-slope roof from the roof solver over an L, T or U outline, turned about the origin
// and moved to (x, y): its faces and its outline (clockwise).
struct SolvedRoof {
  Scene faces;
  Face outline;
};

SolvedRoof SolvedRoofAt(int shape, double turn, double x, double y, double degrees) {
  const rooftest::Outline outline = shape == 0 ? rooftest::LShape() : shape == 1 ? rooftest::TShape() : rooftest::UShape();
  const rooftest::Roof roof = rooftest::Solve(outline, rooftest::EqualSlopes(outline.size(), degrees));
  Face eave;
  for (const rooftest::Pt& p : roof.outline) eave.push_back({p.x, p.y, 0});
  return {Placed(roof.faces, turn, x, y), Placed({eave}, turn, x, y)[0]};
}

TEST(RoofFaceUnionOracle, PairsOfMultiSlopeRoofsFromTheSolver) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> offset(-9000, 9000), turn(0, 2 * M_PI), pitch(20, 50);
  const double places[] = {0.0, 5e5, 3e6};
  for (unsigned seed = 0; seed < 30; ++seed) {
    const double degrees = pitch(rng);
    Scene scene = SolvedRoofAt(static_cast<int>(seed % 3), turn(rng), 0, 0, degrees).faces;
    const Scene other = SolvedRoofAt(static_cast<int>(seed / 3 % 3), turn(rng), offset(rng), offset(rng),
                                     seed % 2 ? degrees : pitch(rng)).faces;
    scene.insert(scene.end(), other.begin(), other.end());
    for (const bool local : {true, false})
      EXPECT_EQ(Check(Placed(scene, 0, places[seed % 3], places[seed % 3]), local, seed), "")
          << "seed " << seed << (local ? " from the lower corner" : " raw");
  }
}

// The length of the segment a-b outside the polygon: between the places where it crosses
// the polygon's edges, a stretch lies outside when its middle does.
double LengthOutside(const P3& a, const P3& b, const Face& polygon) {
  std::vector<double> at{0.0, 1.0};
  for (size_t i = 0; i < polygon.size(); ++i) {
    const P3& p = polygon[i];
    const P3& q = polygon[(i + 1) % polygon.size()];
    if (const auto c = kerneltest::ProperCrossing({a.x, a.y, b.x, b.y}, {p.x, p.y, q.x, q.y}))
      at.push_back(std::hypot(c->x - a.x, c->y - a.y) / std::hypot(b.x - a.x, b.y - a.y));
  }
  std::sort(at.begin(), at.end());
  double outside = 0.0;
  for (size_t k = 0; k + 1 < at.size(); ++k) {
    const double m = (at[k] + at[k + 1]) / 2;
    if (Winding(a.x + m * (b.x - a.x), a.y + m * (b.y - a.y), polygon) == 0) outside += at[k + 1] - at[k];
  }
  return outside * std::hypot(b.x - a.x, b.y - a.y);
}

// Two multi-slope roofs on 120 mm slabs (faces raised by it, an upright band along every
// eave, the bottom face under them), turned: the envelope, and the bands keep what lies
// outside the other roof, whose faces stand at least as high as a band wherever they are
// over it (less 0.1 mm by each place where a band passes under the other's eave).
TEST(RoofFaceUnionOracle, SlabsKeepTheirBandsAtEveryTurn) {
  unsigned seed = 0;
  for (const double turn : {0.0, 0.5, 1.0, 5.0, 37.3, 45.0, 90.0, 135.0, 180.0, 270.0}) {
    const double c = std::cos(turn * kDegree), s = std::sin(turn * kDegree);
    const SolvedRoof roofs[2] = {SolvedRoofAt(0, turn * kDegree, 0, 0, 30),
                                 SolvedRoofAt(1, turn * kDegree, 3300.5 * c - 2100.25 * s, 3300.5 * s + 2100.25 * c, 30)};
    Scene scene, bands;
    double expected = 0.0;
    for (int r = 0; r < 2; ++r) {
      for (Face face : roofs[r].faces) {
        for (P3& p : face) p.z += 120;
        scene.push_back(face);
      }
      const Face& eave = roofs[r].outline;
      for (size_t i = 0; i < eave.size(); ++i) {
        const P3 a = eave[i], b = eave[(i + 1) % eave.size()];
        bands.push_back({a, b, {b.x, b.y, 120}, {a.x, a.y, 120}});
        expected += 120 * LengthOutside(a, b, roofs[1 - r].outline);
      }
      scene.push_back(Face(eave.rbegin(), eave.rend()));
    }
    scene.insert(scene.end(), bands.begin(), bands.end());
    for (const bool local : {true, false}) {
      EXPECT_EQ(Check(scene, local, ++seed), "") << "turned " << turn;
      double kept = 0.0;
      for (const UnionLoop& loop : (local ? RunUnionAtLowerCorner(scene) : RunUnion(scene)).loops)
        if (HomeFace(loop, bands, 0.01) >= 0) kept += SpaceArea(loop.points) * (loop.hole ? -1 : 1);
      EXPECT_NEAR(kept, expected, 8 * 0.1 * 120 + 1) << "turned " << turn << (local ? " from the lower corner" : " raw");
    }
  }
}

TEST(RoofFaceUnionOracle, OneRoofAloneComesBackAsItWent) {
  std::vector<Scene> roofs;
  for (const bool gable : {false, true})
    for (const double turn : {0.0, 23.3, 135.0})
      roofs.push_back(unionscenes::RoofFaces({3e6, 1e6, 16000, 9000, turn * kDegree, 30 * kDegree, gable}));
  for (int shape = 0; shape < 3; ++shape) roofs.push_back(SolvedRoofAt(shape, 0.4 * shape, 5e5, 0, 35).faces);
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
