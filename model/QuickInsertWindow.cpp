// The whole-row window command `qwin` ("整体插窗"): the user picks the bottom (or top) edge of
// a wall of a building or an extrusion solid, the end nearer to the pick being where the row
// starts; the dialog then fills the edge with rows of windows over a range of storeys. Each
// "应用" starts a new pass with a new pick; Esc or Cancel ends the command.
#include <utility>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "FacadeWallPick.h"
#include "InstQuickWdwDlg.h"
#include "ModelHelperBuildings.h"
#include "OrvCommandHandlers.h"
#include "WinApp.h"
#include "WorkingDrawing.h"

namespace {

constexpr int kStartMarkSize = 20;
constexpr std::uint32_t kStartMarkColour = 0xff00;

// The picked wall handed to the dialog: its points (the ends of a wall that runs clockwise
// round its outline swapped, so that the row's windows face out of it), the end nearer to the
// pick and the building's name.
void TakeWall(FacadeWall& picked, CInstQuickWdwDlg& dialog)
{
    GePoint3dArray& wall = picked.wall;
    if (picked.clockwise) {
        std::swap(wall[0], wall[1]);
        std::swap(wall[2], wall[3]);
    }
    const int startIndex = picked.pickPoint.DistanceTo(wall[1]) < picked.pickPoint.DistanceTo(wall[0]) ? 1 : 0;
    CString name;
    if (!BuildName(picked.entity, name))
        name = "";
    dialog.m_strBuildName = name;
    dialog.m_edgePoints = wall;
    dialog.m_nStartIndex = startIndex;
    HighlightFacadeWall(wall, wall[static_cast<std::size_t>(startIndex)], kStartMarkSize, kStartMarkColour);
}

// One pick of an edge (repeatable until Enter) and one dialog; true when the dialog made its
// windows and the command goes on.
bool RunPass()
{
    DbAutoOpen open(1);
    CInstQuickWdwDlg dialog;
    bool taken = false;
    while (true) {
        FacadeWall picked;
        const FacadePick result = PickFacadeWall(picked);
        if (result == FacadePick::Cancelled)
            return false;
        if (result == FacadePick::Ended)
            break;
        if (result == FacadePick::Wall) {
            TakeWall(picked, dialog);
            taken = true;
        }
    }
    if (!taken) {
        dec::PrintPrompt("提示：没有选中墙面，命令退出！");
        return false;
    }
    return dialog.DoModal() == IDOK;
}

}  // namespace

void CMD_QUICK_INSERT_WINDOW()
{
    dec::PrintPrompt("***快速插窗***");
    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    dec::GetWorkingDatabase()->ClearSelectSet(1);
    while (RunPass()) {
    }
}
