#pragma once
// The templates of the analysis-group dialogs: 1099 "主体组设置" (the shading groups),
// 1110 "主客体设置" (main groups before and after a construction) and 1100 "主客体设置"
// (the same with the guest groups of the analysed windows).

// Control ids of the three dialogs.
enum AnalysisGroupDlgIds : int {
    IDD_HIDE_GROUP = 1099,
    IDD_BEFORE_AFTER_WIN_GROUP = 1100,
    IDD_BEFORE_AFTER_COMPARE_GROUP = 1110,

    // 1099
    IDC_HIDE_PROMPT = 1322,        // static text: what the list is for
    IDC_HIDE_GROUPS = 1289,        // list box of the shading groups
    IDC_HIDE_RESET = 1287,         // "重新设置"
    IDC_HIDE_REMOVE = 1288,        // "移除组"

    // 1110 and 1100
    IDC_BEFORE_GROUPS = 1266,      // list box: main groups before the construction
    IDC_AFTER_GROUPS = 1267,       // list box: main groups after it
    IDC_BEFORE_REMOVE = 1285,      // "删除"
    IDC_BEFORE_RESET = 1286,       // "重置"
    IDC_AFTER_REMOVE = 1287,       // "删除"
    IDC_AFTER_RESET = 1288,        // "重置"
    // 1100 only
    IDC_GUEST_GROUPS = 1268,       // list box: guest groups (of the analysed windows)
    IDC_GUEST_REMOVE = 1289,       // "删除"
    IDC_GUEST_RESET = 1290,        // "重置"
    IDC_PICK_WINDOWS = 1311,       // check box: choose the windows in the drawing instead
};

// Adds (or puts back) the three templates in the resources; done once when the module is loaded.
void RegisterAnalysisGroupDlgTemplates();
