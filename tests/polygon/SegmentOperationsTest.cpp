// Faces and outlines traced from loose segments, on the shapes that decide them.
#include <gtest/gtest.h>

#include "PlanarTestSupport.h"
#include "qrxGePolygonOperations.h"

namespace qrxGe::test {
namespace {

using Segments = std::vector<edge2d>;

Segments Sides(const Ring& ring)
{
    Segments s;
    for (std::size_t i = 0; i < ring.size(); ++i)
        s.push_back({ring[i], ring[(i + 1) % ring.size()]});
    return s;
}

Segments Joined(Segments a, const Segments& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Ring kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};

struct SegmentCase {
    const char* name;
    Segments segments;
    int faces, innerFaces;  // -1: null
    double outlineArea;     // 0: null
    int peeled;
};

int Count(const OwnedRings& r) { return r ? static_cast<int>(r->size()) : -1; }

TEST(SegmentOperations, CountsOfTheDecidingShapes)
{
    const Segments square = Sides(kSquare);
    const SegmentCase cases[] = {
        {"square", square, 1, 1, 100, 1},
        {"two separate squares", Joined(square, Sides({{20, 0}, {30, 0}, {30, 10}, {20, 10}})), 3, 2, 100, 2},
        {"square with a diagonal", Joined(square, {{{0, 0}, {10, 10}}}), 2, 2, 100, 1},
        {"figure eight", Joined(square, Sides({{10, 10}, {20, 10}, {20, 20}, {10, 20}})), 2, 2, 200, 2},
        {"square with a tail", Joined(square, {{{10, 10}, {15, 15}}, {{15, 15}, {20, 15}}}), 1, 1, 100, 1},
        // A chain open at both ends below the square: pruning leaves its far vertex bare.
        {"chain below a square", Joined(square, {{{2, -5}, {4, -6}}, {{4, -6}, {6, -5}}, {{6, -5}, {8, -7}}}), 1, 1, 100, 1},
        {"two crossing segments and a third", {{{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, {{20, 0}, {30, 0}}}, -1, -1, 0, 0},
    };
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Count(Take(FacesFromSegments(c.segments))), c.faces);
        EXPECT_EQ(Count(Take(InnerFacesFromSegments(c.segments))), c.innerFaces);
        const auto outline = Take(OutlineFromSegments(c.segments));
        EXPECT_EQ(outline ? SignedArea(*outline) : 0.0, c.outlineArea);
        EXPECT_EQ(Count(Take(PeelOutlinesFromSegments(c.segments))), c.peeled);
    }
    EXPECT_FALSE(Take(FacesFromSegments({{{0, 0}, {1, 0}}, {{1, 0}, {0, 1}}})));
}

} // namespace
} // namespace qrxGe::test
