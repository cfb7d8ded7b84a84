#pragma once
// The drawing target an entity draws its display into (OnMakeDisplayBuf, OnWorldDraw).
// The stand-in has no screen: it records every primitive, placed by the transform stack, so
// tests and exports can read what an entity drew.
#include <cstdint>
#include <string>
#include <vector>

#include "GeMatrix3d.h"
#include "GePoint3d.h"
#include "GeVector3d.h"

// A text style passed with a text: font name, height, width factor.
struct GiTextStyle {
    std::string fontName;
    double height = 0.0;
    double widthFactor = 1.0;
};

// Text alignment codes and the anchor each stands for (used by plan output only):
// 10 top-centre, 18 bottom-centre, 0x22 (34) middle-centre; any other code (33 among them)
// is taken as bottom-left.
enum class TextAnchor { BottomLeft, BottomCentre, MiddleCentre, TopCentre };
TextAnchor AnchorOfAlignment(unsigned alignment);

struct DrawnPrimitive {
    enum class Kind { Polygon, Polyline, Line, Text };
    Kind kind = Kind::Polyline;
    std::uint32_t colour = 0;
    std::vector<GePoint3d> points;  // world (after the pushed transforms)
    // Text only:
    std::string text;
    GeVector3d direction;
    GeVector3d normal;
    double angle = 0.0;
    double height = 0.0;
    double widthFactor = 1.0;
    unsigned alignment = 0;
    bool hasStyle = false;
    GiTextStyle style;
};

class decViewFilter {
public:
    decViewFilter() = default;
    virtual ~decViewFilter() = default;

    // The colour of what follows; the flag is the host's.
    virtual void SetColor(std::uint32_t colour, int flag = 0);
    virtual void Text(const char* text, const GePoint3d& pos, const GeVector3d& dir, const GeVector3d& normal,
                      double angle, double height, double widthFactor, unsigned alignment,
                      const GiTextStyle* style = nullptr);
    virtual void Polygon(int flag, int n, const GePoint3d* pts, int fill = 1);
    virtual void Polyline(int flag, int n, const GePoint3d* pts);
    virtual void Line(const GePoint3d& p, const GePoint3d& q);
    void PushTransform(const GeMatrix3d& tm);
    void PopTransform();

    std::uint32_t GetColor() const { return m_colour; }
    const std::vector<DrawnPrimitive>& Primitives() const { return m_primitives; }
    // The drawn texts in order.
    std::vector<const DrawnPrimitive*> Texts() const;
    void Clear() { m_primitives.clear(); }

private:
    GeMatrix3d Current() const { return m_stack.empty() ? GeMatrix3d() : m_stack.back(); }
    std::vector<GePoint3d> Place(int n, const GePoint3d* pts) const;

    std::uint32_t m_colour = 0xFFFFFF;
    std::vector<GeMatrix3d> m_stack;
    std::vector<DrawnPrimitive> m_primitives;
};
