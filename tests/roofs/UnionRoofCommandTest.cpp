// The roof-face union command end to end: roofs selected by script, the mesh it leaves in
// their place against the union engine run on the same loops and against Clipper's union of
// the footprints, and what it leaves alone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "RoofFaceUnionTestSupport.h"
#include "RoofTestSupport.h"
#include "WorkingDrawing.h"
#include "clipper.hpp"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

constexpr const char* kTooLarge = "提示：屋面面数或顶点数太多，无法合成。";

// Two hip roofs crossing at right angles on one eave elevation: a plus-shaped plan.
const Ring kLong = {{0, 6000, 3000}, {20000, 6000, 3000}, {20000, 14000, 3000}, {0, 14000, 3000}};
const Ring kCross = {{6000, 0, 3000}, {14000, 0, 3000}, {14000, 20000, 3000}, {6000, 20000, 3000}};

std::string MultiSlope(const Ring& outline, double dx = 0, double dy = 0)
{
    std::string line = "multislope 0 30";
    for (const GePoint3d& p : outline)
        line += " " + std::to_string(p.x + dx) + "," + std::to_string(p.y + dy) + "," + std::to_string(p.z);
    return line + "\n";
}

class UnionRoofCommandTest : public ModuleTest {
protected:
    std::vector<Ring> Faces(const decObjectId& id) const
    {
        std::vector<Ring> faces;
        const auto* entity = decCast<decDbEntity3d>(Entity(id));
        for (int i = 0; entity && i < entity->GetMesh()->GetCountPolygon(); ++i)
            faces.push_back(entity->GetMesh()->FacePoints(i, entity->GetTM()));
        return faces;
    }
    std::vector<decDbEntity*> Live() const
    {
        std::vector<decDbEntity*> live;
        for (decDbEntity* e : Db()->AllObjects())
            if (!e->IsErased())
                live.push_back(e);
        return live;
    }
    decObjectId Newest() const { return Live().back()->GetObjectId(); }
};

// The engine's own answer on the loops of the entities, in the command's frame (relative to
// the lower corner of their extents): its outer loops of more than 2 points, reversed, and
// how many holes it gave.
struct EngineResult {
    std::vector<Ring> faces;
    int holes = 0;
};

EngineResult EngineFaces(const std::vector<decDbEntity*>& entities)
{
    std::vector<GePoint3dArray> loops;
    GePoint3d low(1e300, 1e300, 1e300);
    for (decDbEntity* e : entities)
        for (const GePolygon& polygon : e->GetPolygons()) {
            loops.emplace_back(polygon.GetVertexArray(), polygon.GetVertexArray() + polygon.GetCountVertex());
            for (const GePoint3d& p : loops.back())
                low = GePoint3d(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
        }
    std::vector<uniontest::Face> faces;
    for (const GePoint3dArray& loop : loops) {
        faces.emplace_back();
        for (const GePoint3d& p : loop)
            faces.back().push_back({p.x - low.x, p.y - low.y, p.z - low.z});
    }
    const uniontest::UnionRun run = uniontest::RunUnion(faces);
    EXPECT_EQ(run.status, 1);
    EngineResult result;
    for (const uniontest::UnionLoop& loop : run.loops) {
        result.holes += loop.hole ? 1 : 0;
        if (loop.hole || loop.points.size() <= 2)
            continue;
        Ring face;
        for (auto p = loop.points.rbegin(); p != loop.points.rend(); ++p)
            face.emplace_back(p->x + low.x, p->y + low.y, p->z + low.z);
        result.faces.push_back(face);
    }
    return result;
}

// Clipper's union of the plans, in square millimetres.
double UnionArea(const std::vector<Ring>& plans)
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

TEST_F(UnionRoofCommandTest, CrossingHipRoofsBecomeOneMeshOfTheEnginesFacesOnTheLastLayer)
{
    // The roof made first goes on layer 乙 and is picked last.
    Script(MultiSlope(kLong) + MultiSlope(kCross) + "layer 乙\n");
    const std::vector<decDbEntity*> roofs = Live();
    ASSERT_EQ(roofs.size(), 2u);
    roofs[0]->SetLayerId(Db()->GetTableLayer()->GetCurrentLayerID());
    const std::vector<Ring> expected = EngineFaces({roofs[1], roofs[0]}).faces;
    Script("unionroof\n#2 #1\n");
    ASSERT_EQ(Live().size(), 1u);
    const decObjectId united = Newest();
    EXPECT_STREQ(Db()->GetTableLayer()->GetLayer(Entity(united)->GetLayerId())->GetName(), "乙");
    EXPECT_STREQ(Db()->GetTableMaterial()->GetById(Entity(united)->GetMaterialId())->GetName(), "屋面板");
    const std::vector<Ring> faces = Faces(united);
    ASSERT_EQ(faces.size(), expected.size());
    for (std::size_t i = 0; i < faces.size(); ++i)
        ExpectPointsNear(faces[i], expected[i], 1e-6);
    // The united faces cover the plus-shaped plan once.
    double plan = 0;
    for (const Ring& f : faces)
        plan += std::fabs(SignedPlanArea(f));
    EXPECT_NEAR(plan, UnionArea({kLong, kCross}), 1e-5 * plan);
}

// Roofs of a site (half a kilometre east, three thousand north) unite into the same faces.
TEST_F(UnionRoofCommandTest, RoofsAtSiteCoordinatesUniteIntoTheSameFacesMoved)
{
    Script(MultiSlope(kLong) + MultiSlope(kCross) + "unionroof\n#1 #2\n");
    const std::vector<Ring> near = Faces(Newest());
    host::NewDrawing();
    Script(MultiSlope(kLong, 500000, 3000000) + MultiSlope(kCross, 500000, 3000000) + "unionroof\n#1 #2\n");
    const std::vector<Ring> far = Faces(Newest());
    ASSERT_EQ(far.size(), near.size());
    for (std::size_t i = 0; i < far.size(); ++i)
        ExpectPointsNear(tools_test::Moved(far[i], -500000, -3000000), near[i], 0.01);
}

// A small roof pushed up through a large flat face cuts a hole in it: the hole is no face, and
// the small roof's parts above the face, after it, come through whole (a square of side 1000
// in plan where a 45° roof over 2000 rises 500 above its eave).
TEST_F(UnionRoofCommandTest, AHoleIsNoFaceAndTheFacesAfterItStayWhole)
{
    AddMesh({Square(0, 0, 10000, 0)});
    Script("multislope 0 45 4000,4000,-500 6000,4000,-500 6000,6000,-500 4000,6000,-500\n");
    ASSERT_EQ(EngineFaces(Live()).holes, 1);
    Script("unionroof\n#1 #2\n");
    const std::vector<Ring> faces = Faces(Newest());
    ASSERT_EQ(faces.size(), 5u);
    EXPECT_NEAR(std::fabs(SignedPlanArea(faces[0])), 10000.0 * 10000.0, 1e-3);
    double above = 0;
    for (std::size_t i = 1; i < faces.size(); ++i)
        above += std::fabs(SignedPlanArea(faces[i]));
    EXPECT_NEAR(above, 1000.0 * 1000.0, 1.0);
}

TEST_F(UnionRoofCommandTest, WhatTheUnionDoesNotTakeStaysAndNothingIsTouchedWhenItCannotRun)
{
    const struct {
        const char* name;
        std::string setup, selection;
        std::size_t liveAfter;
    } cases[] = {
        {"one roof", MultiSlope(kLong), "#1", 1},
        {"a text among the roofs", MultiSlope(kLong) + "text 0,0 500 屋面\n" + MultiSlope(kCross), "#1 #2 #3", 2},
        {"no selection", MultiSlope(kLong) + MultiSlope(kCross), "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        Script(c.setup + "unionroof\n" + c.selection + "\n");
        EXPECT_EQ(Live().size(), c.liveAfter);
    }
    // None of these is a failure of the union.
    EXPECT_EQ(CountOf(Transcript(), "合成失败"), 0);
}

TEST_F(UnionRoofCommandTest, ASelectionBeyondTheArraysIsRefusedWhole)
{
    std::vector<Ring> triangles;
    for (int i = 0; i < 1000; ++i)
        triangles.push_back({{i * 10.0, 0, 0}, {i * 10.0 + 5, 0, 0}, {i * 10.0, 5, 0}});
    AddMesh(triangles);
    AddMesh({Square(0, 0, 100)});
    Script("unionroof\n#1 #2\n");
    EXPECT_THAT(Transcript(), HasSubstr(kTooLarge));
    EXPECT_EQ(Live().size(), 2u);
}

}  // namespace
