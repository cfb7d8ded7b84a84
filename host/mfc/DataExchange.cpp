#include "DataExchange.h"

#include <cfloat>
#include <cmath>
#include <string>

#include "Dialog.h"
#include "EventLog.h"
#include "WinApp.h"
#include "WindowOps.h"

using host::mfc::ControlKind;
using host::mfc::WindowState;

namespace {

// The framework's messages.
constexpr const char* kEnterInteger = "请输入一个整数。";
constexpr const char* kEnterPositiveInteger = "请输入一个正整数。";
constexpr const char* kEnterNumber = "请输入一个数字。";

CString Formatted(const char* format, auto... values)
{
    CString s;
    s.Format(format, values...);
    return s;
}

// A float or double as the exchange writes it: shortest form with the type's digits.
CString RealText(double value, int digits)
{
    return Formatted("%.*g", digits, value);
}

// Writes text into the control only when it differs, so an unchanged field sends nothing.
void ShowText(WindowState& w, const CString& text)
{
    if (host::mfc::TextOf(w) != text) host::mfc::SetText(w, text);
}

int CharacterCount(const CString& text)
{
    int count = 0;
    for (char c : text.str())
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

template <class Integer>
void ExchangeInteger(CDataExchange* dx, int id, Integer& value, bool isSigned, const char* format)
{
    WindowState& w = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        ShowText(w, Formatted(format, value));
        return;
    }
    long long v = 0;
    if (!host::mfc::ParseInteger(host::mfc::TextOf(w), isSigned, v))
        dx->FailWith(isSigned ? kEnterInteger : kEnterPositiveInteger);
    value = static_cast<Integer>(v);
}

template <class Real>
void ExchangeReal(CDataExchange* dx, int id, Real& value, int digits, double largest)
{
    WindowState& w = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        ShowText(w, RealText(value, digits));
        return;
    }
    double v = 0.0;
    if (!host::mfc::ParseReal(host::mfc::TextOf(w), v) || std::fabs(v) > largest) dx->FailWith(kEnterNumber);
    value = static_cast<Real>(v);
}

// The selected item's index of a combo or list box, -1 for none.
void ExchangeSelection(CDataExchange* dx, int id, int& value)
{
    WindowState& w = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = w.selection;
    else
        host::mfc::SelectItem(w, value);
}

}  // namespace

WindowState& CDataExchange::PrepareCtrl(int id)
{
    auto* dialog = dynamic_cast<CDialog*>(m_pDlgWnd);
    WindowState* w = dialog ? dialog->FindControl(id) : nullptr;
    if (!w) {
        // A template without the control the exchange names: a fault of the program, reported
        // instead of exchanging with nothing.
        const int templateId = dialog ? static_cast<int>(dialog->TemplateId()) : 0;
        host::EventLog::Instance().Show("dialog " + std::to_string(templateId) + " has no control " +
                                        std::to_string(id) + " to exchange");
        throw host::mfc::DataExchangeFailure{};
    }
    m_idLastControl = id;
    m_bEditLastControl = FALSE;
    return *w;
}

WindowState& CDataExchange::PrepareEditCtrl(int id)
{
    WindowState& w = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return w;
}

void CDataExchange::Fail()
{
    auto* dialog = dynamic_cast<CDialog*>(m_pDlgWnd);
    if (WindowState* w = dialog ? dialog->FindControl(m_idLastControl) : nullptr) w->Face()->SetFocus();
    throw host::mfc::DataExchangeFailure{};
}

void CDataExchange::FailWith(const CString& message)
{
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    Fail();
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    WindowState& w = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = host::mfc::TextOf(w);
    else
        ShowText(w, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeInteger(dx, id, value, true, "%d"); }
void DDX_Text(CDataExchange* dx, int id, UINT& value) { ExchangeInteger(dx, id, value, false, "%u"); }
void DDX_Text(CDataExchange* dx, int id, long& value) { ExchangeInteger(dx, id, value, true, "%ld"); }
void DDX_Text(CDataExchange* dx, int id, float& value) { ExchangeReal(dx, id, value, FLT_DIG, FLT_MAX); }
void DDX_Text(CDataExchange* dx, int id, double& value) { ExchangeReal(dx, id, value, DBL_DIG, DBL_MAX); }

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    WindowState& w = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = w.check;
    else
        w.check = (value >= BST_UNCHECKED && value <= 2) ? value : BST_UNCHECKED;
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    dx->PrepareCtrl(id);
    auto* dialog = dynamic_cast<CDialog*>(dx->m_pDlgWnd);
    const std::vector<WindowState*> controls = dialog->Controls();
    std::size_t k = 0;
    while (k < controls.size() && controls[k]->id != id) ++k;
    if (dx->m_bSaveAndValidate) value = -1;
    int index = 0;
    for (std::size_t i = k; i < controls.size(); ++i) {
        WindowState& c = *controls[i];
        if (i > k && (c.style & host::mfc::kGroupStart)) break;
        if (c.kind != ControlKind::Radio) continue;
        if (dx->m_bSaveAndValidate) {
            if (c.check == BST_CHECKED) value = index;
        } else {
            c.check = (index == value) ? BST_CHECKED : BST_UNCHECKED;
        }
        ++index;
    }
}

void DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    WindowState& w = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = host::mfc::TextOf(w);
        return;
    }
    // The first item that begins with the value is selected; failing that the field shows it.
    const int index = host::mfc::FindItem(w, -1, value, false);
    if (index >= 0)
        host::mfc::SelectItem(w, index);
    else if (!(w.style & host::mfc::kDropList))
        ShowText(w, value);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& value)
{
    ExchangeSelection(dx, id, value);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    WindowState& w = dx->PrepareCtrl(id);
    if (control.State() == &w) return;
    if (w.attached) w.attached->Detach();
    control.Detach();
    control.Attach(&w);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue)
{
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        dx->FailWith(Formatted("请输入一个介于 %d 和 %d 之间的整数。", minValue, maxValue));
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue)
{
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        dx->FailWith(Formatted("请输入一个介于 %u 和 %u 之间的整数。", minValue, maxValue));
}

void DDV_MinMaxFloat(CDataExchange* dx, const float& value, float minValue, float maxValue)
{
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        dx->FailWith(Formatted("请输入一个介于 %s 和 %s 之间的数字。", RealText(minValue, FLT_DIG).GetString(),
                               RealText(maxValue, FLT_DIG).GetString()));
}

void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double minValue, double maxValue)
{
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        dx->FailWith(Formatted("请输入一个介于 %s 和 %s 之间的数字。", RealText(minValue, DBL_DIG).GetString(),
                               RealText(maxValue, DBL_DIG).GetString()));
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars)
{
    if (dx->m_bSaveAndValidate) {
        if (CharacterCount(value) > maxChars) dx->FailWith(Formatted("请输入不超过 %d 个字符。", maxChars));
        return;
    }
    auto* dialog = dynamic_cast<CDialog*>(dx->m_pDlgWnd);
    if (WindowState* w = dialog ? dialog->FindControl(dx->m_idLastControl) : nullptr)
        if (w->kind == ControlKind::Edit || w->kind == ControlKind::ComboBox) w->limit = maxChars;
}
