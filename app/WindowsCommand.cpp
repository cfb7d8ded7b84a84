// The host command "windows": the stand-in for the analysis side's read-back of the
// windows. Like the analysis side, it finds the module's exported window functions by name
// in the loaded module, asks for every window (GetAllWindow) and reads them sorted with
// WindowInfoFullWay, then prints one line per window: building, floor, position,
// household, rooms, width, height, facing angle and the sill sample points.
#include <algorithm>
#include <numbers>
#include <string>
#include <vector>

#include "CString.h"
#include "CommandTable.h"
#include "EntityArray.h"
#include "EventLog.h"
#include "GePoint3d.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "ModuleExports.h"
#include "Question.h"
#include "Selection.h"
#include "TextParse.h"

namespace host {

namespace {

using Args = std::vector<std::string>;

// The module's exports as the analysis side calls them.
using GetAllWindowFn = int (*)(EntityArray&);
using WindowInfoFullWayFn = void (*)(int mode, EntityArray& windows, std::vector<int>& floors,
                                     std::vector<int>& positions, std::vector<CString>& doors,
                                     std::vector<int>& rooms, std::vector<int>& widths, std::vector<int>& heights,
                                     std::vector<double>& angles, std::vector<CString>& names,
                                     std::vector<GePoint3d>& centres, std::vector<GePoint3d>& ends1,
                                     std::vector<GePoint3d>& ends2);

struct WindowReaders {
    GetAllWindowFn getAll = nullptr;
    WindowInfoFullWayFn fullWay = nullptr;
};

WindowReaders FindWindowReaders()
{
    static constexpr const char* kNames[] = {"GetAllWindow", "WindowInfoFullWay"};
    const std::vector<void*> found = FindModuleExports(kNames);
    if (found.empty())
        return {};
    return {reinterpret_cast<GetAllWindowFn>(found[0]), reinterpret_cast<WindowInfoFullWayFn>(found[1])};
}

void Windows(const ScriptLine& line, const Args& args)
{
    if (args.size() > 1) {
        Usage(line, "windows [ORDER]  (0: by position then floor, 1: by floor then position)");
        return;
    }
    int mode = 1;
    if (!args.empty()) {
        const auto number = ParseInt(args[0]);
        if (!number) {
            RefuseAnswer(line, "the order of windows is a whole number (0 or 1), not \"" + args[0] + "\"");
            return;
        }
        mode = *number;
    }
    EventLog& log = EventLog::Instance();
    const WindowReaders readers = FindWindowReaders();
    if (!readers.getAll || !readers.fullWay) {
        log.Show("windows: the loaded module does not export GetAllWindow and WindowInfoFullWay");
        return;
    }
    EntityArray windows;
    readers.getAll(windows);
    std::vector<int> floors, positions, rooms, widths, heights;
    std::vector<CString> doors, names;
    std::vector<double> angles;
    std::vector<GePoint3d> centres, ends1, ends2;
    readers.fullWay(mode, windows, floors, positions, doors, rooms, widths, heights, angles, names, centres, ends1,
                    ends2);
    // Entry i of every output belongs to window i; a short output is not read past its end.
    const std::size_t count = std::min({windows.size(), floors.size(), positions.size(), doors.size(), rooms.size(),
                                        widths.size(), heights.size(), angles.size(), names.size(), centres.size(),
                                        ends1.size(), ends2.size()});
    log.Show(std::to_string(count) + (count == 1 ? " window" : " windows"));
    for (std::size_t i = 0; i < count; ++i) {
        const double degrees = angles[i] * 180.0 / std::numbers::pi;
        log.Show(DescribeEntity(windows[i]) + " building=" + names[i].GetString() +
                 " floor=" + std::to_string(floors[i]) + " position=" + std::to_string(positions[i]) +
                 " household=" + doors[i].GetString() + " rooms=" + std::to_string(rooms[i]) +
                 " width=" + std::to_string(widths[i]) + " height=" + std::to_string(heights[i]) +
                 " angle=" + FormatNumber(angles[i]) + " (" + FormatNumber(degrees) + "°)" +
                 " centre=" + FormatPoint(centres[i]) + " end1=" + FormatPoint(ends1[i]) +
                 " end2=" + FormatPoint(ends2[i]));
    }
}

}  // namespace

void RegisterWindowsCommand()
{
    CommandTable::Instance().RegisterHost("windows", "窗户信息", Windows);
}

}  // namespace host
