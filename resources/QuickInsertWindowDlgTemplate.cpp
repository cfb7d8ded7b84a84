#include "QuickInsertWindowDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void RegisterQuickInsertWindowDlgTemplate()
{
    using host::mfc::ControlKind;
    using host::mfc::kStaticId;
    // 232 × 244 dialog units: the storeys on top, the window size in the middle, the row's
    // layout below, the buttons at the bottom.
    host::mfc::DialogTemplate dialog{
        .id = IDD_QUICK_INSERT_WINDOW,
        .caption = "快速布窗",
        .controls = {
            {.id = kStaticId, .kind = ControlKind::Static, .text = "层", .x = 7, .y = 7, .width = 218, .height = 58},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "起始层号", .x = 15, .y = 21, .width = 40, .height = 8},
            {.id = IDC_QWIN_START_FLOOR, .kind = ControlKind::Edit, .style = host::mfc::kGroupStart, .x = 60,
             .y = 18, .width = 40, .height = 14},
            {.id = IDC_QWIN_START_FLOOR_SPIN, .kind = ControlKind::Spin, .buddy = IDC_QWIN_START_FLOOR,
             .rangeMin = 1, .rangeMax = 200, .x = 100, .y = 18, .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "重复层数", .x = 120, .y = 21, .width = 40,
             .height = 8},
            {.id = IDC_QWIN_REPEAT, .kind = ControlKind::Edit, .x = 165, .y = 18, .width = 40, .height = 14},
            {.id = IDC_QWIN_REPEAT_SPIN, .kind = ControlKind::Spin, .buddy = IDC_QWIN_REPEAT, .rangeMin = 1,
             .rangeMax = 200, .x = 205, .y = 18, .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "层高", .x = 15, .y = 43, .width = 40, .height = 8},
            {.id = IDC_QWIN_STOREY, .kind = ControlKind::ComboBox, .style = host::mfc::kDropDown,
             .items = {"2900", "3000", "3300"}, .limit = 5, .x = 60, .y = 40, .width = 50, .height = 60},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗", .x = 7, .y = 70, .width = 218, .height = 50},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗宽", .x = 15, .y = 84, .width = 40, .height = 8},
            {.id = IDC_QWIN_WIDTH, .kind = ControlKind::Edit, .x = 60, .y = 81, .width = 40, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗高", .x = 120, .y = 84, .width = 40, .height = 8},
            {.id = IDC_QWIN_HEIGHT, .kind = ControlKind::Edit, .x = 165, .y = 81, .width = 40, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗台标高", .x = 15, .y = 103, .width = 40,
             .height = 8},
            {.id = IDC_QWIN_SILL, .kind = ControlKind::Edit, .x = 60, .y = 100, .width = 40, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗台标高为起始层窗台距离地面高度", .x = 105,
             .y = 103, .width = 115, .height = 8},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "布置信息", .x = 7, .y = 125, .width = 218,
             .height = 56},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗位", .x = 15, .y = 139, .width = 40, .height = 8},
            {.id = IDC_QWIN_POSITION, .kind = ControlKind::Edit, .x = 60, .y = 136, .width = 30, .height = 14},
            {.id = IDC_QWIN_POSITION_SPIN, .kind = ControlKind::Spin, .buddy = IDC_QWIN_POSITION, .rangeMin = 1,
             .rangeMax = 10000, .x = 90, .y = 136, .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗数量", .x = 120, .y = 139, .width = 40,
             .height = 8},
            {.id = IDC_QWIN_COUNT, .kind = ControlKind::Edit, .x = 165, .y = 136, .width = 30, .height = 14},
            {.id = IDC_QWIN_COUNT_SPIN, .kind = ControlKind::Spin, .buddy = IDC_QWIN_COUNT, .rangeMin = 1,
             .rangeMax = 1000, .x = 195, .y = 136, .width = 10, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "起始边距", .x = 15, .y = 158, .width = 40,
             .height = 8},
            {.id = IDC_QWIN_MARGIN, .kind = ControlKind::Edit, .x = 60, .y = 155, .width = 40, .height = 14},
            {.id = IDC_QWIN_CENTRE, .kind = ControlKind::CheckBox, .text = "水平居中布置", .x = 120, .y = 157,
             .width = 80, .height = 10},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "窗间距", .x = 7, .y = 189, .width = 30, .height = 8},
            {.id = IDC_QWIN_SPACING, .kind = ControlKind::Edit, .x = 40, .y = 186, .width = 185, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static,
             .text = "依次输入各窗间距，等距时只输入一个数即可。例:800,1200*3,1000*4,800", .x = 7, .y = 203,
             .width = 218, .height = 16},
            {.id = IDOK, .kind = ControlKind::Button, .text = "应用", .style = host::mfc::kGroupStart, .x = 117,
             .y = 223, .width = 50, .height = 14},
            {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 175, .y = 223, .width = 50,
             .height = 14},
        }};
    host::mfc::ResourceRegistry::Instance().AddDialog(std::move(dialog));
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterQuickInsertWindowDlgTemplate(), true);

}  // namespace
