#pragma once
// The module-wide objects: built when the module is loaded (all of them in
// ModuleStartup.cpp, in one fixed order) and destroyed when it is unloaded. Nothing of them
// is ever written to a drawing or a file.
#include <array>
#include <list>

#include "CString.h"

class CLumidraxApp;
class PromptOldModelReactor;
namespace WinBelongBuild {
class OwnershipIndex;
}

// Application names of the extended-data records the module attaches to host objects.
extern CString g_buildGroupAppName;      // "build_group": building group of a 3-D object
extern CString g_buildTagAppName;        // "XBUILD_NAME": building tag of a 3-D object
extern CString g_buildNamingAppName;     // "XBUILD_NAME" again, as the naming command uses it
extern CString g_winBelongBuildAppName;  // "WIN_BELONG_BLD": windows owned by an auxiliary body

// Degrees per radian: 180 / acos(-1).
extern double g_degPerRadian;

// Last accepted texts of the whole-row window dialog: window spacing and storey height.
extern CString g_quickWinSpacingText;
extern CString g_quickWinStoreyHeightText;

// Group names the three analysis-group dialogs keep between their runs: two for the
// before/after main-group dialog, three for the before/after/guest window dialog, one for
// the hidden-group dialog.
extern std::array<std::list<CString>, 6> g_analysisGroupLists;

extern CLumidraxApp theApp;
extern PromptOldModelReactor g_oldModelReactor;
// Where the window-ownership records and the windows they name are, and what bears each
// building name, kept current by the working drawing's notifications (OwnershipIndex.h).
extern WinBelongBuild::OwnershipIndex g_ownershipIndex;
