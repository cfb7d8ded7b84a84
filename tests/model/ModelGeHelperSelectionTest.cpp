// Outlines chosen by the user: the multi-outline selection with its polygon filter, the
// contour pick, and the outline highlight. Drawings are made with the host's script commands
// where it has them; the selection and pick questions are answered with script lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "DbDatabase.h"
#include "HostSolids.h"
#include "ModelGeHelper.h"
#include "OrvScaleText.h"
#include "OutlineCleanup.h"
#include "WindowTestSupport.h"
#include "decDbCurve.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using Outlines = std::vector<GePoint3dArray>;

// The outline of "pline closed 0,0 10000,0 10000,8000 0,8000" as the selection returns it.
const GePoint3dArray kClosedRect = {{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}, {0, 0, 0}};

// Counter-clockwise, closed, and no point repeated but the closing one.
void ExpectCleanClosedCcw(const GePoint3dArray& outline)
{
    ASSERT_GE(outline.size(), 4u);
    EXPECT_TRUE(outline.front().IsEqual(outline.back(), 1e-9));
    EXPECT_GT(GetPtsSignedArea(outline), 0.0);
    for (std::size_t i = 1; i + 1 < outline.size(); ++i)
        EXPECT_GT(outline[i].DistanceTo(outline[i - 1]), 1e-6) << "point " << i;
}

class OutlineSelectionTest : public WindowModelTest {
protected:
    int Select(const std::string& answer, Outlines& outlines)
    {
        Answer(answer);
        return SelectMultiBorders("请选择建筑底轮廓线:", outlines);
    }
};

TEST_F(OutlineSelectionTest, ClosedOutlinesComeBackCounterClockwiseCleanedAndClosed)
{
    ASSERT_TRUE(Run("pline closed 0,0 10000,0 10000,8000 0,8000\n"              // #1 ccw
                    "pline closed 20000,0 20000,8000 30000,8000 30000,0\n"      // #2 cw
                    "pline closed 40000,0 45000,0 50000,0 50000,8000 40000,8000 40000,8000\n"  // #3
                    "circle 60000,4000 3000\n"                                   // #4
                    "extrude 3000 0,20000 10000,20000 10000,28000 0,28000\n"));  // #5
    Outlines outlines;
    EXPECT_EQ(Select("#1 #2 #3 #4 #5\n", outlines), 1);
    ASSERT_EQ(outlines.size(), 5u);
    for (const GePoint3dArray& outline : outlines)
        ExpectCleanClosedCcw(outline);

    ExpectPointsNear(outlines[0], kClosedRect, 1e-6);
    // Reversed, so it starts at the former last point.
    ExpectPointsNear(outlines[1],
                  {{30000, 0, 0}, {30000, 8000, 0}, {20000, 8000, 0}, {20000, 0, 0}, {30000, 0, 0}}, 1e-6);
    // The point on the bottom edge and the repeated corner are gone.
    ExpectPointsNear(outlines[2],
                  {{40000, 0, 0}, {50000, 0, 0}, {50000, 8000, 0}, {40000, 8000, 0}, {40000, 0, 0}}, 1e-6);
    // The circle's 36 vertices, closed.
    EXPECT_EQ(outlines[3].size(), 37u);
    for (const GePoint3d& p : outlines[3])
        EXPECT_NEAR(p.DistanceTo({60000, 4000, 0}), 3000, 1e-6);
    // The solid's lowest face, which runs clockwise in the mesh.
    ExpectPointsNear(outlines[4],
                  {{0, 20000, 0}, {10000, 20000, 0}, {10000, 28000, 0}, {0, 28000, 0}, {0, 20000, 0}}, 1e-6);
}

TEST_F(OutlineSelectionTest, ArcEdgesAndBuildingsGiveTheirBottomPolygons)
{
    // The host enumerates a polyline with its arcs sampled: the bulge of 0.5 (106 degrees)
    // gives 9 points below the bottom edge before the three other corners.
    ASSERT_TRUE(Run("pline closed 0,0 b=0.5 10000,0 10000,8000 0,8000\n"));
    const decObjectId building = AddBuilding("甲", 3000, {{20000, 0, 0}, {20000, 8000, 0}, {30000, 8000, 0}, {30000, 0, 0}});
    ASSERT_EQ(building, decObjectId(2));
    Outlines outlines;
    EXPECT_EQ(Select("#1 #2\n", outlines), 1);
    ASSERT_EQ(outlines.size(), 2u);
    ExpectCleanClosedCcw(outlines[0]);
    ASSERT_EQ(outlines[0].size(), 13u);
    for (std::size_t i = 1; i < 9; ++i)
        EXPECT_LT(outlines[0][i].y, 0.0) << i;
    ExpectPointsNear({outlines[0].begin() + 9, outlines[0].end()}, {kClosedRect.begin() + 1, kClosedRect.end()}, 1e-6);
    ExpectCleanClosedCcw(outlines[1]);
    ASSERT_EQ(outlines[1].size(), 5u);
    EXPECT_NEAR(std::fabs(GetPtsSignedArea(outlines[1])), 2 * 10000.0 * 8000.0, 1e-3);
    for (const GePoint3d& p : outlines[1])
        EXPECT_NEAR(p.z, 0.0, 1e-9);
}

TEST_F(OutlineSelectionTest, RefusedObjectsAndOpenOutlinesAreReportedAndLeftOut)
{
    ASSERT_TRUE(Run("pline closed 0,0 10000,0 10000,8000 0,8000\n"  // #1
                    "text 0,0 500 字\n"                              // #2
                    "point 5,5\n"                                    // #3
                    "pline 0,20000 5000,20000 5000,25000\n"          // #4 open
                    "pline closed 0,30000 5000,30000\n"));           // #5 two points
    AddWindow({.building = "甲", .sill = {5000, 0, 0}});              // #6
    AddEntity(new decDbPolyline(1, std::vector<GePoint3d>{{1, 1, 0}}.data(), 1));  // #7
    auto* label = new COrvScaleText();
    label->Set(TEXT_UTILITY::BUILD_DIM, "1号楼", {100, 200, 0}, GeVector3d::kXAxis, GeVector3d::kZAxis, 5.0, 0.0, 18,
               500.0, "");
    AddEntity(label);  // #8
    Outlines outlines;
    EXPECT_EQ(Select("#2 #3 #6 #8 #5 #7 #4 #1\n", outlines), 1);
    ASSERT_EQ(outlines.size(), 1u);
    ExpectPointsNear(outlines[0], kClosedRect, 1e-6);

    const std::string transcript = Transcript();
    // Each message once: windows, texts, scale texts and points are refused without one.
    for (const char* message : {"顶点数不能小于3!", "该实体不是多边形实体!", "底轮廓线必须闭合！"})
        EXPECT_EQ(CountOf(transcript, message), 1) << message;
}

TEST_F(OutlineSelectionTest, TheSameOutlineIsListedOnce)
{
    ASSERT_TRUE(Run("pline closed 0,0 10000,0 10000,8000 0,8000\n"            // #1
                    "pline closed 0,8000 10000,8000 10000,0 0,0\n"            // #2 the same, cw
                    "pline closed 0,0 10000,0 10000,8000 0,8000.5\n"));       // #3 differs
    Outlines outlines;
    EXPECT_EQ(Select("#1 #2\n", outlines), 1);
    EXPECT_EQ(outlines.size(), 1u);
    // Selecting it again adds nothing; an outline that differs is added.
    EXPECT_EQ(Select("#1\n", outlines), 1);
    EXPECT_EQ(outlines.size(), 1u);
    EXPECT_EQ(Select("#3\n", outlines), 1);
    EXPECT_EQ(outlines.size(), 2u);

    const SameOutline same(outlines[0]);
    EXPECT_EQ(same.count, 5);
    EXPECT_DOUBLE_EQ(same.area, 8e7);
    EXPECT_TRUE(same(outlines[0]));
    EXPECT_FALSE(same(outlines[1]));
}

TEST_F(OutlineSelectionTest, ManyOutlinesKeepTheFirstOfEachInSelectionOrder)
{
    // A generated site of equal rectangles: half drawn again reversed or from another corner
    // (the same outline), some drawn 0.4 mm taller or turned upright (outlines of their own).
    std::string script, selection;
    int handle = 0;
    const auto rect = [&](double x, double y, double w, double h, int start, bool reversed) {
        std::vector<std::string> corners;
        for (const auto& [cx, cy] : {std::pair{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}})
            corners.push_back(std::to_string(cx) + "," + std::to_string(cy));
        std::rotate(corners.begin(), corners.begin() + start, corners.end());
        if (reversed)
            std::reverse(corners.begin(), corners.end());
        script += "pline closed " + corners[0] + " " + corners[1] + " " + corners[2] + " " + corners[3] + "\n";
        selection += "#" + std::to_string(++handle) + " ";
    };
    for (int i = 0; i < 60; ++i) {
        const double x = (i % 10) * 20000.0, y = (i / 10) * 20000.0;
        rect(x, y, 10000, 8000, 0, false);
        if (i % 2 == 0)
            rect(x, y, 10000, 8000, i % 4, i % 3 == 0);
        if (i % 5 == 0)
            rect(x, y, 10000, 8000.4, 0, false);
        if (i % 7 == 0)
            rect(x, y, 8000, 10000, 1, false);
    }
    ASSERT_TRUE(Run(script));
    Outlines outlines;
    EXPECT_EQ(Select(selection + "\n", outlines), 1);

    // The oracle: every selected outline compared with every one kept before it.
    Outlines expected;
    for (int h = 1; h <= handle; ++h) {
        Outlines one;
        ASSERT_EQ(Select("#" + std::to_string(h) + "\n", one), 1);
        if (std::none_of(expected.begin(), expected.end(), SameOutline(one[0])))
            expected.push_back(one[0]);
    }
    EXPECT_EQ(expected.size(), 60u + 12u + 9u);
    ASSERT_EQ(outlines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ExpectPointsNear(outlines[i], expected[i], 0.0);
}

TEST_F(OutlineSelectionTest, CancelledAndEmptySelectionsSaySoAndGiveNothing)
{
    ASSERT_TRUE(Run("pline closed 0,0 10000,0 10000,8000 0,8000\n"));
    Outlines outlines;
    EXPECT_EQ(Select("*cancel*\n", outlines), 0);
    EXPECT_THAT(Transcript(), HasSubstr("提示：未选中! \n"));
    EXPECT_EQ(Select("\n", outlines), 0);
    EXPECT_THAT(Transcript(), HasSubstr("提示：未选中!\n"));
    EXPECT_TRUE(outlines.empty());

    // Only unusable objects: nothing listed, 0.
    ASSERT_TRUE(Run("pline 0,20000 5000,20000 5000,25000\n"));
    EXPECT_EQ(Select("#2\n", outlines), 0);
    EXPECT_TRUE(outlines.empty());
}

// ---- the contour pick ----------------------------------------------------------------

class ContourPickTest : public ModelTest {
protected:
    int Pick(const std::string& answer, Outlines& outlines, decObject*& tagged)
    {
        Answer(answer);
        return SelectContourLine(outlines, "请选择等高线:", tagged);
    }
};

TEST_F(ContourPickTest, BuildingsGiveTheirBaseAndTaggedObjectsThemselves)
{
    const GePoint3dArray base = {{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}};
    AddBuilding("甲", 3000, base);
    const decObjectId box = AddSolid(new decDbBox(1000, 1000, 1000));
    Tag(box, "乙");
    Outlines outlines;
    decObject* tagged = reinterpret_cast<decObject*>(1);
    EXPECT_EQ(Pick("#1\n", outlines, tagged), 1);
    EXPECT_EQ(tagged, nullptr);
    ASSERT_EQ(outlines.size(), 1u);
    ExpectPointsNear(outlines[0], kClosedRect, 1e-6);

    EXPECT_EQ(Pick("#2\n", outlines, tagged), 1);
    EXPECT_EQ(tagged, Entity(box));
    EXPECT_EQ(outlines.size(), 1u);

    EXPECT_EQ(Pick("*cancel*\n", outlines, tagged), 0);
    EXPECT_EQ(tagged, Entity(box));
    EXPECT_EQ(outlines.size(), 1u);
}

TEST_F(ContourPickTest, SolidsGiveTheLowerOfTheirFirstTwoLevelFaces)
{
    ASSERT_TRUE(Run("extrude 3000 0,0 10000,0 10000,8000 0,8000\n"
                    // So thin that every face is level: more than two faces.
                    "extrude 0.0005 0,20000 1000,20000 1000,21000\n"));
    Outlines outlines;
    decObject* tagged = nullptr;
    EXPECT_EQ(Pick("#1\n", outlines, tagged), 1);
    ASSERT_EQ(outlines.size(), 1u);
    ExpectPointsNear(outlines[0], {{0, 8000, 0}, {10000, 8000, 0}, {10000, 0, 0}, {0, 0, 0}, {0, 8000, 0}}, 1e-6);
    EXPECT_THAT(Transcript(), Not(HasSubstr("表达式失败")));

    EXPECT_EQ(Pick("#2\n", outlines, tagged), 1);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< arrayFlatFace.size() <= 2 >\n文件：modelhelper\n行：1214"));
    ASSERT_EQ(outlines.size(), 2u);
    ExpectPointsNear(outlines[1], {{1000, 21000, 0}, {1000, 20000, 0}, {0, 20000, 0}, {1000, 21000, 0}}, 1e-6);
}

TEST_F(ContourPickTest, CurvesGiveTheirPointsWithArcsSampledEveryTenDegrees)
{
    // A line, then a quarter circle about (10000,10000) from (10000,0) to (20000,10000).
    ASSERT_TRUE(Run("pline 0,0 10000,0 b=0.41421356237309503 20000,10000\n"
                    "circle 0,50000 5000\n"));
    Outlines outlines;
    decObject* tagged = nullptr;
    EXPECT_EQ(Pick("#1\n", outlines, tagged), 1);
    ASSERT_EQ(outlines.size(), 1u);
    const GePoint3dArray& ring = outlines[0];
    // The line's start, 8 of the arc's 9 samples, the end point.
    ASSERT_EQ(ring.size(), 10u);
    ExpectNearPoint(ring[0], {0, 0, 0}, "line start");
    for (int i = 0; i < 8; ++i) {
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 16;
        ExpectNearPoint(ring[1 + i], {10000 + 10000 * std::cos(a), 10000 + 10000 * std::sin(a), 0},
                        "sample " + std::to_string(i), 1e-6);
    }
    ExpectNearPoint(ring[9], {20000, 10000, 0}, "end");

    // A circle explodes into two half circles: 17 of 18 samples each, then the end, which
    // closes the ring.
    EXPECT_EQ(Pick("#2\n", outlines, tagged), 1);
    ASSERT_EQ(outlines.size(), 2u);
    ASSERT_EQ(outlines[1].size(), 35u);
    EXPECT_TRUE(outlines[1].front().IsEqual(outlines[1].back(), 1e-6));
    for (const GePoint3d& p : outlines[1])
        EXPECT_NEAR(p.DistanceTo({0, 50000, 0}), 5000, 1e-6);
}

TEST_F(ContourPickTest, HighlightShowsTheOutlineClosedInPlaceOfWhatWasShown)
{
    TempGraphics& temp = Db()->GetTempGraphics();
    const GePoint3d old[2] = {{0, 0, 0}, {1, 1, 0}};
    Db()->DrawTempPolyline(old, 2, 0xFF, 0, 0);

    HighlightOutline({});
    EXPECT_EQ(temp.GetPolylineCount(), 1);

    HighlightOutline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    ASSERT_EQ(temp.GetPolylineCount(), 1);
    const TempPolyline& shown = temp.Polylines()[0];
    EXPECT_EQ(shown.colour, 0xFFFFu);
    ExpectPointsNear(shown.points, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 0, 0}}, 1e-6);
}

TEST_F(ContourPickTest, SingleLoopEntities)
{
    ASSERT_TRUE(Run("pline closed 0,0 10000,0 10000,8000\n"
                    "extrude 3000 0,0 10000,0 10000,8000\n"));
    EXPECT_EQ(IsSingleLoopEntity(Entity(decObjectId(1))), 1);
    EXPECT_EQ(IsSingleLoopEntity(Entity(decObjectId(2))), 0);
    EXPECT_EQ(IsSingleLoopEntity(nullptr), 0);
}

}  // namespace
