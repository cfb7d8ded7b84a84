// The host command "orvroof": the stand-in for an outside caller of the module's roof
// entity. Like such a caller it finds the roof class's factory and its SetData among the
// module's exported symbols, sets a new roof from the typed outline and parameters, and adds
// it to the drawing only when SetData built it (1), placed by the roof's own frame: origin at
// the first point, x along the first edge, z up.
//
//   orvroof OVERHANG THICKNESS [ha=H] [hb=H] [wa=W] [wb=W] [slope=S | slopes=S1,S2,...] x,y[,z] ...
//
// Without a slope the roof is flat (kind 0); slope= gives every edge the same slope and
// slopes= one slope per point (kind 1).
#include <array>
#include <optional>
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
#include "TextParse.h"
#include "WorkingDrawing.h"
#include "decBuilder.h"

namespace host {

namespace {

using Args = std::vector<std::string>;

// The roof's exports. SetData is a member: the object comes first, as the platform's calling
// convention passes it.
using CreateNewObjectFn = decObject* (*)();
using SetDataFn = int (*)(decObject* roof, GePoint3dArray outline, int kind, double overhang,
                          std::vector<float> slopes, float thickness, float ha, float hb, float wa, float wb);
constexpr std::array<const char*, 2> kRoofExports = {
    "_ZN8COrvRoof15CreateNewObjectEv",
    "_ZN8COrvRoof7SetDataESt6vectorI9GePoint3dSaIS1_EEidS0_IfSaIfEEfffff",
};

constexpr const char* kUsage =
    "orvroof OVERHANG THICKNESS [ha=H] [hb=H] [wa=W] [wb=W] [slope=S | slopes=S1,S2,...] x,y[,z] x,y[,z] ...";
// A first edge shorter than this gives no direction: the frame keeps the x axis.
constexpr double kShortEdge = 0.1;

struct RoofRequest {
    double overhang = 0.0;
    float thickness = 0.0f;
    float ha = 0.0f, hb = 0.0f, wa = 0.0f, wb = 0.0f;
    std::optional<float> slope;        // slope=
    std::optional<std::vector<float>> slopes;  // slopes=
    GePoint3dArray outline;
};

// The value after "name=" when the word starts so.
std::optional<std::string> Option(const std::string& word, const char* name)
{
    const std::string prefix = std::string(name) + "=";
    if (AsciiLower(word.substr(0, prefix.size())) != prefix)
        return std::nullopt;
    return word.substr(prefix.size());
}

std::optional<RoofRequest> ReadRequest(const ScriptLine& line, const Args& args)
{
    if (args.size() < 3) {
        Usage(line, kUsage);
        return std::nullopt;
    }
    RoofRequest request;
    const auto overhang = NumberArg(line, args[0], "the overhang");
    const auto thickness = overhang ? NumberArg(line, args[1], "the thickness") : std::nullopt;
    if (!thickness)
        return std::nullopt;
    request.overhang = *overhang;
    request.thickness = static_cast<float>(*thickness);
    struct Parapet {
        const char* name;
        float* field;
    };
    const Parapet parapets[] = {{"ha", &request.ha}, {"hb", &request.hb}, {"wa", &request.wa}, {"wb", &request.wb}};
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& word = args[i];
        bool taken = false;
        for (const Parapet& parapet : parapets) {
            if (const auto text = Option(word, parapet.name)) {
                const auto value = NumberArg(line, *text, "a parapet value");
                if (!value)
                    return std::nullopt;
                *parapet.field = static_cast<float>(*value);
                taken = true;
            }
        }
        if (taken)
            continue;
        if (const auto text = Option(word, "slope")) {
            const auto value = NumberArg(line, *text, "the slope");
            if (!value)
                return std::nullopt;
            request.slope = static_cast<float>(*value);
        } else if (const auto list = Option(word, "slopes")) {
            const auto values = NumberListArg(line, *list, "a slope");
            if (!values)
                return std::nullopt;
            request.slopes = std::vector<float>(values->begin(), values->end());
        } else if (const auto point = PointArg(line, word)) {
            request.outline.push_back(*point);
        } else {
            return std::nullopt;
        }
    }
    if (request.slope && request.slopes) {
        Usage(line, kUsage + std::string("  (slope= or slopes=, not both)"));
        return std::nullopt;
    }
    return request;
}

// The placement of a roof set from this outline: origin at the first point, x along the
// first edge in plan (the x axis when that edge is too short), z up, y = z × x.
GeMatrix3d RoofFrame(const GePoint3dArray& outline)
{
    GeVector3d x = outline[1] - outline[0];
    x.z = 0.0;
    x = x.Length() < kShortEdge ? GeVector3d::kXAxis : x.Normalize();
    GeVector3d y = GeVector3d::kZAxis.CrossProduct(x);
    y.Normalize();
    GeMatrix3d frame;
    frame.SetCoordSystem(outline[0], x, y, GeVector3d::kZAxis);
    return frame;
}

void OrvRoof(const ScriptLine& line, const Args& args)
{
    const auto request = ReadRequest(line, args);
    if (!request)
        return;
    EventLog& log = EventLog::Instance();
    const std::vector<void*> exports = FindModuleExports(kRoofExports);
    if (exports.empty()) {
        log.Show("orvroof: the loaded module does not export the roof class COrvRoof with its SetData");
        return;
    }
    const auto create = reinterpret_cast<CreateNewObjectFn>(exports[0]);
    const auto setData = reinterpret_cast<SetDataFn>(exports[1]);
    decObject* object = create();
    auto* roof = decCast<decBuilder>(object);
    if (!roof) {
        log.Show("orvroof: the module's roof class made no roof");
        delete object;
        return;
    }
    const bool sloped = request->slope || request->slopes;
    std::vector<float> slopes;
    if (request->slopes)
        slopes = *request->slopes;
    else if (request->slope)
        slopes.assign(request->outline.size(), *request->slope);
    roof->OpenForWrite();
    const int result = setData(roof, request->outline, sloped ? 1 : 0, request->overhang, slopes,
                               request->thickness, request->ha, request->hb, request->wa, request->wb);
    roof->Close();
    log.Show("SetData: " + std::to_string(result));
    if (result != 1) {
        delete roof;
        return;
    }
    DbAutoOpen open;
    decObjectId id;
    if (open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), roof, RoofFrame(request->outline), id) !=
        dex::eOk) {
        delete roof;
        return;
    }
    ReportCreated(open.db->GetObjectById(id));
}

}  // namespace

void RegisterOrvRoofCommand()
{
    CommandTable::Instance().RegisterHost("orvroof", "屋顶实体", OrvRoof);
}

}  // namespace host
