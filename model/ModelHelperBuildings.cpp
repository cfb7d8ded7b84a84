#include "ModelHelperBuildings.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "ExtendBuild.h"
#include "ExtrudeBuild.h"
#include "MainFrame.h"
#include "ModelEntityCollect.h"
#include "MsgBox.h"
#include "Input.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"

namespace {

// Kind names of the host solids that stand for a building body.
constexpr std::array<std::string_view, 3> kExtrudeSolidNames = {"拉伸体", "圆柱", "长方体"};
// The same family with cones and frusta, taken as contour bodies.
constexpr std::array<std::string_view, 5> kContourSolidNames = {"拉伸体", "圆柱", "长方体", "圆锥", "台体"};
// A curve stands for a contour line when its first edge is at least this long.
constexpr double kMinContourEdge = 1000.0;

template <std::size_t N>
bool BaseNameIsOneOf(const decDbEntity* entity, const std::array<std::string_view, N>& names)
{
    const decDbObject* base = decCast<decDbObject>(entity ? entity->GetBaseObject() : nullptr);
    if (!base || !base->GetName())
        return false;
    return std::find(names.begin(), names.end(), std::string_view(base->GetName())) != names.end();
}

CExtrudeBuild* BuildingOf(const decDbEntity* entity)
{
    return entity ? CExtrudeBuild::Cast(entity->GetBaseObject()) : nullptr;
}

bool IsBuilding(decDbEntity* entity)
{
    return ExtendBuild::HasBuildTag(entity) || IsExtrudeBuild(entity);
}

}  // namespace

int IsExtrudeBuild(decDbEntity* entity)
{
    return BuildingOf(entity) ? 1 : 0;
}

int IsExtendBuild(decDbEntity* entity)
{
    return ExtendBuild::HasBuildTag(entity);
}

int IsExtrude3DEntity(decDbEntity* entity)
{
    return BaseNameIsOneOf(entity, kExtrudeSolidNames) ? 1 : 0;
}

int BuildName(decDbEntity* entity, CString& name)
{
    if (const CExtrudeBuild* building = BuildingOf(entity)) {
        name = building->Name();
        return name.IsEmpty() ? 0 : 1;
    }
    if (IsExtendBuild(entity)) {
        name = ExtendBuild::GetBuildTag(entity->GetObjectId());
        return 1;
    }
    return 0;
}

int PickExtrudeBuild(decObjectId& id)
{
    ModelHelper::FT_ALL_BUILD filter;
    GePoint3d pickPoint;
    return dec::GetWorkingDatabase()->decPickSingleEntity(id, pickPoint, "请选择拉伸建筑物:", nullptr, &filter, "取消") ==
                   dex::eOk
               ? 1
               : 0;
}

int AskExtrudeBuildName(CExtrudeBuild* building, CString& name)
{
    if (!building)
        return 0;
    if (MessageBoxA(dec::GetMainFrameHWnd(), "选定建筑物尚未指定名称，是否现在输入建筑物名称？", "建筑物未命名", 0x2034) != IDYES)
        return 0;
    if (dec::GetString("请输入拉伸建筑名称:", name, 0) != dex::eOk || name.IsEmpty())
        return 0;
    building->OpenForWrite();
    building->AssertWriteEnabled(1, 1, 1, 0);
    building->SetName(name);
    building->Close();
    dec::ClearCmdLinePrompt();
    return 1;
}

int GetBuildName(CString& name)
{
    decObjectId id;
    if (!PickExtrudeBuild(id))
        return 0;
    const decDbEntity* entity = decCast<decDbEntity>(id.GetObjectA());
    if (CExtrudeBuild* building = BuildingOf(entity)) {
        name = building->Name();
        return name.IsEmpty() ? AskExtrudeBuildName(building, name) : 1;
    }
    name = ExtendBuild::GetBuildTag(id);
    return 1;
}

int GetAllBuild(EntityArray& entities)
{
    return CollectEntities(entities, [](decDbEntity* entity) { return IsBuilding(entity); });
}

int GetExtendBuildAllVts(decDbEntity* entity, std::vector<GePoint3d>& vertices)
{
    return ExtendBuild::GetAllVertices(entity, vertices);
}

int SelectBuild(EntityArray& entities, CString prompt)
{
    ModelHelper::FT_ALL_BUILD filter;
    return SelectEntities3d(entities, prompt, filter);
}

namespace ModelHelper {

int FT_ALL_BUILD::Accept(decDbEntity* entity, int& accept)
{
    accept = IsBuilding(entity) ? 1 : 0;
    return 1;
}

int FT_EXTRUDE_ENTITY::Accept(decDbEntity* entity, int& accept)
{
    accept = 0;
    if (IsExtrudeBuild(entity) || IsExtrude3DEntity(entity))
        accept = 1;
    return 1;
}

namespace {

bool IsContourCandidate(decDbEntity* entity)
{
    if (!entity)
        return false;
    if (IsExtrudeBuild(entity) || IsExtendBuild(entity))
        return true;
    if (entity->Is3DEntity() && BaseNameIsOneOf(entity, kContourSolidNames))
        return true;
    if (!decDbCurve::Cast(entity))
        return false;
    if (decDbArc::Cast(entity) || decDbCircle3d::Cast(entity))
        return true;
    return entity->GetNumVerts() >= 2 &&
           GeLineSeg3d(entity->GetVertexAt(0), entity->GetVertexAt(1)).GetLength() >= kMinContourEdge;
}

}  // namespace

int CONTOUR_FT::Accept(decDbEntity* entity, int& accept)
{
    accept = IsContourCandidate(entity) ? 1 : 0;
    return 1;
}

}  // namespace ModelHelper
