// The roof's geometry: what SetData stores and builds for each kind of roof, refusals, the
// frame, and the faces measured against independent formulas.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "RoofTestSupport.h"

namespace {

using namespace roof_test;

class OrvRoofGeometryTest : public ModuleTest {};

const Ring kSquare = Rectangle(10000, 10000);
const std::vector<float> kFour30 = {30, 30, 30, 30};

struct SetDataCase {
    const char* name;
    RoofInput in;
    int result;
    int loops;
    // The stored ha, wb and overhang.
    float ha, wb, overhang;
};

const SetDataCase kSetDataCases[] = {
    {"flat without slab or parapet", {kSquare}, -1, 0, 0, 0, 0},
    {"unknown kind", {kSquare, 2, 0, {}, 100}, -1, 0, 0, 0, 0},
    {"flat slab: underside, four sides, top", {kSquare, 0, 0, {}, 100}, 1, 6, 0, 0, 0},
    {"slab with lower parapet: 4 inner, 4 outer, 4 top", {kSquare, 0, 0, {}, 100, 600, 0, 240}, 1, 18, 600, 0, 0},
    {"wa 0 drops ha and builds no parapet", {kSquare, 0, 0, {}, 100, 600, 0, 0}, 1, 6, 0, 0, 0},
    {"hb 0 drops wb", {kSquare, 0, 0, {}, 100, 600, 0, 240, 200}, 1, 18, 600, 0, 0},
    {"negative overhang stored as its size", {kSquare, 0, -500, {}, 100}, 1, 6, 0, 0, 500},
    {"two-part parapet without slab", {kSquare, 0, 300, {}, 0, 600, 400, 240, 100}, 1, 21, 600, 100, 300},
    {"wa 0 with hb: upper part and top only", {kSquare, 0, 0, {}, 0, 600, 400, 0, 100}, 1, 13, 0, 100, 0},
    {"sloped, one slope short", {kSquare, 1, 0, {30, 30, 30}}, -1, 0, 0, 0, 0},
    {"sloped square: underside and four faces", {kSquare, 1, 0, kFour30}, 1, 5, 0, 0, 0},
    {"sloped on a slab", {kSquare, 1, 0, kFour30, 200}, 1, 9, 0, 0, 0},
    {"sloped, failed solve, no slab", {kSquare, 1, 0, {30, 30, 0, 30}}, 0, 2, 0, 0, 0},
    {"sloped, failed solve, on a slab", {kSquare, 1, 0, {30, 30, 0, 30}, 100}, 0, 6, 0, 0, 0},
};

TEST_F(OrvRoofGeometryTest, SetDataCases)
{
    for (const SetDataCase& c : kSetDataCases) {
        SCOPED_TRACE(c.name);
        COrvRoof roof;
        EXPECT_EQ(Set(roof, c.in), c.result);
        EXPECT_EQ(roof.FaceLoops().GetSize(), c.loops);
        const RoofValues v = Values(roof);
        EXPECT_EQ(v.ha, c.ha);
        EXPECT_EQ(v.wb, c.wb);
        EXPECT_EQ(v.overhang, c.overhang);
        EXPECT_TRUE(roof.ExtraPoints().empty());
        if (c.result >= 0) {
            EXPECT_EQ(v.slopes.size(), roof.FaceLoops()[0].size()) << "one slope per point of the edge ring";
            if (c.result == 0 || c.in.kind == 0) {
                EXPECT_THAT(v.slopes, ::testing::Each(0.0f));
            }
        }
        decMesh3* mesh = nullptr;
        EXPECT_EQ(roof.MakeMesh(&mesh), c.loops >= 3 ? 1 : 0);
        delete mesh;
    }
}

TEST_F(OrvRoofGeometryTest, AnOutlineOfTwoPointsChangesNothing)
{
    COrvRoof roof;
    ASSERT_EQ(Set(roof, {kSquare, 0, 100, {}, 100, 600, 300, 240, 50}), 1);
    const RoofValues before = Values(roof);
    const auto loops = roof.FaceLoops();
    EXPECT_EQ(Set(roof, {{{0, 0, 0}, {10, 0, 0}}, 1, 7, {5, 5}, 9, 9, 9, 9, 9}), -1);
    EXPECT_EQ(Values(roof), before);
    EXPECT_EQ(roof.FaceLoops(), loops);
}

// The first point goes to the origin and the first edge onto +x; a refusal after that keeps
// the moved outline and the parameters but not new faces.
TEST_F(OrvRoofGeometryTest, TheOutlineIsStoredInTheRoofsOwnFrame)
{
    COrvRoof roof;
    EXPECT_EQ(Set(roof, {{{1000, 2000, 3000}, {1000, 5000, 3000}, {-2000, 5000, 3000}, {-2000, 2000, 3000}}, 0, 0,
                         {}, 0}),
              -1);
    const RoofValues v = Values(roof);
    ExpectPointsNear(v.outline, {{0, 0, 0}, {3000, 0, 0}, {3000, 3000, 0}, {0, 3000, 0}}, 1e-9);
    EXPECT_TRUE(roof.FaceLoops().empty());

    Ring twice;
    roof.GetFloorTopVtAry(twice);
    roof.GetFloorTopVtAry(twice);
    ASSERT_EQ(twice.size(), 8u);
    ExpectPointsNear(Ring(twice.begin() + 4, twice.end()), v.outline);
}

// With wa 0 the upper part has no thickness: its inner and outer faces are the same quads
// turned round and the tops have no width.
TEST_F(OrvRoofGeometryTest, AnUpperPartWithoutWidthHasFlatFacesAndZeroWidthTops)
{
    COrvRoof roof;
    ASSERT_EQ(Set(roof, {kSquare, 0, 0, {}, 0, 0, 400, 0, 100}), 1);
    const auto& loops = roof.FaceLoops();
    ASSERT_EQ(loops.GetSize(), 13);
    for (int i = 0; i < 4; ++i) {
        const Ring& inner = loops[1 + i];
        const Ring& outer = loops[5 + i];
        ExpectPointsNear(outer, {inner[1], inner[0], inner[3], inner[2]});
        EXPECT_NEAR(SpaceArea(loops[9 + i]), 0.0, 1e-6);
    }
}

// ---- independent measures -----------------------------------------------------------

constexpr double kL = 12000, kW = 8000;

TEST_F(OrvRoofGeometryTest, TheSlabCoversTheGrownRectangleWithItsSidesAround)
{
    const double o = 600, t = 150;
    COrvRoof roof;
    ASSERT_EQ(Set(roof, {Rectangle(kL, kW), 0, o, {}, static_cast<float>(t)}), 1);
    const auto& loops = roof.FaceLoops();
    ASSERT_EQ(loops.GetSize(), 6);
    const double grown = (kL + 2 * o) * (kW + 2 * o);
    // The ring is grown in single precision.
    EXPECT_NEAR(std::fabs(SignedPlanArea(loops[0])), grown, 1e-7 * grown);
    EXPECT_NEAR(std::fabs(SignedPlanArea(loops[5])), grown, 1e-7 * grown);
    for (const GePoint3d& p : loops[0])
        EXPECT_NEAR(p.z, 0.0, 1e-9);
    for (const GePoint3d& p : loops[5])
        EXPECT_NEAR(p.z, t, 1e-9);
    double sides = 0.0;
    for (int i = 1; i <= 4; ++i)
        sides += SpaceArea(loops[i]);
    EXPECT_NEAR(sides, 2 * (kL + kW + 4 * o) * t, 1.0);
}

// The parapet stands on the left of the edge ring as the offset returned it. A grown outline
// comes back clockwise, so the wall stands outside the slab edge and its top covers the ring
// between R and R grown by wa; without an overhang the ring is the outline in its own order,
// and on a counter-clockwise outline the wall stands on the slab.
TEST_F(OrvRoofGeometryTest, TheParapetStandsOnTheLeftOfTheEdgeRing)
{
    const double wa = 240;
    for (const double o : {500.0, 0.0}) {
        SCOPED_TRACE(o);
        COrvRoof roof;
        ASSERT_EQ(Set(roof, {Rectangle(kL, kW), 0, o, {}, 100, 600, 0, static_cast<float>(wa)}), 1);
        const auto& loops = roof.FaceLoops();
        ASSERT_EQ(loops.GetSize(), 18);
        const double inner = o > 0 ? 0.0 : wa;
        const double outer = o > 0 ? o + wa : 0.0;
        double top = 0.0;
        for (int i = 14; i < 18; ++i) {
            top += std::fabs(SignedPlanArea(loops[i]));
            for (const GePoint3d& p : loops[i]) {
                EXPECT_NEAR(p.z, 700, 1e-6);
                EXPECT_GE(p.x, -outer - 1e-3);
                EXPECT_LE(p.x, kL + outer + 1e-3);
            }
        }
        const double a = o > 0 ? o + wa : 0.0, b = o > 0 ? o : -inner;
        EXPECT_NEAR(top, (kL + 2 * a) * (kW + 2 * a) - (kL + 2 * b) * (kW + 2 * b), 1.0);
    }
}

// A hip roof of equal slopes over L x W rises (W/2)·tan s and holds W·h·(3L − W)/6 above its
// base, slab or not; its faces cover the ring and run counter-clockwise seen from above.
TEST_F(OrvRoofGeometryTest, ASlopedRectangleHasTheVolumeAndHeightOfItsHipRoof)
{
    const double slope = 35, h = kW / 2 * std::tan(slope * std::numbers::pi / 180);
    for (const double base : {0.0, 250.0}) {
        SCOPED_TRACE(base);
        COrvRoof roof;
        ASSERT_EQ(Set(roof, {Rectangle(kL, kW), 1, 0, std::vector<float>(4, slope), static_cast<float>(base)}), 1);
        const auto& loops = roof.FaceLoops();
        const int first = base > 0 ? 5 : 1;
        ASSERT_GT(loops.GetSize(), first);
        double planArea = 0.0, volume = 0.0, top = 0.0;
        for (int i = first; i < loops.GetSize(); ++i) {
            EXPECT_GT(SignedPlanArea(loops[i]), 0.0) << "face " << i;
            planArea += SignedPlanArea(loops[i]);
            volume += VolumeAbove(loops[i], base);
            for (const GePoint3d& p : loops[i])
                top = std::max(top, p.z);
        }
        EXPECT_NEAR(planArea, kL * kW, 1.0);
        EXPECT_NEAR(top - base, h, 0.5);
        EXPECT_NEAR(volume, kW * h * (3 * kL - kW) / 6, 1e-4 * kL * kW * h);
    }
}

// ---- capacities ---------------------------------------------------------------------

Ring Circle(int n, double radius)
{
    Ring ring;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        ring.push_back({radius * std::cos(a), radius * std::sin(a), 0});
    }
    return ring;
}

TEST_F(OrvRoofGeometryTest, ASlopedRoofOfMoreThan499PointsGetsAFlatFace)
{
    COrvRoof roof;
    EXPECT_EQ(Set(roof, {Circle(500, 50000), 1, 0, std::vector<float>(500, 30)}), 0);
    EXPECT_EQ(roof.FaceLoops().GetSize(), 2);
    EXPECT_THAT(Values(roof).slopes, ::testing::Each(0.0f));
}

TEST_F(OrvRoofGeometryTest, EveryPolygonOfALargeParapetReachesTheMesh)
{
    COrvRoof roof;
    ASSERT_EQ(Set(roof, {Circle(300, 50000), 0, 0, {}, 100, 600, 400, 240, 100}), 1);
    const int loops = roof.FaceLoops().GetSize();
    EXPECT_EQ(loops, 2 + 300 + 5 * 300);
    decMesh3* made = nullptr;
    ASSERT_EQ(roof.MakeMesh(&made), 1);
    const std::unique_ptr<decMesh3> mesh(made);
    EXPECT_EQ(mesh->GetCountPolygon(), loops);
}

}  // namespace
