#include "Controls.h"

#include <algorithm>
#include <cstring>

#include "Dialog.h"
#include "WinApp.h"
#include "WindowOps.h"

using host::mfc::WindowState;

namespace {

bool ValidIndex(const WindowState* w, int index)
{
    return w && index >= 0 && index < static_cast<int>(w->items.size());
}

int Count(const WindowState* w, int error)
{
    return w ? static_cast<int>(w->items.size()) : error;
}

int Select(WindowState* w, int index, int error)
{
    if (!w) return error;
    const int result = host::mfc::SelectItem(*w, index);
    return result < 0 ? error : result;
}

int Delete(WindowState* w, UINT index, int error)
{
    if (!ValidIndex(w, static_cast<int>(index))) return error;
    w->items.erase(w->items.begin() + static_cast<std::ptrdiff_t>(index));
    if (w->selection == static_cast<int>(index))
        w->selection = -1;
    else if (w->selection > static_cast<int>(index))
        --w->selection;
    return static_cast<int>(w->items.size());
}

void Reset(WindowState* w)
{
    if (!w) return;
    w->items.clear();
    w->selection = -1;
}

// Copies item index into buffer (which must hold the item and its NUL, as the control
// requires); the length, or error.
int CopyItem(const WindowState* w, int index, char* buffer, int error)
{
    if (!ValidIndex(w, index) || !buffer) return error;
    const CString& item = w->items[static_cast<std::size_t>(index)];
    std::memcpy(buffer, item.GetString(), static_cast<std::size_t>(item.GetLength()) + 1);
    return item.GetLength();
}

}  // namespace

HBITMAP CStatic::SetBitmap(HBITMAP bitmap)
{
    WindowState* w = State();
    if (!w) return nullptr;
    const auto before = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(w->bitmap));
    w->bitmap = ResourceIdOf(bitmap);
    host::mfc::RecordChange("SetBitmap", *w, w->bitmap);
    return before;
}

HBITMAP CStatic::GetBitmap() const
{
    return State() ? reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(State()->bitmap)) : nullptr;
}

void CButton::SetCheck(int check)
{
    if (State()) State()->check = check;
}

HICON CButton::SetIcon(HICON icon)
{
    WindowState* w = State();
    if (!w) return nullptr;
    const auto before = reinterpret_cast<HICON>(static_cast<std::intptr_t>(w->icon));
    w->icon = ResourceIdOf(icon);
    host::mfc::RecordChange("SetIcon", *w, w->icon);
    return before;
}

static_assert(CB_ERR == LB_ERR, "combo and list boxes share their error value");

int CItemListWnd::GetCount() const { return Count(State(), CB_ERR); }
int CItemListWnd::GetCurSel() const { return State() && State()->selection >= 0 ? State()->selection : CB_ERR; }
int CItemListWnd::SetCurSel(int index) { return Select(State(), index, CB_ERR); }
int CItemListWnd::AddString(const char* text) { return State() && text ? host::mfc::AddItem(*State(), text) : CB_ERR; }
int CItemListWnd::DeleteString(UINT index) { return Delete(State(), index, CB_ERR); }
void CItemListWnd::ResetContent() { Reset(State()); }
int CItemListWnd::CopyItem(int index, char* buffer) const { return ::CopyItem(State(), index, buffer, CB_ERR); }

void CItemListWnd::ItemText(int index, CString& text) const
{
    text = ValidIndex(State(), index) ? State()->items[static_cast<std::size_t>(index)] : CString();
}

int CItemListWnd::ItemLength(int index) const
{
    return ValidIndex(State(), index) ? State()->items[static_cast<std::size_t>(index)].GetLength() : CB_ERR;
}

int CItemListWnd::FindString(int startAfter, const char* prefix) const
{
    return State() ? host::mfc::FindItem(*State(), startAfter, prefix, false) : CB_ERR;
}

BOOL CComboBox::LimitText(int maxChars)
{
    if (!State()) return FALSE;
    State()->limit = std::max(maxChars, 0);
    return TRUE;
}

void CSpinButtonCtrl::SetRange(short lower, short upper)
{
    SetRange32(lower, upper);
}

void CSpinButtonCtrl::SetRange32(int lower, int upper)
{
    if (!State()) return;
    State()->rangeMin = lower;
    State()->rangeMax = upper;
}

int CSpinButtonCtrl::SetPos(int position)
{
    WindowState* w = State();
    if (!w) return 0;
    const int before = w->position;
    const int lo = std::min(w->rangeMin, w->rangeMax), hi = std::max(w->rangeMin, w->rangeMax);
    w->position = std::clamp(position, lo, hi);
    if (CWnd* buddy = GetBuddy()) {
        CString text;
        text.Format("%d", w->position);
        buddy->SetWindowText(text);
    }
    return before;
}

int CSpinButtonCtrl::GetPos() const
{
    const WindowState* w = State();
    if (!w) return 0;
    // A spin that sets its buddy's number reads its position back from the buddy.
    long long shown = 0;
    const CWnd* buddy = GetBuddy();
    if (buddy && host::mfc::ParseInteger(host::mfc::TextOf(*buddy->State()), true, shown)) return static_cast<int>(shown);
    return w->position;
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    const WindowState* w = State();
    if (!w || !w->buddy || !w->dialog) return nullptr;
    WindowState* buddy = w->dialog->FindControl(w->buddy);
    return buddy ? buddy->Face() : nullptr;
}
