// The building elevation label entity: values, texts of the five styles, drawing, property
// panel, grips, transforms and its record.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "DrawingTestSupport.h"
#include "DimBuildElevation.h"
#include "SerializeFilter.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class DimBuildElevationTest : public DrawingTest {
protected:
    void TearDown() override
    {
        CDimBuildElevation::SetRememberedStyle(CDimBuildElevation::kHeightAndTop);
        DrawingTest::TearDown();
    }
    static CDimBuildElevation* NewLabel(int style, double height, double bottom, const GePoint3d& at = GePoint3d())
    {
        auto* label = new CDimBuildElevation();
        label->SetStyle(style);
        label->Set(height, bottom, at);
        return label;
    }
};

TEST_F(DimBuildElevationTest, ClassRecordDefaultsAndRememberedStyle)
{
    ExpectClassRecord(CDimBuildElevation::Desc(), "QCDimBuildElevation", "建筑标高", decDbEntity2d::Desc());

    CDimBuildElevation label;
    EXPECT_EQ(label.Height(), -1000000000);
    EXPECT_DOUBLE_EQ(label.Top(), -1e9);
    EXPECT_DOUBLE_EQ(label.Bottom(), 1e9);
    EXPECT_EQ(label.GetStyle(), 4);
    EXPECT_EQ(label.Font(), "hztxt.shx");
    CDimBuildElevation::SetRememberedStyle(2);
    EXPECT_EQ(CDimBuildElevation().GetStyle(), 2);
    EXPECT_EQ(label.GetStyle(), 4);
    EXPECT_EQ(CDimBuildElevation::Cast(&label), &label);
}

TEST_F(DimBuildElevationTest, SetHoldsTheTopToTheWholeHeightAndTakesTheDrawingSettings)
{
    Db()->SetGlobalVar("DRAWING_SCALE", 1000);
    Db()->SetGlobalVar("ORV_BUILD_DIM", 4);
    CDimBuildElevation label;
    label.Set(299.7, 150, GePoint3d(1, 2, 3));
    EXPECT_EQ(label.Height(), 300);
    EXPECT_DOUBLE_EQ(label.Top(), 450);
    EXPECT_DOUBLE_EQ(label.Bottom(), 150);
    EXPECT_EQ(label.Position(), GePoint3d(1, 2, 3));
    EXPECT_DOUBLE_EQ(label.Scale(), 1000);
    EXPECT_DOUBLE_EQ(label.TextHeight(), 4);
    label.SetStyle(3);
    EXPECT_EQ(label.LabelText(), "0.450（0.150）");
    // Negative heights round to the nearest millimetre too.
    label.Set(-299.7, 0, GePoint3d());
    EXPECT_EQ(label.Height(), -300);
}

TEST_F(DimBuildElevationTest, EachStyleShowsItsValues)
{
    CDimBuildElevation label;
    label.Set(300, 150, GePoint3d());
    const char* expected[] = {"0.450", "0.300", "0.150", "0.450（0.150）", "0.300（0.450）"};
    for (int style = 0; style < 5; ++style) {
        label.SetStyle(style);
        EXPECT_EQ(label.LabelText(), expected[style]) << "style " << style;
    }
    label.SetStyle(5);
    EXPECT_EQ(label.LabelText(), "");
    label.SetStyle(-1);
    EXPECT_EQ(label.LabelText(), "");
}

// Marker and text of every style at scale 500, label at (1000, 2000).
TEST_F(DimBuildElevationTest, DrawsTheMarkerAndTextOfEachStyle)
{
    const double leg = 4.24 * 500;  // 2120
    const double c45 = std::cos(45 / (180 / std::acos(-1.0)));
    const double ax = 1000 - leg * c45, ay = 2000 + leg * c45, bx = 1000 + leg * c45;
    for (int style = 0; style < 5; ++style) {
        SCOPED_TRACE("style " + std::to_string(style));
        CDimBuildElevation* label = NewLabel(style, 3000, 500, GePoint3d(1000, 2000, 0));
        decViewFilter filter;
        EXPECT_EQ(label->OnWorldDraw(filter), dex::eOk);
        const auto& drawn = filter.Primitives();
        if (style == CDimBuildElevation::kBottom) {
            ASSERT_EQ(drawn.size(), 2u);
            EXPECT_EQ(drawn[0].kind, DrawnPrimitive::Kind::Polygon);
            ASSERT_EQ(drawn[0].points.size(), 3u);
            EXPECT_EQ(drawn[0].points[0], GePoint3d(1000, 2000, 0));
            EXPECT_NEAR(drawn[0].points[1].x, ax, 1e-9);
            EXPECT_NEAR(drawn[0].points[1].y, ay, 1e-9);
            EXPECT_NEAR(drawn[0].points[2].x, bx, 1e-9);
            EXPECT_NEAR(drawn[0].points[2].y, ay, 1e-9);
        } else {
            ASSERT_EQ(drawn.size(), 4u);
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(drawn[i].kind, DrawnPrimitive::Kind::Polyline);
                ASSERT_EQ(drawn[i].points.size(), 2u);
            }
            EXPECT_EQ(drawn[0].points[0], GePoint3d(1000, 2000, 0));
            EXPECT_NEAR(drawn[0].points[1].x, ax, 1e-9);
            EXPECT_NEAR(drawn[1].points[1].x, bx, 1e-9);
            EXPECT_NEAR(drawn[1].points[1].y, ay, 1e-9);
            // The leader runs 20 × scale to the right from A.
            EXPECT_NEAR(drawn[2].points[0].x, ax, 1e-9);
            EXPECT_NEAR(drawn[2].points[1].x - drawn[2].points[0].x, 10000, 1e-9);
            EXPECT_NEAR(drawn[2].points[1].y, ay, 1e-9);
        }
        const DrawnPrimitive& text = drawn.back();
        EXPECT_EQ(text.kind, DrawnPrimitive::Kind::Text);
        EXPECT_EQ(text.text, label->LabelText());
        EXPECT_NEAR(text.points[0].x, 1000, 1e-9);
        EXPECT_NEAR(text.points[0].y, 2000 + 1.3 * leg * c45, 1e-9);
        EXPECT_DOUBLE_EQ(text.height, 5.0 * 500);
        EXPECT_DOUBLE_EQ(text.widthFactor, 0.8);
        EXPECT_EQ(text.alignment, style == CDimBuildElevation::kBottom ? 34u : 33u);
        EXPECT_EQ(text.direction, GeVector3d::kXAxis);
        EXPECT_EQ(text.normal, GeVector3d::kZAxis);
        EXPECT_EQ(text.style.fontName, "hztxt.shx");
        EXPECT_DOUBLE_EQ(text.style.height, 2500);
        delete label;
    }
}

TEST_F(DimBuildElevationTest, PropertyEditsKeepTopBottomAndHeightTogether)
{
    const decObjectId id = AddEntity(NewLabel(0, 300, 0));
    auto* label = CDimBuildElevation::Cast(Entity(id));
    const std::string h = Handle(id);
    ASSERT_TRUE(Run("props " + h + "\n"));
    EXPECT_THAT(Transcript(), HasSubstr("1 [标高参数] 类型 (kind 5) = 0"));
    EXPECT_THAT(Transcript(), HasSubstr("4 [标高参数] 建筑高度 (kind 1) = 300"));
    EXPECT_THAT(Transcript(), HasSubstr("6 [文字参数] 字体名称 (kind 5) = 1"));

    ASSERT_TRUE(Run("setprop " + h + " 2 200.9\n"));
    EXPECT_EQ(label->Height(), 201);
    ASSERT_TRUE(Run("setprop " + h + " 3 100\nsetprop " + h + " 4 250\n"));
    EXPECT_DOUBLE_EQ(label->Bottom(), 100);
    EXPECT_EQ(label->Height(), 250);
    EXPECT_DOUBLE_EQ(label->Top(), 350);
    ASSERT_TRUE(Run("setprop " + h + " 5 0.1\n"));
    EXPECT_DOUBLE_EQ(label->TextHeight(), 0.1);

    host::EventLog::Instance().Clear();
    ASSERT_TRUE(Run("setprop " + h + " 5 0.05\n"));
    EXPECT_THAT(Transcript(), HasSubstr("请输入一个合理的字高值！"));
    EXPECT_DOUBLE_EQ(label->TextHeight(), 0.1);

    label->OpenForWrite();
    EXPECT_EQ(label->OnPropertyValueChanged(6, Integer(2)), dex::eOk);
    EXPECT_EQ(label->Font(), "宋体");
    EXPECT_EQ(label->OnPropertyValueChanged(6, Integer(4)), 0);
    EXPECT_EQ(label->OnPropertyValueChanged(0, Integer(1)), dex::eOk);
    label->Close();

    TPropertyComboBoxData styles;
    label->OnPropertyComboBoxInit(1, styles);
    EXPECT_THAT(styles.Entries(), ElementsAre("顶标高", "建筑高度", "底标高", "顶标高和底标高", "建筑物高度和顶标高"));
    TPropertyComboBoxData fonts;
    label->OnPropertyComboBoxInit(6, fonts);
    EXPECT_EQ(fonts.GetCount(), 4);
}

TEST_F(DimBuildElevationTest, AnyGripMovesTheLabelAndScalingGrowsMarkerAndTextAlike)
{
    const decObjectId id = AddEntity(NewLabel(0, 3000, 0, GePoint3d(10, 20, 0)));
    auto* label = CDimBuildElevation::Cast(Entity(id));
    GePoint3dArray grips;
    label->GetGripPoints(grips);
    EXPECT_THAT(grips, ElementsAre(GePoint3d(10, 20, 0)));
    label->OpenForWrite();
    label->MoveGripPointsAt({5}, GeVector3d(1, 1, 0));
    EXPECT_EQ(label->Position(), GePoint3d(11, 21, 0));

    decViewFilter before;
    label->OnWorldDraw(before);
    GeMatrix3d scaling;
    scaling.SetToScaling(2.0, GePoint3d(11, 21, 0));
    label->TransformBy(scaling);
    label->Close();
    EXPECT_EQ(label->Position(), GePoint3d(11, 21, 0));
    EXPECT_DOUBLE_EQ(label->Scale(), 1000);
    EXPECT_DOUBLE_EQ(label->TextHeight(), 5);
    decViewFilter after;
    label->OnWorldDraw(after);
    // Marker legs and drawn text height both double, the text height is not squared.
    const auto legOf = [](const decViewFilter& f) { return f.Primitives()[0].points[1] - f.Primitives()[0].points[0]; };
    EXPECT_NEAR(legOf(after).Length(), 2 * legOf(before).Length(), 1e-9);
    EXPECT_DOUBLE_EQ(after.Texts()[0]->height, 2 * before.Texts()[0]->height);

    ASSERT_TRUE(Run("move " + Handle(id) + " 100,0\n"));
    EXPECT_EQ(label->Position(), GePoint3d(111, 21, 0));
}

TEST_F(DimBuildElevationTest, RecordRestoresEveryStoredFieldAndNotTheFontList)
{
    const std::unique_ptr<CDimBuildElevation> label(NewLabel(3, 299.7, 150, GePoint3d(5, 6, 0)));
    label->OpenForWrite();  // not in a drawing: no write checks
    label->SetTextHeight(3.25);
    label->SetScale(250);
    label->Close();
    prop_data value;
    label->OnPropertyValueGet(6, value);
    ASSERT_FALSE(label->FontList().empty());

    StoreFilter store(true);
    label->Serialize(store);
    CDimBuildElevation read;
    LoadFilter load(store.Bytes(), true);
    read.Serialize(load);
    EXPECT_EQ(load.BytesLeft(), 0u);
    EXPECT_EQ(read.GetStyle(), 3);
    EXPECT_EQ(read.Position(), GePoint3d(5, 6, 0));
    EXPECT_EQ(read.Height(), 300);
    EXPECT_DOUBLE_EQ(read.Bottom(), 150);
    // The record has no top: it comes back as bottom + height.
    EXPECT_DOUBLE_EQ(read.Top(), 450);
    EXPECT_DOUBLE_EQ(read.TextHeight(), 3.25);
    EXPECT_DOUBLE_EQ(read.Scale(), 250);
    EXPECT_EQ(read.Font(), "hztxt.shx");
    EXPECT_TRUE(read.FontList().empty());
}

TEST_F(DimBuildElevationTest, TheTextHeightChangesOnlyForADifferenceOfAThousandth)
{
    CDimBuildElevation label;
    label.Set(1000, 0, GePoint3d());
    label.SetTextHeight(5.0009);
    EXPECT_DOUBLE_EQ(label.TextHeight(), 5);
    label.SetTextHeight(5.001);
    EXPECT_DOUBLE_EQ(label.TextHeight(), 5.001);
    label.SetScale(500.0001);
    EXPECT_DOUBLE_EQ(label.Scale(), 500.0001);
}

TEST_F(DimBuildElevationTest, CopiesTakeEveryFieldButStayOutOfTheDrawing)
{
    const decObjectId id = AddEntity(NewLabel(1, 299.7, 150, GePoint3d(5, 6, 7)));
    auto* stored = CDimBuildElevation::Cast(Entity(id));
    prop_data value;
    stored->OnPropertyValueGet(6, value);
    CDimBuildElevation copy(*stored);
    EXPECT_EQ(copy.GetStyle(), 1);
    EXPECT_EQ(copy.Height(), 300);
    EXPECT_DOUBLE_EQ(copy.Top(), 450);
    EXPECT_EQ(copy.Position(), GePoint3d(5, 6, 7));
    EXPECT_EQ(copy.FontList(), stored->FontList());
    EXPECT_EQ(copy.GetDatabase(), nullptr);
    CDimBuildElevation assigned;
    assigned = copy;
    EXPECT_EQ(assigned.LabelText(), "0.300");
    EXPECT_DOUBLE_EQ(assigned.Scale(), stored->Scale());
}

}  // namespace
