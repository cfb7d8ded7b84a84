#include <gtest/gtest.h>

#include <string>

#include "AssertReport.h"
#include "EventLog.h"

TEST(AssertReport, FormatsExpressionSourceAndLine)
{
    char buffer[400];
    EXPECT_STREQ(FormatAssertReport(buffer, "pt0!=pt1&&pt1!=pt2", "Tools", 3324),
                 "表达式失败< pt0!=pt1&&pt1!=pt2 >\n文件：Tools\n行：3324");
}

TEST(AssertReport, LongExpressionsAreCutOnACharacterBoundary)
{
    char buffer[400];
    const std::string longText(500, 'x');
    const std::string wide = std::string("表") + longText;
    FormatAssertReport(buffer, ("窗" + std::string(397, 'a')).c_str(), "Window", 1);
    EXPECT_LT(std::string(buffer).size(), 400u);
    FormatAssertReport(buffer, wide.c_str(), "Window", 1);
    EXPECT_EQ(std::string(buffer).size(), 399u);
}

TEST(AssertReport, AFailedCheckShowsTheBoxAndYieldsFalse)
{
    host::EventLog& log = host::EventLog::Instance();
    log.Clear();
    const int height = 0;
    EXPECT_TRUE(ORV_ASSERT(1 + 1 == 2, "Tools"));
    EXPECT_TRUE(log.Transcript().empty());
    EXPECT_FALSE(ORV_ASSERT(height > 0.001, "Window"));
    EXPECT_TRUE(log.Shown("表达式失败< height > 0.001 >\n文件：Window\n行："));
    log.Clear();
}
