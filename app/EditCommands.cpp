// The host's editing commands: erase, move and rotate entities named by handle.
#include <numbers>

#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "Question.h"
#include "Selection.h"
#include "WorkingDrawing.h"

namespace host {

namespace {

using Args = std::vector<std::string>;

// Changes each entity inside its own write bracket, within one of the drawing.
template <class Change>
void ChangeEach(const std::vector<decDbEntity*>& entities, const char* done, Change change)
{
    DbAutoOpen open;
    for (decDbEntity* entity : entities) {
        if (entity->OpenForWrite() != dex::eOk) {
            EventLog::Instance().Show(DescribeEntity(entity) + " cannot be changed now");
            continue;
        }
        const int result = change(entity);
        entity->Close();
        EventLog::Instance().Show(DescribeEntity(entity) + (result == dex::eOk ? std::string(" ") + done : " refused"));
    }
}

void Erase(const ScriptLine& line, const Args& args)
{
    if (args.empty()) {
        Usage(line, "erase #N ...");
        return;
    }
    const auto entities = EntityArgs(line, args);
    if (!entities) return;
    ChangeEach(*entities, "erased", [](decDbEntity* entity) { return entity->Erase(); });
}

void Move(const ScriptLine& line, const Args& args)
{
    if (args.size() < 2) {
        Usage(line, "move #N ... dx,dy[,dz]");
        return;
    }
    const auto entities = EntityArgs(line, {args.begin(), args.end() - 1});
    if (!entities) return;
    const auto offset = PointArg(line, args.back());
    if (!offset) return;
    GeMatrix3d shift;
    shift.SetToTranslation(GeVector3d(offset->x, offset->y, offset->z));
    ChangeEach(*entities, "moved", [&](decDbEntity* entity) { return entity->TransformBy(shift); });
}

void Rotate(const ScriptLine& line, const Args& args)
{
    if (args.size() < 3) {
        Usage(line, "rotate #N ... x,y DEGREES");
        return;
    }
    const auto entities = EntityArgs(line, {args.begin(), args.end() - 2});
    if (!entities) return;
    const auto centre = PointArg(line, args[args.size() - 2]);
    if (!centre) return;
    const auto degrees = NumberArg(line, args.back(), "the angle");
    if (!degrees) return;
    GeMatrix3d turn;
    turn.SetToRotation(*degrees * std::numbers::pi / 180.0, GeVector3d(0.0, 0.0, 1.0), *centre);
    ChangeEach(*entities, "rotated", [&](decDbEntity* entity) { return entity->TransformBy(turn); });
}

}  // namespace

void RegisterEditCommands()
{
    CommandTable& table = CommandTable::Instance();
    table.RegisterHost("erase", "删除", Erase);
    table.RegisterHost("move", "移动", Move);
    table.RegisterHost("rotate", "旋转", Rotate);
}

}  // namespace host
