#include "PyramidRoofDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void RegisterPyramidRoofDlgTemplate()
{
    using host::mfc::ControlKind;
    using host::mfc::kStaticId;
    // 150 × 100 dialog units: four labelled edits with their unit, the buttons below.
    const struct {
        int id;
        const char* label;
        int y;
    } rows[] = {
        {IDC_PYRAMID_APEX, "锥顶标高：", 8},
        {IDC_PYRAMID_WALL_TOP, "墙顶标高：", 26},
        {IDC_PYRAMID_OVERHANG, "出檐长：", 44},
        {IDC_PYRAMID_THICKNESS, "板厚(可为0)：", 62},
    };
    host::mfc::DialogTemplate dialog{.id = IDD_PYRAMID_ROOF, .caption = "攒尖屋顶", .controls = {}};
    for (const auto& row : rows) {
        dialog.controls.push_back(
            {.id = kStaticId, .kind = ControlKind::Static, .text = row.label, .x = 7, .y = row.y + 2, .width = 54,
             .height = 8});
        dialog.controls.push_back(
            {.id = row.id, .kind = ControlKind::Edit, .x = 62, .y = row.y, .width = 56, .height = 12});
        dialog.controls.push_back(
            {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 122, .y = row.y + 2, .width = 20,
             .height = 8});
    }
    dialog.controls.push_back({.id = IDOK, .kind = ControlKind::Button, .text = "确定",
                               .style = host::mfc::kGroupStart, .x = 20, .y = 80, .width = 50, .height = 14});
    dialog.controls.push_back(
        {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 80, .y = 80, .width = 50, .height = 14});
    host::mfc::ResourceRegistry::Instance().AddDialog(std::move(dialog));
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterPyramidRoofDlgTemplate(), true);

}  // namespace
