// Drawing text heights and scale in the drawing variables, their fallbacks, and the font list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "FontList.h"
#include "TextSettings.h"
#include "WorkingDrawing.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// The heights of the five kinds when the module is loaded.
constexpr double kLoadHeights[] = {5.0, 2.5, 1.0, 0.5, 3.5};

class TextSettingsTest : public DrawingTest {
protected:
    void TearDown() override
    {
        // The fallbacks are module-wide: put back the load values for the tests that follow.
        for (int kind = 0; kind < 5; ++kind)
            SetTextHeight(static_cast<TEXT_UTILITY::TEXT_TYPE>(kind), kLoadHeights[kind]);
        DrawingTest::TearDown();
    }
};

TEST_F(TextSettingsTest, HeightsFallBackToTheModuleValuesAndOutsideKindsGiveThreeAndAHalf)
{
    for (int kind = -1; kind <= 7; ++kind)
        EXPECT_DOUBLE_EQ(GetTextHeight(static_cast<TEXT_UTILITY::TEXT_TYPE>(kind)),
                         kind >= 0 && kind < 5 ? kLoadHeights[kind] : 3.5)
            << kind;
    // A kind outside the table touches no variable even when one of its neighbours exists.
    Db()->SetGlobalVar("ORV_OTHER_DIM", 9.0);
    EXPECT_DOUBLE_EQ(GetTextHeight(static_cast<TEXT_UTILITY::TEXT_TYPE>(5)), 3.5);
}

TEST_F(TextSettingsTest, HeightsAreReadFromTheDrawingUncheckedAndWrittenToIt)
{
    Db()->SetGlobalVar("ORV_WIN_V_DIM", 900.0);
    EXPECT_DOUBLE_EQ(GetTextHeight(TEXT_UTILITY::WIN_V_DIM), 900.0);

    SetTextHeight(TEXT_UTILITY::PT_DIM, 0.75);
    double stored = 0;
    ASSERT_TRUE(Db()->GetGlobalVar("ORV_PT_DIM", stored));
    EXPECT_DOUBLE_EQ(stored, 0.75);
    // The call opened and closed the database itself.
    EXPECT_EQ(Db()->GetOpenDepth(), 0);

    // Inside a caller's bracket the bracket stays open.
    Db()->OpenForWrite();
    SetTextHeight(TEXT_UTILITY::BUILD_DIM, 6.0);
    EXPECT_EQ(Db()->GetOpenDepth(), 1);
    Db()->Close();
    // No range check.
    SetTextHeight(TEXT_UTILITY::OTHER_DIM, -2.0);
    EXPECT_DOUBLE_EQ(GetTextHeight(TEXT_UTILITY::OTHER_DIM), -2.0);
    // A kind outside the table writes nothing.
    const std::size_t variables = Db()->GlobalVars().size();
    SetTextHeight(static_cast<TEXT_UTILITY::TEXT_TYPE>(5), 1.0);
    EXPECT_EQ(Db()->GlobalVars().size(), variables);

    ASSERT_TRUE(SaveAndOpen());
    EXPECT_DOUBLE_EQ(GetTextHeight(TEXT_UTILITY::PT_DIM), 0.75);
    EXPECT_DOUBLE_EQ(GetTextHeight(TEXT_UTILITY::BUILD_DIM), 6.0);
    EXPECT_DOUBLE_EQ(GetTextHeight(TEXT_UTILITY::WIN_V_DIM), 900.0);
}

TEST_F(TextSettingsTest, TheLastHeightSetCarriesOverToADrawingWithoutTheVariable)
{
    SetTextHeight(TEXT_UTILITY::BUILD_DIM, 4.0);
    host::NewDrawing();
    double stored = 0;
    EXPECT_FALSE(Db()->GetGlobalVar("ORV_BUILD_DIM", stored));
    EXPECT_DOUBLE_EQ(GetTextHeight(TEXT_UTILITY::BUILD_DIM), 4.0);
}

TEST_F(TextSettingsTest, ScaleIsFiveHundredWithoutTheVariableAndReportedOutsideItsRange)
{
    EXPECT_DOUBLE_EQ(GetScale(), 500.0);
    EXPECT_THAT(Transcript(), Not(HasSubstr("表达式失败")));

    ASSERT_TRUE(Run("setvar DRAWING_SCALE 1000\n"));
    EXPECT_DOUBLE_EQ(GetScale(), 1000.0);
    ASSERT_TRUE(SaveAndOpen());
    EXPECT_DOUBLE_EQ(GetScale(), 1000.0);
    Db()->SetGlobalVar("DRAWING_SCALE", 1.0);
    EXPECT_DOUBLE_EQ(GetScale(), 1.0);
    Db()->SetGlobalVar("DRAWING_SCALE", 2e5);
    EXPECT_DOUBLE_EQ(GetScale(), 2e5);
    EXPECT_THAT(Transcript(), Not(HasSubstr("表达式失败")));

    Db()->SetGlobalVar("DRAWING_SCALE", 0.5);
    EXPECT_DOUBLE_EQ(GetScale(), 0.5);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< dblScale >= 1 && dblScale <= 2e5 && \"比例尺大小错误！\" >\n文件："
                                        "OrvScaleText\n行："));
    host::EventLog::Instance().Clear();
    Db()->SetGlobalVar("DRAWING_SCALE", 200000.5);
    EXPECT_DOUBLE_EQ(GetScale(), 200000.5);
    EXPECT_THAT(Transcript(), HasSubstr("比例尺大小错误！"));
    host::EventLog::Instance().Clear();
    Db()->SetGlobalVar("DRAWING_SCALE", std::nan(""));
    EXPECT_TRUE(std::isnan(GetScale()));
    EXPECT_THAT(Transcript(), HasSubstr("比例尺大小错误！"));
}

TEST_F(TextSettingsTest, HeightValidityIncludesBothEnds)
{
    EXPECT_EQ(IsHeightValid(0.1), 1);
    EXPECT_EQ(IsHeightValid(200), 1);
    EXPECT_EQ(IsHeightValid(0.0999), 0);
    EXPECT_EQ(IsHeightValid(200.0001), 0);
    EXPECT_EQ(IsHeightValid(std::nan("")), 0);
}

TEST_F(TextSettingsTest, AutoResizeFollowsTheRatioStepsWithStrictThresholds)
{
    const auto resized = [](double height, double scale, double length) {
        AutoResizeTextHeight(height, scale, length);
        return height;
    };
    EXPECT_DOUBLE_EQ(resized(5, 500, 4000), 5.0);       // r = 0.8
    EXPECT_DOUBLE_EQ(resized(5, 500, 3000), 2.5);       // r = 0.6
    EXPECT_DOUBLE_EQ(resized(5, 500, 2000), 5.0 / 3);   // r = 0.4
    EXPECT_NEAR(resized(5, 500, 500), 0.5, 1e-12);      // r = 0.1
    // r = 0.799 exactly is not above 0.799: halved. r = 0.499: divided by 3.
    EXPECT_DOUBLE_EQ(resized(1, 500, 799), 0.5);
    EXPECT_DOUBLE_EQ(resized(1, 500, 499), 1.0 / 3);
    EXPECT_NEAR(resized(1, 500, 199), 0.199, 1e-12);
    // The scale enters the ratio: at 1:1000 the same length is half as much.
    EXPECT_DOUBLE_EQ(resized(5, 1000, 8000), 5.0);
}

TEST_F(TextSettingsTest, FontListKeepsTrueTypeNamesTrimsAndSkipsVerticalFontsAndAddsTheShapeFont)
{
    std::vector<CString> names = {"left over"};
    GetFontNameList(names);
    std::vector<std::string> plain;
    for (const CString& name : names)
        plain.push_back(name.str());
    // Sorted by bytes: ASCII before the Chinese names; the raster font is not TrueType.
    EXPECT_THAT(plain, ElementsAre("Arial", "hztxt.shx", "宋体", "黑体"));

    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{});
    GetFontNameList(names);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "hztxt.shx");

    // Leading blanks before the at sign do not hide a vertical font.
    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{{.fullName = " \t@仿宋", .faceName = "@仿宋"}});
    GetFontNameList(names);
    ASSERT_EQ(names.size(), 1u);
}

TEST_F(TextSettingsTest, FontEnumerationStopsWithoutAnObjectAndKeepsFontsByMask)
{
    EXPECT_EQ(CFontNameEnum::EnumFontFamExProc(nullptr, nullptr, TRUETYPE_FONTTYPE, 0), 0);

    CFontNameEnum fonts;
    fonts.Enum(GetDC(nullptr), GB2312_CHARSET, nullptr, RASTER_FONTTYPE);
    ASSERT_EQ(fonts.FullNames().size(), 1u);
    EXPECT_EQ(fonts.FullNames()[0], "Fixedsys");
    EXPECT_EQ(fonts.FaceNames()[0], "Fixedsys");

    // A face name too long for the record is cut on a character boundary, never inside one.
    CFontNameEnum named;
    named.Enum(GetDC(nullptr), GB2312_CHARSET, "字字字字字字字字字字字字字字字字", TRUETYPE_FONTTYPE);
    EXPECT_TRUE(named.FullNames().empty());
}

}  // namespace
