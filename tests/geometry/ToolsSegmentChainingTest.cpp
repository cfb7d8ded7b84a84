// The double-precision segment clean-up, chaining and face tracing of CTools
// (qudiaofeifaxianduanzcx, xianduanhechengzcx_c, xianduanhechengmianzcx): documented cases
// as tables, random polygons taken apart and chained back, and the refusals past 9999.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "SegmentTestSupport.h"
#include "Tools.h"

using namespace segment_test;

namespace {

Segs Clean(const Segs& segs, double tol)
{
    SegmentArrays a(segs);
    long n = long(segs.size());
    CTools::qudiaofeifaxianduanzcx(a.x1.data(), a.y1.data(), a.z1.data(), a.x2.data(), a.y2.data(), a.z2.data(), n,
                                   tol);
    return a.Read(std::size_t(n));
}

TEST(ToolsSegmentCleanUp, TableOfStages)
{
    const Segs square = Sides(Square(0, 0, 10)), right = Sides(Square(10, 0, 10));
    const Segs spur{{{10, 10, 0}, {15, 15, 0}}};
    const struct {
        const char* name;
        Segs in, out;
    } cases[] = {
        {"a square with a spur keeps the square", square + spur, square},
        {"a segment within tol of a point goes", Segs{{{3, 3, 3}, {3.5, 3.5, 3.5}}} + square, square},
        {"a reversed repeat goes, the first stays", square + Segs{{square[1].e, square[1].s}}, square},
        {"a lone segment is no spur", spur, spur},
        {"the side two squares share goes", square + right, {square[0], square[2], square[3], right[0], right[1], right[2]}},
    };
    for (const auto& c : cases) {
        const Segs out = Clean(c.in, 1.0);
        ASSERT_EQ(out.size(), c.out.size()) << c.name;
        for (std::size_t k = 0; k < out.size(); ++k)
            EXPECT_TRUE(out[k].s == c.out[k].s && out[k].e == c.out[k].e) << c.name << " segment " << k;
    }
}

struct Chains {
    std::vector<short> codes;
    std::vector<GePoint3dArray> points;
    int result = -1;
};

Chains Chain(int mode, const Segs& segs, double tol)
{
    SegmentArrays a(segs);
    long n = long(segs.size()), chainCount = 0, pointCount = 0;
    const std::size_t room = 2 * segs.size() + 2;
    std::vector<short> codes(room), counts(room);
    std::vector<double> ox(room), oy(room), oz(room);
    Chains out;
    out.result = CTools::xianduanhechengzcx_c(mode, a.x1.data(), a.y1.data(), a.z1.data(), a.x2.data(), a.y2.data(),
                                              a.z2.data(), n, tol, chainCount, pointCount, codes.data(), counts.data(),
                                              ox.data(), oy.data(), oz.data());
    long next = 1;
    for (long c = 1; c <= chainCount; ++c) {
        out.codes.push_back(codes[c]);
        out.points.emplace_back();
        for (int k = 0; k < counts[c]; ++k, ++next)
            out.points.back().push_back({ox[next], oy[next], oz[next]});
    }
    EXPECT_EQ(next - 1, pointCount);
    return out;
}

TEST(ToolsSegmentChaining, RingsAndPolylinesByMode)
{
    const GePoint3d o{0, 0, 0}, a{10, 0, 0}, b{10, 10, 0}, c{20, 0, 0}, d{30, 10, 0}, e{40, 0, 0}, f{0, 10, 0};
    const struct {
        const char* name;
        int mode;
        Segs segs;
        std::vector<short> codes;
        std::vector<GePoint3dArray> chains;
    } cases[] = {
        {"a shuffled square with reversed sides is one ring", 1, {{a, b}, {f, o}, {a, o}, {b, f}}, {10001}, {{a, o, f, b}}},
        {"an L gives nothing in mode 1", 1, {{o, a}, {a, b}}, {}, {}},
        {"an L in mode 2 runs from the far end of the last segment added", 2, {{o, a}, {a, b}}, {1001}, {{b, a, o}}},
        {"with nothing added at the second end, from the first growth's free end to s's end", 2,
         {{a, o}, {a, b}}, {1001}, {{b, a, o}}},
        {"a lone segment runs from its start to its end", 2, {{a, o}}, {1001}, {{a, o}}},
        {"a zig-zag of four segments gives five points", 2, {{o, b}, {b, c}, {c, d}, {d, e}}, {1001}, {{e, d, c, b, o}}},
        {"growth at both ends", 2, {{b, c}, {o, b}, {c, d}}, {1001}, {{d, c, b, o}}},
        {"a zig-zag gives nothing in mode 1", 1, {{o, b}, {b, c}, {c, d}, {d, e}}, {}, {}},
    };
    for (const auto& k : cases) {
        const Chains out = Chain(k.mode, k.segs, 0.5);
        EXPECT_EQ(out.result, 1) << k.name;
        EXPECT_EQ(out.codes, k.codes) << k.name;
        EXPECT_EQ(out.points, k.chains) << k.name;
    }
}

TEST(ToolsSegmentChaining, ChainsAppendAndPassThroughFloat)
{
    SegmentArrays a(Sides(Square(0.1, 0.1, 1000)));
    long n = 4, chainCount = 1, pointCount = 2;  // one earlier chain of two points
    std::vector<short> codes(4, 7), counts(4, 2);
    std::vector<double> ox(8, -1), oy(8, -1), oz(8, -1);
    ASSERT_EQ(CTools::xianduanhechengzcx_c(1, a.x1.data(), a.y1.data(), a.z1.data(), a.x2.data(), a.y2.data(),
                                           a.z2.data(), n, 0.5, chainCount, pointCount, codes.data(), counts.data(),
                                           ox.data(), oy.data(), oz.data()),
              1);
    EXPECT_EQ(chainCount, 2);
    EXPECT_EQ(pointCount, 6);
    EXPECT_EQ(codes[1], 7);
    EXPECT_EQ(codes[2], 10001);
    EXPECT_EQ(counts[2], 4);
    EXPECT_EQ(ox[2], -1.0);
    EXPECT_EQ(ox[3], double(0.1f));
}

// The edges of a random star-shaped polygon, shuffled and some reversed, chain back into
// the polygon.
TEST(ToolsSegmentChaining, ShuffledPolygonEdgesChainIntoTheirRing)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> radius(3000, 9000), unit(0, 1);
    for (int sides : {20, 57, 120, 200}) {
        std::vector<double> angles(sides);
        for (double& t : angles)
            t = unit(gen) * 6.283185307179586;
        std::sort(angles.begin(), angles.end());
        GePoint3dArray ring;
        for (double t : angles) {
            const double r = radius(gen);
            const GePoint3d p{std::round(r * std::cos(t)), std::round(r * std::sin(t)), 500};
            if (ring.empty() || p.DistanceTo(ring.back()) > 5)
                ring.push_back(p);
        }
        if (ring.back().DistanceTo(ring.front()) <= 5)
            ring.pop_back();
        Segs edges = Sides(ring);
        std::shuffle(edges.begin(), edges.end(), gen);
        for (std::size_t k = 0; k < edges.size(); k += 3)
            std::swap(edges[k].s, edges[k].e);
        const Chains out = Chain(1, edges, 0.5);
        ASSERT_EQ(out.codes, std::vector<short>{10001}) << sides << " sides";
        EXPECT_TRUE(CTools::IsPtArraySame(out.points[0], ring, 0, 1e-3)) << sides << " sides";
    }
}

// The point in the plane numbered as the tracer numbers them: 1 YZ, 2 XZ, 3 XY.
GePoint3d InPlane(long plane, double u, double v)
{
    return plane == 1 ? GePoint3d(7, u, v) : plane == 2 ? GePoint3d(u, 7, v) : GePoint3d(u, v, 7);
}

// The faces traced in the plane from rings given by their coordinates in it, and the extra
// segments; `count` gets the segment count the clean-up leaves in the caller's list.
std::vector<GePoint3dArray> Trace(long plane, const std::vector<std::vector<std::pair<double, double>>>& rings,
                                  const Segs& extra = {}, long* count = nullptr)
{
    Segs segs;
    for (const auto& ring : rings) {
        GePoint3dArray pts;
        for (const auto& [u, v] : ring)
            pts.push_back(InPlane(plane, u, v));
        segs = segs + Sides(pts);
    }
    segs = segs + extra;
    SegmentArrays a(segs);
    long n = long(segs.size()), faceCount = -1;
    std::vector<double> ox(segs.size() + 1), oy(ox), oz(ox);
    std::vector<long> counts(segs.size() + 1);
    CTools::xianduanhechengmianzcx(a.x1.data(), a.y1.data(), a.z1.data(), a.x2.data(), a.y2.data(), a.z2.data(), n,
                                   0.5, plane, ox.data(), oy.data(), oz.data(), counts.data(), faceCount);
    std::vector<GePoint3dArray> faces;
    for (long f = 1, next = 1; f <= faceCount; ++f) {
        faces.emplace_back();
        for (long k = 0; k < counts[f]; ++k, ++next)
            faces.back().push_back({ox[next], oy[next], oz[next]});
    }
    if (count)
        *count = n;
    return faces;
}

TEST(ToolsSegmentFaces, SquaresSharedSidesSpursAndJunctionsInEachPlane)
{
    const std::vector<std::pair<double, double>> a{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const std::vector<std::pair<double, double>> b{{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    const std::vector<std::pair<double, double>> right{{10, 0}, {20, 0}, {20, 10}, {10, 10}};
    for (long plane = 1; plane <= 3; ++plane) {
        const auto at = [plane](double u, double v) { return InPlane(plane, u, v); };
        SCOPED_TRACE("plane " + std::to_string(plane));
        EXPECT_EQ(Trace(plane, {a}), (std::vector<GePoint3dArray>{{at(0, 0), at(10, 0), at(10, 10), at(0, 10)}}));
        // The shared side is cleaned away first, from the caller's list too: one face, the
        // outer outline.
        long left = 0;
        const auto two = Trace(plane, {a, right}, {}, &left);
        EXPECT_EQ(left, 6);
        ASSERT_EQ(two.size(), 1u);
        EXPECT_EQ(two[0].size(), 6u);
        const auto spur = Trace(plane, {a}, {{at(10, 10), at(15, 15)}});
        ASSERT_EQ(spur.size(), 1u);
        EXPECT_EQ(spur[0].size(), 4u);
        // Squares touching at a corner: at the junction the first way counter-clockwise
        // from the way back leads into the other square, and one figure-eight comes out.
        EXPECT_EQ(Trace(plane, {a, b}), (std::vector<GePoint3dArray>{{at(0, 0), at(10, 0), at(10, 10), at(20, 10),
                                                                       at(20, 20), at(10, 20), at(10, 10), at(0, 10)}}));
    }
    // Outside the three planes the junction has no answer: that face is abandoned, and the
    // other square is traced from its own first side.
    EXPECT_EQ(Trace(0, {a, b}), (std::vector<GePoint3dArray>{{{10, 10, 7}, {20, 10, 7}, {20, 20, 7}, {10, 20, 7}}}));
    EXPECT_TRUE(Trace(3, {{{0, 0}, {0.5, 0}, {0.5, 0.5}, {0, 0.5}}}).empty());
}

TEST(ToolsSegmentChaining, MoreThan9999SegmentsAreRefusedUntouched)
{
    Segs segs;
    for (int k = 0; k < 10000; ++k)
        segs.push_back({{0, 10.0 * k, 0}, {5, 10.0 * k, 0}});
    segs[1] = segs[0];  // a repeat the clean-up would drop
    SegmentArrays a(segs);
    const SegmentArrays before(segs);
    long n = 10000, chainCount = 0, pointCount = 0, faceCount = 5;
    std::vector<short> codes(2), counts(2);
    std::vector<double> o(2);
    std::vector<long> faceCounts(2);
    EXPECT_EQ(CTools::xianduanhechengzcx_c(2, a.x1.data(), a.y1.data(), a.z1.data(), a.x2.data(), a.y2.data(),
                                           a.z2.data(), n, 0.5, chainCount, pointCount, codes.data(), counts.data(),
                                           o.data(), o.data(), o.data()),
              0);
    EXPECT_EQ(chainCount, 0);
    EXPECT_EQ(pointCount, 0);
    CTools::xianduanhechengmianzcx(a.x1.data(), a.y1.data(), a.z1.data(), a.x2.data(), a.y2.data(), a.z2.data(), n,
                                   0.5, 3, o.data(), o.data(), o.data(), faceCounts.data(), faceCount);
    EXPECT_EQ(faceCount, 0);
    EXPECT_EQ(n, 10000);
    EXPECT_EQ(a.y1, before.y1);
    EXPECT_EQ(a.x2, before.x2);
}

}  // namespace
