// The multi-slope roof builder and the closed library's roof routine under it: the entity it
// makes, measured against the hip roof's formulas, and the routine against the toolkit's
// own roof faces.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

#include "MultiSlopeRoof.h"
#include "RoofFaceUnion.h"
#include "RoofTestSupport.h"
#include "Tools.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;

constexpr const char* kProgress = "开始生成坡屋顶...";
constexpr const char* kFailed = "提示：创建坡屋顶失败。";

class MultiSlopeRoofTest : public ModuleTest {
protected:
    std::vector<Ring> Faces(const decObjectId& id) const { return MeshFaces(Entity(id)); }
};

// Equal slopes without a slab: the hip roof from the outline's own height, each face as large
// in space as in plan over cos s.
TEST_F(MultiSlopeRoofTest, AnEqualSlopeRoofIsTheHipRoof)
{
    for (const auto& [l, w, slope] : {std::tuple(12000.0, 8000.0, 30.0), std::tuple(9000.0, 9000.0, 40.0)}) {
        SCOPED_TRACE(l);
        const std::vector<Ring> faces = Faces(CreateMultiSlopeRoof(Rectangle(l, w, 1000), 0, std::vector<float>(4, slope)));
        ASSERT_EQ(faces.size(), 4u);
        for (const Ring& f : faces)
            EXPECT_NEAR(SpaceArea(f), SignedPlanArea(f) / std::cos(Radians(slope)), 1e-5 * SpaceArea(f));
        ExpectHipRoof(faces, l, w, slope, 1000);
    }
}

// With unequal slopes every face rises from its own eave edge at that edge's slope.
TEST_F(MultiSlopeRoofTest, EveryFaceRisesFromItsEdgeAtItsSlope)
{
    const Ring outline = {{0, 0, 0}, {14000, 0, 0}, {14000, 9000, 0}, {6000, 9000, 0}, {6000, 5000, 0}, {0, 5000, 0}};
    const std::vector<float> slopes = {30, 45, 25, 60, 35, 50};
    ExpectFacesRiseFromTheirEdges(Faces(CreateMultiSlopeRoof(outline, 0, slopes)), outline, slopes, 0.05);
}

// Over a clockwise outline the faces start 200 above it and a band of one quad per edge, the
// closing edge included, closes the gap: perimeter × thickness.
TEST_F(MultiSlopeRoofTest, ASlabBandClosesEveryEdgeOfAClockwiseOutline)
{
    const Ring outline = {{0, 0, 500}, {0, 8000, 500}, {12000, 8000, 500}, {12000, 0, 500}};
    const std::vector<Ring> faces = Faces(CreateMultiSlopeRoof(outline, 200, std::vector<float>(4, 30)));
    ASSERT_EQ(faces.size(), 8u);
    double band = 0;
    for (const Ring& f : faces) {
        band += IsVertical(f) ? SpaceArea(f) : 0.0;
        EXPECT_GE(Extents({f}).MinPoint().z, IsVertical(f) ? 500 - 1e-6 : 700 - 1e-6);
    }
    EXPECT_EQ(std::count_if(faces.begin(), faces.end(), IsVertical), 4);
    EXPECT_NEAR(band, 2 * (12000 + 8000) * 200, 1e-3);
}

// A routine that reports a face of two vertices and one of three.
int TwoFaces(double, double*, double*, double*, int, int* count, int* counts, int* spare, double* fx, double* fy,
             double* fz)
{
    *count = 2;
    *spare = 0;
    counts[1] = 2;
    counts[2] = 3;
    const double x[] = {0, 1, 0, 0, 1000}, y[] = {0, 0, 0, 1000, 0};
    std::copy(x, x + 5, fx + 1);
    std::copy(y, y + 5, fy + 1);
    std::fill(fz + 1, fz + 6, 0.0);
    return 1;
}

// A face of two vertices is skipped and the others stay; no face, a short slope list or too
// few points make nothing and say so. With a slab, a roof the routine gives no face for (an
// upright or outward slope, three points on a line) is no eave band alone either.
TEST_F(MultiSlopeRoofTest, FacesOfTwoPointsAreSkippedAndWhatCannotBeBuiltMakesNothing)
{
    const Ring square = Rectangle(1000, 1000, 300);
    const std::vector<Ring> faces = Faces(CreateMultiSlopeRoofWith(TwoFaces, square, 0, std::vector<float>(4, 30)));
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].size(), 3u);
    EXPECT_NEAR(faces[0][0].z, 300, 1e-9) << "the faces stand on the outline's height";

    const auto noFaces = [](double, double*, double*, double*, int, int* count, int*, int*, double*, double*, double*) {
        *count = 0;
        return 0;
    };
    EXPECT_TRUE(CreateMultiSlopeRoofWith(noFaces, square, 0, std::vector<float>(4, 30)).IsNull());
    EXPECT_TRUE(CreateMultiSlopeRoof(square, 0, {30, 30, 30}).IsNull());
    EXPECT_TRUE(CreateMultiSlopeRoof({{0, 0, 0}, {1000, 0, 0}}, 200, {30, 30}).IsNull());
    const Ring line = {{0, 0, 0}, {1000, 0, 0}, {2000, 0, 0}};
    for (const auto& [outline, slope] : {std::pair{square, 90.0f}, {square, -30.0f}, {line, 30.0f}})
        EXPECT_TRUE(CreateMultiSlopeRoof(outline, 200, std::vector<float>(outline.size(), slope)).IsNull()) << slope;
    EXPECT_EQ(CountOf(Transcript(), kFailed), 6);
    EXPECT_EQ(Db()->AllObjects().size(), 1u);
    EXPECT_FALSE(Db()->IsOpenForWrite());
}

// A slab up to the reach the roof-face union welds stands under the roof; a thicker one, or
// one that is no number, makes nothing (unionroof over a band typed 1e11 did not return).
TEST_F(MultiSlopeRoofTest, SlabsTheUnionCannotWeldMakeNothing)
{
    const Ring square = Rectangle(1000, 1000, 300);
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double thickness;
        bool made;
    } cases[] = {{838860, true},  {kernel::kUnionBandReach, true}, {838861, false},
                 {99999999999, false}, {1e21, false}, {inf, false}, {std::nan(""), false}, {-inf, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.thickness);
        host::EventLog::Instance().Clear();
        const decObjectId id = CreateMultiSlopeRoof(square, c.thickness, std::vector<float>(4, 30));
        EXPECT_EQ(!id.IsNull(), c.made);
        EXPECT_EQ(CountOf(Transcript(), kFailed), c.made ? 0 : 1);
    }
    Script("multislope 99999999999 30 0,0 12000,0 12000,8000 0,8000\n");
    EXPECT_THAT(Transcript(), HasSubstr(std::string(kFailed) + "\nno roof"));
}

Ring Star(int points, double x0 = 0, double y0 = 0)
{
    Ring ring;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = std::numbers::pi * i / points, r = i % 2 ? 6000 : 10000;
        ring.push_back({x0 + r * std::cos(a), y0 + r * std::sin(a), 0});
    }
    return ring;
}

// ---- the roof routine --------------------------------------------------------------

// The faces as sets of points, moved back by the shift, in a fixed order.
std::vector<Ring> Sorted(std::vector<Ring> faces, const GeVector3d& shift = {})
{
    const auto key = [](const GePoint3d& p) { return std::tuple(p.x, p.y, p.z); };
    for (Ring& f : faces) {
        for (GePoint3d& p : f)
            p -= shift;
        std::ranges::sort(f, {}, key);
    }
    std::ranges::sort(faces, [&](const Ring& a, const Ring& b) {
        return std::ranges::lexicographical_compare(a, b, {}, key, key);
    });
    return faces;
}

// The same faces within the solver's single precision.
void ExpectSameFaces(const std::vector<Ring>& actual, const std::vector<Ring>& expected, const GeVector3d& shift = {})
{
    const std::vector<Ring> a = Sorted(actual, shift), e = Sorted(expected);
    ASSERT_EQ(a.size(), e.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        ExpectPointsNear(a[i], e[i], 0.05);
}

// The routine under the builder gives the toolkit's roof faces, whichever way the outline runs
// and at site coordinates too.
TEST_F(MultiSlopeRoofTest, TheRoutineGivesTheToolkitsFaces)
{
    const Ring outline = Star(6);
    std::vector<float> slopes;
    for (std::size_t i = 0; i < outline.size(); ++i)
        slopes.push_back(25.0f + 3.0f * static_cast<float>(i % 4));
    CArray<GePoint3dArray, GePoint3dArray> expected;
    ASSERT_EQ(CTools::GetSlopingRoofVtsAry(outline, slopes, expected), 1);
    const std::vector<Ring> toolkit(expected.begin(), expected.end());
    ExpectSameFaces(Faces(CreateMultiSlopeRoof(outline, 0, slopes)), toolkit);

    // The same ring the other way round, each edge with its own slope.
    std::vector<float> reversedSlopes(slopes.rbegin() + 1, slopes.rend());
    reversedSlopes.push_back(slopes.back());
    ExpectSameFaces(Faces(CreateMultiSlopeRoof(tools_test::Reversed(outline), 0, reversedSlopes)), toolkit);

    const GeVector3d site(500000, 3200000, 0);
    ExpectSameFaces(Faces(CreateMultiSlopeRoof(tools_test::Moved(outline, site.x, site.y), 0, slopes)), toolkit, site);
}

// ---- through the host's command ---------------------------------------------------

// One mesh on 坡屋顶 with 屋面板 reaching 200 + (W/2)·tan 30°: 4 roof faces and 4 band faces.
// Outlines of more than ten points announce the build; a short slope list makes nothing.
TEST_F(MultiSlopeRoofTest, TheHostCommandMakesTheRoofOnItsLayerWithItsMaterial)
{
    const Ring ten = Star(5, 30000);
    Ring eleven = ten;
    eleven.insert(eleven.begin() + 1, GePoint3d((ten[0].x + ten[1].x) / 2, (ten[0].y + ten[1].y) / 2, 0));
    Script("multislope 200 30 0,0 12000,0 12000,8000 0,8000\nmultislope 0 30 " + ScriptPoints(ten) + "\n");
    EXPECT_THAT(Transcript(), Not(HasSubstr(kProgress)));
    Script("multislope 0 30 " + ScriptPoints(eleven) + "\nmultislope 0 30,30 0,0 1,0 1,1\n");
    EXPECT_THAT(Transcript(), HasSubstr(kProgress));
    EXPECT_THAT(Transcript(), HasSubstr(std::string(kFailed) + "\nno roof"));
    const auto roofs = Solids();
    ASSERT_EQ(roofs.size(), 3u);
    EXPECT_EQ(LayerAndMaterial(roofs[0]), "坡屋顶/屋面板");
    ExpectExtents(roofs[0]->GetBoundBox(), {0, 0, 0}, {12000, 8000, 200 + 4000 * std::tan(Radians(30))}, 0.05);
    EXPECT_EQ(roofs[0]->GetMesh()->GetCountPolygon(), 8);
}

// A point given again right after itself (a corner given two or three times, the first point
// again at the end, a copy within 0.001) is an edge of no length: it goes with its own slope, and
// the roof is the plain outline's, every edge with its own slope. At the origin and on a site,
// with a slab and without; fewer than three points left is refused.
TEST_F(MultiSlopeRoofTest, RepeatedPointsGiveThePlainOutlinesRoof)
{
    const std::vector<float> slopes = {30, 45, 25, 60};
    const std::vector<std::vector<int>> cases = {
        {0, 1, 2, 3, 0}, {0, 1, 1, 2, 3}, {0, 1, 2, 2, 2, 3}, {0, 0, 1, 2, 3, 3, 0}, {0, 1, -2, 2, 3}};  // -2: moved 0.0008
    for (const auto& [x, y, thickness] : {std::tuple(0.0, 0.0, 0), std::tuple(500000.0, 3000000.0, 200)}) {
        const Ring plain = tools_test::Moved(Rectangle(12000, 8000, 3000), x, y);
        const std::vector<Ring> expected = Faces(CreateMultiSlopeRoof(plain, thickness, slopes));
        for (const std::vector<int>& given : cases) {
            SCOPED_TRACE(::testing::PrintToString(given) + " at " + std::to_string(x));
            Ring points;
            std::vector<float> edgeSlopes;
            for (std::size_t i = 0; i < given.size(); ++i) {
                const int corner = std::abs(given[i]), next = std::abs(given[(i + 1) % given.size()]);
                points.push_back(tools_test::Moved({plain[corner]}, given[i] < 0 ? 0.0008 : 0, 0)[0]);
                edgeSlopes.push_back(corner == next ? 5.0f : slopes[corner]);
            }
            ExpectSameFaces(Faces(CreateMultiSlopeRoof(points, thickness, edgeSlopes)), expected);
        }
    }
    EXPECT_THAT(Transcript(), Not(HasSubstr(kFailed)));
    Script("multislope 0 30 0,0 0,0 0,0\nmultislope 0 30 0,0 0,0 12000,0 12000,0\nmultislope 0 30 0,0 12000,0 0,0\n");
    EXPECT_EQ(CountOf(Transcript(), std::string(kFailed) + "\nno roof"), 3);
}

}  // namespace
