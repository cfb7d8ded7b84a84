// Every dialog of the module, opened by the command that shows it, lists on `controls` every
// numbered control of its template, in tab order, each with its kind (that `help` lists the
// same is the dialog engine's own test).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "ShellTestSupport.h"

namespace {

// A building of 12 m x 9 m, 18 m high, at the origin: what most of the commands pick.
const std::string kBuilding = "pline closed 0,0 12000,0 12000,9000 0,9000\nbuild\nlast\n18\n0\n\n";

// The building in group 甲: the group dialogs open only when there are groups.
const std::string kGrouped = kBuilding + "bldgroup\n甲\nlayer:建筑\n*cancel*\n";

struct DialogCase {
    int id;
    const char* name;
    std::string opening;  // the lines that open the dialog
};

const DialogCase kDialogs[] = {
    {1063, "WholeRowWindows", kBuilding + "qwin\n@2000,0\n\n"},
    {1091, "TwoPointWindows", "2pwin\n"},
    {1092, "WindowByWindow", kBuilding + "orderwin\n@2000,0\n\n"},
    {1115, "FloorTable", "pline closed 0,0 12000,0 12000,9000 0,9000\nbuild\nlast\nt\n"},
    {1094, "Roof", kBuilding + "roof\n@6000,4500\n"},
    {1103, "GableRoof", kBuilding + "gable\n@6000,4500\n0,4500\n12000,4500\n"},
    {1109, "PrismoidRoof", kBuilding + "prismoid\n@6000,4500\n"},
    {1107, "PyramidRoof", kBuilding + "proof\n@6000,4500\n"},
    {1093, "Balcony", kBuilding + "pline 3000,0 3000,-1500 9000,-1500 9000,0\nbalcony\n@6000,4500\nlast\n"},
    {1076, "Dormer",
     kBuilding + "multislope 200 30 0,0,18000 12000,0,18000 12000,9000,18000 0,9000,18000\ndormer\n@6000,1000\n"},
    {1098, "ElevationLabelStyle", "elevstyle\n"},
    {1099, "ShadingGroups", kGrouped + "analysisgroups hide\n"},
    {1110, "GroupsBeforeAndAfter", kGrouped + "analysisgroups compare\n"},
    {1100, "WindowGroups", kGrouped + "analysisgroups window\n"},
};

void PrintTo(const DialogCase& c, std::ostream* out) { *out << c.name; }

class DialogControls : public ShellTest, public ::testing::WithParamInterface<DialogCase> {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        EnterModule(0);
    }
};

TEST_P(DialogControls, ListEveryNumberedControlOfTheTemplateInTabOrder)
{
    const DialogCase& c = GetParam();
    const host::mfc::DialogTemplate* dialog = host::mfc::ResourceRegistry::Instance().FindDialog(c.id);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Run(c.opening + "controls\ncancel\n")) << Transcript();
    const std::string out = Transcript();
    std::vector<std::string> expected;
    for (const host::mfc::ControlTemplate& control : dialog->controls)
        if (control.id != host::mfc::kStaticId)
            expected.push_back("  " + std::to_string(control.id) + " " + host::mfc::ControlKindName(control.kind));
    const std::string header = "dialog " + std::to_string(c.id) + " \"" + dialog->caption +
                               "\": " + std::to_string(expected.size()) + " controls\n";
    std::size_t at = out.find(header);
    ASSERT_NE(at, std::string::npos) << out;
    for (at += header.size(); const std::string& entry : expected) {
        ASSERT_EQ(out.compare(at, entry.size(), entry), 0) << entry << " expected at\n" << out.substr(at);
        EXPECT_TRUE(out[at + entry.size()] == ' ' || out[at + entry.size()] == ',') << entry;
        at = out.find('\n', at) + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Module, DialogControls, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

// A template without a row above would go untested: the rows are every dialog the module has.
TEST(DialogControlsTable, HoldsEveryTemplateOfTheModule)
{
    std::set<int> templates, rows;
    for (int id = 1; id <= 0xFFFF; ++id)
        if (host::mfc::ResourceRegistry::Instance().FindDialog(id)) templates.insert(id);
    for (const DialogCase& c : kDialogs) rows.insert(c.id);
    EXPECT_EQ(rows, templates);
}

}  // namespace
