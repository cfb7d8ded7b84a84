// The gable roof command end to end on a building made with build: the outline picked, the
// ridge drawn, the dialog answered by script lines, and the grouped roof it leaves, measured
// against independent formulas; the outline pick and the ridge input the roof commands share.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "GableRoof.h"
#include "GableRoofDlg.h"
#include "HostSolids.h"
#include "RoofTestSupport.h"
#include "decDbCurve.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;

constexpr double kL = 10000, kW = 6000, kTop = 9000, kH = 3000;

class GableRoofCommandTest : public FreshDialogTest<g_gableRoofDefaults> {
protected:
    void SetUp() override
    {
        FreshDialogTest::SetUp();
        AddBuilding("A", static_cast<int>(kTop), Rectangle(kL, kW));
    }
};

// Picks the building by a point inside it and draws the ridge; the dialog lines follow.
std::string Gable(const char* ridgeFrom, const char* ridgeTo, const std::string& dialog = "ok\n")
{
    return std::string("gable\n@5000,3000\n") + ridgeFrom + "\n" + ridgeTo + "\n" + dialog;
}

// Every piece is one entity of the one group: roof faces (or slab faces) on 坡屋顶 with 屋面板,
// walls on 屋顶封闭 with 建筑. Unless the roof is a slab, each face is as large in space as its
// plan over cos α (α the slope the dialog was given), the faces' plans tile the eave outline,
// and, rising in planes from a level eave to the ridge, they hold half the prism of the eave
// outline and their rise.
TEST_F(GableRoofCommandTest, RoofsOfTheDialogsValues)
{
    const double tan30 = std::tan(30 / 57.29578), h30 = kW / 2 * tan30;
    const struct {
        const char* name;
        const char *from, *to;
        std::string dialog;
        std::size_t faces;
        double tanAlpha;  // 0: a slab
        GePoint3d low, high;
        double eaveArea, wallArea;
    } cases[] = {
        {"the first values", "0,3000", "10000,3000", "ok\n", 2, kH / (kW / 2), {0, 0, kTop}, {kL, kW, kTop + kH},
         kL * kW, kW * kH},
        {"thickness 1: faces", "0,3000", "10000,3000", "set 1161 1\nok\n", 2, kH / (kW / 2), {0, 0, kTop},
         {kL, kW, kTop + kH}, kL * kW, kW * kH},
        {"eave overhang 500, gable overhang 300", "0,3000", "10000,3000", "set 1157 500\nset 1158 300\nok\n", 2,
         kH / (kW / 2), {-300, -500, kTop - 500}, {kL + 300, kW + 500, kTop + kH}, (kL + 600) * (kW + 1000), kW * kH},
        // One slope, and an upright wall H high under the ridge edge.
        {"a ridge along the south edge", "0,0", "10000,0", "ok\n", 1, kH / kW, {0, 0, kTop}, {kL, kW, kTop + kH},
         kL * kW, kW * kH + kL * kH},
        // The right side takes the left angle; the walls rise to the eave, then to the ridge.
        {"angles 30 and 45, equal slopes", "0,3000", "10000,3000",
         "radio 1312\nset 1299 30\nset 1300 45\ncheck 1308 1\nok\n", 2, tan30, {0, 0, kTop + kH - h30},
         {kL, kW, kTop + kH}, kL * kW, 2 * (kW + kL) * (kH - h30) + kW * h30},
        // Per slope a bottom, a top and a quad per edge.
        {"thickness 2: slabs", "0,3000", "10000,3000", "set 1161 2\nok\n", 2 * (2 + 4), 0, {}, {}, 0, kW * kH},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDialogTest::SetUp();
        Script("pline closed 0,0 10000,0 10000,6000 0,6000\nbuild\nlast\n9\n0\n\n" + Gable(c.from, c.to, c.dialog));
        const auto roofs = Solids("坡屋顶"), walls = Solids("屋顶封闭");
        ASSERT_EQ(roofs.size(), c.faces);
        ASSERT_EQ(Db()->Groups().size(), 1u);
        EXPECT_EQ(Db()->Groups()[0].members.size(), roofs.size() + walls.size());
        EXPECT_EQ(LayerAndMaterial(roofs[0]), "坡屋顶/屋面板");
        EXPECT_EQ(LayerAndMaterial(walls[0]), "屋顶封闭/建筑");
        double wallArea = 0;
        for (const Ring& wall : MeshFaces(walls))
            wallArea += SpaceArea(wall);
        EXPECT_NEAR(wallArea, c.wallArea, 1e-3);
        if (c.tanAlpha == 0) {
            // Both slabs' bottoms and tops run counter-clockwise seen from above, the right
            // side's reversed from the way it is traced (the upright faces have no plan).
            for (const Ring& piece : MeshFaces(roofs))
                EXPECT_GT(SignedPlanArea(piece), -1e-3);
            continue;
        }
        const std::vector<Ring> faces = MeshFaces(roofs);
        const GeBoundBox3d box = Extents(faces);
        ExpectExtents(box, c.low, c.high, 1e-6);
        const double rise = box.MaxPoint().z - box.MinPoint().z;
        double plan = 0, volume = 0;
        for (const Ring& face : faces) {
            const double area = std::fabs(SignedPlanArea(face));
            EXPECT_NEAR(SpaceArea(face), area * std::hypot(1, c.tanAlpha), 1e-3);
            plan += area;
            volume += VolumeAbove(face, box.MinPoint().z);
        }
        EXPECT_NEAR(plan, c.eaveArea, 1e-3);
        EXPECT_NEAR(volume, c.eaveArea * rise / 2, 1.0);
    }
}

// Notched outlines, the ridge east-west through them at y = 6000: a U (18 x 12 m, its notch 6
// m wide and deep from the north), and a block 20 x 12 m whose notch 4 m wide runs from the
// south eave across the ridge to y = 9000. Without overhangs the faces cover the outline
// itself, the notch left open (the part of the notch beyond the ridge is a piece traced the
// wrong way round that joins the side's main piece); with eave and gable overhangs of 5 m the
// U's notch closes and the faces cover the outline grown with mitred corners. Either way once,
// and no face doubles back over itself, drawn either way round.
TEST_F(GableRoofCommandTest, OverhangsThatWouldFoldTheOutline)
{
    const Ring u = {{0, 0, 0},       {18000, 0, 0},   {18000, 12000, 0}, {12000, 12000, 0},
                    {12000, 6000, 0}, {6000, 6000, 0}, {6000, 12000, 0},  {0, 12000, 0}};
    const Ring across = {{0, 0, 0},        {8000, 0, 0},      {8000, 9000, 0}, {12000, 9000, 0},
                         {12000, 0, 0},    {20000, 0, 0},     {20000, 12000, 0}, {0, 12000, 0}};
    const struct {
        const char* name;
        Ring plan;
        int overhang;
    } cases[] = {{"U grown by 5 m", u, 5000}, {"U", u, 0}, {"notch across the ridge", across, 0}};
    for (const auto& c : cases)
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (reversed ? " reversed" : ""));
            FreshDialogTest::SetUp();
            const Ring outline = tools_test::Moved(reversed ? tools_test::Reversed(c.plan) : c.plan, 100000, 0);
            const std::string o = std::to_string(c.overhang);
            Script("pline closed " + ScriptPoints(outline) + "\n"
                   "gable\n@100000,3000\n100000,6000\n118000,6000\nset 1157 " + o + "\nset 1158 " + o + "\nok\n");
            ExpectPlanCoveredOnce(MeshFaces(Solids("坡屋顶")), c.overhang > 0 ? MitredGrownArea(c.plan, c.overhang)
                                                                                : std::fabs(SignedPlanArea(c.plan)));
        }

    FreshDialogTest::SetUp();
    Script("pline closed 100000,0 110000,0 106000,6000 104000,6000\n"
           "gable\n@105000,1\n105000,-100\n105000,100\nset 1158 3000\nok\ncancel\n");
    EXPECT_THAT(Transcript(), HasSubstr("屋顶生成屋顶轮廓必须在同一个水平面上!"));
    EXPECT_TRUE(Solids("坡屋顶").empty());
    EXPECT_EQ(g_gableRoofDefaults.gableOverhang, GableRoofDefaults().gableOverhang);
}

// Ends are ordered by x, or by y when their x are within 0.001.
TEST_F(GableRoofCommandTest, TheRidgeRunsTowardsGreaterXOrY)
{
    const struct {
        const char *from, *to;
        GePoint3d start;
    } cases[] = {{"5,9", "1,2", {1, 2, 0}}, {"1,9", "1.0005,2", {1.0005, 2, 0}}, {"1,2", "1.0005,9", {1, 2, 0}}};
    for (const auto& c : cases) {
        Answer(std::string(c.from) + "\n" + c.to + "\n");
        GePoint3d start, end;
        ASSERT_EQ(GableRoof::InputRidgeLine(start, end), 1);
        EXPECT_EQ(start, c.start) << c.from << " " << c.to;
    }
    EXPECT_THAT(host::EventLog::Instance().Calls("GetPoint"), ::testing::Each(HasSubstr("flags=0xE1E1")));
}

// ---- the outline pick -----------------------------------------------------------------

// A building's outline at its top, a solid's top face, a circle sampled one point per ten
// degrees (34 once its ends are one), an open polyline with all its points.
TEST_F(GableRoofCommandTest, OutlinesOfBuildingsSolidsAndCurves)
{
    auto* solid = new decDbExtrude();
    const Ring base = Rectangle(4000, 3000, 100);
    solid->SetData(4, base.data(), 1, GeVector3d(0, 0, 5000));
    AddSolid(solid);
    AddEntity(new decDbCircle3d(GePoint3d(30000, 0, 0), GeVector3d::kZAxis, 2000));
    const Ring open = {{40000, 0, 0}, {44000, 0, 0}, {44000, 3000, 0}, {40000, 3000, 0}};
    AddEntity(new decDbPolyline(4, open.data(), 0));
    const struct {
        const char* pick;
        std::size_t points;
        double z;
    } cases[] = {{"#1", 4, kTop}, {"#2", 4, 5100}, {"#3", 34, 0}, {"#4", 4, 0}};
    for (const auto& c : cases) {
        Answer(std::string(c.pick) + "\n");
        Ring outline;
        ASSERT_EQ(GableRoof::SelectBaseOutline(outline), 1) << c.pick;
        EXPECT_EQ(outline.size(), c.points) << c.pick;
        EXPECT_EQ(outline.front().z, c.z) << c.pick;
    }
}

// Outlines no roof is made on, and cancelled input. The roof dialogs work in whole
// millimetres from the outline's height: an outline higher than an int holds is refused
// before any dialog opens, by every roof command.
TEST_F(GableRoofCommandTest, RefusedOutlinesAndCancelledInput)
{
    const Ring tilted = {{0, 20000, 0}, {4000, 20000, 0}, {4000, 24000, 500}, {0, 24000, 500}};
    AddEntity(new decDbPolyline(4, tilted.data(), 1));
    const Ring two = {{0, 30000, 0}, {4000, 30000, 0}};
    AddEntity(new decDbPolyline(2, two.data(), 0));
    const Ring high = tools_test::Lifted(Rectangle(10000, 6000), 99999999999);
    AddEntity(new decDbPolyline(4, high.data(), 1));
    Script("gable\n#2\n"                // not level
           "gable\n#3\n*cancel*\n"      // the filter takes no curve of two points
           "gable\n#1\n*cancel*\n"
           "gable\n取消\n"
           "gable\n#4\nprismoid\n#4\nproof\n#4\nroof\n#4\n");
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("] 屋顶生成屋顶轮廓必须在同一个水平面上!\n提示：屋顶底轮廓选择无效！"));
    EXPECT_THAT(out, HasSubstr("#3 decDbPolyline is not taken here"));
    EXPECT_EQ(CountOf(out, "未选中目标!退出命令!\n提示：屋顶底轮廓选择无效！"), 2);
    EXPECT_EQ(CountOf(out, "提示：屋顶底轮廓选择无效！"), 4);
    EXPECT_THAT(out, Not(HasSubstr("opened")));
    // The cancelled ridge point ends the command without a word.
    EXPECT_THAT(out, HasSubstr("请输入屋脊线的起点\n(a point x,y[,z], or Enter)\n> *cancel*\n> gable"));
    EXPECT_EQ(Db()->AllObjects().size(), 4u);
}

}  // namespace
