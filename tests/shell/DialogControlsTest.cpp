// Every dialog template of the module, opened, lists on `controls` every numbered control of
// the template, in tab order, each with its kind (how each line reads, and that `help` lists
// the same, is the dialog engine's own test).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Dialog.h"
#include "DialogTemplate.h"
#include "EventLog.h"
#include "ScriptedUser.h"
#include "ShellTestSupport.h"

namespace {

class DialogControls : public ShellTest {};

TEST_F(DialogControls, EveryTemplateListsItsNumberedControlsInTabOrder)
{
    EnterModule(0);
    int templates = 0;
    for (int id = 1; id <= 0xFFFF; ++id) {
        const host::mfc::DialogTemplate* dialog = host::mfc::ResourceRegistry::Instance().FindDialog(id);
        if (!dialog)
            continue;
        ++templates;
        host::EventLog::Instance().Clear();
        host::ScriptedUser::Instance().Feed("controls\ncancel\n", "test");
        CDialog opened(static_cast<UINT>(id));
        ASSERT_EQ(opened.DoModal(), IDCANCEL) << id;
        const std::string out = Transcript();
        std::vector<std::string> expected;
        for (const host::mfc::ControlTemplate& control : dialog->controls)
            if (control.id != host::mfc::kStaticId)
                expected.push_back("  " + std::to_string(control.id) + " " + host::mfc::ControlKindName(control.kind));
        const std::string header = "dialog " + std::to_string(id) + " \"" + dialog->caption +
                                   "\": " + std::to_string(expected.size()) + " controls\n";
        std::size_t at = out.find(header);
        ASSERT_NE(at, std::string::npos) << out;
        for (at += header.size(); const std::string& entry : expected) {
            ASSERT_EQ(out.compare(at, entry.size(), entry), 0) << entry << " expected at\n" << out.substr(at);
            EXPECT_TRUE(out[at + entry.size()] == ' ' || out[at + entry.size()] == ',') << entry;
            at = out.find('\n', at) + 1;
        }
    }
    EXPECT_GE(templates, 14);
}

}  // namespace
