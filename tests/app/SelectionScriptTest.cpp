// End to end: selections, single picks and face picks answered from script lines.
#include <gtest/gtest.h>

#include "Quenra3dRunner.h"

namespace {

const std::string kSite =
    "pline closed 0,0 100,0 100,100\n"           // #1 curve
    "point 5,5\n"                                 // #2 not a curve
    "layer 建筑\n"
    "extrude 3000 0,0 1000,0 1000,1000 0,1000\n"  // #3 solid
    "circle 0,0 50\n";                            // #4 curve on 建筑

const ScriptCase kSelectionCases[] = {
    {"TheFilterDecidesAndRefusalsAreReported",
     kSite + "tselect\n#4 #2 #1 #4\ntselect\nall\ntselect\nlayer:建筑\ntselect\nlast\ntselect\n\ntselect\n*cancel*\n", 0,
     {"#2 decDbPoint is not taken here (refused by the selection filter)\nselected 2: #4 #1\ndecSSGet -2 count=2 #4 #1\n",
      "decSSGet -2 count=2 #1 #4\n",
      "#3 decDbExtrude is not taken here (refused by the selection filter)\nselected 1: #4\ndecSSGet -2 count=1 #4\n",
      "selected 0\ndecSSGet -2 count=0\n", "decSSGet -4 count=0\n"},
     {"-q"}},
    {"UnknownItemsAndMissingHandlesAreRefusedTheRestTaken", kSite + "tselect\n#1 #99 layer:无 everything\ntselectkw\nA\n", 1,
     {"test.txt:7: there is no entity #99 in the drawing", "test.txt:7: there is no layer \"无\"",
      "test.txt:7: \"everything\" names no entities (#N, @x,y, last, all, layer:NAME or box:x1,y1,x2,y2)", "decSSGet -2 count=1 #1\n",
      "decSSGet 1 count=0\n"},
     {"-q"}},
    {"SinglePicksGiveTheEntityThePointOrAKeyword",
     kSite + "tpick\n#3@1000,500,0\n"
             "tpick\n#3\n"
             "tpick\n#1\n#3@0,0\n"  // refused by the filter, asked again
             "tpick\na\ntpick\n建筑\ntpick\n\ntpick\n*end*\ntpick\n#3@1,x\n*cancel*\n",
     1,
     {"decPickSingleEntity -2 #3 at 1000,500,0\n", "decPickSingleEntity -2 #3 at 500,500,1500\n",
      "#1 decDbPolyline is not taken here (refused by the selection filter)\n"
      "请选择建筑物[或点取内部一点(A)]<点取内部点>:\ndecPickSingleEntity -2 #3 at 0,0,0\n",
      "decPickSingleEntity 1\n", "decPickSingleEntity 2\n", "decPickSingleEntity -6\n", "decPickSingleEntity -3\n",
      "\"x\" in \"1,x\" is not a number", "decPickSingleEntity -4\n"},
     {"-q"}},
    {"FacePicksMarkTheFacesOfEachEntity", kSite + "tsub\n#3:0,2 #1:0\ntsub\n#3:99\ntsub\n\n", 1,
     {"decPickSubObjects -2 #3:0;2; #1:0;\n",
      "test.txt:9: #3 decDbExtrude has 6 faces (0 to 5); \"99\" is none of them", "selected 0\ndecPickSubObjects -2\n"},
     {"-q"}},
    {"HighlightedEntitiesShowWhileTheCommandWaits", kSite + "thighlight\n#4 #1\n\nthighlight\n#2\n*cancel*\n", 0,
     {"selected 2: #4 #1\nhighlighted: #1 #4\n", "selected 1: #2\nhighlighted: #2\n"},
     {"-q"}},
};

class Quenra3dSelection : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(Quenra3dSelection, AnswersTheModulesPicks) { ExpectScriptCase(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Picks, Quenra3dSelection, ::testing::ValuesIn(kSelectionCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
