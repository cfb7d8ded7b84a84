#pragma once
// The host's event log: the one place where the host records what a user would see
// (prompts, messages, message boxes, dialogs) and, apart from that, the flag words and
// other values the module passes to host calls, so tests can assert them.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

enum class Channel {
    Transcript,  // shown to the user
    Call,        // recorded only: host calls and the values passed to them
};

struct LogEntry {
    Channel channel;
    std::string text;
};

class EventLog {
public:
    static EventLog& Instance();

    // A line the user sees. It is handed to the echo sink, if any, and kept in the tail of the
    // transcript: only the most recent kLinesKept lines are sure to be kept (older ones are
    // dropped in batches), so a long session does not hold all it has shown. Whoever needs
    // every line reads them through the sink.
    void Show(std::string_view text);
    // A host call and its arguments, recorded for tests but never shown. Only the most
    // recent kCallsKept calls are sure to be kept, in the same way: a long session draws
    // millions of times.
    void Call(std::string_view text);
    static constexpr std::size_t kCallsKept = 50000;
    static constexpr std::size_t kLinesKept = 50000;

    const std::vector<LogEntry>& Entries() const { return m_entries; }
    // The kept transcript lines, each ended by a new line.
    std::string Transcript() const;
    // Every kept call entry that begins with the given prefix.
    std::vector<std::string> Calls(std::string_view prefix = {}) const;
    // Whether any kept transcript line contains the text.
    bool Shown(std::string_view text) const;

    void Clear();

    using Sink = std::function<void(std::string_view)>;
    // Where transcript lines go as they are written (the executable prints them); none by default.
    void SetSink(Sink sink) { m_sink = std::move(sink); }

private:
    // Keeps an entry of the channel; drops the oldest of the channel's entries beyond the
    // kept ones once they are more than twice as many and at least half of all entries, so
    // each entry's share of the work stays constant however the two channels mix.
    void Keep(Channel channel, std::string_view text);

    std::vector<LogEntry> m_entries;
    std::size_t m_counts[2] = {0, 0};
    Sink m_sink;
};

}  // namespace host
