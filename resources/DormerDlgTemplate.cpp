#include "DormerDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

void RegisterDormerDlgTemplate()
{
    using host::mfc::ControlKind;
    using host::mfc::kGroupStart;
    using host::mfc::kStaticId;
    // 250 × 150 dialog units: the section picture and its shape on the left, one row per
    // dimension on the right (label, edit, unit, pick button), the buttons at the bottom.
    const auto row = [](int y, const char* label, int edit, int pick) {
        return std::vector<host::mfc::ControlTemplate>{
            {.id = kStaticId, .kind = ControlKind::Static, .text = label, .x = 110, .y = y + 2, .width = 56, .height = 8},
            {.id = edit, .kind = ControlKind::Edit, .style = kGroupStart, .x = 168, .y = y, .width = 40, .height = 14},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 210, .y = y + 2, .width = 16, .height = 8},
            {.id = pick, .kind = ControlKind::Button, .text = ">>", .x = 228, .y = y, .width = 16, .height = 14},
        };
    };
    host::mfc::DialogTemplate dialog{
        .id = IDD_DORMER,
        .caption = "老虎窗",
        .controls = {
            {.id = IDC_DORMER_PICTURE, .kind = ControlKind::Picture, .bitmap = IDB_DORMER_PENTAGON, .x = 8, .y = 8,
             .width = 96, .height = 80},
            {.id = kStaticId, .kind = ControlKind::Static, .text = "截面形式", .x = 8, .y = 92, .width = 96, .height = 8},
            {.id = IDC_DORMER_PENTAGON, .kind = ControlKind::Radio, .text = "五边形", .style = kGroupStart, .x = 8,
             .y = 104, .width = 30, .height = 10},
            {.id = IDC_DORMER_RECTANGLE, .kind = ControlKind::Radio, .text = "矩形", .x = 40, .y = 104, .width = 30,
             .height = 10},
            {.id = IDC_DORMER_TRIANGLE, .kind = ControlKind::Radio, .text = "三角形", .x = 72, .y = 104, .width = 30,
             .height = 10},
        }};
    const struct {
        const char* label;
        int edit, pick;
    } rows[] = {
        {"高  度 1", IDC_DORMER_HEIGHT1, IDC_DORMER_PICK_HEIGHT1},
        {"高  度 2", IDC_DORMER_HEIGHT2, IDC_DORMER_PICK_HEIGHT2},
        {"宽    度", IDC_DORMER_WIDTH, IDC_DORMER_PICK_WIDTH},
        {"屋面厚度", IDC_DORMER_THICKNESS, IDC_DORMER_PICK_THICKNESS},
        {"挑出长度", IDC_DORMER_OVERHANG, IDC_DORMER_PICK_OVERHANG},
        {"定位点垂直高度", IDC_DORMER_ANCHOR, IDC_DORMER_PICK_ANCHOR},
    };
    int y = 8;
    for (const auto& r : rows) {
        for (host::mfc::ControlTemplate& control : row(y, r.label, r.edit, r.pick))
            dialog.controls.push_back(std::move(control));
        y += 18;
    }
    dialog.controls.push_back({.id = IDOK, .kind = ControlKind::Button, .text = "应用", .style = kGroupStart, .x = 130,
                               .y = 128, .width = 50, .height = 14});
    dialog.controls.push_back(
        {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 190, .y = 128, .width = 50, .height = 14});

    host::mfc::ResourceRegistry& resources = host::mfc::ResourceRegistry::Instance();
    resources.AddDialog(std::move(dialog));
    resources.AddBitmap({IDB_DORMER_PENTAGON, "老虎窗截面：五边形"});
    resources.AddBitmap({IDB_DORMER_RECTANGLE, "老虎窗截面：矩形"});
    resources.AddBitmap({IDB_DORMER_TRIANGLE, "老虎窗截面：三角形"});
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterDormerDlgTemplate(), true);

}  // namespace
