// The gable roof's geometry driven in-process: frame, overhangs, pieces on both sides of the
// ridge, planes, walls, entities and previews, measured against independent formulas.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "GableRoofDlg.h"
#include "WorkingDrawing.h"
#include "RoofTestSupport.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;
using Polygon = CGableRoofDlg::Polygon;

class GableRoofGeometryTest : public ModuleTest {
protected:
    // A dialog over the outline and ridge (world), with the frame, eave outline and roof
    // computed as the dialog does when it opens.
    std::unique_ptr<CGableRoofDlg> Roof(const Polygon& outline, GePoint3d start, GePoint3d end, UINT eave = 0,
                                        UINT gable = 0, int ridge = 3000)
    {
        auto dlg = std::make_unique<CGableRoofDlg>();
        dlg->m_outline = outline;
        start.z = end.z = outline.front().z;
        dlg->m_ridgeStart = start;
        dlg->m_ridgeEnd = end;
        dlg->m_eaveOverhang = eave;
        dlg->m_gableOverhang = gable;
        dlg->m_ridgeElevation = ridge;
        dlg->InitGeometry();
        dlg->UpdateOutline();
        dlg->UpdateRoof();
        return dlg;
    }

    // What OK builds.
    static void Build(CGableRoofDlg& dlg)
    {
        dlg.ComputeGableWalls();
        dlg.TransformToWorld();
        dlg.CreateRoofEntities();
    }
};

constexpr double kL = 10000, kW = 6000, kH = 3000, kBase = 4500;
// The rectangle L x W at the base height, its ridge along the long middle line.
const Polygon kRectangle = Rectangle(kL, kW, kBase);
const GePoint3d kRidgeFrom(0, kW / 2, 0), kRidgeTo(kL, kW / 2, 0);

double PlanArea(const Polygon& p)
{
    return std::fabs(SignedPlanArea(p));
}

TEST_F(GableRoofGeometryTest, TheFrameHasTheRidgeAlongYFromTheOrigin)
{
    const auto dlg = Roof(kRectangle, kRidgeFrom, kRidgeTo);
    EXPECT_EQ(dlg->m_baseElevation, 4500);
    EXPECT_EQ(dlg->m_extentsMin, GePoint3d(-kW / 2, 0, 0));
    EXPECT_EQ(dlg->m_extentsMax, GePoint3d(kW / 2, kL, 0));
    EXPECT_EQ(dlg->m_ridgeStart, GePoint3d(0, -10000, 0));
    EXPECT_EQ(dlg->m_ridgeEnd, GePoint3d(0, kL + 10000, 0));
    EXPECT_EQ(dlg->IsSingleSlope(), 0);
    // The frame maps the ridge's world points onto the local +Y axis.
    EXPECT_EQ(dlg->m_frame * GePoint3d(kL, kW / 2, kBase), GePoint3d(0, kL, 0));
}

// Two rectangular slopes meeting at the ridge, two triangles per gable, no eave walls.
TEST_F(GableRoofGeometryTest, ASymmetricGableOverARectangle)
{
    const auto dlg = Roof(kRectangle, kRidgeFrom, kRidgeTo);
    ASSERT_EQ(dlg->m_leftRoofPolygons.size(), 1u);
    ASSERT_EQ(dlg->m_rightRoofPolygons.size(), 1u);
    Build(*dlg);
    ASSERT_EQ(dlg->m_wallPolygons.size(), 4u);
    for (const Polygon& wall : dlg->m_wallPolygons) {
        EXPECT_EQ(wall.size(), 3u);
        EXPECT_NEAR(SpaceArea(wall), (kW / 2) * kH / 2, 1e-3);
    }
    const double cosine = std::cos(std::atan(kH / (kW / 2)));
    double volume = 0.0;
    for (const auto* side : {&dlg->m_leftRoofPolygons, &dlg->m_rightRoofPolygons}) {
        const Polygon& face = side->front();
        EXPECT_NEAR(PlanArea(face), kL * kW / 2, 1e-3);
        EXPECT_NEAR(SpaceArea(face), PlanArea(face) / cosine, 1e-3);
        volume += VolumeAbove(face, kBase);
    }
    EXPECT_NEAR(volume, kL * kW * kH / 2, 1.0);
    // Walls and faces are entities of one group.
    const auto& groups = Db()->Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].members.size(), 6u);
    EXPECT_EQ(Db()->AllObjects().size(), 6u);
}

// Both planes hold the ridge and the top of every wall lies on one of them.
TEST_F(GableRoofGeometryTest, PlanesHoldTheRidgeAndTheWallTops)
{
    const auto dlg = Roof({{0, 0, 0}, {8000, 0, 0}, {8000, 5000, 0}, {3000, 9000, 0}, {0, 5000, 0}}, {4000, -100, 0},
                          {4000, 100, 0}, 0, 0, 2500);
    dlg->m_leftWallTop = 400;
    dlg->m_rightWallTop = -300;
    dlg->UpdateRoof();
    dlg->ComputeGableWalls();
    for (const GePlane* plane : {&dlg->m_leftPlane, &dlg->m_rightPlane}) {
        EXPECT_TRUE(plane->IsOn(GePoint3d(0, -500, 2500), 1e-6));
        EXPECT_TRUE(plane->IsOn(GePoint3d(0, 7000, 2500), 1e-6));
    }
    ASSERT_FALSE(dlg->m_wallPolygons.empty());
    for (const Polygon& wall : dlg->m_wallPolygons)
        for (const GePoint3d& p : wall) {
            if (p.z > 1e-6) {
                EXPECT_TRUE(dlg->m_leftPlane.IsOn(p, 1e-6) || dlg->m_rightPlane.IsOn(p, 1e-6)) << p.x << "," << p.y;
            }
        }
}

// The long edges move out by E, the gable edges by G, whichever vertex the outline starts at
// and whichever way it runs.
TEST_F(GableRoofGeometryTest, EaveAndGableOverhangsFromEveryStartVertex)
{
    for (const bool reversed : {false, true}) {
        for (int start = 0; start < 4; ++start) {
            SCOPED_TRACE(testing::Message() << "start " << start << (reversed ? " reversed" : ""));
            Polygon outline = kRectangle;
            if (reversed)
                std::reverse(outline.begin(), outline.end());
            std::rotate(outline.begin(), outline.begin() + start, outline.end());
            const auto dlg = Roof(outline, kRidgeFrom, kRidgeTo, 500, 300);
            GeBoundBox3d box;
            for (const GePoint3d& p : dlg->m_eaveOutline)
                box.Extend(p);
            EXPECT_EQ(dlg->m_eaveOutline.size(), 4u);
            EXPECT_EQ(box.MinPoint(), GePoint3d(-kW / 2 - 500, -300, 0));
            EXPECT_EQ(box.MaxPoint(), GePoint3d(kW / 2 + 500, kL + 300, 0));
            EXPECT_NEAR(PlanArea(dlg->m_eaveOutline), (kW + 1000) * (kL + 600), 1e-3);
        }
    }
}

// With the outline wholly right of the ridge the roof has one slope, and the edge on the
// ridge line gets a vertical wall as high as the ridge.
TEST_F(GableRoofGeometryTest, AnOutlineRightOfTheRidgeGivesASingleSlope)
{
    const auto dlg = Roof(Rectangle(kL, kW), {kL, 0, 0}, {0, 0, 0});
    EXPECT_EQ(dlg->IsSingleSlope(), 1);
    EXPECT_TRUE(dlg->m_arrayLeftPolygon.empty());
    ASSERT_EQ(dlg->m_arrayRightPolygon.size(), 1u);
    dlg->ComputeGableWalls();
    const auto isRidgeWall = [](const Polygon& w) {
        return w.size() == 4 && std::fabs(SpaceArea(w) - kL * kH) < 1e-3;
    };
    EXPECT_EQ(std::count_if(dlg->m_wallPolygons.begin(), dlg->m_wallPolygons.end(), isRidgeWall), 1);
    // Two gable triangles beside it, nothing under the eave.
    EXPECT_EQ(dlg->m_wallPolygons.size(), 3u);
}

TEST_F(GableRoofGeometryTest, ThicknessOneMakesFacesAndTwoMakesSlabs)
{
    for (const UINT thickness : {1u, 2u}) {
        SCOPED_TRACE(thickness);
        host::NewDrawing();
        const auto dlg = Roof(kRectangle, kRidgeFrom, kRidgeTo);
        dlg->m_thickness = thickness;
        Build(*dlg);
        // Four gable triangles, then per slope one face, or a bottom, a top and four sides.
        const std::size_t expected = 4 + (thickness < 2 ? 2 : 2 * 6);
        EXPECT_EQ(Db()->AllObjects().size(), expected);
        ASSERT_EQ(Db()->Groups().size(), 1u);
        EXPECT_EQ(Db()->Groups()[0].members.size(), expected);
        EXPECT_EQ(Db()->AllObjects().back()->GetLayerId(), Db()->GetTableLayer()->SearchLayer("坡屋顶")->GetID());
    }
}

TEST_F(GableRoofGeometryTest, EqualSlopesByAngleUseTheLeftAngleOnBothSides)
{
    const auto dlg = Roof(kRectangle, kRidgeFrom, kRidgeTo);
    dlg->m_mode = CGableRoofDlg::kSlopeAngles;
    dlg->m_leftAngle = "30";
    dlg->m_rightAngle = "45";
    dlg->m_equalSlopes = 1;
    dlg->UpdateRoof();
    // Degrees become radians by 57.29578 degrees per radian.
    const double tol = 1e-6;
    const double s = std::sin(std::numbers::pi / 6), c = std::cos(std::numbers::pi / 6);
    ExpectPointsNear({GePoint3d() + dlg->m_leftPlane.normal(), GePoint3d() + dlg->m_rightPlane.normal()},
                     {{-s, 0, c}, {s, 0, c}}, tol);
    // Both eaves lie (W/2)·tan 30° below the ridge.
    for (const auto* side : {&dlg->m_leftRoofPolygons, &dlg->m_rightRoofPolygons}) {
        for (const GePoint3d& p : side->front()) {
            if (std::fabs(std::fabs(p.x) - kW / 2) < tol) {
                EXPECT_NEAR(p.z, kH - kW / 2 * s / c, 1e-3);
            }
        }
    }
}

TEST_F(GableRoofGeometryTest, PreviewsShowThePiecesTheRidgeAndTheSlopes)
{
    const auto dlg = Roof(kRectangle, kRidgeFrom, kRidgeTo);
    dlg->RegenPreview();
    dlg->DrawPreview();
    const auto& plan = dlg->m_planPreview.Scene();
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[0].kind, GsPrimitive::Kind::Polyline);
    EXPECT_EQ(plan[0].colour, 0x8080ffu);
    EXPECT_EQ(plan[0].setting, 1);
    EXPECT_EQ(plan[0].points, dlg->m_leftRoofPolygons.front());
    EXPECT_EQ(plan[1].colour, 0x7dfa7du);
    EXPECT_EQ(plan[2].kind, GsPrimitive::Kind::Line);
    EXPECT_EQ(plan[2].setting, 120);
    EXPECT_THAT(plan[2].points, ::testing::ElementsAre(GePoint3d(0, 0, 0), GePoint3d(0, kL, 0)));

    const auto& front = dlg->m_frontPreview.Scene();
    ASSERT_EQ(front.size(), 4u);
    // The left slope rises to the ridge, the right one falls from it.
    EXPECT_THAT(front[0].points, ::testing::ElementsAre(GePoint3d(-kW / 2, 0, 0), GePoint3d(0, kH, 0)));
    EXPECT_THAT(front[1].points, ::testing::ElementsAre(GePoint3d(0, kH, 0), GePoint3d(kW / 2, 0, 0)));
    EXPECT_EQ(front[2].colour, 0xffffffu);
    EXPECT_EQ(front[3].kind, GsPrimitive::Kind::Circle);
    EXPECT_EQ(front[3].radius, 500);
    EXPECT_EQ(front[3].points.front(), GePoint3d(0, kH, 0));
    EXPECT_EQ(dlg->m_planPreview.RegenCount(), 1);
    EXPECT_EQ(host::EventLog::Instance().Calls("WndGS2d::Regen").size(), 2u);
}

// Pieces whose vertical lines miss their plane (a vertical plane) make nothing; both sides
// empty is reported.
TEST_F(GableRoofGeometryTest, ARoofThatCannotBeComputedMakesNothing)
{
    const auto dlg = Roof(kRectangle, kRidgeFrom, kRidgeTo);
    dlg->m_leftPlane.Set(GePoint3d(), GeVector3d::kXAxis);
    dlg->ComputeVertexHeights();
    Build(*dlg);
    EXPECT_TRUE(Db()->AllObjects().empty());

    const auto empty = Roof(kRectangle, kRidgeFrom, kRidgeTo);
    empty->m_eaveOutline.clear();
    empty->m_extentsMin.x = -1;
    empty->ComputeSlopePolygons();
    EXPECT_THAT(Transcript(), HasSubstr("无法生成屋顶，异常！"));
}

}  // namespace
