#pragma once
// The command `eelev` ("修改底标高"): moves selected 3-D objects straight up or down so that the
// origin of each object's frame lies at a typed base elevation in millimetres.

// The lowest and highest base elevation the command takes (millimetres, both accepted).
inline constexpr double kMinBaseElevation = -100000.0;
inline constexpr double kMaxBaseElevation = 10000000.0;

// A base elevation (millimetres) within those limits; NaN is not. The building command, the
// floor table and the floor lines take base elevations within the same limits, so no building
// or line starts where millimetres are no longer exact (the tallest building then tops out at
// 20 km).
inline bool IsReasonableBaseElevation(double millimetres)
{
    return millimetres >= kMinBaseElevation && millimetres <= kMaxBaseElevation;
}
