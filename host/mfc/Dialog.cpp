#include "Dialog.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

#include "EventLog.h"
#include "ScriptedUser.h"
#include "WindowOps.h"

using host::mfc::ControlKind;
using host::mfc::WindowState;

namespace {

std::string ResultName(int result)
{
    switch (result) {
    case IDOK: return "IDOK";
    case IDCANCEL: return "IDCANCEL";
    default: return std::to_string(result);
    }
}

// A script line split into its word, the control id, and what follows the id.
struct DialogLine {
    std::string_view word;
    std::string_view idText;
    std::string_view rest;  // after the id and one blank; may hold blanks of its own
};

DialogLine Split(std::string_view text)
{
    DialogLine line;
    const auto blank = text.find(' ');
    line.word = text.substr(0, blank);
    if (blank == std::string_view::npos) return line;
    std::string_view after = text.substr(blank + 1);
    while (!after.empty() && after.front() == ' ') after.remove_prefix(1);
    const auto end = after.find(' ');
    line.idText = after.substr(0, end);
    if (end != std::string_view::npos) line.rest = after.substr(end + 1);
    return line;
}

// The height of one line of a field (an edit, a closed combo box) in dialog units.
constexpr long kFieldLine = 14;

// What an action answers when the control is of a kind it does not apply to.
const std::string kWrongKind = "wrong kind";

bool ToInt(std::string_view text, int& value)
{
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool ControlId(std::string_view text, int& id)
{
    if (text == "IDOK") { id = IDOK; return true; }
    if (text == "IDCANCEL") { id = IDCANCEL; return true; }
    return ToInt(text, id);
}

std::string WithArticle(const char* noun)
{
    return (noun[0] == 'e' ? "an " : "a ") + std::string(noun);
}

// A text on one line of the listing: a line break (a label of two lines) shows as a blank.
std::string Quoted(const CString& text)
{
    std::string out = "\"";
    const std::string& s = text.str();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        out += s[i] == '\r' || s[i] == '\n' ? ' ' : s[i];
    }
    return out + "\"";
}

// What a control holds, as `controls` shows it; for a push button, only the icon it may show.
std::string ValueOf(const WindowState& w)
{
    switch (w.kind) {
    case ControlKind::Static:
    case ControlKind::Edit: return Quoted(w.text);
    case ControlKind::Button: {
        // A button that shows an icon instead of a caption.
        const host::mfc::ImageResource* icon = host::mfc::ResourceRegistry::Instance().FindIcon(w.icon);
        return icon ? "icon " + std::to_string(w.icon) + " " + Quoted(CString(icon->description)) : std::string();
    }
    case ControlKind::CheckBox:
    case ControlKind::Radio:
        return w.check == BST_CHECKED ? "checked" : "unchecked";
    case ControlKind::Spin: return {};  // its buddy's number: the dialog gives it
    case ControlKind::Picture: {
        const host::mfc::ImageResource* bitmap = host::mfc::ResourceRegistry::Instance().FindBitmap(w.bitmap);
        return bitmap ? "bitmap " + std::to_string(w.bitmap) + " " + Quoted(CString(bitmap->description))
                      : std::string("no bitmap");
    }
    case ControlKind::ComboBox:
    case ControlKind::ListBox: break;
    }
    const std::size_t count = w.items.size();
    const bool selected = w.selection >= 0 && w.selection < static_cast<int>(count);
    const std::string shown = w.kind == ControlKind::ComboBox ? Quoted(host::mfc::TextOf(w))
                              : selected ? Quoted(w.items[static_cast<std::size_t>(w.selection)])
                                         : std::string("nothing selected");
    if (selected) return shown + " (item " + std::to_string(w.selection) + " of " + std::to_string(count) + ")";
    return shown + " (" + std::to_string(count) + (count == 1 ? " item)" : " items)");
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog()
{
    DestroyWindows();
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

BOOL CDialog::OnInitDialog()
{
    // A dialog whose members cannot be shown does not open.
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    if (!m_running) return;
    m_result = result;
    m_ended = true;
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (control) control->SetFocus();
}

WindowState* CDialog::FindControl(int id) const
{
    for (std::size_t i = 1; i < m_windows.size(); ++i)
        if (m_windows[i]->id == id) return m_windows[i].get();
    return nullptr;
}

std::vector<WindowState*> CDialog::Controls() const
{
    std::vector<WindowState*> out;
    for (std::size_t i = 1; i < m_windows.size(); ++i) out.push_back(m_windows[i].get());
    return out;
}

bool CDialog::LockNotifications(bool lock)
{
    const bool before = m_lockNotifications;
    m_lockNotifications = lock;
    return before;
}

void CDialog::Notify(int id, UINT code)
{
    if (!m_running || m_lockNotifications) return;
    host::mfc::Message m;
    m.message = WM_COMMAND;
    m.code = code;
    m.id = id;
    Dispatch(m);
}

void CDialog::SendScroll(UINT code, UINT position, WindowState* control)
{
    host::mfc::Message m;
    m.message = WM_VSCROLL;
    m.code = code;
    m.position = position;
    m.scrollBar = control ? dynamic_cast<CScrollBar*>(control->Face()) : nullptr;
    Dispatch(m);
}

void CDialog::SendShow(BOOL show)
{
    host::mfc::Message m;
    m.message = WM_SHOWWINDOW;
    m.show = show;
    Dispatch(m);
}

void CDialog::CreateWindows(const host::mfc::DialogTemplate& dialog)
{
    m_windows.push_back(host::mfc::MakeWindow(this, nullptr));
    m_windows.front()->text = CString(dialog.caption);
    m_windows.front()->id = static_cast<int>(m_templateId);
    for (const host::mfc::ControlTemplate& control : dialog.controls)
        m_windows.push_back(host::mfc::MakeWindow(this, &control));
    Attach(m_windows.front().get());
}

void CDialog::DestroyWindows()
{
    if (m_windows.empty()) return;
    Detach();
    m_windows.clear();
}

void CDialog::FocusFirstControl()
{
    for (std::size_t i = 1; i < m_windows.size(); ++i) {
        const WindowState& w = *m_windows[i];
        const bool takesFocus = w.kind != ControlKind::Static && w.kind != ControlKind::Picture &&
                                w.kind != ControlKind::Spin;
        if (takesFocus && w.enabled && w.visible) {
            host::mfc::FocusedWindow() = m_windows[i].get();
            return;
        }
    }
}

void CDialog::PaintIfPending()
{
    WindowState* self = DialogWindow();
    if (!m_paintPending || !self || !self->visible || m_ended) return;
    m_paintPending = false;
    host::mfc::Message m;
    m.message = WM_PAINT;
    Dispatch(m);
}

INT_PTR CDialog::DoModal()
{
    host::EventLog& log = host::EventLog::Instance();
    const host::mfc::DialogTemplate* dialog = host::mfc::ResourceRegistry::Instance().FindDialog(static_cast<int>(m_templateId));
    if (!dialog || m_running) {
        log.Show("dialog " + std::to_string(m_templateId) + (dialog ? " is already open" : " has no template"));
        return -1;
    }
    WindowState* focusBefore = host::mfc::FocusedWindow();
    CreateWindows(*dialog);
    m_running = true;
    m_ended = false;
    m_result = IDCANCEL;
    m_paintPending = true;

    host::mfc::FocusedWindow() = nullptr;
    // TRUE from the initialisation asks for the focus on the first control that takes it.
    if (OnInitDialog()) FocusFirstControl();
    log.Show("dialog " + std::to_string(m_templateId) + " \"" + DialogWindow()->text.str() + "\" opened");
    if (!m_ended) {
        if (DialogWindow()->visible) SendShow(TRUE);
        RunScript();
    }
    const std::string caption = DialogWindow()->text.str();
    if (DialogWindow()->visible) SendShow(FALSE);
    m_running = false;
    log.Show("dialog " + std::to_string(m_templateId) + " \"" + caption + "\" closed: " + ResultName(m_result));
    DestroyWindows();
    host::mfc::FocusedWindow() = focusBefore;
    return m_result;
}

void CDialog::RunScript()
{
    host::ScriptedUser& user = host::ScriptedUser::Instance();
    while (!m_ended) {
        PaintIfPending();
        if (m_ended) break;
        const std::optional<host::ScriptLine> line = user.Next();
        if (!line) {
            // Out of lines: Esc, and a dialog that will not close is closed as cancelled.
            const host::ScriptLine* last = user.LastLine();
            const std::string where = last ? last->source + ":" + std::to_string(last->number) + ": " : std::string();
            host::EventLog::Instance().Show(where + "the lines ran out while " + Where() + " was open; answered Esc");
            Notify(IDCANCEL, BN_CLICKED);
            if (!m_ended) EndDialog(IDCANCEL);
            break;
        }
        HandleLine(*line);
    }
}

void CDialog::HandleLine(const host::ScriptLine& line)
{
    host::ScriptedUser& user = host::ScriptedUser::Instance();
    const DialogLine parts = Split(line.text);
    const std::string word(parts.word);
    if (!DialogWindow()->visible) return user.Refuse(line, Where() + " is hidden and takes no input");

    if (word == "ok" || word == "cancel") {
        if (!parts.idText.empty()) return user.Refuse(line, "\"" + word + "\" takes nothing after it");
        const int id = word == "ok" ? IDOK : IDCANCEL;
        const WindowState* okButton = FindControl(IDOK);
        if (id == IDOK && okButton && !okButton->enabled) return user.Refuse(line, Where() + ": the OK button is disabled");
        return Notify(id, BN_CLICKED);
    }

    if (word == "controls" || word == "help") {
        if (!parts.idText.empty()) return user.Refuse(line, "\"" + word + "\" takes nothing after it");
        return ListControls();
    }

    using Action = std::string (CDialog::*)(WindowState&, std::string_view);
    static const std::pair<const char*, Action> actions[] = {
        {"set", &CDialog::TypeText}, {"check", &CDialog::SetCheck}, {"radio", &CDialog::PressRadio},
        {"choose", &CDialog::Choose}, {"click", &CDialog::Click},     {"leave", &CDialog::Leave},
        {"spin", &CDialog::Spin},     {"items", &CDialog::ShowItems},
    };
    const auto* action = std::find_if(std::begin(actions), std::end(actions), [&](const auto& a) { return word == a.first; });
    if (action == std::end(actions)) return user.Refuse(line, Where() + " does not understand \"" + line.text + "\"");

    int id = 0;
    if (!ControlId(parts.idText, id))
        return user.Refuse(line, "\"" + word + "\" needs a control id, not \"" + std::string(parts.idText) + "\"");
    WindowState* w = FindControl(id);
    if (!w) return user.Refuse(line, Where() + " has no control " + std::to_string(id));
    if (!w->enabled || !w->visible)
        return user.Refuse(line, Where() + ": control " + std::to_string(id) + " is " + (w->enabled ? "hidden" : "disabled"));
    if (const std::string why = (this->*(action->second))(*w, parts.rest); !why.empty()) {
        const std::string wrongKind = "control " + std::to_string(id) + " is " + WithArticle(host::mfc::ControlKindName(w->kind)) + ", \"" + word + "\" does not apply";
        user.Refuse(line, Where() + ": " + (why == kWrongKind ? wrongKind : why));
    }
}

std::string CDialog::Where() const
{
    return "dialog " + std::to_string(m_templateId);
}

std::string CDialog::TypeText(WindowState& w, std::string_view text)
{
    const bool editable = w.kind == ControlKind::Edit || (w.kind == ControlKind::ComboBox && !(w.style & host::mfc::kDropList));
    if (!editable) return kWrongKind;
    if ((w.style & host::mfc::kNumber) && text.find_first_not_of("0123456789") != std::string_view::npos)
        return "control " + std::to_string(w.id) + " takes digits only, not \"" + std::string(text) + "\"";
    host::mfc::FocusedWindow() = &w;
    w.text = host::mfc::LimitText(CString(text), w.limit);
    if (w.kind == ControlKind::Edit) {
        Notify(w.id, EN_CHANGE);
    } else {
        w.selection = host::mfc::FindItem(w, -1, w.text, true);
        Notify(w.id, CBN_EDITCHANGE);
    }
    return {};
}

std::string CDialog::SetCheck(WindowState& w, std::string_view state)
{
    if (w.kind != ControlKind::CheckBox) return kWrongKind;
    if (state != "0" && state != "1") return "\"check\" needs 0 or 1, not \"" + std::string(state) + "\"";
    host::mfc::FocusedWindow() = &w;
    const int wanted = state == "1" ? BST_CHECKED : BST_UNCHECKED;
    if (w.check == wanted) return {};  // no click is needed
    w.check = wanted;
    Notify(w.id, BN_CLICKED);
    return {};
}

std::string CDialog::PressRadio(WindowState& w, std::string_view /*rest*/)
{
    if (w.kind != ControlKind::Radio) return kWrongKind;
    ClickRadio(w);
    return {};
}

std::string CDialog::Choose(WindowState& w, std::string_view indexText)
{
    int index = 0;
    if (w.kind != ControlKind::ListBox && w.kind != ControlKind::ComboBox) return kWrongKind;
    if (!ToInt(indexText, index)) return "\"choose\" needs an item index, not \"" + std::string(indexText) + "\"";
    const int count = static_cast<int>(w.items.size());
    if (index < 0 || index >= count)
        return "control " + std::to_string(w.id) + " has no item " + std::to_string(index) + " (it has " +
               std::to_string(count) + ")";
    host::mfc::FocusedWindow() = &w;
    w.selection = index;
    if (w.kind == ControlKind::ListBox) {
        if (w.style & host::mfc::kNotify) Notify(w.id, LBN_SELCHANGE);  // only a notifying box tells
        return {};
    }
    // The field of a drop-down box shows the item only after the notification.
    Notify(w.id, CBN_SELCHANGE);
    if (w.selection >= 0 && w.selection < static_cast<int>(w.items.size()))
        w.text = w.items[static_cast<std::size_t>(w.selection)];
    return {};
}

std::string CDialog::Click(WindowState& w, std::string_view /*rest*/)
{
    if (w.kind == ControlKind::Radio) return PressRadio(w, {});
    if (w.kind != ControlKind::Button && w.kind != ControlKind::CheckBox) return kWrongKind;
    if (w.kind == ControlKind::CheckBox) w.check = w.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    host::mfc::FocusedWindow() = &w;
    Notify(w.id, BN_CLICKED);
    return {};
}

std::string CDialog::Leave(WindowState& w, std::string_view /*rest*/)
{
    if (host::mfc::FocusedWindow() == &w) host::mfc::FocusedWindow() = nullptr;
    if (w.kind == ControlKind::Edit) Notify(w.id, EN_KILLFOCUS);
    if (w.kind == ControlKind::ComboBox) Notify(w.id, CBN_KILLFOCUS);
    if (w.kind == ControlKind::ListBox) Notify(w.id, LBN_KILLFOCUS);
    return {};
}

std::string CDialog::ShowItems(WindowState& w, std::string_view rest)
{
    if (w.kind != ControlKind::ListBox && w.kind != ControlKind::ComboBox) return kWrongKind;
    if (!rest.empty()) return "\"items\" takes nothing after the control id";
    host::EventLog& log = host::EventLog::Instance();
    const std::size_t count = w.items.size();
    log.Show(Where() + " control " + std::to_string(w.id) + ": " +
             (count == 0 ? std::string("no items") : std::to_string(count) + (count == 1 ? " item" : " items")));
    for (std::size_t i = 0; i < count; ++i)
        log.Show("  " + std::to_string(i) + ": " + w.items[i].str() +
                 (static_cast<int>(i) == w.selection ? " (selected)" : ""));
    return {};
}

// What a person reads as the field's label: the nearest caption (a static text, button, check
// box or radio button) that starts left of the field on its first line; else the nearest
// caption right above it (a column's head, no farther above than it is tall); else, in a
// dialog without places, the static text just before it in tab order. A spin is labelled as
// its buddy.
std::string CDialog::Label(std::size_t at) const
{
    const WindowState& field = *m_windows[at];
    if (field.kind == ControlKind::Spin) {
        for (std::size_t i = 1; i < m_windows.size(); ++i)
            if (m_windows[i]->id == field.buddy && m_windows[i]->kind != ControlKind::Spin) return Label(i);
        return {};
    }
    const CRect& f = field.rect;
    // A combo box's place holds its drop-down list, a list box's all its rows: a label stands
    // beside the first line.
    const bool tall = field.kind == ControlKind::ComboBox || field.kind == ControlKind::ListBox;
    const long lineBottom = f.top + (tall ? std::min(f.Height(), kFieldLine) : f.Height());
    const WindowState* beside = nullptr;
    const WindowState* above = nullptr;
    for (std::size_t i = 1; i < m_windows.size() && f.Height() > 0; ++i) {
        const WindowState& w = *m_windows[i];
        const CRect& r = w.rect;
        const bool caption = w.kind == ControlKind::Static || w.kind == ControlKind::Button ||
                             w.kind == ControlKind::CheckBox || w.kind == ControlKind::Radio;
        if (!caption || w.text.IsEmpty() || r.Width() <= 0) continue;
        const long middle = (r.top + r.bottom) / 2;
        if (r.left < f.left && r.right <= f.right && f.top <= middle && middle <= lineBottom) {
            if (!beside || r.left > beside->rect.left) beside = &w;
        } else if (r.bottom <= f.top && f.top - r.bottom <= r.Height() && r.left < f.right && f.left < r.right) {
            if (!above || r.bottom > above->rect.bottom) above = &w;
        }
    }
    if (beside || above) return (beside ? beside : above)->text.str();
    if (at < 2 || f.Height() > 0) return {};
    const WindowState& before = *m_windows[at - 1];
    return before.kind == ControlKind::Static && !before.text.IsEmpty() ? before.text.str() : std::string();
}

std::string CDialog::Describe(std::size_t at) const
{
    const WindowState& w = *m_windows[at];
    std::string entry = "  " + std::to_string(w.id) + " " + host::mfc::ControlKindName(w.kind);
    std::string value = ValueOf(w);
    switch (w.kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::Radio:
        if (!w.text.IsEmpty()) entry += " " + Quoted(w.text);
        break;
    case ControlKind::Edit:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::Spin:
        if (const std::string label = Label(at); !label.empty()) entry += " " + Quoted(CString(label));
        break;
    case ControlKind::Static:
    case ControlKind::Picture: break;
    }
    if (w.kind == ControlKind::Spin) {
        if (w.buddy) entry += " (sets " + std::to_string(w.buddy) + ")";
        value = std::to_string(SpinPosition(w)) + " in " + std::to_string(w.rangeMin) + ".." + std::to_string(w.rangeMax);
    }
    if (!value.empty()) entry += " = " + value;
    entry += w.enabled ? ", enabled" : ", disabled";
    if (!w.visible) entry += ", hidden";
    return entry;
}

void CDialog::ListControls() const
{
    std::vector<std::size_t> listed;
    for (std::size_t i = 1; i < m_windows.size(); ++i)
        if (m_windows[i]->id != host::mfc::kStaticId) listed.push_back(i);
    host::EventLog& log = host::EventLog::Instance();
    log.Show(Where() + " " + Quoted(DialogWindow()->text) + ": " + std::to_string(listed.size()) +
             (listed.size() == 1 ? " control" : " controls"));
    for (const std::size_t i : listed) log.Show(Describe(i));
}

std::string CDialog::Spin(WindowState& w, std::string_view stepsText)
{
    int steps = 0;
    if (w.kind != ControlKind::Spin) return kWrongKind;
    if (!ToInt(stepsText, steps)) return "\"spin\" needs a number of steps, not \"" + std::string(stepsText) + "\"";
    SpinBy(w, steps);
    return {};
}

void CDialog::ClickRadio(WindowState& button)
{
    host::mfc::FocusedWindow() = &button;
    // The group runs from the last group start at or before the button to the next one.
    std::size_t at = 1;
    while (m_windows[at].get() != &button) ++at;
    std::size_t first = at;
    while (first > 1 && !(m_windows[first]->style & host::mfc::kGroupStart)) --first;
    for (std::size_t i = first; i < m_windows.size(); ++i) {
        if (i > first && (m_windows[i]->style & host::mfc::kGroupStart)) break;
        if (m_windows[i]->kind == ControlKind::Radio) m_windows[i]->check = BST_UNCHECKED;
    }
    button.check = BST_CHECKED;
    Notify(button.id, BN_CLICKED);
}

// A spin that sets its buddy's number stands at the number the buddy shows, within its range.
int CDialog::SpinPosition(const WindowState& spin) const
{
    const int lo = std::min(spin.rangeMin, spin.rangeMax), hi = std::max(spin.rangeMin, spin.rangeMax);
    const WindowState* buddy = spin.buddy ? FindControl(spin.buddy) : nullptr;
    long long shown = 0;
    if (buddy && host::mfc::ParseInteger(host::mfc::TextOf(*buddy), true, shown))
        return static_cast<int>(std::clamp<long long>(shown, lo, hi));
    return std::clamp(spin.position, lo, hi);
}

void CDialog::SpinBy(WindowState& spin, int steps)
{
    const int lo = std::min(spin.rangeMin, spin.rangeMax), hi = std::max(spin.rangeMin, spin.rangeMax);
    int position = SpinPosition(spin);
    WindowState* buddy = spin.buddy ? FindControl(spin.buddy) : nullptr;
    const int step = steps < 0 ? -1 : 1;
    for (int k = 0; k != steps && !m_ended; k += step) {
        if (position + step < lo || position + step > hi) break;
        position += step;
        spin.position = position;
        if (buddy) {
            CString text;
            text.Format("%d", position);
            host::mfc::SetText(*buddy, text);
        }
        SendScroll(SB_THUMBPOSITION, static_cast<UINT>(position), &spin);
    }
    if (!m_ended) SendScroll(SB_ENDSCROLL, static_cast<UINT>(position), &spin);
}
