// Every example script runs as examples/README.md says: by the line of its row in the table
// there, from the repository's folder, with every line understood. The run takes place in a
// fresh folder that shows the repository's examples at the same paths, with the out/ folder
// the demo makes, so nothing is written into the repository.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const fs::path kRepository = LUMIDRAX_SOURCE_DIR;

std::string ReadText(const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A row: the script, and the words after build/demo/bin/quenra3d.
using ExampleRun = std::pair<std::string, std::string>;

std::vector<ExampleRun> ExampleRuns()
{
    static const std::regex row(R"(^\| `([-\w]+\.txt)` \| `build/demo/bin/quenra3d ([^`]+)` \|$)");
    std::vector<ExampleRun> runs;
    std::istringstream lines(ReadText(kRepository / "examples" / "README.md"));
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
    const fs::path folder = fs::temp_directory_path() / ("lumidrax-example-" + std::to_string(::getpid()) + script);
    fs::remove_all(folder);
    fs::create_directories(folder / "out");
    fs::create_directory_symlink(kRepository / "examples", folder / "examples");
    const std::string transcript = (folder / "transcript.txt").string();
    const int raw = std::system(("cd '" + folder.string() + "' && '" + QUENRA3D_EXE + "' " + words + " > '" +
                                 transcript + "' 2>&1").c_str());
    const std::string out = ReadText(transcript);
    fs::remove_all(folder);
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << out;
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
    const std::string first = ReadText(kRepository / "examples" / "first-building.txt");
    ASSERT_FALSE(first.empty());
    EXPECT_THAT(ReadText(kRepository / "README.md"), HasSubstr("```\n" + first + "```\n"));
}

}  // namespace
