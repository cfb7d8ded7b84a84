#include "EventLog.h"

namespace host {

EventLog& EventLog::Instance()
{
    static EventLog log;
    return log;
}

void EventLog::Show(std::string_view text)
{
    Keep(Channel::Transcript, text);
    if (m_sink) m_sink(text);
}

void EventLog::Call(std::string_view text)
{
    Keep(Channel::Call, text);
}

void EventLog::Keep(Channel channel, std::string_view text)
{
    m_entries.push_back({channel, std::string(text)});
    std::size_t& count = m_counts[static_cast<int>(channel)];
    const std::size_t kept = channel == Channel::Call ? kCallsKept : kLinesKept;
    if (++count <= 2 * kept || 2 * count <= m_entries.size()) return;
    std::size_t drop = count - kept;
    std::erase_if(m_entries, [&](const LogEntry& e) {
        if (drop == 0 || e.channel != channel) return false;
        --drop;
        return true;
    });
    count = kept;
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
    m_counts[0] = m_counts[1] = 0;
}

}  // namespace host
