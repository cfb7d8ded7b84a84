#include "BuildCommand.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "BaseElevation.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "DimBuildElevation.h"
#include "DragCallback.h"
#include "ExtrudeBuild.h"
#include "FloorLines.h"
#include "FloorTableDlg.h"
#include "Input.h"
#include "ModelGeHelper.h"
#include "ModelHelperLayersMaterials.h"
#include "OrvCommandHandlers.h"
#include "OutlineCleanup.h"
#include "Tools.h"
#include "TypedNumbers.h"
#include "WorkingDrawing.h"

double g_lastBuildHeight = 24.0;
double g_lastBaseElevation = 0.0;

namespace {

// The height question draws nothing while the cursor moves.
class drag_cb : public decDragCallback {
public:
    void OnDragDraw(decView*, const GePoint3d&) override {}
};

// What one batch of outlines is built with.
struct BuildRequest {
    int height = 0;       // millimetres
    double base = 0.0;    // millimetres
    bool drawFloorLines = false;
    std::vector<std::uint32_t> storeyHeights;  // the floor table, when it was used
    std::vector<std::uint32_t> storeyCounts;
};

constexpr const char* kHeightWarning = "提示：请输入合理的高度值。";

// Asks again until the height is reasonable; false when the question is cancelled.
bool CheckHeight(double& metres)
{
    while (!FloorTable::IsReasonableBuildHeight(metres)) {
        dec::PrintPrompt(kHeightWarning);
        if (dec::GetReal("建筑高度（米）", &metres, g_lastBuildHeight, 2) != dex::eOk)
            return false;
    }
    return true;
}

// The base elevation in metres, within the limits eelev keeps; false when cancelled.
bool AskBaseElevation(double& base)
{
    while (true) {
        double metres = 0.0;
        if (dec::GetReal("建筑底标高（米）", &metres, g_lastBaseElevation, 2) != dex::eOk)
            return false;
        if (IsReasonableBaseElevation(metres * 1000)) {
            g_lastBaseElevation = metres;
            base = metres * 1000;
            return true;
        }
        dec::PrintPrompt("提示：请输入合理的底高度值。");
    }
}

std::optional<BuildRequest> AskFloorTable()
{
    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    CFloorTableDlg dialog;
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    // The dialog closes only with a height that fits in whole millimetres and a reasonable
    // elevation.
    BuildRequest request;
    g_lastBuildHeight = std::atof(dialog.m_strHeight);
    FloorTable::ToWholeMillimetres(g_lastBuildHeight, request.height);
    g_lastBaseElevation = dialog.m_elevation;
    request.base = g_lastBaseElevation * 1000;
    request.drawFloorLines = dialog.m_bDrawFloorLines != 0;
    request.storeyHeights = dialog.m_storeyHeights;
    request.storeyCounts = dialog.m_storeyCounts;
    return request;
}

// The height (typed, or Enter for the last one) and the base elevation, or the floor table.
// Nothing when the user ends the command.
std::optional<BuildRequest> AskHeightAndElevation()
{
    double metres = 0.0;
    while (true) {
        drag_cb cb;
        cb.SetKeywords("建筑高度(&H)/楼层表(&T)");
        cb.SetUserInputFlags(0x101);
        char prompt[128];
        std::snprintf(prompt, sizeof prompt, "建筑高度（米）或 [楼层表(T)]<%.2f>：", g_lastBuildHeight);
        dec::PrintPrompt(prompt);
        GePoint3d pt;
        const int result = dec::GetDragPoint(&cb, &pt, 1);
        if (result == dex::eCancel || result == dex::eEnded)
            return std::nullopt;
        if (result == 2)
            return AskFloorTable();
        const std::optional<double> typed =
            result == dex::eTextInput ? TypedNumber(cb.GetUserString()) : std::nullopt;
        if (typed) {
            metres = *typed;
        } else if (result == 1) {
            if (dec::GetReal("建筑高度（米）", &metres, g_lastBuildHeight, 2) != dex::eOk)
                return std::nullopt;
        } else if (result == dex::eEmpty) {
            metres = g_lastBuildHeight;
        } else {
            // A point picked in the drawing, or text that is no number, is no height: ask again.
            dec::PrintPrompt(kHeightWarning);
            continue;
        }
        break;
    }
    if (!CheckHeight(metres))
        return std::nullopt;
    BuildRequest request;
    g_lastBuildHeight = metres;
    FloorTable::ToWholeMillimetres(metres, request.height);
    if (!AskBaseElevation(request.base))
        return std::nullopt;
    return request;
}

// Levels the outlines at the base and keeps those of at least 1 mm² that clean up into a
// ring of three or more corners.
std::vector<GePoint3dArray> UsableOutlines(std::vector<GePoint3dArray> outlines, double base)
{
    std::vector<GePoint3dArray> kept;
    for (GePoint3dArray& outline : outlines) {
        for (GePoint3d& p : outline)
            p.z = base;
        if (std::fabs(GetPtsSignedArea(outline)) < 2.0)
            continue;
        CTools::ManageGePoint3dArray(outline, 1, 1e-6);
        if (outline.size() < 3)
            continue;
        kept.push_back(std::move(outline));
    }
    return kept;
}

void CreateBuildings(DbDatabase* db, const std::vector<GePoint3dArray>& outlines, const BuildRequest& request)
{
    const long layer = CreateLayer(db, "建筑", 0x00FF00, 0, 1);
    CString materialName("建筑");
    const long material = CreateSolidColorMaterial(db, materialName, 0xFFFFFF, 0.0);
    for (const GePoint3dArray& outline : outlines) {
        auto* building = new CExtrudeBuild();
        GeMatrix3d tm;
        building->OpenForWrite();
        building->Set("", request.height, outline, tm);
        building->Close();
        decObjectId id;
        if (db->CreateNewEntity(layer, building, tm, id, material) != dex::eOk)
            delete building;
    }
}

void BuildBatch(std::vector<GePoint3dArray> outlines, const BuildRequest& request)
{
    std::vector<GePoint3dArray> kept = UsableOutlines(std::move(outlines), request.base);
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    CreateBuildings(db, kept, request);
    if (request.drawFloorLines) {
        double z = request.base;
        FloorLines::DrawTable(db, FloorLines::Layer(db), kept, z, request.storeyHeights, request.storeyCounts);
    }
    for (GePoint3dArray& outline : kept)
        DimBuildElevation(request.height, g_lastBaseElevation * 1000, outline);
    db->Close();
}

}  // namespace

void CMD_EXTRUDE_BUILD()
{
    dec::PrintPrompt("***建筑***");
    while (true) {
        std::vector<GePoint3dArray> outlines;
        if (!SelectMultiBorders("请选择建筑底轮廓线:", outlines))
            return;
        const std::optional<BuildRequest> request = AskHeightAndElevation();
        if (!request)
            return;
        BuildBatch(std::move(outlines), *request);
    }
}
