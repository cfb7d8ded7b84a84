#pragma once
// The window information the host's analysis side reads: per window its numbers (building
// name, floor, position, household, room count), its size, the direction it faces and
// sample points one millimetre outside its opening (the two sill ends and the sill centre,
// or the centre alone).
//
// Every export takes a list of windows and appends one entry per window to each output,
// entry i of every output belonging to window i; outputs documented as replaced end up
// holding exactly one entry per window. Angles are radians from the world X axis to the
// window's outward Y axis, counter-clockwise about world Z, in [0, 2π).
//
// An entry of the list that is no window still gets one entry in every output, so they stay
// index-parallel: empty texts, zeros, and points from its transform when it is a 3-D entity
// (the origin otherwise). The sorting exports put such entries after the windows.
#include <vector>

#include "CString.h"
#include "EntityArray.h"
#include "GePoint3d.h"

class decDbEntity;

#ifndef WINDOW_INFO_EXPORT
#define WINDOW_INFO_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using WinIntVector = std::vector<int>;
using WinTextVector = std::vector<CString>;
using WinAngleVector = std::vector<double>;
using WinPointVector = std::vector<GePoint3d>;

// ---- one window ----

// Opens the window for read and copies its numbers and size (neutral values for a
// non-window).
void GetWindowAttributes(decDbEntity* entity, CString& name, int& floor, int& position, CString& door, int& room,
                         int& width, int& height);
// The sill centre and ends, each 1 mm outside the opening, and the facing angle. The width
// is narrowed to limit when 0 < limit < width. The first end lies along +X from the centre.
void GetWindowSillPts(decDbEntity* entity, GePoint3d& centre, GePoint3d& end1, GePoint3d& end2, double& angle,
                      int limit);
// The sill centre 1 mm outside the opening and the facing angle.
void GetWindowMidPt(decDbEntity* entity, GePoint3d& point, double& angle);

// ---- exports ----

// No sort; sill points narrowed to limit. The first parameter is not read.
WINDOW_INFO_EXPORT void WindowInfoFullWindow(int unread, int limit, EntityArray& windows, WinIntVector& floors,
                                             WinIntVector& positions, WinTextVector& doors, WinIntVector& rooms,
                                             WinIntVector& widths, WinIntVector& heights, WinAngleVector& angles,
                                             WinTextVector& names, WinPointVector& centres, WinPointVector& ends1,
                                             WinPointVector& ends2);
// Sorts windows in place (LessWindowByNumber with mode); full-width sill points; centres,
// ends1 and ends2 replaced.
WINDOW_INFO_EXPORT void WindowInfoFullWay(int mode, EntityArray& windows, WinIntVector& floors,
                                          WinIntVector& positions, WinTextVector& doors, WinIntVector& rooms,
                                          WinIntVector& widths, WinIntVector& heights, WinAngleVector& angles,
                                          WinTextVector& names, WinPointVector& centres, WinPointVector& ends1,
                                          WinPointVector& ends2);
// Sorts windows in place; mid points replaced.
WINDOW_INFO_EXPORT void WindowInfoMidWay(int mode, EntityArray& windows, WinIntVector& floors,
                                         WinIntVector& positions, WinTextVector& doors, WinIntVector& rooms,
                                         WinIntVector& widths, WinIntVector& heights, WinAngleVector& angles,
                                         WinTextVector& names, WinPointVector& mids);
// No sort; mid points appended. The first parameter is not read.
WINDOW_INFO_EXPORT void WindowInfoMidPt(int unread, EntityArray& windows, WinIntVector& floors,
                                        WinIntVector& positions, WinTextVector& doors, WinIntVector& rooms,
                                        WinIntVector& widths, WinIntVector& heights, WinAngleVector& angles,
                                        WinTextVector& names, WinPointVector& mids);
// No sort; building names, floors and position numbers.
WINDOW_INFO_EXPORT void WindowNumberInfo(EntityArray& windows, WinTextVector& names, WinIntVector& floors,
                                         WinIntVector& positions);
// No sort; mid points and angles.
WINDOW_INFO_EXPORT void GetWindowPosMidPoint(EntityArray& windows, WinPointVector& mids, WinAngleVector& angles);

// The selecting exports ask "请选择窗口："; 0 (outputs untouched) when nothing was selected,
// else 1 after WindowInfoFullWay / WindowInfoMidWay / the mid points (replaced) on the
// selection. Note their parameter order: points first, position numbers after room counts.
WINDOW_INFO_EXPORT int GetWindowInfoFullWay(WinPointVector& centres, WinPointVector& ends1, WinPointVector& ends2,
                                            WinTextVector& names, WinIntVector& floors, WinTextVector& doors,
                                            WinIntVector& rooms, WinIntVector& positions, WinIntVector& widths,
                                            WinIntVector& heights, WinAngleVector& angles, int mode);
WINDOW_INFO_EXPORT int GetWindowInfoMidWay(WinPointVector& mids, WinTextVector& names, WinIntVector& floors,
                                           WinTextVector& doors, WinIntVector& rooms, WinIntVector& positions,
                                           WinIntVector& widths, WinIntVector& heights, WinAngleVector& angles,
                                           int mode);
WINDOW_INFO_EXPORT int GetWindowPosMidWay(WinPointVector& mids, WinAngleVector& angles);
