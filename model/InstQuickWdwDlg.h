#pragma once
// CInstQuickWdwDlg: the dialog of the whole-row window command. It holds the facade edge the
// user picked (its wall points and the end the row starts from) and takes the window size,
// the sill elevation of the start floor, the storeys, the number of windows, the start
// margin or centring, and the spacings between windows written as a list
// ("800,1200*3,1000*4,800"). Its OK button "应用" lays out as many windows as fit on the
// edge, on every storey, and creates them.
#include <optional>
#include <vector>

#include "CString.h"
#include "GePoint3dArray.h"
#include "Mfc.h"

// What the dialog remembers between passes and runs (until the module is unloaded), besides
// the spacing and storey-height texts of ModuleGlobals.h.
struct QuickWindowDefaults {
    int width = 1500;
    int height = 1200;
    float startMargin = 1000.0f;
    float sill = 900.0f;
    UINT position = 1;
    int repeat = 1;
    UINT count = 1;
    int centre = 0;
};
extern QuickWindowDefaults g_quickWinDefaults;

namespace QuickWindow {

// Most spacings a row uses: one fewer than the most windows the dialog takes.
inline constexpr std::size_t kMaxSpacings = 999;

// Where the windows of one row go along an edge of length L, measured from its start end.
struct RowLayout {
    std::vector<double> offsets;  // of each window's near side
    int startMargin = 0;          // the margin the row was laid out with
};

// Fits windows of the width along the edge: the first at the margin, each next one a spacing
// further than the end of the one before; a window that would end beyond L and all after it
// are left out, and none fits when margin + width > L. With centre the margin is 0 for the
// fit and then the row is moved to the middle of the edge; an edge too long for that margin in
// whole millimetres (an int) takes none.
RowLayout LayoutRow(double length, int width, int startMargin, const std::vector<float>& spacings, bool centre);

}  // namespace QuickWindow

class CInstQuickWdwDlg : public CDialog {
public:
    explicit CInstQuickWdwDlg(CWnd* parent = nullptr);

    // Reads the spacing text: comma-separated parts, each a number (its absolute value) or
    // "value*repeat" (the value's absolute value that many times: the integer part of the
    // repeat's absolute value, once when the repeat is no number). A part that is no number,
    // or starts with "*", is left out. At most kMaxSpacings values are kept.
    void ParseSpacing(std::vector<float>& spacings) const;
    // 1 when the values allow a layout and the sill and start margin can be remembered; 0
    // after saying why (the offending value is reset).
    int CheckInput();

    CString m_strBuildName;
    GePoint3dArray m_edgePoints;  // the picked wall: points 0 and 1 are its bottom edge
    int m_nStartIndex = 0;        // which of points 0 and 1 the row starts from
    int m_nSill = 0;
    int m_nHeight = 0;
    int m_nWidth = 0;
    UINT m_nStartFloor = 1;
    int m_nRepeat = 1;
    int m_bCentre = 0;
    CString m_strSpacing;
    int m_nStartMargin = 0;
    UINT m_nCount = 1;
    CString m_strStoreyHeight;
    int m_nStoreyHeight = 0;
    UINT m_nPosition = 1;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Lays out and creates the windows, then closes; stays open when CheckInput refuses.
    void OnOK() override;

    afx_msg void OnBnClickedCenter();
    afx_msg void OnEnChangeEdit1154();
    afx_msg void OnEnChangeEdit1155();
    afx_msg void OnEnChangeEdit1157();
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    DECLARE_MESSAGE_MAP()

private:
    // Shows the edge; with the start end marked when it is not centred.
    void ShowEdge(bool markStart) const;
    // Creates the rows: the number of windows made. Nothing when a window of them would slip
    // into an ownership record beside a window bearing its identifier: then none is made and
    // the refusal is shown, for 窗位 to start the rows past the numbers in use.
    std::optional<int> CreateWindows(const std::vector<float>& spacings);
    int Complain(const char* text, const char* caption);
    // After an edit of the field: reads the controls; a value below minimum is refused with
    // the message and the field gets its old value back.
    void CheckEdited(int CInstQuickWdwDlg::*field, int minimum, const char* text, const char* caption);
};
