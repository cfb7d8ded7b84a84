// CTools extents and plan classification: GetMinMax, bounding boxes, the level test,
// point-in-polygon codes, the oriented rectangle and region division.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <numbers>
#include <random>
#include <vector>

#include "DbDatabase.h"
#include "EntityArray.h"
#include "GetMinMax.h"
#include "HostSolids.h"
#include "Tools.h"
#include "ToolsTestSupport.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"

namespace {

using namespace tools_test;

const Ring kSquare = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
const Ring kLShape = {{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, 0}, {10, 20, 0}, {0, 20, 0}};
// A pentagon-like outline with one gently sloped edge (slope 1/2, from (10,10) to (0,5)).
const Ring kSloped = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 5, 0}};

int Code(double x, double y, const Ring& polygon, double tol = 0.001)
{
    return CTools::PtRegionRelation(GePoint3d(x, y, 0), polygon, tol);
}

// ---- GetMinMax -------------------------------------------------------------------------

TEST(ToolsGetMinMax, LargestThenSmallest)
{
    const double values[] = {3, 1, 4, 1, 5, 9, 2, 6, -5, 0};
    double largest = 0, smallest = 0;
    GetMinMax(values, 10, &largest, &smallest);
    EXPECT_EQ(largest, 9);
    EXPECT_EQ(smallest, -5);
    GetMinMax(values, 1, &largest, &smallest);
    EXPECT_EQ(largest, 3);
    EXPECT_EQ(smallest, 3);
    // A count of 0 leaves both outputs as they were.
    largest = 77;
    smallest = -77;
    GetMinMax(values, 0, &largest, &smallest);
    EXPECT_EQ(largest, 77);
    EXPECT_EQ(smallest, -77);
    GetMinMax(nullptr, 3, &largest, &smallest);
    EXPECT_EQ(largest, 77);
}

// ---- bounding boxes ------------------------------------------------------------------

TEST(ToolsBoundBox, OfPoints)
{
    GeBoundBox3d box;
    CTools::GetBoundBox3d(Ring{{1, 5, -2}, {-3, 2, 4}, {7, -1, 0}}, box);
    EXPECT_EQ(box.MinPoint(), GePoint3d(-3, -1, -2));
    EXPECT_EQ(box.MaxPoint(), GePoint3d(7, 5, 4));
}

// No points: the box is set to the origin, and nothing is thrown at the caller.
TEST(ToolsBoundBox, NoPointsGiveTheOrigin)
{
    GeBoundBox3d box;
    box.Set(GePoint3d(1, 2, 3), GePoint3d(4, 5, 6));
    EXPECT_NO_THROW(CTools::GetBoundBox3d(Ring{}, box));
    EXPECT_FALSE(box.IsEmpty());
    EXPECT_EQ(box.MinPoint(), GePoint3d(0, 0, 0));
    EXPECT_EQ(box.MaxPoint(), GePoint3d(0, 0, 0));
    box.Set(GePoint3d(1, 2, 3), GePoint3d(4, 5, 6));
    EXPECT_NO_THROW(CTools::GetBoundBox3d(EntityArray{}, box));
    EXPECT_EQ(box.MaxPoint(), GePoint3d(0, 0, 0));
}

TEST(ToolsBoundBox, OfEntities)
{
    host::NewDrawing();
    DbDatabase* db = dec::GetWorkingDatabase();
    DbAutoOpen open;
    const long layer = db->GetTableLayer()->GetCurrentLayerID();
    const GePoint3d outline[] = {{-5, 3, 1}, {2, 8, 1}, {0, -4, 1}};
    auto* polyline = new decDbPolyline(3, outline, 1);
    db->CreateNewEntity(layer, polyline);
    GeMatrix3d moved;
    moved.SetToTranslation(GeVector3d(100, 200, 5));
    decObjectId boxId;
    db->CreateNewEntity(layer, new decDbBox(30, 20, 10), moved, boxId);
    // An empty polyline has no extent; it and a null entry are left out.
    auto* empty = new decDbPolyline();
    db->CreateNewEntity(layer, empty);

    GeBoundBox3d box;
    CTools::GetBoundBox3d(EntityArray{polyline, db->GetObjectById(boxId), empty, nullptr}, box);
    EXPECT_EQ(box.MinPoint(), GePoint3d(-5, -4, 1));
    EXPECT_EQ(box.MaxPoint(), GePoint3d(130, 220, 15));
    EXPECT_EQ(polyline->IsOpenForRead(), 0);  // every entity is closed again
    CTools::GetBoundBox3d(EntityArray{empty}, box);
    EXPECT_EQ(box.MaxPoint(), GePoint3d(0, 0, 0));
}

TEST(ToolsLevel, ExactHeightsOnly)
{
    EXPECT_EQ(CTools::isAllPtsOnSameHeight({}), 1);
    EXPECT_EQ(CTools::isAllPtsOnSameHeight({{1, 2, 3}}), 1);
    EXPECT_EQ(CTools::isAllPtsOnSameHeight({{0, 0, 5}, {1, 0, 5}, {9, 9, 5}}), 1);
    EXPECT_EQ(CTools::isAllPtsOnSameHeight({{0, 0, 0}, {1, 0, 0.0000001}}), 0);
    EXPECT_EQ(CTools::isAllPtsOnSameHeight({{0, 0, 1}, {1, 0, 1}, {1, 1, 2}}), 0);
}

TEST(ToolsPointBelongs, ThreeDimensionalDistanceInclusive)
{
    const Ring pts = {{10, 10, 10}, {3, 4, 0}};
    EXPECT_EQ(CTools::IsPtBelongToArray({0, 0, 0}, pts, 5.0), 1);
    EXPECT_EQ(CTools::IsPtBelongToArray({0, 0, 0}, pts, 4.999), 0);
    EXPECT_EQ(CTools::IsPtBelongToArray({3, 4, 1}, pts, 0.5), 0);  // z counts
    EXPECT_EQ(CTools::IsPtBelongToArray({3, 4, 0}, {}, 1.0), 0);
}

// ---- point in polygon ----------------------------------------------------------------

// Tolerance 0.25 keeps every offset exact in binary, so the limits are tested exactly.
TEST(ToolsPointInRegion, TableOfCodes)
{
    const Ring steep = {{0, 0, 0}, {4, 0, 0}, {2, 8, 0}};
    const Ring right = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
    const Ring apex = {{0, 0, 0}, {10, 0, 0}, {5, 10, 0}};
    const Ring empty;
    struct Case {
        const Ring* polygon;
        double x, y, tol;
        int code;
        const char* what;
    };
    const double t = 0.25, d = 0.001;
    const Case cases[] = {
        {&kSquare, 5, 5, d, 1, "inside"},
        {&kSquare, 15, 5, d, 0, "outside"},
        {&kSquare, 10, 10.0005, d, 100, "vertex within tol"},
        {&kSquare, 10, 5, d, 10, "right edge"},
        {&kSquare, 5, 0, d, 20, "bottom edge"},
        {&kSquare, 15, 10, d, 0, "level with the top edge, beyond it"},
        {&kSquare, 10.25, 5, t, 10, "vertical edge at +tol"},
        {&kSquare, 10.375, 5, t, 0, "vertical edge beyond tol"},
        {&kSquare, 9.75, 5, t, 10, "vertical edge at -tol"},
        {&kSquare, 9.625, 5, t, 1, "inside of the vertical band"},
        {&kSquare, 5, -0.25, t, 20, "horizontal edge at -tol"},
        {&kSquare, 5, -0.375, t, 0, "below the horizontal band"},
        {&kSquare, 5, 0.375, t, 1, "above the horizontal band"},
        {&kSquare, 10.25, 10.25, t, 100, "vertex box per axis, not a distance"},
        {&kSquare, 10.25, 10.375, t, 0, "off the vertex box"},
        {&kSquare, 10, 10.375, t, 0, "along a vertical edge past its end"},
        {&kSquare, 10, -0.375, t, 0, "along a vertical edge before its start"},
        {&kLShape, 20, 5, d, 10, "L right edge"},
        {&kLShape, 10, 15, d, 10, "L inner vertical edge"},
        {&kLShape, 15, 10, d, 20, "L inner horizontal edge"},
        {&kLShape, 5, 5, d, 1, "L inside"},
        {&kLShape, 5, 15, d, 1, "L upper arm"},
        {&kLShape, 15, 5, d, 1, "L right arm"},
        {&kLShape, 10, 5, d, 1, "right below the inner corner"},
        {&kLShape, 5, 10, d, 1, "left of the inner corner"},
        {&kLShape, 15, 15, d, 0, "the notch"},
        {&kLShape, 25, 5, d, 0, "beyond the right"},
        {&kLShape, 15, 20, d, 0, "level with the top, past it"},
        {&kLShape, 25, 10, d, 0, "level with the inner edge, past it"},
        {&kLShape, 20, 15, d, 0, "in line with the right edge, past it"},
        {&kLShape, 20.0009, 5, d, 10, "L right edge within tol"},
        {&kLShape, 15, 10.0011, d, 0, "L inner edge beyond tol"},
        {&kSloped, 4, 7, d, 30, "sloped edge"},
        {&kSloped, 10, 5, d, 10, "vertical edge of the sloped outline"},
        {&kSloped, 5, 0, d, 20, "bottom of the sloped outline"},
        {&kSloped, 4, 6, d, 1, "below the slope"},
        {&kSloped, 4, 8, d, 0, "above the slope"},
        {&kSloped, 4, 7.25, t, 30, "vertical offset +tol"},
        {&kSloped, 4, 6.75, t, 30, "vertical offset -tol"},
        {&kSloped, 4, 7.375, t, 0, "above the sloped band"},
        {&kSloped, 4, 6.625, t, 1, "below the sloped band"},
        {&kSloped, 12, 11, t, 0, "on the slope's line past its end"},
        {&steep, 1, 4.25, t, 30, "steep edge, vertical offset tol"},
        {&steep, 1, 4.5, t, 0, "0.12 from a steep edge yet not on it"},
        {&steep, 1, 3.5, t, 1, "inside the steep triangle"},
        {&right, 5, 5, d, 30, "hypotenuse"},
        {&right, 2, 2, d, 1, "inside the right triangle"},
        {&apex, 5, -5, d, 0, "ray through the apex counts once"},
        {&apex, 5, 5, d, 1, "inside below the apex"},
        {&empty, 1, 1, d, 0, "no polygon"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Code(c.x, c.y, *c.polygon, c.tol), c.code) << c.what;
    for (const Ring* polygon : {&kSquare, &kLShape, &kSloped})
        for (const GePoint3d& v : *polygon)
            EXPECT_EQ(Code(v.x, v.y, *polygon), 100) << v.x << "," << v.y;
}

// Point-segment distance in plan, for keeping random points away from the boundary.
double DistanceToSegment(const GePoint3d& p, const GePoint3d& a, const GePoint3d& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double s = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    s = std::clamp(s, 0.0, 1.0);
    return std::hypot(p.x - (a.x + s * dx), p.y - (a.y + s * dy));
}

// Even-odd rule with a ray to the right and half-open edges.
bool EvenOdd(const GePoint3d& p, const Ring& polygon)
{
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const GePoint3d& a = polygon[i];
        const GePoint3d& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

// Random star-shaped polygons and random points well away from their edges.
TEST(ToolsPointInRegion, RandomPolygonsAgainstEvenOdd)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> radius(2, 20), coordinate(-25, 25);
    const double tol = 0.001;
    int inside = 0, outside = 0;
    for (int shape = 0; shape < 60; ++shape) {
        const int n = 3 + shape % 10;
        Ring polygon;
        for (int k = 0; k < n; ++k) {
            const double angle = 2 * std::numbers::pi * (k + 0.5 * (shape % 3) / 3.0) / n;
            const double r = radius(rng);
            polygon.emplace_back(r * std::cos(angle), r * std::sin(angle), 0);
        }
        for (int i = 0; i < 200; ++i) {
            const GePoint3d p(coordinate(rng), coordinate(rng), 0);
            bool clear = true;
            for (std::size_t k = 0; k < polygon.size() && clear; ++k)
                clear = DistanceToSegment(p, polygon[k], polygon[(k + 1) % polygon.size()]) > 10 * tol &&
                        std::abs(p.x - polygon[k].x) > 10 * tol;
            if (!clear)
                continue;
            const bool expected = EvenOdd(p, polygon);
            (expected ? inside : outside)++;
            ASSERT_EQ(CTools::PtRegionRelation(p, polygon, tol), expected ? 1 : 0)
                << "shape " << shape << " point " << p.x << "," << p.y;
        }
    }
    EXPECT_GT(inside, 500);
    EXPECT_GT(outside, 500);
}

// ---- oriented rectangle --------------------------------------------------------------

// Along x the corners run from (max, max); a direction with negative y is reversed and a
// zero one reads as x; the box lies at z = 0 whatever the heights, the base point takes no
// part, and no points leave the box as it was.
TEST(ToolsOutsideBox, CornerOrderDirectionsAndNoPoints)
{
    const Ring alongX = {{10, 10, 0}, {0, 10, 0}, {0, 0, 0}, {10, 0, 0}};
    const Ring alongY = {{0, 10, 0}, {0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    const struct {
        GePoint3d base;
        GeVector3d dir;
        const Ring* expected;
    } cases[] = {
        {{}, {1, 0, 0}, &alongX},
        {{}, {0, 0, 0}, &alongX},
        {{100, 100, 100}, {0, -1, 0}, &alongY},
        {{-3, 4, 0}, {0, 2, 0}, &alongY},
    };
    for (const auto& c : cases) {
        OUTSIDEBOX box;
        CTools::GetOutsideBox(c.base, c.dir, Lifted(kSquare, 7), box);
        ExpectPointsNear(Ring(std::begin(box.pts), std::end(box.pts)), *c.expected);
    }
    OUTSIDEBOX box;
    box.pts[2] = GePoint3d(1, 2, 3);
    EXPECT_NO_THROW(CTools::GetOutsideBox(GePoint3d(), GeVector3d(1, 1, 0), {}, box));
    EXPECT_EQ(box.pts[2], GePoint3d(1, 2, 3));
    EXPECT_EQ(box.pts[0], GePoint3d());
}

// The smallest and largest projection of the points on the axis.
std::pair<double, double> Extent(std::span<const GePoint3d> pts, const GeVector3d& axis)
{
    std::pair<double, double> e{1e300, -1e300};
    for (const GePoint3d& p : pts) {
        e.first = std::min(e.first, p.AsVector().DotProduct(axis));
        e.second = std::max(e.second, p.AsVector().DotProduct(axis));
    }
    return e;
}

// Random clouds and directions: the box spans exactly the extents of the points along and
// across the direction, at z 0, its first edge running against the direction.
TEST(ToolsOutsideBox, RandomCloudsAgainstProjection)
{
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(-50, 50), angle(0, 2 * std::numbers::pi);
    for (int round = 0; round < 200; ++round) {
        Ring pts;
        for (int i = 0; i < 3 + round % 12; ++i)
            pts.emplace_back(u(rng), u(rng), u(rng));
        const double a = angle(rng);
        const GeVector3d dir(std::cos(a), std::sin(a), 0);
        OUTSIDEBOX box;
        CTools::GetOutsideBox(GePoint3d(), dir, pts, box);

        const GeVector3d along = dir.y < 0 ? -dir : dir;
        const GeVector3d across(-along.y, along.x, 0);
        const auto [minA, maxA] = Extent(pts, along);
        const auto [minC, maxC] = Extent(pts, across);
        const GeVector3d e1 = box.pts[1] - box.pts[0];
        const GeVector3d e2 = box.pts[2] - box.pts[1];
        ASSERT_NEAR(e1.DotProduct(along), -(maxA - minA), 1e-7) << round;
        ASSERT_NEAR(e1.DotProduct(across), 0.0, 1e-7);
        ASSERT_NEAR(e2.DotProduct(along), 0.0, 1e-7);
        const auto [boxMinA, boxMaxA] = Extent(box.pts, along);
        const auto [boxMinC, boxMaxC] = Extent(box.pts, across);
        ASSERT_NEAR(boxMinA, minA, 1e-7);
        ASSERT_NEAR(boxMaxA, maxA, 1e-7);
        ASSERT_NEAR(boxMinC, minC, 1e-7);
        ASSERT_NEAR(boxMaxC, maxC, 1e-7);
        for (const GePoint3d& c : box.pts)
            ASSERT_EQ(c.z, 0.0);
    }
}

// ---- region division -----------------------------------------------------------------

TEST(ToolsRegionDivide, SquareOfTheEdgeList)
{
    Ring out;
    EXPECT_EQ(CTools::RegionDivideWithSpace(kSquare, 5, 5, out), 1);
    ExpectPointsNear(out, {{2.5, 2.5, 0}, {2.5, 7.5, 0}, {7.5, 2.5, 0}, {7.5, 7.5, 0}}, 0);

    Ring nine = {{-1, -1, -1}};  // appended to
    EXPECT_EQ(CTools::RegionDivideWithSpace(kSquare, 4, 4, nine), 1);
    ASSERT_EQ(nine.size(), 10u);
    EXPECT_EQ(nine[0], GePoint3d(-1, -1, -1));
    int onBoundary = 0;
    for (std::size_t i = 1; i < nine.size(); ++i)
        onBoundary += CTools::PtRegionRelation(nine[i], kSquare, 0.1) >= 10 ? 1 : 0;
    EXPECT_EQ(onBoundary, 5);  // x = 10 or y = 10
    ExpectPoint(nine[9], {10, 10, 0}, 0);
}

TEST(ToolsRegionDivide, SamplesAtTheRegionHeightAndCornersThatTouch)
{
    const Ring lifted = Lifted(kLShape, 3.5);
    Ring out;
    EXPECT_EQ(CTools::RegionDivideWithSpace(lifted, 5, 5, out), 1);
    // Of the 16 cells only the one at (17.5, 17.5) in the notch touches nothing; the cell
    // at (12.5, 12.5) is kept by its corner at the inner vertex.
    ASSERT_EQ(out.size(), 15u);
    EXPECT_EQ(std::count(out.begin(), out.end(), GePoint3d(17.5, 17.5, 3.5)), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), GePoint3d(12.5, 12.5, 3.5)), 1);
    for (const GePoint3d& p : out)
        EXPECT_EQ(p.z, 3.5);
}

TEST(ToolsRegionDivide, RegionOfNoWidth)
{
    Ring out;
    EXPECT_EQ(CTools::RegionDivideWithSpace({{2, 0, 1}, {2, 10, 1}}, 5, 5, out), 1);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], GePoint3d(2, 2.5, 1));
    EXPECT_EQ(out[1], GePoint3d(2, 7.5, 1));
    out.clear();
    EXPECT_EQ(CTools::RegionDivideWithSpace({{0, 4, 0}, {6, 4, 0}}, 4, 1, out), 1);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1], GePoint3d(6, 4, 0));
}

TEST(ToolsRegionDivide, RefusedRegionsAndSpacings)
{
    Ring out = {{9, 9, 9}};
    EXPECT_EQ(CTools::RegionDivideWithSpace({{0, 0, 0}, {10, 0, 0}, {10, 10, 0.0000001}}, 5, 5, out), 0);
    EXPECT_EQ(CTools::RegionDivideWithSpace({}, 5, 5, out), 0);
    EXPECT_EQ(CTools::RegionDivideWithSpace({{1, 1, 0}}, 5, 5, out), 0);
    for (const auto& [sx, sy] : {std::pair{0.0, 5.0}, {5.0, 0.0}, {-5.0, 5.0}, {5.0, -1.0}, {NAN, 5.0}})
        EXPECT_EQ(CTools::RegionDivideWithSpace(kSquare, sx, sy, out), 0);
    // More cells than a grid may have.
    EXPECT_EQ(CTools::RegionDivideWithSpace(kSquare, 1e-6, 1e-6, out), 0);
    EXPECT_EQ(CTools::RegionDivideWithSpace(kSquare, 1e-300, 5, out), 0);
    EXPECT_EQ(out.size(), 1u);
}

}  // namespace
