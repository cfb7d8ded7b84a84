// The pitched-roof surface generator of CTools (powudingzcx_c): one plane face per eave edge
// of a footprint with holes, each edge rising at its own slope, bounded by the lines where
// its plane meets the others.
//
// The faces come from the kernel's moving eave lines (the weighted straight skeleton the
// multi-slope roof solver uses): each eave line moves inward as the roof rises, and where the
// lines meet lie the hips, valleys and ridges. The generator's own part is its interface:
// the loops turned the way the roof wants and written back, the planes worked in float by
// which eaves of one plane are grouped, and the faces of a group that meet merged into one.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "CheckedNumbers.h"
#include "PlaneFaceMerge.h"
#include "PlanLines.h"
#include "RoofWavefront.h"
#include "Tools.h"
#include "qrxGeRing.h"

namespace {

// The far point of each edge's plane record lies this far to the inside of the edge.
constexpr float kReference = 6000.0f;
// Planes whose coefficients agree within these are one plane (for the groups of faces).
constexpr double kSameCoefficient = 0.1;
constexpr double kSameOffset = 1.0;
// Points within this on x and y are one point.
constexpr double kJoin = 1.0;
// What a caller's output arrays hold (1-based): face counts and face vertices.
constexpr std::size_t kMaxFaces = 999;
constexpr std::size_t kMaxFaceVertices = 99999;
constexpr int kMaxVertices = 999;

struct Point3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// A plane A x + B y + C z + D = 0, scaled so that its largest coefficient is 1.
struct Plane {
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
};

// The footprint after orientation: vertex k (1-based over all loops) starts edge k and
// face k.
struct Footprint {
    int count = 0;
    std::vector<float> x, y, slope, base;  // 1-based
    std::vector<int> next, prev;           // within the vertex's loop
    std::vector<int> loopStart;            // per loop (0-based): its first vertex
};

bool Finite(float v) { return std::isfinite(v); }

// The cross product at vertex i with its previous and next vertex: negative where a
// clockwise loop turns right (a convex corner of the roof region).
float CornerTurn(const Footprint& f, int i)
{
    const int p = f.prev[i];
    const int n = f.next[i];
    return (f.x[p] - f.x[i]) * (f.y[i] - f.y[n]) - (f.y[p] - f.y[i]) * (f.x[i] - f.x[n]);
}

// Whether the input can be roofed; the loops' vertex counts as read.
bool CheckInput(int nLoops, const int* loopPointCounts, const float* loopBase, const float* x, const float* y,
                const float* slope, std::vector<int>& counts)
{
    if (nLoops < 1 || loopPointCounts == nullptr || loopBase == nullptr || x == nullptr || y == nullptr ||
        slope == nullptr)
        return false;
    int total = 0;
    for (int l = 1; l <= nLoops; ++l) {
        const int n = loopPointCounts[l];
        if (n < 3 || n > kMaxVertices - total || !Finite(loopBase[l]))
            return false;
        total += n;
        counts.push_back(n);
    }
    int first = 1;
    for (const int n : counts) {
        for (int k = first; k < first + n; ++k) {
            const int next = k + 1 < first + n ? k + 1 : first;
            const float dx = std::fabs(x[k] - x[next]);
            const float dy = std::fabs(y[k] - y[next]);
            // An edge the join tolerance cannot tell from a point has no direction, so its
            // plane, and the hips of both its ends, would be arbitrary.
            const bool tooShort = dx <= kJoin && dy <= kJoin;
            if (!Finite(x[k]) || !Finite(y[k]) || tooShort || !(slope[k] > 0.0f && slope[k] < tools::kHalfPi))
                return false;
        }
        first += n;
    }
    return true;
}

// Copies the loops, turning each so that the roof lies to the right of every edge (the
// outer loop clockwise, holes counter-clockwise), each edge keeping its slope. Extents are taken over all loops.
Footprint Orient(std::span<const int> counts, const float* loopBase, const float* x, const float* y, const float* slope)
{
    Footprint f;
    for (const int n : counts)
        f.count += n;
    const std::size_t size = static_cast<std::size_t>(f.count) + 1;
    f.x.assign(size, 0.0f);
    f.y.assign(size, 0.0f);
    f.slope.assign(size, 0.0f);
    f.base.assign(size, 0.0f);
    f.next.assign(size, 0);
    f.prev.assign(size, 0);
    int first = 1;
    for (std::size_t l = 0; l < counts.size(); ++l) {
        const int n = counts[l];
        const int last = first + n - 1;
        f.loopStart.push_back(first);
        std::vector<qrxGe::point2d> ring;
        for (int k = first; k <= last; ++k) {
            f.x[k] = x[k];
            f.y[k] = y[k];
            f.slope[k] = slope[k];
            f.base[k] = loopBase[l + 1];
            f.next[k] = k < last ? k + 1 : first;
            f.prev[k] = k > first ? k - 1 : last;
            ring.emplace_back(x[k], y[k]);
        }
        // The way round is the area's sign: a turn at one corner says nothing where that
        // corner lies on a straight run.
        const double area = qrxGe::SignedArea(ring);
        const bool reverse = l == 0 ? area > 0.0 : area < 0.0;
        if (reverse) {
            // New edge j runs from old vertex n-1-j to n-2-j: old edge n-2-j turned round.
            for (int j = 0; j < n; ++j) {
                f.x[first + j] = x[last - j];
                f.y[first + j] = y[last - j];
                f.slope[first + j] = slope[first + (n - 2 - j + n) % n];
            }
        }
        first = last + 1;
    }
    return f;
}

// The plane of edge k: through its eave at the base and the point kReference to its right
// at base + kReference tan(slope), scaled by its largest coefficient.
Plane EdgePlane(const Footprint& f, int k)
{
    const int e = f.next[k];
    const float x1 = f.x[k], y1 = f.y[k], base = f.base[k];
    const float a = CTools::baaf(x1, y1, f.x[e], f.y[e]);
    // The end turned about the start into the edge's frame, moved to the right there, and
    // turned back.
    const float cosBack = std::cos(-a), sinBack = std::sin(-a);
    const float tx = x1 + (f.x[e] - x1) * cosBack - (f.y[e] - y1) * sinBack;
    const float ty = y1 + (f.x[e] - x1) * sinBack + (f.y[e] - y1) * cosBack - kReference;
    const float cosA = std::cos(a), sinA = std::sin(a);
    const Point3 reference{x1 + (tx - x1) * cosA - (ty - y1) * sinA, y1 + (tx - x1) * sinA + (ty - y1) * cosA,
                           base + kReference * std::sin(f.slope[k]) / std::cos(f.slope[k])};
    const float ux = f.x[e] - x1, uy = f.y[e] - y1, uz = 0.0f;
    const float vx = reference.x - x1, vy = reference.y - y1, vz = reference.z - base;
    float pa = uy * vz - uz * vy;
    float pb = uz * vx - ux * vz;
    float pc = ux * vy - uy * vx;
    const float ma = std::fabs(pa), mb = std::fabs(pb), mc = std::fabs(pc);
    // The strictly largest, tested A, B, C; where two tie for largest, the first of them (a
    // 45-degree slope on an axis edge ties B or A with C, and an unscaled plane would defeat
    // every tolerance below).
    float scale = pc;
    if (ma > mb && ma > mc)
        scale = pa;
    else if (mb > ma && mb > mc)
        scale = pb;
    else if (mc > ma && mc > mb)
        scale = pc;
    else if (ma >= mb && ma >= mc)
        scale = pa;
    else if (mb >= mc)
        scale = pb;
    pa /= scale;
    pb /= scale;
    pc /= scale;
    return {pa, pb, pc, -(pa * x1 + pb * y1 + pc * base)};
}

bool SamePlane(const Plane& p, const Plane& q)
{
    const float da = std::fabs(p.a - q.a), db = std::fabs(p.b - q.b), dc = std::fabs(p.c - q.c);
    const float dd = std::fabs(p.d - q.d);
    return da < kSameCoefficient && db < kSameCoefficient && dc < kSameCoefficient && dd < kSameOffset;
}

// Groups of edges in one plane: an edge that has a concave end opens a group with every
// later ungrouped edge in its plane; the group's number is the opening edge's index.
std::vector<int> CoplanarGroups(const Footprint& f, std::span<const Plane> planes, std::span<const int> corner)
{
    std::vector<int> group(planes.size(), 0);
    for (int k = 1; k <= f.count; ++k) {
        if ((corner[k] == 1 && corner[f.next[k]] == 1) || group[k] != 0)
            continue;
        for (int j = k + 1; j <= f.count; ++j) {
            if (group[j] == 0 && SamePlane(planes[k], planes[j])) {
                group[j] = k;
                group[k] = k;
            }
        }
    }
    return group;
}

// The height of the plane at (x, y); the planes rise inward, so C is never 0.
double HeightOn(const Plane& p, double x, double y) { return -(p.a * x + p.b * y + p.d) / p.c; }

// Whether every point of the face lies within 1 mm (in height) of the plane. Eaves are
// grouped by their plane coefficients within 0.1, which near the origin also pairs planes
// that part by more; their faces are no one face.
bool LiesInPlane(const PlaneFace& face, const Plane& plane)
{
    for (std::size_t i = 0; i < face.x.size(); ++i)
        if (!(std::fabs(face.z[i] - HeightOn(plane, face.x[i], face.y[i])) <= kJoin))
            return false;
    return true;
}

// The faces of the moving eave lines, per edge (1-based; empty where an edge has none), in
// float at the loops' own heights; false when the lines cannot be followed to the end (or a
// point does not fit a float).
bool EaveLineFaces(const Footprint& f, std::vector<PlaneFace>& byEdge)
{
    const float lowest = *std::min_element(f.base.begin() + 1, f.base.end());
    std::vector<RoofLoop> loops(f.loopStart.size());
    for (std::size_t l = 0; l < loops.size(); ++l) {
        const int first = f.loopStart[l];
        const int last = l + 1 < loops.size() ? f.loopStart[l + 1] - 1 : f.count;
        loops[l].base = static_cast<double>(f.base[first]) - lowest;
        for (int k = first; k <= last; ++k) {
            loops[l].x.push_back(f.x[k]);
            loops[l].y.push_back(f.y[k]);
            loops[l].rise.push_back(std::tan(f.slope[k]));
        }
    }
    std::vector<RoofFace> faces;
    if (!RoofFacesByWavefront(loops, &faces))
        return false;
    byEdge.assign(static_cast<std::size_t>(f.count) + 1, {});
    for (const RoofFace& r : faces) {
        PlaneFace& face = byEdge[static_cast<std::size_t>(r.edge) + 1];
        for (const auto& p : r.points) {
            const auto x = StoredAs<float>(p[0]), y = StoredAs<float>(p[1]), z = StoredAs<float>(p[2] + lowest);
            if (!x || !y || !z)
                return false;
            face.x.push_back(*x);
            face.y.push_back(*y);
            face.z.push_back(*z);
        }
    }
    return true;
}

// Every face of the roof: the faces of ungrouped eaves in edge order, then each group's
// faces (in order of its first eave), those of its eaves that meet in its plane merged into
// one; nothing when the eave lines cannot be followed.
std::optional<std::vector<PlaneFace>> RoofFaces(const Footprint& f)
{
    std::vector<PlaneFace> byEdge;
    if (!EaveLineFaces(f, byEdge))
        return std::nullopt;
    const std::size_t size = static_cast<std::size_t>(f.count) + 1;
    std::vector<int> corner(size, 0);
    for (int k = 1; k <= f.count; ++k)
        corner[k] = CornerTurn(f, k) < 0.0f ? 1 : 2;
    std::vector<Plane> planes(size);
    for (int k = 1; k <= f.count; ++k)
        planes[k] = EdgePlane(f, k);
    const std::vector<int> group = CoplanarGroups(f, planes, corner);

    std::vector<PlaneFace> faces;
    for (int k = 1; k <= f.count; ++k)
        if (group[k] == 0 && !byEdge[k].x.empty())
            faces.push_back(std::move(byEdge[k]));
    std::vector<bool> handled(size, false);
    for (int k = 1; k <= f.count; ++k) {
        if (group[k] == 0 || handled[k])
            continue;
        std::vector<PlaneFace> members;
        for (int j = k; j <= f.count; ++j) {
            if (group[j] != group[k] || handled[j])
                continue;
            handled[j] = true;
            if (byEdge[j].x.empty())
                continue;
            if (LiesInPlane(byEdge[j], planes[k]))
                members.push_back(std::move(byEdge[j]));
            else
                faces.push_back(std::move(byEdge[j]));
        }
        for (PlaneFace& face : MergeFacesSharingEdges(members))
            faces.push_back(std::move(face));
    }
    return faces;
}
}  // namespace

void CTools::powudingzcx_c(int nLoops, const int* loopPointCounts, const float* loopBase, float* x, float* y,
                           float* slope, int* faceCount, int* faceVertexCounts, float* faceX, float* faceY,
                           float* faceZ)
{
    if (faceCount == nullptr)
        return;
    *faceCount = 0;
    std::vector<int> counts;
    if (faceVertexCounts == nullptr || faceX == nullptr || faceY == nullptr || faceZ == nullptr ||
        !CheckInput(nLoops, loopPointCounts, loopBase, x, y, slope, counts))
        return;

    const Footprint footprint = Orient(counts, loopBase, x, y, slope);
    const std::optional<std::vector<PlaneFace>> faces = RoofFaces(footprint);
    if (!faces)
        return;
    std::size_t vertices = 0;
    for (const PlaneFace& face : *faces)
        vertices += face.x.size();
    if (faces->size() > kMaxFaces || vertices > kMaxFaceVertices)
        return;
    // The loops go back turned the way the roof was built, and only with a roof: a refused
    // input leaves the caller's arrays as they were.
    for (int k = 1; k <= footprint.count; ++k) {
        x[k] = footprint.x[k];
        y[k] = footprint.y[k];
        slope[k] = footprint.slope[k];
    }
    int at = 0;
    for (std::size_t f = 0; f < faces->size(); ++f) {
        const PlaneFace& face = (*faces)[f];
        faceVertexCounts[f + 1] = static_cast<int>(face.x.size());
        for (std::size_t v = 0; v < face.x.size(); ++v) {
            ++at;
            faceX[at] = face.x[v];
            faceY[at] = face.y[v];
            faceZ[at] = face.z[v];
        }
    }
    *faceCount = static_cast<int>(faces->size());
}
