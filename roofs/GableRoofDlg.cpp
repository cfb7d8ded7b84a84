// CGableRoofDlg: construction with the values remembered from the last roof.
#include "GableRoofDlg.h"

namespace {

constexpr UINT kTemplateId = 1103;
constexpr const char* kDefaultAngle = "30";

// What the last confirmed roof used: overhangs, the ridge height above the base elevation
// and the slab thickness.
UINT g_rememberedEaveOverhang = 0;
UINT g_rememberedGableOverhang = 0;
int g_rememberedRidgeHeight = 3000;
UINT g_rememberedThickness = 0;

}  // namespace

CGableRoofDlg::CGableRoofDlg(CWnd* parent)
    : CDialog(kTemplateId, parent), m_eaveOverhang(g_rememberedEaveOverhang),
      m_gableOverhang(g_rememberedGableOverhang), m_ridgeElevation(g_rememberedRidgeHeight),
      m_leftAngle(kDefaultAngle), m_rightAngle(kDefaultAngle), m_thickness(g_rememberedThickness)
{
}

CGableRoofDlg::~CGableRoofDlg() = default;
