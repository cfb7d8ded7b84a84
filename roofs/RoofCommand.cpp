// The roof command: a building or a level outline picked, turned clockwise, and the roof
// dialog, whose OK builds a flat roof (one COrvRoof on layer "平屋顶") or a multi-slope roof
// (one mesh through CreateMultiSlopeRoof) and remembers the values for the next run.
#include <memory>
#include <utility>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "GableRoof.h"
#include "MainFrame.h"
#include "ModelHelperLayersMaterials.h"
#include "MultiSlopeRoof.h"
#include "OrvCommandHandlers.h"
#include "OrvRoof.h"
#include "OutlineCleanup.h"
#include "RoofDlg.h"
#include "Tools.h"

namespace {

constexpr const char* kTitle = "***平屋顶和坡屋顶***";
constexpr const char* kInvalidOutline = "提示：屋顶底轮廓线不合法,，无法生成屋顶。";
constexpr const char* kTooManyVertices = "屋顶底轮廓线顶点数太多无法生成坡屋顶。";
constexpr const char* kSlopedRoofFailed = "提示：创建坡屋顶失败。";
constexpr const char* kFlatRoofFailed = "提示：创建平屋顶失败。";
constexpr const char* kFlatLayer = "平屋顶";
constexpr std::uint32_t kFlatLayerColour = 0xffff00;
constexpr const char* kFlatMaterial = "蓝色屋面板";
constexpr unsigned long kFlatMaterialColour = 0xffff80;
// The roof solver takes outlines of fewer vertices than this.
constexpr std::size_t kMaxSlopedVertices = 100;
constexpr std::size_t kMinVertices = 3;
// An overhang below this puts the multi-slope roof on the base outline itself.
constexpr double kOverhangTol = 0.001;
constexpr unsigned long kOutlineColour = 0xffff;

}  // namespace

void CMD_ROOF()
{
    dec::PrintPrompt(kTitle);
    GePoint3dArray outline;
    if (!GableRoof::SelectBaseOutline(outline))
        return;
    ValidateBorderPts(outline);
    if (GetPtsSignedArea(outline) > 0.0)
        CTools::ReverseP3dArray(outline);
    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    auto dlg = std::make_unique<CRoofDlg>();
    dlg->m_arrayBasePts = std::move(outline);
    CTools::ShowPath(dlg->m_arrayBasePts, 1, 0, 1, kOutlineColour, 10);
    dlg->DoModal();
}

void CRoofDlg::OnOK()
{
    if (m_arrayBasePts.size() < kMinVertices) {
        dec::PrintPrompt(kInvalidOutline);
        CDialog::OnOK();
        return;
    }
    // A text that is no number has been reported by the exchange; the dialog stays open.
    if (!UpdateData(TRUE))
        return;
    if (m_nRoofKind == kMultiSlope)
        BuildMultiSlopeRoof();
    else
        BuildFlatRoof();
}

// The dialog closes before the roof is built; the builder reports its own progress and
// failure.
void CRoofDlg::BuildMultiSlopeRoof()
{
    const bool grown = m_fOverhang >= kOverhangTol;
    const GePoint3dArray& outline = grown ? m_arrayEavePts : m_arrayBasePts;
    if (m_arrayBasePts.size() >= kMaxSlopedVertices || outline.size() >= kMaxSlopedVertices) {
        MessageBoxA(dec::GetMainFrameHWnd(), kTooManyVertices, "错误", MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    SaveDefaults();
    EndDialog(IDOK);
    // Every edge of the outline needs its slope; the builder is not asked for a roof it
    // cannot make.
    if (outline.size() < kMinVertices || m_vecEdgeSlopes.size() != outline.size()) {
        dec::PrintPrompt(kSlopedRoofFailed);
        return;
    }
    if (!CreateMultiSlopeRoof(outline, m_fThickness, m_vecEdgeSlopes).IsNull())
        GableRoof::NoteCoveredCourtyard(m_arrayBasePts, grown ? m_fOverhang : 0.0);
}

// Without the parapet switch there is no parapet; without a wall (width a) there is no wall
// height, and without an upper part (height b) it leans by nothing. The values are
// remembered as they were built, also when there was nothing to build.
void CRoofDlg::BuildFlatRoof()
{
    if (!m_bParapet) {
        m_fParapetHeightA = m_fParapetHeightB = m_fParapetWidthA = m_fParapetWidthB = 0.0f;
    } else {
        if (m_fParapetWidthA == 0.0f)
            m_fParapetHeightA = 0.0f;
        if (m_fParapetHeightB == 0.0f)
            m_fParapetWidthB = 0.0f;
    }
    const bool worthBuilding = m_fThickness > 0.0f || m_fParapetWidthA > 0.0f || m_fParapetHeightB > 0.0f;
    DbAutoOpen open(1);
    if (worthBuilding) {
        const long layer = FindOrCreateLayer(open.db, kFlatLayer, kFlatLayerColour);
        CString materialName(kFlatMaterial);
        const long material = CreateSolidColorMaterial(open.db, materialName, kFlatMaterialColour, 0.0);
        auto* roof = new COrvRoof();
        roof->OpenForWrite();
        // The roof takes its outline counter-clockwise.
        CTools::ReverseP3dArray(m_arrayBasePts);
        const int result = roof->SetData(m_arrayBasePts, COrvRoof::kFlat, m_fOverhang, m_vecEdgeSlopes, m_fThickness,
                                         m_fParapetHeightA, m_fParapetHeightB, m_fParapetWidthA, m_fParapetWidthB);
        roof->Close();
        decObjectId id;
        if (result != 1 ||
            open.db->CreateNewEntity(layer, roof, COrvRoof::FrameOf(m_arrayBasePts), id, material) != dex::eOk) {
            // Never handed to the drawing: the roof is still ours.
            delete roof;
            dec::PrintPrompt(kFlatRoofFailed);
        } else {
            GableRoof::NoteCoveredCourtyard(m_arrayBasePts, m_fOverhang);
        }
    }
    SaveDefaults();
    EndDialog(IDOK);
}
