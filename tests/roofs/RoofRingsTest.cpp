// The ring operations of the roof commands that tell what the user meant: slips of the mouse
// taken out of an outline, and roofs that cover a courtyard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "OutlineRoofRuns.h"
#include "RoofRings.h"

namespace {

using namespace roof_test;

const Ring kRectangle = Rectangle(20000, 10000);

// The ring drawn from the origin or at site coordinates, either way round, started at another
// corner.
struct Drawing {
    double x, y;
    bool clockwise;
    std::size_t start;
    Ring operator()(const Ring& ring) const
    {
        Ring drawn = tools_test::Moved(ring, x, y);
        if (clockwise)
            std::reverse(drawn.begin(), drawn.end());
        std::rotate(drawn.begin(), drawn.begin() + static_cast<std::ptrdiff_t>(start % drawn.size()), drawn.end());
        return drawn;
    }
};
const Drawing kDrawings[] = {{0, 0, false, 0}, {0, 0, true, 2}, {5e5, 3e6, false, 3}, {3e6, 9.5e6, true, 1}};

// Corner 1 clicked again `length` away, turning `turn` degrees left of the edge coming in.
Ring Slipping(Ring ring, double length, double turn)
{
    const double a = Radians(turn);
    ring.insert(ring.begin() + 2, ring[1] + GeVector3d(length * std::cos(a), length * std::sin(a), 0));
    return ring;
}

// Every point of a lies within tol of a point of b, and the other way round.
bool SamePoints(const Ring& a, const Ring& b, double tol)
{
    const auto within = [tol](const Ring& from, const Ring& to) {
        return std::all_of(from.begin(), from.end(), [&](const GePoint3d& p) {
            return std::any_of(to.begin(), to.end(), [&](const GePoint3d& q) { return p.DistanceTo(q) <= tol; });
        });
    };
    return a.size() == b.size() && within(a, b) && within(b, a);
}

// Every slip from 0.1 to 12 mm at every turn from straight on to straight back, turning at the
// first click or at the second: it goes when shorter than the slip length and turning back past
// the slip turn or running on within the straight limit at either click, leaving the rectangle
// within the slip's length; otherwise the outline stays as drawn. The same wherever and
// whichever way round it is drawn.
TEST(RoofRingsSlips, ASlipGoesAndAFeatureStays)
{
    // Turning `turn` at one click leaves the outline turning about 90 - turn at the other.
    const struct {
        double turn;
        bool slip;
    } turns[] = {{0, true},     {1, true},     {3, false},   {30, false},   {45, false},   {60, false},
                 {87, false},   {88.7, true},  {90, true},   {90.05, true}, {90.3, true},  {91.5, true},
                 {99, true},    {101, true},   {120, true},  {135, true},   {149, true},   {150, true},
                 {153, true},   {170, true},   {179, true}};
    for (const double length : {0.1, 0.7, 2.2, 5.0, 9.9, 10.0, 12.0})
        for (const auto& [turn, slipTurn] : turns)
            for (const bool atSecondClick : {false, true}) {
                const Ring slipped = Slipping(kRectangle, length, atSecondClick ? 90.0 - turn : turn);
                const bool slip = slipTurn && length < roof_rings::kSlipLength;
                for (const Drawing& draw : kDrawings) {
                    SCOPED_TRACE(testing::Message() << length << " mm turning " << turn << "° at the "
                                                    << (atSecondClick ? "second" : "first") << " click, at "
                                                    << draw.x << "," << draw.y << (draw.clockwise ? " clockwise" : ""));
                    const Ring cleaned = roof_rings::WithoutSlips(draw(slipped), 0.001);
                    if (slip)
                        EXPECT_TRUE(SamePoints(cleaned, draw(kRectangle), length + 1e-6));
                    else
                        EXPECT_TRUE(SamePoints(cleaned, draw(slipped), 0.0));
                }
            }
}

// Features drawn on purpose, and slips that leave more than one corner to drop.
TEST(RoofRingsSlips, TableOfOutlines)
{
    // Corner 1 cut by a chamfer of the length.
    const auto chamfered = [](double length) {
        const double cut = length / std::sqrt(2.0);
        return Ring{{0, 0, 0}, {20000 - cut, 0, 0}, {20000, cut, 0}, {20000, 10000, 0}, {0, 10000, 0}};
    };
    const Ring bayStep = {{0, 0, 0},         {20000, 0, 0},     {20000, 5000, 0},
                          {20012, 5000, 0},  {20012, 10000, 0}, {0, 10000, 0}};
    const Ring sharpWall = {{0, 0, 0}, {20000, 0, 0}, {10000, 50, 0}, {10000, 10000, 0}, {0, 10000, 0}};
    const Ring spike = {{0, 0, 0},     {10000, 0, 0},     {10000, -5, 0}, {10000, 0, 0},
                        {20000, 0, 0}, {20000, 10000, 0}, {0, 10000, 0}};
    const Ring spikeless = {{0, 0, 0}, {10000, 0, 0}, {20000, 0, 0}, {20000, 10000, 0}, {0, 10000, 0}};
    const Ring tripleClick = {{0, 0, 0},      {20000, 0, 0},     {19998, 1, 0},
                              {20001, -1, 0}, {20000, 10000, 0}, {0, 10000, 0}};
    const Ring crumb = {{0, 0, 0}, {5, 0, 0}, {2.5, 1, 0}};
    struct Case {
        const char* what;
        Ring outline;
        Ring expected;
        double tol;
    };
    const Case cases[] = {
        {"a 10 mm chamfer stays", chamfered(10), chamfered(10), 0.0},
        {"a 2 mm chamfer stays", chamfered(2), chamfered(2), 0.0},
        {"a 12 mm bay step stays", bayStep, bayStep, 0.0},
        {"a sharp corner on walls of 50 mm and more stays", sharpWall, sharpWall, 0.0},
        {"a 5 mm spike out and back goes whole", spike, spikeless, 0.0},
        {"a corner clicked three times", tripleClick, kRectangle, 3.0},
        // Its two sharp corners turn alike: which goes first depends on where the ring starts.
        {"a crumb of slips leaves no outline", crumb, {}, 0.0},
    };
    for (const Case& c : cases)
        for (const Drawing& draw : kDrawings) {
            SCOPED_TRACE(testing::Message() << c.what << " at " << draw.x << "," << draw.y
                                            << (draw.clockwise ? " clockwise" : ""));
            const Ring cleaned = roof_rings::WithoutSlips(draw(c.outline), 0.001);
            if (c.expected.empty())
                EXPECT_LT(cleaned.size(), 3u);
            else
                EXPECT_TRUE(SamePoints(cleaned, draw(c.expected), c.tol + 1e-6));
        }
}

// A roof covers a courtyard where the outline touches itself around a loop running the other
// way (a keyhole) or where the grown outline holds a loop besides the outer one; a notch the
// overhang fills, rooms touching at a corner and a fin are no courtyards.
TEST(RoofRingsCourtyards, TableOfOutlines)
{
    const Ring keyhole = Keyhole(0), bentU = BentU(0), u = U(0);
    const Ring cornerRooms = {{0, 0, 0},         {10000, 0, 0},     {10000, 10000, 0}, {20000, 10000, 0},
                              {20000, 20000, 0}, {10000, 20000, 0}, {10000, 10000, 0}, {0, 10000, 0}};
    const Ring fin = {{0, 0, 0},         {20000, 0, 0},     {20000, 10000, 0}, {10000, 10000, 0},
                      {10000, 15000, 0}, {10000, 10000, 0}, {0, 10000, 0}};
    struct Case {
        const char* what;
        Ring outline;
        double overhang;
        bool covered;
    };
    const Case cases[] = {
        {"keyhole grown by 500", keyhole, 500, true},
        {"keyhole grown past its courtyard", keyhole, 6000, true},
        {"keyhole not grown", keyhole, 0, false},
        {"U whose bent arms close at 1500", bentU, 1500, true},
        {"U whose bent arms stay open at 500", bentU, 500, false},
        {"U whose notch fills at 6000", u, 6000, false},
        {"U grown by 500", u, 500, false},
        {"rooms touching at a corner", cornerRooms, 500, false},
        {"a fin on the roof", fin, 500, false},
        {"rectangle", kRectangle, 500, false},
    };
    for (const Case& c : cases)
        for (const Drawing& draw : kDrawings) {
            SCOPED_TRACE(testing::Message() << c.what << " at " << draw.x << "," << draw.y
                                            << (draw.clockwise ? " clockwise" : ""));
            EXPECT_EQ(roof_rings::CoversCourtyard(draw(c.outline), c.overhang), c.covered);
        }
}

}  // namespace
