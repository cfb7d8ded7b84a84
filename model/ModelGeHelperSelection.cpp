// Outlines the user selects or picks, the polygon filter, and the outline highlight; see
// ModelGeHelper.h.
#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "ArcSampling.h"
#include "AssertReport.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "ModelGeHelper.h"
#include "ModelHelperWindows.h"
#include "OrvScaleText.h"
#include "Tools.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"
#include "decReturnCode.h"

namespace {

// Outline points closer than this are one point.
constexpr double kCleanTol = 1e-6;
// Lengths, heights and areas are compared within this.
constexpr double kLengthTol = 0.001;
// The highlight's colour and the flags of the temporary polyline.
constexpr std::uint32_t kHighlightColour = 0xFFFF;
// The line the report of the contour pick's face count names.
constexpr int kFaceCountCheckLine = 1214;

bool IsRefusedSilently(decDbEntity* entity)
{
    return IsWindow(entity) || decDbText::Cast(entity) || decDbPoint::Cast(entity) ||
           entity->IsKindOf(COrvScaleText::Desc());
}

// The bottom polygon of a selected entity as an outline: counter-clockwise, cleaned, closed.
// Empty when the entity has none or it is open (which is reported).
GePoint3dArray ClosedOutlineOf(decDbEntity* entity)
{
    GePoint3dArray ring;
    int closed = 0;
    if (!CTools::GetEntBottomPlg(entity, closed, ring))
        return {};
    if (!closed) {
        dec::PrintPrompt("底轮廓线必须闭合！");
        return {};
    }
    if (CTools::IsPtArrayClockWise(ring))
        CTools::ReverseP3dArray(ring);
    CTools::ManageGePoint3dArray(ring, 1, kCleanTol);
    if (ring.empty())
        return ring;
    if (ring.front().DistanceTo(ring.back()) > kLengthTol)
        ring.push_back(ring.front());
    return ring;
}

double FaceHeight(const GePoint3dArray& face)
{
    return face.front().z;
}

void AppendClosed(GePoint3dArray ring, std::vector<GePoint3dArray>& outlines)
{
    if (ring.empty())
        return;
    ring.push_back(ring.front());
    outlines.push_back(std::move(ring));
}

// The contour of a solid that is no building: the lower of its first two level faces.
void AppendSolidContour(decDbEntity* entity, std::vector<GePoint3dArray>& outlines)
{
    std::vector<GePoint3dArray> arrayFlatFace;
    Get3DEntFlatFace(entity, arrayFlatFace);
    if (arrayFlatFace.size() > 2)
        ReportAssertFailure("arrayFlatFace.size() <= 2", "modelhelper", kFaceCountCheckLine);
    if (arrayFlatFace.empty())
        return;
    if (arrayFlatFace.size() == 1) {
        AppendClosed(arrayFlatFace[0], outlines);
        return;
    }
    const bool firstLower = FaceHeight(arrayFlatFace[0]) < FaceHeight(arrayFlatFace[1]);
    AppendClosed(arrayFlatFace[firstLower ? 0 : 1], outlines);
}

// The contour of a curve: its points with arcs sampled, then the end of its last segment.
int AppendCurveContour(decDbCurve* curve, std::vector<GePoint3dArray>& outlines)
{
    GeCurveList segments;
    if (!curve->Explode(segments))
        return 0;
    GePoint3dArray ring;
    ArcSampling::AppendCurvePoints(segments, ring);
    GePoint3d end;
    if (ArcSampling::LastSegmentEnd(segments, end))
        ring.push_back(end);
    outlines.push_back(std::move(ring));
    return 1;
}

// The outlines listed so far, indexed so that a new outline is compared only with those that
// can be the same: the same point count and a corner in the plan cell (1 mm square) of its
// first point or a neighbouring one. The same outline matches every corner of the new one, its
// first among them, so no match is missed; SameOutline stays the judge, and the answer is the
// one comparing with every listed outline gives.
class ListedOutlines {
public:
    explicit ListedOutlines(const std::vector<GePoint3dArray>& outlines) : m_outlines(outlines)
    {
        for (std::size_t i = 0; i < outlines.size(); ++i)
            Index(i);
    }

    bool Holds(const GePoint3dArray& ring) const
    {
        const auto group = m_groups.find(static_cast<int>(ring.size()));
        if (ring.empty() || group == m_groups.end())
            return false;
        std::vector<std::size_t> candidates = group->second.uncelled;
        if (const std::optional<Cell> cell = CellOf(ring.front())) {
            for (long long dx = -1; dx <= 1; ++dx) {
                for (long long dy = -1; dy <= 1; ++dy) {
                    const auto it = group->second.cells.find({cell->x + dx, cell->y + dy});
                    if (it != group->second.cells.end())
                        candidates.insert(candidates.end(), it->second.begin(), it->second.end());
                }
            }
        } else {
            // A first point that fits no cell: every listed outline of the count is a candidate.
            for (const auto& [key, indices] : group->second.cells)
                candidates.insert(candidates.end(), indices.begin(), indices.end());
        }
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
        const SameOutline same(ring);
        return std::any_of(candidates.begin(), candidates.end(), [&](std::size_t i) { return same(m_outlines[i]); });
    }

    // Takes in the outline last appended to the list.
    void IndexLast() { Index(m_outlines.size() - 1); }

private:
    struct Cell {
        long long x, y;
        bool operator==(const Cell&) const = default;
    };
    struct CellHash {
        std::size_t operator()(const Cell& c) const
        {
            return std::hash<long long>()(c.x) ^ (std::hash<long long>()(c.y) * 0x9E3779B97F4A7C15ull);
        }
    };
    struct Group {
        std::unordered_map<Cell, std::vector<std::size_t>, CellHash> cells;
        std::vector<std::size_t> uncelled;  // outlines with a corner that fits no cell
    };

    static std::optional<Cell> CellOf(const GePoint3d& p)
    {
        if (!(std::fabs(p.x) < 1e15 && std::fabs(p.y) < 1e15))
            return std::nullopt;
        return Cell{static_cast<long long>(std::floor(p.x)), static_cast<long long>(std::floor(p.y))};
    }

    void Index(std::size_t i)
    {
        const GePoint3dArray& outline = m_outlines[i];
        Group& group = m_groups[static_cast<int>(outline.size())];
        std::vector<Cell> cells;
        for (const GePoint3d& p : outline) {
            const std::optional<Cell> cell = CellOf(p);
            if (!cell) {
                group.uncelled.push_back(i);
                return;
            }
            if (std::find(cells.begin(), cells.end(), *cell) == cells.end())
                cells.push_back(*cell);
        }
        for (const Cell& cell : cells)
            group.cells[cell].push_back(i);
    }

    const std::vector<GePoint3dArray>& m_outlines;
    std::unordered_map<int, Group> m_groups;  // by point count
};

}  // namespace

SameOutline::SameOutline(const GePoint3dArray& outline)
    : points(outline), count(static_cast<int>(outline.size()))
{
    plan.reserve(outline.size());
    for (const GePoint3d& p : outline)
        plan.emplace_back(p.x, p.y);
    area = plan.Area();
}

bool SameOutline::operator()(const GePoint3dArray& listed) const
{
    if (static_cast<int>(listed.size()) != count)
        return false;
    GePoint2dArray listedPlan;
    listedPlan.reserve(listed.size());
    for (const GePoint3d& p : listed)
        listedPlan.emplace_back(p.x, p.y);
    if (std::fabs(listedPlan.Area() - area) > kLengthTol)
        return false;
    return std::all_of(plan.begin(), plan.end(), [&](const GePoint2d& p) {
        return std::find(listedPlan.begin(), listedPlan.end(), p) != listedPlan.end();
    });
}

int ModelHelper::CPolygonFilter::Accept(decDbEntity* entity, int& accept)
{
    accept = 0;
    if (!entity || IsRefusedSilently(entity))
        return accept;
    GePoint3dArray polygon;
    int closed = 0;
    if (!CTools::GetEntBottomPlg(entity, closed, polygon)) {
        dec::PrintPrompt("该实体不是多边形实体!");
        return accept;
    }
    CTools::ManageGePoint3dArray(polygon, closed, kCleanTol);
    if (polygon.size() < 3) {
        dec::PrintPrompt("顶点数不能小于3!");
        return accept;
    }
    accept = 1;
    return accept;
}

int SelectMultiBorders(const CString& prompt, std::vector<GePoint3dArray>& outlines)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearSelectSet(1);
    decSelectSet selection;
    ModelHelper::CPolygonFilter filter;
    if (dec::decSSGet(prompt.GetString(), selection, &filter, 1, nullptr) != dex::eOk) {
        dec::PrintPrompt("提示：未选中! ");
        return 0;
    }
    if (selection.GetCount() == 0) {
        dec::PrintPrompt("提示：未选中!");
        return 0;
    }
    ListedOutlines listed(outlines);
    for (int i = 0; i < selection.GetCount(); ++i) {
        decDbEntity* entity = selection.GetEnt(i);
        if (!entity)
            continue;
        GePoint3dArray ring = ClosedOutlineOf(entity);
        if (ring.empty() || listed.Holds(ring))
            continue;
        outlines.push_back(std::move(ring));
        listed.IndexLast();
    }
    return outlines.empty() ? 0 : 1;
}

int SelectContourLine(std::vector<GePoint3dArray>& outlines, CString prompt, decObject*& tagged)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    decObjectId id;
    GePoint3d pickPoint;
    ModelHelper::CONTOUR_FT filter;
    if (db->decPickSingleEntity(id, pickPoint, prompt.GetString(), nullptr, &filter, "取消") != dex::eOk)
        return 0;
    tagged = nullptr;
    decDbEntity* entity = db->GetObjectById(id);
    if (!entity)
        return 1;
    if (IsExtrudeBuild(entity)) {
        GePoint3dArray ring;
        if (GetExtrudeBuildBasePts(entity, ring))
            AppendClosed(std::move(ring), outlines);
    } else if (IsExtendBuild(entity)) {
        tagged = entity;
    } else if (entity->Is3DEntity()) {
        AppendSolidContour(entity, outlines);
    } else if (auto* curve = decDbCurve::Cast(entity)) {
        return AppendCurveContour(curve, outlines);
    }
    return 1;
}

void HighlightOutline(const GePoint3dArray& outline)
{
    if (outline.empty())
        return;
    GePoint3dArray closed = outline;
    closed.push_back(outline.front());
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearTempGraphics();
    db->DrawTempPolyline(closed.data(), static_cast<int>(closed.size()), kHighlightColour, 0, 1);
}
