#pragma once
// Clipper as the independent oracle of roof plans: the plan union of faces or outlines (each
// taken counter-clockwise, so either orientation counts alike) and the mitred offset of an
// outline, in square millimetres on whole millimetres.
#include <cmath>
#include <vector>

#include "Ge.h"
#include "clipper.hpp"

namespace roof_test {

inline ClipperLib::Path PlanPath(const GePoint3dArray& ring)
{
    ClipperLib::Path path;
    for (const GePoint3d& p : ring)
        path.push_back({std::llround(p.x), std::llround(p.y)});
    if (!ClipperLib::Orientation(path))
        ClipperLib::ReversePath(path);
    return path;
}

inline double PathsArea(const ClipperLib::Paths& paths)
{
    double area = 0;
    for (const auto& p : paths)
        area += ClipperLib::Area(p);
    return area;
}

inline double PlanUnionArea(const std::vector<GePoint3dArray>& rings)
{
    ClipperLib::Clipper clipper;
    for (const GePoint3dArray& r : rings)
        clipper.AddPath(PlanPath(r), ClipperLib::ptSubject, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return PathsArea(out);
}

// The outline grown by d with mitred corners (no corner cut short): a notch narrower than
// 2d closes.
inline double MitredGrownArea(const GePoint3dArray& ring, double d)
{
    ClipperLib::ClipperOffset offset(1e6);
    offset.AddPath(PlanPath(ring), ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths out;
    offset.Execute(out, d);
    return PathsArea(out);
}

// The plan area a face encloses counted once even where its outline runs over itself (even-odd),
// beside its shoelace area: they differ for a face that doubles back.
inline double EvenOddPlanArea(const GePoint3dArray& face)
{
    ClipperLib::Paths out;
    ClipperLib::SimplifyPolygon(PlanPath(face), out, ClipperLib::pftEvenOdd);
    return PathsArea(out);
}

}  // namespace roof_test
