#include "FiniteEntity.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string>

#include "DrawingFile.h"
#include "EntityCopy.h"
#include "EventLog.h"
#include "decDbCurve.h"

namespace host {

namespace {

// The points of the entity's polygons and curve segments.
bool PointsFinite(const decDbEntity& entity)
{
    for (const GePolygon& polygon : entity.GetPolygons())
        if (!AllFinite(std::span(polygon.GetVertexArray(), static_cast<std::size_t>(polygon.GetCountVertex()))))
            return false;
    // A bulged edge whose arc overflows is drawn straight: its middle point shows it.
    if (const auto* curve = decDbCurve::Cast(&entity)) {
        GeCurveList segments;
        curve->Explode(segments);
        for (int i = 0; i < segments.GetNumSegment(); ++i) {
            int type = 0;
            GePoint3d p1, p2, p3;
            segments.GetSegment(i, type, p1, p2, p3);
            if (!IsFinite(p1) || !IsFinite(p2) || !IsFinite(p3)) return false;
        }
    }
    return true;
}

// What the entity holds, drawing aside: what a save would write and the points it is made of.
bool HoldsFinite(decDbEntity& entity)
{
    return CanBeStored(entity) && PointsFinite(entity);
}

}  // namespace

bool IsFiniteEntity(decDbEntity& entity)
{
    if (!HoldsFinite(entity)) return false;
    decViewFilter drawn;
    entity.Draw(drawn);
    for (const DrawnPrimitive& item : drawn.Primitives())
        if (!AllFinite(item.points)) return false;
    return true;
}

bool StaysFinite(decDbEntity& entity, const GeMatrix3d& move)
{
    // A solid keeps its record and its mesh; only its placement changes.
    if (auto* solid = decDbEntity3d::Cast(&entity)) {
        const GeMatrix3d placed = move * solid->GetLocalTM();
        if (!CanBeStored(*solid, placed)) return false;
        const decMesh3* mesh = solid->GetMesh();
        if (!mesh) return true;
        const std::span vertices(mesh->GetVertexArray(), static_cast<std::size_t>(mesh->GetCountVertex()));
        return std::all_of(vertices.begin(), vertices.end(), [&](const GePoint3d& p) { return IsFinite(placed * p); });
    }
    // Other entities move their own points: the move is tried on a copy. An entity of a class
    // this program does not know keeps its record and draws nothing: a move leaves it as it is.
    const std::unique_ptr<decDbEntity> moved = MovedCopy(entity, move);
    return !moved || HoldsFinite(*moved);
}

void ShowLeftOut(const char* exportName, decDbEntity& entity, const char* reason)
{
    EventLog::Instance().Show(std::string(exportName) + ": " + StoredObjectName(entity) + " left out: " + reason);
}

}  // namespace host
