// The host's editing commands: erase, move, rotate and show again entities named by handle.
#include <numbers>

#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "FiniteEntity.h"
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

// Moves each entity by tm; one whose coordinates would not stay finite is left as it is.
void TransformEach(const std::vector<decDbEntity*>& entities, const char* done, const GeMatrix3d& tm)
{
    std::vector<decDbEntity*> movable;
    for (decDbEntity* entity : entities) {
        if (StaysFinite(*entity, tm))
            movable.push_back(entity);
        else
            EventLog::Instance().Show(DescribeEntity(entity) + " refused: its coordinates would not be finite");
    }
    ChangeEach(movable, done, [&](decDbEntity* entity) { return entity->TransformBy(tm); });
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
    TransformEach(*entities, "moved", shift);
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
    TransformEach(*entities, "rotated", turn);
}

// Shows hidden entities again: the named ones, or every hidden one when none is named.
void Unhide(const ScriptLine& line, const Args& args)
{
    std::vector<decDbEntity*> hidden;
    if (args.empty()) {
        for (decDbEntity* entity : dec::GetWorkingDatabase()->AllObjects())
            if (!entity->IsErased() && entity->IsHidden()) hidden.push_back(entity);
    } else if (const auto entities = EntityArgs(line, args)) {
        hidden = *entities;
    } else {
        return;
    }
    ChangeEach(hidden, "shown", [](decDbEntity* entity) {
        entity->SetHide(0);
        return static_cast<int>(dex::eOk);
    });
}

}  // namespace

void RegisterEditCommands()
{
    CommandTable& table = CommandTable::Instance();
    table.RegisterHost("erase", "删除", Erase);
    table.RegisterHost("move", "移动", Move);
    table.RegisterHost("rotate", "旋转", Rotate);
    table.RegisterHost("unhide", "显示", Unhide);
}

}  // namespace host
