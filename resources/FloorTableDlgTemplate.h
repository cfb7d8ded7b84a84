#pragma once
// Template 1115 "请输入建筑物楼层信息": the floor table of the building and floor-line commands.

// Control ids of the floor-table dialog.
enum FloorTableDlgIds : int {
    IDD_FLOOR_TABLE = 1115,
    IDC_FLOOR_ELEVATION = 1155,   // edit: base elevation in metres
    IDC_FLOOR_HEIGHT = 1156,      // edit: building height in metres
    IDC_FLOOR_CALC_HEIGHT = 1317, // button "计算建筑物高度->"
    IDC_FLOOR_DRAW_LINES = 1318,  // check box "绘制楼层分界线"
    IDC_FLOOR_TABLE = 1319,       // edit: the floor table text
};

// Adds (or puts back) the template in the resources; done once when the module is loaded.
void RegisterFloorTableDlgTemplate();
