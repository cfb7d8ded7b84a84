#pragma once
// Template 1063 "快速布窗": the whole-row window dialog.

// Control ids of the whole-row window dialog.
enum QuickInsertWindowDlgIds : int {
    IDD_QUICK_INSERT_WINDOW = 1063,
    IDC_QWIN_WIDTH = 1154,         // edit: window width, mm
    IDC_QWIN_HEIGHT = 1155,        // edit: window height, mm
    IDC_QWIN_SILL = 1156,          // edit: sill elevation of the start floor, mm
    IDC_QWIN_MARGIN = 1157,        // edit: start margin, mm
    IDC_QWIN_COUNT = 1158,         // edit: number of windows in a row
    IDC_QWIN_SPACING = 1161,       // edit: the spacing list
    IDC_QWIN_START_FLOOR = 1222,   // edit: start floor number
    IDC_QWIN_REPEAT = 1223,        // edit: number of storeys
    IDC_QWIN_CENTRE = 1224,        // check box "水平居中布置"
    IDC_QWIN_START_FLOOR_SPIN = 1274,
    IDC_QWIN_REPEAT_SPIN = 1276,
    IDC_QWIN_STOREY = 1277,        // drop-down combo: storey height, mm
    IDC_QWIN_POSITION = 1292,      // edit: position number of the first window
    IDC_QWIN_POSITION_SPIN = 1293,
    IDC_QWIN_COUNT_SPIN = 1294,
};

// Adds (or puts back) the template in the resources; done once when the module is loaded.
void RegisterQuickInsertWindowDlgTemplate();
