// The legacy window: its number parts, its record laid out by hand from the record table (in
// both class versions), its box, and its read-only property rows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "DrawingFile.h"
#include "LegacyModelFixture.h"
#include "QuickWindow.h"

using LegacyModel::Bytes;
using ::testing::HasSubstr;

namespace {

using QuickWindowTest = DrawingTest;

// The record: base name, linked id, counted raw number text, length, height, household.
Bytes WindowRecord(const std::string& number, std::int32_t length, std::int32_t height, const std::int32_t* household)
{
    Bytes bytes;
    bytes.Text("").U64(7).Int(static_cast<std::int32_t>(number.size())).Raw(number).Int(length).Int(height);
    if (household)
        bytes.Int(*household);
    return bytes;
}

TEST_F(QuickWindowTest, NumberPartsReadAndRewriteTheText)
{
    struct Case {
        const char* text;
        int p1, p2, p3;
        int part;  // the part set to 9
        const char* after;
    };
    const Case cases[] = {
        {"C12-3-7", 12, 3, 7, 2, "C12-9-7"}, {"C1234", 0, 0, 0, 1, "C9-0-0"},   {"C12-3", 12, 0, 0, 3, "C12-0-9"},
        {"X5-6-7", 5, 6, 7, 3, "C5-6-9"},    {"", 0, 0, 0, 2, "C0-9-0"},         {"C-3-4", 0, 3, 4, 1, "C9-3-4"},
        {"123", 0, 0, 123, 1, "C9-0-123"},   {"C1-2-3-4", 1, 2, 3, 2, "C1-9-3"},
    };
    for (const Case& c : cases) {
        CQuickWindow window;
        window.SetNumber(c.text);
        EXPECT_EQ(window.GetNumberPart1(), c.p1) << c.text;
        EXPECT_EQ(window.GetNumberPart2(), c.p2) << c.text;
        EXPECT_EQ(window.GetNumberPart3(), c.p3) << c.text;
        if (c.part == 1) window.SetNumberPart1(9);
        if (c.part == 2) window.SetNumberPart2(9);
        if (c.part == 3) window.SetNumberPart3(9);
        EXPECT_EQ(window.GetNumber(), c.after) << c.text;
    }
}

TEST_F(QuickWindowTest, RecordsFollowTheTableInBothClassVersions)
{
    const std::int32_t household = 12;
    std::string error;
    CQuickWindow v3;
    ASSERT_TRUE(host::LoadObjectRecord(v3, WindowRecord("C3-2-5", 1500, 1800, &household).Data(), 3, error)) << error;
    EXPECT_EQ(v3.GetNumber(), "C3-2-5");
    EXPECT_EQ(std::vector<int>({v3.GetLength(), v3.GetHeight(), v3.GetHouseholdNo()}), std::vector<int>({1500, 1800, 12}));
    // The writer lays out the same bytes.
    EXPECT_EQ(host::StoreObjectRecord(v3), WindowRecord("C3-2-5", 1500, 1800, &household).Data());

    // A version-2 file record ends after the height.
    CQuickWindow v2;
    v2.SetHouseholdNo(5);
    ASSERT_TRUE(host::LoadObjectRecord(v2, WindowRecord("C3-2-5", 1500, 1800, nullptr).Data(), 2, error)) << error;
    EXPECT_EQ(v2.GetHouseholdNo(), 0);

    // A copy in memory carries every field whatever the version.
    MemorySerializeFilter store;
    store.SetClassVersion(2);
    v3.Serialize(store);
    LoadFilter load(store.Bytes(), false);
    load.SetClassVersion(2);
    CQuickWindow copy;
    copy.Serialize(load);
    EXPECT_EQ(load.BytesLeft(), 0u);
    EXPECT_EQ(copy.GetHouseholdNo(), 12);

    // A 200-byte text keeps its first 127 bytes (cut before a split character) and the fields
    // after it stay in step.
    const std::string longText = "C" + std::string(125, '1') + "号" + std::string(72, '2');
    CQuickWindow longNumber;
    ASSERT_TRUE(host::LoadObjectRecord(longNumber, WindowRecord(longText, 900, 600, &household).Data(), 3, error))
        << error;
    EXPECT_EQ(longNumber.GetNumber(), longText.substr(0, 126));
    EXPECT_EQ(longNumber.GetLength(), 900);
    EXPECT_EQ(longNumber.GetHouseholdNo(), 12);
    // A zero byte ends the text.
    CQuickWindow zero;
    ASSERT_TRUE(host::LoadObjectRecord(zero, WindowRecord(std::string("C1-1-1\0junk", 11), 1, 1, &household).Data(), 3,
                                       error));
    EXPECT_EQ(zero.GetNumber(), "C1-1-1");
}

TEST_F(QuickWindowTest, TheBoxIsCentredOnTheWindowPlane)
{
    CQuickWindow window;
    window.Set("C1-1-1", 1500, 1800);
    decMesh3* mesh = nullptr;
    ASSERT_EQ(window.MakeMesh(&mesh), 1);
    std::unique_ptr<decMesh3> owned(mesh);
    const GePoint3d expected[8] = {{-750, 50, 0},  {750, 50, 0},  {750, 50, 1800},  {-750, 50, 1800},
                                   {750, -50, 0}, {-750, -50, 0}, {-750, -50, 1800}, {750, -50, 1800}};
    ASSERT_EQ(mesh->GetCountVertex(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(mesh->GetVertexArray()[i] == expected[i]) << i;
    const std::vector<std::vector<int>> faces = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 5, 4, 1},
                                                 {2, 7, 6, 3}, {0, 3, 6, 5}, {1, 4, 7, 2}};
    EXPECT_EQ(mesh->Faces(), faces);
    ASSERT_EQ(mesh->GetCountVertsUV(), 8);
    EXPECT_TRUE(mesh->GetVertsUV()[2] == GePoint2d(1, 1));
    EXPECT_TRUE(mesh->GetVertsUV()[7] == GePoint2d(0, 1));
    std::vector<GePoint3d> outline;
    window.GetOutline(outline);
    EXPECT_EQ(outline, (std::vector<GePoint3d>{{-750, 0, 0}, {750, 0, 0}, {750, 0, 1800}, {-750, 0, 1800}}));
}

TEST_F(QuickWindowTest, PropertiesAreReadOnly)
{
    const decObjectId id = LegacyModel::AddWindow("C3-2-5", 1500, 1800, 4, GeMatrix3d());
    Script("props " + Handle(id) + "\nsetprop " + Handle(id) + " 1 3000\nlist " + Handle(id) + "\n");
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("0 [旧版窗信息] 窗编号 (kind 4) = C3-2-5"));
    EXPECT_THAT(out, HasSubstr("3 [旧版窗信息] 户编号 (kind 1) = 4"));
    EXPECT_THAT(out, HasSubstr("unchanged"));
    EXPECT_THAT(out, HasSubstr("QCQuickWindow layer=0 窗编号=C3-2-5 窗长=1500 窗高=1800 户编号=4 extents -750,-50,0 to "
                               "750,50,1800"));
    prop_data value;
    CQuickWindow::Cast(Entity(id)->GetBaseObject())->OnPropertyValueGet(4, value);
    EXPECT_EQ(value.type, 0);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< 0 >"));
}

}  // namespace
