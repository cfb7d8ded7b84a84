// Outlines as users give them, in front of every command that picks a roof's outline: the closing
// corner typed two, three or four times (the clean-up's own table has the other places), a corner
// clicked again a few millimetres apart or back along the wall, a retrace, sharp features drawn on
// purpose, a wall not quite straight, and a courtyard. Each command runs on its base drawn plainly
// and as given, from the origin counter-clockwise, at site coordinates clockwise and turned: with
// a repeat or a slip it makes the plain outline's roof (what the plain outline makes is each
// command's own tests' concern), a shape drawn on purpose keeps its mitred eave, the gable roofs a
// kinked wall as a straight one, and a roof over a courtyard is made and says so once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "GableRoofDlg.h"
#include "HostSolids.h"
#include "RoofRings.h"
#include "RoofTestSupport.h"

namespace {

using namespace roof_test;

constexpr double kTop = 3000;
constexpr double kOverhang = 500;

// An outline and where a user clicks to pick it; the gable's ridge runs across it at ridgeY.
struct Outline {
    const char* name;
    Ring ring;
    GePoint3d click;
    double ridgeY;
};

// 20 x 10 m; an L of 20 x 18 m, its wings 10 and 8 m wide; a U of 30 x 20 m, its courtyard 10 m
// wide and deep; that U with its arms bent in to a mouth of 2 m; 30 x 30 m round a courtyard of
// 10 x 10 m reached by a slit walked in and out.
const Outline kRectangle = {"rectangle", Rectangle(20000, 10000, kTop), {5000, 3000, 0}, 5000};
const Outline kL = {"L",
                    {{0, 0, kTop}, {20000, 0, kTop}, {20000, 10000, kTop}, {8000, 10000, kTop}, {8000, 18000, kTop},
                     {0, 18000, kTop}},
                    {3000, 3000, 0},
                    5000};
const Outline kU = {"U",
                    {{0, 0, kTop}, {30000, 0, kTop}, {30000, 20000, kTop}, {20000, 20000, kTop},
                     {20000, 10000, kTop}, {10000, 10000, kTop}, {10000, 20000, kTop}, {0, 20000, kTop}},
                    {5000, 15000, 0},
                    5000};
const Outline kBentU = {"U with bent arms",
                        {{0, 0, kTop}, {30000, 0, kTop}, {30000, 20000, kTop}, {16000, 20000, kTop},
                         {16000, 18000, kTop}, {20000, 18000, kTop}, {20000, 10000, kTop}, {10000, 10000, kTop},
                         {10000, 18000, kTop}, {14000, 18000, kTop}, {14000, 20000, kTop}, {0, 20000, kTop}},
                        {5000, 5000, 0},
                        10000};
const Outline kKeyhole = {"keyhole",
                          {{0, 0, kTop}, {15000, 0, kTop}, {15000, 10000, kTop}, {10000, 10000, kTop},
                           {10000, 20000, kTop}, {20000, 20000, kTop}, {20000, 10000, kTop}, {15000, 10000, kTop},
                           {15000, 0, kTop}, {30000, 0, kTop}, {30000, 30000, kTop}, {0, 30000, kTop}},
                          {5000, 5000, 0},
                          15000};
// 20 x 10 m, its south-east corner stepping back in three steps of 200 mm; 20 x 6 m ending in
// a wedge of the angle (its walls 11 to 17 m long).
const Outline kStairs = {"staircase",
                         {{0, 0, kTop}, {19400, 0, kTop}, {19400, 200, kTop}, {19600, 200, kTop}, {19600, 400, kTop},
                          {19800, 400, kTop}, {19800, 600, kTop}, {20000, 600, kTop}, {20000, 10000, kTop},
                          {0, 10000, kTop}},
                         {5000, 5000, 0},
                         5000};
Outline Wedge(double degrees)
{
    const double tip = 20000 + 3000 / std::tan(Radians(degrees / 2));
    return {"wedge", {{0, 0, kTop}, {20000, 0, kTop}, {tip, 3000, kTop}, {20000, 6000, kTop}, {0, 6000, kTop}},
            {5000, 3000, 0}, 3000};
}
const Outline kWedge20 = Wedge(20), kWedge30 = Wedge(30), kWedge40 = Wedge(40);

// The plan of a shape drawn on purpose lies within this of the outline as drawn grown with mitred
// corners.
constexpr double kDrawnWithin = 10;

// A roof command: on a polyline or a solid's face, the layer of its roof, its dialog's lines
// before and after the overhang typed, how far its plan reaches out of the outline (the arch,
// which takes the outline's first corners as its section's ends and ridge's, and the balcony,
// drawn against a building along the closing edge, grow none), and how far past the plain roof
// a retrace or a jog left at a corner may take it (one overhang; nothing where none grows).
struct Command {
    const char* name;
    const char* command;
    const char* layer;
    bool face;
    const char* beforeOverhang;
    const char* afterOverhang;
    double grows = kOverhang, reach = kOverhang;
};
const Command kCommands[] = {
    {"roof, flat", "roof", "平屋顶", false, "radio 1159\nset 1157 ", ""},
    {"roof, multi-slope", "roof", "坡屋顶", false, "radio 1210\nset 1157 ", "set 1158 30\n"},
    {"prismoid", "prismoid", "坡屋顶", false, "radio 1315\nset 1156 1500\nset 1157 500\nset 1155 ", ""},
    {"proof on a solid's face", "proof", "坡屋顶", true, "set 1312 ", ""},
    {"gable", "gable", "坡屋顶", false, "set 1157 ", ""},
    {"arcroof", "arcroof", "坡屋顶", false, "", "", 0, 0},
    {"balcony", "balcony", "阳台", false, "", "", 0, 0},
};
const Command& kGable = kCommands[4];
const Command& kArch = kCommands[5];
const Command& kBalcony = kCommands[6];
// The commands that roof a closed outline.
const std::span<const Command> kOutlineCommands(kCommands, 5);

// What the commands say of a shape beyond them: the pyramid roofs no concave outline, the
// multi-slope roof fewer than 100 corners, the balcony's tracer joins ends within 1.0, and the
// prismoid's roof routine takes no more than 499 corners.
bool RefusedAsBeyond(const std::string& transcript, std::size_t corners)
{
    const auto said = [&](const char* m) { return transcript.find(m) != std::string::npos; };
    return said("无法计算出檐点") || said("顶点数太多") || said("阳台轮廓选择无效") ||
           (corners > 499 && said("提示：创建棱台屋顶失败。"));
}

// From the origin one way round, or at site coordinates the other, or turned by odd angles.
const Placing kPlacings[] = {{}, {0, 5e5, 3e6, true}, {33.3, 5e5, 3e6}, {-61.3, 5e5, 3e6, true}, {23.7, 0, 0, true}};

// Points given after the ring's corner i, relative to it; the outline then goes on to the next.
Ring AfterCorner(Ring ring, std::size_t i, const std::vector<GeVector3d>& offsets)
{
    const GePoint3d c = ring[i];
    for (auto at = offsets.rbegin(); at != offsets.rend(); ++at)
        ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(i + 1), c + *at);
    return ring;
}

// Corner i clicked again `length` away, turning `turn` degrees left of the edge coming into it
// (+x at corner 1 of the rectangles).
Ring Slipping(const Ring& ring, double length, double turn, std::size_t i = 1)
{
    const GeVector3d in = ring[i] - ring[i - 1];
    const double way = std::atan2(in.y, in.x) + Radians(turn);
    return AfterCorner(ring, i, {GeVector3d(length * std::cos(way), length * std::sin(way), 0)});
}

// How far the point clicked again lies from the outline without it: off the wall it left by the
// wedge's width L·sin(180° − t), or off the next wall by L·|cos t|, the nearer below 135°.
double ClickedAgainMoves(double length, double turn)
{
    return length * std::min(std::sin(Radians(180 - turn)), std::fabs(std::cos(Radians(turn))));
}
// Corners clicked again (length, turn): the point clicked again 1 to 95 mm off the outline
// without it, or 105 to 250 mm; none within a hair of the sliver width of 100.
const std::pair<double, double> kClickedAgain[] = {
    {10, 120},  {10, 179},  {60, 120},  {60, 165},  {190, 150}, {210, 150}, {300, 165},
    {367, 165}, {406, 165}, {500, 120}, {500, 150}, {500, 175}, {500, 179},
};

// Features drawn on purpose on the south wall (corner 0 to 1, the outside at -y), from x = 4000.
// Teeth side by side, each from its start to a tip `tipAt` along and `depth` out, then on to the
// next start `base` along.
Ring Teeth(const Ring& ring, double base, double tipAt, double depth, int count = 4)
{
    std::vector<GeVector3d> points;
    for (int k = 0; k <= count; ++k) {
        points.emplace_back(4000 + k * base, 0, 0);
        if (k < count)
            points.emplace_back(4000 + k * base + tipAt, -depth, 0);
    }
    return AfterCorner(ring, 0, points);
}
// A sawtooth: teeth whose two walls are `wall` long and meet at `apex` degrees.
Ring Sawtooth(const Ring& ring, double wall, double apex)
{
    const double base = 2 * wall * std::sin(Radians(apex / 2));
    return Teeth(ring, base, base / 2, wall * std::cos(Radians(apex / 2)));
}
// A bay wider at its front than at the wall, its returns `length` long leaning out at `angle`
// degrees from the wall.
Ring DovetailBay(const Ring& ring, double length, double angle)
{
    const double along = length * std::cos(Radians(angle)), out = length * std::sin(Radians(angle));
    return AfterCorner(ring, 0, {{8000, 0, 0}, {8000 - along, -out, 0}, {10000 + along, -out, 0}, {10000, 0, 0}});
}
// A V cut `width` wide and 600 deep into the wall.
Ring VNotch(const Ring& ring, double width)
{
    return AfterCorner(ring, 0, {{8000, 0, 0}, {8000 + width / 2, 600, 0}, {8000 + width, 0, 0}});
}
// A light well `width` wide and 3 m deep, its end slanted at 45°.
Ring LightWell(const Ring& ring, double width)
{
    return AfterCorner(ring, 0, {{8000, 0, 0}, {8000, 3000, 0}, {8000 + width, 3000 - width, 0}, {8000 + width, 0, 0}});
}
// The east end drawn to a point: the south wall meets a facet `length` long at `angle` degrees,
// from whose end the end wall runs square to the north.
Ring WedgeTip(const Ring& ring, double length, double angle)
{
    Ring tip = AfterCorner(ring, 1, {{-length * std::cos(Radians(angle)), length * std::sin(Radians(angle)), 0}});
    tip[3].x = tip[2].x;
    return tip;
}
// A triangular balcony against the wall x = 0, its sides `a` and `b` long meeting at `apex`
// degrees; an open outline from (0, 0) round its tip back to the wall.
Ring Triangle(double a, double b, double apex, double z)
{
    const double wall = std::sqrt(a * a + b * b - 2 * a * b * std::cos(Radians(apex)));
    const double y = (a * a - b * b + wall * wall) / (2 * wall);
    return {{0, 0, z}, {std::sqrt(a * a - y * y), y, z}, {0, wall, z}};
}

// The rectangle with corner 1 rounded at the radius, in chords of (at most) the length.
Ring Rounded(const Ring& ring, double radius, double chord)
{
    const int n = static_cast<int>(std::ceil(radius * std::numbers::pi / 2 / chord));
    std::vector<GeVector3d> arc;
    for (int k = 0; k <= n; ++k)
        arc.emplace_back(radius * (std::sin(std::numbers::pi / 2 * k / n) - 1),
                         radius * (1 - std::cos(std::numbers::pi / 2 * k / n)), 0);
    Ring rounded = AfterCorner(ring, 1, arc);
    rounded.erase(rounded.begin() + 1);
    return rounded;
}

// Plans in micrometres, fine enough for arcs drawn in millimetre chords: what the solids on the
// layer cover (of a balcony its slabs, the outline's plan: its parapets, 300 thick, stand inside
// and fold over where a drawn feature is narrower than they are), and how much of plan a (in mm²)
// lies outside plan b grown round by the distance, give or take half a millimetre (the
// single-precision offset's at site coordinates).
constexpr double kScale = 1000;
ClipperLib::Paths PlanOn(const char* layer)
{
    std::vector<Ring> faces;
    for (const decDbEntity3d* solid : Solids(layer))
        if (!decCast<decDbLoft>(solid->GetBaseObject()))
            for (Ring& face : MeshFaces(*solid->GetMesh(), solid->GetTM()))
                faces.push_back(std::move(face));
    return PlanUnion(faces, kScale);
}
double Outside(const ClipperLib::Paths& a, const ClipperLib::Paths& b, double by)
{
    ClipperLib::ClipperOffset offset(2.0, 0.1 * kScale);
    offset.AddPaths(b, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths grown;
    offset.Execute(grown, (by + 0.5) * kScale);
    return PathsArea(Clipped(ClipperLib::ctDifference, a, grown)) / (kScale * kScale);
}

class OutlinesAsGivenTest : public FreshDialogTest<g_gableRoofDefaults> {
protected:
    // The command on the ring (the outline's, or as given) placed and grown by the overhang, in
    // a new drawing; the transcript holds what it said. False when a line was not taken (the
    // dialog's, after a refusal).
    bool Run(const Command& c, const Outline& o, const Ring& ring, const Placing& at, double overhang = kOverhang,
             double atEnds = kOverhang)
    {
        FreshDialogTest::SetUp();
        std::string lines = std::string(c.command) + "\n";
        if (&c == &kArch) {
            for (std::size_t i = 0; i == 0 || !ring[i - 1].IsEqual(o.ring[2], 1e-9); ++i)
                lines += at.Click(ring[i].x, ring[i].y) + "\n";
            return ModuleTest::Run(lines + "\n200\n");
        }
        if (&c == &kBalcony) {
            const Ring building = tools_test::Moved(Rectangle(5000, o.ring.back().y + 2000, kTop), -5000, -1000);
            return ModuleTest::Run("pline closed " + ScriptPoints(at(building)) + "\npline " + ScriptPoints(at(ring)) +
                                   "\n" + lines + "#1\nlast\nok\n");
        }
        if (c.face)
            AddMesh({at(ring)});
        const bool gable = &c == &kGable;
        lines = (c.face ? "" : "pline closed " + ScriptPoints(at(ring)) + "\n") + lines + "@" +
                at.Click(o.click.x, o.click.y) + "\n";
        if (gable)
            lines += at.Click(0, o.ridgeY) + "\n" + at.Click(Extents({o.ring}).MaxPoint().x, o.ridgeY) + "\n";
        lines += c.beforeOverhang + std::to_string(std::lround(overhang)) + "\n" + c.afterOverhang;
        return ModuleTest::Run(lines + (gable ? "set 1158 " + std::to_string(std::lround(atEnds)) + "\n" : "") +
                               "ok\n");
    }
};

// Every command on its plain outline and on each as given, in each placing, grown by 500 (or as
// the row says). A repeat, a slip or a retrace goes: the roof lies within `within` of the plain
// one, or, where it leaves a corner off the plain one, reaches no farther past it than the
// command's reach and falls no more than 1 m short. A shape drawn on purpose stays, however
// sharply it turns back: the roof's plan lies within kDrawnWithin of the outline as drawn grown
// with mitred corners, or a shape beyond the command is refused with its message. So does a
// corner clicked again whose point clicked again lies more than the sliver width off the outline
// without it. The arch takes only the slips at its section's end.
TEST_F(OutlinesAsGivenTest, EveryRoofCommandDropsRepeatsAndSlipsAndKeepsWhatIsDrawn)
{
    struct Given {
        std::string what;
        std::function<Ring(const Ring&)> outline;
        std::optional<double> within = std::nullopt;
        bool drawn = false;
        const Outline* base = &kRectangle;
        double overhang = kOverhang;
        bool balconyOnly = false;
    };
    std::vector<Given> given = {
        {"20000,0 then 19998,1", [](const Ring& r) { return AfterCorner(r, 1, {{-2, 1, 0}}); }, 2.24},
        {"20000,0 then 20001,-1", [](const Ring& r) { return AfterCorner(r, 1, {{1, -1, 0}}); }, 1.42},
        {"9.9 mm, turning back 101°", [](const Ring& r) { return Slipping(r, 9.9, 101); }, 9.9},
        // Kept as drawn: grown, a corner turning a hair more than square reaches 2.6 mm past the
        // plain one, a hair less falls 11.2 mm short of it (the gable's too, though it moves the
        // bent wall as one).
        {"2 mm, a hair inside the next wall", [](const Ring& r) { return Slipping(r, 2, 90.3); }, 3},
        {"9 mm, a hair outside the next wall", [](const Ring& r) { return Slipping(r, 9, 88.7); }, 12},
        {"clicked three times", [](const Ring& r) { return AfterCorner(r, 1, {{-2, 1, 0}, {1, -1, 0}}); }, 2.24},
        {"9 mm back and 9 mm on", [](const Ring& r) { return AfterCorner(r, 1, {{-9, 0, 0}, {0, 9, 0}}); }},
        {"9 mm on and 9 mm back", [](const Ring& r) { return AfterCorner(r, 1, {{0, 9, 0}, {-9, 0, 0}}); }},
        {"the last point retracing 200 mm of the end wall",
         [](const Ring& r) { return AfterCorner(r, r.size() - 1, {{0, -10200, 0}}); }, 0, false, &kStairs},
        {"a bay 12 mm deep",
         [](const Ring& r) { return AfterCorner(r, 1, {{0, 4000, 0}, {12, 4000, 0}, {12, 6000, 0}, {0, 6000, 0}}); },
         {}, true},
        {"steps of 200", std::identity(), {}, true, &kStairs},
        {"a wedge of 20°", std::identity(), {}, true, &kWedge20},
        {"a wedge of 30°", std::identity(), {}, true, &kWedge30},
    };
    for (const int copies : {2, 3, 4})
        given.push_back({"the closing point " + std::to_string(copies) + " times",
                         [=](const Ring& r) { return tools_test::Repeated(r, r.size(), copies); }, 0});
    for (const auto& [length, turn] : kClickedAgain) {
        const bool slip = ClickedAgainMoves(length, turn) <= roof_rings::kSliverWidth;
        given.push_back({std::to_string(length) + " mm back, turning " + std::to_string(turn) + "°",
                         [=](const Ring& r) { return Slipping(r, length, turn); },
                         slip ? std::optional<double>(0) : std::nullopt, !slip});
    }
    for (const double length : {50.0, 200.0, 500.0}) {
        given.push_back({"back along the wall " + std::to_string(length),
                         [=](const Ring& r) { return AfterCorner(r, 1, {{-length, 0, 0}}); }});
        given.push_back({"on past the corner and back " + std::to_string(length),
                         [=](const Ring& r) { return AfterCorner(r, 1, {{length, 0, 0}, {0, 0, 0}}); }, 0});
    }
    // Walls retraced by hand a little off their line, far longer than a click again: the turning
    // point goes, and the outline keeps the point that far inside the wall.
    for (const double off : {1.0, 90.0})
        given.push_back({"the last point retracing 6 m of the end wall, " + std::to_string(off) + " mm off",
                         [=](const Ring& r) { return AfterCorner(r, r.size() - 1, {{0, -8000, 0}, {off, -6000, 0}}); },
                         off});
    for (const double jog : {-50.0, -20.0, -10.0, 10.0, 20.0, 50.0})
        given.push_back({"a jog of " + std::to_string(jog),
                         [=](const Ring& r) { return AfterCorner(r, 0, {{10000, 0, 0}, {10000, jog, 0}}); }, {}, true});
    for (const auto& [radius, chord] : {std::pair{20.0, 1.0}, {20.0, 5.0}, {50.0, 2.0}, {300.0, 2.0}, {2000.0, 5.0}})
        given.push_back({"rounded at R " + std::to_string(radius) + " in chords of " + std::to_string(chord),
                         [=](const Ring& r) { return Rounded(r, radius, chord); }, {}, true});
    // Sharp features of real buildings, each turning back by far more than a right angle along
    // less than a metre or two.
    for (const auto& [wall, apex] : {std::pair{300.0, 25.0}, {700.0, 45.0}, {990.0, 50.0}, {1200.0, 60.0}})
        given.push_back({"a sawtooth of " + std::to_string(wall) + " at " + std::to_string(apex) + "°",
                         [=](const Ring& r) { return Sawtooth(r, wall, apex); }, {}, true});
    given.push_back({"teeth 500 deep, square then at 45°", [](const Ring& r) { return Teeth(r, 500, 0, 500); }, {},
                     true});
    given.push_back({"teeth 1200 deep, at 45° then square", [](const Ring& r) { return Teeth(r, 1200, 1200, 1200); },
                     {}, true});
    for (const auto& [length, angle] : {std::pair{500.0, 35.0}, {1000.0, 50.0}})
        given.push_back({"a bay, its returns " + std::to_string(length) + " at " + std::to_string(angle) + "°",
                         [=](const Ring& r) { return DovetailBay(r, length, angle); }, {}, true});
    for (const auto& [length, angle] : {std::pair{300.0, 25.0}, {600.0, 35.0}, {1000.0, 45.0}})
        given.push_back({"a wedge's tip, a facet " + std::to_string(length) + " at " + std::to_string(angle) + "°",
                         [=](const Ring& r) { return WedgeTip(r, length, angle); }, {}, true});
    for (const double width : {400.0, 1000.0})
        for (const double overhang : {0.0, kOverhang}) {
            const std::string grown = " grown by " + std::to_string(overhang);
            given.push_back({"a V-notch " + std::to_string(width) + " wide" + grown,
                             [=](const Ring& r) { return VNotch(r, width); }, {}, true, &kRectangle, overhang});
            given.push_back({"a light well " + std::to_string(width) + " wide" + grown,
                             [=](const Ring& r) { return LightWell(r, width); }, {}, true, &kRectangle, overhang});
        }
    for (const auto& [a, b, apex] : {std::tuple{500.0, 500.0, 35.0}, {800.0, 800.0, 43.0}, {1000.0, 500.0, 55.0}})
        given.push_back({"a triangular balcony " + std::to_string(a) + " by " + std::to_string(b) + " at " +
                             std::to_string(apex) + "°",
                         [=](const Ring& r) { return Triangle(a, b, apex, r.front().z); }, {}, true, &kRectangle,
                         kOverhang, true});
    for (const Command& c : kCommands)
        for (const Placing& at : kPlacings) {
            std::map<const Outline*, ClipperLib::Paths> plain;
            for (const Given& g : given) {
                if ((&c == &kArch && (g.drawn || g.base != &kRectangle)) || (g.balconyOnly && &c != &kBalcony))
                    continue;
                SCOPED_TRACE(testing::Message() << c.name << " at " << at.y << " turned " << at.degrees << ": "
                                                << g.what);
                if (!g.drawn && !plain.contains(g.base)) {
                    ASSERT_TRUE(Run(c, *g.base, g.base->ring, at)) << Transcript();
                    plain[g.base] = PlanOn(c.layer);
                }
                const Ring ring = g.outline(g.base->ring);
                const bool taken = Run(c, *g.base, ring, at, g.overhang, g.overhang);
                const ClipperLib::Paths made = PlanOn(c.layer);
                if (g.drawn && made.empty() && RefusedAsBeyond(Transcript(), ring.size()))
                    continue;
                ASSERT_TRUE(taken && !made.empty()) << Transcript();
                const ClipperLib::Paths expected =
                    g.drawn ? MitredGrown(at(ring), c.grows > 0 ? g.overhang : 0, kScale) : plain[g.base];
                const double past = g.drawn ? kDrawnWithin : g.within.value_or(c.reach);
                const double near = g.drawn ? kDrawnWithin : g.within.value_or(2 * kOverhang);
                EXPECT_LT(Outside(made, expected, past), 1) << "reaches too far\n" << Transcript();
                EXPECT_LT(Outside(expected, made, near), 1) << "falls short\n" << Transcript();
            }
        }
}

// The clean-up alone, at every placing. Of a corner clicked again, the point clicked again goes and
// the real corner stays where that moves no drawn point farther than the sliver width (95 against
// 105 mm, at two turns); otherwise the outline stays as drawn, as it does for features that turn
// back as sharply (a sawtooth, a wedge's tip, a triangular balcony) and for corners that do not
// turn back past the angular tolerance. Loosening or dropping the bound takes a wide row out.
TEST(OutlineSlips, WhatMovesTheDrawingNoMoreThanASliverGoesAndNothingElse)
{
    struct Row {
        std::string what;
        Ring given;
        bool slip;
        bool closed = true;
        std::optional<Ring> plain = std::nullopt;  // what a slip leaves, when not the rectangle
    };
    const Ring rectangle = Rectangle(20000, 10000);
    // A wedge's wall bent 60 mm out 400 mm before its tip: taking the bend out would move the
    // drawing less than a sliver, but only sharpen the drawn tip.
    Ring bent = kWedge40.ring;
    const GeVector3d wall = bent[2] - bent[1], out = GeVector3d(wall.y, -wall.x, 0) * (1 / wall.Length());
    bent.insert(bent.begin() + 2, bent[2] - wall * (400 / wall.Length()) + out * 60);
    std::vector<Row> rows = {
        {"a wedge's tip clicked again 50 mm back at 170°", Slipping(kWedge40.ring, 50, 170, 2), true, true,
         kWedge40.ring},
        {"a wedge's wall bent 60 mm out before its tip", bent, false},
        {"9.9 mm back at 101°", Slipping(rectangle, 9.9, 101), true},
        {"2 mm at 90.3°", Slipping(rectangle, 2, 90.3), false},
        {"9 mm at 88.7°", Slipping(rectangle, 9, 88.7), false},
        {"a sawtooth of 300 at 25°", Sawtooth(rectangle, 300, 25), false},
        {"a wedge's tip, a facet of 300 at 25°", WedgeTip(rectangle, 300, 25), false},
        {"a light well 400 wide", LightWell(rectangle, 400), false},
        {"a triangular balcony 500 by 500 at 35°", Triangle(500, 500, 35, 0), false, false},
    };
    for (const auto& [length, turn] : kClickedAgain)
        rows.push_back({std::to_string(length) + " mm back at " + std::to_string(turn) + "°",
                        Slipping(rectangle, length, turn),
                        ClickedAgainMoves(length, turn) <= roof_rings::kSliverWidth});
    for (const Row& row : rows)
        for (const Placing& at : kPlacings) {
            SCOPED_TRACE(testing::Message() << row.what << " at " << at.y << " turned " << at.degrees);
            const Ring cleaned = roof_rings::WithoutSlips(at(row.given), 0.001, row.closed);
            ExpectPointsNear(cleaned, at(row.slip ? row.plain.value_or(rectangle) : row.given), 1e-6);
        }
    // A spindle no wider than a sliver is drawn so: taking out either side's corner would only
    // sharpen its tips.
    EXPECT_EQ(roof_rings::WithoutSlips({{0, 0, 0}, {5000, -30, 0}, {10000, 0, 0}, {5000, 30, 0}}, 0.001).size(), 4u);
}

// The arch's ridge end behind the square through the section's end (12000, 0) is the end clicked
// again, and asked again, while it lies within the sliver width of the section's line, however far
// back (95 mm off, 0.5 and 2 m back); farther off it is a ridge, however short (105 mm off, 0.4 m
// back). On the line it is asked again, ahead of the square it is a ridge.
TEST_F(OutlinesAsGivenTest, AnArchsRidgeEndIsClickedAgainOnlyWithinASliverOfTheSection)
{
    const struct {
        double x, y;
        bool askedAgain;
    } ends[] = {{11500, 95, true},  {10000, 95, true},   {11600, 105, false},
                {11000, 0, true},   {13000, 0.0005, true}, {13000, 50, false}};
    for (const auto& e : ends)
        for (const Placing& at : kPlacings) {
            SCOPED_TRACE(testing::Message() << "ridge end " << e.x << "," << e.y << " at " << at.y << " turned "
                                            << at.degrees);
            FreshDialogTest::SetUp();
            const std::string clicks = "arcroof\n" + at.Click(0, 0) + "\n" + at.Click(12000, 0) + "\n" +
                                       at.Click(e.x, e.y) + "\n" + (e.askedAgain ? at.Click(12000, 20000) + "\n" : "");
            EXPECT_TRUE(ModuleTest::Run(clicks + "\n0\n")) << Transcript();
            EXPECT_EQ(CountOf(Transcript(), "请指定屋脊延伸线终点："), e.askedAgain ? 2 : 1) << Transcript();
            EXPECT_EQ(Solids(kArch.layer).size(), 1u) << Transcript();
        }
}

// A gable wall or an eave wall not quite straight, as surveyed walls are: a corner a hair off
// the line of its neighbours (0.001 to 5 mm, out or in, on the ridge line or off it) or a jog of
// 9 mm at 60°, of a rectangle, an L and a U, also turned by odd angles, under eave and gable
// overhangs that differ. The gable is that of the straight outline within the kink's size, with
// no assertion.
TEST_F(OutlinesAsGivenTest, AGableWallNotQuiteStraightIsRoofedAsTheStraightOne)
{
    // A corner `along` the wall, `off` out of its line (in when negative); or a jog: a step |off|
    // long there, 60° off the wall's way, out (or in), after which the wall runs on to its end.
    struct Kink {
        const char* what;
        bool onGable;
        double off, along;
        bool jog = false;
    };
    const Kink kinks[] = {
        {"gable, 0.001 out", true, 0.001, 1.0 / 3}, {"gable, 0.01 in", true, -0.01, 0.5},
        {"gable, 0.2 out", true, 0.2, 0.5},         {"gable, 5 in", true, -5, 0.5},
        {"gable, 5 out", true, 5, 0.8},             {"gable, jog out", true, 9, 1.0 / 3, true},
        {"gable, jog in", true, -9, 0.5, true},     {"eave, 0.01 out", false, 0.01, 1.0 / 3},
        {"eave, 5 in", false, -5, 1.0 / 3},         {"eave, jog out", false, 9, 0.5, true},
    };
    // The gable wall and an eave wall are the edges leaving these corners.
    const struct {
        const Outline& outline;
        std::size_t gable, eave;
    } buildings[] = {{kRectangle, 1, 0}, {kL, 5, 0}, {kU, 1, 0}};
    const Placing placings[] = {{}, {0, 5e5, 3e6, true}, {23.7, 0, 0, true}, {-61.3, 5e5, 3e6}};
    for (const auto& b : buildings)
        for (const Placing& at : placings)
            for (const auto& [eave, ends] : {std::pair{1000, 0}, {500, 300}, {0, 800}}) {
                SCOPED_TRACE(testing::Message() << b.outline.name << " turned " << at.degrees << "° at " << at.y
                                                << (at.clockwise ? " clockwise" : "") << ", overhangs " << eave << "/"
                                                << ends);
                ASSERT_TRUE(Run(kGable, b.outline, b.outline.ring, at, eave, ends)) << Transcript();
                const RoofMade plain = MadeOn(kGable.layer);
                ASSERT_GT(plain.faces, 0u) << Transcript();
                for (const Kink& k : kinks) {
                    SCOPED_TRACE(k.what);
                    const Ring& straight = b.outline.ring;
                    const std::size_t i = k.onGable ? b.gable : b.eave;
                    const GeVector3d wall = straight[(i + 1) % straight.size()] - straight[i];
                    const GeVector3d corner = wall * k.along, way = wall / wall.Length(), out(way.y, -way.x, 0);
                    const GeVector3d step = corner + way * std::fabs(k.off) * std::cos(Radians(60)) +
                                            out * k.off * std::sin(Radians(60));
                    const Ring ring = AfterCorner(straight, i, k.jog ? std::vector{corner, step}
                                                                     : std::vector{corner + out * k.off});
                    EXPECT_TRUE(Run(kGable, b.outline, ring, at, eave, ends)) << Transcript();
                    const RoofMade made = MadeOn(kGable.layer);
                    EXPECT_EQ(Transcript().find("表达式失败"), std::string::npos) << Transcript();
                    // Growing a corner that turns a hair moves it a hair further.
                    ExpectPlainRoof(made, plain, std::fabs(k.off) + 1e-3, Transcript());
                }
            }
}

// A roof over a courtyard is made (but by the pyramid, which turns down a concave outline) and
// says so once: over a keyhole grown, and over a U whose bent arms the overhang closes round its
// courtyard. A U whose arms stay open, a notch the overhang fills and an outline not grown say
// nothing.
TEST_F(OutlinesAsGivenTest, ARoofOverACourtyardSaysSoOnce)
{
    const struct {
        const Outline& outline;
        double overhang;
        bool covers;
    } cases[] = {{kKeyhole, 500, true}, {kKeyhole, 0, false}, {kBentU, 1500, true},
                 {kBentU, 500, false},  {kU, 6000, false},    {kRectangle, 500, false}};
    for (const Command& c : kOutlineCommands)
        for (const auto& k : cases)
            for (const Placing& at : kPlacings) {
                SCOPED_TRACE(testing::Message() << c.name << " on the " << k.outline.name << " grown by " << k.overhang
                                                << " at " << at.y);
                EXPECT_TRUE(Run(c, k.outline, k.outline.ring, at, k.overhang, 0)) << Transcript();
                const RoofMade made = MadeOn(c.layer);
                if (k.covers && std::string(c.command) != "proof") {
                    EXPECT_GT(made.faces, 0u) << Transcript();
                }
                EXPECT_EQ(CountOf(Transcript(), "提示：屋顶覆盖了建筑的内院。"), made.faces > 0 && k.covers ? 1 : 0)
                    << Transcript();
            }
}

}  // namespace
