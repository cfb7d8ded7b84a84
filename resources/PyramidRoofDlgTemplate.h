#pragma once
// Template 1107 "攒尖屋顶": the pyramid roof's apex and wall-top elevations, eave overhang and
// slab thickness, in millimetres.

enum PyramidRoofDlgIds : int {
    IDD_PYRAMID_ROOF = 1107,
    IDC_PYRAMID_THICKNESS = 1161,  // edit: slab thickness (0 or 1: plain faces)
    IDC_PYRAMID_APEX = 1310,       // edit: apex elevation (absolute)
    IDC_PYRAMID_WALL_TOP = 1311,   // edit: wall-top elevation (absolute)
    IDC_PYRAMID_OVERHANG = 1312,   // edit: eave overhang
};

// Adds (or puts back) the template in the resources; done once when the module is loaded.
void RegisterPyramidRoofDlgTemplate();
