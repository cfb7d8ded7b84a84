#include "OrderInsertWindowDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void RegisterOrderInsertWindowDlgTemplate()
{
    using host::mfc::ControlKind;
    using host::mfc::kStaticId;
    // 200 × 150 dialog units: the numbers on the left, the sizes on the right, the two
    // placement boxes and the buttons at the bottom.
    host::mfc::DialogTemplate dialog{
        .id = IDD_ORDER_INSERT_WINDOW,
        .caption = "逐个插窗",
        .controls = {
            {.id = kStaticId, .kind = ControlKind::Static, .text = "层号", .x = 7, .y = 10, .width = 36, .height = 8},
            {.id = IDC_OWIN_FLOOR, .kind = ControlKind::Edit, .style = host::mfc::kGroupStart, .x = 47, .y = 7,
             .width = 36, .height = 14},
            {.id = IDC_OWIN_FLOOR_SPIN, .kind = ControlKind::Spin, .buddy = IDC_OWIN_FLOOR, .rangeMin = 1,
             .rangeMax = 200, .x = 83, .y = 7, .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗位", .x = 7, .y = 31, .width = 36, .height = 8},
            {.id = IDC_OWIN_POSITION, .kind = ControlKind::Edit, .x = 47, .y = 28, .width = 36, .height = 14},
            {.id = IDC_OWIN_POSITION_SPIN, .kind = ControlKind::Spin, .buddy = IDC_OWIN_POSITION, .rangeMin = 1,
             .rangeMax = 10000, .x = 83, .y = 28, .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "重复层数", .x = 7, .y = 52, .width = 36,
             .height = 8},
            {.id = IDC_OWIN_REPEAT, .kind = ControlKind::Edit, .x = 47, .y = 49, .width = 36, .height = 14},
            {.id = IDC_OWIN_REPEAT_SPIN, .kind = ControlKind::Spin, .buddy = IDC_OWIN_REPEAT, .rangeMin = 1,
             .rangeMax = 200, .x = 83, .y = 49, .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "层高", .x = 7, .y = 73, .width = 36, .height = 8},
            {.id = IDC_OWIN_STOREY, .kind = ControlKind::ComboBox, .style = host::mfc::kDropDown | host::mfc::kSorted,
             .items = {"2900", "3000", "3300"}, .x = 47, .y = 70, .width = 46, .height = 60},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗台标高", .x = 105, .y = 10, .width = 36,
             .height = 8},
            {.id = IDC_OWIN_SILL, .kind = ControlKind::ComboBox, .style = host::mfc::kDropDown, .x = 145, .y = 7,
             .width = 48, .height = 60},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗高", .x = 105, .y = 31, .width = 36, .height = 8},
            {.id = IDC_OWIN_HEIGHT, .kind = ControlKind::ComboBox, .style = host::mfc::kDropDown,
             .items = {"1500", "1800", "1200", "2100"}, .x = 145, .y = 28, .width = 48, .height = 60},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗宽", .x = 105, .y = 52, .width = 36, .height = 8},
            {.id = IDC_OWIN_WIDTH, .kind = ControlKind::ComboBox, .style = host::mfc::kDropDown, .x = 145, .y = 49,
             .width = 48, .height = 60},
            {.id = IDC_OWIN_ALIGN, .kind = ControlKind::CheckBox, .text = "对齐", .x = 105, .y = 72, .width = 40,
             .height = 10},
            {.id = IDC_OWIN_CENTRE, .kind = ControlKind::CheckBox, .text = "居中", .x = 150, .y = 72, .width = 40,
             .height = 10},
            {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .style = host::mfc::kGroupStart, .x = 85,
             .y = 129, .width = 50, .height = 14},
            {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 143, .y = 129, .width = 50,
             .height = 14},
        }};
    host::mfc::ResourceRegistry::Instance().AddDialog(std::move(dialog));
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterOrderInsertWindowDlgTemplate(), true);

}  // namespace
