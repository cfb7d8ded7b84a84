#pragma once
// Dialog data exchange (DDX) and validation (DDV): moves values between a dialog's members
// and its controls. A value that cannot be read, or fails a check, shows the framework's
// message, puts the focus on its control and stops the exchange there (the fields before it
// are already taken over); UpdateData then returns FALSE.
#include "CString.h"
#include "WinTypes.h"

class CWnd;

namespace host::mfc {

struct WindowState;

// Thrown by CDataExchange::Fail and caught by UpdateData.
struct DataExchangeFailure {};

}  // namespace host::mfc

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control the next values belong to; a missing one fails the exchange.
    host::mfc::WindowState& PrepareCtrl(int id);
    host::mfc::WindowState& PrepareEditCtrl(int id);
    // Shows nothing itself: focuses the last prepared control and stops the exchange.
    [[noreturn]] void Fail();
    // Shows the framework's message, then fails.
    [[noreturn]] void FailWith(const CString& message);

    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// value is the index of the checked button in the radio group that starts at control id
// (-1 when none is checked).
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& value);
// Binds the object to the control (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxFloat(CDataExchange* dx, const float& value, float minValue, float maxValue);
void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double minValue, double maxValue);
// On the way to the control it limits what the user can type; on the way back it checks.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);
