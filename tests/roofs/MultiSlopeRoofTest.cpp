// The multi-slope roof builder and the closed library's roof routine under it: the entity it
// makes, measured against the hip roof's formulas, and the routine against the toolkit's
// own roof faces.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>
#include <cmath>
#include <fstream>
#include <limits>
#include <numbers>

#include "GeoRoofFaces.h"
#include "MultiSlopeRoof.h"
#include "Quenra3dRunner.h"
#include "RoofTestSupport.h"
#include "Tools.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;

constexpr const char* kProgress = "开始生成坡屋顶...";
constexpr const char* kFailed = "提示：创建坡屋顶失败。";

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

class MultiSlopeRoofTest : public ModuleTest {
protected:
    // The faces of the roof entity in world coordinates, in mesh order.
    std::vector<Ring> Faces(const decObjectId& id) const
    {
        std::vector<Ring> faces;
        const auto* entity = decCast<decDbEntity3d>(Entity(id));
        const decMesh3* mesh = entity ? entity->GetMesh() : nullptr;
        for (int i = 0; mesh && i < mesh->GetCountPolygon(); ++i)
            faces.push_back(mesh->FacePoints(i, entity->GetTM()));
        return faces;
    }
};

// The band quads are the vertical faces.
bool IsVertical(const Ring& face)
{
    return std::fabs(NewellNormal(face).z) < 1e-6 * NewellNormal(face).Length();
}

// A hip roof of equal slope s over L x W: four faces covering the rectangle, each as large
// in space as in plan over cos s, rising (W/2)·tan s and holding W·h·(3L − W)/6; a square
// gives the pyramid a²·h/3.
TEST_F(MultiSlopeRoofTest, AnEqualSlopeRoofHasTheHipRoofsAreaHeightAndVolume)
{
    const struct {
        double l, w, slope;
    } cases[] = {{12000, 8000, 30}, {9000, 9000, 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.l);
        const double base = 1000, h = c.w / 2 * std::tan(Radians(c.slope));
        const decObjectId id = CreateMultiSlopeRoof(Rectangle(c.l, c.w, base), 0, std::vector<float>(4, c.slope));
        const std::vector<Ring> faces = Faces(id);
        ASSERT_EQ(faces.size(), 4u);
        double plan = 0, volume = 0, top = 0;
        for (const Ring& f : faces) {
            EXPECT_GT(SignedPlanArea(f), 0.0);
            EXPECT_NEAR(SpaceArea(f), SignedPlanArea(f) / std::cos(Radians(c.slope)), 1e-5 * SpaceArea(f));
            plan += SignedPlanArea(f);
            volume += VolumeAbove(f, base);
            for (const GePoint3d& p : f)
                top = std::max(top, p.z - base);
        }
        EXPECT_NEAR(plan, c.l * c.w, 1e-6 * c.l * c.w);
        EXPECT_NEAR(top, h, 0.1);
        const double expected = c.l == c.w ? c.l * c.l * h / 3 : c.w * h * (3 * c.l - c.w) / 6;
        EXPECT_NEAR(volume, expected, 1e-5 * expected);
    }
}

// With unequal slopes every face rises from its own eave edge at that edge's slope.
TEST_F(MultiSlopeRoofTest, EveryFaceRisesFromItsEdgeAtItsSlope)
{
    const Ring outline = {{0, 0, 0}, {14000, 0, 0}, {14000, 9000, 0}, {6000, 9000, 0}, {6000, 5000, 0}, {0, 5000, 0}};
    const std::vector<float> slopes = {30, 45, 25, 60, 35, 50};
    const std::vector<Ring> faces = Faces(CreateMultiSlopeRoof(outline, 0, slopes));
    ASSERT_FALSE(faces.empty());
    for (std::size_t e = 0; e < outline.size(); ++e) {
        const GePoint3d& a = outline[e];
        const GePoint3d& b = outline[(e + 1) % outline.size()];
        const auto onEdge = [&](const GePoint3d& p) { return CTools::ptDistToLineWithTwoPts(p, a, b) < 1e-3 && p.z < 1e-3; };
        const auto face = std::find_if(faces.begin(), faces.end(), [&](const Ring& f) {
            return std::count_if(f.begin(), f.end(), onEdge) >= 2;
        });
        ASSERT_NE(face, faces.end()) << "edge " << e;
        for (const GePoint3d& p : *face)
            EXPECT_NEAR(p.z, std::tan(Radians(slopes[e])) * CTools::ptDistToLineWithTwoPts(p, a, b), 0.05)
                << "edge " << e;
    }
}

// The caller's clockwise outline stays as it was; the faces start 200 above it and a band of
// one quad per edge, the closing edge included, closes the gap: perimeter × thickness.
TEST_F(MultiSlopeRoofTest, ASlabBandClosesEveryEdgeOfAClockwiseOutline)
{
    const Ring outline = {{0, 0, 500}, {0, 8000, 500}, {12000, 8000, 500}, {12000, 0, 500}};
    const Ring before = outline;
    const std::vector<Ring> faces = Faces(CreateMultiSlopeRoof(outline, 200, std::vector<float>(4, 30)));
    EXPECT_EQ(outline, before);
    ASSERT_EQ(faces.size(), 8u);
    double band = 0;
    for (const Ring& f : faces) {
        if (IsVertical(f)) {
            band += SpaceArea(f);
            continue;
        }
        for (const GePoint3d& p : f)
            EXPECT_GE(p.z, 700 - 1e-6);
    }
    EXPECT_EQ(std::count_if(faces.begin(), faces.end(), IsVertical), 4);
    EXPECT_NEAR(band, 2 * (12000 + 8000) * 200, 1e-3);
    // Without a slab the faces stand on the outline and there is no band.
    const std::vector<Ring> flat = Faces(CreateMultiSlopeRoof(outline, 0, std::vector<float>(4, 30)));
    EXPECT_EQ(flat.size(), 4u);
    EXPECT_EQ(std::count_if(flat.begin(), flat.end(), IsVertical), 0);
}

// A routine that reports a face of two vertices and one of three.
int TwoFaces(double, double*, double*, double*, int, int* count, int* counts, int* spare, double* fx, double* fy,
             double* fz)
{
    *count = 2;
    *spare = 0;
    counts[1] = 2;
    counts[2] = 3;
    const double pts[5][3] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1000, 0}, {1000, 0, 0}};
    for (int v = 1; v <= 5; ++v) {
        fx[v] = pts[v - 1][0];
        fy[v] = pts[v - 1][1];
        fz[v] = pts[v - 1][2];
    }
    return 1;
}

int NoFaces(double, double*, double*, double*, int, int* count, int*, int*, double*, double*, double*)
{
    *count = 0;
    return 0;
}

TEST_F(MultiSlopeRoofTest, FacesOfTwoPointsAreSkippedAndNoFaceGivesNoRoof)
{
    const Ring square = Rectangle(1000, 1000, 300);
    const decObjectId id = CreateMultiSlopeRoofWith(TwoFaces, square, 0, std::vector<float>(4, 30));
    const std::vector<Ring> faces = Faces(id);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].size(), 3u);
    EXPECT_NEAR(faces[0][0].z, 300, 1e-9) << "the faces stand on the outline's height";

    EXPECT_TRUE(CreateMultiSlopeRoofWith(NoFaces, square, 0, std::vector<float>(4, 30)).IsNull());
    EXPECT_THAT(Transcript(), HasSubstr(kFailed));
    EXPECT_EQ(Db()->AllObjects().size(), 1u);
    EXPECT_FALSE(Db()->IsOpenForWrite());
}

TEST_F(MultiSlopeRoofTest, AShortSlopeListOrTooFewPointsAreRefused)
{
    EXPECT_TRUE(CreateMultiSlopeRoof(Rectangle(1000, 1000), 0, {30, 30, 30}).IsNull());
    EXPECT_TRUE(CreateMultiSlopeRoof({{0, 0, 0}, {1000, 0, 0}}, 200, {30, 30}).IsNull());
    EXPECT_EQ(CountOf(Transcript(), kFailed), 2);
    EXPECT_TRUE(Db()->AllObjects().empty());
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

TEST_F(MultiSlopeRoofTest, OutlinesOfMoreThanTenPointsAnnounceTheBuild)
{
    CreateMultiSlopeRoof(Star(5), 0, std::vector<float>(10, 30));
    EXPECT_THAT(Transcript(), Not(HasSubstr(kProgress)));
    Ring eleven = Star(5);
    eleven.insert(eleven.begin() + 1, GePoint3d((eleven[0].x + eleven[1].x) / 2, (eleven[0].y + eleven[1].y) / 2, 0));
    EXPECT_FALSE(CreateMultiSlopeRoof(eleven, 0, std::vector<float>(11, 30)).IsNull());
    EXPECT_THAT(Transcript(), HasSubstr(kProgress));
}

// ---- the roof routine --------------------------------------------------------------

struct RoutineFaces {
    int result = 0;
    std::vector<Ring> faces;
};

RoutineFaces RunRoutine(const Ring& outline, std::vector<double> slopes, double h = 0)
{
    std::vector<double> x{0}, y{0};
    for (const GePoint3d& p : outline) {
        x.push_back(p.x);
        y.push_back(p.y);
    }
    slopes.insert(slopes.begin(), 0.0);
    int count = -1, spare = -1;
    std::vector<int> counts(1000);
    std::vector<double> fx(10000), fy(10000), fz(10000);
    RoutineFaces out;
    out.result = geofeidengpowumianzcx(h, x.data(), y.data(), slopes.data(), static_cast<int>(outline.size()), &count,
                                       counts.data(), &spare, fx.data(), fy.data(), fz.data());
    EXPECT_EQ(spare, 0);
    for (int f = 1, v = 1; f <= count; ++f) {
        Ring face;
        for (int k = 0; k < counts[f]; ++k, ++v)
            face.push_back({fx[v], fy[v], fz[v]});
        out.faces.push_back(face);
    }
    return out;
}

// The faces as sets of points, moved back by the shift, in a fixed order.
std::vector<Ring> Sorted(std::vector<Ring> faces, const GeVector3d& shift = {})
{
    const auto before = [](const GePoint3d& a, const GePoint3d& b) {
        return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
    };
    for (Ring& f : faces) {
        for (GePoint3d& p : f)
            p -= shift;
        std::sort(f.begin(), f.end(), before);
    }
    std::sort(faces.begin(), faces.end(), [&](const Ring& a, const Ring& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), before);
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

// The routine's faces are the toolkit's roof faces, whichever way the outline runs and at
// site coordinates too.
TEST_F(MultiSlopeRoofTest, TheRoutineGivesTheToolkitsFaces)
{
    const Ring outline = Star(6);
    std::vector<float> slopes;
    for (std::size_t i = 0; i < outline.size(); ++i)
        slopes.push_back(25.0f + 3.0f * static_cast<float>(i % 4));
    CArray<GePoint3dArray, GePoint3dArray> expected;
    ASSERT_EQ(CTools::GetSlopingRoofVtsAry(outline, slopes, expected), 1);
    const std::vector<Ring> toolkit(expected.begin(), expected.end());

    const RoutineFaces forward = RunRoutine(outline, {slopes.begin(), slopes.end()});
    EXPECT_EQ(forward.result, 1);
    ExpectSameFaces(forward.faces, toolkit);

    // The same ring the other way round, each edge with its own slope.
    Ring reversed(outline.rbegin(), outline.rend());
    std::vector<double> reversedSlopes;
    for (std::size_t i = 0; i < outline.size(); ++i)
        reversedSlopes.push_back(slopes[(2 * outline.size() - 2 - i) % outline.size()]);
    ExpectSameFaces(RunRoutine(reversed, reversedSlopes).faces, toolkit);

    const GeVector3d site(500000, 3200000, 0);
    Ring moved = outline;
    for (GePoint3d& p : moved)
        p += site;
    ExpectSameFaces(RunRoutine(moved, {slopes.begin(), slopes.end()}).faces, toolkit, site);
}

TEST_F(MultiSlopeRoofTest, TheRoutineRefusesWhatItCannotBuild)
{
    const Ring square = Rectangle(1000, 1000);
    const std::vector<double> thirty(4, 30);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        Ring outline;
        std::vector<double> slopes;
        double h;
    } cases[] = {
        {"two points", {{0, 0, 0}, {1000, 0, 0}}, {30, 30}, 0},
        {"500 points", Star(250), std::vector<double>(500, 30), 0},
        {"a level edge", square, {30, 0, 30, 30}, 0},
        {"an upright edge", square, {30, 90, 30, 30}, 0},
        {"no slope", square, {30, nan, 30, 30}, 0},
        {"a spike", {{0, 0, 0}, {1000, 0, 0}, {500, 0, 0}, {500, 800, 0}}, thirty, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RoutineFaces out = RunRoutine(c.outline, c.slopes, c.h);
        EXPECT_EQ(out.result, 0);
        EXPECT_TRUE(out.faces.empty());
    }
    int count = 7;
    EXPECT_EQ(geofeidengpowumianzcx(0, nullptr, nullptr, nullptr, 4, &count, nullptr, nullptr, nullptr, nullptr,
                                    nullptr),
              0);
    EXPECT_EQ(count, 0);
}

// ---- through the host executable ---------------------------------------------------

TEST_F(MultiSlopeRoofTest, TheHostCommandMakesTheRoofOnItsLayerWithItsMaterial)
{
    TestFolder folder;
    const std::string obj = (folder.Path() / "roof.obj").string();
    const std::string script = folder.Write(
        "roof.txt", "multislope 200 30 0,0 12000,0 12000,8000 0,8000\nlist\n"
                    "multislope 0 30 " + [] {
                        std::string points;
                        for (const GePoint3d& p : Star(5)) points += std::to_string(p.x + 30000) + "," + std::to_string(p.y) + " ";
                        return points + "15000,0";
                    }() + "\nmultislope 0 30,30 0,0 1,0 1,1\n");
    const Quenra3dRun run = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "--obj", obj, script});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("#1 decDbEntity3d created\n#1 decDbEntity3d layer=坡屋顶 extents 0,0,0 to "
                                      "12000,8000,2509.4"));
    EXPECT_THAT(run.output, HasSubstr(kProgress));
    EXPECT_THAT(run.output, HasSubstr(std::string(kFailed) + "\nno roof"));
    // The first object of the export: 4 roof faces and 4 band faces with the roof material.
    std::ifstream in(obj);
    int faces = 0, objects = 0;
    std::string material;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("o ", 0) == 0)
            ++objects;
        if (objects == 1 && line.rfind("f ", 0) == 0)
            ++faces;
        if (objects == 1 && line.rfind("usemtl ", 0) == 0)
            material = line.substr(7);
    }
    EXPECT_EQ(faces, 8);
    std::ifstream mtl(obj.substr(0, obj.size() - 4) + ".mtl");
    const std::string materials((std::istreambuf_iterator<char>(mtl)), std::istreambuf_iterator<char>());
    EXPECT_THAT(materials, HasSubstr("newmtl " + material + "\n# 屋面板\n"));
}

}  // namespace
