// The roof command, its dialog and the edge slope picker answered by script lines, and the
// roofs measured against closed forms (heights, plan areas, extents, the split of two planes).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>

#include "OrvRoof.h"
#include "RoofDlg.h"
#include "RoofTestSupport.h"
#include "TypedTextTable.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

constexpr double kL = 20000, kW = 10000, kTop = 30000;
// Clockwise, edge 0 north, 1 east, 2 south, 3 west.
const Ring kSquare = {{0, 15000, 3000}, {15000, 15000, 3000}, {15000, 0, 3000}, {0, 0, 3000}};
// Clockwise with a notch 400 wide: an overhang of 200 or more closes it, leaving 4 of the 8
// corners. Edge 0 is the west side.
const Ring kNotch = {{0, 0, 0},        {0, 10000, 0},     {9800, 10000, 0},  {9800, 6000, 0},
                     {10200, 6000, 0}, {10200, 10000, 0}, {20000, 10000, 0}, {20000, 0, 0}};
constexpr RoofDialogDefaults kMulti30{.roofKind = 1, .slope = 30};

double Tan(double degrees)
{
    return std::tan(Radians(degrees));
}

// The dialog, with an eave outline and edge slopes of the test's choosing when it has them.
class TestRoofDlg : public CRoofDlg {
public:
    std::optional<std::pair<Ring, std::vector<float>>> eave;

protected:
    BOOL OnInitDialog() override
    {
        CRoofDlg::OnInitDialog();
        if (eave)
            std::tie(m_arrayEavePts, m_vecEdgeSlopes) = *eave;
        return TRUE;
    }
};

class RoofCommandTest : public FreshDialogTest<g_roofDialogDefaults> {
protected:
    // The dialog over a clockwise base, answered by the lines; it stays for inspection.
    std::unique_ptr<TestRoofDlg> Open(const Ring& base, const RoofDialogDefaults& defaults, const std::string& lines,
                                      std::optional<std::pair<Ring, std::vector<float>>> eave = {})
    {
        g_roofDialogDefaults = defaults;
        auto dlg = std::make_unique<TestRoofDlg>();
        dlg->m_arrayBasePts = base;
        dlg->eave = std::move(eave);
        Answer(lines);
        result = dlg->DoModal();
        return dlg;
    }
    // The roof command on a kL × kW building topped at kTop, picked at its middle.
    void RoofOnBuilding(const RoofDialogDefaults& defaults, const std::string& lines = "ok\n")
    {
        AddBuilding("A", static_cast<int>(kTop), Rectangle(kL, kW));
        g_roofDialogDefaults = defaults;
        Script("roof\n@10000,5000\n" + lines);
    }
    // The flat roof's outline in the drawing, in the order the roof keeps it.
    static Ring WorldOutline(const decDbEntity3d* solid)
    {
        RoofValues v = Values(*COrvRoof::Cast(solid->GetBuilder()));
        for (GePoint3d& p : v.outline)
            p = solid->GetTM() * p;
        return v.outline;
    }
    INT_PTR result = 0;
};

// The command turns a counter-clockwise outline clockwise for the dialog and keeps a
// clockwise one (the pick starts both on their second corner); the flat roof gets the reverse
// and stands where it was picked, placed on its first edge (along +y for the first outline).
TEST_F(RoofCommandTest, OutlinesRunClockwiseInTheDialogAndCounterClockwiseInTheRoof)
{
    const struct {
        const char* pline;
        Ring dialog;
    } cases[] = {
        {"0,0 20000,0 20000,10000 0,10000", {{0, 0, 0}, {0, 10000, 0}, {20000, 10000, 0}, {20000, 0, 0}}},
        {"0,0 0,10000 20000,10000 20000,0", {{0, 10000, 0}, {20000, 10000, 0}, {20000, 0, 0}, {0, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pline);
        SetUp();
        Script(std::string("pline closed ") + c.pline + "\nroof\n@10000,5000\nok\n");
        Ring shown = Db()->GetTempGraphics().Polylines().back().points;
        shown.pop_back();
        ExpectPointsNear(shown, c.dialog);
        const auto roofs = Solids("平屋顶");
        ASSERT_EQ(roofs.size(), 1u);
        const Ring reversed(c.dialog.rbegin(), c.dialog.rend());
        ExpectPointsNear(WorldOutline(roofs[0]), reversed, 1e-6);
    }
}

// A reversed outline whose first edge has no length places the roof along +x.
TEST_F(RoofCommandTest, ADegenerateFirstEdgePlacesTheRoofAlongX)
{
    Open({{0, 0, 0}, {0, 900, 0}, {900, 900, 0}, {900, 0, 0}, {900, 0, 0}}, {}, "ok\n");
    const auto roofs = Solids("平屋顶");
    ASSERT_EQ(roofs.size(), 1u);
    ExpectPointsNear(WorldOutline(roofs[0]), {{900, 0, 0}, {900, 0, 0}, {900, 900, 0}, {0, 900, 0}, {0, 0, 0}});
    EXPECT_TRUE(roofs[0]->GetTM().IsEqual(GeMatrix3d().SetToTranslation({900, 0, 0}), 1e-12));
}

// 99 base corners make a multi-slope roof; 100 are refused and the dialog stays open, where
// the same outline still makes a flat roof.
TEST_F(RoofCommandTest, MultiSlopeRoofsTakeFewerThanAHundredCorners)
{
    for (const int n : {99, 100}) {
        SCOPED_TRACE(n);
        SetUp();
        Script("pline closed " + ScriptPoints(RegularPolygon(n, 10000)) + "\nroof\n@0,0\nradio 1210\nok\n" + (n == 100 ? "radio 1159\nok\n" : ""));
        EXPECT_EQ(CountOf(Transcript(), "[错误] 屋顶底轮廓线顶点数太多无法生成坡屋顶。"), n == 100 ? 1 : 0);
        EXPECT_EQ(Solids("坡屋顶").size(), n == 100 ? 0u : 1u);
        EXPECT_EQ(Solids("平屋顶").size(), n == 100 ? 1u : 0u);
    }
}

// An overhang below 0.001 builds over the base, from 0.001 over the eave outline; an eave of
// 100 corners is refused like a base of 100, and one the slopes do not match is not built.
TEST_F(RoofCommandTest, TheMultiSlopeRoofStandsOnTheBaseOrTheEaveOutline)
{
    enum Outcome { kBase, kEave, kFailed, kRefused };
    const Ring marker = {{1e5, 10000, 0}, {1.2e5, 10000, 0}, {1.2e5, 0, 0}, {1e5, 0, 0}};
    const Ring hundred = tools_test::Reversed(RegularPolygon(100, 5000, 1e5));
    const struct {
        float overhang;
        Ring eave;
        std::size_t slopes;
        Outcome outcome;
    } cases[] = {{0, marker, 4, kBase},          {0.0009f, marker, 4, kBase}, {0.001f, marker, 4, kEave},
                 {0.001f, marker, 3, kFailed},   {0.001f, {}, 0, kFailed},    {0.001f, hundred, 100, kRefused}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.overhang << " " << c.eave.size() << " " << c.slopes);
        SetUp();
        Open(kSquare, {.roofKind = 1, .overhang = c.overhang, .slope = 30}, "set 1207 150\nok\ncancel\n",
             std::pair(c.eave, std::vector<float>(c.slopes, 30.0f)));
        const auto roofs = Solids("坡屋顶");
        ASSERT_EQ(roofs.size(), c.outcome <= kEave ? 1u : 0u);
        if (!roofs.empty()) {
            EXPECT_EQ(roofs[0]->GetBoundBox().MinPoint().x > 50000, c.outcome == kEave);
        }
        EXPECT_EQ(CountOf(Transcript(), "提示：创建坡屋顶失败。"), c.outcome == kFailed ? 1 : 0);
        EXPECT_EQ(CountOf(Transcript(), "屋顶底轮廓线顶点数太多无法生成坡屋顶。"), c.outcome == kRefused ? 1 : 0);
        EXPECT_EQ(g_roofDialogDefaults.thickness, c.outcome == kRefused ? 200.0f : 150.0f);
    }
}

// Over a kL × kW rectangle with one slope s and a slab t the hip roof spans kTop to
// kTop + t + (kW/2)·tan s and its faces cover the rectangle once in plan (the slab band is
// upright). A steeper south edge (60 against 30) meets the north plane where
// y·tan 60 = (kW − y)·tan 30, so its face reaches y = kW/4.
TEST_F(RoofCommandTest, MultiSlopeRoofsRiseAndSplitAsTheirPlanesDo)
{
    const struct {
        float slope, thickness;
        std::string lines;
        double rise, southReach;
    } cases[] = {
        {45, 200, "ok\n", 200 + kW / 2, kW / 2},
        {30, 0, "click 1252\n10000,-100\n60\n\nok\n", kW * Tan(30) * Tan(60) / (Tan(30) + Tan(60)),
         kW * Tan(30) / (Tan(30) + Tan(60))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        SetUp();
        RoofOnBuilding({.roofKind = 1, .thickness = c.thickness, .slope = c.slope}, c.lines);
        const auto roofs = Solids("坡屋顶");
        ASSERT_EQ(roofs.size(), 1u);
        const std::vector<Ring> faces = MeshFaces(roofs[0]);
        EXPECT_NEAR(Extents(faces).MinPoint().z, kTop, 0.01);
        EXPECT_NEAR(Extents(faces).MaxPoint().z, kTop + c.rise, 0.05);
        double plan = 0, southReach = 0;
        for (const Ring& face : faces) {
            plan += std::fabs(SignedPlanArea(face));
            const auto onSouthEdge = [&](double x) {
                return std::any_of(face.begin(), face.end(), [&](const GePoint3d& p) {
                    return std::fabs(p.x - x) < 0.01 && std::fabs(p.y) < 0.01 &&
                           std::fabs(p.z - kTop - c.thickness) < 0.01;
                });
            };
            if (onSouthEdge(0) && onSouthEdge(kL)) {
                for (const GePoint3d& p : face)
                    southReach = std::max(southReach, p.y);
            }
        }
        EXPECT_NEAR(plan, kL * kW, 1.0);
        EXPECT_NEAR(southReach, c.southReach, 0.05);
    }
}

// Flat roofs: the parapet switch and the sizes that make a wall or an upper part, what is
// built and remembered, the extents (a parapet stands outside the slab edge once there is an
// overhang) and the parapet top at kTop + t + ha + hb.
TEST_F(RoofCommandTest, FlatRoofsAndTheirParapets)
{
    const struct {
        const char* name;
        RoofDialogDefaults in;
        bool built;
        double grow, top;
        float ha, hb, wa, wb;  // remembered
    } cases[] = {
        {"sizes without wall or upper part",
         {.thickness = 0, .parapet = 1, .parapetHeightA = 500, .parapetWidthB = 100}, false, 0, 0, 0, 0, 0, 0},
        {"parapet only", {.thickness = 0, .parapet = 1, .parapetHeightA = 900, .parapetWidthA = 120}, true, 0, 900,
         900, 0, 120, 0},
        {"parapet off",
         {.overhang = 500, .parapetHeightA = 900, .parapetHeightB = 300, .parapetWidthA = 120, .parapetWidthB = 120},
         true, 500, 200, 0, 0, 0, 0},
        {"overhang and parapet",
         {.overhang = 500, .thickness = 120, .parapet = 1, .parapetHeightA = 900, .parapetHeightB = 300,
          .parapetWidthA = 240},
         true, 740, 1320, 900, 300, 240, 0},
        {"overhang leaving no eave", {.overhang = 0.01f}, false, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        RoofOnBuilding(c.in);
        const auto roofs = Solids("平屋顶");
        ASSERT_EQ(roofs.size(), c.built ? 1u : 0u);
        const RoofDialogDefaults& r = g_roofDialogDefaults;
        EXPECT_EQ(std::vector<float>({r.parapetHeightA, r.parapetHeightB, r.parapetWidthA, r.parapetWidthB}),
                  std::vector<float>({c.ha, c.hb, c.wa, c.wb}));
        EXPECT_EQ(r.overhang, c.in.overhang);
        const bool failed = !c.built && c.in.thickness > 0;
        EXPECT_EQ(CountOf(Transcript(), "提示：创建平屋顶失败。"), failed ? 1 : 0);
        if (!c.built)
            continue;
        ExpectExtents(roofs[0]->GetBoundBox(), {-c.grow, -c.grow, kTop}, {kL + c.grow, kW + c.grow, kTop + c.top}, 0.01);
    }
}

struct SlopeCase {
    const char* name;
    RoofDialogDefaults defaults;
    std::string lines;
    std::vector<float> slopes;
    const char *text, *shown = "";
    int edgePrompts = -1;  // -1: not counted
};

TEST_F(RoofCommandTest, GeneralAndEdgeSlopes)
{
    const std::vector<float> all30(4, 30.0f);
    const SlopeCase cases[] = {
        {"flat switched to multi-slope", {}, "radio 1210", all30, "30"},
        {"95 remembered", {.roofKind = 1, .slope = 95}, "radio 1210", all30, "30"},
        {"0 remembered", {.roofKind = 1, .slope = 0.4f}, "radio 1210", all30, "30"},
        {"89 stands", {.roofKind = 1, .slope = 89}, "radio 1210", {89, 89, 89, 89}, "89"},
        {"89.5 remembered", {.roofKind = 1, .slope = 89.5f}, "radio 1210", all30, "30"},
        {"89.5 typed", kMulti30, "set 1158 89.5", all30, "30", "[错误] 请输入1~89之间的实数！"},
        {"1 stands", {.roofKind = 1, .slope = 1}, "radio 1210", {1, 1, 1, 1}, "1"},
        {"only edges on the old slope follow", kMulti30, "click 1252\n7500,15100\n60\n\nset 1158 45",
         {60, 45, 45, 45}, "45"},
        {"emptied slope", kMulti30, "set 1158 ", all30, "30", "[错误] 请输入1~89之间的实数！"},
        {"no number", kMulti30, "set 1158 nan", all30, "30", "[错误] 请输入1~89之间的实数！"},
        {"shared vertex: lower edge", kMulti30, "click 1252\n15000,15000\n89\n", {89, 30, 30, 30}, "30", "", 2},
        {"vertex 0: edge 0", kMulti30, "click 1252\n0,15000\n1\n", {1, 30, 30, 30}, "30"},
        {"90 refused", kMulti30, "click 1252\n15100,7500\n90\n45\n", {30, 45, 30, 30}, "30",
         "坡度(度)[30]:\n> 90\n无效输入!请输入1~89之间的数!\n坡度(度)[30]:\n> 45"},
        {"89.5 refused", kMulti30, "click 1252\n15100,7500\n89.5\n45\n", {30, 45, 30, 30}, "30",
         "坡度(度)[30]:\n> 89.5\n无效输入!请输入1~89之间的数!\n坡度(度)[30]:\n> 45"},
        {"a click switches edges", kMulti30, "click 1252\n7500,15100\n7500,-100\n50\n", {30, 30, 50, 30}, "30"},
        {"detour of exactly 10000", kMulti30, "click 1252\n7500,-10000\n20\n", {30, 30, 20, 30}, "30", "", 2},
        {"detour beyond 10000", kMulti30, "click 1252\n7500,-10001\n", all30, "30", "", 2},
        {"empty eave outline", {.roofKind = 1, .overhang = 0.01f, .slope = 30}, "click 1252\n1,1\n", {}, "30", "",
         2},
    };
    for (const SlopeCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const auto dlg = Open(kSquare, c.defaults, c.lines + "\ncancel\n");
        EXPECT_EQ(dlg->m_vecEdgeSlopes, c.slopes);
        EXPECT_STREQ(dlg->m_strSlope.GetString(), c.text);
        EXPECT_THAT(Transcript(), HasSubstr(c.shown));
        if (c.edgePrompts >= 0) {
            EXPECT_EQ(CountOf(Transcript(), "选择要修改坡度的边:"), c.edgePrompts);
        }
    }
}

// The general slope and an edge's own slope, typed as no number, get their refusals and are
// asked again; an empty edge slope keeps the slope shown.
TEST_F(RoofCommandTest, TypedSlopesAreNumbersOrAskedAgain)
{
    std::unique_ptr<TestRoofDlg> dlg;
    const auto edge = [&dlg](std::size_t i) { return [&dlg, i] { return dlg->m_vecEdgeSlopes.at(i); }; };
    const auto asFloat = [](double typed) { return static_cast<double>(static_cast<float>(typed)); };
    const typedtext::Runner runner{[this] { SetUp(); }, [&](const std::string& lines) { dlg = Open(kSquare, kMulti30, lines); },
                                   [this] { return Transcript(); }};
    runner.Expect({"general slope", "set 1158 ", "", "set 1158 45\n", "cancel\n", "请输入1~89之间的实数！", edge(0), asFloat, 45,
                   typedtext::Empty::Refused, 0, 100, 89});
    runner.Expect({"edge slope", "click 1252\n15100,7500\n", "", "45\n", "\ncancel\n", "无效输入!请输入1~89之间的数!", edge(1),
                   asFloat, 45, typedtext::Empty::Default, 30, 100, 89});
}

struct OverhangCase {
    const char* name;
    RoofDialogDefaults defaults;
    std::string lines;
    std::size_t eaveVertices;
    std::vector<float> slopes;
    float overhang;
    bool asked;
};

TEST_F(RoofCommandTest, TheEaveOutlineFollowsTheOverhang)
{
    const std::vector<float> own = {60, 30, 30, 30, 30, 30, 30, 30};
    const OverhangCase cases[] = {
        {"general slope only", kMulti30, "set 1157 250", 4, {30, 30, 30, 30}, 250, false},
        {"own slope, No", kMulti30, "click 1252\n-100,5000\n60\n\nset 1157 250\nno", 8, own, 0, true},
        {"own slope, Yes", kMulti30, "click 1252\n-100,5000\n60\n\nset 1157 250\nyes", 4, {30, 30, 30, 30}, 250,
         true},
        {"flat", {}, "set 1157 250", 4, {0, 0, 0, 0}, 250, false},
        {"picked, rounded", {}, "click 1211\n0,0\n150.5,0", 8, std::vector<float>(8, 0.0f), 151, false},
    };
    for (const OverhangCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const auto dlg = Open(kNotch, c.defaults, c.lines + "\ncancel\n");
        EXPECT_EQ(dlg->m_arrayEavePts.size(), c.eaveVertices);
        EXPECT_EQ(dlg->m_vecEdgeSlopes, c.slopes);
        EXPECT_EQ(dlg->m_fOverhang, c.overhang);
        const char* question = "[警告] 修改挑出距离后屋顶的边数发生改变,各边坡度均将重置为30度! 确认修改挑出距离吗?";
        EXPECT_EQ(CountOf(Transcript(), question), c.asked ? 1 : 0);
        // The 4-corner candidate, closed, in the proposal's colour.
        EXPECT_EQ(host::EventLog::Instance().Calls("temp polyline 5 colour 0xFF00FF").size(), c.asked ? 1u : 0u);
    }
}

struct LengthCase {
    const char* name;
    RoofDialogDefaults defaults;
    std::string lines;
    float CRoofDlg::*field;
    float value;
    const char* shown = "";
    int guards = 0;  // point inputs held by the main frame
    const Ring* base = &kSquare;
};

TEST_F(RoofCommandTest, LengthsTypedAndPicked)
{
    constexpr RoofDialogDefaults parapet{.parapet = 1, .parapetHeightA = 5}, wide{.overhang = 300};
    const char* overhang = "[编辑屋顶] 挑出距离不能大于419430!";
    const char* slab = "[编辑屋顶] 屋面厚度不能大于838860!";
    const char* noNumber = "请输入一个数字。";
    const LengthCase cases[] = {
        {"picked thickness keeps its fraction", {}, "click 1212\n0,0\n120.25,0", &CRoofDlg::m_fThickness, 120.25f, "",
         2},
        {"cancelled pick", {}, "click 1212\n0,0\n*cancel*", &CRoofDlg::m_fThickness, 200, "", 2},
        {"parapet pick", parapet, "click 1219\n0,0\n0,900", &CRoofDlg::m_fParapetHeightA, 900},
        {"negative thickness", {}, "set 1207 -5", &CRoofDlg::m_fThickness, 0, "[编辑屋顶] 屋面厚度不能小于0!"},
        {"negative height a", parapet, "set 1161 -5", &CRoofDlg::m_fParapetHeightA, 0, "[编辑屋顶] 女儿墙高a不能小于0!"},
        {"negative overhang", {.overhang = 300}, "set 1157 -5", &CRoofDlg::m_fOverhang, 300,
         "[编辑屋顶] 挑出距离不能小于0!"},
        {"parapet from nothing", {}, "check 1218 1", &CRoofDlg::m_fParapetHeightA, 900},
        {"parapet with a size", {.parapetWidthB = 50}, "check 1218 1", &CRoofDlg::m_fParapetHeightA, 0},
        // The roof's faces are united in single precision: a slab thicker than 838,860 or an
        // overhang wider than half of that is refused, typed or picked, in either form, the
        // largest taken closing the notch (an overhang of 1e21 on an L kept the eave outline
        // from returning); numbers beyond a float, or none, are refused by the exchange.
        {"overhang at the reach", wide, "set 1157 419430", &CRoofDlg::m_fOverhang, 419430, "", 0, &kNotch},
        {"overhang past it", wide, "set 1157 419430.5", &CRoofDlg::m_fOverhang, 300, overhang, 0, &kNotch},
        {"overhang of 1e21", wide, "set 1157 1e21", &CRoofDlg::m_fOverhang, 300, overhang, 0, &kNotch},
        {"multi-slope overhang", wide, "radio 1210\nset 1157 1e21", &CRoofDlg::m_fOverhang, 300, overhang, 0, &kNotch},
        {"overhang past a float", wide, "set 1157 1e39", &CRoofDlg::m_fOverhang, 300, noNumber, 0, &kNotch},
        {"overhang of nan", wide, "set 1157 nan", &CRoofDlg::m_fOverhang, 300, noNumber, 0, &kNotch},
        {"overhang picked", wide, "click 1211\n0,0\n419430.4,0", &CRoofDlg::m_fOverhang, 419430, "", 2, &kNotch},
        {"overhang picked past", wide, "click 1211\n0,0\n419430.6,0", &CRoofDlg::m_fOverhang, 300, overhang, 2, &kNotch},
        {"slab at the reach", {}, "set 1207 838860", &CRoofDlg::m_fThickness, 838860},
        {"slab past it", {}, "set 1207 838861", &CRoofDlg::m_fThickness, 200, slab},
        {"multi-slope slab", {}, "radio 1210\nset 1207 99999999999", &CRoofDlg::m_fThickness, 200, slab},
        {"slab of -inf", {}, "set 1207 -inf", &CRoofDlg::m_fThickness, 200, noNumber},
        {"slab picked past", {}, "click 1212\n0,0\n0,1e11", &CRoofDlg::m_fThickness, 200, slab, 2},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const auto dlg = Open(*c.base, c.defaults, c.lines + "\ncancel\n");
        EXPECT_EQ((*dlg).*c.field, c.value);
        EXPECT_THAT(Transcript(), HasSubstr(c.shown));
        EXPECT_EQ(static_cast<int>(host::EventLog::Instance().Calls("ActivateMainFrameWnd enter").size()), c.guards);
    }
}

// A confirmed multi-slope roof of 45 degrees reopens as one; a cancelled dialog and an OK
// refused for a text that is no number change nothing.
TEST_F(RoofCommandTest, RemembersWhatWasConfirmed)
{
    Open(kSquare, {}, "radio 1210\nset 1158 45\nok\n");
    const RoofDialogDefaults confirmed = g_roofDialogDefaults;
    EXPECT_EQ(confirmed.roofKind, 1);
    EXPECT_EQ(confirmed.slope, 45.0f);
    EXPECT_EQ(Db()->AllObjects().size(), 1u);

    auto dlg = Open(kSquare, confirmed, "radio 1159\nset 1207 77\ncancel\n");
    EXPECT_EQ(result, IDCANCEL);
    dlg = Open(kSquare, confirmed, "set 1157 abc\nok\ncancel\n");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(CountOf(Transcript(), "请输入一个数字。"), 2);
    EXPECT_EQ(Db()->AllObjects().size(), 1u);
    EXPECT_EQ(g_roofDialogDefaults.thickness, confirmed.thickness);
    dlg = Open(kSquare, g_roofDialogDefaults, "cancel\n");
    EXPECT_EQ(dlg->m_nRoofKind, 1);
    EXPECT_STREQ(dlg->m_strSlope.GetString(), "45");
}

}  // namespace
