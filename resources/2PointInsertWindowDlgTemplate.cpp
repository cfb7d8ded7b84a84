#include "2PointInsertWindowDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void Register2PointInsertWindowDlgTemplate()
{
    using host::mfc::ControlKind;
    using host::mfc::kStaticId;
    // 150 × 136 dialog units: one row per value, label on the left, the buttons at the bottom.
    // The spins' ranges are set when the dialog opens.
    host::mfc::DialogTemplate dialog{
        .id = IDD_2POINT_INSERT_WINDOW,
        .caption = "两点插窗",
        .controls = {
            {.id = kStaticId, .kind = ControlKind::Static, .text = "层号", .x = 10, .y = 10, .width = 40, .height = 8},
            {.id = IDC_2PWIN_FLOOR, .kind = ControlKind::Edit, .style = host::mfc::kGroupStart, .x = 60, .y = 8,
             .width = 70, .height = 14},
            {.id = IDC_2PWIN_FLOOR_SPIN, .kind = ControlKind::Spin, .buddy = IDC_2PWIN_FLOOR, .x = 130, .y = 8,
             .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗台标高", .x = 10, .y = 28, .width = 40,
             .height = 8},
            {.id = IDC_2PWIN_SILL, .kind = ControlKind::Edit, .x = 60, .y = 26, .width = 80, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗位", .x = 10, .y = 46, .width = 40, .height = 8},
            {.id = IDC_2PWIN_POSITION, .kind = ControlKind::Edit, .x = 60, .y = 44, .width = 70, .height = 14},
            {.id = IDC_2PWIN_POSITION_SPIN, .kind = ControlKind::Spin, .buddy = IDC_2PWIN_POSITION, .x = 130, .y = 44,
             .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "重复层数", .x = 10, .y = 64, .width = 40,
             .height = 8},
            {.id = IDC_2PWIN_REPEAT, .kind = ControlKind::Edit, .x = 60, .y = 62, .width = 70, .height = 14},
            {.id = IDC_2PWIN_REPEAT_SPIN, .kind = ControlKind::Spin, .buddy = IDC_2PWIN_REPEAT, .x = 130, .y = 62,
             .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗高", .x = 10, .y = 82, .width = 40, .height = 8},
            {.id = IDC_2PWIN_HEIGHT, .kind = ControlKind::ComboBox, .style = host::mfc::kDropDown,
             .items = {"1500", "1800", "1200", "2100"}, .x = 60, .y = 80, .width = 80, .height = 60},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "层高", .x = 10, .y = 100, .width = 40, .height = 8},
            {.id = IDC_2PWIN_STOREY, .kind = ControlKind::ComboBox, .style = host::mfc::kDropDown | host::mfc::kSorted,
             .items = {"2900", "3000", "3300"}, .x = 60, .y = 98, .width = 80, .height = 60},
            {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .style = host::mfc::kGroupStart, .x = 20,
             .y = 116, .width = 50, .height = 14},
            {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 80, .y = 116, .width = 50, .height = 14},
        }};
    host::mfc::ResourceRegistry::Instance().AddDialog(std::move(dialog));
}

namespace {

[[maybe_unused]] const bool g_registered = (Register2PointInsertWindowDlgTemplate(), true);

}  // namespace
