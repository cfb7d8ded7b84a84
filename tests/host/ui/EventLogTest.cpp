#include <gtest/gtest.h>

#include <sstream>

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

// The latest entries of one channel that the log keeps are the latest made, in order, and at
// least as many as it promises (or all of them).
void ExpectTail(const std::vector<std::string>& kept, std::size_t made, std::size_t promised, const char* what)
{
    ASSERT_GE(kept.size(), std::min(made, promised)) << what;
    ASSERT_LE(kept.size(), made) << what;
    for (std::size_t i = 0; i < kept.size(); ++i)
        ASSERT_EQ(kept[i], what + std::to_string(made - kept.size() + i)) << what;
}

// Long sessions of calls and lines mixed in several shares: at least the latest calls and the
// latest transcript lines are kept, in order; the sink sees every line; the log never holds
// more than twice the kept calls and lines.
TEST(EventLog, ALongSessionKeepsTheLatestCallsAndLines)
{
    host::EventLog& log = host::EventLog::Instance();
    constexpr std::size_t kCalls = host::EventLog::kCallsKept, kLines = host::EventLog::kLinesKept;
    const struct {
        std::size_t calls, lines;
    } kSessions[] = {{5 * kCalls + 3, 0}, {5 * kCalls + 3, 7}, {5 * kCalls + 3, 3 * kLines}, {0, 5 * kLines + 3},
                     {kCalls / 2, 4 * kLines}};
    for (const auto& session : kSessions) {
        SCOPED_TRACE(std::to_string(session.calls) + " calls, " + std::to_string(session.lines) + " lines");
        log.Clear();
        std::size_t echoed = 0;
        log.SetSink([&](std::string_view) { ++echoed; });
        std::size_t calls = 0, lines = 0;
        while (calls < session.calls || lines < session.lines) {
            // Lines spread evenly among the calls.
            if (lines < session.lines && lines * session.calls <= calls * session.lines)
                log.Show("line " + std::to_string(lines++));
            else
                log.Call("call " + std::to_string(calls++));
            ASSERT_LE(log.Entries().size(), 2 * (kCalls + kLines) + 2);
        }
        log.SetSink(nullptr);
        EXPECT_EQ(echoed, session.lines);
        std::vector<std::string> shown;
        std::istringstream transcript(log.Transcript());
        for (std::string line; std::getline(transcript, line);) shown.push_back(line);
        ExpectTail(shown, session.lines, kLines, "line ");
        ExpectTail(log.Calls("call "), session.calls, kCalls, "call ");
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
