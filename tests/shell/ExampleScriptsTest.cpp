// Every example script runs as examples/README.md says: by the line of its row in the table
// there, from the repository's folder, with every line understood. The run takes place in a
// fresh folder that shows the repository's examples at the same paths, with the out/ folder
// the demo makes, so nothing is written into the repository.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "Quenra3dRunner.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const fs::path kRepository = LUMIDRAX_SOURCE_DIR;

// A row: the script, and the words after build/demo/bin/quenra3d.
using ExampleRun = std::pair<std::string, std::string>;

std::vector<ExampleRun> ExampleRuns()
{
    static const std::regex row(R"(^\| `([-\w]+\.txt)` \| `build/demo/bin/quenra3d ([^`]+)` \|$)");
    std::vector<ExampleRun> runs;
    std::istringstream lines(ReadAll(kRepository / "examples" / "README.md"));
    std::smatch match;
    for (std::string line; std::getline(lines, line);)
        if (std::regex_match(line, match, row)) runs.emplace_back(match[1], match[2]);
    return runs;
}

class ExampleScripts : public ::testing::TestWithParam<ExampleRun> {};

TEST_P(ExampleScripts, RunFromTheRepositorysFolderAsTheirRowSays)
{
    const auto& [script, words] = GetParam();
    EXPECT_THAT(words, HasSubstr("examples/" + script));
    const TestFolder folder;
    fs::create_directories(folder.Path() / "out");
    fs::create_directory_symlink(kRepository / "examples", folder.Path() / "examples");
    std::vector<std::string> args;
    std::istringstream split(words);
    for (std::string word; split >> word;) args.push_back(word);
    const Quenra3dRun run = RunQuenra3d(args, {}, {}, folder.Path());
    EXPECT_EQ(run.status, 0) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Readme, ExampleScripts, ::testing::ValuesIn(ExampleRuns()), [](const auto& info) {
    std::string name = info.param.first.substr(0, info.param.first.size() - 4);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

TEST(ExampleScriptsTable, HasARowForEveryScriptAndTheReadmeShowsTheFirstOneWhole)
{
    std::vector<std::string> listed;
    for (const ExampleRun& run : ExampleRuns()) listed.push_back(run.first);
    for (const fs::directory_entry& entry : fs::directory_iterator(kRepository / "examples")) {
        if (entry.path().extension() != ".txt") continue;
        EXPECT_THAT(listed, ::testing::Contains(entry.path().filename().string())) << "examples/README.md";
    }
    const std::string first = ReadAll(kRepository / "examples" / "first-building.txt");
    ASSERT_FALSE(first.empty());
    EXPECT_THAT(ReadAll(kRepository / "README.md"), HasSubstr("```\n" + first + "```\n"));
}

}  // namespace
