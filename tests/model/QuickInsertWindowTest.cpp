// The whole-row window command: the spacing grammar, the fit of a row on an edge, and the
// command end to end (edge picked by script lines, dialog answered, windows read back).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "HostSolids.h"
#include "WinBelongBuild.h"
#include "WindowTestSupport.h"

using ::testing::HasSubstr;

namespace {

// A 10 m by 8 m building at the origin (#1), counter-clockwise.
const GePoint3dArray kBlock = {{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}};

using QuickInsertWindowTest = WindowModelTest;

std::vector<float> Parse(const char* text)
{
    CInstQuickWdwDlg dialog;
    dialog.m_strSpacing = text;
    std::vector<float> spacings{-1.0f};
    dialog.ParseSpacing(spacings);
    return spacings;
}

TEST(QuickWindowSpacingTest, GrammarOfTheSpacingListAndItsCap)
{
    const std::pair<const char*, std::vector<float>> cases[] = {
        {"800,1200*3,1000*4,800", {800, 1200, 1200, 1200, 1000, 1000, 1000, 1000, 800}},
        {"*3", {}},
        {"abc", {}},
        {"-800", {800}},
        {"1200*x", {1200}},
        {"1200*0", {}},
        {"1200*-2", {1200, 1200}},
        {"1200*2.7", {1200, 1200}},
        {" 800", {}},
        {"", {}},
        {"900,,abc*2,1.5", {900, 1.5f}},
        {"1e300,800,3.5e38*2", {800}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Parse(text), expected) << text;
    // No row uses more than 999 spacings: a repeat that would eat the memory, or overflow an
    // int, gives that many and no more, in the order written.
    EXPECT_EQ(Parse("1200*99999999999999999999999999").size(), QuickWindow::kMaxSpacings);
    const std::vector<float> mixed = Parse("1000*500,800*600,700");
    ASSERT_EQ(mixed.size(), QuickWindow::kMaxSpacings);
    EXPECT_EQ(std::vector<float>({mixed[499], mixed[500], mixed.back()}), std::vector<float>({1000, 800, 800}));
}

// Rows fitted on an edge: the documented cases, then the invariants of random rows (every
// window on the edge, the spacings between them as listed, the next one, if any is listed,
// off the edge, and a centred row as far from both ends).
TEST(QuickWindowLayoutTest, RowsOnAnEdge)
{
    struct Case {
        const char* what;
        double length;
        int width, margin;
        std::vector<float> spacings;
        bool centre;
        std::vector<double> offsets;
        int margin_after;
    };
    const Case cases[] = {
        {"fourth ends at the end", 10000, 1500, 1000, {1000, 1000, 1000, 1000}, false, {1000, 3500, 6000, 8500}, 1000},
        {"centred", 10000, 1500, 1000, {1000, 1000, 1000, 1000}, true, {500, 3000, 5500, 8000}, 500},
        {"first spacings only", 10000, 1500, 1000, {800, 1200}, false, {1000, 3300, 6000}, 1000},
        {"one exactly", 2500, 1500, 1000, {1000}, false, {1000}, 1000},
        {"none fits", 2499, 1500, 1000, {}, false, {}, 1000},
        {"centring drops the margin", 2000, 1500, 1000, {}, true, {250}, 250},
        {"wider than the edge", 1000, 1500, 0, {}, true, {}, 0},
        {"far edge from its end", 1e12, 1500, 1000, {1000}, false, {1000, 3500}, 1000},
        {"centred on an edge beyond an int", 1e12, 1500, 1000, {1000}, true, {}, 0},
        {"centred on an edge beyond the doubles", std::numeric_limits<double>::infinity(), 1500, 0, {}, true, {}, 0},
    };
    for (const Case& c : cases) {
        const QuickWindow::RowLayout row = QuickWindow::LayoutRow(c.length, c.width, c.margin, c.spacings, c.centre);
        EXPECT_EQ(row.offsets, c.offsets) << c.what;
        EXPECT_EQ(row.startMargin, c.margin_after) << c.what;
    }

    std::mt19937 random(22);
    std::uniform_int_distribution<int> size(300, 3000);
    std::uniform_int_distribution<int> count(0, 12);
    for (int run = 0; run < 400; ++run) {
        const double length = size(random) * 10.0;
        const int width = size(random);
        const int margin = size(random) / 3;
        std::vector<float> spacings(static_cast<std::size_t>(count(random)));
        for (float& s : spacings)
            s = static_cast<float>(size(random) / 2);
        const bool centre = run % 2 == 1;
        const QuickWindow::RowLayout row = QuickWindow::LayoutRow(length, width, margin, spacings, centre);
        const std::string what = "run " + std::to_string(run);
        if (row.offsets.empty()) {
            EXPECT_GT((centre ? 0 : margin) + width, length) << what;
            continue;
        }
        EXPECT_EQ(row.offsets.front(), row.startMargin) << what;
        for (std::size_t w = 1; w < row.offsets.size(); ++w)
            EXPECT_DOUBLE_EQ(row.offsets[w] - row.offsets[w - 1], width + spacings[w - 1]) << what;
        const double end = row.offsets.back() + width;
        const double firstEnd = (centre ? 0 : margin) + (end - row.startMargin);
        EXPECT_LE(firstEnd, length) << what;
        if (row.offsets.size() <= spacings.size()) {
            EXPECT_GT(firstEnd + spacings[row.offsets.size() - 1] + width, length) << what;
        }
        if (centre) {
            EXPECT_NEAR(row.startMargin, length - end, 1.0) << what;
        }
    }
}

TEST_F(QuickInsertWindowTest, WallFilledOverSeveralStoreysFromEitherEnd)
{
    AddBuilding("A座", 30000, kBlock);
    // From the west end: floors 3 and 4, five windows asked for, four fit; positions from 5.
    Script("qwin\n#1@2000,0\n\nset 1158 5\nset 1222 3\nset 1223 2\nset 1277 3000\nset 1292 5\nok\n"
           // From the east end of the same edge, one storey of two windows spaced 500; the
           // start floor opens at 1 again, the position number as it was accepted.
           "#1@9000,0\n\nset 1158 2\nset 1223 1\nset 1161 500\nok\n*cancel*\n");
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 10u) << Transcript();
    struct Expected {
        int floor, position;
        double x, z;
    };
    const Expected expected[] = {
        {3, 5, 1750, 900},  {3, 6, 4250, 900},  {3, 7, 6750, 900},  {3, 8, 9250, 900},  {4, 5, 1750, 3900},
        {4, 6, 4250, 3900}, {4, 7, 6750, 3900}, {4, 8, 9250, 3900}, {1, 5, 8250, 900}, {1, 6, 6250, 900},
    };
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const CWindow& w = *windows[i].window;
        const std::string what = "window " + std::to_string(i);
        EXPECT_EQ(w.Floor(), expected[i].floor) << what;
        EXPECT_EQ(w.Index(), expected[i].position) << what;
        EXPECT_EQ(w.Door(), std::to_string(expected[i].position).c_str()) << what;
        EXPECT_EQ(w.BuildName(), "A座") << what;
        EXPECT_EQ(w.Width(), 1500) << what;
        EXPECT_EQ(w.Height(), 1200) << what;
        // Out of the building, whichever end the row started from.
        ExpectFrame(windows[i], {expected[i].x, 0, expected[i].z}, {0, -1, 0}, what);
    }
    // What was accepted is offered again; the analysis side reads the windows back.
    EXPECT_EQ(std::vector<CString>({g_quickWinSpacingText, g_quickWinStoreyHeightText}),
              std::vector<CString>({"500", "3000"}));
    Script("windows\n");
    EXPECT_THAT(Transcript(), HasSubstr("10 windows\n"));
}

TEST_F(QuickInsertWindowTest, CentredRowOnASolidFacesOutwardsFromTheSpunStartFloor)
{
    // A plain extrusion 4 m along its east wall; an existing window layer keeps its colour.
    Script("layer 窗\nlayer 0\nextrude 3000 0,0 6000,0 6000,4000 0,4000\n");
    const decObjectId solid(Db()->NextHandle() - 1);
    Db()->Layers().SearchLayer("窗")->SetColor(0x123456);
    // The start floor spun to 2 raises the sill by one storey.
    Script("qwin\n" + Handle(solid) + "@6000,1000\n\nset 1158 2\ncheck 1224 1\nset 1277 3000\nspin 1274 1\nok\n"
           "*cancel*\n");
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 2u) << Transcript();
    // Two windows and one spacing use 4000: centred, no margin is left on either side.
    ExpectFrame(windows[0], {6000, 750, 3900}, {1, 0, 0}, "first");
    ExpectFrame(windows[1], {6000, 3250, 3900}, {1, 0, 0}, "second");
    EXPECT_EQ(windows[0].window->Floor(), 2);
    EXPECT_EQ(windows[0].window->BuildName(), "");
    EXPECT_EQ(Db()->Layers().SearchLayer("窗")->GetColor(), 0x123456u);
    // A centred row remembers no margin.
    EXPECT_EQ(g_quickWinDefaults.startMargin, 0.0f);
    EXPECT_EQ(g_quickWinDefaults.sill, 3900.0f);
}

TEST_F(QuickInsertWindowTest, RefusalsKeepTheDialogOpenOrEndThePass)
{
    AddBuilding("A座", 30000, kBlock);
    Script("qwin\n#1@2000,0\n\n"
           "set 1154 0\nset 1155 -3\nset 1157 -1\n"    // refused as typed, old values back
           "set 1158 3\nset 1161 abc,*2\nok\n"          // no usable spacing for three windows
           "set 1277 0\nok\n"                           // no storey height
           "set 1223 2\nok\n*cancel*\n");
    for (const char* message : {"[建筑插窗] 窗宽应大于0!", "[快速插窗] 窗高应大于0!", "[快速插窗] 起始边距应大于等于0!",
                                "[错误] 布置多个门窗需要输入窗间距。", "[错误] 请输入合理的层高值。"})
        EXPECT_THAT(Transcript(), HasSubstr(message));
    EXPECT_EQ(CountOf(Transcript(), "dialog 1063 \"快速布窗\" opened"), 1);
    // The dialog put 1000.0 and 2700 in place of the refused texts.
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 6u) << Transcript();
    EXPECT_EQ(windows[0].window->Width(), 1500);
    EXPECT_EQ(windows[0].window->Height(), 1200);
    ExpectNearPoint(windows[1].origin, {4250, 0, 900}, "second");
    ExpectNearPoint(windows[5].origin, {6750, 0, 3600}, "last");

    // A pick inside the outline takes no edge and is asked again; nothing picked ends it.
    Script("qwin\n#1@5000,4000\n\n");
    EXPECT_THAT(Transcript(), HasSubstr("提示：请选择立面或墙面的底边或顶边。\n请选择要插窗的立面:\n"));
    EXPECT_THAT(Transcript(), HasSubstr("提示：没有选中墙面，命令退出！"));
    // An edge too short for one window says so and the command goes on.
    Script("qwin\n#1@2000,0\n\nset 1154 9500\nok\n*cancel*\n");
    EXPECT_EQ(Windows().size(), 6u);
    EXPECT_THAT(Transcript(), HasSubstr("提示：墙边长度不足，一个窗也放不下，未插入窗。"));
}

// A row that would slip into a bay's record beside the window bearing its identifier makes
// nothing and leaves the dialog open; 窗位 moved past the used number makes it.
TEST_F(QuickInsertWindowTest, ARowRefusedByARecordLeavesTheDialogForItsPositionNumber)
{
    AddBuilding("A座", 30000, kBlock);
    AddWindow({.building = "A座", .sill = {1750, 0, 900}});
    const decObjectId bay = AddSolid(new decDbBox(2500, 1500, 9000));
    Tag(bay, "A座");
    WinBelongBuild::AttachWindowIds(Entity(bay), {"A座-1-1"});
    Script("qwin\n#1@9000,8000\n\nset 1158 2\nok\nset 1292 2\nok\n*cancel*\n");
    EXPECT_EQ(CountOf(Transcript(), "[错误] 错误：修改后将有多个窗口编号为A座-1-1"), 1);
    EXPECT_EQ(CountOf(Transcript(), "dialog 1063 \"快速布窗\" opened"), 1);
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(windows[2].window->Index(), 3);
}

// The sill and the start margin go into floats that the next run reads back as ints: at OK a
// value the float would not give back unchanged is refused (the dialog stays open, the field
// back at its remembered value), one a float holds exactly is taken and opens the next run
// as typed; a text no int holds is refused by the exchange (the margin as it is typed, the
// old one staying).
TEST_F(QuickInsertWindowTest, SillsAndMarginsAreTakenOnlyWhenTheirRememberedFloatsGiveThemBack)
{
    constexpr const char* kSill = "[错误] 请输入合理的窗台标高值。";
    constexpr const char* kMargin = "[错误] 请输入合理的起始边距值。";
    constexpr const char* kNoInt = "请输入一个整数。";
    const struct {
        int id;
        const char* typed;
        const char* refusal;  // empty: none
        bool closes;          // with OK
        int remembered;
    } cases[] = {
        {1156, "16777216", "", true, 16777216},      {1156, "16777217", kSill, false, 900},
        {1156, "2147483520", "", true, 2147483520},  {1156, "2147483647", kSill, false, 900},
        {1156, "-2147483648", "", true, -2147483647 - 1}, {1156, "2147483648", kNoInt, false, 900},
        {1157, "16777216", "", true, 16777216},      {1157, "16777217", kMargin, false, 1000},
        {1157, "1073741824", "", true, 1073741824},  {1157, "inf", kNoInt, true, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.typed);
        SetUp();
        AddBuilding("A座", 30000, kBlock);
        Script("qwin\n#1@2000,0\n\nset " + std::to_string(c.id) + " " + c.typed + "\nok\n" +
               (c.closes ? "*cancel*\n" : "cancel\n"));
        const std::string out = Transcript();
        EXPECT_THAT(out, HasSubstr(c.refusal));
        EXPECT_THAT(out, HasSubstr(c.closes ? "closed: IDOK" : "closed: IDCANCEL"));
        const bool sill = c.id == 1156;
        EXPECT_EQ(sill ? g_quickWinDefaults.sill : g_quickWinDefaults.startMargin, static_cast<float>(c.remembered));
        if (sill) {
            EXPECT_EQ(CInstQuickWdwDlg().m_nSill, c.remembered);
        }
    }
}

}  // namespace
