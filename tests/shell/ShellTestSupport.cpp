#include "ShellTestSupport.h"

#include <dlfcn.h>

#include "CommandLine.h"
#include "CommandTable.h"
#include "EventLog.h"
#include "ModuleGlobals.h"
#include "PromptOldModelReactor.h"
#include "ScriptedUser.h"
#include "Session.h"
#include "WorkingDrawing.h"

void EnterModule(int message)
{
    using EntryPoint = void (*)(int, int);
    auto entry = reinterpret_cast<EntryPoint>(dlvsym(RTLD_DEFAULT, "_decEntryPoint", "8"));
    ASSERT_NE(entry, nullptr);
    entry(message, 0);
}

void ShellTest::SetUp()
{
    host::NewDrawing();
    host::EventLog::Instance().Clear();
    host::ScriptedUser::Instance().Clear();
    host::CommandTable::Instance().Clear();
    host::RegisterHostCommands();
    g_oldModelReactor.Detach();
}

void ShellTest::TearDown()
{
    host::ScriptedUser::Instance().Clear();
}

bool ShellTest::Run(const std::string& lines)
{
    host::ScriptedUser::Instance().Feed(lines, "test");
    return host::CommandLine::Instance().RunAll();
}

std::string ShellTest::Transcript() const
{
    return host::EventLog::Instance().Transcript();
}
