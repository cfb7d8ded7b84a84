#pragma once
// The scripted user: the queue of lines (from a script file, standard input or a test) that
// answer every question the host asks: commands, prompts, dialogs, message boxes.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct ScriptLine {
    std::string text;    // trimmed of blanks around it
    std::string source;  // script name, "-" for standard input, or a test's label
    int number = 0;      // 1-based line number in its source
    bool echo = true;    // shown on the transcript when read (unless the user is quiet)
};

class ScriptedUser {
public:
    static ScriptedUser& Instance();

    // Appends the lines of a text (split at new lines; a CR before a new line is dropped).
    void Feed(std::string_view text, std::string source);
    void Feed(const std::vector<std::string>& lines, std::string source);
    // A source read one line at a time when the queued lines have run out (standard input,
    // so that a person sees each prompt before typing the answer). It gives nothing at its end.
    // Lines a person types on a terminal are on the screen already: echo false leaves them out
    // of the transcript.
    using Reader = std::function<std::optional<std::string>()>;
    void SetReader(Reader reader, std::string source, bool echo = true);

    // The next line that is not a comment (first non-blank character ';'), echoed to the
    // transcript unless quiet; nothing when the lines have run out (the caller takes that as Esc).
    std::optional<ScriptLine> Next();
    bool HasLine() const;
    // The line Next gave last, if any.
    const ScriptLine* LastLine() const { return m_last ? &*m_last : nullptr; }

    // Reports a line that was not understood, naming its source and number; the run then
    // counts as failed.
    void Refuse(const ScriptLine& line, std::string_view why);
    bool Failed() const { return m_refusals > 0; }
    int Refusals() const { return m_refusals; }

    void SetQuiet(bool quiet) { m_quiet = quiet; }
    void Clear();

private:
    void SkipComments();
    bool PullFromReader();

    std::vector<ScriptLine> m_lines;
    std::size_t m_next = 0;
    std::optional<ScriptLine> m_last;
    Reader m_reader;
    std::string m_readerSource;
    int m_readerLine = 0;
    bool m_readerEcho = true;
    bool m_quiet = false;
    int m_refusals = 0;
};

}  // namespace host
