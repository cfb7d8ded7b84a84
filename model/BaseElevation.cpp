#include "BaseElevation.h"

#include <cmath>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "Input.h"
#include "OrvCommandHandlers.h"
#include "Selection.h"
#include "WorkingDrawing.h"

namespace {

// Any 3-D object.
class FT_WINDOW_BUILD : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = entity ? entity->Is3DEntity() : 0;
        return accept;
    }
};

constexpr double kMixedElevationDefault = 900.0;

double FrameOriginZ(decDbEntity3d* entity)
{
    GePoint3d origin;
    GeVector3d x, y, z;
    entity->GetTM().GetCoordSystem(origin, x, y, z);
    return origin.z;
}

// The elevation the objects share, or 900 as soon as one differs from the first by more than
// 0.001.
double CommonElevation(const std::vector<decDbEntity3d*>& entities)
{
    double elevation = 0.0;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        entities[i]->OpenForRead();
        const double z = FrameOriginZ(entities[i]);
        entities[i]->Close();
        if (i == 0)
            elevation = z;
        else if (std::fabs(z - elevation) > 0.001)
            return kMixedElevationDefault;
    }
    return elevation;
}

void MoveToElevation(decDbEntity3d* entity, double elevation)
{
    entity->OpenForWrite();
    GePoint3d origin;
    GeVector3d x, y, z;
    GeMatrix3d tm = entity->GetTM();
    tm.GetCoordSystem(origin, x, y, z);
    origin.z = elevation;
    tm.SetCoordSystem(origin, x, y, z);
    entity->SetLocalTM(tm);
    entity->Close();
}

}  // namespace

void CMD_EDIT_ELEVATION()
{
    dec::PrintPrompt("***修改三维对象底标高***");
    decSelectSet selection;
    FT_WINDOW_BUILD filter;
    if (dec::decSSGet("请选择要修改底标高的三维对象：", selection, &filter, 1) != dex::eOk || selection.GetCount() == 0)
        return;
    dec::PrintPrompt(("选中" + std::to_string(selection.GetCount()) + "个实体。").c_str());
    std::vector<decDbEntity3d*> entities;
    for (int i = 0; i < selection.GetCount(); ++i) {
        if (auto* entity = decCast<decDbEntity3d>(selection.GetEnt(i)))
            entities.push_back(entity);
    }
    double elevation = CommonElevation(entities);
    while (true) {
        if (dec::GetReal("输入底标高（毫米）", &elevation, elevation, 0) != dex::eOk)
            return;
        if (IsReasonableBaseElevation(elevation))
            break;
        dec::PrintPrompt("提示：请输入合理的底高度值。");
        elevation = kMixedElevationDefault;
    }
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    for (decDbEntity3d* entity : entities)
        MoveToElevation(entity, elevation);
    db->Close();
}
