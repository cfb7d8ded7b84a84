// The host's settings commands: the current layer and the drawing variables.
#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "Question.h"
#include "WorkingDrawing.h"

namespace host {

namespace {

using Args = std::vector<std::string>;

// Makes the layer current, creating it (white) when the drawing has none of that name.
void Layer(const ScriptLine& line, const Args& args)
{
    if (args.size() != 1) {
        Usage(line, "layer NAME");
        return;
    }
    DbAutoOpen open;
    decLayerTable* layers = open.db->GetTableLayer();
    decLayer* layer = layers->SearchLayer(args[0].c_str());
    const bool created = !layer;
    if (created) layer = layers->CreateNewLayer(args[0].c_str(), 0xFFFFFF);
    if (!layer) {
        RefuseAnswer(line, "the layer \"" + args[0] + "\" cannot be made");
        return;
    }
    layers->SetCurrentLayerID(layer->GetID(), 1, 1);
    EventLog::Instance().Show("current layer: " + args[0] + (created ? " (new)" : ""));
}

void SetVar(const ScriptLine& line, const Args& args)
{
    if (args.size() != 2) {
        Usage(line, "setvar NAME VALUE");
        return;
    }
    const auto value = NumberArg(line, args[1], "a drawing variable");
    if (!value) return;
    dec::GetWorkingDatabase()->SetGlobalVar(args[0].c_str(), *value);
    EventLog::Instance().Show(args[0] + "=" + FormatNumber(*value));
}

void GetVar(const ScriptLine& line, const Args& args)
{
    if (args.size() != 1) {
        Usage(line, "getvar NAME");
        return;
    }
    double value = 0.0;
    if (dec::GetWorkingDatabase()->GetGlobalVar(args[0].c_str(), value))
        EventLog::Instance().Show(args[0] + "=" + FormatNumber(value));
    else
        EventLog::Instance().Show(args[0] + " is not set");
}

}  // namespace

void RegisterSettingsCommands()
{
    CommandTable& table = CommandTable::Instance();
    table.RegisterHost("layer", "图层", Layer);
    table.RegisterHost("setvar", "设置变量", SetVar);
    table.RegisterHost("getvar", "查询变量", GetVar);
}

}  // namespace host
