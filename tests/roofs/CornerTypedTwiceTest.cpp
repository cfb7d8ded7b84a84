// A corner typed twice, the commonest slip in drawing an outline, in front of every command
// that picks a roof's outline: the roof is that of the outline without the repeat. Each command
// runs on its base drawn plainly and with one corner repeated (after the one before it, or at
// the closing point), at the origin and at site coordinates, and must make the same faces,
// plan and extents (what the plain outline makes is each command's own tests' concern).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RoofTestSupport.h"

namespace {

using namespace roof_test;

constexpr double kTop = 3000;
// 20 x 10 m, and a U of 30 x 20 m whose courtyard is 10 m wide and deep, at kTop.
const Ring kRectangle = Rectangle(20000, 10000, kTop);
const Ring kU = {{0, 0, kTop},         {30000, 0, kTop},     {30000, 20000, kTop}, {20000, 20000, kTop},
                 {20000, 10000, kTop}, {10000, 10000, kTop}, {10000, 20000, kTop}, {0, 20000, kTop}};

// The ring with point `at` given twice; at == size repeats the first point at the end.
Ring Repeating(Ring ring, std::size_t at)
{
    const GePoint3d repeated = ring[at % ring.size()];
    ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(at), repeated);
    return ring;
}

// What a command made, measured without the roof code: the faces of the live solids on its
// layer, the plan they cover and their extents.
struct Made {
    std::size_t faces = 0;
    double plan = 0.0;
    GeBoundBox3d box;
};

// A command on an outline drawn as a closed polyline or as a face of its own, picked by a click;
// then the points it asks for (both relative to the outline's origin) and its dialog.
struct Row {
    const char* name;
    const char* layer;
    bool face;
    const Ring& ring;
    const char* command;
    GePoint3d click;
    std::vector<GePoint3d> picks;
    const char* dialog;
};

class CornerTypedTwiceTest : public ModuleTest {
protected:
    Made Run(const Row& row, const Ring& ring, const GeVector3d& origin)
    {
        host::NewDrawing();
        host::EventLog::Instance().Clear();
        const Ring moved = tools_test::Moved(ring, origin.x, origin.y);
        if (row.face)
            AddMesh({moved});
        std::string lines = (row.face ? "" : "pline closed " + ScriptPoints(moved) + "\n") + row.command + "\n@" +
                            std::to_string(row.click.x + origin.x) + "," + std::to_string(row.click.y + origin.y) + "\n";
        for (const GePoint3d& p : row.picks)
            lines += ScriptPoints({p + origin}) + "\n";
        Script(lines + row.dialog);
        Made made;
        for (const decDbEntity3d* solid : Solids(row.layer))
            for (const Ring& face : MeshFaces(*solid->GetMesh(), solid->GetTM())) {
                ++made.faces;
                made.plan += std::fabs(SignedPlanArea(face));
                for (const GePoint3d& p : face)
                    made.box.Extend(p);
            }
        return made;
    }
};

TEST_F(CornerTypedTwiceTest, EveryOutlineRoofCommandRoofsTheOutlineWithoutTheRepeat)
{
    const Row rows[] = {
        {"roof, flat with overhang 500", "平屋顶", false, kRectangle, "roof", {5000, 3000, 0}, {}, "set 1157 500\nok\n"},
        {"prismoid on the U, overhang 3000", "坡屋顶", false, kU, "prismoid", {5000, 15000, 0}, {},
         "set 1156 1500\nset 1155 3000\nok\n"},
        {"proof on a solid's face, overhang 500", "坡屋顶", true, kRectangle, "proof", {5000, 3000, 0}, {},
         "set 1312 500\nok\n"},
        {"gable, eave overhang 500", "坡屋顶", false, kRectangle, "gable", {5000, 3000, 0},
         {{0, 5000, kTop}, {20000, 5000, kTop}}, "set 1157 500\nok\n"},
    };
    for (const Row& row : rows)
        for (const GeVector3d& origin : {GeVector3d(0, 0, 0), GeVector3d(5e5, 3e6, 0)}) {
            SCOPED_TRACE(testing::Message() << row.name << " at " << origin.x << "," << origin.y);
            const Made plain = Run(row, row.ring, origin);
            ASSERT_GT(plain.faces, 0u) << Transcript();
            for (const std::size_t at : {std::size_t{2}, row.ring.size()}) {
                SCOPED_TRACE(testing::Message() << "point " << at << " twice");
                const Made twice = Run(row, Repeating(row.ring, at), origin);
                EXPECT_EQ(twice.faces, plain.faces) << Transcript();
                EXPECT_NEAR(twice.plan, plain.plan, 1e-6 * plain.plan);
                ExpectExtents(twice.box, plain.box.MinPoint(), plain.box.MaxPoint(), 1e-6);
            }
        }
}

}  // namespace
