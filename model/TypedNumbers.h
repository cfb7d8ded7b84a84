#pragma once
// Numbers typed by the user, and the ints the commands make of lengths picked in the drawing
// and of sums of typed numbers. Every typed number goes through TypedNumber: a typo such as
// "18。5" (the full-width period of a Chinese input method), "18x5" or "1 8" is no number, so
// the question or field that asked refuses it and asks again instead of taking 18.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "CString.h"
#include "CheckedNumbers.h"

// The number a typed text gives when the whole of it reads as one: blanks around it are
// trimmed, strtod must read every other character, and the value must be finite. Signs,
// decimals and exponents ("+5", "-.5", "1e3") are taken as atof takes them; "18x5", "１８",
// "1 8", "abc", "nan", "-inf" and the empty text give nothing.
inline std::optional<double> TypedNumber(CString text)
{
    text.Trim();
    if (text.IsEmpty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.GetString(), &end);
    if (end != text.GetString() + text.GetLength() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A typed number for a field that holds an int (a count, a length in whole millimetres): the
// whole text read as TypedNumber reads it, then its integer part, as atoi took "3.5" as 3;
// nothing when the text is no number or the int cannot hold it.
inline std::optional<int> TypedInt(const CString& text)
{
    const std::optional<double> number = TypedNumber(text);
    return number ? StoredAs<int>(*number) : std::nullopt;
}

// A typed number for a field stored as a float (a slope, a length): nothing also when no
// float holds it.
inline std::optional<float> TypedFloat(const CString& text)
{
    const std::optional<double> number = TypedNumber(text);
    return number ? StoredAs<float>(*number) : std::nullopt;
}

// The integer at the start of a text the module or an old drawing wrote (an identifier's
// parts, a remembered field), read as atoi reads it: leading blanks, an optional sign, digits;
// 0 when there is none; a number beyond the int's range is held at its limit. Typed text is
// read with TypedNumber or TypedInt instead.
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
