// The module's entry point. The host calls it with message 0 once the module is loaded;
// every other message does nothing and the parameter is never read.
#include "DbDatabase.h"
#include "ModuleGlobals.h"
#include "OrvCommands.h"
#include "OwnershipIndex.h"
#include "PluginEntry.h"
#include "PromptOldModelReactor.h"
#include "WorkingDrawing.h"

DEC_EXPORT_ENTRY_POINT;

extern "C" void decEntryPoint(int msg, int)
{
    if (msg != 0)
        return;
    // An attached reactor means the entry point has run already: a repeated call registers
    // no command twice and attaches no second reactor.
    if (g_oldModelReactor.IsAttached())
        return;
    RegisterCommands();
    g_oldModelReactor.Attach(dec::GetWorkingDatabase());
    g_ownershipIndex.Attach(dec::GetWorkingDatabase());
}
