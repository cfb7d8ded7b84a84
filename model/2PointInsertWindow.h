#pragma once
// The two-point window command `2pwin` ("两点插窗"): the user picks the left and the right end
// of a window sill on a facade, or the left end and types the width, and the command puts a
// column of windows there, one per storey, numbered with the dialog's position and floors.
// The window's building is the named building whose outline lies under the middle of the
// sill. The command repeats the two picks, with the next position number, until cancelled.
#include "BuildingsInPlan.h"
#include "CString.h"
#include "DragCallback.h"
#include "GePoint3d.h"
#include "WinTypes.h"

// Shows the sill from the left end to the cursor, its width, and an arrow to the side the
// window will face (its outward Y).
class drag_cb_2p_window : public decDragCallback {
public:
    explicit drag_cb_2p_window(const GePoint3d& base);
    ~drag_cb_2p_window() override = default;

    void OnDragDraw(decView* view, const GePoint3d& pt) override;

    // The last cursor position, levelled to the base; the base until the cursor moves.
    const GePoint3d& Current() const { return m_current; }

private:
    GePoint3d m_base;
    GePoint3d m_current;
    CString m_widthText;
    GePoint3d m_mid;
};

// One run of the command: the dialog's values, the buildings' plan outlines, and the sill of
// the current pass.
class C2PointInsertWindow {
public:
    // Shows the dialog; 1 with its values taken and the outlines collected, 0 when cancelled.
    int RunDialog();
    // The plan outline of every named extruded building and the plan box, swollen by 100, of
    // every other named building, as the drawing holds them now.
    void CollectBuildOutlines();
    // One pass: the two sill points, then the column of windows. 0 when the user cancelled or
    // the column was refused.
    int Run();
    // The left sill point, then the right one picked or given by a typed width. 1 with both
    // set, 0 when cancelled.
    int GetInput();
    // The name of the building under the middle of the sill, or "".
    CString IsPointInOutline() const;
    // The column of windows of this pass. False, with the refusal printed and nothing made,
    // when a window of it would slip into an ownership record beside a window bearing its
    // identifier.
    bool InsertWindow();
    // The next column takes the next position number.
    void NextPosition() { ++m_nPosition; }

private:
    GePoint3d m_ptLeft;
    GePoint3d m_ptRight;
    int m_nWidth = 0;
    int m_nHeight = 0;
    UINT m_nFloor = 0;
    UINT m_nRepeat = 0;
    UINT m_nStoreyHeight = 0;
    UINT m_nPosition = 0;
    int m_nSill = 0;
    BuildingsInPlan m_buildings;
};
