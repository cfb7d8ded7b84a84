// Segments to faces (CTools::MakeLineSegsToFaces, MakeLineSegsToFaces1, ConnectLineSegs):
// documented cases, the balcony's road from broken outlines to faces, and grids and line
// arrangements against their Euler count and areas.
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
using tools_test::Ring;

namespace {

Ring Pairs(const std::vector<Seg>& segs)
{
    Ring pts;
    for (const Seg& s : segs)
        pts.push_back(s.s), pts.push_back(s.e);
    return pts;
}

std::vector<Ring> Faces(const std::vector<Seg>& segs, double tol)
{
    std::vector<Ring> faces{{{1, 1, 1}}};
    CTools::MakeLineSegsToFaces(Pairs(segs), faces, tol);
    return faces;
}

// The balcony's road: the outlines broken at their crossings (count form), then traced at
// 0.1 (count form).
std::vector<Ring> BrokenFaces(const std::vector<Seg>& segs)
{
    std::vector<GePoint3d> s(4 * segs.size() * segs.size() + 4), e(s.size());
    for (std::size_t k = 0; k < segs.size(); ++k)
        s[k] = segs[k].s, e[k] = segs[k].e;
    int n = int(segs.size());
    EXPECT_EQ(CTools::BreakIntoLineSegs(n, s.data(), e.data(), 0.1, int(s.size())), 1);
    std::vector<Ring> faces;
    CTools::MakeLineSegsToFaces(n, s.data(), e.data(), faces, 0.1);
    return faces;
}

std::vector<Seg> Open(const Ring& polyline)
{
    std::vector<Seg> segs;
    for (std::size_t k = 0; k + 1 < polyline.size(); ++k)
        segs.push_back({polyline[k], polyline[k + 1]});
    return segs;
}

std::vector<Seg> operator+(std::vector<Seg> a, const std::vector<Seg>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Ring kUnit{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

TEST(ToolsLineSegsToFaces, DocumentedCases)
{
    const std::vector<Ring> one = Faces(Sides(kUnit), 0.001);
    ASSERT_EQ(one.size(), 1u);
    ExpectPointsNear(one[0], {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}});

    EXPECT_EQ(Faces(Sides(kUnit) + std::vector<Seg>{{{1, 1, 0}, {3, 2, 0}}}, 0.001).size(), 1u);
    EXPECT_EQ(Faces(Sides(tools_test::Lifted(kUnit, 0)) + std::vector<Seg>{{{1, 1, 0}, {1, 1, 0}}, {{0, 0, 0}, {0, 0, 0}}},
                    0.001)
                  .size(),
              1u);
    Ring raised = kUnit;
    raised[2].z = 0.002;
    EXPECT_TRUE(Faces(Sides(raised), 0.001).empty());

    std::vector<Ring> faces{kUnit};
    const Ring pts = Pairs(Sides(kUnit));
    CTools::MakeLineSegsToFaces(2, const_cast<GePoint3d*>(pts.data()), const_cast<GePoint3d*>(pts.data()), faces, 0.1);
    EXPECT_TRUE(faces.empty());
    std::vector<Ring> chains{kUnit};
    CTools::ConnectLineSegs(0, nullptr, nullptr, chains, 0, 0.1);
    EXPECT_TRUE(chains.empty());
}

TEST(ToolsLineSegsToFaces, TheBalconysRoad)
{
    const std::vector<Seg> building = Sides({{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}});
    const std::vector<Seg> front = Open({{2000, 0, 0}, {2000, -1500, 0}, {5000, -1500, 0}, {5000, 0, 0}});
    const auto areas = [](const std::vector<Ring>& faces) {
        std::vector<double> a;
        for (const Ring& f : faces) {
            EXPECT_LT(tools_test::SignedPlanArea(f), 0.0) << "every face is clockwise";
            a.push_back(std::round(-tools_test::SignedPlanArea(f)));
        }
        std::sort(a.begin(), a.end());
        return a;
    };
    EXPECT_EQ(areas(BrokenFaces(building + front)), (std::vector<double>{4.5e6, 8e7}));
    // A stray segment hanging from a wall takes no part.
    EXPECT_EQ(areas(BrokenFaces(building + front + Open({{10000, 4000, 0}, {11500, 4500, 0}}))),
              (std::vector<double>{4.5e6, 8e7}));
    // An outline that crosses into the building: the pieces inside and outside apart.
    const std::vector<Seg> deep = Sides({{2000, -1500, 0}, {5000, -1500, 0}, {5000, 1000, 0}, {2000, 1000, 0}});
    EXPECT_EQ(areas(BrokenFaces(building + deep)), (std::vector<double>{3e6, 4.5e6, 7.7e7}));
    // Two balconies on two walls.
    const std::vector<Seg> side = Open({{10000, 3000, 0}, {11200, 3000, 0}, {11200, 6000, 0}, {10000, 6000, 0}});
    EXPECT_EQ(areas(BrokenFaces(building + front + side)), (std::vector<double>{3.6e6, 4.5e6, 8e7}));
}

// k x k cells of 1 m: k^2 faces of 1 m^2 each, the count E - V + 1 of a connected network.
TEST(ToolsLineSegsToFaces, GridsGiveEveryCell)
{
    for (int k : {1, 2, 7, 20}) {
        std::vector<Seg> segs;
        for (int i = 0; i <= k; ++i)
            for (int j = 0; j < k; ++j) {
                segs.push_back({{j * 1000.0, i * 1000.0, 0}, {(j + 1) * 1000.0, i * 1000.0, 0}});
                segs.push_back({{i * 1000.0, j * 1000.0, 0}, {i * 1000.0, (j + 1) * 1000.0, 0}});
            }
        const std::vector<Ring> faces = Faces(segs, 0.1);
        ASSERT_EQ(faces.size(), std::size_t(k * k)) << k;
        for (const Ring& f : faces)
            EXPECT_NEAR(tools_test::SignedPlanArea(f), -1e6, 1e-6) << k;
    }
}

// Random chords of a box, broken at their crossings: a connected network whose bounded
// faces number E - V + 1, tile the box and all run clockwise.
TEST(ToolsLineSegsToFaces, RandomArrangementsTileTheirBox)
{
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> along(100, 9900);
    for (int lines : {3, 10, 25}) {
        GePoint3dArray starts, ends;
        for (const Seg& s : Sides({{0, 0, 0}, {10000, 0, 0}, {10000, 10000, 0}, {0, 10000, 0}}))
            starts.push_back(s.s), ends.push_back(s.e);
        for (int k = 0; k < lines; ++k) {
            starts.push_back({0, std::round(along(gen)), 0});
            ends.push_back({10000, std::round(along(gen)), 0});
        }
        CTools::BreakIntoLineSegs(starts, ends, 0.1);
        // Vertices: the distinct piece ends.
        GePoint3dArray vertices;
        for (const GePoint3dArray* run : {&starts, &ends})
            for (const GePoint3d& p : *run)
                if (!CTools::IsPtBelongToArray(p, vertices, 0.01))
                    vertices.push_back(p);
        std::vector<Ring> faces;
        CTools::MakeLineSegsToFaces(starts, ends, faces, 0.1);
        EXPECT_EQ(faces.size(), starts.size() - vertices.size() + 1) << lines;
        double area = 0.0;
        for (const Ring& f : faces) {
            EXPECT_LT(tools_test::SignedPlanArea(f), 0.0);
            area -= tools_test::SignedPlanArea(f);
        }
        EXPECT_NEAR(area, 1e8, 1e-3) << lines;
    }
}

TEST(ToolsLineSegsToFaces, ConsumingTracerTurnsLeftAndUsesEachSegmentOnce)
{
    std::vector<Ring> faces;
    CTools::MakeLineSegsToFaces1(Pairs(Sides(kUnit)), faces, 0.001);
    ASSERT_EQ(faces.size(), 1u);
    ExpectPointsNear(faces[0], {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    // Two cells sharing one side: the left cell uses the shared side up, and the walk round
    // the right cell finds it gone and is dropped. The consuming tracer loses that face.
    const std::vector<Seg> two = Sides(kUnit) + Open({{1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}});
    CTools::MakeLineSegsToFaces1(Pairs(two), faces, 0.001);
    ASSERT_EQ(faces.size(), 1u);
    ExpectPointsNear(faces[0], kUnit);
}

TEST(ToolsConnectLineSegs, RingsAndPolylinesPastTheOldLimit)
{
    // 3000 unit squares and 1000 L-shaped pairs: 14,000 segments.
    std::vector<GePoint3d> s, e;
    for (int k = 0; k < 3000; ++k)
        for (const Seg& side : Sides(tools_test::Moved({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, 20.0 * k, 0)))
            s.push_back(side.s), e.push_back(side.e);
    for (int k = 0; k < 1000; ++k)
        for (const Seg& l : Open({{20.0 * k, 100, 0}, {20.0 * k + 10, 100, 0}, {20.0 * k + 10, 110, 0}}))
            s.push_back(l.s), e.push_back(l.e);
    std::vector<Ring> chains;
    CTools::ConnectLineSegs(int(s.size()), s.data(), e.data(), chains, 0, 0.1);
    ASSERT_EQ(chains.size(), 4000u);
    EXPECT_EQ(chains[0].size(), 4u);
    EXPECT_EQ(chains[3999].size(), 3u);
    CTools::ConnectLineSegs(int(s.size()), s.data(), e.data(), chains, 5, 0.1);
    EXPECT_EQ(chains.size(), 3000u);
}

}  // namespace
