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
}

}  // namespace host
