// CTools extents and plan classification: GetMinMax, bounding boxes, the level test,
// point-in-polygon codes, the oriented rectangle and region division.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

TEST(ToolsPointInRegion, SquareOfTheEdgeList)
{
    EXPECT_EQ(Code(5, 5, kSquare), 1);
    EXPECT_EQ(Code(15, 5, kSquare), 0);
    EXPECT_EQ(Code(0, 0, kSquare), 100);
    EXPECT_EQ(Code(10, 5, kSquare), 10);
    EXPECT_EQ(Code(5, 0, kSquare), 20);
    EXPECT_EQ(Code(10, 10.0005, kSquare), 100);
    EXPECT_EQ(Code(15, 10, kSquare), 0);  // level with the top edge, beyond it
    for (const GePoint3d& v : kSquare)
        EXPECT_EQ(Code(v.x, v.y, kSquare), 100);
    EXPECT_EQ(Code(0, 5, kSquare), 10);
    EXPECT_EQ(Code(5, 10, kSquare), 20);
}

// Tolerance 0.25 keeps every offset exact in binary, so the limits can be tested exactly.
TEST(ToolsPointInRegion, SquareAtTheToleranceEdge)
{
    const double t = 0.25;
    EXPECT_EQ(Code(10.25, 5, kSquare, t), 10);
    EXPECT_EQ(Code(10.375, 5, kSquare, t), 0);
    EXPECT_EQ(Code(9.75, 5, kSquare, t), 10);
    EXPECT_EQ(Code(9.625, 5, kSquare, t), 1);
    EXPECT_EQ(Code(5, -0.25, kSquare, t), 20);
    EXPECT_EQ(Code(5, -0.375, kSquare, t), 0);
    EXPECT_EQ(Code(5, 0.375, kSquare, t), 1);
    // The vertex test is a box per axis, not a distance: (0.25, 0.25) is 0.35 away.
    EXPECT_EQ(Code(10.25, 10.25, kSquare, t), 100);
    EXPECT_EQ(Code(10.25, 10.375, kSquare, t), 0);
    // Along a vertical edge but beyond its end (and off the vertex box): outside.
    EXPECT_EQ(Code(10, 10.375, kSquare, t), 0);
    EXPECT_EQ(Code(10, -0.375, kSquare, t), 0);
}

TEST(ToolsPointInRegion, LShape)
{
    for (const GePoint3d& v : kLShape)
        EXPECT_EQ(Code(v.x, v.y, kLShape), 100) << v.x << "," << v.y;
    for (const auto& [x, y] : {std::pair{20.0, 5.0}, {10.0, 15.0}, {0.0, 10.0}})
        EXPECT_EQ(Code(x, y, kLShape), 10) << x << "," << y;
    for (const auto& [x, y] : {std::pair{10.0, 0.0}, {15.0, 10.0}, {5.0, 20.0}})
        EXPECT_EQ(Code(x, y, kLShape), 20) << x << "," << y;
    // Inside, including right below and left of the inner corner (10,10).
    for (const auto& [x, y] : {std::pair{5.0, 5.0}, {5.0, 15.0}, {15.0, 5.0}, {10.0, 5.0}, {5.0, 10.0}, {9.0, 19.0}})
        EXPECT_EQ(Code(x, y, kLShape), 1) << x << "," << y;
    // Outside: the notch, beyond every side, level with edges but past them.
    for (const auto& [x, y] : {std::pair{15.0, 15.0}, {25.0, 5.0}, {-1.0, 5.0}, {5.0, -1.0}, {5.0, 25.0},
                               {15.0, 20.0}, {10.0, 25.0}, {25.0, 10.0}, {20.0, 15.0}})
        EXPECT_EQ(Code(x, y, kLShape), 0) << x << "," << y;
    EXPECT_EQ(Code(20.0009, 5, kLShape, 0.001), 10);
    EXPECT_EQ(Code(15, 10.0011, kLShape, 0.001), 0);
}

TEST(ToolsPointInRegion, SlopedEdge)
{
    for (const GePoint3d& v : kSloped)
        EXPECT_EQ(Code(v.x, v.y, kSloped), 100);
    EXPECT_EQ(Code(4, 7, kSloped), 30);
    EXPECT_EQ(Code(10, 5, kSloped), 10);
    EXPECT_EQ(Code(0, 2, kSloped), 10);
    EXPECT_EQ(Code(5, 0, kSloped), 20);
    EXPECT_EQ(Code(4, 6, kSloped), 1);
    EXPECT_EQ(Code(4, 8, kSloped), 0);
    // The on-line test measures the vertical offset from the edge's line.
    const double t = 0.25;
    EXPECT_EQ(Code(4, 7.25, kSloped, t), 30);
    EXPECT_EQ(Code(4, 6.75, kSloped, t), 30);
    EXPECT_EQ(Code(4, 7.375, kSloped, t), 0);
    EXPECT_EQ(Code(4, 6.625, kSloped, t), 1);
    // On the line of the edge but beyond its ends: not on it.
    EXPECT_EQ(Code(12, 11, kSloped, t), 0);
}

// A steep edge: a point 0.5 above its line is only 0.12 from it, yet not on it.
TEST(ToolsPointInRegion, SteepEdgeUsesTheVerticalOffset)
{
    const Ring steep = {{0, 0, 0}, {4, 0, 0}, {2, 8, 0}};
    EXPECT_EQ(Code(1, 4.25, steep, 0.25), 30);
    EXPECT_EQ(Code(1, 4.5, steep, 0.25), 0);
    EXPECT_EQ(Code(1, 3.5, steep, 0.25), 1);
}

TEST(ToolsPointInRegion, TrianglesOfTheEdgeList)
{
    const Ring right = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
    EXPECT_EQ(Code(5, 5, right), 30);
    EXPECT_EQ(Code(2, 2, right), 1);
    // Below the apex: the ray passes the apex, which counts for one of its edges only.
    const Ring apex = {{0, 0, 0}, {10, 0, 0}, {5, 10, 0}};
    EXPECT_EQ(Code(5, -5, apex), 0);
    EXPECT_EQ(Code(5, 5, apex), 1);
    EXPECT_EQ(CTools::PtRegionRelation({1, 1, 0}, {}, 0.001), 0);
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

TEST(ToolsOutsideBox, SquareAlongX)
{
    OUTSIDEBOX box;
    CTools::GetOutsideBox(GePoint3d(), GeVector3d(1, 0, 0), kSquare, box);
    ExpectPoint(box.pts[0], {10, 10, 0});
    ExpectPoint(box.pts[1], {0, 10, 0});
    ExpectPoint(box.pts[2], {0, 0, 0});
    ExpectPoint(box.pts[3], {10, 0, 0});
    OUTSIDEBOX zero;
    CTools::GetOutsideBox(GePoint3d(), GeVector3d(0, 0, 0), kSquare, zero);
    for (std::size_t i = 0; i < 4; ++i)
        ExpectPoint(zero.pts[i], box.pts[i], 0.0);
}

// A direction with negative y is reversed; the box lies at z = 0 whatever the heights,
// and the base point takes no part.
TEST(ToolsOutsideBox, ReversedDirectionHeightsAndBase)
{
    Ring raised = kSquare;
    for (GePoint3d& p : raised)
        p.z = 7;
    OUTSIDEBOX a, b;
    CTools::GetOutsideBox(GePoint3d(100, 100, 100), GeVector3d(0, -1, 0), raised, a);
    CTools::GetOutsideBox(GePoint3d(-3, 4, 0), GeVector3d(0, 2, 0), raised, b);
    ExpectPoint(a.pts[0], {0, 10, 0});
    ExpectPoint(a.pts[1], {0, 0, 0});
    ExpectPoint(a.pts[2], {10, 0, 0});
    ExpectPoint(a.pts[3], {10, 10, 0});
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a.pts[static_cast<std::size_t>(i)], b.pts[static_cast<std::size_t>(i)]);
}

TEST(ToolsOutsideBox, NoPointsLeaveTheBox)
{
    OUTSIDEBOX box;
    box.pts[2] = GePoint3d(1, 2, 3);
    EXPECT_NO_THROW(CTools::GetOutsideBox(GePoint3d(), GeVector3d(1, 1, 0), {}, box));
    EXPECT_EQ(box.pts[2], GePoint3d(1, 2, 3));
    EXPECT_EQ(box.pts[0], GePoint3d());
    const OUTSIDEBOX3d unused;
    EXPECT_EQ(unused.measures[0], 0.0);
    EXPECT_EQ(unused.measures[2], 0.0);
}

// Random clouds and directions: every point lies inside, the first edge runs against the
// direction and the second across it, and the area is the product of the extents along
// and across the direction.
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
        double minA = 1e300, maxA = -1e300, minC = 1e300, maxC = -1e300;
        for (const GePoint3d& p : pts) {
            minA = std::min(minA, p.AsVector().DotProduct(along));
            maxA = std::max(maxA, p.AsVector().DotProduct(along));
            minC = std::min(minC, p.AsVector().DotProduct(across));
            maxC = std::max(maxC, p.AsVector().DotProduct(across));
        }
        const GeVector3d e1 = box.pts[1] - box.pts[0];
        const GeVector3d e2 = box.pts[2] - box.pts[1];
        ASSERT_NEAR(e1.DotProduct(along), -(maxA - minA), 1e-7) << round;
        ASSERT_NEAR(std::abs(e1.DotProduct(across)), 0.0, 1e-7);
        ASSERT_NEAR(std::abs(e2.DotProduct(along)), 0.0, 1e-7);
        ASSERT_NEAR(e1.Length() * e2.Length(), (maxA - minA) * (maxC - minC), 1e-6);
        for (const GePoint3d& c : box.pts)
            ASSERT_EQ(c.z, 0.0);
        // Inside: the projections of the points lie within those of the corners.
        double boxMinA = 1e300, boxMaxA = -1e300, boxMinC = 1e300, boxMaxC = -1e300;
        for (const GePoint3d& c : box.pts) {
            boxMinA = std::min(boxMinA, c.AsVector().DotProduct(along));
            boxMaxA = std::max(boxMaxA, c.AsVector().DotProduct(along));
            boxMinC = std::min(boxMinC, c.AsVector().DotProduct(across));
            boxMaxC = std::max(boxMaxC, c.AsVector().DotProduct(across));
        }
        ASSERT_NEAR(boxMinA, minA, 1e-7);
        ASSERT_NEAR(boxMaxA, maxA, 1e-7);
        ASSERT_NEAR(boxMinC, minC, 1e-7);
        ASSERT_NEAR(boxMaxC, maxC, 1e-7);
    }
}

// ---- region division -----------------------------------------------------------------

TEST(ToolsRegionDivide, SquareOfTheEdgeList)
{
    Ring out;
    EXPECT_EQ(CTools::RegionDivideWithSpace(kSquare, 5, 5, out), 1);
    ASSERT_EQ(out.size(), 4u);
    ExpectPoint(out[0], {2.5, 2.5, 0}, 0);
    ExpectPoint(out[1], {2.5, 7.5, 0}, 0);
    ExpectPoint(out[2], {7.5, 2.5, 0}, 0);
    ExpectPoint(out[3], {7.5, 7.5, 0}, 0);

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
    Ring lifted = kLShape;
    for (GePoint3d& p : lifted)
        p.z = 3.5;
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
