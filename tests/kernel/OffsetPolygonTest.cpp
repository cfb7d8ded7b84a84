// The polygon offset: the raw ring's corners, the documented cases of both drivers, rings
// in sloping planes, open polylines, and refusal of unusable input and of results that do
// not fit the callers' arrays.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "OffsetTestSupport.h"
#include "PolygonOffset.h"

using namespace offsettest;
using kernel::kOffsetClosedMode;
using kernel::kOffsetOpenMode;

namespace {

// Raw offset ring of a flat polygon through OffsetPolygonEdges (points 1..n, plus point
// n + 1 in closed mode), returned 0-based.
std::vector<std::array<double, 2>> RawRing(const std::vector<std::array<double, 2>>& plan, int mode,
                                           float d) {
  const int n = static_cast<int>(plan.size());
  std::vector<float> x(n + 3, 0.0f), y(n + 3, 0.0f), ox(n + 3, 0.0f), oy(n + 3, 0.0f);
  for (int i = 0; i < n; ++i)
    x[i + 1] = static_cast<float>(plan[i][0]), y[i + 1] = static_cast<float>(plan[i][1]);
  EXPECT_EQ(OffsetPolygonEdges(x.data(), y.data(), n, mode, d, ox.data(), oy.data()), 1);
  std::vector<std::array<double, 2>> out;
  const int last = mode == kOffsetClosedMode ? n + 1 : n;
  for (int i = 1; i <= last; ++i) out.push_back({ox[i], oy[i]});
  return out;
}

// Whether every point of the loop is within tol of one of the expected points and every
// expected point is met.
bool SamePointSet(const OffsetLoop& loop, const std::vector<P3>& expected, double tol) {
  auto near = [tol](const P3& a, const P3& b) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol &&
           std::fabs(a.z - b.z) <= tol;
  };
  for (const P3& p : loop.points)
    if (std::none_of(expected.begin(), expected.end(), [&](const P3& e) { return near(p, e); }))
      return false;
  for (const P3& e : expected)
    if (std::none_of(loop.points.begin(), loop.points.end(),
                     [&](const P3& p) { return near(p, e); }))
      return false;
  return true;
}

const std::vector<std::array<double, 2>> kCcwSquare = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};

// n points on an arc of `turn` radians and radius r about the origin, from angle 0.
std::vector<P3> Arc(int n, double r, double turn) {
  std::vector<P3> points;
  for (int i = 0; i < n; ++i)
    points.push_back({r * std::cos(turn * i / n), r * std::sin(turn * i / n), 0});
  return points;
}

}  // namespace

TEST(OffsetPolygonEdges, CornersOfTheRawRing) {
  const double r2 = std::sqrt(2.0);
  struct Corner {
    size_t at;
    double x, y, tol;
  };
  const struct {
    const char* what;
    std::vector<std::array<double, 2>> plan;
    int mode;
    float d;
    size_t size;  // 0: not checked
    std::vector<Corner> corners;
  } cases[] = {
      // Every edge moves out; vertical meets horizontal from the two midpoints, and the
      // closing corner repeats the first.
      {"clockwise square", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, kOffsetClosedMode, 1.0f, 5,
       {{0, -1, -1, 1e-5}, {1, -1, 11, 1e-5}, {2, 11, 11, 1e-5}, {3, 11, -1, 1e-5},
        {4, -1, -1, 1e-5}}},
      // The shared vertex of two collinear edges moves straight along the normal.
      {"collinear", {{0, 0}, {0, 5}, {0, 10}, {10, 10}, {10, 0}}, kOffsetClosedMode, 1.0f, 0,
       {{1, -1, 5, 1e-6}}},
      // Sloped edges meet at the crossing of their moved lines: half-diagonal 10 + sqrt(2).
      {"diamond", {{0, -10}, {-10, 0}, {0, 10}, {10, 0}}, kOffsetClosedMode, 1.0f, 0,
       {{1, -10 - r2, 0, 1e-4}, {2, 0, 10 + r2, 1e-4}}},
      // An edge leaning by 0.01 counts as vertical: the corner takes its x from the edge's
      // moved midpoint (about -0.995), not from the true crossing (about -0.9989).
      {"leaning", {{0, 0}, {0.01, 10}, {10, 10}, {10, 0}}, kOffsetClosedMode, 1.0f, 0,
       {{1, -0.995, 11, 2e-4}}},
      // Open polyline: its ends move along the end edges' normals.
      {"open", {{0, 0}, {100, 0}, {100, 50}}, kOffsetOpenMode, 10.0f, 3,
       {{0, 0, 10, 1e-5}, {1, 90, 10, 1e-4}, {2, 90, 50, 1e-5}}},
  };
  for (const auto& c : cases) {
    const auto ring = RawRing(c.plan, c.mode, c.d);
    if (c.size != 0) {
      EXPECT_EQ(ring.size(), c.size) << c.what;
    }
    for (const Corner& e : c.corners) {
      ASSERT_LT(e.at, ring.size()) << c.what;
      EXPECT_NEAR(ring[e.at][0], e.x, e.tol) << c.what << " corner " << e.at;
      EXPECT_NEAR(ring[e.at][1], e.y, e.tol) << c.what << " corner " << e.at;
    }
  }
}

TEST(OffsetPolygon, CounterClockwiseSquareShrinksForAPositiveDistance) {
  for (Driver driver : {Driver::Loops, Driver::Ring}) {
    const OffsetResult in = RunOffset(driver, kOffsetClosedMode, Flat(kCcwSquare, 250.0), 10.0f);
    ASSERT_EQ(in.loopCount, 1);
    EXPECT_EQ(in.loops[0].code, 10001);
    ASSERT_EQ(in.loops[0].points.size(), 4u);
    EXPECT_TRUE(
        SamePointSet(in.loops[0], Flat({{10, 10}, {90, 10}, {90, 90}, {10, 90}}, 250.0), 1e-4));
    // Traced by left turns from the lowest-left corner: clockwise.
    EXPECT_LT(PlanArea(in.loops[0].points), 0.0);
    EXPECT_NEAR(in.loops[0].points[0].x, 10.0, 1e-4);
    EXPECT_NEAR(in.loops[0].points[0].y, 10.0, 1e-4);

    // Negated, as the toolkit does for such a ring, it grows to side 120.
    const OffsetResult out = RunOffset(driver, kOffsetClosedMode, Flat(kCcwSquare, 250.0), -10.0f);
    ASSERT_EQ(out.loopCount, 1);
    EXPECT_TRUE(SamePointSet(out.loops[0],
                             Flat({{-10, -10}, {110, -10}, {110, 110}, {-10, 110}}, 250.0), 1e-4));
    // A clockwise ring grows for a positive distance.
    const OffsetResult cw = RunOffset(driver, kOffsetClosedMode, Reversed(Flat(kCcwSquare)), 10.0f);
    ASSERT_EQ(cw.loopCount, 1);
    EXPECT_NEAR(std::fabs(PlanArea(cw.loops[0].points)), 120.0 * 120.0, 1e-2);
  }
}

TEST(OffsetPolygon, RingInASlopingPlaneIsOffsetWithinItsPlane) {
  // A 60 x 40 rectangle laid in the plane through the x axis tilted by 30 degrees, shrunk by 5
  // within that plane: the tilted 50 x 30 rectangle, every point still in the plane.
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  auto tilt = [&](double u, double v) { return P3{u + 200, v * c + 300, v * s + 1000}; };
  const std::vector<P3> ring = {tilt(0, 0), tilt(60, 0), tilt(60, 40), tilt(0, 40)};
  const OffsetResult r = RunOffset(Driver::Loops, kOffsetClosedMode, ring, 5.0f);
  ASSERT_EQ(r.loopCount, 1);
  EXPECT_TRUE(SamePointSet(r.loops[0], {tilt(5, 5), tilt(55, 5), tilt(55, 35), tilt(5, 35)}, 2e-3));
  // The same ring stood upright in the plane y = 0.
  const std::vector<P3> wall = {{0, 0, 0}, {60, 0, 0}, {60, 0, 40}, {0, 0, 40}};
  const OffsetResult up = RunOffset(Driver::Loops, kOffsetClosedMode, wall, 5.0f);
  ASSERT_EQ(up.loopCount, 1);
  EXPECT_TRUE(SamePointSet(up.loops[0], {{5, 0, 5}, {55, 0, 5}, {55, 0, 35}, {5, 0, 35}}, 2e-3));
}

TEST(OffsetPolygon, NarrowArmShrunkAwayLeavesTheBody) {
  // Counter-clockwise: a 100 x 100 body with an arm of width 8 and length 60 on its right.
  // Shrunk by 5 the arm is gone (its reversed stretch lies within the clearance); the body
  // becomes 90 x 90.
  const auto ring =
      Flat({{0, 0}, {100, 0}, {100, 46}, {160, 46}, {160, 54}, {100, 54}, {100, 100}, {0, 100}});
  const OffsetResult r = RunOffset(Driver::Loops, kOffsetClosedMode, ring, 5.0f);
  ASSERT_EQ(r.loopCount, 1);
  EXPECT_NEAR(std::fabs(PlanArea(r.loops[0].points)), 90.0 * 90.0, 1e-2);
  for (const P3& p : r.loops[0].points) EXPECT_LE(p.x, 95.0 + 1e-4);
}

// A ring vanishes once shrunk by half its width. (Splitting at a waist, closing courtyards
// and notches are held to Clipper's offset of the same building rings by the oracle suite.)
TEST(OffsetPolygon, ShrunkByHalfItsWidthTheRingVanishes) {
  const auto bar = Flat({{0, 0}, {100, 0}, {100, 20}, {0, 20}});
  for (Driver driver : {Driver::Loops, Driver::Ring})
    for (float d : {10.0f, 10.5f, 40.0f})
      EXPECT_EQ(RunOffset(driver, kOffsetClosedMode, bar, d).loopCount, 0) << d;
  EXPECT_EQ(RunOffset(Driver::Ring, kOffsetClosedMode, bar, 9.5f).loopCount, 1);
}

// Rings at a tie, where sides moved by the distance meet. A bar shrunk by half its width
// vanishes when it is exactly that wide and leaves a thin loop when a hair wider: one too
// thin for the tracers comes back as the loop a tenth of a millimetre nearer the ring, not
// as nothing. A corner recorded twice, 0.1 mm back along its side (the ring turns straight
// back and on again), offsets as the corner recorded once: the moved edges on either side
// of it are joined by a square cap, where the ring was cut across from the corner before
// it (16 m² lost growing the rectangle by 1 m). Both windings, at the origin and 500 m
// from it.
TEST(OffsetPolygon, RingsAtATieKeepTheirArea) {
  using Plan = std::vector<std::array<double, 2>>;
  auto bar = [](double width) { return Plan{{0, 0}, {0, width}, {30000, width}, {30000, 0}}; };
  const Plan doubled = {{0, 0},           {0, 12000},     {15000, 12000},
                        {14999.9, 12000}, {30000, 12000}, {30000, 0}};
  const struct {
    const char* what;
    Plan plan;
    double g, lo, hi;  // growth (negative shrinks) and the area it leaves
  } cases[] = {
      {"bar exactly twice the distance wide", bar(6000.0), -3000, 0, 0},
      {"bar a sixteenth of a millimetre wider", bar(6000.0625), -3000, 0.0625 * 24000,
       0.2625 * 24001},
      {"corner recorded twice, grown", doubled, 1000, 32000.0 * 14000, 32000.0 * 14000},
      {"corner recorded twice, shrunk", doubled, -1000, 28000.0 * 10000, 28000.0 * 10000},
      {"corner recorded twice, shrunk to nothing", doubled, -6000, 0, 0},
  };
  for (const auto& c : cases)
    for (double far : {0.0, 5e5})
      for (bool reversed : {false, true}) {
        std::vector<P3> ring;
        for (const auto& p : c.plan) ring.push_back({far + p[0], p[1], 0.0});
        if (reversed) ring = Reversed(ring);
        const OffsetResult r =
            RunOffset(Driver::Loops, kOffsetClosedMode, ring, EngineDistance(ring, c.g));
        double area = 0.0;
        for (const OffsetLoop& l : r.loops) area += std::fabs(PlanArea(l.points));
        // What single precision's rounding of the loops' points can move (500 m out, to 1/32 mm).
        const double slack = 1e-5 * c.hi + 10.0;
        const std::string what = c.what + std::string(reversed ? ", reversed" : "") + " at " +
                                 std::to_string(far);
        EXPECT_EQ(r.loopCount > 0, c.hi > 0) << what;
        EXPECT_GE(area, c.lo - slack) << what;
        EXPECT_LE(area, c.hi + slack) << what;
      }
}

TEST(OffsetPolygon, OpenPolylineGivesClosedLoopsOrOnePieceList) {
  // An L-shaped polyline moved by 10 to its left (into the turn).
  const auto line = Flat({{0, 0}, {100, 0}, {100, 50}}, 7.0);
  const OffsetResult loops = RunOffset(Driver::Loops, kOffsetOpenMode, line, 10.0f);
  ASSERT_EQ(loops.loopCount, 1);
  EXPECT_EQ(loops.loops[0].code, 10001);
  EXPECT_NEAR(std::fabs(PlanArea(loops.loops[0].points)), 100 * 10 + 10 * 40, 1e-2);

  const OffsetResult list = RunOffset(Driver::Ring, kOffsetOpenMode, line, 10.0f);
  ASSERT_EQ(list.loopCount, 1);
  EXPECT_EQ(list.loops[0].code, 1001);
  const std::vector<P3> pieces = {{0, 10, 7}, {90, 10, 7}, {90, 10, 7}, {90, 50, 7}};
  ASSERT_EQ(list.loops[0].points.size(), pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    EXPECT_NEAR(list.loops[0].points[i].x, pieces[i].x, 1e-4) << i;
    EXPECT_NEAR(list.loops[0].points[i].y, pieces[i].y, 1e-4) << i;
    EXPECT_EQ(list.loops[0].points[i].z, 7.0);
  }
  // Two points: one edge, whose offset is both the first and the last and always kept.
  const OffsetResult one =
      RunOffset(Driver::Ring, kOffsetOpenMode, Flat({{0, 0}, {30, 0}}), 500.0f);
  ASSERT_EQ(one.loopCount, 1);
  EXPECT_EQ(one.loops[0].points.size(), 2u);
  const OffsetResult box = RunOffset(Driver::Loops, kOffsetOpenMode, Flat({{0, 0}, {30, 0}}), 5.0f);
  ASSERT_EQ(box.loopCount, 1);
  EXPECT_NEAR(std::fabs(PlanArea(box.loops[0].points)), 150.0, 1e-3);
}

TEST(OffsetPolygon, EndEdgesOfAPolylineAreNeverClearedAway) {
  // A hairpin 3 wide moved by 10 to its left: the first offset edge passes 7 from the last
  // point and the last offset edge 7 from the first, both closer than the clearance of 9.9,
  // and both stay; the offset of the short middle edge goes.
  const auto hairpin = Flat({{0, 0}, {100, 0}, {100, 3}, {0, 3}});
  const OffsetResult r = RunOffset(Driver::Ring, kOffsetOpenMode, hairpin, 10.0f);
  ASSERT_EQ(r.loopCount, 1);
  EXPECT_EQ(r.loops[0].code, 1001);
  ASSERT_EQ(r.loops[0].points.size(), 4u);
  int atTen = 0, atMinusSeven = 0;
  for (const P3& p : r.loops[0].points) {
    if (std::fabs(p.y - 10.0) < 1e-4) ++atTen;
    if (std::fabs(p.y + 7.0) < 1e-4) ++atMinusSeven;
  }
  EXPECT_EQ(atTen, 2);
  EXPECT_EQ(atMinusSeven, 2);
}

TEST(OffsetPolygon, UnusableInputGivesNoResultAndIsNotReadPastItsEnd) {
  // Input arrays of exactly n + 1 entries: reading past the polygon would be caught.
  auto run = [](Driver driver, int mode, const std::vector<P3>& pts, float d) {
    return RunOffset(driver, mode, pts, d, static_cast<int>(pts.size()) + 1).loopCount;
  };
  auto bad = Flat(kCcwSquare);
  bad[2].y = std::numeric_limits<double>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    int mode;
    std::vector<P3> points;
    float d;
  } cases[] = {{kOffsetClosedMode, {}, 10.0f},
               {kOffsetClosedMode, Flat({{0, 0}}), 10.0f},
               {kOffsetClosedMode, Flat({{0, 0}, {10, 0}}), 10.0f},
               {kOffsetOpenMode, Flat({{0, 0}}), 10.0f},
               {kOffsetOpenMode, {}, 10.0f},
               {7, Flat(kCcwSquare), 10.0f},
               {kOffsetClosedMode, Flat(kCcwSquare), nan},
               {kOffsetClosedMode, bad, 10.0f}};
  for (Driver driver : {Driver::Loops, Driver::Ring})
    for (const auto& c : cases)
      EXPECT_EQ(run(driver, c.mode, c.points, c.d), 0) << c.mode << " " << c.points.size();
  // More points than the callers' arrays hold.
  EXPECT_EQ(
      RunOffset(Driver::Loops, kOffsetClosedMode, Arc(5000, 1e4, -2 * M_PI), 10.0f, 5001).loopCount,
      0);
}

TEST(OffsetPolygon, MorePointsThanTheOldWorkArraysHeld) {
  // 1200 points, beyond the 997 that fixed work arrays allowed: a clockwise circle-like ring
  // grows by 100, keeping one point per corner.
  const int n = 1200;
  const auto ring = Arc(n, 5000, -2 * M_PI);
  const OffsetResult r = RunOffset(Driver::Ring, kOffsetClosedMode, ring, 100.0f);
  ASSERT_EQ(r.loopCount, 1);
  EXPECT_EQ(r.loops[0].points.size(), static_cast<size_t>(n));
  const double grown = std::fabs(PlanArea(ring)) * std::pow(5100.0 / 5000.0, 2);
  EXPECT_NEAR(std::fabs(PlanArea(r.loops[0].points)), grown, 1e-4 * grown);
}

TEST(OffsetPolygon, AResultLargerThanTheCallersArraysIsRefused) {
  // An open polyline of n points comes back from the ring driver as 2 (n - 1) points: 2500
  // points fill 4998 of the 4999 entries, 2501 would need 5000.
  auto arc = [](int n) { return Arc(n, 1e5, 0.5 * M_PI); };
  const OffsetResult fits = RunOffset(Driver::Ring, kOffsetOpenMode, arc(2500), 20.0f);
  ASSERT_EQ(fits.loopCount, 1);
  EXPECT_EQ(fits.loops[0].points.size(), 2u * 2499u);
  EXPECT_EQ(RunOffset(Driver::Ring, kOffsetOpenMode, arc(2501), 20.0f).loopCount, 0);
}
