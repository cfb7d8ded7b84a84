#include "PrismoidDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void RegisterPrismoidDlgTemplate()
{
    using host::mfc::ControlKind;
    using host::mfc::kStaticId;
    // 250 × 150 dialog units: the values in their group on the left, each edit with its pick
    // button, the sketch on the right, the buttons at the bottom.
    host::mfc::DialogTemplate dialog{
        .id = IDD_PRISMOID_ROOF,
        .caption = "棱台屋顶",
        .controls = {
            {.id = kStaticId, .kind = ControlKind::Static, .text = "屋顶参数（单位毫米）", .x = 7, .y = 7,
             .width = 120, .height = 118},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "高度", .x = 14, .y = 22, .width = 40,
             .height = 8},
            {.id = IDC_PRISMOID_HEIGHT, .kind = ControlKind::Edit, .x = 56, .y = 20, .width = 46, .height = 12},
            {.id = IDC_PRISMOID_PICK_HEIGHT, .kind = ControlKind::Button, .x = 106, .y = 20, .width = 14,
             .height = 12},
            {.id = IDC_PRISMOID_BY_OFFSET, .kind = ControlKind::Radio, .text = "偏移距离",
             .style = host::mfc::kGroupStart, .x = 14, .y = 38, .width = 42, .height = 10},
            {.id = IDC_PRISMOID_BY_SLOPE, .kind = ControlKind::Radio, .text = "坡度 (度)", .x = 14, .y = 66,
             .width = 42, .height = 10},
            {.id = IDC_PRISMOID_OFFSET, .kind = ControlKind::Edit, .style = host::mfc::kGroupStart, .x = 56,
             .y = 37, .width = 46, .height = 12},
            {.id = IDC_PRISMOID_PICK_OFFSET, .kind = ControlKind::Button, .x = 106, .y = 37, .width = 14,
             .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "输入负值生成倒棱台屋顶", .x = 14, .y = 52,
             .width = 106, .height = 8},
            {.id = IDC_PRISMOID_SLOPE, .kind = ControlKind::Edit, .x = 56, .y = 65, .width = 46, .height = 12},
            {.id = IDC_PRISMOID_PICK_SLOPE, .kind = ControlKind::Button, .x = 106, .y = 65, .width = 14,
             .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "挑出长度", .x = 14, .y = 86, .width = 40,
             .height = 8},
            {.id = IDC_PRISMOID_OVERHANG, .kind = ControlKind::Edit, .x = 56, .y = 84, .width = 46, .height = 12},
            {.id = IDC_PRISMOID_PICK_OVERHANG, .kind = ControlKind::Button, .x = 106, .y = 84, .width = 14,
             .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "屋面厚度", .x = 14, .y = 104, .width = 40,
             .height = 8},
            {.id = IDC_PRISMOID_THICKNESS, .kind = ControlKind::Edit, .x = 56, .y = 102, .width = 46,
             .height = 12},
            {.id = IDC_PRISMOID_PICK_THICKNESS, .kind = ControlKind::Button, .x = 106, .y = 102, .width = 14,
             .height = 12},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "参数示意图：", .x = 134, .y = 7, .width = 60,
             .height = 8},
            {.id = IDC_PRISMOID_SKETCH, .kind = ControlKind::Picture, .bitmap = IDB_PRISMOID_SKETCH, .x = 134,
             .y = 18, .width = 109, .height = 107},
            {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .style = host::mfc::kGroupStart, .x = 134,
             .y = 131, .width = 50, .height = 14},
            {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 193, .y = 131, .width = 50,
             .height = 14},
        }};
    auto& resources = host::mfc::ResourceRegistry::Instance();
    resources.AddDialog(std::move(dialog));
    resources.AddBitmap({IDB_PRISMOID_SKETCH, "a prismoid roof: its height, the top's offset or slope, the eave "
                                              "overhang and the slab thickness"});
    resources.AddIcon({IDI_PICK_DISTANCE, "a length measured in the drawing"});
    resources.AddIcon({IDI_PICK_ANGLE, "an angle measured in the drawing"});
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterPrismoidDlgTemplate(), true);

}  // namespace
