#include "EventLog.h"

namespace host {

EventLog& EventLog::Instance()
{
    static EventLog log;
    return log;
}

void EventLog::Show(std::string_view text)
{
    m_entries.push_back({Channel::Transcript, std::string(text)});
    if (m_sink) m_sink(text);
}

void EventLog::Call(std::string_view text)
{
    m_entries.push_back({Channel::Call, std::string(text)});
    // Dropping only once the calls are at least half the entries keeps each call's share of
    // the work constant however long the transcript is.
    if (++m_calls > 2 * kCallsKept && 2 * m_calls > m_entries.size()) DropOldCalls();
}

void EventLog::DropOldCalls()
{
    std::size_t drop = m_calls - kCallsKept;
    std::erase_if(m_entries, [&drop](const LogEntry& e) {
        if (drop == 0 || e.channel != Channel::Call) return false;
        --drop;
        return true;
    });
    m_calls = kCallsKept;
}

std::string EventLog::Transcript() const
{
    std::string out;
    for (const LogEntry& e : m_entries) {
        if (e.channel != Channel::Transcript) continue;
        out += e.text;
        out += '\n';
    }
    return out;
}

std::vector<std::string> EventLog::Calls(std::string_view prefix) const
{
    std::vector<std::string> out;
    for (const LogEntry& e : m_entries)
        if (e.channel == Channel::Call && std::string_view(e.text).substr(0, prefix.size()) == prefix)
            out.push_back(e.text);
    return out;
}

bool EventLog::Shown(std::string_view text) const
{
    for (const LogEntry& e : m_entries)
        if (e.channel == Channel::Transcript && e.text.find(text) != std::string::npos) return true;
    return false;
}

void EventLog::Clear()
{
    m_entries.clear();
    m_calls = 0;
}

}  // namespace host
