#include "GeoBoundary.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Routine = int (*)(double, double*, double*, double*, int*);

struct Ring {
    std::vector<double> x{0.0}, y{0.0}, z{0.0};  // element 0 unused, as the callers pass them
    int n = 0;

    Ring(std::initializer_list<std::pair<double, double>> points)
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

TEST(GeoBoundary, CleanRingsComeBackUnchanged)
{
    for (Routine routine : {geozhenglimianbianjiezcx, geojiandianzhenglimianbianjiezcx}) {
        Ring square{{0, 0}, {10000, 0}, {10000, 8000}, {0, 8000}};
        EXPECT_EQ(routine(1.0, square.x.data(), square.y.data(), square.z.data(), &square.n), 1);
        EXPECT_EQ(square.Points(), (Points{{0, 0}, {10000, 0}, {10000, 8000}, {0, 8000}}));
        // An L-shape with a reflex corner stays whole too.
        Ring ell{{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}};
        ell.Run(routine);
        EXPECT_EQ(ell.n, 6);
    }
}

TEST(GeoBoundary, DuplicateVerticesAreDroppedWithoutMovingTheOthers)
{
    Ring ring{{0, 0}, {0.4, 0.3}, {100, 0}, {100, 100}, {100.5, 100}, {0, 100}, {0.2, 0.1}};
    ASSERT_EQ(ring.Run(geozhenglimianbianjiezcx), 1);
    // The first of each cluster stays at its exact place; the repeated first point at the end goes.
    EXPECT_EQ(ring.Points(), (Points{{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
    EXPECT_EQ(ring.x.size(), 8u);  // the arrays are not resized, only the count changes
}

TEST(GeoBoundary, PointsFartherThanTheToleranceStay)
{
    Ring ring{{0, 0}, {1.5, 0}, {100, 0}, {100, 100}};
    ring.Run(geozhenglimianbianjiezcx, 1.0);
    EXPECT_EQ(ring.n, 4);
    ring.Run(geozhenglimianbianjiezcx, 2.0);
    EXPECT_EQ(ring.Points(), (Points{{0, 0}, {100, 0}, {100, 100}}));
}

TEST(GeoBoundary, MidEdgeVerticesAreDropped)
{
    // (50, 0.5) lies half a unit off the bottom edge, (100, 40) and (100, 70) on the right edge.
    Ring ring{{0, 0}, {50, 0.5}, {100, 0}, {100, 40}, {100, 70}, {100, 100}, {0, 100}};
    ASSERT_EQ(ring.Run(geojiandianzhenglimianbianjiezcx), 1);
    EXPECT_EQ(ring.Points(), (Points{{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
}

TEST(GeoBoundary, CornersAndSpikesAreNotMidEdgeVertices)
{
    // (50, 5) is a real corner at tolerance 1; (110, 50) a spike, not between its neighbours.
    Ring ring{{0, 0}, {50, 5}, {100, 0}, {100, 100}, {0, 100}};
    ring.Run(geojiandianzhenglimianbianjiezcx);
    EXPECT_EQ(ring.n, 5);
    Ring back{{0, 0}, {100, 0}, {100, 100}, {100, 50}, {0, 100}};
    back.Run(geojiandianzhenglimianbianjiezcx);
    EXPECT_EQ(back.n, 5);
}

TEST(GeoBoundary, RingsThatWouldFallBelowThreePointsAreLeftAlone)
{
    Ring triangle{{0, 0}, {0.1, 0}, {0.2, 0}};
    triangle.Run(geozhenglimianbianjiezcx);
    EXPECT_EQ(triangle.n, 3);

    Ring clustered{{0, 0}, {0.1, 0}, {0.2, 0.1}, {0.3, 0}};
    clustered.Run(geozhenglimianbianjiezcx);
    EXPECT_EQ(clustered.Points(), (Points{{0, 0}, {0.1, 0}, {0.2, 0.1}, {0.3, 0}}));

    Ring line{{0, 0}, {10, 0}, {20, 0}, {30, 0}};
    line.Run(geojiandianzhenglimianbianjiezcx);
    EXPECT_EQ(line.Points(), (Points{{0, 0}, {10, 0}, {20, 0}, {30, 0}}));
}

TEST(GeoBoundary, BothInTurnAsTheOutlineCheckCallsThem)
{
    Ring ring{{0, 0}, {0, 0}, {50, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};
    ring.Run(geozhenglimianbianjiezcx);
    ring.Run(geojiandianzhenglimianbianjiezcx);
    EXPECT_EQ(ring.Points(), (Points{{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
}

TEST(GeoBoundary, UnusableArgumentsChangeNothing)
{
    Ring ring{{0, 0}, {0, 0}, {10, 0}, {10, 10}};
    EXPECT_EQ(geozhenglimianbianjiezcx(1.0, nullptr, ring.y.data(), ring.z.data(), &ring.n), 0);
    EXPECT_EQ(geojiandianzhenglimianbianjiezcx(1.0, ring.x.data(), ring.y.data(), ring.z.data(), nullptr), 0);
    int negative = -1;
    EXPECT_EQ(geozhenglimianbianjiezcx(1.0, ring.x.data(), ring.y.data(), ring.z.data(), &negative), 0);
    EXPECT_EQ(negative, -1);
    EXPECT_EQ(ring.n, 4);
}

}  // namespace
