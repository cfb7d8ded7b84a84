#include "BatchCreateContour.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "Ge.h"
#include "Input.h"
#include "IntersectSegments2d.h"
#include "OrvCommandHandlers.h"
#include "WinApp.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

namespace {

constexpr const char* kContourLayer = "原始等高线";
constexpr std::uint32_t kContourColour = 0x646464;
// Made sure of for the design contours drawn later.
constexpr const char* kDesignLayer = "设计等高线";
constexpr std::uint32_t kDesignColour = 0x7878B4;

constexpr const char* kNothingSelected = "没有选择要赋值的对象。";
constexpr const char* kNotTwoD = "请选择二维实体！";
constexpr const char* kNoStart = "请输入起始高程!";
constexpr const char* kNoInterval = "请输入等高距!";
constexpr const char* kNotCreated = "提示：等高线创建失败，原线保留。";

constexpr double kTolerance = 0.01;
// Farther than any crossing: a crossing replaces it only when strictly nearer.
constexpr double kFar = 1e9;
// A plan loop's first two vertices within this of each other in z count as level when the
// loop has no normal (a straight line).
constexpr double kLevelRise = 1.0;
// Entered values above this are millimetres; the rest are metres.
constexpr double kMillimetreThreshold = 10000;

// The segment the user draws across the contours.
struct ScanLine {
    GePoint2d first;
    GePoint2d second;
};

// A contour the segment crosses: which of its loops was crossed, and how near to the first
// point.
struct CrossedContour {
    decObjectId id;
    double distance = kFar;
    int loop = 0;
};

enum class Scan { kCrossed, kLeftOut, kNotTwoD };

bool AskPoint(const char* prompt, const GePoint3d* base, GePoint3d& out)
{
    dec::PrintPrompt(prompt);
    return dec::GetPoint(base, &out, 0xFFFFFF, 0, 0) == dex::eOk;
}

// The scan line; false when either point was not given (Esc, Enter, *end*).
bool AskScanLine(ScanLine& line)
{
    dec::PrintPrompt("请在平面上绘制取穿过要赋值等高线的线段:");
    GePoint3d first;
    GePoint3d second;
    if (!AskPoint("第一点:", nullptr, first) || !AskPoint("第二点:", &first, second))
        return false;
    line.first.Set(first.x, first.y);
    line.second.Set(second.x, second.y);
    return true;
}

// A value above 10000 is millimetres as entered; any other is metres.
double Millimetres(double entered) { return entered > kMillimetreThreshold ? entered : entered * 1000; }

// The value in millimetres; false (after the box) when no value was entered.
bool AskElevation(const char* prompt, const char* refusal, double& millimetres)
{
    double entered = 0.0;
    if (dec::GetReal(prompt, &entered, 0.0, 2) != dex::eOk) {
        AfxMessageBox(refusal, 0);
        return false;
    }
    millimetres = Millimetres(entered);
    return true;
}

bool IsLevel(int count, const GePoint3d* pts)
{
    if (count < 2)
        return false;
    GeVector3d normal;
    if (!GeUtility::GetPolygonNormal(count, pts, normal)) {
        if (std::fabs(pts[0].z - pts[1].z) > kLevelRise)
            return false;
        normal = GeVector3d::kZAxis;
    }
    normal.Normalize();
    return normal == GeVector3d::kZAxis || normal == -GeVector3d::kZAxis;
}

bool OnSegment(int code) { return code >= 1 && code <= 3; }

// The nearest crossing of the loop's edges with the scan line (the closing edge only for a
// closed loop); false when none is crossed.
bool NearestCrossing(const ScanLine& line, int count, const GePoint3d* pts, int closed, double& nearest)
{
    bool crossed = false;
    const int edges = closed ? count : count - 1;
    for (int j = 0; j < edges; ++j) {
        const GePoint3d& a = pts[j];
        const GePoint3d& b = pts[(j + 1) % count];
        if (std::fabs(a.x - b.x) < kTolerance && std::fabs(a.y - b.y) < kTolerance)
            continue;
        double x = 0.0;
        double y = 0.0;
        int onLine = 0;
        int onEdge = 0;
        IntersectSegments2d(line.first.x, line.first.y, line.second.x, line.second.y, a.x, a.y, b.x, b.y, kTolerance,
                            x, y, onLine, onEdge);
        if (!OnSegment(onLine) || !OnSegment(onEdge))
            continue;
        crossed = true;
        const double distance = line.first.DistanceTo(GePoint2d(x, y));
        if (distance < nearest)
            nearest = distance;
    }
    return crossed;
}

// Where the scan line crosses the entity's first level loop.
bool FindCrossing(const decDbEntity& entity, const ScanLine& line, CrossedContour& found)
{
    GePolygonIterator loops;
    entity.NewPolygonIterator(loops);
    int index = 0;
    for (loops.start(); !loops.done(); loops.next(), ++index) {
        int count = 0;
        const GePoint3d* pts = nullptr;
        int closed = 0;
        int unused = 0;
        loops.getCurLoop(count, pts, closed, unused);
        if (!IsLevel(count, pts))
            continue;
        found.loop = index;
        found.distance = kFar;
        return NearestCrossing(line, count, pts, closed, found.distance);
    }
    return false;
}

Scan ScanObject(const decObjectId& id, const ScanLine& line, CrossedContour& found)
{
    decObject* object = id.OpenForWrite();
    const decDbEntity2d* entity = decDbEntity2d::Cast(object);
    if (!entity) {
        if (object)
            object->Close();
        return Scan::kNotTwoD;
    }
    found.id = id;
    const bool crossed = !entity->GetBaseObject()->IsKindOf(decDbText::Desc()) && FindCrossing(*entity, line, found);
    object->Close();
    return crossed ? Scan::kCrossed : Scan::kLeftOut;
}

// The crossed contours nearest first (equal distances keep the selection order); false when
// a selected object is no 2-D entity.
bool ScanSelection(const decSelectSet& selection, const ScanLine& line, std::vector<CrossedContour>& crossed)
{
    for (int i = 0; i < selection.GetCount(); ++i) {
        CrossedContour found;
        const Scan scan = ScanObject(selection.GetAt(i), line, found);
        if (scan == Scan::kNotTwoD) {
            AfxMessageBox(kNotTwoD, 0);
            return false;
        }
        if (scan == Scan::kCrossed)
            crossed.push_back(found);
    }
    std::stable_sort(crossed.begin(), crossed.end(),
                     [](const CrossedContour& a, const CrossedContour& b) { return a.distance < b.distance; });
    return true;
}

long MakeSureOfLayers(DbDatabase* db)
{
    decLayerTable* layers = db->GetTableLayer();
    layers->OpenForWrite();
    decLayer* contour = layers->SearchLayer(kContourLayer);
    if (!contour)
        contour = layers->CreateNewLayer(kContourLayer, kContourColour);
    if (!layers->SearchLayer(kDesignLayer))
        layers->CreateNewLayer(kDesignLayer, kDesignColour);
    layers->Close();
    return contour->GetID();
}

// A polyline keeps its own vertices and arcs; any other curve gives the crossed loop's points.
decDbPolyline* LiftedCopy(const decDbEntity& entity, int loop, double z)
{
    if (const decDbPolyline* polyline = decDbPolyline::Cast(&entity)) {
        std::vector<GePoint3d> points;
        for (int i = 0; i < polyline->GetNumVerts(); ++i) {
            points.push_back(polyline->GetVertexAt(i));
            points.back().z = z;
        }
        auto* lifted = new decDbPolyline(static_cast<int>(points.size()), points.data(), polyline->IsClosed() ? 1 : 0);
        for (int i = 0; i < polyline->GetNumVerts(); ++i)
            lifted->SetBulgeAt(i, polyline->GetBulgeAt(i));
        return lifted;
    }
    GePolygonIterator loops;
    entity.NewPolygonIterator(loops);
    loops.start();
    for (int i = 0; i < loop; ++i)
        loops.next();
    int count = 0;
    const GePoint3d* pts = nullptr;
    int closed = 0;
    int unused = 0;
    loops.getCurLoop(count, pts, closed, unused);
    std::vector<GePoint3d> points(pts, pts + count);
    for (GePoint3d& p : points)
        p.z = z;
    return new decDbPolyline(count, points.data(), closed);
}

// The new line is created before the selected one goes; a line the host does not take
// leaves the selected one in place.
void ReplaceContour(DbDatabase* db, long layer, const CrossedContour& contour, double z)
{
    decObject* object = contour.id.OpenForWrite();
    const decDbEntity* entity = decDbEntity::Cast(object);
    if (!entity) {
        if (object)
            object->Close();
        return;
    }
    decDbPolyline* lifted = LiftedCopy(*entity, contour.loop, z);
    decObjectId created;
    if (db->CreateNewEntity(layer, lifted, created) == dex::eOk) {
        object->Erase();
    } else {
        delete lifted;
        dec::PrintPrompt(kNotCreated);
    }
    object->Close();
}

}  // namespace

int decSSGet_Curve::Accept(decDbEntity* entity, int& accept)
{
    accept = 0;
    const int curve = entity && entity->IsKindOf(decDbCurve::Desc()) ? 1 : 0;
    if (curve)
        accept = 1;
    return curve;
}

void CMD_BATCH_CREATE_CONTOUR()
{
    dec::PrintPrompt("***批量生成等高线***");
    decSelectSet selection;
    decSSGet_Curve filter;
    dec::decSSGet("请选取要赋高程值的等高线:", selection, &filter, 1, nullptr);
    if (selection.GetCount() < 1) {
        dec::PrintPrompt(kNothingSelected);
        return;
    }
    ScanLine line;
    if (!AskScanLine(line))
        return;

    DbAutoOpen open(1);
    std::vector<CrossedContour> crossed;
    if (!ScanSelection(selection, line, crossed))
        return;
    double start = 0.0;
    double interval = 0.0;
    if (!AskElevation("请输入起始高程(米):", kNoStart, start) || !AskElevation("请输入等高距(米):", kNoInterval, interval))
        return;
    std::vector<double> elevations;
    for (std::size_t k = 0; k < crossed.size(); ++k)
        elevations.push_back(start + static_cast<double>(k) * interval);
    // Elevations too far out to hold leave every line as it was.
    if (!AllFinite(elevations)) {
        dec::PrintPrompt(kNotCreated);
        return;
    }
    const long layer = MakeSureOfLayers(open.db);
    for (std::size_t k = 0; k < crossed.size(); ++k)
        ReplaceContour(open.db, layer, crossed[k], elevations[k]);
}
