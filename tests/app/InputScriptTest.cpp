// End to end: quenra3d loads the test module and answers its questions from script lines.
#include <gtest/gtest.h>

#include "Quenra3dRunner.h"

namespace {

const ScriptCase kInputCases[] = {
    {"PointsTakeTwoOrThreeCoordinatesAndRefuseTheRest", "tpoint\n5\n1,x\n1,2\n~5,5\n3,4,5\n", 1,
     {"测试模块已加载", "test.txt:2: a point is x,y or x,y,z, not \"5\"", "test.txt:3: \"x\" in \"1,x\" is not a number",
      "GetPoint -2 1,2,0\n", "GetPoint -2 3,4,5\n"}},
    {"RealsTakeTheDefaultOnEnterAndCancelOrEndOnRequest", "treal\n\ntreal\n12.5\nTREAL\n*cancel*\ntreal\n*end*\n", 0,
     {"GetReal -2 2.5\n", "GetReal -2 12.5\n", "GetReal -4 -1\n", "GetReal -3 -1\n"}},
    {"MalformedNumbersAreRefusedAndAskedAgain", "treal\n1.2.3\n3e\n7\n", 1,
     {"test.txt:2: a number is wanted, not \"1.2.3\"", "test.txt:3: a number is wanted, not \"3e\"", "GetReal -2 7\n"}},
    {"StringsTakeTheWholeLineAndEnterKeepsTheDefault", "tstring\n1号 住宅楼\ntstring\n\n", 0,
     {"GetString -2 [1号 住宅楼]", "GetString -6 [默认]"}},
    {"DistancesAndAnglesTakeNumbersOrTwoPoints", "tdist\n0,0\n300,400\ntdist\n\ntangle\n0,0\n0,-10\ntangle\n45\n", 0,
     {"GetDistance -2 500\n", "GetDistance -2 100\n", "GetAngle -2 270\n", "GetAngle -2 45\n"}},
    {"DragQuestionsGiveEveryResultCode",
     "tdrag\nT\n"                           // keyword letter
     "tdrag\n楼层表\n"                       // whole keyword word
     "tdrag\n15\n"                          // typed text: -5
     "tdrag\n\n"                            // Enter: -6
     "tdrag\n~130,260\n~20,20\n420,90\n"    // cursor lines, then the point (snapped)
     "tdrag\n*cancel*\n"
     "tdrag\n*end*\n",
     0,
     {"GetDragPoint 2 point=-1,-1,0 text=[] updates=0", "GetDragPoint -5 point=-1,-1,0 text=[15] updates=0",
      "GetDragPoint -6 point=-1,-1,0", "GetDragPoint -2 point=400,100,0 text=[] updates=3 tip=[距离412.3mm]",
      "GetDragPoint -4 ", "GetDragPoint -3 "}},
    {"DragWithoutTextRefusesTextAndEnterGivesTheDefaultKeyword", "tdragdef\nabc\nd\ntdragdef\n\n", 1,
     {"test.txt:2: this question takes a point x,y[,z] or a keyword of 位置(&D)/设置(&S), not \"abc\"",
      "GetDragPoint 1 ", "GetDragPoint 2 "}},
    {"MessageBoxesShowCaptionAndTextAndTakeAnAnswerOnlyWhenTheyAsk", "tmsg\nyes\ntmsg\nno\n", 0,
     {"[测试] 继续吗？\n> yes\nMessageBoxA 6\n[quenra3d] 完成\n[提示] 表达式失败< n > 0 >\n文件：TestModule\n行：1\n",
      "MessageBoxA 7\n"}},
    {"TheViewStartsAsATopViewWithYPointingDown", "tview\n", 0, {"state 1\nstate 0 window 600,300 edge 0"}},
};

class Quenra3dInput : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(Quenra3dInput, AnswersTheModulesQuestions) { ExpectScriptCase(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Questions, Quenra3dInput, ::testing::ValuesIn(kInputCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
