#pragma once
// Template 1093 "阳台（单位毫米）": the balcony command's storeys, levels, slab and parapet,
// each size with a button that picks it in the drawing, and the picture 1108 of the sizes.

// Control ids of the balcony dialog.
enum BalconyDlgIds : int {
    IDD_BALCONY = 1093,
    IDB_BALCONY_SIZES = 1108,              // bitmap: the balcony's sizes in section
    IDC_BALCONY_LEVEL = 1121,              // edit: bottom level, mm
    IDC_BALCONY_STOREYS = 1154,            // edit: storey count, with spin 1312
    IDC_BALCONY_SLAB = 1155,               // edit: slab thickness, mm
    IDC_BALCONY_PARAPET_HEIGHT = 1156,     // edit: parapet height, mm
    IDC_BALCONY_PARAPET_THICKNESS = 1157,  // edit: parapet thickness, mm
    IDC_BALCONY_PICK_PARAPET_THICKNESS = 1235,  // button ">>"
    IDC_BALCONY_PICK_SLAB = 1262,               // button ">>"
    IDC_BALCONY_PICK_PARAPET_HEIGHT = 1263,     // button ">>"
    IDC_BALCONY_STOREY_HEIGHT = 1277,      // drop-down combo: storey height, mm
    IDC_BALCONY_STOREYS_SPIN = 1312,       // spin of the storey count
};

// Adds (or puts back) the template and its bitmap in the resources; done once when the
// module is loaded.
void RegisterBalconyDlgTemplate();
