#include "FloorTableDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void RegisterFloorTableDlgTemplate()
{
    using host::mfc::ControlKind;
    using host::mfc::kStaticId;
    // 262 × 128 dialog units: the table and its explanation on top, the height it adds up to
    // and the base elevation below, the floor-line box and the buttons at the bottom.
    host::mfc::DialogTemplate dialog{
        .id = IDD_FLOOR_TABLE,
        .caption = "请输入建筑物楼层信息",
        .controls = {
            {.id = kStaticId, .kind = ControlKind::Static,
             .text = "从下到上顺序依次输入楼层信息，不同层高用逗号分隔，格式为 层高*层数\r\n"
                     "例如 3900,2900*5,3000*2 独层只输入层高即可，层高单位为【毫米】",
             .x = 7, .y = 7, .width = 248, .height = 20},
            {.id = IDC_FLOOR_TABLE, .kind = ControlKind::Edit, .style = host::mfc::kGroupStart, .x = 7, .y = 31,
             .width = 248, .height = 14},
            {.id = IDC_FLOOR_CALC_HEIGHT, .kind = ControlKind::Button, .text = "计算建筑物高度->", .x = 7, .y = 52,
             .width = 80, .height = 14},
            {.id = IDC_FLOOR_HEIGHT, .kind = ControlKind::Edit, .x = 93, .y = 52, .width = 60, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "米", .x = 157, .y = 55, .width = 12, .height = 8},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "输入楼底绝对标高：", .x = 7, .y = 76,
             .width = 80, .height = 8},
            {.id = IDC_FLOOR_ELEVATION, .kind = ControlKind::Edit, .x = 93, .y = 73, .width = 60, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "米", .x = 157, .y = 76, .width = 12, .height = 8},
            {.id = IDC_FLOOR_DRAW_LINES, .kind = ControlKind::CheckBox, .text = "绘制楼层分界线", .x = 7, .y = 97,
             .width = 80, .height = 10},
            {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .style = host::mfc::kGroupStart, .x = 147,
             .y = 107, .width = 50, .height = 14},
            {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 205, .y = 107, .width = 50,
             .height = 14},
        }};
    host::mfc::ResourceRegistry::Instance().AddDialog(std::move(dialog));
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterFloorTableDlgTemplate(), true);

}  // namespace
