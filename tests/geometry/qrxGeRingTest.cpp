#include "qrxGeRing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace qrxGe {
namespace {

const std::vector<point2d> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

TEST(QrxGeRing, Orientation)
{
    EXPECT_TRUE(IsClockwise(std::vector<point2d>{{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
    EXPECT_FALSE(IsClockwise(std::vector<point2d>{{1, 0}, {1, 1}, {0, 1}, {0, 0}}));
    EXPECT_FALSE(IsClockwise(std::vector<point2d>{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_TRUE(IsClockwise(std::vector<point2d>{{0, 0}, {1, 1}}));
    EXPECT_FALSE(IsClockwise(kSquare));
}

// Random star-shaped rings, either way round, moved to a national grid's coordinates: the
// orientation is kept and the area within the rounding of the coordinates there.
TEST(QrxGeRing, OrientationAndAreaAtSiteCoordinates)
{
    std::mt19937 random(40);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 300; ++i) {
        const int n = 3 + i % 9;
        std::vector<double> angles;
        for (int k = 0; k < n; ++k)
            angles.push_back(2 * M_PI * unit(random));
        std::sort(angles.begin(), angles.end());
        std::vector<point2d> ring;
        const double size = 0.5 + 20 * unit(random);
        for (const double a : angles)
            ring.push_back({size * (0.3 + unit(random)) * std::cos(a), size * (0.3 + unit(random)) * std::sin(a)});
        if (i % 2)
            std::reverse(ring.begin(), ring.end());
        const bool clockwise = IsClockwise(ring);
        const double area = Area(ring), perimeter = PolylineLength(ring, true);
        for (const double shift : {1e6, 1e9, 1e12}) {
            std::vector<point2d> far = ring;
            for (point2d& p : far)
                p = {p.x + shift + 0.37, p.y - 0.75 * shift};
            SCOPED_TRACE(::testing::Message() << "ring " << i << " at " << shift);
            EXPECT_EQ(IsClockwise(far), clockwise);
            EXPECT_NEAR(Area(far), area, 4e-16 * shift * perimeter);
        }
    }
}

TEST(QrxGeRing, PointInPolygonCountsTheBoundaryAsInside)
{
    EXPECT_TRUE(IsPointInPolygon(kSquare, {5, 5}));
    EXPECT_TRUE(IsPointInPolygon(kSquare, {10.05, 5}));
    EXPECT_TRUE(IsPointInPolygon(kSquare, {5, 0}));
    EXPECT_TRUE(IsPointInPolygon(kSquare, {5, 10}));
    EXPECT_FALSE(IsPointInPolygon(kSquare, {-0.5, 5}));
    EXPECT_TRUE(IsPointInPolygon(kSquare, {0.05, 0.05}));
    EXPECT_FALSE(IsPointInPolygon(kSquare, {10.2, 5}));
    EXPECT_FALSE(IsPointInPolygon(kSquare, {5, 10.2}));
    EXPECT_FALSE(IsPointInPolygon(kSquare, {15, 5}));
}

TEST(QrxGeRing, RayThroughAVertexCountsOnce)
{
    // A diamond: the ray from (-5, 0) towards +x passes through the vertices (0,0) and (10,0)
    // and through nothing else, so the point is outside; from (5, 0) it passes (10,0) only.
    const std::vector<point2d> diamond = {{0, 0}, {5, -5}, {10, 0}, {5, 5}};
    EXPECT_FALSE(IsPointInPolygon(diamond, {-5, 0}));
    EXPECT_TRUE(IsPointInPolygon(diamond, {5, 0}));
    // An L-shaped ring: the ray at y = 5 from (-1, 5) runs along the inner horizontal edge.
    const std::vector<point2d> ell = {{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}};
    EXPECT_TRUE(IsPointInPolygon(ell, {2, 7}));
    EXPECT_FALSE(IsPointInPolygon(ell, {7, 7}));
    EXPECT_TRUE(IsPointInPolygon(ell, {7, 3}));
}

TEST(QrxGeRing, Convexity)
{
    EXPECT_EQ(IsConvex(kSquare), 1);
    EXPECT_EQ(IsConvex(std::vector<point2d>{{0, 0}, {0, 10}, {10, 10}, {10, 0}}), 1);
    EXPECT_EQ(IsConvex(std::vector<point2d>{{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}}), -1);
    EXPECT_EQ(IsConvex(std::vector<point2d>{{0, 0}, {1, 1}, {2, 2}}), 0);
    EXPECT_EQ(IsConvex(std::vector<point2d>{{0, 0}, {1, 1}}), 0);
}

TEST(QrxGeRing, LengthAreaCentroid)
{
    const std::vector<point2d> unit = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    EXPECT_DOUBLE_EQ(PolylineLength(unit, false), 3);
    EXPECT_DOUBLE_EQ(PolylineLength(unit, true), 4);
    EXPECT_EQ(PolylineLength(std::vector<point2d>{{1, 1}}, true), 0.0);
    EXPECT_EQ(PolylineLength(std::vector<point2d>{}, false), 0.0);

    EXPECT_DOUBLE_EQ(Area(kSquare), 100);
    const std::vector<point2d> clockwiseTriangle = {{0, 0}, {0, 6}, {3, 0}};
    EXPECT_DOUBLE_EQ(Area(clockwiseTriangle), 9);
    EXPECT_EQ(Area(std::vector<point2d>{{0, 0}, {4, 4}}), 0.0);

    EXPECT_EQ(Centroid(kSquare), point2d(5, 5));
    const point2d c = Centroid(clockwiseTriangle);
    EXPECT_DOUBLE_EQ(c.x, 1);
    EXPECT_DOUBLE_EQ(c.y, 2);
    const point2d l = Centroid(std::vector<point2d>{{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}});
    // Two rectangles 10x5 (centre (5, 2.5)) and 5x5 (centre (2.5, 7.5)): weights 2:1.
    EXPECT_DOUBLE_EQ(l.x, (2 * 5 + 2.5) / 3);
    EXPECT_DOUBLE_EQ(l.y, (2 * 2.5 + 7.5) / 3);
    EXPECT_EQ(Centroid(std::vector<point2d>{{3, 3}, {4, 4}}), point2d(0, 0));
}

} // namespace
} // namespace qrxGe
