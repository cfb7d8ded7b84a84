#pragma once
// Literals shared by every kernel routine: the kernel's own spellings of pi, the codes of
// point-against-polygon tests, the drop flag, the slope and no-intersection sentinels and
// the loop codes. The values are exact; the engines compare against them literally.

namespace kernel {

// The kernel's spellings of pi (double literals, deliberately short).
inline constexpr double kPi = 3.1415926;
inline constexpr double kTwoPi = 6.2831852;
inline constexpr double kHalfPi = 1.5707963;
inline constexpr double kThreeHalfPi = 4.7123889;

// Point against polygon.
inline constexpr int kPointOnVertex = 100;
inline constexpr int kPointOnVerticalEdge = 10;
inline constexpr int kPointOnHorizontalEdge = 20;
inline constexpr int kPointOnEdge = 30;
inline constexpr int kPointInside = 1;
inline constexpr int kPointOutside = 0;

// An entry of a point or segment list that the next compaction drops.
inline constexpr int kDuplicateFlag = 111;

// Double sentinels: no intersection point (both coordinates), vertical and horizontal slope.
inline constexpr double kNoIntersection = 111.0;
inline constexpr double kVerticalSlope = 555.0;
inline constexpr double kHorizontalSlope = 666.0;

// Loop codes.
inline constexpr int kOpenLoopCode = 1001;
inline constexpr int kClosedLoopCode = 10001;
inline constexpr int kEaveLoopCode = 10002;
inline constexpr int kRemovedLoopCode = 11111;

}  // namespace kernel
