#include "Quenra3dRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

std::string Quote(const std::string& word)
{
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TestFolder::TestFolder()
{
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("quenra3d-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_path);
}

TestFolder::~TestFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string TestFolder::Write(const std::string& name, const std::string& text) const
{
    const std::filesystem::path path = m_path / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

Quenra3dRun RunQuenra3d(const std::vector<std::string>& args, const std::string& input,
                        const std::vector<std::string>& environment, const std::filesystem::path& workingFolder)
{
    TestFolder folder;
    const std::string in = folder.Write("stdin.txt", input);
    const std::string out = (folder.Path() / "out.txt").string();
    std::string command;
    for (const std::string& setting : environment) command += Quote(setting) + " ";
    if (!environment.empty()) command = "env " + command;
    if (!workingFolder.empty()) command = "cd " + Quote(workingFolder.string()) + " && " + command;
    command += Quote(QUENRA3D_EXE);
    for (const std::string& arg : args) command += " " + Quote(arg);
    command += " < " + Quote(in) + " > " + Quote(out) + " 2>&1";
    const int raw = std::system(command.c_str());
    Quenra3dRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.output = ReadAll(out);
    return run;
}

Quenra3dRun RunTestScript(const std::string& script, std::vector<std::string> extraArgs)
{
    TestFolder folder;
    const std::string path = folder.Write("test.txt", script);
    std::vector<std::string> args = {"-m", QUENRA3D_TEST_MODULE};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    args.push_back(path);
    Quenra3dRun run = RunQuenra3d(args);
    // Name the script by its file name only, so expectations do not depend on the folder.
    const std::string folderText = folder.Path().string() + "/";
    for (std::size_t at = run.output.find(folderText); at != std::string::npos; at = run.output.find(folderText))
        run.output.erase(at, folderText.size());
    return run;
}

void ExpectScriptCase(const ScriptCase& scriptCase)
{
    const Quenra3dRun run = RunTestScript(scriptCase.script, scriptCase.extraArgs);
    EXPECT_EQ(run.status, scriptCase.status) << run.output;
    for (const std::string& text : scriptCase.shown) EXPECT_THAT(run.output, ::testing::HasSubstr(text));
    for (const std::string& text : scriptCase.absent) EXPECT_THAT(run.output, ::testing::Not(::testing::HasSubstr(text)));
}
