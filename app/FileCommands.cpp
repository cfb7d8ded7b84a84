// The host's file commands: new, open, save and export obj.
#include "CommandTable.h"
#include "DrawingFiles.h"
#include "EventLog.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "TextParse.h"

namespace host {

namespace {

using Args = std::vector<std::string>;

// The file named by the rest of the line after the given number of words (blanks allowed).
std::string FileArg(const ScriptLine& line, std::size_t words)
{
    return std::string(AfterWords(line.text, words));
}

void New(const ScriptLine& line, const Args& args)
{
    if (!args.empty()) {
        Usage(line, "new");
        return;
    }
    StartNewDrawing();
}

void Open(const ScriptLine& line, const Args& args)
{
    if (args.empty()) {
        Usage(line, "open FILE");
        return;
    }
    OpenDrawingFile(FileArg(line, 1));
}

void Save(const ScriptLine& line, const Args& args)
{
    if (args.empty()) {
        Usage(line, "save FILE");
        return;
    }
    SaveDrawingFile(FileArg(line, 1));
}

void Export(const ScriptLine& line, const Args& args)
{
    if (args.size() < 2 || !EqualsNoCase(args[0], "obj")) {
        Usage(line, "export obj FILE");
        return;
    }
    ExportObjFile(FileArg(line, 2));
}

}  // namespace

void RegisterFileCommands()
{
    CommandTable& table = CommandTable::Instance();
    table.RegisterHost("new", "新建", New);
    table.RegisterHost("open", "打开", Open);
    table.RegisterHost("save", "保存", Save);
    table.RegisterHost("export", "导出", Export);
}

}  // namespace host
