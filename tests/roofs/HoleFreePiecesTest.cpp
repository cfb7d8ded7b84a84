// Faces with holes cut into hole-free pieces, against Clipper: random stars with square and
// triangular holes laid into level, tilted and upright planes, near the origin and at site
// coordinates, drawn either way round. The pieces must cover the face less its holes and
// nothing else (their union's difference from it is empty both ways, and they do not overlap),
// stay in the face's plane and run the way the face runs.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "HoleFreePieces.h"
#include "RoofTestSupport.h"
#include "clipper.hpp"

namespace {

using roof_test::NewellNormal;
using roof_test::Ring;
using roof_test::SpaceArea;

// A plane of the scene: the face's plan coordinates (u, v) go to origin + u·e1 + v·e2.
struct Plane {
    GePoint3d origin;
    GeVector3d e1, e2;
    GePoint3d Place(double u, double v) const { return origin + e1 * u + e2 * v; }
    ClipperLib::IntPoint Back(const GePoint3d& p) const
    {
        const GeVector3d d = p - origin;
        return {std::llround(d.DotProduct(e1) * kScale), std::llround(d.DotProduct(e2) * kScale)};
    }
    static constexpr double kScale = 100.0;  // Clipper's integers hold hundredths of a millimetre
};

Ring Placed(const Plane& plane, const std::vector<std::pair<double, double>>& uv)
{
    Ring ring;
    for (const auto& [u, v] : uv)
        ring.push_back(plane.Place(u, v));
    return ring;
}

ClipperLib::Paths Back(const Plane& plane, const std::vector<Ring>& rings)
{
    ClipperLib::Paths paths;
    for (const Ring& r : rings) {
        paths.emplace_back();
        for (const GePoint3d& p : r)
            paths.back().push_back(plane.Back(p));
    }
    return paths;
}

double Area(const ClipperLib::Paths& paths)
{
    double a = 0;
    for (const auto& p : paths)
        a += ClipperLib::Area(p);
    return std::fabs(a) / (Plane::kScale * Plane::kScale);
}

ClipperLib::Paths Clip(ClipperLib::ClipType type, const ClipperLib::Paths& subject, const ClipperLib::Paths& clip,
                      ClipperLib::PolyFillType fill)
{
    ClipperLib::Clipper c;
    c.AddPaths(subject, ClipperLib::ptSubject, true);
    c.AddPaths(clip, ClipperLib::ptClip, true);
    ClipperLib::Paths out;
    c.Execute(type, out, fill, fill);
    return out;
}

struct Scene {
    Ring outer;
    std::vector<Ring> holes;
    Plane plane;
};

// A star of 6 to 17 corners at radius 8000 to 10000 round (u, v) = 0 (its edges stay beyond
// 6900) with holes in cells of a 2000 grid within 4000 of it each way: squares or triangles, some touching their cell's edge so that neighbouring
// holes share cut lines.
Scene RandomScene(std::mt19937& rng, const Plane& plane)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Scene s;
    s.plane = plane;
    const int corners = 6 + static_cast<int>(unit(rng) * 12);
    std::vector<std::pair<double, double>> star;
    for (int i = 0; i < corners; ++i) {
        const double a = 2 * std::numbers::pi * i / corners;
        const double r = 8000 + 2000 * unit(rng);
        star.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    s.outer = Placed(plane, star);
    for (int cx = -2; cx < 2; ++cx)
        for (int cy = -2; cy < 2; ++cy) {
            if (unit(rng) < 0.5)
                continue;
            const double x0 = cx * 2000.0 + (unit(rng) < 0.3 ? 0.0 : 200 * unit(rng));
            const double y0 = cy * 2000.0 + 200 * unit(rng);
            const double side = 500 + 1300 * unit(rng);
            if (unit(rng) < 0.5)
                s.holes.push_back(Placed(plane, {{x0, y0}, {x0, y0 + side}, {x0 + side, y0 + side}, {x0 + side, y0}}));
            else
                s.holes.push_back(Placed(plane, {{x0, y0}, {x0 + side / 2, y0 + side}, {x0 + side, y0}}));
        }
    return s;
}

TEST(HoleFreePiecesTest, PiecesCoverTheFaceLessItsHolesInItsPlaneAndItsTurning)
{
    const double c = std::cos(0.6), s = std::sin(0.6);
    const struct {
        const char* name;
        Plane plane;
    } planes[] = {
        {"level", {{0, 0, 3000}, {1, 0, 0}, {0, 1, 0}}},
        {"level at site coordinates", {{4.5e6, 3.2e6, 60000}, {1, 0, 0}, {0, 1, 0}}},
        {"sloped 31 degrees", {{100, 200, 6000}, {1, 0, 0}, {0, c, s}}},
        {"steep, turned in plan", {{-5e5, 7e5, 9000}, {s, c, 0}, {-c * 0.2, s * 0.2, std::sqrt(1 - 0.04)}}},
        {"upright", {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
    };
    std::mt19937 rng(50);
    for (const auto& p : planes)
        for (int trial = 0; trial < 40; ++trial)
            for (bool reversed : {false, true}) {
                Scene scene = RandomScene(rng, p.plane);
                if (reversed) {
                    scene.outer = tools_test::Reversed(scene.outer);
                    for (Ring& h : scene.holes)
                        h = tools_test::Reversed(h);
                }
                SCOPED_TRACE(std::string(p.name) + " trial " + std::to_string(trial) + (reversed ? " reversed" : ""));
                const std::vector<Ring> pieces = HoleFreePieces(scene.outer, scene.holes);
                if (scene.holes.empty()) {
                    ASSERT_EQ(pieces.size(), 1u);
                    EXPECT_EQ(pieces[0].size(), scene.outer.size());
                    continue;
                }
                const GeVector3d normal = NewellNormal(scene.outer);
                const GeVector3d unit = normal / normal.Length();
                double pieceArea = 0;
                for (const Ring& piece : pieces) {
                    ASSERT_GE(piece.size(), 3u);
                    EXPECT_GT(NewellNormal(piece).DotProduct(normal), 0.0);
                    for (const GePoint3d& q : piece)
                        EXPECT_NEAR((q - scene.outer[0]).DotProduct(unit), 0.0, 1e-6);
                    pieceArea += SpaceArea(piece);
                }
                double expected = SpaceArea(scene.outer);
                for (const Ring& h : scene.holes)
                    expected -= SpaceArea(h);
                EXPECT_NEAR(pieceArea, expected, 1e-9 * expected);
                // Coverage: the pieces' union against the face less its holes, both ways.
                const ClipperLib::Paths face = Clip(ClipperLib::ctDifference, Back(p.plane, {scene.outer}),
                                                   Back(p.plane, scene.holes), ClipperLib::pftNonZero);
                const ClipperLib::Paths united =
                    Clip(ClipperLib::ctUnion, Back(p.plane, pieces), {}, ClipperLib::pftNonZero);
                EXPECT_NEAR(Area(united), pieceArea, 1e-6 * expected) << "pieces overlap";
                EXPECT_LT(Area(Clip(ClipperLib::ctXor, united, face, ClipperLib::pftNonZero)), 1e-6 * expected);
            }
}

}  // namespace
