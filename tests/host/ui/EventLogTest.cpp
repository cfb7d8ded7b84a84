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

#include <cctype>
#include <iterator>
#include <map>

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

// Every kind of box takes exactly its own buttons' words and names only those when it refuses
// a line.
TEST(MessageBox, EachKindTakesItsOwnButtonsAndNamesThemWhenItRefuses)
{
    const struct {
        unsigned int style;
        const char* names;
        std::map<std::string, int> answers;
    } kinds[] = {
        {MB_OKCANCEL, "ok or cancel", {{"ok", IDOK}, {"cancel", IDCANCEL}, {"*cancel*", IDCANCEL}}},
        {MB_ABORTRETRYIGNORE, "abort, retry or ignore",
         {{"abort", IDABORT}, {"retry", IDRETRY}, {"ignore", IDIGNORE}, {"cancel", IDABORT}, {"*cancel*", IDABORT}}},
        {MB_YESNOCANCEL, "yes, no or cancel",
         {{"yes", IDYES}, {"y", IDYES}, {"no", IDNO}, {"n", IDNO}, {"cancel", IDCANCEL}, {"*cancel*", IDCANCEL}}},
        {MB_YESNO | MB_ICONQUESTION, "yes or no", {{"yes", IDYES}, {"y", IDYES}, {"no", IDNO}, {"n", IDNO}}},
        {MB_RETRYCANCEL, "retry or cancel", {{"retry", IDRETRY}, {"cancel", IDCANCEL}, {"*cancel*", IDCANCEL}}},
    };
    const char* const words[] = {"yes", "y", "no", "n", "ok", "cancel", "*cancel*", "abort", "retry", "ignore", "maybe"};
    host::ScriptedUser& user = host::ScriptedUser::Instance();
    for (const auto& kind : kinds) {
        for (const char* word : words) {
            SCOPED_TRACE(std::string(kind.names) + " answered " + word);
            user.Clear();
            host::EventLog::Instance().Clear();
            // Upper case is the same word; a refused line is followed by the box's last button.
            std::string typed = word;
            for (char& c : typed) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            const std::string last = std::prev(kind.answers.end())->first;
            user.Feed(typed + "\n" + last + "\n", "box");
            const int answer = msg_box("继续吗？", "提示", kind.style);
            const auto taken = kind.answers.find(word);
            if (taken != kind.answers.end()) {
                EXPECT_EQ(answer, taken->second);
                EXPECT_FALSE(user.Failed());
            } else {
                EXPECT_EQ(answer, kind.answers.at(last));
                EXPECT_TRUE(host::EventLog::Instance().Shown(std::string("box:1: the message box takes ") + kind.names +
                                                             ", not \"" + typed + "\""));
            }
        }
    }
    // A button set the host does not know takes no line.
    user.Clear();
    user.Feed("yes\n", "box");
    EXPECT_EQ(msg_box("继续吗？", "提示", 0x7), IDCANCEL);
    EXPECT_TRUE(user.HasLine()) << "the line is left for what follows";
    user.Clear();
    host::EventLog::Instance().Clear();
}
