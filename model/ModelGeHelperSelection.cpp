// Outlines the user selects or picks, the polygon filter, and the outline highlight; see
// ModelGeHelper.h.
#include <algorithm>
#include <cmath>

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
    for (int i = 0; i < selection.GetCount(); ++i) {
        decDbEntity* entity = selection.GetEnt(i);
        if (!entity)
            continue;
        GePoint3dArray ring = ClosedOutlineOf(entity);
        if (ring.empty())
            continue;
        if (std::none_of(outlines.begin(), outlines.end(), SameOutline(ring)))
            outlines.push_back(std::move(ring));
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
