#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "DbTestSupport.h"
#include "HostSolids.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

using MeshAndDisplay = DbTest;

namespace {

bool Near(const GePoint3d& a, const GePoint3d& b, double tol = 1e-9) { return a.DistanceTo(b) <= tol; }

class KeepPolygons : public EnumShapePolygonCallback {
public:
    void OnMap(int index, const GePolygon& polygon) override
    {
        indices.push_back(index);
        polygons.push_back(polygon);
    }
    std::vector<int> indices;
    std::vector<GePolygon> polygons;
};

}  // namespace

TEST_F(MeshAndDisplay, ExtrusionKeepsTheBaseRingAsItsFirstVertices)
{
    const GePoint3d ring[5] = {{0, 0, 0}, {4000, 0, 0}, {4000, 3000, 0}, {2000, 4000, 0}, {0, 3000, 0}};
    decMesh3 mesh;
    ASSERT_EQ(mesh.CreateExtrude(5, ring, 1, GeVector3d(0, 0, 9000), 1, 0, 0), 1);
    ASSERT_EQ(mesh.GetCountVertex(), 10);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(Near(mesh.GetVertexArray()[i], ring[i]));
        EXPECT_TRUE(Near(mesh.GetVertexArray()[5 + i], ring[i] + GeVector3d(0, 0, 9000)));
    }
    EXPECT_EQ(mesh.GetCountPolygon(), 7) << "two caps and five walls";

    decMesh3 sheet;
    ASSERT_EQ(sheet.CreateExtrude(3, ring, 0, GeVector3d(0, 0, 10)), 1);
    EXPECT_EQ(sheet.GetCountPolygon(), 2) << "an open profile gives walls only";

    EXPECT_EQ(mesh.CreateExtrude(2, ring, 1, GeVector3d(0, 0, 1)), 0);
    EXPECT_EQ(mesh.CreateExtrude(5, ring, 1, GeVector3d()), 0);
    EXPECT_EQ(mesh.CreateExtrude(5, nullptr, 1, GeVector3d(0, 0, 1)), 0);
    EXPECT_EQ(mesh.GetCountVertex(), 10) << "a refused call leaves the mesh";
}

TEST_F(MeshAndDisplay, BoxStandsBehindItsFrontFace)
{
    decMesh3 box;
    ASSERT_EQ(box.CreateBox(1500, 50, 1800, 1), 1);
    const GeBoundBox3d bounds = box.GetBoundBox(GeMatrix3d());
    EXPECT_TRUE(Near(bounds.MinPoint(), GePoint3d(-750, -50, 0)));
    EXPECT_TRUE(Near(bounds.MaxPoint(), GePoint3d(750, 0, 1800)));
    EXPECT_EQ(box.GetCountPolygon(), 6);
    EXPECT_EQ(box.CreateBox(0, 50, 10), 0);
}

TEST_F(MeshAndDisplay, IndexedFacesOutsideTheVerticesAreDropped)
{
    decMesh3 mesh;
    GePoint3d* v = mesh.SetCountVertex(3);
    v[1] = GePoint3d(1, 0, 0);
    v[2] = GePoint3d(0, 1, 0);
    GePoint2d* uv = mesh.SetCountVertsUV(3);
    uv[2] = GePoint2d(0, 1);
    decPolygonBuf faces(1024);
    const int good[3] = {0, 1, 2};
    const int bad[3] = {0, 1, 3};
    faces.AppendPolygon(3, good, 0, 0);
    faces.AppendPolygon(3, bad, 0, 0);
    faces.AppendPolygon(0, good, 0, 0);
    mesh.SetPolygonFrom(faces);
    EXPECT_EQ(mesh.GetCountPolygon(), 1);
    EXPECT_EQ(mesh.GetCountVertsUV(), 3);
    EXPECT_EQ(mesh.SetCountVertex(0), nullptr);
}

TEST_F(MeshAndDisplay, PolygonSoupSharesPointsAndIsNullWhenEmpty)
{
    decMesh4 empty;
    EXPECT_EQ(empty.ConvertToMesh3(), nullptr);
    decMesh4 soup;
    const GePoint3d a[3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
    const GePoint3d b[3] = {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    soup.AppendPolygon(3, a, 0);
    soup.AppendPolygon(3, b, 0);
    soup.AppendPolygon(2, b, 0);
    std::unique_ptr<decMesh3> mesh(soup.ConvertToMesh3());
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetCountVertex(), 4);
    EXPECT_EQ(mesh->GetCountPolygon(), 2);
}

TEST_F(MeshAndDisplay, SolidLoopsAreWorldFacesWithBottomAndTop)
{
    GeMatrix3d tm;
    tm.SetToTranslation(GeVector3d(0, 0, 100));
    const decObjectId id = AddBlock(1000, 500, 3000, tm);
    auto* entity = decDbEntity::Cast(id.GetObjectA());
    std::unique_ptr<GePolygonIterator> it(entity->NewPolygonIterator());
    ASSERT_EQ(it->getCountLoop(), 6);
    int count = 0, closed = 0, flag2 = -1;
    const GePoint3d* pts = nullptr;
    it->start();
    it->getCurLoop(count, pts, closed, flag2);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(flag2, 0);
    for (int i = 0; i < count; ++i) EXPECT_DOUBLE_EQ(pts[i].z, 100) << "the bottom face comes first, in world";
    it->next();
    it->getCurLoop(count, pts, closed, flag2);
    for (int i = 0; i < count; ++i) EXPECT_DOUBLE_EQ(pts[i].z, 3100);

    KeepPolygons keep;
    EXPECT_EQ(entity->EnumPolygons(keep), 1);
    EXPECT_EQ(keep.indices, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(keep.polygons[0].IsPolyline());
}

TEST_F(MeshAndDisplay, CurvesGiveOneLoopWithTheirClosedFlag)
{
    const GePoint3d pts[3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    decDbPolyline open(3, pts, 0);
    GePolygonIterator it;
    open.NewPolygonIterator(it);
    ASSERT_EQ(it.getCountLoop(), 1);
    int count = 0, closed = -1, flag2 = -1;
    const GePoint3d* loop = nullptr;
    it.getCurLoop(count, loop, closed, flag2);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(closed, 0);
    KeepPolygons keep;
    open.EnumPolygons(keep);
    EXPECT_TRUE(keep.polygons.at(0).IsPolyline());

    decDbPolyline shut(3, pts, 1);
    shut.NewPolygonIterator(it);
    it.getCurLoop(count, loop, closed, flag2);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(shut.GetNumVerts(), 3);
    EXPECT_TRUE(Near(shut.GetVertexAt(2), pts[2]));
    EXPECT_TRUE(Near(shut.GetVertexAt(3), GePoint3d()));

    decDbText text("名称", GePoint3d(), 350);
    KeepPolygons none;
    EXPECT_EQ(text.EnumPolygons(none), 0) << "a text has no polygon: the caller falls back";
}

TEST_F(MeshAndDisplay, PolylineExplodesIntoLinesAndBulgedArcs)
{
    const GePoint3d pts[3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    decDbPolyline line(3, pts, 1);
    line.SetBulgeAt(0, 1.0);  // a counter-clockwise semicircle from (0,0) to (10,0)
    GeCurveList list;
    ASSERT_EQ(line.Explode(list), 1);
    ASSERT_EQ(list.GetNumSegment(), 3);
    int type = 0;
    GePoint3d p1, p2, p3;
    list.GetSegment(0, type, p1, p2, p3);
    EXPECT_EQ(type, 3);
    EXPECT_TRUE(Near(p1, pts[0]));
    EXPECT_TRUE(Near(p2, GePoint3d(5, -5, 0))) << "the middle of the arc, right of the chord";
    EXPECT_TRUE(Near(p3, pts[1]));
    list.GetSegment(2, type, p1, p2, p3);
    EXPECT_EQ(type, 2);
    EXPECT_TRUE(Near(p1, pts[2]));
    EXPECT_TRUE(Near(p2, pts[0]));

    decDbPolyline single(1, pts, 0);
    GeCurveList nothing;
    EXPECT_EQ(single.Explode(nothing), 0);
}

TEST_F(MeshAndDisplay, CircleExplodesIntoTwoSemicircles)
{
    decDbCircle3d circle(GePoint3d(5, 5, 2), GeVector3d(0, 0, 1), 3);
    GeCurveList list;
    ASSERT_EQ(circle.Explode(list), 1);
    ASSERT_EQ(list.GetNumSegment(), 2);
    int type = 0;
    GePoint3d a1, a2, a3, b1, b2, b3;
    list.GetSegment(0, type, a1, a2, a3);
    EXPECT_EQ(type, 3);
    list.GetSegment(1, type, b1, b2, b3);
    EXPECT_TRUE(Near(a3, b1));
    EXPECT_TRUE(Near(b3, a1));
    EXPECT_NEAR(a1.DistanceTo(a3), 6.0, 1e-9) << "each half spans a diameter";
    EXPECT_NEAR(a2.DistanceTo(GePoint3d(5, 5, 2)), 3.0, 1e-9);
    EXPECT_EQ(circle.GetNumVerts(), 36);

    decDbArc arc(GePoint3d(), 10, 0, std::numbers::pi / 2);
    GeCurveList arcList;
    arc.Explode(arcList);
    arcList.GetSegment(0, type, a1, a2, a3);
    EXPECT_TRUE(Near(a1, GePoint3d(10, 0, 0)));
    EXPECT_TRUE(Near(a3, GePoint3d(0, 10, 0), 1e-9));
    EXPECT_TRUE(Near(a2, GePoint3d(10 / std::sqrt(2.0), 10 / std::sqrt(2.0), 0), 1e-9));
}

TEST_F(MeshAndDisplay, WhatATwoDimensionalEntityDrawsIsRecorded)
{
    TestLabel label("12.50", GePoint3d(100, 200, 0));
    decViewFilter filter;
    label.Draw(filter);
    const auto texts = filter.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, "12.50");
    EXPECT_EQ(texts[0]->colour, 0xFF00FFu);
    EXPECT_EQ(texts[0]->alignment, 18u);
    EXPECT_DOUBLE_EQ(texts[0]->height, 350.0);
    EXPECT_EQ(AnchorOfAlignment(texts[0]->alignment), TextAnchor::BottomCentre);
    EXPECT_TRUE(Near(label.GetBoundBox().MinPoint(), GePoint3d(100, 200, 0)));
}

TEST_F(MeshAndDisplay, ABuilderDrawsItsMeshPlacedByTheEntityTransform)
{
    GeMatrix3d tm;
    tm.SetToTranslation(GeVector3d(1000, 0, 0));
    const decObjectId id = AddBlock(10, 10, 10, tm);
    decViewFilter filter;
    decDbEntity::Cast(id.GetObjectA())->Draw(filter);
    ASSERT_EQ(filter.Primitives().size(), 6u);
    for (const auto& item : filter.Primitives())
        for (const GePoint3d& p : item.points) EXPECT_GE(p.x, 1000);
}

// A 100 × 1000 upright section swept along an L-shaped path, given either way round, on the
// right of the path or turned to its left by the state's half turn (a single-precision π):
// the band is mitred round the corner (its plan area 5000·100 + 3000·100 ± 100·100) and its
// faces face outwards (a positive volume by the divergence theorem).
TEST_F(MeshAndDisplay, LoftSweepsItsSectionAlongThePath)
{
    const GePoint3d p0(0, 0, 0);
    const GePoint3dArray clockwise{p0, p0 + GeVector3d(0, 1000, 0), p0 + GeVector3d(100, 1000, 0),
                                   p0 + GeVector3d(100, 0, 0)};
    const GePoint3dArray counterClockwise(clockwise.rbegin(), clockwise.rend());
    const GePoint3dArray path{{0, 0, 0}, {5000, 0, 0}, {5000, 3000, 0}};
    struct {
        const GePoint3dArray& section;
        bool left;
    } const cases[] = {{clockwise, false}, {counterClockwise, false}, {clockwise, true}, {counterClockwise, true}};
    for (const auto& c : cases) {
        auto* loft = new decDbLoft();
        loft->SetData({fdata{c.section, 1001}}, path, 1001, 3);
        if (c.left) loft->setState(0, 0, 3.1415927);
        DbAutoOpen open(1);
        decObjectId id;
        Db().CreateNewEntity(1, loft, GeMatrix3d(), id, 0);
        const decMesh3* mesh = decDbEntity3d::Cast(id.GetObjectA())->GetMesh();
        ASSERT_NE(mesh, nullptr);
        EXPECT_EQ(mesh->GetCountVertex(), 12);
        EXPECT_EQ(mesh->GetCountPolygon(), 2 + 2 * 4);
        const GeBoundBox3d box = decDbEntity::Cast(id.GetObjectA())->GetBoundBox();
        const GePoint3d low = c.left ? GePoint3d(0, 0, 0) : GePoint3d(0, -100, 0);
        const GePoint3d high = c.left ? GePoint3d(5000, 3000, 1000) : GePoint3d(5100, 3000, 1000);
        EXPECT_TRUE(Near(box.MinPoint(), low, 1e-3) && Near(box.MaxPoint(), high, 1e-3)) << "left " << c.left;
        double volume = 0.0;
        for (int f = 0; f < mesh->GetCountPolygon(); ++f) {
            const std::vector<GePoint3d> face = mesh->FacePoints(f, GeMatrix3d());
            for (std::size_t i = 1; i + 1 < face.size(); ++i)
                volume += (face[0] - p0).DotProduct((face[i] - p0).CrossProduct(face[i + 1] - p0)) / 6.0;
        }
        EXPECT_NEAR(volume, (c.left ? 790000.0 : 810000.0) * 1000, 10.0) << "left " << c.left;
    }
}

TEST_F(MeshAndDisplay, TransformsMoveSolidsByTheirTmAndCurvesByTheirPoints)
{
    const decObjectId id = AddBlock(1000, 500, 3000);
    auto* solid = decDbEntity3d::Cast(id.GetObjectA());
    GeMatrix3d turn;
    turn.SetToRotation(std::numbers::pi, GeVector3d::kZAxis);
    solid->OpenForWrite();
    EXPECT_EQ(solid->TransformBy(turn), dex::eOk);
    solid->Close();
    EXPECT_TRUE(Near(solid->GetBoundBox().MinPoint(), GePoint3d(-1000, -500, 0), 1e-9));
    EXPECT_EQ(solid->GetMesh()->GetVertexArray()[1].x, 1000) << "the mesh stays in local coordinates";

    TestLabel label("x", GePoint3d(10, 0, 0));
    label.TransformBy(turn);
    EXPECT_TRUE(Near(label.m_pos, GePoint3d(-10, 0, 0), 1e-9));
    EXPECT_TRUE(label.GetLocalTM().IsEqual(GeMatrix3d(), 0)) << "a 2-D entity keeps no transform of its own";

    const GePoint3d pts[2] = {{1, 0, 0}, {2, 0, 0}};
    decDbPolyline line(2, pts, 0);
    line.TransformBy(turn);
    EXPECT_TRUE(Near(line.GetVertexAt(1), GePoint3d(-2, 0, 0), 1e-9));
}
