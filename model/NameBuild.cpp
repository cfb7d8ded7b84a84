#include "NameBuild.h"

#include <algorithm>
#include <iterator>

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
// A naming that would leave an ownership record naming only some of the windows of one
// identifier is refused; what to do instead.
constexpr const char* kNameAdvice =
    "请改用其他建筑未用的名称；确需合并两栋建筑时，先用【重排窗号】使两者的窗口编号不再相同。";

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

// Gives one building, tagged or other object the name the way its kind takes it.
void ApplyName(decDbEntity* entity, const CString& name, bool clearing)
{
    switch (KindOf(entity)) {
    case NamedKind::Building: {
        CExtrudeBuild* pBuild = CExtrudeBuild::Cast(entity->GetBaseObject());
        pBuild->OpenForWrite();
        pBuild->SetName(name);
        pBuild->Close();
        return;
    }
    case NamedKind::Tagged:
        entity->OpenForWrite();
        WriteTag(entity, name);
        entity->Close();
        return;
    case NamedKind::Window:
        // Windows take the name with the records naming them (OwnershipRecords).
        return;
    case NamedKind::Other:
        entity->OpenForWrite();
        entity->RemoveAppXData(g_buildNamingAppName);
        if (!clearing)
            WriteTag(entity, name);
        entity->Close();
        return;
    }
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

Naming::Naming(const CString& name, bool clearing) : m_name(name), m_clearing(clearing) {}

bool Naming::Add(decDbEntity* entity, std::vector<CString>* oldNames)
{
    const NamedKind kind = KindOf(entity);
    CString old;
    switch (kind) {
    case NamedKind::Building: {
        const CExtrudeBuild* pBuild = CExtrudeBuild::Cast(entity->GetBaseObject());
        if (!ORV_ASSERT(pBuild, "NameBuild"))
            return false;
        old = pBuild->Name();
        break;
    }
    case NamedKind::Tagged:
        if (!ORV_ASSERT(decDbEntity3d::Cast(entity), "NameBuild"))
            return false;
        BuildName(entity, old);
        break;
    case NamedKind::Window: {
        CWindow* pWin = CWindow::Cast(entity->GetBaseObject());
        if (!ORV_ASSERT(pWin, "NameBuild"))
            return false;
        WinBelongBuild::WindowLabel label = WinBelongBuild::LabelOf(*pWin);
        label.name = m_name;
        m_windows.emplace_back(pWin, label);
        break;
    }
    case NamedKind::Other:
        break;
    }
    if (oldNames && !old.IsEmpty())
        oldNames->push_back(old);
    m_named.push_back(entity);
    m_held.insert(entity);
    // Clearing an untagged object leaves nothing to group.
    return kind != NamedKind::Other || !m_clearing;
}

bool Naming::Holds(const decDbEntity* entity) const
{
    return m_held.contains(entity);
}

bool Naming::Write()
{
    if (!WinBelongBuild::OwnershipRecords().RelabelWindows(m_windows, kNameAdvice))
        return false;
    for (decDbEntity* entity : m_named)
        if (KindOf(entity) != NamedKind::Window)
            ApplyName(entity, m_name, m_clearing);
    return true;
}

void UpdateSameOldNameBuild(const std::vector<CString>& oldNames, const CString& newName)
{
    Naming naming(newName, newName.IsEmpty());
    UpdateSameOldNameBuild(oldNames, naming);
    naming.Write();
}

void UpdateSameOldNameBuild(const std::vector<CString>& oldNames, Naming& naming)
{
    const EntityArray same = g_ownershipIndex.NameBearers(oldNames);
    // What the naming names already takes the new name with it.
    EntityArray offered;
    std::copy_if(same.begin(), same.end(), std::back_inserter(offered),
                 [&naming](const decDbEntity* entity) { return !naming.Holds(entity); });
    if (offered.empty())
        return;
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearSelectSet(1);
    for (decDbEntity* entity : offered)
        entity->SetSelected(1);
    db->RebuildSysSelectSet(0);
    CString question;
    question.Format("是否要同时更新和建筑物旧名称同名的%d个建筑对象的名称？", static_cast<int>(offered.size()));
    if (MessageBoxA(dec::GetMainFrameHWnd(), question, "确认更新所属窗口", 0x2034) != IDYES)
        return;
    for (decDbEntity* entity : offered)
        naming.Add(entity, nullptr);
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
        Naming naming(name, clear != 0);
        std::vector<CString> oldNames;
        EntityArray group;
        for (int i = 0; i < selection.GetCount(); ++i)
            if (decDbEntity* entity = selection.GetEnt(i); entity && naming.Add(entity, &oldNames))
                group.push_back(entity);
        // What bears the new name already has nothing to take.
        std::erase(oldNames, name);
        if (!oldNames.empty())
            UpdateSameOldNameBuild(oldNames, naming);
        // A pass the ownership records could not follow names nothing.
        if (!naming.Write())
            continue;
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
