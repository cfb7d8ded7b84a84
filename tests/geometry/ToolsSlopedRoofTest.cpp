// The sloped roof faces of CTools over the kernel's roof solver, and the ordering of single
// sloped faces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Tools.h"
#include "ToolsTestSupport.h"

namespace {

using namespace tools_test;
using Faces = CArray<GePoint3dArray, GePoint3dArray>;

constexpr double kDeg = M_PI / 180.0;

// Counter-clockwise outlines at z 0.
const Ring kRectangle = {{0, 0, 0}, {12000, 0, 0}, {12000, 8000, 0}, {0, 8000, 0}};
const Ring kL = {{0, 0, 0}, {20000, 0, 0}, {20000, 8000, 0}, {9000, 8000, 0}, {9000, 16000, 0}, {0, 16000, 0}};
const Ring kU = {{0, 0, 0},         {24000, 0, 0},    {24000, 15000, 0}, {17000, 15000, 0},
                 {17000, 6000, 0},  {7000, 6000, 0},  {7000, 15000, 0},  {0, 15000, 0}};

// A clockwise outline and its slopes, edge for edge, from a counter-clockwise one.
void ReverseOutline(Ring& ring, std::vector<float>& slopes)
{
    const std::size_t n = ring.size();
    std::vector<float> re(n);
    // Reversed edge k (from reversed point k to k+1) is the original edge n-2-k.
    for (std::size_t k = 0; k < n; ++k)
        re[k] = slopes[(2 * n - 2 - k) % n];
    std::reverse(ring.begin(), ring.end());
    slopes = re;
}

// The slope (degrees) of the outline edge that carries the face's first edge.
double EaveSlope(const Ring& outline, const std::vector<float>& slopes, const Ring& face)
{
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i < n; ++i) {
        const GePoint3d& a = outline[i];
        const GePoint3d& b = outline[(i + 1) % n];
        const GeVector3d dir = (b - a).Normal();
        const double length = a.DistanceTo(b);
        // On the edge itself, not only on its line (collinear edges may differ in slope).
        const auto onEdge = [&](const GePoint3d& p) {
            const GeVector3d v = p - a;
            const double along = v.x * dir.x + v.y * dir.y;
            return std::fabs(v.x * dir.y - v.y * dir.x) < 0.05 && along > -0.05 && along < length + 0.05;
        };
        if (onEdge(face[0]) && onEdge(face[1]))
            return slopes[i];
    }
    return -1.0;
}

// The invariants every roof must keep; returns the faces.
Faces CheckRoof(const Ring& outline, const std::vector<float>& slopes)
{
    Faces faces;
    EXPECT_EQ(CTools::GetSlopingRoofVtsAry(outline, slopes, faces), 1);
    const double h = outline[0].z;
    double area = 0.0;
    for (const Ring& face : faces) {
        EXPECT_GE(face.size(), 3u);
        if (face.size() < 3)
            continue;
        const GeVector3d n = CTools::GetNormal(face, 0.001);
        EXPECT_GT(n.z, 0.0) << "faces look upward";
        area += SignedPlanArea(face);
        // The first edge is the eave, at the outline's height; nothing lies below it.
        EXPECT_NEAR(face[0].z, h, 0.01);
        EXPECT_NEAR(face[1].z, h, 0.01);
        for (const GePoint3d& p : face)
            EXPECT_GT(p.z, h - 0.01);
        // The face rises at its eave edge's slope.
        const double slope = EaveSlope(outline, slopes, face);
        EXPECT_GT(slope, 0.0) << "the first edge lies on an outline edge";
        EXPECT_NEAR(std::acos(n.z) / kDeg, slope, 0.01);
    }
    EXPECT_NEAR(std::fabs(area), std::fabs(SignedPlanArea(outline)), 1e-5 * std::fabs(SignedPlanArea(outline)));
    return faces;
}

// Every edge keeps its own slope, and either way round the outline gives the same faces
// (within 0.01: unequal slopes take other rounding paths). (The solver's closed forms are
// tested with the kernel.)
TEST(ToolsSlopedRoof, OutlinesWithEqualAndUnequalSlopes)
{
    for (const Ring& shape : {kRectangle, kL, kU}) {
        const std::size_t n = shape.size();
        std::vector<float> equal(n, 30.0f);
        std::vector<float> unequal(n);
        for (std::size_t i = 0; i < n; ++i)
            unequal[i] = 22.0f + 4.0f * static_cast<float>(i);
        for (std::vector<float> slopes : {equal, unequal}) {
            Ring ring = Moved(shape, 0, 0, 6000.0);
            const Faces a = CheckRoof(ring, slopes);
            EXPECT_GE(a.GetSize(), static_cast<int>(n));
            ReverseOutline(ring, slopes);
            const Faces b = CheckRoof(ring, slopes);
            ASSERT_EQ(b.GetSize(), a.GetSize());
            for (const Ring& f : a)
                EXPECT_TRUE(std::any_of(b.begin(), b.end(), [&f](const Ring& g) {
                    return CTools::IsPtArraySame(f, g, 1, 0.01) != 0;
                })) << n;
        }
        // Equal slopes: every eave edge has its own face.
        Faces faces;
        ASSERT_EQ(CTools::GetSlopingRoofVtsAry(shape, equal, faces), 1);
        EXPECT_EQ(faces.GetSize(), static_cast<int>(n));
    }
}

TEST(ToolsSlopedRoof, FarFromTheOriginTheRoofIsTheSameTranslated)
{
    const double o = 5000000.0;
    const std::vector<float> slopes = {25.0f, 30.0f, 35.0f, 40.0f, 45.0f, 50.0f};
    const Faces near = CheckRoof(Moved(kL, 0, 0, 3000.0), slopes);
    const Faces far = CheckRoof(Moved(kL, o, o, 3000.0), slopes);
    ASSERT_EQ(far.GetSize(), near.GetSize());
    for (int j = 0; j < near.GetSize(); ++j)
        EXPECT_TRUE(CTools::IsPtArraySame(Moved(near[j], o, o, 0.0), far[j], 1, 1e-6)) << "face " << j;
}

TEST(ToolsSlopedRoof, RefusalsLeaveNoFaces)
{
    Faces faces;
    faces.Add(kRectangle);
    EXPECT_EQ(CTools::GetSlopingRoofVtsAry(kRectangle, {30, 30, 30}, faces), 0);
    EXPECT_EQ(faces.GetSize(), 0);
    faces.Add(kRectangle);
    EXPECT_EQ(CTools::GetSlopingRoofVtsAry({}, {}, faces), 0);
    EXPECT_EQ(faces.GetSize(), 0);
    // More outline points than the solver's record holds.
    Ring circle;
    for (int i = 0; i < 500; ++i)
        circle.emplace_back(10000 * std::cos(2 * M_PI * i / 500), 10000 * std::sin(2 * M_PI * i / 500), 0);
    faces.Add(kRectangle);
    EXPECT_EQ(CTools::GetSlopingRoofVtsAry(circle, std::vector<float>(500, 30.0f), faces), 0);
    EXPECT_EQ(faces.GetSize(), 0);
    // A slope the solver cannot build (a level edge).
    EXPECT_EQ(CTools::GetSlopingRoofVtsAry(kRectangle, {30, 0, 30, 30}, faces), 0);
    EXPECT_EQ(faces.GetSize(), 0);
}

// ---- ManageSlopevts ---------------------------------------------------------------------------

// A sloped face is reversed when it looks downward and then started at its lowest vertex,
// of equally low ones the first along Z x normal.
TEST(ToolsManageSlope, TableOfFaces)
{
    struct Case {
        Ring face;
        int result;
        Ring expected;
        const char* what;
    };
    const Case cases[] = {
        {{{0, 0, 0}, {1, 0, 1}}, 0, {{0, 0, 0}, {1, 0, 1}}, "two points are left alone"},
        {{{0, 0, 0}, {1, 0, 1}, {2, 0, 2}}, 0, {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}}, "no normal: left alone"},
        {{{0, 0, 5}, {10, 0, 5}, {10, 10, 5}}, 0, {{0, 0, 5}, {10, 0, 5}, {10, 10, 5}}, "level, upward: refused"},
        {{{0, 0, 5}, {10, 10, 5}, {10, 0, 5}}, 0, {{10, 0, 5}, {10, 10, 5}, {0, 0, 5}}, "level, downward: turned up"},
        {{{0, 10, 5}, {10, 10, 5}, {0, 0, 0}}, 1, {{0, 0, 0}, {10, 10, 5}, {0, 10, 5}}, "downward: reversed"},
        {{{10, 10, 5}, {0, 10, 5}, {5, 0, 0}}, 1, {{5, 0, 0}, {10, 10, 5}, {0, 10, 5}}, "lowest vertex last"},
        // Rising towards +y: Z x N points to +x, the eave vertex with the smaller x first.
        {{{10, 10, 5}, {0, 10, 5}, {0, 0, 0}, {10, 0, 0}}, 1, {{0, 0, 0}, {10, 0, 0}, {10, 10, 5}, {0, 10, 5}},
         "equally low, along +x"},
        // Rising towards -x: Z x N points to +y, the smaller y first though later in the array.
        {{{10, 10, 0}, {0, 10, 5}, {0, 0, 5}, {10, 0, 0}}, 1, {{10, 0, 0}, {10, 10, 0}, {0, 10, 5}, {0, 0, 5}},
         "equally low, along +y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ring face = c.face;
        EXPECT_EQ(CTools::ManageSlopevts(face), c.result);
        ExpectPointsNear(face, c.expected, 0.0);
    }
}

}  // namespace
