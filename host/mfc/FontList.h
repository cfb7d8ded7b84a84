#pragma once
// The font list behind EnumFontFamiliesExA. The fonts come from a source that tests can set;
// by default they are the machine's fonts that support Simplified Chinese, found through
// fontconfig when its library is installed, else none.
#include <optional>
#include <string>
#include <vector>

#include "WinTypes.h"

constexpr int LF_FACESIZE = 32;
constexpr int LF_FULLFACESIZE = 64;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE GB2312_CHARSET = 134;
constexpr DWORD RASTER_FONTTYPE = 0x1;
constexpr DWORD DEVICE_FONTTYPE = 0x2;
constexpr DWORD TRUETYPE_FONTTYPE = 0x4;

struct LOGFONTA {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

// What the enumeration hands to its callback as the logical font.
struct ENUMLOGFONTEXA {
    LOGFONTA elfLogFont;
    char elfFullName[LF_FULLFACESIZE] = {};
    char elfStyle[LF_FACESIZE] = {};
    char elfScript[LF_FACESIZE] = {};
};

struct TEXTMETRICA {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmAveCharWidth = 0;
    BYTE tmCharSet = 0;
};

using FONTENUMPROCA = int(CALLBACK*)(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);

// The screen's device context (there is one; the window is ignored).
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

// Calls proc for each font family of the font's character set (DEFAULT_CHARSET: all) and, when
// the face name is not empty, of that name, until proc returns 0. The logical font passed is an
// ENUMLOGFONTEXA. Gives the last value proc returned (1 when there was no font).
int EnumFontFamiliesExA(HDC dc, LOGFONTA* font, FONTENUMPROCA proc, LPARAM parameter, DWORD flags);

namespace host::mfc {

struct FontEntry {
    std::string fullName;
    std::string faceName;
    DWORD type = TRUETYPE_FONTTYPE;
    BYTE charSet = GB2312_CHARSET;
};

// Replaces the machine's fonts by the given list; nullopt goes back to the machine's fonts.
void SetFontSource(std::optional<std::vector<FontEntry>> fonts);
// The fonts the enumeration offers now. The machine's fonts are read once per process (a
// listing asks for them once per label) and kept until RefreshFonts.
const std::vector<FontEntry>& AvailableFonts();
// Reads the machine's fonts again at the next AvailableFonts (fonts installed meanwhile).
void RefreshFonts();

}  // namespace host::mfc
