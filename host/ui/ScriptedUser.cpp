#include "ScriptedUser.h"

#include "EventLog.h"
#include "Utf8Text.h"

namespace host {

namespace {

std::string_view TrimBlanks(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

}  // namespace

ScriptedUser& ScriptedUser::Instance()
{
    static ScriptedUser user;
    return user;
}

void ScriptedUser::Feed(std::string_view text, std::string source)
{
    // Editors may start a UTF-8 file with a byte-order mark; it is no part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    Feed(lines, std::move(source));
}

void ScriptedUser::Feed(const std::vector<std::string>& lines, std::string source)
{
    int number = 0;
    for (const std::string& raw : lines)
        m_lines.push_back({std::string(TrimBlanks(raw)), source, ++number});
}

void ScriptedUser::SetReader(Reader reader, std::string source, bool echo)
{
    m_reader = std::move(reader);
    m_readerSource = std::move(source);
    m_readerLine = 0;
    m_readerEcho = echo;
}

bool ScriptedUser::PullFromReader()
{
    if (!m_reader) return false;
    std::optional<std::string> raw = m_reader();
    if (!raw) {
        m_reader = nullptr;
        return false;
    }
    m_lines.push_back({std::string(TrimBlanks(*raw)), m_readerSource, ++m_readerLine, m_readerEcho});
    return true;
}

void ScriptedUser::SkipComments()
{
    while (m_next < m_lines.size() && !m_lines[m_next].text.empty() && m_lines[m_next].text[0] == ';')
        ++m_next;
}

bool ScriptedUser::HasLine() const
{
    for (std::size_t i = m_next; i < m_lines.size(); ++i)
        if (m_lines[i].text.empty() || m_lines[i].text[0] != ';') return true;
    return static_cast<bool>(m_reader);
}

std::optional<ScriptLine> ScriptedUser::Next()
{
    while (true) {
        SkipComments();
        while (m_next >= m_lines.size()) {
            if (!PullFromReader()) return std::nullopt;
            SkipComments();
        }
        const ScriptLine& line = m_lines[m_next++];
        // Every text the program handles is UTF-8: a line that is not is refused whole, never
        // handed on in pieces or echoed as it is.
        if (!IsValidUtf8(line.text)) {
            Refuse(line, "the line is not UTF-8 text");
            continue;
        }
        m_last = line;
        if (!m_quiet && m_last->echo) EventLog::Instance().Show("> " + m_last->text);
        return m_last;
    }
}

void ScriptedUser::Refuse(const ScriptLine& line, std::string_view why)
{
    ++m_refusals;
    EventLog::Instance().Show(line.source + ":" + std::to_string(line.number) + ": " + std::string(why));
}

void ScriptedUser::Clear()
{
    m_lines.clear();
    m_next = 0;
    m_last.reset();
    m_reader = nullptr;
    m_refusals = 0;
}

}  // namespace host
