// The dormer's placement drag: the locating line cut from the roof faces, the cursor snapped
// onto it as each view sees it, and the frame the drag draws.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "DormerDragCallback.h"
#include "RoofTestSupport.h"
#include "View.h"

namespace {

using namespace roof_test;

constexpr double kSlope = 0.5;
const double kTan = std::tan(kSlope);
constexpr double kAnchor = 1000.0;

// A face with its eave from (x0, y0, 0) to (x1, y0, 0), rising at the slope whose tangent is
// given over run millimetres of plan towards +y (run > 0) or -y, its ridge from xr0 to xr1.
Ring SlopedFace(double x0, double x1, double xr0, double xr1, double y0, double run, double tangent = kTan)
{
    const double y1 = y0 + run;
    const double top = std::fabs(run) * tangent;
    return {{x0, y0, 0}, {x1, y0, 0}, {xr1, y1, top}, {xr0, y1, top}};
}

// The south face of a hip roof and its north twin; a flat face between them in the list.
const Ring kSouth = SlopedFace(0, 5000, 0, 5000, 0, 5000);
const Ring kNorth = SlopedFace(5000, 0, 5000, 0, 20000, -5000);
const Ring kFlat = {{0, 6000, 3000}, {5000, 6000, 3000}, {5000, 9000, 3000}, {0, 9000, 3000}};
// Its eave shorter than its ridge: the locating line reaches beyond the first vertex.
const Ring kSplayed = SlopedFace(1000, 4000, 0, 5000, 0, 5000);

class DormerDragCallbackTest : public ModuleTest {
protected:
    decView* View() const { return dec::GetActiveView(); }
    void Look(const GeVector3d& dir, const GeVector3d& up = GeVector3d::kZAxis)
    {
        View()->SetCamera(GePoint3d(2500, 2500, 0), dir, up, 1.0);
    }
    // The filtered point, the filter's answer and the frame drawn for it.
    int Drag(CDormer_DragCallback& cb, GePoint3d& pt)
    {
        const int moved = cb.OnPointFilter(View(), pt);
        View()->BeginDragFrame();
        cb.OnDragDraw(View(), pt);
        return moved;
    }
};

TEST_F(DormerDragCallbackTest, TopViewSnapsOntoTheLineAndTellsTheStartDistance)
{
    CDormer_DragCallback cb;
    ASSERT_EQ(cb.ComputeLocateLine({kSouth}, kAnchor, 2000, 1000, 1000, 300, 300), 1);
    GePoint3d pt(2500, 3000, 0);
    EXPECT_EQ(Drag(cb, pt), 1);
    ExpectPointsNear({pt}, {{2500, kAnchor / kTan, kAnchor}}, 1e-6);
    EXPECT_EQ(cb.GetTip(), "起始距离2500.0000mm");
    EXPECT_EQ(cb.GetCurrentIndex(), 0);
    EXPECT_EQ(cb.GetCurrentPoint(), GePoint3d(0, 0, 0));

    // The frame: the slope line from the point down to Q = (2500, 0, 0), turned by the
    // single-precision quarter turn (its foot is 0.2 µm off), then the preview of the pentagon
    // and its six-point slab, one quadrilateral of 4 lines per side: every corner lies on the
    // front wall (y of the point), on the slab's front (300 further out) or on the roof face
    // z = y·tan(slope).
    const std::vector<DrawnPrimitive>& frame = View()->Primitives();
    ASSERT_EQ(frame.size(), 8u + 4u * (5u + 6u));
    ExpectPointsNear(frame[6].points, {pt, {2500, 0, 0}}, 1e-3);
    for (std::size_t i = 8; i < frame.size(); ++i)
        for (const GePoint3d& p : frame[i].points)
            EXPECT_TRUE(std::fabs(p.y - pt.y) < 1e-6 || std::fabs(p.y - pt.y + 300) < 1e-6 ||
                        std::fabs(p.z - p.y * kTan) < 1e-6)
                << p.x << "," << p.y << "," << p.z;

    // A foot behind the first vertex gives a negative distance.
    CDormer_DragCallback splayed;
    ASSERT_EQ(splayed.ComputeLocateLine({kSplayed}, kAnchor, 2000, 1000, 1000, 300, 300), 1);
    pt.Set(800, 3000, 0);
    EXPECT_EQ(Drag(splayed, pt), 1);
    EXPECT_EQ(splayed.GetCurrentPoint(), GePoint3d(1000, 0, 0));
    EXPECT_EQ(splayed.GetTip(), "起始距离-200.0000mm");
}

TEST_F(DormerDragCallbackTest, FaceIndicesAreThoseOfTheCallersList)
{
    CDormer_DragCallback cb;
    ASSERT_EQ(cb.ComputeLocateLine({kSouth, kFlat, kNorth}, kAnchor, 2000, 1000, 1000, 300, 300), 1);
    EXPECT_THAT(cb.LineFaces(), ::testing::ElementsAre(0, 2));
    ASSERT_EQ(cb.Faces().size(), 3u);
    EXPECT_TRUE(cb.Faces()[1].empty());
    // Before the cursor moves, the first segment is the current one.
    EXPECT_EQ(cb.GetCurrentIndex(), 0);

    const struct {
        const char* name;
        GePoint3d cursor;
        int face;
        GePoint3d snapped;
    } cases[] = {
        {"on the south face", {1000, 1500, 0}, 0, {1000, kAnchor / kTan, kAnchor}},
        {"on the north face", {4000, 18000, 0}, 2, {4000, 20000 - kAnchor / kTan, kAnchor}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GePoint3d pt = c.cursor;
        EXPECT_EQ(cb.LocatePoint(pt), c.face);
        ExpectPointsNear({pt}, {c.snapped}, 1e-6);
        EXPECT_EQ(cb.GetCurrentIndex(), c.face);
        EXPECT_EQ(cb.GetCurrentPoint(), cb.Faces()[static_cast<std::size_t>(c.face)].front());
    }
    // The north face starts at its lowest vertex, the east end of its eave.
    EXPECT_EQ(cb.Faces()[2].front(), GePoint3d(5000, 20000, 0));

    // A face given twice lies exactly as far from every cursor as itself: the lower index
    // wins the tie.
    CDormer_DragCallback tie;
    ASSERT_EQ(tie.ComputeLocateLine({kFlat, kSouth, kSouth}, kAnchor, 2000, 1000, 1000, 300, 300), 1);
    GePoint3d pt(2500, 4000, 0);
    EXPECT_EQ(tie.LocatePoint(pt), 1);
    EXPECT_EQ(tie.CurrentSegment(), 0);
}

TEST_F(DormerDragCallbackTest, SideViewsSnapThroughThePlanCrossing)
{
    CDormer_DragCallback cb;
    ASSERT_EQ(cb.ComputeLocateLine({kSouth}, kAnchor, 2000, 1000, 1000, 300, 300), 1);
    const GePoint3d a = cb.LocateLine()[0];
    const GePoint3d b = cb.LocateLine()[1];
    // Looking straight along the segment: its start or its end.
    const GeVector3d along = (b - a).Normalize();
    Look(along);
    GePoint3d pt(2500, 0, 0);
    EXPECT_EQ(cb.LocatePoint(pt), 0);
    EXPECT_EQ(pt, a);
    Look(-along);
    pt.Set(2500, 0, 0);
    EXPECT_EQ(cb.LocatePoint(pt), 0);
    EXPECT_EQ(pt, b);

    // An elevation looking north, and one looking north-east: the view line through the
    // cursor meets the locating line in plan, at the anchor height.
    Look(GeVector3d(0, 1, 0));
    pt.Set(1200, -3000, 400);
    EXPECT_EQ(cb.LocatePoint(pt), 0);
    ExpectPointsNear({pt}, {{1200, kAnchor / kTan, kAnchor}}, 1e-6);
    Look(GeVector3d(1, 1, 0));
    pt.Set(0, 0, 400);
    EXPECT_EQ(cb.LocatePoint(pt), 0);
    ExpectPointsNear({pt}, {{kAnchor / kTan, kAnchor / kTan, kAnchor}}, 1e-6);
}

TEST_F(DormerDragCallbackTest, ThePreviewIsRebuiltOnlyForAnotherSlope)
{
    // The steeper face of a different slope lies east of the hip roof.
    Ring steep = kSouth;
    for (GePoint3d& p : steep) {
        p.x += 10000;
        p.z *= 2;
    }
    CDormer_DragCallback cb;
    ASSERT_EQ(cb.ComputeLocateLine({kSouth, kNorth, steep}, kAnchor, 2000, 1000, 1000, 300, 300), 1);
    const struct {
        GePoint3d cursor;
        int builds;
    } moves[] = {{{1000, 1000, 0}, 1}, {{2000, 1000, 0}, 1}, {{2000, 19000, 0}, 1}, {{12000, 500, 0}, 2},
                 {{1000, 1000, 0}, 3}};
    for (const auto& m : moves) {
        GePoint3d pt = m.cursor;
        EXPECT_EQ(Drag(cb, pt), 1);
        EXPECT_EQ(cb.PreviewBuilds(), m.builds) << m.cursor.x << "," << m.cursor.y;
    }
}

TEST_F(DormerDragCallbackTest, WithoutALocatingLineNothingSnapsOrDraws)
{
    CDormer_DragCallback above, never;
    EXPECT_EQ(above.ComputeLocateLine({kSouth, kFlat}, 5000, 2000, 1000, 1000, 300, 300), 0);
    EXPECT_EQ(above.ComputeLocateLine({}, kAnchor, 2000, 1000, 1000, 300, 300), 0);
    for (CDormer_DragCallback* cb : {&above, &never}) {
        GePoint3d pt(1, 2, 3);
        EXPECT_EQ(Drag(*cb, pt), 0);
        EXPECT_EQ(pt, GePoint3d(1, 2, 3));
        EXPECT_TRUE(View()->Primitives().empty());
        EXPECT_EQ(cb->LocatePoint(pt), -1);
        EXPECT_EQ(cb->GetCurrentIndex(), 0);
        EXPECT_EQ(cb->GetCurrentPoint(), GePoint3d(0, 0, 0));
    }
}

}  // namespace
