#include "BuildChecks.h"

#include <algorithm>
#include <iterator>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "Input.h"
#include "ModelEntityCollect.h"
#include "ModelHelperWindows.h"
#include "OrvCommandHandlers.h"
#include "WinApp.h"
#include "WorkingDrawing.h"

namespace {

// Marks the entities as the visible selection, after clearing it when asked.
void Highlight(const EntityArray& entities, bool clearFirst)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    if (clearFirst)
        db->ClearSelectSet(1);
    for (decDbEntity* entity : entities)
        entity->SetSelected(1);
    db->RebuildSysSelectSet(0);
}

// The user looks at what is marked and clicks to go on.
void WaitForClick()
{
    GePoint3d point;
    dec::GetPoint(nullptr, &point, 0xFFFFFF, 0, 0);
}

void PrintCount(const char* format, int count)
{
    CString text;
    text.Format(format, count);
    dec::PrintPrompt(text);
}

CString NameText(decDbEntity* entity)
{
    CString name;
    BuildName(entity, name);
    return name;
}

bool HasOwner(decDbEntity* window)
{
    CString owner;
    return WindowBelongBuildName(window, owner) != 0;
}

bool HasNoOwner(decDbEntity* window)
{
    return !HasOwner(window);
}

bool HasNoBuildName(decDbEntity* building)
{
    CString name;
    return BuildName(building, name) == 0;
}

EntityArray Matching(const EntityArray& entities, bool (*test)(decDbEntity*))
{
    EntityArray found;
    std::copy_if(entities.begin(), entities.end(), std::back_inserter(found), test);
    return found;
}

// The body of chkbld and chkwin: marks the entities the test finds, without clearing the
// selection first, says how many and waits for the click that ends the check.
void CheckAll(const EntityArray& entities, bool (*test)(decDbEntity*), const char* countFormat)
{
    const EntityArray found = Matching(entities, test);
    Highlight(found, false);
    PrintCount(countFormat, static_cast<int>(found.size()));
    WaitForClick();
    dec::PrintPrompt("提示：单击退出查询。");
}

// What inqbuild shows first: the drawing's other objects and every building with an empty
// name, each once.
EntityArray Unnamed(const EntityArray& buildings, const EntityArray& others)
{
    EntityArray unnamed = others;
    for (decDbEntity* building : buildings)
        if (NameText(building).IsEmpty() && std::find(unnamed.begin(), unnamed.end(), building) == unnamed.end())
            unnamed.push_back(building);
    return unnamed;
}

// One query of inqbuild: what bears the picked building's name.
void ReportBuilding(decDbEntity* building, const EntityArray& windows)
{
    const CString name = NameText(building);
    if (name.IsEmpty()) {
        dec::PrintPrompt("提示：查询的建筑物没有命名！");
        return;
    }
    EntityArray marked;
    for (decDbEntity* window : windows) {
        CString owner;
        if (WindowBelongBuildName(window, owner) && owner == name)
            marked.push_back(window);
    }
    const int windowCount = static_cast<int>(marked.size());
    EntityArray same;
    GetSameBuild(name, same);
    marked.insert(marked.end(), same.begin(), same.end());
    const int objectCount = static_cast<int>(same.size());
    CString text;
    if (objectCount > 1) {
        text.Format("提示：建筑<%s>由%d个三维对象组成。", name.GetString(), objectCount + windowCount);
        dec::PrintPrompt(text);
    }
    text.Format("提示：其中属于建筑<%s>的窗数量是：%d", name.GetString(), windowCount);
    dec::PrintPrompt(text);
    Highlight(marked, false);
    WaitForClick();
}

}  // namespace

int GetSameBuild(const CString& name, EntityArray& same)
{
    return CollectEntities(same, [&name](decDbEntity* entity) {
        if (!entity->Is3DEntity() || IsWindow(entity) || (!IsExtendBuild(entity) && !IsExtrudeBuild(entity)))
            return false;
        CString own;
        return BuildName(entity, own) && own == name;
    });
}

void CMD_INQUIRE_BUILD()
{
    dec::PrintPrompt("***建筑查询***");
    EntityArray buildings, others;
    if (!ModelHelper::GetAllBuild(buildings, others)) {
        AfxMessageBox("提示：图形上还没有定义建筑物！");
        return;
    }
    const EntityArray unnamed = Unnamed(buildings, others);
    Highlight(unnamed, true);
    PrintCount("提示：未建筑命名三维对象数量是：%d", static_cast<int>(unnamed.size()));
    WaitForClick();

    EntityArray windows;
    if (GetAllWindow(windows)) {
        const EntityArray unowned = Matching(windows, HasNoOwner);
        Highlight(unowned, true);
        PrintCount("其中未指定所属建筑物关系的窗口数量是：%d", static_cast<int>(unowned.size()));
        WaitForClick();
    }

    ModelHelper::FT_ALL_BUILD filter;
    while (decDbEntity* building = PickEntity("请选择查询的建筑物:", filter))
        ReportBuilding(building, windows);
}

void CMD_SHOW_UNNAMED_BUILD()
{
    dec::PrintPrompt("***显示图形上的未命名建筑***");
    // Hidden: owned windows, named buildings and everything that is no 3-D object.
    class CB : public EnumDatabaseEntityTableCallback {
    public:
        void OnEntity(decDbEntity* entity) override
        {
            bool hide = false;
            if (IsWindow(entity))
                hide = HasOwner(entity);
            else if (IsExtendBuild(entity) || IsExtrudeBuild(entity))
                hide = !NameText(entity).IsEmpty();
            else
                hide = !entity->Is3DEntity();
            if (!hide || entity->OpenForWrite() != dex::eOk)
                return;
            entity->SetHide(1, 1, 0);
            entity->Close();
        }
    };
    DbAutoOpen open;
    CB callback;
    open.db->EnumEntityTable(callback, 0);
}

void CheckUnnamedBuild()
{
    EntityArray buildings;
    if (!GetAllBuild(buildings)) {
        AfxMessageBox("提示：图形上还没有生成建筑物！");
        return;
    }
    CheckAll(buildings, HasNoBuildName, "图形上共有<%d>个未命名建筑物。");
}

void CheckUnownedWindow()
{
    EntityArray windows;
    if (!GetAllWindow(windows)) {
        AfxMessageBox("提示：图形上还没有布置窗口！");
        return;
    }
    CheckAll(windows, HasNoOwner, "图形上共有<%d>个未指定所属建筑物关系窗口。");
}

void CMD_CHECK_UNNAMED_BUILD()
{
    dec::PrintPrompt("***检查未命名建筑***");
    CheckUnnamedBuild();
}

void CMD_CHECK_UNOWNED_WINDOW()
{
    dec::PrintPrompt("***检查未指定所属建筑的窗口***");
    CheckUnownedWindow();
}
