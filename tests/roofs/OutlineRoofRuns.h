#pragma once
// Every roof command that picks an outline, run on an outline as a user draws it: a closed
// polyline or a solid's face, picked by a click inside, then the ridge the gable asks for and
// the dialog with the overhang. What the command made is measured without the roof code.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "RoofTestSupport.h"

namespace roof_test {

// A U of 30 x 20 m whose courtyard is 10 m wide and deep, open to the north.
inline Ring U(double z)
{
    return {{0, 0, z},         {30000, 0, z},     {30000, 20000, z}, {20000, 20000, z},
            {20000, 10000, z}, {10000, 10000, z}, {10000, 20000, z}, {0, 20000, z}};
}

// 30 x 20 m, its arms bent in to a mouth of 2 m before a courtyard of 10 x 8 m.
inline Ring BentU(double z)
{
    return {{0, 0, z},         {30000, 0, z},     {30000, 20000, z}, {16000, 20000, z},
            {16000, 18000, z}, {20000, 18000, z}, {20000, 10000, z}, {10000, 10000, z},
            {10000, 18000, z}, {14000, 18000, z}, {14000, 20000, z}, {0, 20000, z}};
}

// 30 x 30 m with a 10 x 10 m courtyard in the middle, reached by a slit from the south that
// the outline walks in and out.
inline Ring Keyhole(double z)
{
    return {{0, 0, z},         {15000, 0, z},     {15000, 10000, z}, {10000, 10000, z},
            {10000, 20000, z}, {20000, 20000, z}, {20000, 10000, z}, {15000, 10000, z},
            {15000, 0, z},     {30000, 0, z},     {30000, 30000, z}, {0, 30000, z}};
}

// An outline and where a user picks it; the ridge runs across it from (0, ridgeY) for
// ridgeLength, for the gable.
struct Outline {
    const char* name;
    Ring ring;
    GePoint3d click;
    double ridgeY;
    double ridgeLength;
};

// How a command is run: on a polyline or a solid's face, its layer and its dialog lines for an
// overhang.
struct RoofCommand {
    const char* name;
    const char* command;
    const char* layer;
    bool face;
    std::string (*dialog)(double overhang);
};

inline std::string Number(double v)
{
    return std::to_string(static_cast<long long>(std::llround(v)));
}

inline const RoofCommand kRoofCommands[] = {
    {"roof, flat", "roof", "平屋顶", false,
     [](double d) { return "radio 1159\nset 1157 " + Number(d) + "\nok\n"; }},
    {"roof, multi-slope", "roof", "坡屋顶", false,
     [](double d) { return "radio 1210\nset 1157 " + Number(d) + "\nset 1158 30\nok\n"; }},
    {"prismoid", "prismoid", "坡屋顶", false,
     [](double d) { return "radio 1315\nset 1156 1500\nset 1157 500\nset 1155 " + Number(d) + "\nok\n"; }},
    {"proof on a solid's face", "proof", "坡屋顶", true,
     [](double d) { return "set 1312 " + Number(d) + "\nok\n"; }},
    {"gable", "gable", "坡屋顶", false, [](double d) { return "set 1157 " + Number(d) + "\nset 1158 0\nok\n"; }},
};

// Where and how an outline is drawn: from the origin or at site coordinates, one way or the
// other round.
struct Placing {
    GeVector3d origin;
    bool clockwise;
};
inline const Placing kPlacings[] = {{{0, 0, 0}, false}, {{5e5, 3e6, 0}, true}};

// What a command made: the faces of the live solids on its layer, the plan they cover and
// their extents.
struct Made {
    std::size_t faces = 0;
    double plan = 0.0;
    GeBoundBox3d box;
};

class OutlineRoofTest : public ModuleTest {
protected:
    // The command on the ring (the outline's or a variant of it) placed and grown by the
    // overhang, in a new drawing; the transcript holds what it said.
    Made Run(const RoofCommand& c, const Outline& o, const Ring& ring, const Placing& at, double overhang)
    {
        host::NewDrawing();
        host::EventLog::Instance().Clear();
        Ring moved = tools_test::Moved(ring, at.origin.x, at.origin.y);
        if (at.clockwise)
            std::reverse(moved.begin(), moved.end());
        if (c.face)
            AddMesh({moved});
        std::string lines = (c.face ? "" : "pline closed " + ScriptPoints(moved) + "\n") + c.command + "\n" +
                            Click(o.click, at) + "\n";
        if (std::string(c.command) == "gable") {
            const double z = ring.front().z;
            for (const double x : {0.0, o.ridgeLength})
                lines += ScriptPoints({GePoint3d(x, o.ridgeY, z) + at.origin}) + "\n";
        }
        Script(lines + c.dialog(overhang));
        Made made;
        for (const decDbEntity3d* solid : Solids(c.layer))
            for (const Ring& face : MeshFaces(*solid->GetMesh(), solid->GetTM())) {
                ++made.faces;
                made.plan += std::fabs(SignedPlanArea(face));
                for (const GePoint3d& p : face)
                    made.box.Extend(p);
            }
        return made;
    }

private:
    static std::string Click(const GePoint3d& p, const Placing& at)
    {
        return "@" + std::to_string(p.x + at.origin.x) + "," + std::to_string(p.y + at.origin.y);
    }
};

}  // namespace roof_test
