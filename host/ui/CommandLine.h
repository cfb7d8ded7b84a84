#pragma once
// The command line: prompts and messages the user reads, and the loop that takes script
// lines as commands and, while a command runs, as the answers to its questions.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>
#include <string>

#include "ScriptedUser.h"

namespace dec {
// Writes one line to the command line. The text is shown as it is, never read as a format.
void PrintPrompt(const char* text);
// Clears the prompt line (recorded; a transcript keeps what was written).
void ClearCmdLinePrompt();
}  // namespace dec

namespace host {

// The answers a script gives to any question besides plain values.
inline constexpr const char* kCancelAnswer = "*cancel*";  // Esc
inline constexpr const char* kEndAnswer = "*end*";        // the question is ended

class CommandLine {
public:
    static CommandLine& Instance();

    // Takes every remaining line as a command. Returns false when a line was not understood
    // (the scripted user's failure flag tells the same).
    bool RunAll();
    // Runs one command line: a command name and, for the host's commands, its arguments.
    bool RunLine(const ScriptLine& line);

    // The next line for a question that waits; nothing when the lines have run out (the
    // question takes that as Esc). Running out is reported once for each command, and once
    // until new lines come outside a command. A placeholder (the host's line for a question
    // without a prompt) is shown last before the answer, below what is highlighted.
    std::optional<ScriptLine> NextAnswer(const char* placeholder = nullptr);

    // The command that runs, or empty.
    const std::string& Current() const { return m_current; }

    // A line the module printed. Whether the last one the running command printed reads as a
    // prompt: the command line shows it while a question waits, until the next line printed.
    void NotePrinted(std::string_view line);
    bool PromptShown() const { return m_promptShown; }

private:
    // Shows the drawing's visible selection when it changed since it was last shown, so a
    // reader of the transcript sees what a user would see highlighted while answering.
    void ShowHighlight();

    std::string m_current;
    bool m_ranOutReported = false;
    bool m_promptShown = false;
    std::vector<std::uint64_t> m_shownHighlight;
};

// In-process runs with the script vocabulary of quenra3d (tests drive commands this way).
// RunScript queues the text and runs its lines as commands and answers until they run out;
// true when every line was understood. QueueAnswers only queues lines, for the questions of
// a call the test makes itself.
bool RunScript(std::string_view text, std::string source = "script");
void QueueAnswers(std::string_view text, std::string source = "answers");

}  // namespace host
