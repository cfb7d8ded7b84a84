#pragma once
// The one checked conversion by which a typed or computed value reaches a stored member or a
// narrower type. A value that is not finite, or that the member cannot hold, is refused
// (nullopt) instead of being stored as an infinity, wrapped, or converted with undefined
// behaviour; the caller refuses it through its own path (the panel keeps the old value, a
// setter returns its failure code, a command prints its message and makes nothing).
// Property tables keep their own ranges on top of this.
#include "Ge.h"

#include <cmath>
#include <concepts>
#include <limits>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>

// The value as a T when T can hold it: finite, and within T's range. A float keeps the
// nearest float; an integer keeps the integer part (round first where whole units are
// meant), as a cast would where the cast is defined.
template <class T, class From>
    requires std::is_arithmetic_v<T> && std::is_arithmetic_v<From>
std::optional<T> StoredAs(From value)
{
    if constexpr (std::floating_point<From>) {
        if (!std::isfinite(value))
            return std::nullopt;
        if constexpr (std::floating_point<T>) {
            if (std::fabs(value) > static_cast<From>(std::numeric_limits<T>::max()))
                return std::nullopt;
        } else {
            // Bounds as doubles: the integer part must lie strictly inside (min - 1, max + 1).
            const long double whole = std::trunc(static_cast<long double>(value));
            if (whole < static_cast<long double>(std::numeric_limits<T>::min()) ||
                whole > static_cast<long double>(std::numeric_limits<T>::max()))
                return std::nullopt;
        }
        return static_cast<T>(value);
    } else if constexpr (std::floating_point<T>) {
        return static_cast<T>(value);
    } else {
        if (!std::in_range<T>(value))
            return std::nullopt;
        return static_cast<T>(value);
    }
}

// The ints v for which v - base is an int too: what an elevation typed over a base elevation
// may be when the command keeps it relative to that base in an int.
struct IntRange {
    int low, high;
};
inline IntRange IntsOverBase(int base)
{
    constexpr int kLowest = std::numeric_limits<int>::min(), kHighest = std::numeric_limits<int>::max();
    return {base > 0 ? kLowest + base : kLowest, base < 0 ? kHighest + base : kHighest};
}

// Whether a computed point can be stored and drawn: every coordinate finite.
inline bool IsFinite(const GePoint3d& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

inline bool AllFinite(std::span<const GePoint3d> points)
{
    for (const GePoint3d& p : points)
        if (!IsFinite(p))
            return false;
    return true;
}

inline bool IsFinite(const GeVector3d& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Whether every one of several computed or typed scalars is finite.
inline bool AllFinite(std::span<const double> values)
{
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}
