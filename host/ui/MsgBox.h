#pragma once
// Message boxes. Headless: a box is written to the transcript as "[CAPTION] TEXT". A box with
// only an OK button needs no answer; a box with more buttons takes the next script line that
// names one of its own buttons ("yes" or "y", "no" or "n", "ok", "cancel", "abort", "retry",
// "ignore"; "*cancel*" is Esc: Cancel, or Abort) as the user's answer, and refuses a line that
// does not, naming its own buttons. Esc, or the end of the lines, answers No, Abort or Cancel.
// A box of a button set the host does not know takes no line and is answered Cancel.

// Button sets and icons of the style word.
constexpr unsigned int MB_OK = 0x0;
constexpr unsigned int MB_OKCANCEL = 0x1;
constexpr unsigned int MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned int MB_YESNOCANCEL = 0x3;
constexpr unsigned int MB_YESNO = 0x4;
constexpr unsigned int MB_RETRYCANCEL = 0x5;
constexpr unsigned int MB_TYPEMASK = 0xF;
constexpr unsigned int MB_ICONHAND = 0x10;
constexpr unsigned int MB_ICONERROR = MB_ICONHAND;
constexpr unsigned int MB_ICONQUESTION = 0x20;
constexpr unsigned int MB_ICONEXCLAMATION = 0x30;
constexpr unsigned int MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned int MB_ICONINFORMATION = 0x40;
constexpr unsigned int MB_ICONASTERISK = MB_ICONINFORMATION;
constexpr unsigned int MB_TASKMODAL = 0x2000;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

using HWND = struct HWND__*;

// The host's message box: the text under the caption, with the buttons of the style.
int msg_box(const char* text, const char* caption = "提示", unsigned int style = MB_OK);

// The Windows message box; the window is ignored.
int MessageBoxA(HWND window, const char* text, const char* caption, unsigned int style);
