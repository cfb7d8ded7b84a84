// The arched roof: its profile measured against the circle it samples, and the command end to
// end, the extrusion it leaves read back through its mesh.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ArchedRoof.h"
#include "RoofTestSupport.h"
#include "WorkingDrawing.h"

namespace {

using namespace roof_test;

// In the section's frame: the outer samples lie on the circle through both ends and the
// crown (raised by the legs of a stilted arch); the inner ones on the concentric circle one
// thickness smaller, from the section line back to it (a stilted arch's inner legs standing
// one thickness inside), so the slab never dips under the section line nor reaches past its
// ends. Shallow barrels are where moving the arc's chord edges inwards went under the line.
TEST(ArchedRoofProfile, TheSlabLiesBetweenTheArcAndItsConcentricArcAboveTheSection)
{
    struct {
        const char* name;
        double h, rise, thickness;
        std::size_t outer;  // samples of the outer arc
    } const cases[] = {
        {"half circle", 6000, 6000, 120, 18},
        {"half circle within the tolerance", 6000, 6000.0009, 0, 18},
        {"flat arc", 6000, 2000, 200, 18},
        {"shallow barrel, rise 500", 5000, 500, 150, 18},
        {"shallow barrel, rise 300", 5000, 300, 150, 18},
        {"slab nearly as thick as the rise", 5000, 500, 499, 18},
        {"stilted arch", 6000, 8000, 150, 20},
        {"stilted arch, slab nearly the radius", 6000, 8000, 5999, 20},
        {"bare stilted arch", 6000, 8000, 0.001, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CArchedRoof roof;
        roof.m_sectionStart = GePoint3d(-c.h, 0, 0);
        roof.m_sectionEnd = GePoint3d(c.h, 0, 0);
        roof.m_rise = c.rise;
        roof.m_thickness = c.thickness;
        roof.ComputeArcProfile();
        const std::size_t n = c.outer;
        ASSERT_EQ(roof.m_profile.size(), c.thickness > 0.001 ? 2 * n : n);
        const bool flat = c.rise <= c.h - 0.001;
        const double radius = flat ? (c.h * c.h + c.rise * c.rise) / (2 * c.rise) : c.h;
        const GePoint3d centre(0, 0, flat ? c.rise - radius : n == 20 ? c.rise - c.h : 0.0);
        const std::size_t legs = n / 19;  // the legs' feet are off the circle
        for (std::size_t i = legs; i < n - legs; ++i)
            EXPECT_NEAR(roof.m_profile[i].DistanceTo(centre), radius, 1e-6) << "sample " << i;
        for (const GePoint3d& p : roof.m_profile) {
            // The half circle ends at the host's single-precision half turn, a hair under.
            EXPECT_GE(p.z, -1e-3);
            EXPECT_LE(std::fabs(p.x), c.h + 1e-9);
        }
        if (roof.m_profile.size() == n)
            continue;
        EXPECT_EQ(roof.m_profile[n].z, 0.0);
        EXPECT_EQ(roof.m_profile.back().z, 0.0);
        // The inner arc starts under the outer arc's last end and runs back.
        EXPECT_GT(roof.m_profile[n].x * roof.m_profile[n - 1].x, 0.0) << "the inner arc runs back";
        for (std::size_t i = n + legs; i < 2 * n - legs; ++i)
            EXPECT_NEAR(roof.m_profile[i].DistanceTo(centre), radius - c.thickness, 1e-6) << "inner " << i;
        if (legs > 0) {
            EXPECT_NEAR(std::fabs(roof.m_profile[n].x), c.h - c.thickness, 1e-6);
            EXPECT_NEAR(std::fabs(roof.m_profile.back().x), c.h - c.thickness, 1e-6);
        }
    }
}

// The top of a half circle sampled at 18 points (17 steps: the crown lies half a step above
// the two top samples), over its legs.
double SampledTop(double radius, double legs = 0.0)
{
    return legs + radius * std::cos(std::numbers::pi / 34);
}

class ArchedRoofCommandTest : public FreshDialogTest<g_archedRoofThickness> {
protected:
    decDbEntity3d* Roof() const
    {
        const auto all = Db()->AllObjects();
        return all.empty() ? nullptr : decCast<decDbEntity3d>(all.back());
    }
};

// Each roof's extents and profile; a closed profile (a slab) encloses its section's area times
// the ridge length.
TEST_F(ArchedRoofCommandTest, RoofsOfSectionsRisesAndThicknesses)
{
    const struct {
        const char* name;
        std::string answers;
        GePoint3d low, high;
        std::size_t profile;
    } cases[] = {
        {"half circle with a slab", "0,0\n12000,0\n12000,20000\n6000\n120\n", {0, 0, 0},
         {12000, 20000, SampledTop(6000)}, 36},
        {"stilted and bare", "0,0\n12000,0\n12000,20000\n8000\n0\n", {0, 0, 0}, {12000, 20000, SampledTop(6000, 2000)},
         20},
        {"ridge end on the other side", "12000,0\n0,0\n0,-15000\n\n0\n", {0, -15000, 0}, {12000, 0, SampledTop(6000)},
         18},
        {"section at a height, ridge askew", "5000,1000,3000\n5000,11000,0\n9000,20000\n\n0\n", {5000, 1000, 3000},
         {5000 + std::hypot(4000, 9000), 11000, 3000 + SampledTop(5000)}, 18},
    };
    for (const auto& c : cases) {
        host::NewDrawing();
        Script("arcroof\n" + c.answers);
        const decDbEntity3d* roof = Roof();
        ASSERT_NE(roof, nullptr) << c.name << Transcript();
        // The half circle ends at the host's single-precision half turn, a hair under the line.
        ExpectExtents(roof->GetBoundBox(), c.low, c.high, 1e-3);
        const decMesh3* mesh = roof->GetMesh();
        const std::size_t n = static_cast<std::size_t>(mesh->GetCountVertex() / 2);
        EXPECT_EQ(n, c.profile) << c.name;
        EXPECT_EQ(mesh->GetCountPolygon(), static_cast<int>(n == 36 ? n + 2 : n - 1)) << c.name;
        Ring section;  // the profile stands in the frame's plane y = 0: its area by x and z
        for (std::size_t i = 0; i < n; ++i)
            section.emplace_back(mesh->GetVertexArray()[i].x, mesh->GetVertexArray()[i].z, 0.0);
        if (n == 36) {
            EXPECT_NEAR(std::fabs(MeshVolume(*roof)), std::fabs(SignedPlanArea(section)) * 20000, 1e-3);
        }
    }
    EXPECT_EQ(LayerAndMaterial(Roof()), "坡屋顶/屋面板");
}

// Every arched roof, with a slab or bare, faces outward: the closed ones enclose a positive
// volume, the bare ones face up; whichever side the ridge runs to and whatever the arch.
TEST_F(ArchedRoofCommandTest, EveryArchedRoofFacesOutward)
{
    for (const char* ridge : {"12000,20000", "12000,-20000"})
        for (const char* rise : {"2500", "6000", "8000"})
            for (const char* thickness : {"150", "0"}) {
                SCOPED_TRACE(std::string("ridge ") + ridge + " rise " + rise + " thickness " + thickness);
                host::NewDrawing();
                Script(std::string("arcroof\n0,0\n12000,0\n") + ridge + "\n" + rise + "\n" + thickness + "\n");
                ASSERT_NE(Roof(), nullptr);
                ASSERT_NE(Roof()->GetMesh(), nullptr);
                double outward = 0;  // a slab's volume; the plan of a bare arch's faces, facing up
                if (std::string(thickness) != "0")
                    outward = MeshVolume(*Roof());
                else
                    for (const Ring& face : MeshFaces(*Roof()->GetMesh(), Roof()->GetTM()))
                        outward += SignedPlanArea(face);
                EXPECT_GT(outward, 0.0);
            }
}

// Answers that make no arch are asked again without a message: a slab that reaches the
// section line (a flat arc's rise) or the centre (a half circle's radius, also on legs), a
// rise too small to span an arc, a span so far out that its arc cannot be worked out; a slab
// just thinner is taken. A roof that overflows where it stands is refused with a message,
// one far but sound (a site at 1e12) is made.
TEST_F(ArchedRoofCommandTest, AnswersThatMakeNoArchAreAskedAgainOrRefused)
{
    const std::string span = "0,0\n12000,0\n12000,20000\n";
    const struct {
        const char* name;
        std::string lines;
        int riseAsked, thicknessAsked;
        bool made, refused;
    } cases[] = {
        {"a slab as thick as a flat arc's rise", span + "500\n500\n6000\n499\n", 1, 3, true, false},
        {"a slab as thick as the half circle's radius", span + "\n6000\n5999\n", 1, 2, true, false},
        {"a slab as thick as the stilted arch's radius", span + "8000\n6000\n7000\n120\n", 1, 3, true, false},
        {"a rise of a billionth", span + "1e-9\n0\n500\n0\n", 3, 1, true, false},
        {"the span's square overflows", "0,0\n1e300,1e300\n1e300,-1e300\n3000\n150\n", 3, 0, false, false},
        {"the span itself overflows", "1.7e308,0\n-1.7e308,0\n-1.7e308,20000\n\n0\n", 3, 0, false, false},
        {"the ridge's length overflows", "1.7e308,0\n1.7e308,12000\n-1.7e308,12000\n\n0\n", 1, 1, false, true},
        {"a site at 1e12", "1e12,1e12\n1e12,1.000000012e12\n1.00000002e12,1.000000012e12\n\n150\n", 1, 1, true,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        host::EventLog::Instance().Clear();
        Script("arcroof\n" + c.lines);
        const std::string out = Transcript();
        EXPECT_EQ(CountOf(out, "请输入拱高"), c.riseAsked);
        EXPECT_EQ(CountOf(out, "请输入板厚"), c.thicknessAsked);
        EXPECT_EQ(CountOf(out, "提示：创建拱形屋顶失败。"), c.refused ? 1 : 0);
        if (!c.made) {
            EXPECT_TRUE(Db()->AllObjects().empty());
            continue;
        }
        ASSERT_NE(Roof(), nullptr) << out;
        ASSERT_NE(Roof()->GetMesh(), nullptr);
        EXPECT_GE(Roof()->GetBoundBox().MinPoint().z, -1e-3);
    }
}

// Short distances (a section end straight above its start leaves no span) and a rise that is
// no rise are asked again without a message; Enter takes the remembered thickness. Esc at any
// question makes nothing.
TEST_F(ArchedRoofCommandTest, ShortDistancesNoRiseAndEsc)
{
    g_archedRoofThickness = 150;
    Script("arcroof\n0,0\n50,50\n0,0,5000\n12000,0\n12000,99\n12000,20000\n0\n-100\n6000\n\n");
    const std::string out = Transcript();
    EXPECT_EQ(CountOf(out, "请指定屋顶截面终点："), 3);
    EXPECT_EQ(CountOf(out, "请指定屋脊延伸线终点："), 2);
    EXPECT_EQ(CountOf(out, "请输入拱高"), 3);
    ASSERT_NE(Roof(), nullptr) << out;
    EXPECT_EQ(Roof()->GetMesh()->GetCountVertex(), 72);

    std::string lines = "arcroof\n";
    for (const char* answer : {"0,0", "12000,0", "12000,20000", "6000", "120"}) {
        host::NewDrawing();
        Script(lines + "*cancel*\n");
        EXPECT_TRUE(Db()->AllObjects().empty()) << "cancelled after " << lines;
        lines += std::string(answer) + "\n";
    }
}

}  // namespace
