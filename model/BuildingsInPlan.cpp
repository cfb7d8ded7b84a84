#include "BuildingsInPlan.h"

#include "ExtendBuild.h"
#include "GeUtility.h"
#include "ModelGeHelper.h"
#include "ModelHelperBuildings.h"

namespace {

// A point this close to a building's outline, or this far outside a tagged building's box,
// still belongs to it.
constexpr double kOutlineTol = 100.0;
constexpr double kBoxSwell = 100.0;

GePoint2d Plan(const GePoint3d& p)
{
    return GePoint2d(p.x, p.y);
}

}  // namespace

int BuildingsInPlan::Collect()
{
    int unreadable = 0;
    EntityArray buildings;
    if (!GetAllBuild(buildings))
        return unreadable;
    for (decDbEntity* building : buildings) {
        CString name;
        BuildName(building, name);
        if (name.IsEmpty())
            continue;
        if (IsExtrudeBuild(building)) {
            GePoint3dArray base;
            if (!GetExtrudeBuildBasePts(building, base)) {
                ++unreadable;
                continue;
            }
            GePoint2dArray plan;
            for (const GePoint3d& p : base)
                plan.push_back(Plan(p));
            m_outlines.push_back(std::move(plan));
            m_outlineNames.push_back(name);
        } else if (IsExtendBuild(building)) {
            std::vector<GePoint3d> vertices;
            GetExtendBuildAllVts(building, vertices);
            // A tagged object without a mesh has no place to stand.
            if (vertices.empty())
                continue;
            GeBoundBox2d box;
            box.Set(Plan(vertices.front()));
            for (const GePoint3d& v : vertices)
                box.Extend(Plan(v));
            box.Swell(kBoxSwell);
            m_boxes.push_back(box);
            m_boxNames.push_back(name);
        }
    }
    return unreadable;
}

CString BuildingsInPlan::NameAt(const GePoint2d& point) const
{
    for (std::size_t i = 0; i < m_outlines.size(); ++i) {
        const GePoint2dArray& outline = m_outlines[i];
        if (GeUtility::PointInsidePolygon(static_cast<int>(outline.size()), outline.data(), point, kOutlineTol))
            return m_outlineNames[i];
    }
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes[i].Contains(point))
            return m_boxNames[i];
    }
    return "";
}
