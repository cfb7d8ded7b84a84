// The building elevation label entity: values, texts of the five styles, drawing, property
// panel, grips, transforms; and labels and scaled texts through save and open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

#include "DimBuildElevation.h"
#include "DrawingTestSupport.h"
#include "OrvScaleText.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// The values, each number to the last bit, each followed by a space.
template <class... Values>
std::string Fields(const Values&... values)
{
    std::ostringstream text;
    text.precision(17);
    ((text << values << ' '), ...);
    return text.str();
}

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
    // Every field, the label's text in each of the five styles, and the list line and panel.
    std::string Shown(const decObjectId& id)
    {
        std::string shown;
        if (const auto* label = CDimBuildElevation::Cast(Entity(id))) {
            const GePoint3d& p = label->Position();
            shown = Fields(label->GetStyle(), label->Height(), label->Top(), label->Bottom(), p.x, p.y, p.z,
                           label->TextHeight(), label->Scale(), label->Font().str());
            CDimBuildElevation copy(*label);
            for (int style = 0; style < 5; ++style) {
                copy.SetStyle(style);
                shown += "\n" + copy.LabelText().str();
            }
        } else if (const auto* text = COrvScaleText::Cast(Entity(id))) {
            const GePoint3d& p = text->Position();
            const GeVector3d &d = text->Direction(), &n = text->Normal();
            shown = Fields(text->GetType(), text->Text().str(), text->Placement(), p.x, p.y, p.z, text->Height(),
                           text->Angle(), text->Scale(), d.x, d.y, d.z, n.x, n.y, n.z, text->Font().str());
        }
        host::EventLog::Instance().Clear();
        Script("list " + Handle(id) + "\nprops " + Handle(id) + "\n");
        return shown + "\n" + Transcript();
    }
    void ExpectShownAfterSaveAndOpen(const decObjectId& id)
    {
        ASSERT_NE(Entity(id), nullptr);
        const std::string before = Shown(id);
        ASSERT_TRUE(SaveAndOpen());
        EXPECT_EQ(Shown(id), before);
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

TEST_F(DimBuildElevationTest, ThePanelShowsTheValuesAndRefusesAnUnreasonableTextHeightOrFont)
{
    const decObjectId id = AddEntity(NewLabel(0, 300, 0));
    auto* label = CDimBuildElevation::Cast(Entity(id));
    const std::string h = Handle(id);
    ASSERT_TRUE(Run("props " + h + "\n"));
    EXPECT_THAT(Transcript(), HasSubstr("1 [标高参数] 类型 (kind 5) = 0"));
    EXPECT_THAT(Transcript(), HasSubstr("4 [标高参数] 建筑高度 (kind 1) = 300"));
    EXPECT_THAT(Transcript(), HasSubstr("6 [文字参数] 字体名称 (kind 5) = 1"));

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

TEST_F(DimBuildElevationTest, ALabelShowsAfterAnOpenWhatItShowedBeforeTheSave)
{
    // Set with the value as height; a label of 1000 with the value typed into its top, bottom
    // or height row (2, 3, 4); dimbldelev over a tagged body of the value's height, picked or
    // by an inner point; each in a drawing of scale 250 and label text height 3.25.
    enum Way { kSet = 0, kTypedTop = 2, kTypedBottom = 3, kTypedHeight = 4, kPicked, kInnerPoint };
    const struct {
        const char* what;
        Way way;
        double value, bottom;
        GePoint3d at;
        int height;  // the label's whole-millimetre height
    } kLabels[] = {
        {"gable ridge over 24.4 m", kSet, 27399.6, 0, {12000, 6000, 0}, 27400},
        {"fraction over a whole height", kSet, 24400.4, 450.45, {}, 24400},
        {"half a millimetre", kSet, 24399.5, -3000.25, {-5000, 7000, 0}, 24400},
        {"far site", kSet, 27399.6, 1234.56, {502345678.9, 3345678.25, 0}, 27400},
        {"negative height", kSet, -299.7, 150, {1, 2, 0}, -300},
        {"typed top", kTypedTop, 27399.6, -450.5, {}, 27850},
        {"typed bottom", kTypedBottom, -0.4, 0, {}, 1000},
        {"typed height", kTypedHeight, 24399, -7.125, {}, 24399},
        {"picked named body", kPicked, 27399.6, -450.25, {}, 27400},
        {"inner point of a body", kInnerPoint, 24400.4, -100.5, {}, 24400},
    };
    for (const auto& c : kLabels) {
        SCOPED_TRACE(c.what);
        Script("new\nsetvar DRAWING_SCALE 250\nsetvar ORV_BUILD_DIM 3.25\n");
        decObjectId id;
        if (c.way < kPicked) {
            auto* label = new CDimBuildElevation();
            EXPECT_TRUE(label->Set(c.way == kSet ? c.value : 1000, c.bottom, c.at));
            id = AddEntity(label);
            if (c.way != kSet)
                Script("setprop " + Handle(id) + " " + Fields(c.way, c.value) + "\n");
        } else {
            const decObjectId body =
                AddTaggedBox("甲楼", 8000, 6000, c.value, GeMatrix3d().SetToTranslation(GeVector3d(0, 0, c.bottom)));
            Script("dimbldelev\n" + (c.way == kPicked ? Handle(body) : "A\n4000,3000") + "\n1e7,-1e7\n*cancel*\n");
            ASSERT_EQ(All<CDimBuildElevation>().size(), 1u);
            id = All<CDimBuildElevation>()[0]->GetObjectId();
        }
        const auto* label = CDimBuildElevation::Cast(Entity(id));
        EXPECT_EQ(label->Height(), c.height);
        EXPECT_EQ(label->Bottom(), c.way == kTypedBottom ? c.value : c.bottom);
        // The top the label shows is the one its record gives back.
        EXPECT_EQ(label->Top(), label->Bottom() + label->Height());
        EXPECT_EQ(label->Scale(), 250);
        EXPECT_EQ(label->TextHeight(), 3.25);
        if (c.way < kPicked) {
            EXPECT_EQ(label->Position(), c.at);
        }
        ExpectShownAfterSaveAndOpen(id);
    }

    const struct {
        const char* what;
        TEXT_UTILITY::TEXT_TYPE kind;
        GePoint3d at;
        GeVector3d direction, normal;
        double height, angle;
        unsigned long placement;
        double scale;
        const char* font;
    } kTexts[] = {
        {"text on a ridge", TEXT_UTILITY::BUILD_DIM, {12000.4, 6000.5, 27399.6}, GeVector3d::kXAxis, GeVector3d::kZAxis,
         5, 0, 18, 500, ""},
        {"text far off, turned, the widest placement", TEXT_UTILITY::WIN_H_DIM, {502345678.9, 3345678.25, -450.25},
         {0.6, 0.8, 0}, {0, 0, -1}, 2.5004, 33.333333333333336, 0xFFFFFFFFul, 0.0011, "宋体"},
        {"text at the grid's far corner", TEXT_UTILITY::OTHER_DIM, {-1e12, 1e12, 0}, {0, 1, 0}, {1, 0, 0},
         199.99999999999997, -720.1, 0, 200000, "黑体"},
        {"text of a placement beyond its record", TEXT_UTILITY::BUILD_DIM, {}, GeVector3d::kXAxis, GeVector3d::kZAxis,
         5, 0, 0xFFFFFFFFul + 0x13, 500, ""},
    };
    for (const auto& c : kTexts) {
        SCOPED_TRACE(c.what);
        Script("new\n");
        auto text = std::make_unique<COrvScaleText>();
        // A placement code beyond the 32 bits of its record is refused, not wrapped into another.
        const bool fits = c.placement <= 0xFFFFFFFFul;
        EXPECT_EQ(text->Set(c.kind, "（甲）1号楼", c.at, c.direction, c.normal, c.height, c.angle, c.placement,
                            c.scale, c.font),
                  fits);
        if (fits)
            ExpectShownAfterSaveAndOpen(AddEntity(text.release()));
        else
            EXPECT_EQ(text->Placement(), 0u);
    }
}

}  // namespace
