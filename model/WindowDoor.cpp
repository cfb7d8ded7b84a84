#include "WindowDoor.h"

#include <cctype>
#include <cmath>
#include <string>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "Input.h"
#include "ModelHelperWindows.h"
#include "OrvCommandHandlers.h"
#include "Window.h"
#include "WorkingDrawing.h"

namespace {

constexpr int kMinRooms = 1;
constexpr int kMaxRooms = 50;
// The room count a run of the command starts with.
constexpr int kFirstRoomCount = 2;

CWindow* WindowOf(decDbEntity* entity)
{
    return entity ? CWindow::Cast(entity->GetBaseObject()) : nullptr;
}

// The room count a typed number gives: truncated towards zero. A number beyond any count
// (or no number at all) gives 0, which the range check refuses like any other.
int TruncatedRoomCount(double value)
{
    if (!(std::fabs(value) < 1e9))
        return 0;
    return static_cast<int>(value);
}

void WriteHousehold(const EntityArray& windows, const CString& name, int prefix, int rooms)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    for (decDbEntity* entity : windows) {
        CWindow* window = WindowOf(entity);
        if (!window)
            continue;
        window->OpenForWrite();
        CString household;
        if (prefix)
            household.Format("%d-", window->Floor());
        household += name;
        window->SetDoor(household);
        window->SetRoom(rooms);
        window->Close();
    }
    db->Close();
}

}  // namespace

CString SuggestedDoorName(const CString& door)
{
    const int dash = door.Find('-', 1);
    return dash < 0 ? door : door.Mid(dash + 1);
}

int AskDoorName(CString& name, int& prefix)
{
    const std::string prompt = std::string("请输入分户名称<") + name.GetString() + ">:";
    int result = dec::GetString(prompt.c_str(), name, 1);
    if (result == dex::eCancel)
        return 0;
    while (true) {
        if (result == dex::eEnded)
            return 0;
        if (result == dex::eEmpty || !name.IsEmpty())
            break;
        result = dec::GetString(prompt.c_str(), name, 1);
        if (result == dex::eCancel)
            return 0;
    }
    CString answer;
    result = dec::GetString("分户名称前是否自动加层号前缀？[是(Y)/否(N)]<是>:", answer, 1);
    if (result == dex::eCancel)
        return 0;
    prefix = 1;
    if (result == dex::eEnded)
        prefix = 0;
    else if (!answer.IsEmpty())
        prefix = std::toupper(static_cast<unsigned char>(answer[0])) == 'Y' ? 1 : 0;
    return 1;
}

int AskRoomCount(int& count)
{
    while (true) {
        double value = count;
        if (dec::GetReal("请输入户含居室数：", &value, count, 0) == dex::eCancel)
            return 0;
        count = TruncatedRoomCount(value);
        if (count >= kMinRooms && count <= kMaxRooms)
            return 1;
        dec::PrintPrompt("错误：请输入一个合理的居室数。");
    }
}

void SetWindowDoor()
{
    int rooms = kFirstRoomCount;
    while (true) {
        EntityArray windows;
        if (!SelectWindow(windows, "请选择窗口："))
            return;
        CWindow* first = WindowOf(windows.front());
        CString name = first ? SuggestedDoorName(first->Door()) : CString();
        int prefix = 0;
        if (!AskDoorName(name, prefix) || !AskRoomCount(rooms))
            return;
        WriteHousehold(windows, name, prefix, rooms);
    }
}

void CMD_WINDOW_DOOR()
{
    dec::PrintPrompt("***窗分户号***");
    SetWindowDoor();
}
