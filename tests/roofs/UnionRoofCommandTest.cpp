// The roof-face union command end to end: roofs selected by script, and the mesh left in their
// place against the union engine run on the same loops and Clipper's union of the footprints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "RoofFaceUnionTestSupport.h"
#include "RoofTestSupport.h"
#include "WorkingDrawing.h"
#include "clipper.hpp"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

// Two hip roofs crossing at right angles on one eave elevation: a plus-shaped plan.
const Ring kLong = {{0, 6000, 3000}, {20000, 6000, 3000}, {20000, 14000, 3000}, {0, 14000, 3000}};
const Ring kCross = {{6000, 0, 3000}, {14000, 0, 3000}, {14000, 20000, 3000}, {6000, 20000, 3000}};

std::string MultiSlope(const Ring& outline, double dx = 0, double dy = 0)
{
    return "multislope 0 30 " + ScriptPoints(tools_test::Moved(outline, dx, dy)) + "\n";
}

class UnionRoofCommandTest : public ModuleTest {
protected:
    std::vector<decDbEntity*> Live() const
    {
        std::vector<decDbEntity*> live;
        for (decDbEntity* e : Db()->AllObjects())
            if (!e->IsErased())
                live.push_back(e);
        return live;
    }
    std::vector<Ring> NewestFaces() const { return MeshFaces(Live().back()); }
};

// The engine run on the entities' loops relative to their lower corner, as the command runs
// it: its outer loops of more than 2 points reversed, and the number of holes.
std::pair<std::vector<Ring>, int> EngineFaces(const std::vector<decDbEntity*>& entities)
{
    std::vector<uniontest::Face> loops;
    GePoint3d low(1e300, 1e300, 1e300);
    for (decDbEntity* e : entities)
        for (const GePolygon& polygon : e->GetPolygons())
            for (int i = 0; i < polygon.GetCountVertex(); ++i) {
                const GePoint3d& p = polygon.GetVertexArray()[i];
                low = GePoint3d(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
            }
    for (decDbEntity* e : entities)
        for (const GePolygon& polygon : e->GetPolygons()) {
            loops.emplace_back();
            for (int i = 0; i < polygon.GetCountVertex(); ++i) {
                const GePoint3d& p = polygon.GetVertexArray()[i];
                loops.back().push_back({p.x - low.x, p.y - low.y, p.z - low.z});
            }
        }
    const uniontest::UnionRun run = uniontest::RunUnion(loops);
    std::pair<std::vector<Ring>, int> result{{}, 0};
    for (const uniontest::UnionLoop& loop : run.loops) {
        result.second += loop.hole ? 1 : 0;
        if (!loop.hole && loop.points.size() > 2) {
            result.first.emplace_back();
            for (auto p = loop.points.rbegin(); p != loop.points.rend(); ++p)
                result.first.back().emplace_back(p->x + low.x, p->y + low.y, p->z + low.z);
        }
    }
    return result;
}

double ClipperUnionArea(const std::vector<Ring>& plans)
{
    ClipperLib::Clipper clipper;
    for (const Ring& r : plans) {
        ClipperLib::Path path;
        for (const GePoint3d& p : r)
            path.push_back({std::llround(p.x), std::llround(p.y)});
        clipper.AddPath(path, ClipperLib::ptSubject, true);
    }
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    double area = 0;
    for (const auto& p : out)
        area += ClipperLib::Area(p);
    return area;
}

// The roof made first goes on layer 乙 and is picked last: the mesh takes its layer.
TEST_F(UnionRoofCommandTest, CrossingHipRoofsBecomeOneMeshOfTheEnginesFacesOnTheLastLayer)
{
    Script(MultiSlope(kLong) + MultiSlope(kCross) + "layer 乙\n");
    const std::vector<decDbEntity*> roofs = Live();
    roofs[0]->SetLayerId(Db()->GetTableLayer()->GetCurrentLayerID());
    const std::vector<Ring> expected = EngineFaces({roofs[1], roofs[0]}).first;
    Script("unionroof\n#2 #1\n");
    ASSERT_EQ(Live().size(), 1u);
    EXPECT_EQ(LayerAndMaterial(Live()[0]), "乙/屋面板");
    const std::vector<Ring> faces = NewestFaces();
    ASSERT_EQ(faces.size(), expected.size());
    double plan = 0;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        ExpectPointsNear(faces[i], expected[i], 1e-6);
        plan += std::fabs(SignedPlanArea(faces[i]));
    }
    EXPECT_NEAR(plan, ClipperUnionArea({kLong, kCross}), 1e-5 * plan);
    // Half a kilometre east and three thousand north they unite into the same faces, moved.
    host::NewDrawing();
    Script(MultiSlope(kCross, 500000, 3000000) + MultiSlope(kLong, 500000, 3000000) + "unionroof\n#1 #2\n");
    const std::vector<Ring> far = NewestFaces();
    ASSERT_EQ(far.size(), faces.size());
    for (std::size_t i = 0; i < far.size(); ++i)
        ExpectPointsNear(tools_test::Moved(far[i], -500000, -3000000), faces[i], 0.01);
}

// A small roof pushed up through a large flat face cuts a hole in it: the hole is no face, and
// the roof's parts above the face, after it, come through whole (a square of side 1000 in plan
// where a 45° roof over 2000 rises 500 above its eave).
TEST_F(UnionRoofCommandTest, AHoleIsNoFaceAndTheFacesAfterItStayWhole)
{
    AddMesh({Square(0, 0, 10000, 0)});
    Script("multislope 0 45 4000,4000,-500 6000,4000,-500 6000,6000,-500 4000,6000,-500\n");
    ASSERT_EQ(EngineFaces(Live()).second, 1);
    Script("unionroof\n#1 #2\n");
    const std::vector<Ring> faces = NewestFaces();
    ASSERT_EQ(faces.size(), 5u);
    EXPECT_NEAR(std::fabs(SignedPlanArea(faces[0])), 1e8, 1e-3);
    double above = 0;
    for (std::size_t i = 1; i < faces.size(); ++i)
        above += std::fabs(SignedPlanArea(faces[i]));
    EXPECT_NEAR(above, 1e6, 1.0);
}

// A text picked with the roofs stays; one roof, no roof or more than 999 loops change nothing.
TEST_F(UnionRoofCommandTest, WhatTheUnionDoesNotTakeStaysAndNothingChangesWhenItCannotRun)
{
    const struct {
        const char* name;
        std::string setup, selection;
        bool thousandTriangles;
        std::size_t liveAfter;
    } cases[] = {
        {"one roof", MultiSlope(kLong), "#1", false, 1},
        {"a text among the roofs", MultiSlope(kLong) + "text 0,0 500 屋面\n" + MultiSlope(kCross), "#1 #2 #3", false, 2},
        {"no selection", MultiSlope(kLong) + MultiSlope(kCross), "", false, 2},
        {"1001 loops", MultiSlope(kLong), "#1 #2", true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        host::EventLog::Instance().Clear();
        Script(c.setup);
        if (c.thousandTriangles)
            AddMesh(std::vector<Ring>(1000, Ring{{0, 0, 0}, {5, 0, 0}, {0, 5, 0}}));
        Script("unionroof\n" + c.selection + "\n");
        EXPECT_EQ(Live().size(), c.liveAfter);
        EXPECT_EQ(CountOf(Transcript(), "提示：屋面面数或顶点数太多，无法合成。"), c.thousandTriangles ? 1 : 0);
        EXPECT_EQ(CountOf(Transcript(), "合成失败"), 0);
    }
}

}  // namespace
