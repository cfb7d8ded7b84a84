// Two gable roofs of an L-shaped building crossing at right angles, united: checked from above
// against an independent upper envelope of the input faces sampled on a grid (at every sample
// point the highest input face must be the one result face there), against the exact plan
// area of the union of the two roofs, and for every result loop lying in one input plane.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "RoofFaceUnionTestSupport.h"

using namespace uniontest;

namespace {

struct Scene {
  std::vector<Face> faces;
  double unionPlanArea = 0.0;
};

// Main wing along x: 0..20000 by 0..8000, ridge at y = 4000, height h1. Side wing along y:
// 12000..20000 by 0..24000, ridge at x = 16000, height h2. Both with vertical gable ends;
// the whole turned by `turn` radians about the origin.
Scene CrossingGables(double h1, double h2, double turn) {
  std::vector<Face> faces{
      // main wing: south and north slopes, west and east gables
      {{0, 0, 0}, {20000, 0, 0}, {20000, 4000, h1}, {0, 4000, h1}},
      {{0, 8000, 0}, {0, 4000, h1}, {20000, 4000, h1}, {20000, 8000, 0}},
      {{0, 0, 0}, {0, 4000, h1}, {0, 8000, 0}},
      {{20000, 0, 0}, {20000, 8000, 0}, {20000, 4000, h1}},
      // side wing: west and east slopes, south and north gables
      {{12000, 0, 0}, {12000, 24000, 0}, {16000, 24000, h2}, {16000, 0, h2}},
      {{20000, 0, 0}, {16000, 0, h2}, {16000, 24000, h2}, {20000, 24000, 0}},
      {{12000, 0, 0}, {16000, 0, h2}, {20000, 0, 0}},
      {{12000, 24000, 0}, {20000, 24000, 0}, {16000, 24000, h2}},
  };
  const double c = std::cos(turn), s = std::sin(turn);
  for (Face& face : faces)
    for (P3& p : face) p = {p.x * c - p.y * s, p.x * s + p.y * c, p.z};
  return {faces, 20000.0 * 8000 + 8000.0 * 24000 - 8000.0 * 8000};
}

void CheckAgainstUpperEnvelope(const Scene& scene) {
  const UnionRun run = RunUnion(scene.faces);
  ASSERT_EQ(run.status, 1);
  ASSERT_GT(run.count, 0);

  // Every result loop lies in exactly one input plane.
  for (const UnionLoop& loop : run.loops) {
    int planes = 0;
    for (const Face& face : scene.faces) planes += HomeFace(loop, {face}, 0.5) == 0 ? 1 : 0;
    EXPECT_EQ(planes, 1);
  }

  const std::vector<ResultFace> result = ResultFaces(run);
  double resultArea = 0.0;
  for (const ResultFace& face : result) {
    if (face.plane.Vertical()) continue;
    resultArea += std::fabs(PlanArea(face.outer));
    for (const Face& hole : face.holes) resultArea -= std::fabs(PlanArea(hole));
  }
  EXPECT_NEAR(resultArea, scene.unionPlanArea, scene.unionPlanArea * 1e-6);

  // The upper envelope sampled on a grid.
  double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
  for (const Face& face : scene.faces)
    for (const P3& p : face) {
      lo[0] = std::fmin(lo[0], p.x), hi[0] = std::fmax(hi[0], p.x);
      lo[1] = std::fmin(lo[1], p.y), hi[1] = std::fmax(hi[1], p.y);
    }
  const double step = 173.0;
  int sampled = 0, checked = 0, covered = 0;
  for (double x = lo[0] - 500 + 61.3; x < hi[0] + 500; x += step) {
    for (double y = lo[1] - 500 + 137.9; y < hi[1] + 500; y += step) {
      ++sampled;
      bool nearEdge = false;
      for (const Face& face : scene.faces) nearEdge = nearEdge || EdgeDistance(x, y, face) < 5.0;
      for (const UnionLoop& loop : run.loops)
        nearEdge = nearEdge || EdgeDistance(x, y, loop.points) < 5.0;
      if (nearEdge) continue;
      ++checked;
      bool anyInput = false;
      double top = -1e300;
      for (const Face& face : scene.faces) {
        const Plane plane = PlaneOf(face);
        if (plane.Vertical() || Winding(x, y, face) == 0) continue;
        anyInput = true;
        top = std::fmax(top, plane.ZAt(x, y));
      }
      int over = 0;
      double z = 0.0;
      for (const ResultFace& face : result) {
        if (face.plane.Vertical() || !face.Covers(x, y)) continue;
        ++over;
        z = face.plane.ZAt(x, y);
      }
      if (!anyInput) {
        EXPECT_EQ(over, 0) << x << " " << y;
        continue;
      }
      ++covered;
      EXPECT_EQ(over, 1) << "at " << x << " " << y;
      if (over == 1) {
        EXPECT_NEAR(z, top, 1.0) << "at " << x << " " << y;
      }
    }
  }
  EXPECT_GT(checked, sampled * 9 / 10);
  // The grid's own estimate of the area seen from above.
  EXPECT_NEAR(covered * step * step, scene.unionPlanArea, scene.unionPlanArea * 0.02);
}

// Wings of equal height, a lower side wing meeting the main slopes, and that building turned.
TEST(RoofFaceUnionRoofs, CrossingGablesMatchTheUpperEnvelope) {
  for (const auto& [h2, turn] : {std::pair{3000.0, 0.0}, {2500.0, 0.0}, {2500.0, 0.5235987755982988}}) {
    SCOPED_TRACE(testing::Message() << "side wing " << h2 << ", turned " << turn);
    CheckAgainstUpperEnvelope(CrossingGables(3000, h2, turn));
  }
}

TEST(RoofFaceUnionRoofs, HiddenSlopePiecesAreGone) {
  // Of the side wing's west slope only its parts outside the main wing stay: nothing of it
  // lies over the main wing's plan where the main wing is higher.
  const Scene scene = CrossingGables(3000, 2500, 0.0);
  const UnionRun run = RunUnion(scene.faces);
  ASSERT_EQ(run.status, 1);
  double westArea = 0.0;
  for (const UnionLoop& loop : run.loops) {
    if (HomeFace(loop, {scene.faces[4]}, 0.5) != 0) continue;
    westArea += std::fabs(PlanArea(loop.points));
  }
  // The west slope covers 4000 x 24000 in plan; the part under the main wing is the
  // quadrilateral between the valley lines y = 5/6 (x - 12000) and y = 8000 - 5/6 (x - 12000).
  const double hidden = 4000.0 * (8000 + (8000 - 2 * 3333.333333333)) / 2;
  EXPECT_NEAR(westArea, 4000.0 * 24000 - hidden, 5.0);
}

}  // namespace
