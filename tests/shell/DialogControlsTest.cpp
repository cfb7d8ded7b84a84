// Every dialog template of the module opens and lists its controls on `controls`: the
// engine's listing run over each layout the module ships (what the listing holds, line by
// line, is the dialog engine's own test).
#include <gtest/gtest.h>

#include <string>

#include "Dialog.h"
#include "DialogTemplate.h"
#include "EventLog.h"
#include "ScriptedUser.h"
#include "ShellTestSupport.h"

namespace {

class DialogControls : public ShellTest {};

TEST_F(DialogControls, EveryTemplateOfTheModuleOpensAndListsItsControls)
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
        EXPECT_NE(Transcript().find("dialog " + std::to_string(id) + " \"" + dialog->caption + "\": "),
                  std::string::npos)
            << Transcript();
    }
    EXPECT_GE(templates, 14);
}

}  // namespace
