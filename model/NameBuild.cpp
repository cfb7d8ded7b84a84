#include "NameBuild.h"

#include "AssertReport.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "DimBuildName.h"
#include "ExtendBuild.h"
#include "ExtrudeBuild.h"
#include "MainFrame.h"
#include "ModelHelperWindows.h"
#include "ModuleGlobals.h"
#include "NameQuestion.h"
#include "MsgBox.h"
#include "OrvCommandHandlers.h"
#include "OwnershipIndex.h"
#include "OwnershipRecords.h"
#include "Window.h"
#include "WorkingDrawing.h"

namespace {

// The window identifiers of the ownership records join name, floor and position with "-",
// so a name holding one is not told apart from its numbers when they are read.
constexpr const char* kDashWarning = "提示：建筑名称中含有\"-\"，分析时窗所属建筑将无法识别。";

// What one object is named as.
enum class NamedKind { Building, Tagged, Window, Other };

NamedKind KindOf(decDbEntity* entity)
{
    if (IsExtrudeBuild(entity))
        return NamedKind::Building;
    if (IsExtendBuild(entity))
        return NamedKind::Tagged;
    if (IsWindow(entity))
        return NamedKind::Window;
    return NamedKind::Other;
}

// Replaces the entity's tag by one holding the name (also an empty one).
void WriteTag(decDbEntity* entity, const CString& name)
{
    entity->RemoveAppXData(g_buildNamingAppName);
    auto* record = new decObjectXDataApp(g_buildNamingAppName);
    record->AppendDataString(name);
    entity->AppendAppXData(record);
}

// Gives one entity the name the way its kind takes it; the name it bore before goes to
// oldNames when given and not empty, and a window's change of label to windows. True when the
// entity belongs to the pass's group.
bool ApplyName(decDbEntity* entity, const CString& name, bool clearing, std::vector<CString>* oldNames,
               std::vector<WinBelongBuild::Relabel>& windows)
{
    const auto remember = [oldNames](const CString& old) {
        if (oldNames && !old.IsEmpty())
            oldNames->push_back(old);
    };
    switch (KindOf(entity)) {
    case NamedKind::Building: {
        CExtrudeBuild* pBuild = CExtrudeBuild::Cast(entity->GetBaseObject());
        if (!ORV_ASSERT(pBuild, "NameBuild"))
            return false;
        pBuild->OpenForWrite();
        remember(pBuild->Name());
        pBuild->SetName(name);
        pBuild->Close();
        return true;
    }
    case NamedKind::Tagged: {
        decDbEntity3d* pEnt3d = decDbEntity3d::Cast(entity);
        if (!ORV_ASSERT(pEnt3d, "NameBuild"))
            return false;
        pEnt3d->OpenForWrite();
        CString old;
        BuildName(pEnt3d, old);
        remember(old);
        WriteTag(pEnt3d, name);
        pEnt3d->Close();
        return true;
    }
    case NamedKind::Window: {
        CWindow* pWin = CWindow::Cast(entity->GetBaseObject());
        if (!ORV_ASSERT(pWin, "NameBuild"))
            return false;
        pWin->OpenForWrite();
        windows.push_back({pWin, WinBelongBuild::LabelOf(*pWin), {name, pWin->Floor(), pWin->Index()}});
        pWin->SetBuild(name);
        pWin->Close();
        return true;
    }
    case NamedKind::Other:
        break;
    }
    entity->OpenForWrite();
    entity->RemoveAppXData(g_buildNamingAppName);
    if (!clearing)
        WriteTag(entity, name);
    entity->Close();
    return !clearing;
}

}  // namespace

namespace NameBuild {

int FT_VALID_BUILD_OBJECT::Accept(decDbEntity* entity, int& accept)
{
    accept = entity && entity->Is3DEntity() ? 1 : 0;
    return 1;
}

int AskName(CString& name, int& clear)
{
    return AskNameOrClear("请输入建筑名称<空回车清除>:", name, clear);
}

void UpdateSameOldNameBuild(const std::vector<CString>& oldNames, const CString& newName)
{
    WinBelongBuild::OwnershipRecords records;
    UpdateSameOldNameBuild(oldNames, newName, records);
}

void UpdateSameOldNameBuild(const std::vector<CString>& oldNames, const CString& newName,
                            WinBelongBuild::OwnershipRecords& records)
{
    const EntityArray same = g_ownershipIndex.NameBearers(oldNames);
    if (same.empty())
        return;
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearSelectSet(1);
    for (decDbEntity* entity : same)
        entity->SetSelected(1);
    db->RebuildSysSelectSet(0);
    CString question;
    question.Format("是否要同时更新和建筑物旧名称同名的%d个建筑对象的名称？", static_cast<int>(same.size()));
    if (MessageBoxA(dec::GetMainFrameHWnd(), question, "确认更新所属窗口", 0x2034) != IDYES)
        return;
    std::vector<WinBelongBuild::Relabel> windows;
    for (decDbEntity* entity : same)
        ApplyName(entity, newName, newName.IsEmpty(), nullptr, windows);
    records.Follow(windows);
}

bool WarnOfDash(const CString& name)
{
    if (name.Find('-') < 0)
        return false;
    dec::PrintPrompt(kDashWarning);
    return true;
}

void Dim(const CString& name)
{
    if (name.IsEmpty())
        return;
    GePoint3d point;
    if (DragBuildName(name, "请指定标注位置:", point))
        CreateBuildNameText(name, point);
}

void NameSelected()
{
    DbDatabase* db = dec::GetWorkingDatabase();
    // The records naming windows follow every pass's renames.
    WinBelongBuild::OwnershipRecords records;
    while (true) {
        CString name;
        int clear = 0;
        if (!AskName(name, clear))
            return;
        if (clear)
            name.Empty();
        else
            WarnOfDash(name);

        db->ClearSelectSet(1);
        FT_VALID_BUILD_OBJECT filter;
        decSelectSet selection;
        if (dec::decSSGet(clear ? "选择取消命名的三维对象:" : "选择要命名的三维对象:", selection, &filter, 1, nullptr) !=
            dex::eOk)
            return;
        if (selection.GetCount() == 0) {
            dec::PrintPrompt("提示：未选中三维对象!退出命令!");
            return;
        }
        CString count;
        count.Format("提示：选中%d个三维对象!", selection.GetCount());
        dec::PrintPrompt(count);

        DbAutoOpen open;
        std::vector<CString> oldNames;
        std::vector<WinBelongBuild::Relabel> windows;
        EntityArray group;
        for (int i = 0; i < selection.GetCount(); ++i)
            if (decDbEntity* entity = selection.GetEnt(i);
                entity && ApplyName(entity, name, clear != 0, &oldNames, windows))
                group.push_back(entity);
        records.Follow(windows);
        // What bears the new name already has nothing to take.
        std::erase(oldNames, name);
        if (!oldNames.empty())
            UpdateSameOldNameBuild(oldNames, name, records);
        Dim(name);
        // Clearing untagged objects alone leaves nothing to group.
        if (!group.empty())
            db->MakeGroup(group, 0);
    }
}

}  // namespace NameBuild

void CMD_NAME_BUILD()
{
    dec::PrintPrompt("***建筑命名***");
    NameBuild::NameSelected();
}
