// The host command "multislope": the stand-in for the roof command's multi-slope form, an
// outside caller of the module's exported multi-slope roof builder. It finds the builder by
// its linker name and hands it the typed outline (an open ring, in the order typed), the slab
// thickness and the slopes in degrees.
//
//   multislope THICKNESS SLOPE[,SLOPE...] x,y[,z] x,y[,z] x,y[,z] ...
//
// One slope stands for every edge; a list gives slope i to the edge from point i to the next.
#include <array>
#include <string>
#include <vector>

#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "GePoint3dArray.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "ModuleExports.h"
#include "Question.h"
#include "WorkingDrawing.h"
#include "decObjectId.h"

namespace host {

namespace {

using Args = std::vector<std::string>;

using CreateMultiSlopeRoofFn = decObjectId (*)(const GePoint3dArray& outline, double thickness,
                                               const std::vector<float>& slopes);
constexpr std::array<const char*, 1> kBuilderExport = {
    "_Z20CreateMultiSlopeRoofRKSt6vectorI9GePoint3dSaIS0_EEdRKS_IfSaIfEE",
};

void MultiSlope(const ScriptLine& line, const Args& args)
{
    if (args.size() < 3) {
        Usage(line, "multislope THICKNESS SLOPE[,SLOPE...] x,y[,z] x,y[,z] x,y[,z] ...");
        return;
    }
    const auto thickness = NumberArg(line, args[0], "the thickness");
    const auto slopes = thickness ? NumberListArg(line, args[1], "a slope") : std::nullopt;
    if (!slopes)
        return;
    GePoint3dArray outline;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const auto point = PointArg(line, args[i]);
        if (!point)
            return;
        outline.push_back(*point);
    }
    std::vector<float> degrees(slopes->begin(), slopes->end());
    if (degrees.size() == 1)
        degrees.assign(outline.size(), degrees.front());

    EventLog& log = EventLog::Instance();
    const std::vector<void*> exports = FindModuleExports(kBuilderExport);
    if (exports.empty()) {
        log.Show("multislope: the loaded module does not export CreateMultiSlopeRoof");
        return;
    }
    const decObjectId id = reinterpret_cast<CreateMultiSlopeRoofFn>(exports[0])(outline, *thickness, degrees);
    const decDbEntity* roof = id.IsNull() ? nullptr : dec::GetWorkingDatabase()->GetObjectById(id);
    if (roof)
        ReportCreated(roof);
    else
        log.Show("no roof");
}

}  // namespace

void RegisterMultiSlopeCommand()
{
    CommandTable::Instance().RegisterHost("multislope", "多坡屋顶", MultiSlope);
}

}  // namespace host
