#include "FiniteEntity.h"

#include <span>
#include <string>

#include "DrawingFile.h"
#include "EventLog.h"
#include "decDbCurve.h"

namespace host {

bool IsFiniteEntity(decDbEntity& entity)
{
    if (!CanBeStored(entity)) return false;
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
    decViewFilter drawn;
    entity.Draw(drawn);
    for (const DrawnPrimitive& item : drawn.Primitives())
        if (!AllFinite(item.points)) return false;
    return true;
}

void ShowLeftOut(const char* exportName, decDbEntity& entity, const char* reason)
{
    EventLog::Instance().Show(std::string(exportName) + ": " + StoredObjectName(entity) + " left out: " + reason);
}

}  // namespace host
