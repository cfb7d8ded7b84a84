#pragma once
// Integers read from what a user typed or picked, without undefined conversions: a text or
// a length beyond the range of int gives the nearest int.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace IntegerInput {

inline int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// The number at the start of the text as atoi reads it (blanks, a sign, digits).
inline int ReadInt(const char* text)
{
    return text ? ClampToInt(std::strtoll(text, nullptr, 10)) : 0;
}

// The integer part of the value; NaN gives 0.
inline int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace IntegerInput
