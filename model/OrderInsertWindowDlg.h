#pragma once
// COrderInsertWindowDlg: the dialog of the window-by-window command, shown once per run. It
// takes the floor number of the lowest window, the position number of the first one, the
// number of storeys, the storey height, the sill elevation and the window height and width;
// the sill and width boxes offer the values used most recently. "对齐" places one window at
// the start end of the edge and "居中" one in its middle; the two exclude each other.
#include <cstddef>
#include <optional>
#include <vector>

#include "CString.h"
#include "Mfc.h"

// What the dialog remembers between runs (until the module is unloaded).
struct OrderWindowDefaults {
    int width = 1500;
    int height = 1500;
    int storeyHeight = 2900;
    UINT floor = 1;
    UINT position = 1;
    UINT repeat = 1;
    std::vector<int> sills = {900, 600, 1000};
    std::vector<int> widths = {1500, 1800, 1200, 2100, 2400};
};
extern OrderWindowDefaults g_orderWinDefaults;

namespace OrderWindow {

inline constexpr std::size_t kRecentSills = 3;
inline constexpr std::size_t kRecentWidths = 5;

// The list of recent values after value was used: a value already listed changes places
// with the first entry (the others stay where they are); a new one goes in front. At most
// keep entries are kept.
void PutFirst(std::vector<int>& list, int value, std::size_t keep);

}  // namespace OrderWindow

class COrderInsertWindowDlg : public CDialog {
public:
    explicit COrderInsertWindowDlg(CWnd* parent = nullptr);

    UINT m_nFloor = 1;
    int m_nSill = 900;
    UINT m_nPosition = 1;
    UINT m_nRepeat = 1;
    int m_nHeight = 0;
    int m_nWidth = 0;
    int m_nStoreyHeight = 0;
    std::vector<int> m_sillList;
    std::vector<int> m_widthList;
    int m_bAlign = 0;
    int m_bCentre = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // Reads the boxes, puts the sill and width first in their lists and remembers everything;
    // a width, window height or storey height of 0 or less is refused and the dialog stays
    // open.
    afx_msg void OnBnClickedOk();
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    afx_msg void OnBnClickedCenter();
    afx_msg void OnBnClickedAlign();
    DECLARE_MESSAGE_MAP()

private:
    // The number a combo box's text gives, read whole; nothing for text that is no number.
    std::optional<int> BoxNumber(int id) const;
};
