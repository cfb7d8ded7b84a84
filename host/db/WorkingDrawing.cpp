#include "WorkingDrawing.h"

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "EventLog.h"

namespace {
// Never destroyed: at process exit the module that defined some of its objects' classes
// may already be unloaded, so the drawing must not run their destructors then.
DbDatabase& Working()
{
    static DbDatabase* database = new DbDatabase();
    return *database;
}
}  // namespace

DbDatabase* dec::GetWorkingDatabase()
{
    return &Working();
}

namespace host {

void NewDrawing()
{
    DbDatabase& working = Working();
    {
        DbDatabase fresh;
        working.SwapContent(fresh);
    }
    while (working.GetOpenDepth() > 0) working.Close();
    working.GetTempGraphics() = TempGraphics();
    EventLog::Instance().Call("new drawing");
    working.FireNewDocument();
}

bool OpenDrawing(const std::string& path, std::string& error)
{
    DbDatabase loaded;
    if (!ReadDrawingFile(path, loaded, error)) {
        EventLog::Instance().Call("open refused " + path);
        return false;
    }
    DbDatabase& working = Working();
    working.SwapContent(loaded);
    working.GetTempGraphics() = TempGraphics();
    EventLog::Instance().Call("open " + path);
    working.FireDocumentOpened();
    return true;
}

bool SaveDrawing(const std::string& path, std::string& error)
{
    return WriteDrawingFile(Working(), path, error);
}

}  // namespace host
