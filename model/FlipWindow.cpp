// The command `flipwin` ("翻转窗朝向"): selected windows turn by half a turn about the
// vertical through their origin, so that they face the other way; their numbers and size
// stay.
#include <string>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "ModelHelperWindows.h"
#include "OrvCommandHandlers.h"
#include "qrxGeScalar.h"
#include "Selection.h"
#include "WorkingDrawing.h"
#include "decDbEntity.h"

namespace {

// Half a turn, in single precision.
constexpr double kHalfTurn = qrxGe::kPi;

void FlipAboutOrigin(decDbEntity3d* entity)
{
    entity->OpenForWrite();
    GePoint3d origin;
    GeVector3d x, y, z;
    entity->GetTM().GetCoordSystem(origin, x, y, z);
    GeMatrix3d turn;
    turn.SetToRotation(kHalfTurn, GeVector3d::kZAxis, origin);
    entity->TransformBy(turn);
    entity->Close();
}

}  // namespace

void CMD_FLIP_WIN_DIR()
{
    class FT_WINDOW : public decSSGet_filter {
    public:
        int Accept(decDbEntity* entity, int& accept) override
        {
            accept = IsWindow(entity);
            return 1;
        }
    };

    dec::PrintPrompt("***翻转窗朝向***");
    decSelectSet selection;
    FT_WINDOW filter;
    if (dec::decSSGet("请选择要翻转朝向的窗：", selection, &filter, 1, nullptr) != dex::eOk)
        return;
    if (selection.GetCount() == 0) {
        dec::PrintPrompt("提示：没有选中窗对象！命令退出。");
        return;
    }
    const std::string count = "选中" + std::to_string(selection.GetCount()) + "个窗。";
    dec::PrintPrompt(count.c_str());
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    for (int i = 0; i < selection.GetCount(); ++i) {
        if (auto* entity = decCast<decDbEntity3d>(selection.GetEnt(i)))
            FlipAboutOrigin(entity);
    }
    db->Close();
}
