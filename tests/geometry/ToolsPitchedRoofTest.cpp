// The pitched-roof generator (CTools::powudingzcx_c): roofs known in closed form, outlines
// handed over from every vertex either way round, the invariants of every roof on generated footprints of every
// kind at unequal slopes, and the inputs it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "PitchedRoofTestSupport.h"

namespace {

using namespace pitchedroof;
using rooftest::Rectangle;

// A w x h rectangle at (x0, y0) with its sides along x at one slope and along y at another.
Footprint Hipped(double x0, double y0, double w, double h, double alongX, double alongY, double base = 0.0)
{
    Footprint f = Sloped({Moved(Rectangle(w, h), x0, y0)}, 0, 0, nullptr, {base});
    f.slopes = {Radians(alongY), Radians(alongX), Radians(alongY), Radians(alongX)};
    return f;
}

TEST(ToolsPitchedRoof, ClosedForms)
{
    const double t30 = std::tan(Radians(30)), t45 = std::tan(Radians(45));
    const Outline court = Moved(Rectangle(10000, 10000), 10000, 10000);
    const struct {
        const char* name;
        Footprint footprint;
        std::size_t faces, triangles;
        double top, ridge;  // the highest point, and the plan distance between the highest points
    } cases[] = {
        {"rectangle 20 x 8 m at 30", Hipped(0, 0, 20000, 8000, 30, 30), 4, 2, 4000 * t30, 12000},
        {"square 9 m at 35", Hipped(0, 0, 9000, 9000, 35, 35), 4, 4, 4500 * std::tan(Radians(35)), 0},
        {"long sides at 30, ends at 45", Hipped(0, 0, 20000, 8000, 30, 45), 4, 2, 4000 * t30, 20000 - 8000 * t30 / t45},
        {"long sides at 45, ends at 30", Hipped(0, 0, 30000, 8000, 45, 30), 4, 2, 4000 * t45, 30000 - 8000 * t45 / t30},
        // Crossings where the crossing of two lines answers "parallel" with the point (111, 111).
        {"hips meeting at x = 111", Hipped(-3889, 0, 20000, 8000, 30, 30), 4, 2, 4000 * t30, 12000},
        {"ridge along x = 111", Hipped(-3889, 0, 8000, 20000, 30, 30), 4, 2, 4000 * t30, 12000},
        {"apex at (111, 111)", Hipped(-4389, -4389, 9000, 9000, 30, 30), 4, 4, 4500 * t30, 0},
        // The hips' ceiling of 20 m, passed by the eaves or by the roof.
        {"eaves at 25 m", Hipped(0, 0, 20000, 8000, 30, 30, 25000), 4, 2, 25000 + 4000 * t30, 12000},
        {"80 m wide at 30", Hipped(0, 0, 120000, 80000, 30, 30), 4, 2, 40000 * t30, 40000},
        {"80 m wide at 30 on eaves at 25 m", Hipped(0, 0, 120000, 80000, 30, 30, 25000), 4, 2, 25000 + 40000 * t30,
         40000},
        // Its faces slope down to the courtyard too; a hole given clockwise is turned round.
        {"courtyard", Sloped({Rectangle(30000, 30000), rooftest::Reversed(court)}, 30), 8, 0, 5000 * t30,
         20000 * std::sqrt(2.0)},
        {"courtyard given clockwise", Sloped({Rectangle(30000, 30000), court}, 30), 8, 0, 5000 * t30,
         20000 * std::sqrt(2.0)},
    };
    for (const auto& c : cases) {
        const Roof roof = Generate(c.footprint);
        ExpectSoundRoof(roof, c.name);
        EXPECT_EQ(roof.faces.size(), c.faces) << c.name;
        EXPECT_EQ(std::count_if(roof.faces.begin(), roof.faces.end(), [](const Ring& f) { return f.size() == 3; }),
                  c.triangles)
            << c.name;
        double top = -1e300, ridge = 0.0;
        for (const Ring& f : roof.faces)
            for (const P3& v : f)
                top = std::max(top, v.z);
        for (const Ring& f : roof.faces)
            for (const Ring& g : roof.faces)
                for (const P3& a : f)
                    for (const P3& b : g)
                        if (a.z > top - 0.5 && b.z > top - 0.5)
                            ridge = std::max(ridge, std::hypot(a.x - b.x, a.y - b.y));
        EXPECT_NEAR(top, c.top, 0.05) << c.name;
        EXPECT_NEAR(ridge, c.ridge, 0.5) << c.name;
    }
}

// The footprint with every loop given from its vertex `from` (taken round its size), the
// other way round when reversed, each edge keeping its slope.
Footprint Turned(const Footprint& f, std::size_t from, bool reversed)
{
    Footprint t = f;
    for (std::size_t l = 0, at = 0; l < f.loops.size(); at += f.loops[l].size(), ++l) {
        const std::size_t n = f.loops[l].size(), start = from % n;
        for (std::size_t i = 0; i < n; ++i) {
            // Reversed, edge i runs from old vertex start - i to start - i - 1: old edge start - i - 1.
            t.loops[l][i] = f.loops[l][reversed ? (start + n - i) % n : (start + i) % n];
            t.slopes[at + i] = f.slopes[at + (reversed ? (start + 2 * n - i - 1) % n : (start + i) % n)];
        }
    }
    return t;
}

// Outlines handed over from every vertex, either way round, give the roof of the clockwise
// outline (holes counter-clockwise) from its first vertex, and the caller's arrays come back
// turned that way, each edge with its own slope. Among them corners on straight runs at the
// smallest x of an outline or a hole, where no corner's turn tells the way round.
TEST(ToolsPitchedRoof, OutlinesFromEveryVertexEitherWayRoundGiveTheSameFaces)
{
    std::mt19937 rng(11);
    const Outline straightLeft{{0, 0}, {0, 4000}, {0, 8000}, {20000, 8000}, {20000, 0}};
    const Outline holeWithRun{{6000, 2000}, {14000, 2000}, {14000, 6000}, {6000, 6000}, {6000, 4000}};
    // Eaves on one line slope alike (the generator refuses them otherwise).
    const struct {
        std::vector<Outline> loops;
        bool runs;
    } footprints[] = {
        {{rooftest::LShape()}, false},
        {{rooftest::UShape()}, false},
        {{Rectangle(20000, 8000)}, false},
        {{rooftest::FromCounterClockwise({0, 0, 12000, 0, 12000, 5000, 5000, 5000, 5000, 14000, 0, 14000, 0, 7000})},
         true},
        {{straightLeft, holeWithRun}, true},
    };
    for (const auto& [loops, runs] : footprints) {
        const Footprint given = runs ? Sloped(loops, 30) : Sloped(loops, 25, 35, &rng);
        const Roof reference = Generate(given);
        ASSERT_FALSE(reference.faces.empty());
        const std::vector<Eave> eaves = Eaves(given);
        for (std::size_t from = 0; from < loops[0].size(); ++from)
            for (const bool reversed : {false, true}) {
                const std::string what = std::to_string(loops[0].size()) + " corners from " + std::to_string(from) +
                                         (reversed ? ", reversed" : "");
                const Roof roof = Generate(Turned(given, from, reversed));
                ASSERT_EQ(roof.faces.size(), reference.faces.size()) << what;
                for (const Ring& f : reference.faces)
                    EXPECT_TRUE(std::any_of(roof.faces.begin(), roof.faces.end(),
                                            [&](const Ring& g) { return SameCorners(f, g, 0.05); }))
                        << what;
                for (const Eave& e : Eaves(roof.footprint))
                    EXPECT_TRUE(std::any_of(eaves.begin(), eaves.end(), [&](const Eave& o) {
                        return o.a.x == e.a.x && o.a.y == e.a.y && o.b.x == e.b.x && o.b.y == e.b.y &&
                               static_cast<float>(o.slope) == static_cast<float>(e.slope);
                    })) << what;
            }
    }
}

// Whole, sound roofs on the letter shapes and on shapes whose eaves in one plane merge into
// one face.
TEST(ToolsPitchedRoof, LetterShapesAndMergingEavesGetWholeSoundRoofs)
{
    std::mt19937 rng(2026);
    // Eaves in one plane merge into one face.
    std::vector<std::pair<std::string, Footprint>> roofs = {
        // The back of a comb of 80 teeth meets 236 candidate sides.
        {"comb of 80 teeth", Sloped({Comb(80)}, 30)},
        // The line through an eave's start and the point 6000 inside its end runs parallel to
        // the next plane: the valley at the end of a 6000 mm eave between square corners.
        {"U with a 6 m bay", Sloped({rooftest::UShape()}, 30)},
        {"vertex on a straight run", Sloped({{{0, 0}, {0, 8000}, {20000, 8000}, {20000, 0}, {10000, 0}}}, 30)},
        // A short eave whose candidate sides include a stretch of its own hip, from the eave
        // in its neighbour's plane further on.
        {"short eave beside a coplanar run",
         Sloped({{{0, 0}, {0, 3000}, {2000, 3000}, {2000, 4000}, {4000, 4000}, {4000, 5000}, {6000, 5000}, {6000, 9000},
                  {8000, 9000}, {8000, 5000}, {14000, 5000}, {14000, 12000}, {20000, 12000}, {20000, 4000},
                  {26000, 4000}, {26000, 3000}, {31000, 3000}, {31000, 0}}},
                30)},
        // The two parts of a long eave are one face above a bay. At 45 degrees a level eave's
        // plane has two largest coefficients, and the parts' planes are found to be one only
        // when each is scaled to its largest.
        {"bay in front of a long eave",
         Sloped({{{0, 0}, {0, 8000}, {20000, 8000}, {20000, 0}, {10000, 0}, {10000, -1000}, {6000, -1000}, {6000, 0}}},
                45)},
    };
    for (const auto& [name, o] : {std::pair{"L", rooftest::LShape()}, std::pair{"T", rooftest::TShape()},
                                  std::pair{"U", rooftest::UShape()}, std::pair{"H", rooftest::HShape()},
                                  std::pair{"rectangle", Rectangle(20000, 8000)}}) {
        roofs.push_back({std::string(name) + " at 30", Sloped({o}, 30)});
        roofs.push_back({std::string(name) + " at 20-50", Sloped({o}, 20, 50, &rng)});
    }
    for (const auto& [name, footprint] : roofs)
        ExpectSoundRoof(Generate(footprint), name);
}

// Unequal slopes: every kind of footprint, with and without a courtyard, gets a whole
// roof whose every face vertex stands at tan(slope) times its distance from its own eave line,
// also on site coordinates a kilometre off the origin and with the loops given the other way.
TEST(ToolsPitchedRoof, UnequalSlopesGiveWholeRoofsInTheirEavesPlanes)
{
    std::mt19937 rng(31);
    for (const auto& [name, loops] : FootprintFamilies(rng, 12)) {
        const Footprint f = Sloped(loops, 15, 60, &rng);
        ExpectSoundRoof(Generate(f), name + " at 15-60");
        Footprint far = f;
        for (Outline& o : far.loops)
            o = Moved(rooftest::Reversed(o), 1e6, -1e6);
        // Reversing a loop (keeping its first point) makes edge i of the copy the old edge
        // n-1-i turned round: carry the slopes along.
        for (std::size_t l = 0, at = 0; l < f.loops.size(); at += f.loops[l].size(), ++l)
            for (std::size_t i = 0, n = f.loops[l].size(); i < n; ++i)
                far.slopes[at + i] = f.slopes[at + n - 1 - i];
        ExpectSoundRoof(Generate(far), name + " at 15-60, a kilometre off and turned round");
    }
}

TEST(ToolsPitchedRoof, AWallSplitOnItsLineAtTwoSlopesGoesToTheGentlerPlane)
{
    // Eaves on one line at different slopes meet only along the eave: beyond it the gentler
    // plane lies lower and takes the whole wall, which leaves the hip roof at 30 degrees.
    Footprint f = Sloped({{{0, 0}, {0, 8000}, {10000, 8000}, {10000, 0}, {5000, 0}}}, 30);
    f.slopes[3] = Radians(45);
    const Roof roof = Generate(f);
    ASSERT_EQ(roof.faces.size(), 4u);
    double top = 0.0;
    for (const Ring& face : roof.faces)
        for (const P3& v : face)
            top = std::max(top, v.z);
    EXPECT_NEAR(top, 4000 * std::tan(Radians(30)), 0.05);
}

// An input the generator cannot roof leaves the outputs and the caller's outline (given
// counter-clockwise, so that a roofed call would turn it round) as they were.
TEST(ToolsPitchedRoof, RefusedInputsWriteNothing)
{
    struct Input {
        std::vector<int> counts{0, 4};
        std::vector<float> bases{0, 0}, x{0, 0, 10000, 10000, 0}, y{0, 0, 0, 8000, 8000}, slopes{0, .5f, .5f, .5f, .5f};
        int loops = 1;
        bool outputs = true;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<const char*, std::function<void(Input&)>> cases[] = {
        {"no loops", [](Input& in) { in.loops = 0; }},
        {"a loop of two vertices", [](Input& in) { in.counts[1] = 2; }},
        {"a level edge", [](Input& in) { in.slopes[2] = 0.0f; }},
        {"an upright edge", [](Input& in) { in.slopes[2] = 1.5707963f; }},
        {"a slope past upright", [](Input& in) { in.slopes[2] = 2.0f; }},
        {"a negative slope", [](Input& in) { in.slopes[2] = -0.5f; }},
        {"a slope that is no number", [nan](Input& in) { in.slopes[2] = nan; }},
        {"a coordinate that is no number", [nan](Input& in) { in.x[3] = nan; }},
        {"an infinite base", [](Input& in) { in.bases[1] = std::numeric_limits<float>::infinity(); }},
        {"an edge of no length",
         [](Input& in) {
             in.counts[1] = 5, in.x = {0, 0, 10000, 10000, 10000.5f, 0}, in.y = {0, 0, 0, 8000, 8000.5f, 8000};
             in.slopes.push_back(0.5f);
         }},
        {"1000 vertices",
         [](Input& in) {
             in.counts[1] = 1000, in.x = {0}, in.y = {0}, in.slopes = {0};
             for (int i = 0; i < 1000; ++i) {
                 in.x.push_back(static_cast<float>(50000 * std::cos(2 * M_PI * i / 1000)));
                 in.y.push_back(static_cast<float>(50000 * std::sin(2 * M_PI * i / 1000)));
                 in.slopes.push_back(0.5f);
             }
         }},
        {"no face count array", [](Input& in) { in.outputs = false; }},
    };
    const auto same = [](const std::vector<float>& a, const std::vector<float>& b) {
        return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
    };
    for (const auto& [name, change] : cases) {
        Input in;
        change(in);
        const Input given = in;
        std::vector<int> counts(1000, -7);
        std::vector<float> fx(100000, -7.0f), fy = fx, fz = fx;
        int faceCount = -7;
        CTools::powudingzcx_c(in.loops, in.counts.data(), in.bases.data(), in.x.data(), in.y.data(), in.slopes.data(),
                              &faceCount, in.outputs ? counts.data() : nullptr, fx.data(), fy.data(), fz.data());
        EXPECT_EQ(faceCount, 0) << name;
        EXPECT_EQ(std::count(counts.begin(), counts.end(), -7), 1000) << name;
        EXPECT_EQ(std::count(fx.begin(), fx.end(), -7.0f), 100000) << name;
        EXPECT_TRUE(same(in.x, given.x) && same(in.y, given.y) && same(in.slopes, given.slopes)) << name;
    }
}

}  // namespace
