#pragma once
// Where a plan point lies against a closed plan polygon, within tol per axis, for the
// toolkit's double-precision and single-precision entries alike. All arithmetic is done in
// the coordinate type T, so each entry keeps its own precision.
//   100 at a vertex, 10 on a vertical edge, 20 on a horizontal edge, 30 on a sloped edge,
//   1 inside, 0 outside (also for no vertices).
// Vertices are tested first, then the edges in order; the first match decides.
#include <cmath>
#include <utility>

namespace tools {

// A polygon corner in the coordinate type of the caller.
template <typename T>
struct PlanCorner {
    T x;
    T y;
};

// corner(i) gives vertex i of the n vertices, i in [0, n).
template <typename T, typename Corner>
int PlanRegionRelation(T px, T py, int n, Corner corner, T tol)
{
    for (int i = 0; i < n; ++i) {
        const PlanCorner<T> v = corner(i);
        if (std::abs(v.x - px) <= tol && std::abs(v.y - py) <= tol)
            return 100;
    }

    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        PlanCorner<T> a = corner(i);
        PlanCorner<T> b = corner(i + 1 == n ? 0 : i + 1);
        // The ends ordered by x; vertex i first when the x are equal.
        if (b.x < a.x)
            std::swap(a, b);
        const T dx = b.x - a.x;
        if (dx <= tol) {
            // A vertical edge: on it strictly between its ends; it never counts as a crossing.
            const bool between = (a.y < py && py < b.y) || (b.y < py && py < a.y);
            if (std::abs(a.x - px) <= tol && between)
                return 10;
            continue;
        }
        const T dy = std::abs(a.y - b.y);
        if (dy <= tol && std::abs(a.y - py) <= tol) {
            if (a.x < px && px < b.x)
                return 20;
            continue;
        }
        const T k = (b.y - a.y) / dx;
        const T c = a.y - k * a.x;
        // On the edge's line, measured vertically.
        if (std::abs((py - k * px) - c) <= tol) {
            if (a.x < px && px < b.x)
                return 30;
            continue;
        }
        // Crossings of the upward ray from the point; the interval is half-open and
        // shifted by tol, so a vertex shared by two edges counts once.
        const bool within = a.x + tol < px && px < b.x + tol;
        const T height = dy <= tol ? a.y : k * px + c;
        if (within && py < height)
            ++crossings;
    }
    return crossings % 2 == 1 ? 1 : 0;
}

}  // namespace tools
