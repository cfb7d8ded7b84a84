#pragma once
// Template 1109 "棱台屋顶": the prismoid roof's height, how its top is found (an inward offset
// or a slope), its eave overhang and slab thickness, each with a pick in the drawing, beside
// a sketch of the parameters (bitmap 1110).

enum PrismoidDlgIds : int {
    IDD_PRISMOID_ROOF = 1109,
    IDB_PRISMOID_SKETCH = 1110,        // bitmap: the parameters sketched
    IDI_PICK_DISTANCE = 1113,          // icon of a pick button that measures a length
    IDI_PICK_ANGLE = 1114,             // icon of a pick button that measures an angle
    IDC_PRISMOID_SKETCH = 1003,        // picture showing the sketch
    IDC_PRISMOID_OVERHANG = 1155,      // edit: eave overhang, millimetres
    IDC_PRISMOID_HEIGHT = 1156,        // edit: roof height
    IDC_PRISMOID_OFFSET = 1157,        // edit: inward offset of the top (negative: inverted)
    IDC_PRISMOID_SLOPE = 1160,         // edit: slope, degrees
    IDC_PRISMOID_THICKNESS = 1161,     // edit: slab thickness
    IDC_PRISMOID_BY_SLOPE = 1310,      // radio: the top from the slope
    IDC_PRISMOID_BY_OFFSET = 1315,     // radio, starts the group: the top from the offset
    IDC_PRISMOID_PICK_HEIGHT = 1316,   // pick buttons, in the order of their fields
    IDC_PRISMOID_PICK_OFFSET = 1317,
    IDC_PRISMOID_PICK_SLOPE = 1318,
    IDC_PRISMOID_PICK_OVERHANG = 1319,
    IDC_PRISMOID_PICK_THICKNESS = 1320,
};

// Adds (or puts back) the template, its sketch and the two pick icons in the resources; done
// once when the module is loaded.
void RegisterPrismoidDlgTemplate();
