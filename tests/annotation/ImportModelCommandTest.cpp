// tmodel end to end: the file chosen in the file dialog, the unit question, and the
// buildings, groups, ownership records and windows it leaves in the drawing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "ImportModel.h"
#include "OsmSample.h"
#include "Quenra3dRunner.h"
#include "WinBelongBuild.h"
#include "Window.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class ImportModelCommandTest : public DrawingTest {
protected:
    // Imports the UTF-8 text written as a GBK file, answering the unit question (when the
    // answer is not empty).
    void Import(const std::string& text, const char* answer = "yes")
    {
        const std::string path = m_folder.Write("model.osm", ToGbk(text));
        Script("tmodel\n" + path + "\n" + (*answer ? std::string(answer) + "\n" : std::string()));
    }
    TestFolder m_folder;
};

TEST_F(ImportModelCommandTest, WindowsTakeTheirOwnUnitsSizesAndFacings)
{
    Import("0\n\n5\n"
           "1,1,101,甲楼,1.2,2.3,\n10,-20,0.9,0\n"
           "2,1,102,甲楼,49.6,1800,\n1000,0,900,0\n"
           "3,2,,甲楼,-900,1500,\n5000,0,900,0\n"
           "4,2,,甲楼,1500,0,\n8000,0,900,1.5707963267948966\n"
           "5,2,,,1500,1800,\n1e13,0,900,0\n",
           "no");
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("确认原图形绘图单位"));
    EXPECT_THAT(out, HasSubstr("提示：共导入0个建筑物和4个窗\n提示：另有0个建筑物和1个窗的数据有误，未导入"));
    EXPECT_THAT(out, HasSubstr("窗尺寸异常"));  // the zero height is reported and kept
    const std::vector<CWindow*> windows = Builders<CWindow>();
    ASSERT_EQ(windows.size(), 4u);
    const struct {
        int width, height;
        GePoint3d origin;
        GeVector3d x, y;
    } expected[] = {
        {1200, 2300, {10000 + 600, -20000, 900}, {-1, 0, 0}, {0, -1, 0}},
        {50, 1800, {1000 + 24.8, 0, 900}, {-1, 0, 0}, {0, -1, 0}},
        {900, 1500, {5000 - 450, 0, 900}, {-1, 0, 0}, {0, -1, 0}},
        {1500, 0, {8000, 750, 900}, {0, -1, 0}, {1, 0, 0}},
    };
    for (std::size_t i = 0; i < windows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(windows[i]->Width(), expected[i].width);
        EXPECT_EQ(windows[i]->Height(), expected[i].height);
        GePoint3d origin;
        GeVector3d x, y, z;
        windows[i]->GetEntity()->GetTM().GetCoordSystem(origin, x, y, z);
        EXPECT_NEAR(origin.DistanceTo(expected[i].origin), 0.0, 1e-6);
        EXPECT_NEAR((x - expected[i].x).Length(), 0.0, 1e-9);
        EXPECT_NEAR((y - expected[i].y).Length(), 0.0, 1e-9);
    }
    EXPECT_EQ(windows[0]->Door(), "101");
    EXPECT_EQ(LayerOf(windows[0]->GetEntity()), "窗");
}

TEST_F(ImportModelCommandTest, BuildingsInMetresDirectionsGroupsAndRefusedRecords)
{
    Import("5\n"
           "甲,3,30\n6\n10,20,0\n0,\n20,20,0\n0,\n20,30,0\n0,\n,0,0\n"
           "乙,0,10\n6\n0,0,0\n0,\n5,0,0\n0,\n5,5,0\n0,\nnormal\n0,0,1\n组,2,3\n"
           "丙,0,10\n6\n0,0,10\n0,\n5,0,10\n0,\n5,5,10\n0,\nnormal\n0,0,-1\n组,2,3\n"
           "丁,0,0.0001\n6\n0,0,0\n0,\n5,0,0\n0,\n5,5,0\n0,\n,0,0\n"
           "戊,0,10\n6\n0,0,0\n0,\n5,0,0\n0,\n5,5,0\n0,\nnormal\n0,0,0\n,0,0\n",
           "no");
    EXPECT_EQ(g_importInMetres, 1);
    const std::vector<CExtrudeBuild*> buildings = Builders<CExtrudeBuild>();
    ASSERT_EQ(buildings.size(), 2u);
    EXPECT_EQ(buildings[0]->Name(), "甲");
    EXPECT_EQ(buildings[0]->Height(), 30000);
    // The base elevation is not converted in metre mode.
    EXPECT_NEAR(buildings[0]->GetEntity()->GetBoundBox().MinPoint().DistanceTo(GePoint3d(10000, 20000, 3)), 0.0, 1e-6);
    Script("list\n");
    const std::string out = Transcript();
    // The +Z record with its group and owned window; the first has neither.
    EXPECT_THAT(out, HasSubstr("名称=乙 高度（毫米）=10000 xdata build_group=\"组\" xdata WIN_BELONG_BLD=1,\"乙-3-2\""));
    EXPECT_EQ(CountOf(out, "build_group"), 2);
    // Swept downwards from z 10000: a tagged extrusion from 0 to 10000, no ownership.
    EXPECT_EQ(Builders<decDbExtrude>().size(), 1u);
    EXPECT_THAT(out, HasSubstr("decDbExtrude layer=建筑 xdata XBUILD_NAME=\"丙\" xdata build_group=\"组\" extents 0,0,0 to "
                               "5000,5000,10000"));
    // The 0.1 mm building and the zero direction are refused and named.
    EXPECT_THAT(out, HasSubstr("提示：模型数据文件第33行起的建筑物无法生成，未导入"));
    EXPECT_THAT(out, HasSubstr("提示：模型数据文件第42行起的建筑物无法生成，未导入"));
    EXPECT_THAT(out, HasSubstr("提示：共导入3个建筑物和0个窗\n提示：另有2个建筑物和0个窗的数据有误，未导入"));
}

TEST_F(ImportModelCommandTest, ACancelledDialogAndAFileWithoutRecordsEndSilently)
{
    Script("tmodel\n*cancel*\n");
    Import("0\n\n0\n", "");
    const std::string out = Transcript();
    EXPECT_THAT(out, Not(HasSubstr("确认原图形绘图单位")));
    EXPECT_THAT(out, Not(HasSubstr("开始生成日照模型")));
    EXPECT_TRUE(Db()->AllObjects().empty());
}

// A name holding "-" is taken with the warning namebld gives, once per name, whatever
// records bear it.
TEST_F(ImportModelCommandTest, NamesHoldingADashAreTakenWithTheNamingWarning)
{
    const std::string square = "6\n0,0,0\n0,\n5,0,0\n0,\n5,5,0\n0,\n";
    const auto windowOf = [](const std::string& name) { return "1,1,," + name + ",900,1500,\n0,0,0,0\n"; };
    const struct {
        const char* what;
        std::string text;
        int warnings;
        std::vector<std::string> names;  // the buildings' and tagged bodies' names
    } cases[] = {
        {"no dash", "1\n甲楼,0,10\n" + square + ",0,0\n\n1\n" + windowOf("甲楼"), 0, {"甲楼"}},
        {"a building and its window", "1\nA-1,0,10\n" + square + ",3,0\n\n1\n" + windowOf("A-1"), 1, {"A-1"}},
        {"a leading dash, a swept body, a window's building", "2\n-B,0,10\n" + square + ",0,0\nD-4,0,10\n" + square +
                                                                   "normal\n0,0,-1\n,0,0\n\n1\n" + windowOf("C-2"),
         3, {"-B", "D-4"}},
    };
    for (const auto& c : cases) {
        SetUp();
        Import(c.text);
        EXPECT_EQ(CountOf(Transcript(), "提示：建筑名称中含有\"-\"，分析时窗所属建筑将无法识别。"), c.warnings) << c.what;
        std::vector<std::string> names;
        for (decDbEntity* entity : Db()->AllObjects())
            if (CString name; BuildName(entity, name))
                names.push_back(name.str());
        EXPECT_EQ(names, c.names) << c.what;
    }
    // The floor-0 record is written with the name as it stands (how the reader then cuts it at
    // the name's own dash is the record reader's test).
    Import("1\nA-1,0,10\n" + square + ",3,0\n\n0\n");
    std::vector<CString> ids;
    EXPECT_EQ(GetBuildWinInfo(Builders<CExtrudeBuild>().back()->GetEntity(), ids), 201);
    EXPECT_EQ(ids.at(0), "A-1-0-3");
}

TEST_F(ImportModelCommandTest, TheSampleImportsReadsBackAndSurvivesSaveAndOpen)
{
    Script("tmodel\n" + std::string(LUMIDRAX_EXAMPLES) + "/site.osm\nyes\nlist\nwindows\n");
    std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("提示：模型数据文件第48行起的建筑物无法生成，未导入"));
    EXPECT_THAT(out, HasSubstr("提示：共导入4个建筑物和5个窗"));
    EXPECT_THAT(out, HasSubstr("名称=甲楼 高度（毫米）=30000 xdata build_group=\"一区\" xdata WIN_BELONG_BLD=1,\"甲楼-1-1\""));
    EXPECT_THAT(out, HasSubstr("xdata XBUILD_NAME=\"丁楼\" xdata build_group=\"二区\""));
    EXPECT_THAT(out, HasSubstr("5 windows"));
    EXPECT_THAT(out, HasSubstr("building=甲楼 floor=1 position=2 household=102 rooms=0 width=1200 height=1500"));
    // The arc edge of 乙楼: four corners and 16 inner points.
    EXPECT_EQ(Builders<CExtrudeBuild>().at(1)->GetBasePtsNum(), 20u);
    host::EventLog::Instance().Clear();
    Script("list\nwindows\n");
    const std::string before = Transcript();
    ASSERT_TRUE(SaveAndOpen());
    host::EventLog::Instance().Clear();
    Script("list\nwindows\n");
    EXPECT_EQ(Transcript(), before);
}

}  // namespace
