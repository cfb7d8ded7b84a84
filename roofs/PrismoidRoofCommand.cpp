// The prismoid roof command: a hip roof cut off flat at a height, or the inverted prismoid
// that leans outward, over a picked building or outline, as one mesh on the sloped-roof layer
// standing on an eave band as high as the slab.
#include <cmath>
#include <vector>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "GableRoof.h"
#include "GeoRoofFaces.h"
#include "ModelGeHelper.h"
#include "ModuleGlobals.h"
#include "OrvCommandHandlers.h"
#include "OutlineCleanup.h"
#include "PrismoidDlg.h"
#include "RoofMeshEntities.h"
#include "RoofRings.h"
#include "RoofRoutineMesh.h"
#include "WorkingDrawing.h"

namespace {

constexpr const char* kTitle = "***棱台屋顶***";
constexpr const char* kNoOutline = "提示：底轮廓线选取失败！";
constexpr const char* kFailed = "提示：创建棱台屋顶失败。";
// An overhang or a thickness above this counts.
constexpr double kLengthTol = 0.001;

// What one roof is built from: the dialog's values as the roof uses them.
struct PrismoidRequest {
    double height = 0.0;
    double slope = 0.0;  // degrees, every edge
    double overhang = 0.0;
    double thickness = 0.0;
};

PrismoidRequest RequestFrom(const CPrismoidDlg& dlg)
{
    PrismoidRequest r;
    r.height = dlg.m_height;
    // A negative offset gives a negative slope: the faces lean outward.
    r.slope = dlg.m_topOption == CPrismoidDlg::kBySlope ? dlg.m_slope
                                                         : std::atan(r.height / dlg.m_offset) * g_degPerRadian;
    r.overhang = dlg.m_overhang;
    r.thickness = dlg.m_thickness;
    return r;
}

// The faces over the outline (grown by the overhang, its orientation as picked) on the band.
// Nothing is made when the overhang leaves no outline or the routine gives no face; a roof
// that covers a courtyard says so.
void BuildRoof(const GePoint3dArray& base, const PrismoidRequest& r)
{
    const double grownBy = r.overhang > kLengthTol ? r.overhang : 0.0;
    const GePoint3dArray outline = roof_rings::Grown(base, grownBy);
    if (outline.empty()) {
        dec::PrintPrompt(kFailed);
        return;
    }
    const bool band = r.thickness > kLengthTol;
    const GePoint3dArray lifted = band ? roof_rings::Raised(outline, r.thickness) : outline;
    const RoofRoutineFaces faces = RunRoofRoutine(geofeidengpowumianzcx, r.height, lifted,
                                                  std::vector<double>(lifted.size(), r.slope));
    const double z0 = lifted.front().z;

    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    const long layer = SlopedRoofLayer(db);
    const long material = RoofMaterial(db);
    decMesh4 polygons;
    decMesh3* mesh = nullptr;
    if (AppendRoutineFaces(faces, z0, polygons) > 0) {
        if (band)
            AppendEaveBand(outline, lifted, polygons);
        mesh = polygons.ConvertToMesh3();
    }
    decObjectId id;
    const bool made = mesh && db->CreateProxyEntity(layer, GeMatrix3d(), mesh, id, material) == dex::eOk;
    db->Close();
    if (made)
        GableRoof::NoteCoveredCourtyard(base, grownBy);
    else
        dec::PrintPrompt(kFailed);
}

}  // namespace

void CreatePrismoidRoof()
{
    GePoint3dArray outline;
    if (!GableRoof::SelectBaseOutline(outline)) {
        dec::PrintPrompt(kNoOutline);
        return;
    }
    HighlightOutline(outline);
    DbDatabase* db = dec::GetWorkingDatabase();
    PrismoidRequest request;
    {
        AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
        CPrismoidDlg dlg;
        if (dlg.DoModal() != IDOK) {
            db->ClearTempGraphics();
            return;
        }
        request = RequestFrom(dlg);
    }
    BuildRoof(outline, request);
    db->ClearTempGraphics();
}

void CMD_PRISMOID_ROOF()
{
    dec::PrintPrompt(kTitle);
    CreatePrismoidRoof();
}
