// End to end: the roads by which a number that is not finite could reach a drawing, and what
// the host does on each so that the drawing is never lost: saving refuses it and keeps the
// previous file, the exports leave the object out, the host's own commands make nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Quenra3dRunner.h"

using ::testing::HasSubstr;
using ::testing::Not;

// The test module keeps a base level typed in metres as millimetres without a check, so 1e306
// metres is stored as an infinity: the save names the blocks, the file of the last save and
// the drawing stay, and once the blocks are mended or erased the drawing saves and opens.
TEST(Quenra3dNotFinite, ASaveRefusesTheDrawingKeepsTheFileAndSavesOnceTheObjectsAreMended)
{
    TestFolder folder;
    const std::string drawing = (folder.Path() / "site.q3d").string(), mended = (folder.Path() / "mended.q3d").string();
    const Quenra3dRun first = RunTestScript("tblock\ntblock\n", {"-q", "-s", drawing});
    ASSERT_EQ(first.status, 0) << first.output;
    const std::string saved = ReadAll(drawing);

    const Quenra3dRun run = RunTestScript("setprop #1 3 -1e306\nsetprop #2 3 1e306\nsave " + drawing + "\nlist #2\n"
                                          "setprop #2 3 2.5\nerase #1\nsave " + mended + "\nnew\nopen " + mended + "\nlist\n",
                                          {"-q", "-o", drawing});
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_THAT(run.output, HasSubstr("#2 CTestBlock: taken, 底标高（米）=inf\ncannot save drawing \"" + drawing +
                                      "\": objects 1 (CTestBlock) and 2 (CTestBlock) hold a number that is not finite "
                                      "(erase or mend them and save again)\n#2 CTestBlock layer=0 "));
    EXPECT_EQ(ReadAll(drawing), saved) << "the file of the last save is kept";
    EXPECT_THAT(run.output, HasSubstr("#1 CTestBlock erased\nsaved " + mended + "\nnew drawing\nopened " + mended +
                                      "\n#2 CTestBlock layer=0 名称=测试块 高度=3000 类型=0 (住宅) 底标高（米）=2.5"));
    EXPECT_THAT(run.output, Not(HasSubstr("#1 CTestBlock layer")));
}

// The exports leave out a block holding an infinity and name it: what they write is what they
// write of the drawing with that block erased.
TEST(Quenra3dNotFinite, TheExportsLeaveOutAnObjectHoldingANumberThatIsNotFiniteAndNameIt)
{
    TestFolder spoilt, erased;
    const std::string blocks = "tblock\ntblock\nmove #2 5000,0\npoint 1,2\n";
    const auto exports = [](const TestFolder& folder) {
        const std::string dir = folder.Path().string();
        return "export obj " + dir + "/site.obj\nexport svg " + dir + "/site.svg\nexport svg " + dir + "/plan.svg plan\n";
    };
    const Quenra3dRun left = RunTestScript(blocks + "setprop #1 3 -1e306\n" + exports(spoilt),
                                           {"-q", "--obj", (spoilt.Path() / "option.obj").string(), "--svg",
                                            (spoilt.Path() / "option.svg").string()});
    EXPECT_EQ(left.status, 0) << left.output;
    for (const char* exportName : {"export obj", "export svg"})
        EXPECT_THAT(left.output, HasSubstr(std::string(exportName) +
                                           ": object 1 (CTestBlock) left out: it holds a number that is not finite\nexported "));
    const Quenra3dRun gone = RunTestScript(blocks + "erase #1\n" + exports(erased), {"-q"});
    ASSERT_EQ(gone.status, 0) << gone.output;
    for (const char* file : {"site.obj", "site.mtl", "site.svg", "plan.svg"}) {
        EXPECT_FALSE(ReadAll(spoilt.Path() / file).empty()) << file;
        EXPECT_EQ(ReadAll(spoilt.Path() / file), ReadAll(erased.Path() / file)) << file;
    }
    EXPECT_EQ(ReadAll(spoilt.Path() / "option.svg"), ReadAll(erased.Path() / "site.svg"));
    EXPECT_THAT(ReadAll(spoilt.Path() / "site.obj"), HasSubstr("\no CTestBlock_2_"));
    EXPECT_THAT(ReadAll(spoilt.Path() / "option.obj"), Not(HasSubstr("\no CTestBlock_1_")));
}

// The host's own commands: what a user types either makes an entity all of whose numbers are
// finite or makes nothing and says why; an entity named twice is moved once.
const ScriptCase kRoads[] = {
    // The arc's centre lies far below what it draws: its extents would move to finite places,
    // its centre would not.
    {"EditsTryTheirWholeResult",
     "point 0,0\nmove #1 #1 1e308,0\nmove #1 @1e308,0 1e308,0\n"
     "arc 2.6047e307,4.7721e307 0,5e307 -2.6047e307,4.7721e307\nmove #2 0,-1e308\nlist\n",
     0,
     {"#1 decDbPoint moved\n#1 decDbPoint refused: its coordinates would not be finite\n",
      "#2 decDbArc created\n#2 decDbArc refused: its coordinates would not be finite\n",
      "#1 decDbPoint layer=0 at 1e+308,0,0\n#2 decDbArc layer=0 points: 2.6047e+307,4.7721e+307,0 "},
     {"-q"},
     {"inf", "nan"}},
    {"DrawingCommandsMakeNothingThatIsNotFinite",
     "arc -1e308,0 0,1e308 1e308,0\n"                   // the points' spread overflows
     "pline 0,0 b=1e300 1e300,0\n"                      // the bulged edge's arc overflows
     "pline closed 1e307,0 b=-1e10 -1e307,0 0,1\n"      // the same drawn clockwise
     "circle 1e308,0 1e308\n"                           // a point of the circle overflows
     "extrude 1e308 0,0,1e308 1,0,1e308 1,1,1e308\n"   // the top overflows
     "extrude -1e308 0,0,-1e308 1,0,-1e308 1,1,-1e308\n"
     "circle 0,0 1e308\npoint -1e308,1e308\ntext 1e308,0 1e308 字\nextrude 1e308 0,0 1,0 1,1\n"
     "arc 0,0 1e110,1e110 2e110,0\nlist #5\n",           // far points whose squares overflow
     1,
     {"test.txt:1: the arc would have coordinates that are not finite: nothing is made\n",
      "test.txt:2: the polyline would have coordinates that are not finite: nothing is made\n",
      "test.txt:3: the polyline would have coordinates that are not finite: nothing is made\n",
      "test.txt:4: the circle would have coordinates that are not finite: nothing is made\n",
      "test.txt:5: the solid would have coordinates that are not finite: nothing is made\n",
      "test.txt:6: the solid would have coordinates that are not finite: nothing is made\n",
      "#1 decDbCircle3d created\n#2 decDbPoint created\n#3 decDbText created\n#4 decDbExtrude created\n",
      "#5 decDbArc layer=0 points: 2e+110,0,0 1.9829731e+110,1.837495178e+109,0 "},
     {"-q"},
     {"inf", "nan", "#6"}},
};

class Quenra3dNotFiniteRoad : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(Quenra3dNotFiniteRoad, RunsFromTheScript) { ExpectScriptCase(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Roads, Quenra3dNotFiniteRoad, ::testing::ValuesIn(kRoads),
                         [](const auto& info) { return std::string(info.param.name); });
