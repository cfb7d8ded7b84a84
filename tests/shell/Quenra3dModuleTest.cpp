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

}  // namespace
