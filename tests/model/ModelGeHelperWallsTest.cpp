// Base rings, walls and level faces of buildings and solids, and the wall picked near an
// edge, on shapes whose answers are worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "ModelGeHelper.h"
#include "View.h"
#include "WindowTestSupport.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

namespace {

using Ring = GePoint3dArray;
using Faces = std::vector<Ring>;

Ring Wall(const GePoint3d& p, const GePoint3d& q, double h)
{
    const GeVector3d up(0, 0, h);
    return {p, q, q + up, p + up};
}

// A building whose mesh has fewer vertices than its stored base.
class ShortMeshBuilding : public CExtrudeBuild {
public:
    int MakeMesh(decMesh3** out) const override
    {
        auto* mesh = new decMesh3();
        GePoint3d* vertices = mesh->SetCountVertex(2);
        vertices[1] = GePoint3d(1, 0, 0);
        *out = mesh;
        return 1;
    }
};

class WallGeometryTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        decView* view = dec::GetActiveView();
        view->SetCamera(GePoint3d(), GeVector3d(0, 0, -1), GeVector3d(0, 1, 0), 1.0);
        view->SetEdgeMode(0);
    }
    void TearDown() override
    {
        dec::GetActiveView()->SetEdgeMode(0);
        ModelTest::TearDown();
    }
};

TEST_F(WallGeometryTest, ABuildingGivesItsBaseInWorldCoordinatesAndOneWallPerEdge)
{
    // A square of side 10000 turned by atan(4/3), as the building stores it (first edge along
    // its own x axis) and places it.
    const Ring base = {{1000, 2000, 500}, {7000, 10000, 500}, {-1000, 16000, 500}, {-7000, 8000, 500}};
    decDbEntity* building = Entity(AddBuilding("甲", 3000, base));
    Ring ring = {{1, 2, 3}};
    EXPECT_EQ(GetExtrudeBuildBasePts(building, ring), 1);
    ExpectPointsNear(ring, base, 1e-6);

    CArray<Ring, Ring> walls;
    walls.Add(Ring{{9, 9, 9}});
    EXPECT_EQ(GetExtrudeBuildWallPts(building, walls), 1);
    ASSERT_EQ(walls.GetSize(), 5);
    for (int i = 0; i < 4; ++i)
        ExpectPointsNear(walls[i + 1], Wall(base[i], base[(i + 1) % 4], 3000), 1e-6);

    Faces entityWalls;
    EXPECT_EQ(GetExtrudeEntityWallPts(building, entityWalls), 1);
    ASSERT_EQ(entityWalls.size(), 4u);
    // The fourth wall runs from point 3 back to point 0.
    ExpectPointsNear(entityWalls[3], Wall(base[3], base[0], 3000), 1e-6);
}

TEST_F(WallGeometryTest, AnythingButABuildingLeavesTheRingAsItWas)
{
    const decObjectId box = AddSolid(new decDbBox(10, 10, 10));
    const GePoint3d pts[3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    const decObjectId line = AddEntity(new decDbPolyline(3, pts, 1));
    auto* hollow = new ShortMeshBuilding();
    GeMatrix3d tm;
    hollow->Set("空", 1000, Square(0, 0, 100, 0), tm);
    const decObjectId shortMesh = AddSolid(hollow, tm);
    const decObjectId empty = AddSolid(new CExtrudeBuild());

    for (const decObjectId& id : {box, line, shortMesh, empty}) {
        Ring ring = {{1, 2, 3}};
        EXPECT_EQ(GetExtrudeBuildBasePts(Entity(id), ring), 0) << id.Handle();
        ExpectPointsNear(ring, {{1, 2, 3}}, 1e-6);
        CArray<Ring, Ring> walls;
        EXPECT_EQ(GetExtrudeBuildWallPts(Entity(id), walls), 0) << id.Handle();
    }
    Ring ring;
    EXPECT_EQ(GetExtrudeBuildBasePts(nullptr, ring), 0);
    Faces walls;
    EXPECT_EQ(GetExtrudeEntityWallPts(nullptr, walls), 0);
    EXPECT_EQ(GetExtrudeEntityWallPts(Entity(line), walls), 0);
    EXPECT_EQ(GetExtrudeEntityWallPts(Entity(shortMesh), walls), 0);
    EXPECT_TRUE(walls.empty());
}

TEST_F(WallGeometryTest, ABoxHasTwoLevelFacesAndFourWallsAsHighAsItIs)
{
    decDbEntity* box = Entity(AddSolid(new decDbBox(10000, 8000, 3000)));
    Faces faces;
    EXPECT_EQ(Get3DEntFlatFace(box, faces), 1);
    ASSERT_EQ(faces.size(), 2u);
    // The bottom cap runs clockwise in plan, the top counter-clockwise.
    const Ring bottom = {{0, 8000, 0}, {10000, 8000, 0}, {10000, 0, 0}, {0, 0, 0}};
    ExpectPointsNear(faces[0], bottom, 1e-6);
    ExpectPointsNear(faces[1], {{0, 0, 3000}, {10000, 0, 3000}, {10000, 8000, 3000}, {0, 8000, 3000}}, 1e-6);

    Faces walls;
    EXPECT_EQ(GetExtrudeEntityWallPts(box, walls), 1);
    ASSERT_EQ(walls.size(), 4u);
    for (int i = 0; i < 4; ++i)
        ExpectPointsNear(walls[i], Wall(bottom[i], bottom[(i + 1) % 4], 3000), 1e-6);
    EXPECT_EQ(box->IsOpenForRead(), 0);
}

TEST_F(WallGeometryTest, LevelFacesSkipSlopedAndShortLoops)
{
    decDbEntity* mesh = Entity(AddMesh({Square(0, 0, 10, 0),
                                 {{0, 0, 0}, {10, 0, 0.002}, {10, 10, 0.002}},  // sloped
                                 {{0, 0, 5}, {1, 0, 5}},                         // too short
                                 {{0, 0, 7}, {10, 0, 7.0009}, {10, 10, 6.9991}}}));  // level within 0.001
    Faces faces = {Ring{{1, 1, 1}}};
    EXPECT_EQ(Get3DEntFlatFace(mesh, faces), 1);
    ASSERT_EQ(faces.size(), 3u);
    ExpectPointsNear(faces[1], Square(0, 0, 10, 0), 1e-6);
    EXPECT_NEAR(faces[2][0].z, 7, 1e-12);
    Faces none;
    EXPECT_EQ(Get3DEntFlatFace(nullptr, none), 0);
}

TEST_F(WallGeometryTest, StepsTopsAndBottomsFollowTheirTieRules)
{
    // Level faces at 0, 3000, 6000 and 6000.0005; two at 0. The second face at 0 is smaller,
    // the face at 6000.0005 larger than the one at 6000.
    const Ring low1 = Square(0, 0, 30, 0);
    const Ring mid = Square(0, 0, 20, 3000);
    const Ring top1 = Square(0, 0, 2, 6000);
    const Ring top2 = Square(0, 0, 4, 6000.0005);
    const Ring low2 = Square(100, 0, 10, 0);
    decDbEntity* steps = Entity(AddMesh({low1, mid, top1, top2, low2, {{0, 0, 0}, {0, 0, 3000}, {30, 0, 3000}}}));

    Ring face = {{9, 9, 9}};
    EXPECT_EQ(GetBottomFace(steps, face), 1);
    ExpectPointsNear(face, low1, 1e-6);  // the first of the lowest
    EXPECT_EQ(GetLargestTopFace(steps, face), 1);
    ExpectPointsNear(face, top2, 1e-6);  // level with the highest within 0.001 and larger

    // Walls stand on the last of the lowest faces and reach the first of the highest: 6000.
    Faces walls;
    EXPECT_EQ(GetExtrudeEntityWallPts(steps, walls), 1);
    ASSERT_EQ(walls.size(), 4u);
    for (int i = 0; i < 4; ++i)
        ExpectPointsNear(walls[i], Wall(low2[i], low2[(i + 1) % 4], 6000), 1e-6);

    Ring none = {{9, 9, 9}};
    EXPECT_EQ(GetBottomFace(Entity(AddEntity(new decDbText("字", {0, 0, 0}, 5))), none), 0);
    EXPECT_EQ(GetLargestTopFace(nullptr, none), 0);
    ExpectPointsNear(none, {{9, 9, 9}}, 1e-6);
}

TEST_F(WallGeometryTest, ExtrusionsGiveWallsOnlyWhenTheyHaveHeight)
{
    const Ring profile = {{0, 0, 0}, {30, 0, 0}, {30, 30, 0}, {0, 30, 0}};
    auto* extrusion = new decDbExtrude();
    extrusion->SetData(4, profile.data(), 1, GeVector3d(0, 0, 6000));
    decDbEntity* solid = Entity(AddSolid(extrusion));
    Faces walls;
    EXPECT_EQ(GetExtrudeEntityWallPts(solid, walls), 1);
    ASSERT_EQ(walls.size(), 4u);
    // The bottom cap is the profile reversed.
    ExpectPointsNear(walls[0], Wall({0, 30, 0}, {30, 30, 0}, 6000), 1e-6);

    // Every face within 0.001 in height: no walls.
    auto* thin = new decDbExtrude();
    thin->SetData(4, profile.data(), 1, GeVector3d(0, 0, 0.0005));
    Faces none;
    EXPECT_EQ(GetExtrudeEntityWallPts(Entity(AddSolid(thin)), none), 0);
    EXPECT_TRUE(none.empty());

    // An open sweep has no caps, so no level faces: no walls.
    auto* open = new decDbExtrude();
    open->SetData(3, profile.data(), 0, GeVector3d(0, 0, 100));
    EXPECT_EQ(GetExtrudeEntityWallPts(Entity(AddSolid(open)), none), 0);
}

TEST_F(WallGeometryTest, TheWallWhoseProjectedEdgeCrossesThePickCircleIsPicked)
{
    // Window coordinates of the default top view: x = 500 + X, y = 500 - Y.
    const Faces walls = {Wall({0, 0, 0}, {1000, 0, 0}, 3000), Wall({1000, 0, 0}, {1000, 1000, 0}, 3000),
                         Wall({1000, 1000, 0}, {0, 1000, 0}, 3000)};
    int index = 7;
    EXPECT_EQ(GetSelWallIndex(walls, {1005, 500, 0}, index), 1);
    EXPECT_EQ(index, 1);
    // Near the corner both walls 1 and 2 are crossed: the first one wins.
    EXPECT_EQ(GetSelWallIndex(walls, {997, 1003, 0}, index), 1);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(GetSelWallIndex(walls, {500, 1004, 0}, index), 1);
    EXPECT_EQ(index, 2);

    index = 7;
    EXPECT_EQ(GetSelWallIndex(walls, {500, 500, 0}, index), 0);
    EXPECT_EQ(index, 0);

    // An edge wholly inside the circle is no hit.
    const Faces tiny = {Wall({0, 0, 0}, {4, 0, 0}, 3000)};
    EXPECT_EQ(GetSelWallIndex(tiny, {2, 1, 0}, index), 0);

    // No walls: the index stays.
    index = 7;
    EXPECT_EQ(GetSelWallIndex({}, {0, 0, 0}, index), 0);
    EXPECT_EQ(index, 7);

    // Lists shorter than a wall are passed over.
    EXPECT_EQ(GetSelWallIndex({Ring{{0, 0, 0}}, Ring{}}, {0, 0, 0}, index), 0);
}

TEST_F(WallGeometryTest, InEdgeModeTheTopEdgeIsTestedToo)
{
    // A 3-D view: wall tops project elsewhere than their bottoms.
    decView* view = dec::GetActiveView();
    view->SetCamera(GePoint3d(), GeVector3d(0, 1, 0), GeVector3d(0, 0, 1), 1.0);
    // Looking north: x = 500 + X, y = 500 - Z.
    const Faces walls = {Wall({0, 0, 0}, {1000, 0, 0}, 3000), Wall({2000, 0, 0}, {3000, 0, 0}, 3000)};
    int index = -1;
    const GePoint3d nearTopOfWall1(2500, 0, 3005);
    EXPECT_EQ(GetSelWallIndex(walls, nearTopOfWall1, index), 0);
    EXPECT_EQ(index, 0);
    view->SetEdgeMode(1);
    EXPECT_EQ(GetSelWallIndex(walls, nearTopOfWall1, index), 1);
    EXPECT_EQ(index, 1);
}

}  // namespace
