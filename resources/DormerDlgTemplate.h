#pragma once
// Template 1076 "老虎窗": the dormer's section shape with its picture, its dimensions (typed
// or picked in the drawing) and the height of its locating point; "应用" places dormers.

// Control and picture ids of the dormer dialog.
enum DormerDlgIds : int {
    IDD_DORMER = 1076,
    IDB_DORMER_PENTAGON = 1077,   // bitmap: the pentagon section
    IDB_DORMER_RECTANGLE = 1078,  // bitmap: the rectangle section
    IDB_DORMER_TRIANGLE = 1079,   // bitmap: the triangle section
    IDC_DORMER_HEIGHT1 = 1154,    // edit: height of the rectangular part, millimetres
    IDC_DORMER_HEIGHT2 = 1155,    // edit: height of the triangular part, millimetres
    IDC_DORMER_WIDTH = 1157,      // edit: width, millimetres
    IDC_DORMER_THICKNESS = 1158,  // edit: roof thickness, millimetres
    IDC_DORMER_OVERHANG = 1159,   // edit: roof overhang, millimetres
    IDC_DORMER_ANCHOR = 1160,     // edit: height of the locating point, millimetres
    IDC_DORMER_PICK_OVERHANG = 1211,
    IDC_DORMER_PICK_WIDTH = 1253,
    IDC_DORMER_PICK_HEIGHT1 = 1254,
    IDC_DORMER_PICK_HEIGHT2 = 1255,
    IDC_DORMER_PICK_THICKNESS = 1256,
    IDC_DORMER_PENTAGON = 1257,   // radio, first of the group 截面形式
    IDC_DORMER_PICK_ANCHOR = 1258,
    IDC_DORMER_RECTANGLE = 1259,  // radio
    IDC_DORMER_TRIANGLE = 1260,   // radio
    IDC_DORMER_PICTURE = 1261,    // picture of the section shape
};

// Adds (or puts back) the template and its three bitmaps in the resources; done once when
// the module is loaded.
void RegisterDormerDlgTemplate();
