// End to end: quenra3d loads the test module and answers its questions from script lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Quenra3dRunner.h"

using ::testing::HasSubstr;
using ::testing::Not;

TEST(Quenra3dInput, PointsTakeTwoOrThreeCoordinatesAndRefuseTheRest)
{
    const Quenra3dRun run = RunTestScript("tpoint\n5\n1,x\n1,2\n~5,5\n3,4,5\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_THAT(run.output, HasSubstr("测试模块已加载"));
    EXPECT_THAT(run.output, HasSubstr("test.txt:2: a point is x,y or x,y,z, not \"5\""));
    EXPECT_THAT(run.output, HasSubstr("test.txt:3: \"x\" in \"1,x\" is not a number"));
    EXPECT_THAT(run.output, HasSubstr("GetPoint -2 1,2,0\n"));
    EXPECT_THAT(run.output, HasSubstr("GetPoint -2 3,4,5\n"));
}

TEST(Quenra3dInput, RealsTakeTheDefaultOnEnterAndCancelOrEndOnRequest)
{
    const Quenra3dRun run = RunTestScript("treal\n\ntreal\n12.5\nTREAL\n*cancel*\ntreal\n*end*\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("GetReal -2 2.5\n"));
    EXPECT_THAT(run.output, HasSubstr("GetReal -2 12.5\n"));
    EXPECT_THAT(run.output, HasSubstr("GetReal -4 -1\n"));
    EXPECT_THAT(run.output, HasSubstr("GetReal -3 -1\n"));
}

TEST(Quenra3dInput, MalformedNumbersAreRefusedAndAskedAgain)
{
    const Quenra3dRun run = RunTestScript("treal\n1.2.3\n3e\n7\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("test.txt:2: a number is wanted, not \"1.2.3\""));
    EXPECT_THAT(run.output, HasSubstr("test.txt:3: a number is wanted, not \"3e\""));
    EXPECT_THAT(run.output, HasSubstr("GetReal -2 7\n"));
}

TEST(Quenra3dInput, StringsTakeTheWholeLineAndEnterKeepsTheDefault)
{
    const Quenra3dRun run = RunTestScript("tstring\n1号 住宅楼\ntstring\n\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("GetString -2 [1号 住宅楼]"));
    EXPECT_THAT(run.output, HasSubstr("GetString -6 [默认]"));
}

TEST(Quenra3dInput, DistancesAndAnglesTakeNumbersOrTwoPoints)
{
    const Quenra3dRun run = RunTestScript("tdist\n0,0\n300,400\ntdist\n\ntangle\n0,0\n0,-10\ntangle\n45\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("GetDistance -2 500\n"));
    EXPECT_THAT(run.output, HasSubstr("GetDistance -2 100\n"));
    EXPECT_THAT(run.output, HasSubstr("GetAngle -2 270\n"));
    EXPECT_THAT(run.output, HasSubstr("GetAngle -2 45\n"));
}

TEST(Quenra3dInput, DragQuestionsGiveEveryResultCode)
{
    const Quenra3dRun run = RunTestScript(
        "tdrag\nT\n"          // keyword letter
        "tdrag\n楼层表\n"      // whole keyword word
        "tdrag\n15\n"         // typed text: -5
        "tdrag\n\n"           // Enter: -6
        "tdrag\n~130,260\n~20,20\n420,90\n"  // cursor lines, then the point (snapped)
        "tdrag\n*cancel*\n"
        "tdrag\n*end*\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("GetDragPoint 2 point=-1,-1,0 text=[] updates=0"));
    EXPECT_THAT(run.output, HasSubstr("GetDragPoint -5 point=-1,-1,0 text=[15] updates=0"));
    EXPECT_THAT(run.output, HasSubstr("GetDragPoint -6 point=-1,-1,0"));
    EXPECT_THAT(run.output, HasSubstr("GetDragPoint -2 point=400,100,0 text=[] updates=3 tip=[距离412.3mm]"));
    EXPECT_THAT(run.output, HasSubstr("GetDragPoint -4 "));
    EXPECT_THAT(run.output, HasSubstr("GetDragPoint -3 "));
}

TEST(Quenra3dInput, DragWithoutTextRefusesTextAndEnterGivesTheDefaultKeyword)
{
    const Quenra3dRun run = RunTestScript("tdragdef\nabc\nd\ntdragdef\n\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("test.txt:2: this question takes a point x,y[,z] or a keyword of 位置(&D)/设置(&S), not \"abc\""));
    EXPECT_THAT(run.output, HasSubstr("GetDragPoint 1 "));
    EXPECT_THAT(run.output, HasSubstr("GetDragPoint 2 "));
}

TEST(Quenra3dInput, MessageBoxesShowCaptionAndTextAndTakeAnAnswerOnlyWhenTheyAsk)
{
    const Quenra3dRun run = RunTestScript("tmsg\nyes\ntmsg\nno\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("[测试] 继续吗？\n> yes\nMessageBoxA 6\n[quenra3d] 完成\n[提示] 表达式失败< n > 0 >\n文件：TestModule\n行：1\n"));
    EXPECT_THAT(run.output, HasSubstr("MessageBoxA 7\n"));
}

TEST(Quenra3dInput, TheViewStartsAsATopViewWithYPointingDown)
{
    const Quenra3dRun run = RunTestScript("tview\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("state 1\nstate 0 window 600,300 edge 0"));
}
