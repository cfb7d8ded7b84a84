#include "decViewFilter.h"

#include <string>

#include "EventLog.h"

TextAnchor AnchorOfAlignment(unsigned alignment)
{
    switch (alignment) {
    case 10: return TextAnchor::TopCentre;
    case 18: return TextAnchor::BottomCentre;
    case 0x22: return TextAnchor::MiddleCentre;
    default: return TextAnchor::BottomLeft;
    }
}

void decViewFilter::SetColor(std::uint32_t colour, int flag)
{
    host::EventLog::Instance().Call("viewfilter SetColor flag " + std::to_string(flag));
    m_colour = colour;
}

namespace {
DrawnPrimitive Shape(DrawnPrimitive::Kind kind, std::uint32_t colour, std::vector<GePoint3d> points)
{
    DrawnPrimitive item;
    item.kind = kind;
    item.colour = colour;
    item.points = std::move(points);
    return item;
}
}  // namespace

std::vector<GePoint3d> decViewFilter::Place(int n, const GePoint3d* pts) const
{
    std::vector<GePoint3d> placed;
    if (!pts || n <= 0) return placed;
    const GeMatrix3d tm = Current();
    for (int i = 0; i < n; ++i) placed.push_back(tm * pts[i]);
    return placed;
}

void decViewFilter::Text(const char* text, const GePoint3d& pos, const GeVector3d& dir, const GeVector3d& normal,
                         double angle, double height, double widthFactor, unsigned alignment,
                         const GiTextStyle* style)
{
    DrawnPrimitive item;
    item.kind = DrawnPrimitive::Kind::Text;
    item.colour = m_colour;
    const GeMatrix3d tm = Current();
    item.points = {tm * pos};
    item.text = text ? text : "";
    item.direction = tm * dir;
    item.normal = tm * normal;
    item.angle = angle;
    item.height = height;
    item.widthFactor = widthFactor;
    item.alignment = alignment;
    if (style) {
        item.hasStyle = true;
        item.style = *style;
    }
    m_primitives.push_back(std::move(item));
}

void decViewFilter::Polygon(int flag, int n, const GePoint3d* pts, int fill)
{
    if (flag != 0 || fill != 1)
        host::EventLog::Instance().Call("viewfilter Polygon flags " + std::to_string(flag) + " " + std::to_string(fill));
    if (!pts || n < 1) return;
    m_primitives.push_back(Shape(DrawnPrimitive::Kind::Polygon, m_colour, Place(n, pts)));
}

void decViewFilter::Polyline(int flag, int n, const GePoint3d* pts)
{
    if (flag != 0) host::EventLog::Instance().Call("viewfilter Polyline flag " + std::to_string(flag));
    if (!pts || n < 1) return;
    m_primitives.push_back(Shape(DrawnPrimitive::Kind::Polyline, m_colour, Place(n, pts)));
}

void decViewFilter::Line(const GePoint3d& p, const GePoint3d& q)
{
    const GePoint3d pts[2] = {p, q};
    m_primitives.push_back(Shape(DrawnPrimitive::Kind::Line, m_colour, Place(2, pts)));
}

void decViewFilter::PushTransform(const GeMatrix3d& tm)
{
    m_stack.push_back(Current() * tm);
}

void decViewFilter::PopTransform()
{
    if (!m_stack.empty()) m_stack.pop_back();
}

std::vector<const DrawnPrimitive*> decViewFilter::Texts() const
{
    std::vector<const DrawnPrimitive*> texts;
    for (const auto& item : m_primitives)
        if (item.kind == DrawnPrimitive::Kind::Text) texts.push_back(&item);
    return texts;
}
