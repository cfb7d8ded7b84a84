// Faces with holes cut into hole-free pieces, against Clipper: random stars with square and
// triangular holes laid into level, tilted and upright planes, near the origin and at site
// coordinates out to a national grid's, drawn either way round. The pieces must cover the
// face less its holes and nothing else, stay in the face's plane and run the way the face runs.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "HoleFreePieces.h"
#include "RoofTestSupport.h"

namespace {

using namespace roof_test;
using namespace ClipperLib;

// A plane of the scene: plan coordinates (u, v) go to origin + u·e1 + v·e2; Clipper takes
// them back in hundredths of a millimetre (its areas in units of 1e-4 mm²).
struct Plane {
    GePoint3d origin;
    GeVector3d e1, e2;
    GePoint3d Place(double u, double v) const { return origin + e1 * u + e2 * v; }
    Paths Back(const std::vector<Ring>& rings) const
    {
        Paths paths;
        for (const Ring& r : rings) {
            paths.emplace_back();
            for (const GePoint3d& p : r)
                paths.back().push_back({std::llround((p - origin).DotProduct(e1) * 100),
                                        std::llround((p - origin).DotProduct(e2) * 100)});
        }
        return paths;
    }
};

TEST(HoleFreePiecesTest, PiecesCoverTheFaceLessItsHolesInItsPlaneAndItsTurning)
{
    const double c = std::cos(0.6), s = std::sin(0.6);
    const Plane planes[] = {
        {{0, 0, 3000}, {1, 0, 0}, {0, 1, 0}},                                      // level
        {{4.5e6, 3.2e6, 60000}, {1, 0, 0}, {0, 1, 0}},                             // at site coordinates
        {{100, 200, 6000}, {1, 0, 0}, {0, c, s}},                                  // sloped
        {{-5e5, 7e5, 9000}, {s, c, 0}, {-c * 0.2, s * 0.2, std::sqrt(1 - 0.04)}},  // steep, turned
        {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}},                                         // upright
        {{4e11, -3e11, 60000}, {1, 0, 0}, {0, 1, 0}},                              // on a national grid
        {{-1e12, 1e12, 0}, {1, 0, 0}, {0, 1, 0}},                                  // and farther out
    };
    std::mt19937 rng(50);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const Plane& plane : planes)
        for (int trial = 0; trial < 80; ++trial) {
            SCOPED_TRACE(testing::Message() << "plane " << (&plane - planes) << " trial " << trial);
            // A star of 6 to 17 corners at radius 8000 to 10000 (its edges stay beyond 6900),
            // holes in cells of a 2000 grid within 4000 of its centre, some on a cell's edge so
            // that neighbouring holes share cut lines; odd trials run the other way round.
            const bool reversed = trial % 2 == 1;
            Ring outer;
            const int corners = 6 + static_cast<int>(unit(rng) * 12);
            for (int i = 0; i < corners; ++i) {
                const double a = 2 * std::numbers::pi * i / corners * (reversed ? -1 : 1), r = 8000 + 2000 * unit(rng);
                outer.push_back(plane.Place(r * std::cos(a), r * std::sin(a)));
            }
            std::vector<Ring> holes;
            for (int cx = -2; cx < 2; ++cx)
                for (int cy = -2; cy < 2; ++cy) {
                    if (unit(rng) < 0.5)
                        continue;
                    const double x = cx * 2000.0 + (unit(rng) < 0.3 ? 0.0 : 200 * unit(rng));
                    const double y = cy * 2000.0 + 200 * unit(rng), d = 500 + 1300 * unit(rng);
                    holes.push_back(unit(rng) < 0.5 ? Ring{plane.Place(x, y), plane.Place(x, y + d),
                                                           plane.Place(x + d, y + d), plane.Place(x + d, y)}
                                                    : Ring{plane.Place(x, y), plane.Place(x + d / 2, y + d),
                                                           plane.Place(x + d, y)});
                    if (reversed)
                        holes.back() = tools_test::Reversed(holes.back());
                }
            const std::vector<Ring> pieces = HoleFreePieces(outer, holes);
            if (holes.empty()) {
                EXPECT_EQ(pieces, std::vector<Ring>{outer});
                continue;
            }
            const GeVector3d normal = NewellNormal(outer);
            double area = 0, expected = SpaceArea(outer);
            for (const Ring& h : holes)
                expected -= SpaceArea(h);
            for (const Ring& piece : pieces) {
                ASSERT_GE(piece.size(), 3u);
                EXPECT_GT(NewellNormal(piece).DotProduct(normal), 0.0);
                for (const GePoint3d& q : piece)
                    EXPECT_NEAR((q - outer[0]).DotProduct(normal) / normal.Length(), 0.0, 1e-6);
                area += SpaceArea(piece);
            }
            // A national grid's coordinates leave the areas in space only a few ulps to spare.
            EXPECT_NEAR(area, expected, (std::fabs(plane.origin.x) > 1e9 ? 1e-7 : 1e-9) * expected);
            const Paths united = Clipped(ctUnion, plane.Back(pieces));
            EXPECT_NEAR(std::fabs(PathsArea(united)) / 1e4, area, 1e-6 * expected) << "pieces overlap";
            const Paths face = Clipped(ctDifference, plane.Back({outer}), plane.Back(holes));
            EXPECT_LT(std::fabs(PathsArea(Clipped(ctXor, united, face))) / 1e4, 1e-6 * expected)
                << "pieces miss the face or leave it";
        }
}

}  // namespace
