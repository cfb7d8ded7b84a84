// Faces and outlines traced from loose segments: the rings each operation gives on the shapes
// that decide them (orientation, start, order, what is dropped), the shapes that once broke
// them, and a seeded run of the property the fuzz target checks.
#include <gtest/gtest.h>

#include "SegmentOperationsProperty.h"

#include <cmath>
#include <random>

namespace qrxGe::test {
namespace {

const Ring kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const Ring kSquare2{{20, 0}, {30, 0}, {30, 10}, {20, 10}};
const Ring kUpper{{10, 10}, {20, 10}, {20, 20}, {10, 20}};

using Rings = std::vector<Ring>;

struct SegmentCase {
    const char* name;
    Segments segments;
    OwnedRings faces, innerFaces;
    std::optional<Ring> outline;
    OwnedRings peeled;
};

TEST(SegmentOperations, RingsOfTheDecidingShapes)
{
    const Segments square = Sides(kSquare);
    const SegmentCase cases[] = {
        {"square: counter-clockwise from the first lowest corner", square, Rings{kSquare}, Rings{kSquare}, kSquare,
         Rings{kSquare}},
        {"square drawn from its top corner: loops start where the list does, the outline at the lowest corner",
         Sides({{10, 10}, {0, 10}, {0, 0}, {10, 0}}), Rings{{{10, 10}, {0, 10}, {0, 0}, {10, 0}}},
         Rings{{{10, 10}, {0, 10}, {0, 0}, {10, 0}}}, kSquare, Rings{kSquare}},
        {"square drawn clockwise, its bottom pointing west: east is still the least direction at the corner",
         Sides({{0, 0}, {0, 10}, {10, 10}, {10, 0}}), Rings{kSquare}, Rings{kSquare}, kSquare, Rings{kSquare}},
        {"equally low corners: the first in the vertex list starts the outline",
         Sides({{10, 0}, {10, 10}, {0, 10}, {0, 0}}), Rings{{{10, 0}, {10, 10}, {0, 10}, {0, 0}}},
         Rings{{{10, 0}, {10, 10}, {0, 10}, {0, 0}}}, Ring{{10, 0}, {10, 10}, {0, 10}, {0, 0}},
         Rings{{{10, 0}, {10, 10}, {0, 10}, {0, 0}}}},
        {"two separate squares: the later part keeps its clockwise boundary among the faces",
         Joined(square, Sides(kSquare2)), Rings{kSquare, kSquare2, {{20, 0}, {20, 10}, {30, 10}, {30, 0}}},
         Rings{kSquare, kSquare2}, kSquare, Rings{kSquare, kSquare2}},
        {"square with a diagonal", Joined(square, {{{0, 0}, {10, 10}}}),
         Rings{{{0, 0}, {10, 0}, {10, 10}}, {{0, 0}, {10, 10}, {0, 10}}},
         Rings{{{0, 0}, {10, 0}, {10, 10}}, {{0, 0}, {10, 10}, {0, 10}}}, kSquare, Rings{kSquare}},
        {"figure eight: the peeling cuts the outline at the shared corner", Joined(square, Sides(kUpper)),
         Rings{kSquare, kUpper}, Rings{kSquare, kUpper},
         Ring{{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}, {0, 10}},
         Rings{kUpper, {{10, 10}, {0, 10}, {0, 0}, {10, 0}}}},
        {"square with a two-segment tail", Joined(square, {{{10, 10}, {15, 15}}, {{15, 15}, {20, 15}}}),
         Rings{kSquare}, Rings{kSquare}, kSquare, Rings{kSquare}},
        {"two squares joined by a bridge: walked both ways by the outlines, dropped by the peeling",
         Joined(Joined(square, Sides(kSquare2)), {{{10, 5}, {20, 5}}}),
         Rings{{{0, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}}, {{20, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}}},
         Rings{{{0, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}}, {{20, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}}},
         Ring{{0, 0}, {10, 0}, {10, 5}, {20, 5}, {20, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}},
         Rings{{{10, 5}, {10, 10}, {0, 10}, {0, 0}, {10, 0}}, {{20, 5}, {20, 0}, {30, 0}, {30, 10}, {20, 10}}}},
        {"two crossing segments and a third: nothing is left", {{{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, {{20, 0}, {30, 0}}},
         std::nullopt, std::nullopt, std::nullopt, Rings{}},
        {"two segments", {{{0, 0}, {10, 0}}, {{10, 0}, {0, 10}}}, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {"a coordinate that is no number", Joined(square, {{{5, 5}, {NAN, 0}}}), std::nullopt, std::nullopt, std::nullopt,
         Rings{}},
        {"infinite coordinates", Joined(square, {{{5, 5}, {-INFINITY, INFINITY}}}), std::nullopt, std::nullopt,
         std::nullopt, Rings{}},
        // Beyond 4e14 the 0.1 tolerance is within a few units of the last place.
        {"beyond reach: nothing to trace", Moved(square, 1e15, 0), std::nullopt, std::nullopt, std::nullopt, Rings{}},
        {"beyond reach on the other side", Moved(square, -4.1e14, 0), std::nullopt, std::nullopt, std::nullopt, Rings{}},
        {"just within reach", Moved(square, 3.9e14, 0), Rings{Moved(kSquare, 3.9e14, 0)}, Rings{Moved(kSquare, 3.9e14, 0)},
         Moved(kSquare, 3.9e14, 0), Rings{Moved(kSquare, 3.9e14, 0)}},
    };
    // The same at a national grid's coordinates, where the shapes' whole-unit coordinates stay
    // exact.
    for (const double shift : {0.0, 1e10, -1e12}) {
        for (const SegmentCase& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << ", shifted by " << shift);
            const Segments segments = Moved(c.segments, shift, -shift);
            EXPECT_EQ(Take(FacesFromSegments(segments)), Moved(c.faces, shift, -shift));
            EXPECT_EQ(Take(InnerFacesFromSegments(segments)), Moved(c.innerFaces, shift, -shift));
            EXPECT_EQ(Take(OutlineFromSegments(segments)),
                      c.outline ? std::optional<Ring>(Moved(*c.outline, shift, -shift)) : std::nullopt);
            EXPECT_EQ(Take(PeelOutlinesFromSegments(segments)), Moved(c.peeled, shift, -shift));
        }
    }
}

// Shapes that once broke a walk or the graph. Each names what the sound answer is.
TEST(SegmentOperations, RegressionShapes)
{
    // A chain open at both ends below the square: pruning left its far vertex with no
    // half-edge, the lowest of all, and the outline walks started from it.
    const Segments chainBelow = Joined(Sides(kSquare), {{{2, -5}, {4, -6}}, {{4, -6}, {6, -5}}, {{6, -5}, {8, -7}}});
    EXPECT_EQ(Take(FacesFromSegments(chainBelow)), Rings{kSquare});
    EXPECT_EQ(Take(InnerFacesFromSegments(chainBelow)), Rings{kSquare});
    EXPECT_EQ(Take(OutlineFromSegments(chainBelow)), kSquare);
    EXPECT_EQ(Take(PeelOutlinesFromSegments(chainBelow)), Rings{kSquare});

    // Two triangles whose shared corner is the lowest point: the outline walks stopped at the
    // first return to it and lost the second lobe (the inner faces kept its outer boundary).
    const Ring right{{0, 0}, {10, 10}, {2, 10}}, left{{0, 0}, {-2, 10}, {-10, 10}};
    const Segments pinched = Joined(Sides(right), Sides(left));
    EXPECT_EQ(Take(InnerFacesFromSegments(pinched)), (Rings{right, left}));
    EXPECT_EQ(Take(OutlineFromSegments(pinched)), (Ring{{0, 0}, {10, 10}, {2, 10}, {0, 0}, {-2, 10}, {-10, 10}}));
    EXPECT_EQ(Take(PeelOutlinesFromSegments(pinched)), (Rings{right, left}));

    // A square with a diagonal whose corner at the origin is drawn by three ends within 0.1
    // of their neighbours but not of each other, 0.15 to 0.17 apart: the corner is one vertex
    // (meetings closer than 0.2 are one place), so the halves are triangles, within the
    // tolerance of the drawn ones.
    const Segments nearCorner{{{9.94, 0.08}, {-0.06, 0.08}}, {{0.03, 9.94}, {0.03, -0.06}}, {{0, -0.01}, {10, 9.99}},
                              {{10, 0}, {10, 10}}, {{0, 10}, {10, 10}}};
    const auto halves = Take(InnerFacesFromSegments(nearCorner));
    ASSERT_TRUE(halves);
    ASSERT_EQ(halves->size(), 2u);
    for (const Ring& r : *halves) {
        EXPECT_EQ(r.size(), 3u);
        EXPECT_NEAR(SignedArea(r), 49.5, 0.1 * PolylineLength(r, true));
    }

    // A 0.15-long segment lying along a crossing of the square's middle lines: both its ends
    // resolve to the crossing, and as a loop there it merged the four quarters into two.
    const Segments shortPiece = Joined({{{4.925, 5}, {5.075, 5}}, {{0, 5}, {10, 5}}, {{5, 0}, {5, 10}}}, Sides(kSquare));
    const auto quarters = Take(FacesFromSegments(shortPiece));
    ASSERT_TRUE(quarters);
    ASSERT_EQ(quarters->size(), 4u);
    for (const Ring& r : *quarters)
        EXPECT_NEAR(SignedArea(r), 25.0, 0.2);
    EXPECT_NEAR(TotalArea(*quarters), 100.0, 0.5);
}

// Random soups on a coarse grid, as the fuzz target makes them.
TEST(SegmentOperations, SeededSoupsKeepTheGraphAndTheirRingsWellFormed)
{
    std::mt19937 random(41);
    std::vector<std::uint8_t> bytes(100);
    for (int i = 0; i < 500; ++i) {
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        const std::string fault = CheckSegmentOperations(SegmentsFromBytes(bytes.data(), bytes.size()));
        ASSERT_EQ(fault, "") << "soup " << i;
    }
}

} // namespace
} // namespace qrxGe::test
