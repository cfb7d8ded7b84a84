#include "OrvCommands.h"

#include <algorithm>

#include "CommandTable.h"
#include "OrvCommandHandlers.h"

const std::array<OrvCommand, 34> kOrvCommands = {{
    {"gable", "人字坡顶", CMD_GABLE_ROOF},
    {"proof", "攒尖屋顶", CMD_PYRAMID_ROOF},
    {"arcroof", "拱形屋顶", CMD_ARCHED_ROOF},
    {"unionroof", "屋面合成", CMD_UNION_ROOF},
    {"prismoid", "棱台屋顶", CMD_PRISMOID_ROOF},
    {"roof", "平屋顶和坡屋顶", CMD_ROOF},
    {"build", "拉伸建筑", CMD_EXTRUDE_BUILD},
    {"orderwin", "逐个插窗", CMD_ORDER_INSERT_WINDOW},
    {"2pwin", "两点插窗", CMD_2POINT_INSERT_WINDOW},
    {"qwin", "整体插窗", CMD_QUICK_INSERT_WINDOW},
    {"balcony", "阳台", CMD_BALCONY},
    {"dormer", "老虎窗", CMD_DORMER},
    {"orderindex", "重排窗号", CMD_REORDER_WINDOW_INDEX},
    {"orderfloor", "重排层号", CMD_REORDER_WINDOW_FLOOR},
    {"diminbld", "标注建筑", CMD_DIM_BUILD_NAME},
    {"bldgroup", "建筑分组", CMD_BUILD_GROUP},
    {"inqgroup", "查询分组", CMD_QUERY_GROUP},
    {"dimbldelev", "标注建筑物标高", CMD_DIM_BUILD_ELEVATION},
    {"inqbuild", "建筑查询", CMD_INQUIRE_BUILD},
    {"windoor", "窗分户号", CMD_WINDOW_DOOR},
    {"namebld", "建筑命名", CMD_NAME_BUILD},
    {"chkbld", "检查未命名建筑", CMD_CHECK_UNNAMED_BUILD},
    {"chkwin", "检查未指定所属关系窗", CMD_CHECK_UNOWNED_WINDOW},
    {"orvmodelscale", "更新比例", CMD_UPDATE_MODEL_SCALE},
    {"tocontour", "生成等高线", CMD_BATCH_CREATE_CONTOUR},
    {"updatewin", "升级窗口", CMD_UPDATE_OLD_WINDOW},
    {"updatebld", "升级建筑", CMD_UPDATE_OLD_BUILD},
    {"winbld", "窗属建筑", CMD_WIN_BELONG_BUILD},
    {"tmodel", "读取第三方日照模型", CMD_IMPORT_THIRD_PARTY_MODEL},
    {"eelev", "修改底标高", CMD_EDIT_ELEVATION},
    {"layerline", "楼层分界线", CMD_DRAW_LAYER_LINE},
    {"elevstyle", "建筑标高样式", CMD_SET_ELEVATION_STYLE},
    {"flipwin", "翻转窗朝向", CMD_FLIP_WIN_DIR},
    {"showunname", "显示未命名建筑", CMD_SHOW_UNNAMED_BUILD},
}};

const OrvCommand* FindOrvCommand(std::string_view name)
{
    const auto row = std::find_if(kOrvCommands.begin(), kOrvCommands.end(),
                                  [name](const OrvCommand& command) { return name == command.name; });
    return row == kOrvCommands.end() ? nullptr : &*row;
}

void RegisterCommands()
{
    for (const OrvCommand& command : kOrvCommands)
        dec::RegisterCommand(kOrvCommandGroup, command.name, command.displayName, kOrvCommandFlags, command.handler);
}
