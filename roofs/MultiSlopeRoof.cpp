#include "MultiSlopeRoof.h"

#include <algorithm>
#include <memory>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "WorkingDrawing.h"
#include "GeoRoofFaces.h"
#include "ModelHelperLayersMaterials.h"
#include "OutlineCleanup.h"
#include "RoofRings.h"

namespace {

constexpr const char* kProgressText = "开始生成坡屋顶...";
constexpr const char* kFailedText = "提示：创建坡屋顶失败。";
constexpr const char* kLayerName = "坡屋顶";
constexpr unsigned long kLayerColour = 255;
constexpr const char* kMaterialName = "屋面板";
constexpr unsigned long kMaterialColour = 0x8a55ff;
// A thickness above this makes a slab band.
constexpr double kThicknessTol = 0.001;
// Outlines of more points than this announce the build.
constexpr std::size_t kQuietPoints = 10;
constexpr int kMinPoints = 3;
// The routine's face arrays (1-based): counts of faces 1..999, vertices 1..9999.
constexpr int kCountEntries = 1000;
constexpr int kVertexEntries = 10000;

// The routine's arguments and results, 1-based.
struct RoutineArrays {
    explicit RoutineArrays(std::size_t n) : x(n + 1), y(n + 1), slope(n + 1) {}
    std::vector<double> x, y, slope;
    int faceCount = 0;
    int spare = 0;
    std::vector<int> counts = std::vector<int>(kCountEntries);
    std::vector<double> fx = std::vector<double>(kVertexEntries);
    std::vector<double> fy = std::vector<double>(kVertexEntries);
    std::vector<double> fz = std::vector<double>(kVertexEntries);
};

// The faces the routine reported, at z0 above its zero, each counter-clockwise seen from
// above; faces of 2 points or fewer are left out. Reading stops where a count would go past
// the arrays.
void AppendFaces(const RoutineArrays& r, double z0, decMesh4& mesh)
{
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
    }
}

// The vertical band between the outline and its raised copy, one quad per edge, the
// outline taken counter-clockwise.
void AppendBand(GePoint3dArray outline, GePoint3dArray raised, decMesh4& mesh)
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

}  // namespace

decObjectId CreateMultiSlopeRoof(const GePoint3dArray& outline, double thickness, const std::vector<float>& slopes)
{
    return CreateMultiSlopeRoofWith(geofeidengpowumianzcx, outline, thickness, slopes);
}

decObjectId CreateMultiSlopeRoofWith(RoofFaceRoutine routine, const GePoint3dArray& outline, double thickness,
                                     const std::vector<float>& slopes)
{
    const bool band = thickness > kThicknessTol;
    const GePoint3dArray raised = band ? roof_rings::Raised(outline, thickness) : outline;
    const std::size_t n = outline.size();
    if (n > kQuietPoints)
        dec::PrintPrompt(kProgressText);
    // Every edge needs its slope, and a roof needs three corners.
    if (n < static_cast<std::size_t>(kMinPoints) || slopes.size() < n) {
        dec::PrintPrompt(kFailedText);
        return {};
    }
    RoutineArrays r(n);
    for (std::size_t i = 0; i < n; ++i) {
        r.x[i + 1] = raised[i].x;
        r.y[i + 1] = raised[i].y;
        r.slope[i + 1] = slopes[i];
    }
    routine(0.0, r.x.data(), r.y.data(), r.slope.data(), static_cast<int>(n), &r.faceCount, r.counts.data(),
            &r.spare, r.fx.data(), r.fy.data(), r.fz.data());
    const double z0 = raised.front().z;

    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    const long layer = CreateLayer(db, kLayerName, kLayerColour, 0, 1);
    CString materialName(kMaterialName);
    const long material = CreateSolidColorMaterial(db, materialName, kMaterialColour, 0.0);
    decMesh4 faces;
    AppendFaces(r, z0, faces);
    if (band)
        AppendBand(outline, raised, faces);
    decObjectId id;
    if (decMesh3* mesh = faces.ConvertToMesh3())
        db->CreateProxyEntity(layer, GeMatrix3d(), mesh, id, material);
    else
        dec::PrintPrompt(kFailedText);
    db->Close();
    return id;
}
