#pragma once
// The geometry library's default tolerances.
namespace GeTol {
// Points (2-D and 3-D) are equal under == when their distance is at most this.
inline constexpr double kPoint = 1e-10;
// Vectors are equal under == when every component differs by at most this; it is also
// the default tolerance of Normalize and the parallel test of the intersections.
inline constexpr double kVector = 1e-12;
}  // namespace GeTol
