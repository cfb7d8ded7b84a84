#include "ScriptedUser.h"

#include "EventLog.h"

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

void ScriptedUser::SkipComments()
{
    while (m_next < m_lines.size() && !m_lines[m_next].text.empty() && m_lines[m_next].text[0] == ';')
        ++m_next;
}

bool ScriptedUser::HasLine() const
{
    for (std::size_t i = m_next; i < m_lines.size(); ++i)
        if (m_lines[i].text.empty() || m_lines[i].text[0] != ';') return true;
    return false;
}

std::optional<ScriptLine> ScriptedUser::Next()
{
    SkipComments();
    if (m_next >= m_lines.size()) return std::nullopt;
    const ScriptLine& line = m_lines[m_next++];
    if (!m_quiet) EventLog::Instance().Show("> " + line.text);
    return line;
}

void ScriptedUser::Refuse(const ScriptLine& line, std::string_view why)
{
    m_failed = true;
    EventLog::Instance().Show(line.source + ":" + std::to_string(line.number) + ": " + std::string(why));
}

void ScriptedUser::Clear()
{
    m_lines.clear();
    m_next = 0;
    m_failed = false;
}

}  // namespace host
