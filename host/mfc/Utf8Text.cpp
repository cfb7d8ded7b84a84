#include "Utf8Text.h"

#include <cstring>

namespace host {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the character that starts with lead byte c, or 0 when c cannot start one.
std::size_t SequenceLength(unsigned char c)
{
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

}  // namespace

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) return text.size();
    std::size_t n = maxBytes;
    while (n > 0 && IsContinuation(static_cast<unsigned char>(text[n]))) --n;
    return n;
}

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t len = SequenceLength(lead);
        if (len == 0 || i + len > text.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if (!IsContinuation(static_cast<unsigned char>(text[i + k]))) return false;
        if (len >= 3) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            if (lead == 0xE0 && second < 0xA0) return false;  // overlong
            if (lead == 0xED && second > 0x9F) return false;  // surrogate
            if (lead == 0xF0 && second < 0x90) return false;  // overlong
            if (lead == 0xF4 && second > 0x8F) return false;  // beyond U+10FFFF
        }
        i += len;
    }
    return true;
}

}  // namespace host

char* zo_strncpy(char* dst, const char* src, int maxChars)
{
    if (!dst) return dst;
    if (!src || maxChars <= 0) {
        if (maxChars >= 0) dst[0] = '\0';
        return dst;
    }
    const std::string_view text(src, strnlen(src, static_cast<std::size_t>(maxChars) + 4));
    const std::size_t n = host::Utf8PrefixLength(text, static_cast<std::size_t>(maxChars));
    std::memcpy(dst, src, n);
    dst[n] = '\0';
    return dst;
}
