// The host command "analysisgroups": the stand-in for the analysis side's questions about
// analysis groups. Like the analysis side, it finds the module's exported group queries by
// name and calls one; its dialog, when one opens, takes the following script lines. Then it
// prints the answer and every output: entities as "#N CLASS", faces as their points.
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "CString.h"
#include "CommandTable.h"
#include "EntityArray.h"
#include "EventLog.h"
#include "GePoint3dArray.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "ModuleExports.h"
#include "Question.h"
#include "Selection.h"

namespace host {

namespace {

using Args = std::vector<std::string>;
using Faces = std::vector<GePoint3dArray>;

// GetHideBuildByGroup as the analysis side calls it; the others take only their outputs.
using HideBuildFn = int (*)(EntityArray&, const CString, const CString);

// The texts the shading dialog shows of its own.
constexpr const char* kHideCaption = "主体组设置";
constexpr const char* kHidePrompt = "设置参与遮挡实体所在的组";

constexpr const char* kUsage =
    "analysisgroups hide [faces] | hide buildings [CAPTION [PROMPT]] | compare [faces] | window [faces]";

std::string Counted(std::size_t count, const char* singular, const char* plural)
{
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

void PrintOutput(const char* name, const EntityArray& entities)
{
    EventLog& log = EventLog::Instance();
    log.Show(std::string(name) + ": " + Counted(entities.size(), "object", "objects"));
    for (const decDbEntity* entity : entities)
        log.Show("  " + DescribeEntity(entity));
}

void PrintOutput(const char* name, const Faces& faces)
{
    EventLog& log = EventLog::Instance();
    log.Show(std::string(name) + ": " + Counted(faces.size(), "face", "faces"));
    for (const GePoint3dArray& face : faces) {
        std::string line = "  " + Counted(face.size(), "point", "points") + ":";
        for (const GePoint3d& p : face)
            line += " " + FormatPoint(p);
        log.Show(line);
    }
}

// Finds the export; a module without it gets a plain message.
void* FindExport(const char* name)
{
    const char* const names[] = {name};
    const std::vector<void*> found = FindModuleExports(names);
    if (found.empty())
        EventLog::Instance().Show(std::string("analysisgroups: the loaded module does not export ") + name);
    return found.empty() ? nullptr : found.front();
}

void ShowAnswer(const char* name, int answer)
{
    EventLog::Instance().Show(std::string(name) + ": " + std::to_string(answer));
}

// Calls the export with fresh outputs of these types, then prints its answer and each output
// under its label.
template <class... Outputs>
void Ask(const char* name, const std::array<const char*, sizeof...(Outputs)>& labels)
{
    void* address = FindExport(name);
    if (!address)
        return;
    std::tuple<Outputs...> outputs;
    using Export = int (*)(Outputs&...);
    ShowAnswer(name, std::apply([&](Outputs&... out) { return reinterpret_cast<Export>(address)(out...); }, outputs));
    std::size_t label = 0;
    std::apply([&](const Outputs&... out) { (PrintOutput(labels[label++], out), ...); }, outputs);
}

void HideBuildings(const std::string& caption, const std::string& prompt)
{
    const char* name = "GetHideBuildByGroup";
    void* address = FindExport(name);
    if (!address)
        return;
    EntityArray out;
    ShowAnswer(name, reinterpret_cast<HideBuildFn>(address)(out, CString(caption), CString(prompt)));
    PrintOutput("objects", out);
}

// The query of a kind ("hide", "compare", "window"), in entity or face mode; false for an
// unknown kind.
bool AskKind(const std::string& kind, bool faces)
{
    if (kind == "hide" && faces)
        Ask<Faces>("GetHideFaceByGroup", {"faces"});
    else if (kind == "hide")
        Ask<EntityArray>("GetHideEntityByGroup", {"objects"});
    else if (kind == "compare" && faces)
        Ask<Faces, Faces>("GetBeforeAfterHideFaceByGroup", {"before", "after"});
    else if (kind == "compare")
        Ask<EntityArray, EntityArray>("GetBeforeAfterHideEntByGroup", {"before", "after"});
    else if (kind == "window" && faces)
        Ask<Faces, Faces, EntityArray>("GetWinBeforeAfterHideFaceByGroup", {"before", "after", "windows"});
    else if (kind == "window")
        Ask<EntityArray, EntityArray, EntityArray>("GetWinBeforeAfterHideEntByGroup", {"before", "after", "windows"});
    else
        return false;
    return true;
}

void AnalysisGroups(const ScriptLine& line, const Args& args)
{
    const std::string kind = args.empty() ? std::string() : args[0];
    const bool faces = args.size() == 2 && args[1] == "faces";
    if (kind == "hide" && args.size() >= 2 && args[1] == "buildings" && args.size() <= 4) {
        HideBuildings(args.size() > 2 ? args[2] : kHideCaption, args.size() > 3 ? args[3] : kHidePrompt);
        return;
    }
    if ((args.size() == 1 || faces) && AskKind(kind, faces))
        return;
    Usage(line, kUsage);
}

}  // namespace

void RegisterAnalysisGroupsCommand()
{
    CommandTable::Instance().RegisterHost("analysisgroups", "分析分组", AnalysisGroups);
}

}  // namespace host
