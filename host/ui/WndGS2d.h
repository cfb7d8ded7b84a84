#pragma once
// WndGS2d: the host's preview window, a child window a dialog places over one of its frames
// to show a small scene (a roof in plan or in front view). Headless, the scene is recorded:
// between SceneBuildBegin and SceneBuildEnd the program draws through the window's drawing
// object, whose setting and colour apply to the primitives drawn after them; the finished
// scene replaces the one shown. Regen notes the regeneration in the event log.
#include <cstdint>
#include <vector>

#include "GePoint3d.h"
#include "GeVector3d.h"
#include "Wnd.h"

// One primitive of a preview scene, with the setting and colour it was drawn with.
struct GsPrimitive {
    enum class Kind { Polyline, Line, Circle };
    Kind kind = Kind::Line;
    int setting = 0;
    std::uint32_t colour = 0;
    std::vector<GePoint3d> points;  // the polyline's points; a line's two ends; a circle's centre
    double radius = 0.0;            // circle
    GeVector3d normal;              // circle
    int flags[2] = {0, 0};          // the polyline's flag; the circle's two display values
};

// The drawing object of a preview window.
class GsDraw2d {
public:
    // A display setting of the host (kept with the primitives that follow).
    void SetSetting(int setting) { m_setting = setting; }
    void SetColor(std::uint32_t colour) { m_colour = colour; }
    void Polyline(const GePoint3d* pts, int n, int flag);
    void Line(const GePoint3d& p, const GePoint3d& q);
    void Circle(const GePoint3d& centre, double radius, const GeVector3d& normal, int a, int b);

private:
    friend class WndGS2d;
    void Begin();
    GsPrimitive& Add(GsPrimitive::Kind kind, std::vector<GePoint3d> points);
    bool m_building = false;
    int m_setting = 0;
    std::uint32_t m_colour = 0;
    std::vector<GsPrimitive> m_primitives;
};

class WndGS2d : public CWnd {
public:
    // Starts a new scene: what is drawn from now on replaces the shown scene at SceneBuildEnd.
    void SceneBuildBegin();
    void SceneBuildEnd();
    GsDraw2d* GetDrawObject() { return &m_draw; }
    // Fits the view to the scene's extents; then scales the view about its centre (above 1
    // leaves a margin).
    void DoZoomE();
    void DoViewScale(double scale);
    // Redraws the scene; the event log notes it with the window's id and primitive count.
    void Regen();
    // Whether the coordinate axes are shown (on at first).
    void ShowAxis(bool show) { m_axis = show; }
    bool IsAxisShown() const { return m_axis; }

    const std::vector<GsPrimitive>& Scene() const { return m_scene; }
    int RegenCount() const { return m_regens; }
    double ViewScale() const { return m_viewScale; }
    bool IsZoomedToExtents() const { return m_zoomed; }

private:
    GsDraw2d m_draw;
    std::vector<GsPrimitive> m_scene;
    bool m_axis = true;
    bool m_zoomed = false;
    double m_viewScale = 1.0;
    int m_regens = 0;
};
