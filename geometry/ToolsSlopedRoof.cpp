// The sloped roof faces of CTools: the faces of a multi-slope roof from its outline and one
// slope per edge through the kernel's roof solver, and the ordering of one sloped face so
// that it looks upward and starts at its eave.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "qrxGeScalar.h"
#include "SlopedRoofSolver.h"
#include "Tools.h"

namespace {

// Capacities of the solver's record (1-based, entry 0 unused).
constexpr int kLoopEntries = 10;
constexpr int kOutlineEntries = 500;
constexpr int kFaceEntries = 500;
constexpr int kFaceVertexEntries = 5000;
constexpr int kMaxOutlinePoints = kOutlineEntries - 1;
constexpr int kMaxFaces = kFaceEntries - 1;
constexpr int kMaxFaceVertices = kFaceVertexEntries - 1;
// Degrees become radians with the single-precision pi.
constexpr double kPiF = qrxGe::kPi;
// Heights within this count as the same when the lowest vertex is looked for.
constexpr double kHeightTol = 1e-6;
constexpr double kNormalTol = 0.001;
constexpr double kAngleTol = 1e-6;

// The argument record of the roof solver.
struct RoofSolverArrays {
    int nLoops = 1;
    std::array<std::int16_t, kLoopEntries> loopPointCounts{};
    std::array<float, kLoopEntries> loopBase{};
    std::array<float, kOutlineEntries> x{};
    std::array<float, kOutlineEntries> y{};
    std::array<float, kOutlineEntries> slope{};
    int faceCount = 0;
    std::array<std::int16_t, kFaceEntries> faceVertexCounts{};
    std::array<float, kFaceVertexEntries> faceX{};
    std::array<float, kFaceVertexEntries> faceY{};
    std::array<float, kFaceVertexEntries> faceZ{};
};

// Turns the face so that it starts at vertex s, keeping the cyclic order.
void StartAt(GePoint3dArray& face, std::size_t s)
{
    if (s != 0 && s < face.size())
        std::rotate(face.begin(), face.begin() + static_cast<std::ptrdiff_t>(s), face.end());
}

// The start vertex of a roof face: a sloped face starts at its lowest vertex (the earliest of
// equally low ones), a level one at vertex 0; then, of the two edges at that vertex, the one
// whose other end is lower becomes the first edge (the following one on equal heights).
std::size_t EaveStart(const GePoint3dArray& face)
{
    const std::size_t c = face.size();
    GeVector3d n = CTools::GetNormal(face, kNormalTol);
    n.Normalize(kNormalTol);
    std::size_t s = 0;
    if (!(n == GeVector3d::kZAxis) && !(n == -GeVector3d::kZAxis)) {
        double lowest = face[0].z;
        for (std::size_t i = 1; i < c; ++i) {
            if (face[i].z + kHeightTol < lowest) {
                lowest = face[i].z;
                s = i;
            }
        }
    }
    const std::size_t prev = s == 0 ? c - 1 : s - 1;
    const std::size_t next = s == c - 1 ? 0 : s + 1;
    return face[prev].z < face[next].z ? prev : s;
}

}  // namespace

int CTools::GetSlopingRoofVtsAry(GePoint3dArray outline, std::vector<float> slopes,
                                 CArray<GePoint3dArray, GePoint3dArray>& faces)
{
    faces.RemoveAll();
    const int n = static_cast<int>(outline.size());
    if (slopes.size() != outline.size() || n == 0 || n > kMaxOutlinePoints)
        return 0;

    // Face j is lifted by the height of outline point n-1-j; faces beyond the outline's count
    // by the first point's height. The callers pass level outlines, where all are the same.
    std::vector<double> heights;
    for (auto it = outline.rbegin(); it != outline.rend(); ++it)
        heights.push_back(it->z);

    // The solver works in float near the outline's first point, and always on a clockwise
    // ring: a counter-clockwise outline is reversed with its slopes re-paired so that every
    // edge keeps its own slope.
    const GePoint3d origin = outline.front();
    const bool clockwise = IsPtArrayClockWise(outline) != 0;
    auto rec = std::make_unique<RoofSolverArrays>();
    for (int k = 1; k <= n; ++k) {
        const GePoint3d& p = clockwise ? outline[k - 1] : outline[n - k];
        const float deg = clockwise ? slopes[k - 1] : (k < n ? slopes[n - k - 1] : slopes[n - 1]);
        rec->x[k] = static_cast<float>(p.x - origin.x);
        rec->y[k] = static_cast<float>(p.y - origin.y);
        rec->slope[k] = static_cast<float>(deg / 180.0 * kPiF);
    }
    rec->loopPointCounts[1] = static_cast<std::int16_t>(n);
    rec->loopBase[1] = 0.0f;
    const int solved = SolveSlopedRoofFaces(rec->nLoops, rec->loopPointCounts.data(), rec->loopBase.data(),
                                            rec->x.data(), rec->y.data(), rec->slope.data(), &rec->faceCount,
                                            rec->faceVertexCounts.data(), rec->faceX.data(), rec->faceY.data(),
                                            rec->faceZ.data());
    if (solved == 0 || rec->faceCount == 0)
        return 0;

    const int faceCount = std::min(rec->faceCount, kMaxFaces);
    int o = 0;
    for (int j = 1; j <= faceCount; ++j) {
        const int c = rec->faceVertexCounts[j];
        if (c < 0 || o + c > kMaxFaceVertices)
            break;
        // A face of fewer than three vertices is no face; the next one starts after it.
        if (c < 3) {
            o += c;
            continue;
        }
        const double lift = static_cast<std::size_t>(j - 1) < heights.size() ? heights[j - 1] : origin.z;
        GePoint3dArray face;
        face.reserve(static_cast<std::size_t>(c));
        for (int i = 0; i < c; ++i) {
            const int v = o + c - i;
            face.emplace_back(origin.x + rec->faceX[v], origin.y + rec->faceY[v],
                              static_cast<double>(rec->faceZ[v]) + lift);
        }
        StartAt(face, EaveStart(face));
        faces.Add(face);
        o += c;
    }
    return faces.GetSize() > 0 ? 1 : 0;
}

int CTools::ManageSlopevts(GePoint3dArray& face)
{
    const std::size_t n = face.size();
    if (n < 3)
        return 0;
    GeVector3d normal = GetNormal(face, kNormalTol);
    if (normal.Length() == 0.0)
        return 0;
    if (normal.z < 0.0) {
        ReverseP3dArray(face);
        normal = -normal;
    }
    if (normal.x == 0.0 && normal.y == 0.0)
        return 0;

    // The lowest vertices, within kHeightTol of each other.
    std::vector<std::size_t> lowest{0};
    double min = face[0].z;
    for (std::size_t i = 1; i < n; ++i) {
        if (face[i].z < min - kHeightTol) {
            lowest = {i};
            min = face[i].z;
        } else if (std::fabs(face[i].z - min) < kHeightTol) {
            lowest.push_back(i);
        }
    }
    if (lowest.size() == 1 && lowest[0] != 0) {
        StartAt(face, lowest[0]);
        return 1;
    }

    // Of several, the one that comes first along the face's level direction: turn a copy so
    // that direction runs along +x and take the smallest x.
    GeVector3d level = GeVector3d::kZAxis.CrossProduct(normal);
    level.Normalize(kNormalTol);
    const double a = level.AngleTo(GeVector3d::kXAxis, GeVector3d::kZAxis, kAngleTol);
    GePoint3dArray turned = face;
    if (a != 0.0) {
        GeMatrix3d turn;
        turn.SetToRotation(a, GeVector3d::kZAxis);
        for (GePoint3d& p : turned)
            p.TransformBy(turn);
    }
    std::size_t first = lowest[0];
    for (const std::size_t i : lowest)
        if (turned[i].x < turned[first].x)
            first = i;
    StartAt(face, first);
    return 1;
}
