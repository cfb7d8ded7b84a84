// End to end: the host executable loads the module and lists its commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

using ::testing::HasSubstr;

namespace {

// Runs quenra3d with the module on the script; the printed transcript.
std::string RunWithModule(const std::string& script, int& status)
{
    const auto folder = std::filesystem::temp_directory_path() / ("lumidrax_e2e_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto scriptPath = folder / "script.txt";
    std::ofstream(scriptPath) << script;
    const std::string command = std::string("'") + QUENRA3D_EXE + "' -q -m '" + LUMIDRAX_MODULE + "' '" +
                                scriptPath.string() + "' 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, n);
        status = ::pclose(pipe);
    }
    std::filesystem::remove_all(folder);
    return output;
}

TEST(Quenra3dModule, HelpListsTheThirtyFourCommandsInTableOrder)
{
    int status = -1;
    const std::string out = RunWithModule("help\n", status);
    EXPECT_EQ(status, 0) << out;
    const char* const names[] = {"gable",      "proof",      "arcroof",  "unionroof", "prismoid", "roof",
                                 "build",      "orderwin",   "2pwin",    "qwin",      "balcony",  "dormer",
                                 "orderindex", "orderfloor", "diminbld", "bldgroup",  "inqgroup", "dimbldelev",
                                 "inqbuild",   "windoor",    "namebld",  "chkbld",    "chkwin",   "orvmodelscale",
                                 "tocontour",  "updatewin",  "updatebld", "winbld",   "tmodel",   "eelev",
                                 "layerline",  "elevstyle",  "flipwin",  "showunname"};
    std::size_t at = 0;
    int listed = 0;
    for (const char* name : names) {
        const std::size_t found = out.find("  " + std::string(name) + " ", at);
        ASSERT_NE(found, std::string::npos) << name << "\n" << out;
        at = found + 1;
        ++listed;
    }
    EXPECT_EQ(listed, 34);
    EXPECT_THAT(out, HasSubstr("  build          拉伸建筑 (orv)\n"));
    EXPECT_THAT(out, HasSubstr("  chkwin         检查未指定所属关系窗 (orv)\n"));
    EXPECT_THAT(out, HasSubstr("  orvmodelscale  更新比例 (orv)\n"));
}

// The union erases the roof faces it unites through the drawing: they leave the gable roof's
// group at once (its gable walls stay in it), so what groups shows before the save is what the
// drawing holds after it is opened again.
TEST(Quenra3dModule, FacesUnitedAwayLeaveTheirGroupAtOnce)
{
    const auto drawing = std::filesystem::temp_directory_path() / ("lumidrax_groups_" + std::to_string(::getpid()) + ".q3d");
    int status = -1;
    const std::string out = RunWithModule("extrude 3000 0,0 12000,0 12000,6000 0,6000\ngable\n@6000,3000\n0,3000\n"
                                          "12000,3000\nok\ngroups\nunionroof\n@3000,1500 @3000,4500\n\ngroups\nsave " +
                                              drawing.string() + "\nnew\nopen " + drawing.string() + "\ngroups\n",
                                          status);
    std::filesystem::remove(drawing);
    EXPECT_EQ(status, 0) << out;
    EXPECT_THAT(out, HasSubstr("group 1 flags=0: #2 #3 #4 #5 #6 #7\n"));
    EXPECT_THAT(out, HasSubstr("selected 2: #7 #6\ngroup 1 flags=0: #2 #3 #4 #5\n"));
    EXPECT_THAT(out, HasSubstr("opened " + drawing.string() + "\ngroup 1 flags=0: #2 #3 #4 #5\n"));
}

}  // namespace
