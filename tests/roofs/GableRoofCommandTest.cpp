// The gable roof command end to end: the outline picked, the ridge drawn, the dialog answered
// by script lines, and the grouped roof it leaves, measured against independent formulas;
// the outline pick and the ridge input the roof commands share.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "ArcSampling.h"
#include "GableRoof.h"
#include "GableRoofDlg.h"
#include "HostSolids.h"
#include "Quenra3dRunner.h"
#include "RoofTestSupport.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;

constexpr double kL = 10000, kW = 6000, kTop = 9000, kH = 3000;

class GableRoofCommandTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        g_gableRoofDefaults = GableRoofDefaults();
        AddBuilding("A", static_cast<int>(kTop), Rectangle(kL, kW));
    }

    // The roof's pieces: layer name to the faces of the entities on it (world).
    std::map<std::string, std::vector<Ring>> Pieces() const
    {
        std::map<std::string, std::vector<Ring>> pieces;
        for (decDbEntity* e : Db()->AllObjects()) {
            const auto* solid = decCast<decDbEntity3d>(e);
            if (!solid || solid->GetBuilder())
                continue;
            const decLayer* layer = Db()->GetTableLayer()->GetLayer(e->GetLayerId());
            for (int i = 0; i < solid->GetMesh()->GetCountPolygon(); ++i)
                pieces[layer->GetName()].push_back(solid->GetMesh()->FacePoints(i, solid->GetTM()));
        }
        return pieces;
    }
    GeBoundBox3d RoofBox() const
    {
        GeBoundBox3d box;
        const auto pieces = Pieces();
        for (const Ring& face : pieces.at("坡屋顶"))
            for (const GePoint3d& p : face)
                box.Extend(p);
        return box;
    }
};

// Picks the building by a point inside it and draws the ridge; the dialog lines follow.
std::string Gable(const char* ridgeFrom, const char* ridgeTo, const std::string& dialog = "ok\n")
{
    return std::string("gable\n@5000,3000\n") + ridgeFrom + "\n" + ridgeTo + "\n" + dialog;
}

// Two faces reaching the ridge 3000 above the top, four gable triangles, one group of six:
// each face as large in space as its plan over cos α, each triangle (W/2)·H/2, and the faces'
// plans tiling the outline.
TEST_F(GableRoofCommandTest, TheDialogsFirstValuesGiveASymmetricGable)
{
    Script("groups\n" + Gable("0,3000", "10000,3000") + "groups\n");
    EXPECT_THAT(Transcript(), HasSubstr("> groups\nno groups\n"));
    const auto pieces = Pieces();
    ASSERT_EQ(pieces.at("坡屋顶").size(), 2u);
    ASSERT_EQ(pieces.at("屋顶封闭").size(), 4u);
    const double cosine = (kW / 2) / std::hypot(kW / 2, kH);
    double plan = 0;
    for (const Ring& face : pieces.at("坡屋顶")) {
        plan += std::fabs(SignedPlanArea(face));
        EXPECT_NEAR(SpaceArea(face), std::fabs(SignedPlanArea(face)) / cosine, 1e-3);
    }
    EXPECT_NEAR(plan, kL * kW, 1e-3);
    for (const Ring& wall : pieces.at("屋顶封闭")) {
        EXPECT_EQ(wall.size(), 3u);
        EXPECT_NEAR(SpaceArea(wall), (kW / 2) * kH / 2, 1e-3);
    }
    EXPECT_NEAR(RoofBox().MaxPoint().z, kTop + kH, 1e-6);
    EXPECT_THAT(Transcript(), HasSubstr("group 1 flags=0: #2 #3 #4 #5 #6 #7\n"));
    // Faces carry the roof material, walls the wall material.
    const auto material = [this](int handle) {
        return Db()->GetTableMaterial()->GetById(Entity(decObjectId(handle))->GetMaterialId())->GetName();
    };
    EXPECT_STREQ(material(7), "屋面板");
    EXPECT_STREQ(material(2), "建筑");
}

TEST_F(GableRoofCommandTest, OverhangsReachOutAlongBothAxesAndTheSlopeGoesOnDown)
{
    Script(Gable("0,3000", "10000,3000", "set 1157 500\nset 1158 300\nok\n"));
    const GeBoundBox3d box = RoofBox();
    ExpectPointsNear({box.MinPoint(), box.MaxPoint()}, {{-300, -500, kTop - 500}, {kL + 300, kW + 500, kTop + kH}},
                     1e-6);
}

// A ridge along the south edge gives one slope and an upright wall H high under it.
TEST_F(GableRoofCommandTest, ARidgeAlongAnEdgeGivesASingleSlope)
{
    Script(Gable("0,0", "10000,0"));
    const auto pieces = Pieces();
    ASSERT_EQ(pieces.at("坡屋顶").size(), 1u);
    const auto& walls = pieces.at("屋顶封闭");
    EXPECT_EQ(std::count_if(walls.begin(), walls.end(),
                            [](const Ring& w) { return std::fabs(SpaceArea(w) - kL * kH) < 1e-3; }),
              1);
}

TEST_F(GableRoofCommandTest, ThicknessTwoMakesGroupedSlabs)
{
    Script(Gable("0,3000", "10000,3000", "set 1161 2\nok\n"));
    EXPECT_EQ(Pieces().at("坡屋顶").size(), 2u * (2 + 4));
    ASSERT_EQ(Db()->Groups().size(), 1u);
    EXPECT_EQ(Db()->Groups()[0].members.size(), 4u + 12u);
}

// With equal slopes the right side takes the left angle: both eaves lie (W/2)·tan 30° below
// the ridge.
TEST_F(GableRoofCommandTest, EqualSlopesByAngleUseTheLeftAngle)
{
    Script(Gable("0,3000", "10000,3000", "radio 1312\nset 1299 30\nset 1300 45\ncheck 1308 1\nok\n"));
    const GeBoundBox3d box = RoofBox();
    EXPECT_NEAR(box.MinPoint().z, kTop + kH - kW / 2 * std::tan(30 / 57.29578), 1e-6);
    const auto pieces = Pieces();
    for (const Ring& face : pieces.at("坡屋顶"))
        for (const GePoint3d& p : face)
            EXPECT_NEAR(p.z, box.MinPoint().z + (kW / 2 - std::fabs(p.y - kW / 2)) * std::tan(30 / 57.29578), 1e-6);
}

TEST_F(GableRoofCommandTest, ARidgeDrawnEitherWayGivesTheSameRoof)
{
    Script(Gable("10000,3000", "0,3000"));
    const auto backwards = Pieces();
    host::NewDrawing();
    AddBuilding("A", static_cast<int>(kTop), Rectangle(kL, kW));
    Script(Gable("0,3000", "10000,3000"));
    const auto forwards = Pieces();
    for (const char* layer : {"坡屋顶", "屋顶封闭"})
        for (std::size_t i = 0; i < forwards.at(layer).size(); ++i)
            ExpectPointsNear(backwards.at(layer)[i], forwards.at(layer)[i], 1e-6);

    // Ends are ordered by x, or by y when their x are within 0.001.
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
    // One sample per ten degrees: a full circle 36, twenty degrees still 3.
    EXPECT_EQ(ArcSampling::SampleCount(2 * std::acos(-1.0)), 36);
    EXPECT_EQ(ArcSampling::SampleCount(20 / 57.29578), 3);
}

TEST_F(GableRoofCommandTest, RefusedOutlinesAndCancelledInput)
{
    // A spike: once the collinear points are gone the outline starts at its second point,
    // and its first three points lie on a line.
    const Ring spike = {{0, 24000, 0}, {0, 20000, 0}, {4000, 20000, 0}, {2000, 20000, 0}};
    AddEntity(new decDbPolyline(4, spike.data(), 1));
    const Ring two = {{0, 30000, 0}, {4000, 30000, 0}};
    AddEntity(new decDbPolyline(2, two.data(), 0));
    Script("gable\n#2\n"  // the first three points lie on a line
           "gable\n#3\n*cancel*\n"  // the filter takes no curve of two points
           "gable\n#1\n*cancel*\n"
           "gable\n取消\n");
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("] 屋顶生成屋顶轮廓必须在同一个水平面上!\n提示：屋顶底轮廓选择无效！"));
    EXPECT_THAT(out, HasSubstr("#3 decDbPolyline is not taken here"));
    EXPECT_EQ(CountOf(out, "未选中目标!退出命令!\n提示：屋顶底轮廓选择无效！"), 2);
    EXPECT_EQ(CountOf(out, "提示：屋顶底轮廓选择无效！"), 3);
    // The cancelled ridge point ends the command without a word.
    EXPECT_THAT(out, HasSubstr("请输入屋脊线的起点\n> *cancel*\n> gable"));
    EXPECT_EQ(Db()->AllObjects().size(), 3u);
}

// ---- through the host executable ------------------------------------------------------

TEST_F(GableRoofCommandTest, TheHostExecutableBuildsTheRoofOfAPickedBuilding)
{
    TestFolder folder;
    const std::string script = folder.Write(
        "gable.txt", "pline closed 0,0 10000,0 10000,6000 0,6000\nbuild\nlast\n9\n0\n\n" + Gable("0,3000", "10000,3000") +
                         "groups\nlist\n");
    const Quenra3dRun run = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, script});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("dialog 1103 \"人字形屋顶（俯视图、前视图）\" closed: IDOK"));
    EXPECT_THAT(run.output, HasSubstr("group 1 flags=0: #4 #5 #6 #7 #8 #9"));
    EXPECT_THAT(run.output, HasSubstr("#9 decDbEntity3d layer=坡屋顶 extents 0,0,9000 to 10000,3000,12000"));
}

}  // namespace
