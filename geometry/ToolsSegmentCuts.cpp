// CTools cuts of polygons by planes: the pieces of the line where two planes meet that lie
// inside a polygon (or inside two polygons).
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "GetMinMax.h"
#include "Tools.h"

namespace {

// The tolerance of normals and of the cut line's direction.
constexpr double kUnitTol = 0.001;
// Normals closer than this in cosine give no cut line.
constexpr double kParallelCosine = 0.99985;
// Hits this close along the chord meet at one point: their stretch is no piece.
constexpr double kSameHit = 1e-9;
// A normal that did not normalise is no direction.
constexpr double kUnitLength = 0.5;

// The plane n . p = c.
struct Plane {
    std::array<double, 3> n;
    double c;
};

std::array<double, 3> Coordinates(const GePoint3d& p) { return {p.x, p.y, p.z}; }
std::array<double, 3> Coordinates(const GeVector3d& v) { return {v.x, v.y, v.z}; }

Plane PlaneThrough(const GeVector3d& normal, const GePoint3d& point)
{
    return {Coordinates(normal), normal.DotProduct(point - GePoint3d())};
}

// The two ends of the cut line across the polygons' extents: A at the largest value of
// the first axis along which the line runs by more than tol, B at the smallest; their
// other two coordinates solve both plane equations. False when they cannot be solved.
bool Chord(const Plane& a, const Plane& b, const GeVector3d& direction, const std::vector<const GePoint3dArray*>& polygons,
           double tol, GePoint3d& chordA, GePoint3d& chordB)
{
    const std::array<double, 3> d = Coordinates(direction);
    int axis = 2;
    if (std::fabs(d[0]) > tol)
        axis = 0;
    else if (std::fabs(d[1]) > tol)
        axis = 1;

    std::vector<double> values;
    for (const GePoint3dArray* polygon : polygons)
        for (const GePoint3d& p : *polygon)
            values.push_back(Coordinates(p)[axis]);
    double largest = 0.0;
    double smallest = 0.0;
    GetMinMax(values.data(), static_cast<int>(values.size()), &largest, &smallest);

    const int i = (axis + 1) % 3;
    const int j = (axis + 2) % 3;
    const double det = a.n[i] * b.n[j] - a.n[j] * b.n[i];
    if (!(std::fabs(det) > 0.0))
        return false;
    const auto solve = [&](double v) {
        const double r1 = a.c - a.n[axis] * v;
        const double r2 = b.c - b.n[axis] * v;
        std::array<double, 3> p{};
        p[axis] = v;
        p[i] = (r1 * b.n[j] - a.n[j] * r2) / det;
        p[j] = (a.n[i] * r2 - r1 * b.n[i]) / det;
        return GePoint3d(p[0], p[1], p[2]);
    };
    chordA = solve(largest);
    chordB = solve(smallest);
    return true;
}

// The pieces of the line where planes a and b meet that lie inside every polygon (in
// plan): mode 0 keeps a piece whose middle lies inside or on the boundary, any other mode
// only one strictly inside. The chord is cut at every polygon edge, in polygon order.
int CutByPlanes(const Plane& a, const Plane& b, const std::vector<const GePoint3dArray*>& polygons,
                GePoint3dArray& segments, double tol, int mode)
{
    GeVector3d u(a.n[0], a.n[1], a.n[2]);
    GeVector3d w(b.n[0], b.n[1], b.n[2]);
    if (std::fabs(u.DotProduct(w)) > kParallelCosine)
        return 0;
    GeVector3d d = u.CrossProduct(w);
    d.Normalize(kUnitTol);

    GePoint3d chordA, chordB;
    if (!Chord(a, b, d, polygons, tol, chordA, chordB))
        return 0;

    // The crossing test measures a crossing along the chord lengthened by tol at both ends
    // (an end contact exactly at 0 or 1); a hit is taken back to the chord itself, so that
    // a contact and a crossing at one point get one parameter.
    const double length = chordA.DistanceTo(chordB);
    if (!(length > 0.0))
        return 0;
    const auto onChord = [&](double t) { return t == 0.0 || t == 1.0 ? t : (t * (length + 2.0 * tol) - tol) / length; };
    std::vector<double> hits;
    for (const GePoint3dArray* polygon : polygons) {
        const std::size_t n = polygon->size();
        for (std::size_t k = 0; k < n; ++k) {
            double t = 0.0;
            if (CTools::GetIntersectPWithTwoLineSeg((*polygon)[k], (*polygon)[(k + 1) % n], chordA, chordB, t, tol) &&
                std::isfinite(t))
                hits.push_back(onChord(t));
        }
    }
    if (hits.empty())
        return 0;
    std::sort(hits.begin(), hits.end());

    const auto at = [&](double s) { return chordA * (1.0 - s) + chordB * s; };
    const auto kept = [&](const GePoint3d& middle) {
        for (const GePoint3dArray* polygon : polygons) {
            const int code = CTools::PtRegionRelation(middle, *polygon, tol);
            if (mode == 0 ? code <= 0 : code != 1)
                return false;
        }
        return true;
    };
    for (std::size_t k = 0; k + 1 < hits.size(); ++k) {
        const double t0 = hits[k];
        const double t1 = hits[k + 1];
        if (t1 - t0 <= kSameHit || !kept(at((t0 + t1) / 2.0)))
            continue;
        segments.push_back(at(t0));
        segments.push_back(at(t1));
    }
    return segments.empty() ? 0 : 1;
}

// The unit normal of a polygon, or false when it has none.
bool PolygonNormal(const GePoint3dArray& polygon, GeVector3d& normal)
{
    normal = CTools::GetNormal(polygon, kUnitTol);
    normal.Normalize(kUnitTol);
    return normal.Length() > kUnitLength;
}

}  // namespace

int CTools::GetIntersectLineSegs(GePoint3dArray polygon, GeVector3d normal, GePoint3d point, GePoint3dArray& segments,
                                 double tolerance, int mode)
{
    if (tolerance < 0.0)
        tolerance = 1e-6;
    segments.clear();
    if (polygon.size() < 3)
        return 0;
    GeVector3d u;
    if (!PolygonNormal(polygon, u))
        return 0;
    normal.Normalize(kUnitTol);
    if (!(normal.Length() > kUnitLength))
        return 0;
    return CutByPlanes(PlaneThrough(u, polygon[0]), PlaneThrough(normal, point), {&polygon}, segments, tolerance,
                       mode);
}

int CTools::GetIntersectLineSegs(GePoint3dArray first, GePoint3dArray second, GePoint3dArray& segments,
                                 double tolerance, int mode)
{
    if (tolerance < 0.0)
        tolerance = 1e-6;
    segments.clear();
    if (first.size() < 3 || second.size() < 3)
        return 0;
    GeVector3d u, w;
    if (!PolygonNormal(first, u) || !PolygonNormal(second, w))
        return 0;
    return CutByPlanes(PlaneThrough(u, first[0]), PlaneThrough(w, second[0]), {&first, &second}, segments, tolerance,
                       mode);
}
