#include "DrawingFiles.h"

#include "DbDatabase.h"
#include "EventLog.h"
#include "ObjExport.h"
#include "SvgExport.h"
#include "WorkingDrawing.h"

namespace host {

namespace {

// Set by the first failure of the run; read for the exit status.
bool g_failed = false;

bool Report(bool ok, const std::string& done, const std::string& error)
{
    if (ok) {
        EventLog::Instance().Show(done);
    } else {
        EventLog::Instance().Show(error);
        g_failed = true;
    }
    return ok;
}

}  // namespace

bool OpenDrawingFile(const std::string& path)
{
    std::string error;
    const bool ok = OpenDrawing(path, error);
    return Report(ok, "opened " + path, error);
}

bool SaveDrawingFile(const std::string& path)
{
    std::string error;
    const bool ok = SaveDrawing(path, error);
    return Report(ok, "saved " + path, error);
}

bool ExportObjFile(const std::string& path)
{
    std::string error;
    const bool ok = ExportObj(*dec::GetWorkingDatabase(), path, error);
    return Report(ok, "exported " + path, error);
}

bool ExportSvgFile(const std::string& path, PictureView view, int widthPx)
{
    std::string error;
    const bool ok = ExportSvg(*dec::GetWorkingDatabase(), path, view, widthPx, error);
    return Report(ok, "exported " + path, error);
}

void StartNewDrawing()
{
    host::NewDrawing();
    EventLog::Instance().Show("new drawing");
}

bool DrawingFileFailed()
{
    return g_failed;
}

}  // namespace host
