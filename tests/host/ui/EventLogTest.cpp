#include <gtest/gtest.h>

#include "EventLog.h"
#include "MsgBox.h"

TEST(EventLog, MessageBoxesShowOnTheTranscriptAndCallsStayApart)
{
    host::EventLog& log = host::EventLog::Instance();
    log.Clear();
    std::string echoed;
    log.SetSink([&](std::string_view line) { echoed += std::string(line) + "|"; });

    EXPECT_EQ(msg_box("提示：请输入合理的高度值。", "提示", 0x30), IDOK);
    log.Call("decSSGet mode=1");

    EXPECT_EQ(log.Transcript(), "[提示] 提示：请输入合理的高度值。\n");
    EXPECT_EQ(echoed, "[提示] 提示：请输入合理的高度值。|");
    EXPECT_TRUE(log.Shown("合理的高度"));
    EXPECT_FALSE(log.Shown("decSSGet"));
    EXPECT_EQ(log.Calls("decSSGet"), std::vector<std::string>{"decSSGet mode=1"});
    EXPECT_EQ(log.Calls("msg_box"), std::vector<std::string>{"msg_box style=48 -> 1"});

    log.SetSink(nullptr);
    log.Clear();
    EXPECT_TRUE(log.Entries().empty());
}

#include "ScriptedUser.h"

TEST(MessageBox, QuestionsTakeTheNextLineAndEscWhenTheLinesRunOut)
{
    host::EventLog::Instance().Clear();
    host::ScriptedUser& user = host::ScriptedUser::Instance();
    user.Clear();
    user.Feed("; a comment\nmaybe\nYes\nno\n", "answers");

    EXPECT_EQ(MessageBoxA(nullptr, "继续吗？", "提示", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_TRUE(user.Failed());  // "maybe" was refused and named with its line
    EXPECT_TRUE(host::EventLog::Instance().Shown("answers:2: "));
    EXPECT_EQ(msg_box("再来？", "提示", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(msg_box("再来？", "提示", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(msg_box("好的", "提示"), IDOK);
    user.Clear();
    host::EventLog::Instance().Clear();
}
