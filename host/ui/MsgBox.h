#pragma once
// The host's message box. Headless: the box is written to the transcript as
// "[CAPTION] TEXT"; a box with only an OK button needs no answer and returns IDOK.

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

int msg_box(const char* text, const char* caption = "提示", unsigned int style = 0);
