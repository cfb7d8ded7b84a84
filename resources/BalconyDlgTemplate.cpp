#include "BalconyDlgTemplate.h"

#include <utility>

#include "DialogTemplate.h"
#include "WinTypes.h"

namespace {

using host::mfc::ControlKind;
using host::mfc::ControlTemplate;
using host::mfc::kStaticId;

// One row of the size group: its label, the edit and the pick button.
void AddSizeRow(std::vector<ControlTemplate>& controls, const char* label, int edit, int pick, int y)
{
    controls.push_back({.id = kStaticId, .kind = ControlKind::Static, .text = label, .x = 13, .y = y + 2,
                        .width = 40, .height = 8});
    controls.push_back({.id = edit, .kind = ControlKind::Edit, .x = 55, .y = y, .width = 44, .height = 12});
    controls.push_back({.id = pick, .kind = ControlKind::Button, .text = ">>", .x = 101, .y = y, .width = 16,
                        .height = 12});
}

}  // namespace

void RegisterBalconyDlgTemplate()
{
    // 250 × 170 dialog units: the storeys and levels on top, the sizes in a group below them
    // beside the picture, the buttons at the bottom.
    std::vector<ControlTemplate> controls = {
        {.id = kStaticId, .kind = ControlKind::Static, .text = "重复层数", .x = 7, .y = 9, .width = 40, .height = 8},
        {.id = IDC_BALCONY_STOREYS, .kind = ControlKind::Edit, .style = host::mfc::kGroupStart, .x = 55, .y = 7,
         .width = 34, .height = 12},
        {.id = IDC_BALCONY_STOREYS_SPIN, .kind = ControlKind::Spin, .buddy = IDC_BALCONY_STOREYS, .rangeMin = 1,
         .rangeMax = 200, .x = 89, .y = 7, .width = 10, .height = 12},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "层高", .x = 115, .y = 9, .width = 24, .height = 8},
        {.id = IDC_BALCONY_STOREY_HEIGHT, .kind = ControlKind::ComboBox, .style = host::mfc::kDropDown,
         .items = {"2700", "2900", "3000", "3300", "3600"}, .x = 141, .y = 7, .width = 50, .height = 60},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "底部标高", .x = 7, .y = 27, .width = 40, .height = 8},
        {.id = IDC_BALCONY_LEVEL, .kind = ControlKind::Edit, .x = 55, .y = 25, .width = 44, .height = 12},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "（阳台底面高于室内地坪为正）", .x = 103, .y = 27,
         .width = 140, .height = 8},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "尺寸", .style = host::mfc::kGroupStart, .x = 7,
         .y = 43, .width = 236, .height = 98},
    };
    AddSizeRow(controls, "底板厚度", IDC_BALCONY_SLAB, IDC_BALCONY_PICK_SLAB, 57);
    AddSizeRow(controls, "栏板高度", IDC_BALCONY_PARAPET_HEIGHT, IDC_BALCONY_PICK_PARAPET_HEIGHT, 77);
    AddSizeRow(controls, "栏板厚度", IDC_BALCONY_PARAPET_THICKNESS, IDC_BALCONY_PICK_PARAPET_THICKNESS, 97);
    controls.insert(controls.end(), {
        {.id = kStaticId, .kind = ControlKind::Picture, .bitmap = IDB_BALCONY_SIZES, .x = 125, .y = 53,
         .width = 112, .height = 82},
        {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .style = host::mfc::kGroupStart, .x = 135,
         .y = 149, .width = 50, .height = 14},
        {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消", .x = 193, .y = 149, .width = 50,
         .height = 14},
    });
    auto& resources = host::mfc::ResourceRegistry::Instance();
    resources.AddBitmap({.id = IDB_BALCONY_SIZES,
                         .description = "section through a balcony against its wall: the slab of the slab "
                                        "thickness at the bottom level, and on its free edge the parapet, its "
                                        "height standing on the slab and its thickness"});
    resources.AddDialog({.id = IDD_BALCONY, .caption = "阳台（单位毫米）", .controls = std::move(controls)});
}

namespace {

[[maybe_unused]] const bool g_registered = (RegisterBalconyDlgTemplate(), true);

}  // namespace
