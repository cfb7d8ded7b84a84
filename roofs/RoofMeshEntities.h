#pragma once
// Roof polygons as host mesh entities: a face of a sloped roof, or a slab of a thickness made
// of its bottom, its top and one side per edge, each piece an entity of its own. The gable
// and pyramid roofs build their geometry through these. The database must be open for write.
#include "DbDatabase.h"
#include "Ge.h"
#include "decObjectId.h"

// The layer every sloped roof goes on ("坡屋顶", colour 255) and the roof material ("屋面板",
// solid colour 0x8a55ff), made when missing; their ids.
long SlopedRoofLayer(DbDatabase* db);
long RoofMaterial(DbDatabase* db);

// The polygon as one face (turned counter-clockwise seen from above when it runs the other
// way), on the layer with the material, placed by the identity. The id of the new entity;
// unset for fewer than 3 points.
__attribute__((visibility("default"))) decObjectId CreateFaceEntity(DbDatabase* db, GePoint3dArray polygon,
                                                                    long layerId, long materialId);

// The polygon P as a slab of the thickness: P as its bottom and P raised by the thickness as
// its top, in P's own order, then one quad per edge (the closing edge last). Appends the ids
// of the bottom and the top whether or not they were made (unset when P has fewer than 3
// points), and the id of each side that was made.
__attribute__((visibility("default"))) void CreateSlabEntity(DbDatabase* db, GePoint3dArray polygon,
                                                             unsigned int thickness, long layerId, long materialId,
                                                             decObjectIdArray& ids);
