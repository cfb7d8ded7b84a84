// End to end: selections, single picks and face picks answered from script lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Quenra3dRunner.h"

using ::testing::HasSubstr;

namespace {
const char* kSite =
    "pline closed 0,0 100,0 100,100\n"           // #1 curve
    "point 5,5\n"                                 // #2 not a curve
    "layer 建筑\n"
    "extrude 3000 0,0 1000,0 1000,1000 0,1000\n"  // #3 solid
    "circle 0,0 50\n";                            // #4 curve on 建筑
}

TEST(Quenra3dSelection, TheFilterDecidesAndRefusalsAreReported)
{
    const Quenra3dRun run = RunTestScript(std::string(kSite) +
                                          "tselect\n#4 #2 #1 #4\n"
                                          "tselect\nall\n"
                                          "tselect\nlayer:建筑\n"
                                          "tselect\nlast\n"
                                          "tselect\n\n"
                                          "tselect\n*cancel*\n",
                                          {"-q"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("#2 decDbPoint is not taken here (refused by the selection filter)\n"
                                      "selected 2: #4 #1\ndecSSGet -2 count=2 #4 #1\n"));
    EXPECT_THAT(run.output, HasSubstr("decSSGet -2 count=2 #1 #4\n"));
    EXPECT_THAT(run.output, HasSubstr("#3 decDbExtrude is not taken here (refused by the selection filter)\n"
                                      "selected 1: #4\ndecSSGet -2 count=1 #4\n"));
    EXPECT_THAT(run.output, HasSubstr("selected 0\ndecSSGet -2 count=0\n"));
    EXPECT_THAT(run.output, HasSubstr("decSSGet -4 count=0\n"));
}

TEST(Quenra3dSelection, UnknownItemsAndMissingHandlesAreRefusedTheRestTaken)
{
    const Quenra3dRun run = RunTestScript(std::string(kSite) + "tselect\n#1 #99 layer:无 everything\n"
                                          "tselectkw\nA\n", {"-q"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("test.txt:7: there is no entity #99 in the drawing"));
    EXPECT_THAT(run.output, HasSubstr("test.txt:7: there is no layer \"无\""));
    EXPECT_THAT(run.output, HasSubstr("test.txt:7: \"everything\" names no entities (#N, last, all or layer:NAME)"));
    EXPECT_THAT(run.output, HasSubstr("decSSGet -2 count=1 #1\n"));
    EXPECT_THAT(run.output, HasSubstr("decSSGet 1 count=0\n"));
}

TEST(Quenra3dSelection, SinglePicksGiveTheEntityThePointOrAKeyword)
{
    const Quenra3dRun run = RunTestScript(std::string(kSite) +
                                          "tpick\n#3@1000,500,0\n"
                                          "tpick\n#3\n"
                                          "tpick\n#1\n#3@0,0\n"       // refused by the filter, asked again
                                          "tpick\na\n"
                                          "tpick\n建筑\n"
                                          "tpick\n\n"
                                          "tpick\n*end*\n"
                                          "tpick\n#3@1,x\n*cancel*\n",
                                          {"-q"});
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_THAT(run.output, HasSubstr("decPickSingleEntity -2 #3 at 1000,500,0\n"));
    EXPECT_THAT(run.output, HasSubstr("decPickSingleEntity -2 #3 at 500,500,1500\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 decDbPolyline is not taken here (refused by the selection filter)\n"
                                      "请选择建筑物[或点取内部一点(A)]<点取内部点>:\ndecPickSingleEntity -2 #3 at 0,0,0\n"));
    EXPECT_THAT(run.output, HasSubstr("decPickSingleEntity 1\n"));
    EXPECT_THAT(run.output, HasSubstr("decPickSingleEntity 2\n"));
    EXPECT_THAT(run.output, HasSubstr("decPickSingleEntity -6\n"));
    EXPECT_THAT(run.output, HasSubstr("decPickSingleEntity -3\n"));
    EXPECT_THAT(run.output, HasSubstr("\"x\" in \"1,x\" is not a number"));
    EXPECT_THAT(run.output, HasSubstr("decPickSingleEntity -4\n"));
}

TEST(Quenra3dSelection, FacePicksMarkTheFacesOfEachEntity)
{
    const Quenra3dRun run = RunTestScript(std::string(kSite) +
                                          "tsub\n#3:0,2 #1:0\n"
                                          "tsub\n#3:99\n"
                                          "tsub\n\n",
                                          {"-q"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("decPickSubObjects -2 #3:0;2; #1:0;\n"));
    EXPECT_THAT(run.output, HasSubstr("test.txt:9: #3 decDbExtrude has 6 faces (0 to 5); \"99\" is none of them"));
    EXPECT_THAT(run.output, HasSubstr("selected 0\ndecPickSubObjects -2\n"));
}

TEST(Quenra3dSelection, HighlightedEntitiesShowWhileTheCommandWaits)
{
    const Quenra3dRun run = RunTestScript(std::string(kSite) + "thighlight\n#4 #1\n\nthighlight\n#2\n*cancel*\n", {"-q"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("selected 2: #4 #1\nhighlighted: #1 #4\n"));
    EXPECT_THAT(run.output, HasSubstr("selected 1: #2\nhighlighted: #2\n"));
}
