// Dormers in drawings: listed, edited through the panel, exported and kept by saving, end to
// end through the host executable, with the module and with the test module, which has no
// dormer class.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "Dormer.h"
#include "DrawingFile.h"
#include "Quenra3dRunner.h"
#include "RoofTestSupport.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;

class DormerDrawingTest : public ModuleTest {
protected:
    // Two dormers on a roof face rising northwards at 30 degrees, their fronts at (x, 5000, 3000).
    std::string SavedDrawing(const TestFolder& folder)
    {
        for (double x : {1000.0, 6000.0}) {
            auto* dormer = new CDormer();
            EXPECT_EQ(dormer->SetData(2000, 1000, x > 5000 ? 0 : 800, 200, 300, std::acos(-1.0) / 6), 1);
            GeMatrix3d tm;
            tm.SetCoordSystem(GePoint3d(x, 5000, 3000), GeVector3d::kXAxis, GeVector3d::kYAxis, GeVector3d::kZAxis);
            AddSolid(dormer, tm);
        }
        const std::string path = (folder.Path() / "dormers.q3d").string();
        std::string error;
        EXPECT_TRUE(host::WriteDrawingFile(*Db(), path, error)) << error;
        return path;
    }
};

// The lines list prints for the dormers, from the first dormer's line to the text after them.
std::string Listed(const std::string& output, std::size_t from, const std::string& until)
{
    from = output.find("#1 QCDormer layer", from);
    return from == std::string::npos ? "" : output.substr(from, output.find(until, from) - from);
}

// Extents worked out by hand: the first dormer's slab reaches 300 beyond its 2000 (then
// 3000) width and its top, 1800 + 200 above the front, meets the 30-degree roof
// 2000 / tan 30° = 3464.1 behind it.
TEST_F(DormerDrawingTest, DormersListEditExportAndSurviveSaving)
{
    TestFolder folder;
    const std::string drawing = SavedDrawing(folder);
    const std::string obj = (folder.Path() / "dormers.obj").string();
    const std::string again = (folder.Path() / "again.q3d").string();
    const std::string script = folder.Write(
        "edit.txt", "list\nprops #2\nsetprop #1 0 3000\nsetprop #1 5 0.5\nsetprop #1 5 45\nexport obj " + obj +
                        "\nsave " + again + "\nlist\nnew\nopen " + again + "\nlist\n");
    const Quenra3dRun run = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "-o", drawing, script});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("#1 QCDormer layer=0 宽度=2000 高度1=1000 高度2=800 屋面厚度=200 屋面挑出长度=300 "
                                      "坡度=29.99999917 extents 700,4700,3000 to 3300,8464.101615,5000\n"));
    EXPECT_THAT(run.output, HasSubstr("#2 QCDormer properties:\n  0 [老虎窗信息] 宽度 (kind 1) = 2000\n"));
    EXPECT_THAT(run.output, HasSubstr("  5 [老虎窗信息] 坡度 (kind 2) = 29.99999917\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 QCDormer: taken, 宽度=3000\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 QCDormer: unchanged, 坡度=29.99999917\n"));
    EXPECT_THAT(run.output, HasSubstr("#1 QCDormer: taken, 坡度=45\n"));
    const GeBoundBox3d box = ObjExtents(obj);
    ExpectPointsNear({box.MinPoint(), box.MaxPoint()}, {{700, 4700, 3000}, {8300, 7078.460969, 5000}}, 1e-6);
    const std::size_t saved = run.output.find("saved ");
    const std::string listed = Listed(run.output, saved, "new drawing");
    // 45 degrees through the single-precision π: 2000 / tan(0.78539818) behind the front.
    EXPECT_THAT(listed, HasSubstr("extents 700,4700,3000 to 4300,6999.999913,5000\n#2 QCDormer"));
    EXPECT_EQ(Listed(run.output, run.output.find("opened ", saved), "\n\n"), listed);
}

// A host without the dormer class keeps the dormers' records as they are.
TEST_F(DormerDrawingTest, DormersSurviveAHostWithoutTheDormerClass)
{
    TestFolder folder;
    const std::string first = SavedDrawing(folder);
    const std::string second = (folder.Path() / "second.q3d").string();
    const std::string list = folder.Write("list.txt", "list\n");
    const Quenra3dRun before = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "-o", first, list});
    const Quenra3dRun passed = RunQuenra3d({"-q", "-m", QUENRA3D_TEST_MODULE, "-o", first, "-s", second, list});
    EXPECT_EQ(passed.status, 0) << passed.output;
    EXPECT_THAT(passed.output, Not(HasSubstr("宽度")));
    const Quenra3dRun after = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "-o", second, list});
    ASSERT_EQ(after.status, 0) << after.output;
    EXPECT_THAT(before.output, HasSubstr("#2 QCDormer layer=0 宽度=2000 高度1=1000 高度2=0"));
    EXPECT_EQ(Listed(after.output, 0, "\n\n"), Listed(before.output, 0, "\n\n"));
}

}  // namespace
