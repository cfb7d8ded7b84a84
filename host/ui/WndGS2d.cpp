#include "WndGS2d.h"

#include <string>

#include "EventLog.h"

void GsDraw2d::Begin()
{
    m_building = true;
    m_primitives.clear();
}

GsPrimitive& GsDraw2d::Add(GsPrimitive::Kind kind, std::vector<GePoint3d> points)
{
    GsPrimitive& p = m_primitives.emplace_back();
    p.kind = kind;
    p.setting = m_setting;
    p.colour = m_colour;
    p.points = std::move(points);
    return p;
}

void GsDraw2d::Polyline(const GePoint3d* pts, int n, int flag)
{
    if (!pts || n < 1)
        return;
    Add(GsPrimitive::Kind::Polyline, {pts, pts + n}).flags[0] = flag;
}

void GsDraw2d::Line(const GePoint3d& a, const GePoint3d& b)
{
    Add(GsPrimitive::Kind::Line, {a, b});
}

void GsDraw2d::Circle(const GePoint3d& centre, double radius, const GeVector3d& normal, int a, int b)
{
    GsPrimitive& p = Add(GsPrimitive::Kind::Circle, {centre});
    p.radius = radius;
    p.normal = normal;
    p.flags[0] = a;
    p.flags[1] = b;
}

void WndGS2d::SceneBuildBegin()
{
    m_draw.Begin();
}

void WndGS2d::SceneBuildEnd()
{
    if (!m_draw.m_building)
        return;
    m_draw.m_building = false;
    m_scene = std::move(m_draw.m_primitives);
    m_draw.m_primitives.clear();
    m_zoomed = false;
}

void WndGS2d::DoZoomE()
{
    m_zoomed = true;
    m_viewScale = 1.0;
}

void WndGS2d::DoViewScale(double scale)
{
    m_viewScale *= scale;
}

void WndGS2d::Regen()
{
    ++m_regens;
    host::EventLog::Instance().Call("WndGS2d::Regen " + std::to_string(GetDlgCtrlID()) + ": " +
                                    std::to_string(m_scene.size()) + " primitives");
}
