#pragma once
// C2PointInsertWindowDlg: what the two-point window command asks once per run — the floor,
// sill elevation and position number of the lowest window, how many storeys the column has,
// the window height and the storey height. Spinning the floor number moves the sill elevation
// by one storey per floor, so the sill follows the floor.
#include "Mfc.h"

// The last accepted values of the dialog, which seed it each time it opens; kept until the
// module is unloaded.
struct TwoPointWindowDefaults {
    int windowHeight = 1500;  // millimetres
    int storeyHeight = 2900;  // millimetres
    UINT floor = 1;
    int sill = 900;  // millimetres, sill elevation of the lowest window
    UINT position = 1;
    UINT repeat = 1;  // storeys of the column
};
extern TwoPointWindowDefaults g_2pwinDefaults;

class C2PointInsertWindowDlg : public CDialog {
public:
    explicit C2PointInsertWindowDlg(CWnd* parent = nullptr);

    UINT m_nFloor;
    int m_nSill;
    UINT m_nPosition;
    UINT m_nRepeat;
    int m_nWindowHeight;
    int m_nStoreyHeight;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // Floor spin: the sill elevation moves by the storey height for every floor the spin
    // moves (the storey height is the remembered one until OK is pressed).
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    // Reads the two heights from the combo texts and the other values with their checks; a
    // window or storey height of 0 or less ("窗高应大于0!", "层高应大于0!") or any other
    // refused value keeps the dialog open and changes nothing remembered.
    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()

private:
    CSpinButtonCtrl m_spinFloor;
    CSpinButtonCtrl m_spinPosition;
    CSpinButtonCtrl m_spinRepeat;
    CComboBox m_comboHeight;
    CComboBox m_comboStorey;
};
