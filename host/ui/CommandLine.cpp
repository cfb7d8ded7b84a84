#include "CommandLine.h"

#include <exception>
#include <string_view>

#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "TextParse.h"
#include "WorkingDrawing.h"

namespace dec {

void PrintPrompt(const char* text)
{
    if (!text) return;
    std::string_view rest(text);
    while (true) {
        const std::size_t newline = rest.find('\n');
        host::EventLog::Instance().Show(rest.substr(0, newline));
        host::CommandLine::Instance().NotePrinted(rest.substr(0, newline));
        if (newline == std::string_view::npos) break;
        rest.remove_prefix(newline + 1);
    }
}

void ClearCmdLinePrompt()
{
    host::EventLog::Instance().Call("ClearCmdLinePrompt");
}

}  // namespace dec

namespace host {

CommandLine& CommandLine::Instance()
{
    static CommandLine line;
    return line;
}

bool CommandLine::RunAll()
{
    ScriptedUser& user = ScriptedUser::Instance();
    while (auto line = user.Next()) {
        if (line->text.empty()) continue;  // Enter at an empty command line does nothing
        RunLine(*line);
    }
    return !user.Failed();
}

bool CommandLine::RunLine(const ScriptLine& line)
{
    ScriptedUser& user = ScriptedUser::Instance();
    std::vector<std::string> words = SplitBlanks(line.text);
    if (words.empty()) return true;
    const Command* command = CommandTable::Instance().Find(words.front());
    if (!command) {
        user.Refuse(line, "unknown command \"" + words.front() + "\" (help lists the commands)");
        return false;
    }
    if (command->handler && words.size() > 1) {
        user.Refuse(line, "the command \"" + command->name + "\" takes its input from the following lines, "
                          "not on its own line");
        return false;
    }
    const int refusalsBefore = user.Refusals();
    const Command chosen = *command;  // the handler may register commands and move the table
    m_current = chosen.name;
    m_ranOutReported = false;
    m_promptShown = false;
    EventLog::Instance().Call("command " + chosen.name);
    const std::string who = "the command \"" + chosen.name + "\" ";
    try {
        if (chosen.handler)
            chosen.handler();
        else
            chosen.hostHandler(line, {words.begin() + 1, words.end()});
    } catch (const std::exception& e) {
        user.Refuse(line, who + "stopped: " + e.what());
    } catch (...) {
        user.Refuse(line, who + "stopped by an exception");
    }
    // A command must close every write bracket it opened; the drawing is closed for it.
    try {
        if (!dec::GetWorkingDatabase()->CheckBracketsBalanced(chosen.name.c_str()))
            user.Refuse(line, who + "left the drawing open for write");
    } catch (const std::exception& e) {
        user.Refuse(line, e.what());
    }
    m_current.clear();
    return user.Refusals() == refusalsBefore;
}

void CommandLine::NotePrinted(std::string_view line)
{
    // A prompt ends as the module's prompts do ("左窗台点:", "<24.00>："); a message ("提示：…",
    // a count) does not, and a question asked after it waits without a prompt.
    const std::size_t last = line.find_last_not_of(' ');
    const std::string_view trimmed = line.substr(0, last == std::string_view::npos ? 0 : last + 1);
    m_promptShown = false;
    for (const std::string_view end : {":", "：", ">", "?", "？"})
        m_promptShown = m_promptShown || trimmed.ends_with(end);
}

void CommandLine::ShowHighlight()
{
    std::vector<std::uint64_t> handles;
    for (const decObjectId& id : dec::GetWorkingDatabase()->GetSysSelectSet().Ids()) handles.push_back(id.Handle());
    if (handles == m_shownHighlight) return;
    m_shownHighlight = handles;
    if (handles.empty()) return;
    std::string text = "highlighted:";
    for (const std::uint64_t handle : handles) text += " #" + std::to_string(handle);
    EventLog::Instance().Show(text);
}

std::optional<ScriptLine> CommandLine::NextAnswer(const char* placeholder)
{
    ShowHighlight();
    if (placeholder) EventLog::Instance().Show(placeholder);
    ScriptedUser& user = ScriptedUser::Instance();
    if (auto line = user.Next()) {
        m_ranOutReported = false;
        return line;
    }
    if (!m_ranOutReported) {
        m_ranOutReported = true;
        const std::string where = user.LastLine() ? user.LastLine()->source + ":" + std::to_string(user.LastLine()->number) + ": "
                                                  : std::string();
        EventLog::Instance().Show(where + "the lines ran out while " +
                                  (m_current.empty() ? std::string("a question") : "\"" + m_current + "\"") +
                                  " was waiting; answered Esc");
    }
    return std::nullopt;
}

bool RunScript(std::string_view text, std::string source)
{
    const int refusalsBefore = ScriptedUser::Instance().Refusals();
    QueueAnswers(text, std::move(source));
    CommandLine::Instance().RunAll();
    return ScriptedUser::Instance().Refusals() == refusalsBefore;
}

void QueueAnswers(std::string_view text, std::string source)
{
    ScriptedUser::Instance().Feed(text, std::move(source));
}

}  // namespace host
