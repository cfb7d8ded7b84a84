#pragma once
// The active view: its camera and projection (a top view by default: 1 mm = 1 window unit
// at scale 1, window y pointing down), the transient graphics the module draws into it, and
// the drawing target of drag callbacks. It draws like a view filter (colour, lines, texts),
// so a drag frame is read the same way as an entity's display.
#include <cstdint>
#include <string>
#include <vector>

#include "GePoint3d.h"
#include "GeVector3d.h"
#include "decViewFilter.h"

class decView : public decViewFilter {
public:
    decView();

    // Camera: the point the view looks at, its up and right directions, and the viewing
    // direction (from the eye into the scene).
    void GetCamera(GePoint3d& target, GeVector3d& up, GeVector3d& right, GeVector3d& viewDir) const;
    // Looks along viewDir with the given up direction; scale is window units per millimetre.
    void SetCamera(const GePoint3d& target, const GeVector3d& viewDir, const GeVector3d& up, double scale);
    // Window units per millimetre.
    double GetScale() const { return m_scale; }
    // The window point of a world point (integer window units); 1.
    int WorldToWindow(const GePoint3d& p, int& x, int& y) const;
    // Non-zero when picking also tests the top edges of walls.
    int IsEdgeMode() const { return m_edgeMode; }
    void SetEdgeMode(int mode) { m_edgeMode = mode; }
    // 0 for the plan (top) view, 1 for a 3-D view. Setting 0 turns the view to the top view;
    // setting 1 turns it to a south-west isometric view.
    int GetViewState() const;
    void SetViewState(int state);
    void SetTopView();

    // Transient graphics, kept in the drawing's temporary-graphics store.
    void ClearTempGraphics();
    void ClearHighlights() { ClearTempGraphics(); }
    void Refresh();
    // A polyline through count points; the last argument is a width (5) or the flag 1.
    void DrawPolyline(const GePoint3d* pts, int count, std::uint32_t colour, int width);
    // A marker of the given size at each of count points.
    void MarkPoints(const GePoint3d* pts, int count, int size, std::uint32_t colour);

    // Drawing while a point is dragged (the frame is cleared before each drag update).
    void MoveTo(const GePoint3d& p) { m_pen = p; }
    void LineTo(const GePoint3d& p);
    void DrawLine(const GePoint3d& p, const GePoint3d& q) { Line(p, q); }
    void BeginDragFrame() { Clear(); }

private:
    GePoint3d m_target;
    GeVector3d m_viewDir;
    GeVector3d m_up;
    double m_scale = 1.0;
    int m_windowWidth = 1000;
    int m_windowHeight = 1000;
    int m_edgeMode = 0;
    GePoint3d m_pen;
};

namespace dec {
decView* GetActiveView();
// Runs a host command by name: "view_top" turns the active view to the top view. Gives -2,
// or -4 for a command the host does not know.
int RunCommand(const char* command, int flags = 0);
}  // namespace dec
