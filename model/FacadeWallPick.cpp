#include "FacadeWallPick.h"

#include <vector>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "ModelGeHelper.h"
#include "ModelHelperBuildings.h"
#include "OutlineCleanup.h"
#include "View.h"
#include "WorkingDrawing.h"

namespace {

constexpr std::uint32_t kWallColour = 0xffff;
constexpr int kWallWidth = 5;

// Whether the outline the entity's walls follow runs clockwise seen from above.
bool WallsRunClockwise(decDbEntity* entity)
{
    GePoint3dArray outline;
    if (IsExtrudeBuild(entity))
        GetExtrudeBuildBasePts(entity, outline);
    else
        GetBottomFace(entity, outline);
    return GetPtsSignedArea(outline) < 0.001;
}

void ClearView()
{
    if (decView* view = dec::GetActiveView()) {
        view->ClearHighlights();
        view->Refresh();
    }
}

}  // namespace

FacadePick PickFacadeWall(FacadeWall& out)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    ModelHelper::FT_EXTRUDE_ENTITY filter;
    while (true) {
        decObjectId id;
        GePoint3d pickPoint;
        const int result = db->decPickSingleEntity(id, pickPoint, "请选择要插窗的立面:", nullptr, &filter, "取消");
        if (result == dex::eCancel)
            return FacadePick::Cancelled;
        if (result != dex::eOk)
            return FacadePick::Ended;
        decObject* object = id.GetObjectA();
        auto* entity = (object && object->IsKindOf(decDbEntity::Desc())) ? static_cast<decDbEntity*>(object) : nullptr;
        std::vector<GePoint3dArray> walls;
        if (!entity || !GetExtrudeEntityWallPts(entity, walls))
            continue;
        int index = 0;
        if (!GetSelWallIndex(walls, pickPoint, index)) {
            db->ClearSelectSet(1);
            ClearView();
            dec::PrintPrompt("提示：请选择立面或墙面的底边或顶边。");
            return FacadePick::Missed;
        }
        out.entity = entity;
        out.wall = walls[static_cast<std::size_t>(index)];
        out.pickPoint = pickPoint;
        out.clockwise = WallsRunClockwise(entity);
        return FacadePick::Wall;
    }
}

void HighlightFacadeWall(const GePoint3dArray& wall, const GePoint3d& mark, int markSize, std::uint32_t markColour)
{
    decView* view = dec::GetActiveView();
    if (!view || wall.empty())
        return;
    ClearView();
    GePoint3dArray closed = wall;
    closed.push_back(wall.front());
    view->DrawPolyline(closed.data(), static_cast<int>(closed.size()), kWallColour, kWallWidth);
    view->MarkPoints(&mark, 1, markSize, markColour);
}
