#include "HostCommands.h"

#include "Session.h"

namespace host {

void RegisterHostCommands()
{
    RegisterDrawingCommands();
    RegisterEditCommands();
    RegisterInquiryCommands();
    RegisterSettingsCommands();
    RegisterFileCommands();
    RegisterHelpCommand();
    RegisterWindowsCommand();
    RegisterOrvRoofCommand();
    RegisterAnalysisGroupsCommand();
    RegisterMultiSlopeCommand();
    RegisterGroupsCommand();
}

}  // namespace host
