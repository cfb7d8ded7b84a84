#pragma once
// Byte limits on UTF-8 text: a cut never splits a character.
#include <cstddef>
#include <string_view>

namespace host {

// The longest prefix of text that is at most maxBytes long and ends on a character boundary.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);

// Whether the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace host

// The host's bounded copy: copies at most maxChars bytes of src to dst, cut on a character
// boundary, and always ends dst with a NUL (dst must hold maxChars + 1 bytes). A null src
// copies nothing. Returns dst.
char* zo_strncpy(char* dst, const char* src, int maxChars);
