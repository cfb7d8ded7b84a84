// The indexed repeat passes of the toolkit give exactly the marks of a pairwise scan, on
// clustered random points where chains of near points make the answer depend on order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "NearRepeats.h"

namespace {

struct Pt {
    double x, y;
};

std::vector<Pt> Clustered(std::mt19937& gen, std::size_t n, double spread)
{
    std::uniform_real_distribution<double> centre(-5000, 5000), jitter(-spread, spread);
    std::vector<Pt> pts;
    while (pts.size() < n) {
        const Pt c{centre(gen), centre(gen)};
        for (int k = 0; k < 6 && pts.size() < n; ++k)
            pts.push_back({c.x + jitter(gen), c.y + jitter(gen)});
    }
    std::shuffle(pts.begin(), pts.end(), gen);
    return pts;
}

TEST(NearRepeats, IndexedPassesMarkWhatThePairwiseScanMarks)
{
    std::mt19937 gen(5);
    for (double spread : {0.3, 1.0, 3.0}) {
        for (double reach : {0.9, 1.0, 2.5}) {
            const std::vector<Pt> pts = Clustered(gen, 600, spread);
            const auto near = [&](std::size_t a, std::size_t b) {
                return std::fabs(pts[a].x - pts[b].x) < reach && std::fabs(pts[a].y - pts[b].y) < reach;
            };
            const std::vector<bool> expected = tools::MarkRepeatsPairwise(pts.size(), near);
            const auto point = [&](std::size_t i, double& x, double& y) { x = pts[i].x, y = pts[i].y; };
            const auto probes = [&](std::size_t i, auto add) { add(pts[i].x, pts[i].y); };
            EXPECT_EQ(tools::MarkRepeats(pts.size(), reach, point, probes, near), expected) << spread << " " << reach;
            const auto key = [&](std::size_t i) { return pts[i].y; };
            EXPECT_EQ(tools::MarkRepeatsAlong(pts.size(), reach, key, near), expected) << spread << " " << reach;
        }
    }
    // Non-finite points are never near anything and break neither index.
    std::vector<Pt> odd = Clustered(gen, 100, 0.5);
    odd[3] = {std::nan(""), 1.0};
    odd[7] = {INFINITY, -INFINITY};
    const auto near = [&](std::size_t a, std::size_t b) {
        return std::fabs(odd[a].x - odd[b].x) < 1.0 && std::fabs(odd[a].y - odd[b].y) < 1.0;
    };
    const auto point = [&](std::size_t i, double& x, double& y) { x = odd[i].x, y = odd[i].y; };
    const auto probes = [&](std::size_t i, auto add) { add(odd[i].x, odd[i].y); };
    EXPECT_EQ(tools::MarkRepeats(odd.size(), 1.0, point, probes, near), tools::MarkRepeatsPairwise(odd.size(), near));
    EXPECT_EQ(tools::MarkRepeatsAlong(odd.size(), 1.0, [&](std::size_t i) { return odd[i].x; }, near),
              tools::MarkRepeatsPairwise(odd.size(), near));
}

}  // namespace
