#pragma once
// Template 1103 "人字形屋顶（俯视图、前视图）": the gable roof's heights or slope angles,
// overhangs and slab thickness, with a plan and a front preview.

// Control ids of the gable roof dialog.
enum GableRoofDlgIds : int {
    IDD_GABLE_ROOF = 1103,
    IDC_GABLE_RIDGE = 1156,        // edit: ridge elevation (absolute), millimetres
    IDC_GABLE_EAVE = 1157,         // edit: eave overhang
    IDC_GABLE_GABLE = 1158,        // edit: gable overhang
    IDC_GABLE_LEFT_WALL = 1159,    // edit: left wall-top elevation (absolute)
    IDC_GABLE_RIGHT_WALL = 1160,   // edit: right wall-top elevation (absolute)
    IDC_GABLE_THICKNESS = 1161,    // edit: slab thickness
    IDC_GABLE_BY_WALLS = 1284,     // radio, starts the group: planes from the wall tops
    IDC_GABLE_LEFT_ANGLE = 1299,   // sorted drop-down combo: left slope angle, degrees
    IDC_GABLE_RIGHT_ANGLE = 1300,  // sorted drop-down combo: right slope angle
    IDC_GABLE_PLAN_FRAME = 1301,   // frame: place of the plan preview
    IDC_GABLE_FRONT_FRAME = 1302,  // frame: place of the front preview
    IDC_GABLE_EQUAL = 1308,        // check box: the right slope follows the left
    IDC_GABLE_BY_ANGLES = 1312,    // radio: planes from the slope angles
};

// Adds (or puts back) the template in the resources; done once when the module is loaded.
void RegisterGableRoofDlgTemplate();
