// The floor table: reading the table text, adding it up, and the dialog answered by script lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BuildCommandTestSupport.h"
#include "EventLog.h"
#include "FloorTableDlg.h"
#include "ModelTestSupport.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

using FloorTable::ParseResult;

struct Parsed {
    ParseResult result;
    std::vector<std::uint32_t> heights;
    std::vector<std::uint32_t> counts;
};

Parsed Parse(std::string_view text)
{
    // Stale entries show whether a failed parse empties the lists.
    Parsed parsed{ParseResult::Ok, {7}, {7}};
    parsed.result = FloorTable::Parse(text, parsed.heights, parsed.counts);
    return parsed;
}

// ---- reading the table ---------------------------------------------------------------

TEST(FloorTableParse, ItemsAreHeightTimesCountBottomToTop)
{
    const Parsed parsed = Parse("3900,2900*5,3000*2");
    EXPECT_EQ(parsed.result, ParseResult::Ok);
    EXPECT_THAT(parsed.heights, ElementsAre(3900u, 2900u, 3000u));
    EXPECT_THAT(parsed.counts, ElementsAre(1u, 5u, 2u));

    // Blanks are allowed around every number.
    const Parsed blanks = Parse(" 3900 , 2900 * 5,3000 ");
    EXPECT_EQ(blanks.result, ParseResult::Ok);
    EXPECT_THAT(blanks.heights, ElementsAre(3900u, 2900u, 3000u));
    EXPECT_THAT(blanks.counts, ElementsAre(1u, 5u, 1u));
}

TEST(FloorTableParse, LimitsOfHeightAndCountAreInclusive)
{
    const Parsed highest = Parse("100000*499,1");
    EXPECT_EQ(highest.result, ParseResult::Ok);
    EXPECT_THAT(highest.heights, ElementsAre(100000u, 1u));
    EXPECT_THAT(highest.counts, ElementsAre(499u, 1u));
}

// Refused tables leave both lists empty. Empty parts read as 0; long runs of digits would
// wrap around into the allowed range if read as plain int.
TEST(FloorTableParse, RefusedTablesAndWhy)
{
    const struct {
        const char* text;
        ParseResult result;
    } cases[] = {
        {"100001", ParseResult::BadItem},
        {"3000*500", ParseResult::BadItem},
        {"0", ParseResult::BadItem},
        {"3000*0", ParseResult::BadItem},
        {"2900*5,100001*2", ParseResult::BadItem},
        {"3000,,2800", ParseResult::BadItem},
        {"3000*", ParseResult::BadItem},
        {"3000,", ParseResult::BadItem},
        {",3000", ParseResult::BadItem},
        {"*2", ParseResult::BadItem},
        {" ", ParseResult::BadItem},
        {"3000**2", ParseResult::BadItem},
        {"3000 2", ParseResult::BadItem},
        {"29 00*2", ParseResult::BadItem},
        {"3000*2*3", ParseResult::BadItem},
        {"4294967297", ParseResult::BadItem},
        {"3000*4294967297", ParseResult::BadItem},
        {"99999999999999999999999999", ParseResult::BadItem},
        {"3000*18446744073709551617", ParseResult::BadItem},
        {"", ParseResult::Empty},
        {"3000，2800", ParseResult::IllegalCharacter},
        {"-3000", ParseResult::IllegalCharacter},
        {"3000.5", ParseResult::IllegalCharacter},
        {"3000x2", ParseResult::IllegalCharacter},
        {"3000;2800", ParseResult::IllegalCharacter},
        {"3e3", ParseResult::IllegalCharacter},
        {"3000\t", ParseResult::IllegalCharacter},
    };
    for (const auto& c : cases) {
        const Parsed parsed = Parse(c.text);
        EXPECT_EQ(parsed.result, c.result) << '"' << c.text << '"';
        EXPECT_THAT(parsed.heights, IsEmpty()) << c.text;
        EXPECT_THAT(parsed.counts, IsEmpty()) << c.text;
    }
}

// ---- adding it up ----------------------------------------------------------------------

TEST(FloorTableHeight, TotalInMetresWithTwoDecimals)
{
    const Parsed parsed = Parse("3900,2900*5,3000*2");
    EXPECT_EQ(FloorTable::FormatHeight(parsed.heights, parsed.counts), "24.40");
    EXPECT_EQ(FloorTable::FormatHeight({}, {}), "0.00");
    EXPECT_EQ(FloorTable::FormatHeight({100000}, {499}), "49900.00");
}

TEST(FloorTableHeight, SumAndDivisionAreInSinglePrecision)
{
    // 3.335 is just below the half in double precision but just above it in single precision.
    EXPECT_EQ(FloorTable::FormatHeight({3335}, {1}), "3.34");
    // Above 2^24 millimetres a float holds only even numbers: ten single storeys of 1 mm
    // added one by one to 16800 m are lost (16800.01 in exact arithmetic).
    const std::vector<std::uint32_t> heights = {100000, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    const std::vector<std::uint32_t> counts = {168, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(FloorTable::FormatHeight(heights, counts), "16800.00");
}

TEST(FloorTableHeight, ReasonableBuildHeights)
{
    EXPECT_TRUE(FloorTable::IsReasonableBuildHeight(0.001));
    EXPECT_TRUE(FloorTable::IsReasonableBuildHeight(10000.0));
    EXPECT_FALSE(FloorTable::IsReasonableBuildHeight(0.0009));
    EXPECT_FALSE(FloorTable::IsReasonableBuildHeight(10000.001));
    EXPECT_FALSE(FloorTable::IsReasonableBuildHeight(0.0));
    EXPECT_FALSE(FloorTable::IsReasonableBuildHeight(std::nan("")));
}

// ---- the dialog --------------------------------------------------------------------------

class FloorTableDlgTest : public ModelTest {
protected:
    // Runs a fresh dialog on the lines; its result.
    INT_PTR RunDialog(CFloorTableDlg& dialog, const std::string& lines)
    {
        Answer(lines);
        AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
        return dialog.DoModal();
    }
};

TEST_F(FloorTableDlgTest, OpensFreshAndClosesWithTheTableAddedUp)
{
    CFloorTableDlg dialog;
    EXPECT_EQ(RunDialog(dialog, "set 1319 3900,2900*5,3000*2\nset 1155 1.5\nok\n"), IDOK);
    EXPECT_EQ(dialog.m_strHeight, "24.40");
    EXPECT_EQ(dialog.m_strElevation, "1.5");
    EXPECT_EQ(dialog.m_bDrawFloorLines, 1);
    EXPECT_THAT(dialog.m_storeyHeights, ElementsAre(3900u, 2900u, 3000u));
    EXPECT_THAT(dialog.m_storeyCounts, ElementsAre(1u, 5u, 2u));
    EXPECT_THAT(Transcript(), HasSubstr("dialog 1115 \"请输入建筑物楼层信息\" closed: IDOK"));

    // Another dialog object starts again from the initial values.
    CFloorTableDlg next;
    EXPECT_EQ(RunDialog(next, "check 1318 0\nset 1319 3000\nok\n"), IDOK);
    EXPECT_EQ(next.m_strElevation, "0.0");
    EXPECT_EQ(next.m_bDrawFloorLines, 0);
    EXPECT_EQ(next.m_strHeight, "3.00");
}

TEST_F(FloorTableDlgTest, CalculateShowsTheHeightOrCannotCalculate)
{
    CFloorTableDlg dialog;
    EXPECT_EQ(RunDialog(dialog, "set 1319 3900,2900*5\nclick 1317\ncancel\n"), IDCANCEL);
    EXPECT_EQ(dialog.m_strHeight, "18.40");

    CFloorTableDlg bad;
    EXPECT_EQ(RunDialog(bad, "set 1319 3000,,2800\nclick 1317\ncancel\n"), IDCANCEL);
    EXPECT_EQ(bad.m_strHeight, "无法计算！");
    EXPECT_THAT(bad.m_storeyHeights, IsEmpty());
    // The calculate button itself shows no message for a bad item.
    EXPECT_THAT(Transcript(), Not(HasSubstr("请检查")));
}

TEST_F(FloorTableDlgTest, RefusedTablesKeepTheDialogOpen)
{
    for (const char* table : {"3000*500", "100001", "3000,,2800", "3000*", "3000,2800,", ""}) {
        host::EventLog::Instance().Clear();
        CFloorTableDlg dialog;
        EXPECT_EQ(RunDialog(dialog, std::string("set 1319 ") + table + "\nok\nset 1319 3000\nok\n"), IDOK) << table;
        const std::string transcript = Transcript();
        EXPECT_EQ(CountOf(transcript, "请检查输入的楼层信息！"), 1) << table << "\n" << transcript;
        EXPECT_THAT(transcript, Not(HasSubstr("非法的字符"))) << table;
        EXPECT_EQ(dialog.m_strHeight, "3.00") << table;
    }
}

TEST_F(FloorTableDlgTest, IllegalCharacterShowsBothMessagesAndFocusesTheTable)
{
    CFloorTableDlg dialog;
    EXPECT_EQ(RunDialog(dialog, "set 1319 3000，2800\nok\ncancel\n"), IDCANCEL);
    const std::string transcript = Transcript();
    const std::size_t illegal = transcript.find("请检查，楼层信息有非法的字符输入！");
    const std::size_t check = transcript.find("请检查输入的楼层信息！");
    ASSERT_NE(illegal, std::string::npos) << transcript;
    ASSERT_NE(check, std::string::npos) << transcript;
    EXPECT_LT(illegal, check);
    const std::vector<std::string> focus = host::EventLog::Instance().Calls("SetFocus dialog 1115 control 1319");
    EXPECT_FALSE(focus.empty());
}

TEST_F(FloorTableDlgTest, TotalsAreTakenWhileTheyFitTheBuildingsWholeMillimetres)
{
    // Every item is within its limits; the table is refused only when its total, rounded to
    // whole millimetres, is no building height: 50 × 49.9 km holds more millimetres than an
    // int, and 2 mm shows as 0.00.
    std::string many = "100000*499";
    for (int i = 1; i < 50; ++i)
        many += ",100000*499";
    for (const std::string& table : {many, std::string("1,1")}) {
        host::EventLog::Instance().Clear();
        CFloorTableDlg dialog;
        EXPECT_EQ(RunDialog(dialog, "set 1319 " + table + "\nok\ncancel\n"), IDCANCEL) << table;
        EXPECT_THAT(Transcript(), HasSubstr("提示：请输入合理的高度值。")) << table;
    }
    // The largest item makes a building of 49.9 km; 6 mm shows as 0.01.
    for (const auto& [table, height] : {std::pair{"100000*499", "49900.00"}, {"6", "0.01"}}) {
        CFloorTableDlg dialog;
        EXPECT_EQ(RunDialog(dialog, std::string("set 1319 ") + table + "\nok\n"), IDOK) << table;
        EXPECT_EQ(dialog.m_strHeight, std::string(height));
    }
}

TEST(FloorTableHeight, MetresBecomeTheNearestWholeMillimetre)
{
    // Every total of whole centimetres up to 100 m, as the dialog writes it: truncating
    // 32.3 × 1000 would give 32299, and it is not the only one.
    int hit = 0;
    for (int centimetres = 1; centimetres <= 10000; ++centimetres) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", centimetres / 100.0);
        int millimetres = 0;
        ASSERT_TRUE(FloorTable::ToWholeMillimetres(std::atof(text), millimetres));
        EXPECT_EQ(millimetres, centimetres * 10) << text;
        hit += static_cast<int>(std::atof(text) * 1000) != centimetres * 10;
    }
    EXPECT_GT(hit, 0);
    int millimetres = 7;
    EXPECT_TRUE(FloorTable::ToWholeMillimetres(2147483.647, millimetres));
    EXPECT_FALSE(FloorTable::ToWholeMillimetres(2147483.648, millimetres));
    EXPECT_FALSE(FloorTable::ToWholeMillimetres(std::nan(""), millimetres));
    EXPECT_EQ(millimetres, 2147483647);
}

TEST_F(FloorTableDlgTest, ElevationThatIsNoFiniteNumberIsRefused)
{
    CFloorTableDlg dialog;
    EXPECT_EQ(RunDialog(dialog, "set 1319 3000\nset 1155 1e306\nok\nset 1155 abc\nok\nset 1155 -1.5\nok\n"), IDOK);
    EXPECT_EQ(CountOf(Transcript(), "提示：请输入合理的底高度值。"), 2);
    EXPECT_EQ(dialog.m_elevation, -1.5);
}

}  // namespace
