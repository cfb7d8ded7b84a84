// The module-wide objects, defined in this one file so that the order in which they are
// built at load is the order below (and their destruction at unload the reverse): the
// extended-data application names, the conversion factor, the remembered dialog texts and
// group lists, the registration of the module's entity classes with the host, the
// application object, the database reactor that warns of old objects, and the index of the
// window-ownership records and building names (a reactor too: it follows the working
// drawing's changes, so that renaming or renumbering windows finds the records naming them,
// and a rename what still bears the old name, without a walk over the drawing;
// OwnershipIndex.h). The entry point attaches both reactors to the working
// database. Every entity class is registered before the host calls the entry point, so a
// drawing opened later can already hold the module's objects. An object of a class no
// loaded module registers stays in the drawing as a foreign object and is written back
// unchanged.
//
// The qrxGe constants (kOrigin3d, kOrigin2d, kZeroVector2d, kXAxis2d, kYAxis2d,
// kIdentity3x3) are compile-time constants of their headers and need no step at load.
#include <cmath>

#include "DimBuildElevation.h"
#include "Dormer.h"
#include "ExtrudeBuild.h"
#include "LumidraxApp.h"
#include "ModuleGlobals.h"
#include "OrvRoof.h"
#include "OrvScaleText.h"
#include "OwnershipIndex.h"
#include "PromptOldModelReactor.h"
#include "QuickBuilding.h"
#include "QuickWindow.h"
#include "Window.h"
#include "decObject.h"

namespace {

bool RegisterAtLoad(decObjectClassInfo* info)
{
    decObject::RegisterClassA(info);
    return true;
}

}  // namespace

CString g_buildGroupAppName("build_group");
double g_degPerRadian = 180.0 / std::acos(-1.0);
[[maybe_unused]] const bool g_dimBuildElevationRegistered = RegisterAtLoad(CDimBuildElevation::Desc());
[[maybe_unused]] const bool g_dormerRegistered = RegisterAtLoad(CDormer::Desc());
CString g_buildTagAppName("XBUILD_NAME");
[[maybe_unused]] const bool g_extrudeBuildRegistered = RegisterAtLoad(CExtrudeBuild::Desc());
CString g_quickWinSpacingText("1000");
CString g_quickWinStoreyHeightText("2900");
CString g_buildNamingAppName("XBUILD_NAME");
[[maybe_unused]] const bool g_quickBuildingRegistered = RegisterAtLoad(CQuickBuilding::Desc());
[[maybe_unused]] const bool g_quickWindowRegistered = RegisterAtLoad(CQuickWindow::Desc());
std::array<std::list<CString>, 6> g_analysisGroupLists;
[[maybe_unused]] const bool g_orvRoofRegistered = RegisterAtLoad(COrvRoof::Desc());
[[maybe_unused]] const bool g_orvScaleTextRegistered = RegisterAtLoad(COrvScaleText::Desc());
CString g_winBelongBuildAppName("WIN_BELONG_BLD");
[[maybe_unused]] const bool g_windowRegistered = RegisterAtLoad(CWindow::Desc());
CLumidraxApp theApp;
PromptOldModelReactor g_oldModelReactor;
WinBelongBuild::OwnershipIndex g_ownershipIndex;
