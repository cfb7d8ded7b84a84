#pragma once
// A dialog with every control kind, written the way the module writes its dialogs, for the
// tests of the dialog engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Mfc.h"

namespace testdlg {

// A test that starts from an empty event log and no queued lines, with the lines not echoed.
class QuietHostTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// The same, with the test dialog's template registered.
class DialogTest : public QuietHostTest {
protected:
    void SetUp() override;
};

enum : int {
    kTemplate = 9001,
    kName = 1001,       // edit, text, at most 8 characters
    kCount = 1002,      // edit, int 1..10, buddy of the spin
    kSpin = 1003,
    kFloors = 1004,     // edit, unsigned 1..200
    kSlope = 1005,      // edit, float 1..89
    kLength = 1006,     // edit, double; kill-focus handler
    kParapet = 1007,    // check box
    kFlat = 1008,       // radio, starts the group
    kSloped = 1009,     // radio
    kStorey = 1011,     // sorted drop-down combo, at most 5 characters
    kColour = 1012,     // drop-list combo
    kGroups = 1013,     // sorted notifying list box
    kPick = 1014,       // button: picks a length in the drawing
    kNote = 1015,       // static text
    kPicture = 1016,    // picture
    kBitmapFlat = 2001,
    kBitmapSloped = 2002,
};

// Registers the test template and its bitmaps.
void RegisterTemplate();

class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(kTemplate) {}

    CString m_name = "楼";
    int m_count = 3;
    UINT m_floors = 6;
    float m_slope = 30.0f;
    double m_length = 1200.5;
    int m_parapet = 0;
    int m_kind = 0;
    CString m_storey = "3000";
    int m_colour = 1;
    CListBox m_groups;
    CSpinButtonCtrl m_spin;

    // What the handlers saw.
    int m_nameChanges = 0;
    int m_lengthLeaves = 0;
    int m_paints = 0;
    std::vector<std::string> m_events;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    afx_msg void OnEnChangeName();
    afx_msg void OnEnKillfocusLength();
    afx_msg void OnBnClickedParapet();
    afx_msg void OnBnClickedFlat();
    afx_msg void OnBnClickedSloped();
    afx_msg void OnCbnSelchangeStorey();
    afx_msg void OnLbnSelchangeGroups();
    afx_msg void OnBnClickedPick();
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    afx_msg void OnPaint();
    afx_msg void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()
};

// A dialog whose OK button never closes it (it checks and warns), and whose cancel handler
// is its own: the shape of the module's "apply" dialogs.
class CStayOpenDlg : public CTestDlg {
public:
    int m_applied = 0;
    int m_cancels = 0;

protected:
    void OnOK() override;
    void OnCancel() override;
};

}  // namespace testdlg
