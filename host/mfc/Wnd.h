#pragma once
// CWnd: a window of the headless window system. A CWnd object is bound to a window record
// (its handle) while the window exists; the dialog engine creates the records of a dialog
// and its controls when the dialog runs and destroys them when it ends.
#include <memory>
#include <vector>

#include "CString.h"
#include "DialogTemplate.h"
#include "MessageMap.h"
#include "WinTypes.h"

class CDataExchange;
class CDialog;
class CWnd;

namespace host::mfc {

// What the window system keeps of one window.
struct WindowState {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    bool isDialog = false;
    unsigned style = kNoStyle;
    CString text;
    bool enabled = true;
    bool visible = true;
    int check = BST_UNCHECKED;
    std::vector<CString> items;  // combo and list boxes
    int selection = -1;          // combo and list boxes
    int limit = 0;               // edit and combo text, in characters; 0: none
    int buddy = 0;               // spin
    int rangeMin = 0, rangeMax = 100, position = 0;  // spin
    int bitmap = 0;              // picture
    int icon = 0;                // button
    CRect rect;
    CDialog* dialog = nullptr;   // the dialog the control belongs to, or the dialog itself
    CWnd* attached = nullptr;    // the object bound to the window by the program
    std::unique_ptr<CWnd> own;   // the object that stands for the window while none is bound

    WindowState();
    ~WindowState();
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;

    // The object the program sees for the window: the bound one, else the window's own.
    CWnd* Face() const;
};

// Turns the text of a combo or list item, or of an edit, into the text a field with the
// given character limit keeps (cut on a character boundary); a limit of 0 keeps all.
CString LimitText(const CString& text, int limit);

}  // namespace host::mfc

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object that stands for a window handle, or null.
    static CWnd* FromHandle(HWND window);

    // A top-level window of the host (such as its main frame), owned by this object.
    BOOL CreateHeadless(const char* caption);
    // A child window of the parent (such as a preview placed in a dialog), owned by this
    // object; the class name is not used. FALSE when the object has a window already.
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Ends the window this object made (Create, CreateHeadless).
    BOOL DestroyWindow();

    int GetDlgCtrlID() const;
    CWnd* GetDlgItem(int id) const;

    void SetWindowText(const char* text);
    void GetWindowText(CString& text) const;
    int GetWindowText(char* buffer, int maxCount) const;

    void SetDlgItemText(int id, const char* text);
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT IsDlgButtonChecked(int id) const;

    // The previous state: nonzero when the window was disabled before.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    // The previous state: nonzero when the window was visible before.
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetActiveWindow();
    void Invalidate(BOOL erase = TRUE);

    void GetWindowRect(CRect* rect) const;
    void ScreenToClient(CRect* rect) const;

    // Runs the data exchange: from the members to the controls (FALSE) or back with the
    // checks (TRUE). FALSE when a check failed: its message has been shown and the control
    // has the focus. Control notifications are not dispatched during the exchange.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL PreTranslateMessage(MSG* message);

    // The host's message box over this window; a null caption gives the application's name.
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
    // The same under the name the multibyte build gives it; with an owner window it is the
    // Windows box, so that a call from inside a window's member still reaches it.
    int MessageBoxA(const char* text, const char* caption = nullptr, UINT type = MB_OK) { return MessageBox(text, caption, type); }
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) { return ::MessageBoxA(owner, text, caption, type); }
    // Headless: messages sent to a window are recorded and answered with 0.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The window record; null while the object is not bound to a window.
    host::mfc::WindowState* State() const { return m_state; }
    // Binds or unbinds the object (the engine and DDX_Control use it).
    void Attach(host::mfc::WindowState* state);
    void Detach();

    static const host::mfc::MessageMap* GetThisMessageMap();
    const host::mfc::MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

protected:
    // The framework's own handling of these messages (nothing visible headless).
    afx_msg void OnPaint() {}
    afx_msg void OnVScroll(UINT /*code*/, UINT /*position*/, CScrollBar* /*bar*/) {}
    afx_msg void OnShowWindow(BOOL /*show*/, UINT /*status*/) {}

    host::mfc::WindowState* ControlState(int id) const;

private:
    host::mfc::WindowState* m_state = nullptr;
    std::unique_ptr<host::mfc::WindowState> m_ownWindow;  // CreateHeadless
};

// The window that is made active.
HWND SetActiveWindow(HWND window);

// Headless the pointer rests where it was put (the origin at first). The window under it is
// the child window (CWnd::Create) made last whose rectangle holds it, or none; a message sent
// to a window by its handle is recorded (with the window's id when it has one) and answered
// with 0.
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
HWND WindowFromPoint(POINT point);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
