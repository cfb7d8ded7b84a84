// Floor dividing lines: picking the outline (building, single-loop solid, curve), the storey
// questions and the floor table of `layerline`.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "BuildCommandTestSupport.h"
#include "FloorLines.h"
#include "ModelTestSupport.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using namespace buildtest;

namespace {

constexpr const char* kPickFailed = "提示：建筑底轮廓线选取失败！命令退出。";

class FloorLinesTest : public ModelTest {
protected:
    // The points of the floor line i.
    std::vector<GePoint3d> Line(std::size_t i) const
    {
        const std::vector<decDbEntity*> lines = OnLayer(kFloorLineLayer);
        return i < lines.size() ? decCast<decDbPolyline>(lines[i])->Vertices() : std::vector<GePoint3d>{};
    }
};

TEST_F(FloorLinesTest, StoreyByStoreyOnABuildingFromItsOwnElevation)
{
    AddBuilding("", 9000, kSquare);
    Script("layerline\n#1\n\n3\n2\n2.8\n1\n*cancel*\n");
    EXPECT_THAT(FloorLineHeights(), ElementsAre(3000, 6000, 8800));
    // The base of the building in world coordinates, closed.
    const std::vector<GePoint3d> first = Line(0);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0], GePoint3d(0, 0, 3000));
    EXPECT_EQ(first[2], GePoint3d(10000, 8000, 3000));
    const std::string transcript = Transcript();
    EXPECT_THAT(transcript, HasSubstr("***绘制楼层分界线***\n选择建筑或建筑物底轮廓线:\n"));
    EXPECT_THAT(transcript, HasSubstr("输入起始底标高（米）或 [楼层表(T)]<0.00>：\n"));
    EXPECT_EQ(Db()->Layers().SearchLayer(kFloorLineLayer)->GetColor(), 0xFFFFFFu);
    const std::vector<std::string> drags = host::EventLog::Instance().Calls("GetDragPoint flags=0x101");
    ASSERT_FALSE(drags.empty());
    EXPECT_THAT(drags.front(), HasSubstr("keywords=底标高(&E)/楼层表(&T)"));
    EXPECT_FALSE(host::EventLog::Instance().Calls("ClearSelectSet 1").empty());
    EXPECT_FALSE(host::EventLog::Instance().Calls("decPickSingleEntity filter option=取消").empty());
}

TEST_F(FloorLinesTest, StartingElevationTypedOrAskedByKeyword)
{
    AddBuilding("", 9000, kSquare);
    Script("layerline\n#1\ne\n2\n3\n1\n*cancel*\n");
    Script("layerline\n#1\n-1.5\n0.5\n2\n*cancel*\n");
    EXPECT_THAT(FloorLineHeights(), ElementsAre(5000, -1000, -500));
}

TEST_F(FloorLinesTest, RepeatCountsAreTruncatedAndBounded)
{
    AddBuilding("", 9000, kSquare);
    // 2.9 draws two; 0 and -3 draw none; 500 is refused and asked again; a negative storey
    // height goes down.
    Script("layerline\n#1\n\n3\n2.9\n3\n0\n3\n-3\n3\n500\n499\n-1000\n1\n*cancel*\n");
    const std::vector<double> heights = FloorLineHeights();
    ASSERT_EQ(heights.size(), 2u + 499u + 1u);
    EXPECT_EQ(heights[0], 3000);
    EXPECT_EQ(heights[1], 6000);
    EXPECT_EQ(heights[500], 6000 + 499 * 3000);
    EXPECT_EQ(heights[501], 6000 + 499 * 3000 - 1000000);
    EXPECT_EQ(CountOf(Transcript(), "提示：请输入合理的重复层数。"), 1);
    // The storey height is asked with the flag 2, the count with 0.
    EXPECT_FALSE(host::EventLog::Instance().Calls("GetReal flags=2").empty());
    EXPECT_FALSE(host::EventLog::Instance().Calls("GetReal flags=0").empty());
}

TEST_F(FloorLinesTest, FloorTableStartsFromTheDialogsElevation)
{
    GePoint3dArray raised = kSquare;
    for (GePoint3d& p : raised)
        p.z = 7000;
    AddBuilding("", 9000, raised);
    Script("layerline\n#1\nt\nset 1319 3900,2900*2\nset 1155 1.5\nok\n");
    EXPECT_THAT(FloorLineHeights(), ElementsAre(5400, 8300, 11200));
    // The table ends the command: no storey question follows.
    EXPECT_THAT(Transcript(), Not(HasSubstr("输入层高")));

    // Any answer but the listed ones opens the table too; cancelling it ends the command.
    Script("layerline\n#1\n10,10\ncancel\n");
    EXPECT_EQ(CountOf(Transcript(), "dialog 1115 \"请输入建筑物楼层信息\" opened"), 2);
    EXPECT_EQ(FloorLineHeights().size(), 3u);
}

TEST_F(FloorLinesTest, CurvesWithArcsAreSampledEveryTenDegrees)
{
    // A quarter circle of radius 10000 closed by two lines: 1 + 8 + 1 points.
    Script("pline closed 0,0 10000,0 b=0.41421356237 0,10000\nlayerline\n#1\n\n3\n1\n*cancel*\n");
    const std::vector<GePoint3d> line = Line(0);
    ASSERT_EQ(line.size(), 10u) << Transcript();
    EXPECT_EQ(line[0], GePoint3d(0, 0, 3000));
    EXPECT_EQ(line[1], GePoint3d(10000, 0, 3000));
    // Nine samples from 0 to 90 degrees, the last left to the closing line.
    EXPECT_NEAR(line[8].x, 10000 * std::cos(78.75 * M_PI / 180), 1e-6);
    EXPECT_NEAR(line[8].y, 10000 * std::sin(78.75 * M_PI / 180), 1e-6);
    EXPECT_EQ(line[9], GePoint3d(0, 10000, 3000));
}

TEST_F(FloorLinesTest, OpenCurvesAndSingleLoopSolidsAreRings)
{
    // An open curve's end is a corner of its ring too, unless it comes back to the start.
    Script("pline 0,0 1000,0 1000,1000\nlayerline\n#1\n\n3\n1\n*cancel*\n");
    ASSERT_EQ(Line(0).size(), 3u) << Transcript();
    EXPECT_EQ(Line(0)[2], GePoint3d(1000, 1000, 3000));
    EXPECT_EQ(FloorLineHeights(), std::vector<double>{3000});
    Script("pline 0,0 1000,0 1000,1000 0,0\nlayerline\n#3\n\n3\n1\n*cancel*\n");
    ASSERT_EQ(Line(1).size(), 3u) << Transcript();

    AddMesh({Square(0, 0, 2000, 500)});
    Script("layerline\n#5\n\n3\n1\n*cancel*\n");
    ASSERT_EQ(Line(2).size(), 4u) << Transcript();
    EXPECT_EQ(Line(2)[2], GePoint3d(2000, 2000, 3500));
}

TEST_F(FloorLinesTest, UnusableOutlinesEndTheCommand)
{
    // Not level; level but starting with three points in a line; only two points.
    Script("pline closed 0,0,0 1000,0,0 1000,1000,500 0,1000,500\n"
           "pline closed 0,0 500,0 1000,0 1000,1000 0,1000\n"
           "pline 0,0 1000,0\n"
           "layerline\n#1\nlayerline\n#2\nlayerline\n#3\n");
    const std::string transcript = Transcript();
    EXPECT_EQ(CountOf(transcript, "] 底轮廓必须在同一个水平面上!"), 2) << transcript;
    EXPECT_EQ(CountOf(transcript, "提示：底轮廓顶点数不能小于3个"), 1);
    EXPECT_EQ(CountOf(transcript, kPickFailed), 3);
    EXPECT_THAT(transcript, Not(HasSubstr("输入起始底标高")));
    EXPECT_THAT(OnLayer(kFloorLineLayer), IsEmpty());
}

TEST_F(FloorLinesTest, FilterTakesBuildingsCurvesAndSingleLoopSolids)
{
    Script("extrude 3000 0,0 1000,0 1000,1000\ntext 0,0 100 字\nlayerline\n#1\n#2\n*cancel*\n");
    const std::string transcript = Transcript();
    EXPECT_THAT(transcript, HasSubstr("未选中目标!退出命令!\n" + std::string(kPickFailed)));
    EXPECT_THAT(OnLayer(kFloorLineLayer), IsEmpty());

    // Directly: the picked outline of a building is its base in world coordinates.
    AddBuilding("", 3000, kSquare);
    Answer("#3\n");
    GePoint3dArray ring;
    EXPECT_EQ(SelectBaseOutline(ring), 1);
    EXPECT_EQ(ring.size(), 4u);
}

TEST_F(FloorLinesTest, CancelledQuestionsKeepTheLinesDrawnSoFar)
{
    AddBuilding("", 9000, kSquare);
    Script("layerline\n#1\n*cancel*\n");
    Script("layerline\n#1\ne\n*cancel*\n");
    Script("layerline\n#1\n\n3\n2\n3\n*cancel*\n");
    EXPECT_THAT(FloorLineHeights(), ElementsAre(3000, 6000));
}

TEST_F(FloorLinesTest, StoreysBeyondAnyFiniteHeightAreRefused)
{
    AddBuilding("", 9000, kSquare);
    Script("layerline\n#1\n\n1e306\n2\n3\n1\n*cancel*\n");
    EXPECT_THAT(Transcript(), HasSubstr("提示：请输入合理的层高值。"));
    EXPECT_THAT(FloorLineHeights(), ElementsAre(3000));
}

}  // namespace
