// CTools extents and plan classification: bounding boxes of points and entities, the
// level test, point-in-polygon with its result codes, the oriented rectangle and the
// division of a level region into grid samples.
#include <cmath>
#include <vector>

#include "EntityArray.h"
#include "GetMinMax.h"
#include "PlanRegionRelation.h"
#include "Tools.h"
#include "decDbEntity.h"

namespace {

// Exactly a quarter turn, in double precision.
constexpr double kQuarterTurn = 1.5707963267948966;

// Region division refuses grids of more cells than this.
constexpr double kMaxGridCells = 1e7;

// Classification tolerance of the grid samples.
constexpr double kSampleTol = 0.1;

struct Extents {
    GePoint3d min;
    GePoint3d max;
};

// Smallest and largest coordinate of the points along each axis, through GetMinMax.
Extents ExtentsOf(const std::vector<GePoint3d>& pts)
{
    std::vector<double> xs, ys, zs;
    xs.reserve(pts.size());
    ys.reserve(pts.size());
    zs.reserve(pts.size());
    for (const GePoint3d& p : pts) {
        xs.push_back(p.x);
        ys.push_back(p.y);
        zs.push_back(p.z);
    }
    Extents e;
    const int n = static_cast<int>(pts.size());
    GetMinMax(xs.data(), n, &e.max.x, &e.min.x);
    GetMinMax(ys.data(), n, &e.max.y, &e.min.y);
    GetMinMax(zs.data(), n, &e.max.z, &e.min.z);
    return e;
}

// Number of cells of the given spacing along an extent: the whole cells, plus one for a
// remainder. -1 for a count beyond what a grid may have.
long CellCount(double extent, double spacing)
{
    const double cells = extent / spacing;
    if (!(cells <= kMaxGridCells))
        return -1;
    long n = static_cast<long>(cells);
    if (static_cast<double>(n) * spacing < extent)
        ++n;
    return n;
}

}  // namespace

void CTools::GetBoundBox3d(GePoint3dArray pts, GeBoundBox3d& box)
{
    box.Set(GePoint3d(0, 0, 0), GePoint3d(0, 0, 0));
    // No points: the box stays at the origin; callers must not be thrown out of.
    if (pts.empty())
        return;
    const Extents e = ExtentsOf(pts);
    box.Set(e.min, e.max);
}

void CTools::GetBoundBox3d(EntityArray entities, GeBoundBox3d& box)
{
    box.Set(GePoint3d(0, 0, 0), GePoint3d(0, 0, 0));
    std::vector<GePoint3d> corners;
    for (decDbEntity* entity : entities) {
        if (!entity || entity->OpenForRead() == 0)
            continue;
        const GeBoundBox3d own = entity->GetBoundBox();
        entity->Close();
        if (own.IsEmpty())
            continue;
        corners.push_back(own.MinPoint());
        corners.push_back(own.MaxPoint());
    }
    if (corners.empty())
        return;
    const Extents e = ExtentsOf(corners);
    box.Set(e.min, e.max);
}

int CTools::isAllPtsOnSameHeight(GePoint3dArray pts)
{
    if (pts.size() < 2)
        return 1;
    for (const GePoint3d& p : pts)
        if (p.z != pts.front().z)
            return 0;
    return 1;
}

int CTools::PtRegionRelation(GePoint3d pt, GePoint3dArray polygon, double tol)
{
    const auto corner = [&polygon](int i) { return tools::PlanCorner<double>{polygon[i].x, polygon[i].y}; };
    return tools::PlanRegionRelation(pt.x, pt.y, static_cast<int>(polygon.size()), corner, tol);
}

int CTools::IsPtBelongToArray(GePoint3d pt, GePoint3dArray pts, double tol)
{
    for (const GePoint3d& p : pts)
        if (pt.DistanceTo(p) <= tol)
            return 1;
    return 0;
}

void CTools::GetOutsideBox(GePoint3d, GeVector3d direction, GePoint3dArray pts, OUTSIDEBOX& box)
{
    // No points: the box is left as it is.
    if (pts.empty())
        return;
    if (direction.y < 0.0)
        direction = -direction;
    const double turn = kQuarterTurn - GeVector2d(direction.x, direction.y).Angle();
    // The vertical axis through the first point; taken at z = 0 so that turning the
    // corners back leaves them exactly at z = 0.
    const GePoint3d centre(pts.front().x, pts.front().y, 0.0);

    // Turned so that the direction points along +y, the rectangle is axis-aligned.
    GeMatrix3d toUpright;
    toUpright.SetToRotation(turn, GeVector3d::kZAxis, centre);
    for (GePoint3d& p : pts)
        p.TransformBy(toUpright);
    const Extents e = ExtentsOf(pts);

    GeMatrix3d back;
    back.SetToRotation(-turn, GeVector3d::kZAxis, centre);
    std::array<GePoint3d, 4> corners = {GePoint3d(e.max.x, e.max.y, 0), GePoint3d(e.min.x, e.max.y, 0),
                                        GePoint3d(e.min.x, e.min.y, 0), GePoint3d(e.max.x, e.min.y, 0)};
    for (GePoint3d& p : corners)
        p.TransformBy(back);

    GeVector3d firstEdge = corners[1] - corners[0];
    firstEdge.Normalize(0.001);
    if (firstEdge == direction || firstEdge == -direction)
        box.pts = corners;
    else
        box.pts = {corners[1], corners[2], corners[3], corners[0]};
}

int CTools::RegionDivideWithSpace(GePoint3dArray region, double sx, double sy, GePoint3dArray& out)
{
    // Spacings that are not positive give no grid.
    if (!(sx > 0.0) || !(sy > 0.0))
        return 0;
    if (!isAllPtsOnSameHeight(region))
        return 0;
    GeBoundBox3d box;
    GetBoundBox3d(region, box);
    const GePoint3d o = box.MinPoint();
    double w = 0.0, l = 0.0, h = 0.0;
    box.GetSize(w, l, h);

    const long nx = CellCount(w, sx);
    const long ny = CellCount(l, sy);
    if (nx < 0 || ny < 0 || static_cast<double>(nx) * static_cast<double>(ny) > kMaxGridCells)
        return 0;
    if (nx == 0 && ny == 0)
        return 0;

    const auto touches = [&region](const GePoint3d& p) { return PtRegionRelation(p, region, kSampleTol) != 0; };
    const GeVector3d X = GeVector3d::kXAxis;
    const GeVector3d Y = GeVector3d::kYAxis;
    if (nx == 0 || ny == 0) {
        // A region of no width or no length: samples along its one axis, also kept when
        // the point half a step before or after touches it.
        const bool alongY = nx == 0;
        const long count = alongY ? ny : nx;
        const double step = alongY ? sy : sx;
        const GeVector3d axis = alongY ? Y : X;
        const GeVector3d half = axis * (step / 2.0);
        for (long j = 0; j < count; ++j) {
            const GePoint3d p = o + axis * (static_cast<double>(j) * step + step / 2.0);
            if (touches(p) || touches(p - half) || touches(p + half))
                out.push_back(p);
        }
        return 1;
    }

    const GeVector3d hx = X * (sx / 2.0);
    const GeVector3d hy = Y * (sy / 2.0);
    for (long i = 0; i < nx; ++i) {
        for (long j = 0; j < ny; ++j) {
            const GePoint3d p =
                o + X * (static_cast<double>(i) * sx + sx / 2.0) + Y * (static_cast<double>(j) * sy + sy / 2.0);
            if (touches(p) || touches(p - hx - hy) || touches(p - hx + hy) || touches(p + hx - hy) ||
                touches(p + hx + hy))
                out.push_back(p);
        }
    }
    return 1;
}
