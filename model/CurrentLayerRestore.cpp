#include "CurrentLayerRestore.h"

#include "DbDatabase.h"
#include "WorkingDrawing.h"

void RestoreCurrentLayer(DbDatabase* db, long layerId)
{
    decLayerTable* layers = db->GetTableLayer();
    layers->OpenForWrite();
    layers->SetCurrentLayerID(layerId, 1, 1);
    layers->Close();
}

void RunPassesKeepingCurrentLayer(const std::function<int()>& pass)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    while (true) {
        db->OpenForWrite();
        const long currentLayer = db->GetTableLayer()->GetCurrentLayerID();
        const int done = pass();
        RestoreCurrentLayer(db, currentLayer);
        db->Close();
        if (!done)
            return;
    }
}
