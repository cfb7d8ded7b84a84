// The host's read-back of the windows ("windows"), in-process and end to end through the
// host executable with the module loaded, as the analysis side would read them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "WindowTestSupport.h"
#include "WorkingDrawing.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class WindowsCommandTest : public WindowModelTest {
protected:
    // Building A座 (0,0)-(20000,10000) with one window in the middle of each facade on
    // floor 1, and building B座 with windows over three floors; made out of order.
    void MakeModel()
    {
        AddWindow({.building = "B座", .floor = 3, .index = 1, .width = 1200, .height = 1500,
                   .sill = {30000, 0, 6900}, .door = "301", .room = 2});
        AddWindow({.building = "A座", .floor = 1, .index = 3, .sill = {10000, 10000, 900}, .outward = {0, 1, 0}});
        AddWindow({.building = "A座", .floor = 1, .index = 1, .sill = {10000, 0, 900}, .door = "A1", .room = 3});
        AddWindow({.building = "B座", .floor = 1, .index = 2, .width = 1200, .height = 1500, .sill = {32000, 0, 900}});
        AddWindow({.building = "A座", .floor = 1, .index = 4, .sill = {0, 5000, 900}, .outward = {-1, 0, 0}});
        AddWindow({.building = "B座", .floor = 2, .index = 1, .width = 1200, .height = 1500, .sill = {30000, 0, 3900}});
        AddWindow({.building = "A座", .floor = 1, .index = 2, .sill = {20000, 5000, 900}, .outward = {1, 0, 0}});
        AddWindow({.building = "B座", .floor = 1, .index = 1, .width = 1200, .height = 1500, .sill = {30000, 0, 900}});
    }
};

// What the command prints for the model, in the floor-then-position order.
const char* const kByFloor =
    "8 windows\n"
    "#3 QCWindow building=A座 floor=1 position=1 household=A1 rooms=3 width=1500 height=1800 angle=4.71238898 "
    "(270°) centre=10000,-1,900 end1=9250,-1,900 end2=10750,-1,900\n"
    "#7 QCWindow building=A座 floor=1 position=2 household= rooms=0 width=1500 height=1800 angle=0 (0°) "
    "centre=20001,5000,900 end1=20001,4250,900 end2=20001,5750,900\n"
    "#2 QCWindow building=A座 floor=1 position=3 household= rooms=0 width=1500 height=1800 angle=1.570796327 "
    "(90°) centre=10000,10001,900 end1=10750,10001,900 end2=9250,10001,900\n"
    "#5 QCWindow building=A座 floor=1 position=4 household= rooms=0 width=1500 height=1800 angle=3.141592654 "
    "(180°) centre=-1,5000,900 end1=-1,5750,900 end2=-1,4250,900\n"
    "#8 QCWindow building=B座 floor=1 position=1 household= rooms=0 width=1200 height=1500 angle=4.71238898 "
    "(270°) centre=30000,-1,900 end1=29400,-1,900 end2=30600,-1,900\n"
    "#4 QCWindow building=B座 floor=1 position=2 household= rooms=0 width=1200 height=1500 angle=4.71238898 "
    "(270°) centre=32000,-1,900 end1=31400,-1,900 end2=32600,-1,900\n"
    "#6 QCWindow building=B座 floor=2 position=1 household= rooms=0 width=1200 height=1500 angle=4.71238898 "
    "(270°) centre=30000,-1,3900 end1=29400,-1,3900 end2=30600,-1,3900\n"
    "#1 QCWindow building=B座 floor=3 position=1 household=301 rooms=2 width=1200 height=1500 angle=4.71238898 "
    "(270°) centre=30000,-1,6900 end1=29400,-1,6900 end2=30600,-1,6900\n";

// The handles in the position-then-floor order.
const char* const kByPositionHandles[] = {"#3", "#7", "#2", "#5", "#8", "#6", "#1", "#4"};

std::vector<std::string> HandlesOf(const std::string& out, const std::string& after)
{
    std::vector<std::string> handles;
    std::size_t at = out.find(after);
    while (at != std::string::npos) {
        at = out.find("\n#", at);
        if (at == std::string::npos)
            break;
        const std::size_t end = out.find(' ', at + 1);
        handles.push_back(out.substr(at + 1, end - at - 1));
        at = end;
    }
    return handles;
}

TEST_F(WindowsCommandTest, PrintsEveryWindowInTheAnalysisOrder)
{
    MakeModel();
    ASSERT_TRUE(Run("windows\n"));
    EXPECT_THAT(Transcript(), HasSubstr(std::string("> windows\n") + kByFloor));

    host::EventLog::Instance().Clear();
    ASSERT_TRUE(Run("windows 0\n"));
    EXPECT_THAT(HandlesOf(Transcript(), "8 windows"), ::testing::ElementsAreArray(kByPositionHandles));
}

TEST_F(WindowsCommandTest, AnEmptyDrawingAndBadArguments)
{
    ASSERT_TRUE(Run("windows\n"));
    EXPECT_THAT(Transcript(), HasSubstr("> windows\n0 windows\n"));
    EXPECT_FALSE(Run("windows up\n"));
    EXPECT_THAT(Transcript(), HasSubstr("not \"up\""));
    EXPECT_FALSE(Run("windows 1 2\n"));
    EXPECT_THAT(Transcript(), HasSubstr("usage: windows"));
}

// The executable and the module built beside this test.
std::filesystem::path BuiltFile(const char* name)
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

TEST_F(WindowsCommandTest, TheHostExecutableReadsTheWindowsOfASavedDrawingBack)
{
    MakeModel();
    const auto folder = TempFile("windows");
    std::filesystem::create_directories(folder);
    const auto drawing = folder / "model.q3d";
    const auto script = folder / "read.txt";
    std::string error;
    ASSERT_TRUE(host::SaveDrawing(drawing.string(), error)) << error;
    std::ofstream(script) << "windows\n";

    const auto exe = BuiltFile("quenra3d");
    const auto module = BuiltFile("liblumidrax.so");
    ASSERT_TRUE(std::filesystem::exists(exe)) << exe << " is built with the tests";
    ASSERT_TRUE(std::filesystem::exists(module)) << module << " is built with the tests";
    const std::string command = "'" + exe.string() + "' -q -m '" + module.string() + "' -o '" + drawing.string() +
                                "' '" + script.string() + "' 2>&1";
    std::string out;
    int status = -1;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        status = ::pclose(pipe);
    }
    std::filesystem::remove_all(folder);
    EXPECT_EQ(status, 0) << out;
    EXPECT_THAT(out, HasSubstr(kByFloor));
    EXPECT_THAT(out, Not(HasSubstr("表达式失败")));
}

}  // namespace
