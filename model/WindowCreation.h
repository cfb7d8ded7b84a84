#pragma once
// Putting new windows into the drawing, the way every window insertion command does: on
// layer "窗" with material "蓝色窗", labelled with the drawing's window text heights and
// scale, numbered by position and floor, with the household starting as the position number.
//
// A window's frame: origin at the middle of its sill, X along the sill from the right end to
// the left end as seen from outside, Z the world Z axis and Y = Z × X out of the building.
#include "CString.h"
#include "GeMatrix3d.h"
#include "GePoint3d.h"
#include "GeVector3d.h"

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

// Creates one window with the numbers, size and look, placed by the frame. 1 when it entered
// the drawing (the database open for write), else 0.
int CreateNumberedWindow(DbDatabase* db, const WindowLook& look, const WindowNumbers& numbers, const GeMatrix3d& frame);
