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

// Non-finite points among them are never near anything and break neither index.
TEST(NearRepeats, IndexedPassesMarkWhatThePairwiseScanMarks)
{
    std::mt19937 gen(5);
    for (double spread : {0.3, 1.0, 3.0}) {
        for (double reach : {0.9, 1.0, 2.5}) {
            std::vector<Pt> pts = Clustered(gen, 600, spread);
            pts[3] = {std::nan(""), 1.0};
            pts[7] = {INFINITY, -INFINITY};
            const auto near = [&](std::size_t a, std::size_t b) {
                return std::fabs(pts[a].x - pts[b].x) < reach && std::fabs(pts[a].y - pts[b].y) < reach;
            };
            const std::vector<bool> expected = tools::MarkRepeatsPairwise(pts.size(), near);
            const auto point = [&](std::size_t i, double& x, double& y) { x = pts[i].x, y = pts[i].y; };
            const auto probes = [&](std::size_t i, auto add) { add(pts[i].x, pts[i].y); };
            EXPECT_EQ(tools::MarkRepeats(pts.size(), reach, point, probes, near), expected) << spread << " " << reach;
            const auto key = [&](std::size_t i) { return spread < 1.0 ? pts[i].x : pts[i].y; };
            EXPECT_EQ(tools::MarkRepeatsAlong(pts.size(), reach, key, near), expected) << spread << " " << reach;
        }
    }
}

}  // namespace
