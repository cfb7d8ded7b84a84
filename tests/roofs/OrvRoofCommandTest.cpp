// The host command orvroof, which sets roofs through the module's exports as an outside
// caller would; the roofs it makes listed, edited, exported and kept in drawing files, in
// process and end to end through the host executable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <fstream>

#include "Dormer.h"
#include "DrawingFile.h"
#include "Quenra3dRunner.h"
#include "RoofTestSupport.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using namespace roof_test;

class OrvRoofCommandTest : public ModuleTest {
protected:
    const decMesh3* Mesh(int handle) const
    {
        const auto* entity = decCast<decDbEntity3d>(Entity(decObjectId(handle)));
        return entity ? entity->GetMesh() : nullptr;
    }
};

constexpr const char* kFlatRoof = "orvroof 500 100 wa=240 ha=600 hb=300 wb=60 1000,2000,3000 1000,14000,3000 "
                                  "-7000,14000,3000 -7000,2000,3000\n";
constexpr const char* kSlopedRoof = "orvroof 0 0 slope=30 20000,0 32000,0 32000,8000 20000,8000\n";

// A flat roof with slab and parapet placed by its first edge, and a sloped one: listed with
// their rows and extents, edited (the export follows), and saved and opened to the same lines
// and meshes.
TEST_F(OrvRoofCommandTest, FlatAndSlopedRoofsAreListedEditedAndKeptBySaving)
{
    TestFolder folder;
    const std::string path = (folder.Path() / "roofs.q3d").string();
    const std::string obj = (folder.Path() / "roof.obj").string();
    // The overhang goes from 500 to 800; a negative parapet height is refused.
    Script(std::string(kFlatRoof) + "props #1\nsetprop #1 1 800\nsetprop #1 4 -5\nexport obj " + obj + "\n" +
           kSlopedRoof + "setprop #2 3 45\nsetprop #2 3 90\nlist\nsave " + path + "\n");
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("SetData: 1\n#1 QCOrvRoof created\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof properties:\n  0 [屋顶信息] 屋顶形式 (kind 4, read-only) = 平屋顶\n"
                               "  1 [屋顶信息] 挑出距离 (kind 2) = 500\n  2 [屋顶信息] 屋面厚度 (kind 2) = 100\n"
                               "  4 [屋顶信息] 女儿墙高a (kind 2) = 600\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof: taken, 挑出距离=800\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof: unchanged, 女儿墙高a=600\n"));
    // The grown edge ring runs clockwise: the parapet stands outside the overhang, its upper
    // part 60 further out, 240 thick; the slab (100) and both parts (600 + 300) rise from the
    // outline's height. The overhang is grown in single precision.
    EXPECT_THAT(out, HasSubstr("#1 QCOrvRoof layer=0 屋顶形式=平屋顶 挑出距离=800 屋面厚度=100 女儿墙高a=600 "
                               "女儿墙宽a=240 女儿墙高b=300 女儿墙宽b=60 extents "));
    ExpectExtents(Entity(decObjectId(1))->GetBoundBox(), {-8100, 900, 3000}, {2100, 15100, 4000}, 1e-3);
    ExpectExtents(ObjExtents(obj), {-8100, 900, 3000}, {2100, 15100, 4000}, 1e-3);
    EXPECT_TRUE(Entity(decObjectId(1))->GetLocalTM().IsEqual(
        GeMatrix3d().SetCoordSystem({1000, 2000, 3000}, {0, 1, 0}, {-1, 0, 0}, GeVector3d::kZAxis), 1e-12));
    EXPECT_THAT(out, HasSubstr("#2 QCOrvRoof: taken, 屋顶坡度=45\n> setprop #2 3 90\n"
                               "#2 QCOrvRoof: unchanged, 屋顶坡度=45\n"));
    EXPECT_THAT(out, HasSubstr("#2 QCOrvRoof layer=0 屋顶形式=坡屋顶 挑出距离=0 屋面厚度=0 屋顶坡度=45 extents "
                               "20000,0,0 to 32000,8000,4000"));

    const decMesh3 flat = *Mesh(1), sloped = *Mesh(2);
    const std::size_t from = out.rfind("> list\n") + 7;
    const std::string listed = out.substr(from, out.find("> save", from) - from);
    host::EventLog::Instance().Clear();
    Script("new\nopen " + path + "\nlist\n");
    EXPECT_THAT(Transcript(), HasSubstr("> list\n" + listed));
    EXPECT_EQ(*Mesh(1), flat);
    EXPECT_EQ(*Mesh(2), sloped);
    // A sloped roof has no parapet rows.
    EXPECT_FALSE(Run("setprop #2 5 240\n"));
    EXPECT_THAT(Transcript(), HasSubstr("#2 QCOrvRoof has no property 5"));
}

// A roof SetData refuses is freed, and lines the command cannot read change nothing either.
TEST_F(OrvRoofCommandTest, RefusedInputCreatesNothing)
{
    Script("orvroof 0 0 slopes=30,30 0,0 1000,0 1000,1000\n");
    EXPECT_THAT(Transcript(), HasSubstr("SetData: -1\n"));
    EXPECT_THAT(Transcript(), Not(HasSubstr("created")));
    EXPECT_FALSE(Run("orvroof 0 100\n"));
    EXPECT_FALSE(Run("orvroof 0 100 wa=x 0,0 1,0 1,1\n"));
    EXPECT_FALSE(Run("orvroof 0 0 slope=30 slopes=30,30,30 0,0 1,0 1,1\n"));
    EXPECT_FALSE(Run("orvroof 0 100 0,0 1,0 top\n"));
    EXPECT_TRUE(Db()->AllObjects().empty());
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
    COrvRoof* roof = COrvRoof::Cast(Entity(decObjectId(1))->GetBaseObject());
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

// A host without the roof and dormer classes keeps their records as they are: the drawing
// opened there and saved lists the same again.
TEST_F(OrvRoofCommandTest, RoofsAndDormersSurviveAHostWithoutTheirClasses)
{
    Script(std::string(kFlatRoof) + kSlopedRoof);
    auto* dormer = new CDormer();
    ASSERT_EQ(dormer->SetData(2000, 1000, 800, 200, 300, 0.5), 1);
    GeMatrix3d tm;
    tm.SetCoordSystem(GePoint3d(30000, 5000, 3000), GeVector3d::kXAxis, GeVector3d::kYAxis, GeVector3d::kZAxis);
    AddSolid(dormer, tm);
    TestFolder folder;
    const std::string first = (folder.Path() / "first.q3d").string();
    const std::string second = (folder.Path() / "second.q3d").string();
    std::string error;
    ASSERT_TRUE(host::WriteDrawingFile(*Db(), first, error)) << error;

    const std::string list = folder.Write("list.txt", "list\n");
    const std::string pass = folder.Write("pass.txt", "list\norvroof 0 100 0,0 1,0 1,1\n");
    const Quenra3dRun before = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "-o", first, list});
    const Quenra3dRun passed = RunQuenra3d({"-q", "-m", QUENRA3D_TEST_MODULE, "-o", first, "-s", second, pass});
    EXPECT_EQ(passed.status, 0) << passed.output;
    EXPECT_THAT(passed.output, Not(HasSubstr("屋顶形式")));
    EXPECT_THAT(passed.output, HasSubstr("orvroof: the loaded module does not export the roof class"));
    const Quenra3dRun after = RunQuenra3d({"-q", "-m", LUMIDRAX_MODULE, "-o", second, list});
    ASSERT_EQ(after.status, 0) << after.output;
    EXPECT_THAT(before.output, HasSubstr("#3 QCDormer layer=0 宽度=2000"));
    const auto listed = [](const std::string& out) { return out.substr(out.find("#1 QCOrvRoof layer")); };
    EXPECT_EQ(listed(after.output), listed(before.output));
}

}  // namespace
