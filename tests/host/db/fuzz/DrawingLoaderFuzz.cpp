// libFuzzer target: the drawing loader must refuse or read any bytes without a fault.
// The checksum test is skipped so that the fuzzer reaches the inner checks.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "EventLog.h"
#include "HostFault.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    host::SetStrictAccess(false);
    host::EventLog::Instance().Clear();
    DbDatabase loaded;
    std::string error;
    if (host::DecodeDrawing(std::span(data, size), loaded, error, false)) {
        // What loads must be a drawing the host can draw and save.
        for (decDbEntity* entity : loaded.AllObjects()) {
            decViewFilter filter;
            entity->Draw(filter);
            entity->GetBoundBox();
        }
        host::EncodeDrawing(loaded);
    }
    return 0;
}
