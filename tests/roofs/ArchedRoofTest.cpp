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
// crown (raised by the legs of a stilted arch); every inner edge but the two brought down to
// the section line runs parallel to its outer edge, the thickness nearer the centre.
TEST(ArchedRoofProfile, OuterArcOnItsCircleAndInnerEdgesOneThicknessInside)
{
    struct {
        const char* name;
        double rise, thickness;
        std::size_t outer;  // samples of the outer arc
    } const cases[] = {{"half circle", 6000, 120, 18}, {"half circle within the tolerance", 6000.0009, 0, 18},
                       {"flat arc", 2000, 200, 18},   {"stilted arch", 8000, 150, 20},
                       {"bare stilted arch", 8000, 0.001, 20}};
    const double h = 6000;
    for (const auto& c : cases) {
        CArchedRoof roof;
        roof.m_sectionStart = GePoint3d(-h, 0, 0);
        roof.m_sectionEnd = GePoint3d(h, 0, 0);
        roof.m_rise = c.rise;
        roof.m_thickness = c.thickness;
        roof.ComputeArcProfile();
        const std::size_t n = c.outer;
        ASSERT_EQ(roof.m_profile.size(), c.thickness > 0.001 ? 2 * n : n) << c.name;
        const bool flat = c.rise <= h - 0.001;
        const double radius = flat ? (h * h + c.rise * c.rise) / (2 * c.rise) : h;
        const GePoint3d centre(0, 0, flat ? c.rise - radius : n == 20 ? c.rise - h : 0.0);
        for (std::size_t i = n / 19; i < n - n / 19; ++i)  // the legs' feet are off the circle
            EXPECT_NEAR(roof.m_profile[i].DistanceTo(centre), radius, 1e-6) << c.name << " sample " << i;
        if (roof.m_profile.size() == n)
            continue;
        // Inner vertex k runs backwards: inner edge k..k+1 lies under outer edge n-2-k..n-1-k.
        EXPECT_EQ(roof.m_profile[n].z, 0.0);
        EXPECT_EQ(roof.m_profile.back().z, 0.0);
        for (std::size_t k = 1; k + 2 < n; ++k) {
            const GePoint3d& a = roof.m_profile[n - 2 - k];
            const GeVector3d along = (roof.m_profile[n - 1 - k] - a).Normal();
            for (const GePoint3d& p : {roof.m_profile[n + k], roof.m_profile[n + k + 1]}) {
                EXPECT_NEAR(along.CrossProduct(p - a).Length(), c.thickness, 1e-6) << c.name << " inner edge " << k;
                EXPECT_LT(p.DistanceTo(centre), a.DistanceTo(centre)) << c.name << " inner edge " << k;
            }
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
