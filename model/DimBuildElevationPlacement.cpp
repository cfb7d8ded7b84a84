// Placing building elevation labels: the interactive completion of a label, the commands
// dimbldelev and elevstyle, and the label the building command puts on each new building.
#include <array>
#include <vector>

#include "CommandLine.h"
#include "CurrentLayerRestore.h"
#include "DbDatabase.h"
#include "DimBuildElevation.h"
#include "DimBuildElevationDlg.h"
#include "DragCallback.h"
#include "ExtrudeBuild.h"
#include "Input.h"
#include "ModelGeHelper.h"
#include "ModelHelperBuildings.h"
#include "ModelHelperLayersMaterials.h"
#include "OrvCommandHandlers.h"
#include "TextSettings.h"
#include "View.h"
#include "WinApp.h"
#include "WorkingDrawing.h"

namespace {

constexpr const char* kLabelLayer = "建筑标高";
constexpr unsigned long kLabelLayerColour = 0xFF00FF;
// A point this close to a building's outline counts as inside it.
constexpr double kOutlineTol = 5.0;

constexpr std::array<const char*, 5> kStyleLines = {"当前标注：顶标高", "当前标注：建筑物高度", "当前标注：底标高",
                                                     "当前标注：顶标高和底标高", "当前标注：建筑物高度和顶标高"};

// Collects a point with keywords; draws nothing while the cursor moves.
class drag_cb_nodisplay : public decDragCallback {
public:
    void OnDragDraw(decView*, const GePoint3d&) override {}
};

// Hands the label to the drawing on the label layer; a label the drawing does not take is
// deleted.
void AddLabel(DbDatabase* db, CDimBuildElevation* label)
{
    const long layerId = CreateLayer(db, kLabelLayer, kLabelLayerColour, 0, 1);
    if (db->CreateNewEntity(layerId, label) != dex::eOk)
        delete label;
}

// Shows the style dialog with the given style; the chosen one on OK, else nothing.
bool AskStyle(int& style)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CDimBuildElevationDlg dialog;
    dialog.m_nStyle = style;
    if (dialog.DoModal() != IDOK)
        return false;
    style = dialog.m_nStyle;
    return true;
}

void PrepareViewForPointInPlan()
{
    decView* view = dec::GetActiveView();
    if (view && view->GetViewState()) {
        view->SetViewState(0);
        view->Refresh();
    }
}

}  // namespace

int CDimBuildElevation::Set()
{
    if (!GetBuildInfo())
        return 0;
    if (!GetInsertPoint())
        return 0;
    m_scale = GetScale();
    m_textHeight = GetTextHeight(TEXT_UTILITY::BUILD_DIM);
    return 1;
}

int CDimBuildElevation::GetBuildInfo()
{
    DbDatabase* db = dec::GetWorkingDatabase();
    ModelHelper::FT_ALL_BUILD filter;
    while (true) {
        decObjectId id;
        GePoint3d pickPoint;
        const int result = db->decPickSingleEntity(id, pickPoint, "请选择建筑物[或点取内部一点(A)]<点取内部点>:",
                                                   "内部一点(&A)/建筑(&B)", &filter, "结束");
        if (result == dex::eCancel || result == dex::eEnded)
            return 0;
        if (result == 1) {
            PrepareViewForPointInPlan();
            dec::PrintPrompt("请点取拉伸建筑物内部一点...");
            GePoint3d point;
            if (dec::GetPoint(nullptr, &point, 0xFFFFFF, 0, 0) != dex::eOk)
                return 0;
            // Every attempt searches afresh: a failed one must not leave its range behind.
            ResetRange();
            if (GetHeightByPoint(point) == 1) {
                HoldTopToHeight();
                m_style = kTopAndBottom;
                return 1;
            }
            dec::PrintPrompt("提示：无法获取建筑物信息！");
            continue;
        }
        decDbEntity* entity = result == dex::eOk ? db->GetObjectById(id) : nullptr;
        if (!entity || !decDbEntity3d::Cast(entity))
            continue;
        ResetRange();
        CString name;
        if (BuildName(entity, name)) {
            GetHeightByBuildName(name);
        } else {
            const GeBoundBox3d& box = entity->GetBoundBox();
            if (!box.IsEmpty()) {
                m_bottom = box.MinPoint().z;
                m_top = box.MaxPoint().z;
                UpdateHeightFromRange();
            }
        }
        // A name no building carries any more, or a body without extents, gives no values: a
        // label of the search's start values would be nonsense. Nor does a body too tall for
        // the whole-millimetre height.
        if (!HasValues()) {
            dec::PrintPrompt("提示：无法获取建筑物信息！");
            continue;
        }
        HoldTopToHeight();
        return 1;
    }
}

void CDimBuildElevation::GetHeightByBuildName(const CString& name)
{
    if (name.IsEmpty())
        return;
    EntityArray buildings;
    if (!GetAllBuild(buildings))
        return;
    ResetRange();
    for (decDbEntity* building : buildings) {
        CString buildingName;
        BuildName(building, buildingName);
        if (buildingName != name)
            continue;
        GePolygonIterator loops;
        building->NewPolygonIterator(loops);
        for (loops.start(); !loops.done(); loops.next()) {
            int count = 0;
            const GePoint3d* pts = nullptr;
            int closed = 0;
            int auxiliary = 0;
            loops.getCurLoop(count, pts, closed, auxiliary);
            if (auxiliary != 0 || count < 1 || !pts)
                continue;
            for (int i = 0; i < count; ++i) {
                m_top = std::max(m_top, pts[i].z);
                m_bottom = std::min(m_bottom, pts[i].z);
            }
        }
    }
    UpdateHeightFromRange();
}

int CDimBuildElevation::GetHeightByPoint(const GePoint3d& point)
{
    EntityArray buildings;
    if (!GetAllBuild(buildings))
        return 0;
    const GePoint2d planPoint(point.x, point.y);
    for (decDbEntity* entity : buildings) {
        const GeBoundBox3d& box = entity->GetBoundBox();
        if (const CExtrudeBuild* building = CExtrudeBuild::Cast(entity->GetBaseObject())) {
            const GeBoundBox2d plan = GeBoundBox2d().Set(GePoint2d(box.MinPoint().x, box.MinPoint().y),
                                                         GePoint2d(box.MaxPoint().x, box.MaxPoint().y));
            if (box.IsEmpty() || !plan.Contains(planPoint))
                continue;
            GePoint3dArray outline;
            GetExtrudeBuildBasePts(entity, outline);
            std::vector<GePoint2d> ring;
            ring.reserve(outline.size());
            for (const GePoint3d& p : outline)
                ring.emplace_back(p.x, p.y);
            if (!GeUtility::PointInsidePolygon(static_cast<int>(ring.size()), ring.data(), planPoint, kOutlineTol))
                continue;
            CString name;
            if (BuildName(entity, name)) {
                GetHeightByBuildName(name);
                break;
            }
            auto* body = decDbEntity3d::Cast(entity);
            if (!body)
                continue;
            body->OpenForRead();
            const GeMatrix3d tm = body->GetTM();
            body->Close();
            GePoint3d origin;
            GeVector3d x, y, z;
            tm.GetCoordSystem(origin, x, y, z);
            m_bottom = std::min(m_bottom, origin.z);
            m_top = std::max(m_top, building->Height() + origin.z);
            UpdateHeightFromRange();
        } else if (!box.IsEmpty() && box.Contains(point)) {
            m_top = std::max(m_top, box.MaxPoint().z);
            m_bottom = std::min(m_bottom, box.MinPoint().z);
            UpdateHeightFromRange();
        }
    }
    return m_top > 0 && HasValues() ? 1 : 0;
}

int CDimBuildElevation::GetInsertPoint()
{
    if (m_style >= 0 && m_style < static_cast<int>(kStyleLines.size()))
        dec::PrintPrompt(kStyleLines[static_cast<std::size_t>(m_style)]);
    while (true) {
        dec::PrintPrompt("点取标注位置或[设置(S)]<设置>:");
        drag_cb_nodisplay callback;
        callback.SetKeywords("位置(&D)/设置(&S)", 2);
        const int result = dec::GetDragPoint(&callback, &m_position, 1);
        if (result == dex::eCancel || result == dex::eEnded)
            return 0;
        if (result == dex::eOk || result == 1)
            return 1;
        if (result == 2) {
            int style = m_style;
            if (AskStyle(style)) {
                m_style = style;
                SetRememberedStyle(style);
            }
        }
    }
}

void CMD_DIM_BUILD_ELEVATION()
{
    dec::PrintPrompt("***标注建筑标高***");
    DbDatabase* db = dec::GetWorkingDatabase();
    while (true) {
        db->OpenForWrite();
        const long currentLayer = db->GetTableLayer()->GetCurrentLayerID();
        auto* label = new CDimBuildElevation();
        if (!label->Set()) {
            delete label;
            RestoreCurrentLayer(db, currentLayer);
            db->Close();
            return;
        }
        AddLabel(db, label);
        RestoreCurrentLayer(db, currentLayer);
        db->Close();
    }
}

void CMD_SET_ELEVATION_STYLE()
{
    dec::PrintPrompt("***设置建筑标高标注样式***");
    int style = CDimBuildElevation::RememberedStyle();
    if (AskStyle(style))
        CDimBuildElevation::SetRememberedStyle(style);
}

void DimBuildElevation(double height, double bottom, std::vector<GePoint3d>& outline)
{
    if (height < 0.001 || outline.size() < 3)
        return;
    DbAutoOpen open;
    DbDatabase* db = open.db;
    const long currentLayer = db->GetTableLayer()->GetCurrentLayerID();
    GeBoundBox2d plan;
    plan.Set(GePoint2d(outline.front().x, outline.front().y));
    for (const GePoint3d& p : outline)
        plan.Extend(GePoint2d(p.x, p.y));
    const GePoint2d centre = plan.Center();
    auto* label = new CDimBuildElevation();
    if (!label->Set(height, bottom, GePoint3d(centre.x, centre.y, 0.0))) {
        delete label;
        return;
    }
    AddLabel(db, label);
    RestoreCurrentLayer(db, currentLayer);
}
