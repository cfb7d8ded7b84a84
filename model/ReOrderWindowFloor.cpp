#include "ReOrderWindowFloor.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "AssertReport.h"
#include "CommandLine.h"
#include "CurrentLayerRestore.h"
#include "DragCallback.h"
#include "ModelHelperWindows.h"
#include "OrvCommandHandlers.h"
#include "OwnershipRecords.h"
#include "TypedNumbers.h"
#include "Window.h"
#include "decDbEntity.h"

int g_startWindowFloor = 1;
int g_startWindowIndex = 1;

namespace {

// Windows closer than this in x stand in one column.
constexpr double kColumnTol = 0.001;
// The start question takes a point (asked again) or typed text (0x100), and Enter.
constexpr unsigned kStartInputFlags = 257;

CWindow* WindowOf(decDbEntity* entity)
{
    return entity ? CWindow::Cast(entity->GetBaseObject()) : nullptr;
}

// The next number, held at the int's limit: a start typed near it must not wrap around.
int Next(int number)
{
    return number == INT_MAX ? number : number + 1;
}

// Asks a start value offered as remembered. 1 with start set (a typed value when its number
// is not negative, a leading "-" ignored), 0 when cancelled or the typed text is only "-". A
// text that is no whole number ("3x", "3。5") is asked again, as a click is.
int AskStartValue(const char* format, int remembered, int& start)
{
    start = remembered;
    char prompt[64];
    std::snprintf(prompt, sizeof prompt, format, start);
    dec::PrintPrompt(prompt);
    decDragCallback callback;
    callback.SetUserInputFlags(kStartInputFlags);
    GePoint3d scratch;
    while (true) {
        const int result = dec::GetDragPoint(&callback, &scratch, 1);
        if (result == dex::eOk) {
            dec::PrintPrompt(prompt);
            continue;
        }
        if (result == dex::eEmpty)
            return 1;
        if (result != dex::eTextInput)
            return 0;
        std::string text = callback.GetUserString();
        text.erase(0, text.find_first_not_of('-'));
        if (text.empty())
            return 0;
        const std::optional<int> number = TypedInt(text.c_str());
        if (!number) {
            dec::PrintPrompt(prompt);
            continue;
        }
        if (*number >= 0)
            start = *number;
        return 1;
    }
}

int SelectWindowsForFloor(EntityArray& windows)
{
    windows.clear();
    return SelectWindow(windows, "选择要重排层号的窗口:");
}

int SelectWindowsForIndex(EntityArray& windows)
{
    windows.clear();
    return SelectWindow(windows, "选择要重排窗位的窗口:");
}

int GetStartWindowFloor(int& start)
{
    if (!AskStartValue("输入起始层号[%d]:", g_startWindowFloor, start))
        return 0;
    // A typed start floor is remembered at once, even before the windows are renumbered.
    g_startWindowFloor = start;
    return 1;
}

int GetStartWindowIndex(int& start)
{
    return AskStartValue("输入起始窗号[%d]:", g_startWindowIndex, start);
}

// A pass that would leave an ownership record naming only some of the windows of one
// identifier is refused; what to do instead.
constexpr const char* kFloorAdvice = "请把将与之同号的窗口一起选中重排，或改用未用的起始层号。";
constexpr const char* kIndexAdvice = "请把同层将与之同号的窗口一起选中重排，或改用未用的起始窗号。";

}  // namespace

bool LessWindowFloor(const WindowFloorRecord& a, const WindowFloorRecord& b)
{
    return a.floor < b.floor;
}

bool LessWindowSortFloor(const WindowSortRecord& a, const WindowSortRecord& b)
{
    return a.floor < b.floor;
}

bool LessWindowSortXY(const WindowSortRecord& a, const WindowSortRecord& b)
{
    if (std::fabs(a.origin.x - b.origin.x) > kColumnTol)
        return a.origin.x < b.origin.x;
    return a.origin.y < b.origin.y;
}

std::vector<WindowFloorRecord> CollectWindowFloorRecords(const EntityArray& windows)
{
    std::vector<WindowFloorRecord> records;
    for (decDbEntity* entity : windows) {
        CWindow* window = WindowOf(entity);
        if (!window) {
            // Nothing could be written through such a record.
            ReportAssertFailure("info.pWin != NULL && \"重排层号窗异常！\"", "ReOrderWindowFloor", __LINE__);
            continue;
        }
        records.push_back({window, window->Floor()});
    }
    return records;
}

void WriteWindowFloors(std::vector<WindowFloorRecord>& records, int start, WinBelongBuild::OwnershipRecords& owners)
{
    if (records.empty())
        return;
    std::sort(records.begin(), records.end(), LessWindowFloor);
    WinBelongBuild::Relabelling renumbering;
    int newFloor = start;
    int oldFloor = records.front().floor;
    for (const WindowFloorRecord& record : records) {
        if (record.floor != oldFloor) {
            oldFloor = record.floor;
            newFloor = Next(newFloor);
        }
        WinBelongBuild::WindowLabel label = WinBelongBuild::LabelOf(*record.window);
        label.floor = newFloor;
        renumbering.emplace_back(record.window, label);
    }
    records.clear();
    if (owners.RelabelWindows(renumbering, kFloorAdvice))
        g_startWindowFloor = Next(newFloor);
}

std::vector<WindowSortRecord> BuildWindowSortRecords(const EntityArray& windows)
{
    std::vector<WindowSortRecord> records;
    for (decDbEntity* entity : windows) {
        CWindow* window = WindowOf(entity);
        if (!window)
            continue;
        entity->OpenForRead();
        GePoint3d origin;
        GeVector3d x, y, z;
        entity->GetLocalTM().GetCoordSystem(origin, x, y, z);
        entity->Close();
        records.push_back({window, origin, window->Floor()});
    }
    return records;
}

int NumberWindowRun(std::vector<WindowSortRecord>& run, int start, WinBelongBuild::Relabelling& renumbering)
{
    // The plan order ties windows within 0.001 in x and then compares y, which is no strict
    // order over a whole facade; a merge sort stays within the run whatever the comparisons.
    std::stable_sort(run.begin(), run.end(), LessWindowSortXY);
    int number = start;
    for (const WindowSortRecord& record : run) {
        WinBelongBuild::WindowLabel label = WinBelongBuild::LabelOf(*record.window);
        label.position = number;
        renumbering.emplace_back(record.window, label);
        number = Next(number);
    }
    return number;
}

void NumberWindowSortRecords(std::vector<WindowSortRecord>& records, int start,
                             WinBelongBuild::OwnershipRecords& owners)
{
    if (records.empty())
        return;
    // Windows one above the other in plan on one floor keep the order they were selected in.
    std::stable_sort(records.begin(), records.end(), LessWindowSortFloor);
    // Every window's new number, so the records follow the whole pass at once.
    WinBelongBuild::Relabelling renumbering;
    int next = start;
    std::vector<WindowSortRecord> run;
    for (std::size_t first = 0; first < records.size();) {
        run.clear();
        std::size_t end = first;
        while (end < records.size() && records[end].floor == records[first].floor)
            run.push_back(records[end++]);
        next = NumberWindowRun(run, start, renumbering);
        first = end;
    }
    if (owners.RelabelWindows(renumbering, kIndexAdvice))
        g_startWindowIndex = next;
}

int ReorderWindowFloorOnce(WinBelongBuild::OwnershipRecords& owners)
{
    EntityArray windows;
    int start = 0;
    if (!SelectWindowsForFloor(windows) || !GetStartWindowFloor(start))
        return 0;
    std::vector<WindowFloorRecord> records = CollectWindowFloorRecords(windows);
    WriteWindowFloors(records, start, owners);
    return 1;
}

int ReorderWindowIndexOnce(WinBelongBuild::OwnershipRecords& owners)
{
    EntityArray windows;
    int start = 0;
    if (!SelectWindowsForIndex(windows) || !GetStartWindowIndex(start))
        return 0;
    std::vector<WindowSortRecord> records = BuildWindowSortRecords(windows);
    NumberWindowSortRecords(records, start, owners);
    return 1;
}

void CMD_REORDER_WINDOW_FLOOR()
{
    dec::PrintPrompt("***重排窗层号***");
    WinBelongBuild::OwnershipRecords owners;
    RunPassesKeepingCurrentLayer([&owners] { return ReorderWindowFloorOnce(owners); });
}

void CMD_REORDER_WINDOW_INDEX()
{
    dec::PrintPrompt("***重排窗位号***");
    WinBelongBuild::OwnershipRecords owners;
    RunPassesKeepingCurrentLayer([&owners] { return ReorderWindowIndexOnce(owners); });
}
