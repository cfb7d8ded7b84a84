#pragma once
// Copies of entities within a drawing: each object is written to a memory stream
// (IsFileSerialize() == 0) and read into a new object of its class; identifiers the copies
// hold that name other copied entities are then rewritten through OnMapObjectIds.
#include <memory>
#include <vector>

#include "GeMatrix3d.h"
#include "decObjectId.h"

class DbDatabase;
class decDbEntity;

namespace host {

// Copies the entities (same layer, material, colour, extended data), the copies placed by
// move × their transform (2-D entities through their TransformBy). The drawing must be
// open for write. Returns the new ids in the order of the sources; an unknown, erased or
// opaque source gives an unset id.
std::vector<decObjectId> CopyEntities(DbDatabase& db, const std::vector<decObjectId>& sources,
                                      const GeMatrix3d& move);

// A copy of the entity in no drawing, placed as CopyEntities places its copies (without its
// layer, material, colour and extended data): to try a change before making it. Null for an
// opaque entity or a class that cannot be made.
std::unique_ptr<decDbEntity> MovedCopy(decDbEntity& entity, const GeMatrix3d& move);

}  // namespace host
