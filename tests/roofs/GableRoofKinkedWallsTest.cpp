// The gable roof over a wall that is not quite straight, as surveyed walls are: a corner a hair
// off the line of its neighbours (0.001 to 5 mm over metres, out or in, on the ridge line or off
// it), or a jog of 9 mm at 60°, on a gable wall or on an eave wall of a rectangle, an L and a U;
// at the origin and at site coordinates, turned by odd angles, drawn either way round, under
// eave and gable overhangs that differ. Each roof is the roof of the outline drawn straight
// within what the kink itself moves: as many faces, the same plan, extents and eave height,
// and closure walls of the same area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "GableRoofDlg.h"
#include "RoofTestSupport.h"

namespace {

using namespace roof_test;

constexpr double kTop = 6000;

// An outline drawn counter-clockwise, a point inside it, its ridge (along x at ridgeY over the
// whole outline), and a gable wall and an eave wall as the edges leaving corners gable and eave.
struct Building {
    const char* name;
    Ring ring;
    GePoint3d click;
    double ridgeY, ridgeTo;
    std::size_t gable, eave;
};

const Building kBuildings[] = {
    {"rectangle", Rectangle(20000, 10000, kTop), {3000, 3000, 0}, 5000, 20000, 1, 0},
    {"L",
     {{0, 0, kTop}, {20000, 0, kTop}, {20000, 10000, kTop}, {8000, 10000, kTop}, {8000, 18000, kTop}, {0, 18000, kTop}},
     {3000, 3000, 0},
     5000,
     20000,
     5,
     0},
    {"U",
     {{0, 0, kTop}, {30000, 0, kTop}, {30000, 20000, kTop}, {20000, 20000, kTop}, {20000, 10000, kTop},
      {10000, 10000, kTop}, {10000, 20000, kTop}, {0, 20000, kTop}},
     {3000, 3000, 0},
     5000,
     30000,
     1,
     0},
};

// A wall made not quite straight: a corner `along` the way from its start, `off` outward (in
// when negative); or, as a jog, the wall stepping |off| long there, 60° from its way, outward (or
// in), and running on to its end.
struct Kink {
    const char* what;
    bool onGable;
    double off, along;
    bool jog = false;
    // How far the kinked wall strays from the straight one.
    double Size() const { return std::fabs(off); }
    Ring Apply(const Building& b) const
    {
        Ring ring = b.ring;
        const std::size_t i = onGable ? b.gable : b.eave;
        const GePoint3d start = ring[i], end = ring[(i + 1) % ring.size()];
        const GeVector3d wall = (end - start) / start.DistanceTo(end), outward(wall.y, -wall.x, 0);
        const GePoint3d at = start + (end - start) * along;
        Ring inserted = {at + outward * off};
        if (jog)
            inserted = {at, at + wall * std::fabs(off) * std::cos(Radians(60)) + outward * off * std::sin(Radians(60))};
        ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(i + 1), inserted.begin(), inserted.end());
        return ring;
    }
};

const Kink kKinks[] = {
    {"gable wall, 0.001 mm out", true, 0.001, 1.0 / 3},  {"gable wall, 0.01 mm in", true, -0.01, 0.5},
    {"gable wall, 0.1 mm out", true, 0.1, 0.5},          {"gable wall, 0.2 mm in", true, -0.2, 1.0 / 3},
    {"gable wall, 0.2 mm out", true, 0.2, 0.5},          {"gable wall, 1 mm out", true, 1, 1.0 / 3},
    {"gable wall, 5 mm in", true, -5, 0.5},              {"gable wall, 5 mm out", true, 5, 0.8},
    {"gable wall, a 9 mm jog out", true, 9, 1.0 / 3, true}, {"gable wall, a 9 mm jog in", true, -9, 0.5, true},
    {"eave wall, 0.001 mm in", false, -0.001, 0.5},      {"eave wall, 0.01 mm out", false, 0.01, 1.0 / 3},
    {"eave wall, 0.2 mm in", false, -0.2, 0.1},          {"eave wall, 1 mm out", false, 1, 0.5},
    {"eave wall, 5 mm in", false, -5, 1.0 / 3},          {"eave wall, a 9 mm jog out", false, 9, 0.5, true},
};

// Turned about the origin, moved, and run clockwise or not.
struct Placing {
    double degrees;
    GeVector3d origin;
    bool clockwise;
    GePoint3d operator()(const GePoint3d& p) const
    {
        const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
        return GePoint3d(c * p.x - s * p.y + origin.x, s * p.x + c * p.y + origin.y, p.z);
    }
    Ring operator()(const Ring& ring) const
    {
        Ring placed;
        for (const GePoint3d& p : ring)
            placed.push_back((*this)(p));
        if (clockwise)
            std::reverse(placed.begin(), placed.end());
        return placed;
    }
};
const Placing kPlacings[] = {
    {0, {0, 0, 0}, false}, {0, {5e5, 3e6, 0}, true}, {23.7, {0, 0, 0}, true}, {-61.3, {5e5, 3e6, 0}, false}};

struct Overhangs {
    int eave, gable;
};
const Overhangs kOverhangs[] = {{1000, 0}, {500, 300}, {0, 800}};

// What the roof made, measured without the roof code.
struct Made {
    std::size_t faces = 0;
    double plan = 0.0, walls = 0.0;
    GeBoundBox3d box;
};

class GableRoofKinkedWallsTest : public FreshDialogTest<g_gableRoofDefaults> {
protected:
    Made Run(const Building& b, const Ring& ring, const Placing& at, const Overhangs& o)
    {
        FreshDialogTest::SetUp();
        const auto point = [&](double x, double y) {
            const GePoint3d p = at(GePoint3d(x, y, 0));
            return std::to_string(p.x) + "," + std::to_string(p.y);
        };
        Script("pline closed " + ScriptPoints(at(ring)) + "\ngable\n@" + point(b.click.x, b.click.y) + "\n" +
               point(0, b.ridgeY) + "\n" + point(b.ridgeTo, b.ridgeY) + "\nset 1157 " + std::to_string(o.eave) +
               "\nset 1158 " + std::to_string(o.gable) + "\nok\n");
        Made made;
        for (const Ring& face : MeshFaces(Solids("坡屋顶"))) {
            ++made.faces;
            made.plan += std::fabs(SignedPlanArea(face));
            for (const GePoint3d& p : face)
                made.box.Extend(p);
        }
        for (const Ring& wall : MeshFaces(Solids("屋顶封闭")))
            made.walls += SpaceArea(wall);
        return made;
    }
};

TEST_F(GableRoofKinkedWallsTest, AWallNotQuiteStraightIsRoofedAsTheStraightOne)
{
    for (const Building& b : kBuildings)
        for (const Placing& at : kPlacings)
            for (const Overhangs& o : kOverhangs) {
                SCOPED_TRACE(testing::Message() << b.name << " turned " << at.degrees << "° at " << at.origin.y
                                                << (at.clockwise ? " clockwise" : "") << ", eave " << o.eave
                                                << ", gable " << o.gable);
                const Made plain = Run(b, b.ring, at, o);
                ASSERT_GT(plain.faces, 0u) << Transcript();
                for (const Kink& k : kKinks) {
                    SCOPED_TRACE(k.what);
                    const Made made = Run(b, k.Apply(b), at, o);
                    // Growing a corner that turns a hair moves it a hair further.
                    const double tol = k.Size() + 1e-3;
                    EXPECT_EQ(made.faces, plain.faces) << Transcript();
                    EXPECT_EQ(Transcript().find("表达式失败"), std::string::npos) << Transcript();
                    EXPECT_NEAR(made.plan, plain.plan, 1e-9 * plain.plan + tol * 30000);
                    EXPECT_NEAR(made.walls, plain.walls, 1e-9 * plain.walls + tol * 30000);
                    ExpectExtents(made.box, plain.box.MinPoint(), plain.box.MaxPoint(), tol);
                }
            }
}

}  // namespace
