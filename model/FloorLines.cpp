#include "FloorLines.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

#include "ArcSampling.h"
#include "BaseElevation.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "DragCallback.h"
#include "FloorTableDlg.h"
#include "Ge.h"
#include "Input.h"
#include "ModelGeHelper.h"
#include "ModelHelperBuildings.h"
#include "ModelHelperLayersMaterials.h"
#include "OrvCommandHandlers.h"
#include "Selection.h"
#include "TypedNumbers.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"

namespace FloorLines {

long Layer(DbDatabase* db)
{
    return CreateLayer(db, "楼层分界线", 0xFFFFFF, 0, 1);
}

void DrawStoreys(DbDatabase* db, long layer, std::vector<GePoint3dArray>& rings, double& z, double storeyHeight,
                 std::uint32_t count)
{
    for (std::uint32_t storey = 0; storey < count; ++storey) {
        z += storeyHeight;
        for (GePoint3dArray& ring : rings) {
            for (GePoint3d& p : ring)
                p.z = z;
            auto* line = new decDbPolyline(static_cast<int>(ring.size()), ring.data(), 1);
            decObjectId id;
            if (db->CreateNewEntity(layer, line, id) != dex::eOk)
                delete line;
        }
    }
}

void DrawTable(DbDatabase* db, long layer, std::vector<GePoint3dArray>& rings, double& z,
               const std::vector<std::uint32_t>& heights, const std::vector<std::uint32_t>& counts)
{
    for (std::size_t i = 0; i < heights.size() && i < counts.size(); ++i)
        DrawStoreys(db, layer, rings, z, static_cast<double>(heights[i]), counts[i]);
}

}  // namespace FloorLines

namespace {

// Buildings, curves and solids of one loop.
class COutlineFilter : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = entity && (IsExtrudeBuild(entity) || decCast<decDbCurve>(entity) ||
                            (entity->Is3DEntity() && IsSingleLoopEntity(entity)))
                     ? 1
                     : 0;
        return accept;
    }
    int AcceptPickPoint(decDbEntity*, const GePoint3d&) override { return 0; }
};

// The layerline command's drag question draws nothing.
class drag_cb : public decDragCallback {
public:
    void OnDragDraw(decView*, const GePoint3d&) override {}
};

int AppendSolidLoops(decDbEntity* entity, GePoint3dArray& ring)
{
    entity->OpenForRead();
    std::unique_ptr<GePolygonIterator> loops(entity->NewPolygonIterator());
    for (loops->start(); !loops->done(); loops->next()) {
        int count = 0;
        const GePoint3d* pts = nullptr;
        int closed = 0;
        int flag2 = 0;
        loops->getCurLoop(count, pts, closed, flag2);
        if (pts)
            ring.insert(ring.end(), pts, pts + count);
    }
    entity->Close();
    return ring.size() > 2 ? 1 : 0;
}

int AppendCurveOutline(decDbCurve* curve, GePoint3dArray& ring)
{
    GeCurveList segments;
    if (!curve->Explode(segments))
        return 0;
    ArcSampling::AppendCurvePoints(segments, ring);
    // Each segment gives its start, the end being the next one's start. An open curve is taken
    // as a ring too, so its own end is a corner of that ring unless it comes back to the start.
    GePoint3d end;
    if (!curve->IsClosed() && ArcSampling::LastSegmentEnd(segments, end) && !ring.empty() && !(end == ring.front()))
        ring.push_back(end);
    if (ring.size() < 3) {
        dec::PrintPrompt("提示：底轮廓顶点数不能小于3个");
        return 0;
    }
    GeVector3d normal;
    GeUtility::GetPolygonNormal(3, ring.data(), normal);
    if (!(normal == GeVector3d::kZAxis || normal == -GeVector3d::kZAxis)) {
        AfxMessageBox("底轮廓必须在同一个水平面上!");
        return 0;
    }
    return 1;
}

// Metres typed by the user as millimetres; false for a base elevation eelev would refuse.
bool ToMillimetres(double metres, double& millimetres)
{
    const double value = metres * 1000.0;
    if (!IsReasonableBaseElevation(value))
        return false;
    millimetres = value;
    return true;
}

enum class Road { StoreyByStorey, FloorTable, End };

// The starting elevation: typed (E or text), the ring's own (Enter), or the floor table. A
// text that is no number is refused like an elevation out of range.
Road AskStartElevation(double& z)
{
    while (true) {
        drag_cb cb;
        cb.SetKeywords("底标高(&E)/楼层表(&T)");
        cb.SetUserInputFlags(0x101);
        char prompt[128];
        std::snprintf(prompt, sizeof prompt, "输入起始底标高（米）或 [楼层表(T)]<%.2f>：", z / 1000);
        dec::PrintPrompt(prompt);
        GePoint3d pt;
        std::optional<double> metres;
        switch (dec::GetDragPoint(&cb, &pt, 1)) {
        case dex::eCancel:
        case dex::eEnded: return Road::End;
        case dex::eTextInput: metres = TypedNumber(cb.GetUserString()); break;
        case 1: {
            double answer = 0.0;
            if (dec::GetReal("输入起始底标高（米）", &answer, z / 1000, 2) != dex::eOk)
                return Road::End;
            metres = answer;
            break;
        }
        case dex::eEmpty: return Road::StoreyByStorey;
        default: return Road::FloorTable;
        }
        if (metres && ToMillimetres(*metres, z))
            return Road::StoreyByStorey;
        dec::PrintPrompt("提示：请输入合理的底高度值。");
    }
}

// Storey height and repeat count, again and again until Esc; each pair is drawn at once.
void DrawStoreyByStorey(GePoint3dArray ring, double z)
{
    double storeyHeight = 3000.0;
    double repeat = 1.0;
    std::vector<GePoint3dArray> rings{std::move(ring)};
    while (true) {
        double metres = 0.0;
        if (dec::GetReal("输入层高（米）[ESC键结束]", &metres, storeyHeight / 1000, 2) != dex::eOk)
            return;
        double count = repeat;
        while (true) {
            if (dec::GetReal("输入重复层数[ESC键结束]", &count, repeat, 0) != dex::eOk)
                return;
            if (count <= FloorLines::kMaxRepeatCount)
                break;
            dec::PrintPrompt("提示：请输入合理的重复层数。");
        }
        const double height = metres * 1000;
        const auto storeys = static_cast<std::uint32_t>(count >= 1.0 ? std::trunc(count) : 0.0);
        if (!std::isfinite(z + height * storeys)) {
            dec::PrintPrompt("提示：请输入合理的层高值。");
            continue;
        }
        storeyHeight = height;
        repeat = count;
        DbDatabase* db = dec::GetWorkingDatabase();
        db->OpenForWrite();
        const long layer = FloorLines::Layer(db);
        FloorLines::DrawStoreys(db, layer, rings, z, storeyHeight, storeys);
        db->Close();
    }
}

void DrawFromFloorTable(GePoint3dArray ring)
{
    std::vector<std::uint32_t> heights;
    std::vector<std::uint32_t> counts;
    double z = 0.0;
    {
        AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
        CFloorTableDlg dialog;
        if (dialog.DoModal() != IDOK)
            return;
        z = dialog.m_elevation * 1000;
        heights = dialog.m_storeyHeights;
        counts = dialog.m_storeyCounts;
    }
    std::vector<GePoint3dArray> rings{std::move(ring)};
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    const long layer = FloorLines::Layer(db);
    FloorLines::DrawTable(db, layer, rings, z, heights, counts);
    db->Close();
}

}  // namespace

int SelectBaseOutline(GePoint3dArray& ring)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearSelectSet(1);
    decObjectId id;
    GePoint3d pickPoint;
    COutlineFilter filter;
    if (db->decPickSingleEntity(id, pickPoint, "选择建筑或建筑物底轮廓线:", nullptr, &filter, "取消") != dex::eOk) {
        dec::PrintPrompt("未选中目标!退出命令!");
        return 0;
    }
    decDbEntity* entity = db->GetObjectById(id);
    if (!entity)
        return 0;
    if (IsExtrudeBuild(entity))
        return GetExtrudeBuildBasePts(entity, ring);
    if (entity->Is3DEntity())
        return AppendSolidLoops(entity, ring);
    if (auto* curve = decCast<decDbCurve>(entity))
        return AppendCurveOutline(curve, ring);
    return 0;
}

void CMD_DRAW_LAYER_LINE()
{
    dec::PrintPrompt("***绘制楼层分界线***");
    GePoint3dArray ring;
    if (!SelectBaseOutline(ring)) {
        dec::PrintPrompt("提示：建筑底轮廓线选取失败！命令退出。");
        return;
    }
    double z = ring.front().z;
    switch (AskStartElevation(z)) {
    case Road::StoreyByStorey: DrawStoreyByStorey(std::move(ring), z); break;
    case Road::FloorTable: DrawFromFloorTable(std::move(ring)); break;
    case Road::End: break;
    }
}
