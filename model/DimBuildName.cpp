#include "DimBuildName.h"

#include "CommandLine.h"
#include "CurrentLayerRestore.h"
#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "ModelHelperBuildings.h"
#include "ModelHelperLayersMaterials.h"
#include "OrvCommandHandlers.h"
#include "OrvScaleText.h"
#include "TextSettings.h"
#include "View.h"
#include "WorkingDrawing.h"

namespace {

constexpr const char* kNameLayer = "建筑名称";
constexpr unsigned long kNameColour = 0xFF00FF;
// Bottom-centre: the name sits on the point.
constexpr unsigned kPlacement = 18;
constexpr double kWidthFactor = 0.8;

}  // namespace

int FT_BUILD::Accept(decDbEntity* entity, int& accept)
{
    accept = IsExtendBuild(entity) ? 1 : (IsExtrudeBuild(entity) ? 1 : 0);
    return 1;
}

void drag_cb_insert_build_name::OnDragDraw(decView* view, const GePoint3d& pt)
{
    if (!view)
        return;
    view->SetColor(kNameColour, 0);
    m_placement = kPlacement;
    view->Text(m_name, pt, GeVector3d::kXAxis, GeVector3d::kZAxis, 0.0, m_drawnHeight, kWidthFactor, m_placement);
}

int CDimBuildName::Dim()
{
    if (!SelBuild())
        return 0;
    if (!GetInsertPoint())
        return 0;
    CreateText();
    return 1;
}

int CDimBuildName::SelBuild()
{
    DbDatabase* db = dec::GetWorkingDatabase();
    FT_BUILD filter;
    decObjectId id;
    GePoint3d pickPoint;
    if (db->decPickSingleEntity(id, pickPoint, "请选择要标注名称的建筑物:", nullptr, &filter, "取消") != dex::eOk)
        return 0;
    decDbEntity* entity = db->GetObjectById(id);
    if (BuildName(entity, m_name))
        return m_name.IsEmpty() ? 0 : 1;
    if (CExtrudeBuild* building = entity ? CExtrudeBuild::Cast(entity->GetBaseObject()) : nullptr)
        AskExtrudeBuildName(building, m_name);
    return 0;
}

int CDimBuildName::GetInsertPoint()
{
    return DragBuildName(m_name, "请点取建筑物名称插入点:", m_insertPoint);
}

void CDimBuildName::CreateText()
{
    CreateBuildNameText(m_name, m_insertPoint);
}

int DragBuildName(const CString& name, const char* prompt, GePoint3d& point)
{
    const double textHeight = GetTextHeight(TEXT_UTILITY::BUILD_DIM);
    drag_cb_insert_build_name callback(name, GetScale() * textHeight, textHeight);
    dec::PrintPrompt(prompt);
    return dec::GetDragPoint(&callback, &point, 1) == dex::eOk ? 1 : 0;
}

void CreateBuildNameText(const CString& name, const GePoint3d& point)
{
    if (name.IsEmpty())
        return;
    DbDatabase* db = dec::GetWorkingDatabase();
    const long layerId = CreateLayer(db, kNameLayer, kNameColour, 0, 1);
    auto* text = new COrvScaleText();
    if (!text->Set(TEXT_UTILITY::BUILD_DIM, name, point, GeVector3d::kXAxis, GeVector3d::kZAxis,
                   GetTextHeight(TEXT_UTILITY::BUILD_DIM), 0.0, kPlacement, GetScale(), "") ||
        db->CreateNewEntity(layerId, text) != dex::eOk)
        delete text;
}

void CMD_DIM_BUILD_NAME()
{
    dec::PrintPrompt("***标注建筑名称***");
    RunPassesKeepingCurrentLayer([] { return CDimBuildName().Dim(); });
}
