#include "CurrentLayerRestore.h"

#include "DbDatabase.h"

void RestoreCurrentLayer(DbDatabase* db, long layerId)
{
    decLayerTable* layers = db->GetTableLayer();
    layers->OpenForWrite();
    layers->SetCurrentLayerID(layerId, 1, 1);
    layers->Close();
}
