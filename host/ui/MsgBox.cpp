#include "MsgBox.h"

#include <array>
#include <span>
#include <string>

#include "CommandLine.h"
#include "EventLog.h"
#include "ScriptedUser.h"

namespace {

// A button of a box: the words a script line may press it with (the first is its name) and
// the answer it gives.
struct Button {
    std::array<const char*, 3> words;
    int answer;
};

// The buttons of a button set in the order the box shows them; none for a set the host does
// not know. Esc (*cancel*) presses Cancel, or Abort where there is no Cancel.
std::span<const Button> ButtonsOf(unsigned int buttons)
{
    static constexpr Button kOkCancel[] = {{{"ok"}, IDOK}, {{"cancel", "*cancel*"}, IDCANCEL}};
    static constexpr Button kAbortRetryIgnore[] = {
        {{"abort", "cancel", "*cancel*"}, IDABORT}, {{"retry"}, IDRETRY}, {{"ignore"}, IDIGNORE}};
    static constexpr Button kYesNoCancel[] = {
        {{"yes", "y"}, IDYES}, {{"no", "n"}, IDNO}, {{"cancel", "*cancel*"}, IDCANCEL}};
    static constexpr Button kYesNo[] = {{{"yes", "y"}, IDYES}, {{"no", "n"}, IDNO}};
    static constexpr Button kRetryCancel[] = {{{"retry"}, IDRETRY}, {{"cancel", "*cancel*"}, IDCANCEL}};
    switch (buttons) {
    case MB_OKCANCEL: return kOkCancel;
    case MB_ABORTRETRYIGNORE: return kAbortRetryIgnore;
    case MB_YESNOCANCEL: return kYesNoCancel;
    case MB_YESNO: return kYesNo;
    case MB_RETRYCANCEL: return kRetryCancel;
    default: return {};
    }
}

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
int AnswerOf(const std::string& word, std::span<const Button> buttons)
{
    for (const Button& button : buttons)
        for (const char* name : button.words)
            if (name && word == name) return button.answer;
    return 0;
}

// The names of the box's buttons for a refusal: "yes or no", "yes, no or cancel".
std::string Names(std::span<const Button> buttons)
{
    std::string text;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (i > 0) text += i + 1 == buttons.size() ? " or " : ", ";
        text += buttons[i].words[0];
    }
    return text;
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
    // A button set the host does not know takes no line: it is answered as if dismissed, rather
    // than refusing every line that follows.
    const std::span<const Button> known = ButtonsOf(buttons);
    if (known.empty()) return answered(EscapeAnswer(buttons));
    while (auto line = host::CommandLine::Instance().NextAnswer()) {
        if (const int answer = AnswerOf(Lower(line->text), known)) return answered(answer);
        host::ScriptedUser::Instance().Refuse(*line, "the message box takes " + Names(known) + ", not \"" + line->text + "\"");
    }
    return answered(EscapeAnswer(buttons));
}

int MessageBoxA(HWND /*window*/, const char* text, const char* caption, unsigned int style)
{
    return msg_box(text, caption, style);
}
