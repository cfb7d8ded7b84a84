// The building entity: its frame and stored outline, refusals, mesh and OBJ export,
// property panel, records and drawing files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DrawingFile.h"
#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "ModelTestSupport.h"
#include "ObjExport.h"
#include "SerializeFilter.h"
#include "WorkingDrawing.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// The clockwise square of side 10 drawn from the origin.
const GePoint3dArray kClockwiseSquare = {{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0}};

void ExpectNear(const GePoint3d& actual, const GePoint3d& expected, const char* what)
{
    SCOPED_TRACE(what);
    ExpectPointsNear({actual}, {expected});
}

void ExpectNear(const GeVector3d& actual, const GeVector3d& expected, const char* what)
{
    ExpectNear(GePoint3d() + actual, GePoint3d() + expected, what);
}

class ExtrudeBuildTest : public ModelTest {};

// ---- Set and the frame -------------------------------------------------------------

TEST_F(ExtrudeBuildTest, ClockwiseSquareIsStoredCounterClockwiseInItsOwnFrame)
{
    CExtrudeBuild building;
    GeMatrix3d tm;
    building.Set("A楼", 3000, kClockwiseSquare, tm);

    EXPECT_EQ(building.Name(), "A楼");
    EXPECT_EQ(building.Height(), 3000);
    EXPECT_EQ(building.GetBasePtsNum(), 4u);
    ExpectPointsNear(building.BasePoints(), {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});

    GePoint3d origin;
    GeVector3d x, y, z;
    tm.GetCoordSystem(origin, x, y, z);
    ExpectNear(origin, {10, 0, 0}, "origin");
    ExpectNear(x, {0, 1, 0}, "X");
    ExpectNear(y, {-1, 0, 0}, "Y");
    ExpectNear(z, {0, 0, 1}, "Z");

    // Placed by its frame, the stored ring is the drawn square reversed.
    const GePoint3dArray reversed = {{10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};
    for (std::size_t i = 0; i < 4; ++i)
        ExpectNear(tm * building.BasePoints()[i], reversed[i], "world point");
}

TEST_F(ExtrudeBuildTest, RepeatedClosingPointAndStraightVertexAreNotStored)
{
    CExtrudeBuild building;
    GeMatrix3d tm;
    building.Set("B", 100, {{0, 0, 5}, {5, 0, 5}, {10, 0, 5}, {10, 6, 5}, {0, 6, 5}, {0, 0, 5}}, tm);
    ExpectPointsNear(building.BasePoints(), {{0, 0, 0}, {10, 0, 0}, {10, 6, 0}, {0, 6, 0}});
    GePoint3d origin;
    GeVector3d x, y, z;
    tm.GetCoordSystem(origin, x, y, z);
    ExpectNear(origin, {0, 0, 5}, "origin at the first corner, at the outline's height");
}

TEST_F(ExtrudeBuildTest, UnusableInputChangesNothing)
{
    const GeMatrix3d marker = GeMatrix3d().SetToTranslation({1, 2, 3});
    CExtrudeBuild building;
    GeMatrix3d tm = marker;
    building.Set("零高", 0, kClockwiseSquare, tm);
    building.Set("负高", -5, kClockwiseSquare, tm);
    building.Set("两点", 100, {{0, 0, 0}, {5, 0, 0}}, tm);
    // Three points on a line clean down to none: refused before anything changes.
    building.Set("一线", 100, {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}}, tm);
    EXPECT_TRUE(tm.IsEqual(marker, 0.0));
    EXPECT_TRUE(building.Name().IsEmpty());
    EXPECT_EQ(building.Height(), 0);
    EXPECT_EQ(building.GetBasePtsNum(), 0u);
    decMesh3* mesh = nullptr;
    EXPECT_EQ(building.MakeMesh(&mesh), 0);
    EXPECT_EQ(mesh, nullptr);
    EXPECT_THAT(Transcript(), Not(HasSubstr("表达式失败")));

    // A set building keeps what it has.
    building.Set("好", 900, kClockwiseSquare, tm);
    building.Set("一线", 100, {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}}, tm);
    EXPECT_EQ(building.Name(), "好");
    EXPECT_EQ(building.Height(), 900);
    EXPECT_EQ(building.GetBasePtsNum(), 4u);
}

TEST_F(ExtrudeBuildTest, FrameOfTooFewPointsShowsTheAssertionAndLeavesTheMatrix)
{
    CExtrudeBuild building;
    GeMatrix3d tm = GeMatrix3d().SetToTranslation({7, 0, 0});
    building.GetLocalTm(tm);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< m_ptsBase.size() > 2 && \"建筑物底轮廓顶点数异常！\" >"));
    EXPECT_THAT(Transcript(), HasSubstr("文件：ExtrudeBuild"));
    EXPECT_TRUE(tm.IsEqual(GeMatrix3d().SetToTranslation({7, 0, 0}), 0.0));
}

// ---- class record and copies -------------------------------------------------------

TEST_F(ExtrudeBuildTest, ClassRecordAndKindTests)
{
    const decObjectClassInfo* info = CExtrudeBuild::Desc();
    ExpectClassRecord(info, "QCExtrudeBuild", "拉伸建筑", decBuilder::Desc());

    std::unique_ptr<decObject> made(info->factory());
    EXPECT_EQ(CExtrudeBuild::Cast(made.get()), made.get());
    EXPECT_EQ(CExtrudeBuild::Cast(nullptr), nullptr);
    decDbBox box;
    EXPECT_EQ(CExtrudeBuild::Cast(&box), nullptr);
}

TEST_F(ExtrudeBuildTest, CopiesTakeEveryField)
{
    CExtrudeBuild building;
    GeMatrix3d tm;
    building.Set("C", 1234, kClockwiseSquare, tm);
    const CExtrudeBuild copy(building);
    EXPECT_EQ(copy.Name(), "C");
    EXPECT_EQ(copy.Height(), 1234);
    ExpectPointsNear(copy.BasePoints(), building.BasePoints());
    CExtrudeBuild assigned;
    assigned = building;
    EXPECT_EQ(assigned.Name(), "C");
    ExpectPointsNear(assigned.BasePoints(), building.BasePoints());
}

// ---- mesh and OBJ ------------------------------------------------------------------

// The mesh starts with the stored ring and its top, in order: placed by the frame, the
// export shows the drawn square reversed.
TEST_F(ExtrudeBuildTest, MeshOfTheBuildingExportsToObj)
{
    AddBuilding("南楼", 3000, kClockwiseSquare);
    const auto path = TempFile("building.obj");
    std::string error;
    ASSERT_TRUE(host::ExportObj(*Db(), path.string(), error)) << error;
    std::ifstream in(path);
    std::string line;
    std::vector<GePoint3d> vertices;
    int faces = 0;
    bool named = false;
    while (std::getline(in, line)) {
        if (line.rfind("v ", 0) == 0) {
            std::istringstream values(line.substr(2));
            GePoint3d p;
            values >> p.x >> p.y >> p.z;
            vertices.push_back(p);
        } else if (line.rfind("f ", 0) == 0) {
            ++faces;
        } else if (line.rfind("o QCExtrudeBuild", 0) == 0) {
            named = true;
        }
    }
    std::filesystem::remove(path);
    std::filesystem::remove(path.string().substr(0, path.string().size() - 4) + ".mtl");
    EXPECT_TRUE(named);
    EXPECT_EQ(faces, 6);
    ASSERT_EQ(vertices.size(), 8u);
    const GePoint3dArray expected = {{10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};
    for (std::size_t i = 0; i < 4; ++i) {
        ExpectNear(vertices[i], expected[i], "bottom");
        ExpectNear(vertices[i + 4], expected[i] + GeVector3d(0, 0, 3000), "top");
    }
}

// ---- property panel ----------------------------------------------------------------

TEST_F(ExtrudeBuildTest, PropertyTable)
{
    CExtrudeBuild building;
    ExpectPropertyRows(building.GetObjectPropertyDefine(),
                       {{"建筑物", "名称", "输入名称", 4}, {"建筑物", "高度（毫米）", "输入高度", 1}});
}

TEST_F(ExtrudeBuildTest, PropertiesListAndEditThroughTheHostWithinTheirLimits)
{
    AddBuilding("南楼", 3000, kClockwiseSquare);
    ASSERT_TRUE(Run("list #1\n"
                    "setprop #1 1 1000000\n"
                    "setprop #1 1 1000001\n"
                    "setprop #1 1 0\n"
                    "setprop #1 1 -7\n"
                    "setprop #1 0 北楼 2\n"
                    "setprop #1 0\n"));
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("#1 QCExtrudeBuild layer=0 名称=南楼 高度（毫米）=3000 extents 0,0,0 to 10,10,3000\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCExtrudeBuild: taken, 高度（毫米）=1000000\n> setprop #1 1 1000001\n"
                               "#1 QCExtrudeBuild: unchanged, 高度（毫米）=1000000\n"));
    EXPECT_THAT(out, HasSubstr("> setprop #1 1 0\n#1 QCExtrudeBuild: unchanged, 高度（毫米）=1000000\n"));
    EXPECT_THAT(out, HasSubstr("> setprop #1 1 -7\n#1 QCExtrudeBuild: unchanged, 高度（毫米）=1000000\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCExtrudeBuild: taken, 名称=北楼 2\n"));
    // An empty text makes the building unnamed.
    EXPECT_THAT(out, HasSubstr("> setprop #1 0\n#1 QCExtrudeBuild: taken, 名称=\n"));
    EXPECT_EQ(Building(decObjectId(1))->Height(), 1000000);
    EXPECT_TRUE(Building(decObjectId(1))->Name().IsEmpty());
}

TEST_F(ExtrudeBuildTest, LongNamesAreCutOnACharacterBoundaryAndUnknownRowsAreReported)
{
    CExtrudeBuild building;
    GeMatrix3d tm;
    std::string longName;
    for (int i = 0; i < 100; ++i)
        longName += "楼";
    building.Set(longName.c_str(), 3000, kClockwiseSquare, tm);
    prop_data value;
    building.OnPropertyValueGet(0, value);
    EXPECT_EQ(value.type, prop_data::kText);
    EXPECT_EQ(std::string(value.szValue), longName.substr(0, 198));
    building.OnPropertyValueGet(1, value);
    EXPECT_EQ(value.type, prop_data::kInteger);
    EXPECT_EQ(value.lValue, 3000);

    prop_data untouched;
    untouched.SetLong(42);
    building.OnPropertyValueGet(2, untouched);
    EXPECT_EQ(untouched.lValue, 42);
    EXPECT_EQ(building.OnPropertyValueChanged(2, untouched), -2);
    EXPECT_EQ(building.Height(), 3000);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< 0 >\n文件：ExtrudeBuild"));
}

// ---- records and drawing files -----------------------------------------------------

// A record as the class writes it: base part (object name), name, height, count, points,
// reserved field.
std::vector<std::uint8_t> Record(const char* name, int height, const GePoint3dArray& points, int reserved,
                                 std::uint32_t count)
{
    StoreFilter out(true);
    out << CString("") << CString(name) << height << static_cast<unsigned>(count);
    for (const GePoint3d& p : points)
        out << p;
    out << reserved;
    return out.TakeBytes();
}

TEST_F(ExtrudeBuildTest, RecordRoundTripKeepsEveryFieldReservedToo)
{
    const GePoint3dArray local = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    const auto record = Record("东楼", 4500, local, 7, 4);
    CExtrudeBuild loaded;
    std::string error;
    ASSERT_TRUE(host::LoadObjectRecord(loaded, record, 2, error)) << error;
    EXPECT_EQ(loaded.Name(), "东楼");
    EXPECT_EQ(loaded.Height(), 4500);
    EXPECT_EQ(loaded.Reserved(), 7);
    ExpectPointsNear(loaded.BasePoints(), local);
    EXPECT_EQ(host::StoreObjectRecord(loaded), record);

    // A building without points writes a count of 0 and no point data.
    CExtrudeBuild empty;
    EXPECT_EQ(host::StoreObjectRecord(empty), Record("", 0, {}, 0, 0));
}

TEST_F(ExtrudeBuildTest, ACorruptPointCountIsRefusedWithoutAllocating)
{
    CExtrudeBuild loaded;
    std::string error;
    EXPECT_FALSE(host::LoadObjectRecord(loaded, Record("坏", 10, {{1, 2, 3}}, 0, 0xFFFFFFFFu), 2, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(loaded.GetBasePtsNum(), 0u);
    EXPECT_TRUE(loaded.Name().IsEmpty());
    // A count one larger than the points present is refused as well.
    EXPECT_FALSE(host::LoadObjectRecord(loaded, Record("短", 10, {{1, 2, 3}}, 0, 2), 2, error));
}

TEST_F(ExtrudeBuildTest, SavedDrawingOpensWithTheBuildingUnchanged)
{
    const decObjectId id = AddBuilding("西楼", 2900, kClockwiseSquare);
    const GeMatrix3d placed = Entity(id)->GetLocalTM();
    const GePoint3dArray stored = Building(id)->BasePoints();
    const auto path = TempFile("drawing.q3d");
    std::string error;
    ASSERT_TRUE(host::SaveDrawing(path.string(), error)) << error;
    host::NewDrawing();
    EXPECT_EQ(Entity(id), nullptr);
    ASSERT_TRUE(host::OpenDrawing(path.string(), error)) << error;
    std::filesystem::remove(path);

    const CExtrudeBuild* building = Building(id);
    ASSERT_NE(building, nullptr);
    EXPECT_EQ(building->Name(), "西楼");
    EXPECT_EQ(building->Height(), 2900);
    EXPECT_EQ(building->Reserved(), 0);
    ExpectPointsNear(building->BasePoints(), stored);
    EXPECT_TRUE(Entity(id)->GetLocalTM().IsEqual(placed, 0.0));
}

}  // namespace
