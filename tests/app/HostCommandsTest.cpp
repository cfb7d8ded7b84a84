// End to end: the host's own drawing, editing, inquiry, settings and file commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "Quenra3dRunner.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const ScriptCase kCommandCases[] = {
    {"DrawingCommandsNumberTheirEntitiesFromOne",
     "pline closed 0,0 10000,0 b=0.5 10000,8000 0,8000\n"
     "arc 0,0 5,5 10,0\n"
     "circle 0,0,100 500\n"
     "point 1,2\n"
     "text 0,0 350 1号 住宅楼\n"
     "layer 建筑\n"
     "extrude 12000 0,0 10000,0 10000,8000 0,8000\n"
     "list #1 #4 #5 #6\n",
     0,
     {"#1 decDbPolyline created\n#2 decDbArc created\n#3 decDbCircle3d created\n#4 decDbPoint created\n"
      "#5 decDbText created\ncurrent layer: 建筑 (new)\n#6 decDbExtrude created\n",
      "#1 decDbPolyline layer=0 closed points: 0,0,0 10000,0,0 b=0.5 10000,8000,0 0,8000,0\n",
      "#4 decDbPoint layer=0 at 1,2,0\n", "#5 decDbText layer=0 text=\"1号 住宅楼\" at 0,0,0\n",
      "#6 decDbExtrude layer=建筑 extents 0,0,0 to 10000,8000,12000\n"},
     {"-q"}},
    {"ListTakesTheWordsOfASelection",
     "layer 甲\npoint 1,0\npoint 2,0\nlayer 乙\npoint 3,0\nlist layer:甲 last\nlist #9 #1\n", 1,
     {"> list layer:甲 last\n#1 decDbPoint layer=甲 at 1,0,0\n#2 decDbPoint layer=甲 at 2,0,0\n"
      "#3 decDbPoint layer=乙 at 3,0,0\n> list",
      "there is no entity #9 in the drawing", "#1 decDbPoint layer=甲 at 1,0,0\n"}},
    // Clockwise through (5,-5): the arc runs counter-clockwise from (0,0) to (10,0) below, one
    // point per ten degrees (18 points, the two middle ones 5.3 degrees either side of (5,-5)).
    {"ArcsGoThroughTheirMiddlePoint", "arc 0,0 5,-5 10,0\nlist\n", 0,
     {" points: 0,0,0 ", " 4.538658203,-4.978670881,0 5.461341797,-4.978670881,0 ", " 10,0,0\n"}, {"-q"}},
    {"EditsChangeTheNamedEntitiesOnly",
     "pline 0,0 100,0\npoint 10,0\npoint 5,5\nmove #1 #2 100,0,5\nrotate #3 0,0 90\nerase #2\nlist\nerase #2\n", 1,
     {"#1 decDbPolyline layer=0 points: 100,0,5 200,0,5\n", "#3 decDbPoint layer=0 at -5,5,0\n",
      "test.txt:8: there is no entity #2 in the drawing"},
     {"-q"},
     {"#2 decDbPoint layer=0"}},
    {"EditsWhoseResultIsNotFiniteAreRefused",
     "pline 0,0 1000,0\npoint 1.5e308,1.5e308\nmove #1 1e308,0\nmove #1 1e308,0\nrotate #2 0,0 45\n"
     "rotate #1 0,0 90\nlist\n",
     0,
     {"#1 decDbPolyline moved\n#1 decDbPolyline refused: its coordinates would not be finite\n"
      "#2 decDbPoint refused: its coordinates would not be finite\n#1 decDbPolyline rotated\n",
      "#2 decDbPoint layer=0 at 1.5e+308,1.5e+308,0\n"},
     {"-q"},
     {"inf", "nan"}},
    {"BadArgumentsAreNamedAndChangeNothing",
     "pline 0,0\n"            // one vertex
     "pline 0,0 1,x\n"        // malformed coordinate
     "pline b=1 0,0 1,1\n"    // bulge before any vertex
     "circle 0,0 -5\n"
     "circle 5 5\n"           // one-coordinate point
     "extrude 0 0,0 1,0 1,1\n"
     "arc 0,0 1,1 2,2\n"      // collinear
     "move #1 1,0\n"          // missing handle
     "erase 3\n"              // no #
     "setvar X abc\n"
     "export stl a.stl\n"
     "text 0,0 0 名\n"
     "list\n",
     1,
     {"test.txt:1: usage: pline", "test.txt:2: \"x\" in \"1,x\" is not a number",
      "test.txt:3: b=BULGE follows the vertex whose edge it bends", "test.txt:4: the radius must be above 0",
      "test.txt:5: a point is x,y or x,y,z, not \"5\"", "test.txt:6: the height must not be 0",
      "test.txt:7: the three points of an arc must not lie on one line",
      "test.txt:8: there is no entity #1 in the drawing", "test.txt:9: \"3\" is no entity handle (#N)",
      "test.txt:10: a drawing variable is a number, not \"abc\"", "test.txt:11: usage: export obj FILE",
      "test.txt:12: the text height must be above 0"},
     {"-q"},
     {"created"}},
    {"UnhideShowsTheNamedEntitiesOrEveryHiddenOne", "point 0,0\nunhide #1\nunhide\nunhide #7\n", 1,
     {"#1 decDbPoint shown\n", "test.txt:4: there is no entity #7 in the drawing"},
     {"-q"}},
    {"VariablesAndLayers",
     "setvar DRAWING_SCALE 500\ngetvar drawing_scale\ngetvar DRAWING_SCALE\nlayer 窗\nlayer 0\npoint 0,0\nlist\n", 0,
     {"DRAWING_SCALE=500\ndrawing_scale is not set\nDRAWING_SCALE=500\n", "current layer: 窗 (new)\ncurrent layer: 0\n",
      "#1 decDbPoint layer=0"},
     {"-q"}},
};

// The module's entities of every kind (building, elevation label, window, roof) moved and turned
// by the host: each says only what was done, and a move whose result would not be finite is
// refused as for the host's own entities.
const ScriptCase kModuleEdits[] = {
    {"ModuleEntitiesMoveAndTurnWithoutAnAlarm",
     "pline closed 0,0 12000,0 12000,9000 0,9000\nbuild\nlast\n18\n0\n\n"
     "2pwin\nset 1156 2\nok\n2000,0\n3500,0\n*cancel*\n"
     "orvroof 300 100 0,0,18000 12000,0,18000 12000,9000,18000 0,9000,18000\n"
     "move #2 #3 #4 #5 #6 100,0\nrotate #2 #3 #4 #5 #6 0,0 30\nmove #6 #5 #4 #3 #2 1e308,0\nmove #6 #5 #4 #3 #2 1e308,0\n",
     0,
     {"#2 QCExtrudeBuild moved\n#3 QCDimBuildElevation moved\n#4 QCWindow moved\n#5 QCWindow moved\n"
      "#6 QCOrvRoof moved\n#2 QCExtrudeBuild rotated\n#3 QCDimBuildElevation rotated\n#4 QCWindow rotated\n"
      "#5 QCWindow rotated\n#6 QCOrvRoof rotated\n#6 QCOrvRoof moved\n#5 QCWindow moved\n#4 QCWindow moved\n"
      "#3 QCDimBuildElevation moved\n#2 QCExtrudeBuild moved\n",
      "#6 QCOrvRoof refused: its coordinates would not be finite\n#5 QCWindow refused: its coordinates would not be "
      "finite\n#4 QCWindow refused: its coordinates would not be finite\n#3 QCDimBuildElevation refused: its "
      "coordinates would not be finite\n#2 QCExtrudeBuild refused: its coordinates would not be finite\n"},
     {"-q", "-m", LUMIDRAX_MODULE},
     {"[提示]", "表达式失败"}},
};

class Quenra3dHostCommand : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(Quenra3dHostCommand, RunsFromTheScript) { ExpectScriptCase(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Commands, Quenra3dHostCommand, ::testing::ValuesIn(kCommandCases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(ModuleEdits, Quenra3dHostCommand, ::testing::ValuesIn(kModuleEdits),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST(Quenra3dHostCommands, HandlesSurviveSaveAndOpenAndAreNeverReused)
{
    TestFolder folder;
    const std::string drawing = (folder.Path() / "site.q3d").string();
    const std::string obj = (folder.Path() / "site.obj").string();
    const Quenra3dRun first = RunTestScript("point 0,0\npoint 1,1\nextrude 3000 0,0 100,0 100,100\nerase #2\n",
                                            {"-q", "-s", drawing, "--obj", obj});
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_TRUE(std::filesystem::exists(drawing));
    EXPECT_TRUE(std::filesystem::exists(obj));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "site.mtl"));

    const Quenra3dRun second = RunTestScript("point 5,5\nlist\nnew\npoint 9,9\nopen " + drawing + "\npoint 7,7\n",
                                             {"-q", "-o", drawing});
    EXPECT_EQ(second.status, 0) << second.output;
    EXPECT_THAT(second.output, HasSubstr("#4 decDbPoint created\n#1 decDbPoint layer=0"));
    EXPECT_THAT(second.output, HasSubstr("#3 decDbExtrude layer=0"));
    EXPECT_THAT(second.output, HasSubstr("new drawing\n#1 decDbPoint created\n"));
    EXPECT_THAT(second.output, HasSubstr("#4 decDbPoint created\n"));
}

// The words after "export svg DIR/pN": a view and a width taken into the picture (1600 without
// one, as for the --svg option), a part of the name, or words a user meant as a width that are
// no whole width from 16 to 20000 (a number's characters, a sign, full-width digits, "px" or
// "x..." after a number, a second number, a word after a number, a word holding a digit where
// no ".svg" word ends the name), refused with no file made.
TEST(Quenra3dHostCommands, AWordWrittenLikeAWidthIsAWholeWidthOrRefused)
{
    constexpr const char* kRefused = nullptr;
    const struct {
        const char* words;
        const char* name;  // after "pN"; kRefused for a refusal
        int width = 1600;  // the default
    } kLines[] = {
        {"16", "", 16},           {"20000", "", 20000},      {"20000px", "", 20000},    {"0800", "", 800},
        {"640PX", "", 640},       {"800px", "", 800},        {"q 640", " q", 640},      {"q r plan", " q r"},
        {"800 plan", "", 800},    {"site 2.svg", " site 2.svg"}, {"px", " px"},      {"site two", " site two"},
        {"v1.2 r.svg axo 640", " v1.2 r.svg", 640},          {"2 r.svg 800", " 2 r.svg", 800},
        {"15", kRefused},         {"20001", kRefused},       {"1e3", kRefused},         {"800.5", kRefused},
        {".5e3", kRefused},       {"2147483648", kRefused},  {"1e300px", kRefused},     {"-5", kRefused},
        {"+800", kRefused},       {"1,000", kRefused},       {"800 px", kRefused},      {"800x600", kRefused},
        {"800 x600", kRefused},   {"800 x 600", kRefused},   {"800×600", kRefused},     {"８００", kRefused},
        {"８００px", kRefused},   {"q 1,000 plan", kRefused}, {"d2.svg plan 800 600", kRefused}, {"800 600", kRefused},
        {"800 像素", kRefused},   {"800 像素 plan", kRefused}, {"w800", kRefused},      {"w８００ axo", kRefused},
        {"q.svg v1.2", kRefused}, {"e3", kRefused},          {"x600", kRefused},        {"2 final", kRefused},
        {"a plan.svg plan 640px", " a plan.svg", 640},     {"b.svg AXO 320", " b.svg", 320}, {"c.svg 15px", kRefused},
    };
    TestFolder folder;
    std::string script = "extrude 3000 0,0 100,0 100,100\n";
    for (std::size_t i = 0; i < std::size(kLines); ++i)
        script += "export svg " + folder.Path().string() + "/p" + std::to_string(i) + " " + kLines[i].words + "\n";
    const Quenra3dRun run = RunTestScript(script + "export svg\n", {"-q", "--svg", folder.Path().string() + "/d.svg"});
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_THAT(run.output, HasSubstr("usage: export obj FILE | export svg FILE [plan|axo] [WIDTHpx]"));
    EXPECT_THAT(ReadAll(folder.Path() / "d.svg"), HasSubstr("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1600\""));
    std::size_t made = 1;
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        const auto& line = kLines[i];
        const std::string refusal = "test.txt:" + std::to_string(i + 2) + ": the width must be 16 to 20000 pixels\n";
        EXPECT_EQ(run.output.find(refusal) != std::string::npos, line.name == kRefused) << line.words;
        if (line.name == kRefused) continue;
        ++made;
        const std::filesystem::path file = folder.Path() / ("p" + std::to_string(i) + line.name);
        EXPECT_THAT(ReadAll(file), HasSubstr("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(line.width) + "\""))
            << line.words;
    }
    const auto files = std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator());
    EXPECT_EQ(static_cast<std::size_t>(files), made) << "a refused line makes no file";
}

// Typos after an export's file name: the forms meant still export; a word after the name's
// ".svg" word that is no view or width, and an OBJ target that is its own material file (named
// so, or linked to it), get a message and write nothing, typed or as the --obj option.
TEST(Quenra3dHostCommands, ExportTyposGetAMessageAndWriteNothing)
{
    constexpr const char* kMade = nullptr;
    const struct {
        const char* line;
        const char* refusal;  // kMade when the line exports
        std::vector<const char*> files = {};
    } kLines[] = {
        {"export svg D3.SVG 800px AXO", kMade, {"D3.SVG"}},
        {"export svg a b.svg c.svg plan", kMade, {"a b.svg c.svg"}},
        {"export svg d4.svg plna", "\"d4.svg\": after it only plan, axo or a width, not \"plna\""},
        {"export svg d5.svg pln 800", "not \"pln\""},
        {"export svg d6.svg planx", "not \"planx\""},
        {"export svg d7.svg axo plan", "not \"axo\""},
        {"export obj r.obj", kMade, {"r.obj", "r.mtl"}},
        {"export obj R.MTL", kMade, {"R.MTL", "R.mtl"}},  // a file of its own where case counts
        {"export obj s.mtl", "cannot write \"s.mtl\": it would be its own material file \"s.mtl\""},
        {"export obj sub/../t.mtl", "its own material file \"sub/../t.mtl\""},
        {"export obj ./sub/u.mtl", "its own material file \"./sub/u.mtl\""},
        {"export obj l.obj", "its own material file \"l.mtl\""},  // l.mtl links to l.obj
    };
    TestFolder folder;
    std::filesystem::create_directory(folder.Path() / "sub");
    std::filesystem::create_symlink("l.obj", folder.Path() / "l.mtl");
    std::string script = "point 0,0\n";
    for (const auto& line : kLines) script += std::string(line.line) + "\n";
    const Quenra3dRun run = RunQuenra3d({"-q", "-m", QUENRA3D_TEST_MODULE, "--obj", "v.mtl", "-"}, script, {}, folder.Path());
    EXPECT_NE(run.status, 0) << run.output;
    std::size_t made = 2;  // sub and the link
    for (const auto& line : kLines) {
        if (line.refusal) {
            EXPECT_THAT(run.output, HasSubstr(line.refusal)) << line.line;
        }
        for (const char* file : line.files) {
            EXPECT_TRUE(std::filesystem::exists(folder.Path() / file)) << line.line << ": " << file;
            ++made;
        }
    }
    EXPECT_THAT(run.output, HasSubstr("cannot write \"v.mtl\": it would be its own material file"));
    const auto files = std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator());
    EXPECT_EQ(static_cast<std::size_t>(files), made) << "a refused line writes nothing";
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path() / "sub"));
}

// "export obj site.q3d" meant as "save": a drawing of this program, whole or only its header,
// named directly, through a link or as the OBJ's material file, is refused by both exports and
// their options, with nothing written; a file that only starts like one is replaced.
TEST(Quenra3dHostCommands, AnExportNeverReplacesADrawing)
{
    TestFolder folder;
    const std::filesystem::path dir = folder.Path();
    std::filesystem::create_symlink("site.q3d", dir / "link.svg");
    folder.Write("header.svg", std::string("Q3DDRAW\x1a", 8));
    folder.Write("almost.obj", "Q3DDRAW");
    const std::string d = dir.string() + "/";
    const Quenra3dRun run = RunTestScript("point 0,0\nsave " + d + "site.q3d\nsave " + d + "b.mtl\n"
                                          "export obj " + d + "site.q3d\nexport svg " + d + "site.q3d\n"
                                          "export obj " + d + "b.obj\nexport svg " + d + "link.svg\n"
                                          "export svg " + d + "header.svg\nexport obj " + d + "almost.obj\n"
                                          "open " + d + "site.q3d\n",
                                          {"-q"});
    EXPECT_EQ(run.status, 2) << run.output;
    for (const char* name : {"site.q3d", "b.mtl", "link.svg", "header.svg"})
        EXPECT_THAT(run.output, HasSubstr("cannot write \"" + d + name + "\": it is a drawing of this program"));
    EXPECT_THAT(run.output, HasSubstr("exported " + d + "almost.obj\nopened " + d + "site.q3d\n"));
    const std::string saved = ReadAll(dir / "site.q3d");
    EXPECT_EQ(ReadAll(dir / "b.mtl"), saved);
    EXPECT_EQ(ReadAll(dir / "header.svg"), std::string("Q3DDRAW\x1a", 8));
    EXPECT_FALSE(std::filesystem::exists(dir / "site.mtl"));
    EXPECT_FALSE(std::filesystem::exists(dir / "b.obj"));

    const Quenra3dRun options = RunTestScript("point 1,1\n", {"-q", "--obj", d + "site.q3d", "--svg", d + "site.q3d"});
    EXPECT_EQ(options.status, 2);
    EXPECT_EQ(ReadAll(dir / "site.q3d"), saved);
    EXPECT_FALSE(std::filesystem::exists(dir / "site.mtl"));
}

TEST(Quenra3dHostCommands, DrawingsThatCannotBeReadOrWrittenGiveStatus2)
{
    TestFolder folder;
    const std::string junk = folder.Write("junk.q3d", "not a drawing at all");
    const Quenra3dRun badOpen = RunTestScript("point 0,0\n", {"-q", "-o", junk});
    EXPECT_EQ(badOpen.status, 2);
    EXPECT_THAT(badOpen.output, HasSubstr("junk.q3d"));
    EXPECT_THAT(badOpen.output, Not(HasSubstr("created")));

    const Quenra3dRun badSave = RunTestScript("point 0,0\nsave /nonexistent/dir/a.q3d\npoint 1,1\n", {"-q"});
    EXPECT_EQ(badSave.status, 2);
    EXPECT_THAT(badSave.output, HasSubstr("/nonexistent/dir/a.q3d"));
    EXPECT_THAT(badSave.output, HasSubstr("#2 decDbPoint created"));

    const Quenra3dRun badOpenCommand = RunTestScript("point 0,0\nopen " + junk + "\nlist\n", {"-q"});
    EXPECT_EQ(badOpenCommand.status, 2);
    EXPECT_THAT(badOpenCommand.output, HasSubstr("#1 decDbPoint layer=0"));
}

TEST(Quenra3dHostCommands, PropertiesGoThroughTheObjectsOwnHandlers)
{
    TestFolder folder;
    const std::string drawing = (folder.Path() / "block.q3d").string();
    const Quenra3dRun run = RunTestScript("tblock\nprops #1\nsetprop #1 0 2号楼 东\nsetprop #1 1 -5\nsetprop #1 1 4500\n"
                                          "setprop #1 2 2\nsetprop #1 2 9\nsetprop #1 1 tall\nsetprop #1 5 x\n"
                                          "setprop #1 1 4500\nlist #1\n"
                                          "save " + drawing + "\nnew\nopen " + drawing + "\nlist\n",
                                          {"-q"});
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_THAT(run.output, HasSubstr("block #1\n#1 CTestBlock properties:\n"
                                      "  0 [基本] 名称 (kind 4) = 测试块\n"
                                      "  1 [基本] 高度 (kind 1) = 3000\n"
                                      "  2 [基本] 类型 (kind 5) = 0 (住宅)\n"
                                      "  3 [基本] 底标高（米） (kind 2) = 0\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 CTestBlock: taken, 名称=2号楼 东\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 CTestBlock: refused, 高度=3000\n#1 CTestBlock: taken, 高度=4500\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 CTestBlock: taken, 类型=2 (商业)\n#1 CTestBlock: refused, 类型=2 (商业)\n"));
    EXPECT_THAT(run.output, HasSubstr("test.txt:8: the property \"高度\" takes a whole number, not \"tall\""));
    // The handler answers -2 again, but the value did not change.
    EXPECT_THAT(run.output, HasSubstr("test.txt:9: #1 CTestBlock has no property 5 (props lists them)\n"
                                      "#1 CTestBlock: unchanged, 高度=4500\n"));
    const std::string listed = "#1 CTestBlock layer=0 名称=2号楼 东 高度=4500 类型=2 (商业) 底标高（米）=0 "
                               "xdata XBUILD_NAME=\"1号楼\",7 extents -500,-1000,0 to 500,0,4500\n";
    EXPECT_THAT(run.output, HasSubstr("\n" + listed + "saved"));
    EXPECT_THAT(run.output, HasSubstr("opened " + drawing + "\n" + listed));
}

TEST(Quenra3dHostCommands, DrawingFilesAreReadAPieceAtATime)
{
    TestFolder folder;
    // 4 GB that are no drawing: refused after their first bytes, nothing else read.
    const std::string garbage = folder.Write("garbage.q3d", "garbage!");
    std::filesystem::resize_file(garbage, 4ull << 30);
    const Quenra3dRun refused = RunQuenra3d({"-q", "-m", QUENRA3D_TEST_MODULE, "-o", garbage}, "point 0,0\n");
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.output, HasSubstr("garbage.q3d\": it is not a drawing file of this program"));

    // A drawing header, then a class table of 100 MB: with less memory than that to take, the
    // file is refused like any other (status 2) rather than ending the run.
    std::string header = "Q3DDRAW\x1a";
    for (std::uint32_t word : {1u, 0u})
        header.append(reinterpret_cast<const char*>(&word), 4);
    header += "CLAS";
    const std::uint32_t length = 100u << 20;
    header.append(reinterpret_cast<const char*>(&length), 4);
    const std::string large = folder.Write("large.q3d", header);
    std::filesystem::resize_file(large, header.size() + length);
    const Quenra3dRun tight = RunQuenra3d({"-q", "-m", QUENRA3D_TEST_MODULE, "-o", large}, "point 0,0\n",
                                          {"ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=64"});
    EXPECT_EQ(tight.status, 2);
    EXPECT_THAT(tight.output, HasSubstr("cannot open drawing"));
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_THAT(tight.output, HasSubstr("large.q3d\": there is not enough memory to read it"));
#endif
    EXPECT_THAT(tight.output, Not(HasSubstr("created")));
}

TEST(Quenra3dHostCommands, ObjectsOfClassesAModuleLacksAreWrittenBackUnchanged)
{
    // The example drawing of versions below 4.0, opened with a module that has no legacy classes.
    const std::filesystem::path example = std::filesystem::path(LUMIDRAX_SOURCE_DIR) / "examples" / "old-model.q3d";
    TestFolder folder;
    const std::string copy = (folder.Path() / "copy.q3d").string();
    const Quenra3dRun run = RunTestScript("list\n", {"-q", "-o", example.string(), "-s", copy});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("decDbForeignObject"));
    EXPECT_TRUE(ReadAll(copy) == ReadAll(example));
}
