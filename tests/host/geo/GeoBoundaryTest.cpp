#include "GeoBoundary.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Routine = int (*)(double, double*, double*, double*, int*);

struct Ring {
    std::vector<double> x{0.0}, y{0.0}, z{0.0};  // element 0 unused, as the callers pass them
    int n = 0;

    explicit Ring(const std::vector<std::pair<double, double>>& points)
    {
        for (auto [px, py] : points) {
            x.push_back(px);
            y.push_back(py);
            z.push_back(0.0);
        }
        n = static_cast<int>(points.size());
    }

    int Run(Routine routine, double tol = 1.0) { return routine(tol, x.data(), y.data(), z.data(), &n); }

    std::vector<std::pair<double, double>> Points() const
    {
        std::vector<std::pair<double, double>> out;
        for (int i = 1; i <= n; ++i) out.emplace_back(x[i], y[i]);
        return out;
    }
};

using Points = std::vector<std::pair<double, double>>;

struct Case {
    const char* what;
    Routine routine;
    double tol;
    Points ring, expected;
};

constexpr Routine kClose = geozhenglimianbianjiezcx;
constexpr Routine kMidEdge = geojiandianzhenglimianbianjiezcx;
const Points kSquare{{0, 0}, {10000, 0}, {10000, 8000}, {0, 8000}};
const Points kEll{{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}};  // a reflex corner

const Case kCases[] = {
    {"clean square, close points", kClose, 1.0, kSquare, kSquare},
    {"clean square, mid-edge", kMidEdge, 1.0, kSquare, kSquare},
    {"clean L, close points", kClose, 1.0, kEll, kEll},
    {"clean L, mid-edge", kMidEdge, 1.0, kEll, kEll},
    // The first of each cluster stays at its exact place; the repeated first point at the end goes.
    {"duplicates", kClose, 1.0, {{0, 0}, {0.4, 0.3}, {100, 0}, {100, 100}, {100.5, 100}, {0, 100}, {0.2, 0.1}},
     {{0, 0}, {100, 0}, {100, 100}, {0, 100}}},
    {"farther than the tolerance", kClose, 1.0, {{0, 0}, {1.5, 0}, {100, 0}, {100, 100}},
     {{0, 0}, {1.5, 0}, {100, 0}, {100, 100}}},
    {"within a wider tolerance", kClose, 2.0, {{0, 0}, {1.5, 0}, {100, 0}, {100, 100}}, {{0, 0}, {100, 0}, {100, 100}}},
    // (50, 0.5) lies half a unit off the bottom edge, (100, 40) and (100, 70) on the right edge.
    {"mid-edge vertices", kMidEdge, 1.0, {{0, 0}, {50, 0.5}, {100, 0}, {100, 40}, {100, 70}, {100, 100}, {0, 100}},
     {{0, 0}, {100, 0}, {100, 100}, {0, 100}}},
    {"a real corner at tolerance 1", kMidEdge, 1.0, {{0, 0}, {50, 5}, {100, 0}, {100, 100}, {0, 100}},
     {{0, 0}, {50, 5}, {100, 0}, {100, 100}, {0, 100}}},
    {"a spike, not between its neighbours", kMidEdge, 1.0, {{0, 0}, {100, 0}, {100, 100}, {100, 50}, {0, 100}},
     {{0, 0}, {100, 0}, {100, 100}, {100, 50}, {0, 100}}},
    // Rings that would fall below three points are left alone.
    {"tiny triangle", kClose, 1.0, {{0, 0}, {0.1, 0}, {0.2, 0}}, {{0, 0}, {0.1, 0}, {0.2, 0}}},
    {"one cluster", kClose, 1.0, {{0, 0}, {0.1, 0}, {0.2, 0.1}, {0.3, 0}}, {{0, 0}, {0.1, 0}, {0.2, 0.1}, {0.3, 0}}},
    {"a line", kMidEdge, 1.0, {{0, 0}, {10, 0}, {20, 0}, {30, 0}}, {{0, 0}, {10, 0}, {20, 0}, {30, 0}}},
};

TEST(GeoBoundary, EachRoutineKeepsOrDropsVerticesWithoutMovingTheRest)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        Ring ring(c.ring);
        EXPECT_EQ(ring.Run(c.routine, c.tol), 1);
        EXPECT_EQ(ring.Points(), c.expected);
        EXPECT_EQ(ring.x.size(), c.ring.size() + 1);  // the arrays are not resized, only the count changes
    }
}

TEST(GeoBoundary, BothInTurnAsTheOutlineCheckCallsThem)
{
    Ring ring({{0, 0}, {0, 0}, {50, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
    ring.Run(geozhenglimianbianjiezcx);
    ring.Run(geojiandianzhenglimianbianjiezcx);
    EXPECT_EQ(ring.Points(), (Points{{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
}

TEST(GeoBoundary, UnusableArgumentsChangeNothing)
{
    Ring ring({{0, 0}, {0, 0}, {10, 0}, {10, 10}});
    EXPECT_EQ(geozhenglimianbianjiezcx(1.0, nullptr, ring.y.data(), ring.z.data(), &ring.n), 0);
    EXPECT_EQ(geojiandianzhenglimianbianjiezcx(1.0, ring.x.data(), ring.y.data(), ring.z.data(), nullptr), 0);
    int negative = -1;
    EXPECT_EQ(geozhenglimianbianjiezcx(1.0, ring.x.data(), ring.y.data(), ring.z.data(), &negative), 0);
    EXPECT_EQ(negative, -1);
    EXPECT_EQ(ring.n, 4);
}

}  // namespace
