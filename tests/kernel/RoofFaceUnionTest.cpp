// The roof-face union engine through its entry point: small scenes of known envelope (cover,
// ties, holes, upright faces), the grid's origin and scale, and the caller's capacities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

#include "RoofFaceUnionTestSupport.h"
#include "UnionRoofScenes.h"

using namespace uniontest;

namespace {

Face Rect(double x0, double y0, double x1, double y1, double z) {
  return {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
}

// A square pyramid standing on (cx, cy) with half width w, its base at z0 and apex at z1.
std::vector<Face> Pyramid(double cx, double cy, double w, double z0, double z1) {
  const P3 apex{cx, cy, z1};
  const P3 c[4] = {{cx - w, cy - w, z0}, {cx + w, cy - w, z0}, {cx + w, cy + w, z0},
                   {cx - w, cy + w, z0}};
  std::vector<Face> faces;
  for (int i = 0; i < 4; ++i) faces.push_back({c[i], c[(i + 1) % 4], apex});
  return faces;
}

// Plan area of the pieces that are not upright (holes negative) and area of the upright ones
// in their own planes.
struct Areas {
  int outers = 0, holes = 0;
  double plan = 0.0, upright = 0.0;
};

Areas AreasOf(const UnionRun& run) {
  Areas areas;
  for (const UnionLoop& loop : run.loops) {
    (loop.hole ? areas.holes : areas.outers) += 1;
    const double sign = loop.hole ? -1.0 : 1.0;
    if (PlaneOf(loop.points).Vertical())
      areas.upright += sign * SpaceArea(loop.points);
    else
      areas.plan += sign * std::fabs(PlanArea(loop.points));
  }
  return areas;
}

// Small scenes whose upper envelope is known: what each keeps, in pieces, holes and areas.
TEST(RoofFaceUnion, SmallScenesKeepTheirUpperEnvelope) {
  const Face slope{{0, 0, 0}, {1000, 0, 0}, {1000, 800, 600}, {0, 800, 600}};
  const Face slopeWoundApart{slope[2], slope[1], slope[0], slope[3]};
  const Face level = Rect(0, 0, 1000, 1000, 0);
  std::vector<Face> pierced{level};
  for (const Face& f : Pyramid(500, 500, 200, -200, 200)) pierced.push_back(f);
  std::vector<Face> lidded = pierced;
  lidded.push_back(Rect(-100, -100, 1100, 1100, 1000));
  // Upright walls from 300 below the level face to 300 above: across it, and along its edge.
  const Face across{{500, -200, -300}, {500, 1200, -300}, {500, 1200, 300}, {500, -200, 300}};
  const Face alongEdge{{1000, 0, -300}, {1000, 1000, -300}, {1000, 1000, 300}, {1000, 0, 300}};
  const struct {
    const char* name;
    std::vector<Face> faces;
    Areas expected;
  } cases[] = {
      {"a face wholly under another goes", {Rect(100, 100, 900, 900, 0), Rect(0, 0, 1000, 1000, 500)}, {1, 0, 1e6, 0}},
      {"a lower roof partly under a higher one is cut at the higher one's edge",
       {level, Rect(500, -100, 1500, 1100, 100)}, {2, 0, 500.0 * 1000 + 1000.0 * 1200, 0}},
      {"of coplanar faces the earlier stays whole, the later loses the overlap",
       {level, Rect(200, 200, 600, 600, 0), Rect(800, 800, 1500, 1500, 0)}, {2, 0, 1e6 + 700.0 * 700 - 200.0 * 200, 0}},
      {"of identical faces the earliest stays", {Rect(3000, 0, 4000, 1000, 0), slope, slope, slope}, {2, 0, 1e6 + 800e3, 0}},
      {"an identical face wound the other way goes too", {slope, slopeWoundApart}, {1, 0, 800e3, 0}},
      {"a pierced face keeps a hole, the pyramid its top", pierced, {5, 1, 1e6, 0}},
      {"a dropped face takes its holes along", lidded, {1, 0, 1200.0 * 1200, 0}},
      {"faces spanning no plane give nothing",
       {{{0, 0, 0}, {100, 100, 100}, {300, 300, 300}}, {{0, 0, 0}, {100, 0, 0}}, level}, {1, 0, 1e6, 0}},
      // The wall across keeps what is not under the level face, a U (and 0.1 mm by each of
      // its edges); the wall along its edge stands clear of it.
      {"upright walls keep what is under no face", {level, across, alongEdge},
       {3, 0, 1e6, 2 * 200.0 * 600 + 1000.0 * 300 + 2 * 0.1 * 300 + 1000.0 * 600}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const UnionRun run = RunUnion(c.faces);
    ASSERT_EQ(run.status, 1);
    const Areas got = AreasOf(run);
    EXPECT_EQ(got.outers, c.expected.outers);
    EXPECT_EQ(got.holes, c.expected.holes);
    // The cuts are rounded to the grid's 0.01 mm.
    EXPECT_NEAR(got.plan, c.expected.plan, 5.0);
    EXPECT_NEAR(got.upright, c.expected.upright, 5.0);
  }
  // The earliest of identical faces is the one kept, as it came.
  const UnionRun apart = RunUnion({slopeWoundApart, slope});
  EXPECT_TRUE(apart.count == 1 && apart.loops[0].points[0].x == slopeWoundApart[0].x);
  // Half a millimetre above is higher, not a tie: the later face keeps the overlap.
  const UnionRun hair = RunUnion({level, Rect(500, -100, 1500, 1100, 0.5)});
  ASSERT_EQ(hair.count, 2);
  EXPECT_NEAR(std::fabs(PlanArea(hair.loops[0].points)), 500.0 * 1000, 5.0);
}

// A face a tenth of a degree off upright, cut by a level face: the cut lies on both planes.
// Rounded to the grid in plan it would stand 0.005 / tan(0.1 degree), some 3 mm, off in height.
TEST(RoofFaceUnion, ANearlyUprightFaceIsCutOnItsPlane) {
  const double t = std::tan(0.1 * 3.14159265358979 / 180), cut = 500 + 1000 * t, top = 500 + 2000 * t;
  const Face steep{{500, 0, -1000}, {500, 1000, -1000}, {top, 1000, 1000}, {top, 0, 1000}};
  const UnionRun run = RunUnion({Rect(0, 0, 1000, 1000, 0), steep});
  ASSERT_EQ(run.status, 1);
  // Both faces end on the cut; the level face also at the steep one's top edge seen in plan.
  int onCut = 0;
  for (const UnionLoop& loop : run.loops)
    for (const P3& p : loop.points)
      if (p.x > 100 && p.x < 900 && std::fabs(p.z) < 100) {
        const bool atCut = std::fabs(p.x - cut) < 0.01 && std::fabs(p.z) < 0.01;
        onCut += atCut;
        EXPECT_TRUE(atCut || (std::fabs(p.x - top) < 0.01 && p.z == 0)) << p.x << " " << p.z;
      }
  EXPECT_EQ(onCut, 4);
}

// The grid the union clips in has its origin at the middle of the faces and a unit of
// 0.01 mm: a cut at a third of a metre lands within that unit, and faces 7e16 mm out (where
// grid units counted from 0 would leave Clipper's range) unite.
TEST(RoofFaceUnion, TheGridIsFineAndCentredOnTheFaces) {
  // A slope rising through a level face along x = 1000/3: four vertices on the cut.
  const UnionRun cut = RunUnion({Rect(0, 0, 1000, 1000, 0), {{0, 0, -1000}, {1000, 0, 2000}, {1000, 1000, 2000}, {0, 1000, -1000}}});
  std::vector<P3> onCut;
  for (const UnionLoop& loop : cut.loops)
    std::copy_if(loop.points.begin(), loop.points.end(), std::back_inserter(onCut), [](const P3& p) { return p.x > 300 && p.x < 400; });
  ASSERT_EQ(onCut.size(), 4u);
  for (const P3& p : onCut) EXPECT_TRUE(std::fabs(p.x - 1000.0 / 3) < 0.01 && std::fabs(p.z) < 0.03) << p.x << " " << p.z;
  const double far = 0x1p56, side = 0x1p37;
  const UnionRun distant = RunUnion({Rect(far, far, far + side, far + side, 0), Rect(far + side / 2, far, far + 2 * side, far + side, 1000)});
  ASSERT_EQ(distant.status, 1);
  EXPECT_EQ(AreasOf(distant).plan, side * side / 2 + 1.5 * side * side);
}

// Roofs moved along a site unite into the same pieces, moved: the union does not depend on
// where the site lies. The move, 700,000.125 mm east, is a whole number of the float steps
// where both scenes lie (an eighth of a millimetre from 2^20 to 2^21 mm), so both hold the
// same roofs exactly, and no whole number of the grid's 0.01 mm, so a grid anchored anywhere
// but on the faces rounds the two scenes' cuts apart. The scenes lie north of the move's
// range: their largest coordinate, and with it how far single precision may have moved a
// vertex, is the same. (With the grid anchored at 0, 36 of these 40 scenes came back in other
// pieces and the other 4 with cuts elsewhere.)
TEST(RoofFaceUnion, RoofsMovedAlongASiteUniteIntoTheSamePiecesMoved) {
  const double move = 700000.125;
  const auto moved = [](std::vector<Face> faces, double dx, double dy) {
    for (Face& face : faces)
      for (P3& p : face) p = {static_cast<float>(p.x + dx), static_cast<float>(p.y + dy), p.z};
    return faces;
  };
  for (unsigned seed = 0; seed < 40; ++seed) {
    const std::vector<Face> west =
        moved(unionscenes::Scene(8 + 4 * (seed % 6), seed % 2, seed), 1.2e6, 3.1e6);
    const UnionRun a = RunUnion(west), b = RunUnion(moved(west, move, 0));
    ASSERT_EQ(a.status, 1);
    ASSERT_EQ(a.counts, b.counts) << "seed " << seed;
    for (size_t l = 0; l < a.loops.size(); ++l)
      for (size_t v = 0; v < a.loops[l].points.size(); ++v) {
        const P3 p = a.loops[l].points[v], q = b.loops[l].points[v];
        // East of the move a point rounds to single precision the other way at a tie.
        EXPECT_TRUE(std::fabs(q.x - move - p.x) <= 0.125 && q.y == p.y && q.z == p.z)
            << "seed " << seed << " loop " << l;
      }
  }
}

// ---- The caller's capacities: 1000 counts and 10000 coordinates.

TEST(RoofFaceUnionCapacity, InputBeyondTheArraysIsRefusedUntouched) {
  auto arrays = std::make_unique<UnionFaceArrays>();
  auto refused = [&] {
    return UnionRoofFaces(&arrays->faceCount, arrays->vertexCounts, arrays->x, arrays->y,
                          arrays->z) == 0 &&
           arrays->faceCount == 0;
  };
  arrays->faceCount = 1000;
  EXPECT_TRUE(refused());

  arrays->faceCount = 3;
  arrays->vertexCounts[1] = 4;
  arrays->vertexCounts[2] = 9992;  // 4 + 9992 + 4 > 9999
  arrays->vertexCounts[3] = 4;
  EXPECT_TRUE(refused());
  EXPECT_EQ(arrays->vertexCounts[2], 9992);

  arrays->faceCount = 1;
  arrays->vertexCounts[1] = -4;
  EXPECT_TRUE(refused());

  arrays->faceCount = 1;
  arrays->vertexCounts[1] = 3;
  arrays->x[1] = 0, arrays->x[2] = 10, arrays->x[3] = std::nanf("");
  arrays->y[1] = 0, arrays->y[2] = 0, arrays->y[3] = 10;
  EXPECT_TRUE(refused());
}

TEST(RoofFaceUnionCapacity, AFullInputWithinTheArraysIsTaken) {
  // 999 small level squares side by side with gaps, 9990 vertices in all (10 per square,
  // 6 of them on straight edges): every square comes back as it went.
  std::vector<Face> faces;
  for (int i = 0; i < 999; ++i) {
    const double x0 = (i % 40) * 30.0, y0 = (i / 40) * 30.0;
    faces.push_back({{x0, y0, 0},      {x0 + 5, y0, 0},  {x0 + 10, y0, 0}, {x0 + 15, y0, 0},
                     {x0 + 20, y0, 0}, {x0 + 20, y0 + 10, 0}, {x0 + 20, y0 + 20, 0},
                     {x0 + 10, y0 + 20, 0}, {x0, y0 + 20, 0}, {x0, y0 + 10, 0}});
  }
  const UnionRun run = RunUnion(faces);
  ASSERT_EQ(run.status, 1);
  ASSERT_EQ(run.count, 999);
  for (int c : run.counts) EXPECT_EQ(c, 10);
}

// A level square under n level k-gons above it: the square comes back with a hole of k
// vertices under each, so the result holds 1 + 2n loops and twice the k-gons' vertices.
std::vector<Face> UnderPolygons(int n, int k) {
  std::vector<Face> faces{Rect(0, 0, 3000, 3000, 0)};
  for (int i = 0; i < n; ++i) {
    faces.emplace_back();
    for (int v = 0; v < k; ++v)
      faces.back().push_back({50 + (i % 30) * 100 + 30 * std::cos(v * 2 * M_PI / k), 50 + (i / 30) * 100 + 30 * std::sin(v * 2 * M_PI / k), 10});
  }
  return faces;
}

TEST(RoofFaceUnionCapacity, AResultBeyondTheArraysIsRefused) {
  const struct {
    const char* name;
    std::vector<Face> faces;
    int loops;  // 0: refused
  } cases[] = {
      {"999 loops", UnderPolygons(499, 3), 999},
      {"1001 loops", UnderPolygons(500, 3), 0},
      {"9904 vertices", UnderPolygons(110, 45), 1 + 2 * 110},
      {"10084 vertices", UnderPolygons(112, 45), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const UnionRun run = RunUnion(c.faces);
    EXPECT_EQ(run.status, c.loops > 0 ? 1 : 0);
    EXPECT_EQ(run.count, c.loops);
  }
}

}  // namespace
