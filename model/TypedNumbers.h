#pragma once
// Numbers typed by the user, read the way the commands' texts are read (atoi), without the
// undefined behaviour atoi has for a number too large for an int; and the ints the commands
// make of lengths picked in the drawing and of sums of typed numbers, held the same way.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

// The integer at the start of the text (leading blanks, an optional sign, digits); 0 when
// there is none; a number beyond the int's range is held at its limit.
inline int ReadLeadingInt(const char* text)
{
    return static_cast<int>(std::clamp<long>(std::strtol(text, nullptr, 10), INT_MIN, INT_MAX));
}

// The value held at the int's range.
inline int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// The integer part of the value, held at the int's range; NaN gives 0.
inline int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}
