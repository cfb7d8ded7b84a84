// The gable roof over a wall that is not quite straight, as surveyed walls are: a corner a hair
// off the line of its neighbours (0.001 to 5 mm, out or in, on the ridge line or off it) or a
// jog of 9 mm at 60°, on a gable wall or an eave wall of a rectangle, an L and a U; at the origin
// and at site coordinates, turned by odd angles, either way round, under eave and gable overhangs
// that differ. Each roof is that of the straight outline within the kink's size: as many faces,
// no assertion, the same plan, extents and closure-wall area.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "GableRoofDlg.h"
#include "RoofTestSupport.h"

namespace {

using namespace roof_test;

// Counter-clockwise, clicked at (3000, 3000), the ridge along y = 5000 across it; the gable wall
// and an eave wall are the edges leaving corners gable and eave.
struct Building {
    const char* name;
    Ring ring;
    std::size_t gable, eave;
};
const Building kBuildings[] = {
    {"rectangle", Rectangle(20000, 10000), 1, 0},
    {"L", {{0, 0, 0}, {20000, 0, 0}, {20000, 10000, 0}, {8000, 10000, 0}, {8000, 18000, 0}, {0, 18000, 0}}, 5, 0},
    {"U",
     {{0, 0, 0}, {30000, 0, 0}, {30000, 20000, 0}, {20000, 20000, 0}, {20000, 10000, 0}, {10000, 10000, 0},
      {10000, 20000, 0}, {0, 20000, 0}},
     1,
     0},
};

// A corner `along` the wall, `off` out of its line (in when negative); or a jog: a step |off| long
// there, 60° off the wall's way, out (or in), after which the wall runs on to its end.
struct Kink {
    const char* what;
    bool onGable;
    double off, along;
    bool jog = false;
};
const Kink kKinks[] = {
    {"gable, 0.001 out", true, 0.001, 1.0 / 3}, {"gable, 0.01 in", true, -0.01, 0.5},
    {"gable, 0.2 out", true, 0.2, 0.5},         {"gable, 5 in", true, -5, 0.5},
    {"gable, 5 out", true, 5, 0.8},             {"gable, jog out", true, 9, 1.0 / 3, true},
    {"gable, jog in", true, -9, 0.5, true},     {"eave, 0.01 out", false, 0.01, 1.0 / 3},
    {"eave, 5 in", false, -5, 1.0 / 3},         {"eave, jog out", false, 9, 0.5, true},
};

Ring Kinked(const Building& b, const Kink& k)
{
    Ring ring = b.ring;
    const std::size_t i = k.onGable ? b.gable : b.eave;
    const GePoint3d start = ring[i], end = ring[(i + 1) % ring.size()], at = start + (end - start) * k.along;
    const GeVector3d way = (end - start) / start.DistanceTo(end), out(way.y, -way.x, 0);
    const GePoint3d step = at + way * std::fabs(k.off) * std::cos(Radians(60)) + out * k.off * std::sin(Radians(60));
    const Ring added = k.jog ? Ring{at, step} : Ring{at + out * k.off};
    ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(i + 1), added.begin(), added.end());
    return ring;
}

const Placing kPlacings[] = {{}, {0, 5e5, 3e6, true}, {23.7, 0, 0, true}, {-61.3, 5e5, 3e6}};
const std::pair<int, int> kOverhangs[] = {{1000, 0}, {500, 300}, {0, 800}};

class GableRoofKinkedWallsTest : public FreshDialogTest<g_gableRoofDefaults> {
protected:
    RoofMade Run(const Ring& ring, const Placing& at, std::pair<int, int> overhangs)
    {
        FreshDialogTest::SetUp();
        Script("pline closed " + ScriptPoints(at(ring)) + "\ngable\n@" + at.Click(3000, 3000) + "\n" +
               at.Click(0, 5000) + "\n" + at.Click(Extents({ring}).MaxPoint().x, 5000) + "\nset 1157 " +
               std::to_string(overhangs.first) + "\nset 1158 " + std::to_string(overhangs.second) + "\nok\n");
        return MadeOn("坡屋顶");
    }
};

TEST_F(GableRoofKinkedWallsTest, AWallNotQuiteStraightIsRoofedAsTheStraightOne)
{
    for (const Building& b : kBuildings)
        for (const Placing& at : kPlacings)
            for (const auto& overhangs : kOverhangs) {
                SCOPED_TRACE(testing::Message() << b.name << " turned " << at.degrees << "° at " << at.y
                                                << (at.clockwise ? " clockwise" : "") << ", overhangs "
                                                << overhangs.first << "/" << overhangs.second);
                const RoofMade plain = Run(b.ring, at, overhangs);
                ASSERT_GT(plain.faces, 0u) << Transcript();
                for (const Kink& k : kKinks) {
                    SCOPED_TRACE(k.what);
                    const RoofMade made = Run(Kinked(b, k), at, overhangs);
                    EXPECT_EQ(Transcript().find("表达式失败"), std::string::npos) << Transcript();
                    // Growing a corner that turns a hair moves it a hair further.
                    ExpectPlainRoof(made, plain, std::fabs(k.off) + 1e-3, Transcript());
                }
            }
}

}  // namespace
