#pragma once
// The toolkit's "drop what repeats an earlier item" passes, fast on long lists. Item q is
// marked when an earlier unmarked item p is near it, so the first of every group stays and
// the answer depends on the order exactly as a pairwise scan's does. Short lists are
// compared pair by pair; longer ones search only the candidates an index gives them, and
// get the same marks.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <vector>

#include "PointGrid.h"

namespace tools {

inline constexpr std::size_t kPairwiseScanLimit = 48;

template <typename Near>
std::vector<bool> MarkRepeatsPairwise(std::size_t n, Near near)
{
    std::vector<bool> marked(n, false);
    for (std::size_t q = 1; q < n; ++q)
        for (std::size_t p = 0; p < q && !marked[q]; ++p)
            if (!marked[p] && near(p, q))
                marked[q] = true;
    return marked;
}

// Items spread over the plane. point(i, x, y) gives the plan point by which item i is
// indexed; probes(q, add) calls add(x, y) for every plan point around which q's partners
// must be sought; near(p, q) must imply that point(p) lies within `reach` on both axes of
// one of q's probes.
template <typename Point, typename Probes, typename Near>
std::vector<bool> MarkRepeats(std::size_t n, double reach, Point point, Probes probes, Near near)
{
    if (n <= kPairwiseScanLimit)
        return MarkRepeatsPairwise(n, near);
    std::vector<double> xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i)
        point(i, xs[i], ys[i]);
    const PointGrid grid(xs, ys, reach);
    std::vector<bool> marked(n, false);
    // Successive items often probe the same point (the pieces of one segment share their
    // ends): the cells found for the last probe serve again.
    double lastX = std::nan(""), lastY = std::nan("");
    PointGrid::Neighbourhood around;
    for (std::size_t q = 0; q < n; ++q) {
        bool repeat = false;
        probes(q, [&](double x, double y) {
            if (repeat)
                return;
            if (!(x == lastX && y == lastY)) {
                around = grid.Around(x, y);
                lastX = x;
                lastY = y;
            }
            grid.ForEach(around, [&](std::size_t p) {
                repeat = p < q && !marked[p] && near(p, q);
                return !repeat;
            });
        });
        marked[q] = repeat;
    }
    return marked;
}

// Items that lie along one line, such as the cut points of one segment: key(i) is a
// coordinate along which they spread, and near(p, q) must imply that their keys differ by
// less than `reach`. Each item looks only at the items whose keys lie within the reach.
template <typename Key, typename Near>
std::vector<bool> MarkRepeatsAlong(std::size_t n, double reach, Key key, Near near)
{
    if (n <= kPairwiseScanLimit)
        return MarkRepeatsPairwise(n, near);
    std::vector<double> keys(n);
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = key(i);
    // Non-finite keys are never near anything; they go last.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const bool fa = std::isfinite(keys[a]), fb = std::isfinite(keys[b]);
        return fa != fb ? fa : fa && keys[a] < keys[b];
    });
    std::vector<std::size_t> rank(n);
    for (std::size_t k = 0; k < n; ++k)
        rank[order[k]] = k;

    std::vector<bool> marked(n, false);
    for (std::size_t q = 0; q < n; ++q) {
        const auto repeats = [&](std::size_t p) { return p < q && !marked[p] && near(p, q); };
        bool repeat = false;
        for (std::size_t k = rank[q]; k-- > 0 && !repeat && keys[q] - keys[order[k]] < reach;)
            repeat = repeats(order[k]);
        for (std::size_t k = rank[q] + 1; k < n && !repeat && keys[order[k]] - keys[q] < reach; ++k)
            repeat = repeats(order[k]);
        marked[q] = repeat;
    }
    return marked;
}

}  // namespace tools
