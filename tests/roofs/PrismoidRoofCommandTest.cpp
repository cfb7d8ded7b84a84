// The prismoid roof command end to end: a building picked by a point inside it, the dialog
// answered by script lines, and the mesh it leaves measured against the closed forms of a
// prismoid over an a × b rectangle (the top shrunk or grown by 2h / tan s, every sloped face
// at the slope, the plans adding up).
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

double Degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

// The angle of a face's plane with the horizontal.
double Tilt(const Ring& face)
{
    const GeVector3d n = NewellNormal(face);
    return Degrees(std::acos(std::fabs(n.z) / n.Length()));
}

// The roof's faces sorted by kind.
struct RoofParts {
    std::vector<Ring> top, sloped, band;
};

class PrismoidRoofCommandTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        g_prismoidRoofDefaults = PrismoidRoofDefaults();
        AddBuilding("P", static_cast<int>(kTop), Rectangle(kA, kB));
    }
    // The faces of the entities on 坡屋顶: level at the top height, upright below the eave
    // elevation (the band), or sloped.
    RoofParts Parts(double height, double thickness) const
    {
        RoofParts parts;
        for (decDbEntity* e : Db()->AllObjects()) {
            const auto* solid = decCast<decDbEntity3d>(e);
            if (!solid || solid->GetBuilder() ||
                std::string(Db()->GetTableLayer()->GetLayer(e->GetLayerId())->GetName()) != "坡屋顶")
                continue;
            for (int i = 0; i < solid->GetMesh()->GetCountPolygon(); ++i) {
                const Ring f = solid->GetMesh()->FacePoints(i, solid->GetTM());
                const bool level = std::all_of(f.begin(), f.end(), [&](const GePoint3d& p) {
                    return std::fabs(p.z - (kTop + thickness + height)) < 1e-6;
                });
                const bool low = std::all_of(f.begin(), f.end(),
                                             [&](const GePoint3d& p) { return p.z <= kTop + thickness + 1e-6; });
                (level ? parts.top : (low && thickness > 0 ? parts.band : parts.sloped)).push_back(f);
            }
        }
        return parts;
    }
};

std::string Prismoid(const std::string& dialog)
{
    return "prismoid\n@10000,6000\n" + dialog + "ok\n";
}

// Closed forms over the building's top: the top at h is the rectangle moved in by run on every
// side (out for a negative run), each sloped face rises at the lean, and the plans add up.
TEST_F(PrismoidRoofCommandTest, TheRoofIsThePrismoidOfItsSlopeOrOffset)
{
    const double offsetLean = Degrees(std::atan(1000.0 / 500.0));
    EXPECT_NEAR(offsetLean, 63.43494882292201, 1e-12);
    const struct {
        const char* name;
        std::string dialog;
        double height, lean, run;
    } cases[] = {
        {"offset 500 over 1000", "radio 1315\nset 1157 500\n", 1000, offsetLean, 500},
        {"offset -500: the inverted prismoid", "radio 1315\nset 1157 -500\n", 1000, offsetLean, -500},
        {"the first run's slope of 30°", "", 1000, 30, 1000 / std::tan(std::numbers::pi / 6)},
        {"slope 120°: inverted, leaning out at 60°", "set 1160 120\nset 1156 2000\n", 2000, 60,
         -2000 / std::tan(std::numbers::pi / 3)},
        {"slope 90°: upright walls", "set 1160 90\nset 1156 3000\n", 3000, 90, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        g_prismoidRoofDefaults = PrismoidRoofDefaults();
        AddBuilding("P", static_cast<int>(kTop), Rectangle(kA, kB));
        Script(Prismoid(c.dialog));
        const RoofParts parts = Parts(c.height, 0);
        ASSERT_EQ(parts.top.size(), 1u);
        EXPECT_EQ(parts.sloped.size(), 4u);
        EXPECT_TRUE(parts.band.empty());
        const double topArea = (kA - 2 * c.run) * (kB - 2 * c.run);
        EXPECT_NEAR(SignedPlanArea(parts.top[0]), topArea, 1e-5 * topArea);
        double sloped = 0;
        for (const Ring& f : parts.sloped) {
            EXPECT_NEAR(Tilt(f), c.lean, 1e-4);
            EXPECT_GE(SignedPlanArea(f), 0.0);
            sloped += SignedPlanArea(f);
            for (const GePoint3d& p : f)
                EXPECT_GE(p.z, kTop - 1e-6) << "the faces start at the outline's own elevation";
        }
        EXPECT_NEAR(c.run >= 0 ? sloped + topArea : topArea - sloped, kA * kB, 1e-5 * kA * kB);
    }
}

// A slab of 200 lifts the faces and closes the eave with four quads 200 high that face away
// from the outline, also when the outline was drawn clockwise; an overhang grows the outline.
TEST_F(PrismoidRoofCommandTest, ASlabLiftsTheFacesOnABandAroundTheGrownOutline)
{
    for (const bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "counter-clockwise");
        host::NewDrawing();
        g_prismoidRoofDefaults = PrismoidRoofDefaults();
        Script(clockwise ? "pline closed 0,0,9000 0,12000,9000 20000,12000,9000 20000,0,9000\n"
                         : "pline closed 0,0,9000 20000,0,9000 20000,12000,9000 0,12000,9000\n");
        Script(Prismoid("set 1161 200\nset 1155 500\n"));
        const RoofParts parts = Parts(1000, 200);
        ASSERT_EQ(parts.band.size(), 4u);
        ASSERT_EQ(parts.sloped.size(), 4u);
        for (const Ring& quad : parts.band) {
            ASSERT_EQ(quad.size(), 4u);
            EXPECT_NEAR(Tilt(quad), 90, 1e-9);
            double low = 1e300, high = -1e300, x = 0, y = 0;
            for (const GePoint3d& p : quad) {
                low = std::min(low, p.z);
                high = std::max(high, p.z);
                x += p.x / 4;
                y += p.y / 4;
            }
            EXPECT_NEAR(low, kTop, 1e-9);
            EXPECT_NEAR(high, kTop + 200, 1e-9);
            // On the outline grown by 500, facing out of it.
            EXPECT_NEAR(std::max(std::fabs(x - kA / 2) - kA / 2, std::fabs(y - kB / 2) - kB / 2), 500, 1e-6);
            const GeVector3d n = NewellNormal(quad);
            EXPECT_GT(n.x * (x - kA / 2) + n.y * (y - kB / 2), 0.0);
        }
        for (const Ring& f : parts.sloped) {
            EXPECT_GT(SignedPlanArea(f), 0.0);
            for (const GePoint3d& p : f)
                EXPECT_GE(p.z, kTop + 200 - 1e-6);
        }
        const double run = 1000 / std::tan(std::numbers::pi / 6);
        const double top = (kA + 1000 - 2 * run) * (kB + 1000 - 2 * run);
        EXPECT_NEAR(SignedPlanArea(parts.top.at(0)), top, 1e-5 * top);
    }
}

// What the dialog refuses keeps it open and changes no remembered value; a pick stores what the
// drawing gives, a cancelled one nothing.
TEST_F(PrismoidRoofCommandTest, TheDialogRefusesBadValuesAndPicksInTheDrawing)
{
    const struct {
        const char* name;
        std::string lines;
        const char* message;
    } refusals[] = {
        {"offset 0", "radio 1315\nset 1157 0\nok\n", "偏移距离必须非零值！"},
        {"height 0", "set 1156 0\nok\n", ""},
        {"overhang 20000", "set 1155 20000\nok\n", ""},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(c.name);
        host::EventLog::Instance().Clear();
        Script("prismoid\n@10000,6000\n" + c.lines + "cancel\n");
        EXPECT_THAT(Transcript(), HasSubstr(c.message));
        EXPECT_THAT(Transcript(), HasSubstr("> cancel\ndialog 1109 \"棱台屋顶\" closed: IDCANCEL\n"));
        EXPECT_EQ(g_prismoidRoofDefaults.height, 1000u);
        EXPECT_EQ(g_prismoidRoofDefaults.topOption, 1);
        EXPECT_EQ(g_prismoidRoofDefaults.overhang, 0u);
        EXPECT_EQ(Db()->AllObjects().size(), 1u);
    }
    // The slope takes any offset; picks measure the height and the slope, a cancelled pick
    // leaves the thickness.
    Script(Prismoid("radio 1315\nset 1157 0\nradio 1310\nclick 1316\n0,0\n0,2500.7\nclick 1318\n0,0\n1,1\nclick 1320\n*cancel*\n"));
    EXPECT_EQ(g_prismoidRoofDefaults.height, 2500u);
    EXPECT_FLOAT_EQ(g_prismoidRoofDefaults.slope, 45.0f);
    EXPECT_EQ(g_prismoidRoofDefaults.offset, 0);
    EXPECT_EQ(Parts(2500, 0).sloped.size(), 4u);
}

// An outline whose outward growth closes on itself gives no face: nothing is made, no band
// either.
TEST_F(PrismoidRoofCommandTest, NoFaceMakesNothing)
{
    Script("pline closed 30000,0 40000,0 40000,10000 35500,10000 35500,2000 34500,2000 34500,10000 30000,10000\n");
    Script("prismoid\n@31000,1000\nset 1160 135\nset 1161 200\nok\n");
    EXPECT_THAT(Transcript(), HasSubstr("提示：创建棱台屋顶失败。"));
    EXPECT_EQ(Db()->AllObjects().size(), 2u);
}

}  // namespace
