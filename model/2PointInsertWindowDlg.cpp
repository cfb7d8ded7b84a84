#include "2PointInsertWindowDlg.h"

#include <cstdint>

#include "2PointInsertWindowDlgTemplate.h"
#include "TypedNumbers.h"

TwoPointWindowDefaults g_2pwinDefaults;

namespace {

// Number checks of the edits and ranges of their spins.
constexpr UINT kMaxFloor = 10000;
constexpr UINT kMaxPosition = 10000;
constexpr UINT kMaxRepeat = 200;
constexpr short kFloorSpinMax = 200;
constexpr short kPositionSpinMax = 10000;
constexpr short kRepeatSpinMax = 200;
constexpr const char* kCaption = "两点插窗";

}  // namespace

C2PointInsertWindowDlg::C2PointInsertWindowDlg(CWnd* parent)
    : CDialog(IDD_2POINT_INSERT_WINDOW, parent), m_nFloor(g_2pwinDefaults.floor), m_nSill(g_2pwinDefaults.sill),
      m_nPosition(g_2pwinDefaults.position), m_nRepeat(g_2pwinDefaults.repeat),
      m_nWindowHeight(g_2pwinDefaults.windowHeight), m_nStoreyHeight(g_2pwinDefaults.storeyHeight)
{
}

BEGIN_MESSAGE_MAP(C2PointInsertWindowDlg, CDialog)
    ON_WM_VSCROLL()
    ON_BN_CLICKED(IDOK, &C2PointInsertWindowDlg::OnBnClickedOk)
END_MESSAGE_MAP()

void C2PointInsertWindowDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_2PWIN_FLOOR_SPIN, m_spinFloor);
    DDX_Control(dx, IDC_2PWIN_POSITION_SPIN, m_spinPosition);
    DDX_Control(dx, IDC_2PWIN_REPEAT_SPIN, m_spinRepeat);
    DDX_Control(dx, IDC_2PWIN_HEIGHT, m_comboHeight);
    DDX_Control(dx, IDC_2PWIN_STOREY, m_comboStorey);
    DDX_Text(dx, IDC_2PWIN_FLOOR, m_nFloor);
    DDV_MinMaxUInt(dx, m_nFloor, 1, kMaxFloor);
    DDX_Text(dx, IDC_2PWIN_SILL, m_nSill);
    DDX_Text(dx, IDC_2PWIN_POSITION, m_nPosition);
    DDV_MinMaxUInt(dx, m_nPosition, 1, kMaxPosition);
    DDX_Text(dx, IDC_2PWIN_REPEAT, m_nRepeat);
    DDV_MinMaxUInt(dx, m_nRepeat, 1, kMaxRepeat);
}

BOOL C2PointInsertWindowDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_spinFloor.SetRange(1, kFloorSpinMax);
    m_spinPosition.SetRange(1, kPositionSpinMax);
    m_spinRepeat.SetRange(1, kRepeatSpinMax);
    CString text;
    text.Format("%d", m_nWindowHeight);
    m_comboHeight.SetWindowText(text);
    text.Format("%d", m_nStoreyHeight);
    m_comboStorey.SetWindowText(text);
    UpdateData(FALSE);
    return TRUE;
}

void C2PointInsertWindowDlg::OnVScroll(UINT code, UINT position, CScrollBar* bar)
{
    if (code != SB_ENDSCROLL && bar == &m_spinFloor) {
        // The change is taken against the floor last exchanged, before the edits are read.
        const std::int64_t change = static_cast<std::int64_t>(position) - static_cast<std::int64_t>(m_nFloor);
        UpdateData(TRUE);
        m_nSill = ClampToInt(m_nSill + static_cast<long long>(m_nStoreyHeight) * change);
        m_nFloor = position;
        UpdateData(FALSE);
    }
    CDialog::OnVScroll(code, position, bar);
}

void C2PointInsertWindowDlg::OnBnClickedOk()
{
    CString text;
    m_comboHeight.GetWindowText(text);
    const std::optional<int> windowHeight = TypedInt(text);
    m_comboStorey.GetWindowText(text);
    const std::optional<int> storeyHeight = TypedInt(text);
    // A window without height, or storeys that do not rise, make no column of windows; the
    // storey height is held unsigned by the command and would wrap. Text that is no number
    // is refused the same way.
    if (!windowHeight || *windowHeight <= 0) {
        MessageBox("窗高应大于0!", kCaption, MB_ICONEXCLAMATION);
        return;
    }
    if (!storeyHeight || *storeyHeight <= 0) {
        MessageBox("层高应大于0!", kCaption, MB_ICONEXCLAMATION);
        return;
    }
    m_nWindowHeight = *windowHeight;
    m_nStoreyHeight = *storeyHeight;
    if (!UpdateData(TRUE))
        return;
    g_2pwinDefaults = {m_nWindowHeight, m_nStoreyHeight, m_nFloor, m_nSill, m_nPosition, m_nRepeat};
    CDialog::OnOK();
}
