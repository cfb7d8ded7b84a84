// The roof-face union command end to end: roofs selected by script, and the mesh left in their
// place against the union engine run on the same loops and Clipper's union of the footprints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Dormer.h"
#include "RoofFaceUnionTestSupport.h"
#include "RoofTestSupport.h"
#include "Window.h"
#include "WorkingDrawing.h"

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
    for (decDbEntity* e : entities)
        for (const GePolygon& polygon : e->GetPolygons()) {
            loops.emplace_back();
            for (int i = 0; i < polygon.GetCountVertex(); ++i) {
                const GePoint3d& p = polygon.GetVertexArray()[i];
                loops.back().push_back({p.x, p.y, p.z});
            }
        }
    const uniontest::UnionRun run = uniontest::RunUnionAtLowerCorner(loops);
    std::pair<std::vector<Ring>, int> result{{}, 0};
    for (const uniontest::UnionLoop& loop : run.loops) {
        result.second += loop.hole ? 1 : 0;
        if (!loop.hole && loop.points.size() > 2) {
            result.first.emplace_back();
            for (auto p = loop.points.rbegin(); p != loop.points.rend(); ++p)
                result.first.back().emplace_back(p->x, p->y, p->z);
        }
    }
    return result;
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
    for (std::size_t i = 0; i < faces.size(); ++i)
        ExpectPointsNear(faces[i], expected[i], 1e-6);
    ExpectPlanCoveredOnce(faces, PlanUnionArea({kLong, kCross}));
    // Half a kilometre east and three thousand north they unite into the same faces, moved.
    host::NewDrawing();
    Script(MultiSlope(kCross, 500000, 3000000) + MultiSlope(kLong, 500000, 3000000) + "unionroof\n#1 #2\n");
    const std::vector<Ring> far = NewestFaces();
    ASSERT_EQ(far.size(), faces.size());
    for (std::size_t i = 0; i < far.size(); ++i)
        ExpectPointsNear(tools_test::Moved(far[i], -500000, -3000000), faces[i], 0.01);
}

// Roofs whose faces pass through one another: where a face comes back from the engine with
// holes, its hole-free pieces cover it less its holes, so the faces cover the plan union of
// the roofs once (before, a face was kept whole over its holes and the plan was covered twice
// there). Site coordinates and faces drawn either way round are drawn by the hole-free
// pieces' own test, and the union far out by the crossing hip roofs'.
TEST_F(UnionRoofCommandTest, FacesThroughOneAnotherCoverThePlanUnionOnce)
{
    // A 75° roof on a 4 m square rises through the south face of a 30° hip roof over 40 x 20 m,
    // both eaves at 6000; a 45° roof under a flat 10 m square pushes up through it.
    const Ring hall = Rectangle(40000, 20000, 6000);
    const Ring tower = tools_test::Moved(Rectangle(4000, 4000, 6000), 18000, 2500);
    const Ring slab = Square(0, 0, 10000, 0);
    const Ring under = tools_test::Moved(Rectangle(2000, 2000, -500), 4000, 4000);
    const struct {
        const char* name;
        Ring first;
        int firstSlope;  // 0: a flat mesh face
        Ring second;
        int secondSlope;
    } scenes[] = {
        {"steep tower through a hip roof", hall, 30, tower, 75},
        {"small roof through a flat face", slab, 0, under, 45},
    };
    for (const auto& scene : scenes) {
        SCOPED_TRACE(scene.name);
        host::NewDrawing();
        if (scene.firstSlope == 0)
            AddMesh({scene.first});
        else
            Script("multislope 0 " + std::to_string(scene.firstSlope) + " " + ScriptPoints(scene.first) + "\n");
        Script("multislope 0 " + std::to_string(scene.secondSlope) + " " + ScriptPoints(scene.second) + "\n");
        ASSERT_GE(EngineFaces(Live()).second, 1) << "the scene no longer cuts a hole";
        Script("unionroof\n#1 #2\n");
        ASSERT_EQ(Live().size(), 1u);
        ExpectPlanCoveredOnce(NewestFaces(), PlanUnionArea({scene.first, scene.second}));
    }
}

// Two multi-slope roofs on 120 mm slabs, crossing, turned: the bands keep the same area at
// every turn (before, a band along its own roof's eave was taken for covered by that roof at
// every turn but a quarter one, and went).
TEST_F(UnionRoofCommandTest, SlabBandsStayAtEveryTurn)
{
    for (const double degrees : {0.0, 0.5, 1.0, 5.0, 37.3, 45.0, 135.0}) {
        SCOPED_TRACE(degrees);
        host::NewDrawing();
        std::string script;
        for (Ring ring : {kLong, kCross}) {
            for (GePoint3d& p : ring)
                p.TransformBy(GeMatrix3d().SetToRotation(Radians(degrees), GeVector3d(0, 0, 1)));
            script += "multislope 120 30 " + ScriptPoints(ring) + "\n";
        }
        Script(script + "unionroof\n#1 #2\n");
        ASSERT_EQ(Live().size(), 1u);
        double bands = 0.0;
        for (const Ring& face : NewestFaces())
            bands += std::fabs(NewellNormal(face).z) < 1e-6 * NewellNormal(face).Length() ? SpaceArea(face) : 0.0;
        // Each roof's band round 20 m by 8 m less its two 8 m under the other roof (and
        // 0.1 mm where it passes under the other's eave, 8 times).
        EXPECT_NEAR(bands, 2 * 120.0 * (2 * (20000 + 8000) - 2 * 8000), 8 * 0.1 * 120 + 10);
    }
}

// Only closed loops of 3-D entities are roof faces: curves, texts and points stay as they
// are, also when the whole drawing is selected, and fewer than two roofs unite nothing. The
// united roof goes on the layer of the last roof selected, whatever follows it.
TEST_F(UnionRoofCommandTest, OnlyFacesOfSolidsUniteAndEverythingElseStays)
{
    const std::string curves = "pline 0,0 5000,0 5000,5000\n"       // an open polyline
                               "pline -3000,0 -3000,8000\n"         // a line
                               "arc 30000,0 32000,2000 34000,0\n"    // an arc
                               "circle 50000,0 1500\n"
                               "pline closed -9000,-9000 -1000,-9000 -1000,-1000 -9000,-1000\n"  // an outline
                               "text 0,-5000 500 屋面\n"
                               "point 1000,-7000\n";
    const struct {
        const char* name;
        std::string setup, selection;
        std::size_t liveAfter;
        bool united;
    } cases[] = {
        {"two roofs among curves", MultiSlope(kLong) + curves + MultiSlope(kCross), "#1 #2 #3 #4 #5 #6 #7 #8 #9", 8,
         true},
        {"everything", MultiSlope(kLong) + curves + MultiSlope(kCross), "all", 8, true},
        {"only curves and texts", curves, "all", 7, false},
        {"one roof among curves", MultiSlope(kLong) + curves, "all", 8, false},
        {"one roof", MultiSlope(kLong), "#1", 1, false},
        {"no selection", MultiSlope(kLong) + MultiSlope(kCross), "", 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        Script(c.setup);
        const std::vector<decDbEntity*> before = Live();
        host::EventLog::Instance().Clear();
        Script("unionroof\n" + c.selection + "\n");
        const std::vector<decDbEntity*> after = Live();
        ASSERT_EQ(after.size(), c.liveAfter);
        EXPECT_EQ(CountOf(Transcript(), "合成失败"), 0);
        std::size_t kept = 0;
        for (decDbEntity* e : before)
            kept += e->IsErased() ? 0 : 1;
        EXPECT_EQ(kept, c.united ? before.size() - 2 : before.size());
        if (c.united) {
            EXPECT_EQ(LayerAndMaterial(after.back()), "坡屋顶/屋面板");
            ExpectPlanCoveredOnce(MeshFaces(after.back()), PlanUnionArea({kLong, kCross}));
        }
    }
}

// The exchange arrays hold 999 loops and 9999 vertices: a selection that fits unites, one
// loop or one vertex more is refused before the engine runs and changes nothing.
TEST_F(UnionRoofCommandTest, ExchangeCapacitiesAreTakenToTheLastLoopAndVertex)
{
    // The hip roof gives 4 loops of 14 vertices; far from it, faces of as many corners in a row
    // make up the rest.
    const auto row = [](int faces, int corners, double radius) {
        std::vector<Ring> row;
        for (int i = 0; i < faces; ++i)
            row.push_back(RegularPolygon(corners, radius, 100000.0 + 2.5 * radius * i));
        return row;
    };
    const struct {
        const char* name;
        std::vector<Ring> extra;
        bool refused;
    } cases[] = {
        {"999 loops", row(995, 3, 4), false},
        {"1000 loops", row(996, 3, 4), true},
        {"9999 vertices", row(5, 1997, 3000), false},  // 14 + 9985
        {"10000 vertices", row(2, 4993, 3000), true},  // 14 + 9986
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        Script(MultiSlope(kLong));
        AddMesh(c.extra);
        host::EventLog::Instance().Clear();
        Script("unionroof\n#1 #2\n");
        EXPECT_EQ(CountOf(Transcript(), "提示：屋面面数或顶点数太多，无法合成。"), c.refused ? 1 : 0);
        EXPECT_EQ(CountOf(Transcript(), "合成失败"), 0);
        EXPECT_EQ(Live().size(), c.refused ? 2u : 1u);
    }
}

// The union takes no part of a building: a building and its window (the module's objects other
// than roofs and dormers; a label was never taken) and a host solid tagged as a building are
// neither read nor erased, and do not count towards the two objects a union needs; a roof
// entity, a dormer and an untagged solid are taken as before.
TEST_F(UnionRoofCommandTest, BuildingsWindowsAndLabelsStayOutOfTheUnion)
{
    enum Part { kRoof, kCrossRoof, kBuilding, kWindow, kTaggedSolid, kRoofEntity, kDormer, kSolid };
    const Ring under = tools_test::Moved(Rectangle(4000, 4000, 3000), 8000, 8000);
    const auto add = [&](Part part) {
        switch (part) {
        case kRoof: Script(MultiSlope(kLong)); break;
        case kCrossRoof: Script(MultiSlope(kCross)); break;
        case kBuilding: AddBuilding("甲", 30000, Rectangle(20000, 20000)); break;
        case kWindow: {
            auto* window = new CWindow();
            window->SetSize(1500, 1800);
            window->SetBuild("甲");
            AddSolid(window, GeMatrix3d().SetToTranslation(GeVector3d(5000, 0, 3000)));
            break;
        }
        case kTaggedSolid: Tag(AddMesh({under}), "甲"); break;
        case kRoofEntity:
            Script("orvroof 0 0 slope=30 " + ScriptPoints(tools_test::Moved(kCross, 0, 0, 500)) + "\n");
            break;
        case kDormer: {
            auto* dormer = new CDormer();
            dormer->SetData(2000, 1000, 1000, 300, 300, Radians(30));
            AddSolid(dormer, GeMatrix3d().SetToTranslation(GeVector3d(9000, 8000, 4000)));
            break;
        }
        case kSolid: AddMesh({under}); break;
        }
    };
    const struct {
        const char* name;
        std::vector<Part> parts;
        std::vector<Part> erased;  // what the union takes in: nothing when it does not run
    } cases[] = {
        {"two roofs over a building with its window, and a tagged solid",
         {kRoof, kCrossRoof, kBuilding, kWindow, kTaggedSolid}, {kRoof, kCrossRoof}},
        {"one roof with a building, its window and a tagged solid", {kRoof, kBuilding, kWindow, kTaggedSolid}, {}},
        {"a roof, a roof entity and a dormer", {kRoof, kRoofEntity, kDormer}, {kRoof, kRoofEntity, kDormer}},
        {"a roof and an untagged solid beside a building", {kRoof, kBuilding, kSolid}, {kRoof, kSolid}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        for (const Part part : c.parts)
            add(part);
        const std::vector<decDbEntity*> before = Live();
        ASSERT_EQ(before.size(), c.parts.size());
        host::EventLog::Instance().Clear();
        Script("unionroof\nall\n");
        EXPECT_EQ(CountOf(Transcript(), "合成失败"), 0);
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(before[i]->IsErased() != 0, std::count(c.erased.begin(), c.erased.end(), c.parts[i]) > 0)
                << "part " << i;
        const std::vector<decDbEntity*> after = Live();
        EXPECT_EQ(after.size(), before.size() - c.erased.size() + (c.erased.empty() ? 0 : 1));
        if (c.erased.size() == 2 && c.erased[1] == kCrossRoof) {
            EXPECT_GE(Extents(MeshFaces(after.back())).MinPoint().z, 3000 - 1e-6) << "no wall went into the roof";
        }
    }
}

}  // namespace
