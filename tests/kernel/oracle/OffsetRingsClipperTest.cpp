// The polygon offset against Clipper's mitred offset on rings no building test uses: random
// stars and jagged rings, edges whose slope is exactly one of the kernel's sentinel values,
// exactly level and upright edges, edges that vanish, saw rings up to 10 km across, and
// finely drawn circles and ellipses, whose corners must be Clipper's in number too.
// Every valid ring at any distance must give Clipper's loops: the same count, each area
// within 1e-6 of the total. The worst of these shapes must also each take under a second.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <random>
#include <sstream>
#include <string>

#include "ClipperOffsetAreas.h"
#include "OffsetRingFamilies.h"

using namespace offsettest;
using namespace offsetrings;

namespace {

std::string Points(const Plan& plan) {
  std::ostringstream out;
  out.precision(9);
  for (const auto& p : plan) out << "(" << p[0] << "," << p[1] << ") ";
  return out.str();
}

// The rings that the earlier engine got wrong.
const Plan kSlope555Quad = {{5530, -5960}, {-7880, -5070}, {-500, 9430}, {5550, 5140}};
const Plan kNearParallel = {{1232, -2896}, {-4367, -6884}, {-4691, 3403}, {-724, 3393},
                            {8912, 3273}};
const Plan kVanishingEdge = {{7888, -5346}, {1466, -3438}, {-3014, -8417},
                             {-2387, -1872}, {-8546, 2424}, {-3068, 2783},
                             {-243, 4152},   {4708, 5416},  {6750, 1453}};
// Whole millimetres, its edge (5394,-10403)-(5385,-16397) of slope exactly 666.
const Plan kSlope666 = {{-3930, -14988}, {-2550, -14984}, {549, -14084}, {-265, -13529},
                        {-1371, -11935}, {-3035, -11920}, {2810, -11118}, {5397, -8738},
                        {5394, -10403},  {5385, -16397},  {895, -15330}};

}  // namespace

// Rings the earlier engine lost, and edges of slope exactly 555 and 666 (the kernel's
// upright and level sentinels) or exactly level and upright, in rectangles and slanted
// quads, grown and shrunk (also by fractions of a millimetre), run either way round.
TEST(OffsetRingsAgainstClipper, NamedRingsEitherWayRound) {
  const std::vector<double> sentinels = {100, 555, 666, 1500, -100, -555, -666, -900};
  const struct {
    const char* what;
    Plan plan;
    std::vector<double> distances;
  } cases[] = {
      {"edge of slope exactly 555", kSlope555Quad, {100, 500, -100, -2000}},
      {"near-parallel corner at large distances", kNearParallel, {2000, 2045, 3000, -1000}},
      {"vanishing edge", kVanishingEdge, {-2050, -2070, -2500, 800}},
      {"whole millimetres, an edge of slope 666", kSlope666, {427.4, -427.4, 100.5, 1333.3, -60.25}},
      {"nearly upright edge", {{0, 0}, {20, 11100}, {9000, 11100}, {9000, 0}}, sentinels},
      {"nearly upright edge, slanted quad", {{0, 0}, {10, 6660}, {8000, 7000}, {7990, 340}}, sentinels},
      {"nearly upright edges, pentagon",
       {{0, 0}, {-20, -11100}, {-6000, -10000}, {-6020, -21100}, {-12000, -5000}},
       sentinels},
      {"nearly level edge", {{0, 0}, {11100, 20}, {11100, -9000}, {0, -9000}}, sentinels},
      {"square", {{0, 0}, {0, 5000}, {5000, 5000}, {5000, 0}}, sentinels},
      {"L of level and upright edges",
       {{0, 0}, {0, 5000}, {3000, 5000}, {3000, 2000}, {6000, 2000}, {6000, 0}},
       sentinels},
  };
  for (const auto& c : cases)
    for (const Plan& ring : {c.plan, Plan(c.plan.rbegin(), c.plan.rend())})
      for (double g : c.distances) EXPECT_EQ(Mismatch(ToRing(ring), g), "") << c.what << ": " << Points(ring);
}

TEST(OffsetRingsAgainstClipper, RandomStarsAndJaggedRings) {
  std::mt19937 rng(4343);
  std::uniform_real_distribution<double> distance(-2000.0, 2000.0);
  int compared = 0;
  for (int n : {10, 11, 24, 31, 60, 150, 400, 1000}) {
    for (int round = 0; round < (n < 100 ? 12 : 2); ++round) {
      // Stars have spikes reaching from a third of their radius (points at least 60 mm
      // apart there); jagged rings have a radius that wanders a little.
      const double outer = std::max(9000.0, 60.0 * n);
      const Plan star = JitteredStar(rng, n, outer / 3, outer);
      const Plan jagged = JitteredStar(rng, n, 28000.0, 30000.0);
      for (const Plan* plan : {&star, &jagged}) {
        const double g = distance(rng);
        const std::string m = Mismatch(ToRing(*plan), g);
        EXPECT_EQ(m, "") << n << " points " << (plan == &star ? "star " : "jagged ")
                         << (n <= 31 ? Points(*plan) : "");
        ++compared;
      }
    }
  }
  EXPECT_GE(compared, 100);
}

// Rings 5 to 10 km across, centred up to 2 km from the origin and turned by any angle:
// jittered stars, saw rings and orthogonal footprints, grown and shrunk by 50 mm to 2 m.
// Far from the first point the callers' single precision holds only half a millimetre.
TEST(OffsetRingsAgainstClipper, SiteSizedRingsOfEveryKind) {
  std::mt19937 rng(5410);
  std::uniform_real_distribution<double> across(5e6, 1e7), turn(0.0, 2 * M_PI),
      off(-2e6 / std::sqrt(2.0), 2e6 / std::sqrt(2.0)), distance(50.0, 2000.0);
  std::uniform_int_distribution<int> starPoints(30, 3000), sawPoints(1000, 4999);
  int compared = 0;
  for (int round = 0; round < 10; ++round) {
    const double size = across(rng);
    const int sn = starPoints(rng), wn = sawPoints(rng);
    const struct {
      const char* kind;
      Plan plan;
    } rings[] = {
        {"jittered star", JitteredStar(rng, sn, size / 6, size / 2)},
        {"saw", Saw(wn, M_PI * size / wn)},
        {"orthogonal",
         OrthogonalFootprint(rng, static_cast<int>(size / 160000.0), 20000.0, 300000.0,
                             size / 10, size / 2)},
    };
    for (const auto& r : rings) {
      const Plan plan = Placed(r.plan, turn(rng), off(rng), off(rng));
      for (double sign : {1.0, -1.0}) {
        const double g = sign * distance(rng);
        EXPECT_EQ(Mismatch(ToRing(plan), g), "")
            << r.kind << " of " << plan.size() << " points, round " << round;
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, 60);
}

// Rings of every family, of 3 to 800 points, turned by any angle, either way round, placed
// near the origin or up to 2 km from it, grown or shrunk by 10 mm to 8 m: deep jagged stars
// shrunk far leave small loops with sharp mitres, the hardest to get to 1e-6 of their area.
TEST(OffsetRingsAgainstClipper, RandomRingsOfEveryFamilyAnywhere) {
  std::mt19937 rng(1313);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int round = 0; round < 400; ++round) {
    const int n = 3 + static_cast<int>(rng() % (round % 2 ? 60 : 800));
    Plan plan;
    switch (round % 5) {
      case 0: plan = JitteredStar(rng, n, 1000 + 5000 * unit(rng), 6000 + 20000 * unit(rng)); break;
      case 1: plan = JaggedStar(rng, n, 3000 + 300 * n * unit(rng), 100 + 3000 * unit(rng)); break;
      case 2: plan = OrthogonalFootprint(rng, 2 + n / 3, 500, 8000, 1000, 20000); break;
      case 3: plan = Saw(std::max(4, n), 200 + 3000 * unit(rng), 50 + 1000 * unit(rng)); break;
      default: plan = JaggedStar(rng, n, 20000, 5000); break;
    }
    const double reach = round % 4 == 0 ? 2e6 : 1e4;
    plan = Placed(plan, 2 * M_PI * unit(rng), reach * (unit(rng) - 0.5), reach * (unit(rng) - 0.5));
    if (rng() % 2) std::reverse(plan.begin(), plan.end());
    const double g = (rng() % 2 ? 1.0 : -1.0) * (10 + unit(rng) * (rng() % 3 ? 1500 : 8000));
    EXPECT_EQ(Mismatch(ToRing(plan), g), "") << "round " << round << ", " << plan.size() << " points";
  }
}

// Random whole-millimetre rings, each with one edge whose slope is exactly one of the
// kernel's sentinels, 555 or 666.
TEST(OffsetRingsAgainstClipper, RandomRingsWithASentinelSlopeEdge) {
  std::mt19937 rng(666);
  std::uniform_int_distribution<int> coord(-15000, 15000), step(1, 20);
  std::uniform_real_distribution<double> distance(30.0, 1500.0);
  for (int round = 0; round < 45; ++round) {
    Plan plan = JitteredStar(rng, 10 + round % 7, 4000.0, 15000.0);
    const double slope = round % 2 ? 555.0 : 666.0;
    const double dx = step(rng);
    plan[1] = {plan[0][0] + dx, plan[0][1] - slope * dx};  // a spike down, then on round
    const double g = (round % 3 ? 1.0 : -1.0) * distance(rng);
    EXPECT_EQ(Mismatch(ToRing(plan), g), "") << Points(plan);
  }
}

// Circles and ellipses of 100 to 4,999 points at least 50 mm apart, grown and shrunk by 1 to
// 300 mm, either way round: Clipper's loop with one corner per point. Shrunk a short way,
// the moved edges at every corner overlap by a tenth of a millimetre or two, and the offset
// kept a second corner there (a circle of 500 points 10 m in radius shrunk by 10 mm gave 763
// corners; one of 4,000 points 100 m in radius shrunk by 100 mm more than the callers' arrays
// hold, and no loop).
TEST(OffsetRingsAgainstClipper, FinelyDrawnCurvesKeepOneCornerPerPoint) {
  std::mt19937 rng(4000);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto check = [](int n, double r, double squash, double start, bool clockwise, double g) {
    Plan plan;
    for (int i = 0; i < n; ++i) {
      const double a = start + 2 * M_PI * i / n;
      plan.push_back({r * std::cos(a), squash * r * std::sin(a)});
    }
    if (clockwise) std::reverse(plan.begin(), plan.end());
    const std::vector<P3> ring = ToRing(plan);
    const OffsetResult result =
        RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, g));
    size_t points = 0;
    for (const OffsetLoop& loop : result.loops) points += loop.points.size();
    EXPECT_EQ(Mismatch(ring, g), "") << n << " points, radius " << r << ", squashed " << squash;
    EXPECT_EQ(points, ClipperPoints(ring, g))
        << n << " points, radius " << r << ", squashed " << squash << ", offset " << g;
  };
  check(500, 10000.0, 1.0, 0.0, false, -10.0);
  check(4000, 100000.0, 1.0, 0.0, false, -100.0);
  for (int round = 0; round < 50; ++round) {
    const int n = 100 + static_cast<int>(rng() % 4900);
    const double r = std::max(n * 50.0 / (2 * M_PI), 1000.0) * (1 + 3 * unit(rng));
    const double squash = round % 2 ? 1.0 : 0.4 + 0.6 * unit(rng), start = 2 * M_PI * unit(rng);
    const bool clockwise = rng() % 2;
    const double g = (rng() % 2 ? 1.0 : -1.0) * (1 + 300 * unit(rng) * unit(rng));
    check(n, r, squash, start, clockwise, g);
  }
}

// Convex arcs of 290 to 320 points a degree apart, closed by their chord, anywhere, either
// way round: shrunk by half their radius (the joins across the corners fan out over the arc,
// their crossings with one another not looked for) Clipper's loops; by the radius, nothing.
TEST(OffsetRingsAgainstClipper, ConvexArcsShrunkByHalfTheirRadiusAndByIt) {
  std::mt19937 rng(290);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int round = 0; round < 12; ++round) {
    const int n = 290 + static_cast<int>(rng() % 31);
    const double radius = 2000 + 28000 * unit(rng);
    Plan plan;
    for (int i = 0; i < n; ++i)
      plan.push_back({radius * std::cos(i * M_PI / 180), radius * std::sin(i * M_PI / 180)});
    const double far = round % 2 ? 5e5 : 0.0;
    plan = Placed(plan, 2 * M_PI * unit(rng), far, 0.7 * far);
    if (round % 4 >= 2) std::reverse(plan.begin(), plan.end());
    const std::vector<P3> ring = ToRing(plan);
    EXPECT_EQ(Mismatch(ring, -radius / 2), "") << n << " points, radius " << radius;
    EXPECT_LT(Sum(EngineAreas(RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring,
                                        EngineDistance(ring, -radius)))),
              kNothingLeft)
        << n << " points, radius " << radius;
  }
}

// A jagged star of 4,999 points 875 m in radius (about 1.1 m apart), each corner set back
// by up to 700 mm, grown and shrunk. Its offset may need more points than the callers'
// arrays hold (Clipper's needs 5,000 growing by 350 mm): it is then refused whole.
TEST(OffsetRingsAgainstClipper, LargeJaggedStar) {
  std::mt19937 rng(4999);
  const std::vector<P3> star = ToRing(JaggedStar(rng, 4999, 875000.0, 700.0));
  int compared = 0;
  for (double g : {350.0, -350.0, 1200.0, -2000.0}) {
    const OffsetResult r =
        RunOffset(Driver::Loops, kernel::kOffsetClosedMode, star, EngineDistance(star, g));
    // Refused whole where Clipper needs as many points as the arrays hold, or more (the
    // engine may keep one corner more or fewer than Clipper's rounding).
    if (r.loopCount == 0 && ClipperPoints(star, g) >= kernel::kOffsetPointEntries - 1) continue;
    EXPECT_EQ(Mismatch(star, g), "") << g;
    ++compared;
  }
  EXPECT_GE(compared, 3);
}

// Curved facades of 422 points, their sides sampled exactly or as a surveyor would, placed
// at the origin and 500 m and 3 km from it and turned by any angle, either way round, grown
// and shrunk by exactly the radius of their concave side. Grown, the moved edges of that
// side all meet at its centre within hairs of one another, and the whole ring was lost: the
// pieces there knotted tighter than the tracers' 0.1 mm, or the winding was carried past
// crossings in cells the quadtree had settled. No ring is lost, and the offset parts from
// Clipper's only within the reach of a tie.
TEST(OffsetRingsAgainstClipper, CurvedFacadesAtTheirConcaveRadiusLoseNoRing) {
  std::mt19937 rng(3970);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int round = 0; round < 8; ++round) {
    const double radius = 1000 + 6000 * unit(rng);
    const double depth = 3000 + 8000 * unit(rng), sweep = 0.5 + 2.5 * unit(rng);
    Plan plan = CurvedFacade(rng, 422, radius, depth, sweep, round % 2 ? 0.3 : 0.0);
    const double far = round % 3 == 0 ? 0.0 : round % 3 == 1 ? 5e5 : 3e6;
    plan = Placed(plan, 2 * M_PI * unit(rng), far, 0.7 * far);
    if (rng() % 2) std::reverse(plan.begin(), plan.end());
    for (double g : {radius, -radius})
      EXPECT_EQ(TieMismatch(ToRing(plan), g), "") << "round " << round << ", radius " << radius;
  }
}

// The shapes that took longest (minutes, some), each under a second of processor time (not
// wall time: the suite runs beside other tests on a shared machine; the sanitizers slow every
// call by about three times), and with Clipper's loops where Clipper answers within seconds.
// Saw rings of 1,000 to 4,999 points run from 1 m spacing (1.6 km across at 4,999 points) to
// 10 km across: far from the first point single precision cannot hold the tracer's 0.1 mm.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSecond = 4.0;
#else
constexpr double kSecond = 1.0;
#endif

TEST(OffsetRingsAgainstClipper, WorstShapesTakeUnderASecond) {
  std::mt19937 rng(759);
  const struct {
    const char* what;
    Plan plan;
    std::vector<double> distances;
    bool againstClipper;
  } cases[] = {
      {"jittered star", JitteredStar(rng, 759, 28000.0, 30000.0), {-1200.0}, true},
      {"jittered star", JitteredStar(rng, 1000, 28000.0, 30000.0), {300.0}, true},
      {"spiky star", JitteredStar(rng, 31, 3000.0, 9000.0), {1100.0}, true},
      {"vanishing edge", kVanishingEdge, {-2070.0}, true},
      {"saw, 1 m spacing", Saw(1000, 1000.0), {300.0, -120.0}, true},
      {"saw, 1 m spacing", Saw(2500, 1000.0), {300.0, -120.0}, true},
      {"saw, 1 m spacing", Saw(4999, 1000.0), {300.0, -120.0}, true},
      {"saw 10 km across", Saw(4999, 6300.0), {300.0, -120.0, -1000.0}, true},
      // Dense and jagged (points under 0.1 m apart, notches 2 m deep) shrunk by 1.5 m: mitres
      // tens of metres long cross every vertical and each other millions of times (Clipper
      // takes seconds at 4,999 points).
      {"dense jagged ring", JitteredStar(rng, 2000, 28000.0, 30000.0), {-1500.0}, true},
      {"dense jagged ring", JitteredStar(rng, 4999, 28000.0, 30000.0), {-1500.0}, false},
      {"dense jagged ring", JitteredStar(rng, 4999, 28000.0, 30000.0), {1500.0}, false},
  };
  for (const auto& c : cases) {
    const std::vector<P3> ring = ToRing(c.plan);
    for (double g : c.distances) {
      const std::clock_t start = std::clock();
      const OffsetResult r =
          RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, g));
      const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
      EXPECT_LT(seconds, kSecond) << c.what << " of " << c.plan.size() << " points at " << g;
      EXPECT_GE(r.loopCount, 0);
      if (c.againstClipper) {
        EXPECT_EQ(Mismatch(ring, g), "") << c.what << " of " << c.plan.size() << " points";
      }
    }
  }
}
