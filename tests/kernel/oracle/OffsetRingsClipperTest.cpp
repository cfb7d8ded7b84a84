// The polygon offset against Clipper's mitred offset on rings no building test uses: random
// stars and jagged rings, edges whose slope is exactly one of the kernel's sentinel values,
// exactly level and upright edges, edges that vanish, and saw rings up to 10 km across.
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

using namespace offsettest;

namespace {

using Plan = std::vector<std::array<double, 2>>;

// The ring as the engine's callers hand it over: single precision, clockwise or not.
std::vector<P3> ToRing(const Plan& plan) {
  std::vector<P3> ring;
  for (const auto& p : plan) ring.push_back({float(p[0]), float(p[1]), 0.0});
  return ring;
}

// What rounding the loops' points to single precision (the callers' arrays) can change in
// an area: each point moves by half a float step, over the loop's perimeter.
double FloatAllowance(const OffsetResult& r) {
  double most = 0.0;
  for (const OffsetLoop& l : r.loops) {
    double perimeter = 0.0, reach = 0.0;
    for (size_t i = 0; i < l.points.size(); ++i) {
      const P3& a = l.points[i];
      const P3& b = l.points[(i + 1) % l.points.size()];
      perimeter += std::hypot(b.x - a.x, b.y - a.y);
      reach = std::max({reach, std::fabs(a.x), std::fabs(a.y)});
    }
    most = std::max(most, perimeter * reach * std::ldexp(1.0, -23));
  }
  return most;
}

// Empty when the engine's offset of the ring by g (growing when positive) has Clipper's
// loops; otherwise what differs.
std::string Mismatch(const std::vector<P3>& ring, double g) {
  const std::vector<double> expected = ClipperAreas(ring, g);
  const OffsetResult r =
      RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, g));
  const std::vector<double> got = EngineAreas(r);
  const double total = Sum(expected);
  bool same = got.size() == expected.size();
  const double tolerance = 1e-6 * total + FloatAllowance(r);
  for (size_t i = 0; same && i < got.size(); ++i)
    same = std::fabs(got[i] - expected[i]) <= tolerance;
  if (same) return "";
  return "offset " + std::to_string(g) + ": engine " + Describe(got) + "/ clipper " +
         Describe(expected);
}

std::string Points(const Plan& plan) {
  std::ostringstream out;
  out.precision(9);
  for (const auto& p : plan) out << "(" << p[0] << "," << p[1] << ") ";
  return out.str();
}

// A clockwise star of n points about the origin, radii drawn between rMin and rMax.
Plan Star(std::mt19937& rng, int n, double rMin, double rMax) {
  std::uniform_real_distribution<double> radius(rMin, rMax), jitter(-0.3, 0.3);
  Plan plan;
  for (int i = 0; i < n; ++i) {
    const double a = -2 * M_PI * (i + jitter(rng)) / n;
    const double r = i % 2 ? radius(rng) : rMax;
    plan.push_back({std::round(r * std::cos(a)), std::round(r * std::sin(a))});
  }
  return plan;
}

// A clockwise ring of n points about 1 m apart (n * spacing around), every second point set
// back by 300 mm: the notches close when it grows.
Plan Saw(int n, double spacing) {
  const double radius = std::max(5000.0, n * spacing / (2 * M_PI));
  Plan plan;
  for (int i = 0; i < n; ++i) {
    const double a = -2 * M_PI * i / n;
    const double r = i % 2 ? radius - 300.0 : radius;
    plan.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return plan;
}

// The rings that the earlier engine got wrong.
const Plan kSlope555Quad = {{5530, -5960}, {-7880, -5070}, {-500, 9430}, {5550, 5140}};
const Plan kNearParallel = {{1232, -2896}, {-4367, -6884}, {-4691, 3403}, {-724, 3393},
                            {8912, 3273}};
const Plan kVanishingEdge = {{7888, -5346}, {1466, -3438}, {-3014, -8417},
                             {-2387, -1872}, {-8546, 2424}, {-3068, 2783},
                             {-243, 4152},   {4708, 5416},  {6750, 1453}};

}  // namespace

TEST(OffsetRingsAgainstClipper, RingsTheEarlierEngineLost) {
  const struct {
    const char* what;
    Plan plan;
    std::vector<double> distances;
  } cases[] = {
      {"edge of slope exactly 555", kSlope555Quad, {100, 500, -100, -2000}},
      {"near-parallel corner at large distances", kNearParallel, {2000, 2045, 3000, -1000}},
      {"vanishing edge", kVanishingEdge, {-2050, -2070, -2500, 800}},
  };
  for (const auto& c : cases) {
    for (double g : c.distances) {
      const std::string m = Mismatch(ToRing(c.plan), g);
      EXPECT_EQ(m, "") << c.what;
    }
  }
}

// Edges of slope exactly 555 and 666 (the kernel's upright and level sentinels), and exactly
// level and upright edges, in rectangles and slanted quads, grown and shrunk.
TEST(OffsetRingsAgainstClipper, SentinelSlopesAndAxisEdges) {
  const Plan cases[] = {
      {{0, 0}, {20, 11100}, {9000, 11100}, {9000, 0}},
      {{0, 0}, {10, 6660}, {8000, 7000}, {7990, 340}},
      {{0, 0}, {-20, -11100}, {-6000, -10000}, {-6020, -21100}, {-12000, -5000}},
      {{0, 0}, {11100, 20}, {11100, -9000}, {0, -9000}},
      {{0, 0}, {0, 5000}, {5000, 5000}, {5000, 0}},
      {{0, 0}, {0, 5000}, {3000, 5000}, {3000, 2000}, {6000, 2000}, {6000, 0}},
  };
  for (const Plan& plan : cases) {
    for (const Plan& ring : {plan, Plan(plan.rbegin(), plan.rend())})
      for (double g : {100.0, 555.0, 666.0, 1500.0, -100.0, -555.0, -666.0, -900.0})
        EXPECT_EQ(Mismatch(ToRing(ring), g), "") << Points(ring);
  }
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
      const Plan star = Star(rng, n, outer / 3, outer);
      const Plan jagged = Star(rng, n, 28000.0, 30000.0);
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

// Saw rings of 1,000 to 4,999 points, from 1 m spacing (1.6 km across at 4,999 points) to
// 10 km across: far from the first point single precision cannot hold the tracer's 0.1 mm.
TEST(OffsetRingsAgainstClipper, SiteSizedSawRings) {
  const struct {
    int n;
    double spacing;
  } cases[] = {{1000, 1000.0}, {2500, 1000.0}, {4999, 1000.0}, {4999, 6300.0}};
  for (const auto& c : cases)
    for (double g : {300.0, -120.0})
      EXPECT_EQ(Mismatch(ToRing(Saw(c.n, c.spacing)), g), "") << c.n << " points";
}

// The shapes that took longest (minutes, some), each under a second of processor time (not
// wall time: the suite runs beside other tests on a shared machine); the sanitizers slow every
// call by about three times.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSecond = 4.0;
#else
constexpr double kSecond = 1.0;
#endif

TEST(OffsetRingsAgainstClipper, WorstShapesTakeUnderASecond) {
  std::mt19937 rng(759);
  const struct {
    Plan plan;
    double g;
  } cases[] = {
      {Star(rng, 759, 28000.0, 30000.0), -1200.0},
      {Star(rng, 1000, 28000.0, 30000.0), 300.0},
      {Star(rng, 31, 3000.0, 9000.0), 1100.0},
      {kVanishingEdge, -2070.0},
      {Saw(4999, 1000.0), 300.0},
      {Saw(4999, 6300.0), -1000.0},
      // Dense and jagged (points under 0.1 m apart, notches 2 m deep) shrunk by 1.5 m: mitres
      // tens of metres long cross every vertical and each other.
      {Star(rng, 2000, 28000.0, 30000.0), -1500.0},
  };
  for (const auto& c : cases) {
    const std::vector<P3> ring = ToRing(c.plan);
    const std::clock_t start = std::clock();
    const OffsetResult r =
        RunOffset(Driver::Loops, kernel::kOffsetClosedMode, ring, EngineDistance(ring, c.g));
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_LT(seconds, kSecond) << c.plan.size() << " points at " << c.g;
    EXPECT_GE(r.loopCount, 0);
  }
}
