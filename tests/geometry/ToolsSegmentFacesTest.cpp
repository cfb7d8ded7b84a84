// Segments to faces (CTools::MakeLineSegsToFaces, MakeLineSegsToFaces1, ConnectLineSegs):
// documented cases, the balcony's road from broken outlines to faces, and grids against their
// count and areas. Random arrangements are compared with CGAL's in the oracle target.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SegmentTestSupport.h"
#include "Tools.h"
#include "ToolsTestSupport.h"

using namespace segment_test;
using tools_test::Ring;

namespace {

Ring Pairs(const Segs& segs)
{
    Ring pts;
    for (const Seg& s : segs)
        pts.push_back(s.s), pts.push_back(s.e);
    return pts;
}

std::vector<Ring> Faces(const Segs& segs, double tol)
{
    std::vector<Ring> faces{{{1, 1, 1}}};
    CTools::MakeLineSegsToFaces(Pairs(segs), faces, tol);
    return faces;
}

const Ring kUnit = Square(0, 0, 1);

TEST(ToolsLineSegsToFaces, DocumentedCases)
{
    const std::vector<Ring> one = Faces(Sides(kUnit), 0.001);
    ASSERT_EQ(one.size(), 1u);
    ExpectPointsNear(one[0], {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}});
    // A free end takes no part; zero-length segments are dropped.
    EXPECT_EQ(Faces(Sides(kUnit) + Segs{{{1, 1, 0}, {3, 2, 0}}}, 0.001).size(), 1u);
    EXPECT_EQ(Faces(Sides(kUnit) + Segs{{{1, 1, 0}, {1, 1, 0}}, {{0, 0, 0}, {0, 0, 0}}}, 0.001).size(), 1u);
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

// The outlines broken at their crossings (count form), then traced at 0.1 (count form): the
// faces' plan areas, sorted, every face clockwise.
std::vector<double> BalconyFaceAreas(const Segs& segs)
{
    std::vector<GePoint3d> s(4 * segs.size() * segs.size() + 4), e(s.size());
    for (std::size_t k = 0; k < segs.size(); ++k)
        s[k] = segs[k].s, e[k] = segs[k].e;
    int n = int(segs.size());
    EXPECT_EQ(CTools::BreakIntoLineSegs(n, s.data(), e.data(), 0.1, int(s.size())), 1);
    std::vector<Ring> faces;
    CTools::MakeLineSegsToFaces(n, s.data(), e.data(), faces, 0.1);
    std::vector<double> areas;
    for (const Ring& f : faces) {
        EXPECT_LT(tools_test::SignedPlanArea(f), 0.0) << "every face is clockwise";
        areas.push_back(std::round(-tools_test::SignedPlanArea(f)));
    }
    std::sort(areas.begin(), areas.end());
    return areas;
}

TEST(ToolsLineSegsToFaces, TheBalconysRoad)
{
    const Segs building = Sides({{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}});
    const Segs front = Open({{2000, 0, 0}, {2000, -1500, 0}, {5000, -1500, 0}, {5000, 0, 0}});
    EXPECT_EQ(BalconyFaceAreas(building + front), (std::vector<double>{4.5e6, 8e7}));
    // A stray segment hanging from a wall takes no part.
    EXPECT_EQ(BalconyFaceAreas(building + front + Open({{10000, 4000, 0}, {11500, 4500, 0}})),
              (std::vector<double>{4.5e6, 8e7}));
    // An outline that crosses into the building: the pieces inside and outside apart (the
    // inside piece, every side of it used by earlier faces, was once lost).
    const Segs deep = Sides({{2000, -1500, 0}, {5000, -1500, 0}, {5000, 1000, 0}, {2000, 1000, 0}});
    EXPECT_EQ(BalconyFaceAreas(building + deep), (std::vector<double>{3e6, 4.5e6, 7.7e7}));
    // Two balconies on two walls.
    const Segs side = Open({{10000, 3000, 0}, {11200, 3000, 0}, {11200, 6000, 0}, {10000, 6000, 0}});
    EXPECT_EQ(BalconyFaceAreas(building + front + side), (std::vector<double>{3.6e6, 4.5e6, 8e7}));
}

// k x k cells of 1 m: k^2 faces of 1 m^2 each, the count E - V + 1 of a connected network.
TEST(ToolsLineSegsToFaces, GridsGiveEveryCell)
{
    for (int k : {1, 2, 7, 20}) {
        Segs segs;
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

TEST(ToolsLineSegsToFaces, ConsumingTracerTurnsLeftAndUsesEachSegmentOnce)
{
    std::vector<Ring> faces;
    CTools::MakeLineSegsToFaces1(Pairs(Sides(kUnit)), faces, 0.001);
    ASSERT_EQ(faces.size(), 1u);
    ExpectPointsNear(faces[0], kUnit);
    // Two cells sharing one side: the left cell uses the shared side up, and the walk round
    // the right cell finds it gone and is dropped. The consuming tracer loses that face.
    CTools::MakeLineSegsToFaces1(Pairs(Sides(kUnit) + Open({{1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}})), faces, 0.001);
    ASSERT_EQ(faces.size(), 1u);
    ExpectPointsNear(faces[0], kUnit);
}

TEST(ToolsConnectLineSegs, RingsAndPolylinesPastTheOldLimit)
{
    // 3000 squares and 1000 L-shaped pairs: 14,000 segments.
    std::vector<GePoint3d> s, e;
    for (int k = 0; k < 3000; ++k)
        for (const Seg& side : Sides(Square(20.0 * k, 0, 10)))
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
