// The host's file commands: new, open, save and export (obj, svg).
#include "CommandTable.h"
#include "DrawingFiles.h"
#include "EventLog.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "Question.h"
#include "SvgExport.h"
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

constexpr const char* kExportUsage = "export obj FILE | export svg FILE [plan|axo] [WIDTHpx]";

// A trailing word of "export svg": the view, or the width in pixels ("1200px" or "1200").
// A word written like a number ("800.5", "1e3", "-5px") is a width too, so that a
// width that is no whole number of pixels is refused rather than taken into the file name;
// it reads as 0, which no picture takes.
struct SvgWord {
    std::optional<PictureView> view;
    std::optional<int> width;
};

// Whether the word is made of a number's characters only (digits, signs, decimal points,
// exponents) and starts as a number starts.
bool NumberLike(std::string_view word)
{
    return !word.empty() && word.find_first_of("0123456789") != std::string_view::npos &&
           word.find_first_not_of("0123456789.eE+-") == std::string_view::npos &&
           word.find_first_of("0123456789.+-") == 0;
}

SvgWord ReadSvgWord(std::string_view word)
{
    if (EqualsNoCase(word, "plan")) return {PictureView::Plan, {}};
    if (EqualsNoCase(word, "axo")) return {PictureView::Axonometric, {}};
    const bool px = word.size() > 2 && EqualsNoCase(word.substr(word.size() - 2), "px");
    if (px) word.remove_suffix(2);
    if (!NumberLike(word)) return {};
    if (word.find_first_not_of("0123456789") != std::string_view::npos) return {{}, 0};
    return {{}, ParseInt(word).value_or(0)};
}

// The text without its last word and the blanks around it.
std::string_view WithoutLastWord(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(" \t");
    text = text.substr(0, end == std::string_view::npos ? 0 : end + 1);
    const std::size_t blank = text.find_last_of(" \t");
    text = text.substr(0, blank == std::string_view::npos ? 0 : blank);
    const std::size_t kept = text.find_last_not_of(" \t");
    return text.substr(0, kept == std::string_view::npos ? 0 : kept + 1);
}

// export svg FILE [plan|axo] [WIDTHpx]: the view and the width are read from the end, so the
// file name may hold blanks.
void ExportSvg(const ScriptLine& line, const Args& args)
{
    PictureView view = PictureView::Axonometric;
    int width = kSvgDefaultWidth;
    bool viewGiven = false, widthGiven = false;
    std::string_view file = AfterWords(line.text, 2);
    for (std::size_t k = args.size() - 1; k >= 2; --k) {
        const SvgWord word = ReadSvgWord(args[k]);
        if (word.view && !viewGiven) {
            view = *word.view;
            viewGiven = true;
        } else if (word.width && !widthGiven) {
            width = *word.width;
            widthGiven = true;
        } else {
            break;
        }
        file = WithoutLastWord(file);
    }
    if (width < kSvgMinWidth || width > kSvgMaxWidth) {
        RefuseAnswer(line, "the width must be " + std::to_string(kSvgMinWidth) + " to " + std::to_string(kSvgMaxWidth) +
                               " pixels");
        return;
    }
    ExportSvgFile(std::string(file), view, width);
}

void Export(const ScriptLine& line, const Args& args)
{
    if (args.size() >= 2 && EqualsNoCase(args[0], "obj"))
        ExportObjFile(FileArg(line, 2));
    else if (args.size() >= 2 && EqualsNoCase(args[0], "svg"))
        ExportSvg(line, args);
    else
        Usage(line, kExportUsage);
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
