#include "ExtendBuild.h"

#include "ModuleGlobals.h"
#include "decDbEntity.h"

namespace ExtendBuild {

int HasBuildTag(decDbEntity* entity)
{
    if (!entity || !decDbEntity3d::Cast(entity))
        return 0;
    entity->OpenForRead();
    const bool tagged = entity->FindAppXDataByName(g_buildTagAppName) != nullptr;
    entity->Close();
    return tagged ? 1 : 0;
}

CString GetBuildTag(const decObjectId& id)
{
    decDbEntity3d* entity = decDbEntity3d::Cast(id.GetObjectA());
    if (!entity)
        return "";
    CString tag;
    entity->OpenForRead();
    if (const decObjectXDataApp* record = entity->FindAppXDataByName(g_buildTagAppName)) {
        for (const decObjectXData& item : record->Items()) {
            if (item.IsTypeString()) {
                tag = item.GetString();
                break;
            }
        }
    }
    entity->Close();
    return tag;
}

int GetAllVertices(decDbEntity* entity, std::vector<GePoint3d>& vertices)
{
    const decDbEntity3d* solid = decDbEntity3d::Cast(entity);
    const decMesh3* mesh = solid ? solid->GetMesh() : nullptr;
    if (!mesh || mesh->GetCountVertex() == 0)
        return 0;
    const GeMatrix3d toWorld = solid->GetNodeTm();
    const GePoint3d* meshVertices = mesh->GetVertexArray();
    vertices.reserve(vertices.size() + static_cast<std::size_t>(mesh->GetCountVertex()));
    for (int i = 0; i < mesh->GetCountVertex(); ++i)
        vertices.push_back(toWorld * meshVertices[i]);
    return 1;
}

}  // namespace ExtendBuild
