#include "MsgBox.h"

#include <string>

#include "CommandLine.h"
#include "EventLog.h"
#include "ScriptedUser.h"

namespace {

// The answer a box takes when the user presses Esc or the lines have run out.
int EscapeAnswer(unsigned int buttons)
{
    switch (buttons) {
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;
    }
}

// The answer a line gives, or 0 when the line names no button of the box.
int AnswerOf(const std::string& word, unsigned int buttons)
{
    const bool yesNo = buttons == MB_YESNO || buttons == MB_YESNOCANCEL;
    const bool cancel = buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL || buttons == MB_RETRYCANCEL;
    if (yesNo && (word == "yes" || word == "y")) return IDYES;
    if (yesNo && (word == "no" || word == "n")) return IDNO;
    if (buttons == MB_OKCANCEL && word == "ok") return IDOK;
    if ((cancel || buttons == MB_ABORTRETRYIGNORE) && (word == "cancel" || word == "*cancel*"))
        return cancel ? IDCANCEL : IDABORT;
    if (buttons == MB_ABORTRETRYIGNORE && word == "abort") return IDABORT;
    if ((buttons == MB_ABORTRETRYIGNORE || buttons == MB_RETRYCANCEL) && word == "retry") return IDRETRY;
    if (buttons == MB_ABORTRETRYIGNORE && word == "ignore") return IDIGNORE;
    return 0;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

int msg_box(const char* text, const char* caption, unsigned int style)
{
    host::EventLog& log = host::EventLog::Instance();
    const std::string call = "msg_box style=" + std::to_string(style);
    log.Show(std::string("[") + (caption ? caption : "") + "] " + (text ? text : ""));

    const unsigned int buttons = style & MB_TYPEMASK;
    const auto answered = [&](int answer) {
        log.Call(call + " -> " + std::to_string(answer));
        return answer;
    };
    if (buttons == MB_OK) return answered(IDOK);
    while (auto line = host::CommandLine::Instance().NextAnswer()) {
        if (const int answer = AnswerOf(Lower(line->text), buttons)) return answered(answer);
        host::ScriptedUser::Instance().Refuse(*line, "the message box takes yes, no, ok or cancel, not \"" + line->text + "\"");
    }
    return answered(EscapeAnswer(buttons));
}

int MessageBoxA(HWND /*window*/, const char* text, const char* caption, unsigned int style)
{
    return msg_box(text, caption, style);
}
