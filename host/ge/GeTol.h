#pragma once
// The geometry library's default tolerances, used by == and != on points and vectors.
namespace GeTol {
inline constexpr double kPoint = 1e-10;   // absolute, on each coordinate distance
inline constexpr double kVector = 1e-12;  // on unit-vector components
}  // namespace GeTol
