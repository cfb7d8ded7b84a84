#include "RoofMeshEntities.h"

#include "ModelHelperLayersMaterials.h"
#include "RoofRings.h"

namespace {

constexpr const char* kLayerName = "坡屋顶";
constexpr unsigned long kLayerColour = 255;
constexpr const char* kMaterialName = "屋面板";
constexpr unsigned long kMaterialColour = 0x8a55ff;

// One entity of the points as one polygon; unset when they make no mesh.
decObjectId CreatePolygonEntity(DbDatabase* db, const GePoint3dArray& points, long layerId, long materialId)
{
    decMesh4 polygons;
    if (points.size() > 2)
        polygons.AppendPolygon(static_cast<int>(points.size()), points.data(), 0);
    decObjectId id;
    if (decMesh3* mesh = polygons.ConvertToMesh3())
        db->CreateProxyEntity(layerId, GeMatrix3d(), mesh, id, materialId);
    return id;
}

}  // namespace

long SlopedRoofLayer(DbDatabase* db)
{
    return CreateLayer(db, kLayerName, kLayerColour, 0, 1);
}

long RoofMaterial(DbDatabase* db)
{
    CString name(kMaterialName);
    return CreateSolidColorMaterial(db, name, kMaterialColour, 0.0);
}

decObjectId CreateFaceEntity(DbDatabase* db, GePoint3dArray polygon, long layerId, long materialId)
{
    return CreatePolygonEntity(db, polygon.size() > 2 ? roof_rings::CounterClockwise(polygon) : polygon, layerId,
                               materialId);
}

void CreateSlabEntity(DbDatabase* db, GePoint3dArray polygon, unsigned int thickness, long layerId, long materialId,
                      decObjectIdArray& ids)
{
    const GePoint3dArray top = roof_rings::Raised(polygon, thickness);
    ids.push_back(CreatePolygonEntity(db, polygon, layerId, materialId));
    ids.push_back(CreatePolygonEntity(db, top, layerId, materialId));
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const decObjectId side = CreatePolygonEntity(db, {polygon[i], polygon[j], top[j], top[i]}, layerId, materialId);
        if (!side.IsNull())
            ids.push_back(side);
    }
}
