#include "OrderInsertWindowDlg.h"

#include <algorithm>

#include "OrderInsertWindowDlgTemplate.h"
#include "TypedNumbers.h"

OrderWindowDefaults g_orderWinDefaults;

namespace OrderWindow {

void PutFirst(std::vector<int>& list, int value, std::size_t keep)
{
    const auto found = std::find(list.begin(), list.end(), value);
    if (found != list.end())
        std::iter_swap(list.begin(), found);
    else
        list.insert(list.begin(), value);
    if (list.size() > keep)
        list.resize(keep);
}

}  // namespace OrderWindow

namespace {

constexpr const char* kCaption = "逐个插窗";
constexpr const char* kSillRefusal = "请输入合理的窗台标高值。";

void FillBox(CComboBox* box, const std::vector<int>& values)
{
    if (!box)
        return;
    box->ResetContent();
    for (const int value : values) {
        CString text;
        text.Format("%d", value);
        box->AddString(text);
    }
    box->SetCurSel(0);
}

}  // namespace

COrderInsertWindowDlg::COrderInsertWindowDlg(CWnd* parent)
    : CDialog(IDD_ORDER_INSERT_WINDOW, parent), m_nFloor(g_orderWinDefaults.floor), m_nSill(900),
      m_nPosition(g_orderWinDefaults.position), m_nRepeat(g_orderWinDefaults.repeat),
      m_nHeight(g_orderWinDefaults.height), m_nWidth(g_orderWinDefaults.width),
      m_nStoreyHeight(g_orderWinDefaults.storeyHeight), m_sillList(g_orderWinDefaults.sills),
      m_widthList(g_orderWinDefaults.widths)
{
}

BEGIN_MESSAGE_MAP(COrderInsertWindowDlg, CDialog)
    ON_BN_CLICKED(IDOK, &COrderInsertWindowDlg::OnBnClickedOk)
    ON_BN_CLICKED(IDC_OWIN_CENTRE, &COrderInsertWindowDlg::OnBnClickedCenter)
    ON_BN_CLICKED(IDC_OWIN_ALIGN, &COrderInsertWindowDlg::OnBnClickedAlign)
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

void COrderInsertWindowDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_OWIN_FLOOR, m_nFloor);
    DDV_MinMaxUInt(dx, m_nFloor, 1, 10000);
    DDX_Text(dx, IDC_OWIN_POSITION, m_nPosition);
    DDV_MinMaxUInt(dx, m_nPosition, 1, 10000);
    DDX_Text(dx, IDC_OWIN_REPEAT, m_nRepeat);
    DDV_MinMaxUInt(dx, m_nRepeat, 1, 200);
    DDX_Check(dx, IDC_OWIN_ALIGN, m_bAlign);
    DDX_Check(dx, IDC_OWIN_CENTRE, m_bCentre);
}

BOOL COrderInsertWindowDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const auto setRange = [this](int id, int low, int high) {
        if (auto* spin = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(id)))
            spin->SetRange32(low, high);
    };
    setRange(IDC_OWIN_FLOOR_SPIN, 1, 200);
    setRange(IDC_OWIN_POSITION_SPIN, 1, 10000);
    setRange(IDC_OWIN_REPEAT_SPIN, 1, 200);
    FillBox(dynamic_cast<CComboBox*>(GetDlgItem(IDC_OWIN_SILL)), m_sillList);
    FillBox(dynamic_cast<CComboBox*>(GetDlgItem(IDC_OWIN_WIDTH)), m_widthList);
    const auto show = [this](int id, int value) {
        CString text;
        text.Format("%d", value);
        SetDlgItemText(id, text);
    };
    show(IDC_OWIN_WIDTH, m_nWidth);
    show(IDC_OWIN_HEIGHT, m_nHeight);
    show(IDC_OWIN_STOREY, m_nStoreyHeight);
    return TRUE;
}

std::optional<int> COrderInsertWindowDlg::BoxNumber(int id) const
{
    CString text;
    GetDlgItemText(id, text);
    return TypedInt(text);
}

void COrderInsertWindowDlg::OnBnClickedOk()
{
    const std::optional<int> width = BoxNumber(IDC_OWIN_WIDTH), height = BoxNumber(IDC_OWIN_HEIGHT),
                             storeyHeight = BoxNumber(IDC_OWIN_STOREY), sill = BoxNumber(IDC_OWIN_SILL);
    // A window needs a size: the centred and aligned windows take this width as it stands.
    // Text that is no number is refused with the message of its box.
    if (!width || *width <= 0) {
        MessageBox("窗宽必须是正值!", kCaption, MB_ICONEXCLAMATION);
        return;
    }
    if (!height || *height <= 0) {
        MessageBox("窗高应大于0!", kCaption, MB_ICONEXCLAMATION);
        return;
    }
    // Storeys that do not rise would stack the column's windows, or put them underground.
    if (!storeyHeight || *storeyHeight <= 0) {
        MessageBox("层高应大于0!", kCaption, MB_ICONEXCLAMATION);
        return;
    }
    if (!sill) {
        MessageBox(kSillRefusal, kCaption, MB_ICONEXCLAMATION);
        return;
    }
    m_nWidth = *width;
    m_nHeight = *height;
    m_nStoreyHeight = *storeyHeight;
    m_nSill = *sill;
    OrderWindow::PutFirst(m_sillList, m_nSill, OrderWindow::kRecentSills);
    OrderWindow::PutFirst(m_widthList, m_nWidth, OrderWindow::kRecentWidths);
    g_orderWinDefaults.sills = m_sillList;
    g_orderWinDefaults.widths = m_widthList;
    if (!UpdateData(TRUE))
        return;
    g_orderWinDefaults.width = m_nWidth;
    g_orderWinDefaults.height = m_nHeight;
    g_orderWinDefaults.storeyHeight = m_nStoreyHeight;
    g_orderWinDefaults.floor = m_nFloor;
    g_orderWinDefaults.position = m_nPosition;
    g_orderWinDefaults.repeat = m_nRepeat;
    EndDialog(IDOK);
}

void COrderInsertWindowDlg::OnVScroll(UINT code, UINT position, CScrollBar* bar)
{
    if (code != SB_ENDSCROLL && bar && bar->GetDlgCtrlID() == IDC_OWIN_FLOOR_SPIN) {
        const UINT floor = m_nFloor;
        const long long change = static_cast<long long>(position) - static_cast<long long>(floor);
        UpdateData(TRUE);
        // The sill moves from the value the box shows, which the user may have typed or
        // picked from the list; from text that is no number neither the sill nor the floor
        // moves.
        const std::optional<int> shown = BoxNumber(IDC_OWIN_SILL);
        if (shown) {
            m_nSill = ClampToInt(*shown + static_cast<long long>(m_nStoreyHeight) * change);
            CString text;
            text.Format("%d", m_nSill);
            SetDlgItemText(IDC_OWIN_SILL, text);
            m_nFloor = position;
        } else {
            MessageBox(kSillRefusal, kCaption, MB_ICONEXCLAMATION);
            m_nFloor = floor;
        }
        UpdateData(FALSE);
    }
    CDialog::OnVScroll(code, position, bar);
}

void COrderInsertWindowDlg::OnBnClickedCenter()
{
    UpdateData(TRUE);
    if (m_bCentre)
        m_bAlign = 0;
    UpdateData(FALSE);
}

void COrderInsertWindowDlg::OnBnClickedAlign()
{
    UpdateData(TRUE);
    if (m_bAlign)
        m_bCentre = 0;
    UpdateData(FALSE);
}
