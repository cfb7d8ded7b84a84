#pragma once
// Commands that put their objects on a layer of their own leave the user's current layer as
// they found it.
class DbDatabase;

// Makes the layer current again, with the layer table open for write around the change.
void RestoreCurrentLayer(DbDatabase* db, long layerId);
