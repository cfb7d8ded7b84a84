// Buildings of both kinds: the tag record, recognition, names, collection and selection.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ExtendBuild.h"
#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "ModelHelperBuildings.h"
#include "ModelTestSupport.h"
#include "ModuleGlobals.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const GePoint3dArray kSquare = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};

decDbPolyline* Polyline(std::initializer_list<GePoint3d> pts)
{
    const std::vector<GePoint3d> points(pts);
    return new decDbPolyline(static_cast<int>(points.size()), points.data(), 0);
}

class BuildingQueryTest : public ModelTest {};

// ---- the tag record ----------------------------------------------------------------

TEST_F(BuildingQueryTest, TagRecordMakesATaggedBuildingEvenWhenEmpty)
{
    const decObjectId box = AddSolid(new decDbBox(1, 2, 3));
    const decObjectId building = AddBuilding("甲", 100, kSquare);
    const decObjectId line = AddEntity(Polyline({{0, 0, 0}, {5, 0, 0}}));
    EXPECT_EQ(ExtendBuild::HasBuildTag(nullptr), 0);
    EXPECT_EQ(ExtendBuild::HasBuildTag(Entity(box)), 0);
    EXPECT_EQ(ExtendBuild::HasBuildTag(Entity(building)), 0);

    Tag(box, "");
    Tag(line, "线");
    EXPECT_EQ(ExtendBuild::HasBuildTag(Entity(box)), 1);
    EXPECT_EQ(ExtendBuild::GetBuildTag(box), "");
    // Only 3-D entities are buildings; the reader does not open anything else.
    EXPECT_EQ(ExtendBuild::HasBuildTag(Entity(line)), 0);
    EXPECT_EQ(ExtendBuild::GetBuildTag(line), "");
    EXPECT_EQ(ExtendBuild::GetBuildTag(decObjectId(999)), "");
    EXPECT_EQ(ExtendBuild::GetBuildTag(decObjectId()), "");

    Tag(box, "乙楼");
    EXPECT_EQ(ExtendBuild::GetBuildTag(box), "乙楼");
    EXPECT_EQ(Entity(box)->XDataApps().size(), 1u);
    // Objects are left closed.
    EXPECT_EQ(Entity(box)->IsOpenForRead(), 0);
}

TEST_F(BuildingQueryTest, TagReaderTakesTheFirstStringItem)
{
    const decObjectId box = AddSolid(new decDbBox(1, 1, 1));
    decDbEntity* entity = Entity(box);
    auto* record = new decObjectXDataApp(g_buildTagAppName);
    record->AppendDataLong(12);
    record->AppendDataString("丙");
    record->AppendDataString("丁");
    entity->OpenForWrite();
    entity->AppendAppXData(record);
    entity->Close();
    EXPECT_EQ(ExtendBuild::GetBuildTag(box), "丙");

    const decObjectId other = AddSolid(new decDbBox(1, 1, 1));
    auto* numbers = new decObjectXDataApp(g_buildTagAppName);
    numbers->AppendDataLong(3);
    Entity(other)->OpenForWrite();
    Entity(other)->AppendAppXData(numbers);
    Entity(other)->Close();
    EXPECT_EQ(ExtendBuild::HasBuildTag(Entity(other)), 1);
    EXPECT_EQ(ExtendBuild::GetBuildTag(other), "");
}

TEST_F(BuildingQueryTest, VerticesOfATaggedBoxAreAppendedInWorldCoordinates)
{
    const decObjectId box = AddSolid(new decDbBox(4, 2, 3), GeMatrix3d().SetToTranslation({100, 200, 10}));
    Tag(box, "戊");
    std::vector<GePoint3d> vertices = {{-1, -1, -1}};
    ASSERT_EQ(GetExtendBuildAllVts(Entity(box), vertices), 1);
    ASSERT_EQ(vertices.size(), 9u);
    EXPECT_EQ(vertices[0], GePoint3d(-1, -1, -1));
    for (std::size_t i = 1; i < vertices.size(); ++i) {
        EXPECT_TRUE(vertices[i].x == 100 || vertices[i].x == 104) << i;
        EXPECT_TRUE(vertices[i].y == 200 || vertices[i].y == 202) << i;
        EXPECT_TRUE(vertices[i].z == 10 || vertices[i].z == 13) << i;
    }
    const decObjectId line = AddEntity(Polyline({{0, 0, 0}, {5, 0, 0}}));
    EXPECT_EQ(ExtendBuild::GetAllVertices(Entity(line), vertices), 0);
    EXPECT_EQ(ExtendBuild::GetAllVertices(nullptr, vertices), 0);
    EXPECT_EQ(vertices.size(), 9u);
}

// ---- recognition and names ---------------------------------------------------------

// Each kind of object against every recognition question and the name it gives (a name
// that is not given leaves the caller's text as it was).
TEST_F(BuildingQueryTest, RecognitionAndNameOfEachKind)
{
    auto* extrusion = new decDbExtrude();
    extrusion->SetData(3, kSquare.data(), 1, {0, 0, 5});
    const decObjectId tagged = AddSolid(new decDbBox(1, 1, 1));
    const decObjectId emptyTag = AddSolid(new decDbBox(1, 1, 1));
    Tag(tagged, "乙楼");
    Tag(emptyTag, "");
    const struct {
        const char* what;
        decDbEntity* entity;
        int extrudeBuild, extendBuild, hostSolid, named;
        const char* name;
    } cases[] = {
        {"named building", Entity(AddBuilding("甲楼", 100, kSquare)), 1, 0, 0, 1, "甲楼"},
        {"unnamed building", Entity(AddBuilding("", 100, kSquare)), 1, 0, 0, 0, ""},
        {"tagged box", Entity(tagged), 0, 1, 1, 1, "乙楼"},
        {"box with an empty tag", Entity(emptyTag), 0, 1, 1, 1, ""},
        {"plain box", Entity(AddSolid(new decDbBox(1, 1, 1))), 0, 0, 1, 0, "旧"},
        {"cylinder", Entity(AddSolid(new decDbCylinder(1, 1))), 0, 0, 1, 0, "旧"},
        {"host extrusion", Entity(AddSolid(extrusion)), 0, 0, 1, 0, "旧"},
        {"line", Entity(AddEntity(Polyline({{0, 0, 0}, {5, 0, 0}}))), 0, 0, 0, 0, "旧"},
        {"nothing", nullptr, 0, 0, 0, 0, "旧"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsExtrudeBuild(c.entity), c.extrudeBuild) << c.what;
        EXPECT_EQ(IsExtendBuild(c.entity), c.extendBuild) << c.what;
        EXPECT_EQ(IsExtrude3DEntity(c.entity), c.hostSolid) << c.what;
        CString name = "旧";
        EXPECT_EQ(BuildName(c.entity, name), c.named) << c.what;
        EXPECT_EQ(name, c.name) << c.what;
    }
}

// ---- collection and selection ------------------------------------------------------

TEST_F(BuildingQueryTest, GetAllBuildReplacesTheArrayWithEveryBuildingInDrawingOrder)
{
    EntityArray found = {nullptr, nullptr};
    EXPECT_EQ(GetAllBuild(found), 0);
    EXPECT_TRUE(found.empty());

    const decObjectId box = AddSolid(new decDbBox(1, 1, 1));
    const decObjectId building = AddBuilding("甲", 100, kSquare);
    AddSolid(new decDbBox(1, 1, 1));
    const decObjectId line = AddEntity(Polyline({{0, 0, 0}, {5, 0, 0}}));
    Tag(box, "乙");
    Tag(line, "丙");
    found = {nullptr};
    EXPECT_EQ(GetAllBuild(found), 1);
    EXPECT_THAT(found, ElementsAre(Entity(box), Entity(building)));
}

TEST_F(BuildingQueryTest, SelectBuildAppendsTheBuildingsTheUserNames)
{
    const decObjectId building = AddBuilding("甲", 100, kSquare);
    const decObjectId box = AddSolid(new decDbBox(1, 1, 1));
    const decObjectId tagged = AddSolid(new decDbBox(1, 1, 1));
    Tag(tagged, "乙");
    Answer("#3 #2 #1\n");
    EntityArray chosen = {Entity(box)};
    EXPECT_EQ(SelectBuild(chosen, "请选择建筑物:"), 1);
    EXPECT_THAT(chosen, ElementsAre(Entity(box), Entity(tagged), Entity(building)));
    EXPECT_THAT(Transcript(), HasSubstr("请选择建筑物:"));
    EXPECT_THAT(Transcript(), HasSubstr("#2 decDbBox is not taken here (refused by the selection filter)"));

    Answer("*cancel*\n");
    EntityArray none;
    EXPECT_EQ(SelectBuild(none, "请选择建筑物:"), 0);
    EXPECT_TRUE(none.empty());
    EXPECT_THAT(Transcript(), HasSubstr("选择取消，退出命令"));
}

TEST_F(BuildingQueryTest, HostExtrusionsTaggedAsBuildingsAreFoundAndListedWithTheirTag)
{
    ASSERT_TRUE(Run("extrude 3000 0,0 10000,0 10000,8000 0,8000\n"
                    "extrude 6000 20000,0 30000,0 30000,8000\n"));
    const decObjectId east(1);
    Tag(east, "东楼");
    const decObjectId west = AddBuilding("西楼", 9000, kSquare);
    ASSERT_TRUE(Run("list #1\n"));
    EXPECT_THAT(Transcript(), HasSubstr("#1 decDbExtrude layer=0 xdata XBUILD_NAME=\"东楼\" extents"));
    EntityArray all;
    EXPECT_EQ(GetAllBuild(all), 1);
    EXPECT_THAT(all, ElementsAre(Entity(east), Entity(west)));
}

TEST_F(BuildingQueryTest, GetBuildNameOffersToNameAnUnnamedBuilding)
{
    const decObjectId unnamed = AddBuilding("", 100, kSquare);
    const decObjectId tagged = AddSolid(new decDbBox(1, 1, 1));
    Tag(tagged, "乙楼");
    CString name;

    Answer("#1\nno\n");
    EXPECT_EQ(GetBuildName(name), 0);
    EXPECT_TRUE(Building(unnamed)->Name().IsEmpty());
    EXPECT_THAT(Transcript(), HasSubstr("[建筑物未命名] 选定建筑物尚未指定名称，是否现在输入建筑物名称？"));
    EXPECT_THAT(host::EventLog::Instance().Calls("msg_box"), ElementsAre("msg_box style=8244 -> 7"));

    // Yes, then an empty answer: still unnamed.
    Answer("#1\nyes\n\n");
    EXPECT_EQ(GetBuildName(name), 0);
    EXPECT_TRUE(Building(unnamed)->Name().IsEmpty());

    Answer("#1\nyes\n北区1号\n");
    EXPECT_EQ(GetBuildName(name), 1);
    EXPECT_EQ(name, "北区1号");
    EXPECT_EQ(Building(unnamed)->Name(), "北区1号");
    EXPECT_THAT(Transcript(), HasSubstr("请输入拉伸建筑名称:"));

    // A named building answers at once; a tagged object gives its tag.
    Answer("#1\n#2\n");
    EXPECT_EQ(GetBuildName(name), 1);
    EXPECT_EQ(name, "北区1号");
    EXPECT_EQ(GetBuildName(name), 1);
    EXPECT_EQ(name, "乙楼");

    Answer("*cancel*\n");
    EXPECT_EQ(GetBuildName(name), 0);
    EXPECT_THAT(Transcript(), HasSubstr("请选择拉伸建筑物:"));
}

TEST_F(BuildingQueryTest, ContourFilterTakesBuildingsSolidsArcsAndLongCurves)
{
    ModelHelper::CONTOUR_FT filter;
    auto accepts = [&](const decObjectId& id) {
        int accept = -1;
        filter.Accept(Entity(id), accept);
        return accept;
    };
    const decObjectId building = AddBuilding("甲", 100, kSquare);
    const decObjectId box = AddSolid(new decDbBox(1, 1, 1));
    auto* loft = new decDbLoft();
    const decObjectId lofted = AddSolid(loft);
    const decObjectId shortEdge = AddEntity(Polyline({{0, 0, 0}, {999.9, 0, 0}, {999.9, 5000, 0}}));
    const decObjectId longEdge = AddEntity(Polyline({{0, 0, 0}, {0, 1000, 0}}));
    const decObjectId single = AddEntity(Polyline({{0, 0, 0}}));
    const decObjectId arc = AddEntity(new decDbArc({0, 0, 0}, 1, 0, 1));
    const decObjectId circle = AddEntity(new decDbCircle3d({0, 0, 0}, GeVector3d::kZAxis, 1));
    const decObjectId text = AddEntity(new decDbText("字", {0, 0, 0}, 100));
    EXPECT_EQ(accepts(building), 1);
    EXPECT_EQ(accepts(box), 1);
    EXPECT_EQ(accepts(lofted), 0);
    EXPECT_EQ(accepts(shortEdge), 0);
    EXPECT_EQ(accepts(longEdge), 1);
    EXPECT_EQ(accepts(single), 0);
    EXPECT_EQ(accepts(arc), 1);
    EXPECT_EQ(accepts(circle), 1);
    EXPECT_EQ(accepts(text), 0);
    Tag(lofted, "");
    EXPECT_EQ(accepts(lofted), 1);
}

}  // namespace
