// End to end: the command line itself, the options and the exit statuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "Quenra3dRunner.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const ScriptCase kScriptCases[] = {
    {"UnknownCommandsFailTheRunButTheScriptGoesOn", "; a comment\n\n  frobnicate 1 2\ntreal\n4\n", 1,
     {"test.txt:3: unknown command \"frobnicate\"", "GetReal -2 4\n"}},
    {"ScriptsMayStartWithAByteOrderMarkAndEndLinesWithCR", "\xEF\xBB\xBFtreal\r\n6\r\n", 0, {"GetReal -2 6\n"}, {"-q"}},
    {"ModuleCommandsTakeNothingOnTheirLine", "treal 5\n", 1,
     {"test.txt:1: the command \"treal\" takes its input from the following lines"}},
    {"AScriptEndingMidCommandAnswersEscAndSaysSo", "tpoint\n1,2\n", 0,
     {"test.txt:2: the lines ran out while \"tpoint\" was waiting; answered Esc", "GetPoint -4\n"}},
    {"LinesThatAreNotUtf8AreRefusedWholeAndTheNextTaken", "treal\n4\xff\xfe\n\xc3\n4\n", 1,
     {"test.txt:2: the line is not UTF-8 text\ntest.txt:3: the line is not UTF-8 text\n", "GetReal -2 4\n"},
     {"-q"},
     {"\xff"}},
};

class Quenra3dScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(Quenra3dScript, ReadsTheScriptLines) { ExpectScriptCase(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Lines, Quenra3dScript, ::testing::ValuesIn(kScriptCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST(Quenra3dCommandLine, ScriptLinesAreEchoedUnlessQuiet)
{
    const Quenra3dRun loud = RunTestScript("treal\n4\n");
    EXPECT_THAT(loud.output, HasSubstr("> treal\n数值<2.5>:\n> 4\n"));
    const Quenra3dRun quiet = RunTestScript("treal\n4\n", {"-q"});
    EXPECT_THAT(quiet.output, Not(HasSubstr("> treal")));
    EXPECT_THAT(quiet.output, HasSubstr("数值<2.5>:\nGetReal -2 4\n"));
}

TEST(Quenra3dCommandLine, StandardInputIsAScriptToo)
{
    const Quenra3dRun run = RunQuenra3d({"-m", QUENRA3D_TEST_MODULE, "-"}, "treal\n8\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("GetReal -2 8\n"));
    const Quenra3dRun bare = RunQuenra3d({"-m", QUENRA3D_TEST_MODULE}, "treal\nx\n");
    EXPECT_EQ(bare.status, 1);
    EXPECT_THAT(bare.output, HasSubstr("-:2: a number is wanted, not \"x\""));
}

TEST(Quenra3dCommandLine, HelpListsOptionsAndCommands)
{
    const Quenra3dRun usage = RunQuenra3d({"-h"});
    EXPECT_EQ(usage.status, 0);
    EXPECT_THAT(usage.output, HasSubstr("-m, --module PATH"));
    const Quenra3dRun help = RunTestScript("help\n");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.output, HasSubstr("tdrag"));
    EXPECT_THAT(help.output, HasSubstr("测试拖动 (test)"));
    EXPECT_THAT(help.output, HasSubstr("help"));
}

TEST(Quenra3dCommandLine, BadOptionsAndMissingFilesGiveTheirStatus)
{
    const Quenra3dRun unknown = RunQuenra3d({"--frob"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_THAT(unknown.output, HasSubstr("unknown option --frob"));
    const Quenra3dRun noValue = RunQuenra3d({"-m"});
    EXPECT_EQ(noValue.status, 1);
    EXPECT_THAT(noValue.output, HasSubstr("the option -m needs a file"));
    const Quenra3dRun noScript = RunQuenra3d({"-m", QUENRA3D_TEST_MODULE, "/nonexistent/script.txt"});
    EXPECT_EQ(noScript.status, 2);
    EXPECT_THAT(noScript.output, HasSubstr("/nonexistent/script.txt: cannot read the script"));
}

TEST(Quenra3dCommandLine, AModuleThatCannotLoadOrHasNoEntryPointStopsWithStatus2)
{
    const Quenra3dRun missing = RunQuenra3d({"-m", "/nonexistent/libnothing.so"}, "help\n");
    EXPECT_EQ(missing.status, 2);
    EXPECT_THAT(missing.output, HasSubstr("cannot load the module /nonexistent/libnothing.so"));
    EXPECT_THAT(missing.output, Not(HasSubstr("help")));
    const Quenra3dRun noEntry = RunQuenra3d({"-m", QHOST_LIBRARY}, "help\n");
    EXPECT_EQ(noEntry.status, 2);
    EXPECT_THAT(noEntry.output, HasSubstr("has no entry point _decEntryPoint@8"));
    const Quenra3dRun failing = RunQuenra3d({"-m", QUENRA3D_TEST_MODULE}, "help\n", {"QUENRA3D_TEST_ENTRY_FAILS=1"});
    EXPECT_EQ(failing.status, 2);
    EXPECT_THAT(failing.output, HasSubstr("failed: the test module refuses to start"));
}

TEST(Quenra3dCommandLine, ScriptsThatCannotBeReadAndTranscriptsThatCannotBeWrittenGiveStatus2)
{
    TestFolder folder;
    const std::string script = folder.Write("ok.txt", "treal\n4\n");
    const Quenra3dRun directory = RunQuenra3d({"-m", QUENRA3D_TEST_MODULE, folder.Path().string()});
    EXPECT_EQ(directory.status, 2);
    EXPECT_THAT(directory.output, HasSubstr(": cannot read the script: Is a directory"));
    EXPECT_THAT(directory.output, Not(HasSubstr("GetReal")));

    // Standard output closed or full: the run goes on (the drawing is saved) and ends with 2.
    const std::string drawing = (folder.Path() / "a.q3d").string();
    const std::string errors = (folder.Path() / "err.txt").string();
    for (const char* output : {">&-", ">/dev/full"}) {
        const std::string command = std::string("'") + QUENRA3D_EXE + "' -m '" + QUENRA3D_TEST_MODULE + "' -s '" +
                                    drawing + "' '" + script + "' " + output + " 2>'" + errors + "'";
        std::filesystem::remove(drawing);
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw)) << output;
        EXPECT_EQ(WEXITSTATUS(raw), 2) << output;
        EXPECT_TRUE(std::filesystem::exists(drawing)) << output;
        EXPECT_THAT(ReadAll(errors), HasSubstr("quenra3d: the transcript could not be written")) << output;
    }
}
