// The roof-face union engine through its entry point: cutting, covering, holes, identical
// faces, box margins, vertical faces, and the caller's capacities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "RoofFaceUnionTestSupport.h"

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

// The result loops that lie in the plane of `face` (within tol): how many, and their plan
// area (holes counted negative).
struct Share {
  int pieces = 0;
  double area = 0.0;
};

Share ShareOf(const UnionRun& run, const Face& face, double tol) {
  Share share;
  for (const UnionLoop& loop : run.loops) {
    if (HomeFace(loop, {face}, tol) != 0) continue;
    ++share.pieces;
    share.area += std::fabs(PlanArea(loop.points)) * (loop.hole ? -1 : 1);
  }
  return share;
}

TEST(RoofFaceUnion, LoneFaceComesBackWithoutItsStraightVertices) {
  // A tilted quadrilateral with a vertex in the middle of the bottom edge, one 0.005 off the
  // line of the right edge, and one where the top edge turns by 0.1 degree, 3.5 off its
  // line: the first two go, the third stays (without it 7,000 mm2 of roof went).
  const double bend = std::tan(0.1 * 3.14159265358979 / 180.0) * 2000;
  const Face face{{0, 0, 0},       {2000, 0, 0},           {4000, 0, 0},
                  {4000.005, 1500, 750}, {4000, 3000, 1500}, {2000, 3000 + bend, 1500 + bend / 2},
                  {0, 3000, 1500}};
  const UnionRun run = RunUnion({face});
  ASSERT_EQ(run.status, 1);
  ASSERT_EQ(run.count, 1);
  EXPECT_EQ(run.counts[0], 5);
  EXPECT_EQ(HomeFace(run.loops[0], {face}, 0.5), 0);
  EXPECT_NEAR(std::fabs(PlanArea(run.loops[0].points)), 4000.0 * 3000.0 + 2000.0 * bend, 1.0);
}

TEST(RoofFaceUnion, FacesTooThinToSpanAPlaneAreSkipped) {
  const Face line{{0, 0, 0}, {100, 100, 100}, {300, 300, 300}};
  const Face two{{0, 0, 0}, {100, 0, 0}};
  const Face level = Rect(0, 0, 100, 100, 50);
  const UnionRun none = RunUnion({});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.count, 0);
  const UnionRun run = RunUnion({line, two, level});
  ASSERT_EQ(run.status, 1);
  ASSERT_EQ(run.count, 1);
  EXPECT_EQ(HomeFace(run.loops[0], {level}, 0.01), 0);
}

// A face wholly under another goes, also one left uncut that has straight vertices and lies
// within 1.0 below the cover.
TEST(RoofFaceUnion, FaceUnderAnotherIsDropped) {
  const Face straight{{0, 0, 0}, {500, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}};
  for (const auto& [low, high] : {std::pair{Rect(100, 100, 900, 900, 0), Rect(0, 0, 1000, 1000, 500)},
                                  std::pair{straight, Rect(-50, -50, 1050, 1050, 0.5)}}) {
    const UnionRun run = RunUnion({low, high});
    ASSERT_EQ(run.count, 1);
    EXPECT_NEAR(run.loops[0].points[0].z, high[0].z, 1e-4);
  }
}

TEST(RoofFaceUnion, CoplanarFacesAreNeverCutAndOnlyAFaceInsideAnotherGoes) {
  const Face big = Rect(0, 0, 1000, 1000, 0);
  const Face inside = Rect(200, 200, 600, 600, 0);
  const Face across = Rect(800, 800, 1500, 1500, 0);
  const UnionRun run = RunUnion({big, inside, across});
  ASSERT_EQ(run.count, 2);
  EXPECT_NEAR(std::fabs(PlanArea(run.loops[0].points)), 1000.0 * 1000.0, 1.0);
  EXPECT_NEAR(std::fabs(PlanArea(run.loops[1].points)), 700.0 * 700.0, 1.0);
}

TEST(RoofFaceUnion, OfIdenticalFacesTheEarliestStays) {
  const Face slope{{0, 0, 0}, {1000, 0, 0}, {1000, 800, 600}, {0, 800, 600}};
  const Face elsewhere = Rect(3000, 0, 4000, 1000, 0);
  const UnionRun run = RunUnion({elsewhere, slope, slope, slope});
  ASSERT_EQ(run.status, 1);
  ASSERT_EQ(run.count, 2);
  EXPECT_EQ(HomeFace(run.loops[0], {elsewhere}, 0.01), 0);
  EXPECT_EQ(HomeFace(run.loops[1], {slope}, 0.5), 0);
  EXPECT_NEAR(std::fabs(PlanArea(run.loops[1].points)), 1000.0 * 800.0, 1.0);
}

// The same face from another start vertex and wound the other way faces the other way, so
// the two are cut against each other (along a diagonal through their common vertices); still
// the face is there once, seen from above.
TEST(RoofFaceUnion, IdenticalFacesWoundApartStayOnce) {
  const Face slope{{0, 0, 0}, {1000, 0, 0}, {1000, 800, 600}, {0, 800, 600}};
  const Face again{slope[2], slope[1], slope[0], slope[3]};
  for (const auto& faces : {std::vector<Face>{slope, again}, std::vector<Face>{again, slope}}) {
    const UnionRun run = RunUnion(faces);
    ASSERT_EQ(run.status, 1);
    ASSERT_GE(run.count, 1);
    const Share share = ShareOf(run, slope, 0.5);
    EXPECT_EQ(share.pieces, run.count);
    EXPECT_NEAR(share.area, 1000.0 * 800.0, 1.0);
  }
}

// A horizontal face has no height, so a slope cuts it only when the slope's heights reach
// at least 1.0 below and 1.0 above it.
TEST(RoofFaceUnion, BoxesMustOverlapByTheMarginOnEveryAxis) {
  const Face level = Rect(0, 0, 1000, 1000, 0);
  for (const double low : {-0.5, -50.0}) {
    // The slope rises along x from `low` at x = 100 to 400 at x = 900.
    const Face slope{{100, 200, low}, {900, 200, 400}, {900, 800, 400}, {100, 800, low}};
    const UnionRun run = RunUnion({level, slope});
    // The level face stays whole either way: the line where the slope passes through it
    // ends inside it and leads nowhere. Cut, the slope loses its part under the level face.
    EXPECT_EQ(ShareOf(run, level, 0.01).pieces, 1) << low;
    const Share slopeShare = ShareOf(run, slope, 0.5);
    EXPECT_EQ(slopeShare.pieces, 1) << low;
    const double level0 = 100 + 800 * (-low / (400 - low));  // where the slope passes z = 0
    const double expected = low < -1.0 ? (900 - level0) * 600 : 800.0 * 600.0;
    EXPECT_NEAR(slopeShare.area, expected, 1.0) << low;
  }
}

TEST(RoofFaceUnion, VerticalFacesCutButNeverCover) {
  const Face level = Rect(0, 0, 1000, 1000, 0);
  // A wall right across, beyond the level face at both ends, and a shorter wall standing
  // inside it; both from 300 below to 300 above the level face.
  const Face across{{500, -200, -300}, {500, 1200, -300}, {500, 1200, 300}, {500, -200, 300}};
  const Face inside{{250, 100, -300}, {250, 900, -300}, {250, 900, 300}, {250, 100, 300}};
  const UnionRun run = RunUnion({level, across, inside});
  ASSERT_EQ(run.status, 1);
  // The level face in two halves, both kept. The long wall meets the level face only along a
  // line that ends inside the wall, so it stays whole; the short wall is cut at z = 0 and its
  // lower part, wholly under the level face, goes.
  const Share levelShare = ShareOf(run, level, 0.01);
  EXPECT_EQ(levelShare.pieces, 2);
  EXPECT_NEAR(levelShare.area, 1000.0 * 1000.0, 1.0);
  EXPECT_EQ(ShareOf(run, across, 0.01).pieces, 1);
  EXPECT_EQ(ShareOf(run, inside, 0.01).pieces, 1);
  for (const UnionLoop& loop : run.loops) {
    if (HomeFace(loop, {inside}, 0.01) != 0) continue;
    for (const P3& p : loop.points) EXPECT_GT(p.z, -0.01);
  }
}

// A pyramid pushed up through a level face: the face keeps a hole where the pyramid comes
// through, written after it with a negative count; the pyramid loses what lies below.
TEST(RoofFaceUnion, PiercedFaceKeepsAHoleWithANegativeCount) {
  const Face level = Rect(0, 0, 1000, 1000, 0);
  std::vector<Face> faces{level};
  for (const Face& f : Pyramid(500, 500, 200, -200, 200)) faces.push_back(f);
  const UnionRun run = RunUnion(faces);
  ASSERT_EQ(run.status, 1);
  ASSERT_GE(run.count, 2);
  // Loop 1 is the level face's outline, loop 2 its hole: the pyramid's section, a square
  // of half width 100 (the pyramid is cut half-way up).
  EXPECT_GT(run.counts[0], 0);
  ASSERT_LT(run.counts[1], 0);
  EXPECT_EQ(-run.counts[1], 4);
  EXPECT_NEAR(std::fabs(PlanArea(run.loops[0].points)), 1000.0 * 1000.0, 1.0);
  EXPECT_NEAR(std::fabs(PlanArea(run.loops[1].points)), 200.0 * 200.0, 1.0);
  for (const P3& p : run.loops[1].points) {
    EXPECT_NEAR(p.z, 0.0, 0.01);
    EXPECT_NEAR(std::max(std::fabs(p.x - 500), std::fabs(p.y - 500)), 100.0, 0.01);
  }
  // Every other loop is an outer piece of the pyramid above the level face; the absolute
  // counts account for every vertex in sequence.
  for (size_t l = 2; l < run.loops.size(); ++l) {
    EXPECT_GT(run.counts[l], 0);
    for (const P3& p : run.loops[l].points) EXPECT_GT(p.z, -0.01);
  }
  // Seen from above: the level face less the hole plus the pyramid top.
  double area = 0.0;
  for (const UnionLoop& loop : run.loops)
    area += std::fabs(PlanArea(loop.points)) * (loop.hole ? -1 : 1);
  EXPECT_NEAR(area, 1000.0 * 1000.0, 2.0);
}

TEST(RoofFaceUnion, DroppedOuterLoopTakesItsHolesAlong) {
  const Face level = Rect(0, 0, 1000, 1000, 0);
  std::vector<Face> faces{level};
  for (const Face& f : Pyramid(500, 500, 200, -200, 200)) faces.push_back(f);
  const Face lid = Rect(-100, -100, 1100, 1100, 1000);
  faces.push_back(lid);
  const UnionRun run = RunUnion(faces);
  ASSERT_EQ(run.count, 1);
  EXPECT_GT(run.counts[0], 0);
  EXPECT_EQ(HomeFace(run.loops[0], {lid}, 0.01), 0);
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
  // 6 of them on straight edges): every square comes back with 4 vertices.
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
  for (int c : run.counts) EXPECT_EQ(c, 4);
}

// Pairs of walls crossing in an X: each wall is cut in two and no part covers another, so
// every pair of input faces gives four loops.
std::vector<Face> CrossingWallPairs(int pairs) {
  std::vector<Face> faces;
  for (int i = 0; i < pairs; ++i) {
    const double cx = (i % 25) * 100.0, cy = (i / 25) * 100.0;
    faces.push_back({{cx - 20, cy, 0}, {cx + 20, cy, 0}, {cx + 20, cy, 30}, {cx - 20, cy, 30}});
    faces.push_back({{cx, cy - 20, 0}, {cx, cy + 20, 0}, {cx, cy + 20, 30}, {cx, cy - 20, 30}});
  }
  return faces;
}

TEST(RoofFaceUnionCapacity, MoreResultLoopsThanTheArraysHoldIsRefused) {
  const UnionRun fits = RunUnion(CrossingWallPairs(249));  // 996 loops
  ASSERT_EQ(fits.status, 1);
  EXPECT_EQ(fits.count, 996);
  const UnionRun over = RunUnion(CrossingWallPairs(250));  // 1000 loops
  EXPECT_EQ(over.status, 0);
  EXPECT_EQ(over.count, 0);
}

TEST(RoofFaceUnionCapacity, MoreResultVerticesThanTheArraysHoldIsRefused) {
  // Crossing walls whose tops are saw-toothed: each wall of 2 + 2k vertices comes back as two
  // pieces with k + 3 and k + 3 vertices, four more than it had.
  auto wall = [](double cx, double cy, bool alongX, int teeth) {
    Face face;
    auto at = [&](double s, double z) {
      return alongX ? P3{cx + s, cy, z} : P3{cx, cy + s, z};
    };
    face.push_back(at(-40, 0));
    face.push_back(at(40, 0));
    for (int t = 0; t < 2 * teeth; ++t) face.push_back(at(40 - 80.0 * (t + 0.5) / (2 * teeth), t % 2 ? 30 : 40));
    return face;
  };
  auto walls = [&](int pairs, int teeth) {
    std::vector<Face> faces;
    for (int i = 0; i < pairs; ++i) {
      const double cx = (i % 25) * 200.0, cy = (i / 25) * 200.0;
      faces.push_back(wall(cx, cy, true, teeth));
      faces.push_back(wall(cx, cy, false, teeth));
    }
    return faces;
  };
  // 190 pairs of 2 + 2 * 12 = 26 vertices: 9880 in, 9880 + 4 * 380 = 11400 out.
  const UnionRun over = RunUnion(walls(190, 12));
  EXPECT_EQ(over.status, 0);
  EXPECT_EQ(over.count, 0);
  const UnionRun fits = RunUnion(walls(20, 12));
  ASSERT_EQ(fits.status, 1);
  EXPECT_EQ(fits.count, 80);
}

}  // namespace
