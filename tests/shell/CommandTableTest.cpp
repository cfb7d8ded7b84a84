// The entry point and the command table the module registers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "ModuleGlobals.h"
#include "OrvCommands.h"
#include "PromptOldModelReactor.h"
#include "ShellTestSupport.h"
#include "WorkingDrawing.h"

namespace {

struct Row {
    std::string name;
    std::string display;
};

// The commands in the order the host must list them, with their display names.
const std::vector<Row> kExpected = {
    {"gable", "人字坡顶"},         {"proof", "攒尖屋顶"},       {"arcroof", "拱形屋顶"},
    {"unionroof", "屋面合成"},     {"prismoid", "棱台屋顶"},    {"roof", "平屋顶和坡屋顶"},
    {"build", "拉伸建筑"},         {"orderwin", "逐个插窗"},    {"2pwin", "两点插窗"},
    {"qwin", "整体插窗"},          {"balcony", "阳台"},         {"dormer", "老虎窗"},
    {"orderindex", "重排窗号"},    {"orderfloor", "重排层号"},  {"diminbld", "标注建筑"},
    {"bldgroup", "建筑分组"},      {"inqgroup", "查询分组"},    {"dimbldelev", "标注建筑物标高"},
    {"inqbuild", "建筑查询"},      {"windoor", "窗分户号"},     {"namebld", "建筑命名"},
    {"chkbld", "检查未命名建筑"},  {"chkwin", "检查未指定所属关系窗"},
    {"orvmodelscale", "更新比例"}, {"tocontour", "生成等高线"}, {"updatewin", "升级窗口"},
    {"updatebld", "升级建筑"},     {"winbld", "窗属建筑"},      {"tmodel", "读取第三方日照模型"},
    {"eelev", "修改底标高"},       {"layerline", "楼层分界线"}, {"elevstyle", "建筑标高样式"},
    {"flipwin", "翻转窗朝向"},     {"showunname", "显示未命名建筑"},
};

std::vector<const host::Command*> ModuleCommands()
{
    std::vector<const host::Command*> rows;
    for (const host::Command& command : host::CommandTable::Instance().All())
        if (command.group == "orv")
            rows.push_back(&command);
    return rows;
}

int ReactorCount(const DbDatabase* db)
{
    return static_cast<int>(std::count(db->Reactors().begin(), db->Reactors().end(), &g_oldModelReactor));
}

class EntryPointTest : public ShellTest {};

TEST_F(EntryPointTest, TheTableHoldsTheThirtyFourCommandsInOrder)
{
    ASSERT_EQ(kOrvCommands.size(), kExpected.size());
    for (std::size_t i = 0; i < kExpected.size(); ++i) {
        EXPECT_EQ(kOrvCommands[i].name, kExpected[i].name) << "row " << i + 1;
        EXPECT_EQ(kOrvCommands[i].displayName, kExpected[i].display) << "row " << i + 1;
        EXPECT_NE(kOrvCommands[i].handler, nullptr) << "row " << i + 1;
    }
    EXPECT_STREQ(kOrvCommandGroup, "orv");
    EXPECT_EQ(kOrvCommandFlags, 1);
    EXPECT_EQ(FindOrvCommand("qwin"), &kOrvCommands[9]);
    EXPECT_EQ(FindOrvCommand("QWIN"), nullptr);
}

TEST_F(EntryPointTest, MessageZeroRegistersTheTableAndAttachesTheReactor)
{
    EnterModule(0);
    const auto rows = ModuleCommands();
    ASSERT_EQ(rows.size(), kExpected.size());
    for (std::size_t i = 0; i < kExpected.size(); ++i) {
        EXPECT_EQ(rows[i]->name, kExpected[i].name);
        EXPECT_EQ(rows[i]->displayName, kExpected[i].display);
        EXPECT_EQ(rows[i]->flags, 1);
        EXPECT_EQ(rows[i]->handler, kOrvCommands[i].handler);
    }
    EXPECT_EQ(ReactorCount(dec::GetWorkingDatabase()), 1);
    EXPECT_TRUE(g_oldModelReactor.IsAttached());
}

TEST_F(EntryPointTest, OtherMessagesDoNothing)
{
    EnterModule(1);
    EnterModule(-1);
    EnterModule(2);
    EXPECT_TRUE(ModuleCommands().empty());
    EXPECT_EQ(ReactorCount(dec::GetWorkingDatabase()), 0);
}

TEST_F(EntryPointTest, ARepeatedEntryRegistersNothingTwice)
{
    EnterModule(0);
    const std::size_t registered = host::CommandTable::Instance().All().size();
    host::EventLog::Instance().Clear();
    EnterModule(0);
    EXPECT_EQ(host::CommandTable::Instance().All().size(), registered);
    EXPECT_EQ(ReactorCount(dec::GetWorkingDatabase()), 1);
    EXPECT_TRUE(host::EventLog::Instance().Calls("AddReactor").empty());
}

TEST_F(EntryPointTest, HelpListsTheModuleCommandsInTableOrder)
{
    EnterModule(0);
    ASSERT_TRUE(Run("help\n"));
    const std::string out = Transcript();
    std::size_t at = 0;
    for (const Row& row : kExpected) {
        std::string line = "  " + row.name;
        line.resize(std::max<std::size_t>(line.size(), 16), ' ');
        line += " " + row.display + " (orv)\n";
        const std::size_t found = out.find(line, at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found + line.size();
    }
}

}  // namespace
