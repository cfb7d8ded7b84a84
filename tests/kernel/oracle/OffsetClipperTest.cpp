// The polygon offset against Clipper's mitred offset of the same building-like rings: the
// same number of loops and the same areas, growing and shrinking, in both orientations and
// turned to arbitrary angles, through splits and until the ring vanishes; and footprints on
// a grid offset by exactly half the width of their columns and wings, where no ring is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "ClipperOffsetAreas.h"
#include "OffsetRingFamilies.h"

using namespace offsettest;

namespace {

// The outline of the union of the rectangles, counter-clockwise; empty unless it is one ring
// without a courtyard.
std::vector<std::array<double, 2>> OutlineOfUnion(const ClipperLib::Paths& rects) {
  ClipperLib::Clipper unite;
  unite.AddPaths(rects, ClipperLib::ptSubject, true);
  ClipperLib::Paths footprint;
  unite.Execute(ClipperLib::ctUnion, footprint, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  std::vector<std::array<double, 2>> plan;
  if (footprint.size() != 1) return plan;
  for (const auto& p : footprint[0]) plan.push_back({double(p.X), double(p.Y)});
  if (PlanArea(Flat(plan)) < 0) std::reverse(plan.begin(), plan.end());
  return plan;
}

// A rectangle of grid cells (corners x0, y0 and x1, y1) in millimetres.
ClipperLib::Path Cells(int x0, int y0, int x1, int y1, int grid) {
  auto at = [grid](int c) { return static_cast<ClipperLib::cInt>(c) * grid; };
  return {{at(x0), at(y0)}, {at(x1), at(y0)}, {at(x1), at(y1)}, {at(x0), at(y1)}};
}

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
  const std::vector<P3> ring = ToRing(offsetrings::Placed(shape.plan, angle, 5000, 3000));
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
      rects.push_back(Cells(x0, y0, x1, y1, 500));
    }
    const Shape shape{"wings", OutlineOfUnion(rects)};
    if (shape.plan.empty()) continue;  // only single rings without courtyards
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

// Footprints on a 3 m grid whose columns and wings are all 6 m wide, offset by exactly 3 m
// either way: shrunk, every column and wing narrows to nothing at once (its two sides meet)
// and the parts between touch at corners; grown, every 6 m notch closes at once. The corners
// lie on the grid, or each is moved off it by -0.1, 0 or 0.1 mm in x and in y, so sides
// miss each other by a hair; both windings, at the origin and 500 m and 3 km from it, where
// single precision rounds them to 1/32 and 1/4 mm. Wherever Clipper keeps area the engine
// answers loops, and the two part only within the reach of a tie.
TEST(OffsetAgainstClipper, ExactTiesOnGridFootprintsLoseNoRing) {
  constexpr int kGrid = 3000;
  std::mt19937 rng(3000);
  std::uniform_int_distribution<int> columns(2, 14), high(2, 10), wings(2, 4), at(0, 6);
  std::uniform_int_distribution<int> reach(1, 5), off(-1, 1);
  int compared = 0, splits = 0, slivers = 0;
  for (int round = 0; round < 1000; ++round) {
    ClipperLib::Paths rects;
    if (round % 2) {
      // A row of columns two cells wide and 2 to 10 high on one base.
      for (int c = 0, n = columns(rng); c < n; ++c)
        rects.push_back(Cells(2 * c, 0, 2 * c + 2, high(rng), kGrid));
    } else {
      // A body with wings two cells wide reaching out of it, up, down or sideways.
      rects.push_back(Cells(0, 0, 2 * reach(rng), 2 * reach(rng), kGrid));
      for (int w = wings(rng); w > 0; --w) {
        const int x = at(rng), y = at(rng), length = 2 * reach(rng);
        rects.push_back(rng() % 2 ? Cells(x, y, x + 2, y + length, kGrid)
                                  : Cells(x, y, x + length, y + 2, kGrid));
      }
    }
    offsetrings::Plan plan = OutlineOfUnion(rects);
    if (plan.empty()) continue;
    if (round % 4 >= 2)
      for (auto& p : plan) p[0] += 0.1 * off(rng), p[1] += 0.1 * off(rng);
    const double far[] = {0.0, 5e5, 3e6};
    plan = offsetrings::Placed(plan, 0.0, far[round % 3], 0.7 * far[round % 3]);
    if (rng() % 2) std::reverse(plan.begin(), plan.end());
    const std::vector<P3> ring = ToRing(plan);
    for (double g : {-1.0 * kGrid, 1.0 * kGrid}) {
      EXPECT_EQ(TieMismatch(ring, g), "") << "round " << round << ", " << ring.size() << " points";
      const std::vector<double> expected = ClipperAreas(ring, g);
      splits += expected.size() > 1;
      slivers += !expected.empty() && expected.front() < 1000.0;
      ++compared;
    }
  }
  EXPECT_GE(compared, 1600);
  EXPECT_GT(splits, 0);
  EXPECT_GT(slivers, 0);
}

// The sine of the sharpest corner of a loop (1 where none turns sharper than a right angle).
template <typename Loop, typename At>
double SharpestCorner(const Loop& loop, At at) {
  double sharpest = 1.0;
  for (size_t i = 0, n = loop.size(); i < n; ++i) {
    const auto [ax, ay] = at(loop[(i + n - 1) % n]);
    const auto [bx, by] = at(loop[i]);
    const auto [cx, cy] = at(loop[(i + 1) % n]);
    const double ux = ax - bx, uy = ay - by, vx = cx - bx, vy = cy - by;
    const double u = std::hypot(ux, uy), v = std::hypot(vx, vy);
    if (u > 0.0 && v > 0.0 && ux * vx + uy * vy > 0.0)
      sharpest = std::min(sharpest, std::fabs(ux * vy - uy * vx) / (u * v));
  }
  return sharpest;
}

// I-shaped footprints (wings joined by a corridor 2 to 10 m wide, its corners up to 0.01 mm
// off, so its sides cross a hair off parallel), quarter and odd turns, at 0 and 500 m, both
// windings, shrunk by half the corridor and up to 0.01 mm either way: Clipper keeps slivers
// with corners sharper than a degree. Every loop runs clockwise (a needle's tip started a
// wing's loop the other way), none has such a corner (a needle), and no wing is lost (a
// walk's rounded point fell within the weld of its start): the area is Clipper's within a
// tenth of a square metre (a wing holds at least 4 m^2).
TEST(OffsetAgainstClipper, IShapedTiesComeBackWoundAsTheirOuterLoopsWithoutNeedles) {
  std::mt19937 rng(71);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  constexpr double kDegree = 0.0175, kTenthOfASquareMetre = 1e5;
  auto plan = [](const P3& p) { return std::array<double, 2>{p.x, p.y}; };
  auto clipper = [](const ClipperLib::IntPoint& p) {
    return std::array<double, 2>{p.X / kClipperScale, p.Y / kClipperScale};
  };
  int slivers = 0;
  for (int round = 0; round < 4000; ++round) {
    const double c = 2000 + 8000 * unit(rng), length = 1000 + 15000 * unit(rng);
    const double w1 = c + 2000 + 14000 * unit(rng), h1 = c + 2000 + 14000 * unit(rng);
    const double w2 = c + 2000 + 14000 * unit(rng), h2 = c + 2000 + 14000 * unit(rng);
    const double y1 = 500 + (h1 - c - 1000) * unit(rng), y2 = 500 + (h2 - c - 1000) * unit(rng);
    const double x2 = w1 + length, x3 = x2 + w2, b2 = y1 - y2;  // the right wing's base
    offsetrings::Plan outline = {{0, 0},       {w1, 0},      {w1, y1},      {x2, y1},
                                 {x2, b2},     {x3, b2},     {x3, b2 + h2}, {x2, b2 + h2},
                                 {x2, y1 + c}, {w1, y1 + c}, {w1, h1},      {0, h1}};
    for (int corner : {2, 3, 8, 9})
      for (double& v : outline[corner]) v += 0.02 * (unit(rng) - 0.5);
    const double turn = round % 5 < 4 ? (round % 5) * M_PI / 2 : 2 * M_PI * unit(rng);
    const double far = round % 2 ? 5e5 : 0.0;
    outline = offsetrings::Placed(outline, turn, far, 0.7 * far);
    if (round / 10 % 2) std::reverse(outline.begin(), outline.end());
    const std::vector<P3> ring = ToRing(outline);
    for (double off : {0.0, 0.01 * unit(rng), -0.01 * unit(rng)}) {
      const double g = -(c / 2 + off);
      const OffsetResult r =
          RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, g));
      const std::string what = "round " + std::to_string(round) + " offset " + std::to_string(g);
      double area = 0.0, expected = 0.0;
      for (const OffsetLoop& loop : r.loops) {
        area += std::fabs(PlanArea(loop.points));
        EXPECT_LT(PlanArea(loop.points), 0.0) << what;
        EXPECT_GE(SharpestCorner(loop.points, plan), kDegree) << what;
      }
      for (const ClipperLib::Path& path : ClipperOffsetPaths(ring, g)) {
        expected += ClipperLib::Area(path) / (kClipperScale * kClipperScale);
        slivers += SharpestCorner(path, clipper) < kDegree;
      }
      EXPECT_NEAR(area, expected, kTenthOfASquareMetre) << what;
    }
  }
  EXPECT_GT(slivers, 1000);
}
