// A corner given twice, the commonest slip in drawing an outline, in front of every command
// that picks a roof's outline: typed two, three or four times (at the start, in the middle or
// at the closing point), or clicked twice a few millimetres apart. The roof is that of the
// outline without the repeat or the slip. Each command runs on its base drawn plainly and with
// the slip, from the origin counter-clockwise and at site coordinates clockwise, and must make
// the same faces, plan and extents (what the plain outline makes is each command's own tests'
// concern); a feature drawn on purpose stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "OutlineRoofRuns.h"

namespace {

using namespace roof_test;

constexpr double kTop = 3000;
// 20 x 10 m, and the U, at kTop.
const Outline kRectangle = {"rectangle", Rectangle(20000, 10000, kTop), {5000, 3000, 0}, 5000, 20000};
const Outline kU = {"U", U(kTop), {5000, 15000, 0}, 5000, 30000};

// The ring with point `at` given `copies` times; at == size gives the first point again at the
// end, so the outline closes onto it `copies` times.
Ring Repeating(Ring ring, std::size_t at, int copies)
{
    const GePoint3d repeated = ring[at % ring.size()];
    ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(copies - 1), repeated);
    return ring;
}

// Corner 1 of the ring clicked again `length` away, in the direction that turns `turn` degrees
// left of the edge coming in (negative: right); the outline then goes on from that point.
Ring Slipping(Ring ring, double length, double turn)
{
    const GeVector3d in = (ring[1] - ring[0]).Normalize(1e-9);
    const double a = std::atan2(in.y, in.x) + Radians(turn);
    ring.insert(ring.begin() + 2, ring[1] + GeVector3d(length * std::cos(a), length * std::sin(a), 0));
    return ring;
}

class CornerTypedTwiceTest : public OutlineRoofTest {
protected:
    // Runs every command on its plain outline and on each variant of it, in each placing, and
    // checks the variant's roof against the plain one's. The prismoid stands on the U, whose
    // notch its overhang of 3000 leaves open; the others on the rectangle, grown by 500.
    template <typename Variant, typename Check>
    void ForEveryCommand(const std::vector<Variant>& variants, Check check)
    {
        for (const RoofCommand& c : kRoofCommands)
            for (const Placing& at : kPlacings) {
                const bool onU = std::string(c.command) == "prismoid";
                const Outline& o = onU ? kU : kRectangle;
                const double overhang = onU ? 3000 : 500;
                SCOPED_TRACE(testing::Message() << c.name << " on the " << o.name << " at " << at.origin.x << ","
                                                << at.origin.y);
                const Made plain = Run(c, o, o.ring, at, overhang);
                ASSERT_GT(plain.faces, 0u) << Transcript();
                for (const Variant& v : variants) {
                    SCOPED_TRACE(v.what);
                    check(v, plain, Run(c, o, v.outline(o.ring), at, overhang));
                }
            }
    }
};

// The roof is the plain one: as many faces, the plan and the extents within what moving one
// corner by tol changes.
void ExpectSameRoof(const Made& made, const Made& plain, double tol, const std::string& transcript)
{
    EXPECT_EQ(made.faces, plain.faces) << transcript;
    EXPECT_NEAR(made.plan, plain.plan, 1e-6 * plain.plan + tol * 40000);
    ExpectExtents(made.box, plain.box.MinPoint(), plain.box.MaxPoint(), 1e-6 + tol);
}

TEST_F(CornerTypedTwiceTest, EveryOutlineRoofCommandRoofsTheOutlineWithoutTheRepeats)
{
    struct Repeat {
        std::string what;
        std::size_t at;  // 0 the first point, 2 a middle one, SIZE_MAX the closing point
        int copies;
        Ring outline(const Ring& ring) const { return Repeating(ring, std::min(at, ring.size()), copies); }
    };
    std::vector<Repeat> repeats;
    for (const int copies : {2, 3, 4})
        for (const auto& [where, at] : {std::pair{"the first point, at the start", std::size_t{0}},
                                        std::pair{"a middle point", std::size_t{2}},
                                        std::pair{"the first point again at the end", SIZE_MAX}})
            repeats.push_back({std::string(where) + ", " + std::to_string(copies) + " times", at, copies});
    ForEveryCommand(repeats, [&](const Repeat&, const Made& plain, const Made& made) {
        ExpectSameRoof(made, plain, 0.0, Transcript());
    });
}

TEST_F(CornerTypedTwiceTest, EveryOutlineRoofCommandDropsASlipAndKeepsAFeature)
{
    // Corner 1 clicked again `length` away, the outline turning `turn` degrees there (negative:
    // to the right, and then sharply left at the second click), or a bay drawn on the wall after
    // it. A slip goes and the roof is the plain one within the slip's length; a feature stays,
    // and the roof reaches past the plain one by at least as far as the feature juts out.
    struct Slip {
        const char* what;
        double length;
        double turn;
        double jut;  // a feature's reach past the plain outline; none for a slip
        Ring outline(const Ring& ring) const
        {
            if (turn != 0.0)
                return Slipping(ring, length, turn);
            // A bay `length` deep and 2 m wide on the wall from corner 1.
            Ring bay = ring;
            const GePoint3d& c = ring[1];
            bay.insert(bay.begin() + 2, {c + GeVector3d(0, 4000, 0), c + GeVector3d(length, 4000, 0),
                                         c + GeVector3d(length, 6000, 0), c + GeVector3d(0, 6000, 0)});
            return bay;
        }
    };
    const std::vector<Slip> slips = {
        {"0.1 mm, turning back 179°", 0.1, 179, 0},
        {"0.7 mm, turning back 135°", std::hypot(0.5, 0.5), 135, 0},
        {"2.2 mm, turning back 153° (20000,0 then 19998,1)", std::hypot(2, 1), 153.43494882292202, 0},
        {"1.4 mm, the second click turning back 135° (20000,0 then 20001,-1)", std::hypot(1, 1), -45, 0},
        {"9.9 mm, turning back 101°", 9.9, 101, 0},
        {"2 mm, the second click a hair inside the next wall", 2, 90.3, 0},
        {"9 mm, the second click a hair outside the next wall", 9, 88.7, 0},
        {"10 mm, turning back 153°: a wall", 10, 153, 10},
        {"a bay 12 mm deep", 12, 0, 12},
    };
    ForEveryCommand(slips, [&](const Slip& s, const Made& plain, const Made& made) {
        if (s.jut == 0.0) {
            ExpectSameRoof(made, plain, s.length, Transcript());
            return;
        }
        ASSERT_GT(made.faces, 0u) << Transcript();
        const double past = std::max({made.box.MaxPoint().x - plain.box.MaxPoint().x,
                                      plain.box.MinPoint().x - made.box.MinPoint().x,
                                      made.box.MaxPoint().y - plain.box.MaxPoint().y,
                                      plain.box.MinPoint().y - made.box.MinPoint().y});
        EXPECT_GT(past, s.jut - 1e-3) << Transcript();
    });
}

}  // namespace
