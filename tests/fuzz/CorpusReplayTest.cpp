// The drawing fuzzer's corpus, replayed in the ordinary suite with the module's classes
// registered: every file is refused or read soundly (ReadAnyDrawing.h), and the seed holds an
// object of every class the module registers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "ModuleSeed.h"
#include "ReadAnyDrawing.h"
#include "decObjectClassInfo.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DrawingCorpus, EveryFileIsRefusedOrReadSoundly)
{
    fuzz::PrepareHost();
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_CORPUS_DIR)) {
        std::string fault;
        EXPECT_TRUE(fuzz::ReadAnyDrawing(ReadFile(entry.path()), fault)) << entry.path().filename() << ": " << fault;
        ++files;
    }
    EXPECT_GT(files, 1u);
}

TEST(DrawingCorpus, TheSeedHoldsEveryClassTheModuleRegisters)
{
    fuzz::PrepareHost();
    const std::vector<std::uint8_t> seed = fuzz::ModuleSeedDrawing();
    std::string fault;
    EXPECT_TRUE(fuzz::ReadAnyDrawing(seed, fault)) << fault;
    DbDatabase loaded;
    std::string error;
    ASSERT_TRUE(host::DecodeDrawing(seed, loaded, error)) << error;
    std::set<std::string> stored;
    for (decDbEntity* entity : loaded.AllObjects()) {
        const decObject* base = entity->GetBaseObject();
        stored.insert((base ? base->IsA() : entity->IsA())->className);
    }
    // The module's classes are the registered ones with the persistent prefix "QC".
    for (const decObjectClassInfo* info : host::ClassRegistry::Instance().All()) {
        if (std::string(info->className).starts_with("QC")) {
            EXPECT_TRUE(stored.contains(info->className)) << info->className << " is missing from the seed";
        }
    }
}

}  // namespace
