// winbld (窗属建筑): ties an auxiliary building to windows of the building bearing its name.
#include <array>
#include <optional>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "ModelEntityCollect.h"
#include "ModelHelperWindows.h"
#include "OrvCommandHandlers.h"
#include "OwnershipRecords.h"
#include "Window.h"
#include "WinBelongBuild.h"
#include "WindowInfoExports.h"
#include "WorkingDrawing.h"

namespace {

constexpr std::uint32_t kHighlightColour = 0xFF;
// A window not picked bearing the identifier of one picked would be named by the record too;
// what to do instead.
constexpr const char* kTwinAdvice = "请先用【重排窗号】或窗口特性给同号的窗口改用不同的编号，再指定窗属建筑。";

// Takes the windows of one building (exact, case-sensitive name).
class CWindowFilter : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        const CWindow* window = IsWindow(entity) ? CWindow::Cast(entity->GetBaseObject()) : nullptr;
        accept = window && window->BuildName() == m_strBuild ? 1 : 0;
        return 1;
    }
    CString m_strBuild;
};

// The identifiers "NAME-FLOOR-POSITION" of the windows, in their order. A lone identifier that
// the reader would take for a column (floor 0) is written twice, so the record names that
// window alone.
std::vector<CString> WindowIds(const EntityArray& windows)
{
    std::vector<CString> ids;
    for (decDbEntity* window : windows) {
        CString name, door;
        int floor = 0, position = 0, room = 0, width = 0, height = 0;
        GetWindowAttributes(window, name, floor, position, door, room, width, height);
        ids.push_back(WinBelongBuild::WindowId(name, floor, position));
    }
    if (ids.size() == 1 && WinBelongBuild::ReadColumn(ids.front()))
        ids.push_back(ids.front());
    return ids;
}

// True, with the refusal printed, when a window of the drawing that is not picked bears the
// identifier of one picked.
bool RefuseTwins(const EntityArray& windows)
{
    std::vector<const CWindow*> picked;
    for (decDbEntity* window : windows)
        if (const CWindow* w = CWindow::Cast(window->GetBaseObject()))
            picked.push_back(w);
    const std::optional<WinBelongBuild::Clash> twin = WinBelongBuild::OwnershipRecords::Twin(picked);
    if (twin)
        dec::PrintPrompt(WinBelongBuild::Refusal(*twin, kTwinAdvice));
    return twin.has_value();
}

}  // namespace

namespace WinBelongBuild {

int SelectBuild(CString prompt, decDbEntity*& entity, CString& name)
{
    ModelHelper::FT_ALL_BUILD filter;
    while (true) {
        entity = PickEntity(prompt, filter);
        if (!entity) {
            dec::PrintPrompt("选择取消，退出命令");
            return 0;
        }
        if (BuildName(entity, name))
            break;
        dec::PrintPrompt("错误：选中建筑物没有命名，附属建筑物必须命名！请重新选择。");
    }
    CString picked;
    picked.Format("提示：选中建筑物名称为<%s>。", name.GetString());
    dec::PrintPrompt(picked);
    return 1;
}

int SelectWindow(CString name, EntityArray& windows, CString prompt, int& cleared)
{
    CWindowFilter filter;
    filter.m_strBuild = name;
    dec::GetWorkingDatabase()->ClearSelectSet(1);
    decSelectSet selection;
    const int result = dec::decSSGet(prompt, selection, &filter, 1, nullptr);
    if (result == dex::eCancel) {
        dec::PrintPrompt("提示：取消选择，退出命令。");
        return 0;
    }
    if (result == dex::eOk && selection.GetCount() > 0) {
        for (int i = 0; i < selection.GetCount(); ++i)
            if (decDbEntity3d* window = decDbEntity3d::Cast(selection.GetEnt(i)))
                windows.push_back(window);
        return windows.empty() ? 0 : 1;
    }
    dec::PrintPrompt("提示：清除附属信息");
    cleared = 1;
    return 1;
}

void HighlightBuild(decDbEntity* entity)
{
    if (!entity)
        return;
    GeBoundBox3d box;
    entity->GetBoundBox(box);
    const GePoint3d& lo = box.MinPoint();
    const GePoint3d& hi = box.MaxPoint();
    const std::array<GePoint3d, 5> bottom = {
        GePoint3d(lo.x, lo.y, lo.z), GePoint3d(hi.x, lo.y, lo.z), GePoint3d(hi.x, hi.y, lo.z),
        GePoint3d(lo.x, hi.y, lo.z), GePoint3d(lo.x, lo.y, lo.z),
    };
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearTempGraphics();
    db->DrawTempPolyline(bottom.data(), static_cast<int>(bottom.size()), kHighlightColour, 0, 1);
}

}  // namespace WinBelongBuild

void CMD_WIN_BELONG_BUILD()
{
    dec::PrintPrompt("***建筑属窗***");
    dec::PrintPrompt("提示：该命令用于处理转角窗和阳台对附属窗口自遮挡问题。");
    decDbEntity* building = nullptr;
    CString name;
    if (!WinBelongBuild::SelectBuild("请选择附属建筑（建筑须已命名）", building, name))
        return;
    WinBelongBuild::HighlightBuild(building);
    EntityArray windows;
    int cleared = 0;
    if (!WinBelongBuild::SelectWindow(name, windows, "请选择所属的同一建筑物上窗口（不选择清除窗属信息）：", cleared))
        return;
    // The record names windows by identifier: it cannot name some of the windows bearing one.
    if (!cleared && RefuseTwins(windows))
        return;
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    // The old list goes first, so an empty selection leaves the building without one.
    WinBelongBuild::DetachWindowIds(building);
    if (!cleared) {
        WinBelongBuild::AttachWindowIds(building, WindowIds(windows));
        db->ClearTempGraphics();
    }
    db->Close();
}
