#include "WindowInfoExports.h"

#include <algorithm>

#include "ModelHelperWindows.h"
#include "Window.h"
#include "decDbEntity.h"

namespace {

// Angles of directions closer than this are equal.
constexpr double kAngleTol = 1e-6;
// The sample points lie this far outside the opening, along the window's Y axis.
constexpr double kOutside = 1.0;
const char* const kSelectPrompt = "请选择窗口：";

CWindow* WindowOf(decDbEntity* entity)
{
    return entity ? CWindow::Cast(entity->GetBaseObject()) : nullptr;
}

// The frame of the entity's transform. An entity without one (no 3-D entity) gives the
// origin and zero axes, so its sample points are the origin and its angle is 0.
void FrameOf(decDbEntity* entity, GePoint3d& origin, GeVector3d& x, GeVector3d& y)
{
    origin = GePoint3d();
    x = y = GeVector3d();
    if (const decDbEntity3d* solid = decDbEntity3d::Cast(entity)) {
        GeVector3d z;
        solid->GetTM().GetCoordSystem(origin, x, y, z);
    }
}

// From the world X axis to the outward axis, counter-clockwise about world Z.
double FacingAngle(const GeVector3d& outward)
{
    return GeVector3d::kXAxis.AngleTo(outward, GeVector3d::kZAxis, kAngleTol);
}

int WidthOf(decDbEntity* entity)
{
    CWindow* window = WindowOf(entity);
    if (!window)
        return 0;
    window->OpenForRead();
    const int width = window->Width();
    window->Close();
    return width;
}

// The outputs every export with numbers fills, appended one entry per window.
struct AttributeOutputs {
    WinIntVector& floors;
    WinIntVector& positions;
    WinTextVector& doors;
    WinIntVector& rooms;
    WinIntVector& widths;
    WinIntVector& heights;
    WinTextVector& names;

    void Reserve(std::size_t more)
    {
        for (WinIntVector* v : {&floors, &positions, &rooms, &widths, &heights})
            v->reserve(v->size() + more);
        doors.reserve(doors.size() + more);
        names.reserve(names.size() + more);
    }

    void Append(decDbEntity* entity)
    {
        CString name, door;
        int floor = 0, position = 0, room = 0, width = 0, height = 0;
        GetWindowAttributes(entity, name, floor, position, door, room, width, height);
        floors.push_back(floor);
        positions.push_back(position);
        doors.push_back(door);
        rooms.push_back(room);
        widths.push_back(width);
        heights.push_back(height);
        names.push_back(name);
    }
};

void Reserve(std::vector<GePoint3d>& v, std::size_t more)
{
    v.reserve(v.size() + more);
}

// Sill points (narrowed to limit), angles and numbers of every window, appended.
void AppendFull(const EntityArray& windows, int limit, AttributeOutputs& numbers, WinAngleVector& angles,
                WinPointVector& centres, WinPointVector& ends1, WinPointVector& ends2)
{
    numbers.Reserve(windows.size());
    angles.reserve(angles.size() + windows.size());
    for (WinPointVector* v : {&centres, &ends1, &ends2})
        Reserve(*v, windows.size());
    for (decDbEntity* entity : windows) {
        GePoint3d centre, end1, end2;
        double angle = 0.0;
        GetWindowSillPts(entity, centre, end1, end2, angle, limit);
        numbers.Append(entity);
        centres.push_back(centre);
        ends1.push_back(end1);
        ends2.push_back(end2);
        angles.push_back(angle);
    }
}

// Mid points, angles and numbers of every window, appended.
void AppendMid(const EntityArray& windows, AttributeOutputs& numbers, WinAngleVector& angles, WinPointVector& mids)
{
    numbers.Reserve(windows.size());
    angles.reserve(angles.size() + windows.size());
    Reserve(mids, windows.size());
    for (decDbEntity* entity : windows) {
        GePoint3d mid;
        double angle = 0.0;
        GetWindowMidPt(entity, mid, angle);
        numbers.Append(entity);
        mids.push_back(mid);
        angles.push_back(angle);
    }
}

void AppendMidPoints(const EntityArray& windows, WinPointVector& mids, WinAngleVector& angles)
{
    Reserve(mids, windows.size());
    angles.reserve(angles.size() + windows.size());
    for (decDbEntity* entity : windows) {
        GePoint3d mid;
        double angle = 0.0;
        GetWindowMidPt(entity, mid, angle);
        mids.push_back(mid);
        angles.push_back(angle);
    }
}

}  // namespace

// ---- one window ----------------------------------------------------------------------

void GetWindowAttributes(decDbEntity* entity, CString& name, int& floor, int& position, CString& door, int& room,
                         int& width, int& height)
{
    CWindow* window = WindowOf(entity);
    if (!window) {
        name = door = CString();
        floor = position = room = width = height = 0;
        return;
    }
    window->OpenForRead();
    name = window->BuildName();
    floor = window->Floor();
    position = window->Index();
    door = window->Door();
    room = window->Room();
    width = window->Width();
    height = window->Height();
    window->Close();
}

void GetWindowSillPts(decDbEntity* entity, GePoint3d& centre, GePoint3d& end1, GePoint3d& end2, double& angle,
                      int limit)
{
    GeVector3d x, y;
    FrameOf(entity, centre, x, y);
    angle = FacingAngle(y);
    int width = WidthOf(entity);
    if (limit > 0 && limit < width)
        width = limit;
    const double half = width * 0.5;
    end1 = centre + x * half;
    end2 = centre - x * half;
    const GeVector3d out = y * kOutside;
    centre += out;
    end1 += out;
    end2 += out;
}

void GetWindowMidPt(decDbEntity* entity, GePoint3d& point, double& angle)
{
    GeVector3d x, y;
    FrameOf(entity, point, x, y);
    angle = FacingAngle(y);
    point += y * kOutside;
}

// ---- exports -------------------------------------------------------------------------

void WindowInfoFullWindow(int, int limit, EntityArray& windows, WinIntVector& floors, WinIntVector& positions,
                          WinTextVector& doors, WinIntVector& rooms, WinIntVector& widths, WinIntVector& heights,
                          WinAngleVector& angles, WinTextVector& names, WinPointVector& centres,
                          WinPointVector& ends1, WinPointVector& ends2)
{
    AttributeOutputs numbers{floors, positions, doors, rooms, widths, heights, names};
    AppendFull(windows, limit, numbers, angles, centres, ends1, ends2);
}

void WindowInfoFullWay(int mode, EntityArray& windows, WinIntVector& floors, WinIntVector& positions,
                       WinTextVector& doors, WinIntVector& rooms, WinIntVector& widths, WinIntVector& heights,
                       WinAngleVector& angles, WinTextVector& names, WinPointVector& centres,
                       WinPointVector& ends1, WinPointVector& ends2)
{
    SortWindowsByNumber(windows, mode);
    AttributeOutputs numbers{floors, positions, doors, rooms, widths, heights, names};
    WinPointVector newCentres, newEnds1, newEnds2;
    AppendFull(windows, 0, numbers, angles, newCentres, newEnds1, newEnds2);
    centres = std::move(newCentres);
    ends1 = std::move(newEnds1);
    ends2 = std::move(newEnds2);
}

void WindowInfoMidWay(int mode, EntityArray& windows, WinIntVector& floors, WinIntVector& positions,
                      WinTextVector& doors, WinIntVector& rooms, WinIntVector& widths, WinIntVector& heights,
                      WinAngleVector& angles, WinTextVector& names, WinPointVector& mids)
{
    SortWindowsByNumber(windows, mode);
    AttributeOutputs numbers{floors, positions, doors, rooms, widths, heights, names};
    WinPointVector newMids;
    AppendMid(windows, numbers, angles, newMids);
    mids = std::move(newMids);
}

void WindowInfoMidPt(int, EntityArray& windows, WinIntVector& floors, WinIntVector& positions, WinTextVector& doors,
                     WinIntVector& rooms, WinIntVector& widths, WinIntVector& heights, WinAngleVector& angles,
                     WinTextVector& names, WinPointVector& mids)
{
    AttributeOutputs numbers{floors, positions, doors, rooms, widths, heights, names};
    AppendMid(windows, numbers, angles, mids);
}

void WindowNumberInfo(EntityArray& windows, WinTextVector& names, WinIntVector& floors, WinIntVector& positions)
{
    names.reserve(names.size() + windows.size());
    floors.reserve(floors.size() + windows.size());
    positions.reserve(positions.size() + windows.size());
    for (decDbEntity* entity : windows) {
        CString name, door;
        int floor = 0, position = 0, room = 0, width = 0, height = 0;
        GetWindowAttributes(entity, name, floor, position, door, room, width, height);
        names.push_back(name);
        floors.push_back(floor);
        positions.push_back(position);
    }
}

void GetWindowPosMidPoint(EntityArray& windows, WinPointVector& mids, WinAngleVector& angles)
{
    AppendMidPoints(windows, mids, angles);
}

int GetWindowInfoFullWay(WinPointVector& centres, WinPointVector& ends1, WinPointVector& ends2,
                         WinTextVector& names, WinIntVector& floors, WinTextVector& doors, WinIntVector& rooms,
                         WinIntVector& positions, WinIntVector& widths, WinIntVector& heights,
                         WinAngleVector& angles, int mode)
{
    EntityArray windows;
    if (!SelectWindow(windows, kSelectPrompt))
        return 0;
    WindowInfoFullWay(mode, windows, floors, positions, doors, rooms, widths, heights, angles, names, centres, ends1,
                      ends2);
    return 1;
}

int GetWindowInfoMidWay(WinPointVector& mids, WinTextVector& names, WinIntVector& floors, WinTextVector& doors,
                        WinIntVector& rooms, WinIntVector& positions, WinIntVector& widths, WinIntVector& heights,
                        WinAngleVector& angles, int mode)
{
    EntityArray windows;
    if (!SelectWindow(windows, kSelectPrompt))
        return 0;
    WindowInfoMidWay(mode, windows, floors, positions, doors, rooms, widths, heights, angles, names, mids);
    return 1;
}

int GetWindowPosMidWay(WinPointVector& mids, WinAngleVector& angles)
{
    EntityArray windows;
    if (!SelectWindow(windows, kSelectPrompt))
        return 0;
    WinPointVector newMids;
    AppendMidPoints(windows, newMids, angles);
    mids = std::move(newMids);
    return 1;
}
