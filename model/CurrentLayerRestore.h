#pragma once
// Commands that put their objects on a layer of their own leave the user's current layer as
// they found it.
#include <functional>

class DbDatabase;

// Makes the layer current again, with the layer table open for write around the change.
void RestoreCurrentLayer(DbDatabase* db, long layerId);

// Runs passes until one returns 0, each with the working database open for write: the
// current layer is noted before a pass and made current again after it, and the database is
// closed between passes, so each pass is a change of its own.
void RunPassesKeepingCurrentLayer(const std::function<int()>& pass);
