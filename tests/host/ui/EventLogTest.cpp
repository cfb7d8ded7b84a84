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

// A long session: the transcript stays whole and in order, the calls keep at least the most
// recent ones (in order), and never more than the transcript's length plus twice the kept ones.
TEST(EventLog, ALongSessionKeepsTheTranscriptAndTheLatestCalls)
{
    host::EventLog& log = host::EventLog::Instance();
    log.Clear();
    constexpr std::size_t kKept = host::EventLog::kCallsKept;
    std::string transcript;
    for (const std::size_t lines : {std::size_t{0}, std::size_t{7}, 3 * kKept}) {
        log.Clear();
        transcript.clear();
        const std::size_t calls = 5 * kKept + 3;
        for (std::size_t i = 0; i < calls; ++i) {
            log.Call("call " + std::to_string(i));
            if (lines && i % (calls / lines + 1) == 0) {
                log.Show("line " + std::to_string(i));
                transcript += "line " + std::to_string(i) + "\n";
            }
            ASSERT_LE(log.Entries().size(), 2 * std::max(kKept, lines) + lines + 1) << "lines " << lines;
        }
        EXPECT_EQ(log.Transcript(), transcript) << "lines " << lines;
        const std::vector<std::string> kept = log.Calls("call ");
        ASSERT_GE(kept.size(), kKept);
        for (std::size_t i = 0; i < kept.size(); ++i)
            ASSERT_EQ(kept[i], "call " + std::to_string(calls - kept.size() + i)) << "lines " << lines;
    }
    log.Clear();
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

// Every kind of box refuses a line naming none of its buttons with its own answers, and takes
// its last button after; a box of a set the host does not know takes no line.
TEST(MessageBox, EachKindNamesOnlyItsOwnButtonsWhenItRefusesALine)
{
    const struct {
        unsigned int style;
        const char* refused;
        const char* names;
        const char* last;
        int answer;
    } kinds[] = {
        {MB_OKCANCEL, "yes", "ok or cancel", "*cancel*", IDCANCEL},
        {MB_ABORTRETRYIGNORE, "ok", "abort, retry or ignore", "cancel", IDABORT},
        {MB_YESNOCANCEL, "ok", "yes, no or cancel", "n", IDNO},
        {MB_YESNO | MB_ICONQUESTION, "cancel", "yes or no", "Y", IDYES},
        {MB_YESNO, "*cancel*", "yes or no", "no", IDNO},
        {MB_RETRYCANCEL, "ignore", "retry or cancel", "retry", IDRETRY},
    };
    host::ScriptedUser& user = host::ScriptedUser::Instance();
    for (const auto& kind : kinds) {
        user.Clear();
        host::EventLog::Instance().Clear();
        user.Feed(std::string(kind.refused) + "\n" + kind.last + "\n", "box");
        EXPECT_EQ(msg_box("继续吗？", "提示", kind.style), kind.answer) << kind.names;
        EXPECT_TRUE(host::EventLog::Instance().Shown(std::string("box:1: the message box takes ") + kind.names +
                                                     ", not \"" + kind.refused + "\""))
            << kind.names;
    }
    user.Clear();
    user.Feed("yes\n", "box");
    EXPECT_EQ(msg_box("继续吗？", "提示", 0x7), IDCANCEL);
    EXPECT_TRUE(user.HasLine()) << "the line is left for what follows";
    user.Clear();
    host::EventLog::Instance().Clear();
}
