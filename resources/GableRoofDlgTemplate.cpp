#include "GableRoofDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void RegisterGableRoofDlgTemplate()
{
    using host::mfc::ControlKind;
    using host::mfc::kStaticId;
    const std::vector<std::string> angles = {"15", "30", "45", "60"};
    // 360 × 236 dialog units: the plan preview on the left, the front preview above the values
    // on the right (heights, the mode, the angles, the overhangs in their group, the slab),
    // the buttons at the bottom.
    host::mfc::DialogTemplate dialog{
        .id = IDD_GABLE_ROOF,
        .caption = "人字形屋顶（俯视图、前视图）",
        .controls = {
            {.id = IDC_GABLE_PLAN_FRAME, .kind = ControlKind::Static, .x = 7, .y = 7, .width = 170, .height = 200},
            {.id = IDC_GABLE_FRONT_FRAME, .kind = ControlKind::Static, .x = 184, .y = 7, .width = 169,
             .height = 70},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "脊线标高：", .x = 184, .y = 86, .width = 50,
             .height = 8},
            {.id = IDC_GABLE_RIDGE, .kind = ControlKind::Edit, .style = host::mfc::kGroupStart, .x = 236, .y = 84,
             .width = 60, .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 300, .y = 86, .width = 20,
             .height = 8},
            {.id = IDC_GABLE_EQUAL, .kind = ControlKind::CheckBox, .text = "等坡", .x = 324, .y = 85, .width = 30,
             .height = 10},
            {.id = IDC_GABLE_BY_WALLS, .kind = ControlKind::Radio, .text = "调整墙顶标高",
             .style = host::mfc::kGroupStart, .x = 184, .y = 102, .width = 80, .height = 10},
            {.id = IDC_GABLE_BY_ANGLES, .kind = ControlKind::Radio, .text = "设定坡角（度）", .x = 270, .y = 102,
             .width = 80, .height = 10},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "左墙标高：", .x = 184, .y = 118, .width = 50,
             .height = 8},
            {.id = IDC_GABLE_LEFT_WALL, .kind = ControlKind::Edit, .style = host::mfc::kGroupStart, .x = 236,
             .y = 116, .width = 60, .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 300, .y = 118, .width = 20,
             .height = 8},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "右墙标高：", .x = 184, .y = 134, .width = 50,
             .height = 8},
            {.id = IDC_GABLE_RIGHT_WALL, .kind = ControlKind::Edit, .x = 236, .y = 132, .width = 60, .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 300, .y = 134, .width = 20,
             .height = 8},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "左坡角：", .x = 184, .y = 150, .width = 34,
             .height = 8},
            {.id = IDC_GABLE_LEFT_ANGLE, .kind = ControlKind::ComboBox,
             .style = host::mfc::kDropDown | host::mfc::kSorted, .items = angles, .x = 218, .y = 148, .width = 40,
             .height = 60},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "右坡角：", .x = 270, .y = 150, .width = 34,
             .height = 8},
            {.id = IDC_GABLE_RIGHT_ANGLE, .kind = ControlKind::ComboBox,
             .style = host::mfc::kDropDown | host::mfc::kSorted, .items = angles, .x = 304, .y = 148, .width = 40,
             .height = 60},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "出檐长", .x = 184, .y = 164, .width = 169,
             .height = 26},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "出檐长：", .x = 190, .y = 175, .width = 34,
             .height = 8},
            {.id = IDC_GABLE_EAVE, .kind = ControlKind::Edit, .x = 224, .y = 173, .width = 36, .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 262, .y = 175, .width = 18,
             .height = 8},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "出山长：", .x = 282, .y = 175, .width = 34,
             .height = 8},
            {.id = IDC_GABLE_GABLE, .kind = ControlKind::Edit, .x = 314, .y = 173, .width = 24, .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 340, .y = 175, .width = 12,
             .height = 8},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "板厚：", .x = 184, .y = 196, .width = 34,
             .height = 8},
            {.id = IDC_GABLE_THICKNESS, .kind = ControlKind::Edit, .x = 218, .y = 194, .width = 40, .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 262, .y = 196, .width = 18,
             .height = 8},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "板厚可以为0", .x = 284, .y = 196, .width = 60,
             .height = 8},
            {.id = IDOK, .kind = ControlKind::Button, .text = "绘制", .style = host::mfc::kGroupStart, .x = 244,
             .y = 215, .width = 50, .height = 14},
            {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 303, .y = 215, .width = 50,
             .height = 14},
        }};
    host::mfc::ResourceRegistry::Instance().AddDialog(std::move(dialog));
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterGableRoofDlgTemplate(), true);

}  // namespace
