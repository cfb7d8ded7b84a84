#pragma once
// Faults in the way the module uses the host: a stored object changed while not open for
// write, database brackets left open at the end of a command, a drawing call with a bad
// argument. In strict mode (the default, so tests fail loudly) a fault throws
// host::ProtocolFault; otherwise it is recorded in the event log and the host goes on.
#include <stdexcept>
#include <string>
#include <string_view>

namespace host {

class ProtocolFault : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

void SetStrictAccess(bool strict);
bool IsStrictAccess();

// Records the fault ("fault <text>" in the call log) and throws it in strict mode.
void ReportFault(std::string_view text);

// Number of faults recorded since the last reset (non-strict mode keeps going, so tests of
// the lenient mode read this).
int FaultCount();
void ResetFaultCount();

}  // namespace host
