#pragma once
// Template 1091 "两点插窗": the numbers, sill elevation, storey height and window height of
// the two-point window command.

// Control ids of the two-point window dialog.
enum TwoPointInsertWindowDlgIds : int {
    IDD_2POINT_INSERT_WINDOW = 1091,
    IDC_2PWIN_FLOOR = 1154,          // edit: floor number of the lowest window
    IDC_2PWIN_POSITION = 1155,       // edit: position number
    IDC_2PWIN_REPEAT = 1156,         // edit: storeys of the column
    IDC_2PWIN_SILL = 1199,           // edit: sill elevation of the lowest window, millimetres
    IDC_2PWIN_FLOOR_SPIN = 1274,     // spin of the floor number
    IDC_2PWIN_POSITION_SPIN = 1275,  // spin of the position number
    IDC_2PWIN_REPEAT_SPIN = 1276,    // spin of the storey count
    IDC_2PWIN_STOREY = 1277,         // sorted drop-down combo: storey height, millimetres
    IDC_2PWIN_HEIGHT = 1278,         // drop-down combo: window height, millimetres
};

// Adds (or puts back) the template in the resources; done once when the module is loaded.
void Register2PointInsertWindowDlgTemplate();
