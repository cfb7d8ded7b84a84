#pragma once
// Numbers typed by the user, read the way the commands' texts are read (atoi), without the
// undefined behaviour atoi has for a number too large for an int.
#include <algorithm>
#include <climits>
#include <cstdlib>

// The integer at the start of the text (leading blanks, an optional sign, digits); 0 when
// there is none; a number beyond the int's range is held at its limit.
inline int ReadLeadingInt(const char* text)
{
    return static_cast<int>(std::clamp<long>(std::strtol(text, nullptr, 10), INT_MIN, INT_MAX));
}
