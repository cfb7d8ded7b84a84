#include "RoofDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

namespace {

using host::mfc::ControlKind;
using host::mfc::ControlTemplate;
using host::mfc::kStaticId;

// One row of the size group: its label, the edit, the unit and the pick button.
void AddLengthRow(std::vector<ControlTemplate>& controls, const char* label, int edit, int pick, int x, int y)
{
    controls.push_back({.id = kStaticId, .kind = ControlKind::Static, .text = label, .x = x, .y = y + 2,
                        .width = 34, .height = 8});
    controls.push_back({.id = edit, .kind = ControlKind::Edit, .x = x + 36, .y = y, .width = 40, .height = 12});
    controls.push_back({.id = kStaticId, .kind = ControlKind::Static, .text = "mm", .x = x + 78, .y = y + 2,
                        .width = 12, .height = 8});
    controls.push_back({.id = pick, .kind = ControlKind::Button, .text = ">>", .x = x + 92, .y = y, .width = 16,
                        .height = 12});
}

}  // namespace

void RegisterRoofDlgTemplate()
{
    // 300 × 196 dialog units: the kind on top left, the roof's sizes below it, the parapet
    // sizes beside the section picture on the right, the buttons at the bottom.
    std::vector<ControlTemplate> controls = {
        {.id = kStaticId, .kind = ControlKind::Static, .text = "种类", .x = 7, .y = 7, .width = 120, .height = 40},
        {.id = IDC_ROOF_FLAT, .kind = ControlKind::Radio, .text = "平屋顶", .style = host::mfc::kGroupStart,
         .x = 15, .y = 19, .width = 50, .height = 10},
        {.id = IDC_ROOF_MULTI_SLOPE, .kind = ControlKind::Radio, .text = "多坡屋顶", .x = 15, .y = 32, .width = 50,
         .height = 10},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "屋面尺寸", .style = host::mfc::kGroupStart, .x = 7,
         .y = 52, .width = 120, .height = 110},
    };
    AddLengthRow(controls, "挑出长度", IDC_ROOF_OVERHANG, IDC_ROOF_PICK_OVERHANG, 13, 64);
    AddLengthRow(controls, "屋面厚度", IDC_ROOF_THICKNESS, IDC_ROOF_PICK_THICKNESS, 13, 82);
    controls.insert(controls.end(), {
        {.id = kStaticId, .kind = ControlKind::Static, .text = "屋面坡度", .x = 13, .y = 102, .width = 34,
         .height = 8},
        {.id = IDC_ROOF_SLOPE, .kind = ControlKind::Edit, .x = 49, .y = 100, .width = 40, .height = 12},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "度", .x = 91, .y = 102, .width = 12, .height = 8},
        {.id = IDC_ROOF_EDGE_SLOPES, .kind = ControlKind::Button, .text = "调整屋面坡度>>", .x = 13, .y = 118,
         .width = 76, .height = 14},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "支持不等坡", .x = 13, .y = 138, .width = 60,
         .height = 8},
        {.id = IDC_ROOF_PARAPET, .kind = ControlKind::CheckBox, .text = "女儿墙", .x = 137, .y = 9, .width = 50,
         .height = 10},
    });
    AddLengthRow(controls, "高 a", IDC_ROOF_HEIGHT_A, IDC_ROOF_PICK_HEIGHT_A, 137, 24);
    AddLengthRow(controls, "高 b", IDC_ROOF_HEIGHT_B, IDC_ROOF_PICK_HEIGHT_B, 137, 40);
    AddLengthRow(controls, "宽 a", IDC_ROOF_WIDTH_A, IDC_ROOF_PICK_WIDTH_A, 137, 56);
    AddLengthRow(controls, "宽 b", IDC_ROOF_WIDTH_B, IDC_ROOF_PICK_WIDTH_B, 137, 72);
    controls.insert(controls.end(), {
        {.id = IDC_ROOF_SECTION, .kind = ControlKind::Picture, .bitmap = IDB_ROOF_SECTION, .x = 137, .y = 90,
         .width = 156, .height = 72},
        {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .style = host::mfc::kGroupStart, .x = 185,
         .y = 172, .width = 50, .height = 14},
        {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 243, .y = 172, .width = 50,
         .height = 14},
    });
    auto& resources = host::mfc::ResourceRegistry::Instance();
    resources.AddBitmap({.id = IDB_ROOF_SECTION,
                         .description = "section through the roof edge: the slab thickness, the overhang from the "
                                        "wall face to the slab edge, and the parapet on the slab edge, a wall of "
                                        "width a and height a whose top part, of height b, leans over towards the "
                                        "roof by width b"});
    resources.AddDialog({.id = IDD_ROOF, .caption = "平屋顶和多坡屋顶", .controls = std::move(controls)});
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterRoofDlgTemplate(), true);

}  // namespace
