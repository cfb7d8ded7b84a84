// The command table and the command loop in-process.
#include <gtest/gtest.h>

#include <stdexcept>

#include "CommandLine.h"
#include "CommandTable.h"
#include "DbDatabase.h"
#include "HostFault.h"
#include "Input.h"
#include "UiTestSupport.h"

namespace {

int g_runs = 0;
double g_value = 0;

void CMD_FIRST() { ++g_runs; }
void CMD_SECOND() { g_runs += 10; }
void CMD_ASK() { dec::GetReal("值:", &g_value, 1.5, 0); }
void CMD_THROW() { throw std::runtime_error("out of room"); }
void CMD_LEAVE_OPEN() { dec::GetWorkingDatabase()->OpenForWrite(); }

}  // namespace

class CommandLineTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        host::CommandTable::Instance().Clear();
        g_runs = 0;
        g_value = 0;
    }
    void TearDown() override
    {
        host::CommandTable::Instance().Clear();
        HostTest::TearDown();
    }
};

TEST_F(CommandLineTest, NamesAreCaseInsensitiveAndASecondRegistrationReplacesTheFirst)
{
    dec::RegisterCommand("orv", "Build", "拉伸建筑", 1, CMD_FIRST);
    EXPECT_TRUE(host::RunScript("build\nBUILD\n"));
    EXPECT_EQ(g_runs, 2);
    dec::RegisterCommand("orv", "build", "拉伸建筑", 1, CMD_SECOND);
    EXPECT_EQ(host::CommandTable::Instance().All().size(), 1u);
    EXPECT_TRUE(host::RunScript("build\n"));
    EXPECT_EQ(g_runs, 12);
    EXPECT_EQ(host::EventLog::Instance().Calls("RegisterCommand group=orv name=build flags=1").size(), 1u);
    dec::RegisterCommand("orv", nullptr, "无名", 1, CMD_FIRST);  // recorded, not registered
    dec::RegisterCommand("orv", "none", "无", 1, nullptr);
    EXPECT_EQ(host::CommandTable::Instance().All().size(), 1u);
}

TEST_F(CommandLineTest, LinesAnswerTheQuestionsOfTheRunningCommand)
{
    dec::RegisterCommand("orv", "ask", "问", 1, CMD_ASK);
    EXPECT_TRUE(host::RunScript("; comment\nask\n\n  ask\n  7  \n"));
    EXPECT_EQ(g_value, 7);
    EXPECT_FALSE(host::RunScript("nothing\n"));
    EXPECT_TRUE(Shown("script:1: unknown command \"nothing\""));
}

TEST_F(CommandLineTest, ACommandThatThrowsIsReportedAndTheLoopGoesOn)
{
    dec::RegisterCommand("orv", "boom", "炸", 1, CMD_THROW);
    dec::RegisterCommand("orv", "first", "一", 1, CMD_FIRST);
    EXPECT_FALSE(host::RunScript("boom\nfirst\n"));
    EXPECT_TRUE(Shown("script:1: the command \"boom\" stopped: out of room"));
    EXPECT_EQ(g_runs, 1);
}

TEST_F(CommandLineTest, PromptsAreShownAsTheyAreNeverAsFormats)
{
    dec::PrintPrompt("分组 100%s %d %n");
    dec::PrintPrompt("第一行\n第二行");
    dec::PrintPrompt(nullptr);
    dec::ClearCmdLinePrompt();
    EXPECT_EQ(Transcript(), "分组 100%s %d %n\n第一行\n第二行\n");
    EXPECT_EQ(host::EventLog::Instance().Calls("ClearCmdLinePrompt").size(), 1u);
}

TEST_F(CommandLineTest, ACommandThatLeavesTheDrawingOpenIsReportedAndTheDrawingClosed)
{
    dec::RegisterCommand("orv", "leave", "留", 1, CMD_LEAVE_OPEN);
    EXPECT_FALSE(host::RunScript("leave\n"));
    EXPECT_TRUE(Shown("script:1: command leave left the drawing open for write (1 unclosed)"));
    EXPECT_EQ(dec::GetWorkingDatabase()->GetOpenDepth(), 0);
    host::SetStrictAccess(false);
    EXPECT_FALSE(host::RunScript("leave\n"));
    host::SetStrictAccess(true);
    host::ResetFaultCount();
    EXPECT_TRUE(Shown("script:1: the command \"leave\" left the drawing open for write"));
    EXPECT_EQ(dec::GetWorkingDatabase()->GetOpenDepth(), 0);
}
