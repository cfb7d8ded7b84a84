#include "DormerGeometry.h"

#include <algorithm>
#include <cmath>

#include "GeUtility.h"

namespace {

// Directions are normalised with this tolerance; a shorter one has no direction.
constexpr double kUnitTol = 0.001;
// How far (mm) a dormer's body may reach past its face and still be on it.
constexpr double kOnFaceTol = 1.0;

// The body: the front wall in the plane y = 0.
GePoint3dArray BodySection(long long w, long long h1, long long h2)
{
    const double half = static_cast<double>(w) * 0.5;
    const auto W = static_cast<double>(w);
    const auto H1 = static_cast<double>(h1);
    if (h1 > 0 && h2 > 0)
        return {{0, 0, 0}, {W, 0, 0}, {W, 0, H1}, {half, 0, static_cast<double>(h1 + h2)}, {0, 0, H1}};
    if (h1 > 0)
        return {{0, 0, 0}, {W, 0, 0}, {W, 0, H1}, {0, 0, H1}};
    return {{0, 0, 0}, {W, 0, 0}, {half, 0, static_cast<double>(h2)}};
}

// The roof slab, o in front of the body; empty when it cannot be formed.
GePoint3dArray RoofSection(long long w, long long h1, long long h2, long long t, long long o, double slope)
{
    const double y = -static_cast<double>(o);
    const double left = -static_cast<double>(o);
    const auto right = static_cast<double>(w + o);
    const auto H1 = static_cast<double>(h1);
    const auto T = static_cast<double>(t);
    if (h2 < 1)
        return {{left, y, H1}, {right, y, H1}, {right, y, H1 + T}, {left, y, H1 + T}};
    if (w == 0)
        return {};

    const double half = static_cast<double>(w) * 0.5;
    const auto ridge = static_cast<double>(h1 + h2);
    // a: how far the gable's roof line drops over the overhang; b: how high the eave line
    // stands above the roof face at y = -o (the roof face lies at z = -o·tan(slope) there).
    const double a = 2.0 * static_cast<double>(h2) * static_cast<double>(o) / static_cast<double>(w);
    const double b = H1 + static_cast<double>(o) * std::tan(slope);
    // Without an overhang nothing drops below the eave, whatever the wall height (a record
    // with a negative one would otherwise cut at 0 / 0).
    if (a <= b || a == 0.0)
        return {{left, y, H1 - a},     {half, y, ridge},     {right, y, H1 - a},
                {right, y, H1 - a + T}, {half, y, ridge + T}, {left, y, H1 - a + T}};
    // The underside is cut off at the roof face's level h1 - b, where it meets the gable's
    // roof lines; the top keeps the full overhang.
    const double cut = H1 - b;
    const double reach = static_cast<double>(o) * b / a;
    return {{left, y, cut},          {-reach, y, cut},     {half, y, ridge},
            {static_cast<double>(w) + reach, y, cut}, {right, y, cut},
            {right, y, H1 - a + T},  {half, y, ridge + T}, {left, y, H1 - a + T}};
}

}  // namespace

std::vector<GePoint3dArray> DormerSections(long width, long height1, long height2, long roofThickness,
                                           long overhang, double slope)
{
    std::vector<GePoint3dArray> sections;
    sections.push_back(BodySection(width, height1, height2));
    if (roofThickness > 0) {
        GePoint3dArray roof = RoofSection(width, height1, height2, roofThickness, overhang, slope);
        if (!roof.empty())
            sections.push_back(std::move(roof));
    }
    return sections;
}

GePoint3d OnDormerRoofPlane(const GePoint3d& p, const GeVector3d& n)
{
    return {p.x, -(n.x * p.x + n.z * p.z) / n.y, p.z};
}

bool DormerAxes(const GeVector3d& n, GeVector3d& x, GeVector3d& y)
{
    x = GeVector3d::kZAxis.CrossProduct(n);
    if (x.Length() < kUnitTol)
        return false;
    x.Normalize(kUnitTol);
    y = GeVector3d::kZAxis.CrossProduct(x);
    y.Normalize(kUnitTol);
    return true;
}

bool DormerOnFace(const GePoint3dArray& face, const GeMatrix3d& frame, const DormerSize& size, double slope)
{
    const std::vector<GePoint3dArray> sections =
        DormerSections(size.width, size.height1, size.height2, size.roofThickness, size.overhang, slope);
    if (sections.empty() || face.size() < 3)
        return false;
    GePoint3d origin;
    GeVector3d eave, upSlope, up;
    frame.GetCoordSystem(origin, eave, upSlope, up);
    std::vector<GePoint2d> plan;
    double top = face.front().z;
    double ridge = (face.front() - origin).DotProduct(upSlope);
    for (const GePoint3d& p : face) {
        plan.emplace_back(p.x, p.y);
        top = std::max(top, p.z);
        ridge = std::max(ridge, (p - origin).DotProduct(upSlope));
    }
    const GeVector3d roofNormal(0.0, -std::sin(slope), std::cos(slope));
    for (std::size_t s = 0; s < sections.size(); ++s)
        for (const GePoint3d& front : sections[s])
            for (GePoint3d p : {front, OnDormerRoofPlane(front, roofNormal)}) {
                p.TransformBy(frame);
                if (!(p.z <= top + kOnFaceTol))
                    return false;
                // The body stands on the face's plan; the slab may reach past the eave in
                // front and past the sides, but not past the ridge.
                const bool onPlan = s == 0 ? GeUtility::PointInsidePolygon(static_cast<int>(plan.size()), plan.data(),
                                                                           GePoint2d(p.x, p.y), kOnFaceTol)
                                           : (p - origin).DotProduct(upSlope) <= ridge + kOnFaceTol;
                if (!onPlan)
                    return false;
            }
    return true;
}
