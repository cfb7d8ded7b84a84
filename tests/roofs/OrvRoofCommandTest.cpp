// The host command orvroof, which sets roofs through the module's exports as an outside
// caller would; the roofs it makes listed, edited, exported and kept in drawing files, in
// process and end to end through the host executable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "DrawingFile.h"
#include "Quenra3dRunner.h"
#include "RoofTestSupport.h"
#include "WorkingDrawing.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;

class OrvRoofCommandTest : public ModuleTest {
protected:
    COrvRoof* Roof(int handle) const
    {
        const decDbEntity* entity = Entity(decObjectId(handle));
        return entity ? COrvRoof::Cast(entity->GetBaseObject()) : nullptr;
    }
    const decMesh3* Mesh(int handle) const
    {
        const auto* entity = decCast<decDbEntity3d>(Entity(decObjectId(handle)));
        return entity ? entity->GetMesh() : nullptr;
    }
};

constexpr const char* kFlatRoof = "orvroof 500 100 wa=240 ha=600 hb=300 wb=60 1000,2000,3000 1000,14000,3000 "
                                  "-7000,14000,3000 -7000,2000,3000\n";
constexpr const char* kSlopedRoof = "orvroof 0 0 slope=30 20000,0 32000,0 32000,8000 20000,8000\n";

TEST_F(OrvRoofCommandTest, AFlatRoofWithSlabAndParapetIsPlacedByItsFirstEdge)
{
    Script(kFlatRoof);
    Script("list\nprops #1\n");
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("SetData: 1\n#1 QCOrvRoof created\n"));
    // The grown edge ring runs clockwise: the parapet stands outside the 500 overhang, its
    // upper part 60 further out, 240 thick; the slab (100) and both parts (600 + 300) rise
    // from the outline's height.
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof layer=0 屋顶形式=平屋顶 挑出距离=500 屋面厚度=100 女儿墙高a=600 "
                               "女儿墙宽a=240 女儿墙高b=300 女儿墙宽b=60 extents "));
    const GeBoundBox3d& box = Entity(decObjectId(1))->GetBoundBox();
    ExpectPointsNear({box.MinPoint(), box.MaxPoint()}, {{-7800, 1200, 3000}, {1800, 14800, 4000}}, 1e-3);
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof properties:\n  0 [屋顶信息] 屋顶形式 (kind 4, read-only) = 平屋顶\n"
                               "  1 [屋顶信息] 挑出距离 (kind 2) = 500\n  2 [屋顶信息] 屋面厚度 (kind 2) = 100\n"
                               "  4 [屋顶信息] 女儿墙高a (kind 2) = 600\n"));
    GePoint3d origin;
    GeVector3d x, y, z;
    Entity(decObjectId(1))->GetLocalTM().GetCoordSystem(origin, x, y, z);
    EXPECT_EQ(origin, GePoint3d(1000, 2000, 3000));
    EXPECT_EQ(x, GeVector3d(0, 1, 0));
    EXPECT_EQ(y, GeVector3d(-1, 0, 0));
}

TEST_F(OrvRoofCommandTest, ASlopedRoofShowsItsSlope)
{
    Script(kSlopedRoof);
    Script("list #1\nsetprop #1 3 45\nsetprop #1 3 90\n");
    EXPECT_FALSE(Run("setprop #1 5 240\n"));
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof layer=0 屋顶形式=坡屋顶 挑出距离=0 屋面厚度=0 屋顶坡度=30 extents "
                               "20000,0,0 to 32000,8000,2309.4"));
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof: taken, 屋顶坡度=45\n> setprop #1 3 90\n"
                               "#1 QCOrvRoof: unchanged, 屋顶坡度=45\n"));
    // A sloped roof has no parapet rows.
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof has no property 5"));
}

TEST_F(OrvRoofCommandTest, RefusedInputCreatesNothing)
{
    const char* refused[] = {
        "orvroof 0 100 0,0 1000,0\n",                                     // two points
        "orvroof 300 0 0,0 1000,0 1000,1000\n",                           // flat, no slab, no parapet
        "orvroof 0 0 slopes=30,30 0,0 1000,0 1000,1000\n",                // a slope short
    };
    for (const char* line : refused) {
        SCOPED_TRACE(line);
        host::EventLog::Instance().Clear();
        Script(line);
        EXPECT_THAT(Transcript(), HasSubstr("SetData: -1\n"));
        EXPECT_THAT(Transcript(), Not(HasSubstr("created")));
    }
    EXPECT_TRUE(Db()->AllObjects().empty());
    // Lines the command cannot read change nothing either.
    EXPECT_FALSE(Run("orvroof 0 100\n"));
    EXPECT_FALSE(Run("orvroof 0 100 wa=x 0,0 1,0 1,1\n"));
    EXPECT_FALSE(Run("orvroof 0 0 slope=30 slopes=30,30,30 0,0 1,0 1,1\n"));
    EXPECT_FALSE(Run("orvroof 0 100 0,0 1,0 top\n"));
    EXPECT_TRUE(Db()->AllObjects().empty());
}

// Every edit rebuilds the roof, and the export shows the rebuilt mesh.
TEST_F(OrvRoofCommandTest, EditsThroughThePanelReachTheExport)
{
    TestFolder folder;
    const std::string obj = (folder.Path() / "roof.obj").string();
    const auto exportAfter = [&](const std::string& lines) {
        Script(lines + "export obj " + obj + "\n");
        return ObjExtents(obj);
    };
    // The overhang is grown in single precision.
    constexpr double tol = 1e-3;
    GeBoundBox3d box = exportAfter("orvroof 500 100 0,0 10000,0 10000,6000 0,6000\n");
    ExpectPointsNear({box.MinPoint(), box.MaxPoint()}, {{-500, -500, 0}, {10500, 6500, 100}}, tol);
    box = exportAfter("setprop #1 1 800\n");
    ExpectPointsNear({box.MinPoint(), box.MaxPoint()}, {{-800, -800, 0}, {10800, 6800, 100}}, tol);
    box = exportAfter("setprop #1 2 0\n");  // no slab and no parapet: refused, kept
    EXPECT_NEAR(box.MaxPoint().z, 100, tol);
    box = exportAfter("setprop #1 5 240\nsetprop #1 4 600\n");
    ExpectPointsNear({box.MinPoint(), box.MaxPoint()}, {{-1040, -1040, 0}, {11040, 7040, 700}}, tol);
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof: taken, 挑出距离=800\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof: unchanged, 屋面厚度=100\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof: taken, 女儿墙高a=600\n"));
}

TEST_F(OrvRoofCommandTest, SavedAndOpenedRoofsListAndMeshTheSame)
{
    Script(kFlatRoof);
    Script(kSlopedRoof);
    TestFolder folder;
    const std::string path = (folder.Path() / "roofs.q3d").string();
    Script("list\nsave " + path + "\n");
    const decMesh3 flat = *Mesh(1);
    const decMesh3 sloped = *Mesh(2);
    const std::string before = Transcript();
    const std::string listed = before.substr(before.find("> list\n") + 7, before.find("> save") - before.find("> list\n") - 7);
    host::EventLog::Instance().Clear();
    Script("new\nopen " + path + "\nlist\n");
    EXPECT_THAT(Transcript(), HasSubstr("> list\n" + listed));
    EXPECT_EQ(*Mesh(1), flat);
    EXPECT_EQ(*Mesh(2), sloped);
}

// ---- end to end ---------------------------------------------------------------------

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes, std::size_t count)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A drawing whose roof claims a million face loops, its checksum made right again.
TEST_F(OrvRoofCommandTest, AFileWhoseRoofClaimsMoreLoopsThanItHoldsIsRefused)
{
    Script(kSlopedRoof);
    COrvRoof* roof = Roof(1);
    ASSERT_NE(roof, nullptr);
    const std::vector<std::uint8_t> record = host::StoreObjectRecord(*roof);
    std::vector<std::uint8_t> file = host::EncodeDrawing(*Db());
    const auto at = std::search(file.begin(), file.end(), record.begin(), record.end());
    ASSERT_NE(at, file.end());
    // The loop count follows the name, the 4 outline points, the kind and six floats.
    const std::size_t loopCount = static_cast<std::size_t>(at - file.begin()) + 4 + 4 + 4 * 24 + 4 + 6 * 4;
    const std::int32_t claimed = 1000000;
    std::memcpy(&file[loopCount], &claimed, 4);
    const std::uint32_t crc = Crc32(file, file.size() - 12);
    std::memcpy(&file[file.size() - 4], &crc, 4);

    TestFolder folder;
    const std::string bad = (folder.Path() / "bad.q3d").string();
    std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                               static_cast<std::streamsize>(file.size()));
    const std::string script = folder.Write("open.txt", std::string(kFlatRoof) + "open " + bad + "\nlist\n");
    const Quenra3dRun run = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, script});
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_THAT(run.output, HasSubstr("claims more than the record holds"));
    EXPECT_THAT(run.output, HasSubstr("#1 QCOrvRoof layer=0 屋顶形式=平屋顶"));
    EXPECT_THAT(run.output, Not(HasSubstr("坡屋顶")));
}

// A host without the roof class keeps the roofs' records as they are.
TEST_F(OrvRoofCommandTest, RoofsSurviveAHostWithoutTheRoofClass)
{
    TestFolder folder;
    const std::string first = (folder.Path() / "first.q3d").string();
    const std::string second = (folder.Path() / "second.q3d").string();
    const std::string make = folder.Write("make.txt", std::string(kFlatRoof) + kSlopedRoof + "list\n");
    const Quenra3dRun made = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "-s", first, make});
    ASSERT_EQ(made.status, 0) << made.output;

    const std::string pass = folder.Write("pass.txt", "orvroof 0 100 0,0 1,0 1,1\n");
    const Quenra3dRun passed = RunQuenra3d({"-q", "-m", QUENRA3D_TEST_MODULE, "-o", first, "-s", second, pass});
    EXPECT_EQ(passed.status, 0) << passed.output;
    EXPECT_THAT(passed.output, HasSubstr("orvroof: the loaded module does not export the roof class"));

    const std::string list = folder.Write("list.txt", "list\n");
    const Quenra3dRun reopened = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "-o", second, list});
    ASSERT_EQ(reopened.status, 0) << reopened.output;
    const std::size_t from = made.output.find("#1 QCOrvRoof layer");
    const std::string listed = made.output.substr(from, made.output.find("saved ") - from);
    EXPECT_THAT(reopened.output, HasSubstr(listed));
}

}  // namespace
