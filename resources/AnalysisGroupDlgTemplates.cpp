#include "AnalysisGroupDlgTemplates.h"

#include <utility>
#include <vector>

#include "DialogTemplate.h"
#include "WinTypes.h"

namespace {

using host::mfc::ControlKind;
using host::mfc::ControlTemplate;
using host::mfc::kStaticId;

// Every group list: sorted and notifying (with a vertical scroll bar, a border and no
// integral height, which the headless engine has no use for).
constexpr unsigned kGroupListStyle = host::mfc::kSorted | host::mfc::kNotify;

ControlTemplate ListBox(int id, int x, int y, int width, int height)
{
    return {.id = id, .kind = ControlKind::ListBox, .style = kGroupListStyle, .x = x, .y = y, .width = width,
            .height = height};
}

ControlTemplate Button(int id, const char* text, int x, int y, int width, int height)
{
    return {.id = id, .kind = ControlKind::Button, .text = text, .x = x, .y = y, .width = width, .height = height};
}

ControlTemplate Text(int id, const char* text, int x, int y, int width, int height)
{
    return {.id = id, .kind = ControlKind::Static, .text = text, .x = x, .y = y, .width = width, .height = height};
}

// The main-group frame of 1110, which 1100 shows at the same places.
std::vector<ControlTemplate> MainGroupControls()
{
    return {
        Text(kStaticId, "主体（遮挡实体所在组）", 7, 3, 162, 124),
        Text(kStaticId, "现状建设前", 19, 17, 54, 8),
        Text(kStaticId, "新建建设后", 97, 17, 54, 8),
        ListBox(IDC_BEFORE_GROUPS, 14, 27, 72, 78),
        ListBox(IDC_AFTER_GROUPS, 91, 27, 72, 78),
        Button(IDC_BEFORE_REMOVE, "删除", 23, 110, 23, 13),
        Button(IDC_BEFORE_RESET, "重置", 49, 110, 23, 13),
        Button(IDC_AFTER_REMOVE, "删除", 103, 110, 23, 13),
        Button(IDC_AFTER_RESET, "重置", 129, 110, 23, 13),
    };
}

// 178 × 145 dialog units, "MS Shell Dlg" 8.
host::mfc::DialogTemplate HideGroupTemplate()
{
    return {.id = IDD_HIDE_GROUP,
            .caption = "主体组设置",
            .controls = {
                Text(IDC_HIDE_PROMPT, "设置参与遮挡实体所在的组", 7, 7, 164, 9),
                ListBox(IDC_HIDE_GROUPS, 7, 19, 105, 96),
                Button(IDC_HIDE_RESET, "重新设置", 121, 19, 50, 13),
                Button(IDC_HIDE_REMOVE, "移除组", 121, 46, 50, 13),
                Button(IDOK, "确定", 17, 124, 67, 14),
                Button(IDCANCEL, "取消分组分析", 93, 124, 67, 14),
            }};
}

// 176 × 153 dialog units, "MS Shell Dlg" 8.
host::mfc::DialogTemplate CompareGroupTemplate()
{
    host::mfc::DialogTemplate dialog{.id = IDD_BEFORE_AFTER_COMPARE_GROUP, .caption = "主客体设置",
                                     .controls = MainGroupControls()};
    dialog.controls.push_back(Button(IDOK, "确定", 7, 132, 74, 14));
    dialog.controls.push_back(Button(IDCANCEL, "取消分组分析", 94, 132, 74, 14));
    return dialog;
}

// 290 × 204 dialog units, "MS Shell Dlg" 8. The hint keeps its full-width space.
host::mfc::DialogTemplate WinGroupTemplate()
{
    host::mfc::DialogTemplate dialog{.id = IDD_BEFORE_AFTER_WIN_GROUP, .caption = "主客体设置",
                                     .controls = MainGroupControls()};
    const ControlTemplate more[] = {
        Button(IDOK, "确定", 70, 183, 74, 14),
        Button(IDCANCEL, "取消分组分析", 159, 183, 74, 14),
        Text(kStaticId, "客体（分析窗口所在组）", 177, 3, 106, 124),
        ListBox(IDC_GUEST_GROUPS, 195, 27, 72, 78),
        Button(IDC_GUEST_REMOVE, "删除", 208, 110, 23, 13),
        Button(IDC_GUEST_RESET, "重置", 234, 110, 23, 13),
        Text(kStaticId,
             "提示：为了考虑窗自身遮挡，　按组选择分析窗会自动在建设前、后组中增加窗所在客体组，"
             "不按组选择窗考虑自遮挡需在前后组中增加窗所在组",
             13, 134, 259, 24),
        {.id = IDC_PICK_WINDOWS, .kind = ControlKind::CheckBox, .text = "不按组选择分析窗口，从图形上选择分析窗口",
         .x = 14, .y = 162, .width = 174, .height = 11},
    };
    dialog.controls.insert(dialog.controls.end(), std::begin(more), std::end(more));
    return dialog;
}

[[maybe_unused]] const bool g_registered = (RegisterAnalysisGroupDlgTemplates(), true);

}  // namespace

void RegisterAnalysisGroupDlgTemplates()
{
    host::mfc::ResourceRegistry& resources = host::mfc::ResourceRegistry::Instance();
    resources.AddDialog(HideGroupTemplate());
    resources.AddDialog(CompareGroupTemplate());
    resources.AddDialog(WinGroupTemplate());
}
