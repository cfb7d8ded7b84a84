#pragma once
// Template 1092 "逐个插窗": the dialog of the window-by-window command.

// Control ids of the window-by-window dialog.
enum OrderInsertWindowDlgIds : int {
    IDD_ORDER_INSERT_WINDOW = 1092,
    IDC_OWIN_FLOOR = 1154,         // edit: floor number of the lowest window
    IDC_OWIN_POSITION = 1155,      // edit: position number of the first window
    IDC_OWIN_REPEAT = 1156,        // edit: number of storeys
    IDC_OWIN_FLOOR_SPIN = 1290,
    IDC_OWIN_POSITION_SPIN = 1275,
    IDC_OWIN_REPEAT_SPIN = 1276,
    IDC_OWIN_STOREY = 1277,        // sorted drop-down combo: storey height, mm
    IDC_OWIN_HEIGHT = 1278,        // drop-down combo: window height, mm
    IDC_OWIN_WIDTH = 1279,         // drop-down combo: window width, mm (recent widths)
    IDC_OWIN_SILL = 1280,          // drop-down combo: sill elevation, mm (recent sills)
    IDC_OWIN_CENTRE = 1321,        // check box "居中"
    IDC_OWIN_ALIGN = 1322,         // check box "对齐"
};

// Adds (or puts back) the template in the resources; done once when the module is loaded.
void RegisterOrderInsertWindowDlgTemplate();
