// Where the contour command's scan line meets an edge: the routine against an exact crossing on
// random segment pairs kept away from its tolerance boundaries, and a table of the boundaries.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "IntersectSegments2d.h"

namespace {

struct Pair {
    double x1, y1, x2, y2, x3, y3, x4, y4;
};

// The crossing of the two lines by the parametric form in long double: P = A + t(B − A) =
// C + u(D − C). False when the lines are parallel.
bool ExactCrossing(const Pair& s, long double& x, long double& y, long double& t, long double& u)
{
    const long double ax = s.x2 - s.x1, ay = s.y2 - s.y1;
    const long double bx = s.x4 - s.x3, by = s.y4 - s.y3;
    const long double cx = s.x3 - s.x1, cy = s.y3 - s.y1;
    const long double denominator = ax * by - ay * bx;
    if (denominator == 0)
        return false;
    t = (cx * by - cy * bx) / denominator;
    u = (cx * ay - cy * ax) / denominator;
    x = s.x1 + t * ax;
    y = s.y1 + t * ay;
    return true;
}

// The position code of a parameter along its segment: 3 strictly inside, 0 outside.
int ExpectedCode(long double t) { return (t > 0 && t < 1) ? 3 : 0; }

}  // namespace

TEST(IntersectSegments2d, AgreesWithTheExactCrossingAwayFromTheTolerances)
{
    std::mt19937 random(20240531);
    std::uniform_real_distribution<double> coordinate(-1000.0, 1000.0);
    constexpr double kTol = 0.01;
    int compared = 0;
    int inside = 0;
    for (int trial = 0; trial < 20000 && compared < 4000; ++trial) {
        const Pair s{coordinate(random), coordinate(random), coordinate(random), coordinate(random),
                     coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
        // Away from the upright and level tests, from parallel lines and from the ends.
        if (std::fabs(s.x1 - s.x2) < 1 || std::fabs(s.x3 - s.x4) < 1 || std::fabs(s.y1 - s.y2) < 1 ||
            std::fabs(s.y3 - s.y4) < 1)
            continue;
        const double angle = std::fabs(std::remainder(std::atan2(s.y2 - s.y1, s.x2 - s.x1) -
                                                          std::atan2(s.y4 - s.y3, s.x4 - s.x3),
                                                      M_PI));
        if (angle < 0.01)
            continue;
        long double x = 0, y = 0, t = 0, u = 0;
        ASSERT_TRUE(ExactCrossing(s, x, y, t, u));
        const long double len1 = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
        const long double len2 = std::hypot(s.x4 - s.x3, s.y4 - s.y3);
        if (std::fabs(x) > 3000 || std::fabs(y) > 3000 || std::fabs(t * len1) < 1 || std::fabs((1 - t) * len1) < 1 ||
            std::fabs(u * len2) < 1 || std::fabs((1 - u) * len2) < 1)
            continue;

        double px = 0, py = 0;
        int c1 = -9, c2 = -9;
        ASSERT_EQ(IntersectSegments2d(s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4, kTol, px, py, c1, c2), 1)
            << trial;
        const double size = static_cast<double>(std::max(len1, len2));
        EXPECT_NEAR(px, static_cast<double>(x), 1e-6 * size) << "trial " << trial;
        EXPECT_NEAR(py, static_cast<double>(y), 1e-6 * size) << "trial " << trial;
        EXPECT_EQ(c1, ExpectedCode(t)) << "trial " << trial << " t " << static_cast<double>(t);
        EXPECT_EQ(c2, ExpectedCode(u)) << "trial " << trial << " u " << static_cast<double>(u);
        ++compared;
        inside += (c1 == 3 && c2 == 3) ? 1 : 0;
    }
    EXPECT_EQ(compared, 4000);
    // Both outcomes are well represented.
    EXPECT_GT(inside, 400);
    EXPECT_LT(inside, 3600);
}

TEST(IntersectSegments2d, ToleranceBoundaries)
{
    // tol = 0.5 keeps every boundary exact in binary.
    struct Case {
        const char* what;
        Pair s;
        int result, c1, c2;
        double x, y;  // expected point; the sentinel (7, 7) when it stays as it was
    };
    const Case cases[] = {
        {"both upright", {0, 0, 0.25, 10, 5, 0, 5, 10}, 0, -1, -1, 7, 7},
        {"both upright at exactly tol", {0, 0, 0.5, 10, 5, 0, 5.5, 10}, 0, -1, -1, 7, 7},
        {"both level", {0, 0, 10, 0.5, 0, 5, 10, 5}, 0, -1, -1, 7, 7},
        {"under 0.0017 rad apart", {0, 0, 10, 10, 0, 5, 10, 10 + 5 + 0.0015 * 20}, 0, -1, -1, 7, 7},
        {"0.0025 rad apart cross", {0, 0, 10, 10, 0, 1, 10, 11.05}, 1, 0, 0, -200, -200},
        {"first upright, second slanted", {2, -5, 2.25, 5, 0, 0, 4, 2}, 1, 3, 3, 2, 1},
        {"second upright at exactly tol", {0, 0, 4, 2, 2, -5, 2.5, 5}, 1, 3, 3, 2, 1},
        {"first extent exactly tol decides nothing", {2, -5, 2.5, 5, 0, 0, 4, 2}, 0, 0, 0, 7, 7},
        {"first start within tol, inclusive", {0, 0.5, 0, 10, -5, 0, 5, 0}, 1, 1, 3, 0, 0},
        {"first end within tol, inclusive", {0, 10, 0, 0.5, -5, 0, 5, 0}, 1, 2, 3, 0, 0},
        {"first just beyond tol is outside", {0, 0.75, 0, 10, -5, 0, 5, 0}, 1, 0, 3, 0, 0},
        {"first equally near both ends takes the end", {0, 0, 0.75, 0, 0.375, -5, 0.375, 5}, 1, 2, 3, 0.375, 0},
        {"second start at exactly tol is outside", {-5, 0, 5, 0, 0, 0.5, 0, 10}, 1, 3, 0, 0, 0},
        {"second start within tol", {-5, 0, 5, 0, 0, 0.25, 0, 10}, 1, 3, 1, 0, 0},
        {"second end within tol", {-5, 0, 5, 0, 0, 10, 0, -0.25}, 1, 3, 2, 0, 0},
        {"second equally near both ends is inside", {-5, 0, 5, 0, 0, -0.375, 0, 0.375}, 1, 3, 3, 0, 0},
    };
    for (const Case& c : cases) {
        double x = 7, y = 7;
        int c1 = -9, c2 = -9;
        const Pair& s = c.s;
        EXPECT_EQ(IntersectSegments2d(s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4, 0.5, x, y, c1, c2), c.result)
            << c.what;
        EXPECT_EQ(c1, c.c1) << c.what;
        EXPECT_EQ(c2, c.c2) << c.what;
        EXPECT_NEAR(x, c.x, 1e-9) << c.what;
        EXPECT_NEAR(y, c.y, 1e-9) << c.what;
    }
}
