// The host's file commands: new, open, save and export (obj, svg).
#include <algorithm>

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

// The words at the end of "export svg" that set the view and the width. A width is one word,
// a whole number of pixels, "1200" or "1200px"; but any word that starts as a number starts (a
// digit, a sign, a full-width digit, or a number's characters only: "800.5", "1e3", "-5px",
// "1,000", "８００"), alone or followed by "px" or by a word starting with "x" ("800 px",
// "800x600", "800 x 600"), is meant as a width too, so that a width mistyped is refused rather
// than taken into the file name. So is any other word holding a digit among the words read for
// the view and the width ("w800", a second number: "800 600"), and a word after a number ("800
// 像素"). A word ending in ".svg" belongs to the name ("site 2.svg"), and so does every word
// before it and the name's first word; the last such word ends the name, so any other word
// after it ("d2.svg plna", "d2.svg pln 800", a second view) is refused rather than taken in.

constexpr std::string_view kFullWidthDigitLead = "\xEF\xBC";  // U+FF10 to U+FF19: EF BC 90 to 99
constexpr std::string_view kTimesSign = "\xC3\x97";           // U+00D7

bool EndsWithNoCase(std::string_view word, std::string_view tail)
{
    return word.size() >= tail.size() && EqualsNoCase(word.substr(word.size() - tail.size()), tail);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool StartsWithFullWidthDigit(std::string_view word)
{
    return word.size() >= 3 && word.starts_with(kFullWidthDigitLead) && static_cast<unsigned char>(word[2]) >= 0x90 &&
           static_cast<unsigned char>(word[2]) <= 0x99;
}

// Whether the word holds a digit anywhere, ASCII or full-width.
bool HoldsDigit(std::string_view word)
{
    for (std::size_t i = 0; i < word.size(); ++i)
        if (IsDigit(word[i]) || StartsWithFullWidthDigit(word.substr(i))) return true;
    return false;
}

// Whether the word is made of a number's characters only (digits, signs, decimal points,
// exponents) and starts as a number starts.
bool NumberLike(std::string_view word)
{
    return !word.empty() && word.find_first_of("0123456789") != std::string_view::npos &&
           word.find_first_not_of("0123456789.eE+-") == std::string_view::npos &&
           word.find_first_of("0123456789.+-") == 0;
}

// A word a user meant as a width, whether or not it is one.
bool WidthLike(std::string_view word)
{
    if (word.empty() || EndsWithNoCase(word, ".svg")) return false;
    return IsDigit(word.front()) || word.front() == '+' || word.front() == '-' || StartsWithFullWidthDigit(word) ||
           NumberLike(word);
}

bool IsPx(std::string_view word)
{
    return EqualsNoCase(word, "px");
}

// "x600", "x", "×600": the second half of a size written "800 x600".
bool IsSizeTail(std::string_view word)
{
    return !word.empty() && (word.front() == 'x' || word.front() == 'X' || word.starts_with(kTimesSign));
}

// The first of the words ending at k (none before first) that a user meant as a width, or
// nothing when the word at k ends none.
std::optional<std::size_t> WidthStart(const Args& args, std::size_t first, std::size_t k)
{
    std::size_t start = k;
    if (!WidthLike(args[k])) {
        if (k <= first || !(IsPx(args[k]) || IsSizeTail(args[k])) || !WidthLike(args[k - 1])) return std::nullopt;
        start = k - 1;
    }
    // "800 x 600": the size's first number and its "x" go with it.
    if (start >= first + 2 && IsSizeTail(args[start - 1]) && WidthLike(args[start - 2])) start -= 2;
    return start;
}

// Whether the words from first to k, the rest of the name as read so far, hold a width that was
// meant (a word holding a digit, or the word at k after a number) after the name's last word
// ending in ".svg".
bool WidthMeantBefore(const Args& args, std::size_t first, std::size_t k)
{
    if (EndsWithNoCase(args[k], ".svg")) return false;
    if (k > first && WidthLike(args[k - 1])) return true;
    for (std::size_t i = k + 1; i-- > first && !EndsWithNoCase(args[i], ".svg");)
        if (HoldsDigit(args[i])) return true;
    return false;
}

// The word ending in ".svg" that ends the name, when the word at k comes after it: a word
// there that is no view or width is a typo ("d2.svg plna"), not a part of the name.
std::optional<std::size_t> NameEndBefore(const Args& args, std::size_t k)
{
    if (EndsWithNoCase(args[k], ".svg")) return std::nullopt;
    for (std::size_t i = k; i-- > 1;)
        if (EndsWithNoCase(args[i], ".svg")) return i;
    return std::nullopt;
}

// The pixels of a width written as one word, "1200" or "1200px"; 0, which no picture takes,
// for anything else.
int WidthOf(std::string_view word)
{
    if (word.size() > 2 && IsPx(word.substr(word.size() - 2))) word.remove_suffix(2);
    if (word.empty() || !std::all_of(word.begin(), word.end(), IsDigit)) return 0;
    return ParseInt(word).value_or(0);
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
// file name may hold blanks; its first word is always the name's.
void ExportSvg(const ScriptLine& line, const Args& args)
{
    constexpr std::size_t kFirst = 2;  // args[0] is "svg", args[1] the name's first word
    PictureView view = PictureView::Axonometric;
    int width = kSvgDefaultWidth;
    bool viewGiven = false, widthGiven = false;
    std::string_view file = AfterWords(line.text, 2);
    for (std::size_t k = args.size() - 1; k >= kFirst;) {
        std::size_t used = 1;
        if (!viewGiven && EqualsNoCase(args[k], "plan")) {
            view = PictureView::Plan;
            viewGiven = true;
        } else if (!viewGiven && EqualsNoCase(args[k], "axo")) {
            view = PictureView::Axonometric;
            viewGiven = true;
        } else if (const auto start = widthGiven ? std::nullopt : WidthStart(args, kFirst, k)) {
            width = *start == k ? WidthOf(args[k]) : 0;  // "800 px" and "800 x 600" are no width
            widthGiven = true;
            used = k - *start + 1;
        } else if (WidthMeantBefore(args, kFirst, k)) {
            width = 0;  // a width was meant up to the name's ".svg" word
            break;
        } else if (const auto end = NameEndBefore(args, k)) {
            RefuseAnswer(line, "the file name ends at \"" + args[*end] + "\": after it only plan, axo or a width, not \"" +
                                   args[k] + "\"");
            return;
        } else {
            break;  // the rest belongs to the name
        }
        for (std::size_t n = 0; n < used; ++n) file = WithoutLastWord(file);
        if (k < kFirst + used) break;
        k -= used;
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
