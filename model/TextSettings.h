#pragma once
// Drawing-wide annotation settings: the text heights of the five text kinds and the drawing
// scale, kept as global variables of the working drawing, and the list of fonts an
// annotation may use. A text height is the height at scale 1; an annotation draws its text at
// text height × scale, in millimetres. The scale is the denominator of the drawing's scale
// (500 means 1:500).
#include <cstdint>
#include <vector>

#include "CString.h"
#include "FontList.h"
#include "PropertyPanel.h"

// The six settings exports have plain C names, as the analysis side looks them up.
#ifndef TEXT_SETTINGS_EXPORT
#define TEXT_SETTINGS_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace TEXT_UTILITY {

// The text kinds, each with its drawing variable and module fallback height.
enum TEXT_TYPE {
    BUILD_DIM = 0,  // "ORV_BUILD_DIM", 5.0: elevation and name labels of buildings
    WIN_H_DIM = 1,  // "ORV_WIN_H_DIM", 2.5: window labels, first text
    WIN_V_DIM = 2,  // "ORV_WIN_V_DIM", 1.0: window labels, second text
    PT_DIM = 3,     // "ORV_PT_DIM", 0.5: point labels
    OTHER_DIM = 4,  // "ORV_OTHER_DIM", 3.5: other labels
};

}  // namespace TEXT_UTILITY

// The kind's height: the drawing variable when the drawing has it (taken as it is), else the
// module fallback. A kind outside 0..4 gives 3.5.
TEXT_SETTINGS_EXPORT double GetTextHeight(TEXT_UTILITY::TEXT_TYPE kind);
// Writes the kind's height into the working drawing and into the module fallback, so a
// drawing opened later without the variable gets it too. The database is opened for the
// write when it is not open already. No range check: callers check with IsHeightValid.
TEXT_SETTINGS_EXPORT void SetTextHeight(TEXT_UTILITY::TEXT_TYPE kind, double height);
// "DRAWING_SCALE", or 500 when the drawing has none. A value outside 1..200000 is reported
// and returned all the same.
TEXT_SETTINGS_EXPORT double GetScale();
// 1 for 0.1 <= height <= 200, else 0.
TEXT_SETTINGS_EXPORT int IsHeightValid(double height);
// Shrinks a text height for a short length: with r = length / (2 × height × scale), keeps it
// for r > 0.799, halves it for r > 0.499, divides it by 3 for r > 0.199, else makes it r × height.
TEXT_SETTINGS_EXPORT void AutoResizeTextHeight(double& height, double scale, double length);
// The TrueType fonts of the Simplified Chinese character set (vertical-writing "@" fonts left
// out) and the host's "hztxt.shx", sorted.
TEXT_SETTINGS_EXPORT void GetFontNameList(std::vector<CString>& names);

// The annotations' property panels show a font as its position in the font list, read afresh
// into the object's own list each time.
// Sets value to the font's position; leaves it unset when the list lacks the font.
void GetFontRowValue(const CString& font, std::vector<CString>& list, prop_data& value);
// Takes the font at the position; false (font kept) for a position the list does not have.
bool SetFontFromRow(long position, std::vector<CString>& list, CString& font);
// Offers every font of the list as a choice of the row.
void AddFontChoices(std::vector<CString>& list, TPropertyComboBoxData& choices);
// IsHeightValid for a height typed in a panel: an invalid one is refused with a message.
bool AcceptTypedTextHeight(double height);

// Collects the fonts of one enumeration.
class CFontNameEnum {
public:
    CFontNameEnum() = default;

    // Enumerates the fonts of the character set (and face name, when given) on the device
    // context; keeps those whose type shares a bit with typeMask.
    void Enum(HDC dc, BYTE charSet, const char* faceName, std::uint32_t typeMask);
    static int CALLBACK EnumFontFamExProc(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD fontType,
                                          LPARAM parameter);
    // Keeps one font when its type matches the mask; 1 (go on) always.
    int OnEnumFont(const ENUMLOGFONTEXA* font, const TEXTMETRICA* metrics, DWORD fontType);

    const std::vector<CString>& FullNames() const { return m_fullNames; }
    const std::vector<CString>& FaceNames() const { return m_faceNames; }

private:
    std::uint32_t m_typeMask = 0;
    std::vector<CString> m_fullNames;
    std::vector<CString> m_faceNames;
};
