#include "HostScriptGenerator.h"

#include <algorithm>
#include <fstream>
#include <cctype>
#include <set>
#include <sstream>

namespace fuzz {
namespace {

namespace fs = std::filesystem;

// The example scripts a session starts from: they leave buildings, windows and roofs to work on.
const char* const kSiteScripts[] = {"site.txt", "01-site.txt", "buildings.txt"};

// Values that the types keeping typed numbers cannot all hold: the ends of int, float and
// double, their neighbours, values that are not finite, and text that is no number or only
// nearly one.
const char* const kOddNumbers[] = {
    "0", "-0", "1", "-1", "0.5", "2", "3", "90", "91", "-90", "180", "360", "1e-300", "4.9e-324", "1e9", "1e10",
    "99999999999", "1e11", "3e10", "1e21", "3.4028235e38", "3.5e38", "1e300", "1e308", "1.7976931348623157e308",
    "1e309", "-1e308", "2147483647", "2147483648", "-2147483648", "-2147483649", "4294967296", "9223372036854775807",
    "18446744073709551616", "nan", "NaN", "-nan", "inf", "-inf", "Infinity", "1e", "e5", "abc", "", " ", "1,2", "0x1A",
    "１２", "1.5.5", "--1", "+5", "5e-1", "0.0000001", "00000000000000000000000000000000000000012", "1e-7", "1.",
    ".5", "-.5", "3900,2900*5", "*", "100*0", "0*100", "2900*99999", "1e6*1e6"};

const char* const kAnswers[] = {"",       "*cancel*", "*end*", "ok",  "cancel", "yes",   "no",  "y",
                                "n",      "abort",    "retry", "ignore", "t",   "h",     "all", "last",
                                "取消",   "c",        "Y",     "N",     "1",   "0",     "T",   ";"};

const char* const kDialogVerbs[] = {"set", "check", "radio", "choose", "click", "items", "leave", "spin"};

bool IsComment(const std::string& line)
{
    const auto first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == ';';
}

std::string FirstWord(const std::string& line)
{
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return {};
    const auto end = line.find_first_of(" \t", start);
    std::string word = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
    return word;
}

std::vector<std::string> ReadLines(const fs::path& file)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The lines of a script without its comments, cut before each line that starts a command.
std::vector<std::vector<std::string>> Pieces(const std::vector<std::string>& lines, const std::set<std::string>& commands)
{
    std::vector<std::vector<std::string>> pieces;
    for (const std::string& line : lines) {
        if (IsComment(line)) continue;
        if (pieces.empty() || commands.contains(FirstWord(line))) pieces.emplace_back();
        pieces.back().push_back(line);
    }
    return pieces;
}

}  // namespace

ScriptCorpus ReadCorpus(const fs::path& examples, const fs::path& resources, const std::vector<std::string>& hostCommands,
                        const std::vector<std::string>& moduleCommands)
{
    ScriptCorpus corpus;
    corpus.moduleCommands = moduleCommands;
    std::set<std::string> commands(hostCommands.begin(), hostCommands.end());
    commands.insert(moduleCommands.begin(), moduleCommands.end());
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::directory_iterator(examples))
        if (entry.path().extension() == ".txt") scripts.push_back(entry.path());
    std::sort(scripts.begin(), scripts.end());
    for (const fs::path& script : scripts) {
        const auto pieces = Pieces(ReadLines(script), commands);
        corpus.pieces.insert(corpus.pieces.end(), pieces.begin(), pieces.end());
        if (std::find(std::begin(kSiteScripts), std::end(kSiteScripts), script.filename()) != std::end(kSiteScripts)) {
            std::vector<std::string> site;
            for (const auto& piece : pieces) site.insert(site.end(), piece.begin(), piece.end());
            corpus.sites.push_back(site);
        }
    }
    // "IDC_NAME = 1234," in each dialog's header: one dialog's controls per header.
    std::vector<fs::path> headers;
    for (const auto& entry : fs::directory_iterator(resources))
        if (entry.path().extension() == ".h") headers.push_back(entry.path());
    std::sort(headers.begin(), headers.end());
    for (const fs::path& header : headers) {
        std::vector<int> ids;
        for (const std::string& line : ReadLines(header)) {
            std::istringstream words(line);
            std::string name, equals;
            int id = 0;
            if (words >> name >> equals >> id && name.starts_with("IDC_") && equals == "=") ids.push_back(id);
        }
        if (ids.empty()) continue;
        for (const int id : ids) corpus.dialogOf.emplace(id, corpus.dialogs.size());
        corpus.dialogs.push_back(ids);
    }
    return corpus;
}

ScriptGenerator::ScriptGenerator(const ScriptCorpus& corpus, fs::path examples, fs::path scratch, std::uint64_t seed)
    : m_corpus(corpus), m_examples(std::move(examples)), m_scratch(std::move(scratch)), m_random(seed)
{
}

std::string ScriptGenerator::OddNumber()
{
    return kOddNumbers[Pick(std::size(kOddNumbers))];
}

std::string ScriptGenerator::Number()
{
    if (Chance(0.3)) return OddNumber();
    return std::to_string(static_cast<long long>(Pick(60000)) - 10000);
}

std::string ScriptGenerator::Coordinates()
{
    std::string text = Number() + "," + Number();
    if (Chance(0.3)) text += "," + Number();
    if (Chance(0.05)) text += ",1,2";
    return text;
}

std::string ScriptGenerator::Handle()
{
    return "#" + (Chance(0.9) ? std::to_string(1 + Pick(120)) : OddNumber());
}

std::string ScriptGenerator::SelectionWord()
{
    switch (Pick(7)) {
    case 0: return Handle();
    case 1: return "@" + Coordinates();
    case 2: return "box:" + Coordinates() + "," + Coordinates();
    case 3: return "layer:" + std::string(Chance(0.5) ? "建筑" : "窗");
    case 4: return Handle() + ":" + std::to_string(Pick(8)) + "," + std::to_string(Pick(8));
    case 5: return Handle() + "@" + Coordinates();
    default: return Chance(0.5) ? "all" : "last";
    }
}

std::string ScriptGenerator::DialogLine(const std::vector<int>& controls)
{
    const int id = !controls.empty() && Chance(0.9) ? controls[Pick(controls.size())] : 1000 + static_cast<int>(Pick(400));
    const std::string verb = kDialogVerbs[Pick(std::size(kDialogVerbs))];
    std::string line = verb + " " + std::to_string(id);
    if (verb == "set") line += " " + (Chance(0.5) ? OddNumber() : Number());
    if (verb == "check") line += " " + std::to_string(Pick(3));
    if (verb == "choose") line += " " + (Chance(0.8) ? std::to_string(Pick(8)) : OddNumber());
    if (verb == "spin") line += " " + (Chance(0.8) ? std::to_string(static_cast<int>(Pick(21)) - 10) : OddNumber());
    return line;
}

std::string ScriptGenerator::AnyAnswer(const std::vector<int>& controls)
{
    switch (Pick(8)) {
    case 0: return kAnswers[Pick(std::size(kAnswers))];
    case 1: return Coordinates();
    case 2: return Number();
    case 3: return "~" + Coordinates();
    case 4: return SelectionWord();
    case 5: return DialogLine(controls);
    case 6: return Chance(0.5) ? "ok" : "cancel";
    default: return m_corpus.moduleCommands.empty() ? "" : m_corpus.moduleCommands[Pick(m_corpus.moduleCommands.size())];
    }
}

std::string ScriptGenerator::FileIn(const char* extension)
{
    return (m_scratch / ("d" + std::to_string(Pick(3)) + extension)).string();
}

std::string ScriptGenerator::HostCommandLine()
{
    const auto points = [&](std::size_t most) {
        std::string text;
        for (std::size_t k = 1 + Pick(most); k-- > 0;) text += " " + Coordinates();
        return text;
    };
    switch (Pick(22)) {
    case 0: return "pline" + std::string(Chance(0.5) ? " closed" : "") + points(6) + (Chance(0.2) ? " b=" + Number() : "");
    case 1: return "arc" + points(3);
    case 2: return "circle " + Coordinates() + " " + Number();
    case 3: return "point " + Coordinates();
    case 4: return "text " + Coordinates() + " " + Number() + " 文字 " + OddNumber();
    case 5: return "extrude " + Number() + points(5);
    case 6: return "erase " + SelectionWord() + " " + Handle();
    case 7: return "move " + Handle() + " " + SelectionWord() + " " + Coordinates();
    case 8: return "rotate " + Handle() + " " + Coordinates() + " " + Number();
    case 9: return "list" + (Chance(0.5) ? " " + SelectionWord() : "");
    case 10: return "props " + Handle();
    case 11: return "setprop " + Handle() + " " + std::to_string(Pick(12)) + " " + (Chance(0.7) ? OddNumber() : Number());
    case 12: return "setvar " + std::string(Chance(0.5) ? "DRAWING_SCALE" : "ORV_BUILD_DIM") + " " + OddNumber();
    case 13: return "layer " + std::string(Chance(0.5) ? "建筑" : "轮廓");
    case 14: return "windows" + std::string(Chance(0.5) ? " " + Number() : "");
    case 15: return "orvroof " + Number() + " " + Number() + (Chance(0.3) ? " slope=" + OddNumber() : "") +
                    (Chance(0.3) ? " ha=" + OddNumber() : "") + points(6);
    case 16: return "multislope " + Number() + " " + Number() + "," + Number() + points(6);
    case 17: return std::string("analysisgroups ") + (Chance(0.5) ? "hide" : Chance(0.5) ? "compare" : "window");
    case 18: return "save " + FileIn(".q3d");
    case 19: return Chance(0.5) ? "export obj " + FileIn(".obj")
                                : "export svg " + FileIn(".svg") + (Chance(0.5) ? " plan " : " ") + OddNumber();
    case 20: return Chance(0.8) ? "open " + FileIn(".q3d") : "new";
    default: return "groups";
    }
}

std::string ScriptGenerator::Placed(const std::string& line)
{
    const std::string word = FirstWord(line);
    if (word == "save") return "save " + FileIn(".q3d");
    if (word == "open") return "open " + FileIn(".q3d");
    if (word == "export") return HostCommandLine();
    // The examples name their own files relative to the source folder.
    const std::string prefix = "examples/";
    if (const auto at = line.find(prefix); at != std::string::npos)
        return line.substr(0, at) + (m_examples / line.substr(at + prefix.size())).string();
    return line;
}

std::string ScriptGenerator::MutateLine(const std::string& line, const std::vector<int>& controls)
{
    // A number of the line (digits with their sign, points and exponent) replaced.
    std::vector<std::pair<std::size_t, std::size_t>> found;
    const auto at = [&](std::size_t i) { return i < line.size() ? line[i] : '\0'; };
    const auto digit = [&](std::size_t i) { return std::isdigit(static_cast<unsigned char>(at(i))) != 0; };
    const auto sign = [&](std::size_t i) { return at(i) == '-' || at(i) == '+'; };
    for (std::size_t i = 0; i < line.size();) {
        if (!digit(i) && !(at(i) == '.' && digit(i + 1))) {
            ++i;
            continue;
        }
        const std::size_t start = i > 0 && sign(i - 1) ? i - 1 : i;
        while (digit(i) || at(i) == '.') ++i;
        if ((at(i) == 'e' || at(i) == 'E') && (digit(i + 1) || (sign(i + 1) && digit(i + 2)))) {
            i += 2;
            while (digit(i)) ++i;
        }
        found.emplace_back(start, i - start);
    }
    const bool dialog = FirstWord(line) == "set" || FirstWord(line) == "choose" || FirstWord(line) == "spin";
    if (!found.empty() && Chance(0.7)) {
        // Skip a dialog line's control number, which the line needs to reach the control.
        const std::size_t first = dialog && found.size() > 1 ? 1 : 0;
        const auto [at, length] = found[first + Pick(found.size() - first)];
        return line.substr(0, at) + OddNumber() + line.substr(at + length);
    }
    return AnyAnswer(controls);
}

void ScriptGenerator::AddPiece(const std::vector<std::string>& piece, std::vector<std::string>& out)
{
    // The dialog the piece drives, known by a control it names.
    std::vector<int> controls;
    for (const std::string& line : piece) {
        std::istringstream words(line);
        std::string verb;
        int id = 0;
        if (!(words >> verb >> id)) continue;
        if (std::find(std::begin(kDialogVerbs), std::end(kDialogVerbs), verb) == std::end(kDialogVerbs)) continue;
        if (const auto it = m_corpus.dialogOf.find(id); it != m_corpus.dialogOf.end()) {
            controls = m_corpus.dialogs[it->second];
            break;
        }
    }
    const double rate = 0.02 + 0.25 * std::uniform_real_distribution<double>(0.0, 1.0)(m_random);
    const std::size_t kept = Chance(0.1) ? Pick(piece.size() + 1) : piece.size();
    for (std::size_t i = 0; i < kept; ++i) {
        std::string line = Placed(piece[i]);
        if (!Chance(rate)) {
            out.push_back(line);
            continue;
        }
        switch (Pick(6)) {
        case 0: break;                                            // dropped
        case 1: out.push_back(line), out.push_back(line); break;  // given twice
        case 2: out.push_back(AnyAnswer(controls)), out.push_back(line); break;
        case 3:
            if (i + 1 < kept) out.push_back(Placed(piece[++i]));
            out.push_back(line);
            break;
        default: out.push_back(MutateLine(line, controls)); break;
        }
    }
}

std::vector<std::string> ScriptGenerator::Next()
{
    std::vector<std::string> script;
    if (!m_corpus.sites.empty() && Chance(0.6)) {
        const auto& site = m_corpus.sites[Pick(m_corpus.sites.size())];
        for (const std::string& line : site) script.push_back(Chance(0.02) ? MutateLine(line, {}) : Placed(line));
    }
    for (std::size_t k = 3 + Pick(25); k-- > 0;) {
        if (Chance(0.25) || m_corpus.pieces.empty())
            script.push_back(HostCommandLine());
        else
            AddPiece(m_corpus.pieces[Pick(m_corpus.pieces.size())], script);
    }
    for (std::string& line : script) std::erase_if(line, [](char c) { return c == '\n' || c == '\r'; });
    return script;
}

}  // namespace fuzz
