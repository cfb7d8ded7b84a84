// The two-point window command end to end: the dialog answered by script lines, sill points
// picked or a width typed, and the columns of windows it leaves on the facades; the window
// frame the insertion commands share.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "2PointInsertWindow.h"
#include "2PointInsertWindowDlg.h"
#include "ModelHelperWindows.h"
#include "View.h"
#include "WindowCreation.h"
#include "WindowTestSupport.h"

using ::testing::HasSubstr;

namespace {

class TwoPointInsertWindowTest : public WindowModelTest {
protected:
    void SetUp() override
    {
        WindowModelTest::SetUp();
        g_2pwinDefaults = TwoPointWindowDefaults();
    }
};

// A 10 m by 8 m building; each facade's sill picked left then right as seen from outside.
struct Facade {
    const char* name;
    const char* left;
    const char* right;
    GePoint3d middle;
    GeVector3d outward;
    const char* facing;  // as the analysis read-back prints the angle
};
const Facade kFacades[] = {
    {"south", "1000,0", "2200,0", {1600, 0, 0}, {0, -1, 0}, "angle=4.71238898 (270°)"},
    {"east", "10000,1000", "10000,2200", {10000, 1600, 0}, {1, 0, 0}, "angle=0 (0°)"},
    {"north", "9000,8000", "7800,8000", {8400, 8000, 0}, {0, 1, 0}, "angle=1.570796327 (90°)"},
    {"west", "0,7000", "0,5800", {0, 6400, 0}, {-1, 0, 0}, "angle=3.141592654 (180°)"},
};

TEST_F(TwoPointInsertWindowTest, ColumnsOnEveryFacadeFaceOutwardsFloorByFloor)
{
    // A座, an 8 m square, is searched before B座, the 10 × 8 m outline around it.
    AddBuilding("A座", 24000, Square(0, 0, 8000));
    AddBuilding("B座", 24000, {{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}});
    // Floor spun from 1 to 2 (the sill follows by one storey: 3800), three storeys, window
    // height from the list, storey height typed.
    std::string script = "setvar ORV_WIN_H_DIM 3\nsetvar ORV_WIN_V_DIM 1.5\nsetvar DRAWING_SCALE 200\n"
                         "2pwin\nspin 1274 1\nset 1156 3\nchoose 1278 1\nset 1277 3000\nok\n";
    for (const Facade& f : kFacades)
        script += std::string(f.left) + "\n" + f.right + "\n";
    Script(script + "*cancel*\n");

    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 12u) << Transcript();
    // Every window on layer 窗 with material 蓝色窗, labelled with the drawing's settings.
    const decLayer* layer = Db()->Layers().SearchLayer("窗");
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetColor(), 0xff3200u);
    const dexMaterialObj* material = Db()->Materials().GetById(Db()->Materials().GetIdByName("蓝色窗"));
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->GetColor(), 0xffff80u);
    EXPECT_FLOAT_EQ(material->GetTransparent(), 0.5f);
    EntityArray entities;
    GetAllWindow(entities);
    for (const decDbEntity* entity : entities) {
        EXPECT_EQ(entity->GetLayerId(), layer->GetLayerId());
        EXPECT_EQ(entity->GetMaterialId(), material->GetMatId());
    }
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Facade& f = kFacades[i / 3];
        const int storey = static_cast<int>(i % 3);
        const PlacedWindow& w = windows[i];
        const std::string what = std::string(f.name) + " storey " + std::to_string(storey);
        EXPECT_EQ(w.window->Floor(), 2 + storey) << what;
        EXPECT_EQ(w.window->Index(), static_cast<int>(i / 3) + 1) << what;
        EXPECT_EQ(w.window->Door(), std::to_string(i / 3 + 1).c_str()) << what;
        // The south and west sills lie on both outlines and go to A座; the others are
        // further than 100 from A座's.
        EXPECT_EQ(w.window->BuildName(), (i / 3 == 0 || i / 3 == 3) ? "A座" : "B座") << what;
        EXPECT_EQ(w.window->Width(), 1200) << what;
        EXPECT_EQ(w.window->Height(), 1800) << what;
        EXPECT_DOUBLE_EQ(w.window->HorDimHeight(), 3.0);
        EXPECT_DOUBLE_EQ(w.window->VerDimHeight(), 1.5);
        EXPECT_DOUBLE_EQ(w.window->Scale(), 200.0);
        ExpectNearPoint(w.origin, f.middle + GeVector3d(0, 0, 3800 + 3000 * storey), what);
        ExpectNearVector(w.y, f.outward, what);
        ExpectNearVector(w.z, GeVector3d::kZAxis, what);
        ExpectNearVector(w.x, f.outward.CrossProduct(GeVector3d::kZAxis), what);
    }
    EXPECT_EQ(g_2pwinDefaults.sill, 3800);
    EXPECT_EQ(g_2pwinDefaults.floor, 2u);
    EXPECT_EQ(g_2pwinDefaults.windowHeight, 1800);
    EXPECT_EQ(g_2pwinDefaults.storeyHeight, 3000);

    // The analysis side reads them by building, floor and position, facing away from the
    // building.
    host::EventLog::Instance().Clear();
    Script("windows\n");
    const std::string out = Transcript();
    std::size_t at = 0;
    for (const char* building : {"A座", "B座"}) {
        for (int floor = 2; floor <= 4; ++floor) {
            for (std::size_t k = 0; k < 4; ++k) {
                const bool ownsIt = (k == 0 || k == 3) == (std::string(building) == "A座");
                if (!ownsIt)
                    continue;
                const std::string line = std::string("building=") + building + " floor=" + std::to_string(floor) +
                                         " position=" + std::to_string(k + 1) + " household=" +
                                         std::to_string(k + 1) + " rooms=0 width=1200 height=1800 " +
                                         kFacades[k].facing;
                at = out.find(line, at);
                EXPECT_NE(at, std::string::npos) << line << "\n" << out;
            }
        }
    }
}

TEST_F(TwoPointInsertWindowTest, TypedWidthRunsTowardsTheCursorAndPicksRoundToTheMillimetre)
{
    AddBuilding("A座", 24000, Square(0, 0, 8000));
    // Typed before the cursor moved: no direction yet, so the width is asked again. Then
    // 1200 towards the cursor; too small and too large widths are asked again silently.
    Script("2pwin\nok\n1000,0\n1200\n~1000,-500\n0.0005\n200000\n~5000,0,300\n1200\n"
           "3000,0\n4199.6,0,4000\n"
           "5000,0\n6199.4,0\n*cancel*\n");
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 3u) << Transcript();
    EXPECT_EQ(CountOf(Transcript(), "提示：请先移动光标指明窗宽的方向。"), 1);
    EXPECT_EQ(CountOf(Transcript(), "右窗台点或输入窗宽:"), 3);
    // The typed width takes the cursor's direction, not the point it was typed after.
    EXPECT_EQ(windows[0].window->Width(), 1200);
    ExpectNearPoint(windows[0].origin, {1600, 0, 900}, "typed");
    ExpectNearVector(windows[0].y, {0, -1, 0}, "typed");
    // A right point picked higher is taken at the left point's height; 0.4 short of 1200
    // rounds up, 0.6 short rounds down.
    EXPECT_EQ(windows[1].window->Width(), 1200);
    ExpectNearPoint(windows[1].origin, {3599.8, 0, 900}, "raised right end");
    EXPECT_EQ(windows[2].window->Width(), 1199);
    // Each column takes the next position number.
    EXPECT_EQ(windows[2].window->Index(), 3);
    EXPECT_EQ(g_2pwinDefaults.position, 1u);
}

TEST_F(TwoPointInsertWindowTest, PickingRightBeforeLeftTurnsTheWindowIntoTheBuilding)
{
    Script("2pwin\nok\n2200,0\n1000,0\n*cancel*\n");
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 1u);
    ExpectNearVector(windows[0].y, {0, 1, 0}, "reversed");
    EXPECT_EQ(windows[0].window->BuildName(), "");
}

TEST_F(TwoPointInsertWindowTest, TaggedBuildingsOwnByTheirBoxUnnamedOnesNotAtAll)
{
    const decObjectId tagged = AddMesh({Square(20000, 0, 5000)});
    Tag(tagged, "裙房");
    AddBuilding("", 24000, Square(40000, 0, 5000));
    // 100 outside the tagged box is still its; 150 outside is nobody's; an unnamed building
    // is no owner.
    Script("2pwin\nok\n19000,-100\n21000,-100\n19000,-150\n21000,-150\n41000,0\n42000,0\n*cancel*\n");
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 3u) << Transcript();
    EXPECT_EQ(windows[0].window->BuildName(), "裙房");
    for (std::size_t i = 1; i < 3; ++i)
        EXPECT_EQ(windows[i].window->BuildName(), "") << i;
}

TEST_F(TwoPointInsertWindowTest, RangeErrorsKeepTheDialogOpenAndCancelRemembersNothing)
{
    Script("2pwin\nset 1154 0\nok\nset 1154 10001\nok\nset 1154 10000\nset 1155 0\nok\nset 1155 7\n"
           "set 1156 201\nok\nset 1156 200\nset 1199 -450\ncancel\n");
    const std::string transcript = Transcript();
    EXPECT_EQ(CountOf(transcript, "请输入一个介于 1 和 10000 之间的整数。"), 3) << transcript;
    EXPECT_EQ(CountOf(transcript, "请输入一个介于 1 和 200 之间的整数。"), 1);
    EXPECT_THAT(transcript, HasSubstr("dialog 1091 \"两点插窗\" closed: IDCANCEL"));
    EXPECT_EQ(CountOf(transcript, "左窗台点:"), 0);
    const TwoPointWindowDefaults fresh;
    EXPECT_EQ(g_2pwinDefaults.floor, fresh.floor);
    EXPECT_EQ(g_2pwinDefaults.position, fresh.position);
    EXPECT_EQ(g_2pwinDefaults.repeat, fresh.repeat);
    EXPECT_EQ(g_2pwinDefaults.sill, fresh.sill);

    // The same values accepted: remembered, and the dialog opens with them next time.
    host::EventLog::Instance().Clear();
    Script("2pwin\nset 1154 10000\nset 1155 7\nset 1156 200\nset 1199 -450\nok\n*cancel*\n2pwin\nspin 1274 -1\n"
           "ok\n*cancel*\n");
    EXPECT_EQ(g_2pwinDefaults.position, 7u);
    EXPECT_EQ(g_2pwinDefaults.repeat, 200u);
    // The floor spin's range ends at 200: from 10000 the spin starts at 200 and one step down
    // gives 199, moving the sill by 199 - 10000 storeys.
    EXPECT_EQ(g_2pwinDefaults.floor, 199u);
    EXPECT_EQ(g_2pwinDefaults.sill, -450 + 2900 * (199 - 10000));
}

TEST(WindowFrameTest, SillIsLevelledAndASillWithoutPlanDirectionIsRefused)
{
    GeMatrix3d frame;
    ASSERT_TRUE(MakeWindowFrame(GePoint3d(5, 6, 900), GeVector3d(3, 0, 700), frame));
    GePoint3d origin;
    GeVector3d x, y, z;
    frame.GetCoordSystem(origin, x, y, z);
    ExpectNearVector(x, {1, 0, 0}, "levelled x");
    ExpectNearVector(y, {0, 1, 0}, "y = z × x");
    // An upright or vanishing sill would give a window no facing: the frame is left as it was.
    for (const GeVector3d& none : {GeVector3d(0, 0, 5), GeVector3d(0.0005, 0.0005, 0), GeVector3d()}) {
        GeMatrix3d untouched;
        EXPECT_FALSE(MakeWindowFrame(GePoint3d(), none, untouched));
        EXPECT_TRUE(untouched.IsEqual(GeMatrix3d(), 0.0));
    }
}

TEST(TwoPointWindowDragTest, PreviewShowsTheLevelledSillItsWidthAndTheOutwardSide)
{
    drag_cb_2p_window callback(GePoint3d(1000, 0, 0));
    decView view;
    callback.OnDragDraw(&view, GePoint3d(2199.6, 0, 700));
    ExpectNearPoint(callback.Current(), {2199.6, 0, 0}, "current");
    const std::vector<DrawnPrimitive>& drawn = view.Primitives();
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[0].colour, 0xff0000u);
    ExpectNearPoint(drawn[0].points.back(), {2199.6, 0, 0}, "sill");
    EXPECT_EQ(drawn[1].colour, 0xffffu);
    EXPECT_EQ(drawn[1].text, "1200");
    ExpectNearPoint(drawn[1].points.front(), {1599.8, 0, 0}, "width text");
    // The arrow points to the side the window will face: south, for a sill picked west to east.
    EXPECT_EQ(drawn[2].colour, 0xff00ffu);
    ExpectNearPoint(drawn[2].points.back(), {1599.8, -500, 0}, "arrow tip", 1e-4);
    for (int barb : {3, 4}) {
        EXPECT_NEAR(drawn[barb].points.back().DistanceTo(drawn[barb].points.front()), 200.0, 1e-9);
        EXPECT_NEAR(drawn[barb].points.back().y, -500 + 200 * std::cos(15 * std::acos(-1.0) / 180), 1e-4);
    }
}

}  // namespace
