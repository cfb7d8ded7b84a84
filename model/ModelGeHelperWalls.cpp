// Base rings, walls and level faces of buildings and solids, and the wall a user picked; see
// ModelGeHelper.h.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>

#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "GeCircle3d.h"
#include "GeLineSeg3d.h"
#include "GePolygonIterator.h"
#include "ModelGeHelper.h"
#include "OutlineCleanup.h"
#include "View.h"
#include "decReturnCode.h"

namespace {

// Heights are compared within this.
constexpr double kHeightTol = 0.001;
// The radius of the pick circle, in window units.
constexpr double kPickRadius = 10.0;
// Crossings of the pick circle are found within this.
constexpr double kCrossTol = 0.001;

// Opens an object for read for a scope.
class ReadScope {
public:
    explicit ReadScope(decObject* object) : m_object(object), m_opened(object->OpenForRead() == dex::eOk) {}
    ~ReadScope()
    {
        if (m_opened)
            m_object->Close();
    }
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;

private:
    decObject* m_object;
    bool m_opened;
};

double FaceHeight(const GePoint3dArray& face)
{
    return face.front().z;
}

// The four-point walls over the ring's edges (the last one over the closing edge), h high.
template <class Walls>
void AppendWalls(const GePoint3dArray& ring, double h, Walls& walls)
{
    const GeVector3d up = GeVector3d::kZAxis * h;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const GePoint3d& p = ring[i];
        const GePoint3d& q = ring[(i + 1) % ring.size()];
        walls.push_back(GePoint3dArray{p, q, q + up, p + up});
    }
}

// The building behind an extruded building entity; null for anything else.
const CExtrudeBuild* BuildingOf(decDbEntity* entity)
{
    if (!decDbEntity3d::Cast(entity) || !IsExtrudeBuild(entity))
        return nullptr;
    return CExtrudeBuild::Cast(entity->GetBaseObject());
}

// The level faces of the entity, in iterator order.
std::vector<GePoint3dArray> FlatFaces(decDbEntity* entity)
{
    std::vector<GePoint3dArray> faces;
    Get3DEntFlatFace(entity, faces);
    return faces;
}

// Whether the projected edge between two wall points crosses the pick circle.
bool EdgeCrosses(const decView& view, const GeCircle3d& circle, const GePoint3d& a, const GePoint3d& b)
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    view.WorldToWindow(a, x0, y0);
    view.WorldToWindow(b, x1, y1);
    const GeLineSeg3d edge(GePoint3d(x0, y0, 0.0), GePoint3d(x1, y1, 0.0));
    int count = 0;
    GePoint3d p1, p2;
    return edge.IntersectWith(circle, count, p1, p2, 0, kCrossTol);
}

}  // namespace

int GetExtrudeBuildBasePts(decDbEntity* entity, GePoint3dArray& ring)
{
    const CExtrudeBuild* building = BuildingOf(entity);
    if (!building)
        return 0;
    ReadScope scope(entity);
    decMesh3* mesh = nullptr;
    GeMatrix3d tm;
    if (!entity->GetMesh(mesh, tm) || !mesh)
        return 0;
    const int n = static_cast<int>(building->GetBasePtsNum());
    // The mesh starts with the base ring; a mesh that does not hold it cannot be read.
    if (n < 3 || mesh->GetCountVertex() < n)
        return 0;
    const GePoint3d* vertices = mesh->GetVertexArray();
    ring.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        ring[static_cast<std::size_t>(i)] = tm * vertices[i];
    return 1;
}

int GetExtrudeBuildWallPts(decDbEntity* entity, CArray<GePoint3dArray, GePoint3dArray>& walls)
{
    GePoint3dArray ring;
    if (GetExtrudeBuildBasePts(entity, ring))
        AppendWalls(ring, static_cast<double>(BuildingOf(entity)->Height()), walls);
    return walls.GetSize() > 0 ? 1 : 0;
}

int GetExtrudeEntityWallPts(decDbEntity* entity, std::vector<GePoint3dArray>& walls)
{
    if (!entity || !entity->Is3DEntity())
        return 0;
    decMesh3* mesh = nullptr;
    GeMatrix3d tm;
    {
        ReadScope scope(entity);
        if (!entity->GetMesh(mesh, tm) || !mesh)
            return 0;
    }
    if (IsExtrudeBuild(entity)) {
        GePoint3dArray ring;
        if (!GetExtrudeBuildBasePts(entity, ring))
            return 0;
        AppendWalls(ring, static_cast<double>(BuildingOf(entity)->Height()), walls);
        return walls.empty() ? 0 : 1;
    }
    const std::vector<GePoint3dArray> faces = FlatFaces(entity);
    if (faces.size() < 2)
        return 0;
    const GePoint3dArray* top = &faces[0];
    const GePoint3dArray* bottom = &faces[0];
    for (std::size_t i = 1; i < faces.size(); ++i) {
        const double z = FaceHeight(faces[i]);
        if (z - FaceHeight(*top) > kHeightTol)
            top = &faces[i];
        if (z < FaceHeight(*bottom) + kHeightTol)
            bottom = &faces[i];
    }
    const double h = FaceHeight(*top) - FaceHeight(*bottom);
    if (h < kHeightTol)
        return 0;
    AppendWalls(*bottom, h, walls);
    return walls.empty() ? 0 : 1;
}

int Get3DEntFlatFace(decDbEntity* entity, std::vector<GePoint3dArray>& faces)
{
    if (!entity)
        return 0;
    ReadScope scope(entity);
    const std::unique_ptr<GePolygonIterator> it(entity->NewPolygonIterator());
    for (it->start(); !it->done(); it->next()) {
        int count = 0, closed = 0, flag2 = 0;
        const GePoint3d* pts = nullptr;
        it->getCurLoop(count, pts, closed, flag2);
        if (count < 3 || !pts || flag2 != 0)
            continue;
        const GePoint3dArray loop(pts, pts + count);
        const double z = loop.front().z;
        const bool level = std::all_of(loop.begin(), loop.end(),
                                       [z](const GePoint3d& p) { return std::fabs(p.z - z) <= kHeightTol; });
        if (level)
            faces.push_back(loop);
    }
    return faces.empty() ? 0 : 1;
}

int IsSingleLoopEntity(decDbEntity* entity)
{
    if (!entity)
        return 0;
    ReadScope scope(entity);
    const std::unique_ptr<GePolygonIterator> it(entity->NewPolygonIterator());
    return it->getCountLoop() == 1 ? 1 : 0;
}

int GetBottomFace(decDbEntity* entity, GePoint3dArray& face)
{
    const std::vector<GePoint3dArray> faces = FlatFaces(entity);
    if (faces.empty())
        return 0;
    const GePoint3dArray* best = &faces[0];
    for (std::size_t i = 1; i < faces.size(); ++i)
        if (FaceHeight(faces[i]) < FaceHeight(*best))
            best = &faces[i];
    face = *best;
    return 1;
}

int GetLargestTopFace(decDbEntity* entity, GePoint3dArray& face)
{
    const std::vector<GePoint3dArray> faces = FlatFaces(entity);
    if (faces.empty())
        return 0;
    const GePoint3dArray* best = &faces[0];
    for (std::size_t i = 1; i < faces.size(); ++i) {
        const double rise = FaceHeight(faces[i]) - FaceHeight(*best);
        if (rise > kHeightTol)
            best = &faces[i];
        else if (std::fabs(rise) < kHeightTol &&
                 std::fabs(GetPtsSignedArea(faces[i])) > std::fabs(GetPtsSignedArea(*best)))
            best = &faces[i];
    }
    face = *best;
    return 1;
}

int GetSelWallIndex(const std::vector<GePoint3dArray>& walls, const GePoint3d& pt, int& index)
{
    if (walls.empty())
        return 0;
    index = 0;
    const decView* view = dec::GetActiveView();
    if (!view)
        return 0;
    int x = 0, y = 0;
    view->WorldToWindow(pt, x, y);
    const GeCircle3d circle(GePoint3d(x, y, 0.0), GeVector3d::kZAxis, kPickRadius);
    const int edgeMode = view->IsEdgeMode();
    for (std::size_t i = 0; i < walls.size(); ++i) {
        const GePoint3dArray& wall = walls[i];
        // Walls are four points; shorter lists passed in from outside have no edge to test.
        const bool bottomHit = wall.size() >= 2 && EdgeCrosses(*view, circle, wall[0], wall[1]);
        const bool topHit = !bottomHit && edgeMode && wall.size() >= 4 && EdgeCrosses(*view, circle, wall[2], wall[3]);
        if (bottomHit || topHit) {
            index = static_cast<int>(i);
            return 1;
        }
    }
    return 0;
}
