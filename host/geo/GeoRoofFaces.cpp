#include "GeoRoofFaces.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "GeoRoofShapes.h"
#include "SlopedRoofSolver.h"

namespace {

using geo_roof::Face;
using geo_roof::Point;

// The solver's record: 1-based arrays (entry 0 unused).
constexpr int kOutlineEntries = 500;
constexpr int kFaceEntries = 500;
constexpr int kFaceVertexEntries = 5000;
constexpr int kMaxOutlinePoints = kOutlineEntries - 1;
// What the caller's arrays hold.
constexpr int kMaxFaces = 999;
constexpr int kMaxFaceVertices = 9999;
// Degrees become radians with the single-precision pi.
constexpr double kPiF = 3.1415927410125732;

struct SolverRecord {
    std::array<std::int16_t, 10> loopPointCounts{};
    std::array<float, 10> loopBase{};
    std::array<float, kOutlineEntries> x{}, y{}, slope{};
    int faceCount = 0;
    std::array<std::int16_t, kFaceEntries> faceVertexCounts{};
    std::array<float, kFaceVertexEntries> faceX{}, faceY{}, faceZ{};
};

// How the faces stand on an edge of the given slope in degrees.
enum class Lean { Inward, Outward, Refused };

Lean LeanOf(double degrees)
{
    if (degrees > 0.0 && degrees < 90.0)
        return Lean::Inward;
    // Upright (90 or -90), obtuse, or negative down to a quarter turn.
    if ((degrees >= 90.0 && degrees < 180.0) || (degrees >= -90.0 && degrees < 0.0))
        return Lean::Outward;
    return Lean::Refused;
}

// How far an outward edge moves out as it rises h: h over the tangent of its lean, 0 upright.
double OutwardRun(double degrees, double h)
{
    const double lean = std::fabs(degrees >= 90.0 ? 180.0 - degrees : degrees);
    return lean == 90.0 ? 0.0 : h / std::tan(lean * std::acos(-1.0) / 180.0);
}

// The roof of inward slopes from the kernel's solver, in the caller's coordinates.
bool SolveInward(const double* x, const double* y, const double* slope, int n, std::vector<Face>& faces)
{
    // The solver takes a clockwise ring in float: the points go relative to the first one, so
    // site coordinates keep their precision, and a counter-clockwise outline is reversed with
    // its slopes re-paired so that every edge keeps its own.
    double area = 0.0;
    for (int i = 1; i <= n; ++i) {
        const int j = i == n ? 1 : i + 1;
        area += (x[i] - x[1]) * (y[j] - y[1]) - (x[j] - x[1]) * (y[i] - y[1]);
    }
    const bool clockwise = area < 0.0;
    auto rec = std::make_unique<SolverRecord>();
    for (int k = 1; k <= n; ++k) {
        const int p = clockwise ? k : n + 1 - k;
        const int s = clockwise ? k : (k < n ? n - k : n);
        rec->x[k] = static_cast<float>(x[p] - x[1]);
        rec->y[k] = static_cast<float>(y[p] - y[1]);
        rec->slope[k] = static_cast<float>(static_cast<float>(slope[s]) / 180.0 * kPiF);
    }
    rec->loopPointCounts[1] = static_cast<std::int16_t>(n);
    if (SolveSlopedRoofFaces(1, rec->loopPointCounts.data(), rec->loopBase.data(), rec->x.data(), rec->y.data(),
                             rec->slope.data(), &rec->faceCount, rec->faceVertexCounts.data(), rec->faceX.data(),
                             rec->faceY.data(), rec->faceZ.data()) == 0)
        return false;
    if (rec->faceCount < 1 || rec->faceCount >= kFaceEntries)
        return false;
    for (int f = 1, v = 1; f <= rec->faceCount; ++f) {
        if (rec->faceVertexCounts[f] < 0 || v + rec->faceVertexCounts[f] > kFaceVertexEntries)
            return false;
        Face face;
        for (int k = 0; k < rec->faceVertexCounts[f]; ++k, ++v)
            face.push_back({x[1] + rec->faceX[v], y[1] + rec->faceY[v], rec->faceZ[v]});
        faces.push_back(std::move(face));
    }
    return true;
}

// The faces into the caller's arrays; false, with nothing written, when they do not fit.
bool WriteFaces(const std::vector<Face>& faces, int* faceCount, int* counts, double* fx, double* fy, double* fz)
{
    std::size_t total = 0;
    for (const Face& face : faces)
        total += face.size();
    if (faces.empty() || faces.size() > kMaxFaces || total > kMaxFaceVertices)
        return false;
    int v = 1;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        counts[f + 1] = static_cast<int>(faces[f].size());
        for (const Point& p : faces[f]) {
            fx[v] = p.x;
            fy[v] = p.y;
            fz[v] = p.z;
            ++v;
        }
    }
    *faceCount = static_cast<int>(faces.size());
    return true;
}

}  // namespace

extern "C" int geofeidengpowumianzcx(double h, double* x, double* y, double* slope, int n, int* faceCount,
                                     int* faceVertexCounts, int* spare, double* fx, double* fy, double* fz)
{
    if (spare)
        *spare = 0;
    if (!faceCount)
        return 0;
    *faceCount = 0;
    if (!x || !y || !slope || !faceVertexCounts || !fx || !fy || !fz || n < 3 || n > kMaxOutlinePoints ||
        !(h >= 0.0) || !std::isfinite(h))
        return 0;
    // One kind of lean for the whole outline: the solver cannot follow an outline whose roof
    // rises on some edges and overhangs on others.
    const Lean lean = LeanOf(slope[1]);
    for (int i = 1; i <= n; ++i)
        if (LeanOf(slope[i]) != lean || lean == Lean::Refused || !std::isfinite(x[i]) || !std::isfinite(y[i]))
            return 0;

    // Neither the solver nor the grown ring can follow an outline that crosses itself.
    std::vector<double> px(x + 1, x + n + 1), py(y + 1, y + n + 1);
    if (!geo_roof::IsSimpleRing(px, py))
        return 0;
    std::vector<Face> faces;
    if (lean == Lean::Inward) {
        if (!SolveInward(x, y, slope, n, faces) || (h > 0.0 && !geo_roof::CutAtHeight(faces, h)))
            return 0;
    } else {
        // Upright and overhanging faces stand only as high as the cut.
        if (h == 0.0)
            return 0;
        std::vector<double> run;
        for (int i = 1; i <= n; ++i)
            run.push_back(OutwardRun(slope[i], h));
        if (!geo_roof::OutwardFaces(px, py, run, h, faces))
            return 0;
    }
    return WriteFaces(faces, faceCount, faceVertexCounts, fx, fy, fz) ? 1 : 0;
}
