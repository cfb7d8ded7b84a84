#include "GeoRoofFaces.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include "SlopedRoofSolver.h"

namespace {

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

bool SlopeInRange(double degrees)
{
    return degrees > 0.0 && degrees < 90.0;
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
    if (!x || !y || !slope || !faceVertexCounts || !fx || !fy || !fz || n < 3 || n > kMaxOutlinePoints || h > 0.0)
        return 0;
    for (int i = 1; i <= n; ++i)
        if (!SlopeInRange(slope[i]))
            return 0;

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
        return 0;

    // A roof that does not fit the caller's arrays gives no faces.
    if (rec->faceCount < 1 || rec->faceCount >= kFaceEntries || rec->faceCount > kMaxFaces)
        return 0;
    int total = 0;
    for (int f = 1; f <= rec->faceCount; ++f)
        total += rec->faceVertexCounts[f];
    if (total >= kFaceVertexEntries || total > kMaxFaceVertices)
        return 0;
    for (int f = 1; f <= rec->faceCount; ++f)
        faceVertexCounts[f] = rec->faceVertexCounts[f];
    for (int v = 1; v <= total; ++v) {
        fx[v] = x[1] + rec->faceX[v];
        fy[v] = y[1] + rec->faceY[v];
        fz[v] = rec->faceZ[v];
    }
    *faceCount = rec->faceCount;
    return 1;
}
