#pragma once
// What the tests of the building, floor-line and base-elevation commands share: the drawing's
// entities by layer and kind, the heights of floor lines, and the frame of a 3-D object.
#include <vector>

#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"

namespace buildtest {

inline constexpr const char* kFloorLineLayer = "楼层分界线";
// A 10 m by 8 m outline at the origin, counter-clockwise.
inline const GePoint3dArray kSquare = {{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}};

// The live entities on the layer, in creation order.
inline std::vector<decDbEntity*> OnLayer(const char* layerName)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    const decLayer* layer = db->Layers().SearchLayer(layerName);
    std::vector<decDbEntity*> found;
    EntityArray all;
    db->GetAllEnts(all, 0);
    for (decDbEntity* entity : all) {
        if (layer && entity->GetLayerId() == layer->GetLayerId())
            found.push_back(entity);
    }
    return found;
}

inline std::vector<CExtrudeBuild*> Buildings()
{
    std::vector<CExtrudeBuild*> found;
    EntityArray all;
    dec::GetWorkingDatabase()->GetAllEnts(all, 0);
    for (decDbEntity* entity : all) {
        if (auto* building = CExtrudeBuild::Cast(entity->GetBaseObject()))
            found.push_back(building);
    }
    return found;
}

// The z of the floor lines in creation order; each must be a closed level polyline.
inline std::vector<double> FloorLineHeights()
{
    std::vector<double> heights;
    for (decDbEntity* entity : OnLayer(kFloorLineLayer)) {
        const auto* line = decCast<decDbPolyline>(entity);
        if (!line || !line->IsClosed() || line->Vertices().empty())
            return {-1.0};
        heights.push_back(line->Vertices().front().z);
    }
    return heights;
}

// The origin of the entity's frame.
inline GePoint3d FrameOrigin(const decDbEntity* entity)
{
    GePoint3d origin;
    GeVector3d x, y, z;
    entity->GetLocalTM().GetCoordSystem(origin, x, y, z);
    return origin;
}

}  // namespace buildtest
