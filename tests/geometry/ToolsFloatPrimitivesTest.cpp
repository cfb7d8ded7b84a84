// The single-precision primitives of CTools: azimuth, crossing of lines, point against
// polygon, de-duplication and sorting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

#include "Tools.h"

namespace {

constexpr double kPiD = 3.14159265358979323846;

// ---- baaf ------------------------------------------------------------------------------

TEST(ToolsBaaf, DegenerateAndSnappedSegments)
{
    EXPECT_EQ(CTools::baaf(0, 0, 0, 0), 0.0f);
    EXPECT_EQ(CTools::baaf(0, 0, 0.05f, -0.05f), 0.0f);
    EXPECT_EQ(CTools::baaf(0, 0, 5, 0.05f), 0.0f);
    EXPECT_EQ(CTools::baaf(0, 0, 5, -0.09f), 0.0f);
    // pi and 3 pi/2 come back as their float constants.
    EXPECT_EQ(CTools::baaf(0, 0, -5, 0), 3.1415925f);
    EXPECT_EQ(CTools::baaf(0, 0, -5, 0.05f), 3.1415925f);
    EXPECT_EQ(CTools::baaf(0, 0, 0, -5), 4.712389f);
    EXPECT_EQ(CTools::baaf(0, 0, 0.05f, 5), 1.5707963f);
}

TEST(ToolsBaaf, QuadrantsAndTheFloatTenth)
{
    EXPECT_NEAR(CTools::baaf(0, 0, 5, 5), kPiD / 4, 1e-6);
    EXPECT_NEAR(CTools::baaf(0, 0, -5, 5), 3 * kPiD / 4, 1e-6);
    EXPECT_NEAR(CTools::baaf(0, 0, -5, -5), 5 * kPiD / 4, 1e-6);
    EXPECT_NEAR(CTools::baaf(0, 0, 5, -5), 7 * kPiD / 4, 1e-6);
    // A float difference of 0.1 is larger than the double 0.1: the segment is not snapped.
    EXPECT_EQ(CTools::baaf(0, 0, 5, 0.1f), std::atan(0.1f / 5.0f));
    EXPECT_GT(CTools::baaf(0, 0, 5, 0.1f), 0.0f);
}

TEST(ToolsBaaf, AgreesWithAtan2AwayFromTheAxes)
{
    std::mt19937 gen(17);
    std::uniform_real_distribution<float> coord(-1000.0f, 1000.0f);
    int checked = 0;
    for (int i = 0; i < 2000; ++i) {
        const float x1 = coord(gen), y1 = coord(gen), x2 = coord(gen), y2 = coord(gen);
        const double dx = double(x2) - x1, dy = double(y2) - y1;
        if (std::fabs(dx) < 1.0 || std::fabs(dy) < 1.0)
            continue;
        double expected = std::atan2(dy, dx);
        if (expected < 0)
            expected += 2 * kPiD;
        const float a = CTools::baaf(x1, y1, x2, y2);
        EXPECT_NEAR(a, expected, 2e-6) << x1 << "," << y1 << " -> " << x2 << "," << y2;
        EXPECT_GE(a, 0.0f);
        EXPECT_LT(a, 6.2831853f);
        ++checked;
    }
    EXPECT_GT(checked, 1500);
}

// ---- xianjiaodianzcx ---------------------------------------------------------------------

struct Crossing {
    float x = -1, y = -1, flag = 42;
};

Crossing Cross(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4)
{
    Crossing c;
    CTools::xianjiaodianzcx(x1, y1, x2, y2, x3, y3, x4, y4, c.x, c.y, c.flag);
    return c;
}

TEST(ToolsLineCrossing, SentinelCasesOfTheTable)
{
    // Two vertical lines are parallel; the flag is left alone.
    Crossing c = Cross(0, 0, 0.5f, 10, 5, 0, 5, 10);
    EXPECT_EQ(c.x, 111.0f);
    EXPECT_EQ(c.y, 111.0f);
    EXPECT_EQ(c.flag, 42.0f);
    // Vertical x = 3 against horizontal y = 7, both ways round.
    c = Cross(3, 0, 3, 10, -5, 7, 5, 7);
    EXPECT_EQ(c.x, 3.0f);
    EXPECT_EQ(c.y, 7.0f);
    EXPECT_EQ(c.flag, 42.0f);
    c = Cross(-5, 7, 5, 7, 3, 0, 3, 10);
    EXPECT_EQ(c.x, 3.0f);
    EXPECT_EQ(c.y, 7.0f);
    // y = x against y = -x + 10: the general case sets the flag.
    c = Cross(0, 0, 10, 10, 0, 10, 10, 0);
    EXPECT_FLOAT_EQ(c.x, 5.0f);
    EXPECT_FLOAT_EQ(c.y, 5.0f);
    EXPECT_EQ(c.flag, 0.0f);
    // Short in both directions: both horizontal, hence parallel.
    c = Cross(0, 0, 0.5f, 0.5f, 3, 3, 3.5f, 2.6f);
    EXPECT_EQ(c.x, 111.0f);
    EXPECT_EQ(c.y, 111.0f);
}

TEST(ToolsLineCrossing, OneSentinelLineAgainstASlopedOne)
{
    // Vertical x = 2 against y = 2x + 1.
    Crossing c = Cross(2, -10, 2, 10, 0, 1, 5, 11);
    EXPECT_FLOAT_EQ(c.x, 2.0f);
    EXPECT_FLOAT_EQ(c.y, 5.0f);
    EXPECT_EQ(c.flag, 42.0f);
    // Horizontal y = 9 against y = 2x + 1.
    c = Cross(-10, 9, 10, 9, 0, 1, 5, 11);
    EXPECT_FLOAT_EQ(c.x, 4.0f);
    EXPECT_FLOAT_EQ(c.y, 9.0f);
    // The sloped line first.
    c = Cross(0, 1, 5, 11, 2, -10, 2, 10);
    EXPECT_FLOAT_EQ(c.x, 2.0f);
    EXPECT_FLOAT_EQ(c.y, 5.0f);
    c = Cross(0, 1, 5, 11, -10, 9, 10, 9);
    EXPECT_FLOAT_EQ(c.x, 4.0f);
    EXPECT_FLOAT_EQ(c.y, 9.0f);
}

TEST(ToolsLineCrossing, DifferenceOfExactlyOneIsASlope)
{
    // Through (0,0) and (1,5): y = 5x, crossed by y = 2.5 at x = 0.5 (not taken for y = 0).
    Crossing c = Cross(0, 0, 1, 5, -10, 2.5f, 10, 2.5f);
    EXPECT_FLOAT_EQ(c.x, 0.5f);
    EXPECT_FLOAT_EQ(c.y, 2.5f);
    // Through (0,0) and (5,1) against the vertical x = 10.
    c = Cross(0, 0, 5, 1, 10, -3, 10, 3);
    EXPECT_FLOAT_EQ(c.x, 10.0f);
    EXPECT_FLOAT_EQ(c.y, 2.0f);
    // Both lines with a unit difference: no division by a zero slope.
    c = Cross(0, 0, 1, 5, 0, 10, 1, 9);
    EXPECT_TRUE(std::isfinite(c.x) && std::isfinite(c.y));
    EXPECT_NEAR(c.x, 10.0 / 6.0, 1e-5);
    EXPECT_NEAR(c.y, 50.0 / 6.0, 1e-4);
}

TEST(ToolsLineCrossing, RealSlopesOf555And666AreSlopes)
{
    // y = 555x is steep but not vertical: it meets x = 1 at y = 555.
    Crossing c = Cross(0, 0, 2, 1110, 1, -5, 1, 5);
    EXPECT_FLOAT_EQ(c.x, 1.0f);
    EXPECT_FLOAT_EQ(c.y, 555.0f);
    // y = 666x meets the horizontal y = 666 at x = 1.
    c = Cross(0, 0, 2, 1332, -5, 666, 5, 666);
    EXPECT_FLOAT_EQ(c.x, 1.0f);
    EXPECT_FLOAT_EQ(c.y, 666.0f);
    // And a general crossing with a slope of 555: y = 555x against y = -x + 556 at (1, 555).
    c = Cross(0, 0, 2, 1110, 0, 556, 556, 0);
    EXPECT_NEAR(c.x, 1.0, 1e-3);
    EXPECT_NEAR(c.y, 555.0, 0.5);
    EXPECT_EQ(c.flag, 0.0f);
    // Two parallel lines of slope 555 are still parallel.
    c = Cross(0, 0, 2, 1110, 10, 0, 12, 1110);
    EXPECT_EQ(c.x, 111.0f);
    EXPECT_EQ(c.y, 111.0f);
}

TEST(ToolsLineCrossing, AgreesWithExactIntersection)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> coord(-100.0f, 100.0f);
    int checked = 0;
    for (int i = 0; i < 3000 && checked < 500; ++i) {
        float p[8];
        for (float& v : p)
            v = coord(gen);
        const double dx1 = double(p[2]) - p[0], dy1 = double(p[3]) - p[1];
        const double dx2 = double(p[6]) - p[4], dy2 = double(p[7]) - p[5];
        if (std::fabs(dx1) < 2 || std::fabs(dy1) < 2 || std::fabs(dx2) < 2 || std::fabs(dy2) < 2)
            continue;
        const double k1 = dy1 / dx1, k2 = dy2 / dx2;
        if (std::fabs(k1 - k2) < 0.2 || std::fabs(k1) > 20 || std::fabs(k2) > 20)
            continue;
        const double b1 = p[1] - k1 * p[0], b2 = p[5] - k2 * p[4];
        const double x = (b2 - b1) / (k1 - k2), y = k1 * x + b1;
        const Crossing c = Cross(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
        const double scale = 1.0 + std::fabs(x) + std::fabs(y);
        EXPECT_NEAR(c.x, x, 1e-4 * scale);
        EXPECT_NEAR(c.y, y, 1e-4 * scale);
        ++checked;
    }
    EXPECT_EQ(checked, 500);
}

// ---- dianquanliwaizcx ----------------------------------------------------------------------

// A 1-based ring.
struct FloatRing {
    std::vector<float> x{0.0f}, y{0.0f};
    FloatRing(std::initializer_list<std::pair<float, float>> pts)
    {
        for (const auto& [px, py] : pts) {
            x.push_back(px);
            y.push_back(py);
        }
    }
    int Size() const { return static_cast<int>(x.size()) - 1; }
    int Code(float px, float py, float tol) const
    {
        return CTools::dianquanliwaizcx(px, py, x.data(), y.data(), Size(), tol);
    }
    GePoint3dArray AsPoints() const
    {
        GePoint3dArray pts;
        for (int i = 1; i <= Size(); ++i)
            pts.emplace_back(x[i], y[i], 0.0);
        return pts;
    }
};

TEST(ToolsPointInRing, SquareAndTriangleTable)
{
    const FloatRing square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(square.Code(0.5f, 0.5f, 1), 100);
    EXPECT_EQ(square.Code(10, 5, 1), 10);
    EXPECT_EQ(square.Code(5, 0, 1), 20);
    EXPECT_EQ(square.Code(5, 5, 1), 1);
    EXPECT_EQ(square.Code(15, 5, 1), 0);
    // The vertex box is a square: a corner diagonal at tol on both axes still counts.
    EXPECT_EQ(square.Code(11, 11, 1), 100);
    const FloatRing triangle{{0, 0}, {10, 0}, {0, 10}};
    EXPECT_EQ(triangle.Code(5, 5, 1), 30);
    EXPECT_EQ(triangle.Code(2, 2, 1), 1);
    EXPECT_EQ(triangle.Code(8, 8, 1), 0);
}

TEST(ToolsPointInRing, SinglePointAndEmptyRings)
{
    const FloatRing single{{3, 3}};
    EXPECT_EQ(single.Code(3.5f, 3.5f, 1), 100);
    EXPECT_EQ(single.Code(3, 10, 1), 0);
    const FloatRing none{};
    EXPECT_EQ(none.Code(0, 0, 1), 0);
}

TEST(ToolsPointInRing, AgreesWithThePlanRegionTestOnFloatExactInput)
{
    // A concave ring whose sloped edges have float-exact slopes (1/2, 2, -1).
    const FloatRing ring{{0, 0}, {16, 0}, {16, 8}, {12, 16}, {8, 8}, {4, 10}, {0, 6}};
    const GePoint3dArray polygon = ring.AsPoints();
    for (const float tol : {0.5f, 0.25f}) {
        for (float px = -2; px <= 18; px += 0.25f) {
            for (float py = -2; py <= 18; py += 0.25f) {
                const int expected = CTools::PtRegionRelation(GePoint3d(px, py, 0), polygon, tol);
                ASSERT_EQ(ring.Code(px, py, tol), expected) << px << "," << py << " tol " << tol;
            }
        }
    }
}

// ---- paixuzcx ------------------------------------------------------------------------------

struct SortArrays {
    std::vector<float> x{0}, y{0}, z{0};
    std::vector<int> a{0}, b{0};
    int n = 0;
    void Add(float px, float py, float pz, int pa, int pb)
    {
        x.push_back(px);
        y.push_back(py);
        z.push_back(pz);
        a.push_back(pa);
        b.push_back(pb);
        ++n;
    }
    void Sort(int order, int key) { CTools::paixuzcx(order, key, x.data(), y.data(), z.data(), a.data(), b.data(), n); }
};

TEST(ToolsSortPoints, DropsNearPointsAndSortsDescending)
{
    SortArrays s;
    s.Add(0, 0, 0, 1, 10);
    s.Add(0.5f, 0.5f, 0.5f, 2, 20);
    s.Add(5, 0, 0, 3, 30);
    s.Sort(2, 1);
    ASSERT_EQ(s.n, 2);
    EXPECT_EQ(s.x[1], 5.0f);
    EXPECT_EQ(s.a[1], 3);
    EXPECT_EQ(s.b[1], 30);
    EXPECT_EQ(s.x[2], 0.0f);
    EXPECT_EQ(s.a[2], 1);
    EXPECT_EQ(s.b[2], 10);
}

TEST(ToolsSortPoints, ADroppedPointDropsNothing)
{
    SortArrays s;
    s.Add(0, 0, 0, 1, 1);
    s.Add(0.8f, 0, 0, 2, 2);  // within 1 of the first: dropped
    s.Add(1.6f, 0, 0, 3, 3);  // within 1 of the dropped one only: kept
    s.Add(1.6f, 0, 1.0f, 4, 4);  // exactly 1 apart in z: kept
    s.Sort(1, 1);
    ASSERT_EQ(s.n, 3);
    EXPECT_EQ(s.a[1], 1);
    EXPECT_EQ(s.a[2], 3);
    EXPECT_EQ(s.a[3], 4);
}

TEST(ToolsSortPoints, InvalidOrderOrKeyOnlyDrops)
{
    for (const auto& [order, key] : {std::pair{0, 1}, std::pair{3, 2}, std::pair{1, 0}, std::pair{2, 4}}) {
        SortArrays s;
        s.Add(9, 0, 0, 1, 0);
        s.Add(9.2f, 0.2f, 0, 2, 0);
        s.Add(1, 0, 0, 3, 0);
        s.Add(5, 0, 0, 4, 0);
        s.Sort(order, key);
        ASSERT_EQ(s.n, 3);
        EXPECT_EQ(s.a[1], 1);
        EXPECT_EQ(s.a[2], 3);
        EXPECT_EQ(s.a[3], 4);
    }
    SortArrays empty;
    empty.Sort(1, 1);
    EXPECT_EQ(empty.n, 0);
}

TEST(ToolsSortPoints, StableLikeStdStableSortBeyondAThousandPoints)
{
    // 1500 points on a grid (no two within 1.0), with many equal keys.
    SortArrays s;
    std::mt19937 gen(3);
    std::vector<int> cells(1500);
    std::iota(cells.begin(), cells.end(), 0);
    std::shuffle(cells.begin(), cells.end(), gen);
    for (int i = 0; i < 1500; ++i)
        s.Add(static_cast<float>(cells[i] % 30) * 2.0f, static_cast<float>(cells[i] / 30) * 2.0f, 0, i, -i);
    for (const int key : {1, 2}) {
        for (const int order : {1, 2}) {
            SortArrays t = s;
            t.Sort(order, key);
            ASSERT_EQ(t.n, 1500);
            std::vector<int> expected(1500);
            std::iota(expected.begin(), expected.end(), 0);
            const std::vector<float>& keys = key == 1 ? s.x : s.y;
            std::stable_sort(expected.begin(), expected.end(), [&](int l, int r) {
                return order == 1 ? keys[l + 1] < keys[r + 1] : keys[r + 1] < keys[l + 1];
            });
            for (int k = 1; k <= t.n; ++k) {
                ASSERT_EQ(t.a[k], expected[k - 1]) << "key " << key << " order " << order << " at " << k;
                ASSERT_EQ(t.b[k], -expected[k - 1]);
            }
        }
    }
}

}  // namespace
