// The dormer entity: what SetData takes, the sections it builds, the property panel, the mesh
// against the roof plane's own equations, the record stored drawings hold, and dormers in a
// drawing listed, edited, exported and saved through the host executable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "CheckedNumbers.h"
#include "Dormer.h"
#include "DormerGeometry.h"
#include "DrawingFile.h"
#include "Quenra3dRunner.h"
#include "RoofTestSupport.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

class DormerTest : public ModuleTest {};

struct Dims {
    long w, h1, h2, t, o;
    double slope;
    bool operator==(const Dims&) const = default;
};

Dims Dimensions(const CDormer& d)
{
    return {d.Width(), d.Height1(), d.Height2(), d.RoofThickness(), d.Overhang(), d.Slope()};
}

CDormer Made(const Dims& d)
{
    CDormer dormer;
    EXPECT_EQ(dormer.SetData(d.w, d.h1, d.h2, d.t, d.o, d.slope), 1);
    return dormer;
}

// (x, z) pairs of a section in the plane y.
Ring InPlane(double y, std::initializer_list<std::pair<double, double>> xz)
{
    Ring ring;
    for (const auto& [x, z] : xz)
        ring.emplace_back(x, y, z);
    return ring;
}

TEST_F(DormerTest, SetDataTakesValidDimensionsAndSlopes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        Dims in;
        int result;
    } cases[] = {
        {"lowest slope", {2000, 1000, 1000, 300, 300, 0.0175}, 1},
        {"highest slope", {2000, 1000, 1000, 300, 300, 1.5708}, 1},
        {"slope below", {2000, 1000, 1000, 300, 300, 0.0174}, 0},
        {"slope above", {2000, 1000, 1000, 300, 300, 1.5709}, 0},
        {"slope NaN", {2000, 1000, 1000, 300, 300, nan}, 0},
        {"no height", {2000, 0, 0, 300, 300, 0.5}, 0},
        {"no width", {0, 1000, 1000, 300, 300, 0.5}, 0},
        {"width beyond 32 bits", {1L << 40, 1000, 1000, 300, 300, 0.5}, 0},
        {"height beyond 32 bits", {2000, std::numeric_limits<long>::min(), 0, 300, 300, 0.5}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDormer dormer;
        EXPECT_EQ(dormer.SetData(c.in.w, c.in.h1, c.in.h2, c.in.t, c.in.o, c.in.slope), c.result);
        EXPECT_EQ(dormer.Sections().size(), c.result ? 2u : 0u);
    }
    // Negative lengths are kept as absolute values, the thickness as given: no roof slab.
    CDormer dormer = Made({-2000, -1000, 1000, -300, -300, 0.5});
    EXPECT_EQ(Dimensions(dormer), (Dims{2000, 1000, 1000, -300, 300, 0.5}));
    ASSERT_EQ(dormer.Sections().size(), 1u);
    ExpectPointsNear(dormer.Sections()[0], InPlane(0, {{0, 0}, {2000, 0}, {2000, 1000}, {1000, 2000}, {0, 1000}}));
}

TEST_F(DormerTest, SectionsFollowTheShape)
{
    const double cut = -500 * std::tan(0.1);  // the roof face at y = -500
    const double b = 300 * std::tan(0.5);
    const struct {
        const char* name;
        Dims in;
        Ring body, roof;
    } cases[] = {
        {"rectangle with a flat slab", {2000, 1000, 0, 300, 300, 0.5},
         InPlane(0, {{0, 0}, {2000, 0}, {2000, 1000}, {0, 1000}}),
         InPlane(-300, {{-300, 1000}, {2300, 1000}, {2300, 1300}, {-300, 1300}})},
        // b = o·tan(slope) = 163.9 is below a = 300: the underside is cut at z = -b, where the
        // gable line z = x meets it.
        {"triangle", {2000, 0, 1000, 300, 300, 0.5},
         InPlane(0, {{0, 0}, {2000, 0}, {1000, 1000}}),
         InPlane(-300, {{-300, -b}, {-b, -b}, {1000, 1000}, {2000 + b, -b}, {2300, -b}, {2300, 0}, {1000, 1300},
                        {-300, 0}})},
        // No overhang: the gable's roof line drops by nothing and the eave stands on the roof.
        {"triangle without overhang", {2000, 0, 1000, 300, 0, 0.5}, InPlane(0, {{0, 0}, {2000, 0}, {1000, 1000}}),
         InPlane(0, {{0, 0}, {1000, 1000}, {2000, 0}, {2000, 300}, {1000, 1300}, {0, 300}})},
        {"no overhang", {2000, 1000, 1000, 300, 0, 0.5},
         InPlane(0, {{0, 0}, {2000, 0}, {2000, 1000}, {1000, 2000}, {0, 1000}}),
         InPlane(0, {{0, 1000}, {1000, 2000}, {2000, 1000}, {2000, 1300}, {1000, 2300}, {0, 1300}})},
        {"pentagon", {2000, 1000, 1000, 300, 300, 0.5},
         InPlane(0, {{0, 0}, {2000, 0}, {2000, 1000}, {1000, 2000}, {0, 1000}}),
         InPlane(-300, {{-300, 700}, {1000, 2000}, {2300, 700}, {2300, 1000}, {1000, 2300}, {-300, 1000}})},
        // The gable line z = 4x meets the roof face's level where x = cut / 4.
        {"steep gable over a shallow roof", {1000, 0, 2000, 300, 500, 0.1},
         InPlane(0, {{0, 0}, {1000, 0}, {500, 2000}}),
         InPlane(-500, {{-500, cut}, {cut / 4, cut}, {500, 2000}, {1000 - cut / 4, cut}, {1500, cut},
                        {1500, -1700}, {500, 2300}, {-500, -1700}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CDormer dormer = Made(c.in);
        ASSERT_EQ(dormer.Sections().size(), 2u);
        ExpectPointsNear(dormer.Sections()[0], c.body, 1e-9);
        ExpectPointsNear(dormer.Sections()[1], c.roof, 1e-9);
    }
}

// Records the panel would refuse (a drawing file may hold any) still give finite sections: a
// wall of negative height without an overhang cut its slab at 0 / 0 (a record read from a file
// did, and the save refused the dormer it had read).
TEST_F(DormerTest, SectionsOfDimensionsNoPanelTakesAreFinite)
{
    const Dims cases[] = {
        {2000, -1000, 1000, 300, 0, 0.5},
        {2000, -1000, 1000, 300, 300, 0.5},
        {-2000, 1000, 1000, 300, 300, 0.5},
        {2000, 1000, 1000, 300, -300, -1.5},
        {1, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1.5707963},
        {INT32_MAX, INT32_MIN, INT32_MAX, 1, 0, -1.5707963},
    };
    for (const Dims& d : cases) {
        SCOPED_TRACE(testing::Message() << d.w << " " << d.h1 << " " << d.h2 << " " << d.o << " " << d.slope);
        for (const Ring& section : DormerSections(d.w, d.h1, d.h2, d.t, d.o, d.slope))
            EXPECT_TRUE(AllFinite(section));
    }
}

void Edit(CDormer& dormer, int index, long v)
{
    prop_data value;
    value.SetLong(v);
    EXPECT_EQ(dormer.OnPropertyValueChanged(index, value), -2);
}

TEST_F(DormerTest, ThePanelTakesWhatItsRulesAllowAndAlwaysRebuilds)
{
    const struct {
        const char* name;
        Dims start;
        int index;
        long value;
        long expected;
    } cases[] = {
        {"width", {2000, 1000, 1000, 300, 300, 0.5}, 0, 1500, 1500},
        {"width 0", {2000, 1000, 1000, 300, 300, 0.5}, 0, 0, 2000},
        {"height1 0 under a gable", {2000, 1000, 1000, 300, 300, 0.5}, 1, 0, 0},
        {"height1 0 without a gable", {2000, 1000, 0, 300, 300, 0.5}, 1, 0, 1000},
        {"height2 0 on a wall", {2000, 1000, 1000, 300, 300, 0.5}, 2, 0, 0},
        {"height2 0 without a wall", {2000, 0, 1000, 300, 300, 0.5}, 2, 0, 1000},
        {"height2 negative", {2000, 1000, 1000, 300, 300, 0.5}, 2, -5, 1000},
        {"thickness 0", {2000, 1000, 1000, 300, 300, 0.5}, 3, 0, 0},
        {"thickness negative", {2000, 1000, 1000, 300, 300, 0.5}, 3, -1, 300},
        {"overhang negative", {2000, 1000, 1000, 300, 300, 0.5}, 4, -1, 300},
        {"width beyond 32 bits", {2000, 1000, 1000, 300, 300, 0.5}, 0, 1L << 40, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDormer dormer = Made(c.start);
        Edit(dormer, c.index, c.value);
        prop_data shown;
        dormer.OnPropertyValueGet(c.index, shown);
        EXPECT_EQ(shown.type, prop_data::kInteger);
        EXPECT_EQ(shown.lValue, c.expected);
    }

    // Slopes in degrees: 1 to 89 taken; 0.5 and 89.5 refused, the sections rebuilt all the same.
    CDormer dormer = Made({2000, 1000, 1000, 300, 300, 0.5});
    prop_data shown;
    dormer.OnPropertyValueGet(5, shown);
    EXPECT_EQ(shown.dValue, 0.5 * 180 / 3.1415927410125732);
    const struct {
        double degrees, slope;  // the slope after the edit, radians
    } slopes[] = {{0.5, 0.5}, {89.5, 0.5}, {1.0, 1.0 * 3.1415927410125732 / 180}, {89.0, 89.0 * 3.1415927410125732 / 180},
                  {89.001, 89.0 * 3.1415927410125732 / 180}, {0.999, 89.0 * 3.1415927410125732 / 180}};
    for (const auto& s : slopes) {
        SCOPED_TRACE(s.degrees);
        dormer.SetSection({});
        prop_data value;
        value.SetDouble(s.degrees);
        EXPECT_EQ(dormer.OnPropertyValueChanged(5, value), -2);
        EXPECT_EQ(dormer.Sections().size(), 2u);
        EXPECT_EQ(dormer.Slope(), s.slope);
    }

    prop_data untouched;
    untouched.SetLong(42);
    dormer.OnPropertyValueGet(6, untouched);
    EXPECT_EQ(untouched.lValue, 42);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< 0 >\n文件：Dormer"));
}

// The pentagon's bottom edge lies on the roof: its side face collapses onto that edge, and
// the clean-up leaves a closed ring of two points empty, so that face adds no polygon.
TEST_F(DormerTest, PentagonAndSlabMakeTwelvePolygons)
{
    const auto mesh = MeshOf(Made({2000, 1000, 1000, 300, 300, 0.5}));
    ASSERT_NE(mesh, nullptr);
    const std::vector<Ring> faces = MeshFaces(*mesh);
    ASSERT_EQ(faces.size(), 12u);
    // Then the right wall, its lower front corner on the roof: a triangle.
    ExpectPointsNear(faces[1], {{2000, 0, 0}, {2000, 1000 / std::tan(0.5), 1000}, {2000, 0, 1000}}, 1e-9);
    EXPECT_EQ(faces[5].size(), 6u);  // the slab's section

    // Without sections the mesh is left alone; a slope no dormer has gives none.
    CDormer empty;
    decMesh3* untouched = reinterpret_cast<decMesh3*>(&empty);
    EXPECT_EQ(empty.MakeMesh(&untouched), 1);
    EXPECT_EQ(untouched, reinterpret_cast<decMesh3*>(&empty));
    CDormer flat;
    flat.SetSection(Made({2000, 1000, 1000, 300, 300, 0.5}).Sections());
    EXPECT_EQ(MeshOf(flat), nullptr);
}

// The oracles: every vertex on a section's plane y = y0 or on the roof plane
// z = y·tan(slope); the sections' own faces normal to y and every other face parallel to y;
// and the swept bodies, each closed by its back face on the roof plane, enclosing
// ∫∫ (z / tan(slope) - y0) dA over their sections (divergence theorem against the sections'
// areas and first moments). A section's orientation carries over to its body's faces, so the
// sums are compared with their signs.
TEST_F(DormerTest, TheMeshIsTheSectionsSweptBackToTheRoofPlane)
{
    const Dims cases[] = {
        {2000, 1000, 1000, 300, 300, 0.5}, {2000, 1000, 0, 300, 300, 0.3},  {2000, 0, 1000, 300, 100, 1.0},
        {1200, 800, 600, 200, 0, 1.2},     {3000, 1500, 900, 0, 400, 0.0175}, {1000, 0, 2000, 300, 500, 0.1},
    };
    for (const Dims& d : cases) {
        SCOPED_TRACE(::testing::Message() << d.w << " " << d.h1 << " " << d.h2 << " " << d.t << " " << d.o);
        const CDormer dormer = Made(d);
        const auto mesh = MeshOf(dormer);
        ASSERT_NE(mesh, nullptr);
        const double tanSlope = std::tan(d.slope);
        const auto onAPlane = [&](const GePoint3d& p) {
            return std::fabs(p.y) < 1e-9 || std::fabs(p.y + static_cast<double>(d.o)) < 1e-9 ||
                   std::fabs(p.z - p.y * tanSlope) < 1e-6;
        };
        double volume = 0.0, expected = 0.0;
        std::size_t fronts = 0;
        for (const Ring& face : MeshFaces(*mesh)) {
            for (const GePoint3d& p : face)
                EXPECT_TRUE(onAPlane(p)) << p.x << "," << p.y << "," << p.z;
            const double ny = NewellNormal(face).Normalize().y;
            if (std::fabs(std::fabs(ny) - 1.0) < 1e-12)
                ++fronts;
            else
                EXPECT_NEAR(ny, 0.0, 1e-12);
            volume += FanVolume(face);
        }
        EXPECT_EQ(fronts, dormer.Sections().size());
        for (const Ring& section : dormer.Sections()) {
            Ring back;
            for (auto p = section.rbegin(); p != section.rend(); ++p)
                back.emplace_back(p->x, p->z / tanSlope, p->z);
            volume += FanVolume(back);
            double moment = 0.0, area = 0.0;  // ∫∫ z dA and ∫∫ dA over the section in (x, z)
            for (std::size_t i = 0; i < section.size(); ++i) {
                const GePoint3d& p = section[i];
                const GePoint3d& q = section[(i + 1) % section.size()];
                const double cross = p.x * q.z - q.x * p.z;
                area += cross / 2;
                moment += cross * (p.z + q.z) / 6;
            }
            expected += moment / tanSlope - section.front().y * area;
        }
        EXPECT_NEAR(volume, expected, 1e-9 * std::fabs(expected));
    }
}

TEST_F(DormerTest, ACopyIsDeep)
{
    CDormer original = Made({2000, 1000, 1000, 300, 300, 0.5});
    const CDormer copy(original);
    CDormer assigned;
    assigned = original;
    const std::vector<Ring> sections = original.Sections();
    ASSERT_EQ(original.SetData(900, 500, 0, 0, 0, 1.0), 1);
    for (const CDormer* d : {&copy, static_cast<const CDormer*>(&assigned)})
        EXPECT_TRUE(d->Width() == 2000 && d->Slope() == 0.5 && d->Sections() == sections);
}

// ---- the stored record --------------------------------------------------------------

// Width 1200, heights 800 and 0, thickness -5, overhang 40, slope, then the sections: a
// triangle, a section of two points, a square.
RecordBytes DormerRecord(std::int32_t sectionCount, double slope, bool twoPointSection = true)
{
    RecordBytes r;
    r.Int(0);  // the base part: an empty object name
    r.Int(1200).Int(800).Int(0).Int(-5).Int(40).Double(slope).Int(sectionCount);
    r.Int(3).Point(0, 0, 0).Point(1200, 0, 0).Point(600, 0, 800);
    if (twoPointSection)
        r.Int(2).Point(1, 2, 3).Point(4, 5, 6);
    r.Int(4).Point(0, -40, 0).Point(1, -40, 0).Point(1, -40, 1).Point(0, -40, 1);
    return r;
}

TEST_F(DormerTest, TheRecordIsReadAsStored)
{
    ExpectClassRecord(CDormer::Desc(), "QCDormer", "老虎窗", decBuilder::Desc());
    CDormer dormer;
    dormer.SetSection({{{9, 9, 9}, {8, 8, 8}, {7, 7, 7}}});
    std::string error;
    ASSERT_TRUE(host::LoadObjectRecord(dormer, DormerRecord(3, 0.25).bytes, 2, error)) << error;
    EXPECT_EQ(Dimensions(dormer), (Dims{1200, 800, 0, -5, 40, 0.25}));
    // The list is replaced; the two-point section is read and left out.
    ASSERT_EQ(dormer.Sections().size(), 2u);
    ExpectPointsNear(dormer.Sections()[0], {{0, 0, 0}, {1200, 0, 0}, {600, 0, 800}});
    EXPECT_EQ(dormer.Sections()[1].size(), 4u);
    EXPECT_EQ(host::StoreObjectRecord(dormer), DormerRecord(2, 0.25, false).bytes);

    // A stored slope of 0 reads, and gives no mesh.
    CDormer level;
    ASSERT_TRUE(host::LoadObjectRecord(level, DormerRecord(3, 0.0).bytes, 2, error)) << error;
    EXPECT_EQ(MeshOf(level), nullptr);

    // A count of none, a count claiming more than the record holds, a slope that is no number.
    RecordBytes noSections;
    noSections.Int(0).Int(1200).Int(800).Int(0).Int(-5).Int(40).Double(0.25).Int(-1);
    CDormer empty;
    ASSERT_TRUE(host::LoadObjectRecord(empty, noSections.bytes, 2, error)) << error;
    EXPECT_TRUE(empty.Sections().empty());
    CDormer corrupt;
    EXPECT_FALSE(host::LoadObjectRecord(corrupt, DormerRecord(1000000, 0.25).bytes, 2, error));
    EXPECT_THAT(error, HasSubstr("claims more than the record holds"));
    EXPECT_FALSE(host::LoadObjectRecord(corrupt, DormerRecord(4, 0.25).bytes, 2, error));
    EXPECT_FALSE(host::LoadObjectRecord(corrupt, DormerRecord(3, std::numeric_limits<double>::infinity()).bytes, 2,
                                        error));
}

// ---- in a drawing -----------------------------------------------------------------

// The lines list prints for the dormers, from the first dormer's line to the text after them.
std::string Listed(const std::string& output, std::size_t from, const std::string& until)
{
    from = output.find("#1 QCDormer layer", from);
    return from == std::string::npos ? "" : output.substr(from, output.find(until, from) - from);
}

// Two dormers on a roof face rising northwards at 30 degrees, their fronts at (x, 5000, 3000).
// Extents worked out by hand: the first dormer's slab reaches 300 beyond its 2000 (then 3000)
// width and its top, 1800 + 200 above the front, meets the 30-degree roof 2000 / tan 30° =
// 3464.1 behind it.
TEST_F(DormerTest, DormersInADrawingListEditExportAndSurviveSaving)
{
    for (double x : {1000.0, 6000.0}) {
        auto* dormer = new CDormer();
        ASSERT_EQ(dormer->SetData(2000, 1000, x > 5000 ? 0 : 800, 200, 300, std::acos(-1.0) / 6), 1);
        GeMatrix3d tm;
        tm.SetCoordSystem(GePoint3d(x, 5000, 3000), GeVector3d::kXAxis, GeVector3d::kYAxis, GeVector3d::kZAxis);
        AddSolid(dormer, tm);
    }
    TestFolder folder;
    const std::string drawing = (folder.Path() / "dormers.q3d").string();
    std::string error;
    ASSERT_TRUE(host::WriteDrawingFile(*Db(), drawing, error)) << error;
    const std::string obj = (folder.Path() / "dormers.obj").string();
    const std::string again = (folder.Path() / "again.q3d").string();
    const std::string script = folder.Write(
        "edit.txt", "list\nprops #2\nsetprop #1 0 3000\nsetprop #1 5 0.5\nsetprop #1 5 45\nexport obj " + obj +
                        "\nsave " + again + "\nlist\nnew\nopen " + again + "\nlist\n");
    const Quenra3dRun run = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "-o", drawing, script});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("#1 QCDormer layer=0 宽度=2000 高度1=1000 高度2=800 屋面厚度=200 屋面挑出长度=300 "
                                      "坡度=29.99999917 extents 700,4700,3000 to 3300,8464.101615,5000\n"));
    EXPECT_THAT(run.output, HasSubstr("#2 QCDormer properties:\n  0 [老虎窗信息] 宽度 (kind 1) = 2000\n"));
    EXPECT_THAT(run.output, HasSubstr("  5 [老虎窗信息] 坡度 (kind 2) = 29.99999917\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 QCDormer: taken, 宽度=3000\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 QCDormer: unchanged, 坡度=29.99999917\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 QCDormer: taken, 坡度=45\n"));
    ExpectExtents(ObjExtents(obj), {700, 4700, 3000}, {8300, 7078.460969, 5000}, 1e-6);
    const std::size_t saved = run.output.find("saved ");
    const std::string listed = Listed(run.output, saved, "new drawing");
    // 45 degrees through the single-precision π: 2000 / tan(0.78539818) behind the front.
    EXPECT_THAT(listed, HasSubstr("extents 700,4700,3000 to 4300,6999.999913,5000\n#2 QCDormer"));
    EXPECT_EQ(Listed(run.output, run.output.find("opened ", saved), "\n\n"), listed);
}

}  // namespace
