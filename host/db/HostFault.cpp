#include "HostFault.h"

#include "EventLog.h"

namespace host {
namespace {
struct FaultState {
    bool strict = true;
    int count = 0;
};
FaultState& State()
{
    static FaultState state;
    return state;
}
}  // namespace

void SetStrictAccess(bool strict) { State().strict = strict; }
bool IsStrictAccess() { return State().strict; }
int FaultCount() { return State().count; }
void ResetFaultCount() { State().count = 0; }

void ReportFault(std::string_view text)
{
    ++State().count;
    std::string line = "fault ";
    line += text;
    EventLog::Instance().Call(line);
    if (State().strict) throw ProtocolFault(std::string(text));
}

}  // namespace host
