// The two-point window command end to end: the dialog answered by script lines, sill points
// picked or a width typed, and the columns of windows it leaves on the facades; the window
// frame the insertion commands share.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "WindowCreation.h"
#include "WindowTestSupport.h"

using ::testing::HasSubstr;

namespace {

using TwoPointInsertWindowTest = WindowModelTest;

// A 10 m by 8 m building; each facade's sill picked left then right as seen from outside.
struct Facade {
    const char* left;
    const char* right;
    GePoint3d middle;
    GeVector3d outward;
    const char* facing;  // as the analysis read-back prints the angle
};
const Facade kFacades[] = {
    {"1000,0", "2200,0", {1600, 0, 0}, {0, -1, 0}, "angle=4.71238898 (270°)"},
    {"10000,1000", "10000,2200", {10000, 1600, 0}, {1, 0, 0}, "angle=0 (0°)"},
    {"9000,8000", "7800,8000", {8400, 8000, 0}, {0, 1, 0}, "angle=1.570796327 (90°)"},
    {"0,7000", "0,5800", {0, 6400, 0}, {-1, 0, 0}, "angle=3.141592654 (180°)"},
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
    const long layer = Db()->Layers().SearchLayer("窗")->GetLayerId();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const int column = static_cast<int>(i / 3) + 1, storey = static_cast<int>(i % 3);
        const CWindow& w = *windows[i].window;
        const std::string what = "column " + std::to_string(column) + " storey " + std::to_string(storey);
        EXPECT_EQ(w.Floor(), 2 + storey) << what;
        EXPECT_EQ(w.Index(), column) << what;
        EXPECT_EQ(w.Door(), std::to_string(column).c_str()) << what;
        // The south and west sills lie on both outlines and go to A座; the others are
        // further than 100 from A座's.
        EXPECT_EQ(w.BuildName(), (column == 1 || column == 4) ? "A座" : "B座") << what;
        EXPECT_EQ(w.Width(), 1200) << what;
        EXPECT_EQ(w.Height(), 1800) << what;
        EXPECT_EQ(std::vector<double>({w.HorDimHeight(), w.VerDimHeight(), w.Scale()}),
                  std::vector<double>({3.0, 1.5, 200.0}))
            << what;
        EXPECT_EQ(windows[i].entity->GetLayerId(), layer) << what;
        EXPECT_EQ(windows[i].entity->GetMaterialId(), Db()->Materials().GetIdByName("蓝色窗")) << what;
        ExpectFrame(windows[i], kFacades[i / 3].middle + GeVector3d(0, 0, 3800 + 3000 * storey),
                    kFacades[i / 3].outward, what);
    }

    // The analysis side reads them by building, floor and position, facing away from the
    // building.
    host::EventLog::Instance().Clear();
    Script("windows\n");
    std::size_t at = 0;
    for (const std::string building : {"A座", "B座"})
        for (int floor = 2; floor <= 4; ++floor)
            for (std::size_t k = 0; k < 4; ++k) {
                if ((k == 0 || k == 3) != (building == "A座"))
                    continue;
                const std::string line = "building=" + building + " floor=" + std::to_string(floor) +
                                         " position=" + std::to_string(k + 1) + " household=" +
                                         std::to_string(k + 1) + " rooms=0 width=1200 height=1800 " +
                                         kFacades[k].facing;
                at = Transcript().find(line, at);
                EXPECT_NE(at, std::string::npos) << line << "\n" << Transcript();
            }
}

TEST_F(TwoPointInsertWindowTest, TypedWidthRunsTowardsTheCursorAndPicksRoundToTheMillimetre)
{
    AddBuilding("A座", 24000, Square(0, 0, 8000));
    // Typed before the cursor moved: no direction yet, so the width is asked again (no window
    // with a NaN frame). Then 1200 towards the cursor; too small and too large widths are
    // asked again silently. Picked right end before left end, the window faces inwards.
    Script("2pwin\nok\n1000,0\n1200\n~1000,-500\n0.0005\n200000\n~5000,0,300\n1200\n"
           "3000,0\n4199.6,0,4000\n5000,0\n6199.4,0\n7200,0\n6000,0\n*cancel*\n");
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 4u) << Transcript();
    EXPECT_EQ(CountOf(Transcript(), "提示：请先移动光标指明窗宽的方向。"), 1);
    EXPECT_EQ(CountOf(Transcript(), "右窗台点或输入窗宽:"), 4);
    // The typed width takes the cursor's direction, not the point it was typed after.
    EXPECT_EQ(windows[0].window->Width(), 1200);
    ExpectFrame(windows[0], {1600, 0, 900}, {0, -1, 0}, "typed");
    // A right end picked higher is taken at the left end's height; 0.4 short of 1200 rounds
    // up, 0.6 short rounds down.
    EXPECT_EQ(windows[1].window->Width(), 1200);
    ExpectNearPoint(windows[1].origin, {3599.8, 0, 900}, "raised right end");
    EXPECT_EQ(windows[2].window->Width(), 1199);
    ExpectFrame(windows[3], {6600, 0, 900}, {0, 1, 0}, "reversed");
    // Each column takes the next position number; the dialog's stays.
    EXPECT_EQ(windows[3].window->Index(), 4);
    EXPECT_EQ(g_2pwinDefaults.position, 1u);
}

TEST_F(TwoPointInsertWindowTest, TaggedBuildingsOwnByTheirBoxUnnamedOnesNotAtAll)
{
    Tag(AddMesh({}), "空体");
    Tag(AddMesh({Square(20000, 0, 5000)}), "裙房");
    AddBuilding("", 24000, Square(40000, 0, 5000));
    // 100 outside the tagged box is still its; 150 outside is nobody's; an unnamed building
    // is no owner; a tagged body without a mesh has no box (its first vertex was read from
    // an empty list) and owns nothing.
    Script("2pwin\nok\n19000,-100\n21000,-100\n19000,-150\n21000,-150\n41000,0\n42000,0\n*cancel*\n");
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 3u) << Transcript();
    EXPECT_EQ(windows[0].window->BuildName(), "裙房");
    EXPECT_EQ(windows[1].window->BuildName(), "");
    EXPECT_EQ(windows[2].window->BuildName(), "");
}

TEST_F(TwoPointInsertWindowTest, RangeErrorsKeepTheDialogOpenAndCancelRemembersNothing)
{
    Script("2pwin\nset 1154 0\nok\nset 1154 10001\nok\nset 1154 10000\nset 1155 0\nok\nset 1155 7\n"
           "set 1156 201\nok\nset 1156 200\nset 1199 -450\ncancel\n");
    const std::string transcript = Transcript();
    EXPECT_EQ(CountOf(transcript, "请输入一个介于 1 和 10000 之间的整数。"), 3) << transcript;
    EXPECT_EQ(CountOf(transcript, "请输入一个介于 1 和 200 之间的整数。"), 1);
    EXPECT_THAT(transcript, HasSubstr("dialog 1091 \"两点插窗\" closed: IDCANCEL"));
    const TwoPointWindowDefaults fresh;
    EXPECT_EQ(g_2pwinDefaults.floor, fresh.floor);
    EXPECT_EQ(g_2pwinDefaults.position, fresh.position);
    EXPECT_EQ(g_2pwinDefaults.repeat, fresh.repeat);
    EXPECT_EQ(g_2pwinDefaults.sill, fresh.sill);

    // The same values accepted: remembered, and the dialog opens with them next time.
    Script("2pwin\nset 1154 10000\nset 1155 7\nset 1156 200\nset 1199 -450\nok\n*cancel*\n2pwin\nspin 1274 -1\n"
           "ok\n*cancel*\n");
    EXPECT_EQ(g_2pwinDefaults.position, 7u);
    EXPECT_EQ(g_2pwinDefaults.repeat, 200u);
    // The floor spin's range ends at 200: from 10000 the spin starts at 200 and one step down
    // gives 199, moving the sill by 199 - 10000 storeys.
    EXPECT_EQ(g_2pwinDefaults.floor, 199u);
    EXPECT_EQ(g_2pwinDefaults.sill, -450 + 2900 * (199 - 10000));
}

// A window or storey height of 0 or less (text reads as 0) is refused at OK the way orderwin
// refuses it: the dialog stays open and remembers nothing; the column made once the value is
// mended reads back with the mended heights, a storey apart.
TEST_F(TwoPointInsertWindowTest, HeightsOfZeroOrLessAreRefusedAtOk)
{
    const struct {
        int box;
        const char* typed;
        const char* message;
    } cases[] = {
        {1278, "0", "[两点插窗] 窗高应大于0!"},     {1278, "-1500", "[两点插窗] 窗高应大于0!"},
        {1278, "高", "[两点插窗] 窗高应大于0!"},    {1277, "-3000", "[两点插窗] 层高应大于0!"},
        {1277, "0", "[两点插窗] 层高应大于0!"},     {1277, "层高", "[两点插窗] 层高应大于0!"},
    };
    for (const auto& c : cases) {
        SetUp();
        const std::string what = std::to_string(c.box) + " " + c.typed;
        AddBuilding("A座", 24000, Square(0, 0, 8000));
        Script("2pwin\nset 1156 2\nset " + std::to_string(c.box) + " " + c.typed +
               "\nok\nset 1278 1800\nset 1277 3000\nok\n1000,0\n2200,0\n*cancel*\n");
        EXPECT_EQ(CountOf(Transcript(), c.message), 1) << what << Transcript();
        EXPECT_EQ(CountOf(Transcript(), "dialog 1091 \"两点插窗\" opened"), 1) << what;
        const std::vector<PlacedWindow> windows = Windows();
        ASSERT_EQ(windows.size(), 2u) << what;
        for (int floor : {1, 2}) {
            const CWindow& w = *windows[floor - 1].window;
            EXPECT_NEAR(windows[floor - 1].origin.z, 900 + 3000 * (floor - 1), 1e-9) << what;
            EXPECT_EQ(std::tuple(w.Floor(), w.Width(), w.Height()), std::tuple(floor, 1200, 1800)) << what;
        }
        EXPECT_EQ(std::pair(g_2pwinDefaults.windowHeight, g_2pwinDefaults.storeyHeight), std::pair(1800, 3000)) << what;
    }
}

TEST(WindowFrameTest, SillIsLevelledAndASillWithoutPlanDirectionIsRefused)
{
    GeMatrix3d frame;
    ASSERT_TRUE(MakeWindowFrame(GePoint3d(5, 6, 900), GeVector3d(3, 0, 700), frame));
    EXPECT_TRUE(frame.IsEqual(WindowFrame({5, 6, 900}, {0, 1, 0}), 1e-12));
    // An upright or vanishing sill would give a window no facing, a sill that overflowed no
    // place: the frame is left as it was.
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<GePoint3d, GeVector3d> refused[] = {
        {GePoint3d(), GeVector3d(0, 0, 5)},       {GePoint3d(), GeVector3d(0.0005, 0.0005, 0)},
        {GePoint3d(), GeVector3d()},              {GePoint3d(inf, 0, 0), GeVector3d(1, 0, 0)},
        {GePoint3d(0, 0, -inf), GeVector3d(1, 0, 0)}, {GePoint3d(), GeVector3d(inf, 1, 0)},
    };
    for (const auto& [origin, axis] : refused) {
        GeMatrix3d untouched;
        EXPECT_FALSE(MakeWindowFrame(origin, axis, untouched)) << origin.x << "," << origin.z << " " << axis.x;
        EXPECT_TRUE(untouched.IsEqual(GeMatrix3d(), 0.0));
    }
}

}  // namespace
