// libFuzzer target: the "*.osm" reader must refuse or read any bytes without a fault, and
// what it reads whole must give objects with finite coordinates in either unit mode.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "DbDatabase.h"
#include "EventLog.h"
#include "ImportModel.h"
#include "WorkingDrawing.h"

namespace {

void CheckFinite(DbDatabase* db)
{
    for (decDbEntity* entity : db->AllObjects())
        for (const GePolygon& polygon : entity->GetPolygons())
            for (int i = 0; i < polygon.GetCountVertex(); ++i) {
                const GePoint3d& p = polygon.GetVertexArray()[i];
                if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                    std::abort();
            }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/osm_reader_fuzz_" + std::to_string(::getpid()) + ".osm";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    host::EventLog::Instance().Clear();
    std::vector<CImportBuildInfo> builds;
    std::vector<CImportWindowInfo> windows;
    if (ReadModelFile(path.c_str(), builds, windows).wholeFile) {
        for (int metres = 0; metres < 2; ++metres) {
            host::NewDrawing();
            g_importInMetres = metres;
            DbDatabase* db = dec::GetWorkingDatabase();
            db->OpenForWrite();
            CreateImportBuilds(builds);
            CreateImportWindows(windows);
            db->Close();
            CheckFinite(db);
        }
    }
    return 0;
}
