#include <gtest/gtest.h>

#include "TextParse.h"

using host::KeywordList;

TEST(KeywordList, KeysAndWholeWordsGiveOneBasedIndices)
{
    const KeywordList list("建筑高度(&H)/楼层表(&T)");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Match("H"), 1);
    EXPECT_EQ(list.Match("t"), 2);
    EXPECT_EQ(list.Match("楼层表"), 2);
    EXPECT_EQ(list.Match("建筑高度"), 1);
    EXPECT_EQ(list.Match("楼层"), 0);
    EXPECT_EQ(list.Match("X"), 0);
    EXPECT_EQ(list.Match(""), 0);
}

TEST(KeywordList, ItemsWithoutKeyAndOddListsAreMatchedByWordOnly)
{
    const KeywordList end("结束");
    EXPECT_EQ(end.Match("结束"), 1);
    EXPECT_EQ(end.Match("J"), 0);
    const KeywordList open("Half(&H/Done");  // no closing parenthesis: the item is its whole text
    EXPECT_EQ(open.Match("Half(&H"), 1);
    EXPECT_EQ(open.Match("h"), 0);
    EXPECT_EQ(open.Match("done"), 2);
    EXPECT_TRUE(KeywordList("").Empty());
    EXPECT_EQ(KeywordList("//A(&A)//").Match("a"), 1);
}

TEST(TextParse, NumbersAreWholeAndFinite)
{
    EXPECT_EQ(host::ParseNumber("12"), 12.0);
    EXPECT_EQ(host::ParseNumber("+3"), 3.0);
    EXPECT_EQ(host::ParseNumber("-0.5"), -0.5);
    EXPECT_EQ(host::ParseNumber("1e3"), 1000.0);
    for (const char* bad : {"", "+", "1e", "1.2.3", "12mm", " 1", "nan", "inf", "1e999", "0x10"})
        EXPECT_FALSE(host::ParseNumber(bad)) << bad;
    EXPECT_EQ(host::ParseInt("-7"), -7);
    EXPECT_FALSE(host::ParseInt("7.5"));
    EXPECT_FALSE(host::ParseInt("99999999999"));
}

TEST(TextParse, CoordinatesHaveTwoOrThreeNumbers)
{
    auto r = host::ParseCoordinates("1,2");
    ASSERT_TRUE(r.value);
    EXPECT_EQ(r.value->xyz, (std::array<double, 3>{1, 2, 0}));
    r = host::ParseCoordinates("1, 2 ,-3.5");
    ASSERT_TRUE(r.value);
    EXPECT_EQ(r.value->xyz[2], -3.5);
    r = host::ParseCoordinates("5");
    EXPECT_FALSE(r.value);
    EXPECT_TRUE(r.error.empty());  // no comma: not a point, maybe a keyword
    EXPECT_EQ(host::ParseCoordinates("1,2,3,4").error, "a point has two or three coordinates, \"1,2,3,4\" has 4");
    EXPECT_EQ(host::ParseCoordinates("1,,2").error, "\"\" in \"1,,2\" is not a number");
    EXPECT_EQ(host::ParseCoordinates(",").error, "\"\" in \",\" is not a number");
}

TEST(TextParse, HandlesAndWords)
{
    EXPECT_EQ(host::ParseHandle("#12"), 12u);
    for (const char* bad : {"#0", "#", "12", "#x", "#1x", "#-1"}) EXPECT_FALSE(host::ParseHandle(bad)) << bad;
    EXPECT_EQ(host::SplitBlanks("  a \t b  c "), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(host::AfterWords("text 0,0 350 1号  住宅楼 ", 3), "1号  住宅楼 ");
    EXPECT_EQ(host::AfterWords("save", 1), "");
    EXPECT_TRUE(host::EqualsNoCase("View_Top", "view_top"));
    EXPECT_FALSE(host::EqualsNoCase("建筑", "建"));
}
