#include "TextParse.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace host {

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

std::vector<std::string> SplitBlanks(std::string_view text)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) out.emplace_back(text.substr(start, i - start));
    }
    return out;
}

std::string_view AfterWords(std::string_view text, std::size_t n)
{
    const auto skipBlanks = [&text] {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    };
    skipBlanks();
    for (std::size_t i = 0; i < n; ++i) {
        while (!text.empty() && text.front() != ' ' && text.front() != '\t') text.remove_prefix(1);
        skipBlanks();
    }
    return text;
}

std::optional<double> ParseNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ParseInt(std::string_view text)
{
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

CoordinateReading ParseCoordinates(std::string_view text)
{
    CoordinateReading reading;
    if (text.find(',') == std::string_view::npos) return reading;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (parts.size() > 3) {
        reading.error = "a point has two or three coordinates, \"" + std::string(text) + "\" has " +
                        std::to_string(parts.size());
        return reading;
    }
    Coordinates c;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string_view part = parts[i];
        while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        const auto value = ParseNumber(part);
        if (!value) {
            reading.error = "\"" + std::string(part) + "\" in \"" + std::string(text) + "\" is not a number";
            return reading;
        }
        c.xyz[i] = *value;
    }
    reading.value = c;
    return reading;
}

std::optional<std::uint64_t> ParseHandle(std::string_view text)
{
    if (text.size() < 2 || text.front() != '#') return std::nullopt;
    text.remove_prefix(1);
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
    return value;
}

KeywordList::KeywordList(std::string_view list) : m_source(list)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t slash = list.find('/', start);
        if (slash == std::string_view::npos) slash = list.size();
        std::string_view raw = list.substr(start, slash - start);
        start = slash + 1;
        if (raw.empty()) continue;
        Item item;
        const std::size_t marker = raw.find("(&");
        const std::size_t close = marker == std::string_view::npos ? marker : raw.find(')', marker);
        if (close != std::string_view::npos) {
            item.key = std::string(raw.substr(marker + 2, close - marker - 2));
            item.word = std::string(raw.substr(0, marker)) + std::string(raw.substr(close + 1));
        } else {
            item.word = std::string(raw);
        }
        m_items.push_back(std::move(item));
    }
}

int KeywordList::Match(std::string_view answer) const
{
    if (answer.empty()) return 0;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if ((!item.key.empty() && EqualsNoCase(answer, item.key)) || EqualsNoCase(answer, item.word))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

}  // namespace host
