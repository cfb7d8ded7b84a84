// The single-precision primitives of CTools: azimuth, crossing of lines, point against
// polygon, de-duplication and sorting.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>
#include <vector>

#include "Tools.h"

namespace {

constexpr double kPiD = std::numbers::pi;

// ---- baaf ------------------------------------------------------------------------------

// The quadrants in between are held to atan2 below.
TEST(ToolsBaaf, DegenerateAndSnappedSegmentsAndTheFloatTenth)
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

Crossing Cross(const std::array<float, 8>& p)
{
    Crossing c;
    CTools::xianjiaodianzcx(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], c.x, c.y, c.flag);
    return c;
}

// The flag is touched only when both lines are sloped; 111 marks parallel lines.
TEST(ToolsLineCrossing, TableOfLineKinds)
{
    struct Case {
        std::array<float, 8> p;
        double x, y;
        float flag;
        double relTol;  // relative to 1 + |expected|; 0: exact
        const char* what;
    };
    const Case cases[] = {
        {{0, 0, 0.5f, 10, 5, 0, 5, 10}, 111, 111, 42, 0, "two verticals are parallel"},
        {{3, 0, 3, 10, -5, 7, 5, 7}, 3, 7, 42, 0, "vertical against horizontal"},
        {{-5, 7, 5, 7, 3, 0, 3, 10}, 3, 7, 42, 0, "horizontal against vertical"},
        {{0, 0, 0.5f, 0.5f, 3, 3, 3.5f, 2.6f}, 111, 111, 42, 0, "short both ways: horizontal"},
        {{0, 0, 10, 10, 0, 10, 10, 0}, 5, 5, 0, 1e-6, "two sloped lines set the flag"},
        {{2, -10, 2, 10, 0, 1, 5, 11}, 2, 5, 42, 1e-6, "vertical against sloped"},
        {{-10, 9, 10, 9, 0, 1, 5, 11}, 4, 9, 42, 1e-6, "horizontal against sloped"},
        {{0, 1, 5, 11, 2, -10, 2, 10}, 2, 5, 42, 1e-6, "sloped against vertical"},
        {{0, 1, 5, 11, -10, 9, 10, 9}, 4, 9, 42, 1e-6, "sloped against horizontal"},
        {{0, 0, 1, 5, -10, 2.5f, 10, 2.5f}, 0.5, 2.5, 42, 1e-6, "x difference of exactly 1 is a slope"},
        {{0, 0, 5, 1, 10, -3, 10, 3}, 10, 2, 42, 1e-6, "y difference of exactly 1 is a slope"},
        {{0, 0, 1, 5, 0, 10, 1, 9}, 10.0 / 6.0, 50.0 / 6.0, 0, 1e-5, "both with unit differences"},
        {{0, 0, 2, 1110, 1, -5, 1, 5}, 1, 555, 42, 1e-6, "a real slope of 555 is no vertical"},
        {{0, 0, 2, 1332, -5, 666, 5, 666}, 1, 666, 42, 1e-6, "a real slope of 666 is no horizontal"},
        {{0, 0, 2, 1110, 0, 556, 556, 0}, 1, 555, 0, 1e-3, "general crossing with slope 555"},
        {{0, 0, 2, 1110, 10, 0, 12, 1110}, 111, 111, 42, 0, "parallel slopes of 555"},
    };
    for (const Case& c : cases) {
        const Crossing got = Cross(c.p);
        EXPECT_NEAR(got.x, c.x, c.relTol * (1 + std::fabs(c.x))) << c.what;
        EXPECT_NEAR(got.y, c.y, c.relTol * (1 + std::fabs(c.y))) << c.what;
        EXPECT_EQ(got.flag, c.flag) << c.what;
    }
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
        const Crossing c = Cross({p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]});
        const double scale = 1.0 + std::fabs(x) + std::fabs(y);
        EXPECT_NEAR(c.x, x, 1e-4 * scale);
        EXPECT_NEAR(c.y, y, 1e-4 * scale);
        ++checked;
    }
    EXPECT_EQ(checked, 500);
}

// ---- dianquanliwaizcx ----------------------------------------------------------------------

// The classification is shared with PtRegionRelation; here the 1-based float arrays.
TEST(ToolsPointInRing, OneBasedFloatRings)
{
    const std::vector<float> sx{-99, 0, 10, 10, 0}, sy{-99, 0, 0, 10, 10};
    const std::vector<float> tx{-99, 0, 10, 0}, ty{-99, 0, 0, 10};
    const auto square = [&](float px, float py) { return CTools::dianquanliwaizcx(px, py, sx.data(), sy.data(), 4, 1); };
    const auto triangle = [&](float px, float py) { return CTools::dianquanliwaizcx(px, py, tx.data(), ty.data(), 3, 1); };
    EXPECT_EQ(square(0.5f, 0.5f), 100);
    EXPECT_EQ(square(11, 11), 100);  // the vertex box is a square, tol on both axes
    EXPECT_EQ(square(10, 5), 10);
    EXPECT_EQ(square(5, 0), 20);
    EXPECT_EQ(square(5, 5), 1);
    EXPECT_EQ(square(15, 5), 0);
    EXPECT_EQ(square(-99, -99), 0);  // entry 0 is not a vertex
    EXPECT_EQ(triangle(5, 5), 30);
    EXPECT_EQ(triangle(2, 2), 1);
    EXPECT_EQ(triangle(8, 8), 0);
    // One point: its vertex box only; no points: outside.
    const float one[] = {-99, 3};
    EXPECT_EQ(CTools::dianquanliwaizcx(3.5f, 3.5f, one, one, 1, 1), 100);
    EXPECT_EQ(CTools::dianquanliwaizcx(3, 10, one, one, 1, 1), 0);
    EXPECT_EQ(CTools::dianquanliwaizcx(0, 0, sx.data(), sy.data(), 0, 1), 0);
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

// Points within 1.0 on all three axes of an earlier kept point go (a dropped point drops
// nothing itself); then the sort, or none for another order or key. a[] tells the points apart.
TEST(ToolsSortPoints, TableOfDropsAndOrders)
{
    struct Point {
        float x, y, z;
    };
    struct Case {
        std::vector<Point> points;
        int order, key;
        std::vector<int> kept;  // the a-values left, in order
        const char* what;
    };
    const std::vector<Point> row = {{9, 0, 0}, {9.2f, 0.2f, 0}, {1, 0, 0}, {5, 0, 0}};
    const Case cases[] = {
        {{{0, 0, 0}, {0.5f, 0.5f, 0.5f}, {5, 0, 0}}, 2, 1, {3, 1}, "near point dropped, descending by x"},
        {{{0, 0, 0}, {0.8f, 0, 0}, {1.6f, 0, 0}, {1.6f, 0, 1.0f}}, 1, 1, {1, 3, 4},
         "a dropped point drops nothing; exactly 1 apart is kept"},
        {row, 0, 1, {1, 3, 4}, "order 0 only drops"},
        {row, 3, 2, {1, 3, 4}, "order 3 only drops"},
        {row, 1, 0, {1, 3, 4}, "key 0 only drops"},
        {row, 2, 4, {1, 3, 4}, "key 4 only drops"},
        {row, 1, 1, {3, 4, 1}, "ascending by x"},
        {{}, 1, 1, {}, "no points"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SortArrays s;
        for (std::size_t i = 0; i < c.points.size(); ++i)
            s.Add(c.points[i].x, c.points[i].y, c.points[i].z, static_cast<int>(i) + 1, -static_cast<int>(i) - 1);
        s.Sort(c.order, c.key);
        ASSERT_EQ(s.n, static_cast<int>(c.kept.size()));
        for (int k = 1; k <= s.n; ++k) {
            const int id = c.kept[static_cast<std::size_t>(k - 1)];
            EXPECT_EQ(s.a[k], id) << "at " << k;
            EXPECT_EQ(s.b[k], -id) << "at " << k;  // the other arrays travel along
            EXPECT_EQ(s.x[k], c.points[static_cast<std::size_t>(id - 1)].x) << "at " << k;
        }
    }
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
