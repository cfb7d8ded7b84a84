// The prismoid roof command end to end: a base picked, the dialog answered by script lines, and
// the mesh it leaves against the closed forms of a prismoid over an a × b rectangle (the top
// moved in, or out, by h / tan s on every side, every sloped face at the slope, the plans
// adding up).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "PrismoidDlg.h"
#include "RoofTestSupport.h"
#include "WorkingDrawing.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

constexpr double kA = 20000, kB = 12000, kTop = 9000;

double Tilt(const Ring& face)
{
    const GeVector3d n = NewellNormal(face);
    return std::acos(std::fabs(n.z) / n.Length()) * 180 / std::numbers::pi;
}

// The roof's faces by kind: level at the top, upright up to the eave elevation, or sloped.
struct RoofParts {
    std::vector<Ring> top, sloped, band;
};

class PrismoidRoofCommandTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        Restart();
    }
    void Restart(const std::string& base = "")
    {
        host::NewDrawing();
        g_prismoidRoofDefaults = PrismoidRoofDefaults();
        if (base.empty())
            AddBuilding("P", static_cast<int>(kTop), Rectangle(kA, kB));
        else
            Script(base);
    }
    RoofParts Parts(double height, double thickness) const
    {
        RoofParts parts;
        const auto at = [](const Ring& f, auto test) { return std::all_of(f.begin(), f.end(), test); };
        for (const Ring& f : MeshFaces(Solids())) {
            if (at(f, [&](const GePoint3d& p) { return std::fabs(p.z - (kTop + thickness + height)) < 1e-6; }))
                parts.top.push_back(f);
            else if (thickness > 0 && at(f, [&](const GePoint3d& p) { return p.z <= kTop + thickness + 1e-6; }))
                parts.band.push_back(f);
            else
                parts.sloped.push_back(f);
        }
        return parts;
    }
};

std::string Prismoid(const std::string& dialog)
{
    return "prismoid\n@10000,6000\n" + dialog + "ok\n";
}

TEST_F(PrismoidRoofCommandTest, TheRoofIsThePrismoidOfItsSlopeOrOffset)
{
    const double offsetLean = std::atan(1000.0 / 500.0) * 180 / std::numbers::pi;
    const struct {
        const char* name;
        std::string dialog;
        double height, lean, run;  // run: how far the top moves in on every side
    } cases[] = {
        {"offset 500 over 1000", "radio 1315\nset 1157 500\n", 1000, offsetLean, 500},
        {"offset -500: the inverted prismoid", "radio 1315\nset 1157 -500\n", 1000, offsetLean, -500},
        {"the first run's slope of 30°", "", 1000, 30, 1000 / std::tan(std::numbers::pi / 6)},
        {"slope 120°: leaning out at 60°", "set 1160 120\nset 1156 2000\n", 2000, 60,
         -2000 / std::tan(std::numbers::pi / 3)},
        {"slope 90°: upright walls", "set 1160 90\nset 1156 3000\n", 3000, 90, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        Script(Prismoid(c.dialog));
        const RoofParts parts = Parts(c.height, 0);
        ASSERT_EQ(parts.top.size(), 1u);
        EXPECT_EQ(parts.sloped.size(), 4u);
        const double top = (kA - 2 * c.run) * (kB - 2 * c.run);
        EXPECT_NEAR(SignedPlanArea(parts.top[0]), top, 1e-5 * top);
        double sloped = 0;
        for (const Ring& f : parts.sloped) {
            EXPECT_NEAR(Tilt(f), c.lean, 1e-4);
            EXPECT_GE(SignedPlanArea(f), 0.0);
            sloped += SignedPlanArea(f);
            for (const GePoint3d& p : f)
                EXPECT_GE(p.z, kTop - 1e-6) << "the faces start at the outline's own elevation";
        }
        EXPECT_NEAR(c.run >= 0 ? sloped + top : top - sloped, kA * kB, 1e-5 * kA * kB);
    }
}

// A slab of 200 lifts the faces and closes the eave with four quads 200 high on the outline
// grown by the overhang, facing out of it, also when the outline was drawn clockwise.
TEST_F(PrismoidRoofCommandTest, ASlabLiftsTheFacesOnABandAroundTheGrownOutline)
{
    for (const char* outline : {"0,0,9000 20000,0,9000 20000,12000,9000 0,12000,9000",
                                "0,0,9000 0,12000,9000 20000,12000,9000 20000,0,9000"}) {
        SCOPED_TRACE(outline);
        Restart(std::string("pline closed ") + outline + "\n");
        Script(Prismoid("set 1161 200\nset 1155 500\n"));
        const RoofParts parts = Parts(1000, 200);
        ASSERT_EQ(parts.band.size(), 4u);
        for (const Ring& quad : parts.band) {
            const GeBoundBox3d box = Extents({quad});
            EXPECT_NEAR(box.MinPoint().z, kTop, 1e-9);
            EXPECT_NEAR(box.MaxPoint().z, kTop + 200, 1e-9);
            const GePoint3d mid = box.MinPoint() + (box.MaxPoint() - box.MinPoint()) / 2;
            EXPECT_NEAR(std::max(std::fabs(mid.x - kA / 2) - kA / 2, std::fabs(mid.y - kB / 2) - kB / 2), 500, 1e-6);
            const GeVector3d n = NewellNormal(quad);
            EXPECT_GT(n.x * (mid.x - kA / 2) + n.y * (mid.y - kB / 2), 0.0);
        }
        ASSERT_EQ(parts.sloped.size(), 4u);
        for (const Ring& f : parts.sloped)
            EXPECT_GT(SignedPlanArea(f), 0.0);
        const double run = 1000 / std::tan(std::numbers::pi / 6);
        const double top = (kA + 1000 - 2 * run) * (kB + 1000 - 2 * run);
        EXPECT_NEAR(SignedPlanArea(parts.top.at(0)), top, 1e-5 * top);
    }
}

// What the dialog refuses keeps it open and changes no remembered value; a pick stores what
// the drawing gives, a cancelled one nothing, and the slope takes any offset.
TEST_F(PrismoidRoofCommandTest, TheDialogRefusesBadValuesAndPicksInTheDrawing)
{
    for (const char* refused : {"radio 1315\nset 1157 0\n", "set 1156 0\n", "set 1155 20000\n"}) {
        SCOPED_TRACE(refused);
        Script(std::string("prismoid\n@10000,6000\n") + refused + "ok\ncancel\n");
        EXPECT_EQ(g_prismoidRoofDefaults.height, 1000u);
        EXPECT_EQ(g_prismoidRoofDefaults.topOption, 1);
        EXPECT_EQ(Db()->AllObjects().size(), 1u);
    }
    EXPECT_EQ(CountOf(Transcript(), "> cancel\ndialog 1109 \"棱台屋顶\" closed: IDCANCEL\n"), 3);
    EXPECT_THAT(Transcript(), HasSubstr("> ok\n[lumidrax] 偏移距离必须非零值！\n"));
    EXPECT_THAT(Transcript(), HasSubstr("请输入一个介于 0 和 10000 之间的整数。"));
    Script(Prismoid("radio 1315\nset 1157 0\nradio 1310\nclick 1316\n0,0\n0,2500.7\nclick 1318\n0,0\n1,1\n"
                    "click 1320\n*cancel*\n"));
    EXPECT_EQ(g_prismoidRoofDefaults.height, 2500u);
    EXPECT_FLOAT_EQ(g_prismoidRoofDefaults.slope, 45.0f);
    EXPECT_EQ(g_prismoidRoofDefaults.thickness, 0u);
    EXPECT_EQ(Parts(2500, 0).sloped.size(), 4u);
}

// A U (30 x 20 m, its courtyard 10 m wide and deep) grown by an overhang: by 4 m the
// courtyard narrows, by 6 m it closes (it would fold: its sides pass each other). Either way
// the faces cover the outline grown with mitred corners once, drawn either way round.
TEST_F(PrismoidRoofCommandTest, AConcaveOutlineGrowsLikeItsMitredOffset)
{
    const Ring u = {{0, 0, 0},         {30000, 0, 0},     {30000, 20000, 0}, {20000, 20000, 0},
                    {20000, 10000, 0}, {10000, 10000, 0}, {10000, 20000, 0}, {0, 20000, 0}};
    for (const int overhang : {4000, 6000})
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "overhang " << overhang << (reversed ? " reversed" : ""));
            Restart("pline closed " + ScriptPoints(reversed ? tools_test::Reversed(u) : u) + "\n");
            Script("prismoid\n@5000,15000\nset 1155 " + std::to_string(overhang) + "\nset 1156 1500\nok\n");
            const std::vector<Ring> faces = MeshFaces(Solids());
            for (const Ring& f : faces)
                EXPECT_GE(SignedPlanArea(f), 0.0);
            ExpectPlanCoveredOnce(faces, MitredGrownArea(u, overhang));
        }
}

// An outline whose outward growth closes on itself gives no face: nothing is made, no band.
TEST_F(PrismoidRoofCommandTest, NoFaceMakesNothing)
{
    Script("pline closed 30000,0 40000,0 40000,10000 35500,10000 35500,2000 34500,2000 34500,10000 30000,10000\n"
           "prismoid\n@31000,1000\nset 1160 135\nset 1161 200\nok\n");
    EXPECT_THAT(Transcript(), HasSubstr("提示：创建棱台屋顶失败。"));
    EXPECT_EQ(Db()->AllObjects().size(), 2u);
}

}  // namespace
