#include "MultiSlopeRoof.h"

#include "CommandLine.h"
#include "DbDatabase.h"
#include "WorkingDrawing.h"
#include "GeoRoofFaces.h"
#include "RoofFaceUnion.h"
#include "RoofMeshEntities.h"
#include "RoofRings.h"
#include "RoofRoutineMesh.h"

namespace {

constexpr const char* kProgressText = "开始生成坡屋顶...";
constexpr const char* kFailedText = "提示：创建坡屋顶失败。";
// A thickness above this makes a slab band; an edge no longer than this has no length.
constexpr double kLengthTol = 0.001;
// Outlines of more points than this announce the build.
constexpr std::size_t kQuietPoints = 10;
constexpr int kMinPoints = 3;
// A slab thicker than the reach within which the roof-face union keeps a band apart from its
// eave stands the roof's faces where unionroof could take the band for covered by its own
// roof (a band typed 1e11 high kept the old union busy for minutes): refused, as is a
// thickness that is no number.
constexpr double kMaxThickness = kernel::kUnionBandReach;

// The outline with one slope per edge.
struct SlopedRing {
    GePoint3dArray points;
    std::vector<double> slopes;
};

// The outline without its edges of no length (a corner given again, the first point again at
// the end), each with its slope. Edge i runs from point i to the next, the last back to the
// first; dropping point i with slope i leaves the next point to start the next edge with its
// own slope, while the edge before ends at that point instead, no farther than the tolerance
// from where it ended. A run of copies keeps its last.
SlopedRing WithoutEmptyEdges(const GePoint3dArray& outline, const std::vector<float>& slopes)
{
    SlopedRing ring;
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (outline[i].DistanceTo(outline[(i + 1) % n]) <= kLengthTol)
            continue;
        ring.points.push_back(outline[i]);
        ring.slopes.push_back(slopes[i]);
    }
    return ring;
}

}  // namespace

decObjectId CreateMultiSlopeRoof(const GePoint3dArray& outline, double thickness, const std::vector<float>& slopes)
{
    return CreateMultiSlopeRoofWith(geofeidengpowumianzcx, outline, thickness, slopes);
}

decObjectId CreateMultiSlopeRoofWith(RoofFaceRoutine routine, const GePoint3dArray& outline, double thickness,
                                     const std::vector<float>& slopes)
{
    const std::size_t n = outline.size();
    if (n > kQuietPoints)
        dec::PrintPrompt(kProgressText);
    // Every edge needs its slope, and a roof needs three corners.
    const SlopedRing ring = slopes.size() < n ? SlopedRing() : WithoutEmptyEdges(outline, slopes);
    if (ring.points.size() < static_cast<std::size_t>(kMinPoints) || !(thickness <= kMaxThickness)) {
        dec::PrintPrompt(kFailedText);
        return {};
    }
    const bool band = thickness > kLengthTol;
    const GePoint3dArray raised = band ? roof_rings::Raised(ring.points, thickness) : ring.points;
    const RoofRoutineFaces r = RunRoofRoutine(routine, 0.0, raised, ring.slopes);
    const double z0 = raised.front().z;
    // No roof face: the band alone is no roof, and nothing is made.
    decMesh4 faces;
    if (AppendRoutineFaces(r, z0, faces) == 0) {
        dec::PrintPrompt(kFailedText);
        return {};
    }
    if (band)
        AppendEaveBand(ring.points, raised, faces);

    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    const long layer = SlopedRoofLayer(db);
    const long material = RoofMaterial(db);
    decObjectId id;
    decMesh3* mesh = faces.ConvertToMesh3();
    if (!mesh || db->CreateProxyEntity(layer, GeMatrix3d(), mesh, id, material) != dex::eOk) {
        dec::PrintPrompt(kFailedText);
        id = decObjectId();
    }
    db->Close();
    return id;
}
