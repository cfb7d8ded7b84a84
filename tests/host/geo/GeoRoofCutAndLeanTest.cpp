// The roof routine's cut-off and leaning roofs against independent offsets of the same
// outlines: the flat top is Clipper's mitred offset by h / tan of the lean on fixed shapes,
// inward or outward, and CGAL's straight-skeleton offset on generated stars (where the top
// splits, a mitred offset, which unites what crosses itself, parts from it); every sloped face
// rises at its lean, and with the top the faces cover the outline's plan once. Then what the
// routine refuses, with a height or without one.
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_offset_polygons_2.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "GeoRoofFaces.h"
#include "clipper.hpp"

namespace {

struct P {
    double x, y, z;
};
using Ring = std::vector<P>;

struct Result {
    int code = 0;
    std::vector<Ring> faces;
    double top = 0;  // plan area of the faces level at h
    int topLoops = 0;
};

double PlanArea(const Ring& r)
{
    double a = 0;
    for (std::size_t i = 0; i < r.size(); ++i)
        a += r[i].x * r[(i + 1) % r.size()].y - r[(i + 1) % r.size()].x * r[i].y;
    return a / 2;
}

bool IsLevelAt(const Ring& f, double h)
{
    return std::all_of(f.begin(), f.end(), [h](const P& p) { return std::fabs(p.z - h) < 1e-6; });
}

Result Routine(const Ring& outline, double slope, double h, std::vector<double> slopes = {})
{
    std::vector<double> x{0}, y{0}, fx(10000), fy(10000), fz(10000);
    for (const P& p : outline) {
        x.push_back(p.x);
        y.push_back(p.y);
    }
    slopes.insert(slopes.begin(), slopes.empty() ? outline.size() + 1 : 1, slope);
    int count = -1, spare = -1;
    std::vector<int> counts(1000);
    Result r;
    r.code = geofeidengpowumianzcx(h, x.data(), y.data(), slopes.data(), static_cast<int>(outline.size()), &count,
                                   counts.data(), &spare, fx.data(), fy.data(), fz.data());
    for (int f = 1, v = 1; f <= count; ++f) {
        Ring face;
        for (int k = 0; k < counts[f]; ++k, ++v)
            face.push_back({fx[v], fy[v], fz[v]});
        if (h > 0 && IsLevelAt(face, h)) {
            r.top -= PlanArea(face);  // clockwise like every face
            ++r.topLoops;
        }
        r.faces.push_back(face);
    }
    return r;
}

// The angle of the face's plane with the horizontal, in degrees, from Newell's normal.
double TiltDegrees(const Ring& f)
{
    double nx = 0, ny = 0, nz = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const P& a = f[i];
        const P& b = f[(i + 1) % f.size()];
        nx += (a.y - b.y) * (a.z + b.z);
        ny += (a.z - b.z) * (a.x + b.x);
        nz += (a.x - b.x) * (a.y + b.y);
    }
    return std::acos(std::fabs(nz) / std::sqrt(nx * nx + ny * ny + nz * nz)) * 180 / std::numbers::pi;
}

// Clipper's mitred offset by g (positive grows), no practical mitre limit, in micrometres.
double ClipperOffsetArea(const Ring& outline, double g)
{
    ClipperLib::Path path;
    for (const P& p : outline)
        path.push_back({std::llround(p.x * 1000), std::llround(p.y * 1000)});
    ClipperLib::ClipperOffset offset(1000.0);
    offset.AddPath(path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths out;
    offset.Execute(out, g * 1000);
    double area = 0;
    for (const auto& p : out)
        area += ClipperLib::Area(p);
    return area / 1e6;
}

// Counter-clockwise outlines, millimetres.
const Ring kRectangle{{0, 0, 0}, {24000, 0, 0}, {24000, 12000, 0}, {0, 12000, 0}};
const Ring kL{{0, 0, 0}, {20000, 0, 0}, {20000, 8000, 0}, {8000, 8000, 0}, {8000, 16000, 0}, {0, 16000, 0}};
const Ring kNotched{{0, 0, 0},         {18000, 0, 0},   {22000, 7000, 0}, {18000, 14000, 0},
                    {11000, 14000, 0}, {9000, 9000, 0}, {7000, 14000, 0}, {0, 14000, 0}};
// A courtyard open to the street by a 2000 gap: growing by 1000 or more closes it.
const Ring kCourtyard{{0, 0, 0},         {30000, 0, 0},     {30000, 24000, 0}, {16000, 24000, 0},
                      {16000, 18000, 0}, {24000, 18000, 0}, {24000, 6000, 0},  {6000, 6000, 0},
                      {6000, 18000, 0},  {14000, 18000, 0}, {14000, 24000, 0}, {0, 24000, 0}};

TEST(GeoRoofCutAndLean, TheTopIsTheMitredOffsetAndTheFacesRiseAtTheSlope)
{
    const struct {
        const char* name;
        const Ring& outline;
        double slope, lean, run;  // run: h / tan(lean), negative inward
    } cases[] = {
        {"rectangle 30°", kRectangle, 30, 30, -3000},
        {"rectangle 60°, a top a line's width", kRectangle, 60, 60, -5900},
        {"rectangle 45°, cut a millimetre below its ridge", kRectangle, 45, 45, -5999},
        {"rectangle 30°, cut half a millimetre below its ridge", kRectangle, 30, 30, -6000 + 0.5 / std::tan(std::numbers::pi / 6)},
        {"rectangle 45°, its top narrower than the join's reach", kRectangle, 45, 45, -5999.7},
        {"L 45°", kL, 45, 45, -2500},
        {"notched 40°", kNotched, 40, 40, -1800},
        {"rectangle leaning out at 60°", kRectangle, 120, 60, 1500},
        {"L leaning out by a negative slope", kL, -45, 45, 2000},
        {"notched leaning out", kNotched, -70, 70, 600},
        {"courtyard leaning out short of closing", kCourtyard, 135, 45, 900},
        {"upright walls", kL, 90, 90, 0},
    };
    for (const auto& c : cases)
        for (const bool clockwise : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (clockwise ? ", clockwise" : ""));
            const double h = c.run == 0 ? 3000 : std::fabs(c.run) * std::tan(c.lean * std::numbers::pi / 180);
            // Inward roofs come from the solver's single precision; Clipper rounds to micrometres.
            const double rel = c.run < 0 ? 2e-5 : 1e-7, tol = rel * PlanArea(c.outline);
            const Result r = Routine(clockwise ? Ring(c.outline.rbegin(), c.outline.rend()) : c.outline, c.slope, h);
            ASSERT_EQ(r.code, 1);
            double sloped = 0;
            for (const Ring& f : r.faces) {
                EXPECT_LE(PlanArea(f), 1e-6) << "every face runs clockwise in plan";
                for (const P& p : f)
                    EXPECT_TRUE(p.z >= -rel * h && p.z <= h + 1e-6);
                if (!IsLevelAt(f, h)) {
                    EXPECT_NEAR(TiltDegrees(f), c.lean, 1e-3);
                    sloped -= PlanArea(f);
                }
            }
            EXPECT_NEAR(r.top, ClipperOffsetArea(c.outline, c.run), tol);
            EXPECT_NEAR(c.run < 0 ? sloped + r.top : r.top - sloped, PlanArea(c.outline), tol);
        }
}

// Cut above its peak a roof is the whole roof; far from the origin the faces are those near it.
TEST(GeoRoofCutAndLean, APeakBelowTheCutAndSiteCoordinatesChangeNothing)
{
    const Result whole = Routine(kRectangle, 30, 0), high = Routine(kRectangle, 30, 3500);
    ASSERT_EQ(high.faces.size(), whole.faces.size());
    EXPECT_EQ(high.topLoops, 0);
    Ring far = kNotched;
    for (P& p : far)
        p = {p.x + 500000, p.y + 3000000, 0};
    for (const double slope : {40.0, -60.0}) {
        const Result near = Routine(kNotched, slope, 2000), moved = Routine(far, slope, 2000);
        ASSERT_EQ(moved.faces.size(), near.faces.size());
        for (std::size_t f = 0; f < near.faces.size(); ++f)
            for (std::size_t v = 0; v < near.faces[f].size(); ++v)
                EXPECT_NEAR(std::hypot(moved.faces[f][v].x - 500000 - near.faces[f][v].x,
                                       moved.faces[f][v].y - 3000000 - near.faces[f][v].y), 0, 0.01);
    }
}

TEST(GeoRoofCutAndLean, RandomStarsCutOffHaveTheSkeletonOffsetAsTheirTop)
{
    using K = CGAL::Exact_predicates_inexact_constructions_kernel;
    std::mt19937 rng(35);
    std::uniform_real_distribution<double> radius(6000.0, 12000.0), jitter(-0.3, 0.3), run(300.0, 3000.0);
    for (int k = 0; k < 30; ++k) {
        Ring star;
        CGAL::Polygon_2<K> polygon;
        for (int i = 0, n = 8 + 2 * k; i < n; ++i) {
            const double a = 2 * std::numbers::pi * (i + 0.5 + jitter(rng)) / n, r = radius(rng);
            star.push_back({std::round(r * std::cos(a)), std::round(r * std::sin(a)), 0});
            polygon.push_back(K::Point_2(star.back().x, star.back().y));
        }
        const double d = run(rng);
        SCOPED_TRACE("star " + std::to_string(k) + ", offset " + std::to_string(d));
        const auto offsets = CGAL::create_interior_skeleton_and_offset_polygons_2(d, polygon);
        double expected = 0;
        for (const auto& p : offsets)
            expected += CGAL::to_double(p->area());
        const Result r = Routine(star, 35, d * std::tan(35 * std::numbers::pi / 180));
        ASSERT_EQ(r.code, 1);
        // The solver's single precision, and its join of nearly collinear edges.
        EXPECT_NEAR(r.top, expected, 2e-5 * expected);
        EXPECT_EQ(r.topLoops, static_cast<int>(offsets.size()));
    }
}

// Rings that are not simple: edges crossing, and a U (30 x 20 m, its courtyard 10 m wide)
// whose corners were moved out by 6 m, the courtyard's sides passing each other so that its
// top edges run over each other.
const Ring kBowTie = {{0, 0, 0}, {10000, 10000, 0}, {10000, 0, 0}, {0, 10000, 0}};
const Ring kFoldedU = {{-6000, -6000, 0}, {36000, -6000, 0}, {36000, 26000, 0}, {14000, 26000, 0},
                       {14000, 16000, 0}, {16000, 16000, 0}, {16000, 26000, 0}, {-6000, 26000, 0}};

// Refused, without a height or with one: what the solver cannot take, what cannot stand.
TEST(GeoRoofCutAndLean, WhatCannotStandSoundlyIsRefusedWithNoFaces)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Ring many;
    for (int i = 0; i < 500; ++i)
        many.push_back({10000 * std::cos(i * std::numbers::pi / 250), 10000 * std::sin(i * std::numbers::pi / 250), 0});
    const struct {
        const char* name;
        Ring outline;
        double slope, h;
        std::vector<double> slopes;
    } cases[] = {
        {"two points", {{0, 0, 0}, {1000, 0, 0}}, 30, 0, {}},
        {"500 points", many, 30, 0, {}},
        {"a level edge", kRectangle, 0, 0, {30, 0, 30, 30}},
        {"an upright edge without a height", kRectangle, 0, 0, {30, 90, 30, 30}},
        {"a slope that is no number", kRectangle, 0, 0, {30, nan, 30, 30}},
        {"a spike", {{0, 0, 0}, {1000, 0, 0}, {500, 0, 0}, {500, 800, 0}}, 30, 0, {}},
        {"level slope", kRectangle, 0, 1000, {}},
        {"slope 180", kRectangle, 180, 1000, {}},
        {"negative beyond a quarter turn", kRectangle, -100, 1000, {}},
        {"inward and outward mixed", kRectangle, 0, 1000, {30, 120, 30, 30}},
        {"upright and inward mixed", kRectangle, 0, 1000, {30, 90, 30, 30}},
        {"outward with no height", kRectangle, 120, 0, {}},
        {"a negative height", kRectangle, 30, -100, {}},
        {"a height that is no number", kRectangle, 30, nan, {}},
        {"outward closing the courtyard", kCourtyard, 135, 1200, {}},
        {"outward past a short reflex edge", kNotched, -10, 2000, {}},
        {"a bow tie", kBowTie, 30, 0, {}},
        {"a bow tie cut off", kBowTie, 30, 500, {}},
        {"a bow tie leaning out", kBowTie, 120, 500, {}},
        {"a U folded by its overhang", kFoldedU, 30, 0, {}},
        {"a U folded by its overhang, cut off", kFoldedU, 30, 1000, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result r = Routine(c.outline, c.slope, c.h, c.slopes);
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(r.faces.empty());
    }
    int count = 7;
    EXPECT_EQ(geofeidengpowumianzcx(0, nullptr, nullptr, nullptr, 4, &count, nullptr, nullptr, nullptr, nullptr,
                                    nullptr),
              0);
    EXPECT_EQ(count, 0);
}

}  // namespace
