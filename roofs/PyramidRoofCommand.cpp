// The pyramid roof command: the base picked, then the dialog, whose OK builds the roof.
#include <memory>

#include "CommandLine.h"
#include "GableRoof.h"
#include "OrvCommandHandlers.h"
#include "PyramidRoofDlg.h"

namespace {

constexpr const char* kTitle = "***攒尖屋顶***";

}  // namespace

void CMD_PYRAMID_ROOF()
{
    dec::PrintPrompt(kTitle);
    GePoint3dArray outline;
    if (!GableRoof::SelectBaseOutline(outline))
        return;
    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    auto dlg = std::make_unique<CPyramidRoofDlg>();
    dlg->m_baseOutline = outline;
    // The dialog closes with OK only once it has built the roof.
    if (dlg->DoModal() == IDOK)
        GableRoof::NoteCoveredCourtyard(outline, dlg->m_overhang);
}
