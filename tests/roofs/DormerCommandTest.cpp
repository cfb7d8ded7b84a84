// The dormer command end to end: roof faces picked by point, the dialog's checks and shapes,
// the placement runs and the dormers they leave, checked against the picked face's plane.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "Dormer.h"
#include "DormerDlg.h"
#include "RoofTestSupport.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;

// A 200 slab over a plan 10 x 12 m rising by 6 m towards +y: its top face z = 200 + y / 2
// spans heights 200 to 6200 and opens with the anchor height 2200, where y = 4000.
constexpr const char* kSlab = "extrude 200 0,0,0 10000,0,0 10000,12000,6000 0,12000,6000\n";
const double kTan = 0.5;

class DormerCommandTest : public FreshDialogTest<g_dormerDefaults> {
protected:
    static std::vector<decDbEntity3d*> Dormers() { return Solids("老虎窗"); }
    static const CDormer& Of(const decDbEntity* entity) { return *CDormer::Cast(entity->GetBaseObject()); }
    static GePoint3d Origin(const decDbEntity* entity)
    {
        GePoint3d origin;
        GeVector3d x, y, z;
        entity->GetLocalTM().GetCoordSystem(origin, x, y, z);
        return origin;
    }
    // One run: the slab's top picked, the dialog lines, "应用", the placement lines, then
    // Esc and "取消".
    void Place(const std::string& dialog, const std::string& placement)
    {
        Script(std::string("dormer\n@5000,3000\n") + dialog + "ok\n" + placement + "*cancel*\ncancel\n");
    }
    // The same run, the face clicked at `click`, in a fresh drawing holding only that face and
    // from the first run's values.
    void PlaceOnFace(const Ring& face, const std::string& click, const std::string& dialog,
                     const std::string& placement)
    {
        host::NewDrawing();
        host::EventLog::Instance().Clear();
        g_dormerDefaults = DormerDefaults();
        AddMesh({face});
        Script("dormer\n" + click + "\n" + dialog + "ok\n" + placement + "*cancel*\ncancel\n");
    }
};

// The oracle of a placed dormer on the plane z = z0 + y·tan: no vertex below the plane, the
// back of every side face on it, and the front wall's lower corners on the locating line.
void ExpectStandsOnThePlane(const decDbEntity* entity, double z0, double tan, double anchor)
{
    const auto* mesh = static_cast<const decDbEntity3d*>(entity)->GetMesh();
    ASSERT_NE(mesh, nullptr);
    const GeMatrix3d tm = entity->GetLocalTM();
    const auto above = [&](const GePoint3d& p) { return (p.z - z0 - p.y * tan) / std::sqrt(1 + tan * tan); };
    for (int i = 0; i < mesh->GetCountVertex(); ++i) {
        const GePoint3d local = mesh->GetVertexArray()[i];
        const GePoint3d world = GePoint3d(local).TransformBy(tm);
        EXPECT_GE(above(world), -0.01) << world.x << "," << world.y << "," << world.z;
        if (local.y > 1e-6) {  // behind the front wall: where a side face meets the roof
            EXPECT_NEAR(above(world), 0.0, 0.01);
        }
    }
    const double width = static_cast<double>(CDormer::Cast(entity->GetBaseObject())->Width());
    for (const GePoint3d& corner : {GePoint3d(0, 0, 0), GePoint3d(width, 0, 0)}) {
        const GePoint3d world = GePoint3d(corner).TransformBy(tm);
        EXPECT_NEAR(world.z, anchor, 1e-6);
        EXPECT_NEAR(above(world), 0.0, 0.01);
    }
}

TEST_F(DormerCommandTest, TwoDormersByTypedDistanceAndPickedPointThenAFreshRun)
{
    Script(kSlab);
    Place("set 1160 1200\n", "~3000,2500\n2500\n7000,1000\n");
    std::vector<decDbEntity3d*> dormers = Dormers();
    ASSERT_EQ(dormers.size(), 2u) << Transcript();
    // Worked out by hand: the anchor 1200 lies at y = 2000; the slab reaches 300 beyond the
    // 2000 width and 300 in front, and its top, 2300 above the front, meets the roof
    // 2300 / 0.5 behind it.
    const struct {
        GePoint3d origin, low, high;
    } expected[] = {{{2500, 2000, 1200}, {2200, 1700, 1200}, {4800, 6600, 3500}},
                    {{7000, 2000, 1200}, {6700, 1700, 1200}, {9300, 6600, 3500}}};
    for (std::size_t i = 0; i < 2; ++i) {
        const decDbEntity* dormer = dormers[i];
        EXPECT_EQ(LayerAndMaterial(dormer), "老虎窗/老虎窗");
        ASSERT_NE(CDormer::Cast(dormer->GetBaseObject()), nullptr);
        EXPECT_TRUE(dormer->GetLocalTM().IsEqual(GeMatrix3d().SetToTranslation(expected[i].origin.AsVector()), 1e-6));
        ExpectExtents(dormer->GetBoundBox(), expected[i].low, expected[i].high, 1e-6);
        EXPECT_NEAR(Of(dormer).Slope(), std::atan(kTan), 1e-9);
        ExpectStandsOnThePlane(dormer, 200, kTan, 1200);
    }

    // A second "应用" cuts a fresh line at another height and places again.
    Script("dormer\n@5000,3000\nset 1160 700\nok\n5000\n*cancel*\nok\n1000\n*cancel*\ncancel\n");
    dormers = Dormers();
    ASSERT_EQ(dormers.size(), 4u);
    ExpectPointsNear({Origin(dormers[2]), Origin(dormers[3])}, {{5000, 1000, 700}, {1000, 1000, 700}}, 1e-6);
    ExpectStandsOnThePlane(dormers[3], 200, kTan, 700);
}

TEST_F(DormerCommandTest, TheDialogOpensWithTheValuesOfTheLastRunAndCancelKeepsThem)
{
    Script(kSlab);
    Place("set 1157 1500\nset 1160 1100\nradio 1259\n", "0\n");
    const DormerDefaults after = g_dormerDefaults;
    EXPECT_EQ(after.width, 1500);
    EXPECT_EQ(after.anchorHeight, 1100);
    EXPECT_EQ(after.shape, 1);
    EXPECT_EQ(after.height2, 0);
    // Changed and cancelled: nothing remembered.
    Script("dormer\n@5000,3000\nset 1157 900\ncancel\n");
    EXPECT_EQ(g_dormerDefaults.width, 1500);
    // Opened again: the remembered width, shape and anchor; back to the pentagon, height 2
    // (remembered as 0) is refilled with 1000.
    Place("radio 1257\n", "0\n");
    const std::vector<decDbEntity3d*> dormers = Dormers();
    ASSERT_EQ(dormers.size(), 2u);
    EXPECT_EQ(Of(dormers[0]).Height2(), 0);
    EXPECT_EQ(Of(dormers[1]).Width(), 1500);
    EXPECT_EQ(Of(dormers[1]).Height2(), 1000);
    EXPECT_NEAR(Origin(dormers[1]).z, 1100, 1e-9);
}

// The faces picked, the faces kept and where the dialog's anchor height opens. Level faces,
// upright ones and those steeper than the panel's 89° take no dormer.
TEST_F(DormerCommandTest, FacesAreKeptOnceWhenTheySlopeAndTheAnchorOpensAThirdUpTheFirst)
{
    const Ring face = {{0, 0, 3000}, {10000, 0, 3000}, {10000, 6000, 6000}, {0, 6000, 6000}};
    AddMesh({face, tools_test::Lifted(face, 0.5), Rectangle(10000, 6000, 9000)});  // #1
    AddMesh({{{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 45}, {0, 1000, 45}}});  // #2
    AddMesh({{{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 20}, {0, 1000, 20}}});  // #3
    const auto tilted = [](double degrees) {
        const double rise = 1000 * std::tan(Radians(degrees));
        return Ring{{0, 30000, 0}, {1000, 30000, 0}, {1000, 31000, rise}, {0, 31000, rise}};
    };
    AddMesh({{{0, 40000, 0}, {1000, 40000, 0}, {1000, 40000, 1000}, {0, 40000, 1000}}, tilted(89.5), tilted(88.9)});
    const struct {
        const char* pick;
        const char* shown;
        double anchor;
    } cases[] = {
        {"#1:0,1", "选中了1个坡面", 4000},
        {"#1:2,0", "去掉1个不符合要求的非坡面\n选中了1个坡面", 4000},
        {"#2:0", "选中了1个坡面", 10},
        {"#3:0", "选中了1个坡面", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pick);
        host::EventLog::Instance().Clear();
        g_dormerDefaults = DormerDefaults();
        const std::size_t before = Dormers().size();
        Script(std::string("dormer\n") + c.pick + "\nset 1157 100\nset 1158 0\nset 1154 5\nset 1155 5\nok\n0\n"
                                                   "*cancel*\ncancel\n");
        EXPECT_THAT(Transcript(), HasSubstr(c.shown));
        ASSERT_EQ(Dormers().size(), before + 1);
        EXPECT_NEAR(Origin(Dormers().back()).z, c.anchor, 1e-9);
    }
    // An upright wall, a face steeper than 89° and one just under it.
    host::EventLog::Instance().Clear();
    Script("dormer\n#4:0,1,2\ncancel\n");
    EXPECT_THAT(Transcript(), HasSubstr("去掉2个不符合要求的非坡面\n选中了1个坡面"));
    // Only a level face: removed, and the command ends.
    host::EventLog::Instance().Clear();
    Script("dormer\n#1:2\n");
    EXPECT_THAT(Transcript(), HasSubstr("去掉1个不符合要求的非坡面\n无选中坡面!退出命令!"));
    Script("dormer\n\n");
    EXPECT_THAT(Transcript(), HasSubstr("未选中目标!退出命令!"));
}

// A dormer whose body would leave its face is refused and the distance asked again: on a 30°
// face 20 m along the eave rising to a ridge at 13000, one reaching above the ridge, one wider
// than the face, typed distances past either end and a point picked too near the end; one
// reaching exactly to the face's end or just under the ridge is placed. The roof slab, not the
// body only, stays on the face: on the south face of a gable rising from its eave at 10 m to a
// ridge at 13 m over 5 m, a slab reaching above the ridge is refused; its overhang may still
// pass the eave in front and the face's end at the side.
TEST_F(DormerCommandTest, DormersThatLeaveTheirFaceAreAskedAgain)
{
    const double eave = 13000 - 10000 * std::tan(Radians(30));
    const Ring face = {{0, 0, eave}, {20000, 0, eave}, {20000, 10000, 13000}, {0, 10000, 13000}};
    const Ring gable = {{0, 0, 10000}, {20000, 0, 10000}, {20000, 5000, 13000}, {0, 5000, 13000}};
    const char* kOff = "提示：老虎窗超出所选坡面，请重新输入。";
    const struct {
        const char* name;
        std::string dialog, placement;
        int refused, placed;
        const Ring* on = nullptr;  // the gable's face, or the 30° one
        double front = 0;          // on the gable, the plan y of the slab's front edge when placed
    } cases[] = {
        {"above the ridge", "set 1160 11500\n", "5000\n", 1, 0},
        {"just under the ridge, no slab", "set 1158 0\nset 1160 11000\n", "5000\n", 0, 1},
        {"wider than the face", "set 1157 30000\n", "0\n", 1, 0},
        {"typed past either end, then on it", "", "50000\n-8000\n-2\n5000\n", 3, 1},
        {"to the face's end exactly", "", "18002\n18000\n", 1, 1},
        {"picked too near the end", "", "19000,6000\n", 1, 0},
        {"slab top at the ridge", "set 1160 10700\n", "3000\n", 0, 1, &gable, 700.0 / 0.6 - 300},
        {"slab top 2 mm over the ridge", "set 1160 10702\n", "3000\n", 1, 0, &gable},
        {"a flat slab under the ridge", "radio 1259\nset 1160 11000\n", "3000\n", 0, 1, &gable, 1000.0 / 0.6 - 300},
        {"a thick slab at the eave", "set 1158 1500\nset 1160 10000\n", "3000\n", 1, 0, &gable},
        {"at the eave, overhanging it by 1000", "set 1159 1000\nset 1160 10000\n", "3000\n", 0, 1, &gable, -1000},
        {"at the face's end, overhanging it", "set 1160 10000\n", "18000\n", 0, 1, &gable, -300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlaceOnFace(c.on ? *c.on : face, "@5000,2000", c.dialog, c.placement);
        EXPECT_EQ(CountOf(Transcript(), kOff), c.refused);
        EXPECT_EQ(CountOf(Transcript(), "点取插入点/输入起始距离(mm):"), c.refused + c.placed + 1);
        ASSERT_EQ(Dormers().size(), static_cast<std::size_t>(c.placed));
        if (!c.on || !c.placed)
            continue;
        const GeBoundBox3d box = Dormers()[0]->GetBoundBox();
        EXPECT_LE(box.MaxPoint().z, 13000 + 1e-6);
        EXPECT_LE(box.MaxPoint().y, 5000 + 1e-6);
        EXPECT_NEAR(box.MinPoint().y, c.front, 1e-6);
        ExpectStandsOnThePlane(Dormers()[0], 10000, 0.6, Origin(Dormers()[0]).z);
    }
}

TEST_F(DormerCommandTest, AnchorHeightsOffTheFacesAreRefused)
{
    Script(kSlab);
    // Two faces at different heights: 1500 lies between them and cuts neither.
    AddMesh({{{0, 10000, 0}, {5000, 10000, 0}, {5000, 12000, 1000}, {0, 12000, 1000}},
             {{0, 20000, 2000}, {5000, 20000, 2000}, {5000, 22000, 3000}, {0, 22000, 3000}}});
    Script("dormer\n@5000,3000\nset 1160 6200.5\nok\nset 1160 199\nok\nok\n0\n*cancel*\ncancel\n"
           "dormer\n#2:0,1\nset 1160 1500\nok\ncancel\n");
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("[警告] 定位高度不能大于坡面的最高点垂直高度6200.0000!"));
    EXPECT_THAT(out, HasSubstr("[警告] 定位高度不能小于坡面的最低点垂直高度200.0000!"));
    EXPECT_THAT(out, HasSubstr("[警告] 无法计算定位线!请修改定位高度!"));
    // Refused, the anchor went back to the height the run opened with, not to "none yet".
    ASSERT_EQ(Dormers().size(), 1u);
    EXPECT_NEAR(Origin(Dormers()[0]).z, 2200, 1e-9);
}

// The anchor pick keeps the old height (here one picked before) in whole millimetres when no
// point is given, also on faces higher up than an int holds (a roof on a slab typed
// 99999999999 put them there).
TEST_F(DormerCommandTest, ACancelledAnchorPickKeepsTheHeightWhateverItsSize)
{
    for (const double base : {0.0, 2147480000.0, 1e10, 1e13}) {
        SCOPED_TRACE(base);
        host::NewDrawing();
        g_dormerDefaults = DormerDefaults();
        AddMesh({{{0, 0, base}, {10000, 0, base}, {10000, 6000, base + 6000}, {0, 6000, base + 6000}}});
        char picked[64];
        std::snprintf(picked, sizeof picked, "0,0,%.1f", base + 1000.7);
        Script(std::string("dormer\n#1:0\nclick 1258\n") + picked + "\nclick 1258\n*cancel*\nok\n0\n*cancel*\ncancel\n");
        ASSERT_EQ(Dormers().size(), 1u) << Transcript();
        EXPECT_EQ(Origin(Dormers()[0]).z, base + 1000);
    }
}

TEST_F(DormerCommandTest, EditChecksAndPickedLengths)
{
    Script(kSlab);
    const struct {
        const char* lines;
        const char* message;
        long w, h1, h2, t, o;
    } cases[] = {
        {"set 1157 0\n", "请输入一个正整数!", 2000, 1000, 1000, 300, 300},
        {"set 1154 -1\n", "请输入一个非负整数!", 2000, 1000, 1000, 300, 300},
        {"set 1155 0\nset 1154 0\n", "高度1与高度2不能同时为0!", 2000, 1000, 0, 300, 300},
        {"radio 1259\nset 1154 0\n", "高度1必须大于0!", 2000, 1000, 0, 300, 300},
        {"radio 1260\nset 1155 0\n", "高度2必须大于0!", 2000, 0, 1000, 300, 300},
        {"set 1158 -2\nset 1159 -3\n", "请输入一个非负整数!", 2000, 1000, 1000, 300, 300},
        {"click 1253\n0,0\n0,0.9\n", "宽度必须大于0!", 2000, 1000, 1000, 300, 300},
        {"radio 1259\nclick 1254\n5,5\n5,5\n", "高度1必须大于0!", 2000, 1000, 0, 300, 300},
        {"set 1154 0\nclick 1255\n0,0\n0,0\n", "高度1与高度2不能同时为0!", 2000, 0, 1000, 300, 300},
        // Lengths truncated towards zero; a cancelled pick keeps the value.
        {"click 1253\n0,0\n1500.9,0\nclick 1256\n0,0\n*cancel*\nclick 1211\n0,0\n0,250.7\n", nullptr, 1500, 1000,
         1000, 300, 250},
        {"click 1258\n0,0,1100\n", nullptr, 2000, 1000, 1000, 300, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        host::EventLog::Instance().Clear();
        g_dormerDefaults = DormerDefaults();
        Place(c.lines, "0\n");
        if (c.message) {
            EXPECT_THAT(Transcript(), HasSubstr(std::string("[警告] ") + c.message));
        } else {
            EXPECT_THAT(Transcript(), Not(HasSubstr("[警告]")));
        }
        const CDormer& d = Of(Dormers().back());
        EXPECT_EQ(std::vector<long>({d.Width(), d.Height1(), d.Height2(), d.RoofThickness(), d.Overhang()}),
                  std::vector<long>({c.w, c.h1, c.h2, c.t, c.o}));
    }
    // The anchor picked from a point's height.
    EXPECT_NEAR(Origin(Dormers().back()).z, 1100, 1e-9);
    // The rectangle disables height 2 and its pick button.
    EXPECT_FALSE(Run("dormer\n@5000,3000\nradio 1259\nclick 1255\ncancel\n"));
    EXPECT_THAT(Transcript(), HasSubstr("dialog 1076: control 1255 is disabled"));
    EXPECT_EQ(host::EventLog::Instance().Calls("SetBitmap").back(), "SetBitmap dialog 1076 control 1261 1078");
}

}  // namespace
