// The random host scripts: made from every example, each the same for its seed, reaching the
// dialogs' real controls and the odd values, and never writing outside their scratch folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "HostScriptGenerator.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = LUMIDRAX_SOURCE_DIR;

TEST(HostScriptGenerator, ScriptsReachTheDialogsAndOddValuesAndWriteOnlyInTheirFolder)
{
    const fuzz::ScriptCorpus corpus =
        fuzz::ReadCorpus(kSource / "examples", kSource / "resources", {"pline", "layer", "list", "save", "export", "open"},
                         {"build", "roof", "qwin", "2pwin", "gable", "tmodel", "dormer"});
    ASSERT_GT(corpus.pieces.size(), 30u);
    ASSERT_EQ(corpus.sites.size(), 3u);
    EXPECT_TRUE(corpus.dialogOf.contains(1319)) << "the floor table's edit";
    const fs::path scratch = "/scratch/run";
    fuzz::ScriptGenerator generator(corpus, kSource / "examples", scratch, 7), again(corpus, kSource / "examples", scratch, 7);
    std::set<std::string> kinds;
    const std::set<std::string> odd = {"nan", "inf", "2147483648", "-2147483648", "3.5e38", "1e309", "99999999999", "abc"};
    for (int script = 0; script < 300; ++script) {
        const std::vector<std::string> lines = generator.Next();
        ASSERT_EQ(lines, again.Next()) << "script " << script;
        for (const std::string& line : lines) {
            ASSERT_EQ(line.find('\n'), std::string::npos);
            // save FILE, open FILE, export obj|svg FILE ...
            std::istringstream words(line);
            std::string verb, file;
            words >> verb >> file;
            if (verb == "export") words >> file;
            if (verb == "save" || verb == "open" || verb == "export") {
                ASSERT_TRUE(file.starts_with(scratch.string() + "/")) << line;
                kinds.insert("file");
            }
            if (line.find((kSource / "examples" / "site.osm").string()) != std::string::npos) kinds.insert("example file");
            std::istringstream dialogWords(line);
            int id = 0;
            if (dialogWords >> verb >> id && verb == "set" && corpus.dialogOf.contains(id)) kinds.insert("dialog");
            for (const std::string& value : odd)
                if (line.find(value) != std::string::npos) kinds.insert(value);
            if (line == "*cancel*" || line == "yes" || line == "no") kinds.insert("answer");
        }
    }
    for (const char* kind : {"file", "example file", "dialog", "answer", "nan", "inf", "2147483648", "-2147483648",
                             "3.5e38", "1e309", "99999999999", "abc"})
        EXPECT_TRUE(kinds.contains(kind)) << kind;
}

}  // namespace
