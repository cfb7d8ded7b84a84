#pragma once
// Template 1094 "平屋顶和多坡屋顶": the roof command's kind, overhang, slab, slope and parapet,
// each length with a button that picks it in the drawing, and the section picture 1068.

// Control ids of the roof dialog.
enum RoofDlgIds : int {
    IDD_ROOF = 1094,
    IDB_ROOF_SECTION = 1068,          // bitmap: the section through the roof edge
    IDC_ROOF_OVERHANG = 1157,         // edit: overhang, mm
    IDC_ROOF_SLOPE = 1158,            // edit: general slope, degrees
    IDC_ROOF_FLAT = 1159,             // radio, starts the group: flat roof
    IDC_ROOF_WIDTH_A = 1160,          // edit: parapet width a, mm
    IDC_ROOF_HEIGHT_A = 1161,         // edit: parapet height a, mm
    IDC_ROOF_THICKNESS = 1207,        // edit: slab thickness, mm
    IDC_ROOF_MULTI_SLOPE = 1210,      // radio: multi-slope roof
    IDC_ROOF_PICK_OVERHANG = 1211,    // button ">>"
    IDC_ROOF_PICK_THICKNESS = 1212,   // button ">>"
    IDC_ROOF_WIDTH_B = 1214,          // edit: parapet width b, mm
    IDC_ROOF_PICK_WIDTH_A = 1215,     // button ">>"
    IDC_ROOF_PICK_WIDTH_B = 1216,     // button ">>"
    IDC_ROOF_HEIGHT_B = 1217,         // edit: parapet height b, mm
    IDC_ROOF_PARAPET = 1218,          // check box "女儿墙"
    IDC_ROOF_PICK_HEIGHT_A = 1219,    // button ">>"
    IDC_ROOF_PICK_HEIGHT_B = 1220,    // button ">>"
    IDC_ROOF_SECTION = 1228,          // picture of bitmap 1068
    IDC_ROOF_EDGE_SLOPES = 1252,      // button "调整屋面坡度>>": the edge slope picker
};

// Adds (or puts back) the template and its bitmap in the resources; done once when the
// module is loaded.
void RegisterRoofDlgTemplate();
