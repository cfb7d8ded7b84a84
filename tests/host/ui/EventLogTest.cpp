#include <gtest/gtest.h>

#include "EventLog.h"
#include "MsgBox.h"
#include "ScriptedUser.h"

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

// A long session, with no transcript, a few lines or many: the transcript stays whole and in
// order, at least the latest calls are kept (in order), and the log never holds more than the
// transcript's length plus twice the kept calls.
TEST(EventLog, ALongSessionKeepsTheTranscriptAndTheLatestCalls)
{
    host::EventLog& log = host::EventLog::Instance();
    constexpr std::size_t kKept = host::EventLog::kCallsKept, kCalls = 5 * kKept + 3;
    for (const std::size_t lines : {std::size_t{0}, std::size_t{7}, 3 * kKept}) {
        log.Clear();
        std::string transcript;
        for (std::size_t i = 0; i < kCalls; ++i) {
            log.Call("call " + std::to_string(i));
            if (lines && i % (kCalls / lines + 1) == 0) {
                log.Show("line " + std::to_string(i));
                transcript += "line " + std::to_string(i) + "\n";
            }
            ASSERT_LE(log.Entries().size(), 2 * std::max(kKept, lines) + lines + 1) << "lines " << lines;
        }
        EXPECT_EQ(log.Transcript(), transcript) << "lines " << lines;
        const std::vector<std::string> kept = log.Calls("call ");
        ASSERT_GE(kept.size(), kKept);
        for (std::size_t i = 0; i < kept.size(); ++i)
            ASSERT_EQ(kept[i], "call " + std::to_string(kCalls - kept.size() + i)) << "lines " << lines;
    }
    log.Clear();
}

// Each kind of box takes the first line naming one of its buttons, refusing those naming none
// with its own answers; with no lines left it takes Esc's answer. A plain box, and one of a
// button set the host does not know, take no line: it is left for what follows.
TEST(MessageBox, EachKindTakesALineNamingItsButtonsAndRefusesOthersWithItsOwnAnswers)
{
    const struct {
        unsigned int style;
        const char* lines;
        int answer;
        const char* refusal;  // what the refused line is told, or nothing
        bool left;
    } kinds[] = {
        {MB_YESNO | MB_ICONQUESTION, "; a comment\nmaybe\nYes\nno\n", IDYES,
         "box:2: the message box takes yes or no, not \"maybe\"", true},
        {MB_YESNO, "*cancel*\nno\n", IDNO, "box:1: the message box takes yes or no, not \"*cancel*\"", false},
        {MB_OKCANCEL, "yes\n*cancel*\n", IDCANCEL, "box:1: the message box takes ok or cancel, not \"yes\"", false},
        {MB_ABORTRETRYIGNORE, "ok\ncancel\n", IDABORT,
         "box:1: the message box takes abort, retry or ignore, not \"ok\"", false},
        {MB_YESNOCANCEL, "ok\nn\n", IDNO, "box:1: the message box takes yes, no or cancel, not \"ok\"", false},
        {MB_RETRYCANCEL, "ignore\nretry\n", IDRETRY,
         "box:1: the message box takes retry or cancel, not \"ignore\"", false},
        {MB_YESNO, "", IDNO, nullptr, false},
        {MB_YESNOCANCEL, "", IDCANCEL, nullptr, false},
        {MB_ABORTRETRYIGNORE, "", IDABORT, nullptr, false},
        {MB_OK, "no\n", IDOK, nullptr, true},
        {0x7, "yes\n", IDCANCEL, nullptr, true},
    };
    host::ScriptedUser& user = host::ScriptedUser::Instance();
    for (const auto& kind : kinds) {
        SCOPED_TRACE("style " + std::to_string(kind.style) + ", lines \"" + kind.lines + "\"");
        user.Clear();
        host::EventLog::Instance().Clear();
        user.Feed(kind.lines, "box");
        EXPECT_EQ(msg_box("继续吗？", "提示", kind.style), kind.answer);
        EXPECT_EQ(user.Failed(), kind.refusal != nullptr);
        EXPECT_TRUE(!kind.refusal || host::EventLog::Instance().Shown(kind.refusal))
            << host::EventLog::Instance().Transcript();
        EXPECT_EQ(user.HasLine(), kind.left);
    }
    user.Clear();
    host::EventLog::Instance().Clear();
}
