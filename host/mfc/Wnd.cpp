#include "Wnd.h"

#include <string>

#include "Controls.h"
#include "DataExchange.h"
#include "Dialog.h"
#include "EventLog.h"
#include "Utf8Text.h"
#include "WindowOps.h"
#include "WinApp.h"

namespace host::mfc {

namespace {

WindowState* g_focus = nullptr;
POINT g_cursor{0, 0};
// The child windows made by CWnd::Create that exist, in the order they were made.
std::vector<WindowState*> g_childWindows;

std::unique_ptr<CWnd> MakeFace(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Static:
    case ControlKind::Picture: return std::make_unique<CStatic>();
    case ControlKind::Edit: return std::make_unique<CEdit>();
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::Radio: return std::make_unique<CButton>();
    case ControlKind::ComboBox: return std::make_unique<CComboBox>();
    case ControlKind::ListBox: return std::make_unique<CListBox>();
    case ControlKind::Spin: return std::make_unique<CSpinButtonCtrl>();
    }
    return std::make_unique<CWnd>();
}

}  // namespace

WindowState::WindowState() = default;

WindowState::~WindowState()
{
    if (g_focus == this) g_focus = nullptr;
    std::erase(g_childWindows, this);
    if (attached) attached->Detach();
    if (own) own->Detach();
}

CWnd* WindowState::Face() const
{
    return attached ? attached : own.get();
}

std::unique_ptr<WindowState> MakeWindow(CDialog* dialog, const ControlTemplate* control)
{
    auto w = std::make_unique<WindowState>();
    w->dialog = dialog;
    if (control) {
        w->id = control->id;
        w->kind = control->kind;
        w->style = control->style;
        w->text = CString(control->text);
        w->enabled = !(control->style & kDisabled);
        w->visible = !(control->style & kHidden);
        w->limit = control->limit;
        w->buddy = control->buddy;
        w->rangeMin = control->rangeMin;
        w->rangeMax = control->rangeMax;
        w->position = control->rangeMin;
        w->bitmap = control->bitmap;
        w->rect = CRect(control->x, control->y, control->x + control->width, control->y + control->height);
        for (const std::string& item : control->items) AddItem(*w, CString(item));
        w->own = MakeFace(control->kind);
    } else {
        w->isDialog = true;
        w->own = std::make_unique<CWnd>();
    }
    w->own->Attach(w.get());
    return w;
}

WindowState*& FocusedWindow()
{
    return g_focus;
}

POINT& CursorPosition()
{
    return g_cursor;
}

std::vector<WindowState*>& ChildWindows()
{
    return g_childWindows;
}

CString LimitText(const CString& text, int limit)
{
    if (limit <= 0) return text;
    // The limit counts characters; find the byte length of the first `limit` of them.
    const std::string& s = text.str();
    std::size_t bytes = 0;
    for (int n = 0; n < limit && bytes < s.size(); ++n) {
        ++bytes;
        while (bytes < s.size() && (static_cast<unsigned char>(s[bytes]) & 0xC0) == 0x80) ++bytes;
    }
    return CString(s.substr(0, bytes));
}

}  // namespace host::mfc

using host::mfc::WindowState;

CWnd::~CWnd()
{
    Detach();
}

void CWnd::Attach(WindowState* state)
{
    m_state = state;
    m_hWnd = reinterpret_cast<HWND>(state);
    if (state && state->own.get() != this) state->attached = this;
}

void CWnd::Detach()
{
    if (m_state && m_state->attached == this) m_state->attached = nullptr;
    m_state = nullptr;
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND window)
{
    return window ? reinterpret_cast<WindowState*>(window)->Face() : nullptr;
}

BOOL CWnd::CreateHeadless(const char* caption)
{
    if (m_state) return FALSE;
    m_ownWindow = std::make_unique<WindowState>();
    m_ownWindow->isDialog = true;
    m_ownWindow->text = caption;
    Attach(m_ownWindow.get());
    return TRUE;
}

BOOL CWnd::Create(const char* /*className*/, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id)
{
    if (m_state) return FALSE;
    m_ownWindow = std::make_unique<WindowState>();
    m_ownWindow->id = static_cast<int>(id);
    m_ownWindow->text = windowName;
    m_ownWindow->visible = (style & WS_VISIBLE) != 0;
    m_ownWindow->rect = CRect(rect.left, rect.top, rect.right, rect.bottom);
    m_ownWindow->dialog = dynamic_cast<CDialog*>(parent);
    Attach(m_ownWindow.get());
    host::mfc::ChildWindows().push_back(m_ownWindow.get());
    host::mfc::RecordChange("Create", *m_ownWindow, static_cast<int>(id));
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_ownWindow) return FALSE;
    Detach();
    m_ownWindow.reset();
    return TRUE;
}

WindowState* CWnd::ControlState(int id) const
{
    const auto* dialog = dynamic_cast<const CDialog*>(this);
    return dialog ? dialog->FindControl(id) : nullptr;
}

int CWnd::GetDlgCtrlID() const
{
    return m_state ? m_state->id : 0;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    WindowState* w = ControlState(id);
    return w ? w->Face() : nullptr;
}

void CWnd::SetWindowText(const char* text)
{
    if (m_state) host::mfc::SetText(*m_state, CString(text));
}

void CWnd::GetWindowText(CString& text) const
{
    text = m_state ? host::mfc::TextOf(*m_state) : CString();
}

int CWnd::GetWindowText(char* buffer, int maxCount) const
{
    if (!buffer || maxCount <= 0) return 0;
    CString text;
    GetWindowText(text);
    zo_strncpy(buffer, text, maxCount - 1);
    return static_cast<int>(std::char_traits<char>::length(buffer));
}

void CWnd::SetDlgItemText(int id, const char* text)
{
    if (CWnd* item = GetDlgItem(id)) item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    text.Empty();
    if (const CWnd* item = GetDlgItem(id)) item->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned)
{
    CString text;
    if (isSigned)
        text.Format("%d", static_cast<int>(value));
    else
        text.Format("%u", value);
    SetDlgItemText(id, text);
}

UINT CWnd::IsDlgButtonChecked(int id) const
{
    const WindowState* w = ControlState(id);
    return w ? static_cast<UINT>(w->check) : 0;
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!m_state) return FALSE;
    const BOOL wasDisabled = m_state->enabled ? FALSE : TRUE;
    m_state->enabled = enable != FALSE;
    host::mfc::RecordChange("EnableWindow", *m_state, m_state->enabled ? 1 : 0);
    if (!m_state->enabled && host::mfc::FocusedWindow() == m_state) host::mfc::FocusedWindow() = nullptr;
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_state && m_state->enabled ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int command)
{
    if (!m_state) return FALSE;
    const BOOL wasVisible = m_state->visible ? TRUE : FALSE;
    const bool show = command != SW_HIDE;
    m_state->visible = show;
    host::mfc::RecordChange("ShowWindow", *m_state, show ? 1 : 0);
    if (m_state->isDialog && m_state->dialog && m_state->dialog->IsRunning()) {
        if (show != (wasVisible != FALSE)) m_state->dialog->SendShow(show ? TRUE : FALSE);
        if (show) m_state->dialog->RequestPaint();
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_state && m_state->visible ? TRUE : FALSE;
}

CWnd* CWnd::SetFocus()
{
    WindowState* before = host::mfc::FocusedWindow();
    if (m_state) {
        host::mfc::FocusedWindow() = m_state;
        host::mfc::RecordChange("SetFocus", *m_state, 1);
    }
    return before ? before->Face() : nullptr;
}

CWnd* CWnd::GetFocus()
{
    WindowState* w = host::mfc::FocusedWindow();
    return w ? w->Face() : nullptr;
}

CWnd* CWnd::SetActiveWindow()
{
    if (m_state) host::mfc::RecordChange("SetActiveWindow", *m_state, 1);
    return nullptr;
}

HWND SetActiveWindow(HWND window)
{
    if (CWnd* w = CWnd::FromHandle(window)) w->SetActiveWindow();
    return nullptr;
}

BOOL GetCursorPos(POINT* point)
{
    if (!point) return FALSE;
    *point = host::mfc::CursorPosition();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    host::mfc::CursorPosition() = POINT{x, y};
    return TRUE;
}

HWND WindowFromPoint(POINT point)
{
    const std::vector<WindowState*>& windows = host::mfc::ChildWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        const CRect& r = (*it)->rect;
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return reinterpret_cast<HWND>(*it);
    }
    return nullptr;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* target = CWnd::FromHandle(window);
    if (!target) {
        host::EventLog::Instance().Call("SendMessage (no window) " + std::to_string(message));
        return 0;
    }
    return target->SendMessage(message, wParam, lParam);
}

void CWnd::Invalidate(BOOL /*erase*/)
{
    if (m_state && m_state->dialog) m_state->dialog->RequestPaint();
}

void CWnd::GetWindowRect(CRect* rect) const
{
    if (rect) *rect = m_state ? m_state->rect : CRect();
}

// Headless, a dialog sits at the origin of the screen: screen and client coordinates agree.
void CWnd::ScreenToClient(CRect* /*rect*/) const {}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    auto* dialog = dynamic_cast<CDialog*>(this);
    if (!m_state || !dialog) return FALSE;
    CDataExchange dx(this, saveAndValidate);
    const bool wasLocked = dialog->LockNotifications(true);
    BOOL ok = TRUE;
    try {
        DoDataExchange(&dx);
    } catch (const host::mfc::DataExchangeFailure&) {
        ok = FALSE;
    }
    dialog->LockNotifications(wasLocked);
    return ok;
}

void CWnd::DoDataExchange(CDataExchange* /*dx*/) {}

BOOL CWnd::PreTranslateMessage(MSG* /*message*/)
{
    return FALSE;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const int id = m_state ? m_state->id : 0;
    host::EventLog::Instance().Call("SendMessage " + std::to_string(message) +
                                    (id > 0 ? " to " + std::to_string(id) : std::string()));
    return 0;
}

const host::mfc::MessageMap* CWnd::GetThisMessageMap()
{
    static const host::mfc::MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const host::mfc::MessageMap map = {&CCmdTarget::GetThisMessageMap, entries};
    return &map;
}
