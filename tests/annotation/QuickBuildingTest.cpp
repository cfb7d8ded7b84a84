// The legacy building: its prism, its builder, its record laid out by hand from the record
// table (with the names of each class version and damaged records), and the walks over its
// window list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "DrawingTestSupport.h"
#include "DrawingFile.h"
#include "LegacyModelFixture.h"
#include "Quenra3dRunner.h"
#include "QuickBuilding.h"
#include "WorkingDrawing.h"
#include "decDbForeignObject.h"

using LegacyModel::Bytes;
using ::testing::HasSubstr;

namespace {

using QuickBuildingTest = DrawingTest;

// The fields of a building record in table order; the square of side 1000 by default.
struct Record {
    std::vector<std::uint64_t> windows;
    std::int32_t number = 8;
    std::int32_t textLength = 2;
    std::string text = "A1";
    std::int32_t outlineCount = 4;
    std::int32_t floors = 2;
    std::vector<float> storeys = {3000, 3000};
    float height = 6.0f;
    std::int32_t ringCount = 2;
    std::int32_t ringSize = 4;
    std::optional<std::string> name = "甲楼";

    Bytes Build() const
    {
        const double square[4][2] = {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}};
        Bytes b;
        b.Text("").Int(static_cast<std::int32_t>(windows.size()));
        for (std::uint64_t id : windows) b.U64(id);
        b.U64(0).Int(number).Int(textLength).Raw(text).Int(outlineCount);
        for (int i = 0; i < 4; ++i) b.Point(square[i][0], square[i][1], 0);
        b.Int(floors).Int(600);
        for (float h : storeys) b.Float(h);
        b.Float(height).Bool(false).Int(ringCount);
        for (int r = 0; r < 2; ++r) {
            b.Int(ringSize);
            for (int i = 0; i < ringSize; ++i) b.Point(square[i][0], square[i][1], r * 6000.0);
        }
        if (name) b.Text(*name);
        return b;
    }
};

std::unique_ptr<decMesh3> MeshOf(const CQuickBuilding& building)
{
    decMesh3* mesh = nullptr;
    EXPECT_EQ(building.MakeMesh(&mesh), 1);
    return std::unique_ptr<decMesh3>(mesh);
}

TEST_F(QuickBuildingTest, ASquareOfTwoRingsIsAPrismOfItsHeight)
{
    CQuickBuilding building;
    // Drawn clockwise, away from the origin, closed by a repeat 0.5 from the first point.
    building.Set(4, {{5000, 5000, 0}, {5000, 8000, 0}, {8000, 8000, 0}, {8000, 5000, 0}, {5000.5, 5000, 0}}, 3, 0,
                 {3000, 3000, 3000}, "乙");
    GePoint3dArray outline;
    building.GetOutline(outline);
    // Counter-clockwise from the origin, first edge along +x, the repeat kept once.
    ExpectPointsNear(outline, {{0, 0, 0}, {3000, 0, 0}, {3000, 3000, 0}, {0, 3000, 0}}, 1e-9);
    EXPECT_FLOAT_EQ(building.GetHeight(), 9.0f);
    const auto mesh = MeshOf(building);
    ASSERT_TRUE(mesh);
    ASSERT_EQ(mesh->GetCountVertex(), 24);
    ASSERT_EQ(mesh->GetCountPolygon(), 6);
    EXPECT_EQ(mesh->GetPolygon(0), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(mesh->GetPolygon(1), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_EQ(mesh->GetVertsUV(), nullptr);
    for (int wall = 0; wall < 4; ++wall) {
        const std::vector<int>& quad = mesh->GetPolygon(2 + wall);
        EXPECT_EQ(quad, (std::vector<int>{8 + 4 * wall, 9 + 4 * wall, 10 + 4 * wall, 11 + 4 * wall}));
        const GePoint3d* v = mesh->GetVertexArray();
        EXPECT_DOUBLE_EQ(v[quad[3]].z - v[quad[0]].z, 9000);
        EXPECT_TRUE(v[quad[0]] == outline[static_cast<std::size_t>(wall)]);
    }
    // Two points that clean up into one change nothing.
    building.Set(5, {{0, 0, 0}, {0, 0, 0}}, 1, 0, {100}, "丙");
    EXPECT_EQ(building.GetName(), "乙");
}

TEST_F(QuickBuildingTest, NoMeshWithoutOutlineStoreysOrFullRings)
{
    std::string error;
    Record noStoreys;
    noStoreys.floors = 0;
    noStoreys.storeys.clear();
    Record shortRing;
    shortRing.ringSize = 3;
    for (const Record* record : {&noStoreys, &shortRing}) {
        CQuickBuilding building;
        ASSERT_TRUE(host::LoadObjectRecord(building, record->Build().Data(), 3, error)) << error;
        EXPECT_EQ(MeshOf(building), nullptr) << record->floors;
    }
    CQuickBuilding noOutline;
    noOutline.Set(1, {}, 2, 0, {3000, 3000}, "");
    EXPECT_EQ(MeshOf(noOutline), nullptr);
    CQuickBuilding noTable;
    noTable.Set(1, {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}}, 2, 0, {}, "");
    EXPECT_EQ(MeshOf(noTable), nullptr);
}

TEST_F(QuickBuildingTest, RecordsFollowTheTableAndNameUnnamedBuildingsByNumber)
{
    struct Case {
        std::optional<std::string> stored;
        unsigned version;
        const char* name;
    };
    const Case cases[] = {{"甲楼", 3, "甲楼"}, {"无", 3, "8"}, {"", 3, "8"}, {std::nullopt, 2, "8"}};
    for (const Case& c : cases) {
        Record record;
        record.name = c.stored;
        CQuickBuilding building;
        std::string error;
        ASSERT_TRUE(host::LoadObjectRecord(building, record.Build().Data(), c.version, error)) << error;
        EXPECT_EQ(building.GetName(), c.name);
        EXPECT_EQ(building.SecondText(), "A1");
        EXPECT_EQ(building.GetExtraHeight(), 600);
        EXPECT_EQ(building.StoreyHeights(), (std::vector<float>{3000, 3000}));
        ASSERT_EQ(building.Rings().size(), 2u);
        EXPECT_DOUBLE_EQ(building.Rings()[1][2].z, 6000);
        if (c.version == 3 && c.stored == std::string("甲楼")) {
            EXPECT_EQ(host::StoreObjectRecord(building), record.Build().Data());
        }
    }
    // A memory stream keeps an empty name empty.
    CQuickBuilding unnamed;
    unnamed.Set(3, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 1, 0, {3000}, "");
    MemorySerializeFilter store;
    unnamed.Serialize(store);
    LoadFilter load(store.Bytes(), false);
    CQuickBuilding copy;
    copy.Serialize(load);
    EXPECT_EQ(copy.Rings().size(), 2u);
    prop_data value;
    copy.OnPropertyValueGet(0, value);
    EXPECT_STREQ(value.szValue, "");
}

TEST_F(QuickBuildingTest, DamagedRecordsAreRefusedBeforeAnythingChanges)
{
    struct Case {
        const char* what;
        Record record;
        bool truncate;
    };
    std::vector<Case> cases(7, Case{"", Record(), false});
    cases[0].what = "truncated", cases[0].truncate = true;
    cases[1].what = "negative text length", cases[1].record.textLength = -1;
    cases[2].what = "text length beyond the record", cases[2].record.textLength = 100000;
    cases[3].what = "outline count beyond the record", cases[3].record.outlineCount = 5000;
    cases[4].what = "negative floors", cases[4].record.floors = -2;
    cases[5].what = "ring count beyond the record", cases[5].record.ringCount = 1 << 30;
    cases[6].what = "negative ring size", cases[6].record.ringSize = -4;
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = c.record.Build().Data();
        if (c.truncate) bytes.pop_back();
        CQuickBuilding building;
        building.Set(1, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 1, 0, {3000}, "原样");
        std::string error;
        EXPECT_FALSE(host::LoadObjectRecord(building, bytes, 3, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(building.GetName(), "原样") << c.what;
        EXPECT_EQ(building.GetOutlineCount(), 3) << c.what;
    }

    // In a file: the loader's message, and the open drawing stays.
    DbDatabase damaged;
    damaged.OpenForWrite();
    Record record;
    record.outlineCount = 5000;
    damaged.CreateNewEntity(1, new decDbForeignObject("QCQuickBuilding", 3, record.Build().Data()));
    damaged.Close();
    TestFolder folder;
    const std::filesystem::path path = folder.Path() / "damaged.q3d";
    std::string error;
    ASSERT_TRUE(host::WriteDrawingFile(damaged, path.string(), error)) << error;
    const decObjectId kept = AddLine({0, 0, 0}, {1, 1, 0});
    EXPECT_FALSE(host::OpenDrawing(path.string(), error));
    EXPECT_THAT(error, HasSubstr("damaged.q3d"));
    EXPECT_THAT(error, HasSubstr("claims more than the record holds"));
    EXPECT_NE(Db()->GetObjectById(kept), nullptr);
}

TEST_F(QuickBuildingTest, ListWalksDropStaleIdentifiers)
{
    auto window = [](const char* number) { return LegacyModel::AddWindow(number, 1000, 1000, 0, GeMatrix3d()); };
    const decObjectId a = window("C5-1-1"), b = window("C5-1-3"), up = window("C5-2-1"), other = window("C6-1-4");
    const decObjectId gone = window("C5-1-9");
    const decObjectId line = AddLine({0, 0, 0}, {1, 0, 0});
    const decObjectId id = LegacyModel::AddBuilding(5, Square(0, 0, 10000), 1, 0, {3000}, "");
    decDbEntity* entity = Entity(id);
    CQuickBuilding* building = CQuickBuilding::Cast(entity->GetBaseObject());
    entity->OpenForWrite();
    building->AddWindows({a, gone, decObjectId(9999), b, line, up, other});
    Entity(gone)->OpenForWrite();
    Entity(gone)->Erase();
    Entity(gone)->Close();
    building->SetLinkObject(gone);

    EXPECT_EQ(building->CountFloorWindows(1), 3);
    EXPECT_EQ(building->Windows(), (decObjectIdArray{a, b, up, other}));
    EXPECT_EQ(building->GetNextWindowIndex(1), 5);
    EXPECT_EQ(building->GetNextWindowIndex(7), 1);
    EXPECT_TRUE(building->FindWindow(2, 1));
    EXPECT_FALSE(building->FindWindow(2, 3));
    decObjectIdArray onFirst;
    building->GetFloorWindowIds(onFirst, 1);
    EXPECT_EQ(onFirst, (decObjectIdArray{a, b}));
    EXPECT_EQ(building->Windows(), (decObjectIdArray{a, b, up}));
    EXPECT_FALSE(building->HasLinkObject());
    entity->Close();
}

}  // namespace
