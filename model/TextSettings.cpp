#include "TextSettings.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "AssertReport.h"
#include "Utf8Text.h"
#include "DbDatabase.h"
#include "WinApp.h"
#include "WorkingDrawing.h"

namespace {

constexpr std::array<const char*, 5> kHeightVariables = {"ORV_BUILD_DIM", "ORV_WIN_H_DIM", "ORV_WIN_V_DIM",
                                                         "ORV_PT_DIM", "ORV_OTHER_DIM"};
// Height of a kind outside the table.
constexpr double kOtherKindHeight = 3.5;
constexpr const char* kScaleVariable = "DRAWING_SCALE";
constexpr double kDefaultScale = 500.0;
// The host's shape font: always offered, and the default of every annotation.
constexpr const char* kShapeFont = "hztxt.shx";

// Heights used where a drawing has no variable; module-wide, overwritten by SetTextHeight.
std::array<double, 5> g_fallbackHeights = {5.0, 2.5, 1.0, 0.5, 3.5};

// Negative kinds compare as large unsigned values and fall outside the table too.
bool IsKnownKind(TEXT_UTILITY::TEXT_TYPE kind)
{
    return static_cast<unsigned>(kind) <= 4u;
}

}  // namespace

double GetTextHeight(TEXT_UTILITY::TEXT_TYPE kind)
{
    if (!IsKnownKind(kind))
        return kOtherKindHeight;
    const auto index = static_cast<std::size_t>(kind);
    double height = 0.0;
    if (dec::GetWorkingDatabase()->GetGlobalVar(kHeightVariables[index], height))
        return height;
    return g_fallbackHeights[index];
}

void SetTextHeight(TEXT_UTILITY::TEXT_TYPE kind, double height)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    const bool opened = !db->IsOpenForWrite();
    if (opened)
        db->OpenForWrite();
    if (IsKnownKind(kind)) {
        const auto index = static_cast<std::size_t>(kind);
        db->SetGlobalVar(kHeightVariables[index], height);
        g_fallbackHeights[index] = height;
    }
    if (opened)
        db->Close();
}

double GetScale()
{
    double dblScale = kDefaultScale;
    if (!dec::GetWorkingDatabase()->GetGlobalVar(kScaleVariable, dblScale))
        return kDefaultScale;
    // Reported, then used as it is: the caller sees the drawing's own value.
    ORV_ASSERT(dblScale >= 1 && dblScale <= 2e5 && "比例尺大小错误！", "OrvScaleText");
    return dblScale;
}

int IsHeightValid(double height)
{
    return (height >= 0.1 && height <= 200.0) ? 1 : 0;
}

void AutoResizeTextHeight(double& height, double scale, double length)
{
    const double ratio = (1.0 / height) * (500.0 / scale) * (length / 1000.0);
    if (ratio > 0.799)
        return;
    if (ratio > 0.499)
        height = height * 0.5;
    else if (ratio > 0.199)
        height = height / 3.0;
    else
        height = ratio * height;
}

void GetFontNameList(std::vector<CString>& names)
{
    names.clear();
    HDC dc = GetDC(nullptr);
    CFontNameEnum fonts;
    fonts.Enum(dc, GB2312_CHARSET, nullptr, TRUETYPE_FONTTYPE);
    ReleaseDC(nullptr, dc);
    for (CString name : fonts.FullNames()) {
        name.TrimLeft();
        // "@" marks the vertical-writing variant of a font.
        if (!name.IsEmpty() && name[0] == '@')
            continue;
        names.push_back(name);
    }
    names.emplace_back(kShapeFont);
    std::sort(names.begin(), names.end());
}

void GetFontRowValue(const CString& font, std::vector<CString>& list, prop_data& value)
{
    GetFontNameList(list);
    const auto found = std::find(list.begin(), list.end(), font);
    if (found != list.end())
        value.SetLong(static_cast<long>(found - list.begin()));
}

bool SetFontFromRow(long position, std::vector<CString>& list, CString& font)
{
    GetFontNameList(list);
    if (position < 0 || static_cast<std::size_t>(position) >= list.size())
        return false;
    font = list[static_cast<std::size_t>(position)];
    return true;
}

void AddFontChoices(std::vector<CString>& list, TPropertyComboBoxData& choices)
{
    GetFontNameList(list);
    for (const CString& name : list)
        choices.AddString(name);
}

bool AcceptTypedTextHeight(double height)
{
    if (IsHeightValid(height))
        return true;
    AfxMessageBox("请输入一个合理的字高值！", MB_ICONEXCLAMATION);
    return false;
}

void CFontNameEnum::Enum(HDC dc, BYTE charSet, const char* faceName, std::uint32_t typeMask)
{
    m_typeMask = typeMask;
    LOGFONTA font{};
    font.lfCharSet = charSet;
    if (faceName) {
        // The record holds 31 bytes of name: a longer one is cut on a character boundary.
        const std::string_view name(faceName);
        const std::size_t length = host::Utf8PrefixLength(name, LF_FACESIZE - 1);
        std::memcpy(font.lfFaceName, name.data(), length);
        font.lfFaceName[length] = '\0';
    }
    EnumFontFamiliesExA(dc, &font, &CFontNameEnum::EnumFontFamExProc, reinterpret_cast<LPARAM>(this), 0);
}

int CALLBACK CFontNameEnum::EnumFontFamExProc(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD fontType,
                                              LPARAM parameter)
{
    if (!parameter)
        return 0;
    // The enumeration hands over the logical font as the first member of its full record.
    return reinterpret_cast<CFontNameEnum*>(parameter)->OnEnumFont(reinterpret_cast<const ENUMLOGFONTEXA*>(font),
                                                                    metrics, fontType);
}

int CFontNameEnum::OnEnumFont(const ENUMLOGFONTEXA* font, const TEXTMETRICA*, DWORD fontType)
{
    if (font && (fontType & m_typeMask) != 0) {
        m_fullNames.emplace_back(font->elfFullName);
        m_faceNames.emplace_back(font->elfLogFont.lfFaceName);
    }
    return 1;
}
