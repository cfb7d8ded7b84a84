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
#include "ToolsTestSupport.h"

using namespace segment_test;

namespace {

GePoint3dArray Square(double x, double y, double side)
{
    return {{x, y, 0}, {x + side, y, 0}, {x + side, y + side, 0}, {x, y + side, 0}};
}

std::vector<Seg> Join(std::vector<Seg> a, const std::vector<Seg>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Seg> Clean(const std::vector<Seg>& segs, double tol)
{
    SegmentArrays a(segs);
    long n = long(segs.size());
    CTools::qudiaofeifaxianduanzcx(a.x1.data(), a.y1.data(), a.z1.data(), a.x2.data(), a.y2.data(), a.z2.data(), n,
                                   tol);
    return a.Read(std::size_t(n));
}

TEST(ToolsSegmentCleanUp, TableOfStages)
{
    const std::vector<Seg> square = Sides(Square(0, 0, 10));
    const std::vector<Seg> spur{{{10, 10, 0}, {15, 15, 0}}};
    const std::vector<Seg> degenerate{{{3, 3, 3}, {3.5, 3.5, 3.5}}};
    const std::vector<Seg> reversed{{square[1].e, square[1].s}};
    struct Case {
        const char* name;
        std::vector<Seg> in;
        std::vector<Seg> out;
    };
    const std::vector<Case> cases = {
        {"a square with a spur keeps the square", Join(square, spur), square},
        {"a segment within tol of a point goes", Join(degenerate, square), square},
        {"a reversed repeat goes, the first stays", Join(square, reversed), square},
        {"a lone segment is no spur", spur, spur},
        {"the side two squares share goes",
         Join(square, Sides(Square(10, 0, 10))),
         {square[0], square[2], square[3], Sides(Square(10, 0, 10))[0], Sides(Square(10, 0, 10))[1],
          Sides(Square(10, 0, 10))[2]}},
    };
    for (const Case& c : cases) {
        const std::vector<Seg> out = Clean(c.in, 1.0);
        ASSERT_EQ(out.size(), c.out.size()) << c.name;
        for (std::size_t k = 0; k < out.size(); ++k) {
            EXPECT_TRUE(out[k].s == c.out[k].s && out[k].e == c.out[k].e) << c.name << " segment " << k;
        }
    }
}

struct Chains {
    std::vector<short> codes;
    std::vector<GePoint3dArray> points;
    int result = -1;
};

Chains Chain(int mode, const std::vector<Seg>& segs, double tol)
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
        GePoint3dArray chain;
        for (int k = 0; k < counts[c]; ++k, ++next)
            chain.push_back({ox[next], oy[next], oz[next]});
        out.points.push_back(chain);
    }
    EXPECT_EQ(next - 1, pointCount);
    return out;
}

TEST(ToolsSegmentChaining, RingsAndPolylinesByMode)
{
    const GePoint3d o{0, 0, 0}, a{10, 0, 0}, b{10, 10, 0}, c{20, 0, 0}, d{30, 10, 0}, e{40, 0, 0};
    struct Case {
        const char* name;
        int mode;
        std::vector<Seg> segs;
        std::vector<short> codes;
        std::vector<GePoint3dArray> chains;
    };
    const std::vector<Case> cases = {
        {"a shuffled square with reversed sides is one ring", 1,
         {{a, b}, {GePoint3d(0, 10, 0), o}, {a, o}, {b, GePoint3d(0, 10, 0)}},
         {10001},
         {{a, o, GePoint3d(0, 10, 0), b}}},
        {"an L gives nothing in mode 1", 1, {{o, a}, {a, b}}, {}, {}},
        {"an L in mode 2 runs from the far end of the last segment added", 2, {{o, a}, {a, b}}, {1001}, {{b, a, o}}},
        {"with nothing added at the second end, from the first growth's free end to s's end", 2,
         {{a, o}, {a, b}},
         {1001},
         {{b, a, o}}},
        {"a lone segment runs from its start to its end", 2, {{a, o}}, {1001}, {{a, o}}},
        {"a zig-zag of four segments gives five points", 2,
         {{o, b}, {b, c}, {c, d}, {d, e}},
         {1001},
         {{e, d, c, b, o}}},
        {"growth at both ends", 2, {{b, c}, {o, b}, {c, d}}, {1001}, {{d, c, b, o}}},
        {"a zig-zag gives nothing in mode 1", 1, {{o, b}, {b, c}, {c, d}, {d, e}}, {}, {}},
    };
    for (const Case& k : cases) {
        const Chains out = Chain(k.mode, k.segs, 0.5);
        EXPECT_EQ(out.result, 1) << k.name;
        EXPECT_EQ(out.codes, k.codes) << k.name;
        ASSERT_EQ(out.points.size(), k.chains.size()) << k.name;
        for (std::size_t i = 0; i < out.points.size(); ++i)
            EXPECT_EQ(out.points[i], k.chains[i]) << k.name;
    }
}

TEST(ToolsSegmentChaining, ChainsAppendAndPassThroughFloat)
{
    const std::vector<Seg> square = Sides(Square(0.1, 0.1, 1000));
    SegmentArrays a(square);
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
    EXPECT_NE(ox[3], 0.1);
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
        std::vector<Seg> edges = Sides(ring);
        std::shuffle(edges.begin(), edges.end(), gen);
        for (std::size_t k = 0; k < edges.size(); k += 3)
            std::swap(edges[k].s, edges[k].e);
        const Chains out = Chain(1, edges, 0.5);
        ASSERT_EQ(out.codes, std::vector<short>{10001}) << sides << " sides";
        EXPECT_TRUE(CTools::IsPtArraySame(out.points[0], ring, 0, 1e-3)) << sides << " sides";
    }
}

struct Faces {
    std::vector<GePoint3dArray> faces;
    long n = 0;
};

Faces Trace(const std::vector<Seg>& segs, long plane)
{
    SegmentArrays a(segs);
    Faces out;
    out.n = long(segs.size());
    const std::size_t room = segs.size() + 1;
    std::vector<double> ox(room), oy(room), oz(room);
    std::vector<long> counts(room);
    long faceCount = -1;
    CTools::xianduanhechengmianzcx(a.x1.data(), a.y1.data(), a.z1.data(), a.x2.data(), a.y2.data(), a.z2.data(),
                                   out.n, 0.5, plane, ox.data(), oy.data(), oz.data(), counts.data(), faceCount);
    long next = 1;
    for (long f = 1; f <= faceCount; ++f) {
        GePoint3dArray face;
        for (long k = 0; k < counts[f]; ++k, ++next)
            face.push_back({ox[next], oy[next], oz[next]});
        out.faces.push_back(face);
    }
    return out;
}

// The point in the plane numbered as the tracer numbers them: 1 YZ, 2 XZ, 3 XY.
GePoint3d InPlane(long plane, double u, double v)
{
    if (plane == 1)
        return {7, u, v};
    if (plane == 2)
        return {u, 7, v};
    return {u, v, 7};
}

std::vector<Seg> SidesInPlane(long plane, const std::vector<std::pair<double, double>>& ring)
{
    GePoint3dArray pts;
    for (const auto& [u, v] : ring)
        pts.push_back(InPlane(plane, u, v));
    return Sides(pts);
}

TEST(ToolsSegmentFaces, SquaresSharedSidesSpursAndJunctionsInEachPlane)
{
    const std::vector<std::pair<double, double>> a{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const std::vector<std::pair<double, double>> b{{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    const std::vector<std::pair<double, double>> right{{10, 0}, {20, 0}, {20, 10}, {10, 10}};
    for (long plane = 1; plane <= 3; ++plane) {
        const auto at = [plane](double u, double v) { return InPlane(plane, u, v); };
        const std::string where = "plane " + std::to_string(plane);
        Faces one = Trace(SidesInPlane(plane, a), plane);
        ASSERT_EQ(one.faces.size(), 1u) << where;
        EXPECT_EQ(one.faces[0], (GePoint3dArray{at(0, 0), at(10, 0), at(10, 10), at(0, 10)})) << where;

        // The shared side is cleaned away first: one face, the outer outline.
        Faces two = Trace(Join(SidesInPlane(plane, a), SidesInPlane(plane, right)), plane);
        EXPECT_EQ(two.n, 6) << where;
        ASSERT_EQ(two.faces.size(), 1u) << where;
        EXPECT_EQ(two.faces[0].size(), 6u) << where;

        Faces spur = Trace(Join(SidesInPlane(plane, a), {{at(10, 10), at(15, 15)}}), plane);
        ASSERT_EQ(spur.faces.size(), 1u) << where;
        EXPECT_EQ(spur.faces[0].size(), 4u) << where;

        // Squares touching at a corner: at the junction the first way counter-clockwise
        // from the way back leads into the other square, and one figure-eight comes out.
        Faces bow = Trace(Join(SidesInPlane(plane, a), SidesInPlane(plane, b)), plane);
        ASSERT_EQ(bow.faces.size(), 1u) << where;
        EXPECT_EQ(bow.faces[0], (GePoint3dArray{at(0, 0), at(10, 0), at(10, 10), at(20, 10), at(20, 20), at(10, 20),
                                                at(10, 10), at(0, 10)}))
            << where;
    }
    // Outside the three planes the junction has no answer: that face is abandoned, and the
    // other square is traced from its own first side.
    Faces none = Trace(Join(SidesInPlane(3, a), SidesInPlane(3, b)), 0);
    ASSERT_EQ(none.faces.size(), 1u);
    EXPECT_EQ(none.faces[0], (GePoint3dArray{{10, 10, 7}, {20, 10, 7}, {20, 20, 7}, {10, 20, 7}}));
    EXPECT_TRUE(Trace(Sides(Square(0, 0, 0.5)), 3).faces.empty());
}

TEST(ToolsSegmentChaining, MoreThan9999SegmentsAreRefusedUntouched)
{
    std::vector<Seg> segs;
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
    EXPECT_EQ(n, 10000);
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
