// The gable roof command: the outline and the ridge line through the host, then the dialog,
// which builds the roof when the user confirms it.
#include <algorithm>
#include <memory>
#include <utility>

#include "ArcSampling.h"
#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "GableRoof.h"
#include "GableRoofDlg.h"
#include "Input.h"
#include "ModelGeHelper.h"
#include "ModelHelperBuildings.h"
#include "OrvCommandHandlers.h"
#include "OutlineCleanup.h"
#include "RoofRings.h"
#include "Selection.h"
#include "Tools.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"

namespace {

constexpr const char* kTitle = "***人字坡顶***";
constexpr const char* kSingleSlopeHint = "提示：脊线在轮廓线一侧，可生成单坡屋顶。";
constexpr const char* kInvalidOutline = "提示：屋顶底轮廓选择无效！";
constexpr const char* kPickPrompt = "选择要生成屋顶的建筑或屋顶底轮廓线:";
constexpr const char* kNoPick = "未选中目标!退出命令!";
constexpr const char* kTooFewPoints = "提示：底轮廓顶点数不能小于3个";
constexpr const char* kNotLevel = "屋顶生成屋顶轮廓必须在同一个水平面上!";
constexpr const char* kRidgeStartPrompt = "请输入屋脊线的起点";
constexpr const char* kRidgeEndPrompt = "请输入屋脊线的终点";
constexpr const char* kWayOut = "取消";
constexpr const char* kCourtyardCovered = "提示：屋顶覆盖了建筑的内院。";
// Input flags and cursor of the ridge points (the host's).
constexpr std::uint32_t kPointFlags = 57825;
constexpr double kTol = 0.001;

// What a roof can stand on: a building, a curve of more than two vertices, a circle, or a
// solid with a usable face.
class COutlineFilter : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = entity && Takes(entity) ? 1 : 0;
        return accept;
    }
    int AcceptPickPoint(decDbEntity*, const GePoint3d&) override { return 0; }

private:
    static bool Takes(decDbEntity* entity)
    {
        if (IsExtrudeBuild(entity))
            return true;
        if (decCast<decDbCurve>(entity) && entity->GetNumVerts() > 2)
            return true;
        if (decCast<decDbCircle3d>(entity))
            return true;
        if (!entity->Is3DEntity())
            return false;
        GePoint3dArray top;
        return IsExtrude3DEntity(entity) || IsSingleLoopEntity(entity) || GetLargestTopFace(entity, top);
    }
};

// The points of a curve: a line's start, an arc's samples but its last. An open curve whose
// end does not come back to its start keeps that end too, so it loses no corner.
int ReadCurveOutline(const decDbCurve& curve, GePoint3dArray& outline)
{
    GeCurveList segments;
    if (!curve.Explode(segments))
        return 0;
    ArcSampling::AppendCurvePoints(segments, outline);
    GePoint3d end;
    if (!curve.IsClosed() && ArcSampling::LastSegmentEnd(segments, end) && !outline.empty() &&
        end.DistanceTo(outline.front()) > kTol)
        outline.push_back(end);
    return 1;
}

// The first three points span a level plane. Fewer than three left after the collinear ones
// went span none.
bool IsLevel(const GePoint3dArray& outline)
{
    if (outline.size() < 3)
        return false;
    GeVector3d normal(0, 0, 0);
    GeUtility::GetPolygonNormal(3, outline.data(), normal);
    return normal == GeVector3d::kZAxis || normal == -GeVector3d::kZAxis;
}

// A building's outline at its top.
int BuildingOutline(decDbEntity* entity, GePoint3dArray& outline)
{
    if (!GetExtrudeBuildBasePts(entity, outline))
        return 0;
    const auto* building = CExtrudeBuild::Cast(entity->GetBaseObject());
    const int height = building ? building->Height() : 0;
    for (GePoint3d& p : outline)
        p.z += height;
    return 1;
}

// The roof dialogs work in whole millimetres from the outline's height: an outline out of
// reach of that (or not finite) can carry no roof.
bool InReach(const GePoint3dArray& outline)
{
    return AllFinite(outline) &&
           std::all_of(outline.begin(), outline.end(), [](const GePoint3d& p) { return StoredAs<int>(p.z); });
}

// Where a picked outline came from: a curve's points are the user's own clicks.
enum class OutlineSource { kNone, kSolid, kCurve };

// The picked object's outline as it stands, not yet cleaned.
OutlineSource ReadBaseOutline(GePoint3dArray& outline)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearSelectSet(1);
    decObjectId id;
    GePoint3d pickPoint;
    COutlineFilter filter;
    if (db->decPickSingleEntity(id, pickPoint, kPickPrompt, nullptr, &filter, kWayOut) != dex::eOk) {
        dec::PrintPrompt(kNoPick);
        return OutlineSource::kNone;
    }
    decDbEntity* entity = db->GetObjectById(id);
    if (!entity)
        return OutlineSource::kNone;
    if (IsExtrudeBuild(entity))
        return BuildingOutline(entity, outline) ? OutlineSource::kSolid : OutlineSource::kNone;
    if (entity->Is3DEntity())
        return GetLargestTopFace(entity, outline) ? OutlineSource::kSolid : OutlineSource::kNone;
    const auto* curve = decCast<decDbCurve>(entity);
    if (!curve || !ReadCurveOutline(*curve, outline))
        return OutlineSource::kNone;
    if (outline.size() < 3) {
        dec::PrintPrompt(kTooFewPoints);
        return OutlineSource::kNone;
    }
    return OutlineSource::kCurve;
}

// A corner given twice (a click repeated, however often, or a solid's face with a doubled
// vertex) leaves an edge of no length, which no roof can grow or pair with a face; a corner
// clicked again a few millimetres apart or a little way back along the wall leaves a slip
// that grows into a spike, and an outline running back along itself a retrace that encloses
// nothing (whose turning point would leave three points on one line). The outline drops them
// all, and the roof is that of the outline without them. A curve then loses the points that
// lie on its edges and must be level.
int CleanBaseOutline(OutlineSource source, GePoint3dArray& outline)
{
    CTools::DropRepeatedPoints(outline, 1, kTol);
    outline = roof_rings::WithoutSlips(std::move(outline), kTol);
    if (outline.size() < 3) {
        dec::PrintPrompt(kTooFewPoints);
        return 0;
    }
    if (source != OutlineSource::kCurve)
        return 1;
    RemoveCollinearPts(outline);
    if (!IsLevel(outline)) {
        AfxMessageBox(kNotLevel, MB_OK, 0);
        return 0;
    }
    return 1;
}

}  // namespace

namespace GableRoof {

int SelectBaseOutline(GePoint3dArray& outline)
{
    // The values are checked before anything is measured between them.
    const OutlineSource source = ReadBaseOutline(outline);
    if (source == OutlineSource::kNone || !InReach(outline))
        return 0;
    return CleanBaseOutline(source, outline);
}

void NoteCoveredCourtyard(const GePoint3dArray& outline, double overhang)
{
    if (roof_rings::CoversCourtyard(outline, overhang))
        dec::PrintPrompt(kCourtyardCovered);
}

int InputRidgeLine(GePoint3d& start, GePoint3d& end)
{
    dec::PrintPrompt(kRidgeStartPrompt);
    if (dec::GetPoint(nullptr, &start, kPointFlags, 0, 0) != dex::eOk)
        return 0;
    dec::PrintPrompt(kRidgeEndPrompt);
    if (dec::GetPoint(&start, &end, kPointFlags, 0, 0) != dex::eOk)
        return 0;
    const bool swap = std::fabs(start.x - end.x) > kTol ? end.x < start.x : end.y < start.y;
    if (swap)
        std::swap(start, end);
    return 1;
}

}  // namespace GableRoof

void CMD_GABLE_ROOF()
{
    dec::PrintPrompt(kTitle);
    dec::PrintPrompt(kSingleSlopeHint);
    GePoint3dArray outline;
    if (!GableRoof::SelectBaseOutline(outline)) {
        dec::PrintPrompt(kInvalidOutline);
        return;
    }
    GePoint3d start, end;
    if (!GableRoof::InputRidgeLine(start, end))
        return;
    start.z = end.z = outline.front().z;
    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    auto dlg = std::make_unique<CGableRoofDlg>();
    dlg->m_outline = outline;
    dlg->m_ridgeStart = start;
    dlg->m_ridgeEnd = end;
    // The dialog closes with OK only once it has built the roof.
    if (dlg->DoModal() == IDOK)
        GableRoof::NoteCoveredCourtyard(outline, dlg->m_eaveOverhang);
}
