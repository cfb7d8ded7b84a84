#include "WindowOps.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "Dialog.h"
#include "EventLog.h"

namespace host::mfc {

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive (ASCII) order, then byte order: the order of a sorted box.
int CompareItems(const CString& a, const CString& b)
{
    const int folded = a.CompareNoCase(b);
    return folded != 0 ? folded : a.Compare(b);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
    return true;
}

bool OnlyBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t') ++p;
    return *p == '\0';
}

}  // namespace

void SetText(WindowState& window, const CString& text)
{
    if (window.kind == ControlKind::ComboBox && !window.isDialog && (window.style & kDropList)) {
        window.selection = FindItem(window, -1, text, true);
        return;
    }
    window.text = text;
    if (window.kind == ControlKind::Edit && !window.isDialog && window.dialog)
        window.dialog->Notify(window.id, EN_CHANGE);
}

CString TextOf(const WindowState& window)
{
    if (window.kind == ControlKind::ComboBox && !window.isDialog && (window.style & kDropList)) {
        const bool selected = window.selection >= 0 && window.selection < static_cast<int>(window.items.size());
        return selected ? window.items[static_cast<std::size_t>(window.selection)] : CString();
    }
    return window.text;
}

int AddItem(WindowState& box, const CString& text)
{
    std::size_t at = box.items.size();
    if (box.style & kSorted) {
        at = 0;
        while (at < box.items.size() && CompareItems(box.items[at], text) <= 0) ++at;
    }
    box.items.insert(box.items.begin() + static_cast<std::ptrdiff_t>(at), text);
    if (box.selection >= static_cast<int>(at)) ++box.selection;
    return static_cast<int>(at);
}

int SelectItem(WindowState& box, int index)
{
    const bool isCombo = box.kind == ControlKind::ComboBox;
    if (index < 0 || index >= static_cast<int>(box.items.size())) {
        box.selection = -1;
        if (isCombo) box.text.Empty();
        return -1;
    }
    box.selection = index;
    if (isCombo) box.text = box.items[static_cast<std::size_t>(index)];
    return index;
}

int FindItem(const WindowState& box, int startAfter, const char* text, bool exact)
{
    const int count = static_cast<int>(box.items.size());
    if (count == 0 || !text) return -1;
    const int first = (startAfter < -1 || startAfter >= count) ? 0 : startAfter + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (first + k) % count;
        const CString& item = box.items[static_cast<std::size_t>(i)];
        if (exact ? item.CompareNoCase(text) == 0 : StartsWithNoCase(item.str(), text)) return i;
    }
    return -1;
}

void RecordChange(const char* what, const WindowState& window, int value)
{
    std::string text = what;
    if (window.dialog && !window.isDialog)
        text += " dialog " + std::to_string(window.dialog->TemplateId()) + " control " + std::to_string(window.id);
    else if (window.dialog)
        text += " dialog " + std::to_string(window.dialog->TemplateId());
    else
        text += " window \"" + window.text.str() + "\"";
    EventLog::Instance().Call(text + " " + std::to_string(value));
}

bool ParseInteger(const CString& text, bool isSigned, long long& value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0') return false;
    if (!isSigned && *p == '-') return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE || !OnlyBlanks(end)) return false;
    if (isSigned ? (v < INT_MIN || v > INT_MAX) : (v < 0 || v > static_cast<long long>(UINT_MAX))) return false;
    value = v;
    return true;
}

bool ParseReal(const CString& text, double& value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(p, &end);
    if (end == p || !OnlyBlanks(end) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

}  // namespace host::mfc
