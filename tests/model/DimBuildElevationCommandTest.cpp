// Placing building elevation labels: dimbldelev by picked building, tagged object and inner
// point, the style dialog and elevstyle, and the label of a new building.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "DimBuildElevation.h"
#include "HostSolids.h"
#include "View.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class DimBuildElevationCommandTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        CDimBuildElevation::SetRememberedStyle(CDimBuildElevation::kHeightAndTop);
    }
    void TearDown() override
    {
        CDimBuildElevation::SetRememberedStyle(CDimBuildElevation::kHeightAndTop);
        DrawingTest::TearDown();
    }
    static GeMatrix3d Raised(double z)
    {
        GeMatrix3d tm;
        tm.SetToTranslation(GeVector3d(0, 0, z));
        return tm;
    }
};

TEST_F(DimBuildElevationCommandTest, APickedUnnamedBuildingIsLabelledFromItsExtents)
{
    const decObjectId building = AddBuilding("", 30000, Square(0, 0, 10000, 1000.5));
    ASSERT_TRUE(Run("layer 场地\n"));
    const long site = Db()->GetTableLayer()->GetCurrentLayerID();
    ASSERT_TRUE(Run("dimbldelev\n" + Handle(building) + "\n5000,5000\n*cancel*\n"));
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("***标注建筑标高***"));
    EXPECT_THAT(out, HasSubstr("请选择建筑物[或点取内部一点(A)]<点取内部点>:"));
    EXPECT_THAT(out, HasSubstr("当前标注：建筑物高度和顶标高"));
    EXPECT_THAT(out, HasSubstr("点取标注位置或[设置(S)]<设置>:"));

    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 1u);
    const CDimBuildElevation* label = labels[0];
    EXPECT_DOUBLE_EQ(label->Bottom(), 1000.5);
    EXPECT_EQ(label->Height(), 30000);
    EXPECT_DOUBLE_EQ(label->Top(), 31000.5);
    EXPECT_EQ(label->GetStyle(), 4);
    EXPECT_EQ(label->Position(), GePoint3d(5000, 5000, 0));
    EXPECT_DOUBLE_EQ(label->Scale(), 500);
    EXPECT_DOUBLE_EQ(label->TextHeight(), 5);
    EXPECT_EQ(label->LabelText(), "30.000（31.000）");
    EXPECT_EQ(LayerOf(label), "建筑标高");
    EXPECT_EQ(Db()->GetTableLayer()->SearchLayer("建筑标高")->GetColor(), 0xFF00FFu);
    EXPECT_EQ(Db()->GetTableLayer()->GetCurrentLayerID(), site);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(DimBuildElevationCommandTest, ANamedBuildingTakesTheRangeOfAllBuildingsOfThatName)
{
    const decObjectId low = AddBuilding("甲", 20000, Square(0, 0, 10000));
    AddBuilding("甲", 40000, Square(20000, 0, 10000, 5000));
    AddBuilding("乙", 90000, Square(40000, 0, 10000, -3000));
    ASSERT_TRUE(Run("dimbldelev\n" + Handle(low) + "\n0,0\n*end*\n"));
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_DOUBLE_EQ(labels[0]->Bottom(), 0);
    EXPECT_DOUBLE_EQ(labels[0]->Top(), 45000);
    EXPECT_EQ(labels[0]->Height(), 45000);
}

TEST_F(DimBuildElevationCommandTest, ATaggedObjectIsLabelledFromItsFacesAndPassesRepeat)
{
    const decObjectId tagged = AddTaggedBox("丙", 8000, 6000, 12000, Raised(3000));
    const decObjectId building = AddBuilding("丁", 24000, Square(20000, 0, 10000));
    ASSERT_TRUE(Run("dimbldelev\n" + Handle(tagged) + "\n100,200\n" + Handle(building) + "\n300,400\n结束\n"));
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_DOUBLE_EQ(labels[0]->Bottom(), 3000);
    EXPECT_DOUBLE_EQ(labels[0]->Top(), 15000);
    EXPECT_EQ(labels[0]->Height(), 12000);
    EXPECT_EQ(labels[0]->Position(), GePoint3d(100, 200, 0));
    EXPECT_EQ(labels[1]->Height(), 24000);
    EXPECT_EQ(labels[1]->Position(), GePoint3d(300, 400, 0));
    // The style line is printed once per pass.
    EXPECT_EQ(CountOf(Transcript(), "当前标注：建筑物高度和顶标高"), 2);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(DimBuildElevationCommandTest, AnInnerPointOfStackedBuildingsGivesTopAndBottom)
{
    // Two L-shaped buildings, one on the other, and a third elsewhere.
    const auto ell = [](double z) {
        return GePoint3dArray{{0, 0, z}, {10000, 0, z}, {10000, 5000, z}, {5000, 5000, z}, {5000, 10000, z}, {0, 10000, z}};
    };
    AddBuilding("", 10000, ell(0));
    AddBuilding("", 5000, ell(10000));
    AddBuilding("", 70000, Square(50000, 0, 10000));
    // The point is asked in plan: a 3-D view is turned to the top view first.
    dec::GetActiveView()->SetViewState(1);
    // Deep in the notch is outside; 3 from the outline's edge, within 5, counts as inside.
    ASSERT_TRUE(Run("dimbldelev\nA\n8000,8000\nA\n5003,7000\n2000,3000\n*cancel*\n")) << Transcript();
    EXPECT_EQ(CountOf(Transcript(), "提示：无法获取建筑物信息！"), 1);
    EXPECT_THAT(Transcript(), HasSubstr("请点取拉伸建筑物内部一点..."));
    EXPECT_EQ(dec::GetActiveView()->GetViewState(), 0);
    EXPECT_THAT(host::EventLog::Instance().Calls("GetPoint"), ::testing::Contains("GetPoint flags=0xFFFFFF cursor=0 arg=0"));
    EXPECT_THAT(Transcript(), HasSubstr("当前标注：顶标高和底标高"));
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_DOUBLE_EQ(labels[0]->Bottom(), 0);
    EXPECT_DOUBLE_EQ(labels[0]->Top(), 15000);
    EXPECT_EQ(labels[0]->Height(), 15000);
    EXPECT_EQ(labels[0]->GetStyle(), CDimBuildElevation::kTopAndBottom);
    EXPECT_EQ(labels[0]->LabelText(), "15.000（0.000）");
    // The inner point sets the label's style, not the remembered one.
    EXPECT_EQ(CDimBuildElevation::RememberedStyle(), 4);
}

TEST_F(DimBuildElevationCommandTest, AFailedPointAttemptLeavesNoRangeForTheNextOne)
{
    // Below ground: its top is not above 0, so the point finds no building information.
    AddBuilding("", 10000, Square(0, 0, 10000, -20000));
    AddBuilding("", 30000, Square(20000, 0, 10000));
    ASSERT_TRUE(Run("dimbldelev\nA\n5000,5000\nA\n25000,5000\n25000,5000\n*cancel*\n"));
    EXPECT_EQ(CountOf(Transcript(), "提示：无法获取建筑物信息！"), 1);
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_DOUBLE_EQ(labels[0]->Bottom(), 0);
    EXPECT_DOUBLE_EQ(labels[0]->Top(), 30000);
    EXPECT_EQ(labels[0]->Height(), 30000);
}

TEST_F(DimBuildElevationCommandTest, InnerPointsFindNamedBuildingsAndTaggedBodies)
{
    AddBuilding("戊", 20000, Square(0, 0, 10000));
    AddBuilding("戊", 50000, Square(30000, 0, 10000, 2000));
    AddTaggedBox("己", 10000, 10000, 9000, GeMatrix3d());
    GeMatrix3d away;
    away.SetToTranslation(GeVector3d(60000, 0, 0));
    AddTaggedBox("庚", 10000, 10000, 7000, away);
    // A named building stops the scan: the tagged box under the same point is not looked at.
    ASSERT_TRUE(Run("dimbldelev\nA\n5000,5000\n0,0\nA\n65000,5000\n0,0\n*cancel*\n"));
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_DOUBLE_EQ(labels[0]->Bottom(), 0);
    EXPECT_DOUBLE_EQ(labels[0]->Top(), 52000);
    EXPECT_DOUBLE_EQ(labels[1]->Bottom(), 0);
    EXPECT_DOUBLE_EQ(labels[1]->Top(), 7000);
    EXPECT_EQ(labels[1]->Height(), 7000);
}

TEST_F(DimBuildElevationCommandTest, AnObjectWithoutBuildingInformationIsAskedForAgain)
{
    // A tagged body without faces: its name leads to no extents at all.
    const decObjectId empty = AddTaggedBox("空", 0, 0, 0, GeMatrix3d());
    const decObjectId building = AddBuilding("", 9000, Square(0, 0, 10000));

    ASSERT_TRUE(Run("dimbldelev\n" + Handle(empty) + "\n" + Handle(building) + "\n1,1\n*cancel*\n"));
    EXPECT_EQ(CountOf(Transcript(), "提示：无法获取建筑物信息！"), 1);
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->Height(), 9000);
}

TEST_F(DimBuildElevationCommandTest, EnterAtTheInsertionPromptOpensTheStyleDialog)
{
    const decObjectId building = AddBuilding("", 9000, Square(0, 0, 10000));
    ASSERT_TRUE(Run("dimbldelev\n" + Handle(building) + "\n\nradio 1161\nok\nS\ncancel\n7,8\n*cancel*\n"));
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("dialog 1098 \"标注建筑标高选项\" opened"));
    EXPECT_EQ(CountOf(out, "点取标注位置或[设置(S)]<设置>:"), 3);
    EXPECT_EQ(CountOf(out, "当前标注："), 1);
    EXPECT_THAT(host::EventLog::Instance().Calls("GetDragPoint"),
                ::testing::Contains(HasSubstr("keywords=位置(&D)/设置(&S) default=2 arg=1")));
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->GetStyle(), CDimBuildElevation::kBottom);
    EXPECT_EQ(labels[0]->Position(), GePoint3d(7, 8, 0));
    EXPECT_EQ(CDimBuildElevation::RememberedStyle(), CDimBuildElevation::kBottom);
}

TEST_F(DimBuildElevationCommandTest, ElevstyleChangesTheRememberedStyleOnlyOnOk)
{
    const decObjectId building = AddBuilding("", 9000, Square(0, 0, 10000));
    ASSERT_TRUE(Run("dimbldelev\n" + Handle(building) + "\n0,0\n*cancel*\n"));
    ASSERT_TRUE(Run("elevstyle\nradio 1309\nok\n"));
    EXPECT_THAT(Transcript(), HasSubstr("***设置建筑标高标注样式***"));
    EXPECT_EQ(CDimBuildElevation::RememberedStyle(), 3);
    ASSERT_TRUE(Run("elevstyle\nradio 1283\ncancel\n"));
    EXPECT_EQ(CDimBuildElevation::RememberedStyle(), 3);
    // The existing label keeps its style; the next one takes the new.
    EXPECT_EQ(All<CDimBuildElevation>()[0]->GetStyle(), 4);
    ASSERT_TRUE(Run("dimbldelev\n" + Handle(building) + "\n0,0\n*cancel*\n"));
    EXPECT_THAT(Transcript(), HasSubstr("当前标注：顶标高和底标高"));
    EXPECT_EQ(All<CDimBuildElevation>()[1]->GetStyle(), 3);
}

TEST_F(DimBuildElevationCommandTest, EndingAnyQuestionEndsTheCommandWithoutALabel)
{
    const decObjectId building = AddBuilding("", 9000, Square(0, 0, 10000));
    ASSERT_TRUE(Run("dimbldelev\n*end*\n"));
    ASSERT_TRUE(Run("dimbldelev\nA\n*cancel*\n"));
    ASSERT_TRUE(Run("dimbldelev\n" + Handle(building) + "\n*end*\n"));
    EXPECT_TRUE(All<CDimBuildElevation>().empty());
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(DimBuildElevationCommandTest, ANewBuildingsLabelSitsAtTheOutlineCentreAtGroundLevel)
{
    ASSERT_TRUE(Run("layer 场地\n"));
    const long site = Db()->GetTableLayer()->GetCurrentLayerID();
    std::vector<GePoint3d> two = {{0, 0, 0}, {10, 0, 0}};
    std::vector<GePoint3d> square = Square(1000, 2000, 4000, 5000);
    DimBuildElevation(30000, 0, two);
    DimBuildElevation(0, 0, square);
    DimBuildElevation(0.0009, 0, square);
    EXPECT_TRUE(All<CDimBuildElevation>().empty());

    DimBuildElevation(0.001, 5000, square);
    DimBuildElevation(45000.5, 5000, square);
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0]->Height(), 0);
    EXPECT_EQ(labels[1]->Position(), GePoint3d(3000, 4000, 0));
    EXPECT_EQ(labels[1]->Height(), 45001);
    EXPECT_DOUBLE_EQ(labels[1]->Top(), 50001);
    EXPECT_DOUBLE_EQ(labels[1]->Bottom(), 5000);
    EXPECT_EQ(labels[1]->GetStyle(), 4);
    EXPECT_EQ(LayerOf(labels[1]), "建筑标高");
    EXPECT_EQ(Db()->GetTableLayer()->GetCurrentLayerID(), site);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(DimBuildElevationCommandTest, TheBuildingCommandLabelsEachNewBuilding)
{
    ASSERT_TRUE(Run("layer 轮廓\npline closed 0,0 24000,0 24000,12000 0,12000\n"
                    "pline closed 30000,0 42000,0 42000,18000 30000,18000\nbuild\nlayer:轮廓\n54\n3\n*cancel*\n"));
    const std::vector<CDimBuildElevation*> labels = All<CDimBuildElevation>();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0]->Position(), GePoint3d(12000, 6000, 0));
    EXPECT_EQ(labels[1]->Position(), GePoint3d(36000, 9000, 0));
    for (const CDimBuildElevation* label : labels) {
        EXPECT_EQ(label->Height(), 54000);
        EXPECT_DOUBLE_EQ(label->Bottom(), 3000);
        EXPECT_DOUBLE_EQ(label->Top(), 57000);
        EXPECT_EQ(label->GetStyle(), 4);
        EXPECT_EQ(LayerOf(label), "建筑标高");
    }
}

}  // namespace
