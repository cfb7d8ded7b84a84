// The polygon offset against Clipper's mitred offset of the same building-like rings: the
// same number of loops and the same areas, growing and shrinking, in both orientations and
// turned to arbitrary angles, through splits and until the ring vanishes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "ClipperOffsetAreas.h"

using namespace offsettest;

namespace {

struct Shape {
  std::string name;
  std::vector<std::array<double, 2>> plan;  // counter-clockwise, millimetres
};

std::vector<Shape> BuildingShapes() {
  return {
      {"rectangle", {{0, 0}, {24000, 0}, {24000, 12000}, {0, 12000}}},
      {"L", {{0, 0}, {20000, 0}, {20000, 8000}, {8000, 8000}, {8000, 16000}, {0, 16000}}},
      {"U",
       {{0, 0}, {24000, 0}, {24000, 16000}, {16000, 16000}, {16000, 6000}, {8000, 6000},
        {8000, 16000}, {0, 16000}}},
      {"T",
       {{9000, 0}, {15000, 0}, {15000, 10000}, {24000, 10000}, {24000, 16000}, {0, 16000},
        {0, 10000}, {9000, 10000}}},
      // A courtyard block open to the street by a 2000 gap: growing closes the courtyard.
      {"courtyard",
       {{0, 0}, {30000, 0}, {30000, 24000}, {16000, 24000}, {16000, 18000}, {24000, 18000},
        {24000, 6000}, {6000, 6000}, {6000, 18000}, {14000, 18000}, {14000, 24000}, {0, 24000}}},
      // Two wings joined by a 3000 corridor: shrinking splits them.
      {"dumbbell",
       {{0, 0}, {12000, 0}, {12000, 4500}, {20000, 4500}, {20000, 0}, {32000, 0}, {32000, 12000},
        {20000, 12000}, {20000, 7500}, {12000, 7500}, {12000, 12000}, {0, 12000}}},
      // Slanted facades and a notch.
      {"notched",
       {{0, 0}, {18000, 0}, {22000, 7000}, {18000, 14000}, {11000, 14000}, {9000, 9000},
        {7000, 14000}, {0, 14000}}},
      // Points on straight facades, and a facade split by a collinear point twice.
      {"collinear",
       {{0, 0}, {6000, 0}, {12000, 0}, {18000, 0}, {18000, 5000}, {18000, 10000}, {9000, 10000},
        {0, 10000}, {0, 5000}}},
      // Short edges: a 20 mm step, a 300 mm jog and a 1 mm edge.
      {"short edges",
       {{0, 0}, {10000, 0}, {10000, 20}, {20000, 20}, {20000, 6000}, {20300, 6000},
        {20300, 12000}, {10001, 12000}, {10000, 12000}, {0, 12000}}},
  };
}

std::vector<P3> Placed(const Shape& shape, double angle, bool clockwise) {
  std::vector<P3> ring;
  const double c = std::cos(angle), s = std::sin(angle);
  for (const auto& p : shape.plan) {
    // Rounded to single precision, as the engine's callers hand the points over.
    const float x = static_cast<float>(5000 + p[0] * c - p[1] * s);
    const float y = static_cast<float>(3000 + p[0] * s + p[1] * c);
    ring.push_back({x, y, 0.0});
  }
  return clockwise ? Reversed(ring) : ring;
}

// Grow (positive) and shrink (negative) distances in millimetres.
const double kDistances[] = {100,  600,   1500,  3500,  5000,  -100,
                             -600, -1400, -2500, -3200, -4500, -7000};

}  // namespace

TEST(OffsetAgainstClipper, BuildingRingsGrowAndShrinkLikeAMitredOffset) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> turn(0.0, 2 * M_PI);
  int compared = 0, splits = 0, vanished = 0, holes = 0;
  for (const Shape& shape : BuildingShapes()) {
    for (double angle : {0.0, turn(rng)}) {
      for (bool clockwise : {false, true}) {
        const auto ring = Placed(shape, angle, clockwise);
        for (double g : kDistances) {
          const std::vector<double> expected = ClipperAreas(ring, g);
          const OffsetResult r =
              RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, g));
          const std::vector<double> got = EngineAreas(r);
          const std::string what = shape.name + " turned " + std::to_string(angle) +
                                   (clockwise ? " clockwise" : " counter-clockwise") +
                                   " offset " + std::to_string(g) + ": engine " + Describe(got) +
                                   "/ clipper " + Describe(expected);
          ++compared;
          ASSERT_EQ(r.loopCount, static_cast<int>(expected.size())) << what;
          for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(r.loops[i].code, 10001) << what;
            EXPECT_NEAR(got[i], expected[i], 2e-6 * expected.back() + 20.0) << what;
          }
          if (g < 0 && expected.size() > 1) ++splits;
          if (g > 0 && expected.size() > 1) ++holes;
          if (expected.empty()) ++vanished;
        }
      }
    }
  }
  EXPECT_GE(compared, 400);
  EXPECT_GT(splits, 0);
  EXPECT_GT(vanished, 0);
  EXPECT_GT(holes, 0);
}

// Footprints made as unions of a few overlapping wings on a 500 mm grid, turned to random
// angles, offset by random distances either way: shrinking makes thin parts vanish beside
// re-entrant corners, whose mitres must cut off what the mitred path no longer winds around.
TEST(OffsetAgainstClipper, RandomWingedFootprints) {
  std::mt19937 rng(77);
  std::uniform_int_distribution<int> cell(0, 60), span(8, 40), wings(2, 4);
  std::uniform_real_distribution<double> turn(0.0, 2 * M_PI), dist(100.0, 6000.0);
  int compared = 0, multiple = 0, none = 0;
  for (int round = 0; round < 400 && compared < 200; ++round) {
    ClipperLib::Paths rects;
    const int count = wings(rng);
    for (int w = 0; w < count; ++w) {
      // Each wing overlaps the first so the union is one piece.
      const int x0 = w == 0 ? 20 : cell(rng) / 2 + 10, y0 = w == 0 ? 20 : cell(rng) / 2 + 10;
      const int x1 = x0 + span(rng), y1 = y0 + (w == 0 ? span(rng) : 8 + cell(rng) / 4);
      auto g = [](int c) { return static_cast<ClipperLib::cInt>(c) * 500; };
      rects.push_back({{g(x0), g(y0)}, {g(x1), g(y0)}, {g(x1), g(y1)}, {g(x0), g(y1)}});
    }
    ClipperLib::Clipper unite;
    unite.AddPaths(rects, ClipperLib::ptSubject, true);
    ClipperLib::Paths footprint;
    unite.Execute(ClipperLib::ctUnion, footprint, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    if (footprint.size() != 1) continue;  // only single rings without courtyards
    Shape shape{"wings", {}};
    for (const auto& p : footprint[0]) shape.plan.push_back({double(p.X), double(p.Y)});
    if (PlanArea(Flat(shape.plan)) < 0) std::reverse(shape.plan.begin(), shape.plan.end());
    const auto ring = Placed(shape, turn(rng), rng() % 2 == 0);
    const double g = (rng() % 2 ? 1.0 : -1.0) * dist(rng);
    const std::vector<double> expected = ClipperAreas(ring, g);
    const OffsetResult r =
        RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, g));
    const std::vector<double> got = EngineAreas(r);
    ++compared;
    ASSERT_EQ(r.loopCount, static_cast<int>(expected.size()))
        << "round " << round << " offset " << g << " engine " << Describe(got) << "/ clipper "
        << Describe(expected);
    for (size_t i = 0; i < got.size(); ++i)
      EXPECT_NEAR(got[i], expected[i], 2e-6 * Sum(expected) + 20.0) << "round " << round;
    if (expected.size() > 1) ++multiple;
    if (expected.empty()) ++none;
  }
  EXPECT_GE(compared, 200);
  EXPECT_GT(multiple, 0);
  EXPECT_GT(none, 0);
}
