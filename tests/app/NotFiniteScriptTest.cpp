// End to end: the roads by which a number that is not finite could reach a drawing, and what
// the host does on each so that the drawing is never lost: saving refuses it and keeps the
// previous file, the exports leave the object out, the host's own commands make nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "Quenra3dRunner.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::string Bytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

// The test module keeps a base level typed in metres as millimetres without a check, so 1e306
// metres is stored as an infinity: the save names the block, the file of the last save and
// the drawing stay, and once the block is mended or erased the drawing saves and opens.
TEST(Quenra3dNotFinite, ASaveRefusesTheDrawingKeepsTheFileAndSavesOnceTheObjectIsMended)
{
    TestFolder folder;
    const std::string drawing = (folder.Path() / "site.q3d").string();
    const Quenra3dRun first = RunTestScript("tblock\ntblock\n", {"-q", "-s", drawing});
    ASSERT_EQ(first.status, 0) << first.output;
    const std::string saved = Bytes(drawing);

    const std::string refusal = "cannot save drawing \"" + drawing +
                                "\": object 2 (CTestBlock) holds a number that is not finite (erase or mend it and save again)\n";
    const Quenra3dRun spoilt = RunTestScript("setprop #2 3 1e306\nsave " + drawing + "\nlist #2\n", {"-q", "-o", drawing});
    EXPECT_EQ(spoilt.status, 2) << spoilt.output;
    EXPECT_THAT(spoilt.output, HasSubstr("#2 CTestBlock: taken, 底标高（米）=inf\n" + refusal + "#2 CTestBlock layer=0 "));
    EXPECT_EQ(Bytes(drawing), saved) << "the file of the last save is kept";

    const Quenra3dRun mended = RunTestScript("setprop #2 3 1e306\nsave " + drawing + "\nsetprop #2 3 2.5\nsave " + drawing +
                                                 "\nnew\nopen " + drawing + "\nlist #2\n",
                                             {"-q", "-o", drawing});
    EXPECT_THAT(mended.output, HasSubstr(refusal + "#2 CTestBlock: taken, 底标高（米）=2.5\nsaved " + drawing));
    EXPECT_THAT(mended.output, HasSubstr("opened " + drawing + "\n#2 CTestBlock layer=0 名称=测试块 高度=3000 类型=0 (住宅) 底标高（米）=2.5"));

    const Quenra3dRun erased = RunTestScript("setprop #1 3 -1e306\nsetprop #2 3 1e307\nsave " + drawing + "\nerase #1 #2\n",
                                             {"-q", "-o", drawing, "-s", drawing});
    EXPECT_EQ(erased.status, 2) << erased.output;
    EXPECT_THAT(erased.output, HasSubstr("\": objects 1 (CTestBlock) and 2 (CTestBlock) hold a number that is not finite "
                                         "(erase or mend them and save again)\n"));
    EXPECT_THAT(erased.output, HasSubstr("#2 CTestBlock erased\nsaved " + drawing));
    const Quenra3dRun reopened = RunTestScript("list\n", {"-q", "-o", drawing});
    EXPECT_EQ(reopened.status, 0) << reopened.output;
    EXPECT_THAT(reopened.output, Not(HasSubstr("CTestBlock")));
}
