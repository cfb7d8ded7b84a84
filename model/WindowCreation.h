#pragma once
// Putting new windows into the drawing, the way every window insertion command does: on
// layer "窗" with material "蓝色窗", labelled with the drawing's window text heights and
// scale, numbered by position and floor, with the household starting as the position number.
//
// The ownership records ("WIN_BELONG_BLD") name windows by identifier "NAME-FLOOR-POSITION",
// so a window made with the identifier of a window a record names would slip into that record
// beside it. A command first asks JoiningClash of all the windows of its pass and makes none of
// them when it answers: a record must keep naming the windows it named. A window coming into an
// identifier that only erased windows bore joins the records holding it (a bay whose window was
// replaced takes the new one).
//
// A window's frame: origin at the middle of its sill, X along the sill from the right end to
// the left end as seen from outside, Z the world Z axis and Y = Z × X out of the building.
#include <optional>
#include <span>
#include <vector>

#include "CString.h"
#include "GeMatrix3d.h"
#include "GePoint3d.h"
#include "GeVector3d.h"
#include "OwnershipRecords.h"

class DbDatabase;

// What every window of one insertion shares.
struct WindowLook {
    long layerId = 0;
    long materialId = 0;
    double horDimHeight = 2.5;  // plan label text height (window kind 1)
    double verDimHeight = 1.0;  // elevation label text height (window kind 2)
    double scale = 500.0;
};

// The numbers and size of one new window.
struct WindowNumbers {
    CString building;
    int position = 1;
    int floor = 1;
    int width = 0;
    int height = 0;
    // The position number written out when not given.
    std::optional<CString> household = std::nullopt;
};

// One window a pass is to make.
struct NewWindow {
    WindowNumbers numbers;
    GeMatrix3d frame = GeMatrix3d();
};

// Finds or makes the layer and the material (the database open for write) and reads the
// drawing's label heights and scale.
WindowLook PrepareWindowLook(DbDatabase* db);
// The same on a layer the caller found or made itself.
WindowLook PrepareWindowLook(DbDatabase* db, long layerId);
// The layer "窗" as it stands (neither recoloured nor shown), made with its colour only when
// missing; 0 when it cannot be made.
long FindOrMakeWindowLayer(DbDatabase* db);

// The frame of a window at origin whose sill runs along xAxis. xAxis is levelled and
// normalised; false (frame untouched) when it has no plan direction (shorter than 0.001),
// which would give a window no facing, or when origin or axis is not finite (typed or
// computed too far out to hold).
bool MakeWindowFrame(const GePoint3d& origin, GeVector3d xAxis, GeMatrix3d& frame);

// What refuses a pass of new windows: one that would bear an identifier an ownership record
// holds (one of the drawing's, or one the same step writes, given by its identifiers) while a
// window of the drawing bears it. Nothing when the pass may be made. It costs a look-up per
// window in the module's index, and the records holding an identifier in use.
std::optional<WinBelongBuild::Clash> JoiningClash(std::span<const NewWindow> windows,
                                                  const std::vector<std::vector<CString>>& written = {});

// What to do instead of a column refused so, in a command whose dialog sets the position
// number once a run.
constexpr const char* kColumnRecordsAdvice =
    "请重新插窗，在【窗位】中把窗号设在已用的窗号之后，或先用【重排窗号】给已有的同号窗口重新编号。";

// Creates one window with the numbers, size and look, placed by the frame. 1 when it entered
// the drawing (the database open for write), else 0. Its pass has passed JoiningClash.
int CreateNumberedWindow(DbDatabase* db, const WindowLook& look, const NewWindow& made);
// The same for every window of a pass; how many entered the drawing.
int CreateNumberedWindows(DbDatabase* db, const WindowLook& look, std::span<const NewWindow> windows);
