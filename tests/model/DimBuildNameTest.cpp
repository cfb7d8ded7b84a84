// The building-name label command diminbld, driven by script lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "DimBuildName.h"
#include "ExtrudeBuild.h"
#include "OrvScaleText.h"
#include "View.h"
#include "decDbCurve.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class DimBuildNameTest : public DrawingTest {};

TEST_F(DimBuildNameTest, ThreeBuildingsGetTheirNamesOnTheNameLayer)
{
    const decObjectId first = AddBuilding("1号楼", 30000, Square(0, 0, 10000));
    const decObjectId second = AddBuilding("2号楼", 45000, Square(20000, 0, 10000));
    const decObjectId third = AddTaggedBox("3号楼", 8000, 8000, 12000, GeMatrix3d());
    ASSERT_TRUE(Run("setvar DRAWING_SCALE 1000\nsetvar ORV_BUILD_DIM 4\nlayer 场地\n"));
    const long site = Db()->GetTableLayer()->GetCurrentLayerID();

    ASSERT_TRUE(Run("diminbld\n" + Handle(first) + "\n5000,5000\n" + Handle(second) + "\n25000,5000\n" + Handle(third) +
                    "@4000,4000\n4000,4000,12000\n*cancel*\n"));
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("***标注建筑名称***"));
    EXPECT_THAT(out, HasSubstr("请选择要标注名称的建筑物:"));
    EXPECT_THAT(out, HasSubstr("请点取建筑物名称插入点:"));

    const std::vector<COrvScaleText*> texts = All<COrvScaleText>();
    ASSERT_EQ(texts.size(), 3u);
    const char* names[] = {"1号楼", "2号楼", "3号楼"};
    const GePoint3d points[] = {{5000, 5000, 0}, {25000, 5000, 0}, {4000, 4000, 12000}};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(texts[i]->Text(), names[i]);
        EXPECT_EQ(texts[i]->Position(), points[i]);
        EXPECT_EQ(LayerOf(texts[i]), "建筑名称");
        EXPECT_DOUBLE_EQ(texts[i]->Height(), 4);
        EXPECT_DOUBLE_EQ(texts[i]->Scale(), 1000);
        EXPECT_EQ(texts[i]->Font(), "hztxt.shx");
        EXPECT_EQ(texts[i]->GetType(), TEXT_UTILITY::BUILD_DIM);
        EXPECT_EQ(texts[i]->Placement(), 18u);
        EXPECT_EQ(texts[i]->Direction(), GeVector3d::kXAxis);
        EXPECT_EQ(texts[i]->Normal(), GeVector3d::kZAxis);
    }
    const decLayer* nameLayer = Db()->GetTableLayer()->SearchLayer("建筑名称");
    ASSERT_NE(nameLayer, nullptr);
    EXPECT_EQ(nameLayer->GetColor(), 0xFF00FFu);
    // The user's layer is current again, and every bracket was closed.
    EXPECT_EQ(Db()->GetTableLayer()->GetCurrentLayerID(), site);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);

    // They survive saving and opening.
    ASSERT_TRUE(SaveAndOpen());
    ASSERT_EQ(All<COrvScaleText>().size(), 3u);
    EXPECT_EQ(All<COrvScaleText>()[2]->Text(), "3号楼");
}

TEST_F(DimBuildNameTest, TheDraggedNameFollowsTheCursorInMagentaAtTheDrawnHeight)
{
    const decObjectId building = AddBuilding("甲楼", 30000, Square(0, 0, 10000));
    ASSERT_TRUE(Run("diminbld\n" + Handle(building) + "\n~700,800\n"));
    const decView* view = dec::GetActiveView();
    const std::vector<const DrawnPrimitive*> texts = view->Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, "甲楼");
    EXPECT_EQ(texts[0]->colour, 0xFF00FFu);
    EXPECT_EQ(texts[0]->points[0], GePoint3d(700, 800, 0));
    EXPECT_DOUBLE_EQ(texts[0]->height, 5.0 * 500);
    EXPECT_DOUBLE_EQ(texts[0]->widthFactor, 0.8);
    EXPECT_EQ(texts[0]->alignment, 18u);
    EXPECT_FALSE(texts[0]->hasStyle);
    // The lines ran out at the drag: nothing was created.
    EXPECT_TRUE(All<COrvScaleText>().empty());
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(DimBuildNameTest, AnUnnamedBuildingIsOfferedANameAndThePassEndsWithoutALabel)
{
    const decObjectId building = AddBuilding("", 30000, Square(0, 0, 10000));
    ASSERT_TRUE(Run("diminbld\n" + Handle(building) + "\nyes\n新楼\n"));
    EXPECT_THAT(Transcript(), HasSubstr("选定建筑物尚未指定名称，是否现在输入建筑物名称？"));
    auto* extruded = CExtrudeBuild::Cast(Entity(building)->GetBaseObject());
    EXPECT_EQ(extruded->Name(), "新楼");
    EXPECT_TRUE(All<COrvScaleText>().empty());
    // The command ended with the pass: the next line is a command again.
    EXPECT_THAT(Transcript(), Not(HasSubstr("请点取建筑物名称插入点:")));

    const decObjectId other = AddBuilding("", 30000, Square(20000, 0, 10000));
    ASSERT_TRUE(Run("diminbld\n" + Handle(other) + "\nno\n"));
    EXPECT_EQ(CExtrudeBuild::Cast(Entity(other)->GetBaseObject())->Name(), "");
    EXPECT_TRUE(All<COrvScaleText>().empty());
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(DimBuildNameTest, AnEmptyTagEndsTheCommandAndOtherObjectsAreNotTaken)
{
    const decObjectId emptyTag = AddTaggedBox("", 1000, 1000, 1000, GeMatrix3d());
    const std::vector<GePoint3d> pts = {{0, 0, 0}, {5000, 0, 0}};
    const decObjectId line = AddEntity(new decDbPolyline(2, pts.data(), 0));
    ASSERT_TRUE(Run("diminbld\n" + Handle(line) + "\n" + Handle(emptyTag) + "\n"));
    EXPECT_THAT(Transcript(), HasSubstr("refused by the selection filter"));
    EXPECT_TRUE(All<COrvScaleText>().empty());
    EXPECT_THAT(Transcript(), Not(HasSubstr("请点取建筑物名称插入点:")));

    // The filter on its own.
    FT_BUILD filter;
    int accept = -1;
    filter.Accept(Entity(emptyTag), accept);
    EXPECT_EQ(accept, 1);
    filter.Accept(Entity(line), accept);
    EXPECT_EQ(accept, 0);
    filter.Accept(nullptr, accept);
    EXPECT_EQ(accept, 0);
}

TEST_F(DimBuildNameTest, AnEmptyNameCreatesNoText)
{
    CDimBuildName pass;
    DbAutoOpen open;
    pass.CreateText();
    EXPECT_TRUE(All<COrvScaleText>().empty());
    EXPECT_EQ(Db()->GetTableLayer()->SearchLayer("建筑名称"), nullptr);
}

}  // namespace
