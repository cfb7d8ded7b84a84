#pragma once
// Renumbering windows that stand in the drawing: `orderfloor` ("重排层号") gives the distinct
// floors of a selection of windows consecutive numbers from a start floor; `orderindex`
// ("重排窗号") numbers the windows of every floor of a selection from a start number, in
// order of increasing x (increasing y where x ties within 0.001). Both repeat their pass
// until the user cancels.
#include <vector>

#include "EntityArray.h"
#include "GePoint3d.h"
#include "OwnershipRecords.h"

class CWindow;

// The start values the next pass offers: one after the last floor, and one after the last
// position number, given (both first 1); kept until the module is unloaded.
extern int g_startWindowFloor;
extern int g_startWindowIndex;

struct WindowFloorRecord {
    CWindow* window = nullptr;
    int floor = 0;  // before renumbering
};

struct WindowSortRecord {
    CWindow* window = nullptr;
    GePoint3d origin;  // of the window's frame, in world coordinates
    int floor = 0;
};

bool LessWindowFloor(const WindowFloorRecord& a, const WindowFloorRecord& b);
bool LessWindowSortFloor(const WindowSortRecord& a, const WindowSortRecord& b);
// By x when the x differ by more than 0.001, else by y; z plays no part.
bool LessWindowSortXY(const WindowSortRecord& a, const WindowSortRecord& b);

// One pass of each command: 1 when one was done (or refused), 0 when the user cancelled. The
// ownership records naming the windows follow every pass; a pass they could not follow
// exactly (a record would name only some of the windows of one identifier) is refused with
// a message and changes nothing.
int ReorderWindowFloorOnce(WinBelongBuild::OwnershipRecords& owners);
int ReorderWindowIndexOnce(WinBelongBuild::OwnershipRecords& owners);

// The steps of the passes, in selection order. An entity that is no window is reported and
// left out.
std::vector<WindowFloorRecord> CollectWindowFloorRecords(const EntityArray& windows);
std::vector<WindowSortRecord> BuildWindowSortRecords(const EntityArray& windows);
// The distinct old floors, ascending, become start, start + 1, ...; the next start floor is
// one after the last. The ownership records naming the windows follow them, or nothing is
// written.
void WriteWindowFloors(std::vector<WindowFloorRecord>& records, int start, WinBelongBuild::OwnershipRecords& owners);
// Every floor's windows are numbered from start (NumberWindowRun); the next start number is
// one after the last number of the highest floor. The ownership records naming the windows
// follow the whole pass at once, or nothing is written.
void NumberWindowSortRecords(std::vector<WindowSortRecord>& records, int start,
                             WinBelongBuild::OwnershipRecords& owners);
// The numbers of the windows of one floor from start in plan order, appended to renumbering;
// gives one after the last number.
int NumberWindowRun(std::vector<WindowSortRecord>& run, int start, WinBelongBuild::Relabelling& renumbering);
