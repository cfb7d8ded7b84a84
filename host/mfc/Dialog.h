#pragma once
// CDialog: a modal dialog run headless from its template, answered by the scripted user.
//
// While a modal dialog is open it takes the script lines one by one until it closes:
//   set ID TEXT      type TEXT (the rest of the line, may be empty) into edit ID or into the
//                    field of drop-down combo ID, replacing what was there; typing stops at the
//                    field's limit, and a digits-only edit refuses other text. One change
//                    notification for the whole text: EN_CHANGE, or CBN_EDITCHANGE for a combo
//   check ID 0|1     set check box ID; a change is a click: BN_CLICKED
//   radio ID         click radio button ID: it is checked, the others of its group cleared;
//                    BN_CLICKED (also when it was checked already)
//   choose ID INDEX  select item INDEX (0-based) of list box ID (LBN_SELCHANGE when the box is
//                    notifying) or combo box ID (CBN_SELCHANGE, sent before a drop-down field
//                    shows the item's text)
//   click ID         click button ID (BN_CLICKED); a check box toggles, a radio as `radio`
//   leave ID         move the focus out of control ID: EN_KILLFOCUS, CBN_KILLFOCUS or
//                    LBN_KILLFOCUS by its kind
//   spin ID DELTA    press the arrows of spin ID |DELTA| times (up for a positive DELTA): each
//                    step moves the position by one within the range (starting from the number
//                    the buddy edit shows), writes it into the buddy (EN_CHANGE) and sends
//                    WM_VSCROLL with SB_THUMBPOSITION; then one WM_VSCROLL with SB_ENDSCROLL
//   items ID         show the items of list box or combo box ID in order on the transcript,
//                    one line each ("  INDEX: TEXT"), the selected one marked "(selected)",
//                    after a line "dialog T control ID: N items"; nothing changes
//   controls         list the dialog's controls that have an id, in tab order, one line each
//   (or help)        after a line "dialog T "CAPTION": N controls": the id, the kind, the
//                    caption (a button's own text) or the label (the text beside a field or
//                    right above it; a spin takes its buddy's), the value (an edit's or combo
//                    box's text, a list box's selected item, a check state, a spin's position,
//                    a picture's bitmap, a button's icon, a static text's text), then
//                    "enabled" or "disabled", and "hidden" where so; nothing changes
//   ok               Enter: the command IDOK (refused while an IDOK button is disabled)
//   cancel           Esc: the command IDCANCEL
// ID is a control id in decimal (IDOK and IDCANCEL may be written as such). An action puts
// the focus on its control; only `leave` sends a kill-focus notification. A line on a
// control that does not exist, is disabled or hidden, or is of the wrong kind, an unknown
// line, and any line while the dialog itself is hidden are refused (ScriptedUser::Refuse names
// the line) and the dialog goes on with the next line. A handler that asks the drawing for
// input reads the following lines itself. When the lines run out, the dialog gets IDCANCEL as
// from Esc; if it stays open it is ended with IDCANCEL.
//
// As the framework does: the program setting an edit's text sends EN_CHANGE too, but no
// control notification is delivered while UpdateData exchanges the data; the dialog is shown
// (WM_SHOWWINDOW, then WM_PAINT) after OnInitDialog, repainted whenever it shows again or is
// invalidated, and hidden (WM_SHOWWINDOW) as it closes.
//
// The transcript shows `dialog ID "CAPTION" opened` once the dialog is initialised and
// `dialog ID "CAPTION" closed: RESULT` when it ends.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Controls.h"
#include "Wnd.h"

namespace host {
struct ScriptLine;
}

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    // IDOK, IDCANCEL or the value given to EndDialog; -1 when the template is missing, the
    // dialog is already open, or its initial data exchange failed.
    virtual INT_PTR DoModal();
    // The framework's initialisation shows the members in the controls (UpdateData(FALSE)).
    virtual BOOL OnInitDialog();
    void EndDialog(int result);
    void GotoDlgCtrl(CWnd* control);

    UINT TemplateId() const { return m_templateId; }
    bool IsRunning() const { return m_running; }

    static const host::mfc::MessageMap* GetThisMessageMap();
    const host::mfc::MessageMap* GetMessageMap() const override;

    // The engine's services for the window records of this dialog.
    host::mfc::WindowState* FindControl(int id) const;
    host::mfc::WindowState* DialogWindow() const { return m_windows.empty() ? nullptr : m_windows.front().get(); }
    // The records of the dialog's controls, in template order.
    std::vector<host::mfc::WindowState*> Controls() const;
    // Delivers a control notification (WM_COMMAND) to the dialog, except while it exchanges
    // data; and the other messages.
    void Notify(int id, UINT code);
    void SendScroll(UINT code, UINT position, host::mfc::WindowState* control);
    void SendShow(BOOL show);
    void RequestPaint() { m_paintPending = true; }
    // Holds back control notifications while set (the data exchange sets it).
    bool LockNotifications(bool lock);

protected:
    // The framework's OK reads the controls (staying open when a check fails) and closes with
    // IDOK; Cancel closes with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

private:
    void CreateWindows(const host::mfc::DialogTemplate& dialog);
    void DestroyWindows();
    void FocusFirstControl();
    void RunScript();
    void HandleLine(const host::ScriptLine& line);
    void PaintIfPending();
    std::string Where() const;
    // The script's actions on a control: each gives why it refused the line, or nothing.
    std::string TypeText(host::mfc::WindowState& control, std::string_view text);
    std::string SetCheck(host::mfc::WindowState& control, std::string_view state);
    std::string PressRadio(host::mfc::WindowState& control, std::string_view rest);
    std::string Choose(host::mfc::WindowState& control, std::string_view index);
    std::string Click(host::mfc::WindowState& control, std::string_view rest);
    std::string Leave(host::mfc::WindowState& control, std::string_view rest);
    std::string Spin(host::mfc::WindowState& control, std::string_view steps);
    std::string ShowItems(host::mfc::WindowState& control, std::string_view rest);
    void ListControls() const;
    std::string Describe(std::size_t at) const;
    std::string Label(std::size_t at) const;
    void ClickRadio(host::mfc::WindowState& button);
    void SpinBy(host::mfc::WindowState& spin, int steps);
    int SpinPosition(const host::mfc::WindowState& spin) const;

    UINT m_templateId = 0;
    CWnd* m_parent = nullptr;
    bool m_running = false;
    bool m_ended = false;
    int m_result = IDCANCEL;
    bool m_lockNotifications = false;
    bool m_paintPending = false;
    std::vector<std::unique_ptr<host::mfc::WindowState>> m_windows;  // [0] is the dialog
};
