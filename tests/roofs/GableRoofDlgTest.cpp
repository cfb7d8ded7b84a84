// The gable roof dialog in-process: its geometry over an outline and a ridge (overhangs from
// every start vertex, the planes against the wall tops, the previews, a roof that cannot be
// computed), and the dialog answered by script lines (what it shows and remembers, which
// controls it enables, which preview each change redraws, what it refuses).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "GableRoofDlg.h"
#include "RoofTestSupport.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;
using Polygon = CGableRoofDlg::Polygon;

constexpr double kL = 10000, kW = 6000, kH = 3000;

class GableRoofGeometryTest : public ModuleTest {};

// A dialog over the outline and ridge (world), with the frame, eave outline and roof
// computed as the dialog does when it opens.
std::unique_ptr<CGableRoofDlg> Geometry(const Polygon& outline, GePoint3d start, GePoint3d end, UINT eave = 0,
                                        UINT gable = 0, int ridge = 3000)
{
    auto dlg = std::make_unique<CGableRoofDlg>();
    dlg->m_outline = outline;
    start.z = end.z = outline.front().z;
    dlg->m_ridgeStart = start;
    dlg->m_ridgeEnd = end;
    dlg->m_eaveOverhang = eave;
    dlg->m_gableOverhang = gable;
    dlg->m_ridgeElevation = ridge;
    dlg->InitGeometry();
    dlg->UpdateOutline();
    dlg->UpdateRoof();
    return dlg;
}

// The rectangle L x W at the base height, its ridge along the long middle line.
const Polygon kRectangle = Rectangle(kL, kW, 4500);
const GePoint3d kRidgeFrom(0, kW / 2, 0), kRidgeTo(kL, kW / 2, 0);

// The long edges move out by E, the gable edges by G, whichever vertex the outline starts at
// and whichever way it runs (in the roof's frame the ridge runs along +y from the origin).
TEST_F(GableRoofGeometryTest, EaveAndGableOverhangsFromEveryStartVertex)
{
    for (const bool reversed : {false, true}) {
        for (int start = 0; start < 4; ++start) {
            SCOPED_TRACE(testing::Message() << "start " << start << (reversed ? " reversed" : ""));
            Polygon outline = kRectangle;
            if (reversed)
                std::reverse(outline.begin(), outline.end());
            std::rotate(outline.begin(), outline.begin() + start, outline.end());
            const auto dlg = Geometry(outline, kRidgeFrom, kRidgeTo, 500, 300);
            EXPECT_EQ(dlg->m_eaveOutline.size(), 4u);
            ExpectExtents(Extents({dlg->m_eaveOutline}), {-kW / 2 - 500, -300, 0}, {kW / 2 + 500, kL + 300, 0}, 1e-6);
            EXPECT_NEAR(std::fabs(SignedPlanArea(dlg->m_eaveOutline)), (kW + 1000) * (kL + 600), 1e-3);
        }
    }
}

// Both planes hold the ridge and the top of every wall lies on one of them.
TEST_F(GableRoofGeometryTest, PlanesHoldTheRidgeAndTheWallTops)
{
    const auto dlg = Geometry({{0, 0, 0}, {8000, 0, 0}, {8000, 5000, 0}, {3000, 9000, 0}, {0, 5000, 0}},
                              {4000, -100, 0}, {4000, 100, 0}, 0, 0, 2500);
    dlg->m_leftWallTop = 400;
    dlg->m_rightWallTop = -300;
    dlg->UpdateRoof();
    dlg->ComputeGableWalls();
    for (const GePlane* plane : {&dlg->m_leftPlane, &dlg->m_rightPlane}) {
        EXPECT_TRUE(plane->IsOn(GePoint3d(0, -500, 2500), 1e-6));
        EXPECT_TRUE(plane->IsOn(GePoint3d(0, 7000, 2500), 1e-6));
    }
    ASSERT_FALSE(dlg->m_wallPolygons.empty());
    for (const Polygon& wall : dlg->m_wallPolygons)
        for (const GePoint3d& p : wall) {
            if (p.z > 1e-6) {
                EXPECT_TRUE(dlg->m_leftPlane.IsOn(p, 1e-6) || dlg->m_rightPlane.IsOn(p, 1e-6)) << p.x << "," << p.y;
            }
        }
}

// The plan view: one polyline per roof polygon, each side in its colour, and the ridge line
// spanning the outline; the front view: the slope rising to the ridge and the one falling
// from it, the outline line and the ridge's circle. With wall tops above the ridge (a roof
// falling to a valley along it) both slopes fall to the ridge from their walls.
TEST_F(GableRoofGeometryTest, PreviewsShowThePiecesTheRidgeAndTheSlopes)
{
    for (const auto& [left, right] : {std::pair(0, 0), std::pair(4000, 3500)}) {
        SCOPED_TRACE(left);
        const auto dlg = Geometry(kRectangle, kRidgeFrom, kRidgeTo);
        dlg->m_leftWallTop = left;
        dlg->m_rightWallTop = right;
        dlg->UpdateRoof();
        dlg->RegenPreview();
        dlg->DrawPreview();
        const auto& plan = dlg->m_planPreview.Scene();
        ASSERT_EQ(plan.size(), 3u);
        EXPECT_EQ(plan[0].points, dlg->m_leftRoofPolygons.front());
        EXPECT_EQ(plan[1].points, dlg->m_rightRoofPolygons.front());
        EXPECT_NE(plan[0].colour, plan[1].colour);
        EXPECT_EQ(plan[2].kind, GsPrimitive::Kind::Line);
        EXPECT_THAT(plan[2].points, ElementsAre(GePoint3d(0, 0, 0), GePoint3d(0, kL, 0)));

        const auto& front = dlg->m_frontPreview.Scene();
        ASSERT_EQ(front.size(), 4u);
        EXPECT_THAT(front[0].points, ElementsAre(GePoint3d(-kW / 2, left, 0), GePoint3d(0, kH, 0)));
        EXPECT_THAT(front[1].points, ElementsAre(GePoint3d(0, kH, 0), GePoint3d(kW / 2, right, 0)));
        EXPECT_EQ(front[2].colour, 0xffffffu);
        EXPECT_EQ(front[3].kind, GsPrimitive::Kind::Circle);
        EXPECT_EQ(front[3].points.front(), GePoint3d(0, kH, 0));
    }
}

// Pieces whose vertical lines miss their plane (a vertical plane) make nothing; both sides
// empty is reported.
TEST_F(GableRoofGeometryTest, ARoofThatCannotBeComputedMakesNothing)
{
    const auto dlg = Geometry(kRectangle, kRidgeFrom, kRidgeTo);
    dlg->m_leftPlane.Set(GePoint3d(), GeVector3d::kXAxis);
    dlg->ComputeVertexHeights();
    dlg->ComputeGableWalls();
    dlg->TransformToWorld();
    dlg->CreateRoofEntities();
    EXPECT_TRUE(Db()->AllObjects().empty());

    const auto empty = Geometry(kRectangle, kRidgeFrom, kRidgeTo);
    empty->m_eaveOutline.resize(1);
    empty->m_extentsMin.x = -1;
    empty->ComputeSlopePolygons();
    EXPECT_THAT(Transcript(), HasSubstr("无法生成屋顶，异常！"));
}

// ---- the dialog -----------------------------------------------------------------------

// The dialog over a 10000 × 6000 outline at the height top, ridge along its long middle
// line; it notes what its controls show once it is open and can turn the mouse wheel over
// its plan preview.
class ProbeDlg : public CGableRoofDlg {
public:
    explicit ProbeDlg(double top)
    {
        m_outline = Rectangle(kL, kW, top);
        m_ridgeStart = {0, kW / 2, top};
        m_ridgeEnd = {kL, kW / 2, top};
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

class GableRoofDlgTest : public FreshDialogTest<g_gableRoofDefaults> {
protected:
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
    EXPECT_NEAR(Extents(dlg.m_leftRoofPolygons).MinPoint().z, 1000, 1e-6);
    EXPECT_NEAR(Extents(dlg.m_rightRoofPolygons).MinPoint().z, 1000, 1e-6);
}

// A gable overhang redraws the plan only, an eave overhang both; the wheel goes to the
// preview under the pointer.
TEST_F(GableRoofDlgTest, EachChangeRedrawsItsPreviews)
{
    ProbeDlg gable(5000);
    gable.wheel = true;
    Run(gable, "set 1158 300\nleave 1158\ncancel\n");
    EXPECT_EQ(gable.m_planPreview.RegenCount(), 2);
    EXPECT_EQ(gable.m_frontPreview.RegenCount(), 1);
    EXPECT_EQ(host::EventLog::Instance().Calls("SendMessage"), std::vector<std::string>{"SendMessage 522 to 100"});

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
    const char* below = "请输入一个介于 -2147482648 和 2147483647 之间的整数。";
    const char* above = "请输入一个介于 -2147483648 和 2147482647 之间的整数。";
    const struct {
        const char* lines;
        const char* message;  // none: taken
        double base = 0;
    } cases[] = {
        {"set 1157 100001\n", "请输入一个介于 0 和 100000 之间的整数。"},
        {"set 1161 -1\n", "> ok\n["},
        {"radio 1312\nset 1299 1234\n", "请输入一个介于 -89 和 89 之间的数字。"},
        {"radio 1312\nset 1300 90\n", "请输入一个介于 -89 和 89 之间的数字。"},
        // The ridge and wall tops are computed relative to the base elevation in an int: one
        // whose height above the base no int holds is refused with the range it may take, one
        // at the end of that range is taken; a slope typed as no number is refused as 90 is.
        {"set 1156 -2147483648\n", below, 1000},
        {"set 1159 -2147483648\n", below, 1000},
        {"set 1156 -2147482648\nset 1159 -2147482648\n", nullptr, 1000},
        {"set 1156 2147483647\n", above, -1000},
        {"set 1160 2147483647\n", above, -1000},
        {"set 1156 2147482647\n", nullptr, -1000},
        {"set 1156 -2147483648\n", nullptr},
        {"radio 1312\nset 1299 nan\n", "请输入一个介于 -89 和 89 之间的数字。"},
        {"radio 1312\nset 1299 -89\nset 1300 89\n", nullptr},
    };
    for (const auto& c : cases) {
        SetUp();
        host::EventLog::Instance().Clear();
        ProbeDlg dlg(c.base);
        Run(dlg, std::string(c.lines) + "ok\ncancel\n");
        const std::string out = Transcript();
        if (!c.message) {
            EXPECT_THAT(out, Not(HasSubstr("请输入一个介于"))) << c.lines;
            EXPECT_THAT(out, HasSubstr("closed: IDOK")) << c.lines;
            continue;
        }
        EXPECT_THAT(out, HasSubstr(c.message)) << c.lines;
        EXPECT_THAT(out, HasSubstr("> ok\n[")) << c.lines;
        EXPECT_THAT(out, HasSubstr("closed: IDCANCEL")) << c.lines;
        EXPECT_TRUE(Db()->AllObjects().empty()) << c.lines;
        EXPECT_EQ(g_gableRoofDefaults.ridgeHeight, 3000) << c.lines;
    }
}

}  // namespace
