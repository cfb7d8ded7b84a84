// The scaled text entity: setting, drawing, property panel, grips, transforms and its record.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "DrawingTestSupport.h"
#include "DimBuildElevation.h"
#include "OrvScaleText.h"
#include "SerializeFilter.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class OrvScaleTextTest : public DrawingTest {
protected:
    // A text as the creators make it.
    static COrvScaleText* NewText(const char* text = "1号楼", double height = 5.0, double scale = 500.0)
    {
        auto* t = new COrvScaleText();
        t->Set(TEXT_UTILITY::BUILD_DIM, text, GePoint3d(100, 200, 0), GeVector3d::kXAxis, GeVector3d::kZAxis, height,
               0.0, 18, scale, "");
        return t;
    }
};

TEST_F(OrvScaleTextTest, ClassRecordAndCast)
{
    ExpectClassRecord(COrvScaleText::Desc(), "QCOrvScaleText", "文字标注", decDbEntity2d::Desc());
    COrvScaleText text;
    CDimBuildElevation label;
    EXPECT_EQ(COrvScaleText::Cast(&text), &text);
    EXPECT_EQ(COrvScaleText::Cast(&label), nullptr);
    EXPECT_EQ(COrvScaleText::Cast(nullptr), nullptr);
    EXPECT_EQ(text.Font(), "hztxt.shx");
}

TEST_F(OrvScaleTextTest, SetTakesTheDrawingScaleForTinyScalesAndKeepsTheFontForAnEmptyOne)
{
    Db()->SetGlobalVar("DRAWING_SCALE", 800);
    COrvScaleText text;
    text.Set(TEXT_UTILITY::BUILD_DIM, "甲", GePoint3d(1, 2, 3), GeVector3d::kXAxis, GeVector3d::kZAxis, 2.5, 30, 18, 0,
             "");
    EXPECT_DOUBLE_EQ(text.Scale(), 800);
    EXPECT_EQ(text.Font(), "hztxt.shx");
    text.Set(TEXT_UTILITY::BUILD_DIM, "甲", GePoint3d(), GeVector3d::kXAxis, GeVector3d::kZAxis, 2.5, 0, 18, 0.001,
             "黑体");
    EXPECT_DOUBLE_EQ(text.Scale(), 800);
    EXPECT_EQ(text.Font(), "黑体");
    text.Set(TEXT_UTILITY::WIN_H_DIM, "乙", GePoint3d(), GeVector3d::kYAxis, GeVector3d::kZAxis, 2.5, 0, 10, 0.0011,
             "");
    EXPECT_DOUBLE_EQ(text.Scale(), 0.0011);
    EXPECT_EQ(text.Font(), "黑体");
    EXPECT_EQ(text.GetType(), TEXT_UTILITY::WIN_H_DIM);
    EXPECT_EQ(text.Placement(), 10u);
    EXPECT_THAT(Transcript(), Not(HasSubstr("表达式失败")));

    // Empty text and a height of 0 are reported and stored all the same.
    text.Set(TEXT_UTILITY::BUILD_DIM, "", GePoint3d(), GeVector3d::kXAxis, GeVector3d::kZAxis, 0, 0, 18, 500, "");
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< !text.IsEmpty() && \"文字内容为空\" >"));
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< height > 0 >"));
    EXPECT_EQ(text.Text(), "");
    EXPECT_DOUBLE_EQ(text.Height(), 0);
}

TEST_F(OrvScaleTextTest, HeightAndScaleChangeOnlyForADifferenceOfAThousandth)
{
    COrvScaleText* text = NewText("甲", 2.5);
    const decObjectId id = AddEntity(text);
    text->OpenForWrite();
    text->SetHeight(2.5005);
    EXPECT_DOUBLE_EQ(text->Height(), 2.5);
    // 2.501 - 2.5 is 0.000999... in binary, below the tolerance: a change needs a bit more.
    text->SetHeight(2.501);
    EXPECT_DOUBLE_EQ(text->Height(), 2.5);
    text->SetHeight(2.5011);
    EXPECT_DOUBLE_EQ(text->Height(), 2.5011);
    text->SetScale(500.0009);
    EXPECT_DOUBLE_EQ(text->Scale(), 500);
    text->SetScale(1000);
    EXPECT_DOUBLE_EQ(text->Scale(), 1000);
    text->Close();
    EXPECT_THAT(Transcript(), Not(HasSubstr("fault")));
    (void)id;
}

TEST_F(OrvScaleTextTest, DrawsItsTextAtHeightTimesScaleWithItsStyle)
{
    COrvScaleText* text = NewText("1号楼", 5.0, 500.0);
    decViewFilter filter;
    EXPECT_EQ(text->OnWorldDraw(filter), dex::eOk);
    ASSERT_EQ(filter.Primitives().size(), 1u);
    const DrawnPrimitive& drawn = filter.Primitives()[0];
    EXPECT_EQ(drawn.kind, DrawnPrimitive::Kind::Text);
    EXPECT_EQ(drawn.text, "1号楼");
    EXPECT_EQ(drawn.points[0], GePoint3d(100, 200, 0));
    EXPECT_EQ(drawn.direction, GeVector3d::kXAxis);
    EXPECT_EQ(drawn.normal, GeVector3d::kZAxis);
    EXPECT_DOUBLE_EQ(drawn.height, 2500);
    EXPECT_DOUBLE_EQ(drawn.widthFactor, 0.8);
    EXPECT_EQ(drawn.alignment, 18u);
    ASSERT_TRUE(drawn.hasStyle);
    EXPECT_EQ(drawn.style.fontName, "hztxt.shx");
    EXPECT_DOUBLE_EQ(drawn.style.height, 2500);
    EXPECT_DOUBLE_EQ(drawn.style.widthFactor, 0.8);
    delete text;
}

TEST_F(OrvScaleTextTest, PropertyPanelEditsTextHeightAngleAndFont)
{
    const decObjectId id = AddEntity(NewText("甲"));
    const std::string h = Handle(id);
    ASSERT_TRUE(Run("props " + h + "\n"));
    EXPECT_THAT(Transcript(), HasSubstr("1 [文字参数] 内容 (kind 4) = 甲"));
    EXPECT_THAT(Transcript(), HasSubstr("2 [文字参数] 字高 (kind 2) = 5"));
    EXPECT_THAT(Transcript(), HasSubstr("3 [文字参数] 角度 (kind 7)"));
    EXPECT_THAT(Transcript(), HasSubstr("4 [文字参数] 字体名称 (kind 5)"));

    ASSERT_TRUE(Run("setprop " + h + " 1 乙楼\nsetprop " + h + " 2 200\nsetprop " + h + " 4 0\n"));
    auto* text = COrvScaleText::Cast(Entity(id));
    EXPECT_EQ(text->Text(), "乙楼");
    EXPECT_DOUBLE_EQ(text->Height(), 200);
    EXPECT_EQ(text->Font(), "Arial");

    host::EventLog::Instance().Clear();
    ASSERT_TRUE(Run("setprop " + h + " 2 200.5\n"));
    EXPECT_THAT(Transcript(), HasSubstr("请输入一个合理的字高值！"));
    EXPECT_THAT(Transcript(), HasSubstr("refused"));
    EXPECT_DOUBLE_EQ(text->Height(), 200);

    // The font list has four entries: index 4 and -1 are refused and the font stays.
    text->OpenForWrite();
    EXPECT_EQ(text->OnPropertyValueChanged(4, Integer(4)), 0);
    EXPECT_EQ(text->OnPropertyValueChanged(4, Integer(-1)), 0);
    EXPECT_EQ(text->Font(), "Arial");
    EXPECT_EQ(text->OnPropertyValueChanged(4, Integer(3)), dex::eOk);
    EXPECT_EQ(text->Font(), "黑体");
    EXPECT_EQ(text->OnPropertyValueChanged(9, Integer(3)), dex::eOk);
    text->Close();

    prop_data value = Integer(77);
    text->OnPropertyValueGet(4, value);
    EXPECT_EQ(value.lValue, 3);
    EXPECT_EQ(text->FontList().size(), 4u);
    TPropertyComboBoxData entries;
    text->OnPropertyComboBoxInit(4, entries);
    EXPECT_THAT(entries.Entries(), ElementsAre("Arial", "hztxt.shx", "宋体", "黑体"));
    TPropertyComboBoxData none;
    text->OnPropertyComboBoxInit(2, none);
    EXPECT_EQ(none.GetCount(), 0);

    // A font no longer offered shows no selection and stays the text's font.
    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{});
    value = Integer(77);
    text->OnPropertyValueGet(4, value);
    EXPECT_EQ(value.lValue, 77);
    EXPECT_EQ(text->Font(), "黑体");
}

TEST_F(OrvScaleTextTest, AnglePickAppliesOnlyToScaledTextsOfTheSelection)
{
    const decObjectId textId = AddEntity(NewText("甲"));
    auto* label = new CDimBuildElevation();
    label->Set(3000, 500, GePoint3d());
    const decObjectId labelId = AddEntity(label);
    auto* text = COrvScaleText::Cast(Entity(textId));

    decObject* selection[] = {text, label};
    int handled = 0;
    EXPECT_EQ(text->OnPropertyOtherEdit(2, "", 2, selection, handled), 0);
    Answer("45\n");
    EXPECT_EQ(text->OnPropertyOtherEdit(3, "", 2, selection, handled), 1);
    EXPECT_THAT(Transcript(), HasSubstr("请指定文字插入角度"));
    EXPECT_DOUBLE_EQ(text->Angle(), 45);
    // The label's row 3 is its bottom elevation: untouched.
    EXPECT_DOUBLE_EQ(label->Bottom(), 500);
    EXPECT_EQ(label->Height(), 3000);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);

    // A cancelled pick changes nothing.
    Answer("*cancel*\n");
    EXPECT_EQ(text->OnPropertyOtherEdit(3, "", 2, selection, handled), 0);
    EXPECT_DOUBLE_EQ(text->Angle(), 45);

    // Through the panel, by script.
    ASSERT_TRUE(Run("setprop " + Handle(textId) + " 3\n0,0\n0,10\n"));
    EXPECT_DOUBLE_EQ(text->Angle(), 90);
    (void)labelId;
}

TEST_F(OrvScaleTextTest, OneGripMovesTheTextAndTransformsScaleTheHeightOnly)
{
    const decObjectId id = AddEntity(NewText("甲", 5.0, 500.0));
    auto* text = COrvScaleText::Cast(Entity(id));
    GePoint3dArray grips;
    text->GetGripPoints(grips);
    ASSERT_EQ(grips.size(), 1u);
    EXPECT_EQ(grips[0], GePoint3d(100, 200, 0));

    text->OpenForWrite();
    text->MoveGripPointsAt({1}, GeVector3d(10, 0, 0));
    EXPECT_EQ(text->Position(), GePoint3d(100, 200, 0));
    text->MoveGripPointsAt({0}, GeVector3d(10, 0, 0));
    EXPECT_EQ(text->Position(), GePoint3d(110, 200, 0));

    GeMatrix3d scaling;
    scaling.SetToScaling(2.0);
    text->TransformBy(scaling);
    EXPECT_EQ(text->Position(), GePoint3d(220, 400, 0));
    EXPECT_DOUBLE_EQ(text->Height(), 10);
    EXPECT_DOUBLE_EQ(text->Scale(), 500);
    text->Close();
    decViewFilter filter;
    text->OnWorldDraw(filter);
    EXPECT_DOUBLE_EQ(filter.Texts()[0]->height, 5000);

    // move and rotate by script: a quarter turn turns the direction too.
    ASSERT_TRUE(Run("move " + Handle(id) + " 30,0\nrotate " + Handle(id) + " 0,0 90\n"));
    EXPECT_NEAR(text->Position().x, -400, 1e-9);
    EXPECT_NEAR(text->Position().y, 250, 1e-9);
    // Direction and normal went through the scaling too: they keep its length.
    EXPECT_TRUE(text->Direction().IsEqual(GeVector3d(0, 2, 0), 1e-9));
    EXPECT_TRUE(text->Normal().IsEqual(GeVector3d(0, 0, 2), 1e-9));
    EXPECT_DOUBLE_EQ(text->Height(), 10);
}

TEST_F(OrvScaleTextTest, RecordKeepsEveryStoredItemAndNotTheFontList)
{
    const std::unique_ptr<COrvScaleText> text(NewText("1号楼", 3.5, 750.0));
    text->Set(TEXT_UTILITY::WIN_V_DIM, "窗 1-2", GePoint3d(1.5, -2.25, 3), GeVector3d(0, 1, 0), GeVector3d(0, 0, -1),
              3.5, 12.5, 0xFFFFFFFFu, 750, "宋体");
    prop_data value;
    text->OnPropertyValueGet(4, value);  // fills the font list
    ASSERT_FALSE(text->FontList().empty());

    StoreFilter store(true);
    text->Serialize(store);
    COrvScaleText read;
    LoadFilter load(store.Bytes(), true);
    read.Serialize(load);
    EXPECT_EQ(load.BytesLeft(), 0u);
    EXPECT_EQ(read.GetType(), TEXT_UTILITY::WIN_V_DIM);
    EXPECT_EQ(read.Text(), "窗 1-2");
    EXPECT_EQ(read.Position(), GePoint3d(1.5, -2.25, 3));
    EXPECT_DOUBLE_EQ(read.Height(), 3.5);
    EXPECT_DOUBLE_EQ(read.Angle(), 12.5);
    EXPECT_EQ(read.Placement(), 0xFFFFFFFFu);
    EXPECT_DOUBLE_EQ(read.Scale(), 750);
    EXPECT_EQ(read.Font(), "宋体");
    EXPECT_EQ(read.Direction(), GeVector3d(0, 1, 0));
    EXPECT_EQ(read.Normal(), GeVector3d(0, 0, -1));
    EXPECT_TRUE(read.FontList().empty());

    // A cut record is refused, not read past its end.
    const std::vector<std::uint8_t> cut(store.Bytes().begin(), store.Bytes().end() - 5);
    LoadFilter short_(cut, true);
    COrvScaleText broken;
    EXPECT_THROW(broken.Serialize(short_), host::RecordError);
}

TEST_F(OrvScaleTextTest, CopiesTakeEveryFieldButStayOutOfTheDrawing)
{
    const decObjectId id = AddEntity(NewText("甲", 3.5, 250));
    auto* stored = COrvScaleText::Cast(Entity(id));
    prop_data value;
    stored->OnPropertyValueGet(4, value);
    COrvScaleText copy(*stored);
    EXPECT_EQ(copy.Text(), "甲");
    EXPECT_DOUBLE_EQ(copy.Height(), 3.5);
    EXPECT_DOUBLE_EQ(copy.Scale(), 250);
    EXPECT_EQ(copy.Placement(), 18u);
    EXPECT_EQ(copy.FontList(), stored->FontList());
    EXPECT_EQ(copy.GetDatabase(), nullptr);
    COrvScaleText assigned;
    assigned = copy;
    EXPECT_EQ(assigned.Position(), GePoint3d(100, 200, 0));
    EXPECT_EQ(assigned.Direction(), GeVector3d::kXAxis);
}

}  // namespace
