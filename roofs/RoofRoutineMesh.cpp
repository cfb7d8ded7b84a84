#include "RoofRoutineMesh.h"

#include <algorithm>

#include "OutlineCleanup.h"
#include "RoofRings.h"

namespace {

// The routine's face arrays (1-based): counts of faces 1..999, vertices 1..9999.
constexpr int kCountEntries = 1000;
constexpr int kVertexEntries = 10000;

}  // namespace

RoofRoutineFaces::RoofRoutineFaces(std::size_t n)
    : x(n + 1), y(n + 1), slope(n + 1), counts(kCountEntries), fx(kVertexEntries), fy(kVertexEntries),
      fz(kVertexEntries)
{
}

RoofRoutineFaces RunRoofRoutine(RoofFaceRoutine routine, double h, const GePoint3dArray& ring,
                                const std::vector<double>& slopes)
{
    const std::size_t n = ring.size();
    RoofRoutineFaces r(n);
    for (std::size_t i = 0; i < n; ++i) {
        r.x[i + 1] = ring[i].x;
        r.y[i + 1] = ring[i].y;
        r.slope[i + 1] = slopes[i];
    }
    routine(h, r.x.data(), r.y.data(), r.slope.data(), static_cast<int>(n), &r.faceCount, r.counts.data(), &r.spare,
            r.fx.data(), r.fy.data(), r.fz.data());
    return r;
}

int AppendRoutineFaces(const RoofRoutineFaces& r, double z0, decMesh4& mesh)
{
    int appended = 0;
    int next = 1;
    for (int f = 1; f <= std::min(r.faceCount, kCountEntries - 1); ++f) {
        const int c = r.counts[f];
        if (c < 0 || next + c > kVertexEntries)
            break;
        GePoint3dArray face;
        for (int v = next; v < next + c; ++v)
            face.emplace_back(r.fx[v], r.fy[v], r.fz[v] + z0);
        next += c;
        if (face.size() < 3)
            continue;
        face = roof_rings::CounterClockwise(face);
        mesh.AppendPolygon(static_cast<int>(face.size()), face.data(), 0);
        ++appended;
    }
    return appended;
}

void AppendEaveBand(GePoint3dArray outline, GePoint3dArray raised, decMesh4& mesh)
{
    if (GetPtsSignedArea(outline) < 0.0) {
        std::reverse(outline.begin(), outline.end());
        std::reverse(raised.begin(), raised.end());
    }
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const GePoint3d quad[] = {outline[i], outline[i + 1], raised[i + 1], raised[i]};
        mesh.AppendPolygon(4, quad, 0);
    }
    const GePoint3d closing[] = {raised[0], raised[n - 1], outline[n - 1], outline[0]};
    mesh.AppendPolygon(4, closing, 0);
}
