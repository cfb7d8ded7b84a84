// The polygon offsets of CTools: front-ends of the kernel's offset engine (one loop or all
// loops of the result) and the plan-only path.
//
// The engine works in single precision with tolerances of a thousandth of a millimetre, finer
// than a float's spacing at site coordinates; the front-ends therefore hand it the points
// relative to the first point and move the results back in double.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "AssertReport.h"
#include "PolygonOffset.h"
#include "Tools.h"

namespace {

constexpr int kPointEntries = kernel::kOffsetPointEntries;  // 1-based: at most 4999 points
constexpr int kLoopEntries = kernel::kOffsetLoopEntries;    // 1-based: at most 999 loops
constexpr int kMaxPoints = kPointEntries - 1;
constexpr int kMaxLoops = kLoopEntries - 1;
constexpr int kClosedCode = kernel::kOffsetClosedMode;
constexpr int kOpenCode = kernel::kOffsetOpenMode;
// Heights within this of the first point's count as level.
constexpr double kLevelTol = 0.001;
// Clean-up tolerance of the returned loops.
constexpr double kCleanTol = 1e-6;
// Tolerances of the levelling that measures a loop.
constexpr double kNormalTol = 0.001;
constexpr double kAngleTol = 1e-6;

// The argument record of the engine entries; every array is 1-based (entry 0 unused).
struct OffsetArrays {
    int n = 0;
    int mode = kOpenCode;
    std::array<float, kPointEntries> x{};
    std::array<float, kPointEntries> y{};
    std::array<float, kPointEntries> z{};
    float distance = 0.0f;
    int loopCount = 0;
    std::array<std::int16_t, kLoopEntries> loopVertexCounts{};
    std::array<std::int16_t, kLoopEntries> loopCodes{};
    std::array<float, kPointEntries> outX{};
    std::array<float, kPointEntries> outY{};
    std::array<float, kPointEntries> outZ{};
};

using OffsetEngine = int (*)(int, int, const float[], const float[], const float[], const float*, int*,
                             std::int16_t[], std::int16_t[], float[], float[], float[]);

// One loop of the engine's result, in world coordinates, before clean-up.
struct EngineLoop {
    int code = 0;
    GePoint3dArray points;
};

// The engine receives the distance as if the points ran clockwise, so a positive distance
// always moves a level ring outward.
double SignedDistance(const GePoint3dArray& pts, double distance)
{
    return CTools::IsPtArrayClockWise(pts) ? distance : -distance;
}

// Runs the engine on the points (relative to the first point) and reads back every loop it
// wrote. Reading stops where the record would be overrun. An input beyond the record's
// capacity gives no loops.
std::vector<EngineLoop> RunEngine(OffsetEngine engine, const GePoint3dArray& pts, int closed, double distance)
{
    std::vector<EngineLoop> loops;
    if (pts.empty() || pts.size() > static_cast<std::size_t>(kMaxPoints))
        return loops;
    const GePoint3d origin = pts.front();
    // A ring that is level within the height tolerance goes to the engine exactly level. The
    // engine takes any other ring into its own plane, where "left" follows the ring's normal,
    // so a clockwise outline tilted by a hair would shrink instead of grow.
    const bool level = std::all_of(pts.begin(), pts.end(),
                                   [&origin](const GePoint3d& p) { return std::fabs(p.z - origin.z) <= kLevelTol; });
    auto rec = std::make_unique<OffsetArrays>();
    rec->n = static_cast<int>(pts.size());
    rec->mode = closed != 0 ? kClosedCode : kOpenCode;
    for (int k = 1; k <= rec->n; ++k) {
        const GeVector3d local = pts[k - 1] - origin;
        rec->x[k] = static_cast<float>(local.x);
        rec->y[k] = static_cast<float>(local.y);
        rec->z[k] = level ? 0.0f : static_cast<float>(local.z);
    }
    rec->distance = static_cast<float>(distance);
    engine(rec->n, rec->mode, rec->x.data(), rec->y.data(), rec->z.data(), &rec->distance, &rec->loopCount,
           rec->loopVertexCounts.data(), rec->loopCodes.data(), rec->outX.data(), rec->outY.data(),
           rec->outZ.data());

    const int count = std::min(rec->loopCount, kMaxLoops);
    int r = 1;
    for (int j = 1; j <= count; ++j) {
        const int c = rec->loopVertexCounts[j];
        if (c < 0 || r + c - 1 > kMaxPoints)
            break;
        EngineLoop loop{rec->loopCodes[j], {}};
        loop.points.reserve(static_cast<std::size_t>(c));
        for (int i = r; i < r + c; ++i)
            loop.points.push_back(origin + GeVector3d(rec->outX[i], rec->outY[i], rec->outZ[i]));
        r += c;
        loops.push_back(std::move(loop));
    }
    return loops;
}

// The clean-up every returned loop gets: closed when its code is above 10000.
GePoint3dArray Cleaned(GePoint3dArray points, int code)
{
    CTools::ManageGePoint3dArray(points, code > 10000 ? 1 : 0, kCleanTol);
    return points;
}

// The size of a loop: the squared plan diagonal of the box of a copy turned level about its
// first point.
double LevelledPlanMeasure(const GePoint3dArray& loop)
{
    const GeVector3d n = CTools::GetNormal(loop, kNormalTol);
    GeVector3d axis = n.CrossProduct(GeVector3d::kZAxis);
    axis.Normalize(kNormalTol);
    GePoint3dArray level = loop;
    if (axis.Length() > 0.0 && !loop.empty()) {
        GeMatrix3d turn;
        turn.SetToRotation(n.AngleTo(GeVector3d::kZAxis, axis, kAngleTol), axis, loop.front());
        for (GePoint3d& p : level)
            p.TransformBy(turn);
    }
    GeBoundBox3d box;
    CTools::GetBoundBox3d(level, box);
    double sx = 0.0, sy = 0.0, sz = 0.0;
    box.GetSize(sx, sy, sz);
    return sx * sx + sy * sy;
}

// The single-result front-end: keeps the largest loop of at least minVertices vertices.
// Leaves out and outClosed untouched when there is none.
void OffsetToLargestLoop(OffsetEngine engine, const GePoint3dArray& pts, int closed, double distance,
                         GePoint3dArray& out, int& outClosed, int minVertices)
{
    if (pts.empty())
        return;
    const double d = SignedDistance(pts, distance);
    if (d == 0.0) {
        out.insert(out.end(), pts.begin(), pts.end());
        outClosed = closed;
        return;
    }
    double best = -1.0;
    for (EngineLoop& loop : RunEngine(engine, pts, closed, d)) {
        if (static_cast<int>(loop.points.size()) < minVertices)
            continue;
        GePoint3dArray cleaned = Cleaned(std::move(loop.points), loop.code);
        const double measure = LevelledPlanMeasure(cleaned);
        if (measure > best) {
            best = measure;
            out = std::move(cleaned);
            outClosed = loop.code == kClosedCode ? 1 : 0;
        }
    }
}

}  // namespace

void CTools::offset0(GePoint3dArray pts, int closed, double distance, GePoint3dArray& out, int& outClosed,
                     int minVertices)
{
    OffsetToLargestLoop(OffsetPolygonLoops, pts, closed, distance, out, outClosed, minVertices);
}

void CTools::offset(GePoint3dArray pts, int closed, double distance, GePoint3dArray& out, int& outClosed,
                    int minVertices)
{
    OffsetToLargestLoop(OffsetPolygonRing, pts, closed, distance, out, outClosed, minVertices);
}

void CTools::offset(GePoint3dArray pts, int closed, double distance, std::vector<GePoint3dArray>& outLoops,
                    std::vector<int>& outClosed)
{
    if (pts.empty())
        return;
    const double d = SignedDistance(pts, distance);
    outLoops.clear();
    outClosed.clear();
    if (d == 0.0) {
        outLoops.push_back(pts);
        outClosed.push_back(closed);
        return;
    }
    for (EngineLoop& loop : RunEngine(OffsetPolygonLoops, pts, closed, d)) {
        outLoops.push_back(Cleaned(std::move(loop.points), loop.code));
        outClosed.push_back(loop.code == kClosedCode ? 1 : 0);
    }
}

void CTools::OffsetHorizontal3d(GePoint3dArray pts, int closed, double distance, GePoint3dArray& out)
{
    ManageGePoint3dArray(pts, closed, kCleanTol);
    if (pts.empty())
        return;
    out.clear();
    if (distance == 0.0) {
        out = pts;
        return;
    }
    std::vector<qrxGe::point2d> plan;
    plan.reserve(pts.size());
    for (const GePoint3d& p : pts)
        plan.emplace_back(p.x, p.y);
    std::vector<qrxGe::point2d> result;
    if (Offset2d(plan, closed, distance, result) == 0)
        return;
    for (std::size_t i = 0; i < result.size() && i < pts.size(); ++i)
        out.emplace_back(result[i].x, result[i].y, pts[i].z);
    ManageGePoint3dArray(out, closed, kCleanTol);
}

int CTools::Offset2d(const std::vector<qrxGe::point2d>& pts, int, double, std::vector<qrxGe::point2d>&)
{
    // The plan offset of a run of points was never built: a segment is refused after the
    // report, as is every other run.
    if (pts.size() == 2)
        static_cast<void>(ORV_ASSERT(0 && "VC8", "Tools"));
    return 0;
}
