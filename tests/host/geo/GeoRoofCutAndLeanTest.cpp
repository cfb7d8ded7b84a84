// The roof routine's cut-off and leaning roofs against Clipper's mitred offset of the same
// outlines: the flat top is the outline offset by h / tan of the slope, inward or outward, the
// sloped faces rise at the slope and, with the top, cover the outline's plan once.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
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
};

Result RunRoutine(const Ring& outline, double slope, double h, std::vector<double> slopes = {})
{
    std::vector<double> x{0}, y{0};
    for (const P& p : outline) {
        x.push_back(p.x);
        y.push_back(p.y);
    }
    if (slopes.empty())
        slopes.assign(outline.size(), slope);
    slopes.insert(slopes.begin(), 0.0);
    int count = -1, spare = -1;
    std::vector<int> counts(1000);
    std::vector<double> fx(10000), fy(10000), fz(10000);
    Result r;
    r.code = geofeidengpowumianzcx(h, x.data(), y.data(), slopes.data(), static_cast<int>(outline.size()), &count,
                                   counts.data(), &spare, fx.data(), fy.data(), fz.data());
    for (int f = 1, v = 1; f <= count; ++f) {
        Ring face;
        for (int k = 0; k < counts[f]; ++k, ++v)
            face.push_back({fx[v], fy[v], fz[v]});
        r.faces.push_back(face);
    }
    return r;
}

double PlanArea(const Ring& r)
{
    double a = 0;
    for (std::size_t i = 0; i < r.size(); ++i)
        a += r[i].x * r[(i + 1) % r.size()].y - r[(i + 1) % r.size()].x * r[i].y;
    return a / 2;
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

bool IsLevelAt(const Ring& f, double h)
{
    return std::all_of(f.begin(), f.end(), [h](const P& p) { return std::fabs(p.z - h) < 1e-6; });
}

// Clipper's mitred offset of the outline by g (positive grows), with no practical mitre limit:
// the total area of what it gives (holes subtracted).
double ClipperOffsetArea(const Ring& outline, double g)
{
    constexpr double kScale = 1000.0;  // micrometres
    ClipperLib::Path path;
    for (const P& p : outline)
        path.push_back({std::llround(p.x * kScale), std::llround(p.y * kScale)});
    ClipperLib::ClipperOffset offset(1000.0);
    offset.AddPath(path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths out;
    offset.Execute(out, g * kScale);
    double area = 0;
    for (const auto& p : out)
        area += ClipperLib::Area(p);
    return area / (kScale * kScale);
}

Ring Reversed(Ring r)
{
    std::reverse(r.begin(), r.end());
    return r;
}

// Counter-clockwise outlines, millimetres.
const Ring kRectangle{{0, 0, 0}, {24000, 0, 0}, {24000, 12000, 0}, {0, 12000, 0}};
const Ring kL{{0, 0, 0}, {20000, 0, 0}, {20000, 8000, 0}, {8000, 8000, 0}, {8000, 16000, 0}, {0, 16000, 0}};
const Ring kNotched{{0, 0, 0},       {18000, 0, 0},    {22000, 7000, 0}, {18000, 14000, 0},
                    {11000, 14000, 0}, {9000, 9000, 0}, {7000, 14000, 0}, {0, 14000, 0}};
// Two wings joined by a 3000 corridor: a cut above 1500 / tan s splits the top in two.
const Ring kDumbbell{{0, 0, 0},         {12000, 0, 0},     {12000, 4500, 0}, {20000, 4500, 0},
                     {20000, 0, 0},     {32000, 0, 0},     {32000, 12000, 0}, {20000, 12000, 0},
                     {20000, 7500, 0},  {12000, 7500, 0},  {12000, 12000, 0}, {0, 12000, 0}};
// A courtyard open to the street by a 2000 gap: growing by 1000 or more closes it.
const Ring kCourtyard{{0, 0, 0},         {30000, 0, 0},     {30000, 24000, 0}, {16000, 24000, 0},
                      {16000, 18000, 0}, {24000, 18000, 0}, {24000, 6000, 0},  {6000, 6000, 0},
                      {6000, 18000, 0},  {14000, 18000, 0}, {14000, 24000, 0}, {0, 24000, 0}};

// Every face and vertex checked against the closed forms; run grows (outward) or shrinks.
void ExpectPrismoid(const Ring& outline, double slope, double h, double lean, double run, double tol)
{
    for (const bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "counter-clockwise");
        const Result r = RunRoutine(clockwise ? Reversed(outline) : outline, slope, h);
        ASSERT_EQ(r.code, 1);
        double topArea = 0, slopedArea = 0;
        for (const Ring& f : r.faces) {
            EXPECT_LE(PlanArea(f), 1e-6) << "every face runs clockwise in plan";
            for (const P& p : f) {
                EXPECT_GE(p.z, -tol * h);
                EXPECT_LE(p.z, h + 1e-6);
            }
            if (IsLevelAt(f, h)) {
                topArea += -PlanArea(f);
                continue;
            }
            EXPECT_NEAR(TiltDegrees(f), lean, 1e-3);
            slopedArea += -PlanArea(f);
        }
        const double outlineArea = std::fabs(PlanArea(outline));
        EXPECT_NEAR(topArea, ClipperOffsetArea(outline, run), tol * outlineArea);
        // Inward the slopes and the top tile the outline; outward the slopes fill the ring
        // between the outline and the top.
        EXPECT_NEAR(run < 0 ? slopedArea + topArea : topArea - slopedArea, outlineArea, tol * outlineArea);
    }
}

TEST(GeoRoofCutAndLean, TheTopIsTheMitredOffsetAndTheFacesRiseAtTheSlope)
{
    const struct {
        const char* name;
        const Ring& outline;
        double slope, lean, run;  // run: h / tan(lean), negative inward
    } cases[] = {
        {"rectangle 30°", kRectangle, 30, 30, -3000},
        {"rectangle 60° (top a line's width)", kRectangle, 60, 60, -5900},
        {"L 45°", kL, 45, 45, -2500},
        {"notched 40°", kNotched, 40, 40, -1800},
        {"dumbbell split", kDumbbell, 35, 35, -2000},
        {"rectangle leaning out at 60°", kRectangle, 120, 60, 1500},
        {"L leaning out by a negative slope", kL, -45, 45, 2000},
        {"notched leaning out", kNotched, -70, 70, 600},
        {"courtyard leaning out short of closing", kCourtyard, 135, 45, 900},
        {"upright walls", kL, 90, 90, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double h = c.run == 0 ? 3000 : std::fabs(c.run) * std::tan(c.lean * std::numbers::pi / 180);
        // Inward roofs come from the solver's single precision; Clipper rounds to micrometres.
        ExpectPrismoid(c.outline, c.slope, h, c.lean, c.run, c.run < 0 ? 2e-5 : 1e-7);
    }
}

// Cut above its peak, a roof keeps every face whole and gets no top.
TEST(GeoRoofCutAndLean, ARoofThatPeaksBelowTheCutIsTheWholeRoof)
{
    const Result whole = RunRoutine(kRectangle, 30, 0);
    const Result cut = RunRoutine(kRectangle, 30, 6000 * std::tan(std::numbers::pi / 6) + 1);
    ASSERT_EQ(cut.code, 1);
    ASSERT_EQ(cut.faces.size(), whole.faces.size());
    for (std::size_t i = 0; i < cut.faces.size(); ++i)
        ASSERT_EQ(cut.faces[i].size(), whole.faces[i].size());
}

// Far from the origin the faces are those near it, moved.
TEST(GeoRoofCutAndLean, SiteCoordinatesGiveTheSameFacesMoved)
{
    Ring far = kNotched;
    for (P& p : far) {
        p.x += 500000;
        p.y += 3000000;
    }
    for (const double slope : {40.0, -60.0}) {
        const Result near = RunRoutine(kNotched, slope, 2000), moved = RunRoutine(far, slope, 2000);
        ASSERT_EQ(near.code, 1);
        ASSERT_EQ(moved.faces.size(), near.faces.size());
        for (std::size_t f = 0; f < near.faces.size(); ++f)
            for (std::size_t v = 0; v < near.faces[f].size(); ++v) {
                EXPECT_NEAR(moved.faces[f][v].x - 500000, near.faces[f][v].x, 0.01);
                EXPECT_NEAR(moved.faces[f][v].y - 3000000, near.faces[f][v].y, 0.01);
                EXPECT_NEAR(moved.faces[f][v].z, near.faces[f][v].z, 0.01);
            }
    }
}

TEST(GeoRoofCutAndLean, WhatCannotStandSoundlyIsRefusedWithNoFaces)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        const Ring& outline;
        double slope, h;
        std::vector<double> slopes;
    } cases[] = {
        {"level slope", kRectangle, 0, 1000, {}},
        {"slope 180", kRectangle, 180, 1000, {}},
        {"slope beyond 180", kRectangle, 200, 1000, {}},
        {"negative beyond a quarter turn", kRectangle, -100, 1000, {}},
        {"inward and outward mixed", kRectangle, 0, 1000, {30, 120, 30, 30}},
        {"upright and inward mixed", kRectangle, 0, 1000, {30, 90, 30, 30}},
        {"outward with no height", kRectangle, 120, 0, {}},
        {"upright with no height", kRectangle, 90, 0, {}},
        {"a negative height", kRectangle, 30, -100, {}},
        {"a height that is no number", kRectangle, 30, nan, {}},
        {"outward closing the courtyard", kCourtyard, 135, 1200, {}},
        {"outward past a short reflex edge", kNotched, -10, 2000, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result r = RunRoutine(c.outline, c.slope, c.h, c.slopes);
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(r.faces.empty());
    }
}

}  // namespace
