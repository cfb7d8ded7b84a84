// The gable roof dialog answered by script lines: what it shows, what it remembers, which
// controls it enables, which preview each change redraws, and what it refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "GableRoofDlg.h"
#include "RoofTestSupport.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

// The dialog over a 10000 × 6000 outline at the height top, ridge along its long middle
// line; it notes what its controls show once it is open and can turn the mouse wheel over
// its plan preview.
class ProbeDlg : public CGableRoofDlg {
public:
    explicit ProbeDlg(double top)
    {
        m_outline = Rectangle(10000, 6000, top);
        m_ridgeStart = {0, 3000, top};
        m_ridgeEnd = {10000, 3000, top};
    }
    std::map<int, std::string> shown;
    bool wheel = false;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CGableRoofDlg::OnInitDialog();
        for (int id : {1156, 1157, 1158, 1159, 1160, 1161}) {
            CString text;
            GetDlgItemText(id, text);
            shown[id] = text.GetString();
        }
        if (wheel) {
            CRect rect;
            m_planPreview.GetWindowRect(&rect);
            SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            MSG message;
            message.message = WM_MOUSEWHEEL;
            message.wParam = 120;
            PreTranslateMessage(&message);
            SetCursorPos(0, 0);
        }
        return result;
    }
};

class GableRoofDlgTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        g_gableRoofDefaults = GableRoofDefaults();
    }
    // Runs the dialog on the lines; gives what the controls showed when it opened.
    std::map<int, std::string> Run(ProbeDlg& dlg, const std::string& lines)
    {
        Answer(lines);
        dlg.DoModal();
        return dlg.shown;
    }
};

// The first run shows the ridge 3000 above the top and the walls at the top; OK remembers
// the overhangs, the thickness and the ridge's height above the base for the next run.
TEST_F(GableRoofDlgTest, FirstValuesAndRememberedOnes)
{
    ProbeDlg first(9000);
    const auto shown = Run(first, "set 1157 500\nset 1158 300\nset 1161 2\nset 1156 10000\nok\n");
    EXPECT_EQ(shown.at(1156), "12000");
    EXPECT_EQ(shown.at(1159), "9000");
    EXPECT_EQ(shown.at(1160), "9000");
    EXPECT_EQ(shown.at(1157), "0");

    ProbeDlg next(6000);
    const auto again = Run(next, "cancel\n");
    EXPECT_EQ(again.at(1157), "500");
    EXPECT_EQ(again.at(1158), "300");
    EXPECT_EQ(again.at(1161), "2");
    EXPECT_EQ(again.at(1156), "7000");
    EXPECT_EQ(again.at(1159), "6000");
}

// The last enable state of each of the four controls after the lines.
std::map<int, char> EnableStates()
{
    std::map<int, char> states;
    const std::string prefix = "EnableWindow dialog 1103 control ";
    for (const std::string& call : host::EventLog::Instance().Calls(prefix))
        states[std::stoi(call.substr(prefix.size(), 4))] = call.back();
    return states;
}

TEST_F(GableRoofDlgTest, ModeAndEqualSlopesEnableTheirControls)
{
    const struct {
        const char* lines;
        const char* states;  // 1159 1160 1299 1300
    } cases[] = {
        {"", "1100"},
        {"check 1308 1\n", "1000"},
        {"radio 1312\n", "0011"},
        {"radio 1312\ncheck 1308 1\n", "0010"},
    };
    for (const auto& c : cases) {
        host::EventLog::Instance().Clear();
        ProbeDlg dlg(0);
        Run(dlg, std::string(c.lines) + "cancel\n");
        const auto states = EnableStates();
        const std::string got = {states.at(1159), states.at(1160), states.at(1299), states.at(1300)};
        EXPECT_EQ(got, c.states) << c.lines;
    }
}

// With equal slopes in wall-top mode the right wall top follows the left one.
TEST_F(GableRoofDlgTest, EqualSlopesByWallTopsMirrorTheLeftSide)
{
    ProbeDlg dlg(0);
    Run(dlg, "set 1159 1000\nset 1160 2500\ncheck 1308 1\nok\n");
    ASSERT_EQ(dlg.m_leftRoofPolygons.size(), 1u);
    ASSERT_EQ(dlg.m_rightRoofPolygons.size(), 1u);
    GeBoundBox3d left, right;
    for (const GePoint3d& p : dlg.m_leftRoofPolygons[0])
        left.Extend(p);
    for (const GePoint3d& p : dlg.m_rightRoofPolygons[0])
        right.Extend(p);
    EXPECT_NEAR(left.MinPoint().z, 1000, 1e-6);
    EXPECT_NEAR(right.MinPoint().z, 1000, 1e-6);
}

TEST_F(GableRoofDlgTest, EachChangeRedrawsItsPreviews)
{
    ProbeDlg gable(5000);
    Run(gable, "set 1158 300\nleave 1158\ncancel\n");
    EXPECT_EQ(gable.m_planPreview.RegenCount(), 2);
    EXPECT_EQ(gable.m_frontPreview.RegenCount(), 1);

    ProbeDlg eave(5000);
    Run(eave, "set 1157 300\nleave 1157\ncancel\n");
    EXPECT_EQ(eave.m_planPreview.RegenCount(), 2);
    EXPECT_EQ(eave.m_frontPreview.RegenCount(), 2);

    // An angle chosen from the list, which cannot be read from the control yet, still
    // computes above the base: the ridge mark stands 3000 up in the front view, not at the
    // absolute 8000.
    ProbeDlg chosen(5000);
    Run(chosen, "radio 1312\nchoose 1299 0\ncancel\n");
    EXPECT_EQ(chosen.m_leftAngle, "15");
    EXPECT_EQ(chosen.m_frontPreview.RegenCount(), 3);
    EXPECT_EQ(chosen.m_frontPreview.Scene().back().points.front(), GePoint3d(0, 3000, 0));
}

TEST_F(GableRoofDlgTest, RefusedValuesKeepTheDialogOpenAndBuildNothing)
{
    const struct {
        const char* lines;
        const char* message;
    } cases[] = {
        {"set 1157 100001\n", "请输入一个介于 0 和 100000 之间的整数。"},
        {"set 1161 -1\n", "> ok\n["},
        {"radio 1312\nset 1299 1234\n", "请输入一个介于 -89 和 89 之间的数字。"},
        {"radio 1312\nset 1300 90\n", "请输入一个介于 -89 和 89 之间的数字。"},
    };
    for (const auto& c : cases) {
        host::EventLog::Instance().Clear();
        ProbeDlg dlg(0);
        Run(dlg, std::string(c.lines) + "ok\ncancel\n");
        const std::string out = Transcript();
        EXPECT_THAT(out, HasSubstr(c.message)) << c.lines;
        EXPECT_THAT(out, HasSubstr("> ok\n[")) << c.lines;
        EXPECT_THAT(out, HasSubstr("closed: IDCANCEL")) << c.lines;
        EXPECT_TRUE(Db()->AllObjects().empty()) << c.lines;
        EXPECT_EQ(g_gableRoofDefaults.ridgeHeight, 3000) << c.lines;
    }
}

TEST_F(GableRoofDlgTest, TheWheelReachesThePreviewUnderThePointer)
{
    ProbeDlg dlg(0);
    dlg.wheel = true;
    Run(dlg, "cancel\n");
    EXPECT_EQ(host::EventLog::Instance().Calls("SendMessage"), std::vector<std::string>{"SendMessage 522 to 100"});
    EXPECT_FALSE(dlg.m_planPreview.IsAxisShown());
}

}  // namespace
