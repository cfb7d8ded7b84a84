#include "DimBuildElevationDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void RegisterDimBuildElevationDlgTemplate()
{
    using host::mfc::ControlKind;
    // 197 × 107 dialog units, "MS Shell Dlg" 8. The radio order is the style value.
    host::mfc::DialogTemplate dialog{
        .id = 1098,
        .caption = "标注建筑标高选项",
        .controls = {
            {.id = 1283, .kind = ControlKind::Radio, .text = "标注建筑顶标高", .style = host::mfc::kGroupStart,
             .x = 21, .y = 17, .width = 150, .height = 10},
            {.id = 1284, .kind = ControlKind::Radio, .text = "标注建筑高度", .x = 21, .y = 31, .width = 150, .height = 10},
            {.id = 1161, .kind = ControlKind::Radio, .text = "标注建筑底标高", .x = 21, .y = 45, .width = 150, .height = 10},
            {.id = 1309, .kind = ControlKind::Radio, .text = "标注建筑顶标高和底标高", .x = 21, .y = 59, .width = 150,
             .height = 10},
            {.id = 1285, .kind = ControlKind::Radio, .text = "标注建筑高度和顶标高", .x = 21, .y = 73, .width = 150,
             .height = 10},
            {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .style = host::mfc::kGroupStart, .x = 38, .y = 89,
             .width = 50, .height = 14},
            {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 108, .y = 89, .width = 50, .height = 14},
            {.id = host::mfc::kStaticId, .kind = ControlKind::Static, .x = 7, .y = 5, .width = 183, .height = 80},
        }};
    host::mfc::ResourceRegistry::Instance().AddDialog(std::move(dialog));
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterDimBuildElevationDlgTemplate(), true);

}  // namespace
