#pragma once
// Reading what a user types: numbers, coordinates, handles and keyword lists, the way a CAD
// command line reads them. Every parser is strict: a value with trailing junk is no value.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// ASCII case folding; other bytes (UTF-8 text) are left as they are.
std::string AsciiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// The text split at blanks (spaces and tabs), empty pieces dropped.
std::vector<std::string> SplitBlanks(std::string_view text);

// What follows the first n blank-separated words of the text, without the blanks before it.
std::string_view AfterWords(std::string_view text, std::size_t n);

// A finite decimal number ("12", "-3.5", "1e3"); nothing for anything else.
std::optional<double> ParseNumber(std::string_view text);

// A whole number in the range of int; nothing for anything else.
std::optional<int> ParseInt(std::string_view text);

// A typed coordinate: "x,y" or "x,y,z" (z defaults to 0).
struct Coordinates {
    std::array<double, 3> xyz{};
};

struct CoordinateReading {
    std::optional<Coordinates> value;
    std::string error;  // why the text is no point; empty when it has no comma at all
};

// Reads "x,y[,z]". Text without a comma is no point and no error (it may be a keyword or
// a value); text with commas that does not read as two or three numbers is an error.
CoordinateReading ParseCoordinates(std::string_view text);

// "#N": an entity handle (N >= 1).
std::optional<std::uint64_t> ParseHandle(std::string_view text);

// A keyword list such as "建筑高度(&H)/楼层表(&T)": items split at "/", the letter after
// "&" in parentheses is the item's key. An item without a key ("结束") is matched by its
// whole text only.
class KeywordList {
public:
    KeywordList() = default;
    explicit KeywordList(std::string_view list);

    // The 1-based index of the item the answer names (its key letter or its whole word,
    // ASCII case-insensitive), or 0.
    int Match(std::string_view answer) const;

    bool Empty() const { return m_items.empty(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    const std::string& Source() const { return m_source; }

private:
    struct Item {
        std::string word;  // the item without its "(&K)" marker
        std::string key;   // the key letter, or empty
    };
    std::vector<Item> m_items;
    std::string m_source;
};

}  // namespace host
